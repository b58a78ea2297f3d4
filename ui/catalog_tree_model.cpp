#include "ui/catalog_tree_model.h"

#include <QFileInfo>
#include <QThreadPool>
#include <algorithm>

#include "ui/catalog_icons.h"
#include "ui/task_runner.h"

namespace veldrane::ui {

QString CatalogItem::FullName() const { return kind == Kind::FeatureClass ? path + '/' + info.name : path; }

QIcon CatalogItem::Icon() const {
  switch (kind) {
    case Kind::Folder: return FolderIcon();
    case Kind::SurveyFile: return SurveyFileIcon(traverse);
    case Kind::FeatureClass: return FeatureClassIcon(ClassGeometryOf(info.kind).type);
    case Kind::None: break;
  }
  return {};
}

CatalogLocation CatalogItem::Location() const {
  switch (kind) {
    case Kind::None: return {};
    case Kind::FeatureClass: return {FullName(), path};
    default: {
      const QString parentPath = QFileInfo(path).absolutePath();
      return {path, parentPath == path ? QString() : parentPath};
    }
  }
}

struct CatalogTreeModel::Node {
  enum class State { NotListed, Listing, Listed };

  CatalogItem item;
  Node* parent = nullptr;
  std::vector<std::unique_ptr<Node>> children;
  State state = State::NotListed;
  unsigned generation = 0;  // of the listing in flight; older answers are dropped
  std::vector<std::function<void()>> waiting;
  std::shared_ptr<const SurveyContents> contents;  // survey files, once read

