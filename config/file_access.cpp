#include "config/file_access.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "config/file_system.h"
#include "config/module_context.h"

namespace veldrane {
namespace {

std::string SystemMessage(int error) { return std::generic_category().message(error); }

class PosixFile final : public IReadableFile {
 public:
  PosixFile(int fd, std::uint64_t size, std::string path) : fd_(fd), size_(size), path_(std::move(path)) {}
  ~PosixFile() override { ::close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  std::size_t Read(char* buffer, std::size_t size) override {
    std::size_t got = 0;
    while (got < size) {
      const ssize_t n = ::read(fd_, buffer + got, size - got);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        throw FileReadError("Cannot read " + path_ + ": " + SystemMessage(errno));
      }
      got += static_cast<std::size_t>(n);
    }
    return got;
  }
  std::uint64_t Size() const override { return size_; }

 private:
  int fd_;
  std::uint64_t size_;
  std::string path_;
};

class Posix final : public IFileAccess {
 public:
  std::unique_ptr<IReadableFile> OpenForReading(const std::string& path) override {
    // A FIFO or a device named like a survey cannot hang the open; only a
    // regular file is read.
    std::string why;
    const int fd = OpenRegularFile(path, why);
    if (fd < 0) return nullptr;
    struct stat info {};
    ::fstat(fd, &info);
    return std::make_unique<PosixFile>(fd, static_cast<std::uint64_t>(info.st_size), path);
  }

  std::string WhyNotReadable(const std::string& path) override { return RegularFileProblem(path); }

  FileKind KindOf(const std::string& path) override {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return FileKind::Missing;
    if (S_ISREG(info.st_mode)) return FileKind::File;
    if (S_ISDIR(info.st_mode)) return FileKind::Folder;
    return FileKind::Other;
  }

  std::vector<FolderEntry> ListFolder(const std::string& folder) override {
    std::vector<FolderEntry> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      std::error_code ec;
      const auto status = entry.status(ec);
      FileKind kind = FileKind::Other;
      if (std::filesystem::is_regular_file(status)) kind = FileKind::File;
      else if (std::filesystem::is_directory(status)) kind = FileKind::Folder;
      entries.push_back({entry.path().filename().string(), kind});
    }
    return entries;
  }
};

class InMemoryFile final : public IReadableFile {
 public:
  explicit InMemoryFile(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t got = std::min(size, bytes_->size() - position_);
    if (got > 0) std::memcpy(buffer, bytes_->data() + position_, got);
    position_ += got;
    return got;
  }
  std::uint64_t Size() const override { return bytes_->size(); }

 private:
  std::shared_ptr<const std::string> bytes_;
  std::size_t position_ = 0;
};

}  // namespace

std::string IFileAccess::WhyNotReadable(const std::string& path) {
  switch (KindOf(path)) {
    case FileKind::Missing:
      return "No such file or directory";
    case FileKind::File:
      return "cannot be opened";
    default:
      return "not a regular file";
  }
}

IFileAccess& PosixFileAccess() {
  static Posix access;
  return access;
}

IFileAccess& CurrentFileAccess() {
  const std::shared_ptr<IFileAccess>& access = CurrentModuleContext().FileAccess();
  return access ? *access : PosixFileAccess();
}

FileAccessScope::FileAccessScope(IFileAccess& access)
    : context_(CurrentModuleContext()), previous_(context_.FileAccess()) {
  // Not owned: the scope's caller keeps the access alive.
  context_.SetFileAccess(std::shared_ptr<IFileAccess>(std::shared_ptr<IFileAccess>(), &access));
}

FileAccessScope::~FileAccessScope() { context_.SetFileAccess(std::move(previous_)); }

std::unique_ptr<IReadableFile> MemoryFile(std::string bytes) {
  return std::make_unique<InMemoryFile>(std::make_shared<const std::string>(std::move(bytes)));
}

TextOverlayAccess::TextOverlayAccess(std::string path, std::string bytes)
    : below_(CurrentFileAccess()),
      path_(std::move(path)),
      bytes_(std::make_shared<const std::string>(std::move(bytes))) {}

std::unique_ptr<IReadableFile> TextOverlayAccess::OpenForReading(const std::string& path) {
  if (path != path_) return below_.OpenForReading(path);
  return std::make_unique<InMemoryFile>(bytes_);
}

std::string TextOverlayAccess::WhyNotReadable(const std::string& path) { return below_.WhyNotReadable(path); }

FileKind TextOverlayAccess::KindOf(const std::string& path) {
  return path == path_ ? FileKind::File : below_.KindOf(path);
}

std::vector<FolderEntry> TextOverlayAccess::ListFolder(const std::string& folder) {
  return below_.ListFolder(folder);
}

std::string TextOverlayAccess::WriteRefusal(const std::string& path) { return below_.WriteRefusal(path); }

std::string ReadAll(IReadableFile& file) {
  std::string bytes;
  char buffer[65536];
  while (const std::size_t got = file.Read(buffer, sizeof buffer)) bytes.append(buffer, got);
  return bytes;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  const auto file = CurrentFileAccess().OpenForReading(path);
  if (!file) return false;
  bytes = ReadAll(*file);
  return true;
}

}  // namespace veldrane
