#include "batch/reporter.h"

#include <array>

#include "app/captions.h"
#include "app/refused_date_text.h"
#include "batch/program.h"

namespace daybridge::batch {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// Why a built-in or an argument cannot be evaluated (the line after the report); those that
// end in ":" are followed by a blank and the argument.
constexpr int kTextResultOutOfRange = 600;
constexpr int kTextDateOutOfRange = 601;
constexpr int kTextArgumentCount = 602;
constexpr int kTextUnknownVariable = 603;
constexpr int kTextUnknownCalendar = 604;
constexpr int kTextUnsuitableCalendar = 605;
constexpr int kTextNotAnInteger = 606;
constexpr int kTextInvalidDate = 607;
constexpr int kTextResultNotADate = 608;
constexpr int kTextUnknownArray = 609;
constexpr int kTextNoSuchMonth = 610;
constexpr int kTextTextOnly = 611;
constexpr int kTextNameNeeded = 612;
constexpr int kTextNumberOutOfRange = 613;
constexpr int kTextUnknownRoll = 614;
constexpr int kTextUnknownUnit = 1169;
constexpr int kTextNoSuchWorkday = 615;

// A fault's message: its title and text, and the text's form: "TEXT Line N:" (with the word
// for "line") or "TEXTN:"; some add the note that a FUNCTION is called only by assignment.
struct FaultText {
    int title;
    int text;
    bool withLineWord;
    bool functionNote = false;
    bool toOutput = true;
};
constexpr std::array<FaultText, 27> kFaultTexts = {{
    {21, 84, true},                 // NoSuchElement
    {40, 83, true},                 // CountFailed
    {40, 17, true},                 // ArrayRedefined
    {40, 82, true},                 // BadVariableName
    {62, 81, true},                 // ArrayHeader
    {62, 80, true},                 // ArrayElement
    {40, 75, true},                 // MissingParentheses
    {52, 70, true},                 // NoReturnValue
    {40, 65, true},                 // UnreadableValue
    {62, 38, true},                 // NotAnInteger
    {52, 61, true},                 // UnknownFunction
    {67, 74, true},                 // UnknownSub
    {58, 21, true, true},           // FunctionInOutput
    {40, 21, true, true},           // FunctionInReturn
    {52, 56, false},                // TooManyProcedures
    {52, 53, false},                // MissingEndFunction
    {52, 54, false},                // DuplicateFunction
    {67, 69, false},                // DuplicateSub
    {52, 55, false},                // TooManyArguments
    {40, 39, false},                // IfStructure
    {40, 46, false},                // DoStructure
    {21, 31, false},                // DoTooDeep
    {21, 49, false},                // NoOperator
    {43, 42, false},                // ReservedName
    {45, 44, false},                // DowComparison
    {71, 71, true},                 // Overflow
    {21, 79, false, false, false},  // DoForEachSyntax: the program is refused
}};
static_assert(kFaultTexts.size() == static_cast<std::size_t>(Fault::DoForEachSyntax) + 1);
}  // namespace

Reporter::Reporter(AppState& state, Host& host, const Program& program, const int& cursor,
                   ExpressionContext& evaluation)
    : state_(state),
      host_(host),
      output_(host.output()),
      program_(program),
      cursor_(cursor),
      evaluation_(evaluation) {}

QString Reporter::T(int id) const {
    return state_.settings.Text(id);
}

QString Reporter::LineNumber() const {
    return LineNumberText(program_.FileLineNumber(cursor_));
}

const QString& Reporter::LineText() const {
    return program_.FileText(cursor_);
}

void Reporter::Box(const QString& title, const QString& text, MsgIcon icon) {
    errorReported = true;
    host_.outputChanged();
    host_.messageBox(title, text, icon, MsgButtons::Ok, MsgAnswer::Ok);
}

void Reporter::Report(const QString& title, const QString& message, bool appendToOutput,
                      MsgIcon icon, MsgButtons buttons) {
    errorReported = true;
    host_.outputChanged();
    host_.messageBox(title, message, icon, buttons, MsgAnswer::Ok);
    if (appendToOutput) {
        output_.append(kCrLf);
        output_.append(message);
        output_.append(kCrLf);
    }
}

