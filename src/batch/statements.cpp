// Statements: three-field computation lines and the computation step, assignments with every
// value form, INPUT: prompts and OUTPUT: lines. Settings statements are RunSettings'.
#include <algorithm>
#include <array>

#include "app/captions.h"
#include "batch/batch_run.h"
#include "compute/result_text.h"
#include "datetext/date_format.h"
#include "datetext/unit_difference.h"

namespace daybridge::batch {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A date whose year is written in parentheses ("CE 03/01/(-500)") ends in ")" like a call: a
// calendar code and then digits before the "(" make it a date.
bool IsDateLiteralWithParentheses(const QString& upper) {
    qsizetype letters = 0;
    while (letters < upper.size() && upper[letters] >= u'A' && upper[letters] <= u'Z') {
        ++letters;
    }
    const qsizetype open = upper.indexOf(u'(');
    if (letters == 0 || open < letters || !CalendarOfCode(QStringView(upper).left(letters))) {
        return false;
    }
    const QStringView between = QStringView(upper).mid(letters, open - letters);
    return std::any_of(between.begin(), between.end(),
                       [](QChar c) { return c >= u'0' && c <= u'9'; });
}

std::int64_t SaturatingMul(std::int64_t a, std::int64_t b) {
    std::int64_t r = 0;
    if (__builtin_mul_overflow(a, b, &r)) {
        return ((a < 0) != (b < 0)) ? std::numeric_limits<std::int64_t>::min()
                                    : std::numeric_limits<std::int64_t>::max();
    }
    return r;
}

}  // namespace

Flow BatchRun::StatementLine(const ProgramLine& line) {
    switch (ExecuteStatement(line)) {
        case StatementResult::Done:
        case StatementResult::FunctionEntered:
            return Flow::Next;
        case StatementResult::Compute: {
            Flow flow = Flow::Next;
            ComputationStep(flow);
            return flow;
        }
        case StatementResult::Cancelled:
            stopRequested_ = true;  // a cancelled prompt stops the run like Stop
            return Flow::End;
        case StatementResult::EndRun:
            return Flow::End;  // a report has ended the run
        case StatementResult::Error:
            break;
    }
    return Flow::CountError;
}

StatementResult BatchRun::ExecuteStatement(const ProgramLine& line) {
    Statement& statement = *line.statement;
    if (const auto* setting = std::get_if<SettingStatement>(&statement)) {
        return settings_.Apply(line, *setting) ? StatementResult::Done : StatementResult::Error;
    }
    if (auto* assignment = std::get_if<AssignStatement>(&statement)) {
        return Assignment(line, *assignment);
    }
    return ThreeFieldStatement(line);
}

StatementResult BatchRun::ThreeFieldStatement(const ProgramLine& line) {
    std::array<QString, 3> f = line.As<ComputeStatement>().fields;
    if (!f[0].isEmpty()) {
        if (f[0] == QLatin1String("RESULT")) {
            f[0] = DateTextOfJdn(state_, state_.GetCal(1), scope_.last.date);
        } else if (f[0] == QLatin1String("TODAY")) {
            f[0] = TodayText(state_, host_.todayJdn(), 1);
        } else if (!AcceptDateField(1, f[0])) {
            return StatementResult::Error;
        }
    }
    if (!f[1].isEmpty()) {
        const int slot = scope_.Find(f[1]);
        const qsizetype at = f[1].indexOf(QLatin1String("RESULT"));
        if (slot >= 1) {
            f[1] = FormatDayNumber(scope_.variables.Value(slot),
                                   state_.settings.format.thousandsSeparator);
        } else if (at == 0 || at == 1) {
            const bool negative = f[1].startsWith(u'-');
            const QString rest = f[1].mid(at + 6);
            std::int64_t v = scope_.last.difference;
            bool zero = false;
            if (rest.startsWith(u'*') || rest.startsWith(u'/')) {
                const std::int64_t k = RoundToWhole(LeadingNumber(QStringView(rest).mid(1)));
                if (k == 0) {
                    zero = true;
                } else if (rest.startsWith(u'*')) {
                    v = SaturatingMul(v, k);
                } else {
                    v = (k == -1) ? -v : v / k;
                }
            }
            if (zero) {
                report_.InvalidDays();
                f[1].clear();
            } else {
                if (negative) {
                    v = (v == std::numeric_limits<std::int64_t>::min())
                            ? std::numeric_limits<std::int64_t>::max()
                            : -v;
                }
                f[1] = FormatDayNumber(v, state_.settings.format.thousandsSeparator);
            }
        } else if (at > 1) {
            report_.InvalidDays();
        } else if (ParseIntegerLiteral(f[1], false).kind == LiteralKind::NotLiteral &&
                   ParseUnitDifference(f[1], state_.settings.language).outcome ==
                       ParseOutcome::Invalid) {
            // A unit difference ("1Y2M", "3 MONATE") goes to the engine as the window's field
            // text does; a part too large is the engine's "out of range".
            report_.InvalidDays();
            return StatementResult::Error;
        }
    }
    fields_[0] = f[0];
    fields_[1] = f[1];
    fields_[2] = f[2];
    if (!f[2].isEmpty()) {
        if (f[2] == QLatin1String("TODAY")) {
            fields_[2] = TodayText(state_, host_.todayJdn(), 2);
            return StatementResult::Compute;
        }
        if (!AcceptDateField(2, fields_[2])) {
            return StatementResult::Error;
        }
    }
    return StatementResult::Compute;
}

