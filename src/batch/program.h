// A batch program as loaded: each line with its upper-case and blank-free forms, its kind and
// the statement read from it once, the block ends it jumps to and the procedure tables.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "batch/batch_text.h"
#include "batch/block_index.h"
#include "batch/expressions.h"
#include "batch/variables.h"

namespace daybridge::batch {

class Reporter;

inline constexpr int kMaxStoredLines = 32500;
inline constexpr int kMaxProcedures = 100;

// The run-cycle forms, decided once per line from its upper-case text.
enum class LineKind : std::uint8_t {
    Comment,
    Stop,
    Skip,
    EndSkip,
    Function,
    EndFunction,
    Sub,
    EndSub,
    Call,
    Do,
    ExitDo,
    EndDo,
    If,
    ElseIf,
    Else,
    EndIf,
    Return,
    Output,
    Blank,
    EndArray,
    Array,
    Statement
};
LineKind ClassifyLine(const QString& upper);

// The settings a statement line may name, in the order the names are tried.
enum class Setting : std::uint8_t {
    DateFormat,
    ThousandsSeparator,
    IncludeFirstDate,
    IncludeWeekendDates,
    Verbose,
    Hyphen,
    FirstDate,
    SecondDate,
    // the working days
    Weekend,
    Holidays,
    Categories,
    HalfDays,
    // the switch day of the historical Christian calendar (HIS)
    GregorianSwitch,
    // the rules of the week-date and fiscal calendars (WK, FY, FYW)
    WeekRule,
    FiscalYear,
    FiscalWeeks
};

// How an assignment names its target.
enum class TargetForm : std::uint8_t {
    Name,     // a variable name (or an empty or reserved one, refused as reserved)
    Counter,  // {NAME}
    Element,  // NAME[index], resolved when executed
    BadName   // not a variable name
};

// What an OUTPUT: line writes.
enum class OutputForm : std::uint8_t { Plain, Builtin, UserFunction, UnknownFunction };
// An assignment's operator: "=", "+=", "-=".
enum class AssignOp : std::uint8_t { Set, Add, Subtract };
// What an IF or ELSEIF line tests: a comparison of two values, a DOW( day name, a built-in
// that is True or False (ISLEAPYEAR(, ISINSHORTHEXADE(), or nothing it can test (no operator;
// DOW( compared by size).
enum class ConditionForm : std::uint8_t {
    Comparison,
    DayOfWeek,
    TrueOrFalse,
    NoOperator,
    DayOfWeekOrdered
};
enum class Comparison : std::uint8_t {
    Less,
    LessOrEqual,
    Greater,
    GreaterOrEqual,
    Equal,
    NotEqual
};

// NAME=value where NAME is a setting; the value is read when the line runs.
struct SettingStatement {
    Setting setting = Setting::DateFormat;
    QString value;  // the text after "=" (null without one)
};

// A line of up to three fields set apart by "#" (or a tab): a computation. The fields are
// trimmed, without blanks, upper case.
struct ComputeStatement {
    std::array<QString, 3> fields;
};

// CALL NAME(arguments).
struct CallStatement {
    QString call;  // the text after CALL
    bool hasParentheses = false;
    bool namesSub = false;  // NAME is a SUB of the program
    int argumentCount = 0;
};

// NAME = / += / -= value.
struct AssignStatement {
    AssignOp op = AssignOp::Set;
    QString target;
    QString value;
    Literal literal;
    ParsedCall call;  // the value's built-in, if it is one
    TargetForm targetForm = TargetForm::Name;
    bool targetReserved = false;      // refused as reserved (not for Element: checked when run)
    bool valueIsToday = false;        // value TODAY
    bool valueCallsFunction = false;  // value is a call of a user FUNCTION
    SlotMemo targetSlot;              // lookups of the target (not for Element)
    SlotMemo valueSlot;               // lookups of the value as a variable name
};

struct OutputStatement {
    QString text;
    QString end;  // CR LF, a blank (";") or nothing (";;")
    OutputForm form = OutputForm::Plain;
    ParsedCall call;
};

// One side of a comparison: a name, a number, a built-in or a date, told apart when the line
// runs (a variable may hide the others); the number and the built-in's call read once.
struct Operand {
    QString text;
    Literal literal;
    ParsedCall call;
};

// IF, IFNOT, ELSEIF, ELSEIFNOT.
struct ConditionStatement {
    ConditionForm form = ConditionForm::Comparison;
    bool negate = false;
    Comparison compare = Comparison::Less;
    Operand left;
    Operand right;
    ParsedCall call;  // DOW( or the True-or-False built-in
    QString dayName;
    bool dayNameUnequal = false;  // DOW(X)!=NAME
};

// DO n; a DO without a count has none.
struct DoStatement {
    QString count;
    ParsedCall call;
};

// RETURN: value (an empty value ends a SUB).
struct ReturnStatement {
    QString value;
    Literal literal;
    ParsedCall call;
    bool callsFunction = false;
};

using Statement =
    std::variant<std::monostate, SettingStatement, ComputeStatement, AssignStatement, CallStatement,
                 OutputStatement, ConditionStatement, DoStatement, ReturnStatement>;

// The lines that the run cycle can execute without any report or host call as long as
// nothing goes wrong, decided once the program is prepared. Anything else, or a failure on the
// way, takes the line's full form.
enum class FastForm : std::uint8_t {
    None,
    Comment,
    EndDo,
    OutputText,   // OUTPUT: of plain text
    OutputCall,   // OUTPUT: of a built-in's value
    AssignValue,  // NAME = / += / -= an integer literal or a variable
};

struct ProgramLine {
    QString text;   // trimmed, as written
    QString upper;  // upper case
    QString stmt;   // no spaces, no apostrophes, upper case
    int fileLine = 0;
    bool rewritten = false;  // one of the lines a DOFOREACH line became
    LineKind kind = LineKind::Comment;
    FastForm fast = FastForm::None;
    // Kept apart from the line so that the run cycle's walk over the lines stays small; the
    // slot memos in it change as the program runs.
    std::unique_ptr<Statement> statement;

