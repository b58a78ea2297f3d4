// Registration of the "Veldrane" driver and its entry points: identify,
// open, and the file operations (delete, rename, copy), which use the survey
// dataset helper's own Delete, Rename and Copy so the metadata file beside a
// survey file travels with it.
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <cpl_string.h>
#include <gdal_priv.h>

#include "gdal/ogr_boundary.h"
#include "gdal/ogr_veldrane.h"
#include "gdal/ogr_veldrane_data_source.h"
#include "gdal/survey_identify.h"
#include "gdal/survey_path.h"
#include "host/workspace.h"
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

CPLErr DeleteVeldrane(const char* name) {
  return Guarded<CPLErr>("Delete", CE_Failure, [&] {
    const auto operations = FileOperationsFor(name, "deleted");
    if (!operations) return CE_Failure;
    operations->Delete();
    if (Exists(name)) {
      CPLError(CE_Failure, CPLE_FileIO, "Veldrane: %s could not be deleted", ToValidUtf8(name).c_str());
      return CE_Failure;
    }
    return CE_None;
  });
}

CPLErr RenameVeldrane(const char* newName, const char* oldName) {
  return Guarded<CPLErr>("Rename", CE_Failure, [&] {
    if (newName == nullptr || *newName == '\0') return CE_Failure;
    const fs::path target(newName);
    if (!SameFolder(FolderOf(newName), FolderOf(oldName))) {
      CPLError(CE_Failure, CPLE_NotSupported, "Veldrane: %s: a survey file is renamed within its own folder",
               ToValidUtf8(newName).c_str());
      return CE_Failure;
    }
    if (Exists(target)) {
      CPLError(CE_Failure, CPLE_FileIO, "Veldrane: %s exists already", ToValidUtf8(newName).c_str());
      return CE_Failure;
    }
    const auto operations = FileOperationsFor(oldName, "renamed");
    if (!operations) return CE_Failure;
    operations->Rename(target.filename().string());
    if (!Exists(target) || Exists(oldName)) {
      CPLError(CE_Failure, CPLE_FileIO, "Veldrane: %s could not be renamed to %s", ToValidUtf8(oldName).c_str(),
               ToValidUtf8(newName).c_str());
      return CE_Failure;
    }
    return CE_None;
  });
}

CPLErr CopyVeldrane(const char* newName, const char* oldName) {
  return Guarded<CPLErr>("CopyFiles", CE_Failure, [&] {
    if (newName == nullptr || *newName == '\0' || oldName == nullptr) return CE_Failure;
    const fs::path source(oldName);
    const fs::path requested(newName);
    if (requested.filename() != source.filename()) {
      CPLError(CE_Failure, CPLE_NotSupported,
               "Veldrane: %s: a copied survey file keeps its name (%s); copy it into another folder",
               ToValidUtf8(newName).c_str(), ToValidUtf8(source.filename().string()).c_str());
      return CE_Failure;
    }
    // Where the copy lands: the name itself, or "<stem>Copy<extension>" when
    // that is taken; nothing is copied when both are taken.
    const fs::path folder = FolderOf(newName);
    fs::path landing = folder / source.filename();
    if (Exists(landing)) {
      landing = folder / (source.stem().string() + "Copy" + source.extension().string());
      if (Exists(landing)) {
        CPLError(CE_Failure, CPLE_FileIO, "Veldrane: %s and %s exist already; nothing was copied",
                 ToValidUtf8(newName).c_str(), ToValidUtf8(landing.string()).c_str());
        return CE_Failure;
      }
    }
    const auto operations = FileOperationsFor(oldName, "copied");
    if (!operations) return CE_Failure;
    operations->Copy(source.filename().string(), HostWorkspace(folder.string()));
    if (!Exists(landing)) {
      CPLError(CE_Failure, CPLE_FileIO, "Veldrane: %s could not be copied to %s", ToValidUtf8(oldName).c_str(),
               ToValidUtf8(folder.string()).c_str());
      return CE_Failure;
    }
    if (landing != requested) {
      CPLError(CE_Warning, CPLE_AppDefined, "Veldrane: %s exists already; the copy is %s",
               ToValidUtf8(newName).c_str(), ToValidUtf8(landing.string()).c_str());
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