void BatchRun::ComputationStep(Flow& flow) {
    const bool e1 = fields_[0].isEmpty();
    const bool e2 = fields_[1].isEmpty();
    const bool e3 = fields_[2].isEmpty();
    Caption note = Caption::Count_;
    if (e1 && e2 && e3) {
        note = Caption::AllThreeEmpty;
    } else if (e1 && !e2 && e3) {
        note = Caption::OnlyDifferenceNonEmpty;
    } else if (!e1 && !e2 && !e3) {
        note = Caption::AllThreeNonEmpty;
    }
    if (note != Caption::Count_) {
        output_.append(state_.settings.Caption(Caption::Line) + report_.LineNumber() +
                       QStringLiteral(": ") + state_.settings.Caption(note) + kCrLf);
        flow = Flow::Next;
        return;
    }
    const ComputeOutcome outcome = engine_.Compute(fields_[0], fields_[1], fields_[2]);
    if (outcome.fault) {
        report_.ComputeFault(outcome.fault->message);
        flow = Flow::CountError;
        return;
    }
    const ComputeResult& result = outcome.result;
    AppendResultLine(result, state_, output_);
    output_.append(kCrLf);
    host_.outputChanged();
    // RESULT: the date computed last, the difference of the last computation (computed, or
    // the one given; 0 for a conversion).
    scope_.last.isDate = result.computed != ComputedPart::Difference;
    if (scope_.last.isDate) {
        scope_.last.date =
            result.computed == ComputedPart::SecondDate ? result.secondJdn : result.firstJdn;
    }
    scope_.last.difference = result.difference;
    flow = Flow::Next;
}

// A date field of a computation line read before the line is computed: rewritten into its
// canonical text, or reported.
bool BatchRun::AcceptDateField(int firstOrSecond, QString& text) {
    const DateAcceptance accepted = engine_.AcceptDate(firstOrSecond, text);
    if (accepted.fault) {
        report_.ComputeFault(accepted.fault->message);
        return false;
    }
    text = accepted.canonical;
    return true;
}

std::optional<StatementResult> BatchRun::EvaluateBuiltin(const ParsedCall& call,
                                                         std::int32_t& value) {
    scope_.overflow = false;
    bool ok = true;
    value = EvaluateNumber(call, scope_, ok);
    if (ok) {
        return std::nullopt;
    }
    if (scope_.overflow) {
        scope_.overflow = false;
        report_.Raise(Fault::Overflow);
        return StatementResult::EndRun;
    }
    report_.Evaluation();
    return StatementResult::Error;
}

