#include "datetext/date_parse.h"

#include <cstdlib>
#include <optional>

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

ParseResult Outcome(int outcome, std::int64_t value = 0) {
    ParseResult result;
    result.outcome = outcome;
    result.jdn = outcome == kParseValid ? static_cast<std::int32_t>(value) : 0;
    return result;
}

// Digit grouping with a separator other than the comma: one to three digits, then groups of
// exactly three ("2.451.545"). A separator anywhere else (a decimal point) is refused.
bool IsGroupedBy(const QString& body, QChar separator) {
    const QStringList groups = body.split(separator);
    if (groups.size() < 2) {
        return false;
    }
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QString& g = groups.at(i);
        if (!AllDigits(g) || (i == 0 ? g.size() > 3 : g.size() != 3)) {
            return false;
        }
    }
    return true;
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

QChar LibraryLetterOf(int calendar) {
    switch (calendar) {
        case kJC:
            return u'J';
        case kAN:
            return u'A';
        case kVLW:
            return u'V';
        case kISO:
            return u'I';
        default:
            return u'G';
    }
}

// The three numbers of an LPW or LPM text: a signed year and two unsigned numbers, separated
// by "-". Returns the outcome of the shape and year tests.
int SplitLeapWeekText(const QString& text, std::int32_t& year, std::int16_t& second,
                      std::int16_t& third) {
    QString t = text;
    KeepOnlyChars(t, QString());
    if (CountChar(MidText(t, 2), u'-') != 2) {
        return kParseInvalid;
    }
    const int first = PositionOf(t, QChar(u'-'), 2);
    const int next = PositionOf(t, QChar(u'-'), first + 1);
    bool tooLarge = false;
    const std::optional<std::int64_t> y = SignedValue(MidText(t, 1, first - 1), tooLarge);
    if (tooLarge || (y && std::llabs(*y) > kMaxYearMagnitude)) {
        return kParseOutOfRange;
    }
    const std::optional<std::int64_t> a = DigitsValue(MidText(t, first + 1, next - first - 1));
    const std::optional<std::int64_t> b = DigitsValue(MidText(t, next + 1));
    // Every field must be there; the two small numbers must fit the record.
    if (!y || !a || !b || *a > 32767 || *b > 32767) {
        return kParseInvalid;
    }
    year = static_cast<std::int32_t>(*y);
    second = static_cast<std::int16_t>(*a);
    third = static_cast<std::int16_t>(*b);
    return kParseValid;
}

}  // namespace

ParseResult ParseDayCount(const QString& text) {
    QString t = text;
    KeepSignedDigits(t, true);
    bool negative = false;
    if (t.startsWith(u'-')) {
        negative = true;
        t.remove(0, 1);
    }
    // An explicit "+" is not a digit: it must not count towards the length limit.
    if (t.startsWith(u'+')) {
        t.remove(0, 1);
    }
    if (t.isEmpty() || !AllDigits(t)) {
        return Outcome(kParseInvalid);
    }
    t = WithoutLeadingZeros(t);
    if (t.size() > 10 || (t.size() == 10 && t > QLatin1String(kMaxLongText))) {
        return Outcome(kParseOutOfRange);
    }
    const std::int64_t magnitude = *DigitsValue(t);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (!InDayNumberRange(value)) {
        return Outcome(kParseOutOfRange);
    }
    return Outcome(kParseValid, value);
}

ParseResult ParseJdnText(const QString& text) {
    if (!IsNumericText(text, true, true)) {
        return Outcome(kParseInvalid);
    }
    const QString trimmed = text.trimmed();
    const bool negative = trimmed.startsWith(u'-');
    QString digits = trimmed;
    digits.remove(u'+');
    digits.remove(u'-');
    digits.remove(u',');
    digits = WithoutLeadingZeros(digits);
    if (digits.size() >= 11 || (digits.size() == 10 && digits.left(2).toInt() >= 21)) {
        return Outcome(kParseOutOfRange);
    }
    const std::int64_t magnitude = *DigitsValue(digits);
    return Outcome(kParseValid, negative ? -magnitude : magnitude);
}

ParseResult ParseJdnText(const QString& text, const QString& thousandsSeparator) {
    if (thousandsSeparator.isEmpty() || thousandsSeparator.front() == u',') {
        return ParseJdnText(text);
    }
    const QChar separator = thousandsSeparator.front();
    QString body = text.trimmed();
    if (!body.contains(separator)) {
        return ParseJdnText(text);
    }
    QString sign;
    if (body.startsWith(u'+') || body.startsWith(u'-')) {
        sign = body.left(1);
        body.remove(0, 1);
    }
    if (!IsGroupedBy(body, separator)) {
        return Outcome(kParseInvalid);
    }
    body.remove(separator);
    return ParseJdnText(sign + body);
}

int ParseDate(const QString& text, const QString& separator, int calendar, int dateFormat,
              DateRecord& record) {
    record = DateRecord{};
    QString sep = separator.isEmpty() ? QStringLiteral("-") : separator.left(1);
    if (calendar == kAN || calendar == kVLW || calendar == kISO) {
        sep = QStringLiteral("-");
        if (dateFormat == kDateFormatMDY) {
            dateFormat = kDateFormatYMD;
        }
    }
    QString t = RemoveSpaces(text);

    if (calendar == kJDN) {
        if (!JdnSeparatorShapeOk(t, sep)) {
            return kParseInvalid;
        }
        const ParseResult count = ParseDayCount(t);
        record.jdn = count.jdn;
        return count.outcome;
    }

    KeepOnlyChars(t, sep);
    const int hyphens = CountChar(t, u'-');
    const bool shapeOk = sep == QStringLiteral("-")
                             ? (hyphens == 2 || hyphens == 3)
                             : (hyphens < 2 && CountChar(t, sep.front()) == 2);
    if (!shapeOk) {
        return kParseInvalid;
    }
    const QChar letter = LibraryLetterOf(calendar);
    const QByteArray bytes = t.toUtf8();
    const std::int32_t status = jdcore::str_to_date(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), dateFormat,
        record, static_cast<char>(letter.unicode()));
    if (status == jdcore::kOutOfRange) {
        record = DateRecord{};
        return kParseOutOfRange;
    }
    if (status != jdcore::kValid) {
        record = DateRecord{};
        return kParseInvalid;
    }
    record.calendar = letter.unicode();
    if (calendar == kAN) {
        jdcore::annus_novus_date_to_jdn(record);
    } else {
        jdcore::euro_date_to_jdn(record);
    }
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

ParseResult ParseDateInCalendar(int calendar, const QString& text, const TextFormat& format) {
    switch (calendar) {
        case kLPM: {
            LeapWeekRecord record;
            const int outcome = ParseLpm(text, record);
            return Outcome(outcome, record.jdn);
        }
        case kLPW: {
            LeapWeekRecord record;
            const int outcome = ParseLpw(text, record);
            return Outcome(outcome, record.jdn);
        }
        case kORD: {
            DateRecord record{};
            const int outcome = ParseOrdinal(text, format.hyphen, record);
            return Outcome(outcome, record.jdn);
        }
        case kISO: {
            IsoWeekRecord record;
            const int outcome = ParseIsoWeek(text, record);
            return Outcome(outcome, record.jdn);
        }
        case kJDN:
            return ParseJdnText(text, format.thousandsSeparator);
        case kCE:
        case kJC:
        case kAN:
        case kVLW: {
            DateRecord record{};
            const int outcome =
                ParseDate(text, format.dateSeparator, calendar, format.dateFormat, record);
            return Outcome(outcome, record.jdn);
        }
        default:
            return Outcome(kParseInvalid);
    }
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
