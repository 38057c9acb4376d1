// Writing JDNs, day counts and date records in each calendar's canonical form. The text
// written is the text the parser reads back: parse(format(jdn)) == jdn.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "calendar/calendar_table.h"
#include "datetext/text_format.h"
#include "jdcore/world_calendars.h"

namespace daybridge {

// CE and JC dates in the given order and separator, a year beyond 9999 grouped (unless the
// group separator would clash with the date separator). AN and VLW dates, which are read year
// or day first with "-", are written so: MDY becomes YMD and the separator "-".
QString FormatDate(const DateRecord& record, int dateFormat, const QString& separator,
                   const QString& thousandsSeparator);
QString FormatOrdinal(std::int32_t year, int dayOfYear, bool hyphen);
QString FormatIsoWeek(const IsoWeekRecord& record, bool hyphen);
// FormatIsoWeek's text appended to `out` (no temporary strings).
void AppendIsoWeek(QString& out, const IsoWeekRecord& record, bool hyphen);
// FormatIsoWeek's text written at `at`, which has room for kIsoWeekTextRoom characters; the
// number of characters written.
inline constexpr int kIsoWeekTextRoom = 3 * 21 + 3;
int WriteIsoWeek(char16_t* at, const IsoWeekRecord& record, bool hyphen);
QString FormatLpw(const LeapWeekRecord& record, bool withCode, const QLocale& regional);
QString FormatLpm(const LeapWeekRecord& record, bool withCode, const QLocale& regional);
QString FormatDayNumber(std::int64_t n, const QString& thousandsSeparator);
QString SeparateThousands(const QString& digits, const QString& separator);
// A number in the regional format without decimals ("1,234,567" or "1234567").
QString FormatRegional(std::int64_t n, const QLocale& regional);

// A year-first date of a calendar's own arithmetic (the world's calendars): year first, "-",
// month and day with two digits, whatever the date order and separator; a year beyond 9999
// grouped like CE's: "5787-09-27", "-12,345-01-01".
QString FormatWorldDate(std::int64_t year, int month, int day, const QString& thousandsSeparator);
// A Mayan Long Count: "13.0.14.2.19"; before 0.0.0.0.0 the baktun is negative.
QString FormatLongCount(const jdcore::LongCount& date);

// The canonical text of a JDN in a calendar, by its notation: CE, JC, AN, VLW by FormatDate;
// ORD and ISO with the hyphen setting; day numbers (JDN, MJD) with thousands separators; LPW
// and LPM without the code; year-first dates by FormatWorldDate; MAY by FormatLongCount. Empty
// when the JDN lies beyond the calendar's span (ORD outside years 1..9999, any calendar but JDN
// beyond the day number range).
QString CanonicalDateText(CalendarId calendar, std::int32_t jdn, const TextFormat& format);
// The same followed by a blank and the calendar's code, as the batch language writes a date
// (DATEVAL(); day numbers in the regional number format, whatever their range. Empty where
// CanonicalDateText is.
QString DateTextWithCode(CalendarId calendar, std::int32_t jdn, const TextFormat& format);
// The same appended to `out` (no temporary string beyond the date's own).
void AppendDateTextWithCode(QString& out, CalendarId calendar, std::int32_t jdn,
                            const TextFormat& format);

}  // namespace daybridge
