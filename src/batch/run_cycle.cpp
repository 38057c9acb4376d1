// The run cycle: one line at a time in the dispatch order of the line forms, error counting,
// the error summary, stop requests and the end of a run; executed in time slices.
#include "batch/batch_run.h"

namespace daybridge::batch {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
constexpr int kLinesBetweenClockChecks = 256;
}  // namespace

bool BatchRun::Slice(std::chrono::microseconds slice) {
    if (!running) {
        return false;
    }
    if (inSlice_) {
        return true;  // a message box's event loop called back in: the outer slice goes on
    }
    inSlice_ = true;
    const auto deadline = std::chrono::steady_clock::now() + slice;
    int sinceCheck = 0;
    while (running) {
        // Lines on their fast forms neither report nor count errors nor reach the host, so the
        // checks that Step makes around each line hold for a whole row of them.
        if (!stopRequested_ && (state_.maxNumErrors == 0 || errorCount != state_.maxNumErrors)) {
            sinceCheck += RunFastLines(kLinesBetweenClockChecks - sinceCheck);
        }
        if (sinceCheck < kLinesBetweenClockChecks) {
            // A line that needs its full form, or the end of the run.
            if (!Step()) {
                break;
            }
            ++sinceCheck;
        }
        if (sinceCheck >= kLinesBetweenClockChecks) {
            sinceCheck = 0;
            if (std::chrono::steady_clock::now() >= deadline) {
                break;
            }
        }
    }
    inSlice_ = false;
    if (running) {
        FlushOutput();
        host_.outputChanged();
    }
    return running;
}

void BatchRun::RequestStop() {
    if (running) {
        stopRequested_ = true;
    }
}

// One cycle; false when the run has ended.
bool BatchRun::Step() {
    if (stopRequested_) {
        Finish();
        return false;
    }
    ++currentLine_;
    if (currentLine_ > program_.Count() || currentLine_ < 1) {
        Finish();
        return false;
    }
    const ProgramLine& line = program_.Line(currentLine_);
    Flow flow = Flow::Next;
    if (line.fast == FastForm::None || !FastLine(line)) {
        FlushOutput();  // what the line shows or reports comes after the gathered text
        flow = ExecuteLine(line);
    }
    if (flow == Flow::End) {
        Finish();
        return false;
    }
    if (flow == Flow::CountError && errorCount < std::numeric_limits<int>::max()) {
        ++errorCount;
    }
    if (state_.maxNumErrors != 0 && errorCount == state_.maxNumErrors) [[unlikely]] {
        ErrorLimitReached();
        return false;
    }
    if (stopRequested_) {
        Finish();
        return false;
    }
    return true;
}

// Runs the lines that follow on their fast forms, up to `limit` of them; the number run. Stops
// before a line without a fast form, or whose fast form fails (Step then runs it), and at the
// end of the program.
int BatchRun::RunFastLines(int limit) {
    int ran = 0;
    while (ran < limit) {
        const int next = currentLine_ + 1;
        if (next > program_.Count() || next < 1) {
            break;
        }
        const ProgramLine& line = program_.Line(next);
        if (line.fast == FastForm::None) {
            break;
        }
        currentLine_ = next;
        if (!FastLine(line)) {
            currentLine_ = next - 1;
            break;
        }
        ++ran;
    }
    return ran;
}

// A line's fast form: true when it was executed, false (with nothing changed that its full
// form would not change alike) when it needs its full form.
[[gnu::always_inline]] inline bool BatchRun::FastLine(const ProgramLine& line) {
    switch (line.fast) {
        case FastForm::None:
            return false;
        case FastForm::Comment:
            return true;
        case FastForm::EndDo:
            if (doLevel_ <= FrameDoBase()) {
                return false;
            }
            EndDoLine();
            return true;
        case FastForm::OutputText: {
            const OutputStatement& o = line.As<OutputStatement>();
            gathered_.Append(o.text);
            gathered_.Append(o.end);
            return true;
        }
        case FastForm::OutputCall: {
            const OutputStatement& o = line.As<OutputStatement>();
            overflow = false;
            bool ok = true;
            const ParsedCall& call = o.call;
            // DATEVAL( of a variable: its slot found as remembered, without the general reader.
            if (call.function == Builtin::DateVal &&
                call.firstArgument == ParsedCall::Named::Other && !call.args[1].isEmpty()) {
                const int slot =
                    variables_.Find(call.args[0], FrameStart(), call.firstArgumentSlot);
                if (slot >= 1) {
                    const std::int32_t value = variables_.Value(slot);
                    static_assert(kIsoDateValRoom <= OutputGather::kRoomLength);
                    const int length =
                        WriteIsoDateVal(call, value, *this, o.end,
                                        gathered_.Room(static_cast<std::size_t>(kIsoDateValRoom)));
                    if (length > 0) {
                        gathered_.Commit(static_cast<std::size_t>(length));
                        return true;
                    }
                    callText_.resize(0);
                    if (!AppendDateValOfSlot(call, value, *this, o.end, callText_)) {
                        return false;
                    }
                    gathered_.Append(callText_);
                    return true;
                }
            }
            callText_.resize(0);
            AppendEvaluatedText(call, *this, ok, callText_);
            if (!ok) {
                return false;
            }
            gathered_.Append(callText_);
            gathered_.Append(o.end);
            return true;
        }
        case FastForm::AssignValue: {
            AssignStatement& c = line.As<AssignStatement>();
            if (arrayMode_ || c.targetReserved) {
                return false;
            }
            std::int32_t value = c.literal.value;
            if (c.literal.kind != LiteralKind::Value) {
                const int from = variables_.Find(c.value, FrameStart(), c.valueSlot);
                if (from < 1) {
                    return false;
                }
                value = variables_.Value(from);
            }
            const int slot = variables_.Find(c.target, FrameStart(), c.targetSlot);
            if (slot < 1) {
                return false;
            }
            const std::optional<std::int32_t> result =
                AssignedResult(c.op, variables_.Value(slot), value);
            if (!result) {
                return false;
            }
            variables_.SetValue(slot, *result);
            return true;
        }
    }
    return true;
}

