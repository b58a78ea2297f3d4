#pragma once
// The OGR vector driver "Veldrane" ("Halden Survey File"): a folder of survey
// files, or one survey file, opened read-only as OGR layers, one layer per
// feature class of every survey file ("levee.em CrossSections", ...).
//
// Open options:
//   ERROR_LAYER=YES  adds a non-spatial layer "Errors" (Filename, LineNumber,
//                    Severity, Description) holding every problem found in
//                    the files read.
//
// Every problem found while a file is read is also emitted as a GDAL warning
// "FILE:LINE: SEVERITY: DESCRIPTION".

// Registers the driver with GDAL's driver manager of this process; does
// nothing when a driver named "Veldrane" is registered already (the plugin,
// or an earlier call). Call it before GDALAllRegister() so that this copy is
// the one in use.
extern "C" void RegisterOGRVeldrane();

namespace veldrane::ogr {

inline constexpr const char* kDriverName = "Veldrane";
inline constexpr const char* kDriverLongName = "Halden Survey File";
inline constexpr const char* kErrorLayerName = "Errors";
inline constexpr const char* kErrorLayerOption = "ERROR_LAYER";

// Layer metadata items (default domain) naming the survey file and the class
// kind a layer comes from.
inline constexpr const char* kSurveyFileItem = "SURVEY_FILE";
inline constexpr const char* kClassKindItem = "CLASS_KIND";

}  // namespace veldrane::ogr