QString Reporter::FrameA(int id, const QString& lineText) const {
    return T(id) + QStringLiteral(" ") + T(59) + LineNumber() + QStringLiteral(":") + kCrLf +
           lineText;
}

QString Reporter::FrameC(int id, const QString& lineText) const {
    return T(id) + LineNumber() + QStringLiteral(":") + kCrLf + lineText;
}

void Reporter::Raise(Fault fault) {
    Raise(fault, LineText());
}

void Reporter::Raise(Fault fault, const QString& lineText) {
    const FaultText& f = kFaultTexts[static_cast<std::size_t>(fault)];
    QString message = f.withLineWord ? FrameA(f.text, lineText) : FrameC(f.text, lineText);
    if (f.functionNote) {
        message += kCrLf + T(66) + kCrLf;
    }
    Report(T(f.title), message, f.toOutput);
}

void Reporter::LoadRefusal(LoadFault fault, int fileLine, const QString& lineText) {
    QString message;
    switch (fault) {
        case LoadFault::TooLong:
            message = state_.settings.Caption(Caption::ProgramTooLong);
            break;
        case LoadFault::OutputWithoutColon:
            message = QStringLiteral("OUTPUT ") + T(64);
            break;
        case LoadFault::TrailingSemicolon:
            message = T(73);
            break;
        case LoadFault::ReturnWithoutColon:
            message = QStringLiteral("RETURN ") + T(64);
            break;
    }
    Box(T(21), message + QStringLiteral(" ") + T(59) + LineNumberText(fileLine) +
                   QStringLiteral(":") + kCrLf + lineText);
}

void Reporter::IfTooDeep(int depth) {
    Report(T(21), T(48) + QStringLiteral("(") + QString::number(depth) + QStringLiteral(") ") +
                      T(59) + LineNumber() + QStringLiteral(":") + kCrLf + LineText());
}

void Reporter::UnmatchedEnd(const QString& keyword) {
    Report(T(40),
           QStringLiteral("END") + keyword + QStringLiteral(" ") + T(16) + QStringLiteral(" ") +
               keyword + QStringLiteral(" ") + T(59) + LineNumber() + QStringLiteral(":") + kCrLf +
               LineText(),
           true, MsgIcon::None, MsgButtons::OkCancel);
}

void Reporter::Arity(bool sub, int headerIndex) {
    const QString& header =
        program_.Has(headerIndex) ? program_.Line(headerIndex).text : program_.FileText(0);
    // The header names the procedure; the calling line follows, as a computation names its line.
    Report(sub ? T(67) : T(52), T(sub ? 68 : 57) +
                                    LineNumberText(program_.FileLineNumber(headerIndex)) +
                                    QStringLiteral(":") + kCrLf + header + kCrLf +
                                    state_.settings.Caption(Caption::Line) + LineNumber() +
                                    QStringLiteral(", '") + LineText() + QStringLiteral("'"));
}

void Reporter::Evaluation() {
    const bool missing = evaluation_.calendarArgumentMissing;
    evaluation_.calendarArgumentMissing = false;
    QString message = FrameC(missing ? 47 : 41, LineText());
    if (!missing && evaluation_.failure != EvalFailure::None) {
        message += kCrLf + FailureText();
    }
    evaluation_.failure = EvalFailure::None;
    Report(T(40), message);
}

