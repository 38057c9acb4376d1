#include "app/calendar_month.h"

#include <algorithm>

#include "app/calendar_names.h"
#include "app/captions.h"
#include "app/texts.h"
#include "calendar/calendar_table.h"
#include "calendar/names.h"
#include "datetext/string_utils.h"
#include "workdays/workday_calendar.h"

namespace daybridge {
namespace {

// The days the display shows: a grid's CE dates and weekdays are 32-bit day numbers.
constexpr std::int64_t kLastShownJdn = 2'100'000'000;

std::int64_t FirstShown(const CalendarEntry& entry) {
    return std::max(entry.firstJdn, -kLastShownJdn);
}
std::int64_t LastShown(const CalendarEntry& entry) {
    return std::min(entry.lastJdn, kLastShownJdn);
}

// The month (number and leap flag) at a place of a year the calendar has.
CalendarDate MonthAt(const CalendarMonth& month) {
    const CalendarEntry& entry = Calendar(month.calendar);
    CalendarDate date{.calendar = month.calendar, .year = month.year, .day = 1};
    if (entry.monthArithmetic != nullptr) {
        entry.monthArithmetic->monthAt(month.year, month.place, date);
    } else {
        date.month = month.place;
    }
    return date;
}

bool YearShown(const CalendarEntry& entry, std::int64_t year) {
    const ShownYears years = ShownYearsOf(entry.id);
    return year >= years.first && year <= years.last;
}

QString MonthName(const CalendarDate& date, Language language) {
    QString name =
        MonthNameOf(date.calendar, date.month, [language](int id) { return Text(language, id); });
    if (name.isEmpty()) {
        // A fiscal period as its dates write it: "P05".
        name = Calendar(date.calendar).notation == Notation::PeriodDate
                   ? QStringLiteral("P%1").arg(date.month, 2, 10, QChar(u'0'))
                   : QString::number(date.month);
    }
    return date.leapMonth ? Text(language, kTextLeapMonth).arg(name) : name;
}

// "12 Sep": the CE day and the first three letters of its month.
QString CommonEraDay(std::int64_t jdn, Language language) {
    const DateRecord day = CivilOfJdn(static_cast<std::int32_t>(jdn), 'G');
    return QString::number(day.day) + u' ' + MonthNameIn(day.month, language).left(3);
}

QString Cell(std::int64_t jdn, std::int32_t dayOfMonth, Language language) {
    return QString::number(dayOfMonth).rightJustified(3) + QStringLiteral(" (") +
           CommonEraDay(jdn, language) + u')';
}

// "12 September 2026 – 11 October 2026", the first year left out when both are the same.
QString CommonEraSpan(const MonthDays& days, Language language) {
    const DateRecord first = CivilOfJdn(static_cast<std::int32_t>(days.first), 'G');
    const DateRecord last = CivilOfJdn(static_cast<std::int32_t>(days.last), 'G');
    QString text = QString::number(first.day) + u' ' + MonthNameIn(first.month, language);
    if (first.year != last.year) {
        text += u' ' + QString::number(first.year);
    }
    return text + QStringLiteral(" \u2013 ") + QString::number(last.day) + u' ' +
           MonthNameIn(last.month, language) + u' ' + QString::number(last.year) +
           QStringLiteral(" (") + CaptionText(Caption::CommonEraCalendar, language) + u')';
}

}  // namespace

std::vector<CalendarId> MonthCalendars() {
    std::vector<CalendarId> list;
    for (const CalendarEntry* entry : AllCalendars()) {
        // A calendar with named eras counts the CE months: its grid would add nothing.
        if (entry->fields == FieldKind::YearMonthDay && entry->HasYears() &&
            entry->eras == nullptr) {
            list.push_back(entry->id);
        }
    }
    return list;
}

ShownYears ShownYearsOf(CalendarId calendar) {
    const CalendarEntry& entry = Calendar(calendar);
    return {std::max(entry.minYear, FromJdn(calendar, FirstShown(entry)).year),
            std::min(entry.maxYear, FromJdn(calendar, LastShown(entry)).year)};
}

QStringList MonthNamesOfYear(CalendarId calendar, std::int64_t year, Language language) {
    const CalendarEntry& entry = Calendar(calendar);
    QStringList names;
    if (!YearShown(entry, year)) {
        return names;
    }
    const int months = entry.monthsInYear(year);
    for (int place = 1; place <= months; ++place) {
        names << MonthName(MonthAt({calendar, year, place}), language);
    }
    return names;
}

std::optional<MonthDays> DaysOfMonth(const CalendarMonth& month) {
    const CalendarEntry& entry = Calendar(month.calendar);
    if (!YearShown(entry, month.year) || month.place < 1 ||
        month.place > entry.monthsInYear(month.year)) {
        return std::nullopt;
    }
    CalendarDate date = MonthAt(month);
    const std::int64_t first = entry.toJdn(date);
    // The month's last day by its number: a month may lack days inside it (HIS, October 1582).
    date.day = entry.daysInMonth(date);
    const MonthDays days{first, entry.toJdn(date)};
    if (days.first < FirstShown(entry) || days.last > LastShown(entry)) {
        return std::nullopt;
    }
    return days;
}

CalendarMonth MonthOfDay(CalendarId calendar, std::int64_t jdn) {
    const CalendarDate date = FromJdn(calendar, jdn);
    const MonthArithmetic* order = Calendar(calendar).monthArithmetic;
    const int place =
        order != nullptr ? order->placeOf(date.year, date.month, date.leapMonth) : date.month;
    return {calendar, date.year, place};
}

// The month after is the one holding the day after the last; no counting of months or years.
std::optional<CalendarMonth> NextMonth(const CalendarMonth& month, bool forward) {
    const std::optional<MonthDays> days = DaysOfMonth(month);
    if (!days) {
        return std::nullopt;
    }
    const CalendarEntry& entry = Calendar(month.calendar);
    const std::int64_t next = forward ? days->last + 1 : days->first - 1;
    if (next < FirstShown(entry) || next > LastShown(entry)) {
        return std::nullopt;
    }
    const CalendarMonth result = MonthOfDay(month.calendar, next);
    if (!DaysOfMonth(result)) {
        return std::nullopt;  // a month cut by the end of the days shown
    }
    return result;
}

std::optional<CalendarMonthGrid> BuildCalendarMonthGrid(const CalendarMonth& month,
                                                        bool mondayFirst, Language language) {
    const std::optional<MonthDays> days = DaysOfMonth(month);
    if (!days) {
        return std::nullopt;
    }
    CalendarMonthGrid grid;
    grid.days = *days;
    grid.title = MonthName(MonthAt(month), language) + u' ' + QString::number(month.year) +
                 QStringLiteral(" (") + CalendarName(month.calendar, language) +
                 QStringLiteral(")\n") + CommonEraSpan(*days, language);

    const int firstDay = mondayFirst ? 1 : 0;
    // Each day name over the day numbers of its column.
    grid.text = QStringLiteral(" ");
    for (int column = 0; column < 7; ++column) {
        grid.text +=
            DayNameIn((firstDay + column) % 7, language).left(3).leftJustified(kCalendarCellWidth);
    }
    TrimRightWhite(grid.text);

    const int back = (DayOfWeek(static_cast<std::int32_t>(days->first)) - firstDay + 7) % 7;
    grid.weekStartJdn = days->first - back;
    grid.weekRowCount = static_cast<int>((days->last - grid.weekStartJdn) / 7 + 1);
    for (int row = 0; row < grid.weekRowCount; ++row) {
        QString line = QStringLiteral(" ");
        for (int column = 0; column < 7; ++column) {
            const std::int64_t jdn = grid.weekStartJdn + 7 * row + column;
            line += jdn < days->first || jdn > days->last
                        ? QString(kCalendarCellWidth, u' ')
                        : Cell(jdn, FromJdn(month.calendar, jdn).day, language)
                              .leftJustified(kCalendarCellWidth);
        }
        TrimRightWhite(line);
        grid.text += u'\n' + line;
    }
    return grid;
}

QString BuildCalendarMonthHolidays(CalendarId calendar, const MonthDays& days, Language language,
                                   const WorkdayCalendar& workdays) {
    if (workdays.holidays() == nullptr) {
        return {};
    }
    QStringList lines;
    for (std::int64_t jdn = days.first; jdn <= days.last; ++jdn) {
        const QStringList names = workdays.HolidayNames(jdn, language);
        if (!names.isEmpty()) {
            lines << Cell(jdn, FromJdn(calendar, jdn).day, language) + QStringLiteral("  ") +
                         names.join(QStringLiteral("; "));
        }
    }
    return lines.join(u'\n');
}

QString BuildCalendarMonthClipboardText(const CalendarMonthGrid& grid, const QString& holidays) {
    QString text = grid.title + QStringLiteral("\n\n") + grid.text;
    if (!holidays.isEmpty()) {
        text += QStringLiteral("\n\n") + holidays;
    }
    return text;
}

}  // namespace daybridge
