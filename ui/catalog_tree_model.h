#pragma once
// The catalog tree: folders, the survey files in them and the feature
// classes of each file, populated lazily. A folder is listed when it is
// expanded (or something below it is looked for); a survey file is read
// when its classes are needed. Listing and reading run as tasks, off the UI
// thread; the nodes follow when they finish.
#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <memory>
#include <vector>

#include "ui/catalog_host.h"
#include "ui/survey_reader.h"

namespace veldrane::ui {

class TaskRunner;

// A catalog object as the tabs see it.
struct CatalogItem {
  enum class Kind { None, Folder, SurveyFile, FeatureClass };
  Kind kind = Kind::None;
  QString path;      // the folder or survey file (a class's file)
  QString name;      // as shown in the tree
  bool traverse = false;
  ClassInfo info;    // FeatureClass only

  // Full name: the path, and for a class "<file path>/<class name>".
  QString FullName() const;
  // Folder, survey or traverse file, or the class's geometry.
  QIcon Icon() const;
  CatalogLocation Location() const;
};

class CatalogTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  CatalogTreeModel(SurveyReader& reader, TaskRunner& tasks, QObject* parent = nullptr);
  ~CatalogTreeModel() override;

  // The one top-level folder.
  void SetRoot(const QString& folder);
  QString Root() const;
  QModelIndex RootIndex() const { return index(0, 0); }

  CatalogItem Item(const QModelIndex& index) const;
  QVector<CatalogItem> Children(const QModelIndex& index) const;
  // What the last read of the survey file at (or above) the index gave.
  std::shared_ptr<const SurveyContents> Contents(const QModelIndex& index) const;
  // Among the nodes listed so far.
  QModelIndex IndexOf(const QString& fullName) const;
  // Whether the node's children are known.
  bool IsListed(const QModelIndex& index) const;

  // Lists folders and reads the file on the way down to the object (a
  // folder, a survey file, or "<file>/<class name>", where the class may
  // also be given by its kind alone), then calls `found` with its index, or
  // with an invalid index when it is not there.
  void Locate(const QString& fullName, std::function<void(QModelIndex)> found);
  // Lists the node's children (reads a survey file) when they are not known
  // yet; `then` runs once they are.
  void EnsureListed(const QModelIndex& index, std::function<void()> then);
  // Lists a folder again, or reads a survey file (the file of a class)
  // again; the nodes of what is still there stay, so does the selection.
  void Refresh(const QModelIndex& index);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 signals:
  // After every read of a survey file through the tree.
  void surveyRead(const SurveyContents& contents);
  // A folder that could not be listed.
  void listingFailed(const QString& path, const QString& problem);

 private:
  struct Node;
  Node* NodeAt(const QModelIndex& index) const;
  QModelIndex IndexOfNode(const Node* node) const;
  Node* FindNode(const QString& fullName) const;
  void StartListing(Node* node);
  void ApplyListing(const FolderListing& listing);
  void ApplyContents(std::shared_ptr<const SurveyContents> contents, bool cancelled);
  void Listed(Node* node);
  void LocateFrom(Node* node, const QString& target, std::function<void(QModelIndex)> found);

  SurveyReader& reader_;
  TaskRunner& tasks_;
  std::unique_ptr<Node> root_;  // invisible; its one child is the root folder
};

}  // namespace veldrane::ui
