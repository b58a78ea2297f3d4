#include "cli/gdal_tool.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "cli/command.h"
#include "cli/commands.h"

namespace veldrane::cli {

bool RunsWithoutGdal(int argc, char** argv) {
  if (argc < 2) return false;
  // A subcommand's name is its command's name in lowercase.
#define VELDRANE_COMMAND_NAME(Name) #Name,
  for (std::string name : {VELDRANE_CORE_COMMANDS(VELDRANE_COMMAND_NAME)}) {
#undef VELDRANE_COMMAND_NAME
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == argv[1]) return true;
  }
  return false;
}

int RunGdalTool(char** argv) {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  const auto tool = (ec ? std::filesystem::path(argv[0]) : self).parent_path() / "veldrane-gdal";
  ::execv(tool.c_str(), argv);
  std::cerr << "veldrane: cannot run " << tool.string() << ": " << std::strerror(errno) << '\n';
  return kExitUnreadable;
}

}  // namespace veldrane::cli
