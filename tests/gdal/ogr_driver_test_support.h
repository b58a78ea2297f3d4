#pragma once
// What the tests of the "Veldrane" OGR driver share: a scratch folder per
// test, small survey files with hand-checked contents, opening through GDAL
// with only this driver allowed, and capturing GDAL's messages.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <cpl_error.h>
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include "gdal/ogr_veldrane.h"
#include "tests/core/temp_dir.h"

namespace veldrane::ogr::test {

namespace fs = std::filesystem;

// An empty folder, removed with everything in it afterwards.
class ScratchFolder : public veldrane::test::TempDir {
 public:
  ScratchFolder() : TempDir("veldrane-ogr-") {}
  std::string str() const { return path().string(); }
};

// Writes the file, creating the folders it needs.
inline void WriteFile(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  veldrane::test::WriteFile(file, bytes);
}

using veldrane::test::ReadFile;

// Two cross sections along the x axis, in Louisiana South (US survey feet).
// Coordinate lines are "id,northing,easting,elevation,code", so the points
// are (x, y, z): 1 (3391000, 690000, 10), 2 (3391030, 690000, 9.5),
// 3 (3391060, 690000, 8) on section "XS A" (range line from x 3391000), and
// 4 (3391010, 690100, 7.25), 5 (3391050, 690100, 6.5) on "XS B". Their
// stations along the range lines are 0, 30, 60 and 10, 50.
inline const std::string kSectionsSurvey =
    "#H00 EM09\n"
    "#H01 A.EM\n"
    "#H02 3/14/2011\n"
    "#H04 NAD83\n"
    "#H06 US SURVEY FEET\n"
    "#H07 LA SOUTH\n"
    "#H16 2011\n"
    "\n"
    "#X01 3391000 690000 3391100 690000 0+00 XS A\n"
    "#X02 R-A\n"
    "1,690000,3391000,10.0,GND\n"
    "2,690000,3391030,9.5,TOE\n"
    "3,690000,3391060,8.0,CL\n"
    "\n"
    "#X01 3391000 690100 3391100 690100 1+00 XS B\n"
    "4,690100,3391010,7.25,GND\n"
    "5,690100,3391050,6.5,WE\n";

// Two benchmarks, the second without a location; CR LF line ends.
inline const std::string kBenchmarkSurvey =
    "#H00 EM09\r\n"
    "#H01 B.EM\r\n"
    "#H02 3/14/2011\r\n"
    "#H04 NAD83\r\n"
    "#H06 US SURVEY FEET\r\n"
    "#H07 LA SOUTH\r\n"
    "#H16 2011\r\n"
    "#V01 BM ONE\r\n"
    "#V02 25.51\r\n"
    "#V07 690050.5,3391020.25\r\n"
    "#V01 BM TWO\r\n"
    "#V02 12.5\r\n";

// A field file with three problems: an unknown format version (line 1,
// error), a repeated benchmark elevation (line 9, warning) and a
// non-numeric elevation (line 13, "8.O", error); the point of that line is
// dropped, the other two of the section are kept.
inline const std::string kFaultySurvey =
    "#H00 EM08\n"
    "#H02 3/14/2011\n"
    "#H04 NAD83\n"
    "#H06 US SURVEY FEET\n"
    "#H07 LA SOUTH\n"
    "#H16 2011\n"
    "#V01 BM ONE\n"
    "#V02 25.51\n"
    "#V02 25.51\n"
    "#X01 3391000 690200 3391100 690200 2+00 XS C\n"
    "7,690200,3391070,8.5,CL\n"
    "8,690200,3391080,9.5,TOE\n"
    "6,690200,3391060,8.O,CL\n";

inline void RegisterDriver() { RegisterOGRVeldrane(); }

// Opens `path` with the Veldrane driver only.
inline GDALDatasetUniquePtr OpenWithDriver(const std::string& path, bool errorLayer = false,
                                           unsigned int extraFlags = 0) {
  RegisterDriver();
  const char* const drivers[] = {kDriverName, nullptr};
  const char* const withErrors[] = {"ERROR_LAYER=YES", nullptr};
  return GDALDatasetUniquePtr(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | extraFlags, drivers,
                                                errorLayer ? withErrors : nullptr));
}

inline std::vector<std::string> LayerNames(GDALDataset& dataset) {
  std::vector<std::string> names;
  for (int i = 0; i < dataset.GetLayerCount(); ++i) names.emplace_back(dataset.GetLayer(i)->GetName());
  return names;
}

// Reads every feature of the layer; the FIDs in order.
inline std::vector<GIntBig> Fids(OGRLayer& layer) {
  std::vector<GIntBig> fids;
  layer.ResetReading();
  for (auto& feature : layer) fids.push_back(feature->GetFID());
  return fids;
}

// Everything a feature holds, as text.
inline std::string Describe(OGRFeature& feature) {
  std::string out = std::to_string(feature.GetFID());
  for (int i = 0; i < feature.GetFieldCount(); ++i) {
    out += "|";
    out += feature.IsFieldNull(i) ? "<null>" : !feature.IsFieldSet(i) ? "<unset>" : feature.GetFieldAsString(i);
  }
  if (const OGRGeometry* shape = feature.GetGeometryRef()) {
    char* wkt = nullptr;
    shape->exportToWkt(&wkt, wkbVariantIso);
    out += "|";
    out += wkt != nullptr ? wkt : "";
    CPLFree(wkt);
    out += shape->getSpatialReference() != nullptr ? "|srs" : "|no srs";
  }
  return out;
}

// Every layer's name and spatial reference, then its features described.
inline std::string DescribeLayers(GDALDataset& dataset) {
  std::string text;
  for (OGRLayer* layer : dataset.GetLayers()) {
    const OGRSpatialReference* srs = layer->GetSpatialRef();
    text += std::string(layer->GetName()) + " " + (srs != nullptr ? srs->GetName() : "-") + "\n";
    for (auto& feature : *layer) text += Describe(*feature) + "\n";
  }
  return text;
}

// GDAL's messages on this thread while alive (not passed on).
class CapturedMessages {
 public:
  CapturedMessages() { CPLPushErrorHandlerEx(&CapturedMessages::Handler, this); }
  ~CapturedMessages() { CPLPopErrorHandler(); }
  CapturedMessages(const CapturedMessages&) = delete;
  CapturedMessages& operator=(const CapturedMessages&) = delete;

  const std::vector<std::pair<CPLErr, std::string>>& All() const { return messages_; }
  std::vector<std::string> Of(CPLErr type) const {
    std::vector<std::string> texts;
    for (const auto& [t, text] : messages_)
      if (t == type) texts.push_back(text);
    return texts;
  }

 private:
  static void CPL_STDCALL Handler(CPLErr type, CPLErrorNum, const char* message) {
    auto* self = static_cast<CapturedMessages*>(CPLGetErrorHandlerUserData());
    if (type != CE_Debug) self->messages_.emplace_back(type, message != nullptr ? message : "");
  }
  std::vector<std::pair<CPLErr, std::string>> messages_;
};

}  // namespace veldrane::ogr::test
