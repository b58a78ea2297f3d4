// The least any OGR driver pays per feature: builds and frees features of
// the cross-section point layout (ten attributes, a point with Z and M and a
// spatial reference) with no survey behind them, and reads them as ogr_scan
// does. The difference between a driver's read time and this floor is what
// the driver itself costs.
//
//   ogr_floor COUNT      prints "floor_s <seconds>"
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <cpl_conv.h>
#include <ogr_feature.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>

int main(int argc, char** argv) {
  const long long count = argc > 1 ? std::atoll(argv[1]) : 2000000;
  auto* definition = new OGRFeatureDefn("floor");
  definition->Reference();
  const struct {
    const char* name;
    OGRFieldType type;
  } fields[] = {{"CrossSectionOID", OFTInteger}, {"PointId", OFTInteger},      {"PointTag", OFTString},
                {"Elevation", OFTReal},          {"RangeStartOffset", OFTReal}, {"BaselineOffset", OFTReal},
                {"LateralOffset", OFTReal},      {"Code", OFTString},          {"CodeDef", OFTString},
                {"VAdjustment", OFTReal}};
  for (const auto& field : fields) {
    OGRFieldDefn defn(field.name, field.type);
    definition->AddFieldDefn(&defn);
  }
  auto* reference = new OGRSpatialReference();
  reference->importFromEPSG(6479);
  definition->GetGeomFieldDefn(0)->SetSpatialRef(reference);

  double checksum = 0;
  const auto start = std::chrono::steady_clock::now();
  for (long long n = 0; n < count; ++n) {
    auto* feature = new OGRFeature(definition);
    feature->SetFID(n);
    feature->SetFieldSameTypeUnsafe(0, static_cast<int>(n % 100));
    feature->SetFieldSameTypeUnsafe(1, static_cast<int>(n));
    feature->SetFieldSameTypeUnsafe(2, CPLStrdup("104"));
    for (int i : {3, 4, 5, 6, 9}) feature->SetFieldSameTypeUnsafe(i, 1.5 * static_cast<double>(n));
    feature->SetFieldSameTypeUnsafe(7, CPLStrdup("GND"));
    feature->SetFieldSameTypeUnsafe(8, CPLStrdup(""));
    auto* point = new OGRPoint(1.0 * n, 2.0 * n, 3.0, 4.0);
    point->assignSpatialReference(reference);
    feature->SetGeomFieldDirectly(0, point);
    // What ogr_scan does with each feature.
    OGREnvelope box;
    feature->GetGeometryRef()->getEnvelope(&box);
    checksum += box.MinX;
    for (int i = 0; i < feature->GetFieldCount(); ++i)
      if (feature->IsFieldSetAndNotNull(i)) checksum += feature->GetRawFieldRef(i)->Set.nMarker1 & 1;
    OGRFeature::DestroyFeature(feature);
  }
  std::printf("floor_s %.3f\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  std::fprintf(stderr, "checksum %.1f\n", checksum);
  reference->Release();
  definition->Release();
  return 0;
}
