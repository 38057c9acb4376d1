#include "datetext/unit_difference.h"

#include <QStringList>
#include <array>

#include "calendar/names.h"

namespace daybridge {
namespace {

// Units in their required order.
enum Unit { kYearsPart, kMonthsPart, kWeeksPart, kDaysPart, kNoUnit };

struct UnitWord {
    const char* word;  // lower case
    Unit unit;
};

constexpr UnitWord kLetters[] = {
    {"y", kYearsPart}, {"m", kMonthsPart}, {"w", kWeeksPart}, {"d", kDaysPart}};
constexpr UnitWord kEnglishWords[] = {
    {"year", kYearsPart},   {"years", kYearsPart},   {"mo", kMonthsPart},
    {"month", kMonthsPart}, {"months", kMonthsPart}, {"week", kWeeksPart},
    {"weeks", kWeeksPart},  {"day", kDaysPart},      {"days", kDaysPart},
};
constexpr UnitWord kGermanWords[] = {
    {"j", kYearsPart},       {"jahr", kYearsPart},  {"jahre", kYearsPart},  {"monat", kMonthsPart},
    {"monate", kMonthsPart}, {"woche", kWeeksPart}, {"wochen", kWeeksPart}, {"t", kDaysPart},
    {"tag", kDaysPart},      {"tage", kDaysPart},
};
constexpr UnitWord kFrenchWords[] = {
    {"a", kYearsPart},   {"an", kYearsPart},      {"ans", kYearsPart},      {"mois", kMonthsPart},
    {"s", kWeeksPart},   {"semaine", kWeeksPart}, {"semaines", kWeeksPart}, {"j", kDaysPart},
    {"jour", kDaysPart}, {"jours", kDaysPart},
};

template <std::size_t N>
Unit Find(const UnitWord (&table)[N], const QString& word) {
    for (const UnitWord& entry : table) {
        if (word == QLatin1String(entry.word)) {
            return entry.unit;
        }
    }
    return kNoUnit;
}

Unit UnitOfWord(const QString& word, Language language) {
    const Unit unit = Find(kLetters, word);
    if (unit != kNoUnit) {
        return unit;
    }
    switch (language) {
        case Language::German:
            return Find(kGermanWords, word);
        case Language::French:
            return Find(kFrenchWords, word);
        case Language::English:
            break;
    }
    return Find(kEnglishWords, word);
}

constexpr std::array<std::int64_t, 4> kLimits = {kMaxUnitYears, kMaxUnitMonths, kMaxUnitWeeks,
                                                 kMaxUnitDays};
constexpr std::array<unsigned, 4> kTypedBits = {kUnitYears, kUnitMonths, kUnitWeeks, kUnitDays};

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
bool IsAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

}  // namespace

UnitDifferenceParse ParseUnitDifference(const QString& input, Language language) {
    const QString text = input.trimmed().toLower();
    UnitDifferenceParse result;
    UnitDifference& difference = result.difference;
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        difference.negative = text[i] == QLatin1Char('-');
        ++i;
    }
    bool beyond = false;
    int nextUnit = kYearsPart;  // the earliest unit the next part may have
    std::array<std::int64_t*, 4> parts = {&difference.years, &difference.months, &difference.weeks,
                                          &difference.days};
    while (true) {
        if (i >= n || !IsAsciiDigit(text[i])) {
            return {};
        }
        std::int64_t value = 0;  // stops growing once beyond every limit (< 1e10 + 10)
        for (; i < n && IsAsciiDigit(text[i]); ++i) {
            if (value <= kMaxUnitDays) {
                value = 10 * value + (text[i].unicode() - u'0');
            }
        }
        while (i < n && IsBlank(text[i])) {
            ++i;
        }
        const qsizetype wordStart = i;
        while (i < n && IsAsciiLetter(text[i])) {
            ++i;
        }
        const Unit unit = UnitOfWord(text.mid(wordStart, i - wordStart), language);
        if (unit == kNoUnit || unit < nextUnit) {
            return {};  // no unit (a plain number), an unknown word, or units out of order
        }
        nextUnit = unit + 1;
        beyond = beyond || value > kLimits[unit];
        *parts[unit] = std::min(value, kLimits[unit]);
        difference.typed |= kTypedBits[unit];
        const qsizetype partEnd = i;
        while (i < n && IsBlank(text[i])) {
            ++i;
        }
        if (i < n && text[i] == QLatin1Char(',')) {
            ++i;
            while (i < n && IsBlank(text[i])) {
                ++i;
            }
            if (i >= n) {
                return {};  // a trailing comma
            }
        }
        if (i >= n) {
            break;
        }
        if (i == partEnd && !IsAsciiDigit(text[i])) {
            return {};
        }
    }
    result.outcome = beyond ? ParseOutcome::OutOfRange : ParseOutcome::Valid;
    return result;
}

QString UnitDifferenceText(const UnitDifference& difference, Language language) {
    // By language number: unit, then singular and plural.
    static constexpr const char* kUnits[3][4][2] = {
        {{"year", "years"}, {"month", "months"}, {"week", "weeks"}, {"day", "days"}},
        {{"Jahr", "Jahre"}, {"Monat", "Monate"}, {"Woche", "Wochen"}, {"Tag", "Tage"}},
        {{"an", "ans"}, {"mois", "mois"}, {"semaine", "semaines"}, {"jour", "jours"}}};
    const auto& units = kUnits[LanguageNumber(language)];
    const std::array<std::int64_t, 4> sizes = {difference.years, difference.months,
                                               difference.weeks, difference.days};
    QStringList shown;
    for (int unit = kYearsPart; unit <= kDaysPart; ++unit) {
        const bool typed = (difference.typed & kTypedBits[unit]) != 0;
        if (typed || (difference.typed == 0 && sizes[unit] != 0)) {
            const auto& words = units[unit];
            shown << QString::number(sizes[unit]) + QLatin1Char(' ') +
                         QLatin1String(words[sizes[unit] == 1 ? 0 : 1]);
        }
    }
    if (shown.isEmpty()) {
        shown << QStringLiteral("0 ") + QLatin1String(units[kDaysPart][1]);
    }
    return shown.join(QStringLiteral(", "));
}

}  // namespace daybridge
