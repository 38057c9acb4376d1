#include "datetext/date_format.h"

#include <algorithm>
#include <string>

#include "calendar/iso_ordinal.h"
#include "calendar/leap_week.h"
#include "datetext/string_utils.h"
#include "jdcore/jdcore.h"
#include "jdcore/world_calendars.h"

namespace daybridge {

namespace {

// At least `width` digits, the sign in front of the zeros.
QString Padded(std::int64_t n, int width) {
    const QString digits = QString::number(n < 0 ? -n : n).rightJustified(width, u'0');
    return n < 0 ? QStringLiteral("-") + digits : digits;
}

// Writes n as Padded does into `at` (room for 21 characters); the number of characters.
int WritePadded(char16_t* at, std::int64_t n, int width) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    // The magnitude in unsigned arithmetic: -n would overflow for the lowest value.
    std::uint64_t magnitude =
        n < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    int digits = 1;
    for (std::uint64_t power = 10; digits < 20 && magnitude >= power; power *= 10) {
        ++digits;
    }
    int length = 0;
    if (n < 0) {
        at[length++] = u'-';
    }
    for (int i = digits; i < width; ++i) {
        at[length++] = u'0';
    }
    // The digits in place, two at a time from the right.
    length += digits;
    char16_t* p = at + length;
    while (magnitude >= 100) {
        const auto pair = static_cast<std::size_t>(magnitude % 100) * 2;
        magnitude /= 100;
        *--p = static_cast<char16_t>(kPairs[pair + 1]);
        *--p = static_cast<char16_t>(kPairs[pair]);
    }
    if (magnitude >= 10) {
        const auto pair = static_cast<std::size_t>(magnitude) * 2;
        *--p = static_cast<char16_t>(kPairs[pair + 1]);
        *--p = static_cast<char16_t>(kPairs[pair]);
    } else {
        *--p = static_cast<char16_t>(u'0' + magnitude);
    }
    return length;
}

bool IsDigitOrHyphen(QChar c) {
    return c == u'-' || (c >= u'0' && c <= u'9');
}

// Grouping the year must not make the date unreadable: a group separator that is the date
// separator, a hyphen or a digit would add fields to the text.
bool GroupingKeepsDateReadable(const QString& thousandsSeparator, const QString& separator) {
    if (thousandsSeparator.isEmpty()) {
        return true;
    }
    const QChar c = thousandsSeparator.front();
    return !IsDigitOrHyphen(c) && !separator.contains(c);
}

// Digits of a plain decimal number grouped in threes from the right.
QString GroupDigits(const QString& plain, const QString& separator) {
    const bool negative = plain.startsWith(u'-');
    QString digits = negative ? plain.mid(1) : plain;
    for (qsizetype pos = digits.size() - 3; pos > 0; pos -= 3) {
        digits.insert(pos, separator);
    }
    return negative ? QStringLiteral("-") + digits : digits;
}

QString LeapWeekYearText(std::int32_t year, const QLocale& regional) {
    if (year > -10000 && year < 10000) {
        return QString::number(year);
    }
    return FormatRegional(year, regional);
}

}  // namespace

QString SeparateThousands(const QString& digits, const QString& separator) {
    if (separator.isEmpty() || separator.front().isNull()) {
        return digits;
    }
    const QChar c = separator.front();
    // The library groups with an 8-bit character; any other separator goes in afterwards.
    const bool plainChar = c.unicode() < 0x80;
    const char placeholder = plainChar ? static_cast<char>(c.unicode()) : '\x01';
    if (!plainChar && digits.contains(QChar(u'\x01'))) {
        return digits;
    }
    const QByteArray bytes = digits.toUtf8();
    const std::string grouped = jdcore::separate_thousands(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), placeholder);
    QString result = QString::fromUtf8(grouped.data(), static_cast<qsizetype>(grouped.size()));
    CutAtNul(result);
    if (!plainChar) {
        result.replace(QChar(u'\x01'), c);
    }
    return result;
}

QString FormatRegional(std::int64_t n, const QLocale& regional) {
    const QString native = regional.toString(static_cast<qlonglong>(n));
    // Keep the regional grouping only where the number stays in digits and "-", so the text
    // reads back; other digit shapes or minus signs fall back to plain digits and "-".
    bool plain = regional.zeroDigit() == QStringLiteral("0") &&
                 regional.negativeSign() == QStringLiteral("-");
    if (plain) {
        const QString groupSeparator = regional.groupSeparator();
        for (QChar c : native) {
            if (!IsDigitOrHyphen(c) && !groupSeparator.contains(c)) {
                plain = false;
                break;
            }
        }
        for (QChar c : groupSeparator) {
            if (IsDigitOrHyphen(c)) {
                plain = false;
            }
        }
    }
    if (plain) {
        return native;
    }
    const QString decimal = QString::number(n);
    const QString groupSeparator = regional.groupSeparator();
    const bool group = !(regional.numberOptions() & QLocale::OmitGroupSeparator) &&
                       !groupSeparator.isEmpty() &&
                       std::none_of(groupSeparator.begin(), groupSeparator.end(), IsDigitOrHyphen);
    return group ? GroupDigits(decimal, groupSeparator) : decimal;
}

