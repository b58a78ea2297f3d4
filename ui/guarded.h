#pragma once
// Runs a procedure of a window: an unexpected failure goes to the error
// report (model/error_propagation.h), naming the procedure and its module,
// and the window stays as the failure left it.
#include <exception>

#include "model/error_propagation.h"

namespace veldrane::ui {

template <class Procedure>
void Guarded(const char* procedure, const char* module, Procedure body) {
  try {
    body();
  } catch (const std::exception& failure) {
    ReportProcedureError(true, ProcedureWhere(procedure, module), failure);
  }
}

}  // namespace veldrane::ui
