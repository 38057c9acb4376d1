// Holiday rules and the text format they are read from (described in docs/holidays.md).
//
// A rule names the date of one holiday in each year of its range: a fixed day of a month
// (Gregorian or Julian), the n-th or last weekday of a month, a number of days from Easter
// Sunday (Western or Orthodox computus), or a single date. A holiday that falls on a weekend
// day may be observed on another day, as its rule says.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace daybridge {

enum class HolidayKind {
    FixedDay,    // month/day every year, in the rule's calendar
    NthWeekday,  // the nth (1..5) weekday of a month, or the last one (nth 0)
    EasterDays,  // Easter Sunday + offset, Western or Orthodox
    SingleDate,  // one Gregorian date
};

enum class Observed {
    None,      // kept on its day
    Next,      // on a weekend day or another holiday: the next working day that is free
    Previous,  // ... the previous working day that is free
    FriMon,    // Saturday to the Friday before, Sunday to the Monday after
};

struct HolidayRule {
    QString name;
    HolidayKind kind = HolidayKind::FixedDay;
    bool julian = false;  // Julian calendar (fixed day) or Julian computus (Easter)
    int month = 1;        // 1..12
    int day = 1;          // 1..31
    int weekday = 0;      // 0 Monday .. 6 Sunday (NthWeekday)
    int nth = 1;          // 1..5, 0 = last (NthWeekday)
    int offset = 0;       // days from Easter Sunday (EasterDays)
    std::int64_t firstYear = std::numeric_limits<std::int32_t>::min();  // in the rule's calendar
    std::int64_t lastYear = std::numeric_limits<std::int32_t>::max();
    Observed observed = Observed::None;

    bool ActiveIn(std::int64_t year) const { return year >= firstYear && year <= lastYear; }
    // The rule's own date in `year` of its calendar, before any observed shift; none when the
    // year has no such day (30 February, a fifth Monday) or lies outside the rule's years.
    std::optional<std::int64_t> DateIn(std::int64_t year) const {
        return ActiveIn(year) ? DateInAnyYear(year) : std::nullopt;
    }
    // The same, whatever the rule's first and last year.
    std::optional<std::int64_t> DateInAnyYear(std::int64_t year) const;
    bool IsWesternEaster() const { return kind == HolidayKind::EasterDays && !julian; }
};

// The largest Easter offsets allowed: the dates stay inside the year of their Easter, at
// least ten days from its ends, whatever the computus.
inline constexpr int kMinEasterOffset = -70;
inline constexpr int kMaxEasterOffset = 240;

struct HolidaySet {
    QString name;  // a shipped set's name, or the file path it was read from
    std::vector<HolidayRule> rules;
};

// What is wrong with a rule file. The texts of the faults name the words in `details` as %1,
// %2, ... (holidayFaultEnglish gives them in English; the program's messages come from its text
// data file, in the interface language).
enum class HolidayFault {
    None,
    NoColon,                // a ':' and the holiday's name must end the line
    NoName,                 // nothing after ':'
    NoDate,                 // nothing before ':'
    NotADate,               // %1: "13-01", "2024-1-"
    NoSuchDay,              // month %1 has no day %2
    NotLeapYear,            // %1 is not a leap year (a single 29 February)
    EasterOffset,           // %1, %2: the limits; %3 the text
    OrthodoxWithoutEaster,  // 'orthodox' without 'easter'
    NotABeginning,          // %1 begins no kind of date
    NotAWeekday,            // %1
    OfMissing,              // %1 %2: the ordinal and weekday before the missing 'of'
    NotAMonth,              // %1
    JulianMisplaced,        // 'julian' twice, or after Easter or a single date
    BoundTwice,             // %1 'from' or 'until', twice or for a single date
    BoundYear,              // %1 'from' or 'until'; %2, %3 the limits
    FirstAfterLast,         // from after until
    ObservedTwice,          // 'observed' twice
    ObservedHow,            // not next, previous or fri-mon
    UnknownWord,            // %1
    // The whole set (line 0):
    TooComplex,    // %1 years where rules begin or end, %2 rules in force at most
    NoWorkingDay,  // no day is a working day, whatever the weekend
};

struct HolidayParseResult {
    std::optional<HolidaySet> set;  // only when the whole text was read
    int line = 0;                   // the first faulty line (from 1); 0 for the whole set
    HolidayFault fault = HolidayFault::None;
    QStringList details;  // the words the fault's text names
};

// The fault's text in English, with its details filled in.
QString HolidayFaultEnglish(HolidayFault fault, const QStringList& details);

// Reads a rule file's text; refuses it whole at its first faulty line. Lines end with LF,
// CR LF or CR alone. A set whose counting would need more work than any file of the size
// limit needs with ordinary rules (HolidayFault::TooComplex), or that leaves no working day
// even without weekend days, is refused whole.
HolidayParseResult ParseHolidayRules(const QString& text);

}  // namespace daybridge
