// Starting a run: the file checks, reading, loading, and the verbose header.
#include "batch/batch_run.h"
#include "env/program_file.h"
#include "env/text_store.h"

namespace daybridge::batch {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

BatchRun::BatchRun(AppState& state, Host& host, ComputeEngine& engine)
    : state_(state),
      host_(host),
      output_(host.output()),
      engine_(engine),
      settings_(state, output_, report_),
      scope_(state, host, stack_, settings_.Format()),
      report_(state, host, program_, currentLine_, scope_),
      gathered_(host.output()) {
    stack_.Reset();
}

BatchRun::~BatchRun() {
    engine_.setBatchContext(nullptr);
}

bool BatchRun::StartFromFile(const QString& path) {
    running = false;
    refused = false;
    report_.errorReported = false;
    errorCount = 0;
    // A program's rule files lie beside it.
    const qsizetype slash = path.lastIndexOf(u'/');
    settings_.folder = slash < 0 ? QString() : path.left(slash + 1);
    // The program is read once; the checks below look at these bytes only.
    const ProgramFile file = ReadProgramFile(path, kMaxProgramBytes, kLineEndingLimit);
    const auto refuse = [&](int textId) {
        refused = true;
        report_.Box(report_.T(kTextInputFileRefused), report_.T(textId) + kCrLf + path);
        report_.errorReported = false;
        return false;
    };
    switch (file.status) {
        case ProgramFileStatus::NotFound:
            refused = true;
            report_.Box(state_.settings.Caption(Caption::FileNotFound),
                        state_.settings.Caption(Caption::InputFileDoesNotExist));
            report_.errorReported = false;
            return false;
        case ProgramFileStatus::Folder:
            return refuse(kTextInputFileIsFolder);
        case ProgramFileStatus::Device:
            return refuse(kTextInputFileIsDevice);
        case ProgramFileStatus::Unreadable:
            return refuse(kTextInputFileUnreadable);
        case ProgramFileStatus::TooLarge:
            return refuse(kTextInputFileTooLarge);
        case ProgramFileStatus::Interrupted:  // a stop asked for while the program was read
            refused = true;
            return false;
        case ProgramFileStatus::ControlChar:
        case ProgramFileStatus::Read:
            break;
    }
    state_.session.firstDateText.clear();
    state_.session.dateDiffText.clear();
    state_.session.secondDateText.clear();
    host_.fieldsChanged();

    const int code = file.status == ProgramFileStatus::ControlChar
                         ? kEndingsControlChar
                         : CheckLineEndings(file.bytes, kLineEndingLimit);
    if (code == kEndingsEmpty) {
        refused = true;
        return false;
    }
    const QString name =
        path == QLatin1String(kStandardInputName) ? QStringLiteral("(standard input)") : path;
    return CheckAndLoadBytes(file.bytes, code, name);
}

bool BatchRun::StartFromLines(const QStringList& lines, const QString& name) {
    settings_.folder.clear();
    running = false;
    refused = false;
    report_.errorReported = false;
    errorCount = 0;
    state_.session.firstDateText.clear();
    state_.session.dateDiffText.clear();
    state_.session.secondDateText.clear();
    host_.fieldsChanged();
    // Control characters are refused as in a file; the lines have no line ends of their own.
    const QByteArray bytes = lines.join(QStringLiteral("\r\n")).toUtf8();
    int code = CheckLineEndings(bytes, kLineEndingLimit);
    if (code != kEndingsControlChar) {
        code = kEndingsAcceptable;
    }
    return CheckAndLoadBytes(bytes, code, name);
}

bool BatchRun::CheckAndLoadBytes(const QByteArray& bytes, int code, const QString& name) {
    if (code == kEndingsControlChar) {
        refused = true;
        report_.Box(report_.T(38), report_.T(37));
        return false;
    }
    // LF line ends are this platform's own and run without a word; CR-only files are
    // warned about and run.
    if (code == kEndingsMac) {
        report_.Box(report_.T(256), report_.T(LineEndingWarningTextId(code)));
        report_.errorReported = false;
    } else if (code != kEndingsAcceptable && code != kEndingsUnix) {
        refused = true;
        return false;
    }
    if (!BeginRun(name)) {
        return false;
    }
    if (!program_.Load(SplitProgramLines(DecodeProgramText(bytes), kMaxStoredLines + 1), report_,
                       currentLine_) ||
        !program_.CollectProcedures(report_, currentLine_)) {
        Finish();
        return false;
    }
    program_.Prepare();
    ResetRunState();
    if (stopRequested_) {
        Finish();
        return false;
    }
    return true;
}

bool BatchRun::BeginRun(const QString& displayName) {
    state_.GetParameters();
    state_.session.batchRunning = true;
    stopRequested_ = false;
    stopped = false;
    ended_ = false;
    running = true;
    settings_.Begin();
    engine_.setBatchContext(&scope_);
    scope_.last = LastResult{};
    program_.Clear();
    currentLine_ = 0;
    output_.clear();
    if (state_.session.snapshot.verbose) {
        output_.append(state_.settings.Caption(Caption::InEffect) + QStringLiteral(": "));
        settings_.ShowSummary();
        output_.append(kCrLf + state_.settings.Caption(Caption::InputFile) + QStringLiteral(": ") +
                       displayName + kCrLf);
        host_.outputChanged();
        output_.append(kCrLf);
    }
    host_.outputChanged();
    return true;
}

void BatchRun::ResetRunState() {
    errorCount = 0;
    array_.Reset();
    currentLine_ = 0;
    scope_.variables.Clear();
    stack_.Reset();
    functionReturned_ = false;
    scope_.calendarArgumentMissing = false;
    scope_.overflow = false;
    for (QString& f : fields_) {
        f.clear();
    }
}

}  // namespace daybridge::batch
