// Registration of the "Veldrane" driver and its entry points: identify,
// open, and GDAL's file operations (delete, rename, copy), which take the
// metadata file beside a survey file along and report failure whenever the
// result is not exactly what was asked for. Delete and rename use the
// dataset helper's own; GDAL's copy writes exactly the name it is given,
// where the data source's Copy (the catalog's) picks a free name itself.
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <cpl_string.h>
#include <gdal_priv.h>

#include "config/file_access.h"
#include "config/file_system.h"
#include "gdal/ogr_boundary.h"
#include "gdal/ogr_veldrane.h"
#include "gdal/ogr_veldrane_data_source.h"
#include "gdal/survey_identify.h"
#include "gdal/survey_path.h"
#include "model/text.h"
#include "plugin/plugin_interfaces.h"
#include "plugin/svy_workspace_factory_helper.h"

namespace veldrane::ogr {
namespace {

namespace fs = std::filesystem;

// The driver's documentation as installed (docs/gdal.md of the sources).
#ifndef VELDRANE_DOC_DIR
#define VELDRANE_DOC_DIR "/usr/local/share/doc/veldrane"
#endif
constexpr const char* kHelpTopic = VELDRANE_DOC_DIR "/gdal.md";

constexpr const char* kOpenOptions =
    "<OpenOptionList>"
    "  <Option name='ERROR_LAYER' type='boolean' default='NO' "
    "description='Add a layer \"Errors\" listing every problem found in the survey files'/>"
    "</OpenOptionList>";

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

// The same folder, however it is written ("a", "./a", "a/../a").
bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  const bool same = fs::equivalent(a.empty() ? fs::path(".") : a, b.empty() ? fs::path(".") : b, ec);
  return !ec && same;
}

fs::path FolderOf(const std::string& path) {
  const fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

// Where nothing can be written (inside an archive, on a virtual file system)
// the operation is refused before anything is tried.
bool Refused(const char* path, const char* operation) {
  const std::string reason = CurrentFileAccess().WriteRefusal(path != nullptr ? path : "");
  if (reason.empty()) return false;
  CPLError(CE_Failure, CPLE_NotSupported, "Veldrane: %s cannot be %s: %s", ToValidUtf8(path).c_str(), operation,
           reason.c_str());
  return true;
}

// The dataset helper's file operations for a single survey file; null (and
// a GDAL error) when `path` is not one.
std::shared_ptr<IPlugInFileOperations> FileOperationsFor(const char* path, const char* operation) {
  const SurveyTarget target = ClassifySurveyPath(path != nullptr ? path : "");
  if (target.kind != SurveyTarget::Kind::SurveyFile) {
    CPLError(CE_Failure, CPLE_NotSupported, "Veldrane: %s: only a single survey file can be %s",
             ToValidUtf8(path != nullptr ? path : "").c_str(), operation);
    return nullptr;
  }
  SvyWorkspaceFactoryHelper factory;
  const auto workspace = factory.OpenWorkspace(target.workspace);
  auto operations = std::dynamic_pointer_cast<IPlugInFileOperations>(workspace->OpenDataset(target.datasetName));
  if (!operations) CPLError(CE_Failure, CPLE_AppDefined, "Veldrane: %s cannot be %s", path, operation);
  return operations;
}

int IdentifyVeldrane(GDALOpenInfo* info) {
  return Guarded<int>("Identify", FALSE, [&] { return IdentifySurvey(*info) ? TRUE : FALSE; });
}

GDALDataset* OpenVeldrane(GDALOpenInfo* info) {
  return Guarded<GDALDataset*>(
      "Open", nullptr,
      [&]() -> GDALDataset* {
        // GDAL calls Open whatever Identify said: a folder is listed once
        // here, and a file judged by the header bytes GDAL holds.
        std::vector<std::string> names;
        if (info->bIsDirectory) {
          names = SurveyFilesIn(info->pszFilename);
          if (names.empty()) return nullptr;
        } else if (!IdentifySurvey(*info)) {
          return nullptr;
        }
        if (info->eAccess == GA_Update) {
          // Declined quietly, as GDAL's read-only drivers do: clients that
          // ask for update first (QGIS, ogrinfo -sql) then open read-only,
          // and nothing reaches their message logs.
          CPLDebug(kDriverName, "%s: survey files are read-only; not opened for update",
                   ToValidUtf8(info->pszFilename).c_str());
          return nullptr;
        }
        const SurveyTarget target = ClassifySurveyPath(info->pszFilename);
        if (target.kind == SurveyTarget::Kind::None) return nullptr;
        if (target.kind == SurveyTarget::Kind::SurveyFile) names = {target.datasetName};
        const bool withErrorLayer = CPLFetchBool(info->papszOpenOptions, kErrorLayerOption, false);
        return OGRVeldraneDataSource::Open(target, names, info->pszFilename, withErrorLayer).release();
      },
      CPLE_OpenFailed);
}

fs::path MetadataOf(const fs::path& survey) {
  fs::path metadata = survey;
  metadata += ".xml";
  return metadata;
}

// A file operation that did not (entirely) happen: "Veldrane: <text>".
CPLErr FileFailure(const std::string& text) {
  CPLError(CE_Failure, CPLE_FileIO, "Veldrane: %s", ToValidUtf8(text).c_str());
  return CE_Failure;
}

CPLErr DeleteVeldrane(const char* name) {
  return Guarded<CPLErr>("Delete", CE_Failure, [&] {
    if (Refused(name, "deleted")) return CE_Failure;
    const auto operations = FileOperationsFor(name, "deleted");
    if (!operations) return CE_Failure;
    const fs::path survey(name);
    operations->Delete();
    if (Exists(survey)) return FileFailure(survey.string() + " could not be deleted");
    if (Exists(MetadataOf(survey))) return FileFailure(MetadataOf(survey).string() + " could not be deleted");
    return CE_None;
  });
}

// Within the survey file's folder, onto a free name; the metadata file goes
// along.
CPLErr RenameVeldrane(const char* newName, const char* oldName) {
  return Guarded<CPLErr>("Rename", CE_Failure, [&] {
    if (newName == nullptr || *newName == '\0' || oldName == nullptr) return CE_Failure;
    if (Refused(oldName, "renamed") || Refused(newName, "written")) return CE_Failure;
    const fs::path target(newName), source(oldName);
    if (!SameFolder(FolderOf(newName), FolderOf(oldName))) {
      CPLError(CE_Failure, CPLE_NotSupported, "Veldrane: %s: a survey file is renamed within its own folder",
               ToValidUtf8(newName).c_str());
      return CE_Failure;
    }
    const bool withMetadata = Exists(MetadataOf(source));
    for (const fs::path& taken : {target, MetadataOf(target)}) {
      if ((taken == target || withMetadata) && Exists(taken))
        return FileFailure(taken.string() + " exists already");
    }
    const auto operations = FileOperationsFor(oldName, "renamed");
    if (!operations) return CE_Failure;
    operations->Rename(target.filename().string());
    if (!Exists(target) || Exists(source))
      return FileFailure(source.string() + " could not be renamed to " + target.string());
    if (withMetadata && (!Exists(MetadataOf(target)) || Exists(MetadataOf(source))))
      return FileFailure(MetadataOf(source).string() + " could not be renamed to " + MetadataOf(target).string());
    return CE_None;
  });
}

// Exactly the name asked for, in any folder, replacing a file of that name
// (as GDAL's own copy does); the metadata file is copied beside it, and a
// metadata file the target had is removed when the source has none, so a
// copy never pairs with another file's metadata.
CPLErr CopyVeldrane(const char* newName, const char* oldName) {
  return Guarded<CPLErr>("CopyFiles", CE_Failure, [&] {
    if (newName == nullptr || *newName == '\0' || oldName == nullptr) return CE_Failure;
    if (Refused(newName, "written")) return CE_Failure;
    const fs::path target(newName), source(oldName);
    if (ClassifySurveyPath(oldName).kind != SurveyTarget::Kind::SurveyFile) {
      CPLError(CE_Failure, CPLE_NotSupported, "Veldrane: %s: only a single survey file can be copied",
               ToValidUtf8(oldName).c_str());
      return CE_Failure;
    }
    std::error_code ec;
    if (fs::equivalent(source, target, ec)) return FileFailure(source.string() + " cannot be copied onto itself");
    try {
      CopyFileReplace(source, target);
    } catch (const std::exception& failure) {
      return FileFailure(source.string() + " could not be copied to " + target.string() + ": " + failure.what());
    }
    try {
      if (Exists(MetadataOf(source))) CopyFileReplace(MetadataOf(source), MetadataOf(target));
      else if (Exists(MetadataOf(target))) DeleteFile(MetadataOf(target));
    } catch (const std::exception& failure) {
      return FileFailure("the metadata file of " + target.string() + " could not be written: " + failure.what());
    }
    return CE_None;
  });
}

}  // namespace
}  // namespace veldrane::ogr

