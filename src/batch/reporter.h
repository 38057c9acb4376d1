// The reports of a batch run: each message is built from the text store with the line it is
// about, shown in a message box and (most) appended to the output.
#pragma once

#include <QString>
#include <cstdint>

#include "app/app_state.h"
#include "app/host.h"
#include "batch/expressions.h"
#include "datetext/date_parse.h"

namespace daybridge::batch {

class Program;

// The reports whose text is one message about the current line.
enum class Fault : std::uint8_t {
    NoSuchElement,
    CountFailed,
    ArrayRedefined,
    BadVariableName,
    ArrayHeader,
    ArrayElement,
    MissingParentheses,
    NoReturnValue,
    UnreadableValue,
    NotAnInteger,
    UnknownFunction,
    UnknownSub,
    FunctionInOutput,
    FunctionInReturn,
    TooManyProcedures,
    MissingEndFunction,
    DuplicateFunction,
    DuplicateSub,
    TooManyArguments,
    IfStructure,
    DoStructure,
    DoTooDeep,
    NoOperator,
    ReservedName,
    DowComparison,
    Overflow,
    DoForEachSyntax,
};

// Why a program was refused while its lines were stored.
enum class LoadFault : std::uint8_t {
    TooLong,
    OutputWithoutColon,
    TrailingSemicolon,
    ReturnWithoutColon
};

class Reporter {
  public:
    // `cursor` is the run's current line; `evaluation` holds why the last evaluation failed.
    Reporter(AppState& state, Host& host, const Program& program, const int& cursor,
             ExpressionContext& evaluation);

    // Whether anything was reported since it was last cleared.
    bool errorReported = false;

    QString T(int id) const;
    // The current line's number as a sign-less number is printed, and the line as written.
    QString LineNumber() const;
    const QString& LineText() const;

    void Box(const QString& title, const QString& text, MsgIcon icon = MsgIcon::Exclamation);
    void Report(const QString& title, const QString& message, bool appendToOutput = true,
                MsgIcon icon = MsgIcon::Exclamation, MsgButtons buttons = MsgButtons::Ok);

    void Raise(Fault fault);
    void Raise(Fault fault, const QString& lineText);
    void LoadRefusal(LoadFault fault, int fileLine, const QString& lineText);
    void UnmatchedEnd(const QString& keyword);
    void IfTooDeep(int depth);
    void Arity(bool sub, int headerIndex);
    // A built-in or an argument that could not be evaluated, with the reason noted.
    void Evaluation();
    void DateRead(ParseOutcome outcome, bool maybeVariable = false);
    void DateRead(const CodedParseResult& date, const QString& text, bool maybeVariable);
    void ValueRead(const CodedParseResult& date, const QString& text);
    void Structural(Caption caption);
    // A report whose text has no place for a line number.
    void LineReport(const QString& message);
    void FullTable();
    // A difference that cannot be read, in the words and the form of the computation's own
    // report; in the output only.
    void InvalidDays();
    // A field of a computation that cannot be read, or its result out of range.
    void ComputeFault(ComputeMessageRow message);

  private:
    QString FrameA(int id, const QString& lineText) const;
    QString FrameC(int id, const QString& lineText) const;
    QString FailureText() const;

    AppState& state_;
    Host& host_;
    OutputText& output_;  // the host's
    const Program& program_;
    const int& cursor_;
    ExpressionContext& evaluation_;
};

}  // namespace daybridge::batch
