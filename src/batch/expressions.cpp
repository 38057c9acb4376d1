#include "batch/expressions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "batch/batch_text.h"
#include "calendar/calendar_table.h"
#include "calendar/iso_ordinal.h"
#include "calendar/leap_week.h"
#include "datetext/date_format.h"
#include "jdcore/week_rules.h"
#include "jdcore/world_calendars.h"

namespace daybridge::batch {

namespace {

struct BuiltinName {
    const char16_t* name;
    Builtin function;
    int arguments;
};

// In the order in which they are recognised.
constexpr BuiltinName kBuiltins[] = {
    {u"VAL(", Builtin::Val, 1},
    {u"DATEVAL(", Builtin::DateVal, 2},
    {u"DOW(", Builtin::Dow, 1},
    {u"ISLEAPYEAR(", Builtin::IsLeapYear, 2},
    {u"NEWYEARSDAY(", Builtin::NewYearsDay, 2},
    {u"DATE(", Builtin::Date, 4},
    {u"DAYOF(", Builtin::DayOf, 2},
    {u"WEEKOF(", Builtin::WeekOf, 2},
    {u"MONTHOF(", Builtin::MonthOf, 2},
    {u"YEAROF(", Builtin::YearOf, 2},
    {u"YEARINHEXADE(", Builtin::YearInHexade, 1},
    {u"ISINSHORTHEXADE(", Builtin::IsInShortHexade, 1},
    {u"ADD(", Builtin::Add, 2},
    {u"SUBTRACT(", Builtin::Subtract, 2},
    {u"MONTHNAME(", Builtin::MonthName, 2},
    {u"COUNT(", Builtin::Count, 1},
    {u"EASTER(", Builtin::Easter, 2},
    {u"ISHOLIDAY(", Builtin::IsHoliday, 1},
    {u"ISWORKDAY(", Builtin::IsWorkday, 1},
    {u"WORKDAYS(", Builtin::Workdays, 2},
    {u"ADDWORKDAYS(", Builtin::AddWorkdays, 2},
    {u"ROLL(", Builtin::Roll, 2},
    {u"NEXTWORKDAY(", Builtin::NextWorkday, 1},
    {u"PREVWORKDAY(", Builtin::PrevWorkday, 1},
    {u"NTHWORKDAY(", Builtin::NthWorkday, 3},
    {u"WORKDAYSINMONTH(", Builtin::WorkdaysInMonth, 2},
    {u"WORKDAYSINYEAR(", Builtin::WorkdaysInYear, 1},
    {u"ADDMONTHS(", Builtin::AddMonths, 3},
    {u"ADDYEARS(", Builtin::AddYears, 3},
    {u"MONTHSBETWEEN(", Builtin::MonthsBetween, 3},
    {u"QUARTEROF(", Builtin::QuarterOf, 2},
    {u"PERIODOF(", Builtin::PeriodOf, 2},
    {u"STARTOF(", Builtin::StartOf, 3},
    {u"ENDOF(", Builtin::EndOf, 3},
    {u"ADDWEEKS(", Builtin::AddWeeks, 2},
    {u"ADDPERIODS(", Builtin::AddPeriods, 3},
    {u"ADDQUARTERS(", Builtin::AddQuarters, 3},
    {u"WEEKSBETWEEN(", Builtin::WeeksBetween, 3},
    {u"PERIODSBETWEEN(", Builtin::PeriodsBetween, 3},
    {u"QUARTERSBETWEEN(", Builtin::QuartersBetween, 3},
};

constexpr std::int64_t kMaxYear = kMaxYearMagnitude;

bool InJdnRange(std::int64_t jdn) {
    return jdn >= kMinDayNumber && jdn <= kMaxDayNumber;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t m) {
    const std::int64_t r = a % m;
    return r < 0 ? r + m : r;
}

int SundayDayOfWeek(std::int32_t jdn) {
    return static_cast<int>(FloorMod(std::int64_t(jdn) + 1, 7));
}

// The calendar a code names; nullptr for a code that names none.
const CalendarEntry* CalendarNamed(const QString& code) {
    const std::optional<CalendarId> id = CalendarOfCode(code);
    return id ? &Calendar(*id) : nullptr;
}

// Sets the calendar-argument-missing flag from a calendar argument; false when it is empty.
bool NoteCalendar(const QString& cal, ExpressionContext& context) {
    context.calendarArgumentMissing = cal.isEmpty();
    return !cal.isEmpty();
}

// Clears ok and notes why; 0, the value of a failed evaluation.
std::int32_t Fail(const ExpressionContext& context, bool& ok, EvalFailure why,
                  QStringView subject = {}) {
    context.NoteFailure(why, subject);
    ok = false;
    return 0;
}

// A calendar argument that names no calendar, or one the function does not take.
std::int32_t CalendarFailure(const ExpressionContext& context, bool& ok, const QString& cal,
                             const CalendarEntry* calendar) {
    return Fail(
        context, ok,
        calendar == nullptr ? EvalFailure::UnknownCalendar : EvalFailure::UnsuitableCalendar, cal);
}

// Why an operand (upper case, trimmed) that is no number the reader takes, and no name it
// knows, cannot be read: empty, number-like (a digit or a point first, no letter) or a name.
std::int32_t OperandFailure(QStringView t, const ExpressionContext& context, bool& ok) {
    if (t.isEmpty()) {
        return Fail(context, ok, EvalFailure::ArgumentCount);
    }
    const QChar first = t[0] == u'+' || t[0] == u'-' ? (t.size() > 1 ? t[1] : QChar()) : t[0];
    const bool numberLike = (first >= u'0' && first <= u'9') || first == u'.';
    const bool letters = std::any_of(t.begin(), t.end(), [](QChar c) { return IsNameLetter(c); });
    return Fail(context, ok,
                numberLike && !letters ? EvalFailure::NotAnInteger : EvalFailure::UnknownVariable,
                t);
}

bool IsDigitsWithSign(QStringView t, bool allowCommas) {
    if (t.isEmpty()) {
        return false;
    }
    qsizetype i = 0;
    if (t[0] == u'+' || t[0] == u'-') {
        i = 1;
    }
    bool digit = false;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c >= u'0' && c <= u'9') {
            digit = true;
        } else if (!(allowCommas && c == u',')) {
            return false;
        }
    }
    return digit;
}

