#include "datetext/date_parse.h"

#include <QList>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>

#include "calendar/iso_ordinal.h"
#include "calendar/leap_week.h"
#include "datetext/string_utils.h"
#include "jdcore/jdcore.h"

namespace daybridge {

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool AllDigits(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    for (QChar c : text) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

QString WithoutLeadingZeros(const QString& digits) {
    qsizetype n = 0;
    while (n + 1 < digits.size() && digits.at(n) == u'0') {
        ++n;
    }
    return digits.mid(n);
}

// The value of a text of digits; empty when it is not all digits or has more than 18
// significant digits, so the conversion never overflows.
std::optional<std::int64_t> DigitsValue(const QString& digits) {
    if (!AllDigits(digits)) {
        return std::nullopt;
    }
    const QString significant = WithoutLeadingZeros(digits);
    if (significant.size() > 18) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (QChar c : significant) {
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// Digits with an optional leading sign, after trimming blanks. A number too long to convert
// is reported through tooLarge (its magnitude is above any limit used here).
std::optional<std::int64_t> SignedValue(const QString& text, bool& tooLarge) {
    tooLarge = false;
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'+') || t.startsWith(u'-')) {
        negative = t.front() == u'-';
        t.remove(0, 1);
    }
    if (!AllDigits(t)) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> value = DigitsValue(t);
    if (!value) {
        tooLarge = true;
        return std::nullopt;
    }
    return negative ? -*value : *value;
}

bool InDayNumberRange(std::int64_t jdn) {
    return jdn >= kMinDayNumber && jdn <= kMaxDayNumber;
}

bool IsBlank(QChar c) {
    return c.unicode() <= 32;
}

bool IsAsciiLetter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// The text trimmed of blanks, with the minus sign (U+2212) read as "-".
QString Normalised(const QString& text) {
    QString t = TrimmedWhite(text);
    t.replace(QChar(u'\u2212'), QChar(u'-'));
    return t;
}

// Appends the digits of a number written plainly or grouped in threes by one grouping
// character ("1,234,567"); false (nothing appended) when the text is anything else.
template <typename IsGroupChar>
bool AppendUngroupedDigits(QStringView text, IsGroupChar isGroupChar, QString& out) {
    QChar group;
    qsizetype groups = 0;  // grouping characters seen
    qsizetype digits = 0;  // digits since the last one
    for (QChar c : text) {
        if (IsDigit(c)) {
            ++digits;
        } else if (isGroupChar(c) && (group.isNull() || c == group) &&
                   (groups == 0 ? digits >= 1 && digits <= 3 : digits == 3)) {
            group = c;
            ++groups;
            digits = 0;
        } else {
            return false;
        }
    }
    if (digits == 0 || (groups > 0 && digits != 3)) {
        return false;
    }
    for (QChar c : text) {
        if (IsDigit(c)) {
            out.append(c);
        }
    }
    return true;
}

}  // namespace

namespace {

// The text trimmed, without a day name written after a comma.
QString WithoutDayName(const QString& text) {
    QString t = Normalised(text);
    const qsizetype comma = t.lastIndexOf(u',');
    if (comma >= 0 && IsWrittenDayName(TrimmedWhite(t.mid(comma + 1)))) {
        t = TrimmedWhite(t.left(comma));
    }
    return t;
}

// What the output writes around a date taken off the text: a day name after a comma, and the
// calendar's own code before or after the date. Empty when another word is there (a code of
// another calendar, "BC", a letter typed for a digit at either end).
std::optional<QString> WithoutCodeAndDayName(CalendarId calendar, const QString& text) {
    const QString t = WithoutDayName(text);
    qsizetype end = t.size();
    while (end > 0 && IsAsciiLetter(t.at(end - 1))) {
        --end;
    }
    qsizetype begin = 0;
    while (begin < end && IsAsciiLetter(t.at(begin))) {
        ++begin;
    }
    static const std::array<QString, kCalendarCount> kCodes = [] {
        std::array<QString, kCalendarCount> codes;
        for (const CalendarEntry* entry : AllCalendars()) {
            codes[static_cast<std::size_t>(IndexOf(entry->id))] = QString::fromLatin1(entry->code);
        }
        return codes;
    }();
    const QString& code = kCodes[static_cast<std::size_t>(IndexOf(calendar))];
    const auto isCode = [&code](QStringView word) {
        return word.compare(code, Qt::CaseInsensitive) == 0;
    };
    if (end < t.size()) {
        if (begin > 0 || !isCode(QStringView(t).mid(end))) {
            return std::nullopt;
        }
        return TrimmedWhite(t.left(end));
    }
    if (begin > 0) {
        if (!isCode(QStringView(t).left(begin))) {
            return std::nullopt;
        }
        return TrimmedWhite(t.mid(begin));
    }
    return t;
}

// How the numbers of a calendar's date text are separated and where its year stands.
struct DateTextRules {
    QChar dateSeparator = u'-';  // besides "-"
    QChar groupChars[2];         // digit grouping allowed inside the year (null: none)
    QChar letter;                // the "W" of a week date, the "P" of a period date (or none)
    bool yearLast = false;       // day or month first: the year is the last number

