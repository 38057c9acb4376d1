#include "workdays/holiday_count.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <functional>
#include <limits>
#include <map>
#include <numeric>
#include <optional>
#include <unordered_map>

#include "jdcore/day_count.h"
#include "jdcore/easter.h"
#include "jdcore/world_calendars.h"
#include "workdays/day_runs.h"
#include "workdays/window_count.h"

namespace daybridge {
namespace {

using jdcore::floor_div;
using jdcore::floor_mod;

constexpr std::int64_t kFarPast = std::numeric_limits<std::int64_t>::min() / 4;
constexpr std::int64_t kFarFuture = std::numeric_limits<std::int64_t>::max() / 4;

std::int64_t YearStart(std::int64_t year) {
    return jdcore::jdn_from_gregorian(year, 1, 1);
}

std::int64_t YearOf(std::int64_t jdn) {
    return jdcore::gregorian_from_jdn(jdn).year;
}

// The first day of a year of the rule's calendar.
std::int64_t RuleYearStart(const HolidayRule& rule, std::int64_t year) {
    return rule.julian ? jdcore::jdn_from_julian(year, 1, 1) : YearStart(year);
}

// ---- kinds of year over the Western Easter cycle --------------------------------------------

constexpr std::int64_t kEasterCycle = 5700000;  // Gregorian years
constexpr int kKinds = 70;                      // 35 Easter days x leap or not
constexpr std::int64_t kBlock = 2048;           // years per block of the kind table
constexpr std::int64_t kFineBlock = 64;         // years per block of a stretch's running sums

using KindWeights = std::array<std::int32_t, kKinds>;

// The kind of every year of one cycle (one byte each) and, per block, how many years of each
// kind precede it in the cycle.
struct KindTable {
    std::unique_ptr<std::uint8_t[]> kind;               // kEasterCycle bytes
    std::vector<std::int32_t> before;                   // (blocks + 1) x kKinds
    std::array<std::int64_t, kKinds> representative{};  // a year of each kind (-1: none)

    KindTable()
        : kind(std::make_unique_for_overwrite<std::uint8_t[]>(kEasterCycle)),
          before((kEasterCycle / kBlock + 2) * kKinds, 0) {
        representative.fill(-1);
        std::array<std::int32_t, kKinds> running{};
        jdcore::western_easter_days(0, kEasterCycle, kind.get());  // 22 March: 1
        for (std::int64_t y = 0; y < kEasterCycle; ++y) {
            if (y % kBlock == 0) {
                std::copy(running.begin(), running.end(), before.begin() + (y / kBlock) * kKinds);
            }
            std::uint8_t& k = kind[static_cast<std::size_t>(y)];
            k = static_cast<std::uint8_t>(2 * (k - 1) + (jdcore::gregorian_leap(y) ? 1 : 0));
            ++running[static_cast<std::size_t>(k)];
            if (representative[static_cast<std::size_t>(k)] < 0) {
                representative[static_cast<std::size_t>(k)] = y;
            }
        }
        const std::int64_t blocks = (kEasterCycle + kBlock - 1) / kBlock;
        std::copy(running.begin(), running.end(), before.begin() + blocks * kKinds);
    }

    // Sum of weight[kind(y)] over the years [0, year) of the cycle (0 <= year <= cycle): the
    // counts before the nearer block end, and the years between it and `year`.
    std::int64_t WeightBefore(const KindWeights& weight, std::int64_t year) const {
        const std::int64_t blocks = (kEasterCycle + kBlock - 1) / kBlock;
        std::int64_t block = (year + kBlock / 2) / kBlock;  // nearest block boundary
        if (block > blocks) {
            block = blocks;
        }
        const std::int64_t edge = std::min(block * kBlock, kEasterCycle);
        std::int64_t sum = 0;
        const std::int32_t* counts = before.data() + block * kKinds;
        for (int k = 0; k < kKinds; ++k) {
            sum += std::int64_t{weight[static_cast<std::size_t>(k)]} * counts[k];
        }
        for (std::int64_t y = edge; y < year; ++y) {
            sum += weight[kind[static_cast<std::size_t>(y)]];
        }
        for (std::int64_t y = year; y < edge; ++y) {
            sum -= weight[kind[static_cast<std::size_t>(y)]];
        }
        return sum;
    }
    // ... over any years [0, year), negative below 0.
    std::int64_t WeightBeforeAny(const KindWeights& weight, std::int64_t year) const {
        const std::int64_t cycles = floor_div(year, kEasterCycle);
        const std::int64_t rest = year - cycles * kEasterCycle;
        return cycles * WeightBefore(weight, kEasterCycle) + WeightBefore(weight, rest);
    }
    // The running sums of the weights before every kFineBlock-th year of the cycle.
    std::vector<std::int64_t> FinePrefix(const KindWeights& weight) const {
        std::vector<std::int64_t> prefix(static_cast<std::size_t>(kEasterCycle / kFineBlock + 2));
        std::int64_t running = 0;
        for (std::int64_t y = 0; y < kEasterCycle; ++y) {
            if (y % kFineBlock == 0) {
                prefix[static_cast<std::size_t>(y / kFineBlock)] = running;
            }
            running += weight[kind[static_cast<std::size_t>(y)]];
        }
        prefix.back() = running;
        prefix[prefix.size() - 2] = running;  // the cycle's end, also a block boundary
        return prefix;
    }
    // Sum of weight[kind(y)] over [0, year) of the cycle from such running sums: the nearer
    // boundary's sum and the years between it and `year`.
    std::int64_t FineBefore(const KindWeights& weight, const std::vector<std::int64_t>& prefix,
                            std::int64_t year) const {
        std::int64_t block = (year + kFineBlock / 2) / kFineBlock;
        const std::int64_t edge = std::min(block * kFineBlock, kEasterCycle);
        block = std::min<std::int64_t>(block, static_cast<std::int64_t>(prefix.size()) - 2);
        std::int64_t sum = prefix[static_cast<std::size_t>(block)];
        for (std::int64_t y = edge; y < year; ++y) {
            sum += weight[kind[static_cast<std::size_t>(y)]];
        }
        for (std::int64_t y = year; y < edge; ++y) {
            sum -= weight[kind[static_cast<std::size_t>(y)]];
        }
        return sum;
    }
    std::int64_t FineIn(const KindWeights& weight, const std::vector<std::int64_t>& prefix,
                        std::int64_t lo, std::int64_t hi) const {
        const auto before = [&](std::int64_t year) {
            const std::int64_t cycles = floor_div(year, kEasterCycle);
            return cycles * prefix.back() +
                   FineBefore(weight, prefix, year - cycles * kEasterCycle);
        };
        return before(hi) - before(lo);
    }
    // ... over the years [lo, hi), any years.
    std::int64_t WeightIn(const KindWeights& weight, std::int64_t lo, std::int64_t hi) const {
        if (hi - lo <= kBlock) {
            std::int64_t sum = 0;
            for (std::int64_t y = lo; y < hi; ++y) {
                sum += weight[kind[static_cast<std::size_t>(floor_mod(y, kEasterCycle))]];
            }
            return sum;
        }
        return WeightBeforeAny(weight, hi) - WeightBeforeAny(weight, lo);
    }
};

// The table once built: other counts then read Western Easter off it.
std::atomic<const KindTable*> builtKinds{nullptr};

const KindTable& Kinds() {
    static const KindTable table;
    builtKinds.store(&table, std::memory_order_release);
    return table;
}

// ---- the period of sets without Western Easter ----------------------------------------------

// 400 Gregorian years (146,097 days) and 532 Julian years (194,313 days, the Julian Easter
// cycle; Julian fixed days and weekdays of Julian months repeat after 4 and 28 of them) have
// 21 days in common: every rule but Western Easter repeats after 146097 * 9253 = 194313 * 6957
// days, 3,701,200 Gregorian years, and so does the week.
constexpr std::int64_t kPeriodYears = 400 * 9253;
// Stretches of fixed rules at least this long get a period table; shorter ones are counted
// year by year.
constexpr std::int64_t kTableYears = 2000;
// Runs of whole years up to this long are counted year by year.
constexpr std::int64_t kDirectYears = 8;
// Years worked out one by one are kept in chunks of this many.
constexpr std::int64_t kKeptChunk = 4096;
// The years of the day range and a little more.
constexpr std::int64_t kKeptYearLimit = 6000000;

// How a stretch of years with the same rules in force is counted.
enum class Method : std::uint8_t { Kinds, Period, Lunar, Kept };

// ---- the years of the Hebrew and the tabular Islamic calendars --------------------------------

// Both calendars repeat, weekdays included, after a whole number of their years: 689,472
// Hebrew years (251,827,457 days, 35,975,351 weeks) and 210 Islamic years (seven 30-year
// cycles, 74,417 days). The days of a year's fixed dates follow from the weekday of its first
// day and its length alone: its kind.
struct LunarCycle {
    jdcore::WorldCalendar calendar;
    int firstMonth;  // the month a year begins with
    std::int64_t years;
    std::int64_t days;
    int shortestYear;
    int longestYear;

    std::int64_t YearStart(std::int64_t year) const {
        return jdcore::ToJdn(calendar, year, firstMonth, 1);
    }
    std::size_t Kinds() const {
        return static_cast<std::size_t>(7 * (longestYear - shortestYear + 1));
    }
    std::size_t KindOf(std::int64_t start, std::int64_t next) const {
        return static_cast<std::size_t>(7 * (next - start - shortestYear) + floor_mod(start, 7));
    }
};
constexpr LunarCycle kHebrewCycle{jdcore::WorldCalendar::Hebrew, 7, 689472, 251827457, 353, 385};
constexpr LunarCycle kIslamicCycle{jdcore::WorldCalendar::Islamic, 1, 210, 74417, 354, 355};
static_assert(kHebrewCycle.days % 7 == 0 && kIslamicCycle.days % 7 == 0);
static_assert(kHebrewCycle.years == 19 * 36288 &&
              kHebrewCycle.days * 25920 == std::int64_t{36288} * 235 * 765433);
static_assert(kIslamicCycle.days == 7 * (30 * 354 + 11));

// The cycle of a stretch whose rules are all days of a month of one of those calendars, each
// kept on its day; none otherwise.
const LunarCycle* LunarCycleOf(const HolidaySet& set, const std::vector<int>& rules) {
    const LunarCycle* cycle = nullptr;
    for (const int r : rules) {
        const HolidayRule& rule = set.rules[static_cast<std::size_t>(r)];
        if (rule.kind != HolidayKind::CalendarDay || rule.offset != 0 ||
            rule.observed != Observed::None || rule.substitute != Substitute::None) {
            return nullptr;
        }
        const LunarCycle* own = rule.calendar == RuleCalendar::Hebrew    ? &kHebrewCycle
                                : rule.calendar == RuleCalendar::Islamic ? &kIslamicCycle
                                                                         : nullptr;
        if (own == nullptr || (cycle != nullptr && own != cycle)) {
            return nullptr;
        }
        cycle = own;
    }
    return cycle;
}

// Whether a rule's dates repeat with the period of kPeriodYears (every rule but those of
// Western Easter, the lunar and lunisolar calendars, the Hebrew and Persian ones and the
// astronomical ones).
bool IsPeriodicKind(const HolidayRule& rule) {
    switch (rule.kind) {
        case HolidayKind::EasterDays:
            return rule.julian;
        case HolidayKind::CalendarDay:
            return rule.calendar == RuleCalendar::Coptic ||
                   rule.calendar == RuleCalendar::Ethiopian ||
                   rule.calendar == RuleCalendar::Indian;
        case HolidayKind::Relative:
            return IsPeriodicKind(*rule.base);
        case HolidayKind::Solar:
            return false;
        default:
            return true;
    }
}

// The days of 400 Gregorian years: Gregorian dates and their weekdays repeat after them.
constexpr std::int64_t kFourCenturies =
    jdcore::jdn_from_gregorian(2400, 1, 1) - jdcore::jdn_from_gregorian(2000, 1, 1);

// Dates of Western Easter or counted from it: the window of a year holds the year's own only.
bool IsWesternEasterKind(const HolidayRule& rule) {
    return rule.IsWesternEaster() ||
           (rule.kind == HolidayKind::Relative && IsWesternEasterKind(*rule.base));
}

// How a rule's dates repeat: after `days` days (whole cycles of its calendar's years: 400
// Gregorian, 28 Julian with the week, 532 Julian for the Julian computus, 4 Coptic or
// Ethiopian, 30 Islamic; a whole number of weeks where a weekday decides), on the days
// [first, last], which leave out the ends of its calendar's range of years.
struct Repeat {
    std::int64_t days;
    std::int64_t first = kFarPast;
    std::int64_t last = kFarFuture;
};
// None for the rules whose dates repeat only after thousands of years or not at all, and for
// those counted from another rule that has years or days of its own (which they take).
std::optional<Repeat> RepeatOf(const HolidayRule& rule) {
    constexpr std::int64_t kJulianWeeks =
        jdcore::jdn_from_julian(2028, 1, 1) - jdcore::jdn_from_julian(2000, 1, 1);
    constexpr std::int64_t kFourYears =
        jdcore::jdn_from_julian(2004, 1, 1) - jdcore::jdn_from_julian(2000, 1, 1);
    static_assert(kFourCenturies % 7 == 0 && kJulianWeeks % 7 == 0);
    switch (rule.kind) {
        case HolidayKind::FixedDay:
        case HolidayKind::NthWeekday:
            return Repeat{rule.julian ? kJulianWeeks : kFourCenturies};
        case HolidayKind::EasterDays:
            return rule.julian ? std::optional<Repeat>(Repeat{19 * kJulianWeeks}) : std::nullopt;
        case HolidayKind::CalendarDay:
            break;
        case HolidayKind::Relative: {
            // A weekday before or after a date that repeats: after as many whole weeks, on
            // days as far within the base's as the rule reaches from it.
            const HolidayRule& base = *rule.base;
            const HolidayRule boundless;
            if (base.firstYear != boundless.firstYear || base.lastYear != boundless.lastYear ||
                base.firstDay != boundless.firstDay || base.lastDay != boundless.lastDay) {
                return std::nullopt;
            }
            std::optional<Repeat> repeat = RepeatOf(base);
            if (repeat) {
                const std::int64_t reach = 7 * rule.nth + 7 + std::abs(rule.offset);
                repeat->days *= repeat->days % 7 == 0 ? 1 : 7;
                repeat->first = repeat->first == kFarPast ? kFarPast : repeat->first + reach;
                repeat->last = repeat->last == kFarFuture ? kFarFuture : repeat->last - reach;
            }
            return repeat;
        }
        default:
            return std::nullopt;
    }
    jdcore::WorldCalendar world = jdcore::WorldCalendar::Islamic;
    Repeat repeat{kIslamicCycle.days / 7};
    switch (rule.calendar) {
        case RuleCalendar::Coptic:
            world = jdcore::WorldCalendar::Coptic;
            repeat.days = kFourYears;
            break;
        case RuleCalendar::Ethiopian:
            world = jdcore::WorldCalendar::Ethiopian;
            repeat.days = kFourYears;
            break;
        case RuleCalendar::Indian:
            world = jdcore::WorldCalendar::Indian;
            repeat.days = kFourCenturies;
            break;
        case RuleCalendar::Islamic:
            break;
        default:
            return std::nullopt;
    }
    // A date on these days belongs to a year within the range, whatever its offset.
    repeat.first = jdcore::ToJdn(world, -jdcore::kMaxWorldYear + 2, 1, 1) + std::abs(rule.offset);
    repeat.last = jdcore::ToJdn(world, jdcore::kMaxWorldYear - 1, 1, 1) - std::abs(rule.offset) - 1;
    return repeat;
}

// Rules whose window dates the fast paths below do not give.
bool NeedsGenericDates(const HolidayRule& rule) {
    switch (rule.kind) {
        case HolidayKind::FixedDay:
        case HolidayKind::NthWeekday:
        case HolidayKind::EasterDays:
            return rule.offset != 0 && rule.kind != HolidayKind::EasterDays;
        case HolidayKind::SingleDate:
            return false;
        default:
            return true;
    }
}

// ---- working out a year ---------------------------------------------------------------------

struct RawDate {
    std::int64_t jdn;
    int rule;
    Observed observed;
};

// A holiday's own day and the day it moved to or gave as substitute. Moving to the next or the
// previous free day, or giving a substitute day, looks at the days after its own up to that
// day (`scanned`); moving from Saturday to Friday or from Sunday to Monday looks at none.
struct MovePath {
    std::int64_t own;
    std::int64_t to;
    bool scanned;

