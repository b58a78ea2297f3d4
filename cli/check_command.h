#pragma once
// `veldrane check [--json] PATH...`: reads survey files (or the survey files
// of folders) and reports every error record the readers queued.
#include <memory>

#include "cli/command.h"

namespace veldrane::cli {

std::unique_ptr<Command> MakeCheckCommand();

}  // namespace veldrane::cli
