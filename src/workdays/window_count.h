// The other rules' days in a year's window beside a Gregorian part, as bits: how many fall on
// the part's countable days, and whether any falls on a day its moves look at. Counted millions
// of times over a long span, so chosen for the processor once.
#pragma once

#include <cstddef>
#include <cstdint>

namespace daybridge {

// The words of a year's window (a leap year and the days around it). The part's masks hold one
// more word, empty, and `words` two more beyond the window's: four words are read at a time
// where the processor can.
inline constexpr std::size_t kWindowWords = 7;

// Word w of a window whose first bit is `shift` (0..63) bits into `words`.
inline std::uint64_t WindowWord(const std::uint64_t* words, unsigned shift, std::size_t w) {
    return shift == 0 ? words[w] : (words[w] >> shift) | (words[w + 1] << (64 - shift));
}

// The window's bits are `words`, its first bit `shift` (0..63) into the first word: those among
// `countable`, n; or -1 - n where one of them is among `read`.
using WindowCount = std::int64_t (*)(const std::uint64_t* words, unsigned shift,
                                     const std::uint64_t* read, const std::uint64_t* countable);

std::int64_t WindowCountPlain(const std::uint64_t* words, unsigned shift, const std::uint64_t* read,
                              const std::uint64_t* countable);
#if defined(__x86_64__) || defined(__i386__)
// For processors with POPCNT.
std::int64_t WindowCountWithPopcnt(const std::uint64_t* words, unsigned shift,
                                   const std::uint64_t* read, const std::uint64_t* countable);
#endif
#if defined(__x86_64__)
// For processors with AVX2.
std::int64_t WindowCountFourAtATime(const std::uint64_t* words, unsigned shift,
                                    const std::uint64_t* read, const std::uint64_t* countable);
#endif

// The fastest of them this processor runs.
WindowCount BestWindowCount();

}  // namespace daybridge
