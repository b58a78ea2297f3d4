#pragma once
// The module state the library's procedures share: the error log, the
// survey file being read, the resolved settings paths, the configuration
// tables in use, the catalog's refresh hook and the file access. A GIS host
// on one thread needs nothing but the thread's own context, which the free
// functions (ErrorLog(), CurrentSurveyFile(), DomainFilePath(), ...) use by
// default. A host that serves several datasets from several threads (the
// OGR driver) gives each dataset a context of its own and installs it with a
// ModuleContextScope wherever it works for that dataset, its worker threads
// included; problems then reach the dataset's own log whatever thread found
// them.
//
// A context is used by one thread at a time: whoever shares one between
// threads serialises their work (the driver holds the dataset's lock).
//
// The configuration tables themselves are loaded once per process and
// shared read-only (config/process_tables.h); a context holds handles.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "config/error_log.h"

namespace veldrane {

class IFileAccess;
class SurveyValueDomain;
class SurveyCoordinateSystemDomain;

// Called with the old and the new full path of a renamed survey file.
using CatalogRefreshHook = std::function<void(const std::string& oldPath, const std::string& newPath)>;

// The three configuration paths once resolved (empty: not yet), and the
// folder that stands in for the library's own folder in tests.
struct ResolvedSettingsPaths {
  std::string domainFile;
  std::string coordSysFile;
  std::string prjFolder;
  std::optional<std::filesystem::path> libraryFolderOverride;
};

class ModuleContext {
 public:
  ModuleContext();
  ~ModuleContext();
  ModuleContext(const ModuleContext&) = delete;
  ModuleContext& operator=(const ModuleContext&) = delete;

  // A new context with this one's configuration (settings paths, tables,
  // file access, catalog hook) and an empty log and current file of its own.
  std::shared_ptr<ModuleContext> Derive() const;

  ErrorLogModel& ErrorLog() { return errorLog_; }

  // The path most recently opened for the host; error records raised
  // outside a reader carry it as their file name.
  const std::string& CurrentSurveyFile() const { return currentSurveyFile_; }
  void SetCurrentSurveyFile(std::string path) { currentSurveyFile_ = std::move(path); }

  ResolvedSettingsPaths& SettingsPaths() { return settingsPaths_; }

  // The tables in use; null until first needed (the lookups then take the
  // process's table for the configured path).
  const std::shared_ptr<const SurveyValueDomain>& ValueDomain() const { return valueDomain_; }
  void SetValueDomain(std::shared_ptr<const SurveyValueDomain> domain) { valueDomain_ = std::move(domain); }
  const std::shared_ptr<const SurveyCoordinateSystemDomain>& CoordinateSystemDomain() const {
    return coordinateSystemDomain_;
  }
  void SetCoordinateSystemDomain(std::shared_ptr<const SurveyCoordinateSystemDomain> domain) {
    coordinateSystemDomain_ = std::move(domain);
  }

  const CatalogRefreshHook& CatalogRefresh() const { return catalogRefresh_; }
  void SetCatalogRefresh(CatalogRefreshHook hook) { catalogRefresh_ = std::move(hook); }

  // How files are read (config/file_access.h); null: straight from disk.
  const std::shared_ptr<IFileAccess>& FileAccess() const { return fileAccess_; }
  void SetFileAccess(std::shared_ptr<IFileAccess> access) { fileAccess_ = std::move(access); }

 private:
  ErrorLogModel errorLog_;
  std::string currentSurveyFile_;
  ResolvedSettingsPaths settingsPaths_;
  std::shared_ptr<const SurveyValueDomain> valueDomain_;
  std::shared_ptr<const SurveyCoordinateSystemDomain> coordinateSystemDomain_;
  CatalogRefreshHook catalogRefresh_;
  std::shared_ptr<IFileAccess> fileAccess_;
};

// The context installed on the calling thread, or the thread's own default
// context when no scope is active. Never fails.
ModuleContext& CurrentModuleContext();

// The path most recently opened for the host in the current module context.
// Error records raised outside a reader (coordinate system problems) carry it
// as their file name.
const std::string& CurrentSurveyFile();
void SetCurrentSurveyFile(std::string path);

// Installs `context` on the calling thread for the scope's lifetime, then
// restores whatever was current before. Scopes nest; the context must
// outlive the scope.
class ModuleContextScope {
 public:
  explicit ModuleContextScope(ModuleContext& context);
  ~ModuleContextScope();
  ModuleContextScope(const ModuleContextScope&) = delete;
  ModuleContextScope& operator=(const ModuleContextScope&) = delete;

 private:
  ModuleContext* previous_;
};

}  // namespace veldrane