    bool IsFieldSeparator(QChar c) const { return c == u'-' || c == dateSeparator; }
    bool IsGroupChar(QChar c) const {
        return !c.isNull() && (c == groupChars[0] || c == groupChars[1]);
    }
    bool InNumber(QChar c) const { return IsDigit(c) || IsGroupChar(c); }
};

DateTextRules RulesFor(const CalendarEntry& calendar, const TextFormat& format) {
    DateTextRules rules;
    int dateFormat = format.dateFormat;
    const bool userOrder = calendar.notation == Notation::CivilDate;
    const bool libraryDate = userOrder || calendar.notation == Notation::LibraryYearFirst;
    if (userOrder && !format.dateSeparator.isEmpty()) {
        rules.dateSeparator = format.dateSeparator.front();
    } else if (!userOrder && libraryDate && dateFormat == kDateFormatMDY) {
        dateFormat = kDateFormatYMD;  // read year first, as written
    }
    rules.yearLast = libraryDate && dateFormat != kDateFormatYMD;
    if (calendar.notation == Notation::IsoWeekDate || calendar.notation == Notation::WeekDate) {
        rules.letter = u'W';
    } else if (calendar.notation == Notation::PeriodDate) {
        rules.letter = u'P';
    }
    const QChar thousands =
        format.thousandsSeparator.isEmpty() ? QChar() : format.thousandsSeparator.front();
    // Large leap week years are written with the regional grouping.
    const bool regionalYears =
        calendar.notation == Notation::LeapWeekDate || calendar.notation == Notation::LeapMonthDate;
    const QString regional = regionalYears ? format.regional.groupSeparator() : QString();
    const QChar candidates[2] = {thousands, regional.isEmpty() ? QChar() : regional.front()};
    for (int i = 0; i < 2; ++i) {
        const QChar c = candidates[i];
        if (!IsDigit(c) && !rules.IsFieldSeparator(c) && c != u'(' && c != u')') {
            rules.groupChars[i] = c;
        }
    }
    return rules;
}

// The date itself out of a text that carries only what a date text may: digits, the field
// separators, blanks (not inside a number), one pair of parentheses around a negative year,
// digit grouping in threes inside the year, the ISO week letter (either case). Returns the
// digits, separators and week letter alone; empty for any other text.
std::optional<QString> CleanDateBody(const QString& text, const DateTextRules& rules) {
    QString t;
    t.reserve(text.size());
    bool blankBefore = false;
    for (QChar c : text) {
        if (!rules.letter.isNull() && c.toUpper() == rules.letter) {
            c = rules.letter;
        }
        const bool allowed = rules.InNumber(c) || rules.IsFieldSeparator(c) || c == u'(' ||
                             c == u')' || (!rules.letter.isNull() && c == rules.letter);
        if (!allowed && IsBlank(c)) {
            blankBefore = true;
            continue;
        }
        // A blank inside a number would join two numbers into one ("20 12").
        if (!allowed ||
            (blankBefore && !t.isEmpty() && rules.InNumber(t.back()) && rules.InNumber(c))) {
            return std::nullopt;
        }
        blankBefore = false;
        t.append(c);
    }

    // Parentheses: around a negative year only, standing as a whole field: "(-500)".
    qsizetype parenthesisedAt = -1;
    const qsizetype open = t.indexOf(u'(');
    const qsizetype close = t.indexOf(u')');
    if (open >= 0 || close >= 0) {
        const auto isFieldEdge = [&](qsizetype i) {
            return i < 0 || i >= t.size() || rules.IsFieldSeparator(t.at(i));
        };
        if (open < 0 || close < open + 3 || t.count(u'(') != 1 || t.count(u')') != 1 ||
            t.at(open + 1) != u'-' || !isFieldEdge(open - 1) || !isFieldEdge(close + 1)) {
            return std::nullopt;
        }
        for (qsizetype i = open + 2; i < close; ++i) {
            if (!rules.InNumber(t.at(i))) {
                return std::nullopt;
            }
        }
        t.remove(close, 1);
        t.remove(open, 1);
        parenthesisedAt = open + 1;  // the year's digits now start there
    }

    // The numbers: grouping and parentheses belong to the year only.
    const auto isGroupChar = [&rules](QChar c) { return rules.IsGroupChar(c); };
    QString body;
    body.reserve(t.size());
    qsizetype numbers = 0;
    qsizetype markedYear = -1;  // the number that is grouped or in parentheses
    for (qsizetype i = 0; i < t.size();) {
        if (!rules.InNumber(t.at(i))) {
            body.append(t.at(i++));
            continue;
        }
        qsizetype end = i;
        bool grouped = false;
        while (end < t.size() && rules.InNumber(t.at(end))) {
            grouped = grouped || rules.IsGroupChar(t.at(end));
            ++end;
        }
        if (grouped || i == parenthesisedAt) {
            if (markedYear >= 0) {
                return std::nullopt;
            }
            markedYear = numbers;
        }
        if (!AppendUngroupedDigits(QStringView(t).mid(i, end - i), isGroupChar, body)) {
            return std::nullopt;
        }
        ++numbers;
        i = end;
    }
    if (markedYear >= 0 && markedYear != (rules.yearLast ? numbers - 1 : 0)) {
        return std::nullopt;
    }
    return body;
}

ParseResult Outcome(ParseOutcome outcome, std::int64_t value = 0) {
    ParseResult result;
    result.outcome = outcome;
    result.jdn = outcome == ParseOutcome::Valid ? static_cast<std::int32_t>(value) : 0;
    return result;
}

// The outcome of one of the described readers, which answer by the described codes.
ParseResult Outcome(int code, std::int64_t value = 0) {
    return Outcome(OutcomeOfCode(code), value);
}

// The JDN calendar's check of the date separator inside a number, before it is read as a
// day count.
bool JdnSeparatorShapeOk(const QString& text, const QString& separator) {
    if (separator == QStringLiteral("/")) {
        return !text.contains(u'/');
    }
    if (separator == QStringLiteral("-")) {
        const int hyphens = CountChar(text, u'-');
        return hyphens == 0 || (hyphens == 1 && text.startsWith(u'-'));
    }
    if (separator == QStringLiteral(".")) {
        const int dots = CountChar(text, u'.');
        if (dots == 0) {
            return true;
        }
        if (dots > 3) {
            return false;
        }
        // The last dot is followed by 3 characters, the one before it by 7, the first of three
        // by 11.
        const int length = static_cast<int>(text.size());
        int dotIndex = 0;
        for (int pos = 1; pos <= length; ++pos) {
            if (CharAt(text, pos) != u'.') {
                continue;
            }
            ++dotIndex;
            const int following = 4 * (dots - dotIndex) + 3;
            if (length - pos != following) {
                return false;
            }
        }
        return length >= 4 * dots + 1;
    }
    return true;
}

// The letter the calendar library reads a date of the calendar with ('G' where the calendar
// has none of its own).
char LibraryLetterOf(const CalendarEntry& calendar) {
    return calendar.recordLetter != 0 ? calendar.recordLetter : 'G';
}

// The three numbers of a year-first text: a signed year and two unsigned numbers, separated
// by "-". Returns the outcome of the shape and year tests (a year beyond maxYear in magnitude
// is out of range; a month or day too long to convert is not valid).
int SplitYearFirstText(const QString& text, std::int64_t maxYear, std::int64_t& year,
                       std::int64_t& second, std::int64_t& third) {
    const QString t = RemoveSpaces(text);
    if (!std::all_of(t.begin(), t.end(), [](QChar c) { return IsDigit(c) || c == u'-'; }) ||
        CountChar(MidText(t, 2), u'-') != 2) {
        return kParseInvalid;
    }
    const int first = PositionOf(t, QChar(u'-'), 2);
    const int next = PositionOf(t, QChar(u'-'), first + 1);
    bool tooLarge = false;
    const std::optional<std::int64_t> y = SignedValue(MidText(t, 1, first - 1), tooLarge);
    if (tooLarge || (y && std::llabs(*y) > maxYear)) {
        return kParseOutOfRange;
    }
    const std::optional<std::int64_t> a = DigitsValue(MidText(t, first + 1, next - first - 1));
    const std::optional<std::int64_t> b = DigitsValue(MidText(t, next + 1));
    if (!y || !a || !b) {
        return kParseInvalid;
    }
    year = *y;
    second = *a;
    third = *b;
    return kParseValid;
}

// The three numbers of an LPW or LPM text; the two small numbers must fit the record.
int SplitLeapWeekText(const QString& text, std::int32_t& year, std::int16_t& second,
                      std::int16_t& third) {
    std::int64_t y = 0;
    std::int64_t a = 0;
    std::int64_t b = 0;
    const int outcome = SplitYearFirstText(text, kMaxYearMagnitude, y, a, b);
    if (outcome != kParseValid) {
        return outcome;
    }
    if (a > 32767 || b > 32767) {
        return kParseInvalid;
    }
    year = static_cast<std::int32_t>(y);
    second = static_cast<std::int16_t>(a);
    third = static_cast<std::int16_t>(b);
    return kParseValid;
}

// A year-first date of a calendar's own arithmetic, the date alone ("5787-09-27"): a year
// beyond the calendar's years and a day beyond its span are out of range.
ParseResult ParseYearFirstDate(const CalendarEntry& calendar, const QString& text,
                               bool leapMonth = false) {
    std::int64_t year = 0;
    std::int64_t month = 0;
    std::int64_t day = 0;
    const int outcome = SplitYearFirstText(text, calendar.maxYear, year, month, day);
    if (outcome != kParseValid) {
        return Outcome(outcome);
    }
    if (year < calendar.minYear) {
        return Outcome(ParseOutcome::OutOfRange);
    }
    constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
    if (month > kLargest || day > kLargest) {
        return Outcome(ParseOutcome::Invalid);
    }
    const CalendarDate date{.calendar = calendar.id,
                            .leapMonth = leapMonth,
                            .month = static_cast<std::int32_t>(month),
                            .year = year,
                            .day = static_cast<std::int32_t>(day)};
    const jdcore::DateCheck check = calendar.check(date);
    if (!check.ok()) {
        ParseResult result = Outcome(ParseOutcome::Invalid);
        result.reason = check;
        return result;
    }
    const std::int64_t jdn = calendar.toJdn(date);
    return InDayNumberRange(jdn) && InSpan(calendar, jdn) ? Outcome(ParseOutcome::Valid, jdn)
                                                          : Outcome(ParseOutcome::OutOfRange);
}

// A week date or a period date, the date alone: year-first with the calendar's letter right
// after the first "-" ("2026-W50-1", "2027-P05-15").
ParseResult ParseLetteredDate(const CalendarEntry& calendar, const QString& body) {
    const QChar letter = calendar.notation == Notation::WeekDate ? u'W' : u'P';
    const qsizetype at = body.indexOf(letter);
    if (at < 2 || body.at(at - 1) != u'-' || body.indexOf(letter, at + 1) >= 0) {
        return Outcome(ParseOutcome::Invalid);
    }
    QString t = body;
    t.remove(at, 1);
    return ParseYearFirstDate(calendar, t);
}

// A lunisolar date, the date alone: year-month-day, the month of a leap month followed by
// "bis" (any case) — "2033-11bis-02". The mark stands right after the month's digits.
ParseResult ParseLunisolarDate(const CalendarEntry& calendar, const QString& text,
                               const TextFormat& format) {
    QString t = text;
    const QLatin1String mark(kLeapMonthMark);
    const qsizetype at = t.indexOf(mark, 0, Qt::CaseInsensitive);
    const bool leapMonth = at >= 0;
    if (leapMonth) {
        // One mark, between the month's last digit and the "-" before the day, the month being
        // the second number.
        const qsizetype after = at + mark.size();
        const QString before = TrimmedWhite(t.left(at));
        if (t.indexOf(mark, after, Qt::CaseInsensitive) >= 0 || at == 0 || !IsDigit(t.at(at - 1)) ||
            after >= t.size() || t.at(after) != u'-' || CountChar(before.mid(1), u'-') != 1) {
            return Outcome(ParseOutcome::Invalid);
        }
        t.remove(at, mark.size());
    }
    const std::optional<QString> body = CleanDateBody(t, RulesFor(calendar, format));
    if (!body) {
        return Outcome(ParseOutcome::Invalid);
    }
    return ParseYearFirstDate(calendar, *body, leapMonth);
}

// A date of a calendar with named eras, the date alone: the era's name or short name, then
// year-month-day as a year-first date ("Reiwa 8-12-07", "R8-12-07"); a date before the first
// era without a name ("1868-10-22"). A date without a name is read only where the writer writes
// none, so that every day has one text.
ParseResult ParseEraDate(const CalendarEntry& calendar, const QString& text,
                         const TextFormat& format) {
    qsizetype letters = 0;
    while (letters < text.size() && text.at(letters).isLetter()) {
        ++letters;
    }
    std::optional<int> era = 0;
    if (letters > 0) {
        era = EraOfName(calendar, QStringView(text).left(letters));
    }
    const std::optional<QString> body =
        era ? CleanDateBody(text.mid(letters), RulesFor(calendar, format)) : std::nullopt;
    if (!body) {
        return Outcome(ParseOutcome::Invalid);
    }
    std::int64_t year = 0;
    std::int64_t month = 0;
    std::int64_t day = 0;
    const int outcome = SplitYearFirstText(*body, calendar.maxYear, year, month, day);
    if (outcome != kParseValid) {
        return Outcome(outcome);
    }
    constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
    if (year < calendar.minYear || month > kLargest || day > kLargest) {
        return Outcome(year < calendar.minYear ? ParseOutcome::OutOfRange : ParseOutcome::Invalid);
    }
    const CalendarDate date{.calendar = calendar.id,
                            .era = static_cast<std::int16_t>(*era),
                            .month = static_cast<std::int32_t>(month),
                            .year = year,
                            .day = static_cast<std::int32_t>(day)};
    if (const jdcore::DateCheck check = calendar.check(date); !check.ok()) {
        ParseResult result = Outcome(ParseOutcome::Invalid);
        result.reason = check;
        return result;
    }
    const std::int64_t jdn = calendar.toJdn(date);
    if (!InDayNumberRange(jdn) || !InSpan(calendar, jdn)) {
        return Outcome(ParseOutcome::OutOfRange);
    }
    if (calendar.fromJdn(jdn).era != date.era) {
        ParseResult result = Outcome(ParseOutcome::Invalid);
        result.reason = {jdcore::DateProblem::OutsideEra, 0};
        return result;
    }
    return Outcome(ParseOutcome::Valid, jdn);
}

// Whether a word of letters is a calendar's code followed by the name of one of its eras, as the
// batch language sees "JPN R8-12-07" once it has taken the blanks out.
bool IsCodeAndEra(const CalendarEntry& calendar, QStringView word) {
    const QLatin1String code(calendar.code);
    return word.size() > code.size() && word.startsWith(code, Qt::CaseInsensitive) &&
           EraOfName(calendar, word.mid(code.size()));
}

// The date of a calendar with named eras without its code at either end and a day name after
// it; the era's name at the start stays.
QString WithoutCodeKeepingEra(const CalendarEntry& calendar, const QString& text) {
    QString t = WithoutDayName(text);
    const QLatin1String code(calendar.code);
    const qsizetype n = code.size();
    qsizetype letters = 0;
    while (letters < t.size() && t.at(letters).isLetter()) {
        ++letters;
    }
    if (t.endsWith(code, Qt::CaseInsensitive) &&
        (t.size() == n || !t.at(t.size() - n - 1).isLetter())) {
        t.chop(n);
    } else if (letters == n ? t.startsWith(code, Qt::CaseInsensitive)
                            : IsCodeAndEra(calendar, QStringView(t).left(letters))) {
        t.remove(0, n);
    }
    return TrimmedWhite(t);
}

// A Mayan Long Count, the date alone: five numbers separated by ".", the baktun signed, the
// others in their places' ranges; blanks allowed, but not inside a number.
ParseResult ParseLongCount(const CalendarEntry& calendar, const QString& text) {
    QString t;
    bool blankBefore = false;
    for (QChar c : text) {
        if (IsBlank(c)) {
            blankBefore = true;
            continue;
        }
        if (!(IsDigit(c) || c == u'.' || c == u'-') ||
            (blankBefore && !t.isEmpty() && IsDigit(t.back()) && IsDigit(c))) {
            return Outcome(ParseOutcome::Invalid);
        }
        blankBefore = false;
        t.append(c);
    }
    const bool negative = t.startsWith(u'-');
    const QStringList places = t.mid(negative ? 1 : 0).split(u'.');
    if (places.size() != 5) {
        return Outcome(ParseOutcome::Invalid);
    }
    constexpr int kLimits[5] = {0, 19, 19, 17, 19};  // the baktun has none of its own
    std::int64_t values[5] = {};
    for (int i = 0; i < 5; ++i) {
        if (!AllDigits(places.at(i))) {
            return Outcome(ParseOutcome::Invalid);
        }
        const std::optional<std::int64_t> value = DigitsValue(places.at(i));
        if (i == 0 ? !value : (!value || *value > kLimits[i])) {
            return Outcome(i == 0 ? ParseOutcome::OutOfRange : ParseOutcome::Invalid);
        }
        values[i] = *value;
    }
    // 144,000 days a baktun: beyond 100,000 baktuns every date is out of range (and the
    // conversion cannot overflow).
    if (values[0] > 100000) {
        return Outcome(ParseOutcome::OutOfRange);
    }
    const CalendarDate date{.calendar = calendar.id,
                            .month = static_cast<std::int32_t>(values[1]),
                            .year = negative ? -values[0] : values[0],
                            .day = static_cast<std::int32_t>(values[2]),
                            .uinal = static_cast<std::int32_t>(values[3]),
                            .kin = static_cast<std::int32_t>(values[4])};
    const std::int64_t jdn = calendar.toJdn(date);
    return InDayNumberRange(jdn) ? Outcome(ParseOutcome::Valid, jdn)
                                 : Outcome(ParseOutcome::OutOfRange);
}

}  // namespace

namespace {

// An optional sign and digits, grouped in threes by one of `groupChars` or not at all, blanks
// around them: the signed value, out of range beyond the day number range.
ParseResult ParseSignedGroupedNumber(const QString& text, QStringView groupChars,
                                     std::int64_t offset = 0) {
    QString t = Normalised(text);
    bool negative = false;
    if (t.startsWith(u'+') || t.startsWith(u'-')) {
        negative = t.front() == u'-';
        t.remove(0, 1);
    }
    QString digits;
    digits.reserve(t.size());
    if (!AppendUngroupedDigits(
            t, [groupChars](QChar c) { return groupChars.contains(c); }, digits)) {
        return Outcome(ParseOutcome::Invalid);
    }
    const QString significant = WithoutLeadingZeros(digits);
    if (significant.size() > 10) {
        return Outcome(ParseOutcome::OutOfRange);
    }
    const std::int64_t magnitude = *DigitsValue(significant);
    const std::int64_t value = (negative ? -magnitude : magnitude) + offset;
    if (!InDayNumberRange(value)) {
        return Outcome(ParseOutcome::OutOfRange);
    }
    return Outcome(ParseOutcome::Valid, value);
}

}  // namespace

ParseResult ParseDayCount(const QString& text, const QString& thousandsSeparator) {
    return ParseSignedGroupedNumber(text, QStringView(thousandsSeparator).left(1));
}

ParseResult ParseJdnText(const QString& text) {
    return ParseJdnText(text, QStringLiteral(","));
}

ParseResult ParseJdnText(const QString& text, const QString& thousandsSeparator) {
    // Commas group a JDN whatever the setting; the current thousands separator as well.
    const QString groupChars = QStringLiteral(",") + thousandsSeparator.left(1);
    return ParseSignedGroupedNumber(text, groupChars);
}

int ParseDate(const QString& text, const QString& separator, CalendarId calendar, int dateFormat,
              DateRecord& record) {
    record = DateRecord{};
    const CalendarEntry& entry = Calendar(calendar);
    QString sep = separator.isEmpty() ? QStringLiteral("-") : separator.left(1);
    // Only CE and JC dates take the user's order and separator.
    if (entry.notation != Notation::CivilDate) {
        sep = QStringLiteral("-");
        if (dateFormat == kDateFormatMDY) {
            dateFormat = kDateFormatYMD;
        }
    }
    QString t = RemoveSpaces(text);

    if (entry.fields == FieldKind::DayNumber) {
        if (!JdnSeparatorShapeOk(t, sep)) {
            return kParseInvalid;
        }
        const ParseResult count = ParseSignedGroupedNumber(
            t, sep == QStringLiteral(".") ? sep : QStringLiteral(","), entry.dayOffset);
        record.jdn = count.jdn;
        return CodeOfOutcome(count.outcome);
    }

    // Only digits, "-" and the separator: any other character is refused, not dropped.
    for (QChar c : t) {
        if (!IsDigit(c) && c != u'-' && c != sep.front()) {
            return kParseInvalid;
        }
    }
    const int hyphens = CountChar(t, u'-');
    const bool shapeOk = sep == QStringLiteral("-")
                             ? (hyphens == 2 || hyphens == 3)
                             : (hyphens < 2 && CountChar(t, sep.front()) == 2);
    if (!shapeOk) {
        return kParseInvalid;
    }
    const char letter = LibraryLetterOf(entry);
    const QByteArray bytes = t.toUtf8();
    const std::int32_t status = jdcore::str_to_date(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), dateFormat,
        record, letter);
    if (status == jdcore::kOutOfRange) {
        record = DateRecord{};
        return kParseOutOfRange;
    }
    if (status != jdcore::kValid) {
        record = DateRecord{};
        return kParseInvalid;
    }
    record.calendar = letter;
    jdcore::euro_date_to_jdn(record);  // 'A' too: the Annus Novus arithmetic
    if (!InDayNumberRange(record.jdn)) {
        return kParseOutOfRange;
    }
    return kParseValid;
}

