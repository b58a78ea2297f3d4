#include "host/file_names.h"

#include <algorithm>
#include <system_error>

namespace veldrane {

void FileNames::Add(std::string name, std::optional<bool> isDirectory) {
  entries_.push_back(Entry{std::move(name), isDirectory});
}

FileNames FileNames::FromFolder(const std::filesystem::path& folder) {
  std::vector<Entry> found;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    const bool directory = it->is_directory(typeError);
    found.push_back(Entry{it->path().string(), directory && !typeError});
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
  std::error_code error;
  return std::filesystem::is_directory(current.name, error);
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
