// The shared date records, range limits, the day of the week and the leap-year rule, and the
// described interface of the calendar code table (the table itself is the calendar registry,
// calendar/calendar_registry.h). Every date the program handles is tied to a calendar and, in
// the end, to a Julian Day Number (JDN).
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "calendar/calendar_registry.h"
#include "calendar/names.h"
#include "jdcore/jdcore.h"

namespace daybridge {

using DateRecord = jdcore::DateRecord;

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

// The described table's interface: code ("CE", "JC", ...) and library letter ("G", "J", "JD",
// "A", "", "V", "I") of a calendar, and the index of a code (case-blind; -1 when unknown).
QString CalendarCode(CalendarId id);
QString LibraryLetter(CalendarId id);
int CalendarIndexOfCode(const QString& code);

// Stores the letter its records carry ('G' for CE and ORD, 'J', 'A', 'V', 'I') in
// record.calendar and returns true; false (record untouched) for a calendar without one.
bool CalendarLetter(CalendarId id, DateRecord& record);

std::int16_t DayOfWeek(std::int32_t jdn);     // 0 = Sunday .. 6 = Saturday
std::int16_t IsoDayOfWeek(std::int32_t jdn);  // 1 = Monday .. 7 = Sunday
bool IsWeekday(std::int32_t jdn);             // Monday to Friday

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
