#pragma once
// Scratch files and folders: what a writer puts beside its target before it
// renames it into place (the export's scratch folder, the temporary file of
// an atomic replacement). Their names start with a fixed prefix followed by
// the writing process's id and a '-' ("a.em.xml.veldrane-4711-0.tmp"), so
// what a killed process left behind can be told from what a running one is
// still writing.
//
// A program (never a library loaded into someone else's process) may call
// RemoveScratchOnSignals: Ctrl-C, SIGTERM and SIGHUP then remove every
// scratch path registered at that moment, and the process ends of the signal
// as it would have (exit status 128 + signal). SIGKILL cannot be caught; the
// next writer to the same place removes what it left (RemoveLeftovers).
#include <filesystem>
#include <string>

namespace veldrane {

// "<prefix><pid>-": how the names of this process's scratch paths begin.
std::string ScratchNamePrefix(const std::string& prefix);

// Removes the entries of `folder` named "<prefix><pid>-..." whose process no
// longer runs (a file, or a folder with everything in it). Entries of a
// running process, and every other entry, are left alone. Never throws.
void RemoveLeftovers(const std::filesystem::path& folder, const std::string& prefix);

// While alive, `path` is removed (with everything in it) when one of the
// signals above arrives. Registering never fails the writer: beyond a few
// dozen paths at once, or a path longer than PATH_MAX, the path is simply not
// watched.
class ScratchGuard {
 public:
  explicit ScratchGuard(const std::filesystem::path& path);
  ~ScratchGuard();
  ScratchGuard(const ScratchGuard&) = delete;
  ScratchGuard& operator=(const ScratchGuard&) = delete;

 private:
  int slot_ = -1;
};

// Installs the handlers of SIGINT, SIGTERM and SIGHUP described above; a
// signal that is ignored (nohup) stays ignored.
void RemoveScratchOnSignals();

}  // namespace veldrane
