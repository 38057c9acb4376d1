#include "workdays/workday_calendar.h"

#include <algorithm>

#include "jdcore/day_count.h"
#include "workdays/holiday_count.h"

namespace daybridge {
namespace {

using jdcore::floor_div;
using jdcore::floor_mod;

// Stepping gives up beyond this many days from where it started: no working day is in reach.
constexpr std::int64_t kReach = std::int64_t{5000000000};
// Stepping also gives up after this many days without a working day.
constexpr std::int64_t kDryDays = 3 * 366;

constexpr const char* kDayNames[7] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                      "Friday", "Saturday", "Sunday"};

}  // namespace

std::optional<std::uint8_t> ParseDaySet(const QString& text) {
    const QString t = text.trimmed().toLower();
    std::uint8_t mask = 0;
    if (t.size() == 7 &&
        std::all_of(t.begin(), t.end(), [](QChar c) { return c == u'0' || c == u'1'; })) {
        for (int day = 0; day < 7; ++day) {
            mask |= static_cast<std::uint8_t>(t[day] == u'1' ? 1 << day : 0);
        }
    } else if (t != u"none") {
        const QStringList words = QString(t).replace(u',', u' ').split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty()) {
            return std::nullopt;
        }
        for (const QString& word : words) {
            int found = -1;
            for (int day = 0; day < 7; ++day) {
                const QString name = QString::fromLatin1(kDayNames[day]).toLower();
                if (word == name || (word.size() == 3 && name.startsWith(word))) {
                    found = day;
                }
            }
            if (found < 0) {
                return std::nullopt;
            }
            mask |= static_cast<std::uint8_t>(1 << found);
        }
    }
    return mask;
}

std::optional<std::uint8_t> ParseWeekend(const QString& text) {
    const std::optional<std::uint8_t> days = ParseDaySet(text);
    if (days == WorkdayCalendar::kAllDays) {
        return std::nullopt;  // no working day would be left
    }
    return days;
}

QString WeekendNames(std::uint8_t weekend) {
    QStringList names;
    for (int day = 0; day < 7; ++day) {
        if (((weekend >> day) & 1) != 0) {
            names << QString::fromLatin1(kDayNames[day]);
        }
    }
    return names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "));
}

WorkdayCalendar::WorkdayCalendar(std::uint8_t weekend, std::shared_ptr<const HolidaySet> holidays)
    : weekend_((weekend & kAllDays) == kAllDays ? kSaturdaySunday : weekend & kAllDays),
      holidays_(holidays != nullptr && !holidays->rules.empty() ? std::move(holidays) : nullptr) {
    for (int day = 0; day < 7; ++day) {
        before_[static_cast<std::size_t>(day)] = perWeek_;
        if (((weekend_ >> day) & 1) == 0) {
            position_[static_cast<std::size_t>(perWeek_++)] = day;
        }
    }
    before_[7] = perWeek_;
    if (holidays_ != nullptr) {
        counter_ = std::make_shared<HolidayCounter>(holidays_, weekend_);
    }
}

bool WorkdayCalendar::IsWeekendDay(std::int64_t jdn) const {
    return ((weekend_ >> floor_mod(jdn, 7)) & 1) != 0;
}

bool WorkdayCalendar::IsHoliday(std::int64_t jdn) const {
    if (counter_ == nullptr) {
        return false;
    }
    for (const HolidayDate& h : counter_->Between(jdn, jdn)) {
        if (!h.moved) {
            return true;
        }
    }
    return false;
}

bool WorkdayCalendar::IsWorkday(std::int64_t jdn) const {
    return !IsWeekendDay(jdn) && !IsHoliday(jdn);
}

QStringList WorkdayCalendar::HolidayNames(std::int64_t jdn) const {
    QStringList names;
    if (counter_ != nullptr) {
        for (const HolidayDate& h : counter_->Between(jdn, jdn)) {
            const QString& name = holidays_->rules[static_cast<std::size_t>(h.rule)].name;
            names << (h.observed ? name + QStringLiteral(" (observed)") : name);
        }
    }
    return names;
}

std::int64_t WorkdayCalendar::NotWeekendBefore(std::int64_t jdn) const {
    const std::int64_t weeks = floor_div(jdn, 7);
    return perWeek_ * weeks + before_[static_cast<std::size_t>(jdn - 7 * weeks)];
}

