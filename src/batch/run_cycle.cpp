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
        if (!stopRequested_ &&
            (state_.settings.maxNumErrors == 0 || errorCount != state_.settings.maxNumErrors)) {
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
        gathered_.Flush();
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
        gathered_.Flush();  // what the line shows or reports comes after the gathered text
        flow = ExecuteLine(line);
    }
    if (flow == Flow::End) {
        Finish();
        return false;
    }
    if (flow == Flow::CountError && errorCount < std::numeric_limits<int>::max()) {
        ++errorCount;
    }
    if (state_.settings.maxNumErrors != 0 && errorCount == state_.settings.maxNumErrors)
        [[unlikely]] {
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

// OUTPUT of a built-in's value (DATEVAL( of a variable written straight into the gathered
// output); false when its full form must run.
[[gnu::always_inline]] inline bool BatchRun::FastOutputCall(const OutputStatement& o) {
    scope_.overflow = false;
    bool ok = true;
    const ParsedCall& call = o.call;
    // DATEVAL( of a variable: its slot found as remembered, without the general reader.
    if (call.function == Builtin::DateVal && call.firstArgument == ParsedCall::Named::Other &&
        !call.args[1].isEmpty()) {
        const int slot =
            scope_.variables.Find(call.args[0], stack_.FrameStart(), call.firstArgumentSlot);
        if (slot >= 1) {
            const std::int32_t value = scope_.variables.Value(slot);
            static_assert(kIsoDateValRoom <= OutputGather::kRoomLength);
            const int length =
                WriteIsoDateVal(call, value, scope_, o.end,
                                gathered_.Room(static_cast<std::size_t>(kIsoDateValRoom)));
            if (length > 0) {
                gathered_.Commit(static_cast<std::size_t>(length));
                return true;
            }
            callText_.resize(0);
            if (!AppendDateValOfSlot(call, value, scope_, o.end, callText_)) {
                return false;
            }
            gathered_.Append(callText_);
            return true;
        }
    }
    callText_.resize(0);
    AppendEvaluatedText(call, scope_, ok, callText_);
    if (!ok) {
        return false;
    }
    gathered_.Append(callText_);
    gathered_.Append(o.end);
    return true;
}

// An assignment of a number or a variable to a variable; false when its full form must run.
[[gnu::always_inline]] inline bool BatchRun::FastAssign(AssignStatement& c) {
    if (array_.Active() || c.targetReserved) {
        return false;
    }
    std::int32_t value = c.literal.value;
    if (c.literal.kind != LiteralKind::Value) {
        const int from = scope_.variables.Find(c.value, stack_.FrameStart(), c.valueSlot);
        if (from < 1) {
            return false;
        }
        value = scope_.variables.Value(from);
    }
    const int slot = scope_.variables.Find(c.target, stack_.FrameStart(), c.targetSlot);
    if (slot < 1) {
        return false;
    }
    const std::optional<std::int32_t> result =
        AssignedResult(c.op, scope_.variables.Value(slot), value);
    if (!result) {
        return false;
    }
    scope_.variables.SetValue(slot, *result);
    return true;
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
            if (stack_.doLevel <= stack_.DoBase()) {
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
        case FastForm::OutputCall:
            return FastOutputCall(line.As<OutputStatement>());
        case FastForm::AssignValue:
            return FastAssign(line.As<AssignStatement>());
    }
    return true;
}

// The run ends at the error limit with a note of the count.
void BatchRun::ErrorLimitReached() {
    gathered_.Flush();
    QString message =
        QString::number(errorCount) + QStringLiteral(" ") + report_.T(errorCount == 1 ? 21 : 8);
    if (state_.settings.language != kGerman) {  // only German capitalises the noun
        message = message.toLower();
    }
    message += QStringLiteral(", ") + report_.T(10);
    if (state_.settings.maxNumErrors > 1) {
        host_.outputChanged();
        host_.messageBox(report_.T(1), message, MsgIcon::None, MsgButtons::Ok, MsgAnswer::Ok);
    }
    output_.append(kCrLf + message + kCrLf);
    Finish();
}

void BatchRun::Finish() {
    gathered_.Flush();
    if (!running) {
        return;
    }
    stopped = stopRequested_;
    if (stopRequested_) {
        output_.append(kCrLf + state_.settings.Caption(Caption::ProcessingStopped) + kCrLf);
    }
    running = false;
    stopRequested_ = false;
    state_.session.batchRunning = false;
    settings_.End();
    engine_.setBatchContext(nullptr);
    host_.outputChanged();
    host_.optionsChanged();
    if (state_.settings.autoEnlargeBytes != kAutoEnlargeNever &&
        output_.length() > state_.settings.autoEnlargeBytes) {
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
            output_.append(kCrLf);
            return Flow::Next;
        case LineKind::EndArray:
            return array_.End(report_);
        case LineKind::Array:
            return array_.Header(line, scope_, report_);
        case LineKind::Statement:
            return array_.Active() ? array_.Element(line, scope_, report_) : StatementLine(line);
    }
    return Flow::Next;
}

}  // namespace daybridge::batch
