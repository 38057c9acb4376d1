// One computation of the three fields given on the command line (--compute FIRST DIFFERENCE
// SECOND), as the window's Compute does it: its result lines, or a record of it for scripts.
#pragma once

#include <QStringList>

#include "app/app_state.h"
#include "app/host.h"
#include "cli/filter.h"
#include "compute/compute_engine.h"

namespace daybridge::cli {

// The engine's result lines go to the state's output (Lines); a JSON object or a CSV header
// and row replace them otherwise. Two of the fields must be given, or one date alone (a
// conversion). The exit status: 0 computed, 1 the engine reported an error, 2 the fields
// given do not make a computation.
int RunComputation(const QStringList& fields, OutputShape shape, AppState& state, Host& host,
                   const ComputeEngine& engine, QString& record, QString& error);

}  // namespace daybridge::cli
