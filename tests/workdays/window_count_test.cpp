// Each way of counting a year's window, against the window read bit by bit: random bits at
// every shift (sparse as holidays are, and dense), random masks.
#include "workdays/window_count.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace daybridge {
namespace {

TEST(WindowCount, EveryWayCountsAsTheBitsOneByOne) {
    std::vector<WindowCount> ways{WindowCountPlain, BestWindowCount()};
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("popcnt") != 0) {
        ways.push_back(WindowCountWithPopcnt);
    }
#endif
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2") != 0) {
        ways.push_back(WindowCountFourAtATime);
    }
#endif
    std::mt19937_64 random(28);
    const auto bitOf = [](const std::uint64_t* words, std::size_t i) {
        return ((words[i / 64] >> (i % 64)) & 1) != 0;
    };
    for (int trial = 0; trial < 4000; ++trial) {
        // Half the trials draw bits as sparse as holidays, a third read no days; the masks keep
        // their last word empty.
        const bool sparse = trial % 2 == 0;
        const auto draw = [&] {
            std::uint64_t x = random();
            if (sparse) {
                x &= random() & random() & random();
            }
            return x;
        };
        std::array<std::uint64_t, kWindowWords + 2> words{};
        std::array<std::uint64_t, kWindowWords + 1> read{};
        std::array<std::uint64_t, kWindowWords + 1> countable{};
        for (std::uint64_t& w : words) {
            w = draw();
        }
        for (std::size_t w = 0; w < kWindowWords; ++w) {
            read[w] = draw() & (trial % 3 == 0 ? 0 : random() & random());
            countable[w] = random();
        }
        const unsigned shift = trial < 64 ? static_cast<unsigned>(trial) : random() % 64;
        std::int64_t count = 0;
        bool meet = false;
        for (std::size_t i = 0; i < 64 * kWindowWords; ++i) {
            const bool bit = bitOf(words.data(), shift + i);
            count += bit && bitOf(countable.data(), i) ? 1 : 0;
            meet = meet || (bit && bitOf(read.data(), i));
        }
        const std::int64_t expected = meet ? -1 - count : count;
        for (std::size_t way = 0; way < ways.size(); ++way) {
            ASSERT_EQ(ways[way](words.data(), shift, read.data(), countable.data()), expected)
                << "way " << way << ", trial " << trial;
        }
    }
}

}  // namespace
}  // namespace daybridge
