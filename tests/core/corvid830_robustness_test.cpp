// Damaged and hostile input for the fixed-column, PRO and traverse readers:
// they must finish, keep what they can, and never throw for bad data.
#include <gtest/gtest.h>

#include <string>

#include "readers/fixedcolumn/corvid830_survey.h"
#include "readers/survey_factory.h"
#include "tests/core/reader_test_support.h"

namespace veldrane {
namespace {

class Corvid830RobustnessTest : public test::ScratchFileTest {
 protected:
  std::shared_ptr<Corvid830Survey> Open(const std::string& text) {
    const auto path = Write("damaged.830", text);
    auto survey = std::make_shared<Corvid830Survey>();
    EXPECT_NO_THROW(survey->OpenSurvey(path));
    return survey;
  }

  // Walks everything the survey offers, as a consumer would.
  static std::size_t Touch(ISurvey& survey) {
    std::size_t points = 0;
    auto sections = survey.CrossSections();
    while (auto section = sections->GetNext()) {
      auto it = section->Points();
      while (auto p = it->GetNext()) {
        points += p->Code().size() + p->CodeDescription().size() > 1000 ? 0 : 1;
      }
    }
    survey.VerticalControls();
    survey.Gages();
    while (!survey.Errors()->IsEmpty()) survey.Errors()->Pop();
    return points;
  }
};

std::string ValidBlock() {
  std::string a01(128, ' ');
  a01.replace(8, 3, "A01");
  a01.replace(35, 7, "0000000");
  a01.replace(55, 1, "0");
  a01.replace(91, 1, "0");
  a01.replace(103, 1, "0");
  a01.replace(114, 2, "10");
  a01.replace(127, 1, "0");
  std::string data(104, ' ');
  data.replace(8, 3, "D01");
  data.replace(18, 1, "1");
  data.replace(25, 1, "2");
  data.replace(26, 3, "TOE");
  data.replace(29, 7, "9999999");
  data.replace(91, 1, "1");
  data.replace(103, 1, "0");
  return a01 + "\r\n" + data + "\r\n";
}

TEST_F(Corvid830RobustnessTest, EmptyAndBlankFilesGiveAnEmptySurvey) {
  for (const std::string text : {"", "\n", "\r\n\r\n", "   ", "\r"}) {
    auto survey = Open(text);
    EXPECT_EQ(survey->CrossSections()->Size(), 0);
    EXPECT_TRUE(survey->Errors()->IsEmpty());
  }
}

TEST_F(Corvid830RobustnessTest, ShortAndTruncatedLinesAreHandled) {
  const std::string text = "T\r\nT0\r\nT01\r\nT03\r\n        A01\r\n        A02\r\nA\r\n        D01 1 2 3\r\n9999999";
  auto survey = Open(text);
  EXPECT_EQ(survey->CrossSections()->Size(), 0);
  // The block (lines 5-9) holds an A01 without azimuth: that stops the read.
  Touch(*survey);
}

TEST_F(Corvid830RobustnessTest, NulBytesAreOrdinaryCharacters) {
  std::string block = ValidBlock();
  block[2] = '\0';  // inside the A01 line, outside its fields
  std::string text = std::string("T05") + std::string(16, '\0') + "Contractor\0X" + "\n" + block;
  auto survey = Open(text);
  ASSERT_EQ(survey->CrossSections()->Size(), 1);
  EXPECT_EQ(survey->CrossSections()->GetItem(0)->Points()->GetItem(0)->Code(), "TOE");
}

TEST_F(Corvid830RobustnessTest, TruncatedBlocksAtTheEndAreDropped) {
  const std::string full = ValidBlock() + ValidBlock();
  for (std::size_t cut = 0; cut <= full.size(); cut += 7) {
    auto survey = Open(full.substr(0, cut));
    EXPECT_LE(survey->CrossSections()->Size(), 2);
    Touch(*survey);
  }
}

TEST_F(Corvid830RobustnessTest, TheFactoryOpensEachFormatByItsExtension) {
  const auto aPath = Write("a.830", ValidBlock());
  const auto bPath = Write("b.PRO", "1 2 3 4\n");
  const auto cPath = Write("c.27", std::string(30, '\n'));
  const auto dPath = Write("d.83", "");
  auto a = std::dynamic_pointer_cast<ISurvey>(OpenSurveyFile(aPath));
  ASSERT_NE(a, nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<Corvid830Survey>(a), nullptr);
  EXPECT_EQ(a->CrossSections()->Size(), 1);
  auto b = OpenProSurveyFile(bPath);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->ProfileCenterlines()->Size(), 1);
  auto c = OpenSurveyFile(cPath);
  EXPECT_EQ(std::dynamic_pointer_cast<ISurvey>(c), nullptr);
  ASSERT_NE(std::dynamic_pointer_cast<ITraverse>(c), nullptr);
  auto d = OpenTraverseFile(dPath);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->TraversePoints()->Size(), 0);
  EXPECT_EQ(d->Units(), "Feet");
}

}  // namespace
}  // namespace veldrane
