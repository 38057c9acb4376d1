#include "workdays/holiday_rules.h"

#include <QStringList>
#include <array>
#include <memory>

#include "jdcore/day_count.h"
#include "jdcore/easter.h"
#include "workdays/holiday_count.h"
#include "workdays/workday_calendar.h"

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
    HolidayFault fault = HolidayFault::None;
    QStringList details;

    bool AtEnd() const { return at >= words.size(); }
    QString Next() { return AtEnd() ? QString() : words[at++]; }
    bool Fail(HolidayFault what, QStringList words = {}) {
        fault = what;
        details = std::move(words);
        return false;
    }
};

bool ReadDate(LineReader& in, HolidayRule& rule) {
    const QString first = in.Next();
    if (first == u"easter" || first == u"orthodox") {
        rule.kind = HolidayKind::EasterDays;
        rule.julian = first == u"orthodox";
        if (rule.julian && in.Next() != u"easter") {
            return in.Fail(HolidayFault::OrthodoxWithoutEaster);
        }
        if (!in.AtEnd() && (in.words[in.at].startsWith(u'+') || in.words[in.at].startsWith(u'-'))) {
            const QString offset = in.Next();
            const auto days = Number(offset, kMinEasterOffset, kMaxEasterOffset);
            if (!days) {
                return in.Fail(
                    HolidayFault::EasterOffset,
                    {QString::number(kMinEasterOffset), QString::number(kMaxEasterOffset), offset});
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
            return in.Fail(HolidayFault::NotADate, {first});
        }
        rule.month = static_cast<int>(*month);
        rule.day = static_cast<int>(*day);
        if (rule.day > MaxDayOfMonth(rule.month)) {
            return in.Fail(HolidayFault::NoSuchDay,
                           {QString::number(rule.month), QString::number(rule.day)});
        }
        if (single) {
            if (rule.month == 2 && rule.day == 29 && !jdcore::gregorian_leap(*year)) {
                return in.Fail(HolidayFault::NotLeapYear, {QString::number(*year)});
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
        return in.Fail(HolidayFault::NotABeginning, {first});
    }
    const QString weekday = in.Next();
    rule.weekday = IndexOfName(weekday, kWeekdays.data(), 7);
    if (rule.weekday < 0) {
        return in.Fail(HolidayFault::NotAWeekday, {weekday});
    }
    if (in.Next() != u"of") {
        return in.Fail(HolidayFault::OfMissing, {first, weekday});
    }
    const QString month = in.Next();
    const auto number = Number(month, 1, 12);
    rule.month = number ? static_cast<int>(*number) : IndexOfName(month, kMonths.data(), 12) + 1;
    if (rule.month < 1) {
        return in.Fail(HolidayFault::NotAMonth, {month});
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
                return in.Fail(HolidayFault::JulianMisplaced);
            }
            hasJulian = rule.julian = true;
        } else if (word == u"from" || word == u"until") {
            const bool from = word == u"from";
            if ((from ? hasFrom : hasUntil) || rule.kind == HolidayKind::SingleDate) {
                return in.Fail(HolidayFault::BoundTwice, {word});
            }
            const QString text = in.Next();
            const auto year = Number(text, -kYearLimit, kYearLimit);
            if (!year) {
                return in.Fail(HolidayFault::BoundYear,
                               {word, QString::number(-kYearLimit), QString::number(kYearLimit)});
            }
            (from ? rule.firstYear : rule.lastYear) = *year;
            (from ? hasFrom : hasUntil) = true;
        } else if (word == u"observed") {
            const QString how = in.Next();
            if (hasObserved) {
                return in.Fail(HolidayFault::ObservedTwice);
            }
            hasObserved = true;
            if (how == u"next") {
                rule.observed = Observed::Next;
            } else if (how == u"previous") {
                rule.observed = Observed::Previous;
            } else if (how == u"fri-mon") {
                rule.observed = Observed::FriMon;
            } else {
                return in.Fail(HolidayFault::ObservedHow);
            }
        } else {
            return in.Fail(HolidayFault::UnknownWord, {word});
        }
    }
    if (rule.firstYear > rule.lastYear) {
        return in.Fail(HolidayFault::FirstAfterLast);
    }
    return true;
}

}  // namespace

