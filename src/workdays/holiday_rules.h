// Holiday rules and the text format they are read from (described in docs/holidays.md).
//
// A rule names the date of one holiday in each year of its range: a fixed day of a month
// (Gregorian or Julian), the n-th or last weekday of a month, a number of days from Easter
// Sunday (Western or Orthodox computus), or a single date. A holiday that falls on a weekend
// day may be observed on another day, as its rule says.
#pragma once

#include <QString>
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
    // year has no such day (30 February, a fifth Monday).
    std::optional<std::int64_t> DateIn(std::int64_t year) const;
};

// The largest Easter offsets allowed: the dates stay inside the year of their Easter, at
// least ten days from its ends, whatever the computus.
inline constexpr int kMinEasterOffset = -70;
inline constexpr int kMaxEasterOffset = 240;

struct HolidaySet {
    QString name;  // a shipped set's name, or the file path it was read from
    std::vector<HolidayRule> rules;
};

struct HolidayParseResult {
    std::optional<HolidaySet> set;  // only when the whole text was read
    int line = 0;                   // the first faulty line (from 1)
    QString error;                  // what is wrong there
};

// Reads a rule file's text; refuses it whole at its first faulty line.
HolidayParseResult ParseHolidayRules(const QString& text);

}  // namespace daybridge
