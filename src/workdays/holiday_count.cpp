#include "workdays/holiday_count.h"

#include <algorithm>
#include <array>
#include <set>

#include "jdcore/day_count.h"
#include "jdcore/easter.h"

namespace daybridge {
namespace {

using jdcore::floor_div;
using jdcore::floor_mod;

constexpr std::int64_t kMargin = 40;  // days generated beyond a span for shifts into it

bool IsWeekend(std::uint8_t weekend, std::int64_t jdn) {
    return ((weekend >> floor_mod(jdn, 7)) & 1) != 0;
}

// Every holiday of `set` whose own or observed day lies in [from, to], sorted by day.
std::vector<HolidayDate> DatesBetween(const HolidaySet& set, std::uint8_t weekend,
                                      std::int64_t from, std::int64_t to) {
    const std::int64_t g0 = jdcore::gregorian_from_jdn(from - kMargin).year;
    const std::int64_t g1 = jdcore::gregorian_from_jdn(to + kMargin).year;
    const std::int64_t j0 = jdcore::julian_from_jdn(from - kMargin).year;
    const std::int64_t j1 = jdcore::julian_from_jdn(to + kMargin).year;
    std::vector<HolidayDate> raw;
    for (int r = 0; r < static_cast<int>(set.rules.size()); ++r) {
        const HolidayRule& rule = set.rules[r];
        const std::int64_t y0 = std::max(rule.julian ? j0 : g0, rule.firstYear);
        const std::int64_t y1 = std::min(rule.julian ? j1 : g1, rule.lastYear);
        for (std::int64_t y = y0; y <= y1; ++y) {
            if (const auto day = rule.DateIn(y)) {
                raw.push_back({*day, r, false, false});
            }
        }
    }
    std::sort(raw.begin(), raw.end(), [](const HolidayDate& a, const HolidayDate& b) {
        return a.jdn != b.jdn ? a.jdn < b.jdn : a.rule < b.rule;
    });

    // Holidays that stay on their day take it first; the moving ones, in the order of their
    // own days, then take the free working day their rule names.
    // The days taken, sorted (a vector: few days, and the table build counts many spans).
    std::vector<std::int64_t> taken;
    const auto isTaken = [&taken](std::int64_t day) {
        return std::binary_search(taken.begin(), taken.end(), day);
    };
    const auto moves = [&](const HolidayDate& h) {
        const Observed how = set.rules[h.rule].observed;
        if (how == Observed::FriMon) {
            const std::int64_t dow = floor_mod(h.jdn, 7);  // 5 Saturday, 6 Sunday
            return dow >= 5;
        }
        return how != Observed::None && IsWeekend(weekend, h.jdn);
    };
    for (const HolidayDate& h : raw) {
        if (!moves(h) && (taken.empty() || taken.back() != h.jdn)) {
            taken.push_back(h.jdn);  // raw is sorted
        }
    }
    std::vector<HolidayDate> out;
    for (const HolidayDate& h : raw) {
        if (!moves(h)) {
            out.push_back(h);
            continue;
        }
        out.push_back({h.jdn, h.rule, true, false});
        std::int64_t day = h.jdn;
        switch (set.rules[h.rule].observed) {
            case Observed::FriMon:
                day += floor_mod(day, 7) == 5 ? -1 : 1;
                break;
            case Observed::Previous:
                do {
                    --day;
                } while (IsWeekend(weekend, day) || isTaken(day));
                break;
            default:
                do {
                    ++day;
                } while (IsWeekend(weekend, day) || isTaken(day));
                break;
        }
        const auto place = std::lower_bound(taken.begin(), taken.end(), day);
        if (place == taken.end() || *place != day) {
            taken.insert(place, day);
        }
        out.push_back({day, h.rule, false, true});
    }
    std::erase_if(out, [&](const HolidayDate& h) { return h.jdn < from || h.jdn > to; });
    std::sort(out.begin(), out.end(), [](const HolidayDate& a, const HolidayDate& b) {
        return a.jdn != b.jdn ? a.jdn < b.jdn : a.rule < b.rule;
    });
    return out;
}

std::int64_t CountIn(const HolidaySet& set, std::uint8_t weekend, std::int64_t from,
                     std::int64_t to) {
    if (to <= from) {
        return 0;
    }
    std::int64_t count = 0;
    std::int64_t last = from - 1;
    for (const HolidayDate& h : DatesBetween(set, weekend, from, to - 1)) {
        if (!h.moved && h.jdn != last && !IsWeekend(weekend, h.jdn)) {
            ++count;
            last = h.jdn;
        }
    }
    return count;
}

std::int64_t YearStart(std::int64_t year) {
    return jdcore::jdn_from_gregorian(year, 1, 1);
}

// ---- kinds of year over the Western Easter cycle --------------------------------------------

constexpr std::int64_t kEasterCycle = 5700000;  // Gregorian years
constexpr int kKinds = 70;                      // 35 Easter days x leap or not
constexpr std::int64_t kBlock = 2048;           // years per block of the kind table

int KindOf(std::int64_t year) {
    const std::int64_t day = jdcore::western_easter(year) - jdcore::jdn_from_gregorian(year, 3, 22);
    return static_cast<int>(2 * day + (jdcore::gregorian_leap(year) ? 1 : 0));
}

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
    std::int64_t WeightBefore(const std::vector<std::int64_t>& weight, std::int64_t year) const {
        const std::int64_t blocks = (kEasterCycle + kBlock - 1) / kBlock;
        std::int64_t block = (year + kBlock / 2) / kBlock;  // nearest block boundary
        if (block > blocks) {
            block = blocks;
        }
        const std::int64_t edge = std::min(block * kBlock, kEasterCycle);
        std::int64_t sum = 0;
        const std::int32_t* counts = before.data() + block * kKinds;
        for (int k = 0; k < kKinds; ++k) {
            sum += weight[static_cast<std::size_t>(k)] * counts[k];
        }
        for (std::int64_t y = edge; y < year; ++y) {
            sum += weight[kind[static_cast<std::size_t>(y)]];
        }
        for (std::int64_t y = year; y < edge; ++y) {
            sum -= weight[kind[static_cast<std::size_t>(y)]];
        }
        return sum;
    }
    // Sum of weight[kind(y)] over the years [lo, hi), any years.
    std::int64_t WeightIn(const std::vector<std::int64_t>& weight, std::int64_t lo,
                          std::int64_t hi) const {
        if (hi - lo <= kBlock) {
            std::int64_t sum = 0;
            for (std::int64_t y = lo; y < hi; ++y) {
                sum += weight[kind[static_cast<std::size_t>(floor_mod(y, kEasterCycle))]];
            }
            return sum;
        }
        return WeightBeforeAny(weight, hi) - WeightBeforeAny(weight, lo);
    }
    // ... over any years [0, year), negative below 0.
    std::int64_t WeightBeforeAny(const std::vector<std::int64_t>& weight, std::int64_t year) const {
        const std::int64_t cycles = floor_div(year, kEasterCycle);
        const std::int64_t rest = year - cycles * kEasterCycle;
        return cycles * WeightBefore(weight, kEasterCycle) + WeightBefore(weight, rest);
    }
};

const KindTable& Kinds() {
    static const KindTable table;
    return table;
}

// ---- the period of sets without Western Easter ----------------------------------------------

// 400 Gregorian years (146,097 days) and 532 Julian years (194,313 days, the Julian Easter
// cycle; Julian fixed days and weekdays of Julian months repeat after 4 and 28 of them) have
// 21 days in common: every unbounded rule but Western Easter repeats after 146097 * 9253 =
// 194313 * 6957 days, and so does the week.
constexpr std::int64_t kPeriod = 1351835541;
// Per table of a set 185,059 blocks of 20 years (1.5 MB); more active sets, longer blocks.
constexpr std::int64_t kPeriodBlock = 7305;
// Days near a change of the active rules that are counted with the whole set: the shifts of
// holidays reach no further (twice the margin the dates are generated with).
constexpr std::int64_t kZone = 2 * kMargin;
// Spans of this many blocks or more are counted by period; shorter ones year by year.
constexpr std::int64_t kPeriodicBlocks = 4;

}  // namespace

