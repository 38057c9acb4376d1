// The holidays of a rule set under a weekend schedule: their dates on given days (with the
// observed moves and substitute days), and the number of them that fall on non-weekend days in
// a span, less the extra working days that fall on weekend days.
//
// The moves are worked out for each Gregorian year on its own, from the holidays of that year
// and of the kObservedMargin days before and after it (Western Easter holidays, and dates
// counted from them: those of the year only). Every question about a day is answered from its
// year's working-out, so the holiday days, their names and every count agree for any set of
// rules, however far holidays move.
//
// Long spans are counted by whole years. The years where the rules in force change (a rule's
// first year, the year after its last, in its calendar; the ends of a calendar's table span; a
// change of the weekend; a single date or extra working day) and their neighbours are counted
// from their own working-out; between them the set of rules in force is fixed, and:
// - where every rule's dates follow from the Gregorian year and its Easter (Gregorian and
//   Indian dates, Western Easter, weekdays before, after or between them), a year's count
//   depends only on the date of its Easter and whether it is a leap year: the count of a run of
//   years is a sum over those 70 kinds of year, read from a table of the kind of every year of
//   the 5,700,000-year Easter cycle (built once, lazily, 5.7 MB, shared by every set) and, per
//   stretch, of the counts before every 64th year of the cycle (0.7 MB);
// - stretches with Julian, Orthodox, Coptic or Ethiopian rules but no Western Easter repeat
//   after 3,701,200 Gregorian years (1,351,835,541 days: 400 Gregorian and 532 Julian years and
//   the 4-year cycles all divide it): a table of the counts of that period's years, one per set
//   of rules in force, answers runs of any length once a run of 2,000 years has asked for it
//   (shorter runs before that are counted year by year); its years are worked out 4,096 at a
//   time as counts reach them, the whole period (a second or two for a dozen rules) once a
//   count crosses the period's end;
// - the first and the last stretch, when they hold Hebrew days only, or Islamic days only,
//   that stay on their day, are counted by the kinds of the calendar's years (the weekday of the
//   first day and the length), from a table of every year of the calendar's cycle (689,472 Hebrew
//   or 210 Islamic years), built when a run of 2,000 years first asks for it; a count reads it by
//   day at both ends, so its end years need no working-out unless they are special;
// - every other stretch (Islamic dates beside others, Persian dates, tables of Chinese or
//   astronomical dates, Western Easter beside Julian rules) has no period within the day
//   range: its years' counts are worked out once, 4,096 years at a time as counts reach them,
//   and kept; a count then takes the same time for any span within the years worked out.
// The period tables and the years kept hold the total of every chunk of 4,096 years, and the
// years themselves only for the 64 chunks where counts last began or ended (a chunk let go is
// worked out again when a count ends in it: a few milliseconds): a few hundred kilobytes a
// table, however many years counts crossed. The years of a chunk and of a lunar cycle are kept
// in four bits each over the least of their block of 256 years, with the running sum before
// each block and within it before every 64th year, and added sixteen years at a time: a count
// reads two sums and at most 32 years at each end. Where nothing moves (no observed or
// substitute days), a chunk's years, special ones aside, are worked out 256 at a time: every
// date of the rules in force across them, as bits of their days, counted a year at a time.
// Rules whose dates repeat within a few hundred years (Gregorian and Julian days, Orthodox
// Easter, Coptic, Ethiopian, Indian and Islamic days) take them from their dates over one such
// stretch, worked out once; Western Easter is worked out once for all the rules counted from
// it; the others work their dates out over the years. The bits are counted with the
// processor's count of ones where it has one. That takes a tenth to a thirtieth of the time
// years worked out one by one take. Where holidays move, each year is still worked out on its
// own, from every rule's dates gathered 256 years at a time.
// A long count reads its two end years' working-out and the tables at both ends. A year that
// ends two long counts in a row (counts repeated from or to a date) is placed: the holidays of
// the whole years between the anchor year 2000 and it are counted once and kept with it, in a
// small table read without a lock. A count between placed years then reads what a count within
// one year reads, twice, and their places. (A year is placed only when the tables reach it, or
// placing it works out no more years than the count itself.)
// The work the first two kinds of table need is measured from the rules before anything is
// built (MeasureHolidaySet); rule files that would need more are refused when read.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "workdays/holiday_rules.h"

