#pragma once
// A list of file names the host hands to the data source to find workspaces
// in (names of a folder's entries). Reading walks the list with Next();
// Remove() drops the entry Next() returned last, so the host does not list
// it again as a plain file.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace veldrane {

class FileNames {
 public:
  // `isDirectory` given: trusted. Not given: IsDirectory() asks the file
  // system about the name (a full path, or one relative to the working
  // folder).
  void Add(std::string name, std::optional<bool> isDirectory = std::nullopt);

  // The full paths of every entry of `folder` (files and subfolders), sorted
  // by name, marked as files or directories.
  static FileNames FromFolder(const std::filesystem::path& folder);

  // Back to the first entry.
  void Reset() { position_ = 0; }
  // The next name, or empty text at the end of the list (again and again).
  std::string Next();
  // Whether the entry returned last by Next() is a directory; false when
  // there is none.
  bool IsDirectory() const;
  // Drops the entry returned last by Next(); the following Next() returns
  // the entry after it. Does nothing when there is no such entry.
  void Remove();

  std::size_t Count() const { return entries_.size(); }
  std::vector<std::string> Names() const;

 private:
  struct Entry {
    std::string name;
    std::optional<bool> isDirectory;
  };
  std::vector<Entry> entries_;
  std::size_t position_ = 0;  // index of the entry the next Next() returns
  bool hasCurrent_ = false;   // whether entries_[position_ - 1] is the current one
};

}  // namespace veldrane
