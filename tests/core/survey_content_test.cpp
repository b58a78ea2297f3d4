// Identification by content: a survey file's first significant line is a
// record of the format its extension names; anything else is not claimed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "readers/survey_content.h"
#include "readers/survey_factory.h"
#include "tests/core/temp_dir.h"

namespace veldrane {
namespace {

struct Case {
  const char* name;
  std::string bytes;
  bool whole;
  SurveyContent expected;
};

std::string RandomBytes() {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919) % 256);
  return bytes;
}

TEST(SurveyContentTest, TheFirstSignificantLineMustBeARecordOfTheFormat) {
  using enum SurveyContent;
  const Case cases[] = {
      {"a.em", "#H00 EM09\n", true, Survey},
      {"a.EM", "\xEF\xBB\xBF\r\n  \r\n; comment\r#x01 1 2 3 4 0+00 XS\r", true, Survey},
      {"a.cl", "101,690383.977,3391547.990,11.29,GND\n", true, Survey},
      {"a.em", "\t7 690000 3391000 10.0 GND\n", true, Survey},
      {"a.bl", "; baseline\n#B01 0,50,1000,A\n", true, Survey},
      {"a.em", "\n\n; only comments\n", true, NotSurvey},
      {"a.em", "\n\n; only comments so far\n", false, Undecided},
      {"a.em", "TEMPLATE = app\nSOURCES += main.cpp\n", true, NotSurvey},
      {"a.em", "#\n", true, NotSurvey},
      {"a.em", "#H00 EM09\n\x01\x02", false, NotSurvey},
      {"a.em", RandomBytes(), false, NotSurvey},
      {"a.830", "T01 FILENAME       AMITE98.830\n", true, Survey},
      {"a.830", "XS0001  A01 RANGE                  3451030.8\n", true, Survey},
      {"a.830", "name,value\n1,2\n", true, NotSurvey},
      {"a.pro", "T01 FILENAME\n", true, Survey},
      {"a.pro", "    0.00  3390883.531   690934.667   -9.68 CL\n", true, Survey},
      {"a.pro", "TEMPLATE = app\n", true, NotSurvey},
      {"a.pro", "0.0 1.0 x 2.0\n", true, NotSurvey},
      {"a.83", "\nJOB NO J-11-0187 AMITE RIVER\n", true, Survey},
      {"a.27", "job no 44\n", true, Survey},
      {"a.83", "\n\n\n", true, NotSurvey},
      {"a.27", "(001) CP-1\n", true, NotSurvey},
      {"a.txt", "#H00 EM09\n", true, NotSurvey},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SurveyContentOf(c.name, c.bytes, c.whole), c.expected) << c.name << " [" << c.bytes.substr(0, 40) << "]";
}

TEST(SurveyContentTest, EverySampleIsASurvey) {
  for (const auto& entry : std::filesystem::directory_iterator(std::string(VELDRANE_SOURCE_DIR) + "/samples")) {
    const std::string path = entry.path().string();
    if (!entry.is_regular_file() || !IsValidSurveyFile(path)) continue;
    EXPECT_EQ(SurveyContentOf(path, test::ReadFile(entry.path()).substr(0, 1024), false), SurveyContent::Survey)
        << path;
  }
}

}  // namespace
}  // namespace veldrane