StatementResult BatchRun::Assignment(const ProgramLine& line, AssignStatement& c) {
    // A function that has returned: take its value in the caller's frame first.
    std::int32_t value = 0;
    bool haveValue = false;
    if (functionReturned_ && c.valueCallsFunction && c.literal.kind == LiteralKind::NotLiteral &&
        !c.valueIsToday && c.call.function == Builtin::None) {
        const StatementResult r = FunctionValue(c, value);
        if (r != StatementResult::Done) {
            return r;
        }
        haveValue = true;
    }

    // The target.
    QString element;  // the element an Element target designates now
    switch (c.targetForm) {
        case TargetForm::Element: {
            const auto resolved = ResolveElementName(c.target, scope_);
            if (!resolved || scope_.Find(*resolved) < 1) {
                report_.Raise(Fault::NoSuchElement);
                return StatementResult::Error;
            }
            element = *resolved;
            if (program_.IsReservedTarget(element) || c.value.isEmpty()) {
                report_.Raise(Fault::ReservedName);
                return StatementResult::Error;
            }
            break;
        }
        case TargetForm::BadName:
            report_.Raise(Fault::BadVariableName);
            return StatementResult::Error;
        case TargetForm::Name:
        case TargetForm::Counter:
            if (c.targetReserved) {
                report_.Raise(Fault::ReservedName);
                return StatementResult::Error;
            }
            break;
    }
    const bool isElement = c.targetForm == TargetForm::Element;
    const QString& target = isElement ? element : c.target;

    if (!haveValue) {
        const StatementResult r = ReadAssignedValue(line, c, value);
        if (r != StatementResult::Done) {
            return r;  // an error, a cancelled prompt, the end of the run, or a FUNCTION entered
        }
    }

    // Store.
    const int slot = isElement ? scope_.Find(target)
                               : scope_.variables.Find(target, stack_.FrameStart(), c.targetSlot);
    if (slot == kTableFull) {
        report_.FullTable();
        return StatementResult::Error;
    }
    if (slot == 0) {
        if (c.op != AssignOp::Set) {
            report_.LineReport(target + QStringLiteral(": ") + report_.T(51));
            return StatementResult::Error;
        }
        if (scope_.variables.Create(target, value) == kTableFull) {
            report_.FullTable();
            return StatementResult::Error;
        }
        return StatementResult::Done;
    }
    const std::optional<std::int32_t> result =
        AssignedResult(c.op, scope_.variables.Value(slot), value);
    if (!result) {
        report_.Raise(Fault::Overflow);
        return StatementResult::Error;
    }
    scope_.variables.SetValue(slot, *result);
    return StatementResult::Done;
}

// Done with the value read; Error when an error was reported; Cancelled, EndRun; or
// FunctionEntered (the statement is done for now).
StatementResult BatchRun::ReadAssignedValue(const ProgramLine& line, AssignStatement& c,
                                            std::int32_t& value) {
    const QString& v = c.value;
    if (c.valueIsToday) {
        value = host_.todayJdn();
        return StatementResult::Done;
    }
    if (c.literal.kind == LiteralKind::Value) {
        value = c.literal.value;
        return StatementResult::Done;
    }
    if (c.literal.kind == LiteralKind::Overflow) {
        report_.Raise(Fault::Overflow);
        return StatementResult::Error;
    }
    const int slot = scope_.variables.Find(v, stack_.FrameStart(), c.valueSlot);
    if (slot >= 1) {
        value = scope_.variables.Value(slot);
        return StatementResult::Done;
    }
    if (v.contains(u'[') && v.endsWith(u']') && v.indexOf(u'[') > 0) {
        const auto element = ResolveElementName(v, scope_);
        const int s = element ? scope_.Find(*element) : 0;
        if (s < 1) {
            report_.Raise(Fault::NoSuchElement);
            return StatementResult::Error;
        }
        value = scope_.variables.Value(s);
        return StatementResult::Done;
    }
    if (c.call.function != Builtin::None) {
        // An overflow here is the assignment's own store failure: reported and counted.
        const auto failed = EvaluateBuiltin(c.call, value);
        return failed ? StatementResult::Error : StatementResult::Done;
    }
    if (c.valueCallsFunction) {
        return FunctionValue(c, value);
    }
    if (LooksLikeCall(v) && !IsDateLiteralWithParentheses(v)) {
        report_.Raise(Fault::UnknownFunction);
        return StatementResult::Error;
    }
    const bool numberPrompt = v.startsWith(QLatin1String("INPUT:"));
    if (numberPrompt || v.startsWith(QLatin1String("DATEINPUT:"))) {
        return PromptedValue(line, numberPrompt, value);
    }
    if (!HasLetter(v)) {
        report_.Raise(Fault::UnreadableValue);
        return StatementResult::Error;
    }
    const CodedParseResult date = scope_.ReadDate(v);
    if (date.parsed.outcome != ParseOutcome::Valid) {
        report_.ValueRead(date, v);
        return StatementResult::Error;
    }
    value = date.parsed.jdn;
    return StatementResult::Done;
}

