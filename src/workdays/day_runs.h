// Days as bits, set a few at a time.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "jdcore/day_count.h"

namespace daybridge {

// Days as the bits of a few days from each of some first days: setting a day's bit reads and
// writes its word, so days close together (a feast's days, those counted from Easter) take one
// write, seldom two (few runs meet the end of a word, so that the branch guesses right).
struct DayRuns {
    static constexpr std::int64_t kWidth = 8;
    struct Run {
        std::int64_t day;    // the first
        std::uint64_t days;  // bit i: day + i, i < kWidth
    };
    std::vector<Run> runs;  // in order of their first days

    DayRuns() = default;
    explicit DayRuns(const std::vector<std::int64_t>& sorted) {
        for (const std::int64_t day : sorted) {
            if (!runs.empty() && day - runs.back().day < kWidth) {
                runs.back().days |= std::uint64_t{1} << (day - runs.back().day);
            } else {
                runs.push_back({day, 1});
            }
        }
    }

    // Sets the bits (bit 0 is day `bitBase`, at most `from`) of the days of a run from `day`
    // within [from, to].
    static void Lay(std::int64_t day, std::uint64_t days, std::int64_t from, std::int64_t to,
                    std::uint64_t* bits, std::int64_t bitBase) {
        if (day < from) {
            if (from - day >= kWidth) {
                return;
            }
            days >>= from - day;
            day = from;
        }
        if (day > to) {
            return;
        }
        if (to - day < kWidth - 1) {
            days &= (std::uint64_t{2} << (to - day)) - 1;
        }
        const auto i = static_cast<std::uint64_t>(day - bitBase);
        bits[i / 64] |= days << (i % 64);
        if (i % 64 + kWidth > 64 && (days >> (64 - i % 64)) != 0) {
            bits[i / 64 + 1] |= days >> (64 - i % 64);
        }
    }
    // The days of every period of `period` days from day 0, within [from, to].
    void LayRepeated(std::int64_t period, std::int64_t from, std::int64_t to, std::uint64_t* bits,
                     std::int64_t bitBase) const {
        for (std::int64_t start = jdcore::floor_div(from, period) * period; start <= to;
             start += period) {
            auto run = std::lower_bound(runs.begin(), runs.end(), from - start - (kWidth - 1),
                                        [](const Run& r, std::int64_t day) { return r.day < day; });
            for (; run != runs.end() && start + run->day <= to; ++run) {
                Lay(start + run->day, run->days, from, to, bits, bitBase);
            }
        }
    }
};

}  // namespace daybridge