HolidayCounter::HolidayCounter(std::shared_ptr<const HolidaySet> set, std::uint8_t weekend)
    : set_(std::move(set)), weekend_(weekend) {
    std::set<std::int64_t> breaks;
    for (const HolidayRule& rule : set_->rules) {
        gregorianOnly_ = gregorianOnly_ && !rule.julian;
        if (rule.firstYear > std::numeric_limits<std::int32_t>::min()) {
            breaks.insert(rule.firstYear);
        }
        if (rule.lastYear < std::numeric_limits<std::int32_t>::max()) {
            breaks.insert(rule.lastYear + 1);
        }
    }
    // A year's count depends on the rules of the year before and after it too.
    std::set<std::int64_t> special;
    for (const std::int64_t b : breaks) {
        for (std::int64_t y = b - 2; y <= b + 1; ++y) {
            special.insert(y);
        }
    }
    specialYears_.assign(special.begin(), special.end());
    periodic_ = !gregorianOnly_ &&
                std::none_of(set_->rules.begin(), set_->rules.end(), [](const HolidayRule& rule) {
                    return rule.kind == HolidayKind::EasterDays && !rule.julian;
                });
    if (periodic_) {
        FindStretches();
    }
    std::int64_t start = std::numeric_limits<std::int32_t>::min();
    breaks.insert(std::numeric_limits<std::int32_t>::max());
    for (const std::int64_t b : breaks) {
        Segment segment{start, b, {}, {}};
        for (const HolidayRule& rule : set_->rules) {
            if (rule.ActiveIn(start) && rule.kind != HolidayKind::SingleDate) {
                HolidayRule open = rule;
                open.firstYear = std::numeric_limits<std::int32_t>::min();
                open.lastYear = std::numeric_limits<std::int32_t>::max();
                segment.active.rules.push_back(open);
            }
        }
        segments_.push_back(std::move(segment));
        start = b;
    }
}

