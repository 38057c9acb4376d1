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

// JDN of the first day of `year`, for years of the span and the one after it.
constexpr std::int64_t NewYear(EquinoxCalendar cal, std::int64_t year) {
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

constexpr int YearLength(EquinoxCalendar cal, std::int64_t year) {
    return static_cast<int>(NewYear(cal, year + 1) - NewYear(cal, year));
}

// Every table year has 365 or 366 days.
constexpr bool LengthsHold(EquinoxCalendar cal) {
    const YearSpan span = cal == EquinoxCalendar::PersianAstronomical
                              ? YearSpan{tables::kPersianFirstYear, tables::kPersianLastYear}
                          : cal == EquinoxCalendar::FrenchAstronomical
                              ? YearSpan{tables::kFrenchFirstYear, tables::kFrenchLastYear}
                              : YearSpan{kBahaiFirstYear, tables::kBahaiLastYear};
    for (std::int64_t y = span.first; y <= span.last; ++y) {
        const int length = YearLength(cal, y);
        if (length != 365 && length != 366) {
            return false;
        }
    }
    return true;
}
static_assert(LengthsHold(EquinoxCalendar::PersianAstronomical));
static_assert(LengthsHold(EquinoxCalendar::FrenchAstronomical));
static_assert(LengthsHold(EquinoxCalendar::Bahai));

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
    if (!CheckEquinoxDate(cal, year, month, day).ok()) {
        return std::nullopt;
    }
    return NewYear(cal, year) + DaysBeforeMonth(cal, month, YearLength(cal, year)) + day - 1;
}

std::optional<YearMonthDay> EquinoxFromJdn(EquinoxCalendar cal, std::int64_t jdn) {
    const YearSpan span = EquinoxYearSpan(cal);
    if (jdn < NewYear(cal, span.first) || jdn >= NewYear(cal, span.last + 1)) {
        return std::nullopt;
    }
    // The year whose new year falls in the Gregorian year of the day, or the one before.
    std::int64_t year = gregorian_from_jdn(jdn).year - EraOf(cal).gregorianOffset;
    year -= year > span.last || jdn < NewYear(cal, year) ? 1 : 0;
    const auto doy = static_cast<int>(jdn - NewYear(cal, year));  // [0, 365]
    int month = 0;
    switch (cal) {
        case EquinoxCalendar::PersianAstronomical:
            month = doy < 186 ? doy / 31 + 1 : (doy - 186) / 30 + 7;
            break;
        case EquinoxCalendar::FrenchAstronomical:
            month = doy / 30 + 1;
            break;
        case EquinoxCalendar::Bahai: {
            const int alaStarts = YearLength(cal, year) - 19;
            month = doy >= alaStarts ? 20 : doy / 19 + 1;
            break;
        }
    }
    const int day = doy - DaysBeforeMonth(cal, month, YearLength(cal, year)) + 1;
    return YearMonthDay{year, month, day};
}

}  // namespace jdcore
