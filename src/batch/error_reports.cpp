// The error reports of a batch run: each builds its message from the text store, shows it in
// a message box and appends it to the output.
#include "app/refused_date_text.h"
#include "batch/batch_run.h"

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
}  // namespace

QString BatchRun::T(int id) const {
    return state_.Text(id);
}

QString BatchRun::N() const {
    return LineNumberText(FileLineNumber(currentLine_));
}

const QString& BatchRun::L() const {
    if (currentLine_ >= 1 && currentLine_ < static_cast<int>(lines_.size())) {
        const ProgramLine& line = lines_[static_cast<std::size_t>(currentLine_)];
        if (line.rewritten) {
            // A line a DOFOREACH line became: the line in the file.
            const auto file = forEachTexts_.constFind(line.fileLine);
            if (file != forEachTexts_.constEnd()) {
                return *file;
            }
        }
        return line.text;
    }
    return emptyLine_;
}

void BatchRun::Box(const QString& title, const QString& text, MsgIcon icon) {
    errorReported = true;
    host_.outputChanged();
    host_.messageBox(title, text, icon, MsgButtons::Ok, MsgAnswer::Ok);
}

void BatchRun::Report(const QString& title, const QString& message, bool appendToOutput,
                      MsgIcon icon, MsgButtons buttons) {
    errorReported = true;
    host_.outputChanged();
    host_.messageBox(title, message, icon, buttons, MsgAnswer::Ok);
    if (appendToOutput) {
        state_.output.append(kCrLf);
        state_.output.append(message);
        state_.output.append(kCrLf);
    }
}

QString BatchRun::FrameA(int id, const QString& lineText) const {
    return T(id) + QStringLiteral(" ") + T(59) + N() + QStringLiteral(":") + kCrLf + lineText;
}

QString BatchRun::FrameC(int id, const QString& lineText) const {
    return T(id) + N() + QStringLiteral(":") + kCrLf + lineText;
}

void BatchRun::NoSuchElementError() {
    Report(T(21), FrameA(84, L()));
}
void BatchRun::CountFailedError() {
    Report(T(40), FrameA(83, L()));
}
void BatchRun::ArrayRedefinedError() {
    Report(T(40), FrameA(17, L()));
}
void BatchRun::BadVariableNameError() {
    Report(T(40), FrameA(82, L()));
}
void BatchRun::ArrayHeaderError() {
    Report(T(62), FrameA(81, L()));
}
void BatchRun::ArrayElementError() {
    Report(T(62), FrameA(80, L()));
}
void BatchRun::MissingParenthesesError(const QString& lineText) {
    Report(T(40), FrameA(75, lineText));
}
void BatchRun::IfTooDeepError() {
    Report(T(21), T(48) + QStringLiteral("(") + QString::number(ifLevel_ - FrameIfBase()) +
                      QStringLiteral(") ") + T(59) + N() + QStringLiteral(":") + kCrLf + L());
}
void BatchRun::NoReturnValueError() {
    Report(T(52), FrameA(70, L()));
}
void BatchRun::UnreadableValueError() {
    Report(T(40), FrameA(65, L()));
}
void BatchRun::NotAnIntegerError() {
    Report(T(62), FrameA(38, L()));
}
void BatchRun::UnknownFunctionError() {
    Report(T(52), FrameA(61, L()));
}
void BatchRun::UnknownSubError() {
    Report(T(67), FrameA(74, L()));
}

void BatchRun::FunctionInOutputError() {
    Report(T(58), FrameA(21, L()) + kCrLf + T(66) + kCrLf);
}

void BatchRun::FunctionInReturnError() {
    Report(T(40), FrameA(21, L()) + kCrLf + T(66) + kCrLf);
}

void BatchRun::UnmatchedEndError(const QString& keyword) {
    Report(T(40),
           QStringLiteral("END") + keyword + QStringLiteral(" ") + T(16) + QStringLiteral(" ") +
               keyword + QStringLiteral(" ") + T(59) + N() + QStringLiteral(":") + kCrLf + L(),
           true, MsgIcon::None, MsgButtons::OkCancel);
}

