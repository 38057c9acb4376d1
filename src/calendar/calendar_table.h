// The calendar code table, the shared date records, range limits, the day of the week and the
// leap-year rule. Every date the program handles is tied to one of these nine calendars and,
// in the end, to a Julian Day Number (JDN).
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "jdcore/jdcore.h"
#include "jdcore/world_calendars.h"

namespace daybridge {

using DateRecord = jdcore::DateRecord;

// Calendar index: the calendar's identity everywhere (option buttons, batch code, records).
// The first nine are those of the window's option buttons and of the settings file; the
// world's calendars follow them.
enum CalendarIndex : std::int16_t {
    kCE = 0,    // Common Era, proleptic Gregorian, astronomical years
    kJC = 1,    // Julian calendar, proleptic
    kJDN = 2,   // Julian Day Number
    kAN = 3,    // Annus Novus
    kORD = 4,   // ordinal date: CE year and day of year
    kVLW = 5,   // leap week calendar, the calendar library's year-month-day form
    kISO = 6,   // ISO 8601 week date
    kLPW = 7,   // leap week calendar, week-date form
    kLPM = 8,   // leap week calendar, month-date form
    kHEB = 9,   // Hebrew
    kISL = 10,  // Islamic (tabular)
    kPER = 11,  // Persian (Solar Hijri)
    kCOP = 12,  // Coptic
    kETH = 13,  // Ethiopian
    kFRR = 14,  // French Republican
    kIND = 15,  // Indian national (Saka)
    kMAY = 16,  // Mayan Long Count
    kMJD = 17,  // Modified Julian Day
};
// The nine calendars of the option buttons and of dbrg.usr (loops over them stay 0..8).
inline constexpr int kCalendarCount = 9;
// Every calendar of the registry, the world's calendars included.
inline constexpr int kAllCalendarCount = 18;

// The year-month-day calendars of jdcore's world calendars (HEB..IND); nothing for another
// index.
std::optional<jdcore::WorldCalendar> WorldCalendarOf(int index);

// Text identifiers in the text data file: the name of a world calendar (HEB..MJD) and the
// name of a month of a year-month-day world calendar (HEB..IND, month 1..13); 0 when there is
// no such text.
int CalendarNameTextId(int index);
int MonthNameTextId(int index, int month);

// Date format codes (stored in the settings, passed to parser and formatter).
inline constexpr int kDateFormatMDY = 0;
inline constexpr int kDateFormatDMY = 1;
inline constexpr int kDateFormatYMD = 2;

inline constexpr std::int32_t kMinOrdinalJDN = 1721426;  // 1 January 1 CE
inline constexpr std::int32_t kMaxOrdinalJDN = 5373484;  // 31 December 9999 CE
inline constexpr std::int32_t kMaxDayNumber = 2100000000;
inline constexpr std::int32_t kMinDayNumber = -2100000000;
inline constexpr std::int32_t kMaxYearMagnitude = 5800000;
inline constexpr const char* kMaxLongText = "2147483647";

// ISO week record: year, week 1..53, weekday 1 = Monday .. 7 = Sunday, jdn, valid.
struct IsoWeekRecord {
    std::int32_t year = 0;
    std::int32_t week = 0;
    std::int32_t weekday = 0;
    std::int32_t jdn = 0;
    std::int32_t valid = 0;
};

// Leap week record, serving both the LPW (week) and LPM (month) forms.
struct LeapWeekRecord {
    std::int32_t year = 0;
    std::int16_t month = 0;
    std::int16_t dayOfMonth = 0;
    std::int16_t week = 0;
    std::int16_t weekday = 0;  // 1 = Monday .. 7 = Sunday
    std::int32_t jdn = 0;
    std::int16_t status = 0;  // 0 good, -2 month out of range, -3 day/weekday out of range
};

// The table: code ("CE", "JC", ...) and library letter ("G", "J", "JD", "A", "", "V", "I").
QString CalendarCode(int index);               // empty for an index outside the registry
QString LibraryLetter(int index);              // as in the table
int CalendarIndexOfCode(const QString& code);  // case-blind; -1 when unknown

// Stores the library letter used in records ('G' for CE and ORD, 'J', 'A', 'V', 'I') in
// record.calendar and returns true; false (record untouched) for JDN, LPW and LPM.
bool CalendarLetter(int index, DateRecord& record);

std::int16_t DayOfWeek(std::int32_t jdn);     // 0 = Sunday .. 6 = Saturday
std::int16_t IsoDayOfWeek(std::int32_t jdn);  // 1 = Monday .. 7 = Sunday
bool IsWeekday(std::int32_t jdn);             // Monday to Friday
QString DayName(int n);                       // English "Sunday".."Saturday" for 0..6, else ""
QString MonthName(int m);                     // English "January".."December" for 1..12, else ""

// Leap year on the signed year; only the first letter counts, upper-cased: "J" uses the
// Julian rule, anything else the Gregorian rule. Year 0 and -4 are leap years in both.
bool IsLeapYear(std::int64_t year, const QString& letter);

// JDN of a CE date (no validity check) and the CE (or Julian) date of a JDN.
std::int32_t JdnOfCivil(std::int32_t year, std::int32_t month, std::int32_t day, char letter = 'G');
DateRecord CivilOfJdn(std::int32_t jdn, char letter = 'G');

// The JDN of the computer's current local date.
std::int32_t TodayJDN();

std::int16_t DayOfYear(const DateRecord& record);  // 1..366, in the record's calendar
std::int32_t FirstDayOfYearPlus(std::int32_t year, std::int32_t dayOfYear);  // CE

}  // namespace daybridge
