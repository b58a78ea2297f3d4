// Choosing the reader by extension.
#include <gtest/gtest.h>

#include "model/constants.h"
#include "readers/survey_factory.h"
#include "tests/core/reader_test_support.h"

namespace veldrane {
namespace {

using SurveyFactoryTest = test::ScratchFileTest;

TEST_F(SurveyFactoryTest, EMFilesOpenInAnyLetterCase) {
  const auto path = Write("Levee.EM", "#H05 J-1\r\n");
  auto object = OpenSurveyFile(path);
  auto survey = std::dynamic_pointer_cast<ISurvey>(object);
  ASSERT_NE(survey, nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<ITraverse>(object), nullptr);
  EXPECT_EQ(survey->JobNumber(), "J-1");
  EXPECT_EQ(OpenSurveyFile(Write("line.cl", "#H05 J-2\r\n")) != nullptr, true);
  EXPECT_EQ(OpenEMSurveyFile(Write("x.em", "#H06 Feet\r\n"))->Units(), "Feet");
}

TEST_F(SurveyFactoryTest, UnrecognisedExtensionsNameThePath) {
  try {
    OpenSurveyFile("C:\\data\\notes.txt");
    FAIL() << "an unknown extension must raise";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Description(), "C:\\data\\notes.txt has an unrecognized survey/traverse extension");
    EXPECT_EQ(e.Source(), "Ordane.SurveyFactory.OpenSurveyFile");
    EXPECT_EQ(e.Number(), kErrUnrecognizedExtension);
  }
  try {
    OpenTraverseFile("C:\\data\\a.em");
    FAIL() << "an EM file is not a traverse";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Description(), "C:\\data\\a.em has an unrecognized traverse extension");
    EXPECT_EQ(e.Source(), "Ordane.SurveyFactory.OpenSurveyFile");
  }
}

// Each extension reaches its own reader: a plugged-in reader returns the
// right interface, a missing one says the type is not supported yet.
TEST_F(SurveyFactoryTest, OtherFormatsReachTheirOwnReader) {
  struct Case {
    std::string name;
    SurveyReaderKind kind;
    bool traverse;
  };
  const Case cases[] = {{"route.830", SurveyReaderKind::Corvid830, false},
                        {"prof.PRO", SurveyReaderKind::Pro, false},
                        {"t.27", SurveyReaderKind::Traverse, true},
                        {"t.83", SurveyReaderKind::Traverse, true},
                        {"line.bl", SurveyReaderKind::Baseline, true}};
  for (const auto& c : cases) {
    const auto path = Write(c.name, "");
    if (FindSurveyReader(c.kind) != nullptr) {
      auto object = OpenSurveyFile(path);
      EXPECT_EQ(std::dynamic_pointer_cast<ITraverse>(object) != nullptr, c.traverse) << c.name;
      EXPECT_EQ(std::dynamic_pointer_cast<ISurvey>(object) != nullptr, !c.traverse) << c.name;
    } else {
      try {
        OpenSurveyFile(path);
        ADD_FAILURE() << c.name << " must not open without its reader";
      } catch (const RaisedError& e) {
        EXPECT_NE(e.Description().find("not supported yet"), std::string::npos) << e.Description();
        EXPECT_EQ(e.Description().rfind(path, 0), 0u) << e.Description();
      }
    }
  }
}

TEST(SurveyFactoryFileTest, ValidSurveyAndTraverseExtensions) {
  for (const char* p : {"a.em", "A.EM", "b.cl", "c.830", "d.Pro", "e.83", "f.27", "g.BL"})
    EXPECT_TRUE(IsValidSurveyFile(p)) << p;
  for (const char* p : {"a.txt", "em", "a.em.bak", "a.8300", "", "a.2"}) EXPECT_FALSE(IsValidSurveyFile(p)) << p;
  for (const char* p : {"e.83", "f.27", "g.bl"}) EXPECT_TRUE(IsValidTraverseFile(p)) << p;
  for (const char* p : {"a.em", "c.830", "d.pro"}) EXPECT_FALSE(IsValidTraverseFile(p)) << p;
}

}  // namespace
}  // namespace veldrane
