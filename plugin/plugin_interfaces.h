#pragma once
// The contract between the GIS host and the survey data source. The host
// (an OGR driver, the desktop catalog, the command-line tool) calls, in this
// order: workspace tests and OpenWorkspace on the factory helper;
// DatasetNames and OpenDataset on the workspace helper; ClassCount /
// ClassName / Fields / Bounds and a fetch on a dataset helper; then per
// cursor the loop
//
//   while (!cursor->IsFinished()) {
//     cursor->QueryValues(row);       // attribute values, returns the OID
//     cursor->QueryShape(geometry);   // fills a geometry the host made
//     try { cursor->NextRecord(); } catch (const RaisedError&) { /* end */ }
//   }
//
// Errors reach the host (as RaisedError: number, source, description) only
// from OpenWorkspace, OpenDataset and NextRecord; NextRecord signals the end
// of the records with number -200010 and the description "No next record".
// Every other member reports its own unexpected failures through
// ReportProcedureError (the current thread's notifier) and returns a default.
#include <cstdint>
#include <memory>
#include <string>

#include <ogr_geometry.h>

#include "host/envelope.h"
#include "host/field_map.h"
#include "host/fields.h"
#include "host/file_names.h"
#include "host/host_array.h"
#include "host/row_buffer.h"
#include "host/uid.h"
#include "host/workspace.h"
#include "model/interface.h"

namespace veldrane {

// Serves the records of one feature class.
class IPlugInCursorHelper : public virtual IInterface {
 public:
  // Moves to the next record (under an envelope filter: the next record
  // whose shape meets the envelope). Throws RaisedError -200010
  // "No next record" when there is none; IsFinished() is then true.
  virtual void NextRecord() = 0;
  virtual bool IsFinished() = 0;
  // Writes the current record's attribute values into `row` as the field map
  // asks and returns the record's OID; -1 when there is no current record,
  // 0 when the fill failed (reported).
  virtual std::int32_t QueryValues(IRowBuffer& row) = 0;
  // Fills `geometry` (made by the host for the class's geometry type:
  // OGRPoint, OGRLineString or OGRPolygon) with the current record's shape;
  // empties it when the record has none.
  virtual void QueryShape(OGRGeometry& geometry) = 0;
};

// What the workspace tells the host about a dataset before opening it.
class IPlugInDatasetInfo : public virtual IInterface {
 public:
  virtual std::string LocalDatasetName() = 0;
  virtual std::int32_t DatasetType() = 0;      // kDatasetTypeFeatureDataset
  virtual std::int32_t GeometryType() = 0;     // HostGeometryType::Any
  virtual std::string ShapeFieldName() = 0;    // empty text
};

// One dataset (survey file) and its feature classes.
class IPlugInDatasetHelper : public virtual IInterface {
 public:
  virtual std::int32_t ClassCount() = 0;
  // Class names are "<dataset name> <kind>", e.g. "a.em CrossSections".
  virtual std::string ClassName(std::int32_t classIndex) = 0;
  virtual std::int32_t ClassIndex(const std::string& name) = 0;
  // A new field set: 0 object ID, 1 shape, then the class's attributes.
  // Null on failure (reported).
  virtual std::shared_ptr<Fields> GetFields(std::int32_t classIndex) = 0;
  virtual std::int32_t OIDFieldIndex(std::int32_t classIndex) = 0;
  virtual std::int32_t ShapeFieldIndex(std::int32_t classIndex) = 0;
  // The extent of every shape of every class; empty for a dataset without
  // shapes; null on failure (reported).
  virtual std::shared_ptr<Envelope> Bounds() = 0;
  // Each fetch returns a new independent cursor, or null on failure
  // (reported). Where clauses and the strict-search flag are ignored.
  virtual std::shared_ptr<IPlugInCursorHelper> FetchByID(std::int32_t classIndex, std::int64_t id,
                                                         const FieldMap& fieldMap) = 0;
  virtual std::shared_ptr<IPlugInCursorHelper> FetchAll(std::int32_t classIndex, const std::string& whereClause,
                                                        const FieldMap& fieldMap) = 0;
  virtual std::shared_ptr<IPlugInCursorHelper> FetchByEnvelope(std::int32_t classIndex, const Envelope& envelope,
                                                               bool strictSearch, const std::string& whereClause,
                                                               const FieldMap& fieldMap) = 0;
};

// File operations on a dataset (the survey file and its ".xml" companion).
// They never fail towards the host: a step that fails is skipped.
class IPlugInFileOperations : public virtual IInterface {
 public:
  virtual bool CanCopy() = 0;
  virtual bool CanDelete() = 0;
  virtual bool CanRename() = 0;
  virtual void Copy(const std::string& copyName, const HostWorkspace& copyWorkspace) = 0;
  virtual void Delete() = 0;
  virtual std::string Rename(const std::string& newName) = 0;
};

// One workspace (a folder of survey files).
class IPlugInWorkspaceHelper : public virtual IInterface {
 public:
  virtual bool RowCountIsCalculated() = 0;
  virtual bool OIDIsRecordNumber() = 0;
  // No native type: always null.
  virtual std::shared_ptr<IInterface> NativeType(std::int32_t datasetType, const std::string& localName) = 0;
  virtual std::shared_ptr<HostArray<IPlugInDatasetInfo>> DatasetNames(std::int32_t datasetType) = 0;
  // Throws RaisedError -200010 "Dataset does not exist: <name>".
  virtual std::shared_ptr<IPlugInDatasetHelper> OpenDataset(const std::string& localName) = 0;
};

// The entry object of the data source.
class IPlugInWorkspaceFactoryHelper : public virtual IInterface {
 public:
  virtual std::string DataSourceName() = 0;
  virtual std::string DatasetDescription(std::int32_t datasetType) = 0;
  virtual std::string WorkspaceDescription(bool plural) = 0;
  virtual Uid WorkspaceFactoryTypeID() = 0;
  virtual std::int32_t WorkspaceType() = 0;
  virtual bool CanSupportSQL() = 0;
  virtual bool IsWorkspace(const std::string& workspaceString) = 0;
  // `fileNames` may be null (no list given).
  virtual bool ContainsWorkspace(const std::string& parentDirectory, FileNames* fileNames) = 0;
  virtual std::string GetWorkspaceString(const std::string& parentDirectory, FileNames* fileNames) = 0;
  // Throws RaisedError -200010 "Workspace string invalid: <path>".
  virtual std::shared_ptr<IPlugInWorkspaceHelper> OpenWorkspace(const std::string& workspaceString) = 0;
};

}  // namespace veldrane
