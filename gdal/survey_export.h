#pragma once
// Copies the survey layers of an opened dataset into any GDAL vector format.
// The output is written into a temporary folder beside the target and moved
// into place only when GDAL has finished writing it, so a failed or
// interrupted export never leaves a half-written file under the target name.
#include <cstdint>
#include <string>
#include <vector>

#include <gdal_priv.h>

namespace veldrane::ogr {

struct ExportRequest {
  std::string output;
  std::string format = "GPKG";
  bool overwrite = false;      // replace an existing output
  bool includeErrors = false;  // copy the "Errors" layer as well
  GDALProgressFunc progress = nullptr;
  void* progressData = nullptr;
};

struct ExportResult {
  bool ok = false;
  std::string problem;  // why it failed, when !ok
  int layers = 0;
  std::int64_t features = 0;
  std::vector<std::string> written;  // files or folders now in place
};

// GDAL messages of the copy go to the current error handler.
ExportResult ExportSurveys(GDALDataset& source, const ExportRequest& request);

// A progress bar on standard error in the style of GDAL's own
// ("0...10...20...30...40...50...60...70...80...90...100 - done.").
// `data` must point at a StderrProgressState.
struct StderrProgressState {
  int lastTick = -1;
};
int CPL_STDCALL StderrProgress(double complete, const char* message, void* data);

}  // namespace veldrane::ogr
