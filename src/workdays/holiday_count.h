// The holidays of a rule set under a weekend set: their dates on given days (with the observed
// shifts), and the number of them that fall on non-weekend days in a span.
//
// The observed shifts are worked out for each Gregorian year on its own, from the holidays of
// that year and of the kObservedMargin days before and after it (Western Easter holidays: those
// of the year only). Every question about a day is answered from its year's working-out, so the
// holiday days, their names and every count agree for any set of rules, however far holidays
// move.
//
// Long spans are counted by whole years. The years where the rules in force change (a rule's
// first year, the year after its last, in its calendar; a single date) and their neighbours are
// counted from their own working-out; between them the set of rules in force is fixed, and:
// - where every rule is Gregorian, a year's count depends only on the date of its Easter and
//   whether it is a leap year: the count of a run of years is a sum over those 70 kinds of year,
//   read from a table of how many years of each kind lie before each block of the
//   5,700,000-year Easter cycle (built once, lazily, about 7 MB, shared by every set);
// - sets with Julian or Orthodox rules but no Western Easter repeat after 3,701,200 Gregorian
//   years (1,351,835,541 days: 400 Gregorian and 532 Julian years both divide it): runs of
//   2,000 years or more are counted from a table of the counts before each 20-year block of
//   that period, built once per set of rules in force on first use (under a second for a
//   dozen rules; 1.5 MB), shorter ones year by year;
// - sets with both Western Easter and Julian or Orthodox rules are counted year by year; their
//   spans should stay within some thousands of years.
// The work those tables need is measured from the rules before anything is built
// (MeasureHolidaySet); rule files that would need more are refused when read.
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

// Days before and after a year whose holidays take part in working out its observed shifts.
inline constexpr std::int64_t kObservedMargin = 40;

// What counting a set needs, measured from its rules alone (in time proportional to their
// number and the logarithm of it).
struct HolidaySetSize {
    std::int64_t changeYears = 0;  // years in which rules begin or end (single dates aside)
    std::int64_t mostInForce = 0;  // the most rules in force near one of those years
    std::int64_t work = 0;         // rule-years the counting tables work out, at most
};
HolidaySetSize MeasureHolidaySet(const HolidaySet& set);
// The most work a set may need, once, on the first count across millions of years: about three
// seconds on a small machine (the table of 40 Julian and Orthodox rules in force together; 25
// of them take two seconds, 1,600 Gregorian rules each from another year one). A 1 MiB file of
// single dates and a few rules needs a small part of it.
inline constexpr std::int64_t kMaxHolidayWork = 150000000;

struct HolidayPlan;  // where the rules in force change (holiday_count.cpp)

class HolidayCounter {
  public:
    HolidayCounter(std::shared_ptr<const HolidaySet> set, std::uint8_t weekend);
    ~HolidayCounter();
    HolidayCounter(const HolidayCounter&) = delete;
    HolidayCounter& operator=(const HolidayCounter&) = delete;

    // Every holiday date in [from, to] (a short span), sorted by date.
    std::vector<HolidayDate> Between(std::int64_t from, std::int64_t to) const;
    bool IsHoliday(std::int64_t jdn) const;  // observed there, on any day of the week

    // Distinct holiday days in [from, to) that are not weekend days.
    std::int64_t WorkdayHolidaysIn(std::int64_t from, std::int64_t to) const;

    // No more holidays in a year than this, on any days of the week.
    std::int64_t MostHolidaysInAYear() const;
    // Years worth trying first for a working day: the first of every stretch of fixed rules.
    std::vector<std::int64_t> SampleYears() const;
    // Whether long spans are counted year by year (both Western Easter and Julian rules).
    bool CountsYearByYear() const;

  private:
    struct YearData;
    struct PeriodTable;

    std::shared_ptr<const YearData> Year(std::int64_t year) const;
    void WorkOutYear(std::int64_t year, bool dates) const;  // into the thread's scratch space
    std::int64_t UncachedYearCount(std::int64_t year) const;
    std::int64_t ExactYearCount(std::int64_t year) const;
    std::int64_t OpenYearCount(std::size_t segment, std::int64_t year) const;
    std::int64_t OpenCount(std::size_t segment, std::int64_t first, std::int64_t end) const;
    std::int64_t OpenPrefix(PeriodTable& table, std::int64_t year) const;
    std::int64_t WholeYears(std::int64_t first, std::int64_t end) const;
    void BuildTables() const;

    std::shared_ptr<const HolidaySet> set_;
    std::uint8_t weekend_;
    std::unique_ptr<const HolidayPlan> plan_;

    // Built once, on the first long count.
    mutable std::once_flag built_;
    mutable std::vector<std::array<std::int32_t, 70>> kindCount_;  // per segment, Gregorian sets
    mutable std::vector<std::shared_ptr<PeriodTable>> table_;      // per segment, or none
    mutable std::once_flag segmentsBuilt_;
    mutable std::vector<std::int64_t> segmentsBefore_;  // count of the whole segments before each
    mutable std::vector<std::int64_t> correctionsBefore_;  // per special year: own - open, summed

    static constexpr std::size_t kCachedYears = 16;
    mutable std::mutex cacheMutex_;
    mutable std::array<std::shared_ptr<const YearData>, kCachedYears> cache_;
};

}  // namespace daybridge
