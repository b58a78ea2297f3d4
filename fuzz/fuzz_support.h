#pragma once
// Shared plumbing of the fuzz targets: a per-process scratch folder for the
// input file (the readers take paths, not buffers), a silent notifier, and
// the walk of a survey or traverse file through the factory.
#include <cstddef>
#include <cstdint>
#include <string>

namespace veldrane::fuzz {

// The process's scratch folder, made on first use and kept for the life of
// the process (one folder per process: parallel fuzz jobs never share it).
const std::string& ScratchFolder();

// Writes the bytes to <scratch>/<name> (replacing it) and returns the path.
std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);

// Installs a notifier that drops every message, for the life of the process:
// loaders report duplicates through it and a fuzzer would flood stderr.
void SilenceNotifier();

// Opens `path` through the survey factory, walks every collection both by
// GetNext and by GetItem, and dumps the whole model as JSON (every member,
// lazily computed ones too, then the drained error queue), which must be
// valid UTF-8 and read back the same. A RaisedError from the factory (a
// fatal record) is an accepted outcome; anything else escapes and is a
// finding.
void OpenAndWalk(const std::string& path);

}  // namespace veldrane::fuzz
