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

// The Gregorian date of a day, by the 32-bit count where the day fits it (as every day of a
// date record does), which is twice as fast.
YearMonthDay GregorianOf(std::int64_t jdn) {
    return static_cast<std::int32_t>(jdn) == jdn
               ? gregorian_from_jdn32(static_cast<std::int32_t>(jdn))
               : gregorian_from_jdn(jdn);
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
    const std::size_t i = Index(date.era);
    if (date.year < -kMaxYear || date.year > kMaxYear || date.month < 1 || date.month > 12 ||
        date.day < 1 || i >= kEras.size()) {
        return std::nullopt;
    }
    const std::int64_t gregorianYear = i == 0 ? date.year : date.year + kEras[i].gregorianYear - 1;
    if (date.day > month_length(date.month, gregorian_leap(gregorianYear))) {
        return std::nullopt;
    }
    const std::int64_t jdn = jdn_from_gregorian(gregorianYear, date.month, date.day);
    const bool before = i > 0 && jdn < kEras[i].firstJdn;
    const bool after = i + 1 < kEras.size() && jdn >= kEras[i + 1].firstJdn;
    if (before || after) {
        return std::nullopt;
    }
    return jdn;
}

JapaneseDate JapaneseFromJdn(std::int64_t jdn) {
    const YearMonthDay g = GregorianOf(jdn);
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
    YearMonthDay g = GregorianOf(jdn);
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
