// Serial-day arithmetic behind every jdcore calendar.
//
// Each calendar maps a date to the Julian Day Number (JDN) and back in O(1): floor division
// and closed-form cycle counts, never loops. The general entry points compute in 64 bits, those
// for the 32-bit fields of a date record partly in 32 bits. The JDN -> date direction is exact
// for every |jdn| <= 2^31 (the whole 32-bit range); the date -> JDN direction is exact for every
// 32-bit year, week, month and day (the result may then lie far outside 32 bits, which is why
// it is 64-bit).
//
// Comments give the range of each intermediate for the JDN range -2^31 .. 2^31.
#pragma once

#include <array>
#include <cstdint>

namespace jdcore {

// ---- floor division -----------------------------------------------------------------------

// a / b rounded towards minus infinity; b > 0.
constexpr std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return q - ((a % b) < 0 ? 1 : 0);
}
// The non-negative remainder of a / b; b > 0.
constexpr std::int64_t floor_mod(std::int64_t a, std::int64_t b) {
    const std::int64_t r = a % b;
    return r < 0 ? r + b : r;
}

// ---- day of week --------------------------------------------------------------------------

// JDN 0 is a Monday, so jdn mod 7 counts from Monday = 0.
constexpr int weekday_sunday0(std::int64_t jdn) {  // 0 = Sunday .. 6 = Saturday
    return static_cast<int>(floor_mod(jdn + 1, 7));
}

// ---- Gregorian and Julian -----------------------------------------------------------------

struct YearMonthDay {
    std::int64_t year;
    std::int32_t month;
    std::int32_t day;
};

// JDN of 1 March of year 0 in each calendar: the counts below start there, so that the leap
// day is the last day of a counting year.
inline constexpr std::int64_t kGregorianMarch0 = 1721120;
inline constexpr std::int64_t kJulianMarch0 = 1721118;

constexpr bool gregorian_leap(std::int64_t y) {
    // Of the multiples of 4, those of 100 are those of 25, and those of 400 those of 16; the
    // low bits of a negative y count the same as floor_mod's.
    return (y & 3) == 0 && (y % 25 != 0 || (y & 15) == 0);
}
constexpr bool julian_leap(std::int64_t y) {
    return floor_mod(y, 4) == 0;
}

constexpr int month_length(std::int64_t month, bool leap) {  // month 1..12
    if (month == 2) {
        return leap ? 29 : 28;
    }
    return (month == 4 || month == 6 || month == 9 || month == 11) ? 30 : 31;
}

// Brings a month outside 1..12 into range by carrying whole years (month 13 is January of the
// next year, month 0 December of the year before).
constexpr void normalise_month(std::int64_t& year, std::int64_t& month, std::int64_t perYear) {
    if (month < 1 || month > perYear) {
        year += floor_div(month - 1, perYear);
        month = floor_mod(month - 1, perYear) + 1;
    }
}

// Days from 1 March of year 0 (Gregorian) to 1 March of year y.
constexpr std::int64_t gregorian_days_before_march_year(std::int64_t y) {
    return 365 * y + floor_div(y, 4) - floor_div(y, 100) + floor_div(y, 400);
}

// The fast paths below shift years and days by whole 400-year eras so that every count is
// non-negative: each division is then an unsigned one by a constant (a multiplication).
// Counts follow the Euclidean affine forms of Neri and Schneider: for a day r of a counting
// year starting 1 March, month = (2141 r + 197913) >> 16 (3 = March .. 14 = February) and day
// = ((2141 r + 197913) & 0xffff) / 2141 + 1; days before month m (3..14) = (979 m - 2919) / 32.

inline constexpr std::uint64_t kEraDays = 146097;  // days in 400 Gregorian years

// Years with |year| <= kFastYears and months 1..12 take the unsigned path; kYearShift years
// (a multiple of 400) are added first.
inline constexpr std::int64_t kFastYears = 6'000'000;
inline constexpr std::int64_t kYearShift = 6'000'400;
inline constexpr std::int64_t kGregorianShiftDays =
    std::int64_t{15001} * 146097;  // days in kYearShift years
inline constexpr std::int64_t kJulianShiftDays = kYearShift / 4 * 1461;

