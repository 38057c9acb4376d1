// The calendar registry: one entry per calendar, holding everything the program needs to know
// about it — its code and library letter, how its dates convert to and from the Julian Day
// Number, its months and years, its range, how its dates are written and read, how years and
// months are added in it, its names, and its place in the window. Everything that asks "which
// calendar?" asks the registry; nothing outside calendar/calendars/ decides by a calendar's
// identity.
//
// Entries are plain constant tables of function pointers: a conversion is one indirect call,
// never a virtual one, and the CE conversion of the calendar library stays inline for the
// callers that use the date record.
#pragma once

#include <QString>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <utility>

#include "calendar/calendar_list.h"
#include "jdcore/calendar_check.h"

namespace daybridge {

// A date as its calendar counts it. Which parts a calendar uses is its FieldKind; the others
// stay 0.
struct CalendarDate {
    CalendarId calendar = kDefaultCalendar;
    bool leapMonth = false;  // the leap month that repeats `month` (lunisolar calendars)
    std::int16_t era = 0;    // the era of a calendar with named eras (0 where it has none)
    std::int32_t month = 0;  // month; the week of a week date; the katun
    std::int64_t year = 0;   // year (of the era; the week-year); the baktun; the day number
    std::int32_t day = 0;    // day of the month; weekday 1 (Monday) .. 7; day of the year; tun
    std::int32_t uinal = 0;  // the Long Count's last two places
    std::int32_t kin = 0;
};

// Which parts of a CalendarDate a calendar's dates have.
enum class FieldKind : std::uint8_t {
    DayNumber,     // year holds the day number
    YearMonthDay,  // year, month, day of the month (and leapMonth, era where the calendar has them)
    YearWeekDay,   // week-year, week, weekday 1 (Monday) .. 7
    YearDay,       // year and day of the year
    LongCount,     // baktun (year), katun (month), tun (day), uinal, kin
};

// How a calendar's dates are written and read (datetext/date_parse.h, date_format.h).
enum class Notation : std::uint8_t {
    DayNumber,         // a signed number, grouped in threes: the JDN less the calendar's offset
    CivilDate,         // year, month, day in the user's order and separator (calendar library)
    LibraryYearFirst,  // year-month-day with "-", day first under DMY (calendar library)
    OrdinalDate,       // "2012-060": year and day of the year, the hyphen as set
    IsoWeekDate,       // "2012-W05-3", the hyphens as set
    LeapWeekDate,      // "2012-05-3": year, week, weekday of the leap week record
    LeapMonthDate,     // "2012-02-29": year, month, day of the leap week record
    YearMonthDay,      // "5787-09-27": year first with "-", whatever the order and separator
    LongCount,         // "13.0.14.2.19"
    LunisolarDate,     // "2033-11bis-02": as YearMonthDay, a leap month marked "bis" (any case)
    EraYearMonthDay,   // "Reiwa 8-12-07": the era's name, then as YearMonthDay (see EraNames)
    WeekDate,          // "2026-W50-1": year, "W" and the week, the day of the week; hyphens always
    PeriodDate,        // "2027-P05-15": year, "P" and the period, the day of the period
};

// What follows a leap month's number in a LunisolarDate ("11bis": the leap month after month 11).
inline constexpr const char* kLeapMonthMark = "bis";

// The breakdown of a difference into units shown after the day count (same calendar, both
// dates).
enum class Breakdown : std::uint8_t { None, YearsMonthsDays, YearsWeeksDays, YearsDays };

// Where the date fields offer a calendar: an option button of its own, the list of the other
// calendars, or not at all (a calendar that only the settings file or the batch language names).
enum class FieldChoice : std::uint8_t { None, Option, OtherList };

// Which month the month display opens on for a first date in the calendar: today's (the date
// is not read), the date's CE month on the CE grid, its Julian month on the Julian grid, or its
// CE month on whichever grid is chosen.
enum class MonthDisplay : std::uint8_t { Today, CommonEra, Julian, CommonEraMonthOnly };

// The Easter computus that EASTER( gives in the calendar, if any.
enum class EasterRule : std::uint8_t { None, Gregorian, Julian };

// Month names: a fixed list, the same in every language, or texts of the text data file.
struct MonthNames {
    std::span<const char* const> fixed{};  // month 1 first
    int firstText = 0;                     // text ids firstText .. firstText + textCount - 1
    int textCount = 0;
};

// The month arithmetic of a calendar whose years differ in their months (Hebrew; lunisolar):
// months are counted by their place in the year (1 .. monthsInYear), which differs from their
// number. Calendars whose years all have the same months leave it out: place = number.
struct MonthArithmetic {
    // The place of a month of `year` (month number and leap flag as in CalendarDate).
    int (*placeOf)(std::int64_t year, std::int32_t month, bool leapMonth);
    // The month (number and leap flag) at a place of `year`.
    void (*monthAt)(std::int64_t year, int place, CalendarDate& date);
    // Months from a fixed origin to the first month of `year`, and the year holding a month
    // counted so; exact and O(1) for |year| <= 1.1e9.
    std::int64_t (*monthsBeforeYear)(std::int64_t year);
    std::int64_t (*yearOfMonth)(std::int64_t monthIndex);
    // The place a month keeps when years are added: the same month by name in `toYear`.
    int (*placeAfterYears)(std::int64_t fromYear, int place, std::int64_t toYear);
};

// The named eras of a calendar whose dates carry one (Notation::EraYearMonthDay). Era n
// (CalendarDate::era, 1 the first) is names[n - 1], also written shortNames[n - 1]; it begins
// on firstJdn[n - 1] and ends the day before the next one begins. Era 0 holds the days before
// the first era: their dates have the plain year of the calendar's months and no name.
struct EraNames {
    std::span<const char* const> names;       // "Meiji"; read case-blind
    std::span<const char* const> shortNames;  // "M"
    std::span<const std::int64_t> firstJdn;
};

// The units of the week-date and fiscal calendars, for the built-ins that step and count them.
enum class FiscalUnit : std::uint8_t { Week = 1, Period = 2, Quarter = 4, Year = 8 };

// The arithmetic of those units in a calendar that has them (`units`, a set of FiscalUnit
// bits); each function is asked only for a unit the calendar has. Nothing is returned for a
// result beyond the calendar library's range.
struct FiscalArithmetic {
    std::uint8_t units = 0;
    // Which of them holds the day: the week of the year, the period, the quarter, the year.
    std::int64_t (*numberOf)(FiscalUnit unit, std::int64_t jdn);
    // The first and last day of the unit holding the day.
    std::pair<std::int64_t, std::int64_t> (*spanOf)(FiscalUnit unit, std::int64_t jdn);
    std::optional<std::int64_t> (*add)(FiscalUnit unit, std::int64_t jdn, std::int64_t count);
    // The unit's starts passed going from `from` to `to` (negative backwards).
    std::int64_t (*between)(FiscalUnit unit, std::int64_t from, std::int64_t to);

