#include "workdays/holiday_rules.h"

#include <QStringList>
#include <array>

#include "jdcore/day_count.h"
#include "jdcore/easter.h"

namespace daybridge {
namespace {

constexpr std::int64_t kYearLimit = 6000000;  // beyond the years of the day range

constexpr std::array<const char*, 12> kMonths = {"january",   "february", "march",    "april",
                                                 "may",       "june",     "july",     "august",
                                                 "september", "october",  "november", "december"};
constexpr std::array<const char*, 7> kWeekdays = {"monday", "tuesday",  "wednesday", "thursday",
                                                  "friday", "saturday", "sunday"};

// A name or its first three letters.
int IndexOfName(const QString& word, const char* const* names, int count) {
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromLatin1(names[i]);
        if (word == name || (word.size() == 3 && name.startsWith(word))) {
            return i;
        }
    }
    return -1;
}

std::optional<std::int64_t> Number(const QString& word, std::int64_t low, std::int64_t high) {
    bool ok = false;
    const qlonglong value = word.toLongLong(&ok);
    if (!ok || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

int MaxDayOfMonth(int month) {
    return jdcore::month_length(month, true);
}

struct LineReader {
    QStringList words;
    int at = 0;
    QString error;

    bool AtEnd() const { return at >= words.size(); }
    QString Next() { return AtEnd() ? QString() : words[at++]; }
    bool Fail(const QString& what) {
        error = what;
        return false;
    }
};

bool ReadDate(LineReader& in, HolidayRule& rule) {
    const QString first = in.Next();
    if (first == u"easter" || first == u"orthodox") {
        rule.kind = HolidayKind::EasterDays;
        rule.julian = first == u"orthodox";
        if (rule.julian && in.Next() != u"easter") {
            return in.Fail(QStringLiteral("'orthodox' must be followed by 'easter'"));
        }
        if (!in.AtEnd() && (in.words[in.at].startsWith(u'+') || in.words[in.at].startsWith(u'-'))) {
            const QString offset = in.Next();
            const auto days = Number(offset, kMinEasterOffset, kMaxEasterOffset);
            if (!days) {
                return in.Fail(
                    QStringLiteral("the days from Easter must be a number from %1 to +%2, "
                                   "not '%3'")
                        .arg(kMinEasterOffset)
                        .arg(kMaxEasterOffset)
                        .arg(offset));
            }
            rule.offset = static_cast<int>(*days);
        }
        return true;
    }
    // A single date's year may be negative: "-4712-05-01".
    const bool negative = first.startsWith(u'-');
    const QStringList parts = first.mid(negative ? 1 : 0).split(u'-');
    if (parts.size() == 2 || parts.size() == 3) {
        const bool single = parts.size() == 3;
        auto year = single ? Number(parts[0], 0, kYearLimit) : std::optional<std::int64_t>(0);
        if (year && negative) {
            year = -*year;
        }
        const auto month = Number(parts[single ? 1 : 0], 1, 12);
        const auto day = Number(parts[single ? 2 : 1], 1, 31);
        if (!year || !month || !day || parts.contains(QString()) || (negative && !single)) {
            return in.Fail(QStringLiteral("'%1' is not a date: write MM-DD, or YYYY-MM-DD for one "
                                          "day")
                               .arg(first));
        }
        rule.month = static_cast<int>(*month);
        rule.day = static_cast<int>(*day);
        if (rule.day > MaxDayOfMonth(rule.month)) {
            return in.Fail(QStringLiteral("month %1 has no day %2").arg(rule.month).arg(rule.day));
        }
        if (single) {
            if (rule.month == 2 && rule.day == 29 && !jdcore::gregorian_leap(*year)) {
                return in.Fail(QStringLiteral("%1 is not a leap year").arg(*year));
            }
            rule.kind = HolidayKind::SingleDate;
            rule.firstYear = rule.lastYear = *year;
        } else {
            rule.kind = HolidayKind::FixedDay;
        }
        return true;
    }
    // "NTH WEEKDAY of MONTH"
    static constexpr std::array<const char*, 6> kOrdinals = {"last",  "first",  "second",
                                                             "third", "fourth", "fifth"};
    static constexpr std::array<const char*, 6> kShortOrdinals = {"",    "1st", "2nd",
                                                                  "3rd", "4th", "5th"};
    int nth = -1;
    for (int i = 0; i < 6; ++i) {
        if (first == QLatin1String(kOrdinals[i]) ||
            (i > 0 && first == QLatin1String(kShortOrdinals[i]))) {
            nth = i;
        }
    }
    if (nth < 0) {
        return in.Fail(QStringLiteral("'%1' does not begin a date: write MM-DD, YYYY-MM-DD, "
                                      "'easter', 'orthodox easter' or e.g. 'first monday of may'")
                           .arg(first));
    }
    const QString weekday = in.Next();
    rule.weekday = IndexOfName(weekday, kWeekdays.data(), 7);
    if (rule.weekday < 0) {
        return in.Fail(QStringLiteral("'%1' is not a day of the week").arg(weekday));
    }
    if (in.Next() != u"of") {
        return in.Fail(QStringLiteral("'of' and a month must follow '%1 %2'").arg(first, weekday));
    }
    const QString month = in.Next();
    const auto number = Number(month, 1, 12);
    rule.month = number ? static_cast<int>(*number) : IndexOfName(month, kMonths.data(), 12) + 1;
    if (rule.month < 1) {
        return in.Fail(QStringLiteral("'%1' is not a month").arg(month));
    }
    rule.kind = HolidayKind::NthWeekday;
    rule.nth = nth;
    return true;
}

bool ReadOptions(LineReader& in, HolidayRule& rule) {
    bool hasFrom = false, hasUntil = false, hasObserved = false, hasJulian = false;
    while (!in.AtEnd()) {
        const QString word = in.Next();
        if (word == u"julian") {
            if (hasJulian || rule.kind == HolidayKind::EasterDays ||
                rule.kind == HolidayKind::SingleDate) {
                return in.Fail(
                    QStringLiteral("'julian' belongs only once after MM-DD or a "
                                   "weekday of a month"));
            }
            hasJulian = rule.julian = true;
        } else if (word == u"from" || word == u"until") {
            const bool from = word == u"from";
            if ((from ? hasFrom : hasUntil) || rule.kind == HolidayKind::SingleDate) {
                return in.Fail(QStringLiteral("'%1' given twice, or for a single date").arg(word));
            }
            const QString text = in.Next();
            const auto year = Number(text, -kYearLimit, kYearLimit);
            if (!year) {
                return in.Fail(QStringLiteral("'%1' must be followed by a year from %2 to %3")
                                   .arg(word)
                                   .arg(-kYearLimit)
                                   .arg(kYearLimit));
            }
            (from ? rule.firstYear : rule.lastYear) = *year;
            (from ? hasFrom : hasUntil) = true;
        } else if (word == u"observed") {
            const QString how = in.Next();
            if (hasObserved) {
                return in.Fail(QStringLiteral("'observed' given twice"));
            }
            hasObserved = true;
            if (how == u"next") {
                rule.observed = Observed::Next;
            } else if (how == u"previous") {
                rule.observed = Observed::Previous;
            } else if (how == u"fri-mon") {
                rule.observed = Observed::FriMon;
            } else {
                return in.Fail(
                    QStringLiteral("'observed' must be followed by next, previous or "
                                   "fri-mon"));
            }
        } else {
            return in.Fail(QStringLiteral("unknown word '%1'").arg(word));
        }
    }
    if (rule.firstYear > rule.lastYear) {
        return in.Fail(QStringLiteral("the first year is after the last year"));
    }
    return true;
}

}  // namespace

std::optional<std::int64_t> HolidayRule::DateIn(std::int64_t year) const {
    if (!ActiveIn(year)) {
        return std::nullopt;
    }
    const auto jdnOf = [this](std::int64_t y, std::int64_t m, std::int64_t d) {
        return julian ? jdcore::jdn_from_julian(y, m, d) : jdcore::jdn_from_gregorian(y, m, d);
    };
    const bool leap = julian ? jdcore::julian_leap(year) : jdcore::gregorian_leap(year);
    switch (kind) {
        case HolidayKind::FixedDay:
        case HolidayKind::SingleDate:
            if (day > jdcore::month_length(month, leap)) {
                return std::nullopt;
            }
            return jdnOf(year, month, day);
        case HolidayKind::NthWeekday: {
            const int length = jdcore::month_length(month, leap);
            if (nth == 0) {
                const std::int64_t last = jdnOf(year, month, length);
                return last - jdcore::floor_mod(last - weekday, 7);
            }
            const std::int64_t first = jdnOf(year, month, 1);
            const std::int64_t date = first + jdcore::floor_mod(weekday - first, 7) + 7 * (nth - 1);
            return date - first < length ? std::optional<std::int64_t>(date) : std::nullopt;
        }
        case HolidayKind::EasterDays:
            return (julian ? jdcore::orthodox_easter(year) : jdcore::western_easter(year)) + offset;
    }
    return std::nullopt;
}

HolidayParseResult ParseHolidayRules(const QString& text) {
    HolidayParseResult result;
    HolidaySet set;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (i == 0 && line.startsWith(QChar(0xFEFF))) {
            line.remove(0, 1);
        }
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        const qsizetype colon = line.indexOf(u':');
        HolidayRule rule;
        LineReader in;
        if (colon < 0) {
            in.error = QStringLiteral("a ':' and the holiday's name must end the line");
        } else {
            rule.name = line.mid(colon + 1).trimmed();
            in.words = line.left(colon).simplified().toLower().split(u' ', Qt::SkipEmptyParts);
            if (rule.name.isEmpty()) {
                in.error = QStringLiteral("the holiday has no name after ':'");
            } else if (in.words.isEmpty()) {
                in.error = QStringLiteral("the holiday has no date before ':'");
            } else if (ReadDate(in, rule)) {
                ReadOptions(in, rule);
            }
        }
        if (!in.error.isEmpty()) {
            result.line = i + 1;
            result.error = in.error;
            return result;
        }
        set.rules.push_back(rule);
    }
    result.set = std::move(set);
    return result;
}

}  // namespace daybridge
