// The holidays of a rule set under a weekend set: their dates in a span (with the observed
// shifts), and the number of them that fall on non-weekend days in a span.
//
// Long spans are counted by whole Gregorian years. Where every rule is Gregorian (fixed days,
// weekdays of months, single dates, Western Easter), a year's count depends only on the date of
// its Easter and whether it is a leap year, apart from the few years next to a rule's first or
// last year: the count of a run of years is then a sum over those 70 kinds of year, read from
// a table of how many years of each kind lie before each block of the 5,700,000-year Easter
// cycle (built once, lazily, about 7 MB, shared by every set), plus the years at the ends.
// Sets with Julian or Orthodox rules but no Western Easter repeat, rules without bounds,
// after 1,351,835,541 days (the least common multiple of 400 Gregorian years and the 532-year
// Julian Easter cycle, a whole number of weeks): long spans are counted from a table of the
// counts before each block of that period, built once per set of active rules on first use
// (some seconds, under 2 MiB), and directly near every day where the active rules change.
// Sets with both Western Easter and Julian or Orthodox rules are counted year by year; their
// spans should stay within some thousands of years.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "workdays/holiday_rules.h"

namespace daybridge {

struct HolidayDate {
    std::int64_t jdn;
    int rule;       // index into the set's rules
    bool moved;     // the rule's own day, from which it moved away (not a holiday there)
    bool observed;  // the day it moved to
};

class HolidayCounter {
  public:
    HolidayCounter(std::shared_ptr<const HolidaySet> set, std::uint8_t weekend);

    // Every holiday date in [from, to], sorted by date.
    std::vector<HolidayDate> Between(std::int64_t from, std::int64_t to) const;

    // Distinct holiday days in [from, to) that are not weekend days.
    std::int64_t WorkdayHolidaysIn(std::int64_t from, std::int64_t to) const;

  private:
    struct Segment {
        std::int64_t firstYear;  // the years [firstYear, endYear) have the same active rules
        std::int64_t endYear;
        HolidaySet active;                    // those rules, unbounded
        std::vector<std::int64_t> kindCount;  // per kind of year, filled lazily
    };

    // One set of active rules (unbounded) of a periodic set, and its table.
    struct PeriodTable {
        HolidaySet open;
        mutable std::once_flag built;
        mutable std::vector<std::int64_t> before;  // count in [0, k * block), k = 0 .. blocks
    };

    void FindStretches();
    std::int64_t CountDirect(std::int64_t from, std::int64_t to) const;
    std::int64_t PeriodicCount(std::int64_t from, std::int64_t to) const;
    std::int64_t PeriodPrefix(const PeriodTable& table, std::int64_t day) const;
    std::vector<std::int64_t> YearDays(std::int64_t year) const;
    std::int64_t YearsCount(std::int64_t firstYear, std::int64_t endYear) const;
    void BuildKinds() const;

    std::shared_ptr<const HolidaySet> set_;
    std::uint8_t weekend_;
    bool gregorianOnly_ = true;
    std::vector<std::int64_t> specialYears_;  // sorted: years next to a change of active rules
    // Periodic sets: the days where the active rules may change (sorted), and for each stretch
    // between them (one more than the days) its table.
    bool periodic_ = false;
    std::vector<std::int64_t> changes_;
    std::vector<std::shared_ptr<const PeriodTable>> stretchTable_;
    std::int64_t block_ = 0;  // days per block of the period tables
    mutable std::once_flag kindsBuilt_;
    mutable std::vector<Segment> segments_;
    mutable std::vector<std::int64_t> specialCorrection_;  // per special year: own - kind's

    static constexpr std::int64_t kCachedYears = 8;
    struct CachedYear {
        bool valid = false;
        std::int64_t year = 0;
        std::vector<std::int64_t> days;
    };
    mutable std::mutex cacheMutex_;
    mutable std::array<CachedYear, kCachedYears> cache_;
};

}  // namespace daybridge
