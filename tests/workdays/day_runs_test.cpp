// Days laid down as runs of bits against the days set one by one: random days repeating over
// random periods, laid over random spans (edges within a run, a word, a period).
#include "workdays/day_runs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <vector>

#include "jdcore/day_count.h"

namespace daybridge {
namespace {

TEST(DayRuns, LaidAsTheDaysOneByOne) {
    std::mt19937_64 random(2806);
    const auto pick = [&](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(random);
    };
    for (int trial = 0; trial < 3000; ++trial) {
        const std::int64_t period = pick(8, 400);
        std::set<std::int64_t> days;
        for (std::int64_t n = pick(1, 12); n > 0; --n) {
            // Runs of neighbouring days, as a feast's days are.
            for (std::int64_t day = pick(0, period - 1), more = pick(0, 4); more >= 0; --more) {
                days.insert(day + more < period ? day + more : day);
            }
        }
        const DayRuns runs(std::vector<std::int64_t>(days.begin(), days.end()));
        const std::int64_t from = pick(-5000, 5000);
        const std::int64_t to = from + pick(0, 3 * period);
        const std::int64_t bitBase = from - pick(0, 130);
        std::vector<std::uint64_t> bits(static_cast<std::size_t>((to - bitBase) / 64 + 1));
        runs.LayRepeated(period, from, to, bits.data(), bitBase);
        for (std::int64_t day = bitBase;
             day < bitBase + 64 * static_cast<std::int64_t>(bits.size()); ++day) {
            const auto i = static_cast<std::size_t>(day - bitBase);
            const bool laid = ((bits[i / 64] >> (i % 64)) & 1) != 0;
            const bool expected =
                day >= from && day <= to && days.count(jdcore::floor_mod(day, period)) != 0;
            ASSERT_EQ(laid, expected) << "trial " << trial << ", day " << day;
        }
    }
}

}  // namespace
}  // namespace daybridge
