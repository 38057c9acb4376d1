// The filter mode's run: input files (or standard input) streamed line by line through a
// LineFilter, or a sequence of dates listed, with bad lines reported on stderr.
#pragma once

#include <QStringList>
#include <csignal>

#include "app/app_state.h"
#include "cli/filter.h"

namespace daybridge::cli {

struct FilterRun {
    FilterSettings settings;
    QStringList inputs;    // files; empty or "-": standard input
    QStringList sequence;  // FROM TO STEP: list dates, read no input
    bool header = false;   // the first line of each input is kept (a column added by --diff)
    bool strict = false;   // stop at the first bad line
};

// Runs the filter with the state's formats, working-day calendar and language; the exit status
// (0 every line worked, 1 a bad line, an unreadable input or an unwritable output, 2 a --seq
// refused, 130 stopped by `stop`).
int RunFilter(const FilterRun& run, const AppState& state, volatile std::sig_atomic_t* stop);

}  // namespace daybridge::cli