    bool Has(FiscalUnit unit) const { return (units & static_cast<std::uint8_t>(unit)) != 0; }
};

// The rule a calendar's dates follow where the user chooses it for the process (the Gregorian
// switch, the week rule, the fiscal years): as text, and taken from text (false when the text
// names no rule; nothing changes then).
struct ChosenRule {
    QString (*text)();
    bool (*take)(QStringView text);
};

struct CalendarEntry {
    CalendarId id;
    const char* code;           // "CE"; compared case-blind
    const char* libraryLetter;  // the described table's letter ("G", "JD", ""), for show
    char recordLetter = 0;      // the letter a date record carries: 'G' (also ORD), 'J', 'A',
                                // 'V', 'I'; 0 for a calendar the calendar library has not
    FieldKind fields = FieldKind::YearMonthDay;
    Notation notation = Notation::YearMonthDay;
    std::int64_t dayOffset = 0;  // DayNumber: the JDN is the written number plus this
    bool groupsYear = true;      // a year beyond 9999 is written with digit grouping

    // ---- arithmetic ----
    // The date of a day inside `span`; fields not used stay 0.
    CalendarDate (*fromJdn)(std::int64_t jdn) = nullptr;
    // The day of a date that `check` accepts (or that fromJdn gave); plain arithmetic beyond.
    std::int64_t (*toJdn)(const CalendarDate& date) = nullptr;
    // What is wrong with a date of years minYear..maxYear, if anything (the year limits are
    // tested by the caller, which reports them as out of range).
    jdcore::DateCheck (*check)(const CalendarDate& date) = nullptr;
    // Months (weeks of a week date) in a year; days in the month (week) of a date.
    int (*monthsInYear)(std::int64_t year) = nullptr;
    int (*daysInMonth)(const CalendarDate& month) = nullptr;
    // Whether a year is a leap year (the longer of its kinds); nothing beyond the years the
    // rule covers. nullptr for a calendar without years.
    std::optional<bool> (*isLeapYear)(std::int64_t year) = nullptr;
    int firstMonth = 1;  // the number of a year's first month (Hebrew: Tishri, 7)
    const MonthArithmetic* monthArithmetic = nullptr;