    template <typename Visit>
    void ForEachLookedAt(Visit visit) const {
        const std::int64_t step = to > own ? 1 : -1;
        for (std::int64_t day = own + step; scanned && day != to + step; day += step) {
            visit(day);
        }
    }
};

// Bits read off a longer array, a word at a time, from `shift` bits into its first word.
struct WordReader {
    const std::uint64_t* from;
    unsigned shift;
    std::uint64_t operator()(std::size_t j) const {
        // Two steps left, so that no shift reaches 64 when `shift` is 0.
        return (from[j] >> shift) | ((from[j + 1] << 1) << (63 - shift));
    }
};

// Scratch space of the working-out, kept per thread so that counting allocates nothing.
struct Scratch {
    std::vector<RawDate> raw;
    std::vector<RuleDate> ruleDates;
    std::vector<std::int64_t> extra;      // extra working days on weekend days
    std::vector<std::int64_t> workdays;   // the window's extra working days
    std::vector<std::uint64_t> taken;     // bits
    std::vector<std::uint64_t> yearBits;  // the days of some years, as bits
    std::vector<std::uint8_t> easter;     // Western Easter of some years, after 21 March
    std::vector<HolidayDate> dates;
    std::vector<std::int64_t> days;
    std::vector<MovePath> paths;            // of the last working-out's moves and substitute days
    std::vector<int> grouped;               // rules whose days a block took from day groups
    std::vector<WordReader> readers;        // ... and the groups' words
    std::vector<std::int64_t> afterEaster;  // offsets of the Western Easter rules of a block
    std::vector<std::int64_t> unsettled;    // days of rules that move beside the Gregorian ones
};

Scratch& ThreadScratch() {
    thread_local Scratch scratch;
    return scratch;
}

// Days of the year before each month, in a common year.
constexpr std::array<int, 13> kDaysBefore = {0,   31,  59,  90,  120, 151, 181,
                                             212, 243, 273, 304, 334, 365};

// A year of a calendar: its first day and whether it is a leap year.
struct YearStartLeap {
    std::int64_t start;
    bool leap;

    std::int64_t MonthStart(int month) const {
        return start + kDaysBefore[static_cast<std::size_t>(month - 1)] + (leap && month > 2);
    }
};

// The window of a Gregorian year: the days whose holidays take part in working it out, the
// years of both calendars it touches, and the Easter days the rules ask for, each worked out
// once.
struct YearWindow {
    std::int64_t year;
    std::int64_t from;                       // kObservedMargin days before the year
    std::int64_t to;                         // ... after it (the last day)
    std::array<YearStartLeap, 3> gregorian;  // year - 1 .. year + 1
    std::int64_t julianFirst;
    std::int64_t julianLast;  // at most two more: the window is shorter than two years
    std::array<YearStartLeap, 3> julian;
    std::optional<std::int64_t> western;
    std::array<std::optional<std::int64_t>, 3> orthodox;

    explicit YearWindow(std::int64_t y) : year(y) {
        for (std::size_t i = 0; i < 3; ++i) {
            const std::int64_t g = y - 1 + static_cast<std::int64_t>(i);
            gregorian[i] = {YearStart(g), jdcore::gregorian_leap(g)};
        }
        from = gregorian[1].start - kObservedMargin;
        to = YearStart(y + 1) - 1 + kObservedMargin;
        julianFirst = jdcore::julian_from_jdn(from).year;
        julianLast = jdcore::julian_from_jdn(to).year;
        for (std::int64_t j = julianFirst; j <= julianLast; ++j) {
            julian[static_cast<std::size_t>(j - julianFirst)] = {jdcore::jdn_from_julian(j, 1, 1),
                                                                 jdcore::julian_leap(j)};
        }
    }

    std::int64_t WesternEaster() {
        if (!western) {
            western = jdcore::western_easter(year);
        }
        return *western;
    }
    std::int64_t OrthodoxEaster(std::int64_t julianYear) {
        std::optional<std::int64_t>& easter =
            orthodox[static_cast<std::size_t>(julianYear - julianFirst)];
        if (!easter) {
            easter = jdcore::orthodox_easter(julianYear);
        }
        return *easter;
    }
};

// The day of a fixed-day or weekday-of-month rule in a year of its calendar (as
// HolidayRule::DateInAnyYear gives it), from the year's first day.
std::optional<std::int64_t> DayOfRule(const HolidayRule& rule, const YearStartLeap& year) {
    const int length = jdcore::month_length(rule.month, year.leap);
    const std::int64_t first = year.MonthStart(rule.month);
    if (rule.kind == HolidayKind::FixedDay) {
        return rule.day <= length ? std::optional<std::int64_t>(first + rule.day - 1)
                                  : std::nullopt;
    }
    if (rule.nth == 0) {
        const std::int64_t last = first + length - 1;
        return last - floor_mod(last - rule.weekday, 7);
    }
    const std::int64_t date = first + floor_mod(rule.weekday - first, 7) + 7 * (rule.nth - 1);
    return date - first < length ? std::optional<std::int64_t>(date) : std::nullopt;
}

// Adds the own dates of `rule` that lie in the window: Western Easter gives the year's date
// only; `open` takes the rule as in force in every year.
void AddOwnDates(const HolidayRule& rule, int index, bool open, YearWindow& window,
                 std::vector<RawDate>& raw) {
    const auto push = [&](std::int64_t day) {
        if (day >= window.from && day <= window.to && (open || rule.InDayBounds(day))) {
            raw.push_back({day, index, rule.observed});
        }
    };
    if (NeedsGenericDates(rule)) {
        std::vector<RuleDate>& dates = ThreadScratch().ruleDates;
        dates.clear();
        RuleDatesBetween(rule, window.from, window.to, dates);
        const bool ownYearOnly = IsWesternEasterKind(rule);
        for (const RuleDate& d : dates) {
            if ((!ownYearOnly || d.year == window.year) && (open || rule.ActiveIn(d.year))) {
                push(d.jdn);
            }
        }
        return;
    }
    switch (rule.kind) {
        case HolidayKind::SingleDate:
            if (const std::optional<std::int64_t> day = rule.DateIn(rule.firstYear)) {
                push(*day);
            }
            return;
        case HolidayKind::EasterDays:
            if (!rule.julian) {
                if (open || rule.ActiveIn(window.year)) {
                    push(window.WesternEaster() + rule.offset);
                }
                return;
            }
            for (std::int64_t y = window.julianFirst; y <= window.julianLast; ++y) {
                if (open || rule.ActiveIn(y)) {
                    push(window.OrthodoxEaster(y) + rule.offset);
                }
            }
            return;
        default:
            break;
    }
    const std::int64_t firstYear = rule.julian ? window.julianFirst : window.year - 1;
    const std::int64_t lastYear = rule.julian ? window.julianLast : window.year + 1;
    for (std::int64_t y = firstYear; y <= lastYear; ++y) {
        // The window reaches from late November of the year before to early February after.
        if (!rule.julian &&
            ((y < window.year && rule.month < 11) || (y > window.year && rule.month > 2))) {
            continue;
        }
        if (open || rule.ActiveIn(y)) {
            const std::size_t i = static_cast<std::size_t>(y - firstYear);
            const std::optional<std::int64_t> day =
                DayOfRule(rule, rule.julian ? window.julian[i] : window.gregorian[i]);
            if (day) {
                push(*day);
            }
        }
    }
}

// The ones of a word (std::popcount is a library call where the processor may lack POPCNT).
constexpr int Ones(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555ULL;
    x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}
constexpr bool OnesAsPopcount() {
    std::uint64_t x = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 2000; ++i, x = x * 6364136223846793005ULL + 1442695040888963407ULL) {
        if (Ones(x) != std::popcount(x) || Ones(x >> (i % 64)) != std::popcount(x >> (i % 64))) {
            return false;
        }
    }
    return Ones(0) == 0 && Ones(~std::uint64_t{0}) == 64;
}
static_assert(OnesAsPopcount());

// The days of the years [first, first + n) as bits, from the first day of `first`: the days
// that are not weekend days among them counted a year at a time.
struct YearBits {
    const std::uint64_t* bits;
    const std::array<std::uint64_t, 7>& notWeekend;  // per weekday of the first of 64 days
    std::size_t weekday;                             // of the first day
    std::int64_t first;
    std::int64_t n;

    template <typename CountOnes>
    [[gnu::always_inline]] void Count(CountOnes ones, std::int64_t* out) const {
        std::size_t day = weekday;  // of the word's first day: one later each word (64 = 9 * 7 + 1)
        std::int64_t word = 0;      // the bits counted: the days [0, 64 * word)
        std::int64_t counted = 0;   // ... and their ones
        std::int64_t previous = 0;
        std::int64_t to = 0;
        for (std::int64_t i = 0; i < n; ++i) {
            to += jdcore::gregorian_leap(first + i) ? 366 : 365;
            for (; word < to / 64; ++word) {
                counted += ones(bits[word] & notWeekend[day]);
                day = day == 6 ? 0 : day + 1;
            }
            const std::int64_t upTo = counted + ones(bits[word] & notWeekend[day] &
                                                     ((std::uint64_t{1} << (to % 64)) - 1));
            out[i] = upTo - previous;
            previous = upTo;
        }
    }
#if defined(__x86_64__) || defined(__i386__)
    // The same with the processor's count of ones, where it has one (x86-64's baseline has
    // none).
    [[gnu::target("popcnt")]] [[gnu::noinline]] void CountWithPopcnt(std::int64_t* out) const {
        Count([](std::uint64_t x) { return __builtin_popcountll(x); }, out);
    }
#else
    void CountWithPopcnt(std::int64_t* out) const {
        Count([](std::uint64_t x) { return std::popcount(x); }, out);
    }
#endif
};

bool HasPopcnt() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool has = [] {
        __builtin_cpu_init();  // may run before the constructors that otherwise do it
        return __builtin_cpu_supports("popcnt") != 0;
    }();
    return has;
#else
    return true;  // the other processors' baselines count ones
#endif
}

// The days that are not weekend days among 64 in a row, for each day of the week of the first.
const std::array<std::uint64_t, 7>& NotWeekendBits(std::uint8_t weekend) {
    static const std::array<std::array<std::uint64_t, 7>, 128> table = [] {
        std::array<std::array<std::uint64_t, 7>, 128> all{};
        for (unsigned set = 0; set < 128; ++set) {
            for (unsigned first = 0; first < 7; ++first) {
                for (unsigned bit = 0; bit < 64; ++bit) {
                    if (((set >> ((first + bit) % 7)) & 1) == 0) {
                        all[set][first] |= std::uint64_t{1} << bit;
                    }
                }
            }
        }
        return all;
    }();
    return table[weekend & 0x7f];
}

// The Western Easter days of the years [first, first + n) (as `take(year, day)`): read off the
// kinds of year once they are built; before, worked out into `easter` once for every rule
// counted from them (the caller empties it for other years).
template <typename Take>
void ForEachWesternEaster(std::int64_t first, std::int64_t n, std::vector<std::uint8_t>& easter,
                          Take take) {
    std::int64_t march21 = YearStart(first) + 79;  // in a common year
    if (const KindTable* kinds = builtKinds.load(std::memory_order_acquire)) {
        for (std::int64_t i = 0, y = floor_mod(first, kEasterCycle); i < n; ++i) {
            const unsigned kind = kinds->kind[static_cast<std::size_t>(y)];
            const std::int64_t leap = kind & 1;
            take(first + i, march21 + leap + kind / 2 + 1);
            march21 += 365 + leap;
            y = y + 1 == kEasterCycle ? 0 : y + 1;
        }
        return;
    }
    if (easter.empty()) {
        easter.resize(static_cast<std::size_t>(n));
        jdcore::western_easter_days(first, n, easter.data());
    }
    for (std::int64_t i = 0; i < n; ++i) {
        const bool leap = jdcore::gregorian_leap(first + i);
        take(first + i, march21 + (leap ? 1 : 0) + easter[static_cast<std::size_t>(i)]);
        march21 += leap ? 366 : 365;
    }
}

// Whether a holiday on a day of the week (0 Monday .. 6 Sunday) moves or gives a substitute day:
// on the days `on` names, or else on Saturday and Sunday (`saturdaySunday`) or weekend days.
bool TriggeredOn(unsigned dayOfWeek, bool weekendDay, std::uint8_t on, bool saturdaySunday) {
    if (on != 0) {
        return ((on >> dayOfWeek) & 1) != 0;
    }
    return saturdaySunday ? dayOfWeek >= 5 : weekendDay;
}

// The day a holiday of a rule that moves to the Friday before or the Monday after ("nearest")
// takes, under a weekend of the same days every week: no other holiday changes it.
std::int64_t NeighbourDay(std::int64_t day, const MoveRule& rule, std::uint8_t weekend) {
    const auto dayOfWeek = static_cast<unsigned>(floor_mod(day, 7));
    if (!TriggeredOn(dayOfWeek, ((weekend >> dayOfWeek) & 1) != 0, rule.observedOn, true)) {
        return day;
    }
    return day + (dayOfWeek == 5 ? -1 : 1);
}

// The days a working-out looks at, as bits: a Monday before the first raw date, far enough that
// a holiday moving back past weekend days and taken days stays after it (there are fewer taken
// days than dates, and a week holds at least one day that is not weekend), and as far after
// the last. The weekend days among them are kept as bits too, since the weekend can change.
struct DayBits {
    std::int64_t base = 0;  // the day of bit 0, a Monday
    std::vector<std::uint64_t>* words = nullptr;
    std::vector<std::uint64_t> notWeekend;

    DayBits(std::int64_t firstDay, std::int64_t lastDay, std::int64_t dates,
            const WeekendSchedule& weekend, std::vector<std::uint64_t>& storage)
        : words(&storage) {
        // Each weekend span may take a week without a working day before its first working
        // day: reach past them all.
        const std::int64_t reach =
            7 * (dates + 2 + static_cast<std::int64_t>(weekend.spans.size()));
        base = firstDay - reach;
        base -= floor_mod(base, 7);
        const std::size_t size = static_cast<std::size_t>((lastDay + reach - base) / 64 + 1);
        storage.assign(size, 0);
        notWeekend.assign(size, 0);
        for (std::size_t w = 0; w < size; ++w) {
            const std::int64_t first = base + static_cast<std::int64_t>(64 * w);
            const std::uint8_t mask = weekend.At(first);
            if (weekend.IsConstant() || weekend.At(first + 63) == mask) {
                notWeekend[w] = NotWeekendBits(mask)[w * 64 % 7];
                continue;
            }
            for (unsigned bit = 0; bit < 64; ++bit) {
                const std::int64_t day = first + bit;
                if (((weekend.At(day) >> floor_mod(day, 7)) & 1) == 0) {
                    notWeekend[w] |= std::uint64_t{1} << bit;
                }
            }
        }
    }
    std::uint64_t Index(std::int64_t day) const { return static_cast<std::uint64_t>(day - base); }
    unsigned DayOfWeek(std::int64_t day) const {  // 0 Monday .. 6 Sunday
        return static_cast<unsigned>(Index(day) % 7);
    }
    bool IsWeekend(std::int64_t day) const {
        return ((notWeekend[Index(day) / 64] >> (Index(day) % 64)) & 1) == 0;
    }
    bool Taken(std::int64_t day) const {
        return (((*words)[Index(day) / 64] >> (Index(day) % 64)) & 1) != 0;
    }
    void Take(std::int64_t day) {
        (*words)[Index(day) / 64] |= std::uint64_t{1} << (Index(day) % 64);
    }
    void Free(std::int64_t day) {
        (*words)[Index(day) / 64] &= ~(std::uint64_t{1} << (Index(day) % 64));
    }
    bool Triggers(std::int64_t day, std::uint8_t on, bool saturdaySunday) const {
        return TriggeredOn(DayOfWeek(day), IsWeekend(day), on, saturdaySunday);
    }
    bool Moves(const RawDate& h, const MoveRule& rule) const {
        if (h.observed == Observed::None) {
            return false;
        }
        return Triggers(h.jdn, rule.observedOn, h.observed == Observed::FriMon);
    }
    // The taken days in [from, to) that are not weekend days, in order.
    void WorkdaysTaken(std::int64_t from, std::int64_t to, std::vector<std::int64_t>& out) const {
        // No day outside the bits is taken.
        const std::uint64_t last =
            std::min<std::uint64_t>(Index(std::max(to, base)), 64 * words->size());
        for (std::uint64_t i = Index(std::max(from, base)); i < last;) {
            const std::uint64_t w = i / 64;
            std::uint64_t bits = (*words)[w] & notWeekend[w] & (~std::uint64_t{0} << (i % 64));
            const std::uint64_t wordEnd = (w + 1) * 64;
            if (last < wordEnd) {
                bits &= (std::uint64_t{1} << (last % 64)) - 1;
            }
            while (bits != 0) {
                out.push_back(base + static_cast<std::int64_t>(w * 64) + std::countr_zero(bits));
                bits &= bits - 1;
            }
            i = wordEnd;
        }
    }
};

// The holiday dates of the year being worked out, kept when they are asked for.
struct YearDates {
    std::vector<HolidayDate>& out;
    bool wanted;
    std::int64_t first;  // the year's first day
    std::int64_t end;    // the next year's first day

    bool InYear(std::int64_t day) const { return day >= first && day < end; }
    void Keep(std::int64_t day, int rule, bool moved, bool observed, bool substitute) const {
        if (wanted && InYear(day)) {
            out.push_back({day, rule, moved, observed, substitute});
        }
    }
};

// A year where nothing moves (no holiday falls on a day that moves it or gives a substitute,
// no extra working day, no dates asked for): the distinct days of the year that are not
// weekend days, into scratch.days. False, with nothing done, when the year needs the full
// working-out.
bool TakeUnmovedYear(const std::vector<MoveRule>& rules, const WeekendSchedule& weekend,
                     const YearDates& year, Scratch& scratch) {
    if (year.wanted || !scratch.workdays.empty()) {
        return false;
    }
    const auto isWeekend = [&weekend](std::int64_t day, unsigned dayOfWeek) {
        return ((weekend.At(day) >> dayOfWeek) & 1) != 0;
    };
    if (std::any_of(scratch.raw.begin(), scratch.raw.end(), [&](const RawDate& h) {
            const MoveRule& rule = rules[static_cast<std::size_t>(h.rule)];
            if (h.observed == Observed::None && rule.substitute == Substitute::None) {
                return false;
            }
            const auto dayOfWeek = static_cast<unsigned>(floor_mod(h.jdn, 7));
            const bool weekendDay = isWeekend(h.jdn, dayOfWeek);
            return (h.observed != Observed::None &&
                    TriggeredOn(dayOfWeek, weekendDay, rule.observedOn,
                                h.observed == Observed::FriMon)) ||
                   (rule.substitute != Substitute::None &&
                    TriggeredOn(dayOfWeek, weekendDay, rule.substituteOn, false));
        })) {
        return false;
    }
    for (const RawDate& h : scratch.raw) {
        if (year.InYear(h.jdn) && (scratch.days.empty() || scratch.days.back() != h.jdn) &&
            !isWeekend(h.jdn, static_cast<unsigned>(floor_mod(h.jdn, 7)))) {
            scratch.days.push_back(h.jdn);
        }
    }
    return true;
}

