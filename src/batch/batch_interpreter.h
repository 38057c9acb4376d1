// The batch interpreter: loads a batch program, prepares its lines once, and runs it as a
// time-sliced step function. The window drives RunSlice from a zero-delay timer; the
// command-line runner calls it in a loop. A Stop request is seen between two slices, after the
// current line.
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>

#include "app/app_state.h"
#include "app/host.h"
#include "compute/compute_engine.h"

namespace daybridge {

class BatchRun;  // the prepared program and its run state

class BatchInterpreter {
  public:
    BatchInterpreter(AppState& state, Host& host, ComputeEngine& engine);
    ~BatchInterpreter();

    // ProcessBatchFile: the start of a run on the file named by state.session.inputFileText, with
    // every check. While a run is going, it requests a stop instead. Returns true when a run has
    // started and RunSlice must now be called until it returns false.
    bool ProcessBatchFile();
    // Starts a run on the given lines (the command-line runner's -e); `name` names the input.
    bool StartLines(const QStringList& lines, const QString& name);
    // Starts a run on a file without the ".txt" rule (the command-line runner).
    bool StartFile(const QString& path);

    // Executes lines until the time slice is used or the run ends; false once it has ended.
    bool RunSlice(std::chrono::microseconds slice = std::chrono::milliseconds(10));
    void RequestStop();
    bool Running() const;

    // Of the last run: how many errors were counted, and whether the program was refused
    // before it ran (missing, empty, bad line ends, control characters).
    int ErrorCount() const;
    bool Refused() const;
    // Of the last run: whether any error was reported, counted or not (errors found while
    // loading, errors that ended the run, an ENDSKIP without SKIP).
    bool ErrorReported() const;
    // Of the last run: whether it was stopped (Stop, or a prompt cancelled or left unanswered).
    bool Stopped() const;

  private:
    AppState& state_;
    Host& host_;
    ComputeEngine& engine_;
    std::unique_ptr<BatchRun> run_;
};

}  // namespace daybridge
