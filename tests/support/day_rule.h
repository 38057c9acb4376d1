// The counting rule of working days, asked one day at a time: the days strictly after the first
// date towards the second, up to and including the second, plus the first date with
// include-first; a stepped date is the counted day with the count asked for; where no day has
// it (+1 or -1 with include-first from or to a counted day) the known date itself, the one-day
// span; 0 steps to the known date.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

namespace daybridge::testing {

// Which days of [base, base + size) count.
struct DayTable {
    std::int64_t base;
    std::vector<std::int64_t> before;  // counted days in [base, base + i)

    DayTable(const std::function<bool(std::int64_t)>& counts, std::int64_t from, std::int64_t size)
        : base(from), before(static_cast<std::size_t>(size) + 1, 0) {
        for (std::int64_t i = 0; i < size; ++i) {
            before[static_cast<std::size_t>(i) + 1] =
                before[static_cast<std::size_t>(i)] + (counts(from + i) ? 1 : 0);
        }
    }
    std::int64_t In(std::int64_t from, std::int64_t to) const {  // [from, to)
        return before[static_cast<std::size_t>(to - base)] -
               before[static_cast<std::size_t>(from - base)];
    }
    bool Counts(std::int64_t day) const { return In(day, day + 1) == 1; }
    std::int64_t Count(std::int64_t first, std::int64_t second, bool inc) const {
        const std::int64_t own = inc && Counts(first) ? 1 : 0;
        return second >= first ? In(first + 1, second + 1) + own : -(In(second, first) + own);
    }
    // The counted date within `reach` of `known` whose count (from it as first date, or to it
    // as second date) is `difference`.
    std::int64_t Step(bool fromFirst, std::int64_t known, std::int64_t difference, bool inc,
                      std::int64_t reach) const {
        if (difference == 0) {
            return known;
        }
        std::optional<std::int64_t> counted;
        for (std::int64_t d = known - reach; d <= known + reach; ++d) {
            if (Counts(d) &&
                (fromFirst ? Count(known, d, inc) : Count(d, known, inc)) == difference) {
                EXPECT_FALSE(counted.has_value()) << "two counted days share a count";
                counted = d;
            }
        }
        if (!counted) {
            EXPECT_TRUE(inc && std::abs(difference) == 1 && Counts(known))
                << "no counted day has the count " << difference;
        }
        return counted.value_or(known);
    }
};

}  // namespace daybridge::testing
