// Which extensions name survey and traverse files, and what every reader
// does with a file it cannot open. (That each extension reaches its reader
// is pinned by the pathological input test, which reads them all.)
#include <gtest/gtest.h>

#include <array>

#include "readers/survey_factory.h"
#include "tests/core/reader_test_support.h"

namespace veldrane::test {
namespace {

using SurveyFactoryTest = ReaderTest;

TEST(SurveyFactoryPathTest, UnrecognisedExtensionsNameThePath) {
  try {
    OpenSurveyFile("C:\\data\\notes.txt");
    FAIL() << "an unknown extension must raise";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Description(), "C:\\data\\notes.txt has an unrecognized survey/traverse extension");
    EXPECT_EQ(e.Source(), "Ordane.SurveyFactory.OpenSurveyFile");
  }
  try {
    OpenTraverseFile("C:\\data\\a.em");
    FAIL() << "an EM file is not a traverse";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Description(), "C:\\data\\a.em has an unrecognized traverse extension");
  }
  for (const char* p : {"a.em", "A.EM", "b.cl", "c.830", "d.Pro", "e.83", "f.27", "g.BL"})
    EXPECT_TRUE(IsValidSurveyFile(p)) << p;
  for (const char* p : {"a.txt", "em", "a.em.bak", "a.8300", "", "a.2"}) EXPECT_FALSE(IsValidSurveyFile(p)) << p;
  for (const char* p : {"e.83", "f.27", "g.bl"}) EXPECT_TRUE(IsValidTraverseFile(p)) << p;
  for (const char* p : {"a.em", "c.830", "d.pro"}) EXPECT_FALSE(IsValidTraverseFile(p)) << p;
}

// A file that cannot be opened is one error record naming it with the
// system's reason, and an empty result. (The PRO reader opens its file
// through the same fixed-column code as the .830 reader.)
TEST_F(SurveyFactoryTest, AFileThatCannotBeOpenedIsOneRecordInEveryReader) {
  std::filesystem::create_directories(dir_ / "folder.em");
  std::filesystem::create_directories(dir_ / "folder.830");
  const std::array<const char*, 3> cases[] = {{"none.em", "-1:1:Unable to open survey file : ", "No such file or directory"},
                                              {"folder.em", "-1:1:Unable to open survey file : ", "not a regular file"},
                                              {"none.830", "0:1:Unable to open survey file : ", "No such file or directory"},
                                              {"folder.830", "0:1:Unable to open survey file : ", "not a regular file"},
                                              {"none.27", "0:1:Unable to open traverse file : ", "No such file or directory"}};
  for (const auto& [name, record, why] : cases) {
    const std::string path = (dir_ / name).string();
    const auto object = OpenSurveyFile(path);
    const auto survey = std::dynamic_pointer_cast<ISurvey>(object);
    const auto traverse = std::dynamic_pointer_cast<ITraverse>(object);
    ASSERT_TRUE(survey || traverse) << name;
    const auto errors = survey ? survey->Errors() : traverse->Errors();
    const auto first = errors->Pop();
    EXPECT_EQ(first->Filename(), path);
    EXPECT_EQ(std::to_string(first->LineNumber()) + ":" + std::to_string(first->severity()) + ":" + first->Description(),
              record + path + " (" + why + ")");
    EXPECT_TRUE(errors->IsEmpty());
    const int items = survey ? survey->CrossSections()->Size() + survey->ProfileCenterlines()->Size()
                             : traverse->TraversePoints()->Size();
    EXPECT_EQ(items, 0);
  }
}

}  // namespace
}  // namespace veldrane::test
