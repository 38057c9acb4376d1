#include "app/month_text.h"

#include <algorithm>

#include "calendar/iso_ordinal.h"
#include "calendar/leap_week.h"
#include "datetext/date_format.h"
#include "datetext/string_utils.h"

namespace daybridge {
namespace {

QString Abbreviation(int day, Language language) {
    return DayNameIn(day, language).left(3);
}

void TrimRight(QString& line) {
    TrimRightWhite(line);
}

// ISO and LPW cells share the week part of the row's Monday; only the day digit changes.
QString WeekPrefix(const QString& written, bool withYear, int keepWithoutYear) {
    QString kept = written.right(withYear ? 7 : keepWithoutYear);
    kept.chop(1);  // the day digit
    return kept;
}

}  // namespace

MonthYear ReadMonthYear(const QString& text, const QString& thousandsSeparator) {
    const QString cleaned = TrimmedWhite(text);
    if (cleaned.isEmpty()) {
        return {MonthYear::Empty, 0};
    }
    const QChar grouping = thousandsSeparator.isEmpty() ? QChar() : thousandsSeparator[0];
    const auto isDigitAt = [&cleaned](qsizetype at) {
        return at >= 0 && at < cleaned.size() && cleaned[at] >= u'0' && cleaned[at] <= u'9';
    };
    bool negative = false;
    qsizetype i = 0;
    if (cleaned[0] == u'+' || cleaned[0] == u'-' || cleaned[0] == QChar(0x2212)) {
        negative = cleaned[0] != u'+';
        ++i;
    }
    bool digitSeen = false;
    std::int64_t magnitude = 0;  // at most kMaxYearMagnitude * 10 + 9
    bool tooLarge = false;
    for (; i < cleaned.size(); ++i) {
        const QChar c = cleaned[i];
        if (c == u' ' ||
            (!grouping.isNull() && c == grouping && isDigitAt(i - 1) && isDigitAt(i + 1))) {
            continue;
        }
        if (!isDigitAt(i)) {
            return {MonthYear::NotANumber, 0};  // "+-12", "2O12": a stray sign or letter
        }
        digitSeen = true;
        if (!tooLarge) {
            magnitude = magnitude * 10 + (c.unicode() - u'0');
            tooLarge = magnitude > kMaxYearMagnitude;
        }
    }
    if (!digitSeen) {
        return {MonthYear::NotANumber, 0};
    }
    if (tooLarge) {
        return {MonthYear::OutOfRange, 0};
    }
    return {MonthYear::Ok, static_cast<std::int32_t>(negative ? -magnitude : magnitude)};
}

MonthGrid BuildMonthGrid(std::int32_t year, int month, bool julian, bool mondayFirst,
                         Language language) {
    MonthGrid grid;
    const int firstDay = mondayFirst ? 1 : 0;
    for (int column = 0; column < 7; ++column) {
        grid.text += u' ' + Abbreviation((firstDay + column) % 7, language) + u' ';
    }

    const char letter = julian ? 'J' : 'G';
    const std::int32_t first = JdnOfCivil(year, month, 1, letter);
    const int back = (DayOfWeek(first) - firstDay + 7) % 7;
    grid.weekStartJdn = first - back;

    std::int32_t jdn = grid.weekStartJdn;
    while (grid.weekRowCount < 6) {
        QString row;
        DateRecord last{};
        for (int column = 0; column < 7; ++column, ++jdn) {
            last = CivilOfJdn(jdn, letter);
            if (last.day < 10) {
                row += u' ';
            }
            row += NumberWithLeadingBlank(last.day) + QStringLiteral("  ");
        }
        grid.text += QStringLiteral("\n ") + row;
        ++grid.weekRowCount;
        const bool beyond = last.year > year || (last.year == year && last.month > month);
        const bool monthEnds = CivilOfJdn(jdn, letter).month != last.month;
        if (beyond || (last.month == month && monthEnds)) {
            break;
        }
    }
    return grid;
}

QString BuildAddedDates(std::int32_t weekStartJdn, int weekRowCount, MonthAddedDates kind,
                        bool withYear, Language language, const QLocale& regional) {
    QString text;
    for (int column = 0; column < 7; ++column) {
        const QString name = DayNameIn((column + 1) % 7, language);
        if (withYear) {
            if (column > 0) {
                text += u' ';
            }
            text += name.leftJustified(9, u' ', true);
        } else {
            text += u' ' + name.left(3) + QStringLiteral("   ");
        }
    }
    TrimRight(text);
    if (withYear && language == kGerman) {
        text.replace(QStringLiteral(" Donnersta "), QStringLiteral("Donnerstag "));
    }

    // Every cell is as wide as its header column: 10 characters with the year, 7 without.
    const QString gap = withYear ? QStringLiteral("   ") : QString();
    for (int r = 0; r < weekRowCount; ++r) {
        const std::int32_t monday = weekStartJdn + 7 * r;
        QString line;
        if (kind == MonthAddedDates::LPM) {
            for (int d = 0; d < 7; ++d) {
                LeapWeekRecord record{};
                record.jdn = monday + d;
                JdnToLpm(record);
                const QString written = FormatLpm(record, false, regional);
                // Without the year the month keeps both digits: "02-29".
                line += written.right(withYear ? 7 : 5) + (withYear ? gap : QStringLiteral("  "));
            }
        } else {
            QString prefix;
            if (kind == MonthAddedDates::ISO) {
                IsoWeekRecord record{};
                record.jdn = monday;
                JdnToIsoWeek(record);
                prefix = WeekPrefix(FormatIsoWeek(record, true), withYear, 5);
            } else {
                LeapWeekRecord record{};
                record.jdn = monday;
                JdnToLpw(record);
                prefix = WeekPrefix(FormatLpw(record, false, regional), withYear, 4);
            }
            const qsizetype width = withYear ? 10 : 7;
            const QString cellGap(std::max<qsizetype>(1, width - 1 - prefix.size()), u' ');
            for (int d = 1; d <= 7; ++d) {
                line += prefix + QString::number(d) + cellGap;
            }
        }
        TrimRight(line);
        text += u'\n' + line;
    }
    return text;
}

QString BuildMonthClipboardText(int month, const QString& yearText, bool julian, Language language,
                                const QString& grid, const QString& addedDatesTitle,
                                const QString& addedDates, const QString& holidays) {
    QString text =
        MonthNameIn(month, language) + u' ' + yearText + QStringLiteral(" (") +
        CaptionText(julian ? Caption::JulianCalendar : Caption::CommonEraCalendar, language) +
        QStringLiteral(")\n\n") + grid;
    if (!addedDates.isEmpty()) {
        text += QStringLiteral("\n\n") + addedDatesTitle + QStringLiteral("\n\n") + addedDates;
    }
    if (!holidays.isEmpty()) {
        text += QStringLiteral("\n\n") + holidays;
    }
    return text;
}

QString BuildMonthHolidays(std::int32_t year, int month, bool julian,
                           const WorkdayCalendar& workdays) {
    if (workdays.holidays() == nullptr) {
        return {};
    }
    const char letter = julian ? 'J' : 'G';
    QStringList lines;
    for (std::int32_t jdn = JdnOfCivil(year, month, 1, letter);; ++jdn) {
        const DateRecord day = CivilOfJdn(jdn, letter);
        if (day.month != month) {
            break;
        }
        const QStringList names = workdays.HolidayNames(jdn);
        if (!names.isEmpty()) {
            lines << QString::number(day.day).rightJustified(2) + QStringLiteral("  ") +
                         names.join(QStringLiteral("; "));
        }
    }
    return lines.join(u'\n');
}

}  // namespace daybridge