// The day bits reaching over every raw date and extra working day of the window.
DayBits BitsOfWindow(const WeekendSchedule& weekend, Scratch& scratch) {
    const std::vector<RawDate>& raw = scratch.raw;
    const std::int64_t low =
        raw.empty()
            ? scratch.workdays.front()
            : std::min(raw.front().jdn,
                       scratch.workdays.empty() ? raw.front().jdn : scratch.workdays.front());
    const std::int64_t high =
        raw.empty() ? scratch.workdays.back()
                    : std::max(raw.back().jdn,
                               scratch.workdays.empty() ? raw.back().jdn : scratch.workdays.back());
    return DayBits(low, high, static_cast<std::int64_t>(raw.size()), weekend, scratch.taken);
}

// The day a moving holiday on h.jdn is observed on: the free working day its rule names.
std::int64_t ObservedDay(const RawDate& h, const DayBits& taken) {
    std::int64_t day = h.jdn;
    switch (h.observed) {
        case Observed::FriMon:
            day += taken.DayOfWeek(day) == 5 ? -1 : 1;
            break;
        case Observed::Previous:
            do {
                --day;
            } while (taken.IsWeekend(day) || taken.Taken(day));
            break;
        default:
            do {
                ++day;
            } while (taken.IsWeekend(day) || taken.Taken(day));
            break;
    }
    return day;
}

// Gives the substitute days, in the order of their holidays' days.
void GiveSubstitutes(const std::vector<MoveRule>& rules, const std::vector<RawDate>& raw,
                     DayBits& taken, const YearDates& year, std::vector<MovePath>& paths) {
    for (const RawDate& h : raw) {
        const MoveRule& rule = rules[static_cast<std::size_t>(h.rule)];
        if (rule.substitute == Substitute::None ||
            !taken.Triggers(h.jdn, rule.substituteOn, false)) {
            continue;
        }
        const int step = rule.substitute == Substitute::Next ? 1 : -1;
        std::int64_t day = h.jdn;
        do {
            day += step;
        } while (taken.IsWeekend(day) || taken.Taken(day));
        taken.Take(day);
        paths.push_back({h.jdn, day, true});
        year.Keep(day, h.rule, false, false, true);
    }
}

// The extra working days are no holidays; those on weekend days go to scratch.extra.
void FreeExtraWorkdays(DayBits& taken, const YearDates& year, Scratch& scratch) {
    for (const std::int64_t day : scratch.workdays) {
        taken.Free(day);
        if (year.InYear(day) && taken.IsWeekend(day)) {
            scratch.extra.push_back(day);
        }
    }
    if (year.wanted && !scratch.workdays.empty()) {
        std::erase_if(scratch.dates, [&](const HolidayDate& h) {
            return std::binary_search(scratch.workdays.begin(), scratch.workdays.end(), h.jdn);
        });
    }
}

// Works out the holidays of Gregorian year `year` from the raw dates gathered for its window:
// holidays that stay on their day take it first (also those given a substitute day); the
// moving ones, in the order of their own days, then take the free working day their rule
// names; then the substitute days are given, in the order of their holidays' days; last, the
// extra working days (scratch.workdays) are no holidays. Leaves in scratch.days the distinct
// non-weekend days of the year that hold a holiday, sorted, in scratch.extra the extra working
// days of the year that are weekend days, with `dates` every holiday date in the year,
// sorted, in scratch.dates, and in scratch.paths the moves and substitute days. Apart from
// the weekend, the working-out reads and takes only the raw dates' days and the days of those
// paths.
void WorkOut(const std::vector<MoveRule>& rules, const WeekendSchedule& weekend, std::int64_t year,
             Scratch& scratch, bool dates) {
    std::vector<RawDate>& raw = scratch.raw;
    const auto before = [](const RawDate& a, const RawDate& b) {
        return a.jdn != b.jdn ? a.jdn < b.jdn : a.rule < b.rule;
    };
    if (!std::is_sorted(raw.begin(), raw.end(), before)) {
        std::sort(raw.begin(), raw.end(), before);
    }
    const YearDates kept{.out = scratch.dates,
                         .wanted = dates,
                         .first = YearStart(year),
                         .end = YearStart(year + 1)};
    scratch.days.clear();
    scratch.dates.clear();
    scratch.extra.clear();
    scratch.paths.clear();
    if ((raw.empty() && scratch.workdays.empty()) ||
        TakeUnmovedYear(rules, weekend, kept, scratch)) {
        return;
    }
    DayBits taken = BitsOfWindow(weekend, scratch);
    const auto ruleOf = [&](const RawDate& h) -> const MoveRule& {
        return rules[static_cast<std::size_t>(h.rule)];
    };
    bool anyMove = false;
    bool anySubstitute = false;
    for (const RawDate& h : raw) {
        if (taken.Moves(h, ruleOf(h))) {
            anyMove = true;
        } else {
            taken.Take(h.jdn);
            anySubstitute = anySubstitute || ruleOf(h).substitute != Substitute::None;
        }
    }
    for (const RawDate& h : raw) {
        if (!anyMove || !taken.Moves(h, ruleOf(h))) {
            kept.Keep(h.jdn, h.rule, false, false, false);
            continue;
        }
        kept.Keep(h.jdn, h.rule, true, false, false);
        const std::int64_t day = ObservedDay(h, taken);
        taken.Take(day);
        scratch.paths.push_back({h.jdn, day, h.observed != Observed::FriMon});
        kept.Keep(day, h.rule, false, true, false);
    }
    if (anySubstitute) {
        GiveSubstitutes(rules, raw, taken, kept, scratch.paths);
    }
    FreeExtraWorkdays(taken, kept, scratch);
    if (dates && (anyMove || anySubstitute)) {
        std::sort(scratch.dates.begin(), scratch.dates.end(),
                  [](const HolidayDate& a, const HolidayDate& b) {
                      return a.jdn != b.jdn ? a.jdn < b.jdn : a.rule < b.rule;
                  });
    }
    taken.WorkdaysTaken(kept.first, kept.end, scratch.days);
}

}  // namespace

// ---- the plan: where the rules in force change ----------------------------------------------

// The years are cut where rules begin or end (and where the set's weekend changes); between two
// cut years (a segment) the rules in force are the same, apart from the cut year itself. A year
// whose window holds a day where the rules in force change, a single date or an extra working
// day, is special: counted from its own working-out.
struct HolidayPlan {
    std::vector<std::int64_t> cutYears;      // sorted; segment s holds [cut[s-1], cut[s])
    std::vector<std::int64_t> probe;         // per segment: a day whose rules in force it has
    std::vector<std::vector<int>> list;      // per segment: the rules in force near any of its days
    std::vector<std::vector<int>> inForce;   // per segment: those in force on its probe day
    std::vector<Method> method;              // per segment
    std::vector<WeekendSchedule> weekend;    // per segment: the weekend on its probe day
    std::vector<std::int64_t> singleDays;    // sorted; single dates
    std::vector<int> singleRules;            // their rules, in the same order
    std::vector<std::int64_t> workdayDays;   // sorted; extra working days
    std::vector<std::int64_t> specialYears;  // sorted
    std::int64_t mostPerYear = 0;            // an upper bound of the holidays in a year
    bool anyKept = false;
    bool anyLunar = false;

    std::size_t SegmentOf(std::int64_t year) const {
        return static_cast<std::size_t>(std::upper_bound(cutYears.begin(), cutYears.end(), year) -
                                        cutYears.begin());
    }
    std::int64_t SegmentFirst(std::size_t s) const { return s == 0 ? kFarPast : cutYears[s - 1]; }
    std::int64_t SegmentEnd(std::size_t s) const {
        return s == cutYears.size() ? kFarFuture : cutYears[s];
    }
};

namespace {

struct RuleDays {
    std::int64_t start;  // first day in force
    std::int64_t end;    // first day no longer in force
    std::int64_t reach;  // how far its dates lie from the days of its years
};

// The first day of a year of the rule's calendar (near it, for calendars with a table span
// outside the span).
std::int64_t CalendarYearStart(const HolidayRule& rule, std::int64_t year) {
    switch (rule.kind) {
        case HolidayKind::Relative:
            return CalendarYearStart(*rule.base, year);
        case HolidayKind::CalendarDay: {
            HolidayRule first = rule;
            first.offset = 0;
            first.day = 1;
            first.month = rule.calendar == RuleCalendar::Hebrew ? 7 : 1;
            std::vector<RuleDate> dates;
            // The calendar's years are shorter than 400 days: its first day lies within 400
            // days of the Gregorian year's start.
            const std::int64_t near = YearStart(year);
            RuleDatesBetween(first, near - 1000000, near + 1000000, dates);
            for (const RuleDate& d : dates) {
                if (d.year == year) {
                    return d.jdn;
                }
            }
            return near;
        }
        default:
            return RuleYearStart(rule, year);
    }
}

RuleDays DaysInForce(const HolidayRule& rule) {
    if (rule.kind == HolidayKind::SingleDate) {
        const std::int64_t day = rule.DateIn(rule.firstYear).value_or(kFarPast);
        return {day, day + 1, 0};  // a date that does not exist (not read from a file): never
    }
    const bool other = rule.kind == HolidayKind::CalendarDay || rule.kind == HolidayKind::Relative;
    RuleDays days{rule.firstYear > std::numeric_limits<std::int32_t>::min()
                      ? (other ? CalendarYearStart(rule, rule.firstYear)
                               : RuleYearStart(rule, rule.firstYear))
                      : kFarPast,
                  rule.lastYear < std::numeric_limits<std::int32_t>::max()
                      ? (other ? CalendarYearStart(rule, rule.lastYear + 1)
                               : RuleYearStart(rule, rule.lastYear + 1))
                      : kFarFuture,
                  0};
    if (rule.kind != HolidayKind::FixedDay && rule.kind != HolidayKind::NthWeekday &&
        rule.kind != HolidayKind::EasterDays) {
        days.reach = 7 * rule.nth + 8 + std::abs(rule.offset);
    } else if (rule.kind != HolidayKind::EasterDays) {
        days.reach = std::abs(rule.offset);
    }
    const DaySpan span = RuleTableSpan(rule);
    if (rule.firstDay > -kNoDayBound) {
        days.start = std::max(days.start, rule.firstDay);
    }
    if (rule.lastDay < kNoDayBound) {
        days.end = std::min(days.end, rule.lastDay + 1);
    }
    if (span.first > -kNoDayBound) {
        days.start = std::max(days.start, span.first);
    }
    if (span.last < kNoDayBound) {
        days.end = std::min(days.end, span.last + 1);
    }
    if (days.end < days.start) {
        days.end = days.start;
    }
    return days;
}

// A day where the rules in force change, and how far the dates of its rule reach from the
// days of their years.
struct RuleChange {
    std::int64_t day;
    std::int64_t reach;
};

// Each rule's days in force; the plan's single days and extra working days; the days where the
// rules in force or the weekend change. Returns the most dates a year of the rules (not the
// single dates) can hold.
std::int64_t GatherRuleDays(const HolidaySet& set, HolidayPlan& plan, std::vector<RuleDays>& days,
                            std::vector<RuleChange>& changes) {
    days.reserve(set.rules.size());
    std::int64_t perYear = 0;
    for (const HolidayRule& rule : set.rules) {
        days.push_back(DaysInForce(rule));
        const RuleDays& d = days.back();
        if (rule.kind == HolidayKind::SingleDate) {
            if (d.start != kFarPast && rule.InDayBounds(d.start)) {
                plan.singleDays.push_back(d.start);
            }
            continue;
        }
        // A Julian year's date, and one of a shorter year, can come twice in a year; a
        // substitute day is one more.
        perYear += (IsGregorianKind(rule) ? 1 : 2) + (rule.substitute != Substitute::None ? 1 : 0);
        for (const std::int64_t change : {d.start, d.end}) {
            if (change != kFarPast && change != kFarFuture) {
                changes.push_back({change, d.reach});
            }
        }
    }
    for (const WeekendSpan& span : set.weekends) {
        for (const std::int64_t change : {span.first, span.last + 1}) {
            if (change > -kNoDayBound && change <= kNoDayBound) {
                changes.push_back({change, 0});
            }
        }
    }
    for (const ExtraWorkday& w : set.workdays) {
        plan.workdayDays.push_back(w.jdn);
    }
    return perYear;
}

// Single dates, sorted, and the most of them in one year's window.
void PlaceSingleDates(const HolidaySet& set, const std::vector<RuleDays>& days,
                      std::int64_t perYear, HolidayPlan& plan) {
    std::vector<int> singles;
    for (std::size_t r = 0; r < set.rules.size(); ++r) {
        if (set.rules[r].kind == HolidayKind::SingleDate && days[r].start != kFarPast &&
            set.rules[r].InDayBounds(days[r].start)) {
            singles.push_back(static_cast<int>(r));
        }
    }
    std::sort(singles.begin(), singles.end(), [&](int a, int b) {
        return days[static_cast<std::size_t>(a)].start < days[static_cast<std::size_t>(b)].start;
    });
    plan.singleRules = singles;
    std::sort(plan.singleDays.begin(), plan.singleDays.end());
    std::int64_t mostSingles = 0;
    for (std::size_t i = 0, j = 0; i < plan.singleDays.size(); ++i) {
        while (plan.singleDays[i] - plan.singleDays[j] > 366 + 2 * kObservedMargin) {
            ++j;
        }
        mostSingles = std::max<std::int64_t>(mostSingles, static_cast<std::int64_t>(i - j + 1));
    }
    plan.mostPerYear = perYear + mostSingles;
}

// The plan's cut years and special years; returns the change days, sorted and distinct.
std::vector<std::int64_t> PlaceCutsAndSpecialYears(const std::vector<RuleChange>& changes,
                                                   HolidayPlan& plan) {
    // A change on day c matters to the years whose window holds c - 1 and c, and, for dates
    // lying some way from the days of their years, those the dates reach.
    std::vector<std::int64_t> special;
    for (const auto& [c, reach] : changes) {
        special.push_back(YearOf(c - 1 - kObservedMargin - reach));
        special.push_back(YearOf(c + kObservedMargin + reach));
        plan.cutYears.push_back(YearOf(c));
    }
    for (const std::vector<std::int64_t>* single : {&plan.singleDays, &plan.workdayDays}) {
        for (const std::int64_t d : *single) {
            special.push_back(YearOf(d - 1 - kObservedMargin));
            special.push_back(YearOf(d + 1 + kObservedMargin));
        }
    }
    // Each pair above holds the years from its first to its second (a few).
    std::vector<std::int64_t> expanded;
    expanded.reserve(special.size() * 2);
    for (std::size_t i = 0; i < special.size(); i += 2) {
        for (std::int64_t y = special[i]; y <= special[i + 1]; ++y) {
            expanded.push_back(y);
        }
    }
    std::sort(expanded.begin(), expanded.end());
    expanded.erase(std::unique(expanded.begin(), expanded.end()), expanded.end());
    plan.specialYears = std::move(expanded);
    std::vector<std::int64_t> changeDays;
    changeDays.reserve(changes.size());
    for (const RuleChange& change : changes) {
        changeDays.push_back(change.day);
    }
    std::sort(changeDays.begin(), changeDays.end());
    changeDays.erase(std::unique(changeDays.begin(), changeDays.end()), changeDays.end());
    std::sort(plan.cutYears.begin(), plan.cutYears.end());
    plan.cutYears.erase(std::unique(plan.cutYears.begin(), plan.cutYears.end()),
                        plan.cutYears.end());
    return changeDays;
}

// Probes: before every change for the first segment; the last change of a segment's cut
// year for the others (the rules in force stay so until the next cut year).
void PlaceProbes(const std::vector<std::int64_t>& changeDays, HolidayPlan& plan) {
    const std::size_t segments = plan.cutYears.size() + 1;
    plan.probe.resize(segments);
    plan.probe[0] = changeDays.empty() ? 0 : changeDays.front() - 1;
    for (std::size_t s = 1; s < segments; ++s) {
        const std::int64_t nextYear = YearStart(plan.cutYears[s - 1] + 1);
        plan.probe[s] = *(std::lower_bound(changeDays.begin(), changeDays.end(), nextYear) - 1);
    }
}

// The segments whose days, with the windows of their years, meet a rule's days in force; with
// `lists`, each segment's rules and those in force at its probe.
void PlaceRulesInSegments(const HolidaySet& set, const std::vector<RuleDays>& days, bool lists,
                          HolidayPlan& plan,
                          std::vector<std::pair<std::size_t, std::size_t>>* segmentsOfRule) {
    const std::size_t segments = plan.cutYears.size() + 1;
    std::vector<std::int64_t> cutDays;
    cutDays.reserve(plan.cutYears.size());
    for (const std::int64_t y : plan.cutYears) {
        cutDays.push_back(YearStart(y));
    }
    if (lists) {
        plan.list.resize(segments);
        plan.inForce.resize(segments);
    }
    for (std::size_t r = 0; r < set.rules.size(); ++r) {
        if (set.rules[r].kind == HolidayKind::SingleDate) {
            continue;
        }
        const RuleDays& d = days[r];
        const std::int64_t reach = kObservedMargin + d.reach;
        // First: the first segment whose end (with margin) lies after the rule's start.
        const std::size_t first = static_cast<std::size_t>(
            std::upper_bound(
                cutDays.begin(), cutDays.end(), d.start,
                [reach](std::int64_t start, std::int64_t cut) { return start < cut + reach; }) -
            cutDays.begin());
        // Last: the last segment whose start (less the margin) lies before the rule's end.
        const std::size_t last =
            static_cast<std::size_t>(std::lower_bound(cutDays.begin(), cutDays.end(), d.end,
                                                      [reach](std::int64_t cut, std::int64_t end) {
                                                          return cut - reach < end;
                                                      }) -
                                     cutDays.begin());
        if (segmentsOfRule != nullptr) {
            segmentsOfRule->push_back({first, last});
        }
        if (!lists || d.end <= d.start) {
            continue;
        }
        for (std::size_t s = first; s <= last && s < segments; ++s) {
            plan.list[s].push_back(static_cast<int>(r));
            if (d.start <= plan.probe[s] && plan.probe[s] < d.end) {
                plan.inForce[s].push_back(static_cast<int>(r));
            }
        }
    }
}

// Each segment's weekend and how its years are counted.
void ChooseMethods(const HolidaySet& set, const WeekendSchedule& weekend, HolidayPlan& plan) {
    const std::size_t segments = plan.cutYears.size() + 1;
    plan.method.resize(segments, Method::Kinds);
    for (std::size_t s = 0; s < segments; ++s) {
        plan.weekend.emplace_back(weekend.At(plan.probe[s]));
        bool kinds = true;
        bool periodic = true;
        for (const int r : plan.inForce[s]) {
            const HolidayRule& rule = set.rules[static_cast<std::size_t>(r)];
            kinds = kinds && IsGregorianKind(rule);
            periodic = periodic && IsPeriodicKind(rule);
        }
        const bool longStretch =
            s == 0 || s + 1 == segments || plan.SegmentEnd(s) - plan.SegmentFirst(s) >= kTableYears;
        // Only the open-ended stretches count by lunar kinds: a set has at most two such
        // tables, whatever its rules (a stretch between changes of rules keeps its years).
        const bool lunar =
            (s == 0 || s + 1 == segments) && LunarCycleOf(set, plan.inForce[s]) != nullptr;
        plan.method[s] = kinds                     ? Method::Kinds
                         : periodic && longStretch ? Method::Period
                         : lunar                   ? Method::Lunar
                                                   : Method::Kept;
        plan.anyKept = plan.anyKept || plan.method[s] == Method::Kept;
        plan.anyLunar = plan.anyLunar || plan.method[s] == Method::Lunar;
    }
}

// The plan's cuts, probes and special years, and per rule the range of segments whose days
// (with their windows) it is in force on; the lists themselves only when `lists` is set.
std::unique_ptr<HolidayPlan> MakePlan(
    const HolidaySet& set, bool lists, const WeekendSchedule& weekend = WeekendSchedule(),
    std::vector<std::pair<std::size_t, std::size_t>>* segmentsOfRule = nullptr) {
    auto plan = std::make_unique<HolidayPlan>();
    std::vector<RuleDays> days;
    std::vector<RuleChange> changes;
    const std::int64_t perYear = GatherRuleDays(set, *plan, days, changes);
    PlaceSingleDates(set, days, perYear, *plan);
    PlaceProbes(PlaceCutsAndSpecialYears(changes, *plan), *plan);
    PlaceRulesInSegments(set, days, lists, *plan, segmentsOfRule);
    if (lists) {
        ChooseMethods(set, weekend, *plan);
    }
    return plan;
}

}  // namespace