int OrdinalTextKind(const QString& text) {
    const qsizetype length = text.size();
    if (length != 7 && length != 8) {
        return 0;
    }
    QString t = text;
    if (length == 8) {
        if (CharAt(t, 5) != u'-') {
            return 0;
        }
        t.remove(4, 1);
    }
    const QString yearText = MidText(t, 1, 4);
    const QString dayText = MidText(t, 5);
    if (!IsNumericText(yearText, false, false) || !IsNumericText(dayText, false, false)) {
        return 0;
    }
    bool tooLarge = false;
    const std::int64_t year = SignedValue(yearText, tooLarge).value_or(0);
    const std::int64_t day = SignedValue(dayText, tooLarge).value_or(0);
    if (day < 1 || day > 366 || (day == 366 && !IsLeapYear(year, QStringLiteral("G")))) {
        return 0;
    }
    return length == 7 ? 1 : -1;
}

int ParseOrdinal(const QString& text, bool hyphen, DateRecord& record) {
    record = DateRecord{};
    QString t = RemoveSpaces(text);
    if (hyphen) {
        if (CharAt(t, 5) != u'-') {
            return kParseInvalid;
        }
        t.remove(4, 1);
    }
    if (t.size() != 7) {
        return kParseInvalid;
    }
    const QString yearText = MidText(t, 1, 4);
    const QString dayText = MidText(t, 5, 3);
    if (!IsNumericText(yearText, false, false) || !IsNumericText(dayText, false, false)) {
        return kParseInvalid;
    }
    const std::int32_t year = static_cast<std::int32_t>(*DigitsValue(yearText));
    const std::int32_t day = static_cast<std::int32_t>(*DigitsValue(dayText));
    if (day < 1 || day > 366) {
        return kParseInvalid;
    }
    if (year < 1 || year > 9999) {
        return kParseOutOfRange;
    }
    if (day == 366 && !IsLeapYear(year, QStringLiteral("G"))) {
        return kParseInvalid;
    }
    record.calendar = 'G';
    record.jdn = FirstDayOfYearPlus(year, day);
    jdcore::jdn_to_euro_date(record);
    return kParseValid;
}