extern "C" void RegisterOGRVeldrane() {
  using namespace veldrane::ogr;
  if (GDALGetDriverByName(kDriverName) != nullptr) return;
  auto* driver = new GDALDriver();
  driver->SetDescription(kDriverName);
  driver->SetMetadataItem(GDAL_DCAP_VECTOR, "YES");
  driver->SetMetadataItem(GDAL_DCAP_OPEN, "YES");
  driver->SetMetadataItem(GDAL_DMD_LONGNAME, kDriverLongName);
  driver->SetMetadataItem(GDAL_DMD_EXTENSIONS, "em cl 830 pro 83 27 bl");
  driver->SetMetadataItem(GDAL_DMD_OPENOPTIONLIST, kOpenOptions);
  driver->SetMetadataItem(GDAL_DCAP_MULTIPLE_VECTOR_LAYERS, "YES");
  driver->SetMetadataItem(GDAL_DCAP_Z_GEOMETRIES, "YES");
  driver->SetMetadataItem(GDAL_DCAP_MEASURED_GEOMETRIES, "YES");
  // GDAL's own SQL over the layers: no dialect of the driver's own.
  driver->SetMetadataItem(GDAL_DMD_SUPPORTED_SQL_DIALECTS, "OGRSQL SQLITE");
  driver->SetMetadataItem(GDAL_DMD_HELPTOPIC, kHelpTopic);
  driver->pfnIdentify = IdentifyVeldrane;
  driver->pfnOpen = OpenVeldrane;
  driver->pfnDelete = DeleteVeldrane;
  driver->pfnRename = RenameVeldrane;
  driver->pfnCopyFiles = CopyVeldrane;
  GetGDALDriverManager()->RegisterDriver(driver);
}
