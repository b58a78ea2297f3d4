// Every layer of the sample surveys is what it declares, as GDAL clients and
// GDAL's conformance program check it: each feature carries exactly the
// ordinates of its layer's geometry type, every value fits the width its
// field declares, a feature read again by its FID is equal to it, the
// extent is the union of the features' envelopes (a failure for a layer
// without shapes), and reading raises no GDAL message.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/gdal/ogr_driver_test_support.h"

namespace veldrane::ogr::test {
namespace {

void ExpectValuesFitTheirWidths(OGRFeature& feature, const std::string& layer) {
  for (int i = 0; i < feature.GetFieldCount(); ++i) {
    const int width = feature.GetFieldDefnRef(i)->GetWidth();
    if (width > 0 && feature.IsFieldSetAndNotNull(i)) {
      EXPECT_LE(std::strlen(feature.GetFieldAsString(i)), static_cast<std::size_t>(width))
          << layer << " " << feature.GetFieldDefnRef(i)->GetNameRef() << " " << feature.GetFieldAsString(i);
    }
  }
}

TEST(OgrDriverSamples, EveryLayerIsWhatItDeclares) {
  auto dataset = OpenWithDriver(std::string(VELDRANE_SOURCE_DIR) + "/samples");
  ASSERT_TRUE(dataset);
  ASSERT_GT(dataset->GetLayerCount(), 20);
  for (OGRLayer* layer : dataset->GetLayers()) {
    const std::string name = layer->GetName();
    const OGRwkbGeometryType declared = layer->GetGeomType();
    OGREnvelope features;
    bool anyShape = false;
    while (true) {
      CPLErrorReset();
      std::unique_ptr<OGRFeature> feature(layer->GetNextFeature());
      EXPECT_EQ(CPLGetLastErrorType(), CE_None) << name << ": " << CPLGetLastErrorMsg();
      if (!feature) break;
      ExpectValuesFitTheirWidths(*feature, name);
      const std::unique_ptr<OGRFeature> again(layer->GetFeature(feature->GetFID()));
      EXPECT_TRUE(again && again->Equal(feature.get())) << name << " feature " << feature->GetFID();
      const OGRGeometry* shape = feature->GetGeometryRef();
      if (shape == nullptr) continue;
      EXPECT_EQ(shape->getGeometryType(), declared) << name << " feature " << feature->GetFID();
      OGREnvelope box;
      shape->getEnvelope(&box);
      features.Merge(box);
      anyShape = true;
    }
    OGREnvelope extent;
    CapturedMessages quiet;
    ASSERT_EQ(layer->GetExtent(&extent, TRUE), anyShape ? OGRERR_NONE : OGRERR_FAILURE) << name;
    if (anyShape) {
      EXPECT_TRUE(extent == features) << name;
    }
    EXPECT_TRUE(layer->TestCapability(OLCFastGetExtent)) << name;
  }
}

}  // namespace
}  // namespace veldrane::ogr::test