// Days from 1 March of (shifted) year 0 to the first of month m0 (3..14) of counting year y0.
constexpr std::uint64_t month_days_after_march(std::uint64_t m0) {
    return (979 * m0 - 2919) / 32;
}

constexpr std::int64_t jdn_from_gregorian(std::int64_t y, std::int64_t m, std::int64_t d) {
    if (y >= -kFastYears && y <= kFastYears && m >= 1 && m <= 12) [[likely]] {
        const std::uint32_t j = m <= 2 ? 1 : 0;  // January and February end a counting year
        const std::uint32_t y0 = static_cast<std::uint32_t>(y + kYearShift) - j;  // [399, 1.2e7]
        const std::uint32_t m0 = static_cast<std::uint32_t>(m) + 12 * j;          // [3, 14]
        const std::uint32_t c = y0 / 100;                                         // [3, 1.2e5]
        const std::uint64_t yc = std::uint64_t{365} * y0 + (y0 >> 2) - c + (c >> 2);  // < 4.4e9
        return static_cast<std::int64_t>(yc + month_days_after_march(m0)) - kGregorianShiftDays +
               kGregorianMarch0 + d - 1;
    }
    normalise_month(y, m, 12);
    const std::int64_t ym = y - (m <= 2 ? 1 : 0);  // counting year, starting 1 March
    const std::int64_t m0 = m <= 2 ? m + 12 : m;   // [3, 14]
    return kGregorianMarch0 + gregorian_days_before_march_year(ym) +
           static_cast<std::int64_t>(month_days_after_march(static_cast<std::uint64_t>(m0))) + d -
           1;
}

// jdn_from_gregorian for the years a date record holds, in two steps so that the caller can
// test the year's range on the shifted counting year (starting 1 March) that the count needs.
// With months 0..12 and days 0..31 the JDN then fits 32 bits, so the sums may wrap modulo 2^32
// and only the divisions need exact operands: all of it is 32-bit but for one product.
inline constexpr std::int64_t kRecordYears = 5'800'000;  // a multiple of 400
// Counting years are shifted by kRecordYears + 400 (whole eras); the count below takes every
// shifted year up to kRecordCountingYears: years -kRecordYears - 400 .. kRecordYears, all with
// a JDN inside 32 bits.
inline constexpr std::uint32_t kRecordCountingYears = 2 * kRecordYears + 400;

// What a record month 0..12 adds (0 is December of the year before, by plain arithmetic).
struct RecordMonth {
    // To the year, for the shifted counting year: kRecordYears + 400, less 1 for December
    // before, January and February, which belong to the counting year before.
    std::uint32_t toYear;
    // To the days of the years before the counting year (modulo 2^32): the days from its 1
    // March to the first of the month, (979 m0 - 2919) / 32 for m0 (3..14) = m + 12 or m, less
    // the JDN shift of those years and 1 for the day of the month counting from 1.
    std::uint32_t toDays;
};
inline constexpr auto kRecordMonths = [] {
    constexpr auto kBase =
        static_cast<std::uint32_t>((kRecordYears + 400) / 400 * kEraDays - kGregorianMarch0 + 1);
    std::array<RecordMonth, 13> t{};
    for (std::uint32_t m = 0; m <= 12; ++m) {
        const std::uint32_t j = m < 3 ? 1 : 0;
        t[m] = {static_cast<std::uint32_t>(kRecordYears + 400) - j,
                static_cast<std::uint32_t>(month_days_after_march(m + 12 * j)) - kBase};
    }
    return t;
}();

// y0 = y + kRecordMonths[m].toYear <= kRecordCountingYears, m in 0..12, d in 0..31.
constexpr std::int32_t jdn32_from_gregorian(std::uint32_t y0, std::uint64_t m, std::int32_t d) {
    const std::uint32_t c = y0 / 100;  // [0, 1.2e5] centuries
    // Days of the years before y0: 365 y0 + y0 / 4 - c + c / 4, where c - c / 4 = (3c + 3) / 4;
    // 1461 y0 / 4 < 4.3e9 is exact in 64 bits, then taken modulo 2^32.
    const auto yc = static_cast<std::uint32_t>(std::uint64_t{1461} * y0 >> 2) - ((3 * c + 3) >> 2);
    return static_cast<std::int32_t>(yc + kRecordMonths[m].toDays + static_cast<std::uint32_t>(d));
}

