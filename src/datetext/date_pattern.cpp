#include "datetext/date_pattern.h"

#include <algorithm>
#include <array>
#include <memory>
#include <span>

#include "datetext/date_format.h"
#include "datetext/date_parse.h"
#include "jdcore/day_count.h"
#include "jdcore/lunisolar.h"
#include "jdcore/week_rules.h"

namespace daybridge {
namespace {

// Texts of dbrg_text.dat, with the English kept here for a caller without a text store.
constexpr int kTextUnknownField = 1209;
constexpr int kTextNoSuchField = 1210;
constexpr int kTextLonePercent = 1211;
constexpr int kTextBeyondRange = 1212;
constexpr int kTextNoMatch = 1213;
constexpr int kTextNoWholeDate = 1214;
constexpr int kTextNoSuchDay = 1215;
constexpr int kTextDisagrees = 1216;

// Digits read for a year or day number at most: beyond any range, well inside 64 bits.
constexpr int kMostDigits = 18;

QString TextOf(const PatternTexts& texts, int id, const char* english) {
    QString text = texts.text != nullptr ? texts.text(id, texts.language) : QString();
    return text.isEmpty() ? QString::fromUtf8(english) : text;
}

QString FieldName(char16_t field) {
    return QStringLiteral("%") + QChar(field);
}

bool IsKnownField(char16_t f) {
    return QStringView(u"YymBbdAauwjVGWKELNQJ").contains(QChar(f));
}

bool IsNumericField(char16_t f) {
    return QStringView(u"YymdujwVGWQJ").contains(QChar(f));
}

bool IsSignedField(char16_t f) {
    return f == u'Y' || f == u'G' || f == u'J' || f == u'Q';
}

int PaddedWidth(char16_t f) {
    switch (f) {
        case u'y':
        case u'm':
        case u'd':
        case u'V':
        case u'W':
            return 2;
        case u'j':
            return 3;
        case u'Y':
        case u'G':
            return 4;
        default:
            return 1;
    }
}

bool HasMonthNames(const CalendarEntry& entry) {
    return !entry.monthNames.fixed.empty() || entry.monthNames.textCount > 0;
}

bool CalendarHasField(const CalendarEntry& entry, char16_t f) {
    switch (f) {
        case u'Y':
        case u'y':
        case u'j':
            return entry.HasYears();
        case u'm':
        case u'd':
            return entry.fields == FieldKind::YearMonthDay;
        case u'B':
        case u'b':
            return entry.fields == FieldKind::YearMonthDay && HasMonthNames(entry);
        case u'W':
            return entry.fields == FieldKind::YearWeekDay;
        case u'E':
            return entry.eras != nullptr;
        case u'L':
        case u'N':
            return entry.notation == Notation::LunisolarDate;
        case u'Q':
            return entry.fields == FieldKind::DayNumber;
        default:
            return true;  // weekday, ISO week, code, JDN
    }
}

// The named forms, by the calendar's kind of date.
QString IsoPattern(const CalendarEntry& entry) {
    switch (entry.fields) {
        case FieldKind::YearMonthDay:
            return entry.eras != nullptr                       ? QStringLiteral("%E %-Y-%m-%d")
                   : entry.notation == Notation::LunisolarDate ? QStringLiteral("%Y-%m%L-%d")
                                                               : QStringLiteral("%Y-%m-%d");
        case FieldKind::YearWeekDay:
            return QStringLiteral("%Y-W%W-%u");
        case FieldKind::YearDay:
            return QStringLiteral("%Y-%j");
        case FieldKind::DayNumber:
            return QStringLiteral("%Q");
        case FieldKind::LongCount:
            break;
    }
    return QString();  // the usual notation
}

QString LongPattern(const CalendarEntry& entry, Language language) {
    if (entry.fields != FieldKind::YearMonthDay || !HasMonthNames(entry)) {
        const QString iso = IsoPattern(entry);
        return iso.isEmpty() ? iso : QStringLiteral("%A, ") + iso;
    }
    // By language number; French writes "lundi 7 décembre".
    static const std::array<QString, 3> kDays = {
        QStringLiteral("%A, %-d %B"), QStringLiteral("%A, %-d. %B"), QStringLiteral("%A %-d %B")};
    const QString& day = kDays[static_cast<std::size_t>(LanguageNumber(language))];
    if (entry.eras != nullptr) {
        return day + QStringLiteral(" %E %-Y");
    }
    if (entry.notation == Notation::LunisolarDate) {
        return day + QStringLiteral("%L %Y (%N)");
    }
    return day + QStringLiteral(" %Y");
}

// Names with their short forms: the shortest beginning of at least three letters that no
// other name of the list shares (the whole name where none is shorter).
struct NameList {
    std::vector<QString> full;
    std::vector<QString> shortened;
};
NameList WithShortForms(std::vector<QString> names) {
    NameList list;
    for (const QString& name : names) {
        qsizetype length = std::min<qsizetype>(3, name.size());
        for (; length < name.size(); ++length) {
            const QStringView begin = QStringView(name).left(length);
            if (!begin.back().isLetterOrNumber()) {
                continue;  // "Adar " is no short name
            }
            bool shared = false;
            for (const QString& other : names) {
                shared =
                    shared || (&other != &name && other.startsWith(begin, Qt::CaseInsensitive));
            }
            if (!shared) {
                break;
            }
        }
        list.shortened.push_back(name.left(length));
    }
    list.full = std::move(names);
    return list;
}

// "bing-wu": the stem and branch of place 1..60 of the sexagenary cycle, in lower case.
QString SexagenaryNameAt(int place) {
    const std::string_view stem = jdcore::kHeavenlyStems[(place - 1) % 10];
    const std::string_view branch = jdcore::kEarthlyBranches[(place - 1) % 12];
    return (QString::fromLatin1(stem.data(), static_cast<qsizetype>(stem.size())) + u'-' +
            QString::fromLatin1(branch.data(), static_cast<qsizetype>(branch.size())))
        .toLower();
}

// What the fields of one day are.
struct DayFacts {
    CalendarDate date;
    std::int64_t jdn = 0;
    int weekday = 1;  // 1 Monday .. 7
    jdcore::IsoWeekDate isoWeek{};
    std::int64_t dayOfYear = 0;
};

// The first day of the date's year, by plain arithmetic (an era's year counted from January).
std::int64_t FirstDayOfYear(const CalendarEntry& entry, CalendarDate date) {
    date.day = 1;
    if (entry.fields != FieldKind::YearDay) {
        date.month = entry.fields == FieldKind::YearMonthDay ? entry.firstMonth : 1;
        date.leapMonth = false;
    }
    return entry.toJdn(date);
}

DayFacts FactsOf(const CalendarEntry& entry, std::int64_t jdn) {
    DayFacts facts;
    facts.jdn = jdn;
    facts.date = FromJdn(entry.id, jdn);
    facts.weekday = jdcore::IsoWeekday(jdn);
    facts.isoWeek = jdcore::iso_week_from_jdn(jdn);
    if (entry.HasYears()) {
        facts.dayOfYear = jdn - FirstDayOfYear(entry, facts.date) + 1;
    }
    return facts;
}

// A field's value as a number (a name by its number: month, weekday, era, place in the cycle).
std::int64_t FieldValue(const CalendarEntry& entry, char16_t f, const DayFacts& facts) {
    switch (f) {
        case u'Y':
            return facts.date.year;
        case u'y':
            return jdcore::floor_mod(facts.date.year, std::int64_t{100});
        case u'm':
        case u'B':
        case u'b':
        case u'W':
            return facts.date.month;
        case u'd':
            return facts.date.day;
        case u'A':
        case u'a':
        case u'u':
            return facts.weekday;
        case u'w':
            return facts.weekday % 7;
        case u'j':
            return facts.dayOfYear;
        case u'V':
            return facts.isoWeek.week;
        case u'G':
            return facts.isoWeek.year;
        case u'E':
            return facts.date.era;
        case u'L':
            return facts.date.leapMonth ? 1 : 0;
        case u'N':
            return jdcore::SexagenaryOf(facts.date.year).yearOfCycle;
        case u'Q':
            return facts.jdn - entry.dayOffset;
        case u'J':
            return facts.jdn;
        default:
            return 0;
    }
}

// Zeros before the digits, after the sign: "-0044".
QString Padded(std::int64_t n, int width) {
    const QString digits = QString::number(n < 0 ? -n : n).rightJustified(width, u'0');
    return n < 0 ? u'-' + digits : digits;
}

}  // namespace

// The names a compiled pattern writes and reads.
struct DatePattern::Names {
    NameList months;    // index: month - 1
    NameList weekdays;  // index: weekday - 1 (Monday first)
};

namespace {
DatePattern::Names NamesFor(const CalendarEntry& entry, const PatternTexts& texts) {
    DatePattern::Names names;
    std::vector<QString> months;
    const bool englishCivil = entry.monthNames.fixed.data() == kEnglishMonthNames.data();
    const int count = !entry.monthNames.fixed.empty()
                          ? static_cast<int>(entry.monthNames.fixed.size())
                          : entry.monthNames.textCount;
    for (int month = 1; month <= count; ++month) {
        months.push_back(englishCivil ? MonthNameIn(month, texts.language)
                                      : MonthNameOf(entry.id, month, [&texts](int id) {
                                            return texts.text != nullptr
                                                       ? texts.text(id, texts.language)
                                                       : QString();
                                        }));
    }
    names.months = WithShortForms(std::move(months));
    std::vector<QString> days;
    for (int day = 1; day <= 7; ++day) {
        days.push_back(DayNameIn(day % 7, texts.language));
    }
    names.weekdays = WithShortForms(std::move(days));
    return names;
}
}  // namespace

std::optional<DatePattern> DatePattern::Compile(const QString& pattern, CalendarId calendar,
                                                const PatternTexts& texts, QString& error,
                                                const TextFormat& usual) {
    const CalendarEntry& entry = Calendar(calendar);
    DatePattern compiled;
    compiled.calendar_ = calendar;
    compiled.texts_ = texts;
    compiled.usual_ = usual;
    QString form = pattern;
    const QString named = pattern.trimmed().toLower();
    if (named == QLatin1String("iso")) {
        form = IsoPattern(entry);
    } else if (named == QLatin1String("long")) {
        form = LongPattern(entry, texts.language);
    } else if (named == QLatin1String("jdn")) {
        form = QStringLiteral("%J");
    }
    if (form.isEmpty()) {
        compiled.usualNotation_ = true;
        return compiled;
    }
    for (qsizetype at = 0; at < form.size(); ++at) {
        if (form[at] != u'%') {
            if (compiled.items_.empty() || compiled.items_.back().field != 0) {
                compiled.items_.push_back({});
            }
            compiled.items_.back().literal += form[at];
            continue;
        }
        if (++at == form.size()) {
            error = TextOf(texts, kTextLonePercent, "the format ends with a lone %");
            return std::nullopt;
        }
        Item item;
        if (form[at] == u'-' && at + 1 < form.size()) {
            item.unpadded = true;
            ++at;
        }
        const char16_t f = form[at].unicode();
        if (f == u'%' && !item.unpadded) {
            if (compiled.items_.empty() || compiled.items_.back().field != 0) {
                compiled.items_.push_back({});
            }
            compiled.items_.back().literal += u'%';
            continue;
        }
        if (!IsKnownField(f)) {
            error = TextOf(texts, kTextUnknownField, "unknown field %1 in the format")
                        .arg(QStringLiteral("%") + (item.unpadded ? "-" : "") + QChar(f));
            return std::nullopt;
        }
        if (!CalendarHasField(entry, f)) {
            error = TextOf(texts, kTextNoSuchField, "the calendar %1 has no field %2")
                        .arg(QString::fromLatin1(entry.code), FieldName(f));
            return std::nullopt;
        }
        item.field = f;
        compiled.items_.push_back(item);
        if ((f == u'B' || f == u'b' || f == u'A' || f == u'a') && !compiled.names_) {
            compiled.names_ = std::make_shared<const Names>(NamesFor(entry, texts));
        }
        if ((f == u'B' || f == u'b') && compiled.names_->months.full.front().isEmpty()) {
            // Month names kept in the text store, and no store given.
            error = TextOf(texts, kTextNoSuchField, "the calendar %1 has no field %2")
                        .arg(QString::fromLatin1(entry.code), FieldName(f));
            return std::nullopt;
        }
    }
    return compiled;
}

bool DatePattern::Format(std::int64_t jdn, QString& out, QString& error) const {
    const CalendarEntry& entry = Calendar(calendar_);
    if (jdn < kMinDayNumber || jdn > kMaxDayNumber || !InSpan(entry, jdn)) {
        error = TextOf(texts_, kTextBeyondRange, "the day lies beyond the range of the calendar %1")
                    .arg(QString::fromLatin1(entry.code));
        return false;
    }
    if (usualNotation_) {
        out += CanonicalDateText(calendar_, static_cast<std::int32_t>(jdn), usual_);
        return true;
    }
    const DayFacts facts = FactsOf(entry, jdn);
    for (const Item& item : items_) {
        const char16_t f = item.field;
        if (f == 0) {
            out += item.literal;
            continue;
        }
        const std::int64_t value = FieldValue(entry, f, facts);
        switch (f) {
            case u'B':
            case u'b':
            case u'A':
            case u'a': {
                const NameList& list = f == u'B' || f == u'b' ? names_->months : names_->weekdays;
                const auto index = static_cast<std::size_t>(value - 1);
                if (index < list.full.size()) {
                    out += f == u'B' || f == u'A' ? list.full[index] : list.shortened[index];
                }
                break;
            }
            case u'E':
                out += EraName(entry, static_cast<int>(value));
                break;
            case u'L':
                out += value != 0 ? QLatin1String(kLeapMonthMark) : QLatin1String();
                break;
            case u'N':
                out += SexagenaryNameAt(static_cast<int>(value));
                break;
            case u'K':
                out += QLatin1String(entry.code);
                break;
            default:
                out += item.unpadded ? QString::number(value) : Padded(value, PaddedWidth(f));
        }
    }
    return true;
}

// A text read field by field, from `at` on.
struct DatePattern::Reader {
    QStringView text;
    qsizetype at = 0;