std::optional<std::int64_t> HolidayRule::DateInAnyYear(std::int64_t year) const {
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

QString HolidayFaultEnglish(HolidayFault fault, const QStringList& details) {
    const char* text = "";
    switch (fault) {
        case HolidayFault::None:
            break;
        case HolidayFault::NoColon:
            text = "a ':' and the holiday's name must end the line";
            break;
        case HolidayFault::NoName:
            text = "the holiday has no name after ':'";
            break;
        case HolidayFault::NoDate:
            text = "the holiday has no date before ':'";
            break;
        case HolidayFault::NotADate:
            text = "'%1' is not a date: write MM-DD, or YYYY-MM-DD for one day";
            break;
        case HolidayFault::NoSuchDay:
            text = "month %1 has no day %2";
            break;
        case HolidayFault::NotLeapYear:
            text = "%1 is not a leap year";
            break;
        case HolidayFault::EasterOffset:
            text = "the days from Easter must be a number from %1 to +%2, not '%3'";
            break;
        case HolidayFault::OrthodoxWithoutEaster:
            text = "'orthodox' must be followed by 'easter'";
            break;
        case HolidayFault::NotABeginning:
            text =
                "'%1' does not begin a date: write MM-DD, YYYY-MM-DD, 'easter', 'orthodox "
                "easter' or e.g. 'first monday of may'";
            break;
        case HolidayFault::NotAWeekday:
            text = "'%1' is not a day of the week";
            break;
        case HolidayFault::OfMissing:
            text = "'of' and a month must follow '%1 %2'";
            break;
        case HolidayFault::NotAMonth:
            text = "'%1' is not a month";
            break;
        case HolidayFault::JulianMisplaced:
            text = "'julian' belongs only once after MM-DD or a weekday of a month";
            break;
        case HolidayFault::BoundTwice:
            text = "'%1' given twice, or for a single date";
            break;
        case HolidayFault::BoundYear:
            text = "'%1' must be followed by a year from %2 to %3";
            break;
        case HolidayFault::FirstAfterLast:
            text = "the first year is after the last year";
            break;
        case HolidayFault::ObservedTwice:
            text = "'observed' given twice";
            break;
        case HolidayFault::ObservedHow:
            text = "'observed' must be followed by next, previous or fri-mon";
            break;
        case HolidayFault::UnknownWord:
            text = "unknown word '%1'";
            break;
        case HolidayFault::TooComplex:
            text =
                "its rules begin or end in %1 different years with up to %2 rules in force: "
                "counting would take too long. Write the holidays of single years as dates "
                "(YYYY-MM-DD)";
            break;
        case HolidayFault::NoWorkingDay:
            text = "it leaves no working day at all";
            break;
    }
    const QString result = QString::fromUtf8(text);
    switch (details.size()) {  // filled at once, so that a word holding "%2" stays as it is
        case 0:
            return result;
        case 1:
            return result.arg(details[0]);
        case 2:
            return result.arg(details[0], details[1]);
        default:
            return result.arg(details[0], details[1], details[2]);
    }
}

HolidayParseResult ParseHolidayRules(const QString& text) {
    HolidayParseResult result;
    HolidaySet set;
    // Lines end with LF, CR LF or a CR alone, as in batch programs.
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QStringList lines = normal.split(u'\n');
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
            in.Fail(HolidayFault::NoColon);
        } else {
            rule.name = line.mid(colon + 1).trimmed();
            in.words = line.left(colon).simplified().toLower().split(u' ', Qt::SkipEmptyParts);
            if (rule.name.isEmpty()) {
                in.Fail(HolidayFault::NoName);
            } else if (in.words.isEmpty()) {
                in.Fail(HolidayFault::NoDate);
            } else if (ReadDate(in, rule)) {
                ReadOptions(in, rule);
            }
        }
        if (in.fault != HolidayFault::None) {
            result.line = i + 1;
            result.fault = in.fault;
            result.details = in.details;
            return result;
        }
        set.rules.push_back(std::move(rule));
    }
    const HolidaySetSize size = MeasureHolidaySet(set);
    if (size.work > kMaxHolidayWork) {
        result.fault = HolidayFault::TooComplex;
        result.details = {QString::number(size.changeYears), QString::number(size.mostInForce)};
        return result;
    }
    auto shared = std::make_shared<const HolidaySet>(set);
    if (!WorkdayCalendar(0, shared).HasWorkday()) {
        result.fault = HolidayFault::NoWorkingDay;
        return result;
    }
    result.set = std::move(set);
    return result;
}

}  // namespace daybridge
