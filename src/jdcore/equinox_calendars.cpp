// The equinox calendars from their new-year tables (see equinox_calendars.h).
#include "jdcore/equinox_calendars.h"

#include <array>

#include "jdcore/astronomical_tables.h"
#include "jdcore/astronomical_tables_layout.h"

namespace jdcore {

namespace {

// Gregorian year of each calendar's year 0, and the month of its new year.
struct Era {
    std::int64_t gregorianOffset;
    std::int64_t newYearMonth;
};
constexpr Era EraOf(EquinoxCalendar cal) {
    switch (cal) {
        case EquinoxCalendar::PersianAstronomical:
            return {621, 3};
        case EquinoxCalendar::FrenchAstronomical:
            return {1791, 9};
        case EquinoxCalendar::Bahai:
            return {1843, 3};
    }
    return {};
}

constexpr std::int64_t kBahaiFirstYear = 1;

constexpr bool InSpan(EquinoxCalendar cal, std::int64_t year) {
    switch (cal) {
        case EquinoxCalendar::PersianAstronomical:
            return year >= tables::kPersianFirstYear && year <= tables::kPersianLastYear;
        case EquinoxCalendar::FrenchAstronomical:
            return year >= tables::kFrenchFirstYear && year <= tables::kFrenchLastYear;
        case EquinoxCalendar::Bahai:
            return year >= kBahaiFirstYear && year <= tables::kBahaiLastYear;
    }
    return false;
}

// JDN of the first day of `year`, for years of the span and the one after it, from the
// tables of the day in the new year's month.
constexpr std::int64_t NewYearByRule(EquinoxCalendar cal, std::int64_t year) {
    const Era era = EraOf(cal);
    std::int64_t day = 21;  // Baha'i years before 172 BE
    switch (cal) {
        case EquinoxCalendar::PersianAstronomical:
            day = tables::kPersianNewYears[static_cast<std::size_t>(year -
                                                                    tables::kPersianFirstYear)];
            break;
        case EquinoxCalendar::FrenchAstronomical:
            day =
                tables::kFrenchNewYears[static_cast<std::size_t>(year - tables::kFrenchFirstYear)];
            break;
        case EquinoxCalendar::Bahai:
            if (year >= tables::kBahaiFirstTableYear) {
                day = tables::kBahaiNewYears[static_cast<std::size_t>(
                    year - tables::kBahaiFirstTableYear)];
            }
            break;
    }
    return jdn_from_gregorian(year + era.gregorianOffset, era.newYearMonth, day);
}

constexpr YearSpan SpanOf(EquinoxCalendar cal) {
    switch (cal) {
        case EquinoxCalendar::PersianAstronomical:
            return {tables::kPersianFirstYear, tables::kPersianLastYear};
        case EquinoxCalendar::FrenchAstronomical:
            return {tables::kFrenchFirstYear, tables::kFrenchLastYear};
        case EquinoxCalendar::Bahai:
            return {kBahaiFirstYear, tables::kBahaiLastYear};
    }
    return {};
}

using equinox_detail::kMaxYears;
using equinox_detail::NewYearTable;

constexpr NewYearTable MakeNewYears(EquinoxCalendar cal) {
    const YearSpan span = SpanOf(cal);
    NewYearTable t{span.first, static_cast<std::size_t>(span.last - span.first + 1), {}};
    for (std::size_t i = 0; i <= t.years; ++i) {
        t.jdn[i] = static_cast<std::int32_t>(
            NewYearByRule(cal, span.first + static_cast<std::int64_t>(i)));
    }
    return t;
}
}  // namespace

constexpr std::array<NewYearTable, 3> equinox_detail::kNewYears = {
    MakeNewYears(EquinoxCalendar::PersianAstronomical),
    MakeNewYears(EquinoxCalendar::FrenchAstronomical), MakeNewYears(EquinoxCalendar::Bahai)};

namespace {

using equinox_detail::DaysBeforeMonth;
using equinox_detail::kNewYears;
using equinox_detail::NewYearsOf;
using equinox_detail::YearIndexOf;

std::int64_t NewYear(EquinoxCalendar cal, std::int64_t year) {
    const NewYearTable& t = NewYearsOf(cal);
    return t.jdn[static_cast<std::size_t>(year - t.firstYear)];
}

// The estimate with one step finds every year from its first and its last day.
constexpr bool YearIndexHolds(const NewYearTable& t) {
    for (std::size_t i = 0; i < t.years; ++i) {
        const std::int32_t length = t.jdn[i + 1] - t.jdn[i];
        if ((length != 365 && length != 366) || YearIndexOf(t, t.jdn[i]) != i ||
            YearIndexOf(t, t.jdn[i + 1] - 1) != i) {
            return false;
        }
    }
    return t.years <= kMaxYears;
}
static_assert(YearIndexHolds(kNewYears[0]) && YearIndexHolds(kNewYears[1]) &&
              YearIndexHolds(kNewYears[2]));

int YearLength(EquinoxCalendar cal, std::int64_t year) {
    return static_cast<int>(NewYear(cal, year + 1) - NewYear(cal, year));
}

}  // namespace

YearSpan EquinoxYearSpan(EquinoxCalendar cal) {
    return SpanOf(cal);
}

int EquinoxMonthsInYear(EquinoxCalendar cal, std::int64_t year) {
    if (!InSpan(cal, year)) {
        return 0;
    }
    return cal == EquinoxCalendar::PersianAstronomical  ? 12
           : cal == EquinoxCalendar::FrenchAstronomical ? 13
                                                        : 20;
}

int EquinoxDaysInYear(EquinoxCalendar cal, std::int64_t year) {
    return InSpan(cal, year) ? YearLength(cal, year) : 0;
}

bool EquinoxIsLeapYear(EquinoxCalendar cal, std::int64_t year) {
    return EquinoxDaysInYear(cal, year) == 366;
}

int EquinoxDaysInMonth(EquinoxCalendar cal, std::int64_t year, int month) {
    if (month < 1 || month > EquinoxMonthsInYear(cal, year)) {
        return 0;
    }
    const int length = YearLength(cal, year);
    const int end =
        month == EquinoxMonthsInYear(cal, year) ? length : DaysBeforeMonth(cal, month + 1, length);
    return end - DaysBeforeMonth(cal, month, length);
}

DateCheck CheckEquinoxDate(EquinoxCalendar cal, std::int64_t year, int month, int day) {
    if (!InSpan(cal, year)) {
        const YearSpan span = EquinoxYearSpan(cal);
        return {DateProblem::OutOfSpan, year < span.first ? span.first : span.last};
    }
    const int months = EquinoxMonthsInYear(cal, year);
    if (month < 1 || month > months) {
        return {DateProblem::MonthOutOfRange, months};
    }
    const int days = EquinoxDaysInMonth(cal, year, month);
    if (day < 1 || day > days) {
        return {DateProblem::DayOutOfRange, days};
    }
    return {};
}

}  // namespace jdcore