std::int32_t ReadNumber(QStringView t, bool allowCommas, const ExpressionContext& context,
                        bool& ok) {
    const Literal literal = ParseIntegerLiteral(t, allowCommas);
    if (literal.kind != LiteralKind::Value) {
        return Fail(context, ok,
                    literal.kind == LiteralKind::Overflow ? EvalFailure::NumberOutOfRange
                                                          : EvalFailure::NotAnInteger,
                    t);
    }
    return literal.value;
}

// The week rule WEEKOF( takes instead of a calendar: a spreadsheet WEEKNUM return type (1, 2,
// 11-17, 21), US (Sunday, the week holding 1 January) or MIDEAST (Saturday, the same).
std::optional<jdcore::WeekRule> WeekRuleNamed(const QString& text) {
    if (text == QLatin1String("US")) {
        return jdcore::kUsWeeks;
    }
    if (text == QLatin1String("MIDEAST")) {
        return jdcore::kMiddleEastWeeks;
    }
    bool number = false;
    const int type = text.size() <= 2 ? text.toInt(&number) : 0;
    return number ? jdcore::WeekNumReturnType(type) : std::nullopt;
}

IsoWeekRecord IsoWeekOf(std::int32_t jdn) {
    IsoWeekRecord r;
    r.jdn = jdn;
    JdnToIsoWeek(r);
    return r;
}

