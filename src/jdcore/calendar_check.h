// What is wrong with a date, for the calendars with tables, eras and leap months: one answer
// for every one of them, which a text layer turns into a message.
#pragma once

#include <cstdint>

namespace jdcore {

enum class DateProblem : std::uint8_t {
    None,
    MonthOutOfRange,  // limit: the months the year has
    NoSuchLeapMonth,  // limit: the number of the year's leap month, 0 when it has none
    DayOutOfRange,    // limit: the days the month has
    InSwitchGap,      // Julian-to-Gregorian: the day was skipped; limit: the first day kept
    OutsideEra,       // limit: the era's last year (0 for the era still running: a year < 1)
    OutOfSpan,        // the year lies outside the calendar's table; limit: the nearest year
    // Week dates and fiscal dates:
    YearOutOfRange,    // beyond the years the rule is defined for
    PeriodOutOfRange,  // fiscal period or quarter
    WeekOutOfRange,    // below 1 or beyond the year's (or period's) weeks
    DayOutsideYear,    // a day of a calendar-year week that lies in the year before or after
    // Positional counts (the Long Count):
    PlaceOutOfRange,  // limit: the place's largest value; place: which (2 .. 5, katun .. kin)
};

struct DateCheck {
    DateProblem problem = DateProblem::None;
    std::int64_t limit = 0;
    int place = 0;  // PlaceOutOfRange

    constexpr bool ok() const { return problem == DateProblem::None; }
};

}  // namespace jdcore
