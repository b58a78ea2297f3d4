#include "ui/error_log_item_model.h"

#include <algorithm>

#include "model/text.h"
#include "ui/catalog_icons.h"
#include "ui/survey_reader.h"

namespace veldrane::ui {
namespace {

// Error nodes carry their file's row + 1; file nodes 0.
constexpr quintptr kFileNode = 0;

}  // namespace

ErrorLogItemModel::ErrorLogItemModel(ErrorLogModel& log, QObject* parent) : QAbstractItemModel(parent), log_(log) {
  Recount();
  subscription_ = log_.Subscribe([this](const ErrorLogEvent& event) { OnEvent(event); });
}

ErrorLogItemModel::~ErrorLogItemModel() { log_.Unsubscribe(subscription_); }

void ErrorLogItemModel::Recount() {
  shown_.clear();
  for (const ErrorLogFile& file : log_.Files()) shown_.push_back(static_cast<int>(file.errors.size()));
}

void ErrorLogItemModel::OnEvent(const ErrorLogEvent& event) {
  const auto& files = log_.Files();
  const auto fileRow = [&](const std::string& path) {
    const auto it = std::find_if(files.begin(), files.end(), [&](const ErrorLogFile& f) { return f.path == path; });
    return static_cast<int>(it - files.begin());
  };
  switch (event.kind) {
    case ErrorLogEventKind::FileAdded: {
      // A new file node is always the last one.
      const int row = static_cast<int>(shown_.size());
      beginInsertRows({}, row, row);
      shown_.push_back(0);
      endInsertRows();
      break;
    }
    case ErrorLogEventKind::ErrorAdded: {
      const int row = fileRow(event.file);
      if (row >= static_cast<int>(shown_.size())) return Recount();
      const int at = shown_[static_cast<std::size_t>(row)];
      beginInsertRows(index(row, 0), at, at);
      ++shown_[static_cast<std::size_t>(row)];
      endInsertRows();
      break;
    }
    case ErrorLogEventKind::FileRemoved:
    case ErrorLogEventKind::Cleared:
      // The rows are gone already; views start over from the log as it is.
      beginResetModel();
      Recount();
      endResetModel();
      break;
    case ErrorLogEventKind::ShowRequested: emit showRequested(); break;
  }
}

const ErrorLogEntry* ErrorLogItemModel::Entry(const QModelIndex& index) const {
  if (!index.isValid() || index.internalId() == kFileNode) return nullptr;
  const auto& files = log_.Files();
  const std::size_t file = index.internalId() - 1;
  if (file >= files.size() || static_cast<std::size_t>(index.row()) >= files[file].errors.size()) return nullptr;
  return &files[file].errors[static_cast<std::size_t>(index.row())];
}

QModelIndex ErrorLogItemModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0 || row >= rowCount(parent)) return {};
  return createIndex(row, 0, parent.isValid() ? static_cast<quintptr>(parent.row()) + 1 : kFileNode);
}

QModelIndex ErrorLogItemModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == kFileNode) return {};
  return createIndex(static_cast<int>(child.internalId() - 1), 0, kFileNode);
}

int ErrorLogItemModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return static_cast<int>(shown_.size());
  if (parent.internalId() != kFileNode || parent.row() >= static_cast<int>(shown_.size())) return 0;
  return shown_[static_cast<std::size_t>(parent.row())];
}

int ErrorLogItemModel::columnCount(const QModelIndex&) const { return 1; }

QVariant ErrorLogItemModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (index.internalId() == kFileNode) {
    const auto& files = log_.Files();
    if (static_cast<std::size_t>(index.row()) >= files.size()) return {};
    const QString path = FromNativePath(files[static_cast<std::size_t>(index.row())].path);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Qt::AccessibleTextRole) return path;
    return {};
  }
  const ErrorLogEntry* entry = Entry(index);
  if (entry == nullptr) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: return QString::fromStdString(ToValidUtf8(entry->text));
    case kSeverityRole: return entry->severity;
    case kLineRole:
    case Qt::ToolTipRole: return QString::fromStdString(FormatErrorLine(*entry));
    case Qt::DecorationRole: return SeverityIcon(entry->severity);
    default: return {};
  }
}

}  // namespace veldrane::ui