// The days where the active rules of a periodic set change (the first days of the years that
// bound a rule, in its calendar, and a single date and the day after it) cut the days into
// stretches; each stretch holds the dates of its active rules, unbounded, and single dates
// near its ends only.
void HolidayCounter::FindStretches() {
    std::set<std::int64_t> changes;
    for (const HolidayRule& rule : set_->rules) {
        const auto yearStart = [&rule](std::int64_t year) {
            return rule.julian ? jdcore::jdn_from_julian(year, 1, 1) : YearStart(year);
        };
        if (rule.kind == HolidayKind::SingleDate) {
            if (const auto day = rule.DateIn(rule.firstYear)) {
                changes.insert(*day);
                changes.insert(*day + 1);
            }
            continue;
        }
        if (rule.firstYear > std::numeric_limits<std::int32_t>::min()) {
            changes.insert(yearStart(rule.firstYear));
        }
        if (rule.lastYear < std::numeric_limits<std::int32_t>::max()) {
            changes.insert(yearStart(rule.lastYear + 1));
        }
    }
    changes_.assign(changes.begin(), changes.end());
    std::vector<std::vector<bool>> masks;
    std::vector<std::shared_ptr<PeriodTable>> tables;
    for (std::size_t s = 0; s <= changes_.size(); ++s) {
        const std::int64_t day = s > 0 ? changes_[s - 1] : changes_.empty() ? 0 : changes_[0] - 1;
        std::vector<bool> mask;
        for (const HolidayRule& rule : set_->rules) {
            const std::int64_t year = rule.julian ? jdcore::julian_from_jdn(day).year
                                                  : jdcore::gregorian_from_jdn(day).year;
            mask.push_back(rule.kind != HolidayKind::SingleDate && rule.ActiveIn(year));
        }
        const auto same = std::find(masks.begin(), masks.end(), mask);
        if (same != masks.end()) {
            stretchTable_.push_back(tables[static_cast<std::size_t>(same - masks.begin())]);
            continue;
        }
        auto table = std::make_shared<PeriodTable>();
        for (std::size_t r = 0; r < mask.size(); ++r) {
            if (mask[r]) {
                HolidayRule open = set_->rules[r];
                open.firstYear = std::numeric_limits<std::int32_t>::min();
                open.lastYear = std::numeric_limits<std::int32_t>::max();
                table->open.rules.push_back(open);
            }
        }
        masks.push_back(mask);
        tables.push_back(table);
        stretchTable_.push_back(table);
    }
    block_ = kPeriodBlock * static_cast<std::int64_t>(tables.size());
}