HolidaySetSize MeasureHolidaySet(const HolidaySet& set) {
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    const std::unique_ptr<HolidayPlan> plan = MakePlan(set, false, WeekendSchedule(), &ranges);
    const std::size_t segments = plan->cutYears.size() + 1;
    bool kinds = true;
    bool periodic = true;
    for (const HolidayRule& rule : set.rules) {
        kinds = kinds && IsGregorianKind(rule);
        periodic = periodic && IsPeriodicKind(rule);
    }
    // Rules near each segment, by a difference array over the segment ranges.
    std::vector<std::int64_t> near(segments + 1, 0);
    for (const auto& [first, last] : ranges) {
        if (first <= last && first < segments) {
            ++near[first];
            --near[std::min(last, segments - 1) + 1];
        }
    }
    HolidaySetSize size;
    size.changeYears = static_cast<std::int64_t>(plan->cutYears.size());
    std::int64_t running = 0;
    for (std::size_t s = 0; s < segments; ++s) {
        running += near[s];
        near[s] = running;
        size.mostInForce = std::max(size.mostInForce, running);
        const std::int64_t length =
            s == 0 || s + 1 == segments ? kFarFuture : plan->SegmentEnd(s) - plan->SegmentFirst(s);
        if (kinds) {
            size.work += kKinds * running;  // a year of each kind
        } else if (periodic) {
            size.work += (length >= kTableYears ? kPeriodYears : length) * running;
        }
    }
    // Each special year is worked out twice: as it is, and with its segment's rules.
    for (const std::int64_t y : plan->specialYears) {
        size.work += 2 * (near[plan->SegmentOf(y)] + 1);
    }
    size.work += static_cast<std::int64_t>(plan->singleDays.size());
    return size;
}

// ---- counts of many years, packed ------------------------------------------------------------

// The holidays of consecutive years, four bits a year over the least count of its block of
// kPackBlock years (the few years a nibble cannot hold are kept aside), with the running sum
// before every block and the nibbles' sum within it before every kPackStep years: the count of
// any years reads two sums and the nibbles between the nearer step and each end, sixteen at a
// time. A year costs a little over half a byte.
constexpr std::int64_t kPackBlock = 256;
constexpr std::int64_t kPackStep = 64;

class PackedYearCounts {
  public:
    // The counts of the years [0, years), from count(i) for each i in order.
    template <typename CountOf>
    void Build(std::int64_t years, CountOf count) {
        const std::size_t blocks = static_cast<std::size_t>((years + kPackBlock - 1) / kPackBlock);
        words_.assign(static_cast<std::size_t>((years + 15) / 16), 0);
        before_.assign(blocks + 1, 0);
        least_.assign(blocks, 0);
        wideBlocks_.assign(blocks, 0);
        steps_.assign(static_cast<std::size_t>(years / kPackStep + 1), 0);
        years_ = years;
        std::array<std::int64_t, kPackBlock> block{};
        std::int64_t running = 0;
        for (std::size_t b = 0; b < blocks; ++b) {
            const std::int64_t first = static_cast<std::int64_t>(b) * kPackBlock;
            const std::int64_t size = std::min(kPackBlock, years - first);
            for (std::int64_t i = 0; i < size; ++i) {
                block[static_cast<std::size_t>(i)] = count(first + i);
            }
            const std::int64_t least = *std::min_element(block.begin(), block.begin() + size);
            least_[b] = static_cast<std::int16_t>(least);  // a year has fewer than 400 days
            before_[b] = running;
            std::uint16_t nibbles = 0;  // at most 15 * (kPackBlock - kPackStep)
            for (std::int64_t i = 0; i < size; ++i) {
                const std::int64_t value = block[static_cast<std::size_t>(i)];
                running += value;
                const std::int64_t year = first + i;
                const std::uint64_t nibble =
                    static_cast<std::uint64_t>(std::min(value - least, kWide));
                if (nibble == kWide) {
                    wide_[year] = value - least - kWide;
                    wideBlocks_[b] = 1;
                }
                if (year % kPackStep == 0) {
                    steps_[static_cast<std::size_t>(year / kPackStep)] = nibbles;
                }
                nibbles = static_cast<std::uint16_t>(nibbles + nibble);
                words_[static_cast<std::size_t>(year / 16)] |= nibble << (4 * (year % 16));
            }
        }
        before_[blocks] = running;
    }

    std::int64_t Total() const { return before_.back(); }
    // The years [0, i), 0 <= i <= years: the nearer step's sum and the years between.
    std::int64_t Before(std::int64_t i) const {
        const std::int64_t edge =
            std::min((i + kPackStep / 2) / kPackStep, years_ / kPackStep) * kPackStep;
        const std::int64_t sum = StepSum(edge);
        return i >= edge ? sum + InBlock(edge, i) : sum - InBlock(i, edge);
    }

  private:
    static constexpr std::int64_t kWide = 15;

    // The years [0, edge), edge a multiple of kPackStep.
    std::int64_t StepSum(std::int64_t edge) const {
        const std::size_t block = static_cast<std::size_t>(edge / kPackBlock);
        if (edge % kPackBlock == 0) {
            return before_[block];
        }
        const std::int64_t start = static_cast<std::int64_t>(block) * kPackBlock;
        return before_[block] + (edge - start) * least_[block] +
               steps_[static_cast<std::size_t>(edge / kPackStep)] + WideIn(start, edge);
    }
    // What the nibbles leave out of the years [lo, hi) of one block.
    std::int64_t WideIn(std::int64_t lo, std::int64_t hi) const {
        std::int64_t sum = 0;
        if (hi > lo && wideBlocks_[static_cast<std::size_t>(lo / kPackBlock)] != 0) {
            for (auto it = wide_.lower_bound(lo); it != wide_.end() && it->first < hi; ++it) {
                sum += it->second;
            }
        }
        return sum;
    }

    // The years [lo, hi) of one block.
    [[gnu::always_inline]] std::int64_t InBlock(std::int64_t lo, std::int64_t hi) const {
        if (hi <= lo) {
            return 0;
        }
        std::int64_t sum = (hi - lo) * least_[static_cast<std::size_t>(lo / kPackBlock)];
        for (std::int64_t w = lo / 16; w * 16 < hi; ++w) {
            std::uint64_t word = words_[static_cast<std::size_t>(w)];
            const std::int64_t from = std::max(lo - w * 16, std::int64_t{0});
            const std::int64_t to = std::min(hi - w * 16, std::int64_t{16});
            word >>= 4 * from;
            if (to - from < 16) {
                word &= (std::uint64_t{1} << (4 * (to - from))) - 1;
            }
            // The nibbles' sum: pairs into bytes (each at most 30), then the bytes added.
            const std::uint64_t bytes =
                (word & 0x0F0F0F0F0F0F0F0FULL) + ((word >> 4) & 0x0F0F0F0F0F0F0F0FULL);
            sum += static_cast<std::int64_t>((bytes * 0x0101010101010101ULL) >> 56);
        }
        return sum + WideIn(lo, hi);
    }

    std::int64_t years_ = 0;
    std::vector<std::uint64_t> words_;  // sixteen years a word
    std::vector<std::int64_t> before_;
    std::vector<std::int16_t> least_;
    std::vector<std::uint16_t> steps_;           // per step: its block's nibbles before it
    std::vector<std::uint8_t> wideBlocks_;       // per block: whether it has years in wide_
    std::map<std::int64_t, std::int64_t> wide_;  // what the nibble 15 leaves out
};

// The counts of consecutive years, worked out kKeptChunk years at a time as counts reach them:
// the total of every chunk worked out, with the running sums of the totals and of how many
// chunks are worked out (summed again whenever chunks are added, which takes far less than
// working out one), and the years themselves, packed, of the kDetailed chunks where counts
// last began or ended. A count within chunks worked out reads a few sums and a few years at
// each end; an end in a chunk whose years were let go works that chunk out again (a few
// milliseconds). So a table holds a few hundred kilobytes however many years counts crossed.
// The lock of a table whose reads take a few nanoseconds: one atomic exchange when no other
// thread holds it (a mutex takes two, out of line), and a wait rather than a spin when one does
// (working out a chunk takes milliseconds).
class TableLock {
  public:
    void lock() {
        while (held_.test_and_set(std::memory_order_acquire)) {
            held_.wait(true, std::memory_order_relaxed);
        }
    }
    void unlock() {
        held_.clear(std::memory_order_release);
        held_.notify_one();
    }

  private:
    std::atomic_flag held_;
};

class YearChunks {
  public:
    // The years [first, first + years).
    YearChunks(std::int64_t first, std::int64_t years)
        : first_(first),
          years_(years),
          total_(Chunks(), 0),
          built_(Chunks(), 0),
          totalBefore_(Chunks() + 1, 0),
          builtBefore_(Chunks() + 1, 0),
          packed_(Chunks()),
          lastUse_(Chunks(), 0) {}

    // The count of the years [a, b) less that of [b, a), both ends within the years, from the
    // counts of runs of years (count(first, n, out) puts those of [first, first + n) in out, the
    // years as given to the constructor).
    template <typename CountOf>
    std::int64_t Between(std::int64_t a, std::int64_t b, CountOf count) {
        if (a == b) {
            return 0;
        }
        const std::lock_guard<TableLock> lock(lock_);
        const std::int64_t lo = std::min(a, b) - first_;
        const std::int64_t hi = std::max(a, b) - first_;
        const std::size_t loChunk = ChunkOf(lo);
        const std::size_t hiChunk = ChunkOf(hi - 1);
        if (builtBefore_[hiChunk + 1] - builtBefore_[loChunk] !=
            static_cast<std::int32_t>(hiChunk - loChunk + 1)) [[unlikely]] {
            WorkOut(lo, hi, count);
        }
        return Before(b - first_, count) - Before(a - first_, count);
    }

  private:
    static constexpr std::size_t kDetailed = 64;

    std::size_t Chunks() const {
        return static_cast<std::size_t>((years_ + kKeptChunk - 1) / kKeptChunk);
    }
    static std::int64_t Start(std::size_t c) { return static_cast<std::int64_t>(c) * kKeptChunk; }
    std::int64_t End(std::size_t c) const { return std::min(Start(c) + kKeptChunk, years_); }

    static std::size_t ChunkOf(std::int64_t y) {
        return static_cast<std::size_t>(static_cast<std::uint64_t>(y) / kKeptChunk);
    }

    // The count of the years [0, y), all of them within chunks worked out.
    template <typename CountOf>
    std::int64_t Before(std::int64_t y, CountOf count) {
        const std::size_t c = ChunkOf(y);
        const std::int64_t offset = y - Start(c);
        if (offset == 0) {
            return totalBefore_[c];
        }
        lastUse_[c] = ++clock_;
        const PackedYearCounts* years = packed_[c].get();
        if (years == nullptr) [[unlikely]] {
            years = &Pack(c, count);
        }
        return totalBefore_[c] + years->Before(offset);
    }

    // Works out the chunks of the years [lo, hi) not worked out yet: those at the ends with
    // their years, those between only whole.
    template <typename CountOf>
    [[gnu::noinline]] void WorkOut(std::int64_t lo, std::int64_t hi, CountOf count) {
        const std::size_t loChunk = ChunkOf(lo);
        const std::size_t hiChunk = ChunkOf(hi - 1);
        for (std::size_t c = loChunk; c <= hiChunk; ++c) {
            if (built_[c] != 0) {
                continue;
            }
            if ((c == loChunk && lo % kKeptChunk != 0) || (c == hiChunk && hi % kKeptChunk != 0)) {
                Pack(c, count);
                continue;
            }
            count(first_ + Start(c), End(c) - Start(c), counts_);
            total_[c] = std::accumulate(counts_.begin(), counts_.end(), std::int64_t{0});
            built_[c] = 1;
        }
        for (std::size_t c = 0; c < total_.size(); ++c) {
            totalBefore_[c + 1] = totalBefore_[c] + total_[c];
            builtBefore_[c + 1] = builtBefore_[c] + built_[c];
        }
    }

    // Works out the years of chunk c (again, when they were let go); the chunk used longest ago
    // lets its years go when kDetailed chunks have them.
    template <typename CountOf>
    [[gnu::noinline]] const PackedYearCounts& Pack(std::size_t c, CountOf count) {
        auto years = std::make_unique<PackedYearCounts>();
        const std::int64_t start = first_ + Start(c);
        count(start, End(c) - Start(c), counts_);
        years->Build(End(c) - Start(c),
                     [this](std::int64_t i) { return counts_[static_cast<std::size_t>(i)]; });
        if (detailed_.size() == kDetailed) {
            const auto oldest = std::min_element(
                detailed_.begin(), detailed_.end(),
                [this](std::size_t x, std::size_t y) { return lastUse_[x] < lastUse_[y]; });
            packed_[*oldest].reset();
            *oldest = c;
        } else {
            detailed_.push_back(c);
        }
        total_[c] = years->Total();
        built_[c] = 1;
        packed_[c] = std::move(years);
        return *packed_[c];
    }

    TableLock lock_;
    std::int64_t first_;
    std::int64_t years_;
    std::vector<std::int64_t> total_;
    std::vector<std::uint8_t> built_;
    std::vector<std::int64_t> totalBefore_;
    std::vector<std::int32_t> builtBefore_;
    std::vector<std::unique_ptr<PackedYearCounts>> packed_;
    std::vector<std::uint64_t> lastUse_;
    std::vector<std::size_t> detailed_;  // the chunks that have their years
    std::vector<std::int64_t> counts_;   // a chunk's years as they are worked out
    std::uint64_t clock_ = 0;
};

// ---- the counter ------------------------------------------------------------------------------