// Year (of the counting year starting 1 March) and day of that counting year.
struct MarchYearDay {
    std::int64_t year;  // counting year
    std::uint32_t doy;  // [0, 365], 0 = 1 March
};

// Eras added to a JDN's day count before dividing: more than 2^31 + 1721120 days, so every
// 32-bit JDN gives a non-negative count.
inline constexpr std::uint64_t kDayShiftEras = 14712;

// The counting year and its day from q1, the centuries since 1 March of year -400
// kDayShiftEras, and n = 4 r1 + 3 for r1 the day of that century (0..36524).
constexpr MarchYearDay march_year_day_of_century(std::uint64_t q1, std::uint32_t n) {
    const std::uint64_t u2 = std::uint64_t{2939745} * n;                         // < 2^39
    const auto q2 = static_cast<std::uint32_t>(u2 >> 32);                        // [0, 99] year
    const auto r2 = static_cast<std::uint32_t>(u2 & 0xffffffffu) / 2939745 / 4;  // [0, 365]
    const std::int64_t year =
        static_cast<std::int64_t>(100 * q1 + q2) - static_cast<std::int64_t>(400 * kDayShiftEras);
    return {year, r2};
}

constexpr MarchYearDay gregorian_march_year_day(std::int64_t jdn) {
    // r0: days since 1 March of year -400 kDayShiftEras; [0, 4.3e9] for every 32-bit JDN
    const std::uint64_t r0 =
        static_cast<std::uint64_t>(jdn - kGregorianMarch0) + kDayShiftEras * kEraDays;
    const std::uint64_t n1 = 4 * r0 + 3;  // [3, 1.8e10]
    return march_year_day_of_century(n1 / kEraDays, static_cast<std::uint32_t>(n1 % kEraDays) | 3);
}

// The same for a 32-bit JDN, with the division by 146097 as a product: for every r in [1,
// 2^32 + 174297], (4 (r - 1) + 3) / 146097 = 3853261555 r >> 47, the product below 2^64.
constexpr MarchYearDay gregorian_march_year_day32(std::int32_t jdn) {
    // r: days since 1 March of year -400 kDayShiftEras, plus 1; [1, 2^32 + 174297]
    const auto r = static_cast<std::uint64_t>(std::int64_t{jdn} - kGregorianMarch0 +
                                              std::int64_t{kDayShiftEras * kEraDays} + 1);
    const std::uint64_t q1 = r * 3853261555u >> 47;  // centuries, [0, 117599]
    // 4 r - 1 - 146097 q1 is (4 r - 1) mod 146097; its low two bits set make it 4 r1 + 3.
    const std::uint32_t n =
        (static_cast<std::uint32_t>(4 * r - 1) - static_cast<std::uint32_t>(q1 * kEraDays)) | 3u;
    return march_year_day_of_century(q1, n);
}

// Month (1..12) and day of month of each day of a counting year starting 1 March: 0 is 1
// March, 305 is 31 December, 306 is 1 January and 365 the leap day. Tables, as two loads are
// cheaper than the two products of the affine forms (2141 r + 197913, from which they are made).
struct MonthDayTables {
    std::array<std::uint8_t, 366> month;
    std::array<std::uint8_t, 366> day;
    std::array<std::uint8_t, 366> nextYear;  // 1 for January and February, which end the year
};
inline constexpr auto kMonthDayFromMarch = [] {
    MonthDayTables t{};
    for (std::uint32_t doy = 0; doy < 366; ++doy) {
        const std::uint32_t n3 = 2141 * doy + 197913;
        const std::uint32_t m0 = n3 >> 16;                  // [3, 14]
        const std::uint32_t d = (n3 & 0xffffu) / 2141 + 1;  // [1, 31]
        t.month[doy] = static_cast<std::uint8_t>(m0 > 12 ? m0 - 12 : m0);
        t.day[doy] = static_cast<std::uint8_t>(d);
        t.nextYear[doy] = m0 > 12 ? 1 : 0;
    }
    return t;
}();

