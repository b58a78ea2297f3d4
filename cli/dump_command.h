#pragma once
// `veldrane dump FILE`: the whole survey model of one file as JSON.
#include <memory>

#include "cli/command.h"

namespace veldrane::cli {

std::unique_ptr<Command> MakeDumpCommand();

}  // namespace veldrane::cli