struct HolidayCounter::YearData {
    std::int64_t year = 0;
    std::vector<HolidayDate> dates;   // sorted
    std::vector<std::int64_t> days;   // distinct non-weekend holiday days, sorted
    std::vector<std::int64_t> extra;  // extra working days on weekend days, sorted
};

// The places of a few years, each kept in one word (the year above its place), so that reading
// them takes no lock.
class HolidayCounter::PlaceCache {
  public:
    static constexpr std::int64_t kYearLimit = std::int64_t{1} << 22;  // |year| below it

    std::optional<std::int64_t> Find(std::int64_t year) const {
        const std::uint64_t word = slots_[Slot(year)].load(std::memory_order_relaxed);
        if (word == 0 || static_cast<std::int64_t>(word >> kPlaceBits) != year + kYearBias) {
            return std::nullopt;
        }
        // The place's 40 bits, their sign extended.
        return static_cast<std::int64_t>(word << (64 - kPlaceBits)) >> (64 - kPlaceBits);
    }
    void Keep(std::int64_t year, std::int64_t place) {
        const std::uint64_t placeBits =
            static_cast<std::uint64_t>(place) & ((std::uint64_t{1} << kPlaceBits) - 1);
        slots_[Slot(year)].store(
            (static_cast<std::uint64_t>(year + kYearBias) << kPlaceBits) | placeBits,
            std::memory_order_relaxed);
    }

  private:
    // A place is at most 366 holidays a year from the anchor: far less than 2^39.
    static constexpr int kPlaceBits = 40;
    static constexpr std::int64_t kYearBias = std::int64_t{1} << 23;  // 0 is no year
    static std::size_t Slot(std::int64_t year) {
        return static_cast<std::size_t>(floor_mod(year, 64));
    }
    std::array<std::atomic<std::uint64_t>, 64> slots_{};
};

// The years of the period worked out as counts reach them; the whole period once a count
// crosses the period's end.
struct HolidayCounter::PeriodTable {
    std::size_t segment = 0;        // one of the segments with these rules in force
    std::atomic<bool> used{false};  // once a long span has used it, shorter ones do too
    std::once_flag totalled;
    std::int64_t total = 0;  // the count of a whole period
    YearChunks counts{0, kPeriodYears};
};

// A rule's dates over one stretch of RepeatDays days from day 0 (as days from it), and the days
// where they repeat so: all but the edges of its calendar's range.
struct HolidayCounter::RulePattern {
    std::int64_t period = 0;  // none
    std::int64_t first = 0;
    std::int64_t last = -1;
    std::vector<std::int32_t> days;

    // The days the rule's holidays take, when it moves them to the Friday before or the Monday
    // after: they repeat with its dates, in whole weeks.
    RulePattern Taken(const MoveRule& rule, std::uint8_t weekend) const {
        RulePattern taken;
        taken.period = period % 7 == 0 ? period : 7 * period;
        // A day taken at either end comes from a date a day beyond it.
        taken.first = first == kFarPast ? kFarPast : first + 1;
        taken.last = last == kFarFuture ? kFarFuture : last - 1;
        for (std::int64_t base = 0; base < taken.period; base += period) {
            for (const std::int32_t day : days) {
                taken.days.push_back(static_cast<std::int32_t>(
                    floor_mod(NeighbourDay(base + day, rule, weekend), taken.period)));
            }
        }
        std::sort(taken.days.begin(), taken.days.end());
        return taken;
    }
    bool HoldsBetween(std::int64_t from, std::int64_t to) const {
        return period != 0 && from >= first && to <= last;
    }
    // Takes the dates of [from, to] in order, when the pattern holds there; false otherwise.
    template <typename Take>
    bool DatesBetween(std::int64_t from, std::int64_t to, Take take) const {
        if (!HoldsBetween(from, to)) {
            return false;
        }
        for (std::int64_t base = floor_div(from, period) * period; base <= to; base += period) {
            auto day = std::lower_bound(days.begin(), days.end(), from - base);
            for (; day != days.end() && base + *day <= to; ++day) {
                take(base + *day);
            }
        }
        return true;
    }
};

// The rules of a segment whose dates repeat after the same days, laid down as bits over one
// such period and as many days beyond it as a block of years spans: the bits of a block are
// read off a word at a time from its first day's place in the period.
struct HolidayCounter::DayGroup {
    std::int64_t period = 0;
    std::int64_t first = kFarPast;  // the days on which all its rules' patterns hold
    std::int64_t last = kFarFuture;
    std::vector<int> rules;
    std::vector<std::uint64_t> words;

    // The greatest number of words a block of years takes.
    static constexpr std::size_t kBlockWords = (366 * kPackBlock) / 64 + 1;

    void Add(const RulePattern& pattern) {
        first = std::max(first, pattern.first);
        last = std::min(last, pattern.last);
        words.resize(static_cast<std::size_t>((period + 63) / 64) + kBlockWords + 1);
        const std::int64_t bits = 64 * static_cast<std::int64_t>(words.size());
        for (const std::int32_t day : pattern.days) {
            for (std::int64_t i = day; i < bits; i += pattern.period) {  // divides `period`
                words[static_cast<std::size_t>(i / 64)] |= std::uint64_t{1} << (i % 64);
            }
        }
    }
    bool Holds(std::int64_t from, std::int64_t to) const { return from >= first && to <= last; }
    // Its bits of the days from `start` on, a word at a time (at most kBlockWords of them).
    WordReader At(std::int64_t start) const {
        const std::int64_t place = floor_mod(start, period);
        return {words.data() + place / 64, static_cast<unsigned>(place % 64)};
    }
};

// The day groups' bits of n words into `bits`, in one pass for up to three groups (the
// others beside them), so that each word is written once.
void LayGroups(const std::vector<WordReader>& readers, std::uint64_t* bits, std::size_t n) {
    const auto lay = [bits, n](auto word) {
        for (std::size_t j = 0; j < n; ++j) {
            bits[j] = word(j);
        }
    };
    switch (readers.size()) {
        case 0:
            lay([](std::size_t) { return std::uint64_t{0}; });
            return;
        case 1:
            lay([a = readers[0]](std::size_t j) { return a(j); });
            return;
        case 2:
            lay([a = readers[0], b = readers[1]](std::size_t j) { return a(j) | b(j); });
            return;
        default:
            lay([a = readers[0], b = readers[1], c = readers[2]](std::size_t j) {
                return a(j) | b(j) | c(j);
            });
            for (std::size_t g = 3; g < readers.size(); ++g) {
                for (std::size_t j = 0; j < n; ++j) {
                    bits[j] |= readers[g](j);
                }
            }
            return;
    }
}

constexpr std::int64_t kGregorianPartYears = 1000;
// Runs of years that get day groups, and how many dates of a group a word read must stand for.
constexpr std::int64_t kDayGroupYears = 1000;
constexpr double kDatesPerWordRead = 0.6;

// The rules of a segment whose dates repeat after 400 Gregorian years, worked out alone for
// each year of that cycle (from 2000). A year of a long span then needs the working-out of the
// other rules only (Islamic, Orthodox, Western Easter days...). When the days the Gregorian
// rules' moves look at are none the others take, and the days the others' moves look at are
// none the Gregorian rules may take, neither changes the other: the year's count is the
// Gregorian rules' count and the others' days it lacks. Otherwise the year is worked out whole.
struct HolidayCounter::GregorianPart {
    // Days kept before the year (and after it): its window. The other rules' days that a
    // year's working-out takes lie within it; a move of the Gregorian rules that looks beyond
    // it cannot meet them, and their days beyond it are held to be the Gregorian rules' own.
    static constexpr std::int64_t kLead = kObservedMargin;
    static constexpr std::size_t kWords = kWindowWords;
    static_assert(kWords == (366 + 2 * kLead + 63) / 64);
    // Bits from kLead days before a year, and an empty word after them (see WindowCount).
    using Days = std::array<std::uint64_t, kWords + 1>;

    std::uint8_t weekend = 0;
    std::vector<int> others;  // the segment's other rules
    std::vector<char> stays;  // per other rule: it never moves nor gives substitute days
    struct CycleYear {
        std::int64_t count = 0;    // of the Gregorian rules alone
        std::vector<RawDate> raw;  // their dates in the year's window, from its first day
        Days read{};               // the working days their moves look at (*)
        Days written{};            // the days they may take: their own and those moved to
        Days countable{};          // the year's days that are neither weekend days nor theirs
        // The working days up to kReach days on from each of their moves' own days, the way
        // the move goes: all it looks at, unless others' days push it further (see memo).
        Days near{};
    };
    std::vector<CycleYear> years = std::vector<CycleYear>(400);
    // The other rules that never move nor give substitute days, laid down together: those
    // whose dates repeat alike as one pattern, Western Easter's days in one pass.
    struct StayingGroup {
        RulePattern pattern;
        DayRuns runs;            // its days
        std::vector<int> rules;  // laid one by one where the pattern does not hold
    };
    std::vector<StayingGroup> stayingGroups;
    DayRuns stayingAfterEaster;  // their days from Easter Sunday
    std::vector<int> stayingAlone;
    // Whether the other rules' days are taken where they fall (none moves to the nearest
    // working day, which takes its day in the order of the dates): then a year's working-out
    // depends on them only through the days its moves look at.
    bool othersStay = false;

    // What years whose moves meet the other rules' days count beyond the part's count and
    // the others' days apart, by the year of the cycle and the others' days among its `near`:
    // kept for years whose moves looked no further, since then nothing else changes where
    // they go. Such years recur whenever Easter or a lunar feast falls on the same weekday
    // near the same moves.
    static constexpr std::int64_t kReach = 7;
    struct MemoKey {
        std::array<std::uint64_t, kWords> near;
        std::size_t cycleYear;
        bool operator==(const MemoKey&) const = default;
    };
    static bool LookedNear(const std::vector<MovePath>& paths) {
        return std::all_of(paths.begin(), paths.end(), [](const MovePath& path) {
            return !path.scanned || std::abs(path.to - path.own) <= kReach;
        });
    }
    class Memo {
      public:
        std::optional<std::int64_t> Find(const MemoKey& key) const {
            const std::lock_guard<std::mutex> lock(mutex_);
            const auto found = kept_.find(key);
            return found == kept_.end() ? std::nullopt : std::optional<std::int64_t>(found->second);
        }
        void Keep(const MemoKey& key, std::int64_t beyond) {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (kept_.size() < kLimit) {
                kept_.emplace(key, static_cast<std::int16_t>(beyond));
            }
        }

      private:
        struct Hash {
            std::size_t operator()(const MemoKey& key) const {
                std::uint64_t h = key.cycleYear;
                for (const std::uint64_t w : key.near) {
                    h = (h ^ w) * 0x9E3779B97F4A7C15ULL;
                    h ^= h >> 29;
                }
                return static_cast<std::size_t>(h);
            }
        };
        static constexpr std::size_t kLimit = std::size_t{1} << 16;
        mutable std::mutex mutex_;
        std::unordered_map<MemoKey, std::int16_t, Hash> kept_;
    };
    mutable Memo memo;
    // (*) A move passes a weekend day whoever holds it: only the working days it looks at are
    // read, and may change where it goes.
    bool IsWeekend(std::int64_t day) const { return ((weekend >> floor_mod(day, 7)) & 1) != 0; }

    static std::size_t CycleIndex(std::int64_t year) {
        return static_cast<std::size_t>(floor_mod(year - 2000, 400));
    }
    // Whether `day` is among `days` of the year starting on `start`; `outside` beyond them.
    static bool Holds(const Days& days, std::int64_t start, std::int64_t day, bool outside) {
        const std::int64_t i = day - start + kLead;
        if (i < 0 || i >= static_cast<std::int64_t>(64 * kWords)) {
            return outside;
        }
        return ((days[static_cast<std::size_t>(i / 64)] >> (i % 64)) & 1) != 0;
    }
    static void Put(Days& days, std::int64_t start, std::int64_t day, bool on) {
        const std::int64_t i = day - start + kLead;
        if (i >= 0 && i < static_cast<std::int64_t>(64 * kWords)) {
            const std::uint64_t bit = std::uint64_t{1} << (i % 64);
            std::uint64_t& word = days[static_cast<std::size_t>(i / 64)];
            word = on ? word | bit : word & ~bit;
        }
    }
};

// The other rules of a segment with a Gregorian part, over some years.
struct HolidayCounter::BesideDates {
    std::vector<std::vector<RuleDate>> dates;  // per rule, in order; none for those that stay
    std::vector<char> ownYearOnly;             // Western Easter: a year takes its own only
};

// A stretch of Hebrew or Islamic days counted by the kinds of the calendar's years: the counted
// days of a year of each kind, and the count of every year of the cycle.
struct HolidayCounter::LunarTable {
    const LunarCycle* cycle = nullptr;
    std::size_t segment = 0;  // one of the segments with these rules in force
    std::once_flag built;
    std::atomic<bool> ready{false};
    std::vector<std::vector<std::int32_t>> days;  // per kind: from the year's first day, sorted
    PackedYearCounts counts;
    // The days of the years that have dates (those within the calendar's range of years).
    std::int64_t firstDay = 0;
    std::int64_t endDay = 0;
};

HolidayCounter::HolidayCounter(std::shared_ptr<const HolidaySet> set, WeekendSchedule weekend)
    : set_(std::move(set)),
      weekend_(std::move(weekend)),
      plan_(MakePlan(*set_, true, weekend_)),
      kept_(std::make_unique<YearChunks>(-kKeptYearLimit - kKeptChunk,
                                         2 * (kKeptYearLimit + kKeptChunk))),
      places_(std::make_unique<PlaceCache>()) {
    moveRules_.reserve(set_->rules.size());
    for (const HolidayRule& rule : set_->rules) {
        moveRules_.push_back({rule.observed, rule.observedOn, rule.substitute, rule.substituteOn});
    }
}

HolidayCounter::~HolidayCounter() = default;

std::int64_t HolidayCounter::MostHolidaysInAYear() const {
    return plan_->mostPerYear;
}

bool HolidayCounter::CountsYearByYear() const {
    return plan_->anyKept;
}

std::vector<std::int64_t> HolidayCounter::SampleYears() const {
    std::vector<std::int64_t> years{2000};
    for (const std::int64_t y : plan_->cutYears) {
        years.push_back(y);
        years.push_back(y - 1);
    }
    return years;
}

// Works the year out with its own rules into the thread's scratch space.
void HolidayCounter::WorkOutYear(std::int64_t year, bool dates) const {
    Scratch& scratch = ThreadScratch();
    scratch.raw.clear();
    scratch.workdays.clear();
    YearWindow window(year);
    for (const int r : plan_->list[plan_->SegmentOf(year)]) {
        AddOwnDates(set_->rules[static_cast<std::size_t>(r)], r, false, window, scratch.raw);
    }
    for (auto it =
             std::lower_bound(plan_->singleDays.begin(), plan_->singleDays.end(), window.from);
         it != plan_->singleDays.end() && *it <= window.to; ++it) {
        const int r = plan_->singleRules[static_cast<std::size_t>(it - plan_->singleDays.begin())];
        scratch.raw.push_back({*it, r, set_->rules[static_cast<std::size_t>(r)].observed});
    }
    for (auto it =
             std::lower_bound(plan_->workdayDays.begin(), plan_->workdayDays.end(), window.from);
         it != plan_->workdayDays.end() && *it <= window.to; ++it) {
        scratch.workdays.push_back(*it);
    }
    WorkOut(moveRules_, weekend_, year, scratch, dates);
}

std::int64_t HolidayCounter::UncachedYearCount(std::int64_t year) const {
    WorkOutYear(year, false);
    const Scratch& scratch = ThreadScratch();
    return static_cast<std::int64_t>(scratch.days.size()) -
           static_cast<std::int64_t>(scratch.extra.size());
}

[[gnu::always_inline]] inline std::size_t HolidayCounter::CacheSlot(std::int64_t year) {
    return static_cast<std::size_t>(floor_mod(year, static_cast<std::int64_t>(kCacheSlots)));
}

// The year's working-out when the cache holds it (its lock held), or none. Two ways per slot,
// so that the two end years of a count never push each other out.
[[gnu::always_inline]] inline const std::shared_ptr<const HolidayCounter::YearData>*
HolidayCounter::Cached(std::int64_t year) const {
    const std::size_t slot = CacheSlot(year);
    for (std::size_t way = 0; way < 2; ++way) {
        const std::shared_ptr<const YearData>& data = cache_[2 * slot + way];
        if (data != nullptr && data->year == year) {
            cacheRecent_[slot] = static_cast<std::uint8_t>(way);
            return &data;
        }
    }
    return nullptr;
}

std::shared_ptr<const HolidayCounter::YearData> HolidayCounter::Year(std::int64_t year) const {
    {
        const std::lock_guard<std::mutex> lock(cacheMutex_);
        if (const std::shared_ptr<const YearData>* data = Cached(year)) {
            return *data;
        }
    }
    return NewYear(year);
}

// Works the year out and caches it.
std::shared_ptr<const HolidayCounter::YearData> HolidayCounter::NewYear(std::int64_t year) const {
    const std::size_t slot = CacheSlot(year);
    WorkOutYear(year, true);
    const Scratch& scratch = ThreadScratch();
    auto data = std::make_shared<YearData>();
    data->year = year;
    data->dates = scratch.dates;
    data->days = scratch.days;
    data->extra = scratch.extra;
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    cacheRecent_[slot] = static_cast<std::uint8_t>(1 - cacheRecent_[slot]);
    cache_[2 * slot + cacheRecent_[slot]] = data;
    return data;
}