// Appends the JDN written in `calendar` (whose code text is `cal`) as DATEVAL( writes it;
// nothing, with ok cleared, for a code that names no calendar, beyond the day number range and
// beyond the calendar's span (an ordinal date outside years 1 to 9999, which the date reader
// would refuse). A day number is written whatever its range.
void AppendDateText(QString& out, std::int32_t jdn, const QString& cal,
                    const CalendarEntry* calendar, const ExpressionContext& context, bool& ok) {
    if (calendar == nullptr) {
        CalendarFailure(context, ok, cal, calendar);
        return;
    }
    if (calendar->notation != Notation::DayNumber) {
        if (!InJdnRange(jdn)) {
            Fail(context, ok, EvalFailure::DateOutOfRange);
            return;
        }
        if (!InSpan(*calendar, jdn)) {
            Fail(context, ok, EvalFailure::ResultOutOfRange);
            return;
        }
    }
    AppendDateTextWithCode(out, calendar->id, jdn, context.Format());
}

// DATE(: the JDN of the date built from the arguments (a year, a month or week, a day; a year
// and a day of the year for a calendar that counts days of the year), which `built` holds.
std::int32_t BuildDate(const ParsedCall& call, ExpressionContext& context, bool& ok,
                       CalendarDate& built) {
    const QString& cal = call.args[0];
    if (cal.isEmpty()) {
        context.calendarArgumentMissing = true;
        ok = false;
        return 0;
    }
    const CalendarEntry* calendar = call.calendar;
    if (calendar != nullptr && calendar->fields == FieldKind::YearDay) {
        if (call.commas >= 3 || call.ordArgs[1].isEmpty() || call.ordArgs[2].isEmpty()) {
            return Fail(context, ok, EvalFailure::ArgumentCount);
        }
        const std::int32_t y = EvaluateNumericOperand(call.ordArgs[1], context, ok);
        const std::int32_t d = EvaluateNumericOperand(call.ordArgs[2], context, ok);
        if (!ok) {
            return 0;
        }
        built = {.calendar = calendar->id, .year = y, .day = d};
    } else {
        if (calendar == nullptr || !calendar->HasYears()) {
            return CalendarFailure(context, ok, cal, calendar);
        }
        if (call.args[1].isEmpty() || call.args[2].isEmpty() || call.args[3].isEmpty()) {
            return Fail(context, ok, EvalFailure::ArgumentCount);
        }
        const std::int32_t y = EvaluateNumericOperand(call.args[1], context, ok);
        const std::int32_t a = EvaluateNumericOperand(call.args[2], context, ok);
        const std::int32_t b = EvaluateNumericOperand(call.args[3], context, ok);
        if (!ok) {
            return 0;
        }
        built = {
            .calendar = calendar->id, .leapMonth = call.leapMonth, .month = a, .year = y, .day = b};
    }
    if (built.year < calendar->minYear || built.year > calendar->maxYear) {
        return Fail(context, ok, EvalFailure::ResultOutOfRange);
    }
    if (const jdcore::DateCheck check = calendar->check(built); !check.ok()) {
        if (NamesWhyDateIsRefused(calendar->id)) {
            context.refusedDate = built;
            context.refusedCheck = check;
            return Fail(context, ok, EvalFailure::RefusedDate);
        }
        return Fail(context, ok, EvalFailure::InvalidDate);
    }
    const std::int64_t jdn = calendar->toJdn(built);
    if (!InJdnRange(jdn) || !InSpan(*calendar, jdn)) {
        return Fail(context, ok, EvalFailure::ResultOutOfRange);
    }
    return static_cast<std::int32_t>(jdn);
}

std::int32_t Checked(std::int64_t value, ExpressionContext& context, bool& ok) {
    if (value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min()) {
        context.overflow = true;
        ok = false;
        return 0;
    }
    return static_cast<std::int32_t>(value);
}

