// The built-in functions of the batch language and the operand readers. A call is recognised
// and its arguments cut out once (ParseCall); evaluating it reads variables through an
// ExpressionContext and never shows anything: failures clear `ok`.
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

#include "batch/variables.h"
#include "calendar/calendar_registry.h"
#include "datetext/date_format.h"
#include "datetext/text_format.h"
#include "workdays/workday_calendar.h"

namespace daybridge::batch {

// The outcome of the most recent computation.
struct LastResult {
    bool isDate = false;
    std::int32_t date = 0;
    std::int32_t difference = 0;
    std::int32_t Value() const { return isDate ? date : difference; }
};

// Why an evaluation cleared ok: the report names it (None: no reason is named).
enum class EvalFailure : std::uint8_t {
    None,
    ArgumentCount,       // an argument missing or empty, or too many
    UnknownVariable,     // subject: the name
    NameNeeded,          // VAL(, DATEVAL(, DOW( given a number; subject: the number
    NotAnInteger,        // subject: the text
    NumberOutOfRange,    // beyond 32 bits; subject: the number
    UnknownCalendar,     // subject: the code
    UnsuitableCalendar,  // a code the function does not take; subject: the code
    InvalidDate,         // DATE('s numbers name no day of the calendar
    RefusedDate,         // the same, where the calendar says why (refusedDate, refusedCheck)
    DateOutOfRange,      // a day given beyond JDN +-2,100,000,000
    ResultOutOfRange,    // the value asked for cannot be shown or lies beyond the range
    ResultNotADate,      // RESULT after a computed difference, where a date is needed
    UnknownArray,        // COUNT( of no array; subject: the name
    NoSuchMonth,         // MONTHNAME( of a month the calendar does not have
    TextOnly,            // MONTHNAME( where a number is needed
    UnknownRoll,         // ROLL('s convention; subject: the word
    NoSuchWorkday,       // NTHWORKDAY( beyond the month's working days
    UnknownUnit,         // STARTOF(, ENDOF( given no unit they know; subject: the word
};

class ExpressionContext {
  public:
    virtual ~ExpressionContext() = default;
    // The value of a visible variable (upper-case name), if there is one.
    virtual std::optional<std::int32_t> LookupVariable(const QString& upperName) const = 0;
    // The same, where the caller keeps `memo` for this name so that a context with a variable
    // table can skip the search while the table is unchanged.
    virtual std::optional<std::int32_t> LookupRemembered(const QString& upperName,
                                                         SlotMemo& /*memo*/) const {
        return LookupVariable(upperName);
    }
    // The number of consecutive elements NAME[1], NAME[2], ...; nothing when NAME[1] is missing.
    virtual std::optional<int> CountArray(const QString& upperName) const = 0;
    virtual std::int32_t TodayJdn() const = 0;
    virtual LastResult Result() const = 0;
    // The format in force: date order, separators, hyphen, regional format.
    virtual const TextFormat& Format() const = 0;
    // A text of the text data file in the current language (the world calendars' month names).
    virtual QString Text(int id) const = 0;

    // Set by the functions that take a calendar code when that argument is empty; read and
    // cleared by the error report.
    bool calendarArgumentMissing = false;
    // Set when ADD( or SUBTRACT( leaves the 32-bit range.
    bool overflow = false;
    // The reason of the last evaluation that cleared ok and the argument it concerns: the first
    // reason found counts. Cleared when an evaluation starts; the operand readers, which see the
    // context as const, note their reasons too.
    mutable EvalFailure failure = EvalFailure::None;
    mutable QString failureSubject;
    void NoteFailure(EvalFailure why, QStringView subject = {}) const {
        if (failure == EvalFailure::None) {
            failure = why;
            failureSubject = subject.toString();
        }
    }

    // DATE('s numbers and what the calendar's check found, for RefusedDate.
    CalendarDate refusedDate;
    jdcore::DateCheck refusedCheck;