int IsoWeekTextKind(const QString& text) {
    const int w = PositionOf(text, QChar(u'W'));
    if (w == 0) {
        return 0;
    }
    const int h = PositionOf(text, QChar(u'-'), 2);
    // A hyphen after the week needs one before the "W"; any other hyphen is not of this form.
    if (h != 0 && h != w - 1) {
        return 0;
    }
    // After the "W": two week digits, an optional "-", the weekday digit.
    const QString tail = MidText(text, w + 1);
    const bool tailOk =
        (tail.size() == 3 && AllDigits(tail)) ||
        (tail.size() == 4 && AllDigits(tail.left(2)) && tail.at(2) == u'-' && IsDigit(tail.at(3)));
    if (!tailOk) {
        return 0;
    }
    const QString yearText = MidText(text, 1, h != 0 ? w - 2 : w - 1);
    if (!IsNumericText(yearText, true, false)) {
        return 0;
    }
    const int weekday = tail.back().unicode() - u'0';
    const int week = tail.left(2).toInt();
    if (weekday < 1 || weekday > 7 || week < 1 || week > 53) {
        return 0;
    }
    return h != 0 ? -1 : 1;
}

int ParseIsoWeek(const QString& text, IsoWeekRecord& record) {
    record = IsoWeekRecord{};
    const QString t = RemoveSpaces(text);
    const int kind = IsoWeekTextKind(t);
    if (kind == 0) {
        return kParseInvalid;
    }
    const int w = PositionOf(t, QChar(u'W'));
    bool tooLarge = false;
    const std::optional<std::int64_t> year =
        SignedValue(MidText(t, 1, kind == -1 ? w - 2 : w - 1), tooLarge);
    if (tooLarge || !year || std::llabs(*year) >= kMaxYearMagnitude) {
        return tooLarge || year ? kParseOutOfRange : kParseInvalid;
    }
    const int week = MidText(t, w + 1, 2).toInt();
    const int weekday = t.back().unicode() - u'0';
    if (week == 53 && !HasWeek53(*year)) {
        return kParseInvalid;
    }
    record.year = static_cast<std::int32_t>(*year);
    record.week = week;
    record.weekday = weekday;
    record.valid = 1;
    IsoWeekToJdn(record);
    if (!InDayNumberRange(record.jdn)) {
        return kParseOutOfRange;
    }
    return kParseValid;
}

