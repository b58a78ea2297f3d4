#pragma once
// One survey file as a feature dataset. The file is read on the first need
// (class list, fields, bounds, fetch) and kept for the helper's lifetime.
// A survey dataset's classes follow from the survey's non-empty collections
// in the order cross sections, profiles, areas, shot points, benchmarks,
// gages (lines before their points); a traverse dataset always has
// "Traverses" (0) and "TraversePoints" (1).
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/envelope.h"
#include "model/features.h"
#include "plugin/class_schemas.h"
#include "plugin/container_point_cursor.h"
#include "plugin/plugin_interfaces.h"
#include "plugin/survey_source.h"

namespace veldrane {

class SvyDatasetHelper final : public IPlugInDatasetHelper, public IPlugInDatasetInfo, public IPlugInFileOperations {
 public:
  SvyDatasetHelper();
  explicit SvyDatasetHelper(SurveySource source);

  // Set once by the workspace helper.
  void SetDatasetName(std::string name) { datasetName_ = std::move(name); }
  void SetWorkspacePath(std::string path) { workspacePath_ = std::move(path); }
  void SetSurveyType(std::int32_t type) { surveyType_ = type; }
  const std::string& DatasetName() const { return datasetName_; }
  const std::string& WorkspacePath() const { return workspacePath_; }
  std::int32_t SurveyType() const { return surveyType_; }

  // The survey file (workspace folder / dataset name) and its metadata
  // companion (that path + ".xml").
  std::filesystem::path DatasetPath() const;
  std::filesystem::path MetadataPath() const;

  // The file read as a survey or as a traverse, loaded on first need; null
  // when it cannot be read (reported) or is of the other kind.
  std::shared_ptr<ISurvey> Survey();
  std::shared_ptr<ITraverse> Traverse();
  // The coordinate-system code, computed once (0 when the file cannot be
  // read at that time).
  std::int32_t CoordinateSystemCode();
  // The kind of the class at `classIndex`; nullopt when there is none.
  std::optional<ClassKind> KindOfClass(std::int32_t classIndex);

  // IPlugInDatasetHelper
  std::int32_t ClassCount() override;
  std::string ClassName(std::int32_t classIndex) override;
  std::int32_t ClassIndex(const std::string& name) override;
  std::shared_ptr<Fields> GetFields(std::int32_t classIndex) override;
  std::int32_t OIDFieldIndex(std::int32_t classIndex) override;
  std::int32_t ShapeFieldIndex(std::int32_t classIndex) override;
  std::shared_ptr<Envelope> Bounds() override;
  std::shared_ptr<IPlugInCursorHelper> FetchByID(std::int32_t classIndex, std::int64_t id,
                                                 const FieldMap& fieldMap) override;
  std::shared_ptr<IPlugInCursorHelper> FetchAll(std::int32_t classIndex, const std::string& whereClause,
                                                const FieldMap& fieldMap) override;
  std::shared_ptr<IPlugInCursorHelper> FetchByEnvelope(std::int32_t classIndex, const Envelope& envelope,
                                                       bool strictSearch, const std::string& whereClause,
                                                       const FieldMap& fieldMap) override;

  // IPlugInDatasetInfo
  std::string LocalDatasetName() override { return datasetName_; }
  std::int32_t DatasetType() override;
  std::int32_t GeometryType() override;
  std::string ShapeFieldName() override { return std::string(); }

  // IPlugInFileOperations
  bool CanCopy() override { return true; }
  bool CanDelete() override { return true; }
  bool CanRename() override { return true; }
  void Copy(const std::string& copyName, const HostWorkspace& copyWorkspace) override;
  void Delete() override;
  std::string Rename(const std::string& newName) override;

 private:
  struct ClassEntry {
    std::string name;
    ClassKind kind;
  };

  void Report(const char* member, const std::exception& failure) const;
  bool IsTraverseDataset() const;
  void GetIndexDicts();
  const std::vector<ClassEntry>& Classes() const;
  std::string ClassNameAt(std::int32_t classIndex) const;
  // The kind of the class at the index; raises "Unexpected survey type : "
  // (`typeSource`) or "Unexpected Class Index" (`source`), followed by the
  // class name map's entry when `namedIndex`.
  ClassKind FindClass(std::int32_t classIndex, const char* source, const char* typeSource, bool namedIndex);
  static void AddNewField(Fields& fields, const SchemaField& attribute);
  void LoadSurvey();
  std::int32_t GetCoordSysConst();
  std::shared_ptr<IPlugInCursorHelper> FetchGeneric(std::int32_t classIndex, const FieldMap& fieldMap,
                                                    std::optional<std::int64_t> id, const Envelope* envelope);
  std::shared_ptr<SvyCursorBase> MakeCursor(ClassKind kind, const FieldMap& fieldMap, bool wantExtents);
  // The class's extents cache; measured first when `measure` and still empty.
  std::shared_ptr<ContainerExtentsCache> ExtentsOf(ClassKind kind, bool measure);
  Envelope ClassBounds(std::int32_t classIndex);

  SurveySource source_;
  std::string datasetName_;
  std::string workspacePath_;
  std::shared_ptr<ISurvey> survey_;
  std::shared_ptr<ITraverse> traverse_;
  bool loadFailed_ = false;
  std::int32_t csidCache_ = -1;
  std::shared_ptr<Envelope> boundsCache_;
  std::int32_t surveyType_ = 1000;
  // The class maps: built once (index order is class order); nullopt until then.
  std::optional<std::vector<ClassEntry>> classes_;
  // Container extents per class of points over containers: filled by the
  // first full walk, or measured by the first filtered or positioned fetch.
  std::map<ClassKind, std::shared_ptr<ContainerExtentsCache>> extents_;
};

}  // namespace veldrane
