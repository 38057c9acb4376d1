// Control flow: SKIP, DO/EXITDO/ENDDO, IF/ELSEIF/ELSE/ENDIF with their conditions,
// FUNCTION/SUB/CALL/RETURN: with call frames, and ARRAY blocks.
#include "batch/batch_run.h"

namespace daybridge::batch {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

QString WithoutSpaces(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c != u' ') {
            out.append(c);
        }
    }
    return out;
}
}  // namespace

// ---- procedures ----

bool BatchRun::IsFunctionCall(const QString& upperText) const {
    const qsizetype paren = upperText.indexOf(u'(');
    return paren >= 0 && functions_.contains(TrimWhite(QStringView(upperText).left(paren)));
}

bool BatchRun::IsSubCall(const QString& upperText) const {
    const qsizetype paren = upperText.indexOf(u'(');
    return paren >= 0 && subs_.contains(TrimWhite(QStringView(upperText).left(paren)));
}

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
    const int header = (isSub ? subs_ : functions_).value(name, 0);
    if (header < 1 || header > lineCount_) {
        return CallOutcome::BadArgument;
    }
    const QString headerText =
        TrimWhite(QStringView(lines_[static_cast<std::size_t>(header)].upper).mid(isSub ? 4 : 9));
    const int parameterCount = CountArguments(headerText);
    if (parameterCount != argumentCount) {
        ArityError(isSub, header);
        return CallOutcome::Reported;
    }
    if (callDepth_ >= kMaxCallDepth) {
        StructuralError(Caption::CallsTooDeep);
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
            FullTableBox();
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
        MissingParenthesesError(L());
        return Flow::CountError;
    }
    if (!IsSubCall(text)) {
        UnknownSubError();
        return Flow::CountError;
    }
    const int n = CountArguments(text);
    if (n >= 5) {
        TooManyArgumentsError();
        return Flow::CountError;
    }
    PushFrame();
    switch (InvokeProcedure(text, n, true)) {
        case CallOutcome::Entered:
            return Flow::Next;
        case CallOutcome::EndRun:
            return Flow::End;
        case CallOutcome::BadArgument:
            EvaluationError();
            break;
        case CallOutcome::Reported:
            break;
    }
    return Flow::CountError;
}

Flow BatchRun::SkipBlock(BlockKeyword keyword, const QString& /*name*/) {
    const int end = blocks_.FindBlockEnd(keyword, currentLine_);
    if (end < 0) {
        StructuralError(Caption::BlockWithoutEnd);
        return Flow::End;
    }
    currentLine_ = end;
    return Flow::Next;
}

Flow BatchRun::EndFunctionLine() {
    const auto d = static_cast<std::size_t>(callDepth_);
    if (callDepth_ < 1 || frames_[d].kind != FrameKind::Function) {
        StructuralError(Caption::EndOutsideCall);
        return Flow::End;
    }
    functionReturned_ = true;
    currentLine_ = frames_[d].returnLine - 1;
    return Flow::Next;
}

Flow BatchRun::EndSubLine() {
    const auto d = static_cast<std::size_t>(callDepth_);
    if (callDepth_ < 1 || frames_[d].kind != FrameKind::Sub) {
        StructuralError(Caption::EndOutsideCall);
        return Flow::End;
    }
    currentLine_ = frames_[d].returnLine;
    --callDepth_;
    PopFrame();
    return Flow::Next;
}

