#include "batch/batch_interpreter.h"

#include "batch/batch_run.h"
#include "env/paths.h"

namespace daybridge {

class BatchRun : public batch::BatchRun {
  public:
    using batch::BatchRun::BatchRun;
};

BatchInterpreter::BatchInterpreter(AppState& state, Host& host, ComputeEngine& engine)
    : state_(state),
      host_(host),
      engine_(engine),
      run_(std::make_unique<BatchRun>(state_, host_, engine_)) {}

BatchInterpreter::~BatchInterpreter() = default;

bool BatchInterpreter::ProcessBatchFile() {
    if (run_->running) {
        RequestStop();
        return false;
    }
    const QString filespec = state_.session.inputFileText.trimmed();
    if (filespec.isEmpty()) {
        run_->refused = true;
        host_.messageBox(state_.settings.Text(21), state_.settings.Text(22), MsgIcon::Exclamation,
                         MsgButtons::Ok, MsgAnswer::Ok);
        return false;
    }
    if (!InputFilespecOK(filespec)) {
        run_->refused = true;
        return false;
    }
    return run_->StartFromFile(filespec);
}

bool BatchInterpreter::StartLines(const QStringList& lines, const QString& name) {
    if (run_->running) {
        return false;
    }
    return run_->StartFromLines(lines, name);
}

bool BatchInterpreter::StartFile(const QString& path) {
    if (run_->running) {
        return false;
    }
    return run_->StartFromFile(path);
}

bool BatchInterpreter::RunSlice(std::chrono::microseconds slice) {
    return run_->Slice(slice);
}

void BatchInterpreter::RequestStop() {
    run_->RequestStop();
}
bool BatchInterpreter::Running() const {
    return run_->running;
}
int BatchInterpreter::ErrorCount() const {
    return run_->errorCount;
}
bool BatchInterpreter::Refused() const {
    return run_->refused;
}
bool BatchInterpreter::ErrorReported() const {
    return run_->ErrorReported();
}
bool BatchInterpreter::Stopped() const {
    return run_->stopped;
}

}  // namespace daybridge