// The date of day `doy` (0..365) of the counting year `year`.
constexpr YearMonthDay march_day_to_date(std::int64_t year, std::uint32_t doy) {
    return {year + kMonthDayFromMarch.nextYear[doy], kMonthDayFromMarch.month[doy],
            kMonthDayFromMarch.day[doy]};
}

constexpr YearMonthDay gregorian_from_jdn(std::int64_t jdn) {
    const MarchYearDay yd = gregorian_march_year_day(jdn);
    return march_day_to_date(yd.year, yd.doy);
}
constexpr YearMonthDay gregorian_from_jdn32(std::int32_t jdn) {
    const MarchYearDay yd = gregorian_march_year_day32(jdn);
    return march_day_to_date(yd.year, yd.doy);
}

// Julian: a 4-year cycle of 1461 days.
constexpr std::int64_t jdn_from_julian(std::int64_t y, std::int64_t m, std::int64_t d) {
    if (y >= -kFastYears && y <= kFastYears && m >= 1 && m <= 12) [[likely]] {
        const std::uint64_t j = m <= 2 ? 1 : 0;
        const std::uint64_t y0 = static_cast<std::uint64_t>(y + kYearShift) - j;  // [399, 1.2e7]
        const std::uint64_t m0 = static_cast<std::uint64_t>(m) + 12 * j;          // [3, 14]
        return static_cast<std::int64_t>(1461 * y0 / 4 + month_days_after_march(m0)) -
               kJulianShiftDays + kJulianMarch0 + d - 1;
    }
    normalise_month(y, m, 12);
    const std::int64_t ym = y - (m <= 2 ? 1 : 0);
    const std::int64_t m0 = m <= 2 ? m + 12 : m;
    return kJulianMarch0 + 365 * ym + floor_div(ym, 4) +
           static_cast<std::int64_t>(month_days_after_march(static_cast<std::uint64_t>(m0))) + d -
           1;
}

inline constexpr std::uint64_t kJulianShiftCycles = 1'472'000;  // 4-year cycles, > 2^31 days

constexpr YearMonthDay julian_from_jdn(std::int64_t jdn) {
    // r0: days since 1 March of year -4 kJulianShiftCycles; [0, 4.3e9] for every 32-bit JDN
    const std::uint64_t r0 =
        static_cast<std::uint64_t>(jdn - kJulianMarch0) + kJulianShiftCycles * 1461;
    const std::uint64_t n1 = 4 * r0 + 3;                         // [3, 1.8e10]
    const std::uint64_t year = n1 / 1461;                        // shifted counting year
    const auto doy = static_cast<std::uint32_t>(n1 % 1461 / 4);  // [0, 365]
    return march_day_to_date(
        static_cast<std::int64_t>(year) - static_cast<std::int64_t>(4 * kJulianShiftCycles), doy);
}

// ---- ISO 8601 week date -------------------------------------------------------------------

struct IsoWeekDate {
    std::int64_t year;
    std::int32_t week;     // [1, 53]
    std::int32_t weekday;  // [1, 7], 1 = Monday
};

// JDN of the Monday that starts ISO week 1 of `year`: the Monday on or before 4 January.
constexpr std::int64_t iso_week1_monday(std::int64_t year) {
    const std::int64_t jan4 = jdn_from_gregorian(year, 1, 4);
    return jan4 - floor_mod(jan4, 7);
}

// p(y) mod 7 is the weekday of 31 December of y (0 = Sunday).
constexpr int iso_weeks_in_year(std::int64_t year) {
    auto p = [](std::int64_t y) {
        return floor_mod(y + floor_div(y, 4) - floor_div(y, 100) + floor_div(y, 400), 7);
    };
    return (p(year) == 4 || p(year - 1) == 3) ? 53 : 52;
}

constexpr std::int64_t jdn_from_iso_week(std::int64_t year, std::int64_t week,
                                         std::int64_t weekday) {
    return iso_week1_monday(year) + 7 * (week - 1) + weekday - 1;
}

