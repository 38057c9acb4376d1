#include "batch/batch_interpreter.h"

namespace daybridge {

class BatchRun {
public:
    bool running = false;
    int errorCount = 0;
    bool refused = false;
    bool stopRequested = false;
};

BatchInterpreter::BatchInterpreter(AppState& state, Host& host, ComputeEngine& engine)
    : state_(state), host_(host), engine_(engine), run_(std::make_unique<BatchRun>()) {}

BatchInterpreter::~BatchInterpreter() = default;

bool BatchInterpreter::ProcessBatchFile() {
    if (run_->running) {
        RequestStop();
    }
    return false;
}

bool BatchInterpreter::StartLines(const QStringList& lines, const QString& name) {
    Q_UNUSED(lines);
    Q_UNUSED(name);
    return false;
}

bool BatchInterpreter::StartFile(const QString& path) {
    Q_UNUSED(path);
    return false;
}

bool BatchInterpreter::RunSlice(std::chrono::milliseconds slice) {
    Q_UNUSED(slice);
    return false;
}

void BatchInterpreter::RequestStop() { run_->stopRequested = true; }
bool BatchInterpreter::Running() const { return run_->running; }
int BatchInterpreter::ErrorCount() const { return run_->errorCount; }
bool BatchInterpreter::Refused() const { return run_->refused; }

}  // namespace daybridge
