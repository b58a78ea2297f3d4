#include "config/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <system_error>

#include "config/file_access.h"
#include "config/scratch_files.h"
#include "model/constants.h"
#include "model/survey_error.h"

namespace veldrane {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void ThrowSystemError(const std::string& what, const fs::path& p1, int error) {
  throw fs::filesystem_error(what, p1, std::error_code(error, std::generic_category()));
}

[[noreturn]] void ThrowSystemError(const std::string& what, const fs::path& p1, const fs::path& p2, int error) {
  throw fs::filesystem_error(what, p1, p2, std::error_code(error, std::generic_category()));
}

void WriteAll(int fd, std::string_view bytes, const fs::path& path) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError("cannot write", path, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

// The file a write to `path` lands in: symbolic links are followed, one by
// one (so a link to a file not yet made is followed too), so that replacing
// the file leaves the link in place.
fs::path FollowLinks(fs::path path) {
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path link = fs::read_symlink(path, ec);
    if (ec) return path;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  ThrowSystemError("cannot follow the links of", path, ELOOP);
}

// Writes stay with plain files: where the calling thread's file access says
// nothing can be written (inside an archive, on a virtual file system) the
// operation is refused, naming the file and the reason.
void RefuseUnwritable(const fs::path& path, const char* operation) {
  const std::string reason = CurrentFileAccess().WriteRefusal(path.string());
  if (!reason.empty())
    throw RaisedError(kErrUnexpected, "Veldrane.FileSystem", path.string() + " cannot be " + operation + ": " + reason);
}

// A temporary file beside the target that becomes the target on Commit and
// disappears if the writer is dropped before that, or the process is
// interrupted (see config/scratch_files.h). It takes the permissions (and,
// where allowed, the owner) of the file it replaces, so a private document
// stays private.
class AtomicWriter {
 public:
  explicit AtomicWriter(const fs::path& target) : target_(FollowLinks(target)) {
    const std::string prefix = target_.filename().string() + ".veldrane-";
    RemoveLeftovers(target_.parent_path(), prefix);
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      temp_ = target_.parent_path() / (ScratchNamePrefix(prefix) + std::to_string(counter++) + ".tmp");
      fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) ThrowSystemError("cannot create a temporary file beside", target_, errno);
    guard_.emplace(temp_);
    TakePermissionsOfTarget();
  }
  ~AtomicWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(temp_.c_str());
  }
  AtomicWriter(const AtomicWriter&) = delete;
  AtomicWriter& operator=(const AtomicWriter&) = delete;

  void Write(std::string_view bytes) { WriteAll(fd_, bytes, temp_); }

  void Commit() {
    if (::fsync(fd_) != 0) ThrowSystemError("cannot flush", temp_, errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ThrowSystemError("cannot close", temp_, errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) ThrowSystemError("cannot replace", target_, errno);
    committed_ = true;
    FlushFolderOf(target_);
  }

 private:
  // A private document stays private, a file only its group may write stays
  // so after a save.
  void TakePermissionsOfTarget() {
    struct stat info {};
    if (::stat(target_.c_str(), &info) != 0) return;  // a new file: the usual permissions
    // The owner first: changing it clears set-id bits the mode then restores.
    // Only root (or a member of the group) may; the permissions matter more.
    [[maybe_unused]] const bool ownerKept = ::fchown(fd_, info.st_uid, info.st_gid) == 0 ||
                                            ::fchown(fd_, static_cast<uid_t>(-1), info.st_gid) == 0;
    if (::fchmod(fd_, info.st_mode & 07777) != 0) ThrowSystemError("cannot set the permissions of", temp_, errno);
  }

  fs::path target_;
  fs::path temp_;
  int fd_ = -1;
  bool committed_ = false;
  std::optional<ScratchGuard> guard_;
};

// Moves without ever replacing: the kernel refuses atomically when the
// target exists. Returns an errno value, 0 on success.
int RenameNoReplace(const fs::path& source, const fs::path& target) {
  if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int error = errno;
  if (error != EINVAL && error != ENOSYS) return error;
  // File systems without no-replace renames: a hard link also refuses an
  // existing target atomically.
  if (::link(source.c_str(), target.c_str()) != 0) return errno;
  ::unlink(source.c_str());
  return 0;
}

}  // namespace

