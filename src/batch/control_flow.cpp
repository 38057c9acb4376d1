// Control flow: SKIP, DO/EXITDO/ENDDO, IF/ELSEIF/ELSE/ENDIF with their conditions,
// FUNCTION/SUB/CALL/RETURN: with call frames.
#include "batch/batch_run.h"

namespace daybridge::batch {

CallOutcome BatchRun::InvokeProcedure(const QString& callText, int argumentCount, bool isSub) {
    const std::array<QString, 4> args = SplitArguments(callText, argumentCount);
    std::array<std::int32_t, 4> values{};
    scope_.failure = EvalFailure::None;
    for (int i = 0; i < argumentCount && i < 4; ++i) {
        bool ok = true;
        values[static_cast<std::size_t>(i)] =
            EvaluateOperand(args[static_cast<std::size_t>(i)], scope_, ok);
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
    if (stack_.depth >= kMaxCallDepth) {
        report_.Structural(Caption::CallsTooDeep);
        return CallOutcome::EndRun;
    }
    const std::array<QString, 4> parameters = SplitArguments(headerText, parameterCount);
    ++stack_.depth;
    CallStack::Frame& frame = stack_.Top();
    frame.returnLine = currentLine_;
    frame.kind = isSub ? CallStack::FrameKind::Sub : CallStack::FrameKind::Function;
    frame.returnPending = false;
    frame.start = scope_.variables.Count() + 1;
    for (int i = 0; i < parameterCount && i < 4; ++i) {
        if (scope_.variables.Create(parameters[static_cast<std::size_t>(i)],
                                    values[static_cast<std::size_t>(i)]) == kTableFull) {
            report_.FullTable();
            --stack_.depth;
            stack_.Restore(scope_.variables);
            return CallOutcome::Reported;
        }
    }
    currentLine_ = header;
    return CallOutcome::Entered;
}

Flow BatchRun::CallLine(const ProgramLine& line) {
    const CallStatement& c = line.As<CallStatement>();
    if (!c.hasParentheses) {
        report_.Raise(Fault::MissingParentheses);
        return Flow::CountError;
    }
    if (!c.namesSub) {
        report_.Raise(Fault::UnknownSub);
        return Flow::CountError;
    }
    if (c.argumentCount >= 5) {
        report_.Raise(Fault::TooManyArguments);
        return Flow::CountError;
    }
    stack_.Save(scope_.variables);
    switch (InvokeProcedure(c.call, c.argumentCount, true)) {
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
    const auto d = static_cast<std::size_t>(stack_.depth);
    if (stack_.depth < 1 || stack_.frames[d].kind != CallStack::FrameKind::Function) {
        report_.Structural(Caption::EndOutsideCall);
        return Flow::End;
    }
    functionReturned_ = true;
    currentLine_ = stack_.frames[d].returnLine - 1;
    return Flow::Next;
}

Flow BatchRun::EndSubLine() {
    const auto d = static_cast<std::size_t>(stack_.depth);
    if (stack_.depth < 1 || stack_.frames[d].kind != CallStack::FrameKind::Sub) {
        report_.Structural(Caption::EndOutsideCall);
        return Flow::End;
    }
    currentLine_ = stack_.frames[d].returnLine;
    --stack_.depth;
    stack_.Restore(scope_.variables);
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
    stack_.Top().returnPending = true;
    Flow flow = Flow::Next;
    std::int32_t value = 0;
    if (c.literal.kind == LiteralKind::Value) {
        value = c.literal.value;
    } else if (c.value == QLatin1String("RESULT")) {
        value = scope_.last.Value();
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
    } else if (const int slot = scope_.Find(c.value); slot >= 1) {
        value = scope_.variables.Value(slot);
    } else {
        scope_.failure = EvalFailure::None;
        scope_.NoteFailure(
            HasLetter(c.value) ? EvalFailure::UnknownVariable : EvalFailure::NotAnInteger, c.value);
        report_.Evaluation();
        flow = Flow::CountError;
    }
    stack_.Top().returnValue = value;
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
    if (stack_.doLevel - stack_.DoBase() >= kMaxNesting) {
        report_.Raise(Fault::DoTooDeep);
        return Flow::End;
    }
    ++stack_.doLevel;
    std::int64_t count = -1;
    if (const DoStatement& c = line.As<DoStatement>(); !c.count.isEmpty()) {
        if (const int slot = scope_.Find(c.count); slot >= 1) {
            count = scope_.variables.Value(slot);
        } else if (c.call.function != Builtin::None) {
            scope_.overflow = false;
            bool ok = true;
            count = EvaluateNumber(c.call, scope_, ok);
            if (!ok) {
                if (scope_.overflow) {
                    scope_.overflow = false;
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
    const auto level = static_cast<std::size_t>(stack_.doLevel);
    stack_.doLoops[level].count = static_cast<int>(count);
    stack_.doLoops[level].line = currentLine_;
    const int end = program_.Blocks().FindBlockEnd(BlockKeyword::Do, currentLine_);
    if (end < 0) {
        report_.Raise(Fault::DoStructure);
        return Flow::End;
    }
    stack_.doLoops[level].endLine = end;
    return Flow::Next;
}

// A loop statement reaches only the loops of its own call frame.
Flow BatchRun::EndDoLine() {
    if (stack_.doLevel <= stack_.DoBase()) {
        report_.Raise(Fault::DoStructure);
        return Flow::End;
    }
    const auto level = static_cast<std::size_t>(stack_.doLevel);
    if (stack_.doLoops[level].count != -1) {
        --stack_.doLoops[level].count;
        if (stack_.doLoops[level].count < 1) {
            --stack_.doLevel;
            return Flow::Next;
        }
    }
    currentLine_ = stack_.doLoops[level].line;
    return Flow::Next;
}

Flow BatchRun::ExitDoLine() {
    if (stack_.doLevel <= stack_.DoBase()) {
        report_.Raise(Fault::DoStructure);
        return Flow::End;
    }
    const auto level = static_cast<std::size_t>(stack_.doLevel);
    stack_.ifLevel -= program_.Blocks().CountIfBalance(currentLine_, stack_.doLoops[level].endLine);
    stack_.ifLevel = std::clamp(stack_.ifLevel, stack_.IfBase(), kStackLevels);
    currentLine_ = stack_.doLoops[level].endLine;
    --stack_.doLevel;
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
            const std::int32_t v = EvaluateNumber(c.call, scope_, ok);
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
            const auto left = ConditionOperand(c.left);
            if (!left) {
                return std::nullopt;
            }
            const auto right = ConditionOperand(c.right);
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

std::optional<std::int32_t> BatchRun::ConditionOperand(const Operand& operand) {
    const QString& text = operand.text;
    if (text == QLatin1String("RESULT")) {
        return scope_.last.Value();
    }
    if (text == QLatin1String("TODAY")) {
        return host_.todayJdn();
    }
    if (const auto v = ReadVariableOrElement(text, scope_)) {
        return v;
    }
    if (operand.literal.kind == LiteralKind::Value) {
        return operand.literal.value;
    }
    if (operand.call.function != Builtin::None) {
        std::int32_t value = 0;
        if (EvaluateBuiltin(operand.call, value)) {
            return std::nullopt;
        }
        return value;
    }
    if (!HasLetter(text)) {
        report_.Raise(Fault::UnreadableValue);
        return std::nullopt;
    }
    const CodedParseResult date = scope_.ReadDate(text);
    if (date.parsed.outcome != ParseOutcome::Valid) {
        report_.ValueRead(date, text);
        return std::nullopt;
    }
    return date.parsed.jdn;
}

Flow BatchRun::IfLine(const ProgramLine& line, bool elseIf) {
    if (!elseIf) {
        if (stack_.ifLevel - stack_.IfBase() >= kMaxNesting) {
            report_.IfTooDeep(stack_.ifLevel - stack_.IfBase());
            return Flow::End;
        }
        ++stack_.ifLevel;
    } else if (stack_.ifTaken[static_cast<std::size_t>(stack_.ifLevel)]) {
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
    stack_.ifTaken[static_cast<std::size_t>(stack_.ifLevel)] = *holds;
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
    if (!stack_.ifTaken[static_cast<std::size_t>(stack_.ifLevel)]) {
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
    if (stack_.ifLevel <= stack_.IfBase()) {
        report_.Raise(Fault::IfStructure);
        return Flow::End;
    }
    stack_.ifTaken[static_cast<std::size_t>(stack_.ifLevel)] = false;
    --stack_.ifLevel;
    return Flow::Next;
}

}  // namespace daybridge::batch