std::int64_t HolidayCounter::ExactYearCount(std::int64_t year) const {
    const std::shared_ptr<const YearData> data = Year(year);
    return static_cast<std::int64_t>(data->days.size()) -
           static_cast<std::int64_t>(data->extra.size());
}

// Whether no rule in force in a segment moves or gives a substitute day: a year's count is
// then the number of distinct days of the year, not weekend days, that the rules' dates fall
// on. (A year's working-out takes Western Easter dates from its own Easter only; the rule
// reader keeps them within 70 days before Easter and 240 after, in its year.)
bool HolidayCounter::NothingMoves(std::size_t segment) const {
    return std::none_of(
        plan_->inForce[segment].begin(), plan_->inForce[segment].end(), [this](int r) {
            const HolidayRule& rule = set_->rules[static_cast<std::size_t>(r)];
            return rule.observed != Observed::None || rule.substitute != Substitute::None;
        });
}

// Whether a segment's holidays are counted as the days they take, each on its own: none of its
// rules gives substitute days or moves further than to the Friday before or the Monday after,
// under a weekend of the same days every week.
bool HolidayCounter::TakesOwnDays(std::size_t segment) const {
    return NothingMoves(segment) ||
           (plan_->weekend[segment].IsConstant() &&
            std::all_of(
                plan_->inForce[segment].begin(), plan_->inForce[segment].end(), [this](int r) {
                    const HolidayRule& rule = set_->rules[static_cast<std::size_t>(r)];
                    return rule.substitute == Substitute::None &&
                           (rule.observed == Observed::None || rule.observed == Observed::FriMon);
                }));
}

// Each rule's dates over one stretch of its repeat, once.
void HolidayCounter::BuildPatterns() const {
    std::call_once(patternsBuilt_, [this] {
        patterns_.resize(set_->rules.size());
        std::vector<RuleDate> dates;
        for (std::size_t r = 0; r < set_->rules.size(); ++r) {
            const std::optional<Repeat> repeat = RepeatOf(set_->rules[r]);
            if (!repeat || repeat->first > 0 || repeat->last < repeat->days) {
                continue;
            }
            RulePattern& pattern = patterns_[r];
            dates.clear();
            RuleDatesBetween(set_->rules[r], 0, repeat->days - 1, dates);
            for (const RuleDate& d : dates) {
                pattern.days.push_back(static_cast<std::int32_t>(d.jdn));
            }
            pattern.period = repeat->days;
            pattern.first = repeat->first;
            pattern.last = repeat->last;
        }
    });
}

// The days of [start, end) that a rule's holidays take (as `set(day)`), where it moves them to
// the Friday before or the Monday after: from its dates a day around them too.
template <typename Set>
void HolidayCounter::DaysTakenNearest(std::size_t segment, int r, std::int64_t start,
                                      std::int64_t end, Set set) const {
    const HolidayRule& rule = set_->rules[static_cast<std::size_t>(r)];
    const MoveRule& move = moveRules_[static_cast<std::size_t>(r)];
    const std::uint8_t weekend = plan_->weekend[segment].At(start);
    const auto take = [&](std::int64_t day) {
        const std::int64_t taken = NeighbourDay(day, move, weekend);
        if (taken >= start && taken < end) {
            set(taken);
        }
    };
    if (patterns_[static_cast<std::size_t>(r)].DatesBetween(start - 1, end, take)) {
        return;
    }
    std::vector<RuleDate>& dates = ThreadScratch().ruleDates;
    dates.clear();
    RuleDatesBetween(rule, start - 1, end, dates);
    for (const RuleDate& d : dates) {
        take(d.jdn);
    }
}

// The counts of the years [first, first + n) of a segment where nothing moves, with its rules
// in force in every year: the rules' dates over all the years at once, as bits of their days.
void HolidayCounter::UnmovedYearCounts(std::size_t segment, std::int64_t first, std::int64_t n,
                                       std::int64_t* out) const {
    BuildPatterns();
    const std::vector<DayGroup>* groups = n >= kDayGroupYears ? &DayGroupsOf(segment) : nullptr;
    // 256 years at a time, so that their bits stay in the nearest cache.
    for (std::int64_t done = 0; done < n; done += kPackBlock) {
        UnmovedBlockCounts(segment, groups, first + done, std::min(kPackBlock, n - done),
                           out + done);
    }
}

// The day groups of a segment's rules, built on first need: those with patterns of the same
// period, where they give enough dates a year that reading their words is the quicker way.
const std::vector<HolidayCounter::DayGroup>& HolidayCounter::DayGroupsOf(
    std::size_t segment) const {
    const std::lock_guard<std::mutex> lock(groupsMutex_);
    if (groups_.empty()) {
        groups_.resize(plan_->inForce.size());
    }
    std::unique_ptr<const std::vector<DayGroup>>& built = groups_[segment];
    if (built == nullptr) {
        const std::uint8_t weekend = plan_->weekend[segment].At(0);
        std::vector<std::pair<int, RulePattern>> patterns;
        for (const int r : plan_->inForce[segment]) {
            const RulePattern& pattern = patterns_[static_cast<std::size_t>(r)];
            if (pattern.period != 0) {
                patterns.emplace_back(
                    r, set_->rules[static_cast<std::size_t>(r)].observed == Observed::FriMon
                           ? pattern.Taken(moveRules_[static_cast<std::size_t>(r)], weekend)
                           : pattern);
            }
        }
        // A pattern joins the group of the longest period it divides (Islamic days kept on
        // their day beside those moved, whose period is seven times theirs).
        std::map<std::int64_t, DayGroup> byPeriod;
        std::map<std::int64_t, double> datesPerDay;
        for (const auto& [r, pattern] : patterns) {
            std::int64_t period = pattern.period;
            for (const auto& other : patterns) {
                if (other.second.period % pattern.period == 0) {
                    period = std::max(period, other.second.period);
                }
            }
            DayGroup& group = byPeriod[period];
            group.period = period;
            group.rules.push_back(r);
            group.Add(pattern);
            datesPerDay[period] +=
                static_cast<double>(pattern.days.size()) / static_cast<double>(pattern.period);
        }
        auto groups = std::make_unique<std::vector<DayGroup>>();
        for (auto& [period, group] : byPeriod) {
            // A word a block reads stands for 64 days; it costs about as much as laying down
            // a date or two alone (groups of fewer dates were slower).
            if (datesPerDay[period] * 64 >= kDatesPerWordRead) {
                groups->push_back(std::move(group));
            }
        }
        built = std::move(groups);
    }
    return *built;
}

// Aligned, so that where the linker puts it does not move its inner loop across more cache
// lines (it read 8 % slower so placed).
[[gnu::aligned(64)]] void HolidayCounter::UnmovedBlockCounts(std::size_t segment,
                                                             const std::vector<DayGroup>* groups,
                                                             std::int64_t first, std::int64_t n,
                                                             std::int64_t* out) const {
    const std::int64_t start = YearStart(first);
    const std::int64_t end = YearStart(first + n);
    std::vector<std::uint64_t>& bits = ThreadScratch().yearBits;
    const auto words = static_cast<std::size_t>((end - start) / 64 + 1);
    std::vector<int>& grouped = ThreadScratch().grouped;
    grouped.clear();
    std::vector<WordReader>& readers = ThreadScratch().readers;
    readers.clear();
    for (std::size_t g = 0; groups != nullptr && g < groups->size(); ++g) {
        const DayGroup& group = (*groups)[g];
        if (group.Holds(start, end - 1)) {
            readers.push_back(group.At(start));
            grouped.insert(grouped.end(), group.rules.begin(), group.rules.end());
        }
    }
    bits.resize(words);
    LayGroups(readers, bits.data(), words);
    const auto set = [&bits, start](std::int64_t day) {
        const auto i = static_cast<std::uint64_t>(day - start);
        bits[i / 64] |= std::uint64_t{1} << (i % 64);
    };
    std::vector<RuleDate>& dates = ThreadScratch().ruleDates;
    // The days after Western Easter of the rules counted from it, laid down in one pass over
    // the years (the rule reader keeps their dates within their Easter's year).
    std::vector<std::int64_t>& afterEaster = ThreadScratch().afterEaster;
    afterEaster.clear();
    for (const int r : plan_->inForce[segment]) {
        if (std::find(grouped.begin(), grouped.end(), r) != grouped.end()) {
            continue;
        }
        const HolidayRule& rule = set_->rules[static_cast<std::size_t>(r)];
        const RulePattern& pattern = patterns_[static_cast<std::size_t>(r)];
        if (rule.observed == Observed::FriMon) {
            DaysTakenNearest(segment, r, start, end, set);
            continue;
        }
        if (pattern.DatesBetween(start, end - 1, set)) {
            continue;
        }
        if (rule.IsWesternEaster()) {
            afterEaster.push_back(rule.offset);
            continue;
        }
        dates.clear();
        RuleDatesBetween(rule, start, end - 1, dates);
        for (const RuleDate& d : dates) {
            set(d.jdn);
        }
    }
    if (!afterEaster.empty()) {
        std::vector<std::uint8_t>& easter = ThreadScratch().easter;
        easter.clear();
        ForEachWesternEaster(first, n, easter, [&](std::int64_t, std::int64_t day) {
            for (const std::int64_t offset : afterEaster) {
                set(day + offset);
            }
        });
    }
    const YearBits years{bits.data(), NotWeekendBits(plan_->weekend[segment].At(start)),
                         static_cast<std::size_t>(floor_mod(start, 7)), first, n};
    if (HasPopcnt()) {
        years.CountWithPopcnt(out);
    } else {
        years.Count(Ones, out);
    }
}

namespace {

void SortByDay(std::vector<RuleDate>& dates) {
    const auto before = [](const RuleDate& a, const RuleDate& b) { return a.jdn < b.jdn; };
    if (!std::is_sorted(dates.begin(), dates.end(), before)) {
        std::sort(dates.begin(), dates.end(), before);
    }
}

}  // namespace

// The dates of a rule in [from, to] (as `take(day, year)`; the year is 0 for those from its
// pattern), for the years y0 .. y1 - 1 and their windows; Western Easter from the thread's
// `easter`, which the caller empties for other years.
template <typename Take>
void HolidayCounter::DaysOfRule(int r, std::int64_t from, std::int64_t to, std::int64_t y0,
                                std::int64_t y1, Take take) const {
    const HolidayRule& rule = set_->rules[static_cast<std::size_t>(r)];
    if (patterns_[static_cast<std::size_t>(r)].DatesBetween(
            from, to, [&take](std::int64_t day) { take(day, 0); })) {
        return;
    }
    if (rule.IsWesternEaster()) {
        ForEachWesternEaster(y0 - 1, y1 - y0 + 2, ThreadScratch().easter,
                             [&](std::int64_t year, std::int64_t easterDay) {
                                 const std::int64_t day = easterDay + rule.offset;
                                 if (day >= from && day <= to) {
                                     take(day, year);
                                 }
                             });
        return;
    }
    std::vector<RuleDate>& dates = ThreadScratch().ruleDates;
    dates.clear();
    RuleDatesBetween(rule, from, to, dates);
    for (const RuleDate& d : dates) {
        take(d.jdn, d.year);
    }
}

// The counts of the years [first, first + n) of a segment, none of them special, with its
// rules in force in every year, under `weekend`: each year worked out on its own, from each
// rule's dates over 256 years at a time, gathered once; over many years, beside the segment's
// Gregorian part where it has one.
void HolidayCounter::MovedYearCounts(std::size_t segment, std::int64_t first, std::int64_t n,
                                     const WeekendSchedule& weekend, std::int64_t* out) const {
    BuildPatterns();
    // Working out the 400 years of the Gregorian part pays for itself over many more years.
    if (const GregorianPart* part =
            n >= kGregorianPartYears ? GregorianPartOf(segment, weekend) : nullptr) {
        CountsBesideGregorian(*part, first, n, weekend, out);
        return;
    }
    const std::vector<int>& rules = plan_->inForce[segment];
    std::vector<std::vector<RuleDate>> dates(rules.size());  // per rule, in order
    std::vector<std::size_t> next(rules.size());
    // Western Easter dates: a year's working-out takes those of its own Easter only.
    std::vector<char> ownYearOnly(rules.size());
    for (std::size_t k = 0; k < rules.size(); ++k) {
        ownYearOnly[k] = IsWesternEasterKind(set_->rules[static_cast<std::size_t>(rules[k])]);
    }
    Scratch& scratch = ThreadScratch();
    for (std::int64_t done = 0; done < n; done += kPackBlock) {
        const std::int64_t y0 = first + done;
        const std::int64_t y1 = y0 + std::min(kPackBlock, n - done);
        const std::int64_t from = YearStart(y0) - kObservedMargin;
        const std::int64_t to = YearStart(y1) - 1 + kObservedMargin;
        scratch.easter.clear();
        for (std::size_t k = 0; k < rules.size(); ++k) {
            std::vector<RuleDate>& own = dates[k];
            own.clear();
            next[k] = 0;
            DaysOfRule(rules[k], from, to, y0, y1, [&own](std::int64_t day, std::int64_t year) {
                own.push_back({day, year});
            });
            SortByDay(own);
        }
        for (std::int64_t y = y0; y < y1; ++y) {
            // The window of the year, as its own working-out takes it.
            const std::int64_t windowFrom = YearStart(y) - kObservedMargin;
            const std::int64_t windowTo = YearStart(y + 1) - 1 + kObservedMargin;
            scratch.raw.clear();
            scratch.workdays.clear();
            for (std::size_t k = 0; k < rules.size(); ++k) {
                const std::vector<RuleDate>& own = dates[k];
                std::size_t at = next[k];
                while (at < own.size() && own[at].jdn < windowFrom) {
                    ++at;
                }
                next[k] = at;
                const Observed observed = set_->rules[static_cast<std::size_t>(rules[k])].observed;
                for (; at < own.size() && own[at].jdn <= windowTo; ++at) {
                    if (ownYearOnly[k] == 0 || own[at].year == y) {
                        scratch.raw.push_back({own[at].jdn, rules[k], observed});
                    }
                }
            }
            WorkOut(moveRules_, weekend, y, scratch, false);
            out[y - first] = static_cast<std::int64_t>(scratch.days.size()) -
                             static_cast<std::int64_t>(scratch.extra.size());
        }
    }
}

namespace {

// The bits of `words` (read as a WindowCount reads them) among `mask`.
template <std::size_t kWords>
std::array<std::uint64_t, kWords> BitsAmong(const std::uint64_t* words, unsigned shift,
                                            const std::uint64_t* mask) {
    std::array<std::uint64_t, kWords> out{};
    for (std::size_t w = 0; w < out.size(); ++w) {
        out[w] = WindowWord(words, shift, w) & mask[w];
    }
    return out;
}

}  // namespace

// Years laid down as bits at once beside a Gregorian part: 47 kB of bits.
constexpr std::int64_t kBesideBlock = 1024;