// Why an evaluation failed, in the current language: the reason's text, followed by the
// argument it concerns where there is one.
QString Reporter::FailureText() const {
    int id = 0;
    switch (evaluation_.failure) {
        case EvalFailure::None:
            return QString();
        case EvalFailure::ResultOutOfRange:
            id = kTextResultOutOfRange;
            break;
        case EvalFailure::DateOutOfRange:
            id = kTextDateOutOfRange;
            break;
        case EvalFailure::ArgumentCount:
            id = kTextArgumentCount;
            break;
        case EvalFailure::UnknownVariable:
            id = kTextUnknownVariable;
            break;
        case EvalFailure::UnknownCalendar:
            id = kTextUnknownCalendar;
            break;
        case EvalFailure::UnsuitableCalendar:
            id = kTextUnsuitableCalendar;
            break;
        case EvalFailure::NotAnInteger:
            id = kTextNotAnInteger;
            break;
        case EvalFailure::InvalidDate:
            id = kTextInvalidDate;
            break;
        case EvalFailure::RefusedDate:
            if (QString reason = DateCheckReason(evaluation_.refusedDate, evaluation_.refusedCheck,
                                                 state_.settings.language);
                !reason.isEmpty()) {
                return reason;
            }
            id = kTextInvalidDate;
            break;
        case EvalFailure::ResultNotADate:
            id = kTextResultNotADate;
            break;
        case EvalFailure::UnknownArray:
            id = kTextUnknownArray;
            break;
        case EvalFailure::NoSuchMonth:
            id = kTextNoSuchMonth;
            break;
        case EvalFailure::TextOnly:
            id = kTextTextOnly;
            break;
        case EvalFailure::NameNeeded:
            id = kTextNameNeeded;
            break;
        case EvalFailure::NumberOutOfRange:
            id = kTextNumberOutOfRange;
            break;
        case EvalFailure::UnknownRoll:
            id = kTextUnknownRoll;
            break;
        case EvalFailure::NoSuchWorkday:
            id = kTextNoSuchWorkday;
            break;
        case EvalFailure::UnknownUnit:
            id = kTextUnknownUnit;
            break;
    }
    return evaluation_.failureSubject.isEmpty()
               ? T(id)
               : T(id) + QStringLiteral(" ") + evaluation_.failureSubject;
}

void Reporter::DateRead(ParseOutcome outcome, bool maybeVariable) {
    if (outcome == ParseOutcome::Valid) {
        return;
    }
    const int id = outcome == ParseOutcome::OutOfRange ? 28 : maybeVariable ? 250 : 29;
    Report(T(21), FrameC(id, LineText()));
}

// A date literal that was read and refused: the calendars that say why add their reason on a
// line of its own.
void Reporter::DateRead(const CodedParseResult& date, const QString& text, bool maybeVariable) {
    const ParseOutcome outcome = date.parsed.outcome;
    if (outcome == ParseOutcome::Invalid && date.calendar &&
        NamesWhyDateIsRefused(*date.calendar)) {
        if (const QString reason =
                RefusedDateReason(*date.calendar, text, state_.settings.language);
            !reason.isEmpty()) {
            Report(T(21), FrameC(29, LineText()) + kCrLf + reason);
            return;
        }
    }
    DateRead(outcome, maybeVariable);
}

// A value that is neither a number nor a known name is read as a date; when its letters name
// no calendar it was more likely meant as a variable.
void Reporter::ValueRead(const CodedParseResult& date, const QString& text) {
    DateRead(date, text, !date.calendar);
}

void Reporter::Structural(Caption caption) {
    Report(T(21), state_.settings.Caption(caption) + QStringLiteral(" ") + T(59) + LineNumber() +
                      QStringLiteral(":") + kCrLf + LineText());
}

// A run-time report whose text has no place for a line number: the line number and the
// line come first, as in the computation's reports.
void Reporter::LineReport(const QString& message) {
    Report(T(21), state_.settings.Caption(Caption::Line) + LineNumber() + QStringLiteral(", '") +
                      LineText() + QStringLiteral("':") + kCrLf + message);
}

void Reporter::FullTable() {
    LineReport(T(50));
}

void Reporter::InvalidDays() {
    output_.append(state_.settings.Caption(Caption::Line) + LineNumber() + QStringLiteral(", '") +
                   LineText() + QStringLiteral("':") + kCrLf +
                   ComputeMessage(ComputeMessageRow::DifferenceInvalid, state_.settings.language) +
                   kCrLf);
}

void Reporter::ComputeFault(ComputeMessageRow message) {
    output_.append(state_.settings.Caption(Caption::Line) + LineNumber() + QStringLiteral(", '") +
                   LineText() + QStringLiteral("':") + kCrLf +
                   ComputeMessage(message, state_.settings.language) + kCrLf);
    host_.outputChanged();
}

}  // namespace daybridge::batch
