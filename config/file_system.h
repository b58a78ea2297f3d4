#pragma once
// File and folder operations shared by the readers, the data source and the
// source view. Every call looks at the file system as it is at that moment:
// nothing is cached. Failures raise to the caller (std::filesystem::
// filesystem_error, or RaisedError where no system error applies); callers
// decide whether to report, ignore or pass them on.
//
// FileExists, FolderExists, ListFiles and ReadAllText look through the
// calling thread's file access (config/file_access.h), so they see what the
// readers see; the operations that write work on plain files, and refuse
// (RaisedError naming the file and the reason) where that access says
// nothing can be written. There IsArchiveAttributeSet is true.
//
// Files that are replaced are never left half-written: the new contents go
// to a temporary file in the same folder, flushed to disk, which is then
// renamed over the target. The replacement keeps the target's permissions,
// and a symbolic link stays a link: the file it points to is replaced.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

// Opens a file for reading only when it is a regular file, and never waits
// for what is not one (a FIFO without a writer, a device): the open does not
// block, and anything but a regular file is closed again and refused.
// Returns the descriptor (blocking reads from here on, closed on exec), or -1
// with `why` set: the system's reason ("Permission denied", "Too many levels
// of symbolic links", "File name too long", ...) or "not a regular file".
// The plain-file access of config/file_access.h opens every file it reads
// through this. Never throws.
int OpenRegularFile(const std::filesystem::path& path, std::string& why);
// Why OpenRegularFile would refuse the file; empty when it would open it.
std::string RegularFileProblem(const std::filesystem::path& path);

// Flushes a file, or a folder with everything in it, to disk (fsync), so a
// rename that follows can never put an incomplete file in place after a
// power cut. Symbolic links are left alone. Throws filesystem_error.
void FlushToDisk(const std::filesystem::path& path);
// Flushes the folder that holds `path` (its list of names), so a rename into
// it survives a power cut. A failure is not reported: it loses nothing that
// is already visible.
void FlushFolderOf(const std::filesystem::path& path);

// True when a regular file (not a folder) exists at the path. Never throws.
bool FileExists(const std::filesystem::path& path);
// True when a folder exists at the path. Never throws.
bool FolderExists(const std::filesystem::path& path);

// The names (without folder) of the regular files directly inside `folder`,
// subfolders excluded, sorted by name so every listing of the same folder
// comes out in the same order.
std::vector<std::string> ListFiles(const std::filesystem::path& folder);

// Stands in for the archive attribute that protects a file from being
// overwritten by the metadata writer: set when the file is read-only, that
// is, none of its write permission bits is set or the current user may not
// write it. (Checking the bits as well keeps the rule meaningful for root,
// who may write anything.)
bool IsArchiveAttributeSet(const std::filesystem::path& path);

// Writes a copy of `source` at `target`, replacing an existing target
// atomically.
void CopyFileReplace(const std::filesystem::path& source, const std::filesystem::path& target);

// Moves `source` to `target`. Fails, leaving both paths untouched, when the
// target exists (also when it is a folder) or the source is missing.
void MoveFile(const std::filesystem::path& source, const std::filesystem::path& target);

// Removes the file; a missing file is a failure.
void DeleteFile(const std::filesystem::path& path);

// The whole contents of the file, line breaks kept as they are.
std::string ReadAllText(const std::filesystem::path& path);

// Replaces the file's contents by exactly `bytes` (temporary file, flushed
// to disk, renamed over the target). The target's folder must exist.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Path parts, taken from the text of the path alone.
// "/a/b/c.em.xml": FileName "c.em.xml", BaseName "c.em" (the name without
// its last extension), Extension "xml" (without the dot; empty when the name
// has none).
std::string FileName(const std::filesystem::path& path);
std::string BaseName(const std::filesystem::path& path);
std::string Extension(const std::filesystem::path& path);

}  // namespace veldrane