// The value of INPUT: (a number) or DATEINPUT: (a date), asked of the person at the screen.
StatementResult BatchRun::PromptedValue(const ProgramLine& line, bool numberPrompt,
                                        std::int32_t& value) {
    const qsizetype at = line.text.indexOf(QLatin1String("INPUT:"), 0, Qt::CaseInsensitive);
    QString prompt = at < 0 ? QString() : TrimWhite(QStringView(line.text).mid(at + 6));
    if (numberPrompt) {
        prompt.replace(QLatin1String("\\n"), kCrLf);
    }
    host_.outputChanged();
    const std::optional<QString> answer = host_.inputBox(prompt, report_.T(1));
    const QString text = answer ? TrimWhite(*answer) : QString();
    if (text.isEmpty()) {
        return StatementResult::Cancelled;
    }
    if (numberPrompt) {
        const Literal literal = ParseIntegerLiteral(text, true);
        if (literal.kind != LiteralKind::Value) {
            report_.Raise(Fault::NotAnInteger);
            return StatementResult::Error;
        }
        value = literal.value;
        return StatementResult::Done;
    }
    const CodedParseResult date = scope_.ReadDate(text);
    if (date.parsed.outcome != ParseOutcome::Valid) {
        report_.DateRead(date, text, false);
        return StatementResult::Error;
    }
    value = date.parsed.jdn;
    return StatementResult::Done;
}

StatementResult BatchRun::FunctionValue(const AssignStatement& c, std::int32_t& value) {
    if (functionReturned_) {
        functionReturned_ = false;
        const std::int32_t returned = stack_.Top().returnValue;
        const bool pending = stack_.Top().returnPending;
        // Back in the caller's frame, whether or not a value is pending.
        if (stack_.depth > 0) {
            --stack_.depth;
            stack_.Restore(scope_.variables);
        }
        if (!pending) {
            report_.Raise(Fault::NoReturnValue);
            return StatementResult::Error;
        }
        value = returned;
        return StatementResult::Done;
    }
    if (CountArguments(c.value) > 4) {
        report_.Raise(Fault::TooManyArguments);
        return StatementResult::Error;
    }
    stack_.Save(scope_.variables);
    switch (InvokeProcedure(c.value, CountArguments(c.value), false)) {
        case CallOutcome::Entered:
            return StatementResult::FunctionEntered;
        case CallOutcome::EndRun:
            return StatementResult::EndRun;
        case CallOutcome::BadArgument:
            report_.Evaluation();
            break;
        case CallOutcome::Reported:
            break;
    }
    return StatementResult::Error;
}

Flow BatchRun::OutputLine(const ProgramLine& line) {
    const OutputStatement& c = line.As<OutputStatement>();
    Flow flow = Flow::Next;
    switch (c.form) {
        case OutputForm::Builtin: {
            scope_.overflow = false;
            bool ok = true;
            // The value and the line end go to the output in one piece.
            outputLine_.resize(0);
            AppendEvaluatedText(c.call, scope_, ok, outputLine_);
            if (ok) {
                outputLine_ += c.end;
                output_.append(outputLine_);
                return flow;
            }
            if (scope_.overflow) {
                scope_.overflow = false;
                report_.Raise(Fault::Overflow);
                return Flow::End;
            }
            report_.Evaluation();
            flow = Flow::CountError;
            break;
        }
        case OutputForm::UserFunction:
            report_.Raise(Fault::FunctionInOutput);
            output_.append(c.text);
            flow = Flow::CountError;
            break;
        case OutputForm::UnknownFunction:
            report_.Raise(Fault::UnknownFunction);
            output_.append(c.text);
            flow = Flow::CountError;
            break;
        case OutputForm::Plain:
            output_.append(c.text);
            break;
    }
    output_.append(c.end);
    return flow;
}

}  // namespace daybridge::batch
