#pragma once
// One subcommand of the `veldrane` tool. main.cpp makes one of each (see
// cli/commands.h), lets each add its options to the parser, and runs the
// one the user chose.
#include <memory>
#include <ostream>

namespace CLI {
class App;
}

namespace veldrane::cli {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
// The files were read and hold at least one error (severity 1 or more).
inline constexpr int kExitDataErrors = 1;
// A path could not be read at all, or the command line is wrong.
inline constexpr int kExitUnreadable = 2;

class Command {
 public:
  virtual ~Command() = default;
  // Adds the subcommand with its help text and options to `app`.
  virtual CLI::App* Register(CLI::App& app) = 0;
  // Runs the subcommand after a successful parse; returns the exit status.
  virtual int Run(std::ostream& out, std::ostream& err) = 0;
};

}  // namespace veldrane::cli
