// Survey text held in memory reads exactly as the same bytes in a file.
// (Reading through GDAL's virtual file systems, and files that stop part
// way, are tested with the driver: tests/gdal/ogr_driver_vsi_test.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/survey_json.h"
#include "config/file_system.h"
#include "readers/survey_factory.h"
#include "tests/core/reader_test_support.h"

namespace veldrane::test {
namespace {

std::string Dump(const std::string& path, const std::shared_ptr<IInterface>& object) {
  return SurveyFileJsonText(path, object, true);
}

TEST(SurveyTextTest, EverySampleReadsFromMemoryAsFromItsFile) {
  int samples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(VELDRANE_SOURCE_DIR) + "/samples")) {
    const std::string path = entry.path().string();
    if (!IsValidSurveyFile(path)) continue;
    SCOPED_TRACE(path);
    EXPECT_EQ(Dump(path, OpenSurveyText(path, ReadFile(path))), Dump(path, OpenSurveyFile(path)));
    ++samples;
  }
  EXPECT_GE(samples, 8);
}

TEST_F(ReaderTest, TextNotOnDiskFindsItsCodesAndBaselineBesideItsPath) {
  Write("CODES.DAT", "GND;ground\n");
  Write("line.bl", "#B01 0,0,0,A\n#B02 0,100,100,B\n");
  const std::string path = (dir_ / "new.em").string();
  const auto survey = std::dynamic_pointer_cast<ISurvey>(OpenSurveyText(
      path, "#B00 line.bl\n#X01 -50 50 50 50 0+50 XS\n1,50,-10,1,GND\n2,50,10,1,GND\n\n#H00 EM07\n"));
  ASSERT_NE(survey, nullptr);
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(survey->GetCustomCode("GND"), "ground");
  ExpectMembers(Json(*survey), R"({"CrossSections": [{"BaselineIntersectX": 0, "BaselineIntersectY": 50}]})");
  EXPECT_EQ(Drain(*survey->Errors()), Lines{"6:1:Invalid File Format Version : EM07"});
}

}  // namespace
}  // namespace veldrane::test
