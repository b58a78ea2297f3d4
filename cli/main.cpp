// The `veldrane` command-line tool: subcommand wiring only; each subcommand
// lives in its own cli/<name>_command.cpp and is listed in cli/commands.h.
// Built twice where GDAL is available: `veldrane` with the core commands
// (VELDRANE_CORE_TOOL), handing the rest to `veldrane-gdal` with all of them.
#include <iostream>
#include <memory>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/commands.h"
#include "cli/gdal_tool.h"
#include "config/scratch_files.h"

#if VELDRANE_CORE_TOOL
#define VELDRANE_COMMANDS(X) VELDRANE_CORE_COMMANDS(X)
#else
#define VELDRANE_COMMANDS(X) VELDRANE_CORE_COMMANDS(X) VELDRANE_GDAL_COMMANDS(X)
#endif

namespace veldrane::cli {

#define VELDRANE_DECLARE_COMMAND(Name) std::unique_ptr<Command> Make##Name##Command();
VELDRANE_COMMANDS(VELDRANE_DECLARE_COMMAND)
#undef VELDRANE_DECLARE_COMMAND

namespace {

std::vector<std::unique_ptr<Command>> MakeCommands() {
  std::vector<std::unique_ptr<Command>> commands;
#define VELDRANE_MAKE_COMMAND(Name) commands.push_back(Make##Name##Command());
  VELDRANE_COMMANDS(VELDRANE_MAKE_COMMAND)
#undef VELDRANE_MAKE_COMMAND
  return commands;
}

int Main(int argc, char** argv) {
#if VELDRANE_CORE_TOOL
  if (!RunsWithoutGdal(argc, argv)) return RunGdalTool(argv);
#endif
  CLI::App app("Veldrane reads land and hydrographic survey files (.em .cl .830 .pro .27 .83 .bl)\n"
               "and reports what they hold.",
               "veldrane");
  app.require_subcommand(1);
  app.footer("Run 'veldrane COMMAND --help' for the options of one command.\n");

  auto commands = MakeCommands();
  std::vector<std::pair<CLI::App*, Command*>> registered;
  for (auto& command : commands) registered.emplace_back(command->Register(app), command.get());

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version requests exit 0; anything else is a usage error.
    const int status = app.exit(e);
    return status == 0 ? kExitOk : kExitUnreadable;
  }
  // Whatever a command is writing beside its target goes when it is stopped.
  RemoveScratchOnSignals();
  for (auto& [sub, command] : registered)
    if (sub->parsed()) return command->Run(std::cout, std::cerr);
  return kExitUnreadable;
}

}  // namespace
}  // namespace veldrane::cli

int main(int argc, char** argv) { return veldrane::cli::Main(argc, argv); }