// VAL(, DATEVAL(, DOW(: TODAY, RESULT or a variable; a literal clears ok. The first argument
// of `call` is read.
std::int32_t NamedValue(const ParsedCall& call, const ExpressionContext& context, bool& ok,
                        bool resultOnlyDate, bool resultAlwaysDate) {
    const QString& x = call.args[0];
    if (call.firstArgument == ParsedCall::Named::Today) {
        return context.TodayJdn();
    }
    if (call.firstArgument == ParsedCall::Named::Result) {
        const LastResult r = context.Result();
        if (resultAlwaysDate) {
            return r.date;
        }
        if (resultOnlyDate && !r.isDate) {
            return Fail(context, ok, EvalFailure::ResultNotADate);
        }
        return r.Value();
    }
    // A variable, found through the call's remembered slot; else an element.
    if (const auto v = context.LookupRemembered(x, call.firstArgumentSlot)) {
        return *v;
    }
    if (const auto v = ReadVariableOrElement(x, context)) {
        return *v;
    }
    if (IsDigitsWithSign(x, true)) {
        return Fail(context, ok, EvalFailure::NameNeeded, x);
    }
    return OperandFailure(x, context, ok);
}

}  // namespace

Builtin RecognizeBuiltin(QStringView upper) {
    for (const BuiltinName& b : kBuiltins) {
        if (upper.startsWith(QStringView(b.name))) {
            return b.function;
        }
    }
    return Builtin::None;
}

// DATE('s fifth argument LEAP, for a calendar with leap months: the call without it, and
// whether it was there.
bool TakeLeapArgument(QString& call) {
    const qsizetype close = call.lastIndexOf(u')');
    const qsizetype comma = close < 0 ? -1 : call.lastIndexOf(u',', close);
    if (comma < 0 ||
        TrimWhite(QStringView(call).mid(comma + 1, close - comma - 1)) != QLatin1String("LEAP")) {
        return false;
    }
    call.remove(comma, close - comma);
    return true;
}

ParsedCall ParseCall(const QString& text) {
    ParsedCall call;
    QString normal = UpperText(text);
    for (const BuiltinName& b : kBuiltins) {
        if (normal.startsWith(QStringView(b.name))) {
            if (b.function == Builtin::Date) {
                const CalendarEntry* calendar = CalendarNamed(SplitArguments(normal, 2)[0]);
                call.leapMonth = calendar != nullptr &&
                                 calendar->notation == Notation::LunisolarDate &&
                                 CountArguments(normal) == 5 && TakeLeapArgument(normal);
            }
            call.function = b.function;
            call.args = SplitArguments(normal, b.arguments);
            if (b.function == Builtin::Date) {
                call.ordArgs = SplitArguments(normal, 3);
                call.commas = static_cast<int>(normal.count(u','));
            }
            call.calendar = CalendarNamed(call.args[b.function == Builtin::Date ? 0 : 1]);
            call.argumentCount = CountArguments(normal);
            const bool dayOfYearDate = b.function == Builtin::Date && call.calendar != nullptr &&
                                       call.calendar->fields == FieldKind::YearDay;
            call.expectedArguments = dayOfYearDate ? 3 : b.arguments;
            if (call.args[0] == QLatin1String("TODAY")) {
                call.firstArgument = ParsedCall::Named::Today;
            } else if (call.args[0] == QLatin1String("RESULT")) {
                call.firstArgument = ParsedCall::Named::Result;
            }
            return call;
        }
    }
    return call;
}

std::optional<QString> ResolveElementName(const QString& upperName,
                                          const ExpressionContext& context) {
    const qsizetype open = upperName.indexOf(u'[');
    if (open <= 0) {
        return std::nullopt;
    }
    const QString index = ArrayIndexText(upperName);
    if (index.isEmpty()) {
        return std::nullopt;
    }
    std::int32_t n = 0;
    const Literal literal = ParseIntegerLiteral(index, false);
    if (literal.kind == LiteralKind::Value) {
        n = literal.value;
    } else if (literal.kind == LiteralKind::Overflow) {
        return std::nullopt;
    } else if (const auto v = context.LookupVariable(index)) {
        n = *v;
    } else {
        return std::nullopt;
    }
    return upperName.left(open) + QStringLiteral("[") + QString::number(n) + QStringLiteral("]");
}