// The counts of the years [first, first + n) of a segment with a Gregorian part, none of them
// special, from the dates of its other rules, kBesideBlock years at a time. The days they take
// (their own, or the Friday or Monday they move to) are put together as bits, where they neither
// move to the next or previous free day nor give substitute days; a year whose Gregorian rules'
// moves look at none of them, and that has no such other dates, is counted from those bits.
// The other years are worked out on their own, or read from what a year that met the moves
// alike counted (see GregorianPart::memo).
void HolidayCounter::CountsBesideGregorian(const GregorianPart& part, std::int64_t first,
                                           std::int64_t n, const WeekendSchedule& weekend,
                                           std::int64_t* out) const {
    static const WindowCount theirsOf = BestWindowCount();
    Scratch& scratch = ThreadScratch();
    // The dates of the rules that may move, per rule and in order (those that never move lay
    // their days down as bits at once).
    BesideDates others;
    const std::size_t count = part.others.size();
    others.dates.resize(count);
    others.ownYearOnly.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        others.ownYearOnly[k] =
            IsWesternEasterKind(set_->rules[static_cast<std::size_t>(part.others[k])]);
    }
    std::vector<std::int64_t> starts;  // of the years y0 - 1 .. y1 + 1
    for (std::int64_t y0 = first; y0 < first + n; y0 += kBesideBlock) {
        const std::int64_t y1 = std::min(first + n, y0 + kBesideBlock);
        starts.clear();
        for (std::int64_t y = y0 - 1, start = YearStart(y); y <= y1 + 1; ++y) {
            starts.push_back(start);
            start += jdcore::gregorian_leap(y) ? 366 : 365;
        }
        const auto startOf = [&](std::int64_t y) {
            return starts[static_cast<std::size_t>(y - y0 + 1)];
        };
        const std::int64_t base = startOf(y0) - GregorianPart::kLead;  // the day of bit 0
        std::vector<std::uint64_t>& taken = scratch.yearBits;
        // Up to two words beyond the last year's window, which a WindowCount reads.
        taken.assign(static_cast<std::size_t>((startOf(y1) + GregorianPart::kLead - base) / 64 + 3),
                     0);
        const auto take = [&taken, base](std::int64_t day) {
            const auto i = static_cast<std::uint64_t>(day - base);
            taken[i / 64] |= std::uint64_t{1} << (i % 64);
        };
        // The days of the years' windows.
        const std::int64_t from = startOf(y0) - kObservedMargin;
        const std::int64_t to = startOf(y1) - 1 + kObservedMargin;
        std::vector<std::int64_t>& unsettled = scratch.unsettled;
        unsettled.clear();
        scratch.easter.clear();
        for (std::size_t k = 0; k < count; ++k) {
            const int r = part.others[k];
            std::vector<RuleDate>& dates = others.dates[k];
            dates.clear();
            if (part.stays[k] != 0) {
                continue;  // laid down together below
            }
            DaysOfRule(r, from, to, y0, y1, [&dates](std::int64_t day, std::int64_t year) {
                dates.push_back({day, year});
            });
            SortByDay(dates);
            const Observed observed = set_->rules[static_cast<std::size_t>(r)].observed;
            const bool nearest = observed == Observed::FriMon;
            const MoveRule& rule = moveRules_[static_cast<std::size_t>(r)];
            for (const RuleDate& d : dates) {
                const auto dayOfWeek = static_cast<unsigned>(floor_mod(d.jdn, 7));
                const bool weekendDay = ((part.weekend >> dayOfWeek) & 1) != 0;
                if ((observed != Observed::None && !nearest &&
                     TriggeredOn(dayOfWeek, weekendDay, rule.observedOn, false)) ||
                    (rule.substitute != Substitute::None &&
                     TriggeredOn(dayOfWeek, weekendDay, rule.substituteOn, false))) {
                    unsettled.push_back(d.jdn);
                    continue;
                }
                take(nearest ? NeighbourDay(d.jdn, rule, part.weekend) : d.jdn);
            }
        }
        const auto takeDay = [&take](std::int64_t day, std::int64_t) { take(day); };
        for (const GregorianPart::StayingGroup& group : part.stayingGroups) {
            if (group.pattern.HoldsBetween(from, to)) {
                group.runs.LayRepeated(group.pattern.period, from, to, taken.data(), base);
                continue;
            }
            for (const int r : group.rules) {
                DaysOfRule(r, from, to, y0, y1, takeDay);
            }
        }
        if (!part.stayingAfterEaster.runs.empty()) {
            ForEachWesternEaster(
                y0 - 1, y1 - y0 + 2, scratch.easter, [&](std::int64_t, std::int64_t easterDay) {
                    for (const DayRuns::Run& run : part.stayingAfterEaster.runs) {
                        DayRuns::Lay(easterDay + run.day, run.days, from, to, taken.data(), base);
                    }
                });
        }
        for (const int r : part.stayingAlone) {
            DaysOfRule(r, from, to, y0, y1, takeDay);
        }
        // The bits hold the Western Easter days of the years before and after a year too,
        // which its own working-out leaves out: they lie in their own years, far from the turn
        // of the year, so they only make the check below stricter.
        static_assert(31 + 28 + 21 + kMinEasterOffset >= 1 &&
                      31 + 29 + 31 + 24 + kMaxEasterOffset <= 363);  // 22 March .. 25 April
        std::sort(unsettled.begin(), unsettled.end());
        auto nextUnsettled = unsettled.begin();
        std::size_t q = GregorianPart::CycleIndex(y0);
        for (std::int64_t y = y0; y < y1; ++y, q = q + 1 == part.years.size() ? 0 : q + 1) {
            const std::int64_t start = startOf(y);
            const std::int64_t windowFrom = start - kObservedMargin;
            const std::int64_t windowTo = startOf(y + 1) - 1 + kObservedMargin;
            const GregorianPart::CycleYear& cycle = part.years[q];
            while (nextUnsettled != unsettled.end() && *nextUnsettled < windowFrom) {
                ++nextUnsettled;
            }
            const bool settled = nextUnsettled == unsettled.end() || *nextUnsettled > windowTo;
            if (settled) {
                const auto offset = static_cast<std::uint64_t>(start - GregorianPart::kLead - base);
                const std::uint64_t* words = taken.data() + offset / 64;
                const unsigned shift = offset % 64;
                constexpr std::size_t kWords = GregorianPart::kWords;
                const std::int64_t theirs =
                    theirsOf(words, shift, cycle.read.data(), cycle.countable.data());
                if (theirs >= 0) {
                    out[y - first] = cycle.count + theirs;
                    continue;
                }
                if (part.othersStay) {
                    const GregorianPart::MemoKey key{
                        BitsAmong<kWords>(words, shift, cycle.near.data()), q};
                    const std::int64_t apart = cycle.count + (-1 - theirs);
                    if (const std::optional<std::int64_t> meeting = part.memo.Find(key)) {
                        out[y - first] = apart + *meeting;
                        continue;
                    }
                    const std::int64_t count =
                        YearBesideGregorian(part, others, y, start, startOf(y + 1), weekend, true);
                    out[y - first] = count;
                    if (GregorianPart::LookedNear(scratch.paths)) {
                        part.memo.Keep(key, count - apart);
                    }
                    continue;
                }
            }
            // Where the Gregorian moves look at a day the others take, the year is worked out
            // whole at once.
            out[y - first] =
                YearBesideGregorian(part, others, y, start, startOf(y + 1), weekend, settled);
        }
    }
}

// The count of a year of a segment with a Gregorian part: its other rules worked out on their
// own, and counted beside the Gregorian rules' count where neither looks at a day the other
// may take; otherwise (or at once, `whole`) the whole year worked out.
std::int64_t HolidayCounter::YearBesideGregorian(const GregorianPart& part,
                                                 const BesideDates& others, std::int64_t year,
                                                 std::int64_t start, std::int64_t end,
                                                 const WeekendSchedule& weekend, bool whole) const {
    const GregorianPart::CycleYear& cycle = part.years[GregorianPart::CycleIndex(year)];
    Scratch& scratch = ThreadScratch();
    scratch.raw.clear();
    scratch.workdays.clear();
    const std::int64_t windowFrom = start - kObservedMargin;
    const std::int64_t windowTo = end - 1 + kObservedMargin;
    std::optional<YearWindow> window;
    for (std::size_t k = 0; k < part.others.size(); ++k) {
        const int r = part.others[k];
        if (part.stays[k] != 0) {
            // Their dates were laid down as bits only: taken again as the year's own
            // working-out takes them.
            if (!window) {
                window.emplace(year);
            }
            AddOwnDates(set_->rules[static_cast<std::size_t>(r)], r, true, *window, scratch.raw);
            continue;
        }
        const Observed observed = set_->rules[static_cast<std::size_t>(r)].observed;
        const std::vector<RuleDate>& dates = others.dates[k];
        auto at = std::lower_bound(dates.begin(), dates.end(), windowFrom,
                                   [](const RuleDate& d, std::int64_t day) { return d.jdn < day; });
        for (; at != dates.end() && at->jdn <= windowTo; ++at) {
            if (others.ownYearOnly[k] == 0 || at->year == year) {
                scratch.raw.push_back({at->jdn, r, observed});
            }
        }
    }
    if (!whole) {
        WorkOut(moveRules_, weekend, year, scratch, false);
    }
    const auto read = [&](std::int64_t day) {
        return GregorianPart::Holds(cycle.read, start, day, true);
    };
    const bool meet =
        whole ||
        std::any_of(scratch.raw.begin(), scratch.raw.end(),
                    [&](const RawDate& h) { return read(h.jdn); }) ||
        std::any_of(scratch.paths.begin(), scratch.paths.end(), [&](const MovePath& path) {
            if (read(path.to)) {
                return true;
            }
            bool lookedAtTheirs = false;
            path.ForEachLookedAt([&](std::int64_t day) {
                lookedAtTheirs =
                    lookedAtTheirs ||
                    (!part.IsWeekend(day) && GregorianPart::Holds(cycle.written, start, day, true));
            });
            return lookedAtTheirs;
        });
    if (!meet) {
        return cycle.count +
               std::count_if(scratch.days.begin(), scratch.days.end(), [&](std::int64_t day) {
                   return GregorianPart::Holds(cycle.countable, start, day, false);
               });
    }
    for (const RawDate& h : cycle.raw) {
        scratch.raw.push_back({h.jdn + start, h.rule, h.observed});
    }
    WorkOut(moveRules_, weekend, year, scratch, false);
    return static_cast<std::int64_t>(scratch.days.size()) -
           static_cast<std::int64_t>(scratch.extra.size());
}

const HolidayCounter::GregorianPart* HolidayCounter::GregorianPartOf(
    std::size_t segment, const WeekendSchedule& weekend) const {
    if (!weekend.IsConstant()) {
        return nullptr;
    }
    const std::lock_guard<std::mutex> lock(partsMutex_);
    if (partsTried_.empty()) {
        partsTried_.assign(plan_->inForce.size(), 0);
        parts_.resize(plan_->inForce.size());
    }
    if (partsTried_[segment] == 0) {
        partsTried_[segment] = 1;
        auto part = std::make_unique<GregorianPart>();
        part->weekend = weekend.At(0);
        std::vector<int> gregorian;
        for (const int r : plan_->inForce[segment]) {
            const std::optional<Repeat> repeat = RepeatOf(set_->rules[static_cast<std::size_t>(r)]);
            const bool periodic = repeat && repeat->days == kFourCenturies &&
                                  repeat->first == kFarPast && repeat->last == kFarFuture;
            (periodic ? gregorian : part->others).push_back(r);
        }
        Scratch& scratch = ThreadScratch();
        for (std::int64_t q = 0; q < 400 && !gregorian.empty(); ++q) {
            const std::int64_t year = 2000 + q;
            const std::int64_t start = YearStart(year);
            YearWindow window(year);
            scratch.raw.clear();
            scratch.workdays.clear();
            for (const int r : gregorian) {
                AddOwnDates(set_->rules[static_cast<std::size_t>(r)], r, true, window, scratch.raw);
            }
            WorkOut(moveRules_, weekend, year, scratch, false);
            GregorianPart::CycleYear& cycle = part->years[static_cast<std::size_t>(q)];
            cycle.count = static_cast<std::int64_t>(scratch.days.size());
            for (const RawDate& h : scratch.raw) {
                cycle.raw.push_back({h.jdn - start, h.rule, h.observed});
                GregorianPart::Put(cycle.written, start, h.jdn, true);
            }
            for (const MovePath& path : scratch.paths) {
                GregorianPart::Put(cycle.written, start, path.to, true);
                path.ForEachLookedAt([&](std::int64_t day) {
                    GregorianPart::Put(cycle.read, start, day, !part->IsWeekend(day));
                });
            }
            const std::int64_t end = YearStart(year + 1);
            for (const MovePath& path : scratch.paths) {
                const std::int64_t step = path.to > path.own ? 1 : -1;
                for (std::int64_t i = 1; path.scanned && i <= GregorianPart::kReach; ++i) {
                    const std::int64_t day = path.own + step * i;
                    GregorianPart::Put(cycle.near, start, day, !part->IsWeekend(day));
                }
            }
            for (std::int64_t day = start; day < end; ++day) {
                GregorianPart::Put(cycle.countable, start, day, !part->IsWeekend(day));
            }
            for (const std::int64_t day : scratch.days) {
                GregorianPart::Put(cycle.countable, start, day, false);
            }
        }
        std::vector<std::int64_t> afterEaster;
        for (const int r : part->others) {
            const HolidayRule& rule = set_->rules[static_cast<std::size_t>(r)];
            part->stays.push_back(rule.observed == Observed::None &&
                                  moveRules_[static_cast<std::size_t>(r)].substitute ==
                                      Substitute::None);
            if (part->stays.back() == 0) {
                continue;
            }
            const RulePattern& pattern = patterns_[static_cast<std::size_t>(r)];
            if (pattern.period == 0) {
                if (rule.IsWesternEaster()) {
                    afterEaster.push_back(rule.offset);
                } else {
                    part->stayingAlone.push_back(r);
                }
                continue;
            }
            // Patterns that repeat alike hold together where all of them hold.
            auto group =
                std::find_if(part->stayingGroups.begin(), part->stayingGroups.end(),
                             [&](const auto& g) { return g.pattern.period == pattern.period; });
            if (group == part->stayingGroups.end()) {
                group = part->stayingGroups.insert(group, {pattern, {}, {}});
            } else {
                RulePattern& together = group->pattern;
                together.first = std::max(together.first, pattern.first);
                together.last = std::min(together.last, pattern.last);
                std::vector<std::int32_t>& days = together.days;
                days.insert(days.end(), pattern.days.begin(), pattern.days.end());
                std::sort(days.begin(), days.end());
                days.erase(std::unique(days.begin(), days.end()), days.end());
            }
            group->rules.push_back(r);
        }
        for (GregorianPart::StayingGroup& group : part->stayingGroups) {
            group.runs = DayRuns({group.pattern.days.begin(), group.pattern.days.end()});
        }
        std::sort(afterEaster.begin(), afterEaster.end());
        part->stayingAfterEaster = DayRuns(afterEaster);
        part->othersStay = std::none_of(part->others.begin(), part->others.end(), [&](int r) {
            return set_->rules[static_cast<std::size_t>(r)].observed == Observed::FriMon;
        });
        if (!gregorian.empty()) {
            parts_[segment] = std::move(part);
        }
    }
    const GregorianPart* part = parts_[segment].get();
    return part != nullptr && part->weekend == weekend.At(0) ? part : nullptr;
}

// The counts of the years [first, first + n) with a segment's rules in force in every year.
void HolidayCounter::OpenYearCounts(std::size_t segment, std::int64_t first, std::int64_t n,
                                    std::vector<std::int64_t>& out) const {
    out.resize(static_cast<std::size_t>(n));
    if (TakesOwnDays(segment)) {
        UnmovedYearCounts(segment, first, n, out.data());
        return;
    }
    MovedYearCounts(segment, first, n, plan_->weekend[segment], out.data());
}

// The exact counts of the years [first, first + n): runs of years that are not special, of a
// segment where nothing moves, all at once; the others each on its own.
void HolidayCounter::KeptYearCounts(std::int64_t first, std::int64_t n,
                                    std::vector<std::int64_t>& out) const {
    const HolidayPlan& plan = *plan_;
    out.resize(static_cast<std::size_t>(n));
    for (std::int64_t y = first; y < first + n;) {
        const std::size_t s = plan.SegmentOf(y);
        const auto special =
            std::lower_bound(plan.specialYears.begin(), plan.specialYears.end(), y);
        const std::int64_t run =
            std::min({first + n, plan.SegmentEnd(s),
                      special == plan.specialYears.end() ? kFarFuture : *special}) -
            y;
        if (run > 0) {
            if (TakesOwnDays(s)) {
                UnmovedYearCounts(s, y, run, out.data() + (y - first));
            } else {
                MovedYearCounts(s, y, run, weekend_, out.data() + (y - first));
            }
            y += run;
        } else {
            out[static_cast<std::size_t>(y - first)] = UncachedYearCount(y);
            ++y;
        }
    }
}

// The count of `year` worked out with the segment's rules in force in every year.
std::int64_t HolidayCounter::OpenYearCount(std::size_t segment, std::int64_t year) const {
    Scratch& scratch = ThreadScratch();
    scratch.raw.clear();
    scratch.workdays.clear();
    YearWindow window(year);
    for (const int r : plan_->inForce[segment]) {
        AddOwnDates(set_->rules[static_cast<std::size_t>(r)], r, true, window, scratch.raw);
    }
    WorkOut(moveRules_, plan_->weekend[segment], year, scratch, false);
    return static_cast<std::int64_t>(scratch.days.size());
}

std::vector<HolidayDate> HolidayCounter::Between(std::int64_t from, std::int64_t to) const {
    std::vector<HolidayDate> out;
    if (to < from) {
        return out;
    }
    for (std::int64_t y = YearOf(from), last = YearOf(to); y <= last; ++y) {
        const std::shared_ptr<const YearData> data = Year(y);
        for (const HolidayDate& h : data->dates) {
            if (h.jdn >= from && h.jdn <= to) {
                out.push_back(h);
            }
        }
    }
    return out;
}

bool HolidayCounter::IsHoliday(std::int64_t jdn) const {
    const std::shared_ptr<const YearData> data = Year(YearOf(jdn));
    const auto at =
        std::lower_bound(data->dates.begin(), data->dates.end(), jdn,
                         [](const HolidayDate& h, std::int64_t day) { return h.jdn < day; });
    for (auto it = at; it != data->dates.end() && it->jdn == jdn; ++it) {
        if (!it->moved) {
            return true;
        }
    }
    return false;
}

bool HolidayCounter::IsExtraWorkday(std::int64_t jdn) const {
    return std::binary_search(plan_->workdayDays.begin(), plan_->workdayDays.end(), jdn);
}

// Holidays of a table's rules in the years [first, end): whole periods, and the years of the
// period before each end.
std::int64_t HolidayCounter::PeriodCount(PeriodTable& table, std::int64_t first,
                                         std::int64_t end) const {
    if (!table.used.load(std::memory_order_relaxed)) {
        table.used.store(true, std::memory_order_release);
    }
    const auto count = [&](std::int64_t from, std::int64_t n, std::vector<std::int64_t>& out) {
        OpenYearCounts(table.segment, from, n, out);
    };
    const std::int64_t firstPeriods = floor_div(first, kPeriodYears);
    const std::int64_t endPeriods = floor_div(end, kPeriodYears);
    std::int64_t whole = 0;
    if (endPeriods != firstPeriods) {
        std::call_once(table.totalled,
                       [&] { table.total = table.counts.Between(0, kPeriodYears, count); });
        whole = (endPeriods - firstPeriods) * table.total;
    }
    return whole + table.counts.Between(first - firstPeriods * kPeriodYears,
                                        end - endPeriods * kPeriodYears, count);
}

// The exact counts of the years [first, end), from the years kept (worked out on first need).
std::int64_t HolidayCounter::KeptYears(std::int64_t first, std::int64_t end) const {
    return end <= first ? 0
                        : kept_->Between(first, end,
                                         [this](std::int64_t from, std::int64_t n,
                                                std::vector<std::int64_t>& out) {
                                             KeptYearCounts(from, n, out);
                                         });
}

