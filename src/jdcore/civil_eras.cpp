// Japanese eras, Minguo and Buddhist years over the Gregorian day count (see civil_eras.h).
#include "jdcore/civil_eras.h"

#include <array>

namespace jdcore {

namespace {

// The official first days of the eras: Meiji from the proclamation of 23 October 1868 (Meiji
// 1-9-8 of the lunisolar calendar), Taisho 30 July 1912, Showa 25 December 1926, Heisei 8
// January 1989, Reiwa 1 May 2019.
inline constexpr std::array<JapaneseEraInfo, 6> kEras = {{
    {"", 0, 0},
    {"Meiji", jdn_from_gregorian(1868, 10, 23), 1868},
    {"Taisho", jdn_from_gregorian(1912, 7, 30), 1912},
    {"Showa", jdn_from_gregorian(1926, 12, 25), 1926},
    {"Heisei", jdn_from_gregorian(1989, 1, 8), 1989},
    {"Reiwa", jdn_from_gregorian(2019, 5, 1), 2019},
}};

constexpr std::size_t Index(JapaneseEra era) {
    return static_cast<std::size_t>(era);
}

DateCheck CheckGregorian(std::int64_t year, int month, int day) {
    if (month < 1 || month > 12) {
        return {DateProblem::MonthOutOfRange, 12};
    }
    const int days = month_length(month, gregorian_leap(year));
    if (day < 1 || day > days) {
        return {DateProblem::DayOutOfRange, days};
    }
    return {};
}

// Years far beyond any day of the 64-bit range are out of span (no overflow below).
inline constexpr std::int64_t kMaxYear = 1'000'000'000;

}  // namespace

JapaneseEraInfo JapaneseEraOf(JapaneseEra era) {
    return kEras[Index(era)];
}

std::int64_t JapaneseEraLastYear(JapaneseEra era) {
    if (era == JapaneseEra::Reiwa) {
        return 0;
    }
    if (era == JapaneseEra::None) {
        return 1868;
    }
    const JapaneseEraInfo& next = kEras[Index(era) + 1];
    return gregorian_from_jdn(next.firstJdn - 1).year - kEras[Index(era)].gregorianYear + 1;
}

DateCheck CheckJapaneseDate(const JapaneseDate& date) {
    if (date.year < -kMaxYear || date.year > kMaxYear) {
        return {DateProblem::OutOfSpan, date.year < 0 ? -kMaxYear : kMaxYear};
    }
    const std::int64_t gregorianYear = date.era == JapaneseEra::None
                                           ? date.year
                                           : date.year + kEras[Index(date.era)].gregorianYear - 1;
    if (const DateCheck check = CheckGregorian(gregorianYear, date.month, date.day); !check.ok()) {
        return check;
    }
    const std::int64_t jdn = jdn_from_gregorian(gregorianYear, date.month, date.day);
    const std::size_t i = Index(date.era);
    const bool before = i > 0 && jdn < kEras[i].firstJdn;
    const bool after = i + 1 < kEras.size() && jdn >= kEras[i + 1].firstJdn;
    if (before || after) {
        return {DateProblem::OutsideEra, JapaneseEraLastYear(date.era)};
    }
    return {};
}

std::optional<std::int64_t> JapaneseToJdn(const JapaneseDate& date) {
    if (!CheckJapaneseDate(date).ok()) {
        return std::nullopt;
    }
    const std::int64_t gregorianYear = date.era == JapaneseEra::None
                                           ? date.year
                                           : date.year + kEras[Index(date.era)].gregorianYear - 1;
    return jdn_from_gregorian(gregorianYear, date.month, date.day);
}

JapaneseDate JapaneseFromJdn(std::int64_t jdn) {
    const YearMonthDay g = gregorian_from_jdn(jdn);
    std::size_t i = kEras.size() - 1;
    while (i > 0 && jdn < kEras[i].firstJdn) {  // at most five steps, back from Reiwa
        --i;
    }
    const std::int64_t year = i == 0 ? g.year : g.year - kEras[i].gregorianYear + 1;
    return {static_cast<JapaneseEra>(i), year, g.month, g.day};
}

std::int64_t ShiftedYearToJdn(std::int64_t offset, std::int64_t year, int month, int day) {
    return jdn_from_gregorian(year + offset, month, day);
}

YearMonthDay ShiftedYearFromJdn(std::int64_t offset, std::int64_t jdn) {
    YearMonthDay g = gregorian_from_jdn(jdn);
    g.year -= offset;
    return g;
}

DateCheck CheckShiftedYearDate(std::int64_t offset, std::int64_t year, int month, int day) {
    if (year < -kMaxYear || year > kMaxYear) {
        return {DateProblem::OutOfSpan, year < 0 ? -kMaxYear : kMaxYear};
    }
    return CheckGregorian(year + offset, month, day);
}

}  // namespace jdcore
