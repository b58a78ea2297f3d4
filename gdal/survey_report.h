#pragma once
// What the command-line tool needs from the driver to describe survey files:
// opening a path with the "Veldrane" driver while keeping GDAL's messages
// (the problems found in the files arrive as warnings and are read back from
// the "Errors" layer instead), the per-file problem counts, and readable
// names of geometry types and coordinate systems.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>

namespace veldrane::ogr {

// Registers this process's copy of the driver first, then every other GDAL
// driver. Safe to call more than once.
void RegisterDriversForTools();

struct ProblemCounts {
  int errors = 0;    // severity 1 and above
  int warnings = 0;  // severity 0
  int Total() const { return errors + warnings; }
};

struct SurveyProblems {
  ProblemCounts total;
  // Keyed by the file name (no folder part) the record names.
  std::map<std::string, ProblemCounts> byFile;
};

struct OpenedSurveys {
  GDALDatasetUniquePtr dataset;  // null when the path could not be opened
  // GDAL messages of the open that are not problem records (failures of the
  // data source, unreadable files), "Warning: ..." / "Error: ...".
  std::vector<std::string> messages;
  SurveyProblems problems;
};

// Opens `path` read-only with the Veldrane driver only, with the "Errors"
// layer. Never throws.
OpenedSurveys OpenSurveys(const std::string& path);

// Counts the records of an "Errors" layer (fields Filename and Severity).
SurveyProblems CountProblems(OGRLayer& errors);
// While alive, GDAL warnings about problems of the dataset's survey files
// (records "FILE:LINE: SEVERITY: ..." and summaries "FILE: 3 problems ...",
// counted from the "Errors" layer instead) are held back on this thread;
// every other message is shown as usual.
class ProblemRecordFilter {
 public:
  explicit ProblemRecordFilter(GDALDataset& dataset);
  ~ProblemRecordFilter();
  ProblemRecordFilter(const ProblemRecordFilter&) = delete;
  ProblemRecordFilter& operator=(const ProblemRecordFilter&) = delete;

 private:
  static void CPL_STDCALL Handle(CPLErr type, CPLErrorNum number, const char* text);
  std::vector<std::string> prefixes_;  // "FILE:" of every survey file
};

// Counts again the "Errors" layer of a dataset opened by OpenSurveys: reading
// the layers can add problems found while computing (stations, benchmarks
// collected from .830 files). Unchanged when the dataset has no such layer.
void RecountProblems(GDALDataset& dataset, SurveyProblems& problems);

// "2 errors, 1 warning" / "no problems".
std::string FormatProblemCounts(const ProblemCounts& counts);

// "NAD83 / Louisiana South (ftUS) (EPSG:3452)", "unknown" without a
// coordinate system. The EPSG code is the reference's own or, failing that,
// the best match GDAL finds for it.
std::string CoordinateSystemText(const OGRSpatialReference* reference);

// "3 errors, 2 warnings in 2 files (a.em, b.em)" / "no problems"; the file
// names are listed when there are few of them.
std::string FormatProblemSummary(const SurveyProblems& problems);

// The survey files of the dataset (file names, no folder), in the dataset's
// order; files without any class are included.
std::vector<std::string> SurveyFileNames(GDALDataset& dataset);

// "3D Measured Line String", "Point", "None".
std::string GeometryTypeText(OGRwkbGeometryType type);

// The layers of the dataset that come from survey files (every layer but
// "Errors"), in order.
std::vector<OGRLayer*> SurveyLayers(GDALDataset& dataset);

// Shortest fixed notation with at most `decimals` decimals ("690378.27").
std::string FormatCoordinate(double value, int decimals = 3);

}  // namespace veldrane::ogr