int OpenRegularFile(const fs::path& path, std::string& why) {
  why.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    // A socket cannot be opened at all.
    why = errno == ENXIO ? "not a regular file" : std::generic_category().message(errno);
    return -1;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) why = std::generic_category().message(errno);
  else if (!S_ISREG(info.st_mode)) why = "not a regular file";
  if (!why.empty()) {
    ::close(fd);
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

std::string RegularFileProblem(const fs::path& path) {
  std::string why;
  const int fd = OpenRegularFile(path, why);
  if (fd >= 0) ::close(fd);
  return why;
}

void FlushToDisk(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(path, ec);
  if (fs::is_symlink(status)) return;
  if (fs::is_directory(status))
    for (const auto& entry : fs::directory_iterator(path)) FlushToDisk(entry.path());
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) ThrowSystemError("cannot flush", path, errno);
  const int error = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  if (error != 0) ThrowSystemError("cannot flush", path, error);
}

void FlushFolderOf(const fs::path& path) {
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool FileExists(const fs::path& path) {
  return !path.empty() && CurrentFileAccess().KindOf(path.string()) == FileKind::File;
}

bool FolderExists(const fs::path& path) {
  return !path.empty() && CurrentFileAccess().KindOf(path.string()) == FileKind::Folder;
}

std::vector<std::string> ListFiles(const fs::path& folder) {
  std::vector<std::string> names;
  for (FolderEntry& entry : CurrentFileAccess().ListFolder(folder.string()))
    if (entry.kind == FileKind::File) names.push_back(std::move(entry.name));
  std::sort(names.begin(), names.end());
  return names;
}

bool IsArchiveAttributeSet(const fs::path& path) {
  if (!CurrentFileAccess().WriteRefusal(path.string()).empty()) return true;
  const auto status = fs::status(path);
  if (!fs::exists(status)) ThrowSystemError("cannot read the attributes of", path, ENOENT);
  const auto perms = status.permissions();
  const auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((perms & writeBits) == fs::perms::none) return true;
  return ::access(path.c_str(), W_OK) != 0;
}

void CopyFileReplace(const fs::path& source, const fs::path& target) {
  RefuseUnwritable(target, "written");
  // The source is read through the file access, so a survey file can be
  // copied out of an archive.
  IFileAccess& access = CurrentFileAccess();
  const FileKind kind = access.KindOf(source.string());
  if (kind == FileKind::Folder) ThrowSystemError("cannot copy a folder", source, EISDIR);
  const auto in = access.OpenForReading(source.string());
  if (!in) ThrowSystemError("cannot open", source, kind == FileKind::Missing ? ENOENT : EACCES);
  AtomicWriter writer(target);
  char buffer[65536];
  while (const std::size_t n = in->Read(buffer, sizeof buffer)) writer.Write(std::string_view(buffer, n));
  writer.Commit();
}

void MoveFile(const fs::path& source, const fs::path& target) {
  RefuseUnwritable(source, "moved");
  RefuseUnwritable(target, "written");
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(source, ec))) ThrowSystemError("cannot move", source, target, ENOENT);
  if (fs::exists(fs::symlink_status(target, ec))) ThrowSystemError("cannot move", source, target, EEXIST);
  const int error = RenameNoReplace(source, target);
  if (error == 0) return;
  if (error != EXDEV) ThrowSystemError("cannot move", source, target, error);
  // Another file system: copy beside the target, claim the target without
  // replacing, then drop the source.
  fs::path staged = target;
  staged += ".moving" + std::to_string(::getpid());
  CopyFileReplace(source, staged);
  const int linkError = RenameNoReplace(staged, target);
  if (linkError != 0) {
    ::unlink(staged.c_str());
    ThrowSystemError("cannot move", source, target, linkError);
  }
  fs::remove(source);
}

void DeleteFile(const fs::path& path) {
  RefuseUnwritable(path, "deleted");
  const auto status = fs::symlink_status(path);
  if (!fs::exists(status)) ThrowSystemError("cannot delete", path, ENOENT);
  if (fs::is_directory(status)) ThrowSystemError("cannot delete", path, EISDIR);
  fs::remove(path);
}

std::string ReadAllText(const fs::path& path) {
  const FileKind kind = CurrentFileAccess().KindOf(path.string());
  if (kind == FileKind::Folder) ThrowSystemError("cannot read", path, EISDIR);
  std::string text;
  if (!ReadWholeFile(path.string(), text))
    ThrowSystemError("cannot open", path, kind == FileKind::Missing ? ENOENT : EACCES);
  return text;
}

void WriteFileAtomically(const fs::path& path, std::string_view bytes) {
  RefuseUnwritable(path, "written");
  AtomicWriter writer(path);
  writer.Write(bytes);
  writer.Commit();
}

std::string FileName(const fs::path& path) { return path.filename().string(); }

std::string BaseName(const fs::path& path) { return path.stem().string(); }

std::string Extension(const fs::path& path) {
  const auto ext = path.extension().string();
  return ext.empty() ? ext : ext.substr(1);
}

}  // namespace veldrane