namespace daybridge {

struct HolidayDate {
    std::int64_t jdn;
    int rule;         // index into the set's rules
    bool moved;       // the rule's own day, from which it moved away (not a holiday there)
    bool observed;    // the day it moved to
    bool substitute;  // a substitute day given beside the rule's own day
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
// The most work a set may need, once, on the first count across millions of years: some
// seconds on a small machine (a set of 25 rules with Orthodox Easter and a change of law, two
// stretches of rules, takes six; 1,600 Gregorian rules each from another year one). A 1 MiB file
// of single dates and a few rules needs a small part of it.
inline constexpr std::int64_t kMaxHolidayWork = 400000000;

class YearChunks;    // counts of many years (holiday_count.cpp)
struct HolidayPlan;  // where the rules in force change (holiday_count.cpp)
// What a working-out needs of a rule besides its dates.
struct MoveRule {
    Observed observed;
    std::uint8_t observedOn;
    Substitute substitute;
    std::uint8_t substituteOn;
};

class HolidayCounter {
  public:
    HolidayCounter(std::shared_ptr<const HolidaySet> set, WeekendSchedule weekend);
    ~HolidayCounter();
    HolidayCounter(const HolidayCounter&) = delete;
    HolidayCounter& operator=(const HolidayCounter&) = delete;

    // Every holiday date in [from, to] (a short span), sorted by date.
    std::vector<HolidayDate> Between(std::int64_t from, std::int64_t to) const;
    bool IsHoliday(std::int64_t jdn) const;       // observed there, on any day of the week
    bool IsExtraWorkday(std::int64_t jdn) const;  // a `workday` line's day

    // Distinct holiday days in [from, to) that are not weekend days, less the extra working
    // days that are weekend days.
    std::int64_t WorkdayHolidaysIn(std::int64_t from, std::int64_t to) const;

    // No more holidays in a year than this, on any days of the week.
    std::int64_t MostHolidaysInAYear() const;
    // Years worth trying first for a working day: the first of every stretch of fixed rules.
    std::vector<std::int64_t> SampleYears() const;
    // Whether long spans are counted from years worked out one by one (kept once done).
    bool CountsYearByYear() const;

  private:
    struct YearData;
    struct PeriodTable;
    struct LunarTable;
    struct RulePattern;
    struct GregorianPart;
    class PlaceCache;

    std::shared_ptr<const YearData> Year(std::int64_t year) const;
    std::shared_ptr<const YearData> NewYear(std::int64_t year) const;
    const std::shared_ptr<const YearData>* Cached(std::int64_t year) const;
    static std::size_t CacheSlot(std::int64_t year);
    std::optional<std::int64_t> InCachedYears(std::int64_t first, std::int64_t last, std::int64_t a,
                                              std::int64_t b) const;
    void WorkOutYear(std::int64_t year, bool dates) const;  // into the thread's scratch space
    std::int64_t UncachedYearCount(std::int64_t year) const;
    std::int64_t ExactYearCount(std::int64_t year) const;
    std::int64_t OpenYearCount(std::size_t segment, std::int64_t year) const;
    bool NothingMoves(std::size_t segment) const;
    void UnmovedYearCounts(std::size_t segment, std::int64_t first, std::int64_t n,
                           std::int64_t* out) const;
    struct DayGroup;
    const std::vector<DayGroup>& DayGroupsOf(std::size_t segment) const;
    bool TakesOwnDays(std::size_t segment) const;
    template <typename Set>
    void DaysTakenNearest(std::size_t segment, int r, std::int64_t start, std::int64_t end,
                          Set set) const;
    void UnmovedBlockCounts(std::size_t segment, const std::vector<DayGroup>* groups,
                            std::int64_t first, std::int64_t n, std::int64_t* out) const;
    void MovedYearCounts(std::size_t segment, std::int64_t first, std::int64_t n,
                         const WeekendSchedule& weekend, std::int64_t* out) const;
    void BuildPatterns() const;
    const GregorianPart* GregorianPartOf(std::size_t segment, const WeekendSchedule& weekend) const;
    struct BesideDates;
    void CountsBesideGregorian(const GregorianPart& part, std::int64_t first, std::int64_t n,
                               const WeekendSchedule& weekend, std::int64_t* out) const;
    std::int64_t YearBesideGregorian(const GregorianPart& part, const BesideDates& others,
                                     std::int64_t year, std::int64_t start, std::int64_t end,
                                     const WeekendSchedule& weekend, bool whole) const;
    template <typename Take>
    void DaysOfRule(int r, std::int64_t from, std::int64_t to, std::int64_t y0, std::int64_t y1,
                    Take take) const;
    void OpenYearCounts(std::size_t segment, std::int64_t first, std::int64_t n,
                        std::vector<std::int64_t>& out) const;
    void KeptYearCounts(std::int64_t first, std::int64_t n, std::vector<std::int64_t>& out) const;
    std::int64_t OpenCount(std::size_t segment, std::int64_t first, std::int64_t end) const;
    std::int64_t PeriodCount(PeriodTable& table, std::int64_t first, std::int64_t end) const;
    std::int64_t LunarBefore(LunarTable& table, std::int64_t day) const;
    void BuildLunarTable(LunarTable& table) const;
    std::int64_t InYear(const YearData& year, std::int64_t a, std::int64_t b) const;
    std::int64_t PlaceOf(std::int64_t year) const;
    bool AnchorServes(std::int64_t first, std::int64_t end) const;
    std::vector<std::int32_t> LunarYearDays(const LunarTable& table, std::int64_t start,
                                            std::int64_t next) const;
    std::int64_t WholeYears(std::int64_t first, std::int64_t end) const;
    std::optional<std::int64_t> LunarDaysIn(std::int64_t from, std::int64_t to, std::int64_t y0,
                                            std::int64_t y1) const;
    std::int64_t KeptYears(std::int64_t first, std::int64_t end) const;
    void BuildTables() const;
    void BuildKindCounts() const;