void BatchRun::TooManyProceduresError() {
    Report(T(52), FrameC(56, L()));
}
void BatchRun::MissingEndFunctionError() {
    Report(T(52), FrameC(53, L()));
}

void BatchRun::DuplicateError(bool sub, const QString& lineText) {
    Report(sub ? T(67) : T(52), FrameC(sub ? 69 : 54, lineText));
}

void BatchRun::TooManyArgumentsError() {
    Report(T(52), FrameC(55, L()));
}

void BatchRun::ArityError(bool sub, int headerIndex) {
    const QString& header = headerIndex >= 1 && headerIndex < static_cast<int>(lines_.size())
                                ? lines_[static_cast<std::size_t>(headerIndex)].text
                                : emptyLine_;
    // The header names the procedure; the calling line follows, as a computation names its line.
    Report(sub ? T(67) : T(52), T(sub ? 68 : 57) + LineNumberText(FileLineNumber(headerIndex)) +
                                    QStringLiteral(":") + kCrLf + header + kCrLf +
                                    state_.Caption(Caption::Line) + N() + QStringLiteral(", '") +
                                    L() + QStringLiteral("'"));
}

void BatchRun::IfStructureError() {
    Report(T(40), FrameC(39, L()));
}
void BatchRun::DoStructureError() {
    Report(T(40), FrameC(46, L()));
}

void BatchRun::EvaluationError() {
    const bool missing = calendarArgumentMissing;
    calendarArgumentMissing = false;
    QString message = FrameC(missing ? 47 : 41, L());
    if (!missing && failure != EvalFailure::None) {
        message += kCrLf + FailureText();
    }
    failure = EvalFailure::None;
    Report(T(40), message);
}

// Why an evaluation failed, in the current language: the reason's text, followed by the
// argument it concerns where there is one.
QString BatchRun::FailureText() const {
    int id = 0;
    switch (failure) {
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
            if (QString reason = DateCheckReason(refusedDate, refusedCheck, state_.language);
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
    return failureSubject.isEmpty() ? T(id) : T(id) + QStringLiteral(" ") + failureSubject;
}

void BatchRun::ReservedNameError() {
    Report(T(43), FrameC(42, L()));
}
void BatchRun::DowComparisonError() {
    Report(T(45), FrameC(44, L()));
}
void BatchRun::OverflowError() {
    Report(T(71), FrameA(71, L()));
}
void BatchRun::DoForEachSyntaxError() {
    Report(T(21), FrameC(79, L()), false);
}

void BatchRun::DateReadError(ParseOutcome outcome, bool maybeVariable) {
    if (outcome == ParseOutcome::Valid) {
        return;
    }
    const int id = outcome == ParseOutcome::OutOfRange ? 28 : maybeVariable ? 250 : 29;
    Report(T(21), FrameC(id, L()));
}

// A date literal that was read and refused: the calendars that say why add their reason on a
// line of its own.
void BatchRun::DateReadError(const CodedParseResult& date, const QString& text,
                             bool maybeVariable) {
    const ParseOutcome outcome = date.parsed.outcome;
    if (outcome == ParseOutcome::Invalid && date.calendar &&
        NamesWhyDateIsRefused(*date.calendar)) {
        if (const QString reason = RefusedDateReason(*date.calendar, text, state_.language);
            !reason.isEmpty()) {
            Report(T(21), FrameC(29, L()) + kCrLf + reason);
            return;
        }
    }
    DateReadError(outcome, maybeVariable);
}

void BatchRun::StructuralError(Caption caption) {
    Report(T(21), state_.Caption(caption) + QStringLiteral(" ") + T(59) + N() +
                      QStringLiteral(":") + kCrLf + L());
}

// A run-time report whose text has no place for a line number: the line number and the
// line come first, as in the computation's reports.
void BatchRun::LineReport(const QString& message) {
    Report(T(21), state_.Caption(Caption::Line) + N() + QStringLiteral(", '") + L() +
                      QStringLiteral("':") + kCrLf + message);
}

void BatchRun::FullTableBox() {
    LineReport(T(50));
}

}  // namespace daybridge::batch
