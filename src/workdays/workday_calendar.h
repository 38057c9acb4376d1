// The working-day calendar: which days count when weekend days are not counted. A weekend set
// (any days of the week but not all seven) and a holiday set; the default, Saturday and Sunday
// with no holidays, is the plain weekday rule.
//
// Counting, in both directions: the working days strictly after the first date towards the
// second, up to and including the second; with include-first the first date too when it is a
// working day. The sign is the direction from the first date to the second (the same date
// counts +1 when it is counted). A stepped date is the working day whose count from the known
// date is exactly the difference (there is one, however far, if any working day lies in that
// direction); with include-first a difference of +1 or -1 from or to a working day gives that
// day itself, the one-day span, and from or to another day the nearest working day in the
// difference's direction.
//
// Counting and stepping take time independent of the span for the weekend alone; holidays are
// counted by whole years in closed form where the rule set allows it (see holiday_count.h), and
// stepping over long stretches without a working day searches by counting.
// Values are 64-bit; results beyond the day range are the caller's to refuse.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "workdays/holiday_rules.h"

namespace daybridge {

class HolidayCounter;

// A weekend set written as a 7-character mask, Monday first ("0000011" is Saturday and
// Sunday), or as day names or their first three letters separated by blanks or commas
// ("sat sun", "Fri,Sat"), or "none". Nothing for any other text and for all seven days.
std::optional<std::uint8_t> ParseWeekend(const QString& text);
// The days such a text names, all seven allowed: tells a text that is no weekend set from one
// that leaves no working day.
std::optional<std::uint8_t> ParseDaySet(const QString& text);

// Which of a set's holidays count: its categories (none given: the set's @counts) and whether
// half days count as holidays (by default they are working days).
struct HolidaySelection {
    std::optional<std::uint8_t> categories;
    bool halfDays = false;
    bool operator==(const HolidaySelection&) const = default;
};

class WorkdayCalendar {
  public:
    // Weekend days as a bit set, bit 0 Monday .. bit 6 Sunday.
    static constexpr std::uint8_t kSaturdaySunday = 0x60;
    static constexpr std::uint8_t kAllDays = 0x7f;

    WorkdayCalendar() : WorkdayCalendar(kSaturdaySunday, nullptr) {}

    // The same days: the same weekend, the same holiday set (the same rules read once) and
    // the same choice of what counts.
    bool operator==(const WorkdayCalendar& other) const {
        return weekend_ == other.weekend_ && holidays_ == other.holidays_ &&
               selection_ == other.selection_;
    }
    // `weekend` must not be kAllDays (it is taken as the default then). The set's `weekend`
    // lines override `weekend` on the days they cover.
    WorkdayCalendar(std::uint8_t weekend, std::shared_ptr<const HolidaySet> holidays,
                    HolidaySelection selection = {});

    std::uint8_t weekend() const { return weekend_; }
    const HolidaySet* holidays() const { return holidays_.get(); }
    const std::shared_ptr<const HolidaySet>& holidaySet() const { return holidays_; }
    const HolidaySelection& selection() const { return selection_; }
    // The categories that count: the selection's, or the set's @counts.
    std::uint8_t CountedCategories() const;
    bool IsDefault() const { return weekend_ == kSaturdaySunday && holidays_ == nullptr; }

    bool IsWeekendDay(std::int64_t jdn) const;
    bool IsHoliday(std::int64_t jdn) const;  // observed there, on any day of the week
    bool IsWorkday(std::int64_t jdn) const;
    // Names of the holidays on a day (in English, or German with language 1); a holiday moved
    // away from its day is named on both days, with "(observed)" on the day it moved to, and a
    // substitute day with "(substitute)".
    QStringList HolidayNames(std::int64_t jdn, Language language = kEnglish) const;
    // The holidays that count in [from, to] (a short span), in order, with their rules.
    struct Listed {
        std::int64_t jdn;
        const HolidayRule* rule;
        bool moved, observed, substitute;
    };
    std::vector<Listed> HolidaysBetween(std::int64_t from, std::int64_t to) const;

    // Working days in [from, to); 0 when to <= from.
    std::int64_t WorkdaysIn(std::int64_t from, std::int64_t to) const;

    std::int64_t Count(std::int64_t first, std::int64_t second, bool includeFirst) const;
    // The second date from the first and the difference.
    std::int64_t StepFromFirst(std::int64_t first, std::int64_t difference,
                               bool includeFirst) const;
    // The first date from the second and the difference.
    std::int64_t StepFromSecond(std::int64_t second, std::int64_t difference,
                                bool includeFirst) const;

    // Whether any day is a working day (a holiday set can cover every day of some weekend sets).
    bool HasWorkday() const;

    // What stepping returns when no working day lies in the difference's direction within the
    // day range: far outside every day range.
    static constexpr std::int64_t kNoDate = std::int64_t{1} << 40;

  private:
    std::int64_t NotWeekendBefore(std::int64_t jdn) const;  // non-weekend days in [0, jdn)
    std::int64_t NotWeekendAt(std::int64_t index) const;    // inverse of NotWeekendBefore
    std::uint8_t WeekendAt(std::int64_t jdn) const;
    std::int64_t HolidayWorkdaysIn(std::int64_t from, std::int64_t to) const;
    std::int64_t NthWorkdayFrom(std::int64_t from, std::int64_t n) const;      // at or after
    std::int64_t NthWorkdayBefore(std::int64_t before, std::int64_t n) const;  // strictly
    std::int64_t SearchForward(std::int64_t from, std::int64_t n) const;
    std::int64_t SearchBackward(std::int64_t before, std::int64_t n) const;

    // One weekend of the schedule, from its first day on: the non-weekend days before a day
    // are offset + perWeek * weeks + before[day of the week].
    struct WeekPart {
        std::int64_t first = 0;
        std::uint8_t days = 0;
        int perWeek = 0;                // non-weekend days in a week
        std::array<int, 8> before{};    // non-weekend days among the first i days of a week
        std::array<int, 7> position{};  // day of the week of the i-th non-weekend day
        std::int64_t offset = 0;
        std::int64_t startIndex = 0;  // non-weekend days before `first`
        std::int64_t Before(std::int64_t jdn) const;
        std::int64_t At(std::int64_t index) const;
    };

    std::uint8_t weekend_;
    HolidaySelection selection_;
    std::vector<WeekPart> parts_;  // in order; the first from the far past
    int fewestPerWeek_ = 7;
    std::shared_ptr<const HolidaySet> holidays_;
    std::shared_ptr<const HolidaySet> counted_;  // the rules that count
    std::shared_ptr<HolidayCounter> counter_;    // built with the set, its tables lazily
};

}  // namespace daybridge
