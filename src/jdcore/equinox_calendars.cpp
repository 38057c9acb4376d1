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

// Every new year of a span and the one after it, as JDNs, so that a year costs one read.
inline constexpr std::size_t kMaxYears = 560;
struct NewYearTable {
    std::int64_t firstYear;
    std::size_t years;
    std::array<std::int32_t, kMaxYears + 1> jdn;
};
constexpr NewYearTable MakeNewYears(EquinoxCalendar cal) {
    const YearSpan span = SpanOf(cal);
    NewYearTable t{span.first, static_cast<std::size_t>(span.last - span.first + 1), {}};
    for (std::size_t i = 0; i <= t.years; ++i) {
        t.jdn[i] = static_cast<std::int32_t>(
            NewYearByRule(cal, span.first + static_cast<std::int64_t>(i)));
    }
    return t;
}
inline constexpr std::array<NewYearTable, 3> kNewYears = {
    MakeNewYears(EquinoxCalendar::PersianAstronomical),
    MakeNewYears(EquinoxCalendar::FrenchAstronomical), MakeNewYears(EquinoxCalendar::Bahai)};

constexpr const NewYearTable& NewYearsOf(EquinoxCalendar cal) {
    return kNewYears[static_cast<std::size_t>(cal)];
}
constexpr std::int64_t NewYear(EquinoxCalendar cal, std::int64_t year) {
    const NewYearTable& t = NewYearsOf(cal);
    return t.jdn[static_cast<std::size_t>(year - t.firstYear)];
}

// 2^32 / 365.2425: the year a day falls in, from the mean year and one step either way.
inline constexpr std::uint64_t kInverseYear = 11759230;

constexpr std::size_t YearIndexOf(const NewYearTable& t, std::int64_t jdn) {
    const auto days = static_cast<std::uint64_t>(jdn - t.jdn[0]);
    std::size_t i = static_cast<std::size_t>(days * kInverseYear >> 32);
    i = i < t.years ? i : t.years - 1;
    i -= t.jdn[i] > jdn ? 1 : 0;
    i += t.jdn[i + 1] <= jdn ? 1 : 0;
    return i;
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

constexpr int YearLength(EquinoxCalendar cal, std::int64_t year) {
    return static_cast<int>(NewYear(cal, year + 1) - NewYear(cal, year));
}

// Days before month `month` (1-based place) of a year of `length` days.
constexpr int DaysBeforeMonth(EquinoxCalendar cal, int month, int length) {
    switch (cal) {
        case EquinoxCalendar::PersianAstronomical:
            return month <= 7 ? 31 * (month - 1) : 186 + 30 * (month - 7);
        case EquinoxCalendar::FrenchAstronomical:
            return 30 * (month - 1);
        case EquinoxCalendar::Bahai:
            return month <= kBahaiIntercalaryPlace ? 19 * (month - 1) : length - 19;
    }
    return 0;
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

std::optional<std::int64_t> EquinoxToJdn(EquinoxCalendar cal, std::int64_t year, int month,
                                         int day) {
    const NewYearTable& t = NewYearsOf(cal);
    const auto i = static_cast<std::uint64_t>(year - t.firstYear);
    const int months = cal == EquinoxCalendar::PersianAstronomical  ? 12
                       : cal == EquinoxCalendar::FrenchAstronomical ? 13
                                                                    : 20;
    if (i >= t.years || month < 1 || month > months || day < 1) {
        return std::nullopt;
    }
    const int length = t.jdn[i + 1] - t.jdn[i];
    const int before = DaysBeforeMonth(cal, month, length);
    const int end = month == months ? length : DaysBeforeMonth(cal, month + 1, length);
    if (day > end - before) {
        return std::nullopt;
    }
    return std::int64_t{t.jdn[i]} + before + day - 1;
}

std::optional<YearMonthDay> EquinoxFromJdn(EquinoxCalendar cal, std::int64_t jdn) {
    const NewYearTable& t = NewYearsOf(cal);
    if (jdn < t.jdn[0] || jdn >= t.jdn[t.years]) {
        return std::nullopt;
    }
    const std::size_t i = YearIndexOf(t, jdn);
    const auto doy = static_cast<int>(jdn - t.jdn[i]);  // [0, 365]
    int month = 0;
    int before = 0;
    switch (cal) {
        case EquinoxCalendar::PersianAstronomical:
            month = doy < 186 ? doy / 31 + 1 : (doy - 186) / 30 + 7;
            before = month <= 7 ? 31 * (month - 1) : 186 + 30 * (month - 7);
            break;
        case EquinoxCalendar::FrenchAstronomical:
            month = doy / 30 + 1;
            before = 30 * (month - 1);
            break;
        case EquinoxCalendar::Bahai: {
            const int alaStarts = t.jdn[i + 1] - t.jdn[i] - 19;
            month = doy >= alaStarts ? 20 : doy / 19 + 1;
            before = month == 20 ? alaStarts : 19 * (month - 1);
            break;
        }
    }
    return YearMonthDay{t.firstYear + static_cast<std::int64_t>(i), month, doy - before + 1};
}

}  // namespace jdcore
