#include "host/file_names.h"

#include <algorithm>
#include <exception>

#include "config/file_access.h"

namespace veldrane {

void FileNames::Add(std::string name, std::optional<bool> isDirectory) {
  entries_.push_back(Entry{std::move(name), isDirectory});
}

FileNames FileNames::FromFolder(const std::filesystem::path& folder) {
  std::vector<Entry> found;
  try {
    for (const FolderEntry& entry : CurrentFileAccess().ListFolder(folder.string()))
      found.push_back(Entry{(folder / entry.name).string(), entry.kind == FileKind::Folder});
  } catch (const std::exception&) {
    // A folder that cannot be listed holds nothing to offer.
  }
  std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  FileNames names;
  names.entries_ = std::move(found);
  return names;
}

std::string FileNames::Next() {
  if (position_ >= entries_.size()) {
    hasCurrent_ = false;
    return std::string();
  }
  hasCurrent_ = true;
  return entries_[position_++].name;
}

bool FileNames::IsDirectory() const {
  if (!hasCurrent_) return false;
  const Entry& current = entries_[position_ - 1];
  if (current.isDirectory) return *current.isDirectory;
  return CurrentFileAccess().KindOf(current.name) == FileKind::Folder;
}

void FileNames::Remove() {
  if (!hasCurrent_) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position_ - 1));
  --position_;
  hasCurrent_ = false;
}

std::vector<std::string> FileNames::Names() const {
  std::vector<std::string> names;
  names.reserve(entries_.size());
  for (const Entry& entry : entries_) names.push_back(entry.name);
  return names;
}

}  // namespace veldrane