int ParseLpm(const QString& text, LeapWeekRecord& record) {
    record = LeapWeekRecord{};
    const int split = SplitLeapWeekText(text, record.year, record.month, record.dayOfMonth);
    if (split != kParseValid) {
        record = LeapWeekRecord{};
        return split;
    }
    if (!LpmToJdn(record)) {
        return kParseInvalid;
    }
    return InDayNumberRange(record.jdn) ? kParseValid : kParseOutOfRange;
}

int ParseLpw(const QString& text, LeapWeekRecord& record) {
    record = LeapWeekRecord{};
    const int split = SplitLeapWeekText(text, record.year, record.week, record.weekday);
    if (split != kParseValid) {
        record = LeapWeekRecord{};
        return split;
    }
    if (!LpwToJdn(record)) {
        return kParseInvalid;
    }
    return InDayNumberRange(record.jdn) ? kParseValid : kParseOutOfRange;
}

ParseResult ParseDateInCalendar(CalendarId calendar, const QString& text,
                                const TextFormat& format) {
    const CalendarEntry& entry = Calendar(calendar);
    if (entry.notation == Notation::EraYearMonthDay) {
        return ParseEraDate(entry, WithoutCodeKeepingEra(entry, text), format);
    }
    const std::optional<QString> date = WithoutCodeAndDayName(calendar, text);
    if (!date) {
        return Outcome(ParseOutcome::Invalid);
    }
    switch (entry.notation) {
        case Notation::DayNumber: {
            // Grouped by commas, the thousands separator or, as the batch language writes day
            // numbers, the regional format. A day count with an offset (MJD) is shifted: the
            // JDN must lie in the day number range.
            const QString groupChars = QStringLiteral(",") + format.thousandsSeparator.left(1) +
                                       format.regional.groupSeparator().left(1);
            return ParseSignedGroupedNumber(*date, groupChars, entry.dayOffset);
        }
        case Notation::LongCount:
            return ParseLongCount(entry, *date);
        case Notation::LunisolarDate:
            return ParseLunisolarDate(entry, *date, format);
        default:
            break;
    }
    const std::optional<QString> body = CleanDateBody(*date, RulesFor(entry, format));
    if (!body) {
        return Outcome(ParseOutcome::Invalid);
    }
    switch (entry.notation) {
        case Notation::LeapMonthDate: {
            LeapWeekRecord record;
            const int outcome = ParseLpm(*body, record);
            return Outcome(outcome, record.jdn);
        }
        case Notation::LeapWeekDate: {
            LeapWeekRecord record;
            const int outcome = ParseLpw(*body, record);
            return Outcome(outcome, record.jdn);
        }
        case Notation::OrdinalDate: {
            DateRecord record{};
            const int outcome = ParseOrdinal(*body, format.hyphen, record);
            return Outcome(outcome, record.jdn);
        }
        case Notation::IsoWeekDate: {
            IsoWeekRecord record;
            const int outcome = ParseIsoWeek(*body, record);
            return Outcome(outcome, record.jdn);
        }
        case Notation::CivilDate:
        case Notation::LibraryYearFirst: {
            DateRecord record{};
            const int outcome =
                ParseDate(*body, format.dateSeparator, calendar, format.dateFormat, record);
            return Outcome(outcome, record.jdn);
        }
        case Notation::WeekDate:
        case Notation::PeriodDate:
            return ParseLetteredDate(entry, *body);
        case Notation::YearMonthDay:
        case Notation::DayNumber:
        case Notation::LongCount:
        case Notation::LunisolarDate:
        case Notation::EraYearMonthDay:
            break;
    }
    return ParseYearFirstDate(entry, *body);
}

