// jdcore — the calendar library.
//
// Civil-calendar arithmetic on one serial day number, the Julian Day Number (JDN). Every
// calendar converts through it:
//
//   DateRecord r{};                 // callers always zero a record first
//   r.year = 2000; r.month = 1; r.day = 1; r.calendar = 'G';
//   jdcore::euro_date_to_jdn(r);    // r.jdn == 2451545, a Saturday
//   r.calendar = 'J';
//   jdcore::jdn_to_euro_date(r);    // 1999-12-19 in the Julian calendar
//
// Calendars, by the letter in the record's calendar field:
//   'G'  proleptic Gregorian, astronomical years (year 0 exists; 1 January 1 is JDN 1721426)
//   'J'  proleptic Julian, astronomical years
//   'V'  the Velmora Leap Week calendar as year, month (1..12), day of month
//   'I'  the ISO 8601 week date as year, week (1..53), weekday (1 = Monday .. 7 = Sunday)
//   'A'  Annus Novus, a 10-month calendar (see docs/calendars.md)
//
// Every conversion is exact and O(1) over JDN -2,100,000,000 .. 2,100,000,000 (indeed over the
// whole 32-bit range): the arithmetic runs in 64 bits with floor division, never in loops over
// years or cycles. The serial-day arithmetic itself is in jdcore/day_count.h.
// Uses the C++ standard library only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jdcore/day_count.h"

namespace jdcore {

// The library's date record: six signed 32-bit fields, 24 bytes.
struct DateRecord {
    std::int32_t year;
    std::int32_t month;
    std::int32_t day;
    std::int32_t calendar;  // character code of the calendar letter: 'G', 'J', 'V', 'I', 'A'
    std::int32_t jdn;
    std::int32_t spare;  // zeroed by every caller, never read
};
static_assert(sizeof(DateRecord) == 24);

// Date format codes, as passed to str_to_date.
inline constexpr std::int32_t kFormatMDY = 0;
inline constexpr std::int32_t kFormatDMY = 1;
inline constexpr std::int32_t kFormatYMD = 2;

// The largest JDN magnitude the library accepts and the largest year magnitude str_to_date
// reads; beyond either, str_to_date answers kOutOfRange.
inline constexpr std::int64_t kMaxJdnMagnitude = 2'100'000'000;
inline constexpr std::int64_t kMaxYearMagnitude = 5'800'000;

// str_to_date results.
inline constexpr std::int32_t kValid = 0;
inline constexpr std::int32_t kInvalid = -1;
inline constexpr std::int32_t kOutOfRange = -5;

// Year/month/day (in the record's calendar, 'G', 'J', 'V' or 'I'; 'A' is accepted too, any
// other value counts as 'G') to JDN; stores it in record.jdn and returns it. A date outside
// the calendar (month 13, 30 February) is converted by plain arithmetic: month 13 is month 1
// of the next year, 30 February is 1 or 2 March; validity is str_to_date's business. A JDN
// beyond 32 bits saturates at +-2147483647.
inline std::int32_t euro_date_to_jdn(DateRecord& record);

// From record.jdn and record.calendar ('G', 'J', 'V', 'I' or 'A'), fills year, month and day.
// Returns 0; -1 (record untouched) for any other calendar.
inline std::int32_t jdn_to_euro_date(DateRecord& record);

// As euro_date_to_jdn for the Annus Novus calendar ('A').
std::int32_t annus_novus_date_to_jdn(DateRecord& record);

// Fills the Annus Novus year, month (1..10) and day from record.jdn; returns the day of the
// Annus Novus week (see docs/calendars.md).
std::int16_t jdn_to_annus_novus_date(DateRecord& record);

// Day of the week of a JDN: 0 = Sunday .. 6 = Saturday (JDN 1721426 is a Monday).
std::int32_t euro_day_of_week(std::int32_t jdn);

// Reads a date typed as three signed numbers separated twice by the same character (any
// character that is not a digit and not '+'), for example "2012-12-31", "31.12.2012",
// "-500-03-01", "01-03--500", "12/31/2012", in the given order (kFormatMDY, kFormatDMY,
// kFormatYMD) for calendar letter 'G', 'J', 'V', 'I' or 'A' (lower case accepted). Leading
// zeros and a sign on any field are allowed; blanks around the text are ignored. On kValid the
// record's year, month, day, calendar and jdn are set; kOutOfRange when the year's magnitude
// exceeds 5,800,000 or the JDN leaves +-2,100,000,000; kInvalid for anything else (wrong
// shape, a month or day that the calendar does not have). Other fields are left alone.
std::int32_t str_to_date(std::string_view text, std::int32_t dateFormat, DateRecord& record,
                         char letter);

// Groups the digits of a plain decimal number in threes with the separator character:
// ("1234567", ',') -> "1,234,567"; ("-1234567", ',') -> "-1,234,567" (the sign stays outside
// the groups). Any other text comes back unchanged. The result is at most 20 characters for
// every 32-bit number.
std::string separate_thousands(std::string_view digits, char separator);

// Days from `earlier` to `later`, each converted in its own calendar (plain arithmetic, as
// euro_date_to_jdn). A record whose calendar field is 0 counts in the Gregorian calendar.
// status is set to 0, or to -1 (result 0) when a record names no known calendar. A difference
// beyond 32 bits saturates at +-2147483647.
std::int32_t days_elapsed(const DateRecord& later, const DateRecord& earlier, std::int32_t& status);

// ---- inline parts ------------------------------------------------------------------------
// The Gregorian conversions are the hot path of the whole program; they are inlined here and
// every other case is handled out of line.

namespace detail {
std::int32_t euro_date_to_jdn_general(DateRecord& record);
std::int32_t jdn_to_euro_date_general(DateRecord& record);
}  // namespace detail

inline std::int32_t euro_date_to_jdn(DateRecord& record) {
    // Months 0..12, days 0..31 and |year| <= 5,800,000 give a JDN well inside 32 bits (month 0
    // and day 0 count back by plain arithmetic, as in the general path); the year is tested on
    // the shifted counting year that the count needs anyway.
    static_assert(kMaxYearMagnitude == kRecordYears);
    const std::uint64_t m = static_cast<std::uint32_t>(record.month);  // as loaded, no extension
    if (record.calendar == 'G' && m <= 12 && static_cast<std::uint32_t>(record.day) <= 31u)
        [[likely]] {
        const std::uint32_t y0 = static_cast<std::uint32_t>(record.year) + kRecordMonths[m].toYear;
        if (y0 <= kRecordCountingYears) [[likely]] {
            record.jdn = jdn32_from_gregorian(y0, m, record.day);
            return record.jdn;
        }
    }
    return detail::euro_date_to_jdn_general(record);
}

inline std::int32_t jdn_to_euro_date(DateRecord& record) {
    if (record.calendar == 'G') {
        const YearMonthDay date = gregorian_from_jdn32(record.jdn);
        record.year = static_cast<std::int32_t>(date.year);  // |year| < 5.9 million
        record.month = date.month;
        record.day = date.day;
        return 0;
    }
    return detail::jdn_to_euro_date_general(record);
}

}  // namespace jdcore