    // Literal text: a blank takes any white space, other signs match in either case.
    bool ReadLiteral(const QString& literal) {
        for (const QChar c : literal) {
            if (c == u' ') {
                while (at < text.size() && text[at].isSpace()) {
                    ++at;
                }
            } else if (at < text.size() && (text[at] == c || text[at].toLower() == c.toLower())) {
                ++at;
            } else {
                return false;
            }
        }
        return true;
    }

    // The longest of the names (value = index + 1, or from `values`) that begins at `at`.
    std::optional<int> ReadName(std::span<const QString> list, int firstValue) {
        qsizetype best = 0;
        std::optional<int> value;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const QString& name = list[i];
            if (!name.isEmpty() && name.size() > best &&
                text.mid(at).startsWith(name, Qt::CaseInsensitive)) {
                best = name.size();
                value = firstValue + static_cast<int>(i);
            }
        }
        at += best;
        return value;
    }

    // Up to `most` digits, after a minus sign where the field takes one.
    std::optional<std::int64_t> ReadNumber(char16_t f, int most) {
        bool negative = false;
        if (IsSignedField(f) && at < text.size() && (text[at] == u'-' || text[at] == u'−')) {
            negative = true;
            ++at;
        }
        std::int64_t n = 0;
        int digits = 0;
        while (digits < most && at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
            n = 10 * n + (text[at].unicode() - u'0');
            ++digits;
            ++at;
        }
        if (digits == 0) {
            return std::nullopt;
        }
        return negative ? -n : n;
    }

