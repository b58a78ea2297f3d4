#include "gdal/vsi_file_access.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include <cpl_error.h>
#include <cpl_string.h>
#include <cpl_vsi.h>

#include "model/text.h"

namespace veldrane::ogr {
namespace {

constexpr std::string_view kGzip = "/vsigzip/";

bool StartsWith(const std::string& text, std::string_view prefix) { return text.rfind(prefix, 0) == 0; }

bool IsGzipMemberName(const std::string& path) {
  return StartsWith(path, kGzip) && !EndsWithIgnoreCase(path, ".gz");
}

// "/vsizip/" for "/vsizip/a.zip/b.em".
std::string FileSystemOf(const std::string& path) {
  const std::size_t slash = path.find('/', 1);
  return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

// The folder part of a path, as listings are keyed.
std::string FolderKey(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

FileKind KindOfMode(int mode) {
  if (VSI_ISREG(mode)) return FileKind::File;
  if (VSI_ISDIR(mode)) return FileKind::Folder;
  return FileKind::Other;
}

class VsiFile final : public IReadableFile {
 public:
  // `size` 0: not known up front (a gzip stream is only measured by
  // reading it whole).
  VsiFile(VSILFILE* file, std::uint64_t size, std::string path) : file_(file), size_(size), path_(std::move(path)) {}
  ~VsiFile() override { VSIFCloseL(file_); }
  VsiFile(const VsiFile&) = delete;
  VsiFile& operator=(const VsiFile&) = delete;

  std::size_t Read(char* buffer, std::size_t size) override {
    std::string failure;
    std::size_t got = 0;
    {
      // GDAL's own message about a failing read becomes part of ours
      // instead of a separate error; the caller's error state is kept.
      CPLErrorStateBackuper keepState;
      CPLErrorHandlerPusher quiet(CPLQuietErrorHandler);
      CPLErrorReset();
      got = VSIFReadL(buffer, 1, size, file_);
      if (CPLGetLastErrorType() >= CE_Failure) failure = CPLGetLastErrorMsg();
    }
    read_ += got;
    const bool whole = size_ > 0 && read_ >= size_;
    if (!failure.empty() && !whole) throw FileReadError("Cannot read " + path_ + ": " + failure);
    if (got < size && size_ > 0 && read_ < size_) {
      throw FileReadError("Cannot read " + path_ + ": it ends after " + std::to_string(read_) + " of its " +
                          std::to_string(size_) + " bytes (a truncated archive or a dropped connection)");
    }
    return got;
  }
  std::uint64_t Size() const override { return size_; }

 private:
  VSILFILE* file_;
  std::uint64_t size_;
  std::uint64_t read_ = 0;
  std::string path_;
};

}  // namespace

bool IsVirtualPath(const std::string& path) { return StartsWith(path, "/vsi"); }

std::string SurveyNameOf(const std::string& path) {
  if (StartsWith(path, kGzip) && EndsWithIgnoreCase(path, ".gz")) return path.substr(0, path.size() - 3);
  return path;
}

std::string VsiFileAccess::Resolve(const std::string& path) {
  if (!IsGzipMemberName(path)) return path;
  const std::string compressed = path + ".gz";
  if (StatKind(compressed) == FileKind::File) return compressed;
  return path.substr(kGzip.size());
}

FileKind VsiFileAccess::StatKind(const std::string& path) {
  if (!IsVirtualPath(path)) return PosixFileAccess().KindOf(path);
  VSIStatBufL status;
  const bool found = VSIStatExL(path.c_str(), &status, VSI_STAT_EXISTS_FLAG | VSI_STAT_NATURE_FLAG) == 0;
  // Two folders GDAL does not stat as folders, though it lists them: an
  // archive of a single file (GDAL takes "/vsizip/a.zip" for that file
  // too), and a folder of /vsimem/ that was never made (it exists as soon
  // as a file is put in it).
  const bool archive = StartsWith(path, "/vsizip/") || StartsWith(path, "/vsitar/");
  if ((found && VSI_ISREG(status.st_mode) && archive) || (!found && StartsWith(path, "/vsimem/"))) {
    char** names = VSIReadDirEx(path.c_str(), 1);
    const bool listed = names != nullptr;
    CSLDestroy(names);
    if (listed) return FileKind::Folder;
  }
  return found ? KindOfMode(status.st_mode) : FileKind::Missing;
}

const std::vector<FolderEntry>* VsiFileAccess::ListingAround(const std::string& path) const {
  // Under "/vsigzip/" names and listed names differ by ".gz".
  if (StartsWith(path, kGzip)) return nullptr;
  const auto listing = listings_.find(FolderKey(std::filesystem::path(FolderKey(path)).parent_path().string()));
  return listing == listings_.end() ? nullptr : &listing->second;
}

FileKind VsiFileAccess::KindOf(const std::string& path) {
  if (path.empty()) return FileKind::Missing;
  if (const auto* listing = ListingAround(path)) {
    const std::string name = std::filesystem::path(FolderKey(path)).filename().string();
    const auto entry = std::find_if(listing->begin(), listing->end(), [&](const FolderEntry& e) { return e.name == name; });
    return entry == listing->end() ? FileKind::Missing : entry->kind;
  }
  return StatKind(Resolve(path));
}

std::unique_ptr<IReadableFile> VsiFileAccess::OpenForReading(const std::string& path) {
  if (ListingAround(path) != nullptr && KindOf(path) != FileKind::File) return nullptr;
  const std::string resolved = Resolve(path);
  if (!IsVirtualPath(resolved)) return PosixFileAccess().OpenForReading(resolved);
  // A gzip stream is not measured up front: GDAL would decompress it whole.
  const bool gzip = StartsWith(resolved, kGzip);
  VSIStatBufL status;
  const int flags = VSI_STAT_EXISTS_FLAG | VSI_STAT_NATURE_FLAG | (gzip ? 0 : VSI_STAT_SIZE_FLAG);
  if (VSIStatExL(resolved.c_str(), &status, flags) != 0 || !VSI_ISREG(status.st_mode)) return nullptr;
  VSILFILE* file = VSIFOpenL(resolved.c_str(), "rb");
  if (file == nullptr) return nullptr;
  return std::make_unique<VsiFile>(file, gzip ? 0 : static_cast<std::uint64_t>(status.st_size), path);
}

std::vector<FolderEntry> VsiFileAccess::ListFolder(const std::string& folder) {
  const std::string key = FolderKey(folder);
  if (const auto listed = listings_.find(key); listed != listings_.end()) return listed->second;
  std::vector<FolderEntry> entries;
  const std::string resolved = Resolve(key);
  if (!IsVirtualPath(resolved)) {
    entries = PosixFileAccess().ListFolder(resolved);
  } else {
    VSIDIR* dir = VSIOpenDir(resolved.c_str(), 0, nullptr);
    if (dir == nullptr) throw std::runtime_error("Cannot list the folder " + folder);
    while (const VSIDIREntry* entry = VSIGetNextDirEntry(dir)) {
      const std::string name = entry->pszName;
      const FileKind kind = entry->bModeKnown ? KindOfMode(entry->nMode) : StatKind(key + "/" + name);
      entries.push_back({name, kind});
    }
    VSICloseDir(dir);
  }
  listings_[key] = entries;
  return entries;
}

std::string VsiFileAccess::WriteRefusal(const std::string& path) {
  if (!IsVirtualPath(path)) return PosixFileAccess().WriteRefusal(path);
  const std::string fileSystem = FileSystemOf(path);
  if (!VSISupportsSequentialWrite(path.c_str(), false)) return fileSystem + " is read-only";
  return "survey files and their metadata are written to plain files only, not to " + fileSystem;
}

}  // namespace veldrane::ogr