// Holidays of a table's rules in [0, day) (negative for a day before 0): whole periods, the
// blocks before the day in its period, and the days of its block.
std::int64_t HolidayCounter::PeriodPrefix(const PeriodTable& table, std::int64_t day) const {
    std::call_once(table.built, [&] {
        const std::int64_t blocks = (kPeriod + block_ - 1) / block_;
        table.before.assign(static_cast<std::size_t>(blocks + 1), 0);
        for (std::int64_t k = 0; k < blocks; ++k) {
            table.before[static_cast<std::size_t>(k + 1)] =
                table.before[static_cast<std::size_t>(k)] +
                CountIn(table.open, weekend_, k * block_, std::min((k + 1) * block_, kPeriod));
        }
    });
    const std::int64_t periods = floor_div(day, kPeriod);
    const std::int64_t block = (day - periods * kPeriod) / block_;
    const std::int64_t blockStart = periods * kPeriod + block * block_;
    return periods * table.before.back() + table.before[static_cast<std::size_t>(block)] +
           CountIn(table.open, weekend_, blockStart, day);
}

// A periodic set's count in [from, to): directly near the changes of active rules, from the
// tables of the stretches between them.
std::int64_t HolidayCounter::PeriodicCount(std::int64_t from, std::int64_t to) const {
    constexpr std::int64_t kFar = std::numeric_limits<std::int64_t>::max() / 4;
    std::size_t s = static_cast<std::size_t>(
        std::upper_bound(changes_.begin(), changes_.end(), from) - changes_.begin());
    std::int64_t count = 0;
    std::int64_t at = from;
    const auto direct = [&](std::int64_t end) {
        if (at < end) {
            count += CountIn(*set_, weekend_, at, end);
            at = end;
        }
    };
    for (; at < to; ++s) {
        const std::int64_t start = s > 0 ? changes_[s - 1] : -kFar;
        const std::int64_t end = s < changes_.size() ? changes_[s] : kFar;
        direct(std::min(to, start + kZone));
        const std::int64_t inner = std::min(to, end - kZone);
        if (inner - at >= 2 * block_) {
            count += PeriodPrefix(*stretchTable_[s], inner) - PeriodPrefix(*stretchTable_[s], at);
            at = inner;
        }
        direct(std::min(to, end));
    }
    return count;
}

std::vector<HolidayDate> HolidayCounter::Between(std::int64_t from, std::int64_t to) const {
    return DatesBetween(*set_, weekend_, from, to);
}

// The working holiday days of Gregorian year `year`, sorted; the last few years asked for are
// kept, since the two ends of most spans fall in few years.
std::vector<std::int64_t> HolidayCounter::YearDays(std::int64_t year) const {
    const std::size_t slot = static_cast<std::size_t>(floor_mod(year, kCachedYears));
    {
        const std::lock_guard<std::mutex> lock(cacheMutex_);
        if (cache_[slot].valid && cache_[slot].year == year) {
            return cache_[slot].days;
        }
    }
    std::vector<std::int64_t> days;
    for (const HolidayDate& h :
         DatesBetween(*set_, weekend_, YearStart(year), YearStart(year + 1) - 1)) {
        if (!h.moved && !IsWeekend(weekend_, h.jdn) && (days.empty() || days.back() != h.jdn)) {
            days.push_back(h.jdn);
        }
    }
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    cache_[slot] = {true, year, days};
    return days;
}