constexpr IsoWeekDate iso_week_from_jdn(std::int64_t jdn) {
    const std::int64_t weekday = floor_mod(jdn, 7) + 1;  // [1, 7]
    const std::int64_t thursday = jdn + 4 - weekday;     // the ISO year is the year of this day
    const MarchYearDay yd = gregorian_march_year_day(thursday);
    // Day of the Thursday's January-based year: January and February end a counting year.
    std::int64_t year = yd.year;
    std::int64_t jan0;  // [0, 365] day of the Thursday counted from 1 January
    if (yd.doy >= 306) {
        year += 1;
        jan0 = yd.doy - 306;
    } else {
        jan0 = yd.doy + 59 + (gregorian_leap(year) ? 1 : 0);
    }
    return {year, static_cast<std::int32_t>(jan0 / 7 + 1), static_cast<std::int32_t>(weekday)};
}

// ---- the leap week calendar ---------------------------------------------------------------
//
// Years of 52 or 53 whole weeks, each starting on a Monday; year y is a leap year when
// (71 y + 203) mod 400 < 71, 71 leap years in every 400. Because the leap years are spread
// by that rule, the weeks before year y (counted from year 1) are
//   W(y) = 52 (y - 1) + floor((71 (y - 1) + 203) / 400) = floor((20871 (y - 1) + 203) / 400),
// for every integer y, and the year holding week number w (0 = first week of year 1) is
//   y = 1 + floor((400 w + 196) / 20871).

inline constexpr std::int64_t kLeapWeekEpoch = 1721419;     // Monday starting year 1
inline constexpr std::int64_t kLeapWeekCycleWeeks = 20871;  // weeks in 400 years

struct LeapWeekDate {
    std::int64_t year;
    std::int32_t week;     // [1, 53]
    std::int32_t weekday;  // [1, 7], 1 = Monday
};

constexpr bool leap_week_is_leap(std::int64_t year) {
    return floor_mod(71 * year + 203, 400) < 71;
}

// Weeks from the first week of year 1 to the first week of `year`; exact for |year| < 2^40.
constexpr std::int64_t leap_week_weeks_before_year(std::int64_t year) {
    return floor_div(kLeapWeekCycleWeeks * (year - 1) + 203, 400);
}

constexpr std::int64_t leap_week_year_start(std::int64_t year) {
    return kLeapWeekEpoch + 7 * leap_week_weeks_before_year(year);
}

constexpr std::int64_t jdn_from_leap_week(std::int64_t year, std::int64_t week,
                                          std::int64_t weekday) {
    return leap_week_year_start(year) + 7 * (week - 1) + weekday - 1;
}

inline constexpr std::uint64_t kLeapWeekCycleShift = 16384;  // 400-year cycles added

constexpr LeapWeekDate leap_week_from_jdn(std::int64_t jdn) {
    // d: days since the start of year 1 - 400 * kLeapWeekCycleShift; [0, 2^32 + 2.4e9]
    const std::uint64_t d = static_cast<std::uint64_t>(jdn - kLeapWeekEpoch) +
                            kLeapWeekCycleShift * kLeapWeekCycleWeeks * 7;
    const std::uint64_t w = d / 7;                                      // [0, 9.7e8]
    const std::uint64_t n = (400 * w + 196) / kLeapWeekCycleWeeks;      // year - 1, shifted
    const std::uint64_t first = (kLeapWeekCycleWeeks * n + 203) / 400;  // first week of it
    const std::int64_t year =
        static_cast<std::int64_t>(n) + 1 - static_cast<std::int64_t>(kLeapWeekCycleShift * 400);
    return {year, static_cast<std::int32_t>(w - first + 1),
            static_cast<std::int32_t>(d - w * 7 + 1)};
}

// Months: 5, 4, 4 weeks in each quarter; month 12 has 5 weeks in a leap year.
constexpr int leap_week_weeks_in_month(std::int64_t month, bool leap) {
    if (month == 12 && leap) {
        return 5;
    }
    return floor_mod(month, 3) == 1 ? 5 : 4;
}
// Weeks of months 1 .. month - 1, for month 1..13.
constexpr int leap_week_weeks_before_month(std::int64_t month) {
    const std::int64_t m0 = month - 1;  // [0, 12]
    const std::int64_t inQuarter = m0 % 3;
    return static_cast<int>(13 * (m0 / 3) + (inQuarter == 0 ? 0 : inQuarter == 1 ? 5 : 9));
}

