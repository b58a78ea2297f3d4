#pragma once
// Whole-file input for the readers: a survey file is read into memory in one
// piece and parsed from there, which is both the fastest way through a large
// file and the only way to look ahead for the end of a block cheaply.
#include <string>

namespace veldrane {

// Reads the file at `path` into `contents` (replacing it). False when the
// file cannot be opened or read; `contents` is then empty.
bool ReadFileContents(const std::string& path, std::string& contents);

}  // namespace veldrane