QString FormatDate(const DateRecord& record, int dateFormat, const QString& separator,
                   const QString& thousandsSeparator) {
    // The record's letter names its calendar: CE and JC follow the user's order and separator;
    // the others (Annus Novus, the library's leap week dates) are read with "-" and never month
    // first, so they are written that way.
    const std::optional<CalendarId> calendar = CalendarOfRecordLetter(record.calendar);
    const CalendarEntry& entry = Calendar(calendar.value_or(kDefaultCalendar));
    const bool yearFirstCalendar = entry.notation != Notation::CivilDate;
    const QString sep = yearFirstCalendar ? QStringLiteral("-") : separator;
    if (yearFirstCalendar && dateFormat == kDateFormatMDY) {
        dateFormat = kDateFormatYMD;
    }
    const QString day = Padded(record.day, 2);
    const QString month = Padded(record.month, 2);
    QString year = QString::number(record.year);
    if (entry.groupsYear && (record.year > 9999 || record.year < -9999) &&
        GroupingKeepsDateReadable(thousandsSeparator, sep)) {
        year = SeparateThousands(year, thousandsSeparator);
    }
    switch (dateFormat) {
        case kDateFormatDMY:
        case kDateFormatMDY: {
            if (record.year < 0) {
                year = QStringLiteral("(") + year + QStringLiteral(")");
            }
            const QString& first = dateFormat == kDateFormatDMY ? day : month;
            const QString& second = dateFormat == kDateFormatDMY ? month : day;
            return first + sep + second + sep + year;
        }
        default:
            return year + sep + month + sep + day;
    }
}

QString FormatOrdinal(std::int32_t year, int dayOfYear, bool hyphen) {
    return Padded(year, 4) + (hyphen ? QStringLiteral("-") : QString()) + Padded(dayOfYear, 3);
}

QString FormatIsoWeek(const IsoWeekRecord& record, bool hyphen) {
    QString text;
    text.reserve(16);
    AppendIsoWeek(text, record, hyphen);
    return text;
}

int WriteIsoWeek(char16_t* at, const IsoWeekRecord& record, bool hyphen) {
    int n = 0;
    if (record.year >= 1000 && record.year <= 9999) {
        // The common four-digit year without the general digit loop.
        const auto year = static_cast<unsigned>(record.year);
        at[0] = static_cast<char16_t>(u'0' + year / 1000);
        at[1] = static_cast<char16_t>(u'0' + year / 100 % 10);
        at[2] = static_cast<char16_t>(u'0' + year / 10 % 10);
        at[3] = static_cast<char16_t>(u'0' + year % 10);
        n = 4;
    } else {
        n = WritePadded(at, record.year, 1);
    }
    if (hyphen) {
        at[n++] = u'-';
    }
    at[n++] = u'W';
    if (record.week >= 0 && record.week <= 99 && record.weekday >= 0 && record.weekday <= 9) {
        at[n++] = static_cast<char16_t>(u'0' + record.week / 10);
        at[n++] = static_cast<char16_t>(u'0' + record.week % 10);
        if (hyphen) {
            at[n++] = u'-';
        }
        at[n++] = static_cast<char16_t>(u'0' + record.weekday);
        return n;
    }
    n += WritePadded(at + n, record.week, 2);
    if (hyphen) {
        at[n++] = u'-';
    }
    n += WritePadded(at + n, record.weekday, 1);
    return n;
}

void AppendIsoWeek(QString& out, const IsoWeekRecord& record, bool hyphen) {
    // Written into a local buffer first: one append to `out`.
    char16_t text[kIsoWeekTextRoom];
    out.append(QStringView(text, WriteIsoWeek(text, record, hyphen)));
}

QString FormatLpw(const LeapWeekRecord& record, bool withCode, const QLocale& regional) {
    return LeapWeekYearText(record.year, regional) + QStringLiteral("-") + Padded(record.week, 2) +
           QStringLiteral("-") + QString::number(record.weekday) +
           (withCode ? QStringLiteral(" LPW") : QString());
}

QString FormatLpm(const LeapWeekRecord& record, bool withCode, const QLocale& regional) {
    return LeapWeekYearText(record.year, regional) + QStringLiteral("-") + Padded(record.month, 2) +
           QStringLiteral("-") + Padded(record.dayOfMonth, 2) +
           (withCode ? QStringLiteral(" LPM") : QString());
}

