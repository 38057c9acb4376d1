#include "compute/presentation.h"
#include "app/texts.h"

#include <QFileInfo>
#include <QStringList>

#include "calendar/iso_ordinal.h"
#include "datetext/date_format.h"
#include "jdcore/jdcore.h"

namespace daybridge {
namespace {

// The calendar field the day count of the calendar library expects: 0 counts in the
// Gregorian calendar, 'J' in the Julian, 'A' in the Annus Novus.
std::int32_t ElapsedCalendar(const DateRecord& record) {
    if (record.calendar == 'J' || record.calendar == 'A') {
        return record.calendar;
    }
    return 0;
}

// The months of a year in the record's calendar (10 in Annus Novus, 12 in CE and JC).
int MonthsPerYear(const DateRecord& record) {
    const std::optional<CalendarId> calendar = CalendarOfRecordLetter(record.calendar);
    return Calendar(calendar.value_or(kDefaultCalendar)).monthsInYear(record.year);
}

DateRecord FirstOfMonth(std::int32_t year, std::int32_t month, std::int32_t calendar) {
    DateRecord record{};
    record.year = year;
    record.month = month;
    record.day = 1;
    record.calendar = calendar;
    return record;
}

// Days from the first of the record's month to the first of the next month.
std::int32_t MonthLength(const DateRecord& record, std::int32_t& status) {
    const std::int32_t calendar = ElapsedCalendar(record);
    const DateRecord start = FirstOfMonth(record.year, record.month, calendar);
    const DateRecord next = record.month >= MonthsPerYear(record)
                                ? FirstOfMonth(record.year + 1, 1, calendar)
                                : FirstOfMonth(record.year, record.month + 1, calendar);
    std::int32_t callStatus = 0;
    const std::int32_t days = jdcore::days_elapsed(next, start, callStatus);
    if (callStatus != 0) {
        status = callStatus;
    }
    return days;
}

std::int32_t YearLength(const DateRecord& record, std::int32_t& status) {
    const std::int32_t calendar = ElapsedCalendar(record);
    std::int32_t callStatus = 0;
    const std::int32_t days =
        jdcore::days_elapsed(FirstOfMonth(record.year + 1, 1, calendar),
                             FirstOfMonth(record.year, 1, calendar), callStatus);
    if (callStatus != 0) {
        status = callStatus;
    }
    return days;
}

// The record of the month before the given one in the same calendar.
DateRecord MonthBefore(std::int32_t year, std::int32_t month, const DateRecord& like) {
    DateRecord record = like;
    record.day = 1;
    if (month <= 1) {
        record.year = year - 1;
        record.month = MonthsPerYear(like);
    } else {
        record.year = year;
        record.month = month - 1;
    }
    return record;
}

QString UnitText(std::int64_t count, Caption one, Caption many, Language language) {
    QString word = Text(language, count == 1 ? one : many);
    if (language != kGerman) {
        word = word.toLower();
    }
    return QString::number(count) + QLatin1Char(' ') + word;
}

}  // namespace

QString CanonicalDateText(const AppState& state, CalendarId calendar, std::int32_t jdn) {
    return CanonicalDateText(calendar, jdn, state.CurrentFormat());
}

std::int16_t DaysInMonth(const DateRecord& record) {
    std::int32_t status = 0;
    return static_cast<std::int16_t>(MonthLength(record, status));
}

std::int16_t DaysInYear(const DateRecord& record) {
    std::int32_t status = 0;
    return static_cast<std::int16_t>(YearLength(record, status));
}

DifferenceParts DifferenceInYearsMonthsDays(const DateRecord& first, const DateRecord& second) {
    DifferenceParts parts;
    std::int64_t years = static_cast<std::int64_t>(second.year) - first.year;
    if (second.month < first.month || (second.month == first.month && second.day < first.day)) {
        --years;
    }
    std::int64_t months = second.month - first.month - (second.day < first.day ? 1 : 0);
    if (months < 0) {
        months += MonthsPerYear(first);
    }
    std::int64_t days = static_cast<std::int64_t>(second.day) - first.day;
    if (days < 0) {
        const DateRecord borrowed = MonthBefore(second.year, second.month, second);
        days += MonthLength(borrowed, parts.status);
        if (days < 0) {
            // The month before was shorter than the first date's day: borrow the month before
            // that one as well.
            days += MonthLength(MonthBefore(borrowed.year, borrowed.month, second), parts.status);
            if (--months < 0) {
                months += MonthsPerYear(first);
                --years;
            }
        }
    }
    if (years < 0 && parts.status == 0) {
        parts.status = -1;
    }
    parts.years = static_cast<std::int32_t>(years);
    parts.monthsOrWeeks = static_cast<std::int16_t>(months);
    parts.days = static_cast<std::int16_t>(days);
    return parts;
}

DifferenceParts DifferenceInYearsWeeksDays(const IsoWeekRecord& first,
                                           const IsoWeekRecord& second) {
    DifferenceParts parts;
    std::int64_t years = static_cast<std::int64_t>(second.year) - first.year;
    std::int64_t weeks = second.week - first.week;
    std::int64_t days = second.weekday - first.weekday;
    if (weeks >= 0 && days >= 0) {
        parts.years = static_cast<std::int32_t>(years);
        parts.monthsOrWeeks = static_cast<std::int16_t>(weeks);
        parts.days = static_cast<std::int16_t>(days);
        return parts;
    }
    if (weeks > 0 && days < 0) {
        --weeks;
        days += 7;
    } else {
        // Borrow the year before the second date's: its weeks are the ones the span crosses.
        --years;
        const std::int64_t weeksInYear =
            HasWeek53(static_cast<std::int64_t>(second.year) - 1) ? 53 : 52;
        weeks = weeksInYear - first.week + second.week - (days < 0 ? 1 : 0);
        if (days < 0) {
            days += 7;
        }
        if (weeks < 0 && years > 0) {
            // A first date in week 53 whose anniversary year has 52 weeks: its week 53 is week
            // 1 of the next year, past the second date, so one year less.
            --years;
            weeks += HasWeek53(static_cast<std::int64_t>(second.year) - 2) ? 53 : 52;
        }
    }
    if (years < 0 || weeks < 0 || days < 0) {
        parts.status = -1;
    }
    parts.years = static_cast<std::int32_t>(years);
    parts.monthsOrWeeks = static_cast<std::int16_t>(weeks);
    parts.days = static_cast<std::int16_t>(days);
    return parts;
}

DifferenceParts DifferenceInYearsDays(const DateRecord& first, const DateRecord& second) {
    DifferenceParts parts;
    std::int64_t years = static_cast<std::int64_t>(second.year) - first.year;
    std::int64_t days = static_cast<std::int64_t>(DayOfYear(second)) - DayOfYear(first);
    if (days < 0) {
        --years;
        DateRecord before = second;
        before.year = second.year - 1;
        before.month = 1;
        before.day = 1;
        days += YearLength(before, parts.status);
    }
    if (years < 0 && parts.status == 0) {
        parts.status = -1;
    }
    parts.years = static_cast<std::int32_t>(years);
    parts.days = static_cast<std::int16_t>(days);
    return parts;
}

std::optional<DifferenceParts> BreakdownOf(CalendarId calendar, std::int32_t firstJdn,
                                           std::int32_t secondJdn) {
    if (firstJdn > secondJdn) {
        return std::nullopt;
    }
    DifferenceParts parts;
    const CalendarEntry& entry = Calendar(calendar);
    switch (entry.breakdown) {
        case Breakdown::YearsMonthsDays:
        case Breakdown::YearsDays: {
            // The records of the calendar library: CE (also for ordinal dates) or JC.
            const char letter = entry.recordLetter;
            DateRecord first = CivilOfJdn(firstJdn, letter);
            DateRecord second = CivilOfJdn(secondJdn, letter);
            first.calendar = letter;
            second.calendar = letter;
            parts = entry.breakdown == Breakdown::YearsMonthsDays
                        ? DifferenceInYearsMonthsDays(first, second)
                        : DifferenceInYearsDays(first, second);
            break;
        }
        case Breakdown::YearsWeeksDays: {
            IsoWeekRecord first;
            first.jdn = firstJdn;
            JdnToIsoWeek(first);
            IsoWeekRecord second;
            second.jdn = secondJdn;
            JdnToIsoWeek(second);
            parts = DifferenceInYearsWeeksDays(first, second);
            break;
        }
        case Breakdown::None:
            return std::nullopt;
    }
    if (parts.status != 0) {
        return std::nullopt;
    }
    return parts;
}

QString BreakdownText(CalendarId calendar, const DifferenceParts& parts, Language language) {
    const Breakdown breakdown = Calendar(calendar).breakdown;
    QStringList shown;
    if (parts.years != 0) {
        shown << UnitText(parts.years, Caption::Year, Caption::Years, language);
    }
    if (parts.monthsOrWeeks != 0) {
        if (breakdown == Breakdown::YearsMonthsDays) {
            shown << UnitText(parts.monthsOrWeeks, Caption::Month, Caption::Months, language);
        } else if (breakdown == Breakdown::YearsWeeksDays) {
            shown << UnitText(parts.monthsOrWeeks, Caption::Week, Caption::Weeks, language);
        }
    }
    if (parts.days != 0) {
        shown << UnitText(parts.days, Caption::Day, Caption::Days, language);
    }
    return shown.join(QStringLiteral(", "));
}

QString BreakdownText(CalendarId calendar, std::int32_t firstJdn, std::int32_t secondJdn,
                      Language language) {
    const std::optional<DifferenceParts> parts = BreakdownOf(calendar, firstJdn, secondJdn);
    return parts ? BreakdownText(calendar, *parts, language) : QString();
}

QString HolidaySetDisplayName(const HolidaySet& set) {
    return QFileInfo(set.name).fileName();
}

QString WorkdayQualifier(const WorkdayCalendar& workdays, Language language) {
    const bool namedWeekend = workdays.weekend() != WorkdayCalendar::kSaturdaySunday;
    const HolidaySet* holidays = workdays.holidays();
    if (!namedWeekend && holidays == nullptr) {
        return Text(language, Caption::NotCountingWeekendDays);
    }
    QStringList days;
    for (int day = 0; day < 7; ++day) {  // bit 0 is Monday
        if (((workdays.weekend() >> day) & 1) != 0) {
            days << DayNameIn((day + 1) % 7, language).left(language == kGerman ? 2 : 3);
        }
    }
    const QString weekend =
        days.isEmpty() ? Text(language, Caption::NoWeekendDays) : days.join(QStringLiteral(", "));
    if (holidays == nullptr) {
        return Text(language, Caption::QualifierWeekendNamed).arg(weekend);
    }
    const QString set = HolidaySetDisplayName(*holidays);
    if (days.isEmpty()) {
        return Text(language, Caption::QualifierHolidaysOnly).arg(set);
    }
    if (!namedWeekend) {
        return Text(language, Caption::QualifierHolidays).arg(set);
    }
    return Text(language, Caption::QualifierWeekendNamedHolidays).arg(weekend, set);
}

}  // namespace daybridge