// The run ends at the error limit with a note of the count.
void BatchRun::ErrorLimitReached() {
    FlushOutput();
    QString message =
        QString::number(errorCount) + QStringLiteral(" ") + report_.T(errorCount == 1 ? 21 : 8);
    if (state_.language == kEnglish) {
        message = message.toLower();
    }
    message += QStringLiteral(", ") + report_.T(10);
    if (state_.maxNumErrors > 1) {
        host_.outputChanged();
        host_.messageBox(report_.T(1), message, MsgIcon::None, MsgButtons::Ok, MsgAnswer::Ok);
    }
    state_.output.append(kCrLf + message + kCrLf);
    Finish();
}

void BatchRun::Finish() {
    FlushOutput();
    if (!running) {
        return;
    }
    stopped = stopRequested_;
    if (stopRequested_) {
        state_.output.append(kCrLf + state_.Caption(Caption::ProcessingStopped) + kCrLf);
    }
    running = false;
    stopRequested_ = false;
    state_.batchRunning = false;
    state_.format.dateSeparator = savedDateSeparator_;
    state_.format.thousandsSeparator = savedThousandsSeparator_;
    state_.workdays = savedWorkdays_;
    engine_.setBatchContext(nullptr);
    host_.outputChanged();
    host_.optionsChanged();
    if (state_.autoEnlargeBytes != kAutoEnlargeNever &&
        state_.output.length() > state_.autoEnlargeBytes) {
        host_.enlargeOutput();
    }
}

Flow BatchRun::ExecuteLine(const ProgramLine& line) {
    switch (line.kind) {
        case LineKind::Comment:
            return Flow::Next;
        case LineKind::Stop:
            return Flow::End;
        case LineKind::Skip:
            return SkipBlock(BlockKeyword::Skip);
        case LineKind::EndSkip:
            report_.UnmatchedEnd(QStringLiteral("SKIP"));
            return Flow::Next;
        case LineKind::Function:
            return SkipBlock(BlockKeyword::Function);
        case LineKind::EndFunction:
            return EndFunctionLine();
        case LineKind::Sub:
            return SkipBlock(BlockKeyword::Sub);
        case LineKind::EndSub:
            return EndSubLine();
        case LineKind::Call:
            return CallLine(line);
        case LineKind::Do:
            return DoLine(line);
        case LineKind::ExitDo:
            return ExitDoLine();
        case LineKind::EndDo:
            return EndDoLine();
        case LineKind::If:
            return IfLine(line, false);
        case LineKind::ElseIf:
            return IfLine(line, true);
        case LineKind::Else:
            return ElseLine();
        case LineKind::EndIf:
            return EndIfLine();
        case LineKind::Return:
            return ReturnLine(line);
        case LineKind::Output:
            return OutputLine(line);
        case LineKind::Blank:
            state_.output.append(kCrLf);
            return Flow::Next;
        case LineKind::EndArray:
            return EndArrayLine();
        case LineKind::Array:
            return ArrayHeader(line);
        case LineKind::Statement:
            return arrayMode_ ? ArrayElement(line) : StatementLine(line);
    }
    return Flow::Next;
}

int BatchRun::FindVariable(const QString& upperName) const {
    return variables_.Find(upperName, FrameStart());
}

std::optional<std::int32_t> BatchRun::LookupVariable(const QString& upperName) const {
    const int slot = FindVariable(upperName);
    if (slot >= 1) {
        return variables_.Value(slot);
    }
    return std::nullopt;
}

std::optional<std::int32_t> BatchRun::LookupRemembered(const QString& upperName,
                                                       SlotMemo& memo) const {
    const int slot = variables_.Find(upperName, FrameStart(), memo);
    if (slot >= 1) {
        return variables_.Value(slot);
    }
    return std::nullopt;
}

std::optional<int> BatchRun::CountArray(const QString& upperName) const {
    const int first = FindVariable(upperName + QStringLiteral("[1]"));
    if (first < 1) {
        return std::nullopt;
    }
    const QString prefix = upperName + QStringLiteral("[");
    int n = 0;
    for (int slot = first; slot <= variables_.Count() && variables_.Name(slot).startsWith(prefix);
         ++slot) {
        ++n;
    }
    return n;
}

std::int32_t BatchRun::TodayJdn() const {
    return host_.todayJdn();
}

const TextFormat& BatchRun::Format() const {
    return format_;
}

QString BatchRun::Text(int id) const {
    return state_.Text(id);
}

std::optional<std::int32_t> BatchRun::VariableValue(const QString& name) const {
    return LookupVariable(UpperText(TrimWhite(name)));
}

int BatchRun::FileLineNumber() const {
    return program_.FileLineNumber(currentLine_);
}

QString BatchRun::CurrentLineText() const {
    return report_.LineText();
}

}  // namespace daybridge::batch
