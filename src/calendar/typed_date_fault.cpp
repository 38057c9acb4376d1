#include "calendar/typed_date_fault.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <limits>

#include "calendar/calendar_table.h"

namespace daybridge {

namespace {

// A number of at most 18 digits (so it fits 64 bits), with a "-" in front when `signedOk`.
std::optional<std::int64_t> NumberOf(const QString& text, bool signedOk) {
    const bool negative = signedOk && text.startsWith(u'-');
    const QString digits = text.mid(negative ? 1 : 0);
    if (digits.isEmpty() || digits.size() > 18) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

// The date alone: without blanks, a comma and a word after it, the calendar's code on either
// side, digit grouping and the parentheses of a negative year.
QString DateAlone(CalendarId calendar, const QString& text) {
    QString t = text;
    t.replace(QChar(0x2212), u'-');
    const qsizetype comma = t.lastIndexOf(u',');
    if (comma >= 0) {
        const QString after = t.mid(comma + 1).trimmed();
        if (!after.isEmpty() &&
            std::all_of(after.begin(), after.end(), [](QChar c) { return c.isLetter(); })) {
            t.truncate(comma);
        }
    }
    t.remove(u' ').remove(u'\t').remove(u'(').remove(u')');
    const QString code = CalendarCode(calendar);
    if (t.startsWith(code, Qt::CaseInsensitive)) {
        t.remove(0, code.size());
    } else if (t.endsWith(code, Qt::CaseInsensitive)) {
        t.chop(code.size());
    }
    t.remove(u',');
    if (Calendar(calendar).notation != Notation::LongCount) {
        t.remove(u'.');  // a year grouped by dots
    }
    return t;
}

}  // namespace

// A number as a place of the calendar's date: one that does not fit is out of every range.
std::int32_t CutToField(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

namespace {

// The five places of a Long Count, into year, month, day, uinal and kin; false when the text
// is no such date.
bool ReadLongCountPlaces(const QString& date, CalendarDate& out) {
    const QStringList places = date.split(u'.');
    if (places.size() != 5) {
        return false;
    }
    std::array<std::int64_t, 5> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<std::int64_t> value =
            NumberOf(places.at(static_cast<qsizetype>(i)), i == 0);
        if (!value) {
            return false;
        }
        values[i] = *value;
    }
    out.year = values[0];
    out.month = CutToField(values[1]);
    out.day = CutToField(values[2]);
    out.uinal = CutToField(values[3]);
    out.kin = CutToField(values[4]);
    return true;
}

// Year-month-day; false when the text is no such date.
bool ReadYearMonthDay(const QString& date, CalendarDate& out) {
    // The year may be negative: the first "-" after the first character splits.
    const qsizetype first = date.indexOf(u'-', 1);
    const qsizetype second = first < 0 ? -1 : date.indexOf(u'-', first + 1);
    if (second < 0) {
        return false;
    }
    const std::optional<std::int64_t> year = NumberOf(date.left(first), true);
    const std::optional<std::int64_t> month =
        NumberOf(date.mid(first + 1, second - first - 1), false);
    const std::optional<std::int64_t> day = NumberOf(date.mid(second + 1), false);
    if (!year || !month || !day) {
        return false;
    }
    out.year = *year;
    out.month = CutToField(*month);
    out.day = CutToField(*day);
    return true;
}

}  // namespace

std::optional<TypedDateFault> WhyTypedDateIsRefused(CalendarId calendar, const QString& text) {
    const CalendarEntry& entry = Calendar(calendar);
    const bool longCount = entry.notation == Notation::LongCount;
    const bool lunisolar = entry.notation == Notation::LunisolarDate;
    const bool named = entry.notation == Notation::EraYearMonthDay;
    if (!longCount && !lunisolar && !named && entry.notation != Notation::YearMonthDay) {
        return std::nullopt;
    }
    TypedDateFault fault;
    fault.wrongForm = true;
    fault.date.calendar = calendar;
    QString date = DateAlone(calendar, text);
    if (lunisolar) {
        // A leap month's mark after the month's number: the leap month of that number.
        const QLatin1String mark(kLeapMonthMark);
        const qsizetype at = date.indexOf(mark, 0, Qt::CaseInsensitive);
        if (at >= 0) {
            date.remove(at, mark.size());
            fault.date.leapMonth = true;
        }
    }
    if (named) {
        qsizetype letters = 0;
        while (letters < date.size() && date.at(letters).isLetter()) {
            ++letters;
        }
        if (letters > 0) {
            const std::optional<int> era = EraOfName(entry, QStringView(date).left(letters));
            if (!era) {
                fault.unknownEra = date.left(letters);
                return fault;
            }
            fault.date.era = static_cast<std::int16_t>(*era);
            date.remove(0, letters);
        }
    }
    const bool numbersRead =
        longCount ? ReadLongCountPlaces(date, fault.date) : ReadYearMonthDay(date, fault.date);
    if (!numbersRead) {
        return fault;
    }
    fault.check = CheckDate(fault.date);
    if (fault.check.ok() && named && fault.date.era == 0 &&
        FromJdn(calendar, entry.toJdn(fault.date)).era != 0) {
        fault.check = {jdcore::DateProblem::OutsideEra, 0};  // a day of an era, named by none
    }
    fault.wrongForm = fault.check.ok();
    return fault;
}

}  // namespace daybridge
