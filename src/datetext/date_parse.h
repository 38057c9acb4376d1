// Reading typed dates, JDNs and day counts. Every reader answers an outcome: valid (the JDN
// and the record are set), not valid in this calendar and format, or well formed but out of
// range (also a date whose JDN lies beyond kMinDayNumber..kMaxDayNumber). How a calendar's
// dates are read is its registry entry's notation (calendar/calendar_registry.h).
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "calendar/calendar_table.h"
#include "datetext/text_format.h"
#include "jdcore/calendar_check.h"

namespace daybridge {

enum class ParseOutcome : std::int8_t { Valid, Invalid, OutOfRange };

// The described outcome codes, which the single calendars' readers below answer.
inline constexpr int kParseValid = 1;
inline constexpr int kParseInvalid = 0;
inline constexpr int kParseOutOfRange = -1;
constexpr ParseOutcome OutcomeOfCode(int code) {
    return code == kParseValid        ? ParseOutcome::Valid
           : code == kParseOutOfRange ? ParseOutcome::OutOfRange
                                      : ParseOutcome::Invalid;
}
constexpr int CodeOfOutcome(ParseOutcome outcome) {
    return outcome == ParseOutcome::Valid        ? kParseValid
           : outcome == ParseOutcome::OutOfRange ? kParseOutOfRange
                                                 : kParseInvalid;
}

struct ParseResult {
    std::int32_t jdn = 0;  // or the day count
    ParseOutcome outcome = ParseOutcome::Invalid;
    // What is wrong with a date that is not valid, where the reader knows it (a month or day
    // the calendar does not have).
    jdcore::DateCheck reason;
};

// The entry point: dispatches on the calendar's notation with the given format settings. Besides
// the date, the text may carry blanks, its calendar's code before or after it, a comma and a day
// name after it (as the output writes them), parentheses around a negative year and digit
// grouping inside the year; U+2212 reads as "-" and an ISO week's "w" as "W". Any other
// character makes the text not valid: nothing is dropped.
ParseResult ParseDateInCalendar(CalendarId calendar, const QString& text, const TextFormat& format);

// A date that names its calendar by a code before or after it ("HEB 5787-09-27",
// "2026-W50-1 ISO, Monday", "CE 03/01/(-500)"), read in that calendar by ParseDateInCalendar; a
// text without a code is read in `calendarWithoutCode`. `calendar` is empty (and the text not
// valid) when letters stand where a code would and name no calendar ("500-03-01 BC").
struct CodedParseResult {
    std::optional<CalendarId> calendar;
    ParseResult parsed;
};
CodedParseResult ParseDateWithCode(const QString& text, const TextFormat& format,
                                   CalendarId calendarWithoutCode);

// The single calendars' readers take the date alone (digits, separators, blanks, the ISO "W")
// and answer the described codes (kParseValid ...). ParseDate reads the calendar library's
// dates (CE, JC, AN, VLW; a day number for a day-number calendar).
int ParseDate(const QString& text, const QString& separator, CalendarId calendar, int dateFormat,
              DateRecord& record);
// A JDN: an optional sign and digits, grouped in threes by commas or by the current thousands
// separator ("2.451.545"), blanks around it; magnitudes up to kMaxDayNumber (the one-argument
// form groups by commas only).
ParseResult ParseJdnText(const QString& text);
ParseResult ParseJdnText(const QString& text, const QString& thousandsSeparator);
// A date difference: an optional sign and digits, grouped in threes by the current thousands
// separator or not at all, blanks around it. Anything else ("1.5", "10-5", "3 weeks") is not
// valid; beyond kMinDayNumber..kMaxDayNumber it is out of range.
ParseResult ParseDayCount(const QString& text, const QString& thousandsSeparator = QString());
int ParseOrdinal(const QString& text, bool hyphen, DateRecord& record);
int OrdinalTextKind(const QString& text);  // 1 compact, -1 hyphenated, 0 not ordinal
int ParseIsoWeek(const QString& text, IsoWeekRecord& record);
int IsoWeekTextKind(const QString& text);  // 1 compact, -1 hyphenated, 0 not ISO week
int ParseLpm(const QString& text, LeapWeekRecord& record);
int ParseLpw(const QString& text, LeapWeekRecord& record);

// An ordinal or ISO week date text rewritten for the hyphen setting, judged by its shape only
// (the text trimmed): "2012060" <-> "2012-060", "2012W053" <-> "2012-W05-3",
// "-44-W52-7" -> "-44W527". Any other text comes back trimmed.
QString RewriteHyphenation(const QString& text, bool hyphen);

}  // namespace daybridge
