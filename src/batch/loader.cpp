// Starting a run: the file checks, reading, loading with its checks and the DOFOREACH
// rewriting, the procedure tables, and the verbose header.
#include "batch/batch_run.h"
#include "env/program_file.h"
#include "env/text_store.h"

namespace daybridge::batch {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

LineKind ClassifyLine(const QString& u) {
    if (u.isEmpty() || u.startsWith(QLatin1String("//"))) {
        return LineKind::Comment;
    }
    if (u == QLatin1String("STOP")) {
        return LineKind::Stop;
    }
    if (u == QLatin1String("SKIP")) {
        return LineKind::Skip;
    }
    if (u == QLatin1String("ENDSKIP")) {
        return LineKind::EndSkip;
    }
    if (u.startsWith(QLatin1String("FUNCTION "))) {
        return LineKind::Function;
    }
    if (u == QLatin1String("ENDFUNCTION")) {
        return LineKind::EndFunction;
    }
    if (u.startsWith(QLatin1String("SUB "))) {
        return LineKind::Sub;
    }
    if (u == QLatin1String("ENDSUB")) {
        return LineKind::EndSub;
    }
    if (u.startsWith(QLatin1String("CALL "))) {
        return LineKind::Call;
    }
    if (u.startsWith(QLatin1String("DO"))) {
        return LineKind::Do;
    }
    if (u == QLatin1String("EXITDO")) {
        return LineKind::ExitDo;
    }
    if (u == QLatin1String("ENDDO")) {
        return LineKind::EndDo;
    }
    if (u.startsWith(QLatin1String("IF"))) {
        return LineKind::If;
    }
    if (u.startsWith(QLatin1String("ELSEIF"))) {
        return LineKind::ElseIf;
    }
    if (u.startsWith(QLatin1String("ELSE"))) {
        return LineKind::Else;
    }
    if (u.startsWith(QLatin1String("ENDIF"))) {
        return LineKind::EndIf;
    }
    if (u.startsWith(QLatin1String("RETURN:"))) {
        return LineKind::Return;
    }
    if (u.startsWith(QLatin1String("OUTPUT:"))) {
        return LineKind::Output;
    }
    if (u.startsWith(QLatin1String("BL"))) {
        return LineKind::Blank;
    }
    if (u.startsWith(QLatin1String("ENDARRAY"))) {
        return LineKind::EndArray;
    }
    if (u.startsWith(QLatin1String("ARRAY"))) {
        return LineKind::Array;
    }
    return LineKind::Statement;
}

BatchRun::BatchRun(AppState& state, Host& host, ComputeEngine& engine)
    : state_(state), host_(host), engine_(engine), gathered_(state.output) {
    lines_.resize(1);
}

BatchRun::~BatchRun() {
    engine_.setBatchContext(nullptr);
}

bool BatchRun::StartFromFile(const QString& path) {
    running = false;
    refused = false;
    errorReported = false;
    errorCount = 0;
    // A program's rule files lie beside it.
    const qsizetype slash = path.lastIndexOf(u'/');
    programFolder_ = slash < 0 ? QString() : path.left(slash + 1);
    // The program is read once; the checks below look at these bytes only.
    const ProgramFile file = ReadProgramFile(path, kMaxProgramBytes, kLineEndingLimit);
    const auto refuse = [&](int textId) {
        refused = true;
        Box(T(kTextInputFileRefused), T(textId) + kCrLf + path);
        errorReported = false;
        return false;
    };
    switch (file.status) {
        case ProgramFileStatus::NotFound:
            refused = true;
            Box(state_.Caption(Caption::FileNotFound),
                state_.Caption(Caption::InputFileDoesNotExist));
            errorReported = false;
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
    state_.firstDateText.clear();
    state_.dateDiffText.clear();
    state_.secondDateText.clear();
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
    programFolder_.clear();
    running = false;
    refused = false;
    errorReported = false;
    errorCount = 0;
    state_.firstDateText.clear();
    state_.dateDiffText.clear();
    state_.secondDateText.clear();
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
        Box(T(38), T(37));
        return false;
    }
    // LF line ends are this platform's own and run without a word; CR-only files are
    // warned about and run.
    if (code == kEndingsMac) {
        Box(T(256), T(LineEndingWarningTextId(code)));
        errorReported = false;
    } else if (code != kEndingsAcceptable && code != kEndingsUnix) {
        refused = true;
        return false;
    }
    if (!BeginRun(name)) {
        return false;
    }
    if (!Load(SplitProgramLines(DecodeProgramText(bytes), kMaxStoredLines + 1)) ||
        !CollectProcedures(false) || !CollectProcedures(true)) {
        Finish();
        return false;
    }
    PrepareLines();
    ResetRunState();
    if (stopRequested_) {
        Finish();
        return false;
    }
    return true;
}

bool BatchRun::BeginRun(const QString& displayName) {
    state_.GetParameters();
    state_.batchRunning = true;
    stopRequested_ = false;
    stopped = false;
    ended_ = false;
    running = true;
    savedDateSeparator_ = state_.format.dateSeparator;
    savedThousandsSeparator_ = state_.format.thousandsSeparator;
    savedWorkdays_ = state_.workdays;
    RefreshFormat();
    engine_.setBatchContext(this);
    last_ = LastResult{};
    lastSettingsSummary_ = QStringLiteral("XXX");
    lines_.clear();
    lines_.resize(1);
    lineCount_ = 0;
    currentLine_ = 0;
    state_.output.clear();
    if (state_.snapshot.verbose) {
        state_.output.append(state_.Caption(Caption::InEffect) + QStringLiteral(": "));
        ShowSettingsSummary();
        state_.output.append(kCrLf + state_.Caption(Caption::InputFile) + QStringLiteral(": ") +
                             displayName + kCrLf);
        host_.outputChanged();
        state_.output.append(kCrLf);
    }
    host_.outputChanged();
    return true;
}

bool BatchRun::Load(const QStringList& fileLines) {
    lines_.clear();
    lines_.resize(1);
    lines_.reserve(static_cast<std::size_t>(std::min<qsizetype>(fileLines.size(), 40000)) + 8);
    forEachExpanded_ = false;
    forEachTexts_.clear();
    lineCount_ = 0;
    int fileLine = 0;
    auto store = [&](const QString& text, bool rewritten = false) -> bool {
        if (static_cast<int>(lines_.size()) - 1 >= kMaxStoredLines) {
            return false;
        }
        ProgramLine line;
        line.text = text;
        line.upper = UpperText(text);
        line.upper.replace(u'\t', u' ');  // keywords and names may be set apart by a tab
        line.stmt = StatementText(text);
        line.fileLine = fileLine;
        line.rewritten = rewritten;
        line.kind = ClassifyLine(line.upper);
        lines_.push_back(std::move(line));
        currentLine_ = static_cast<int>(lines_.size()) - 1;
        return true;
    };
    auto loadError = [&](const QString& message) {
        Box(T(21), message + QStringLiteral(" ") + T(59) + LineNumberText(fileLine) +
                       QStringLiteral(":") + kCrLf + lines_.back().text);
    };
    for (const QString& raw : fileLines) {
        ++fileLine;
        const QString text = TrimWhite(raw);
        if (!store(text)) {
            Box(T(21), state_.Caption(Caption::ProgramTooLong) + QStringLiteral(" ") + T(59) +
                           LineNumberText(fileLine) + QStringLiteral(":") + kCrLf + text);
            return false;
        }
        const QString& upper = lines_.back().upper;
        if (lines_.back().kind == LineKind::Comment) {
            continue;  // comments are never examined
        }
        if (upper.startsWith(QLatin1String("OUTPUT "))) {
            loadError(QStringLiteral("OUTPUT ") + T(64));
            return false;
        }
        if (!upper.startsWith(QLatin1String("OUTPUT")) && upper.endsWith(u';')) {
            loadError(T(73));
            return false;
        }
        if (upper.startsWith(QLatin1String("RETURN")) && (upper.size() < 7 || upper[6] != u':')) {
            loadError(QStringLiteral("RETURN ") + T(64));
            return false;
        }
        if (upper.startsWith(QLatin1String("DOFOREACH "))) {
            const auto rewritten = RewriteDoForEach(upper);
            if (!rewritten) {
                DoForEachSyntaxError();
                return false;
            }
            lines_.pop_back();
            forEachTexts_.insert(fileLine, text);
            for (const QString& part : *rewritten) {
                if (!store(part, true)) {
                    Box(T(21), state_.Caption(Caption::ProgramTooLong) + QStringLiteral(" ") +
                                   T(59) + LineNumberText(fileLine) + QStringLiteral(":") + kCrLf +
                                   text);
                    return false;
                }
            }
            forEachExpanded_ = true;
        }
    }
    lineCount_ = static_cast<int>(lines_.size()) - 1;
    currentLine_ = 0;
    std::vector<QString> upper(lines_.size());
    for (std::size_t i = 1; i < lines_.size(); ++i) {
        upper[i] = lines_[i].upper;
    }
    blocks_.Build(upper);
    return true;
}

bool BatchRun::CollectProcedures(bool subs) {
    QHash<QString, int>& table = subs ? subs_ : functions_;
    table.clear();
    const QLatin1String keyword = subs ? QLatin1String("SUB ") : QLatin1String("FUNCTION ");
    for (int i = 1; i <= lineCount_; ++i) {
        const ProgramLine& line = lines_[static_cast<std::size_t>(i)];
        if (!line.upper.startsWith(keyword)) {
            continue;
        }
        currentLine_ = i;
        const qsizetype paren = line.upper.indexOf(u'(');
        if (paren < 0) {
            MissingParenthesesError(line.text);
            currentLine_ = 0;
            return false;
        }
        const QString name =
            TrimWhite(QStringView(line.upper).mid(keyword.size() - 1, paren - keyword.size() + 1));
        if (table.contains(name)) {
            DuplicateError(subs, line.text);
            currentLine_ = 0;
            return false;
        }
        if (table.size() >= kMaxProcedures) {
            TooManyProceduresError();
            currentLine_ = 0;
            return false;
        }
        table.insert(name, i);
    }
    currentLine_ = 0;
    return true;
}

// Statement and OUTPUT: lines are prepared once the procedure tables are known (a value may
// call a FUNCTION).
void BatchRun::PrepareLines() {
    for (std::size_t i = 1; i < lines_.size(); ++i) {
        ProgramLine& line = lines_[i];
        line.fast = FastForm::None;
        switch (line.kind) {
            case LineKind::Statement: {
                PrepareStatement(line);
                const LineCache& c = *line.cache;
                const bool plainValue = c.literal.kind == LiteralKind::Value ||
                                        (c.literal.kind == LiteralKind::NotLiteral &&
                                         !c.valueIsToday && !c.valueCallsFunction);
                if (c.setting < 0 && c.assigns && c.targetForm == TargetForm::Name &&
                    !c.value.isEmpty() && plainValue) {
                    line.fast = FastForm::AssignValue;
                }
                break;
            }
            case LineKind::Output:
                PrepareOutput(line);
                if (line.cache->outputForm == OutputForm::Plain) {
                    line.fast = FastForm::OutputText;
                } else if (line.cache->outputForm == OutputForm::Builtin) {
                    line.fast = FastForm::OutputCall;
                }
                break;
            case LineKind::Comment:
                line.fast = FastForm::Comment;
                break;
            case LineKind::EndDo:
                line.fast = FastForm::EndDo;
                break;
            default:
                break;
        }
    }
}

void BatchRun::ResetRunState() {
    errorCount = 0;
    arrayMode_ = false;
    arrayCounter_ = 0;
    lastElementValue_ = 0;
    currentLine_ = 0;
    variables_.Clear();
    ifLevel_ = 0;
    doLevel_ = 0;
    callDepth_ = 0;
    frames_.fill(Frame{});
    ifTaken_.fill(false);
    doLoops_.fill(DoLoop{});
    functionReturned_ = false;
    calendarArgumentMissing = false;
    overflow = false;
    for (QString& f : fields_) {
        f.clear();
    }
}

int BatchRun::FileLineNumber(int index) const {
    if (index >= 1 && index < static_cast<int>(lines_.size())) {
        return lines_[static_cast<std::size_t>(index)].fileLine;
    }
    return index;
}

}  // namespace daybridge::batch