// The counted days of a calendar year [start, next) under the table's rules, from its first day.
std::vector<std::int32_t> HolidayCounter::LunarYearDays(const LunarTable& table, std::int64_t start,
                                                        std::int64_t next) const {
    const std::uint8_t weekend = plan_->weekend[table.segment].At(start);
    std::vector<std::int32_t> days;
    std::vector<RuleDate> dates;
    for (const int r : plan_->inForce[table.segment]) {
        dates.clear();
        RuleDatesBetween(set_->rules[static_cast<std::size_t>(r)], start, next - 1, dates);
        for (const RuleDate& d : dates) {
            if (((weekend >> floor_mod(d.jdn, 7)) & 1) == 0) {
                days.push_back(static_cast<std::int32_t>(d.jdn - start));
            }
        }
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

// Holidays of a table's rules before `day` (from the start of the calendar's year 0; negative
// before it): whole cycles, the years of the cycle before the day's year, and its days before.
std::int64_t HolidayCounter::LunarBefore(LunarTable& table, std::int64_t day) const {
    const LunarCycle& cycle = *table.cycle;
    if (!table.ready.load(std::memory_order_acquire)) {
        BuildLunarTable(table);
    }
    day = std::clamp(day, table.firstDay, table.endDay);
    const jdcore::CalendarYear year = jdcore::YearOfJdn(cycle.calendar, day);
    const std::vector<std::int32_t>& days =
        table.days[cycle.KindOf(year.first, year.first + year.length)];
    const std::int64_t cycles = floor_div(year.year, cycle.years);
    return cycles * table.counts.Total() + table.counts.Before(year.year - cycles * cycle.years) +
           (std::lower_bound(days.begin(), days.end(), day - year.first) - days.begin());
}

// The counted days of each kind of year and the count of every year of the cycle, once.
void HolidayCounter::BuildLunarTable(LunarTable& table) const {
    const LunarCycle& cycle = *table.cycle;
    std::call_once(table.built, [&] {
        table.firstDay = cycle.YearStart(-jdcore::kMaxWorldYear + 1);
        table.endDay = cycle.YearStart(jdcore::kMaxWorldYear);
        table.days.assign(cycle.Kinds(), {});
        std::vector<char> known(cycle.Kinds(), 0);
        std::int64_t start = cycle.YearStart(0);
        table.counts.Build(cycle.years, [&](std::int64_t year) {
            const std::int64_t next = cycle.YearStart(year + 1);
            const std::size_t kind = cycle.KindOf(start, next);
            if (known[kind] == 0) {
                known[kind] = 1;
                table.days[kind] = LunarYearDays(table, start, next);
            }
            start = next;
            return static_cast<std::int64_t>(table.days[kind].size());
        });
        table.ready.store(true, std::memory_order_release);
    });
}

// The years [first, end) of a segment counted with its rules in force in every year.
std::int64_t HolidayCounter::OpenCount(std::size_t segment, std::int64_t first,
                                       std::int64_t end) const {
    if (end <= first) {
        return 0;
    }
    if (plan_->method[segment] == Method::Kept) {
        return KeptYears(first, end);
    }
    if (plan_->inForce[segment].empty()) {
        return 0;
    }
    if (plan_->method[segment] == Method::Kinds) {
        const std::vector<std::int64_t>& fine = kindPrefix_[segment];
        return fine.empty() ? Kinds().WeightIn(kindCount_[segment], first, end)
                            : Kinds().FineIn(kindCount_[segment], fine, first, end);
    }
    // Built when a span of kTableYears asks for it; then used for any span, which reads it
    // faster than a single year is worked out.
    const bool longSpan = end - first >= kTableYears;
    if (LunarTable* lunar = lunar_[segment].get();
        lunar != nullptr && (longSpan || lunar->ready.load(std::memory_order_acquire))) {
        return LunarBefore(*lunar, YearStart(end)) - LunarBefore(*lunar, YearStart(first));
    }
    PeriodTable* table = table_[segment].get();
    if (table != nullptr && (longSpan || table->used.load(std::memory_order_acquire))) {
        return PeriodCount(*table, first, end);
    }
    std::int64_t count = 0;  // fewer years than kTableYears: no table is built for them
    for (std::int64_t y = first; y < end; ++y) {
        count += OpenYearCount(segment, y);
    }
    return count;
}

// A year of each kind: the dates of every rule worked out and sorted once, and each
// segment's taken from them; a segment with few of the rules in force works its own.
void HolidayCounter::BuildKindCounts() const {
    const HolidayPlan& plan = *plan_;
    const std::size_t segments = plan.cutYears.size() + 1;
    const KindTable& kinds = Kinds();
    std::vector<RawDate> all;
    std::vector<char> inForce(set_->rules.size(), 0);
    Scratch& scratch = ThreadScratch();
    for (std::size_t k = 0; k < kKinds; ++k) {
        const std::int64_t y = kinds.representative[k];
        if (y < 0) {
            continue;
        }
        YearWindow window(y);
        all.clear();
        for (std::size_t r = 0; r < set_->rules.size(); ++r) {
            if (set_->rules[r].kind != HolidayKind::SingleDate && IsGregorianKind(set_->rules[r])) {
                AddOwnDates(set_->rules[r], static_cast<int>(r), true, window, all);
            }
        }
        std::sort(all.begin(), all.end(), [](const RawDate& a, const RawDate& b) {
            return a.jdn != b.jdn ? a.jdn < b.jdn : a.rule < b.rule;
        });
        for (std::size_t s = 0; s < segments; ++s) {
            const std::vector<int>& rules = plan.inForce[s];
            if (rules.empty() || plan.method[s] != Method::Kinds) {
                continue;
            }
            if (8 * rules.size() < all.size()) {
                kindCount_[s][k] = static_cast<std::int32_t>(OpenYearCount(s, y));
                continue;
            }
            for (const int r : rules) {
                inForce[static_cast<std::size_t>(r)] = 1;
            }
            scratch.raw.clear();
            scratch.workdays.clear();
            for (const RawDate& h : all) {
                if (inForce[static_cast<std::size_t>(h.rule)] != 0) {
                    scratch.raw.push_back(h);
                }
            }
            for (const int r : rules) {
                inForce[static_cast<std::size_t>(r)] = 0;
            }
            WorkOut(moveRules_, plan.weekend[s], y, scratch, false);
            kindCount_[s][k] = static_cast<std::int32_t>(scratch.days.size());
        }
    }
    // Running sums for the stretches that can be long.
    for (std::size_t s = 0; s < segments; ++s) {
        const bool longStretch =
            s == 0 || s + 1 == segments || plan.SegmentEnd(s) - plan.SegmentFirst(s) > 4 * kBlock;
        if (plan.method[s] == Method::Kinds && !plan.inForce[s].empty() && longStretch) {
            kindPrefix_[s] = kinds.FinePrefix(kindCount_[s]);
        }
    }
}

void HolidayCounter::BuildTables() const {
    const HolidayPlan& plan = *plan_;
    const std::size_t segments = plan.cutYears.size() + 1;
    kindCount_.assign(segments, KindWeights{});
    kindPrefix_.assign(segments, {});
    table_.assign(segments, nullptr);
    lunar_.assign(segments, nullptr);
    bool anyKinds = false;
    for (std::size_t s = 0; s < segments; ++s) {
        anyKinds = anyKinds || (plan.method[s] == Method::Kinds && !plan.inForce[s].empty());
    }
    if (anyKinds) {
        BuildKindCounts();
    }
    // Stretches with the same rules in force share a period table.
    std::map<std::vector<int>, std::shared_ptr<PeriodTable>> shared;
    std::map<std::vector<int>, std::shared_ptr<LunarTable>> lunarShared;
    for (std::size_t s = 0; s < segments; ++s) {
        if (plan.method[s] == Method::Period && !plan.inForce[s].empty()) {
            std::shared_ptr<PeriodTable>& table = shared[plan.inForce[s]];
            if (table == nullptr || plan.weekend[table->segment].At(0) != plan.weekend[s].At(0)) {
                table = std::make_shared<PeriodTable>();
                table->segment = s;
            }
            table_[s] = table;
        }
        if (plan.method[s] == Method::Lunar) {
            std::shared_ptr<LunarTable>& table = lunarShared[plan.inForce[s]];
            if (table == nullptr || plan.weekend[table->segment].At(0) != plan.weekend[s].At(0)) {
                table = std::make_shared<LunarTable>();
                table->cycle = LunarCycleOf(*set_, plan.inForce[s]);
                table->segment = s;
            }
            lunar_[s] = table;
        }
    }
    // The special years: their own count in place of the open one (the same for the years
    // kept, which are counted as they are).
    correctionsBefore_.assign(plan.specialYears.size() + 1, 0);
    for (std::size_t i = 0; i < plan.specialYears.size(); ++i) {
        const std::int64_t y = plan.specialYears[i];
        const std::size_t s = plan.SegmentOf(y);
        correctionsBefore_[i + 1] =
            correctionsBefore_[i] +
            (plan.method[s] == Method::Kept ? 0 : UncachedYearCount(y) - OpenCount(s, y, y + 1));
    }
}

// Holidays in the Gregorian years [first, end).
std::int64_t HolidayCounter::WholeYears(std::int64_t first, std::int64_t end) const {
    if (end - first <= kDirectYears) {
        std::int64_t count = 0;
        for (std::int64_t y = first; y < end; ++y) {
            count += ExactYearCount(y);
        }
        return count;
    }
    std::call_once(built_, [this] { BuildTables(); });
    const HolidayPlan& plan = *plan_;
    const std::size_t s0 = plan.SegmentOf(first);
    const std::size_t s1 = plan.SegmentOf(end - 1);
    std::int64_t count = 0;
    if (s0 == s1) {
        count = OpenCount(s0, first, end);
    } else {
        // The whole segments between: their counts, summed once when first asked for.
        std::call_once(segmentsBuilt_, [&] {
            const std::size_t segments = plan.cutYears.size() + 1;
            segmentsBefore_.assign(segments + 1, 0);
            for (std::size_t s = 1; s + 1 < segments; ++s) {
                segmentsBefore_[s + 1] =
                    segmentsBefore_[s] + OpenCount(s, plan.SegmentFirst(s), plan.SegmentEnd(s));
            }
        });
        count = OpenCount(s0, first, plan.SegmentEnd(s0)) + segmentsBefore_[s1] -
                segmentsBefore_[s0 + 1] + OpenCount(s1, plan.SegmentFirst(s1), end);
    }
    const auto lo = std::lower_bound(plan.specialYears.begin(), plan.specialYears.end(), first);
    const auto hi = std::lower_bound(plan.specialYears.begin(), plan.specialYears.end(), end);
    return count + correctionsBefore_[static_cast<std::size_t>(hi - plan.specialYears.begin())] -
           correctionsBefore_[static_cast<std::size_t>(lo - plan.specialYears.begin())];
}

// The count of [a, b), days of one year, from its working-out.
[[gnu::always_inline]] inline std::int64_t HolidayCounter::InYear(const YearData& year,
                                                                  std::int64_t a,
                                                                  std::int64_t b) const {
    const auto in = [a, b](const std::vector<std::int64_t>& days) {
        return static_cast<std::int64_t>(std::lower_bound(days.begin(), days.end(), b) -
                                         std::lower_bound(days.begin(), days.end(), a));
    };
    return in(year.days) - in(year.extra);
}

// The count of [a, b) within the years `first` and `last` (once when they are the same year),
// read under the cache's lock, when the cache holds both.
std::optional<std::int64_t> HolidayCounter::InCachedYears(std::int64_t first, std::int64_t last,
                                                          std::int64_t a, std::int64_t b) const {
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    const std::shared_ptr<const YearData>* firstData = Cached(first);
    if (firstData == nullptr) {
        return std::nullopt;
    }
    if (last == first) {
        return InYear(**firstData, a, b);
    }
    const std::shared_ptr<const YearData>* lastData = Cached(last);
    if (lastData == nullptr) {
        return std::nullopt;
    }
    return InYear(**firstData, a, b) + InYear(**lastData, a, b);
}

// Sets `bound` to `value` when `value` lies further out, whatever other threads do to it.
template <typename Further>
void Extend(std::atomic<std::int64_t>& bound, std::int64_t value, Further further) {
    std::int64_t now = bound.load(std::memory_order_relaxed);
    while (further(value, now) && !bound.compare_exchange_weak(now, value)) {
    }
}

// The holidays of the whole years between the anchor year and a year's start (negative
// before the anchor year), counted and kept.
std::int64_t HolidayCounter::PlaceOf(std::int64_t year) const {
    const std::int64_t place =
        year >= kAnchorYear ? WholeYears(kAnchorYear, year) : -WholeYears(year, kAnchorYear);
    places_->Keep(year, place);
    Extend(reachedFirst_, year, std::less<>());
    Extend(reachedEnd_, year, std::greater<>());
    return place;
}

// Whether the whole years [first, end) may be placed: placing them works out no more years
// than counting them does (the years between the anchor year and them that the tables have not
// reached, up to a chunk's worth, or no more than their own).
bool HolidayCounter::AnchorServes(std::int64_t first, std::int64_t end) const {
    if (std::max(-first, end) >= PlaceCache::kYearLimit) {
        return false;
    }
    std::int64_t beyond = 0;
    if (first > kAnchorYear) {
        beyond = first - reachedEnd_.load(std::memory_order_relaxed);
    } else if (end < kAnchorYear) {
        beyond = reachedFirst_.load(std::memory_order_relaxed) - end;
    }
    return beyond <= std::max(end - first, kKeptChunk);
}

std::int64_t HolidayCounter::WorkdayHolidaysIn(std::int64_t from, std::int64_t to) const {
    if (to <= from || (set_->rules.empty() && set_->workdays.empty())) {
        return 0;
    }
    const std::int64_t y0 = YearOf(from);
    const std::int64_t y1 = YearOf(to - 1);
    if (y0 == y1) {
        const std::optional<std::int64_t> count = InCachedYears(y0, y0, from, to);
        return count ? *count : InYear(*NewYear(y0), from, to);
    }
    if (y1 - y0 > kDirectYears + 1) {
        // A long count between placed years reads what a count within each end year reads, and
        // their places. A year is placed when it is the same end of two long counts in a row
        // (counts repeated from or to a date; a search moves its ends).
        const bool firstAgain = lastEnds_[0].load(std::memory_order_relaxed) == y0;
        const bool lastAgain = lastEnds_[1].load(std::memory_order_relaxed) == y1;
        if (!firstAgain) {
            lastEnds_[0].store(y0, std::memory_order_relaxed);
        }
        if (!lastAgain) {
            lastEnds_[1].store(y1, std::memory_order_relaxed);
        }
        std::optional<std::int64_t> firstPlace = places_->Find(y0 + 1);
        std::optional<std::int64_t> lastPlace = places_->Find(y1);
        if (((!firstPlace && firstAgain) || (!lastPlace && lastAgain)) &&
            AnchorServes(y0 + 1, y1)) {
            firstPlace = firstPlace ? firstPlace : PlaceOf(y0 + 1);
            lastPlace = lastPlace ? lastPlace : PlaceOf(y1);
        }
        if (firstPlace && lastPlace) {
            const std::optional<std::int64_t> ends = InCachedYears(y0, y1, from, to);
            return *lastPlace - *firstPlace +
                   (ends ? *ends : InYear(*Year(y0), from, to) + InYear(*Year(y1), from, to));
        }
    }
    if (plan_->anyLunar) {
        if (const std::optional<std::int64_t> count = LunarDaysIn(from, to, y0, y1)) {
            return *count;
        }
    }
    return InYear(*Year(y0), from, to) + WholeYears(y0 + 1, y1) + InYear(*Year(y1), from, to);
}

// A span within one stretch counted by the kinds of lunar years: counted by days, with the
// end years that are special (a single date, an extra working day) and the special years
// between put right. None for any other span.
std::optional<std::int64_t> HolidayCounter::LunarDaysIn(std::int64_t from, std::int64_t to,
                                                        std::int64_t y0, std::int64_t y1) const {
    if (y1 - y0 <= kDirectYears) {
        return std::nullopt;
    }
    std::call_once(built_, [this] { BuildTables(); });
    const HolidayPlan& plan = *plan_;
    const std::size_t s = plan.SegmentOf(y0);
    LunarTable* table = lunar_[s].get();
    if (table == nullptr || plan.SegmentOf(y1) != s ||
        (y1 - y0 < kTableYears && !table->ready.load(std::memory_order_acquire))) {
        return std::nullopt;
    }
    const std::vector<std::int64_t>& special = plan.specialYears;
    const auto lo = std::lower_bound(special.begin(), special.end(), y0);
    const auto hi = std::lower_bound(lo, special.end(), y1);
    const bool specialFirst = lo != special.end() && *lo == y0;
    const bool specialLast = hi != special.end() && *hi == y1;
    std::int64_t count = 0;
    std::int64_t start = from;
    std::int64_t end = to;
    if (specialFirst) {
        start = YearStart(y0 + 1);
        count += InYear(*Year(y0), from, start);
    }
    if (specialLast) {
        end = YearStart(y1);
        count += InYear(*Year(y1), end, to);
    }
    const auto first = static_cast<std::size_t>(lo - special.begin()) + (specialFirst ? 1 : 0);
    const auto last = static_cast<std::size_t>(hi - special.begin());
    return count + LunarBefore(*table, end) - LunarBefore(*table, start) +
           correctionsBefore_[last] - correctionsBefore_[first];
}

}  // namespace daybridge