QString FormatDayNumber(std::int64_t n, const QString& thousandsSeparator) {
    return SeparateThousands(QString::number(n), thousandsSeparator);
}

QString FormatWorldDate(std::int64_t year, int month, int day, const QString& thousandsSeparator) {
    QString yearText = QString::number(year);
    if (year > 9999 || year < -9999) {
        yearText = SeparateThousands(yearText, thousandsSeparator);
    }
    return yearText + u'-' + Padded(month, 2) + u'-' + Padded(day, 2);
}

QString FormatLongCount(const jdcore::LongCount& date) {
    return QString::number(date.baktun) + u'.' + QString::number(date.katun) + u'.' +
           QString::number(date.tun) + u'.' + QString::number(date.uinal) + u'.' +
           QString::number(date.kin);
}

QString CanonicalDateText(CalendarId calendar, std::int32_t jdn, const TextFormat& format) {
    const CalendarEntry& entry = Calendar(calendar);
    if (!InSpan(entry, jdn)) {
        return QString();
    }
    switch (entry.notation) {
        case Notation::DayNumber:
            return FormatDayNumber(std::int64_t{jdn} - entry.dayOffset, format.thousandsSeparator);
        case Notation::CivilDate:
        case Notation::LibraryYearFirst: {
            // Through the calendar library's record, as the described formatter takes it.
            DateRecord record{};
            CalendarLetter(calendar, record);
            record.jdn = jdn;
            jdcore::jdn_to_euro_date(record);
            return FormatDate(record, format.dateFormat, format.dateSeparator,
                              format.thousandsSeparator);
        }
        default:
            break;
    }
    const CalendarDate date = entry.fromJdn(jdn);
    switch (entry.notation) {
        case Notation::OrdinalDate:
            return FormatOrdinal(static_cast<std::int32_t>(date.year), date.day, format.hyphen);
        case Notation::IsoWeekDate: {
            IsoWeekRecord record;
            record.year = static_cast<std::int32_t>(date.year);
            record.week = date.month;
            record.weekday = date.day;
            record.jdn = jdn;
            return FormatIsoWeek(record, format.hyphen);
        }
        case Notation::LeapWeekDate:
        case Notation::LeapMonthDate: {
            LeapWeekRecord record;
            record.year = static_cast<std::int32_t>(date.year);
            record.jdn = jdn;
            if (entry.notation == Notation::LeapWeekDate) {
                record.week = static_cast<std::int16_t>(date.month);
                record.weekday = static_cast<std::int16_t>(date.day);
                return FormatLpw(record, false, format.regional);
            }
            record.month = static_cast<std::int16_t>(date.month);
            record.dayOfMonth = static_cast<std::int16_t>(date.day);
            return FormatLpm(record, false, format.regional);
        }
        case Notation::LongCount:
            return FormatLongCount({date.year, date.month, date.day, date.uinal, date.kin});
        case Notation::YearMonthDay:
            return FormatWorldDate(date.year, date.month, date.day, format.thousandsSeparator);
        case Notation::WeekDate:
            return QString::number(date.year) + QStringLiteral("-W") + Padded(date.month, 2) +
                   u'-' + QString::number(date.day);
        case Notation::PeriodDate:
            return QString::number(date.year) + QStringLiteral("-P") + Padded(date.month, 2) +
                   u'-' + Padded(date.day, 2);
        case Notation::LunisolarDate: {
            QString text = FormatWorldDate(date.year, date.month, date.day, QString());
            if (date.leapMonth) {
                text.insert(text.lastIndexOf(u'-'), QLatin1String(kLeapMonthMark));
            }
            return text;
        }
        case Notation::EraYearMonthDay: {
            // The era's name and a blank before the year; none before the first era.
            const QString era = EraName(entry, date.era);
            const QString ymd =
                FormatWorldDate(date.year, date.month, date.day, format.thousandsSeparator);
            return era.isEmpty() ? ymd : era + u' ' + ymd;
        }
        case Notation::DayNumber:
        case Notation::CivilDate:
        case Notation::LibraryYearFirst:
            break;
    }
    return QString();
}

void AppendDateTextWithCode(QString& out, CalendarId calendar, std::int32_t jdn,
                            const TextFormat& format) {
    const CalendarEntry& entry = Calendar(calendar);
    if (entry.notation == Notation::DayNumber) {
        out += FormatRegional(std::int64_t{jdn} - entry.dayOffset, format.regional);
    } else {
        const QString text = CanonicalDateText(calendar, jdn, format);
        if (text.isEmpty()) {
            return;
        }
        out += text;
    }
    out += u' ';
    out += QLatin1String(entry.code);
}

QString DateTextWithCode(CalendarId calendar, std::int32_t jdn, const TextFormat& format) {
    QString text;
    AppendDateTextWithCode(text, calendar, jdn, format);
    return text;
}

}  // namespace daybridge
