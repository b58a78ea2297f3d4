#pragma once
// Hand-over from `veldrane` to `veldrane-gdal`, the same tool with the
// commands that use GDAL (see cli/commands.h). Running a second program
// rather than loading those commands as a module keeps one copy of the core
// library's per-thread state and scratch-file registry in each process.
namespace veldrane::cli {

// Whether `veldrane` runs these arguments itself: a core command comes first.
// Everything else (the GDAL commands, --help, mistakes) goes to the full tool,
// which knows every command.
bool RunsWithoutGdal(int argc, char** argv);

// Replaces this process by `veldrane-gdal` (beside this program's binary)
// with the same arguments. Returns only when that fails, after saying why on
// standard error; the result is then the exit status.
int RunGdalTool(char** argv);

}  // namespace veldrane::cli
