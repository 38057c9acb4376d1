// Dates written and read by a strftime-like pattern, for every calendar of the registry:
// "%A, %-d %B %Y", "%Y-%j", "%E %Y-%m-%d", or a named form ("iso", "long", "jdn"); an empty
// pattern is the calendar's usual notation. A pattern is checked against its calendar once
// (DatePattern::Compile); a field the calendar does not have is refused there, naming both.
//
// Fields (docs/formats.md): %Y year, %y its last two digits, %m month (%-m unpadded), %B/%b
// month name full/short, %d day (%-d), %A/%a weekday name full/short, %u weekday 1 (Monday)
// .. 7, %w weekday 0 (Sunday) .. 6, %j day of the year, %V/%G ISO week and week-year, %W the
// week of a week date calendar, %K the calendar's code, %E the era's name (JPN), %L the leap
// month's mark "bis" (CHN, KOR; nothing for other months), %N the year's sexagenary name
// (CHN, KOR), %Q a day-number calendar's number, %J the Julian Day Number, %% a "%".
//
// Reading takes what writing gives: numbers padded or not, names in any case, a blank of the
// pattern standing for any number of blanks. Every field read must agree with the date the
// others give (a weekday, a day of the year); the reason for a refusal is in the interface
// language.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "calendar/calendar_registry.h"
#include "calendar/names.h"
#include "datetext/text_format.h"

namespace daybridge {

// Where names and messages come from: the interface language and the program's text store
// (a text id and a language to its text). Without a text store the texts are English and a
// calendar whose month names live in the store has none.
struct PatternTexts {
    Language language = kEnglish;
    QString (*text)(int id, Language language) = nullptr;
};

class DatePattern {
  public:
    // The pattern checked for a calendar; nothing, with the reason in `error`, for an unknown
    // field, a lone "%" at the end, or a field the calendar does not have. `usual` is how the
    // usual notation (an empty pattern) writes and reads dates.
    static std::optional<DatePattern> Compile(const QString& pattern, CalendarId calendar,
                                              const PatternTexts& texts, QString& error,
                                              const TextFormat& usual = TextFormat());

    // The day's text appended to `out`; false, with the reason, beyond the calendar's range.
    bool Format(std::int64_t jdn, QString& out, QString& error) const;
    // The day of a text written by the pattern; nothing, with the reason, otherwise.
    std::optional<std::int64_t> Parse(QStringView text, QString& error) const;

    CalendarId calendar() const { return calendar_; }

    struct Item {
        char16_t field = 0;  // 0: literal text
        bool unpadded = false;
        QString literal;
    };

    struct Names;

  private:
    DatePattern() = default;
    struct Reader;
    std::optional<std::int64_t> ReadField(std::size_t k, Reader& reader) const;

    CalendarId calendar_{};
    PatternTexts texts_;
    TextFormat usual_;
    bool usualNotation_ = false;
    std::vector<Item> items_;
    std::shared_ptr<const Names> names_;  // where the pattern has names of months or days
};

// One-off forms of the above: the text, or nothing with the reason in `error`.
std::optional<QString> FormatDatePattern(const QString& pattern, CalendarId calendar,
                                         std::int64_t jdn, const PatternTexts& texts,
                                         QString& error);
std::optional<std::int64_t> ParseDatePattern(const QString& pattern, CalendarId calendar,
                                             QStringView text, const PatternTexts& texts,
                                             QString& error);

}  // namespace daybridge
