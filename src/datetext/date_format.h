// Writing JDNs, day counts and date records in each calendar's canonical form. The text
// written is the text the parser reads back: parse(format(jdn)) == jdn.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "calendar/calendar_table.h"
#include "datetext/text_format.h"

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
QString FormatLpw(const LeapWeekRecord& record, bool withCode, const QLocale& regional);
QString FormatLpm(const LeapWeekRecord& record, bool withCode, const QLocale& regional);
QString FormatDayNumber(std::int64_t n, const QString& thousandsSeparator);
QString SeparateThousands(const QString& digits, const QString& separator);
// A number in the regional format without decimals ("1,234,567" or "1234567").
QString FormatRegional(std::int64_t n, const QLocale& regional);

// The canonical text of a JDN in a calendar: CE, JC, AN, VLW by FormatDate; ORD and ISO with
// the hyphen setting; JDN with thousands separators; LPW and LPM without the code. Empty when
// the JDN cannot be written in that calendar (ORD outside years 1..9999, any calendar but JDN
// beyond the day number range).
QString CanonicalDateText(int calendar, std::int32_t jdn, const TextFormat& format);

}  // namespace daybridge
