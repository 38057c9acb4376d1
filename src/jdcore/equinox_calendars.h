// Calendars whose years begin at an equinox, over the span of their new-year tables
// (astronomical_tables.h, made by the rules of astronomical_rules.h):
//   - Persian astronomical (PEA): 1 Farvardin is the day of the March equinox when it comes
//     before true noon at Tehran, else the day after, as the Iranian calendar law has it;
//     months 1-6 have 31 days, 7-11 30, month 12 29 or 30. Years 1024-1579 AP (1645-2200).
//   - French Republican by the equinox (FRE): 1 Vendemiaire is the day, in the true time of
//     the Paris Observatory, of the September equinox; twelve months of 30 days and month 13
//     of 5 or 6 complementary days. Years 1-409 (1792-2200).
//   - Baha'i (BAH): 19 months of 19 days; the intercalary days (Ayyam-i-Ha, 4 or 5) come
//     before the last month. Naw-Ruz (1 Baha) is 21 March up to 171 BE and, from 172 BE (2015),
//     the day of the March equinox in Tehran if it comes before sunset, else the day after.
//     Years 1-357 BE (1844-2200). Months are numbered by place: 1-18 the first eighteen
//     months, 19 the intercalary days, 20 the month 'Ala (the nineteenth month).
// Years outside a span are refused (std::nullopt, OutOfSpan). Every conversion is O(1).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "jdcore/calendar_check.h"
#include "jdcore/day_count.h"  // YearMonthDay

namespace jdcore {

enum class EquinoxCalendar { PersianAstronomical, FrenchAstronomical, Bahai };

struct YearSpan {
    std::int64_t first;
    std::int64_t last;
};
YearSpan EquinoxYearSpan(EquinoxCalendar cal);

// (Both are defined inline below, so that a caller's loop keeps them in registers.)
std::optional<std::int64_t> EquinoxToJdn(EquinoxCalendar cal, std::int64_t year, int month,
                                         int day);
std::optional<YearMonthDay> EquinoxFromJdn(EquinoxCalendar cal, std::int64_t jdn);
DateCheck CheckEquinoxDate(EquinoxCalendar cal, std::int64_t year, int month, int day);

// Lengths; 0 outside the span or for a month the year lacks.
int EquinoxMonthsInYear(EquinoxCalendar cal, std::int64_t year);  // 12, 13, 20
int EquinoxDaysInMonth(EquinoxCalendar cal, std::int64_t year, int month);
int EquinoxDaysInYear(EquinoxCalendar cal, std::int64_t year);  // 365 or 366
bool EquinoxIsLeapYear(EquinoxCalendar cal, std::int64_t year);

// The month a Baha'i place (1..20) stands for, and the names by place (English
// transliterations; the text layer adds the other languages).
inline constexpr int kBahaiIntercalaryPlace = 19;
inline constexpr std::string_view kBahaiMonthNames[20] = {
    "Baha",    "Jalal",  "Jamal",  "'Azamat",   "Nur",        "Rahmat", "Kalimat",
    "Kamal",   "Asma'",  "'Izzat", "Mashiyyat", "'Ilm",       "Qudrat", "Qawl",
    "Masa'il", "Sharaf", "Sultan", "Mulk",      "Ayyam-i-Ha", "'Ala'"};
inline constexpr std::string_view kPersianMonthNames[12] = {
    "Farvardin", "Ordibehesht", "Khordad", "Tir", "Mordad", "Shahrivar",
    "Mehr",      "Aban",        "Azar",    "Dey", "Bahman", "Esfand"};
inline constexpr std::string_view kFrenchMonthNames[13] = {
    "Vendemiaire", "Brumaire", "Frimaire", "Nivose",    "Pluviose",  "Ventose",       "Germinal",
    "Floreal",     "Prairial", "Messidor", "Thermidor", "Fructidor", "Sansculottides"};

// ---- the new-year tables behind the conversions (made and checked in equinox_calendars.cpp)

namespace equinox_detail {

// Every new year of a span and the one after it, as JDNs, so that a year costs one read.
inline constexpr std::size_t kMaxYears = 560;
struct NewYearTable {
    std::int64_t firstYear;
    std::size_t years;
    std::array<std::int32_t, kMaxYears + 1> jdn;
};
extern const std::array<NewYearTable, 3> kNewYears;  // by EquinoxCalendar

inline const NewYearTable& NewYearsOf(EquinoxCalendar cal) {
    return kNewYears[static_cast<std::size_t>(cal)];
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

constexpr int MonthsOf(EquinoxCalendar cal) {
    return cal == EquinoxCalendar::PersianAstronomical  ? 12
           : cal == EquinoxCalendar::FrenchAstronomical ? 13
                                                        : 20;
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

}  // namespace equinox_detail

inline std::optional<std::int64_t> EquinoxToJdn(EquinoxCalendar cal, std::int64_t year, int month,
                                                int day) {
    using namespace equinox_detail;
    const NewYearTable& t = NewYearsOf(cal);
    const auto i = static_cast<std::uint64_t>(year - t.firstYear);
    const int months = MonthsOf(cal);
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

inline std::optional<YearMonthDay> EquinoxFromJdn(EquinoxCalendar cal, std::int64_t jdn) {
    using namespace equinox_detail;
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