std::optional<std::int32_t> ReadVariableOrElement(const QString& upperName,
                                                  const ExpressionContext& context) {
    if (const auto v = context.LookupVariable(upperName)) {
        return v;
    }
    if (upperName.endsWith(u']')) {
        if (const auto element = ResolveElementName(upperName, context)) {
            return context.LookupVariable(*element);
        }
    }
    return std::nullopt;
}

std::int32_t EvaluateOperand(QStringView text, const ExpressionContext& context, bool& ok) {
    const QString t = UpperText(TrimWhite(text));
    if (IsDigitsWithSign(t, false)) {
        return ReadNumber(t, false, context, ok);
    }
    if (t == QLatin1String("TODAY")) {
        return context.TodayJdn();
    }
    if (t == QLatin1String("RESULT")) {
        return context.Result().Value();
    }
    if (const auto v = ReadVariableOrElement(t, context)) {
        return *v;
    }
    return OperandFailure(t, context, ok);
}

std::int32_t EvaluateNumericOperand(QStringView text, const ExpressionContext& context, bool& ok) {
    const QString t = UpperText(TrimWhite(text));
    if (IsDigitsWithSign(t, true)) {
        return ReadNumber(t, true, context, ok);
    }
    if (const auto v = ReadVariableOrElement(t, context)) {
        return *v;
    }
    return OperandFailure(t, context, ok);
}

