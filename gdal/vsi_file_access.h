#pragma once
// The file access over GDAL's virtual file systems (VSIStatExL, VSIFOpenL,
// VSIFReadL, VSIOpenDir): survey files inside zip and tar archives, gzip
// compressed, over HTTP and object storage, and in memory, wherever a path
// GDAL understands leads. The driver installs one for the calling thread
// in every call it takes from GDAL (BoundaryScope).
//
// - Plain paths are passed to the POSIX access, so plain files are opened
//   exactly as the core library opens them.
// - A folder is listed once in the object's life (one driver call, an open
//   for instance): later questions about the folder's files are answered
//   from that listing, which saves a request per file on a network file
//   system or object storage.
// - A read that ends before the file's size, or that GDAL reports failing
//   (a truncated archive, a connection dropped half way), is a
//   FileReadError naming the file and the cause.
// - Nothing is written on a virtual file system: WriteRefusal says why.
// - A gzip-compressed survey is read under its name without ".gz" (its
//   reader is chosen by the extension before it): under "/vsigzip/", a
//   name stands for the same name with ".gz" when that file exists, and
//   otherwise for the plain file of that name (CODES.DAT, a baseline file
//   beside the compressed survey).
#include <map>
#include <string>
#include <vector>

#include "config/file_access.h"

namespace veldrane::ogr {

// Whether the path is one of GDAL's virtual file systems ("/vsi...").
bool IsVirtualPath(const std::string& path);

// The name a survey at `path` is read under: "/vsigzip/a/b.em" for
// "/vsigzip/a/b.em.gz"; any other path as it is.
std::string SurveyNameOf(const std::string& path);

class VsiFileAccess final : public IFileAccess {
 public:
  std::unique_ptr<IReadableFile> OpenForReading(const std::string& path) override;
  FileKind KindOf(const std::string& path) override;
  std::vector<FolderEntry> ListFolder(const std::string& folder) override;
  std::string WriteRefusal(const std::string& path) override;

 private:
  // The GDAL path a name stands for (see "/vsigzip/" above).
  std::string Resolve(const std::string& path);
  FileKind StatKind(const std::string& path);
  // The listing of the folder that holds `path`, when it was listed.
  const std::vector<FolderEntry>* ListingAround(const std::string& path) const;

  std::map<std::string, std::vector<FolderEntry>> listings_;
};

}  // namespace veldrane::ogr
