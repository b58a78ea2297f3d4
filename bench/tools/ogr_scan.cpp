// Reads every feature of one layer through GDAL and reports how long the
// open and the read took; with --spat, also a scan under a spatial filter.
//
//   ogr_scan [--driver NAME] [--oo KEY=VALUE]... [--layer NAME]
//            [--spat XMIN YMIN XMAX YMAX] [--vsimem] PATH
//
// --vsimem: PATH is first copied into GDAL's in-memory file system (not
// timed) and read from there.
//
// Output (one line each): "open_s S", "features N", "read_s S" and, with
// --spat, "filtered_features N", "filtered_s S". Every feature is touched:
// its geometry's envelope and every field's value are read.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Reads the layer to its end; returns the number of features.
long long Scan(OGRLayer& layer, double& checksum) {
  long long count = 0;
  layer.ResetReading();
  while (OGRFeature* feature = layer.GetNextFeature()) {
    if (const OGRGeometry* shape = feature->GetGeometryRef()) {
      OGREnvelope box;
      shape->getEnvelope(&box);
      checksum += box.MinX;
    }
    for (int i = 0; i < feature->GetFieldCount(); ++i) {
      if (!feature->IsFieldSetAndNotNull(i)) continue;
      const OGRField* value = feature->GetRawFieldRef(i);
      checksum += static_cast<double>(value->Set.nMarker1 & 1);
    }
    ++count;
    OGRFeature::DestroyFeature(feature);
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> drivers;
  CPLStringList openOptions;
  std::string layerName;
  bool spatial = false;
  bool inMemory = false;
  double spat[4] = {0, 0, 0, 0};
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--driver" && i + 1 < argc) drivers.push_back(argv[++i]);
    else if (arg == "--oo" && i + 1 < argc) openOptions.AddString(argv[++i]);
    else if (arg == "--layer" && i + 1 < argc) layerName = argv[++i];
    else if (arg == "--vsimem") inMemory = true;
    else if (arg == "--spat" && i + 4 < argc) {
      spatial = true;
      for (double& v : spat) v = std::atof(argv[++i]);
    } else path = arg;
  }
  if (path.empty()) {
    std::fprintf(stderr,
                 "usage: ogr_scan [--driver NAME] [--oo K=V]... [--layer NAME] [--spat x0 y0 x1 y1] [--vsimem] PATH\n");
    return 2;
  }
  GDALAllRegister();
  if (inMemory) {
    GByte* bytes = nullptr;
    vsi_l_offset size = 0;
    const std::string copy = "/vsimem/ogr_scan/" + std::string(CPLGetFilename(path.c_str()));
    if (!VSIIngestFile(nullptr, path.c_str(), &bytes, &size, -1)) return 1;
    VSIFCloseL(VSIFileFromMemBuffer(copy.c_str(), bytes, size, TRUE));
    path = copy;
  }
  std::vector<const char*> allowed;
  for (const auto& d : drivers) allowed.push_back(d.c_str());
  allowed.push_back(nullptr);

  const auto openStart = std::chrono::steady_clock::now();
  GDALDatasetUniquePtr dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY,
                                                 drivers.empty() ? nullptr : allowed.data(), openOptions.List()));
  if (!dataset) {
    std::fprintf(stderr, "ogr_scan: cannot open %s\n", path.c_str());
    return 1;
  }
  OGRLayer* layer = layerName.empty() ? dataset->GetLayer(0) : dataset->GetLayerByName(layerName.c_str());
  if (layer == nullptr) {
    std::fprintf(stderr, "ogr_scan: no layer %s\n", layerName.c_str());
    return 1;
  }
  layer->GetLayerDefn();
  std::printf("open_s %.3f\n", Seconds(openStart));

  double checksum = 0;
  const auto readStart = std::chrono::steady_clock::now();
  const long long features = Scan(*layer, checksum);
  std::printf("features %lld\nread_s %.3f\n", features, Seconds(readStart));
  if (spatial) {
    layer->SetSpatialFilterRect(spat[0], spat[1], spat[2], spat[3]);
    const auto filterStart = std::chrono::steady_clock::now();
    const long long kept = Scan(*layer, checksum);
    std::printf("filtered_features %lld\nfiltered_s %.3f\n", kept, Seconds(filterStart));
  }
  std::fprintf(stderr, "checksum %.1f\n", checksum);
  return 0;
}