namespace {

std::int32_t EvaluateDateVal(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    if (!NoteCalendar(call.args[1], context)) {
        ok = false;
        return 0;
    }
    if (call.calendar == nullptr) {  // every calendar writes its dates
        return CalendarFailure(context, ok, call.args[1], call.calendar);
    }
    return NamedValue(call, context, ok, true, false);
}

std::int32_t EvaluateIsLeapYear(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    const CalendarEntry* calendar = call.calendar;
    if (!NoteCalendar(call.args[1], context)) {
        ok = false;
        return 0;
    }
    if (calendar == nullptr || calendar->isLeapYear == nullptr) {
        return CalendarFailure(context, ok, call.args[1], calendar);
    }
    const std::int32_t y = EvaluateNumericOperand(call.args[0], context, ok);
    if (!ok) {
        return 0;
    }
    const std::optional<bool> leap = calendar->isLeapYear(y);
    if (!leap) {
        return Fail(context, ok, EvalFailure::ResultOutOfRange);
    }
    return *leap ? 1 : 0;
}

std::int32_t EvaluateNewYearsDay(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    const CalendarEntry* calendar = call.calendar;
    if (!NoteCalendar(call.args[1], context)) {
        ok = false;
        return 0;
    }
    if (calendar == nullptr || !calendar->HasYears()) {
        return CalendarFailure(context, ok, call.args[1], calendar);
    }
    const std::int32_t y = EvaluateNumericOperand(call.args[0], context, ok);
    if (!ok) {
        return 0;
    }
    if (y > kMaxYear || y < -kMaxYear) {
        return Fail(context, ok, EvalFailure::ResultOutOfRange);
    }
    // Day 1 of the year's first month (Hebrew: Tishri), week 1, day of the year 1.
    const std::int64_t jdn = calendar->toJdn({.month = calendar->firstMonth, .year = y, .day = 1});
    if (!InJdnRange(jdn)) {
        return Fail(context, ok, EvalFailure::ResultOutOfRange);
    }
    return static_cast<std::int32_t>(jdn);
}

// WEEKOF( with a week rule, or of a fiscal year of weeks; nullopt when neither applies.
std::optional<std::int32_t> EvaluateRuleOrFiscalWeek(const ParsedCall& call,
                                                     ExpressionContext& context, bool& ok) {
    if (const std::optional<jdcore::WeekRule> rule = WeekRuleNamed(call.args[1])) {
        const std::int32_t x = EvaluateNumericOperand(call.args[0], context, ok);
        if (!ok) {
            return 0;
        }
        if (!InJdnRange(x)) {
            return Fail(context, ok, EvalFailure::DateOutOfRange);
        }
        return jdcore::ToWeekDate(*rule, x).week;
    }
    const CalendarEntry* calendar = call.calendar;
    if (calendar != nullptr && calendar->fields != FieldKind::YearWeekDay &&
        calendar->fiscal != nullptr && calendar->fiscal->Has(FiscalUnit::Week)) {
        return EvaluateFiscalBuiltin(call, context, ok);
    }
    return std::nullopt;
}

// Whether the calendar has the field DAYOF(, WEEKOF(, MONTHOF( or YEAROF( asks for.
bool HasDateField(Builtin function, const CalendarEntry* calendar) {
    if (calendar == nullptr) {
        return false;
    }
    switch (function) {
        case Builtin::WeekOf:
            return calendar->fields == FieldKind::YearWeekDay;
        case Builtin::MonthOf:
            return calendar->fields == FieldKind::YearMonthDay;
        default:
            return calendar->HasYears();
    }
}

std::int32_t EvaluateDateField(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    if (call.function == Builtin::WeekOf) {
        if (const std::optional<std::int32_t> week = EvaluateRuleOrFiscalWeek(call, context, ok)) {
            return *week;
        }
    }
    if (!NoteCalendar(call.args[1], context)) {
        ok = false;
        return 0;
    }
    if (!HasDateField(call.function, call.calendar)) {
        return CalendarFailure(context, ok, call.args[1], call.calendar);
    }
    const std::int32_t x = call.function == Builtin::DayOf
                               ? EvaluateOperand(call.args[0], context, ok)
                               : EvaluateNumericOperand(call.args[0], context, ok);
    if (!ok) {
        return 0;
    }
    if (!InJdnRange(x)) {
        return Fail(context, ok, EvalFailure::DateOutOfRange);
    }
    // Day: of the month, the week or the year; week and month both in `month`.
    const CalendarDate date = FromJdn(call.calendar->id, x);
    return call.function == Builtin::DayOf    ? date.day
           : call.function == Builtin::YearOf ? static_cast<std::int32_t>(date.year)
                                              : date.month;
}

std::int32_t EvaluateHexade(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    if (call.args[0].isEmpty()) {
        return 0;
    }
    const std::int32_t y = EvaluateNumericOperand(call.args[0], context, ok);
    if (!ok) {
        return 0;
    }
    return call.function == Builtin::YearInHexade ? YearInHexade(y) : (IsInShortHexade(y) ? 1 : 0);
}

std::int32_t EvaluateAddOrSubtract(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    const std::int64_t x = EvaluateOperand(call.args[0], context, ok);
    const std::int64_t y = EvaluateOperand(call.args[1], context, ok);
    if (!ok) {
        return 0;
    }
    return Checked(call.function == Builtin::Add ? x + y : y - x, context, ok);
}

std::int32_t EvaluateCount(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    const auto n = context.CountArray(call.args[0]);
    if (call.args[0].isEmpty()) {
        return Fail(context, ok, EvalFailure::ArgumentCount);
    }
    if (!n) {
        return Fail(context, ok, EvalFailure::UnknownArray, call.args[0]);
    }
    return *n;
}

std::int32_t EvaluateCall(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    switch (call.function) {
        case Builtin::None:
            ok = false;
            return 0;
        case Builtin::MonthName:
            return Fail(context, ok, EvalFailure::TextOnly);
        case Builtin::Val:
            return NamedValue(call, context, ok, false, false);
        case Builtin::Easter:
        case Builtin::IsHoliday:
        case Builtin::IsWorkday:
        case Builtin::Workdays:
        case Builtin::AddWorkdays:
        case Builtin::Roll:
        case Builtin::NextWorkday:
        case Builtin::PrevWorkday:
        case Builtin::NthWorkday:
        case Builtin::WorkdaysInMonth:
        case Builtin::WorkdaysInYear:
            return EvaluateWorkdayBuiltin(call, context, ok);
        case Builtin::AddMonths:
        case Builtin::AddYears:
        case Builtin::MonthsBetween:
            return EvaluateUnitBuiltin(call, context, ok);
        case Builtin::QuarterOf:
        case Builtin::PeriodOf:
        case Builtin::StartOf:
        case Builtin::EndOf:
        case Builtin::AddWeeks:
        case Builtin::AddPeriods:
        case Builtin::AddQuarters:
        case Builtin::WeeksBetween:
        case Builtin::PeriodsBetween:
        case Builtin::QuartersBetween:
            return EvaluateFiscalBuiltin(call, context, ok);
        case Builtin::DateVal:
            return EvaluateDateVal(call, context, ok);
        case Builtin::Dow: {
            const std::int32_t x = NamedValue(call, context, ok, false, true);
            return ok ? SundayDayOfWeek(x) : 0;
        }
        case Builtin::IsLeapYear:
            return EvaluateIsLeapYear(call, context, ok);
        case Builtin::NewYearsDay:
            return EvaluateNewYearsDay(call, context, ok);
        case Builtin::Date: {
            CalendarDate built;
            return BuildDate(call, context, ok, built);
        }
        case Builtin::DayOf:
        case Builtin::WeekOf:
        case Builtin::MonthOf:
        case Builtin::YearOf:
            return EvaluateDateField(call, context, ok);
        case Builtin::YearInHexade:
        case Builtin::IsInShortHexade:
            return EvaluateHexade(call, context, ok);
        case Builtin::Add:
        case Builtin::Subtract:
            return EvaluateAddOrSubtract(call, context, ok);
        case Builtin::Count:
            return EvaluateCount(call, context, ok);
    }
    ok = false;
    return 0;
}

// A failed call written with more or fewer arguments than its function takes names that as
// the reason (a missing calendar has its own message).
void NoteArgumentCount(const ParsedCall& call, const ExpressionContext& context) {
    if (call.argumentCount != call.expectedArguments && !context.calendarArgumentMissing) {
        context.failure = EvalFailure::ArgumentCount;
        context.failureSubject.clear();
    }
}

}  // namespace