    // An era's number (from 1), or 0 without a name: the days before the first era.
    int ReadEra(const CalendarEntry& entry) {
        std::vector<QString> eraNames;
        for (const char* name : entry.eras->names) {
            eraNames.push_back(QString::fromUtf8(name));
        }
        for (const char* name : entry.eras->shortNames) {
            eraNames.push_back(QString::fromUtf8(name));
        }
        const std::optional<int> index = ReadName(eraNames, 0);
        const auto eraCount = static_cast<int>(entry.eras->names.size());
        return index ? *index % eraCount + 1 : 0;
    }

    std::optional<int> ReadSexagenaryName() {
        std::vector<QString> cycle;
        for (int place = 1; place <= 60; ++place) {
            cycle.push_back(SexagenaryNameAt(place));
        }
        return ReadName(cycle, 1);
    }

    // The longer of a full and a short name ("Adar I" is Adar II's short name).
    std::optional<int> ReadFullOrShortName(const NameList& list) {
        const qsizetype start = at;
        const std::optional<int> full = ReadName(list.full, 1);
        const qsizetype fullEnd = at;
        at = start;
        const std::optional<int> shortened = ReadName(list.shortened, 1);
        if (full && fullEnd >= at) {
            at = fullEnd;
            return full;
        }
        return shortened;
    }
};