CodedParseResult ParseDateWithCode(const QString& text, const TextFormat& format,
                                   CalendarId calendarWithoutCode) {
    // The code is the letters at the start or else at the end of the date (an ISO week's "W"
    // stands inside it); the calendar's reader then checks the whole text.
    const QString t = WithoutDayName(text);
    qsizetype begin = 0;
    while (begin < t.size() && IsAsciiLetter(t.at(begin))) {
        ++begin;
    }
    qsizetype end = t.size();
    while (end > begin && IsAsciiLetter(t.at(end - 1))) {
        --end;
    }
    const QString code = begin > 0 ? t.left(begin) : t.mid(end);
    CodedParseResult result;
    result.calendar = code.isEmpty() ? std::optional(calendarWithoutCode) : CalendarOfCode(code);
    // A date of the calendar without a code that has named eras may begin with an era's name
    // ("Reiwa 8-12-07").
    const CalendarEntry& uncoded = Calendar(calendarWithoutCode);
    if (!result.calendar && begin > 0 && end == t.size() && uncoded.eras != nullptr &&
        EraOfName(uncoded, QStringView(t).left(begin))) {
        result.calendar = calendarWithoutCode;
    }
    // A calendar with named eras: the era's name before the date and the code after it
    // ("Reiwa 8-12-07 JPN"), or the code and the era's name without a blank ("JPNR8-12-07").
    for (const CalendarEntry* entry : AllCalendars()) {
        if (result.calendar || begin == 0 || entry->eras == nullptr) {
            continue;
        }
        const bool codeAfter =
            end < t.size() &&
            QStringView(t).mid(end).compare(QLatin1String(entry->code), Qt::CaseInsensitive) == 0;
        if (codeAfter || IsCodeAndEra(*entry, QStringView(t).left(begin))) {
            result.calendar = entry->id;
        }
    }
    if (result.calendar) {
        result.parsed = ParseDateInCalendar(*result.calendar, text, format);
    }
    return result;
}

QString RewriteHyphenation(const QString& text, bool hyphen) {
    QString t = text.trimmed();
    const int ordinal = OrdinalTextKind(t);
    if (hyphen && ordinal == 1) {
        t.insert(4, u'-');
    } else if (!hyphen && ordinal == -1) {
        t.remove(4, 1);
    }
    const int iso = IsoWeekTextKind(t);
    if (hyphen && iso == 1) {
        t.replace(QStringLiteral("W"), QStringLiteral("-W"));
        t.insert(t.size() - 1, u'-');
    } else if (!hyphen && iso == -1) {
        // Keep a year's minus sign.
        const QString head = t.startsWith(u'-') ? QStringLiteral("-") : QString();
        t = head + RemoveAll(t.mid(head.size()), u'-');
    }
    return t;
}

}  // namespace daybridge
