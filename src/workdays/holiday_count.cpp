#include "workdays/holiday_count.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <limits>
#include <map>
#include <optional>

#include "jdcore/day_count.h"
#include "jdcore/easter.h"

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

int KindOf(std::int64_t year) {
    const std::int64_t day = jdcore::western_easter(year) - jdcore::jdn_from_gregorian(year, 3, 22);
    return static_cast<int>(2 * day + (jdcore::gregorian_leap(year) ? 1 : 0));
}

using KindWeights = std::array<std::int32_t, kKinds>;

// The kind of every year of one cycle (one byte each) and, per block, how many years of each
// kind precede it in the cycle.
struct KindTable {
    std::vector<std::uint8_t> kind;                     // kEasterCycle bytes
    std::vector<std::int32_t> before;                   // (blocks + 1) x kKinds
    std::array<std::int64_t, kKinds> representative{};  // a year of each kind (-1: none)

    KindTable() : kind(kEasterCycle), before((kEasterCycle / kBlock + 2) * kKinds, 0) {
        representative.fill(-1);
        std::array<std::int32_t, kKinds> running{};
        for (std::int64_t y = 0; y < kEasterCycle; ++y) {
            if (y % kBlock == 0) {
                std::copy(running.begin(), running.end(), before.begin() + (y / kBlock) * kKinds);
            }
            const int k = KindOf(y);
            kind[static_cast<std::size_t>(y)] = static_cast<std::uint8_t>(k);
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

const KindTable& Kinds() {
    static const KindTable table;
    return table;
}

// ---- the period of sets without Western Easter ----------------------------------------------

// 400 Gregorian years (146,097 days) and 532 Julian years (194,313 days, the Julian Easter
// cycle; Julian fixed days and weekdays of Julian months repeat after 4 and 28 of them) have
// 21 days in common: every rule but Western Easter repeats after 146097 * 9253 = 194313 * 6957
// days, 3,701,200 Gregorian years, and so does the week.
constexpr std::int64_t kPeriodYears = 400 * 9253;
constexpr std::int64_t kPeriodBlock = 20;  // years per block of a period table
// Stretches of fixed rules at least this long get a period table; shorter ones are counted
// year by year.
constexpr std::int64_t kTableYears = 2000;
// Runs of whole years up to this long are counted year by year.
constexpr std::int64_t kDirectYears = 8;
// Sets counted year by year are measured by a span of this many years.
constexpr std::int64_t kYearByYearSpan = 5000;

// ---- working out a year ---------------------------------------------------------------------

struct RawDate {
    std::int64_t jdn;
    int rule;
    Observed observed;
};

// Scratch space of the working-out, kept per thread so that counting allocates nothing.
struct Scratch {
    std::vector<RawDate> raw;
    std::vector<std::uint64_t> taken;  // bits
    std::vector<HolidayDate> dates;
    std::vector<std::int64_t> days;
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
        if (day >= window.from && day <= window.to) {
            raw.push_back({day, index, rule.observed});
        }
    };
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
        case HolidayKind::FixedDay:
        case HolidayKind::NthWeekday:
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

// The days a working-out looks at, as bits: a Monday before the first raw date, far enough that
// a holiday moving back past weekend days and taken days stays after it (there are fewer taken
// days than dates, and a week holds at least one day that is not weekend), and as far after
// the last.
struct DayBits {
    std::int64_t base = 0;  // the day of bit 0, a Monday
    std::uint8_t weekend = 0;
    std::vector<std::uint64_t>* words = nullptr;

    DayBits(std::int64_t firstDay, std::int64_t lastDay, std::int64_t dates,
            std::uint8_t weekendDays, std::vector<std::uint64_t>& storage)
        : weekend(weekendDays), words(&storage) {
        const std::int64_t reach = 7 * (dates + 2);
        base = firstDay - reach;
        base -= floor_mod(base, 7);
        storage.assign(static_cast<std::size_t>((lastDay + reach - base) / 64 + 1), 0);
    }
    std::uint64_t Index(std::int64_t day) const { return static_cast<std::uint64_t>(day - base); }
    unsigned DayOfWeek(std::int64_t day) const {  // 0 Monday .. 6 Sunday
        return static_cast<unsigned>(Index(day) % 7);
    }
    bool IsWeekend(std::int64_t day) const { return ((weekend >> DayOfWeek(day)) & 1) != 0; }
    bool Taken(std::int64_t day) const {
        return (((*words)[Index(day) / 64] >> (Index(day) % 64)) & 1) != 0;
    }
    void Take(std::int64_t day) {
        (*words)[Index(day) / 64] |= std::uint64_t{1} << (Index(day) % 64);
    }
    bool Moves(const RawDate& h) const {
        if (h.observed == Observed::FriMon) {
            return DayOfWeek(h.jdn) >= 5;  // Saturday or Sunday
        }
        return h.observed != Observed::None && IsWeekend(h.jdn);
    }
    // The taken days in [from, to) that are not weekend days, in order.
    void WorkdaysTaken(std::int64_t from, std::int64_t to, std::vector<std::int64_t>& out) const {
        const std::array<std::uint64_t, 7>& notWeekend = NotWeekendBits(weekend);
        // No day outside the bits is taken.
        const std::uint64_t last =
            std::min<std::uint64_t>(Index(std::max(to, base)), 64 * words->size());
        for (std::uint64_t i = Index(std::max(from, base)); i < last;) {
            const std::uint64_t w = i / 64;
            std::uint64_t bits = (*words)[w] & notWeekend[w % 7] & (~std::uint64_t{0} << (i % 64));
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

// Works out the holidays of Gregorian year `year` from the raw dates gathered for its window:
// holidays that stay on their day take it first; the moving ones, in the order of their own
// days, then take the free working day their rule names. Leaves in scratch.days the distinct
// non-weekend days of the year that hold a holiday, sorted, and with `dates` every holiday
// date in the year, sorted, in scratch.dates.
void WorkOut(std::uint8_t weekend, std::int64_t year, Scratch& scratch, bool dates) {
    std::vector<RawDate>& raw = scratch.raw;
    const auto before = [](const RawDate& a, const RawDate& b) {
        return a.jdn != b.jdn ? a.jdn < b.jdn : a.rule < b.rule;
    };
    if (!std::is_sorted(raw.begin(), raw.end(), before)) {
        std::sort(raw.begin(), raw.end(), before);
    }
    const std::int64_t first = YearStart(year);
    const std::int64_t end = YearStart(year + 1);
    scratch.days.clear();
    scratch.dates.clear();
    if (raw.empty()) {
        return;
    }
    DayBits taken(raw.front().jdn, raw.back().jdn, static_cast<std::int64_t>(raw.size()), weekend,
                  scratch.taken);
    bool anyMove = false;
    for (const RawDate& h : raw) {
        if (taken.Moves(h)) {
            anyMove = true;
        } else {
            taken.Take(h.jdn);
        }
    }
    const auto keep = [&](std::int64_t day, int rule, bool moved, bool observed) {
        if (dates && day >= first && day < end) {
            scratch.dates.push_back({day, rule, moved, observed});
        }
    };
    for (const RawDate& h : raw) {
        if (!anyMove || !taken.Moves(h)) {
            keep(h.jdn, h.rule, false, false);
            continue;
        }
        keep(h.jdn, h.rule, true, false);
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
        taken.Take(day);
        keep(day, h.rule, false, true);
    }
    if (dates && anyMove) {
        std::sort(scratch.dates.begin(), scratch.dates.end(),
                  [](const HolidayDate& a, const HolidayDate& b) {
                      return a.jdn != b.jdn ? a.jdn < b.jdn : a.rule < b.rule;
                  });
    }
    taken.WorkdaysTaken(first, end, scratch.days);
}

}  // namespace

// ---- the plan: where the rules in force change ----------------------------------------------

// The years are cut where rules begin or end; between two cut years (a segment) the rules in
// force are the same, apart from the cut year itself. A year whose window holds a day where
// the rules in force change, or a single date, is special: counted from its own working-out.
struct HolidayPlan {
    bool gregorianOnly = true;
    bool periodic = false;
    std::vector<std::int64_t> cutYears;      // sorted; segment s holds [cut[s-1], cut[s])
    std::vector<std::int64_t> probe;         // per segment: a day whose rules in force it has
    std::vector<std::vector<int>> list;      // per segment: the rules in force near any of its days
    std::vector<std::vector<int>> inForce;   // per segment: those in force on its probe day
    std::vector<std::int64_t> singleDays;    // sorted; single dates
    std::vector<int> singleRules;            // their rules, in the same order
    std::vector<std::int64_t> specialYears;  // sorted
    std::int64_t mostPerYear = 0;            // an upper bound of the holidays in a year

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
};

RuleDays DaysInForce(const HolidayRule& rule) {
    if (rule.kind == HolidayKind::SingleDate) {
        const std::int64_t day = rule.DateIn(rule.firstYear).value_or(kFarPast);
        return {day, day + 1};  // a date that does not exist (not read from a file): never
    }
    return {rule.firstYear > std::numeric_limits<std::int32_t>::min()
                ? RuleYearStart(rule, rule.firstYear)
                : kFarPast,
            rule.lastYear < std::numeric_limits<std::int32_t>::max()
                ? RuleYearStart(rule, rule.lastYear + 1)
                : kFarFuture};
}

// The plan's cuts, probes and special years, and per rule the range of segments whose days
// (with their windows) it is in force on; the lists themselves only when `lists` is set.
std::unique_ptr<HolidayPlan> MakePlan(
    const HolidaySet& set, bool lists,
    std::vector<std::pair<std::size_t, std::size_t>>* segmentsOfRule = nullptr) {
    auto plan = std::make_unique<HolidayPlan>();
    std::vector<RuleDays> days;
    days.reserve(set.rules.size());
    std::vector<std::int64_t> changes;  // days where a rule of a segment begins or ends
    std::vector<std::int64_t> special;
    bool westernEaster = false;
    std::int64_t perYear = 0;
    for (std::size_t r = 0; r < set.rules.size(); ++r) {
        const HolidayRule& rule = set.rules[r];
        plan->gregorianOnly = plan->gregorianOnly && !rule.julian;
        westernEaster = westernEaster || rule.IsWesternEaster();
        days.push_back(DaysInForce(rule));
        const RuleDays& d = days.back();
        if (rule.kind == HolidayKind::SingleDate) {
            if (d.start != kFarPast) {
                plan->singleDays.push_back(d.start);
            }
            continue;
        }
        perYear += rule.julian ? 2 : 1;  // a Julian year's date can come twice in a year
        for (const std::int64_t change : {d.start, d.end}) {
            if (change != kFarPast && change != kFarFuture) {
                changes.push_back(change);
            }
        }
    }
    plan->periodic = !plan->gregorianOnly && !westernEaster;

    // Single dates, sorted, and the most of them in one year's window.
    std::vector<int> singles;
    for (std::size_t r = 0; r < set.rules.size(); ++r) {
        if (set.rules[r].kind == HolidayKind::SingleDate && days[r].start != kFarPast) {
            singles.push_back(static_cast<int>(r));
        }
    }
    std::sort(singles.begin(), singles.end(), [&](int a, int b) {
        return days[static_cast<std::size_t>(a)].start < days[static_cast<std::size_t>(b)].start;
    });
    plan->singleRules = singles;
    std::sort(plan->singleDays.begin(), plan->singleDays.end());
    std::int64_t mostSingles = 0;
    for (std::size_t i = 0, j = 0; i < plan->singleDays.size(); ++i) {
        while (plan->singleDays[i] - plan->singleDays[j] > 366 + 2 * kObservedMargin) {
            ++j;
        }
        mostSingles = std::max<std::int64_t>(mostSingles, static_cast<std::int64_t>(i - j + 1));
    }
    plan->mostPerYear = perYear + mostSingles;

    // A change on day c matters to the years whose window holds c - 1 and c.
    for (const std::int64_t c : changes) {
        special.push_back(YearOf(c - 1 - kObservedMargin));
        special.push_back(YearOf(c + kObservedMargin));
        plan->cutYears.push_back(YearOf(c));
    }
    for (const std::int64_t d : plan->singleDays) {
        special.push_back(YearOf(d - 1 - kObservedMargin));
        special.push_back(YearOf(d + 1 + kObservedMargin));
    }
    // Each pair above holds the years from its first to its second (at most three).
    std::vector<std::int64_t> expanded;
    expanded.reserve(special.size() * 2);
    for (std::size_t i = 0; i < special.size(); i += 2) {
        for (std::int64_t y = special[i]; y <= special[i + 1]; ++y) {
            expanded.push_back(y);
        }
    }
    std::sort(expanded.begin(), expanded.end());
    expanded.erase(std::unique(expanded.begin(), expanded.end()), expanded.end());
    plan->specialYears = std::move(expanded);
    std::sort(changes.begin(), changes.end());
    changes.erase(std::unique(changes.begin(), changes.end()), changes.end());
    std::sort(plan->cutYears.begin(), plan->cutYears.end());
    plan->cutYears.erase(std::unique(plan->cutYears.begin(), plan->cutYears.end()),
                         plan->cutYears.end());

    // Probes: before every change for the first segment; the last change of a segment's cut
    // year for the others (the rules in force stay so until the next cut year).
    const std::size_t segments = plan->cutYears.size() + 1;
    plan->probe.resize(segments);
    plan->probe[0] = changes.empty() ? 0 : changes.front() - 1;
    for (std::size_t s = 1; s < segments; ++s) {
        const std::int64_t nextYear = YearStart(plan->cutYears[s - 1] + 1);
        plan->probe[s] = *(std::lower_bound(changes.begin(), changes.end(), nextYear) - 1);
    }

    // The segments whose days, with the windows of their years, meet a rule's days in force.
    std::vector<std::int64_t> cutDays;
    cutDays.reserve(plan->cutYears.size());
    for (const std::int64_t y : plan->cutYears) {
        cutDays.push_back(YearStart(y));
    }
    if (lists) {
        plan->list.resize(segments);
        plan->inForce.resize(segments);
    }
    for (std::size_t r = 0; r < set.rules.size(); ++r) {
        if (set.rules[r].kind == HolidayKind::SingleDate) {
            continue;
        }
        const RuleDays& d = days[r];
        // First: the first segment whose end (with margin) lies after the rule's start.
        const std::size_t first =
            static_cast<std::size_t>(std::upper_bound(cutDays.begin(), cutDays.end(), d.start,
                                                      [](std::int64_t start, std::int64_t cut) {
                                                          return start < cut + kObservedMargin;
                                                      }) -
                                     cutDays.begin());
        // Last: the last segment whose start (less the margin) lies before the rule's end.
        const std::size_t last =
            static_cast<std::size_t>(std::lower_bound(cutDays.begin(), cutDays.end(), d.end,
                                                      [](std::int64_t cut, std::int64_t end) {
                                                          return cut - kObservedMargin < end;
                                                      }) -
                                     cutDays.begin());
        if (segmentsOfRule != nullptr) {
            segmentsOfRule->push_back({first, last});
        }
        if (!lists) {
            continue;
        }
        for (std::size_t s = first; s <= last && s < segments; ++s) {
            plan->list[s].push_back(static_cast<int>(r));
            if (d.start <= plan->probe[s] && plan->probe[s] < d.end) {
                plan->inForce[s].push_back(static_cast<int>(r));
            }
        }
    }
    return plan;
}

}  // namespace

HolidaySetSize MeasureHolidaySet(const HolidaySet& set) {
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    const std::unique_ptr<HolidayPlan> plan = MakePlan(set, false, &ranges);
    const std::size_t segments = plan->cutYears.size() + 1;
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
        if (plan->gregorianOnly) {
            size.work += kKinds * running;  // a year of each kind
        } else if (plan->periodic) {
            size.work += (length >= kTableYears ? kPeriodYears : length) * running;
        }
    }
    if (!plan->gregorianOnly && !plan->periodic) {
        // Counted year by year: a span of some thousands of years, as the rules allow.
        size.work += kYearByYearSpan * size.mostInForce;
    } else {
        // Each special year is worked out twice: as it is, and with its segment's rules.
        for (const std::int64_t y : plan->specialYears) {
            size.work += 2 * (near[plan->SegmentOf(y)] + 1);
        }
        size.work += static_cast<std::int64_t>(plan->singleDays.size());
    }
    return size;
}

// ---- the counter ------------------------------------------------------------------------------

struct HolidayCounter::YearData {
    std::int64_t year = 0;
    std::vector<HolidayDate> dates;  // sorted
    std::vector<std::int64_t> days;  // distinct non-weekend holiday days, sorted
};

struct HolidayCounter::PeriodTable {
    std::size_t segment = 0;  // one of the segments with these rules in force
    std::once_flag built;
    std::atomic<bool> ready{false};
    std::vector<std::int64_t> before;  // count in the years [0, k * kPeriodBlock) of the period
};

HolidayCounter::HolidayCounter(std::shared_ptr<const HolidaySet> set, std::uint8_t weekend)
    : set_(std::move(set)), weekend_(weekend), plan_(MakePlan(*set_, true)) {}

HolidayCounter::~HolidayCounter() = default;

std::int64_t HolidayCounter::MostHolidaysInAYear() const {
    return plan_->mostPerYear;
}

bool HolidayCounter::CountsYearByYear() const {
    return !plan_->gregorianOnly && !plan_->periodic;
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
    WorkOut(weekend_, year, scratch, dates);
}

std::int64_t HolidayCounter::UncachedYearCount(std::int64_t year) const {
    WorkOutYear(year, false);
    return static_cast<std::int64_t>(ThreadScratch().days.size());
}

std::shared_ptr<const HolidayCounter::YearData> HolidayCounter::Year(std::int64_t year) const {
    const std::size_t slot = static_cast<std::size_t>(floor_mod(year, kCachedYears));
    {
        const std::lock_guard<std::mutex> lock(cacheMutex_);
        if (cache_[slot] != nullptr && cache_[slot]->year == year) {
            return cache_[slot];
        }
    }
    WorkOutYear(year, true);
    const Scratch& scratch = ThreadScratch();
    auto data = std::make_shared<YearData>();
    data->year = year;
    data->dates = scratch.dates;
    data->days = scratch.days;
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    cache_[slot] = data;
    return data;
}

std::int64_t HolidayCounter::ExactYearCount(std::int64_t year) const {
    return static_cast<std::int64_t>(Year(year)->days.size());
}

// The count of `year` worked out with the segment's rules in force in every year.
std::int64_t HolidayCounter::OpenYearCount(std::size_t segment, std::int64_t year) const {
    Scratch& scratch = ThreadScratch();
    scratch.raw.clear();
    YearWindow window(year);
    for (const int r : plan_->inForce[segment]) {
        AddOwnDates(set_->rules[static_cast<std::size_t>(r)], r, true, window, scratch.raw);
    }
    WorkOut(weekend_, year, scratch, false);
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

// Holidays of a table's rules in the years [0, year) (negative for a year before 0): whole
// periods, the blocks before the nearer block boundary, and the years between it and `year`.
std::int64_t HolidayCounter::OpenPrefix(PeriodTable& table, std::int64_t year) const {
    constexpr std::int64_t blocks = kPeriodYears / kPeriodBlock;
    std::call_once(table.built, [&] {
        table.before.assign(static_cast<std::size_t>(blocks + 1), 0);
        std::int64_t running = 0;
        for (std::int64_t y = 0; y < kPeriodYears; ++y) {
            if (y % kPeriodBlock == 0) {
                table.before[static_cast<std::size_t>(y / kPeriodBlock)] = running;
            }
            running += OpenYearCount(table.segment, y);
        }
        table.before[static_cast<std::size_t>(blocks)] = running;
        table.ready.store(true, std::memory_order_release);
    });
    const std::int64_t periods = floor_div(year, kPeriodYears);
    const std::int64_t rest = year - periods * kPeriodYears;
    const std::int64_t block = std::min(blocks, (rest + kPeriodBlock / 2) / kPeriodBlock);
    const std::int64_t edge = block * kPeriodBlock;
    std::int64_t count =
        periods * table.before.back() + table.before[static_cast<std::size_t>(block)];
    for (std::int64_t y = edge; y < rest; ++y) {
        count += OpenYearCount(table.segment, y);
    }
    for (std::int64_t y = rest; y < edge; ++y) {
        count -= OpenYearCount(table.segment, y);
    }
    return count;
}

// The years [first, end) of a segment counted with its rules in force in every year.
std::int64_t HolidayCounter::OpenCount(std::size_t segment, std::int64_t first,
                                       std::int64_t end) const {
    if (end <= first || plan_->inForce[segment].empty()) {
        return 0;
    }
    if (plan_->gregorianOnly) {
        return Kinds().WeightIn(kindCount_[segment], first, end);
    }
    // Built when a span of kTableYears asks for it; then used for all but the shortest.
    PeriodTable* table = table_[segment].get();
    if (table != nullptr && end - first > 2 * kPeriodBlock &&
        (end - first >= kTableYears || table->ready.load(std::memory_order_acquire))) {
        return OpenPrefix(*table, end) - OpenPrefix(*table, first);
    }
    std::int64_t count = 0;  // fewer years than kTableYears: no table is built for them
    for (std::int64_t y = first; y < end; ++y) {
        count += OpenYearCount(segment, y);
    }
    return count;
}

void HolidayCounter::BuildTables() const {
    const HolidayPlan& plan = *plan_;
    const std::size_t segments = plan.cutYears.size() + 1;
    if (plan.gregorianOnly) {
        // A year of each kind: the dates of every rule worked out and sorted once, and each
        // segment's taken from them; a segment with few of the rules in force works its own.
        const KindTable& kinds = Kinds();
        kindCount_.assign(segments, KindWeights{});
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
                if (set_->rules[r].kind != HolidayKind::SingleDate) {
                    AddOwnDates(set_->rules[r], static_cast<int>(r), true, window, all);
                }
            }
            std::sort(all.begin(), all.end(), [](const RawDate& a, const RawDate& b) {
                return a.jdn != b.jdn ? a.jdn < b.jdn : a.rule < b.rule;
            });
            for (std::size_t s = 0; s < segments; ++s) {
                const std::vector<int>& rules = plan.inForce[s];
                if (rules.empty()) {
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
                for (const RawDate& h : all) {
                    if (inForce[static_cast<std::size_t>(h.rule)] != 0) {
                        scratch.raw.push_back(h);
                    }
                }
                for (const int r : rules) {
                    inForce[static_cast<std::size_t>(r)] = 0;
                }
                WorkOut(weekend_, y, scratch, false);
                kindCount_[s][k] = static_cast<std::int32_t>(scratch.days.size());
            }
        }
    } else {
        // Stretches with the same rules in force share a table.
        table_.assign(segments, nullptr);
        std::map<std::vector<int>, std::shared_ptr<PeriodTable>> shared;
        for (std::size_t s = 0; s < segments; ++s) {
            const bool longStretch = s == 0 || s + 1 == segments ||
                                     plan.SegmentEnd(s) - plan.SegmentFirst(s) >= kTableYears;
            if (longStretch && !plan.inForce[s].empty()) {
                std::shared_ptr<PeriodTable>& table = shared[plan.inForce[s]];
                if (table == nullptr) {
                    table = std::make_shared<PeriodTable>();
                    table->segment = s;
                }
                table_[s] = table;
            }
        }
    }
    // The special years: their own count in place of the open one.
    correctionsBefore_.assign(plan.specialYears.size() + 1, 0);
    for (std::size_t i = 0; i < plan.specialYears.size(); ++i) {
        const std::int64_t y = plan.specialYears[i];
        correctionsBefore_[i + 1] =
            correctionsBefore_[i] + UncachedYearCount(y) - OpenCount(plan.SegmentOf(y), y, y + 1);
    }
}

// Holidays in the Gregorian years [first, end).
std::int64_t HolidayCounter::WholeYears(std::int64_t first, std::int64_t end) const {
    if (end - first <= kDirectYears || CountsYearByYear()) {
        std::int64_t count = 0;
        for (std::int64_t y = first; y < end; ++y) {
            count += end - first <= kDirectYears ? ExactYearCount(y) : UncachedYearCount(y);
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

std::int64_t HolidayCounter::WorkdayHolidaysIn(std::int64_t from, std::int64_t to) const {
    if (to <= from || set_->rules.empty()) {
        return 0;
    }
    const auto inYear = [this](std::int64_t year, std::int64_t a, std::int64_t b) {
        const std::shared_ptr<const YearData> data = Year(year);
        return static_cast<std::int64_t>(std::lower_bound(data->days.begin(), data->days.end(), b) -
                                         std::lower_bound(data->days.begin(), data->days.end(), a));
    };
    const std::int64_t y0 = YearOf(from);
    const std::int64_t y1 = YearOf(to - 1);
    if (y0 == y1) {
        return inYear(y0, from, to);
    }
    return inYear(y0, from, to) + WholeYears(y0 + 1, y1) + inYear(y1, from, to);
}

}  // namespace daybridge