std::int64_t WorkdayCalendar::NotWeekendAt(std::int64_t index) const {
    const std::int64_t weeks = floor_div(index, perWeek_);
    return 7 * weeks + position_[static_cast<std::size_t>(index - perWeek_ * weeks)];
}

std::int64_t WorkdayCalendar::HolidayWorkdaysIn(std::int64_t from, std::int64_t to) const {
    return counter_ == nullptr ? 0 : counter_->WorkdayHolidaysIn(from, to);
}

std::int64_t WorkdayCalendar::WorkdaysIn(std::int64_t from, std::int64_t to) const {
    if (to <= from) {
        return 0;
    }
    return NotWeekendBefore(to) - NotWeekendBefore(from) - HolidayWorkdaysIn(from, to);
}

// The n-th (n >= 1) working day at or after `from`: the n-th non-weekend day, then as many
// more as there were holidays among those, until a stretch holds none. A stretch of more than
// kDryDays without any working day ends the search (a holiday set can cover whole years).
std::int64_t WorkdayCalendar::NthWorkdayFrom(std::int64_t from, std::int64_t n) const {
    std::int64_t start = from;
    std::int64_t lastFound = from;
    while (start - from < kReach) {
        const std::int64_t day = NotWeekendAt(NotWeekendBefore(start) + n - 1);
        const std::int64_t holidays = HolidayWorkdaysIn(start, day + 1);
        if (holidays == 0) {
            return day;
        }
        if (holidays < n) {
            lastFound = day;
        } else if (day - lastFound > kDryDays) {
            break;
        }
        n = holidays;
        start = day + 1;
    }
    return kNoDate;
}

// The n-th (n >= 1) working day before `before`, counting backwards.
std::int64_t WorkdayCalendar::NthWorkdayBefore(std::int64_t before, std::int64_t n) const {
    std::int64_t end = before;
    std::int64_t lastFound = before;
    while (before - end < kReach) {
        const std::int64_t day = NotWeekendAt(NotWeekendBefore(end) - n);
        const std::int64_t holidays = HolidayWorkdaysIn(day, end);
        if (holidays == 0) {
            return day;
        }
        if (holidays < n) {
            lastFound = day;
        } else if (lastFound - day > kDryDays) {
            break;
        }
        n = holidays;
        end = day;
    }
    return -kNoDate;
}

std::int64_t WorkdayCalendar::Count(std::int64_t first, std::int64_t second,
                                    bool includeFirst) const {
    if (second >= first) {
        return WorkdaysIn(includeFirst ? first : first + 1, second + 1);
    }
    return -WorkdaysIn(second, includeFirst ? first + 1 : first);
}

std::int64_t WorkdayCalendar::StepFromFirst(std::int64_t first, std::int64_t difference,
                                            bool includeFirst) const {
    if (difference == 0) {
        return first;
    }
    if (difference > 0) {
        // The dates counting `difference` run from this working day to the next one.
        return NthWorkdayFrom(includeFirst ? first : first + 1, difference);
    }
    // Backwards they run from the day after a working day up to it; it is the one taken.
    const std::int64_t day = NthWorkdayBefore(includeFirst ? first + 1 : first, -difference);
    if (day < first) {
        return day;
    }
    // Only with include-first from a working day and -1: the day just before, if it counts so.
    return Count(first, first - 1, includeFirst) == difference ? first - 1 : first;
}

std::int64_t WorkdayCalendar::StepFromSecond(std::int64_t second, std::int64_t difference,
                                             bool includeFirst) const {
    if (difference == 0) {
        return second;
    }
    if (difference > 0) {
        // First dates before the second: the working day that begins the dates with this count.
        return NthWorkdayBefore(second + 1, includeFirst ? difference : difference + 1);
    }
    const std::int64_t day = NthWorkdayFrom(second, includeFirst ? -difference : 1 - difference);
    if (day > second) {
        return day;
    }
    // Only with include-first to a working day and -1: the day just after, if it counts so.
    return Count(second + 1, second, includeFirst) == difference ? second + 1 : second;
}

}  // namespace daybridge
