// Loads and runs arbitrary batch programs. The input is split into lines; the lines after a
// line "----" are not part of the program but the answers to its input prompts, one each
// (after the last answer a prompt is cancelled). A run is bounded by a number of time slices,
// after which it is stopped; the output is taken and dropped as the command-line runner does.
#include <QCoreApplication>
#include <QRegularExpression>
#include <chrono>

#include "app/app_state.h"
#include "batch/batch_interpreter.h"
#include "compute/compute_engine.h"
#include "env/paths.h"
#include "env/text_store.h"
#include "fuzz_support.h"

namespace {

using namespace daybridge;

constexpr std::size_t kMaxInput = 16384;
constexpr int kMaxSlices = 20;
constexpr int kStopSlices = 50;
constexpr std::int32_t kToday = 2461381;  // Sunday 2026-12-06

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication* app = new QCoreApplication(*argc, *argv);
    (void)app;
    QString failure;
    // Without the text data file the messages are only shorter; the run is the same.
    LoadProgramText(FindDataFile(QString::fromLatin1(kTextDataFileName)), &failure);
    SetMainWindowReady(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput) {
        return 0;
    }
    const QString text = fuzz::Text(data, size);
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    QStringList answers;
    const qsizetype separator = lines.indexOf(QStringLiteral("----"));
    if (separator >= 0) {
        answers = lines.mid(separator + 1);
        lines = lines.first(separator);
    }

    AppState state;
    // Some runs go on after errors, some end at the first.
    state.settings.maxNumErrors = size % 3 == 0 ? 1 : 0;
    fuzz::FuzzHost host(kToday, answers, false);
    host.output().setStreaming(true);
    ComputeEngine engine(state);
    BatchInterpreter interpreter(state, host, engine);
    if (!interpreter.StartLines(lines, QStringLiteral("fuzz"))) {
        return 0;
    }
    const std::chrono::milliseconds slice(1);
    int slices = 0;
    while (interpreter.RunSlice(slice)) {
        host.output().takePending();
        if (++slices == kMaxSlices) {
            interpreter.RequestStop();
        }
        if (slices > kMaxSlices + kStopSlices) {
            __builtin_trap();  // a stop request must end the run after the current line
        }
    }
    host.output().takePending();
    return 0;
}
