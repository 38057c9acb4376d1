// Reads arbitrary text as a date in every calendar, under a text format taken from the
// input's first two bytes. A date that reads must stay in range and read back from its
// canonical text as the same JDN.
#include "datetext/date_format.h"
#include "datetext/date_parse.h"
#include "datetext/string_utils.h"
#include "fuzz_support.h"

using namespace daybridge;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > 4096) {
        return 0;
    }
    const TextFormat format = fuzz::FormatFrom(data[0], data[1]);
    const QString text = fuzz::Text(data + 2, size - 2);

    for (const CalendarEntry* entry : AllCalendars()) {
        const CalendarId calendar = entry->id;
        const ParseResult read = ParseDateInCalendar(calendar, text, format);
        if (read.outcome != ParseOutcome::Valid) {
            Check(read.jdn == 0);
            continue;
        }
        Check(read.jdn >= kMinDayNumber && read.jdn <= kMaxDayNumber);
        Check(InSpan(*entry, read.jdn));
        const QString canonical = CanonicalDateText(calendar, read.jdn, format);
        Check(!canonical.isEmpty());
        const ParseResult back = ParseDateInCalendar(calendar, canonical, format);
        Check(back.outcome == ParseOutcome::Valid && back.jdn == read.jdn);
        // The hyphen rewrite of a canonical text reads as the same date under the other setting.
        if (entry->notation == Notation::OrdinalDate || entry->notation == Notation::IsoWeekDate) {
            TextFormat other = format;
            other.hyphen = !format.hyphen;
            const ParseResult rewritten =
                ParseDateInCalendar(calendar, RewriteHyphenation(canonical, other.hyphen), other);
            Check(rewritten.outcome == ParseOutcome::Valid && rewritten.jdn == read.jdn);
        }
    }

    // A date that names its calendar by a code reads as that calendar's field reader reads it;
    // letters that name no calendar read as nothing.
    const CodedParseResult coded = ParseDateWithCode(text, format, CalendarId::CE);
    if (!coded.calendar) {
        Check(coded.parsed.outcome == ParseOutcome::Invalid);
    } else {
        const ParseResult same = ParseDateInCalendar(*coded.calendar, text, format);
        Check(same.outcome == coded.parsed.outcome && same.jdn == coded.parsed.jdn);
    }

    // The general reader with the ISO letter and the JDN calendar's separator checks.
    DateRecord record{};
    const int iso =
        ParseDate(text, format.dateSeparator, CalendarId::ISO, format.dateFormat, record);
    Check(iso >= -1 && iso <= 1);
    const int jdn =
        ParseDate(text, format.dateSeparator, CalendarId::JDN, format.dateFormat, record);
    Check(jdn >= -1 && jdn <= 1);
    if (jdn == kParseValid) {
        Check(record.jdn >= kMinDayNumber && record.jdn <= kMaxDayNumber);
    }
    const int ordinalKind = OrdinalTextKind(text);
    const int isoKind = IsoWeekTextKind(text);
    Check(ordinalKind >= -1 && ordinalKind <= 1 && isoKind >= -1 && isoKind <= 1);
    (void)RewriteHyphenation(text, format.hyphen);
    (void)IsParenthesised(text);
    (void)TextBetween(text, QStringLiteral("("), QStringLiteral(")"), data[1] % 8, true);
    (void)LettersOnly(text);
    int which = 0;
    (void)FindFirstOf(text, data[0] % 8, QStringLiteral("-/."), which);
    (void)WordLength(text, data[1] % 8, true, QStringLiteral("_"));
    return 0;
}
