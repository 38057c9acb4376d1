// The Velmora Leap Week calendar: a perennial calendar of whole weeks. Every year starts on a
// Monday and has 52 weeks, or 53 in a leap year (71 in every 400 years); the extra week is
// appended to month 12. Months have 5, 4, 4 weeks in each quarter. Two written forms: LPW
// (year, week, weekday) and LPM (year, month, day of month); both convert through the week
// form, in O(1) for every year.
#pragma once

#include <QString>
#include <cstdint>

#include "calendar/calendar_table.h"

namespace daybridge {

inline constexpr std::int32_t kLeapWeekEpoch = 1721419;     // Monday starting year 1
inline constexpr std::int32_t kLeapWeekCycleDays = 146097;  // 400 years
inline constexpr std::int32_t kLeapWeekCycleEnd = 1867516;  // first day of year 401

// Record status values.
inline constexpr std::int16_t kLeapWeekGood = 0;
inline constexpr std::int16_t kLeapWeekBadMonth = -2;     // month outside 0..12
inline constexpr std::int16_t kLeapWeekBadDay = -3;       // day of month or weekday
inline constexpr std::int16_t kLeapWeekBeyondRange = -4;  // result does not fit its field

bool IsLeapWeekYear(std::int64_t year);
int WeeksInYear(bool leap);
int DaysInLeapWeekYear(bool leap);
int WeeksInMonth(int month, bool leap);
std::int16_t CheckLeapWeekRecord(LeapWeekRecord& record);

// CheckLeapWeekRecord accepts weekday 0 and weeks beyond the year; such records convert by
// plain arithmetic (weekday 0 is the day before weekday 1, week 53 of a common year is the
// first week of the next year, its month form month 13). A result that cannot be held (a JDN
// beyond 32 bits, a day of month beyond 16 bits) fails with kLeapWeekBeyondRange or
// kLeapWeekBadDay instead of being cut.
bool JdnToLpw(LeapWeekRecord& record);
bool LpwToJdn(LeapWeekRecord& record);
bool LpwToLpm(LeapWeekRecord& record);
bool LpmToLpw(LeapWeekRecord& record);
bool JdnToLpm(LeapWeekRecord& record);
bool LpmToJdn(LeapWeekRecord& record);

QString StarMonthName(int month);  // "Arcturus".."Lesath" for 1..12, else ""

int YearInHexade(std::int64_t year);  // 1..7
bool IsInShortHexade(std::int64_t year);

}  // namespace daybridge
