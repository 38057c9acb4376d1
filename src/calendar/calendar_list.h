// The calendars, one line each, in the order of their identities. A calendar is added by
// appending its line here and writing its entry (kXXXCalendar) in calendar/calendars/: the
// identity, the registry's table and every list of calendars follow from this line.
//
// The first nine are the calendars of the described code table: their positions are the
// indices that the settings file stores and the option buttons stand for. The world's
// calendars follow; new ones are appended, so that every stored index keeps its calendar.
#pragma once

#include <cstdint>

// X(CODE): one calendar, named by its code.
#define DAYBRIDGE_CALENDARS(X) \
    X(CE)                      \
    X(JC)                      \
    X(JDN)                     \
    X(AN)                      \
    X(ORD)                     \
    X(VLW)                     \
    X(ISO)                     \
    X(LPW)                     \
    X(LPM)                     \
    X(HEB)                     \
    X(ISL)                     \
    X(PER)                     \
    X(COP)                     \
    X(ETH)                     \
    X(FRR)                     \
    X(IND)                     \
    X(MAY)                     \
    X(MJD)                     \
    X(ROC)                     \
    X(PEA)                     \
    X(FRE)                     \
    X(UQ)                      \
    X(BAH)                     \
    X(HIS)                     \
    X(CHN)                     \
    X(KOR)                     \
    X(JPN)                     \
    X(BUD)                     \
    X(WK)                      \
    X(FY)                      \
    X(FYW)                     \
    /* a new calendar's line goes above this one */

namespace daybridge {

// A calendar's identity everywhere inside the program. The described numbers (the settings
// file's indices, the calendar library's letters, the batch language's codes) are converted
// to it once, where they enter (calendar/calendar_registry.h).
enum class CalendarId : std::int16_t {
#define DAYBRIDGE_CALENDAR_ID(code) code,
    DAYBRIDGE_CALENDARS(DAYBRIDGE_CALENDAR_ID)
#undef DAYBRIDGE_CALENDAR_ID
};

inline constexpr int kCalendarCount = 0
#define DAYBRIDGE_CALENDAR_COUNT(code) +1
    DAYBRIDGE_CALENDARS(DAYBRIDGE_CALENDAR_COUNT)
#undef DAYBRIDGE_CALENDAR_COUNT
    ;

// The calendars of the described code table (indices 0..8).
inline constexpr int kDescribedCalendarCount = 9;

// The calendar both date fields, the today labels and a date without a code start with.
inline constexpr CalendarId kDefaultCalendar = CalendarId::CE;
// The calendar whose dates are the day numbers themselves: a batch array of it holds plain
// numbers, and its text is never rewritten for the hyphen setting.
inline constexpr CalendarId kDayNumberCalendar = CalendarId::JDN;

constexpr int IndexOf(CalendarId id) {
    return static_cast<int>(id);
}

}  // namespace daybridge
