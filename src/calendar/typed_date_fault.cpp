#include "calendar/typed_date_fault.h"

#include <QStringList>
#include <algorithm>
#include <array>

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
QString DateAlone(int calendar, const QString& text) {
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
    if (calendar != kMAY) {
        t.remove(u'.');  // a year grouped by dots
    }
    return t;
}

}  // namespace

std::optional<TypedDateFault> WhyTypedDateIsRefused(int calendar, const QString& text) {
    const std::optional<jdcore::WorldCalendar> world = WorldCalendarOf(calendar);
    if (!world && calendar != kMAY) {
        return std::nullopt;
    }
    TypedDateFault fault;
    fault.wrongForm = true;
    const QString date = DateAlone(calendar, text);
    if (calendar == kMAY) {
        const QStringList places = date.split(u'.');
        if (places.size() != 5) {
            return fault;
        }
        std::array<std::int64_t, 5> values{};
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::optional<std::int64_t> value =
                NumberOf(places.at(static_cast<qsizetype>(i)), i == 0);
            if (!value) {
                return fault;
            }
            values[i] = *value;
        }
        fault.reason = jdcore::WhyInvalidLongCount(values);
    } else {
        // The year may be negative: the first "-" after the first character splits.
        const qsizetype first = date.indexOf(u'-', 1);
        const qsizetype second = first < 0 ? -1 : date.indexOf(u'-', first + 1);
        if (second < 0) {
            return fault;
        }
        const std::optional<std::int64_t> year = NumberOf(date.left(first), true);
        const std::optional<std::int64_t> month =
            NumberOf(date.mid(first + 1, second - first - 1), false);
        const std::optional<std::int64_t> day = NumberOf(date.mid(second + 1), false);
        if (!year || !month || !day) {
            return fault;
        }
        fault.reason = jdcore::WhyInvalidDate(*world, *year, *month, *day);
    }
    fault.wrongForm = fault.reason.fault == jdcore::DateFault::None;
    return fault;
}

}  // namespace daybridge