    // The statement as the line's kind says it is (every line of a kind that has a statement
    // gets it when the program is prepared; the run cycle asks without checking again).
    template <typename T>
    T& As() const {
        T* const typed = std::get_if<T>(statement.get());
        if (typed == nullptr) {
            __builtin_unreachable();
        }
        return *typed;
    }
};

class Program {
  public:
    Program();

    // Stores the lines, rewriting each DOFOREACH line into five; false when the program is
    // refused (reported). `cursor` follows the line being stored, for the reports.
    bool Load(const QStringList& fileLines, Reporter& report, int& cursor);
    // The FUNCTION and SUB tables; false when one was refused (reported).
    bool CollectProcedures(Reporter& report, int& cursor);
    // Reads each line's statement; the procedure tables must be known (a value may call a
    // FUNCTION).
    void Prepare();
    void Clear();

    int Count() const { return lineCount_; }
    const ProgramLine& Line(int index) const { return lines_[static_cast<std::size_t>(index)]; }
    bool Has(int index) const { return index >= 1 && index < static_cast<int>(lines_.size()); }
    // The file line of a stored line (a DOFOREACH line's, for the lines it became).
    int FileLineNumber(int index) const;
    // A stored line as written in the file; empty for no line.
    const QString& FileText(int index) const;
    const BlockIndex& Blocks() const { return blocks_; }

    bool IsFunctionCall(const QString& upperText) const;
    bool IsSubCall(const QString& upperText) const;
    // The header line of a FUNCTION or SUB; 0 for none.
    int ProcedureHeader(const QString& name, bool sub) const;
    bool IsReservedTarget(const QString& target) const;

  private:
    bool CollectTable(bool subs, Reporter& report, int& cursor);
    void PrepareStatement(ProgramLine& line) const;
    void PrepareAssignment(ProgramLine& line) const;
    void PrepareOutput(ProgramLine& line) const;
    static void PrepareCondition(ProgramLine& line);
    static void PrepareDo(ProgramLine& line);
    void PrepareReturn(ProgramLine& line) const;
    void PrepareCall(ProgramLine& line) const;
    static void PrepareComputation(ProgramLine& line);

    std::vector<ProgramLine> lines_;  // index 0 unused
    int lineCount_ = 0;
    BlockIndex blocks_;
    QHash<int, QString> forEachTexts_;  // the DOFOREACH lines as written, by file line
    QHash<QString, int> functions_;
    QHash<QString, int> subs_;
    QString emptyLine_;
};

}  // namespace daybridge::batch
