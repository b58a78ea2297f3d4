#pragma once
// The subcommands of the tool, in the order `veldrane --help` lists them.
// Adding one is a new cli/<name>_command.cpp that defines
// `std::unique_ptr<Command> Make<Name>Command()` plus one line here.
#define VELDRANE_COMMANDS(X) \
  X(Check)                   \
  X(Dump)                    \
  X(Metadata)                \
  X(Info)                    \
  X(Export)