std::int64_t HolidayCounter::CountDirect(std::int64_t from, std::int64_t to) const {
    if (to <= from) {
        return 0;
    }
    const std::int64_t y0 = jdcore::gregorian_from_jdn(from).year;
    const std::int64_t y1 = jdcore::gregorian_from_jdn(to - 1).year;
    if (y1 - y0 > 2) {
        return CountIn(*set_, weekend_, from, to);
    }
    std::int64_t count = 0;
    for (std::int64_t y = y0; y <= y1; ++y) {
        const std::vector<std::int64_t> days = YearDays(y);
        count += std::lower_bound(days.begin(), days.end(), to) -
                 std::lower_bound(days.begin(), days.end(), from);
    }
    return count;
}

void HolidayCounter::BuildKinds() const {
    const KindTable& kinds = Kinds();
    for (Segment& segment : segments_) {
        segment.kindCount.assign(kKinds, 0);
        for (int k = 0; k < kKinds; ++k) {
            const std::int64_t y = kinds.representative[static_cast<std::size_t>(k)];
            if (y >= 0) {
                segment.kindCount[static_cast<std::size_t>(k)] =
                    CountIn(segment.active, weekend_, YearStart(y), YearStart(y + 1));
            }
        }
    }
    for (const std::int64_t y : specialYears_) {
        const auto segment =
            std::upper_bound(segments_.begin(), segments_.end(), y,
                             [](std::int64_t year, const Segment& s) { return year < s.endYear; });
        specialCorrection_.push_back(CountDirect(YearStart(y), YearStart(y + 1)) -
                                     segment->kindCount[static_cast<std::size_t>(KindOf(y))]);
    }
}

// Holidays in the Gregorian years [firstYear, endYear).
std::int64_t HolidayCounter::YearsCount(std::int64_t firstYear, std::int64_t endYear) const {
    if (!gregorianOnly_ || endYear - firstYear < 4) {
        // No short period: year by year (a few thousand years take some milliseconds).
        std::int64_t count = 0;
        for (std::int64_t y = firstYear; y < endYear; y += 400) {
            count += CountDirect(YearStart(y), YearStart(std::min(y + 400, endYear)));
        }
        return count;
    }
    std::call_once(kindsBuilt_, [this] { BuildKinds(); });
    const KindTable& kinds = Kinds();
    std::int64_t count = 0;
    for (const Segment& segment : segments_) {
        const std::int64_t lo = std::max(firstYear, segment.firstYear);
        const std::int64_t hi = std::min(endYear, segment.endYear);
        if (lo < hi) {
            count += kinds.WeightIn(segment.kindCount, lo, hi);
        }
    }
    // Years next to a change of rules: their own count instead of their kind's.
    const auto first = std::lower_bound(specialYears_.begin(), specialYears_.end(), firstYear);
    for (auto it = first; it != specialYears_.end() && *it < endYear; ++it) {
        count += specialCorrection_[static_cast<std::size_t>(it - specialYears_.begin())];
    }
    return count;
}

std::int64_t HolidayCounter::WorkdayHolidaysIn(std::int64_t from, std::int64_t to) const {
    if (to <= from || set_->rules.empty()) {
        return 0;
    }
    if (periodic_ && to - from >= kPeriodicBlocks * block_) {
        return PeriodicCount(from, to);
    }
    const std::int64_t y0 = jdcore::gregorian_from_jdn(from).year + 1;  // first whole year
    const std::int64_t y1 = jdcore::gregorian_from_jdn(to).year;        // end of whole years
    if (y1 - y0 < 2) {
        return CountDirect(from, to);
    }
    return CountDirect(from, YearStart(y0)) + YearsCount(y0, y1) + CountDirect(YearStart(y1), to);
}

}  // namespace daybridge
