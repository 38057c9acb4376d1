#include "workdays/workday_calendar.h"

#include <algorithm>
#include <vector>

#include "jdcore/day_count.h"
#include "workdays/holiday_count.h"

namespace daybridge {
namespace {

using jdcore::floor_div;
using jdcore::floor_mod;

// Stepping looks for working days up to this far from day 0, just beyond every day number
// the program shows.
constexpr std::int64_t kSearchEnd = std::int64_t{1} << 31;
// Stepping by the weekend and then by the holidays found converges in a round or two; more
// rounds mean a long stretch of holidays, which a search by counting crosses faster.
constexpr int kQuickRounds = 6;
// Sets counted year by year are searched for a working day this many years after each year
// where their rules change (and after 2000); the whole day range would take hours.
constexpr std::int64_t kYearsLookedAt = 2000;

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

std::int64_t WorkdayCalendar::WeekPart::Before(std::int64_t jdn) const {
    const std::int64_t weeks = floor_div(jdn, 7);
    return offset + perWeek * weeks + before[static_cast<std::size_t>(jdn - 7 * weeks)];
}

std::int64_t WorkdayCalendar::WeekPart::At(std::int64_t index) const {
    const std::int64_t k = index - offset;
    const std::int64_t weeks = floor_div(k, perWeek);
    return 7 * weeks + position[static_cast<std::size_t>(k - perWeek * weeks)];
}

WorkdayCalendar::WorkdayCalendar(std::uint8_t weekend, std::shared_ptr<const HolidaySet> holidays,
                                 HolidaySelection selection)
    : weekend_((weekend & kAllDays) == kAllDays ? kSaturdaySunday : weekend & kAllDays),
      selection_(selection),
      holidays_(holidays != nullptr && !holidays->IsEmpty() ? std::move(holidays) : nullptr) {
    const WeekendSchedule schedule = holidays_ != nullptr
                                         ? WeekendSchedule(weekend_, holidays_->weekends)
                                         : WeekendSchedule(weekend_);
    for (const WeekendSpan& span : schedule.spans) {
        WeekPart part;
        part.first = span.first;
        part.days = span.days;
        for (int day = 0; day < 7; ++day) {
            part.before[static_cast<std::size_t>(day)] = part.perWeek;
            if (((span.days >> day) & 1) == 0) {
                part.position[static_cast<std::size_t>(part.perWeek++)] = day;
            }
        }
        part.before[7] = part.perWeek;
        if (!parts_.empty()) {
            // The same count of days before the part's first day by either part's rule.
            part.startIndex = parts_.back().Before(part.first);
            part.offset = part.startIndex - (part.Before(part.first) - part.offset);
        }
        fewestPerWeek_ = std::min(fewestPerWeek_, part.perWeek);
        parts_.push_back(part);
    }
    if (holidays_ == nullptr) {
        return;
    }
    // Only the rules that count take part.
    const std::uint8_t categories = CountedCategories();
    auto counted = std::make_shared<HolidaySet>(*holidays_);
    std::erase_if(counted->rules, [&](const HolidayRule& rule) {
        return (rule.category & categories) == 0 || (rule.half && !selection_.halfDays);
    });
    counted_ = std::move(counted);
    if (!counted_->rules.empty() || !counted_->workdays.empty()) {
        counter_ = std::make_shared<HolidayCounter>(counted_, schedule);
    }
}

std::uint8_t WorkdayCalendar::CountedCategories() const {
    return selection_.categories.value_or(holidays_ != nullptr ? holidays_->info.counts
                                                               : kDefaultCounts);
}

std::uint8_t WorkdayCalendar::WeekendAt(std::int64_t jdn) const {
    if (parts_.size() == 1) {
        return parts_.front().days;
    }
    const auto it =
        std::upper_bound(parts_.begin() + 1, parts_.end(), jdn,
                         [](std::int64_t day, const WeekPart& p) { return day < p.first; });
    return (it - 1)->days;
}

bool WorkdayCalendar::IsWeekendDay(std::int64_t jdn) const {
    return ((WeekendAt(jdn) >> floor_mod(jdn, 7)) & 1) != 0;
}

bool WorkdayCalendar::IsHoliday(std::int64_t jdn) const {
    return counter_ != nullptr && counter_->IsHoliday(jdn);
}

bool WorkdayCalendar::IsWorkday(std::int64_t jdn) const {
    if (counter_ != nullptr && counter_->IsExtraWorkday(jdn)) {
        return true;
    }
    return !IsWeekendDay(jdn) && !IsHoliday(jdn);
}

std::vector<WorkdayCalendar::Listed> WorkdayCalendar::HolidaysBetween(std::int64_t from,
                                                                      std::int64_t to) const {
    std::vector<Listed> out;
    if (counter_ != nullptr) {
        for (const HolidayDate& h : counter_->Between(from, to)) {
            out.push_back({h.jdn, &counted_->rules[static_cast<std::size_t>(h.rule)], h.moved,
                           h.observed, h.substitute});
        }
    }
    return out;
}

QStringList WorkdayCalendar::HolidayNames(std::int64_t jdn, Language language) const {
    QStringList names;
    for (const Listed& h : HolidaysBetween(jdn, jdn)) {
        const QString& name = h.rule->Name(language);
        // By language number.
        static constexpr std::array<const char*, 3> kObserved = {" (observed)", " (verlegt)",
                                                                 " (reporté)"};
        static constexpr std::array<const char*, 3> kSubstitute = {" (substitute)", " (Ersatztag)",
                                                                   " (jour de remplacement)"};
        const auto row = static_cast<std::size_t>(LanguageNumber(language));
        if (h.observed) {
            names << name + QString::fromUtf8(kObserved[row]);
        } else if (h.substitute) {
            names << name + QString::fromUtf8(kSubstitute[row]);
        } else {
            names << name;
        }
    }
    return names;
}

std::int64_t WorkdayCalendar::NotWeekendBefore(std::int64_t jdn) const {
    if (parts_.size() == 1) {
        return parts_.front().Before(jdn);
    }
    const auto it =
        std::upper_bound(parts_.begin() + 1, parts_.end(), jdn,
                         [](std::int64_t day, const WeekPart& p) { return day < p.first; });
    return (it - 1)->Before(jdn);
}

std::int64_t WorkdayCalendar::NotWeekendAt(std::int64_t index) const {
    if (parts_.size() == 1) {
        return parts_.front().At(index);
    }
    const auto it =
        std::upper_bound(parts_.begin() + 1, parts_.end(), index,
                         [](std::int64_t i, const WeekPart& p) { return i < p.startIndex; });
    return (it - 1)->At(index);
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

bool WorkdayCalendar::HasWorkday() const {
    if (counter_ == nullptr || counter_->MostHolidaysInAYear() < 52 * fewestPerWeek_) {
        return true;  // more non-weekend days in every year than holidays
    }
    const std::vector<std::int64_t> years = counter_->SampleYears();
    const auto start = [](std::int64_t year) { return jdcore::jdn_from_gregorian(year, 1, 1); };
    for (const std::int64_t y : years) {
        if (WorkdaysIn(start(y), start(y + 1)) > 0) {
            return true;
        }
    }
    if (!counter_->CountsYearByYear()) {
        return WorkdaysIn(-kSearchEnd, kSearchEnd) > 0;
    }
    return std::any_of(years.begin(), years.end(), [&](std::int64_t y) {
        return WorkdaysIn(start(y), start(y + kYearsLookedAt)) > 0;
    });
}

// The n-th (n >= 1) working day at or after `from`: the n-th non-weekend day, then as many
// more as there were holidays among those, until a stretch holds none.
std::int64_t WorkdayCalendar::NthWorkdayFrom(std::int64_t from, std::int64_t n) const {
    std::int64_t start = from;
    for (int round = 0; round < kQuickRounds; ++round) {
        const std::int64_t day = NotWeekendAt(NotWeekendBefore(start) + n - 1);
        if (day > kSearchEnd) {
            return kNoDate;  // holidays only take it further
        }
        const std::int64_t holidays = HolidayWorkdaysIn(start, day + 1);
        if (holidays == 0) {
            return day;
        }
        n = holidays;
        start = day + 1;
    }
    return SearchForward(start, n);
}

// The n-th (n >= 1) working day before `before`, counting backwards.
std::int64_t WorkdayCalendar::NthWorkdayBefore(std::int64_t before, std::int64_t n) const {
    std::int64_t end = before;
    for (int round = 0; round < kQuickRounds; ++round) {
        const std::int64_t day = NotWeekendAt(NotWeekendBefore(end) - n);
        if (day < -kSearchEnd) {
            return -kNoDate;
        }
        const std::int64_t holidays = HolidayWorkdaysIn(day, end);
        if (holidays == 0) {
            return day;
        }
        n = holidays;
        end = day;
    }
    return SearchBackward(end, n);
}

// The first day d at or after `from` with n working days in [from, d]: spans doubling in length
// until one holds n, then halving. Each count covers only the days not counted yet, so sets
// counted year by year take time in proportion to the distance.
std::int64_t WorkdayCalendar::SearchForward(std::int64_t from, std::int64_t n) const {
    std::int64_t lo = from - 1;  // the days [from, lo] hold `below` (< n) working days
    std::int64_t below = 0;
    std::int64_t hi = lo;
    std::int64_t step = std::max<std::int64_t>(n, 64);
    for (;;) {
        if (lo >= kSearchEnd) {
            return kNoDate;
        }
        hi = std::min(lo + step, kSearchEnd);
        const std::int64_t more = WorkdaysIn(lo + 1, hi + 1);
        if (below + more >= n) {
            break;
        }
        lo = hi;
        below += more;
        step *= 2;
    }
    while (hi - lo > 1) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        const std::int64_t more = WorkdaysIn(lo + 1, mid + 1);
        if (below + more >= n) {
            hi = mid;
        } else {
            lo = mid;
            below += more;
        }
    }
    return hi;
}

// The last day d before `before` with n working days in [d, before).
std::int64_t WorkdayCalendar::SearchBackward(std::int64_t before, std::int64_t n) const {
    std::int64_t hi = before;  // the days [hi, before) hold `above` (< n) working days
    std::int64_t above = 0;
    std::int64_t lo = hi;
    std::int64_t step = std::max<std::int64_t>(n, 64);
    for (;;) {
        if (hi <= -kSearchEnd) {
            return -kNoDate;
        }
        lo = std::max(hi - step, -kSearchEnd);
        const std::int64_t more = WorkdaysIn(lo, hi);
        if (above + more >= n) {
            break;
        }
        hi = lo;
        above += more;
        step *= 2;
    }
    while (hi - lo > 1) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        const std::int64_t more = WorkdaysIn(mid, hi);
        if (above + more >= n) {
            lo = mid;
        } else {
            hi = mid;
            above += more;
        }
    }
    return lo;
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
    // Forwards the dates counting `difference` run from a working day to the next one;
    // backwards from the day after one up to it. The working day is the one taken; with
    // include-first and a working first date, +-1 is that date.
    return difference > 0 ? NthWorkdayFrom(includeFirst ? first : first + 1, difference)
                          : NthWorkdayBefore(includeFirst ? first + 1 : first, -difference);
}

std::int64_t WorkdayCalendar::StepFromSecond(std::int64_t second, std::int64_t difference,
                                             bool includeFirst) const {
    if (difference == 0) {
        return second;
    }
    // The first date that begins the dates with this count: the working day among them.
    return difference > 0 ? NthWorkdayBefore(second + 1, includeFirst ? difference : difference + 1)
                          : NthWorkdayFrom(second, includeFirst ? -difference : 1 - difference);
}

}  // namespace daybridge