std::int32_t EvaluateNumber(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    ok = true;
    context.failure = EvalFailure::None;
    const std::int32_t value = EvaluateCall(call, context, ok);
    if (!ok) [[unlikely]] {
        NoteArgumentCount(call, context);
    }
    return value;
}

int WriteIsoDateVal(const ParsedCall& call, std::int32_t value, ExpressionContext& context,
                    QStringView end, char16_t* at) {
    if (call.calendar == nullptr || call.calendar->notation != Notation::IsoWeekDate ||
        end.size() > 2 || !InJdnRange(value)) {
        return 0;
    }
    // As AppendEvaluatedText goes for a calendar argument that is there and a value found.
    context.calendarArgumentMissing = false;
    IsoLineMemo& memo = call.isoLine;
    const bool hyphen = context.Format().hyphen;
    const auto endAt = static_cast<std::size_t>(memo.weekdayAt) + 5;  // after the digit, " ISO"
    const auto endLength = static_cast<std::size_t>(end.size());      // [0, 2]
    if (memo.weekday >= 1 && memo.weekday <= 6 && value == memo.jdn + 1 && hyphen == memo.hyphen &&
        static_cast<std::size_t>(memo.length) == endAt + endLength &&
        (endLength < 1 || memo.text[endAt] == end[0].unicode()) &&
        (endLength < 2 || memo.text[endAt + 1] == end[1].unicode())) {
        // The day after a Monday to Saturday: the same week, the next weekday.
        ++memo.weekday;
    } else {
        const IsoWeekRecord week = IsoWeekOf(value);
        int n = WriteIsoWeek(memo.text.data(), week, hyphen);
        memo.weekday = week.weekday;
        memo.weekdayAt = n - 1;  // a weekday is one digit, written last
        std::copy_n(u" ISO", 4, memo.text.data() + n);
        n += 4;
        std::copy(end.utf16(), end.utf16() + end.size(), memo.text.data() + n);
        memo.length = n + static_cast<int>(end.size());
        memo.hyphen = hyphen;
    }
    memo.jdn = value;
    // The memo's text is left as it is and the weekday written in the copy: a read of text
    // just stored would wait for the store.
    constexpr int kShortLine = 32;
    static_assert(kIsoDateValRoom >= kShortLine);
    const auto bytes =
        static_cast<std::size_t>(memo.length <= kShortLine ? kShortLine : memo.length) *
        sizeof(char16_t);
    std::memcpy(at, memo.text.data(), bytes);
    at[memo.weekdayAt] = static_cast<char16_t>(u'0' + memo.weekday);
    return memo.length;
}

