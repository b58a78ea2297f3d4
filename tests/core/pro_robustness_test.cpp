// Damaged and hostile input for the PRO reader.
#include <gtest/gtest.h>

#include <string>

#include "readers/pro/pro_survey.h"
#include "tests/core/reader_test_support.h"

namespace veldrane {
namespace {

class ProRobustnessTest : public test::ScratchFileTest {
 protected:
  std::shared_ptr<ProSurvey> Open(const std::string& text) {
    const auto path = Write("damaged.pro", text);
    auto survey = std::make_shared<ProSurvey>();
    EXPECT_NO_THROW(survey->OpenSurvey(path));
    return survey;
  }
  static std::size_t PointCount(ProSurvey& survey) {
    auto profile = survey.ProfileCenterlines()->GetNext();
    return profile ? static_cast<std::size_t>(profile->Points()->Size()) : 0;
  }
};

TEST_F(ProRobustnessTest, EmptyFilesAndBareHeadersGiveNoProfile) {
  for (const std::string text : {"", "T", "T01", "T04\n", "\n\n\n", "T0\r\nT07\r\n"}) {
    auto survey = Open(text);
    EXPECT_EQ(survey->ProfileCenterlines()->Size(), 0) << text;
  }
}

TEST_F(ProRobustnessTest, NulBytesAndLongFieldsDoNotStopTheRead) {
  std::string text = "1 2 3 4\n";
  text += std::string("5\0 6 7 8", 8) + "\n";
  text += std::string(100000, '9') + " 1 2 3\n";
  text += "1e400 1 2 3\n";
  text += "9 8 7 6 " + std::string(5000, 'C') + "\n";
  auto survey = Open(text);
  EXPECT_EQ(PointCount(*survey), 2u);
  auto profile = survey->ProfileCenterlines()->GetNext();
  EXPECT_EQ(profile->Points()->GetItem(1)->Code().size(), 5000u);
  EXPECT_FALSE(survey->Errors()->IsEmpty());
}

}  // namespace
}  // namespace veldrane