    // ---- range ----
    // The days the calendar writes and reads.
    std::int64_t firstJdn = -2'100'000'000;
    std::int64_t lastJdn = 2'100'000'000;
    // The years its dates may be given in (DATE(, the year-first reader).
    std::int64_t minYear = -5'800'000;
    std::int64_t maxYear = 5'800'000;

    // ---- units ----
    CalendarId unitMonths;   // the calendar whose months years and months are added in
    bool weekYears = false;  // years are added as week-years, keeping week and weekday
    Breakdown breakdown = Breakdown::None;
    int breakdownAfterDays = 0;  // the breakdown is shown for longer differences only

    // ---- names ----
    int nameText = 0;  // text id of its name; 0: the window's option caption names it
    MonthNames monthNames{};
    const EraNames* eras = nullptr;            // Notation::EraYearMonthDay
    const FiscalArithmetic* fiscal = nullptr;  // weeks, periods, quarters of its own
    const ChosenRule* rule = nullptr;          // a rule of the user's choice, if any

    // ---- the window and the batch language ----
    FieldChoice fieldChoice = FieldChoice::OtherList;
    int optionSlot = -1;  // place among the option buttons (FieldChoice::Option)
    int todaySlot = -1;   // place in the today labels' cycle; kTodayAfter, kTodayNever
    MonthDisplay monthDisplay = MonthDisplay::CommonEra;
    CalendarId pageMonthsIn;        // the months Page Up/Down step by in a date field
    bool fiveDayWeekLabel = false;  // the today labels speak of "a (5-day) week"
    EasterRule easter = EasterRule::None;

    bool HasYears() const {
        return fields != FieldKind::DayNumber && fields != FieldKind::LongCount;
    }
};

// Today labels' cycle: after the slotted calendars, in registry order; or never.
inline constexpr int kTodayAfter = 100;
inline constexpr int kTodayNever = -1;

// ---- lookup ----

const CalendarEntry& Calendar(CalendarId id);
// Every entry, in the order of their identities.
std::span<const CalendarEntry* const> AllCalendars();
// By code, case-blind; nothing for a code no calendar has.
std::optional<CalendarId> CalendarOfCode(QStringView code);
// By position in the registry (the identity's number), as a list keeps it.
std::optional<CalendarId> CalendarOfIndex(int index);
// The described indices 0..8 of the settings file, both ways.
std::optional<CalendarId> CalendarOfDescribedIndex(std::int64_t index);
std::optional<int> DescribedIndexOf(CalendarId id);
// The calendar whose date records carry `letter` ('G' is CE).
std::optional<CalendarId> CalendarOfRecordLetter(std::int32_t letter);

QString CodeOf(CalendarId id);

// The era a word names in a calendar with named eras (its name or short name, case-blind; "o"
// also written "ō" or "ou"); nothing for a word that names none, or a calendar without eras.
std::optional<int> EraOfName(const CalendarEntry& calendar, QStringView word);
// The name of era `era` (1 the first); empty for era 0 and beyond the calendar's eras.
QString EraName(const CalendarEntry& calendar, int era);

// ---- the window's lists ----

// The calendars with option buttons, in their order; those of the other calendars' list; the
// today labels' cycle.
std::span<const CalendarId> OptionCalendars();
std::span<const CalendarId> OtherListCalendars();
std::span<const CalendarId> TodayCycle();

// ---- dates ----

inline CalendarDate FromJdn(CalendarId id, std::int64_t jdn) {
    CalendarDate date = Calendar(id).fromJdn(jdn);
    date.calendar = id;
    return date;
}
// The day of a date, checked: nothing when the calendar has no such date (or its year is
// beyond the calendar's years).
std::optional<std::int64_t> ToJdn(const CalendarDate& date);
jdcore::DateCheck CheckDate(const CalendarDate& date);
bool InSpan(const CalendarEntry& calendar, std::int64_t jdn);

// The name of month `month` of a calendar, through `text` (a text id to its text in the
// language wanted) where the text data file holds it; empty for a month the calendar has not.
template <typename TextOf>
QString MonthNameOf(CalendarId id, std::int64_t month, TextOf&& text) {
    const MonthNames& names = Calendar(id).monthNames;
    if (month >= 1 && month <= static_cast<std::int64_t>(names.fixed.size())) {
        return QString::fromUtf8(names.fixed[static_cast<std::size_t>(month - 1)]);
    }
    if (month >= 1 && month <= names.textCount) {
        return text(names.firstText + static_cast<int>(month) - 1);
    }
    return {};
}

}  // namespace daybridge