  bool CanHaveChildren() const {
    return item.kind == CatalogItem::Kind::Folder || item.kind == CatalogItem::Kind::SurveyFile;
  }
  int Row() const {
    if (parent == nullptr) return 0;
    for (std::size_t i = 0; i < parent->children.size(); ++i)
      if (parent->children[i].get() == this) return static_cast<int>(i);
    return 0;
  }
};

namespace {

bool SameEntry(const CatalogItem& item, const QString& folder, const FolderEntry& entry) {
  const bool isFolder = entry.kind == FolderEntry::Kind::Folder;
  return item.path == PathBelow(folder, entry.name) && (item.kind == CatalogItem::Kind::Folder) == isFolder;
}

CatalogItem EntryItem(const QString& folder, const FolderEntry& entry) {
  CatalogItem item;
  item.kind = entry.kind == FolderEntry::Kind::Folder ? CatalogItem::Kind::Folder : CatalogItem::Kind::SurveyFile;
  item.path = PathBelow(folder, entry.name);
  item.name = entry.name;
  item.traverse = entry.kind == FolderEntry::Kind::Traverse;
  return item;
}

}  // namespace

CatalogTreeModel::CatalogTreeModel(SurveyReader& reader, TaskRunner& tasks, QObject* parent)
    : QAbstractItemModel(parent), reader_(reader), tasks_(tasks), root_(std::make_unique<Node>()) {}

CatalogTreeModel::~CatalogTreeModel() = default;

void CatalogTreeModel::SetRoot(const QString& folder) {
  beginResetModel();
  root_ = std::make_unique<Node>();
  auto top = std::make_unique<Node>();
  top->item.kind = CatalogItem::Kind::Folder;
  top->item.path = CatalogPath(folder);
  top->item.name = top->item.path;
  top->parent = root_.get();
  root_->children.push_back(std::move(top));
  root_->state = Node::State::Listed;
  endResetModel();
}

QString CatalogTreeModel::Root() const { return root_->children.empty() ? QString() : root_->children[0]->item.path; }

CatalogTreeModel::Node* CatalogTreeModel::NodeAt(const QModelIndex& index) const {
  return index.isValid() ? static_cast<Node*>(index.internalPointer()) : root_.get();
}

QModelIndex CatalogTreeModel::IndexOfNode(const Node* node) const {
  if (node == nullptr || node == root_.get()) return {};
  return createIndex(node->Row(), 0, const_cast<Node*>(node));
}

CatalogItem CatalogTreeModel::Item(const QModelIndex& index) const {
  return index.isValid() ? NodeAt(index)->item : CatalogItem{};
}

QVector<CatalogItem> CatalogTreeModel::Children(const QModelIndex& index) const {
  QVector<CatalogItem> items;
  if (!index.isValid()) return items;
  for (const auto& child : NodeAt(index)->children) items.push_back(child->item);
  return items;
}

std::shared_ptr<const SurveyContents> CatalogTreeModel::Contents(const QModelIndex& index) const {
  const Node* node = index.isValid() ? NodeAt(index) : nullptr;
  if (node != nullptr && node->item.kind == CatalogItem::Kind::FeatureClass) node = node->parent;
  return node != nullptr ? node->contents : nullptr;
}

bool CatalogTreeModel::IsListed(const QModelIndex& index) const {
  return index.isValid() && NodeAt(index)->state == Node::State::Listed;
}

CatalogTreeModel::Node* CatalogTreeModel::FindNode(const QString& fullName) const {
  Node* node = root_.get();
  while (node != nullptr) {
    Node* next = nullptr;
    for (const auto& child : node->children) {
      const QString name = child->item.FullName();
      if (name == fullName) return child.get();
      if (IsWithin(fullName, name)) next = child.get();
    }
    node = next;
  }
  return nullptr;
}

QModelIndex CatalogTreeModel::IndexOf(const QString& fullName) const { return IndexOfNode(FindNode(fullName)); }

void CatalogTreeModel::StartListing(Node* node) {
  node->state = Node::State::Listing;
  const unsigned generation = ++node->generation;
  const QString path = node->item.path;
  if (node->item.kind == CatalogItem::Kind::Folder) {
    tasks_.Run<FolderListing>(
        this, QString("Listing %1").arg(path), *QThreadPool::globalInstance(),
        [path](TaskProgress& progress) { return ListFolder(path, progress); },
        [this, generation](FolderListing listing, bool) {
          Node* node = FindNode(listing.path);
          if (node == nullptr || node->generation != generation || node->state != Node::State::Listing) return;
          if (!listing.problem.isEmpty()) emit listingFailed(listing.path, listing.problem);
          else ApplyListing(listing);
          Listed(node);
        });
    return;
  }
  SurveyReader* reader = &reader_;
  reader_.Run<std::shared_ptr<const SurveyContents>>(
      this, tasks_, QString("Reading %1").arg(QFileInfo(path).fileName()),
      [reader, path](TaskProgress& progress) {
        return std::make_shared<const SurveyContents>(reader->ReadContents(path, progress));
      },
      [this, generation](std::shared_ptr<const SurveyContents> contents, bool cancelled) {
        if (!cancelled) emit surveyRead(*contents);
        Node* node = FindNode(contents->path);
        if (node == nullptr || node->generation != generation || node->state != Node::State::Listing) return;
        ApplyContents(std::move(contents), cancelled);
      });
}

void CatalogTreeModel::ApplyListing(const FolderListing& listing) {
  Node* node = FindNode(listing.path);
  const QModelIndex parent = IndexOfNode(node);
  auto& children = node->children;
  // Both lists are in the same order: drop what is gone, then insert what is new.
  for (int i = static_cast<int>(children.size()) - 1; i >= 0; --i) {
    const bool kept = std::any_of(listing.entries.begin(), listing.entries.end(), [&](const FolderEntry& e) {
      return SameEntry(children[static_cast<std::size_t>(i)]->item, listing.path, e);
    });
    if (kept) continue;
    beginRemoveRows(parent, i, i);
    children.erase(children.begin() + i);
    endRemoveRows();
  }
  for (int i = 0; i < listing.entries.size(); ++i) {
    const FolderEntry& entry = listing.entries[i];
    const auto at = children.begin() + i;
    if (at != children.end() && SameEntry((*at)->item, listing.path, entry)) continue;
    auto child = std::make_unique<Node>();
    child->item = EntryItem(listing.path, entry);
    child->parent = node;
    beginInsertRows(parent, i, i);
    children.insert(at, std::move(child));
    endInsertRows();
  }
}

void CatalogTreeModel::ApplyContents(std::shared_ptr<const SurveyContents> contents, bool cancelled) {
  Node* node = FindNode(contents->path);
  if (cancelled) {
    node->state = node->contents ? Node::State::Listed : Node::State::NotListed;
    auto waiting = std::move(node->waiting);
    for (auto& then : waiting) then();
    return;
  }
  // Classes still there keep their nodes (and so the selection); the others
  // go, new ones come in their place.
  const QModelIndex parent = IndexOfNode(node);
  auto& children = node->children;
  const auto listed = [&](const QString& name) {
    return std::any_of(contents->classes.begin(), contents->classes.end(),
                       [&](const ClassInfo& info) { return info.name == name; });
  };
  for (int i = static_cast<int>(children.size()) - 1; i >= 0; --i) {
    if (listed(children[static_cast<std::size_t>(i)]->item.name)) continue;
    beginRemoveRows(parent, i, i);
    children.erase(children.begin() + i);
    endRemoveRows();
  }
  for (int i = 0; i < contents->classes.size(); ++i) {
    const ClassInfo& info = contents->classes[i];
    const auto at = children.begin() + i;
    if (at != children.end() && (*at)->item.name == info.name) {
      (*at)->item.info = info;
      continue;
    }
    auto child = std::make_unique<Node>();
    child->item.kind = CatalogItem::Kind::FeatureClass;
    child->item.path = node->item.path;
    child->item.name = info.name;
    child->item.traverse = node->item.traverse;
    child->item.info = info;
    child->parent = node;
    child->state = Node::State::Listed;
    beginInsertRows(parent, i, i);
    children.insert(at, std::move(child));
    endInsertRows();
  }
  node->contents = std::move(contents);
  emit dataChanged(parent, parent);
  if (!children.empty()) emit dataChanged(index(0, 0, parent), index(static_cast<int>(children.size()) - 1, 0, parent));
  Listed(node);
}

void CatalogTreeModel::Listed(Node* node) {
  node->state = Node::State::Listed;
  auto waiting = std::move(node->waiting);
  for (auto& then : waiting) then();
}

void CatalogTreeModel::EnsureListed(const QModelIndex& index, std::function<void()> then) {
  Node* node = NodeAt(index);
  if (!index.isValid() || !node->CanHaveChildren() || node->state == Node::State::Listed) {
    then();
    return;
  }
  node->waiting.push_back(std::move(then));
  if (node->state == Node::State::NotListed) StartListing(node);
}

void CatalogTreeModel::Refresh(const QModelIndex& index) {
  Node* node = NodeAt(index);
  if (!index.isValid()) return;
  if (node->item.kind == CatalogItem::Kind::FeatureClass) node = node->parent;
  if (node->item.kind == CatalogItem::Kind::SurveyFile)
    reader_.Thread().start([reader = &reader_, path = node->item.path] { reader->Forget(path); });
  StartListing(node);
}

void CatalogTreeModel::Locate(const QString& fullName, std::function<void(QModelIndex)> found) {
  const QString root = Root();
  if (!IsWithin(fullName, root)) {
    found({});
    return;
  }
  LocateFrom(root_->children[0].get(), fullName, std::move(found));
}

void CatalogTreeModel::LocateFrom(Node* node, const QString& target, std::function<void(QModelIndex)> found) {
  if (node->item.FullName() == target) {
    found(IndexOfNode(node));
    return;
  }
  const QString path = node->item.FullName();
  EnsureListed(IndexOfNode(node), [this, path, target, found = std::move(found)]() mutable {
    Node* node = FindNode(path);
    if (node == nullptr) return found({});
    for (const auto& child : node->children) {
      const CatalogItem& item = child->item;
      const QString name = item.FullName();
      const bool byKind = item.kind == CatalogItem::Kind::FeatureClass &&
                          target == item.path + '/' + QString::fromUtf8(ClassKindName(item.info.kind).data());
      if (name == target || byKind) return found(IndexOfNode(child.get()));
      if (IsWithin(target, name)) return LocateFrom(child.get(), target, std::move(found));
    }
    found({});
  });
}

QModelIndex CatalogTreeModel::index(int row, int column, const QModelIndex& parent) const {
  const Node* node = NodeAt(parent);
  if (column != 0 || row < 0 || row >= static_cast<int>(node->children.size())) return {};
  return createIndex(row, column, node->children[static_cast<std::size_t>(row)].get());
}

QModelIndex CatalogTreeModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) return {};
  return IndexOfNode(NodeAt(child)->parent);
}

int CatalogTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  return static_cast<int>(NodeAt(parent)->children.size());
}

int CatalogTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant CatalogTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const Node* node = NodeAt(index);
  const CatalogItem& item = node->item;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: return item.name;
    case Qt::ToolTipRole:
      if (node->contents && !node->contents->problem.isEmpty())
        return item.path + "\n" + node->contents->problem;
      return item.FullName();
    case Qt::DecorationRole: return item.Icon();
    default: return {};
  }
}

bool CatalogTreeModel::hasChildren(const QModelIndex& parent) const {
  const Node* node = NodeAt(parent);
  if (!parent.isValid()) return !node->children.empty();
  if (!node->CanHaveChildren()) return false;
  return node->state != Node::State::Listed || !node->children.empty();
}

bool CatalogTreeModel::canFetchMore(const QModelIndex& parent) const {
  const Node* node = NodeAt(parent);
  return parent.isValid() && node->CanHaveChildren() && node->state == Node::State::NotListed;
}

void CatalogTreeModel::fetchMore(const QModelIndex& parent) {
  if (canFetchMore(parent)) StartListing(NodeAt(parent));
}

}  // namespace veldrane::ui
