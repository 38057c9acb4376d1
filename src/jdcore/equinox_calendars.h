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

}  // namespace jdcore
