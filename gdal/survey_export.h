#pragma once
// Copies the survey layers of an opened dataset into any GDAL vector format.
// The output is written into a scratch folder beside the target and moved
// into place only when GDAL has finished writing it, so a failed or
// interrupted export never leaves a half-written file under the target name;
// the scratch folder goes with a failure, an interruption (in the tool) or,
// after a kill, with the next export to the same folder. A database
// ("PG:dbname=...") is written directly, in one transaction where the
// driver has them.
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
  std::vector<std::string> written;  // files or folders now in place (a database: its connection, shown)
};

// Whether `output` names a database of the driver `format` rather than a
// file: the driver declares a connection prefix ("PG:", "MYSQL:") and
// `output` starts with it.
bool IsDatabaseTarget(const std::string& format, const std::string& output);
// A connection string fit to be shown: its password replaced by "***".
std::string WithoutPassword(const std::string& connection);

// GDAL's warnings during the copy go to the current error handler when it is
// done; its failures make up `problem`. An existing output is replaced only
// with `overwrite`, and never when it is (or holds) one of the inputs. In a
// database, the tables of the layers are the output: any of them already
// there fails the export before anything is written, unless `overwrite`,
// which replaces exactly those tables. A
// single-file output is replaced by one rename; the files of a multi-file
// output (a folder of Shapefiles) replace their namesakes one by one, and the
// other files of that folder stay. Everything is flushed to disk before it
// is renamed into place.
ExportResult ExportSurveys(GDALDataset& source, const ExportRequest& request);

// The failures GDAL reported while writing, as one line: the real cause first
// (a full disk wherever it was reported, else the first failure), then what
// followed from it, without hints at ogr2ogr options.
std::string DescribeFailures(const std::vector<std::string>& failures);
// A GDAL message without its hints at ogr2ogr options ("(use -skipfailures
// ...)", "-mapFieldType can be used ..."), on one line.
std::string WithoutOptionHints(std::string message);

// A progress bar on standard error in the style of GDAL's own
// ("0...10...20...30...40...50...60...70...80...90...100 - done.").
// `data` must point at a StderrProgressState.
struct StderrProgressState {
  int lastTick = -1;
};
int CPL_STDCALL StderrProgress(double complete, const char* message, void* data);

}  // namespace veldrane::ogr
