#include "readers/fixedcolumn/file_contents.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace veldrane {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool ReadFileContents(const std::string& path, std::string& contents) {
  contents.clear();
  std::error_code ec;
  if (std::filesystem::is_directory(std::filesystem::path(path), ec)) return false;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  // The size is only a hint: a file that grows or shrinks while it is read
  // is taken as far as it can be read.
  const auto size = std::filesystem::file_size(std::filesystem::path(path), ec);
  std::size_t used = 0;
  if (!ec && size > 0) {
    contents.resize(static_cast<std::size_t>(size));
    used = std::fread(contents.data(), 1, contents.size(), file.get());
    contents.resize(used);
  }
  char chunk[1 << 16];
  while (!std::ferror(file.get()) && !std::feof(file.get())) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    contents.append(chunk, got);
    if (got < sizeof chunk) break;
  }
  if (std::ferror(file.get())) {
    contents.clear();
    return false;
  }
  return true;
}

}  // namespace veldrane
