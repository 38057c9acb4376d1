// Control flow: SKIP, DO/EXITDO/ENDDO, IF/ELSEIF/ELSE/ENDIF with their conditions,
// FUNCTION/SUB/CALL/RETURN: with call frames, and ARRAY blocks.
#include "batch/batch_run.h"

namespace daybridge::batch {

void BatchRun::PushFrame() {
    const auto d = static_cast<std::size_t>(callDepth_);
    frames_[d].savedCount = variables_.Count();
    frames_[d].savedDoLevel = doLevel_;
    frames_[d].savedIfLevel = ifLevel_;
}

void BatchRun::PopFrame() {
    const auto d = static_cast<std::size_t>(callDepth_);
    variables_.TruncateTo(frames_[d].savedCount);
    doLevel_ = frames_[d].savedDoLevel;
    ifLevel_ = frames_[d].savedIfLevel;
}

CallOutcome BatchRun::InvokeProcedure(const QString& callText, int argumentCount, bool isSub) {
    const std::array<QString, 4> args = SplitArguments(callText, argumentCount);
    std::array<std::int32_t, 4> values{};
    failure = EvalFailure::None;
    for (int i = 0; i < argumentCount && i < 4; ++i) {
        bool ok = true;
        values[static_cast<std::size_t>(i)] =
            EvaluateOperand(args[static_cast<std::size_t>(i)], *this, ok);
        if (!ok) {
            return CallOutcome::BadArgument;
        }
    }
    const qsizetype paren = callText.indexOf(u'(');
    const QString name = TrimWhite(QStringView(callText).left(paren));
    const int header = program_.ProcedureHeader(name, isSub);
    if (header < 1 || header > program_.Count()) {
        return CallOutcome::BadArgument;
    }
    const QString headerText =
        TrimWhite(QStringView(program_.Line(header).upper).mid(isSub ? 4 : 9));
    const int parameterCount = CountArguments(headerText);
    if (parameterCount != argumentCount) {
        report_.Arity(isSub, header);
        return CallOutcome::Reported;
    }
    if (callDepth_ >= kMaxCallDepth) {
        report_.Structural(Caption::CallsTooDeep);
        return CallOutcome::EndRun;
    }
    const std::array<QString, 4> parameters = SplitArguments(headerText, parameterCount);
    ++callDepth_;
    const auto d = static_cast<std::size_t>(callDepth_);
    frames_[d].returnLine = currentLine_;
    frames_[d].kind = isSub ? FrameKind::Sub : FrameKind::Function;
    frames_[d].returnPending = false;
    frames_[d].start = variables_.Count() + 1;
    for (int i = 0; i < parameterCount && i < 4; ++i) {
        if (variables_.Create(parameters[static_cast<std::size_t>(i)],
                              values[static_cast<std::size_t>(i)]) == kTableFull) {
            report_.FullTable();
            --callDepth_;
            PopFrame();
            return CallOutcome::Reported;
        }
    }
    currentLine_ = header;
    return CallOutcome::Entered;
}

Flow BatchRun::CallLine(const ProgramLine& line) {
    const QString text = TrimWhite(QStringView(line.upper).mid(4));
    if (!text.contains(u'(')) {
        report_.Raise(Fault::MissingParentheses);
        return Flow::CountError;
    }
    if (!program_.IsSubCall(text)) {
        report_.Raise(Fault::UnknownSub);
        return Flow::CountError;
    }
    const int n = CountArguments(text);
    if (n >= 5) {
        report_.Raise(Fault::TooManyArguments);
        return Flow::CountError;
    }
    PushFrame();
    switch (InvokeProcedure(text, n, true)) {
        case CallOutcome::Entered:
            return Flow::Next;
        case CallOutcome::EndRun:
            return Flow::End;
        case CallOutcome::BadArgument:
            report_.Evaluation();
            break;
        case CallOutcome::Reported:
            break;
    }
    return Flow::CountError;
}

Flow BatchRun::SkipBlock(BlockKeyword keyword) {
    const int end = program_.Blocks().FindBlockEnd(keyword, currentLine_);
    if (end < 0) {
        report_.Structural(Caption::BlockWithoutEnd);
        return Flow::End;
    }
    currentLine_ = end;
    return Flow::Next;
}

Flow BatchRun::EndFunctionLine() {
    const auto d = static_cast<std::size_t>(callDepth_);
    if (callDepth_ < 1 || frames_[d].kind != FrameKind::Function) {
        report_.Structural(Caption::EndOutsideCall);
        return Flow::End;
    }
    functionReturned_ = true;
    currentLine_ = frames_[d].returnLine - 1;
    return Flow::Next;
}

Flow BatchRun::EndSubLine() {
    const auto d = static_cast<std::size_t>(callDepth_);
    if (callDepth_ < 1 || frames_[d].kind != FrameKind::Sub) {
        report_.Structural(Caption::EndOutsideCall);
        return Flow::End;
    }
    currentLine_ = frames_[d].returnLine;
    --callDepth_;
    PopFrame();
    return Flow::Next;
}

Flow BatchRun::ReturnLine(const ProgramLine& line) {
    const ReturnStatement& c = line.As<ReturnStatement>();
    if (c.value.isEmpty()) {
        const int end = program_.Blocks().FindBlockEnd(BlockKeyword::Sub, currentLine_);
        if (end < 0) {
            report_.Structural(Caption::BlockWithoutEnd);
            return Flow::End;
        }
        currentLine_ = end - 1;
        return Flow::Next;
    }
    frames_[static_cast<std::size_t>(callDepth_)].returnPending = true;
    Flow flow = Flow::Next;
    std::int32_t value = 0;
    if (c.literal.kind == LiteralKind::Value) {
        value = c.literal.value;
    } else if (c.value == QLatin1String("RESULT")) {
        value = last_.Value();
    } else if (c.call.function != Builtin::None) {
        const auto failed = EvaluateBuiltin(c.call, value);
        if (failed) {
            if (*failed == StatementResult::EndRun) {
                return Flow::End;
            }
            value = 0;
            flow = Flow::CountError;
        }
    } else if (c.callsFunction) {
        report_.Raise(Fault::FunctionInReturn);
        flow = Flow::CountError;
    } else if (const int slot = FindVariable(c.value); slot >= 1) {
        value = variables_.Value(slot);
    } else {
        failure = EvalFailure::None;
        NoteFailure(HasLetter(c.value) ? EvalFailure::UnknownVariable : EvalFailure::NotAnInteger,
                    c.value);
        report_.Evaluation();
        flow = Flow::CountError;
    }
    frames_[static_cast<std::size_t>(callDepth_)].returnValue = value;
    const int end = program_.Blocks().FindBlockEnd(BlockKeyword::Function, currentLine_);
    if (end < 0) {
        report_.Raise(Fault::MissingEndFunction);
        return Flow::End;
    }
    currentLine_ = end - 1;
    return flow;
}

// ---- DO ----

Flow BatchRun::DoLine(const ProgramLine& line) {
    if (doLevel_ - FrameDoBase() >= kMaxNesting) {
        report_.Raise(Fault::DoTooDeep);
        return Flow::End;
    }
    ++doLevel_;
    std::int64_t count = -1;
    if (const DoStatement& c = line.As<DoStatement>(); !c.count.isEmpty()) {
        if (const int slot = FindVariable(c.count); slot >= 1) {
            count = variables_.Value(slot);
        } else if (c.call.function != Builtin::None) {
            overflow = false;
            bool ok = true;
            count = EvaluateNumber(c.call, *this, ok);
            if (!ok) {
                if (overflow) {
                    overflow = false;
                    report_.Raise(Fault::Overflow);
                } else if (c.count.startsWith(QLatin1String("COUNT"))) {
                    report_.Raise(Fault::CountFailed);
                } else {
                    report_.Evaluation();
                }
                return Flow::End;
            }
        } else {
            count = RoundToWhole(LeadingNumber(c.count));
        }
        if (count < -32768 || count > 32767) {
            report_.Raise(Fault::Overflow);
            return Flow::End;
        }
        if (count < 1) {
            report_.Raise(Fault::DoStructure);
            return Flow::End;
        }
    }
    const auto level = static_cast<std::size_t>(doLevel_);
    doLoops_[level].count = static_cast<int>(count);
    doLoops_[level].line = currentLine_;
    const int end = program_.Blocks().FindBlockEnd(BlockKeyword::Do, currentLine_);
    if (end < 0) {
        report_.Raise(Fault::DoStructure);
        return Flow::End;
    }
    doLoops_[level].endLine = end;
    return Flow::Next;
}

// A loop statement reaches only the loops of its own call frame.
Flow BatchRun::EndDoLine() {
    if (doLevel_ <= FrameDoBase()) {
        report_.Raise(Fault::DoStructure);
        return Flow::End;
    }
    const auto level = static_cast<std::size_t>(doLevel_);
    if (doLoops_[level].count != -1) {
        --doLoops_[level].count;
        if (doLoops_[level].count < 1) {
            --doLevel_;
            return Flow::Next;
        }
    }
    currentLine_ = doLoops_[level].line;
    return Flow::Next;
}

Flow BatchRun::ExitDoLine() {
    if (doLevel_ <= FrameDoBase()) {
        report_.Raise(Fault::DoStructure);
        return Flow::End;
    }
    const auto level = static_cast<std::size_t>(doLevel_);
    ifLevel_ -= program_.Blocks().CountIfBalance(currentLine_, doLoops_[level].endLine);
    ifLevel_ = std::clamp(ifLevel_, FrameIfBase(), kStackLevels);
    currentLine_ = doLoops_[level].endLine;
    --doLevel_;
    return Flow::Next;
}

// ---- IF ----

std::optional<bool> BatchRun::EvaluateCondition(const ConditionStatement& c) {
    bool result = false;
    switch (c.form) {
        case ConditionForm::DayOfWeekOrdered:
            report_.Raise(Fault::DowComparison);
            return std::nullopt;
        case ConditionForm::NoOperator:
            report_.Raise(Fault::NoOperator);
            return std::nullopt;
        case ConditionForm::DayOfWeek:
        case ConditionForm::TrueOrFalse: {
            bool ok = true;
            const std::int32_t v = EvaluateNumber(c.call, *this, ok);
            if (!ok) {
                report_.Evaluation();
                return std::nullopt;
            }
            if (c.form == ConditionForm::TrueOrFalse) {
                result = v == 1;
            } else {
                result = (UpperText(DayName(v)) == c.dayName) != c.dayNameUnequal;
            }
            break;
        }
        case ConditionForm::Comparison: {
            const auto left = ConditionOperand(c.left, c.leftCall);
            if (!left) {
                return std::nullopt;
            }
            const auto right = ConditionOperand(c.right, c.rightCall);
            if (!right) {
                return std::nullopt;
            }
            switch (c.compare) {
                case Comparison::Less:
                    result = *left < *right;
                    break;
                case Comparison::LessOrEqual:
                    result = *left <= *right;
                    break;
                case Comparison::Greater:
                    result = *left > *right;
                    break;
                case Comparison::GreaterOrEqual:
                    result = *left >= *right;
                    break;
                case Comparison::Equal:
                    result = *left == *right;
                    break;
                case Comparison::NotEqual:
                    result = *left != *right;
                    break;
            }
            break;
        }
    }
    return result != c.negate;
}

std::optional<std::int32_t> BatchRun::ConditionOperand(const QString& text,
                                                       const ParsedCall& call) {
    if (text == QLatin1String("RESULT")) {
        return last_.Value();
    }
    if (text == QLatin1String("TODAY")) {
        return host_.todayJdn();
    }
    if (const auto v = ReadVariableOrElement(text, *this)) {
        return v;
    }
    const Literal literal = ParseIntegerLiteral(text, true);
    if (literal.kind == LiteralKind::Value) {
        return literal.value;
    }
    if (call.function != Builtin::None) {
        std::int32_t value = 0;
        if (EvaluateBuiltin(call, value)) {
            return std::nullopt;
        }
        return value;
    }
    if (!HasLetter(text)) {
        report_.Raise(Fault::UnreadableValue);
        return std::nullopt;
    }
    const CodedParseResult date = ReadDateLiteral(text);
    if (date.parsed.outcome != ParseOutcome::Valid) {
        report_.ValueRead(date, text);
        return std::nullopt;
    }
    return date.parsed.jdn;
}

Flow BatchRun::IfLine(const ProgramLine& line, bool elseIf) {
    if (!elseIf) {
        if (ifLevel_ - FrameIfBase() >= kMaxNesting) {
            report_.IfTooDeep(ifLevel_ - FrameIfBase());
            return Flow::End;
        }
        ++ifLevel_;
    } else if (ifTaken_[static_cast<std::size_t>(ifLevel_)]) {
        const int end = program_.Blocks().FindEndIf(currentLine_);
        if (end < 0) {
            report_.Raise(Fault::IfStructure);
            return Flow::End;
        }
        currentLine_ = end - 1;
        return Flow::Next;
    }
    const std::optional<bool> holds = EvaluateCondition(line.As<ConditionStatement>());
    if (!holds) {
        return Flow::End;
    }
    ifTaken_[static_cast<std::size_t>(ifLevel_)] = *holds;
    if (*holds) {
        return Flow::Next;
    }
    bool isEndIf = false;
    const int found = program_.Blocks().FindNextBranch(currentLine_, isEndIf);
    if (found < 0) {
        report_.Raise(Fault::IfStructure);
        return Flow::End;
    }
    currentLine_ = found - 1;
    return Flow::Next;
}

Flow BatchRun::ElseLine() {
    if (!ifTaken_[static_cast<std::size_t>(ifLevel_)]) {
        return Flow::Next;
    }
    const int end = program_.Blocks().FindEndIf(currentLine_);
    if (end < 0) {
        report_.Raise(Fault::IfStructure);
        return Flow::End;
    }
    currentLine_ = end - 1;
    return Flow::Next;
}

Flow BatchRun::EndIfLine() {
    if (ifLevel_ <= FrameIfBase()) {
        report_.Raise(Fault::IfStructure);
        return Flow::End;
    }
    ifTaken_[static_cast<std::size_t>(ifLevel_)] = false;
    --ifLevel_;
    return Flow::Next;
}

// ---- ARRAY ----

Flow BatchRun::ArrayHeader(const ProgramLine& line) {
    if (arrayMode_) {
        report_.Raise(Fault::ArrayHeader);
        return Flow::End;
    }
    const QString text = TrimWhite(QStringView(line.upper).mid(5));
    if (text.isEmpty()) {
        report_.Raise(Fault::ArrayHeader);
        return Flow::End;
    }
    const qsizetype b1 = text.indexOf(u' ');
    const QString name = b1 < 0 ? text : text.left(b1);
    const QString rest = b1 < 0 ? QString() : TrimWhite(QStringView(text).mid(b1 + 1));
    const qsizetype b2 = rest.indexOf(u' ');
    QString code = b2 < 0 ? rest : rest.left(b2);
    const QString mask = b2 < 0 ? QString() : TrimWhite(QStringView(rest).mid(b2 + 1));
    if (code.isEmpty()) {
        code = QStringLiteral("CE");
    }
    if (FindVariable(name + QStringLiteral("[1]")) >= 1) {
        report_.Raise(Fault::ArrayRedefined);
        return Flow::CountError;
    }
    if (code == QLatin1String("NUM")) {
        code = QStringLiteral("JDN");
    }
    const std::optional<CalendarId> calendar = CalendarOfCode(code);
    if (!calendar) {
        report_.Raise(Fault::ArrayHeader);
        return Flow::CountError;
    }
    arrayMode_ = true;
    arrayName_ = name;
    arrayCalendar_ = *calendar;
    arrayMask_ = mask;
    arrayCounter_ = 0;
    return Flow::Next;
}

Flow BatchRun::ArrayElement(const ProgramLine& line) {
    ++arrayCounter_;
    const QString element =
        arrayName_ + QStringLiteral("[") + QString::number(arrayCounter_) + QStringLiteral("]");
    bool good = false;
    std::int32_t value = 0;
    if (arrayCalendar_ != kDayNumberCalendar) {
        // The element's date in the array's calendar: its own code may stand with it, another
        // calendar's may not.
        const QString date = ArrayElementDateText(line.text, arrayMask_);
        const ParseResult parsed = ParseDateInCalendar(arrayCalendar_, date, format_);
        good = parsed.outcome == ParseOutcome::Valid && !date.isEmpty();
        value = parsed.jdn;
    } else {
        const QString text = ApplyColumnMask(line.text, arrayMask_);
        const Literal literal = ParseIntegerLiteral(text, true);
        good = literal.kind == LiteralKind::Value;
        value = literal.value;
    }
    Flow flow = Flow::Next;
    if (good) {
        lastElementValue_ = value;
    } else {
        report_.Raise(Fault::ArrayElement);
        flow = Flow::CountError;
        value = lastElementValue_;
    }
    const int slot = FindVariable(element);
    if (slot == kTableFull || (slot == 0 && variables_.Create(element, value) == kTableFull)) {
        report_.FullTable();
        return Flow::CountError;
    }
    if (slot >= 1) {
        variables_.SetValue(slot, value);
    }
    return flow;
}

Flow BatchRun::EndArrayLine() {
    if (!arrayMode_) {
        report_.UnmatchedEnd(QStringLiteral("ARRAY"));
        return Flow::CountError;
    }
    arrayMode_ = false;
    return Flow::Next;
}

}  // namespace daybridge::batch
