#pragma once
// How the library reaches the files it reads: open a file for reading, read
// it, its size, what a path names, the entries of a folder. The readers, the
// code table beside a survey (CODES.DAT), the baseline file a survey names,
// the configuration tables and the workspace's folder listing all go
// through the current file access, so the same code reads
// plain files (the POSIX access, the default everywhere) or whatever
// another implementation reaches: the OGR driver installs one over GDAL's
// virtual file systems (zip and tar archives, HTTP, object storage, memory)
// while it serves its datasets, and a survey's text held in memory reads
// through one that answers a single path with those bytes.
//
// Choosing the access: the current module context (config/module_context.h)
// holds it, the POSIX access when it holds none. A FileAccessScope makes an
// access the current context's until the scope ends (scopes nest); a context
// derived meanwhile shares that access, so one that outlives the scope needs
// an access of its own (ModuleContext::SetFileAccess). A file opened while an
// access is in force stays usable after, also on another thread (one thread
// at a time).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

class ModuleContext;

enum class FileKind { Missing, File, Folder, Other };

struct FolderEntry {
  std::string name;  // without the folder
  FileKind kind = FileKind::Other;
};

// A file that stops being readable part way (a truncated archive, a
// dropped connection, a disk error); the text names the file and the cause.
class FileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class IReadableFile {
 public:
  virtual ~IReadableFile() = default;
  // Reads up to `size` bytes into `buffer` and returns how many were read:
  // fewer only at the end of the file, 0 there. Throws FileReadError when
  // the file cannot be read on.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  // The size of the file when it was opened, in bytes.
  virtual std::uint64_t Size() const = 0;
};

class IFileAccess {
 public:
  virtual ~IFileAccess() = default;
  // The file at `path` opened for reading; null when there is no regular
  // file there or it cannot be opened. Never throws for those.
  virtual std::unique_ptr<IReadableFile> OpenForReading(const std::string& path) = 0;
  // Why OpenForReading(path) gave nothing, for the message that names the
  // file: "not a regular file", or the reason the access has ("Permission
  // denied", ...). This default knows only what KindOf tells.
  virtual std::string WhyNotReadable(const std::string& path);
  // What `path` names; Missing when nothing, or it cannot be looked at.
  virtual FileKind KindOf(const std::string& path) = 0;
  // The entries directly inside `folder` (files, folders and others, not
  // recursive), in no particular order. Throws a std::runtime_error (for
  // plain folders a std::filesystem::filesystem_error), naming the folder,
  // when it cannot be listed.
  virtual std::vector<FolderEntry> ListFolder(const std::string& folder) = 0;
  // Why files at `path` cannot be created, replaced, moved or deleted (for
  // example "/vsizip/ is read-only"), or empty when nothing stands in the
  // way. The writing operations of config/file_system.h refuse with it.
  virtual std::string WriteRefusal(const std::string& /*path*/) { return {}; }
};

// Plain files through the operating system. Stateless; shared by all threads.
IFileAccess& PosixFileAccess();

// The current module context's file access, or the POSIX access when it has
// none.
IFileAccess& CurrentFileAccess();

// Makes `access` (kept alive by the caller) the current context's file access
// for the scope's lifetime.
class FileAccessScope {
 public:
  explicit FileAccessScope(IFileAccess& access);
  ~FileAccessScope();
  FileAccessScope(const FileAccessScope&) = delete;
  FileAccessScope& operator=(const FileAccessScope&) = delete;

 private:
  ModuleContext& context_;
  std::shared_ptr<IFileAccess> previous_;
};

// A readable file over bytes in memory.
std::unique_ptr<IReadableFile> MemoryFile(std::string bytes);

// Answers one path with bytes held in memory, as if they were the file
// there, and passes every other request to the access that was current
// when it was made.
class TextOverlayAccess final : public IFileAccess {
 public:
  TextOverlayAccess(std::string path, std::string bytes);
  std::unique_ptr<IReadableFile> OpenForReading(const std::string& path) override;
  std::string WhyNotReadable(const std::string& path) override;
  FileKind KindOf(const std::string& path) override;
  std::vector<FolderEntry> ListFolder(const std::string& folder) override;
  std::string WriteRefusal(const std::string& path) override;

 private:
  IFileAccess& below_;
  std::string path_;
  std::shared_ptr<const std::string> bytes_;
};

// The rest of the file.
std::string ReadAll(IReadableFile& file);

// The whole file through the current access; false when it cannot be opened
// (a read failure part way still throws FileReadError).
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace veldrane
