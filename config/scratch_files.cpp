#include "config/scratch_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <system_error>
#include <vector>

namespace veldrane {
namespace fs = std::filesystem;

namespace {

// The paths a signal handler removes. A handler can reach static storage
// only, so this table is process-wide (the one exception to keeping state per
// thread): fixed slots claimed and freed with atomics, never allocated, so
// the handler reads it safely whenever it interrupts.
constexpr int kSlots = 32;
constexpr int kFree = 0, kFilling = 1, kWatched = 2;
struct Slot {
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};
Slot gSlots[kSlots];

// Removes `name` (relative to `folder`) with everything in it, using only
// calls that are safe in a signal handler. Folders deeper than `depth` are
// left.
void RemoveTreeAt(int folder, const char* name, int depth) {
  if (::unlinkat(folder, name, 0) == 0 || errno != EISDIR || depth == 0) return;
  const int fd = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  alignas(dirent64) char buffer[2048];
  // Entries removed while listing can make a pass miss others: a few passes.
  for (int pass = 0; pass < 3; ++pass) {
    ::lseek(fd, 0, SEEK_SET);
    ssize_t got;
    while ((got = ::getdents64(fd, buffer, sizeof buffer)) > 0) {
      for (ssize_t at = 0; at < got;) {
        const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
        at += entry->d_reclen;
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
          RemoveTreeAt(fd, entry->d_name, depth - 1);
      }
    }
    if (::unlinkat(folder, name, AT_REMOVEDIR) == 0 || errno != ENOTEMPTY) break;
  }
  ::close(fd);
}

extern "C" void RemoveScratchAndEnd(int signal) {
  for (Slot& slot : gSlots)
    if (slot.state.load(std::memory_order_acquire) == kWatched) RemoveTreeAt(AT_FDCWD, slot.path, 8);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

bool ProcessRuns(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

// The process id in "<prefix><pid>-...", or 0 when the name is not so made.
pid_t OwnerOf(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
  const char* first = name.data() + prefix.size();
  const char* last = name.data() + name.size();
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(first, last, pid);
  if (error != std::errc() || end == first || end == last || *end != '-') return 0;
  return pid;
}

}  // namespace

std::string ScratchNamePrefix(const std::string& prefix) { return prefix + std::to_string(::getpid()) + "-"; }

void RemoveLeftovers(const fs::path& folder, const std::string& prefix) {
  std::error_code ec;
  std::vector<fs::path> orphans;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const pid_t owner = OwnerOf(it->path().filename().string(), prefix);
    if (owner != 0 && !ProcessRuns(owner)) orphans.push_back(it->path());
  }
  for (const fs::path& orphan : orphans) fs::remove_all(orphan, ec);
}

ScratchGuard::ScratchGuard(const fs::path& path) {
  const std::string text = path.string();
  if (text.empty() || text.size() >= PATH_MAX) return;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!gSlots[i].state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(gSlots[i].path, text.c_str(), text.size() + 1);
    gSlots[i].state.store(kWatched, std::memory_order_release);
    slot_ = i;
    return;
  }
}

ScratchGuard::~ScratchGuard() {
  if (slot_ >= 0) gSlots[slot_].state.store(kFree, std::memory_order_release);
}

void RemoveScratchOnSignals() {
  struct sigaction action {};
  action.sa_handler = RemoveScratchAndEnd;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, signal);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace veldrane
