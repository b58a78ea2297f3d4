// Spatial references by coordinate-system id: projection files of the
// projection folder first, EPSG codes next, the unknown system otherwise.
#include <gtest/gtest.h>

#include "config/settings_paths.h"
#include "host/coordinate_system.h"
#include "tests/gdal/host_test_support.h"

namespace veldrane {
namespace {

class CoordinateSystems : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder_.Path() / "coordsys");
    SetLibraryFolderForTesting(folder_.Path());
    ResetSettingsPathsCache();
    ClearCoordinateSystemCache();
  }
  void TearDown() override {
    SetLibraryFolderForTesting(std::nullopt);
    ResetSettingsPathsCache();
    ClearCoordinateSystemCache();
  }
  void WritePrj(const std::string& name, const std::string& text) { folder_.Write("coordsys/" + name, text); }

  test::ScratchFolder folder_{"coordsys"};
};

// NAD83 / UTM zone 15N as ESRI writes it.
const char* const kUtm15Esri =
    "PROJCS[\"NAD_1983_UTM_Zone_15N\",GEOGCS[\"GCS_North_American_1983\",DATUM[\"D_North_American_1983\","
    "SPHEROID[\"GRS_1980\",6378137.0,298.257222101]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]],"
    "PROJECTION[\"Transverse_Mercator\"],PARAMETER[\"False_Easting\",500000.0],PARAMETER[\"False_Northing\",0.0],"
    "PARAMETER[\"Central_Meridian\",-93.0],PARAMETER[\"Scale_Factor\",0.9996],"
    "PARAMETER[\"Latitude_Of_Origin\",0.0],UNIT[\"Meter\",1.0]]";

TEST_F(CoordinateSystems, ProjectionFileWinsOverTheEpsgCode) {
  // 4326 would be geographic as an EPSG code; the file says UTM 15N.
  WritePrj("4326.prj", kUtm15Esri);
  const SpatialReferencePtr reference = GetCoordinateSystem(4326);
  ASSERT_TRUE(reference->IsProjected());
  EXPECT_NEAR(reference->GetProjParm(SRS_PP_CENTRAL_MERIDIAN), -93.0, 1e-9);
  EXPECT_EQ(reference->GetAxisMappingStrategy(), OAMS_TRADITIONAL_GIS_ORDER);
  EXPECT_EQ(reference->GetAuthorityName(nullptr), nullptr);
  // A file that defines exactly the system its EPSG id names has that identity.
  WritePrj("26915.prj", kUtm15Esri);
  EXPECT_STREQ(GetCoordinateSystem(26915)->GetAuthorityCode(nullptr), "26915");
}

// Zero, codes GDAL does not know and unreadable files give the unknown
// system (how a known EPSG code reaches the layers is in the driver tests).
TEST_F(CoordinateSystems, UnreadableFilesAndUnknownCodesGiveTheUnknownSystem) {
  WritePrj("77.prj", "this is not a projection\r\n");
  EXPECT_TRUE(GetCoordinateSystem(0)->IsEmpty());
  EXPECT_TRUE(GetCoordinateSystem(77)->IsEmpty());
  EXPECT_TRUE(GetCoordinateSystem(1702)->IsEmpty());
  EXPECT_TRUE(GetCoordinateSystem(-5)->IsEmpty());
}

// Built once, then every caller gets a copy of its own: two threads may use
// their copies at the same time, and changing one changes no other.
TEST_F(CoordinateSystems, BuiltOncePerProcessAndHandedOutAsCopies) {
  const SpatialReferencePtr first = GetCoordinateSystem(26915);
  WritePrj("26915.prj", "garbage");
  const SpatialReferencePtr second = GetCoordinateSystem(26915);
  EXPECT_NE(second, first);
  EXPECT_TRUE(second->IsSame(first.get()));
  second->SetAxisMappingStrategy(OAMS_AUTHORITY_COMPLIANT);
  EXPECT_EQ(GetCoordinateSystem(26915)->GetAxisMappingStrategy(), OAMS_TRADITIONAL_GIS_ORDER);
  ClearCoordinateSystemCache();
  EXPECT_TRUE(GetCoordinateSystem(26915)->IsEmpty());
}

}  // namespace
}  // namespace veldrane