bool AppendDateValOfSlot(const ParsedCall& call, std::int32_t value, ExpressionContext& context,
                         QStringView end, QString& out) {
    char16_t line[kIsoDateValRoom];
    const int length = WriteIsoDateVal(call, value, context, end, line);
    if (length > 0) {
        out.append(QStringView(line, length));
        return true;
    }
    // As AppendEvaluatedText goes for a calendar argument that is there and a value found.
    context.calendarArgumentMissing = false;
    bool ok = true;
    AppendDateText(out, value, call.args[1], call.calendar, context, ok);
    if (ok) {
        out += end;
    }
    return ok;
}

QString EvaluateText(const ParsedCall& call, ExpressionContext& context, bool& ok) {
    QString text;
    AppendEvaluatedText(call, context, ok, text);
    return text;
}

void AppendEvaluatedText(const ParsedCall& call, ExpressionContext& context, bool& ok,
                         QString& out) {
    ok = true;
    context.failure = EvalFailure::None;
    const auto& a = call.args;
    const TextFormat& f = context.Format();
    if (call.function == Builtin::MonthName) {
        if (!NoteCalendar(a[1], context)) {
            ok = false;
            return;
        }
        const CalendarEntry* calendar = call.calendar;
        if (calendar == nullptr ||
            (calendar->monthNames.fixed.empty() && calendar->monthNames.textCount == 0)) {
            CalendarFailure(context, ok, a[1], calendar);
            return;
        }
        const std::int32_t m = EvaluateNumericOperand(a[0], context, ok);
        if (!ok) {
            NoteArgumentCount(call, context);
            return;
        }
        // Texts of the text data file in the run's language.
        const QString name =
            MonthNameOf(calendar->id, m, [&context](int id) { return context.Text(id); });
        if (name.isEmpty()) {
            Fail(context, ok, EvalFailure::NoSuchMonth);
            return;
        }
        out += name;
        return;
    }
    if (call.function == Builtin::Date) {
        CalendarDate built;
        const std::int32_t jdn = BuildDate(call, context, ok, built);
        if (!ok) {
            NoteArgumentCount(call, context);
            return;
        }
        if (call.calendar->fields == FieldKind::YearDay) {
            // As given, without the code.
            out += FormatOrdinal(static_cast<std::int32_t>(built.year), built.day, f.hyphen);
            return;
        }
        AppendDateText(out, jdn, a[0], call.calendar, context, ok);
        return;
    }
    const std::int32_t value = EvaluateNumber(call, context, ok);
    if (!ok) {
        return;
    }
    const auto magnitude = std::llabs(static_cast<long long>(value));
    switch (call.function) {
        case Builtin::Val:
            out += magnitude > 9999 ? FormatRegional(value, f.regional) : QString::number(value);
            return;
        case Builtin::YearOf:
        case Builtin::Add:
        case Builtin::Subtract:
            out += magnitude >= 9999 ? FormatRegional(value, f.regional) : QString::number(value);
            return;
        case Builtin::NewYearsDay:
            out += FormatRegional(value, f.regional);
            return;
        case Builtin::Dow:
            out += DayName(value);
            return;
        case Builtin::IsLeapYear:
        case Builtin::IsInShortHexade:
            out += value == 1 ? QLatin1String("True") : QLatin1String("False");
            return;
        case Builtin::DateVal:
            AppendDateText(out, value, a[1], call.calendar, context, ok);
            return;
        default:
            out += QString::number(value);
            return;
    }
}

}  // namespace daybridge::batch