// The value of item k's field, read at the reader's place; nothing where the text does not
// match.
std::optional<std::int64_t> DatePattern::ReadField(std::size_t k, Reader& reader) const {
    const char16_t f = items_[k].field;
    if (IsNumericField(f)) {
        const bool squeezed = k + 1 < items_.size() && IsNumericField(items_[k + 1].field);
        return reader.ReadNumber(f, squeezed || !IsSignedField(f) ? PaddedWidth(f) : kMostDigits);
    }
    const CalendarEntry& entry = Calendar(calendar_);
    switch (f) {
        case u'K': {
            const QLatin1String code(entry.code);
            if (!reader.text.mid(reader.at).startsWith(code, Qt::CaseInsensitive)) {
                return std::nullopt;
            }
            reader.at += code.size();
            return 0;
        }
        case u'L': {
            const QLatin1String mark(kLeapMonthMark);
            const bool leap = reader.text.mid(reader.at).startsWith(mark, Qt::CaseInsensitive);
            reader.at += leap ? mark.size() : 0;
            return leap ? 1 : 0;
        }
        case u'E':
            return reader.ReadEra(entry);
        case u'N':
            return reader.ReadSexagenaryName();
        default:
            return reader.ReadFullOrShortName(f == u'B' || f == u'b' ? names_->months
                                                                     : names_->weekdays);
    }
}

