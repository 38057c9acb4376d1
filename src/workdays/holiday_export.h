// A year's holidays as a list to read or to pass on: one line per holiday, or an iCalendar
// file (RFC 5545) that calendar programs import.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "workdays/workday_calendar.h"

namespace daybridge {

struct ListedHoliday {
    std::int64_t jdn = 0;
    QString name;      // with "(observed)" on the day a holiday moved to
    QString category;  // the rule's: "public", "bank", "school", "observance" or "optional"
};

// The years an export takes: four-digit Gregorian years, as iCalendar dates have them.
inline constexpr int kFirstExportYear = 1;
inline constexpr int kLastExportYear = 9999;

// The holidays of a Gregorian year in date order (those of one day in the set's order).
std::vector<ListedHoliday> HolidaysOfYear(const WorkdayCalendar& workdays, int year);

// "YYYY-MM-DD<TAB>name<TAB>category", a line each, ended by "\n".
QString HolidayListText(const std::vector<ListedHoliday>& holidays);

// A VCALENDAR of all-day events, lines ended by CRLF and folded at 75 octets. `setName` goes
// into the calendar's name and the events' UIDs; `stampJdn` is the DTSTAMP day (midnight UTC).
QByteArray HolidayICalendar(const std::vector<ListedHoliday>& holidays, const QString& setName,
                            std::int64_t stampJdn);

}  // namespace daybridge