// The month holding week `week` (>= 1) of a year, and the week within that month, counting
// months on past 12 with 5, 4, 4 weeks per quarter when the week lies beyond the year.
struct MonthWeek {
    std::int64_t month;
    std::int64_t week;
};
constexpr MonthWeek leap_week_month_of_week(std::int64_t week, bool leap) {
    if (week < 1) {
        return {1, week};
    }
    if (leap && week >= 53) {
        if (week == 53) {
            return {12, 5};
        }
        week -= 1;  // beyond the leap week, months run on as in a common year
    }
    const std::int64_t q = (week - 1) / 13;  // quarter
    const std::int64_t r = (week - 1) % 13;  // [0, 12]
    const std::int64_t inQuarter = r < 5 ? 0 : r < 9 ? 1 : 2;
    const std::int64_t before = inQuarter == 0 ? 0 : inQuarter == 1 ? 5 : 9;
    return {3 * q + inQuarter + 1, r - before + 1};
}

// Year, month (1..12), day of month of a JDN, and back (the month-date form).
constexpr YearMonthDay leap_week_month_date_from_jdn(std::int64_t jdn) {
    const LeapWeekDate lw = leap_week_from_jdn(jdn);
    const MonthWeek mw = leap_week_month_of_week(lw.week, leap_week_is_leap(lw.year));
    return {lw.year, static_cast<std::int32_t>(mw.month),
            static_cast<std::int32_t>(7 * (mw.week - 1) + lw.weekday)};
}
constexpr std::int64_t jdn_from_leap_week_month_date(std::int64_t y, std::int64_t m,
                                                     std::int64_t d) {
    normalise_month(y, m, 12);
    return leap_week_year_start(y) + 7 * leap_week_weeks_before_month(m) + d - 1;
}

// Position 1..6 of a year in its hexade: the smallest i with year + 3 - i a leap year (7 when
// none of the six is). The leap year at or before y + 2 is the one where the count of leap
// years floor((71 n + 203) / 400) last stepped.
constexpr int leap_week_year_in_hexade(std::int64_t year) {
    const std::int64_t top = year + 2;
    const std::int64_t count = floor_div(71 * top + 203, 400);  // leap years 1..top, offset
    const std::int64_t lastLeap = -floor_div(-(400 * count - 203), 71);  // ceil
    const std::int64_t i = year + 3 - lastLeap;                          // >= 1
    return i <= 6 ? static_cast<int>(i) : 7;
}

// ---- Annus Novus --------------------------------------------------------------------------
//
// Ten months; year y begins on 1 March of Gregorian year y and ends on the last day of the
// following February. Odd months have 37 days, even months 36; month 10 has 37 in a leap year
// (when Gregorian year y + 1 is a leap year). Days before month m: floor((73 (m - 1) + 1) / 2).

constexpr bool annus_novus_leap(std::int64_t year) {
    return gregorian_leap(year + 1);
}
constexpr int annus_novus_month_length(std::int64_t month, bool leap) {
    if (month == 10) {
        return leap ? 37 : 36;
    }
    return month % 2 == 1 ? 37 : 36;
}

constexpr std::int64_t jdn_from_annus_novus(std::int64_t y, std::int64_t m, std::int64_t d) {
    normalise_month(y, m, 10);
    return kGregorianMarch0 + gregorian_days_before_march_year(y) + (73 * (m - 1) + 1) / 2 + d - 1;
}

constexpr YearMonthDay annus_novus_from_jdn(std::int64_t jdn) {
    const MarchYearDay yd = gregorian_march_year_day(jdn);
    std::uint32_t mp = 2 * yd.doy / 73;  // [0, 10]; 10 only for the leap day
    mp = mp > 9 ? 9 : mp;
    const std::uint32_t d = yd.doy - (73 * mp + 1) / 2 + 1;  // [1, 37]
    return {yd.year, static_cast<std::int32_t>(mp + 1), static_cast<std::int32_t>(d)};
}

// Day of the six-day Annus Novus week: every month starts a week (1..6).
constexpr int annus_novus_weekday(std::int32_t day) {
    return (day - 1) % 6 + 1;
}

}  // namespace jdcore