std::optional<std::int64_t> DatePattern::Parse(QStringView whole, QString& error) const {
    const CalendarEntry& entry = Calendar(calendar_);
    const QString code = QString::fromLatin1(entry.code);
    const QStringView text = whole.trimmed();
    const auto noMatch = [&](qsizetype at) {
        error = TextOf(texts_, kTextNoMatch, "does not match the format at '%1'")
                    .arg(at >= text.size() ? QStringLiteral("(end)") : text.mid(at).toString());
        return std::nullopt;
    };
    const auto beyond = [&]() {
        error = TextOf(texts_, kTextBeyondRange, "the day lies beyond the range of the calendar %1")
                    .arg(code);
        return std::nullopt;
    };
    const auto noSuchDay = [&]() {
        error = TextOf(texts_, kTextNoSuchDay, "no such day in the calendar %1").arg(code);
        return std::nullopt;
    };
    if (usualNotation_) {
        const ParseResult read = ParseDateInCalendar(calendar_, text.toString(), usual_);
        if (read.outcome == ParseOutcome::Valid) {
            return read.jdn;
        }
        return read.outcome == ParseOutcome::OutOfRange ? beyond() : noSuchDay();
    }

    std::array<std::optional<std::int64_t>, 128> read{};
    Reader reader{.text = text};
    for (std::size_t k = 0; k < items_.size(); ++k) {
        const Item& item = items_[k];
        if (item.field == 0) {
            if (!reader.ReadLiteral(item.literal)) {
                return noMatch(reader.at);
            }
            continue;
        }
        const std::optional<std::int64_t> value = ReadField(k, reader);
        if (!value) {
            return noMatch(reader.at);
        }
        read[item.field] = value;
    }
    const qsizetype at = reader.at;
    if (at != text.size()) {
        return noMatch(at);
    }

    // The day, from the first set of fields that gives one.
    const auto given = [&read](char16_t f) { return read[f].has_value(); };
    const auto get = [&read](char16_t f) { return *read[f]; };
    std::optional<std::int64_t> year;
    if (given(u'Y')) {
        year = get(u'Y');
    } else if (given(u'y')) {
        // Two digits: the year of the hundred that begins 31 years before 2000's (CE:
        // 1969..2068, as POSIX reads them).
        const std::int64_t y2000 = InSpan(entry, 2451545) ? FromJdn(calendar_, 2451545).year : 0;
        const std::int64_t first = y2000 - 31;
        year = first + jdcore::floor_mod(get(u'y') - first, std::int64_t{100});
    }
    if (year && (*year < entry.minYear || *year > entry.maxYear)) {
        return beyond();
    }
    std::optional<std::int64_t> weekday;
    for (const char16_t f : {u'u', u'A', u'a'}) {
        if (given(f)) {
            weekday = get(f);
        }
    }
    if (given(u'w')) {
        weekday = get(u'w') == 0 ? 7 : get(u'w');
    }
    std::optional<std::int64_t> month;
    for (const char16_t f : {u'm', u'B', u'b'}) {
        if (given(f)) {
            month = get(f);
        }
    }
    const bool eraKnown = entry.eras == nullptr || given(u'E');
    CalendarDate date;
    date.calendar = calendar_;
    std::int64_t jdn = 0;
    if (given(u'J')) {
        jdn = get(u'J');
    } else if (given(u'Q')) {
        jdn = get(u'Q') + entry.dayOffset;
    } else if (year && month && given(u'd') && eraKnown) {
        date.year = *year;
        date.month = static_cast<std::int32_t>(std::min<std::int64_t>(*month, 99));
        date.day = static_cast<std::int32_t>(std::min<std::int64_t>(get(u'd'), 99));
        date.leapMonth = given(u'L') && get(u'L') != 0;
        date.era = static_cast<std::int16_t>(given(u'E') ? get(u'E') : 0);
        const std::optional<std::int64_t> day = ToJdn(date);
        if (!day) {
            return noSuchDay();
        }
        jdn = *day;
    } else if (year && weekday && given(u'W')) {
        date.year = *year;
        date.month = static_cast<std::int32_t>(std::min<std::int64_t>(get(u'W'), 99));
        date.day = static_cast<std::int32_t>(*weekday);
        const std::optional<std::int64_t> day = ToJdn(date);
        if (!day) {
            return noSuchDay();
        }
        jdn = *day;
    } else if (year && given(u'j') && eraKnown) {
        date.year = *year;
        date.era = static_cast<std::int16_t>(given(u'E') ? get(u'E') : 0);
        const std::int64_t first = FirstDayOfYear(entry, date);
        ++date.year;
        const std::int64_t length = FirstDayOfYear(entry, date) - first;
        if (get(u'j') < 1 || get(u'j') > length) {
            return noSuchDay();
        }
        jdn = first + get(u'j') - 1;
    } else if (given(u'G') && given(u'V') && weekday) {
        const std::int64_t isoYear = get(u'G');
        if (isoYear < -5'000'000 || isoYear > 5'000'000) {
            return beyond();
        }
        if (get(u'V') < 1 || get(u'V') > jdcore::iso_weeks_in_year(isoYear) || *weekday < 1 ||
            *weekday > 7) {
            return noSuchDay();
        }
        jdn = jdcore::jdn_from_iso_week(isoYear, get(u'V'), *weekday);
    } else {
        error = TextOf(texts_, kTextNoWholeDate, "the format does not give a whole date");
        return std::nullopt;
    }
    if (jdn < kMinDayNumber || jdn > kMaxDayNumber || !InSpan(entry, jdn)) {
        return beyond();
    }
    // Every field read must be the day's own: a weekday, a day of the year, a name.
    const DayFacts facts = FactsOf(entry, jdn);
    for (const Item& item : items_) {
        const char16_t f = item.field;
        if (f != 0 && f != u'K' && FieldValue(entry, f, facts) != get(f)) {
            error =
                TextOf(texts_, kTextDisagrees, "%1 does not agree with the date").arg(FieldName(f));
            return std::nullopt;
        }
    }
    return jdn;
}

std::optional<QString> FormatDatePattern(const QString& pattern, CalendarId calendar,
                                         std::int64_t jdn, const PatternTexts& texts,
                                         QString& error) {
    const std::optional<DatePattern> compiled =
        DatePattern::Compile(pattern, calendar, texts, error);
    QString out;
    if (!compiled || !compiled->Format(jdn, out, error)) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::int64_t> ParseDatePattern(const QString& pattern, CalendarId calendar,
                                             QStringView text, const PatternTexts& texts,
                                             QString& error) {
    const std::optional<DatePattern> compiled =
        DatePattern::Compile(pattern, calendar, texts, error);
    return compiled ? compiled->Parse(text, error) : std::nullopt;
}

}  // namespace daybridge