    std::shared_ptr<const HolidaySet> set_;
    WeekendSchedule weekend_;
    std::vector<MoveRule> moveRules_;
    std::unique_ptr<const HolidayPlan> plan_;

    // Built once, on the first long count.
    mutable std::once_flag built_;
    mutable std::vector<std::array<std::int32_t, 70>> kindCount_;  // per segment, Gregorian sets
    mutable std::vector<std::vector<std::int64_t>> kindPrefix_;    // per segment: every 64th year
    mutable std::vector<std::shared_ptr<PeriodTable>> table_;      // per segment, or none
    mutable std::vector<std::shared_ptr<LunarTable>> lunar_;       // per segment, or none
    mutable std::once_flag segmentsBuilt_;
    mutable std::vector<std::int64_t> segmentsBefore_;  // count of the whole segments before each
    mutable std::vector<std::int64_t> correctionsBefore_;  // per special year: own - open, summed
    mutable std::once_flag patternsBuilt_;
    mutable std::vector<RulePattern> patterns_;  // per rule, for UnmovedYearCounts
    std::unique_ptr<YearChunks> kept_;           // years worked out one by one
    mutable std::mutex partsMutex_;
    mutable std::vector<std::unique_ptr<const GregorianPart>> parts_;  // per segment, or none
    mutable std::vector<char> partsTried_;                             // per segment
    mutable std::mutex groupsMutex_;
    mutable std::vector<std::unique_ptr<const std::vector<DayGroup>>> groups_;  // per segment

    // A year's place: the holidays of the whole years between the anchor year and it. Long
    // counts between two placed years read their places; the years placed so far lie in
    // [reachedFirst_, reachedEnd_], which the tables reach.
    static constexpr std::int64_t kAnchorYear = 2000;
    std::unique_ptr<PlaceCache> places_;
    mutable std::atomic<std::int64_t> reachedFirst_{kAnchorYear};
    mutable std::atomic<std::int64_t> reachedEnd_{kAnchorYear};
    mutable std::array<std::atomic<std::int64_t>, 2> lastEnds_{};  // of the last long count

    static constexpr std::size_t kCachedYears = 16;
    static constexpr std::size_t kCacheSlots = kCachedYears / 2;  // of two years each
    mutable std::mutex cacheMutex_;
    mutable std::array<std::shared_ptr<const YearData>, kCachedYears> cache_;
    mutable std::array<std::uint8_t, kCacheSlots> cacheRecent_{};  // the way used last
};

}  // namespace daybridge