    // The working-day calendar of the run (the default, Saturday and Sunday, where there is
    // no run).
    virtual const WorkdayCalendar& Workdays() const;
};

// Whether a refused date of the calendar is reported with the calendar's reason. The
// calendars the batch language always had keep their one described message.
constexpr bool NamesWhyDateIsRefused(CalendarId calendar) {
    return IndexOf(calendar) >= IndexOf(CalendarId::ROC);
}

enum class Builtin {
    None,
    Val,
    DateVal,
    Dow,
    IsLeapYear,
    NewYearsDay,
    Date,
    DayOf,
    WeekOf,
    MonthOf,
    YearOf,
    YearInHexade,
    IsInShortHexade,
    Add,
    Subtract,
    MonthName,
    Count,
    // working days (workday_builtins.cpp)
    Easter,
    IsHoliday,
    IsWorkday,
    Workdays,
    AddWorkdays,
    Roll,
    NextWorkday,
    PrevWorkday,
    NthWorkday,
    WorkdaysInMonth,
    WorkdaysInYear,
    // calendar units (unit_builtins.cpp)
    AddMonths,
    AddYears,
    MonthsBetween,
    // weeks and fiscal periods (fiscal_builtins.cpp)
    QuarterOf,
    PeriodOf,
    StartOf,
    EndOf,
    AddWeeks,
    AddPeriods,
    AddQuarters,
    WeeksBetween,
    PeriodsBetween,
    QuartersBetween,
};

// The built-in that an upper-case expression begins with (its name and "(").
Builtin RecognizeBuiltin(QStringView upper);

// Room for DATEVAL('s ISO text with its code and a line end of up to two characters.
inline constexpr int kIsoDateValRoom = kIsoWeekTextRoom + 6;

// The last ISO line that WriteIsoDateVal wrote for a call: the next day's line is the same but
// for its weekday digit, unless the day was a Sunday.
struct IsoLineMemo {
    std::int32_t jdn = 0;
    int weekday = 0;  // [1, 7]; 0: nothing remembered
    bool hyphen = false;
    int weekdayAt = 0;  // index of the weekday digit in text (which holds the first day's)
    int length = 0;     // characters in text: the date, " ISO" and the line end
    std::array<char16_t, kIsoDateValRoom> text{};
};

struct ParsedCall {
    Builtin function = Builtin::None;
    std::array<QString, 4> args;     // trimmed, upper case
    std::array<QString, 4> ordArgs;  // DATE( split into three, for ORD
    int commas = 0;
    // The arguments written (commas plus one, none for "()") and those the function takes.
    int argumentCount = 0;
    int expectedArguments = 0;
    // The calendar its code names (DATE('s first argument, else the second); nullptr when none.
    const CalendarEntry* calendar = nullptr;
    // DATE( of a lunisolar calendar with LEAP after the day: the leap month that repeats the
    // month given.
    bool leapMonth = false;
    // The first argument's variable slot as last found (a hint for LookupRemembered).
    mutable SlotMemo firstArgumentSlot;
    // DATEVAL( of ISO: the line last written (WriteIsoDateVal).
    mutable IsoLineMemo isoLine;
    // Whether the first argument is the name TODAY or RESULT, decided once.
    enum class Named : std::uint8_t { Other, Today, Result };
    Named firstArgument = Named::Other;
};
ParsedCall ParseCall(const QString& text);

std::int32_t EvaluateNumber(const ParsedCall& call, ExpressionContext& context, bool& ok);
// EASTER(, ISHOLIDAY(, ISWORKDAY(, WORKDAYS(, ADDWORKDAYS( and the roll conventions
// (workday_builtins.cpp).
std::int32_t EvaluateWorkdayBuiltin(const ParsedCall& call, ExpressionContext& context, bool& ok);
// ADDMONTHS(, ADDYEARS(, MONTHSBETWEEN( (unit_builtins.cpp). Clears ok for a missing or unknown
// calendar (setting context.calendarArgumentMissing when it is empty), an operand that cannot
// be read, a day beyond JDN +-2,100,000,000 or a result out of range.
std::int32_t EvaluateUnitBuiltin(const ParsedCall& call, ExpressionContext& context, bool& ok);
std::int32_t EvaluateFiscalBuiltin(const ParsedCall& call, ExpressionContext& context, bool& ok);
QString EvaluateText(const ParsedCall& call, ExpressionContext& context, bool& ok);
// EvaluateText's text appended to `out`; nothing is appended when ok is cleared.
void AppendEvaluatedText(const ParsedCall& call, ExpressionContext& context, bool& ok,
                         QString& out);

// DATEVAL('s text and then `end` appended to `out` as AppendEvaluatedText appends the text,
// for a call with a calendar argument whose first argument (a variable) has the value `value`;
// false (nothing appended) where AppendEvaluatedText would clear ok.
bool AppendDateValOfSlot(const ParsedCall& call, std::int32_t value, ExpressionContext& context,
                         QStringView end, QString& out);
// The same text for a call of ISO whose `end` is at most two characters, written at `at`, which
// has room for kIsoDateValRoom characters; the number of characters, 0 for other calls and
// values out of range.
int WriteIsoDateVal(const ParsedCall& call, std::int32_t value, ExpressionContext& context,
                    QStringView end, char16_t* at);

// Operand readers (the text need not be upper case or trimmed).
std::int32_t EvaluateOperand(QStringView text, const ExpressionContext& context, bool& ok);
std::int32_t EvaluateNumericOperand(QStringView text, const ExpressionContext& context, bool& ok);

// A variable or an element name (index an integer literal or a variable), upper case.
std::optional<std::int32_t> ReadVariableOrElement(const QString& upperName,
                                                  const ExpressionContext& context);
// The name of the element that an element name designates ("A[I]" with I = 3 -> "A[3]");
// nothing when the index is neither an integer literal nor a variable.
std::optional<QString> ResolveElementName(const QString& upperName,
                                          const ExpressionContext& context);

}  // namespace daybridge::batch