Flow BatchRun::ReturnLine(const ProgramLine& line) {
    LineCache& c = Cache(line);
    if (!c.prepared) {
        c.prepared = true;
        c.value = TrimWhite(QStringView(line.upper).mid(7));
        c.literal = ParseIntegerLiteral(c.value, false);
        if (RecognizeBuiltin(c.value) != Builtin::None) {
            c.call = ParseCall(c.value);
        }
    }
    if (c.value.isEmpty()) {
        const int end = blocks_.FindBlockEnd(BlockKeyword::Sub, currentLine_);
        if (end < 0) {
            StructuralError(Caption::BlockWithoutEnd);
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
    } else if (IsFunctionCall(c.value)) {
        FunctionInReturnError();
        flow = Flow::CountError;
    } else if (const int slot = FindVariable(c.value); slot >= 1) {
        value = variables_.Value(slot);
    } else {
        failure = EvalFailure::None;
        NoteFailure(HasLetter(c.value) ? EvalFailure::UnknownVariable : EvalFailure::NotAnInteger,
                    c.value);
        EvaluationError();
        flow = Flow::CountError;
    }
    frames_[static_cast<std::size_t>(callDepth_)].returnValue = value;
    const int end = blocks_.FindBlockEnd(BlockKeyword::Function, currentLine_);
    if (end < 0) {
        MissingEndFunctionError();
        return Flow::End;
    }
    currentLine_ = end - 1;
    return flow;
}

// ---- DO ----

Flow BatchRun::DoLine(const ProgramLine& line) {
    if (doLevel_ - FrameDoBase() >= kMaxNesting) {
        Report(T(21), FrameC(31, L()));
        return Flow::End;
    }
    ++doLevel_;
    std::int64_t count = -1;
    if (line.upper != QLatin1String("DO")) {
        LineCache& c = Cache(line);
        if (!c.prepared) {
            c.prepared = true;
            c.value = TrimWhite(QStringView(line.upper).mid(2));
            if (RecognizeBuiltin(c.value) != Builtin::None) {
                c.call = ParseCall(c.value);
            }
        }
        if (const int slot = FindVariable(c.value); slot >= 1) {
            count = variables_.Value(slot);
        } else if (c.call.function != Builtin::None) {
            overflow = false;
            bool ok = true;
            count = EvaluateNumber(c.call, *this, ok);
            if (!ok) {
                if (overflow) {
                    overflow = false;
                    OverflowError();
                } else if (c.value.startsWith(QLatin1String("COUNT"))) {
                    CountFailedError();
                } else {
                    EvaluationError();
                }
                return Flow::End;
            }
        } else {
            count = RoundToWhole(LeadingNumber(c.value));
        }
        if (count < -32768 || count > 32767) {
            OverflowError();
            return Flow::End;
        }
        if (count < 1) {
            DoStructureError();
            return Flow::End;
        }
    }
    const auto level = static_cast<std::size_t>(doLevel_);
    doLoops_[level].count = static_cast<int>(count);
    doLoops_[level].line = currentLine_;
    const int end = blocks_.FindBlockEnd(BlockKeyword::Do, currentLine_);
    if (end < 0) {
        DoStructureError();
        return Flow::End;
    }
    doLoops_[level].endLine = end;
    return Flow::Next;
}

// A loop statement reaches only the loops of its own call frame.
Flow BatchRun::EndDoLine() {
    if (doLevel_ <= FrameDoBase()) {
        DoStructureError();
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
        DoStructureError();
        return Flow::End;
    }
    const auto level = static_cast<std::size_t>(doLevel_);
    ifLevel_ -= blocks_.CountIfBalance(currentLine_, doLoops_[level].endLine);
    ifLevel_ = std::clamp(ifLevel_, FrameIfBase(), kStackLevels);
    currentLine_ = doLoops_[level].endLine;
    --doLevel_;
    return Flow::Next;
}

// ---- IF ----

std::optional<bool> BatchRun::EvaluateCondition(const ProgramLine& line) {
    LineCache& c = Cache(line);
    if (!c.prepared) {
        c.prepared = true;
        QString rest = WithoutSpaces(line.upper);
        if (rest.startsWith(QLatin1String("IFNOT"))) {
            rest.remove(0, 5);
            c.negate = true;
        } else if (rest.startsWith(QLatin1String("IF"))) {
            rest.remove(0, 2);
        } else if (rest.startsWith(QLatin1String("ELSEIFNOT"))) {
            rest.remove(0, 9);
            c.negate = true;
        } else if (rest.startsWith(QLatin1String("ELSEIF"))) {
            rest.remove(0, 6);
        }
        if (rest.endsWith(QLatin1String("THEN"))) {
            rest.chop(4);
            rest = TrimWhite(rest);
        }
        if (rest.startsWith(QLatin1String("DOW("))) {
            c.condForm = ConditionForm::DayOfWeek;
            if (rest.contains(u'<') || rest.contains(u'>')) {
                c.condForm = ConditionForm::DayOfWeekOrdered;  // reported on execution
            } else {
                c.literal.kind = LiteralKind::NotLiteral;
                c.literal.value = rest.contains(u'!') ? 1 : 0;
                rest.remove(u'!');
                c.call = ParseCall(rest);
                const qsizetype at = rest.indexOf(QLatin1String(")="));
                c.dayName = at < 0 ? QString() : rest.mid(at + 2);
            }
        } else if (rest.startsWith(QLatin1String("ISLEAPYEAR(")) ||
                   rest.startsWith(QLatin1String("ISINSHORTHEXADE("))) {
            c.condForm = ConditionForm::TrueOrFalse;
            c.call = ParseCall(rest);
        } else {
            c.condForm = ConditionForm::NoOperator;
            for (qsizetype i = 1; i < rest.size(); ++i) {
                const QChar ch = rest[i];
                const bool nextIsEq = i + 1 < rest.size() && rest[i + 1] == u'=';
                int width = 0;
                if (ch == u'<') {
                    c.compare = nextIsEq ? Comparison::LessOrEqual : Comparison::Less;
                    width = nextIsEq ? 2 : 1;
                } else if (ch == u'>') {
                    c.compare = nextIsEq ? Comparison::GreaterOrEqual : Comparison::Greater;
                    width = nextIsEq ? 2 : 1;
                } else if (ch == u'=') {
                    c.compare = Comparison::Equal;
                    width = 1;
                } else if (ch == u'!' && nextIsEq) {
                    c.compare = Comparison::NotEqual;
                    width = 2;
                }
                if (width > 0) {
                    c.condForm = ConditionForm::Comparison;
                    c.left = rest.left(i);
                    c.right = rest.mid(i + width);
                    if (RecognizeBuiltin(c.left) != Builtin::None) {
                        c.leftCall = ParseCall(c.left);
                    }
                    if (RecognizeBuiltin(c.right) != Builtin::None) {
                        c.rightCall = ParseCall(c.right);
                    }
                    break;
                }
            }
        }
    }

    bool result = false;
    switch (c.condForm) {
        case ConditionForm::DayOfWeekOrdered:
            DowComparisonError();
            return std::nullopt;
        case ConditionForm::NoOperator:
            Report(T(21), FrameC(49, L()));
            return std::nullopt;
        case ConditionForm::DayOfWeek:
        case ConditionForm::TrueOrFalse: {
            bool ok = true;
            const std::int32_t v = EvaluateNumber(c.call, *this, ok);
            if (!ok) {
                EvaluationError();
                return std::nullopt;
            }
            if (c.condForm == ConditionForm::TrueOrFalse) {
                result = v == 1;
            } else {
                // "DOW(X)!=NAME" is marked by literal.value 1.
                result = (UpperText(DayName(v)) == c.dayName) != (c.literal.value == 1);
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
        UnreadableValueError();
        return std::nullopt;
    }
    const CodedParseResult date = ReadDateLiteral(text);
    if (date.parsed.outcome != ParseOutcome::Valid) {
        ValueReadError(date, text);
        return std::nullopt;
    }
    return date.parsed.jdn;
}

Flow BatchRun::IfLine(const ProgramLine& line, bool elseIf) {
    if (!elseIf) {
        if (ifLevel_ - FrameIfBase() >= kMaxNesting) {
            IfTooDeepError();
            return Flow::End;
        }
        ++ifLevel_;
    } else if (ifTaken_[static_cast<std::size_t>(ifLevel_)]) {
        const int end = blocks_.FindEndIf(currentLine_);
        if (end < 0) {
            IfStructureError();
            return Flow::End;
        }
        currentLine_ = end - 1;
        return Flow::Next;
    }
    const std::optional<bool> holds = EvaluateCondition(line);
    if (!holds) {
        return Flow::End;
    }
    ifTaken_[static_cast<std::size_t>(ifLevel_)] = *holds;
    if (*holds) {
        return Flow::Next;
    }
    bool isEndIf = false;
    const int found = blocks_.FindNextBranch(currentLine_, isEndIf);
    if (found < 0) {
        IfStructureError();
        return Flow::End;
    }
    currentLine_ = found - 1;
    return Flow::Next;
}

Flow BatchRun::ElseLine() {
    if (!ifTaken_[static_cast<std::size_t>(ifLevel_)]) {
        return Flow::Next;
    }
    const int end = blocks_.FindEndIf(currentLine_);
    if (end < 0) {
        IfStructureError();
        return Flow::End;
    }
    currentLine_ = end - 1;
    return Flow::Next;
}

Flow BatchRun::EndIfLine() {
    if (ifLevel_ <= FrameIfBase()) {
        IfStructureError();
        return Flow::End;
    }
    ifTaken_[static_cast<std::size_t>(ifLevel_)] = false;
    --ifLevel_;
    return Flow::Next;
}

// ---- ARRAY ----

Flow BatchRun::ArrayHeader(const ProgramLine& line) {
    if (arrayMode_) {
        ArrayHeaderError();
        return Flow::End;
    }
    const QString text = TrimWhite(QStringView(line.upper).mid(5));
    if (text.isEmpty()) {
        ArrayHeaderError();
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
        ArrayRedefinedError();
        return Flow::CountError;
    }
    if (code == QLatin1String("NUM")) {
        code = QStringLiteral("JDN");
    }
    const std::optional<CalendarId> calendar = CalendarOfCode(code);
    if (!calendar) {
        ArrayHeaderError();
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
        ArrayElementError();
        flow = Flow::CountError;
        value = lastElementValue_;
    }
    const int slot = FindVariable(element);
    if (slot == kTableFull || (slot == 0 && variables_.Create(element, value) == kTableFull)) {
        FullTableBox();
        return Flow::CountError;
    }
    if (slot >= 1) {
        variables_.SetValue(slot, value);
    }
    return flow;
}

Flow BatchRun::EndArrayLine() {
    if (!arrayMode_) {
        UnmatchedEndError(QStringLiteral("ARRAY"));
        return Flow::CountError;
    }
    arrayMode_ = false;
    return Flow::Next;
}

}  // namespace daybridge::batch
