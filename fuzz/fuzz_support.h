#pragma once
// Shared plumbing of the fuzz targets: a per-process scratch folder for the
// input file (the readers take paths, not buffers), a silent notifier, and a
// walk over every member of a survey or traverse so that lazily computed
// values (cross-section points, the baseline, offsets) run too.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "model/features.h"

namespace veldrane::fuzz {

// The process's scratch folder, made on first use and kept for the life of
// the process (one folder per process: parallel fuzz jobs never share it).
const std::string& ScratchFolder();

// Writes the bytes to <scratch>/<name> (replacing it) and returns the path.
std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);

// Installs a notifier that drops every message, for the life of the process:
// loaders report duplicates through it and a fuzzer would flood stderr.
void SilenceNotifier();

// Reads every member of every object reachable from the survey / traverse.
void WalkSurvey(ISurvey& survey);
void WalkTraverse(ITraverse& traverse);
// Pops every record of the queue and reads its fields; null is allowed.
void DrainErrors(ISurveyErrorQueue* queue);

// Opens `path` through the survey factory, walks the result and drains its
// error queue. A RaisedError from the factory (a fatal record) is an
// accepted outcome; anything else escapes and is a finding.
void OpenAndWalk(const std::string& path);

}  // namespace veldrane::fuzz
