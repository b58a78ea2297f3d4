#pragma once
// The subcommands of the tool, in the order `veldrane --help` lists them.
// Adding one is a new cli/<name>_command.cpp that defines
// `std::unique_ptr<Command> Make<Name>Command()` plus one line here.
//
// The core commands need only the core library and run in `veldrane`
// itself; the others use GDAL (or the host's XML writer) and run in
// `veldrane-gdal`, which `veldrane` hands them to (cli/gdal_tool.h), so
// checking or dumping a file never loads GDAL's hundred shared libraries.
#define VELDRANE_CORE_COMMANDS(X) \
  X(Check)                        \
  X(Dump)
#define VELDRANE_GDAL_COMMANDS(X) \
  X(Metadata)                     \
  X(Info)                         \
  X(Export)
