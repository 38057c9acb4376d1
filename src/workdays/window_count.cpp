#include "workdays/window_count.h"

#include <bit>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace daybridge {

namespace {

template <typename CountOnes>
[[gnu::always_inline]] inline std::int64_t CountWordByWord(const std::uint64_t* words,
                                                           unsigned shift,
                                                           const std::uint64_t* read,
                                                           const std::uint64_t* countable,
                                                           CountOnes ones) {
    std::uint64_t meet = 0;
    std::int64_t count = 0;
    for (std::size_t w = 0; w < kWindowWords; ++w) {
        const std::uint64_t bits = WindowWord(words, shift, w);
        meet |= bits & read[w];
        count += ones(bits & countable[w]);
    }
    return meet != 0 ? -1 - count : count;
}

}  // namespace

std::int64_t WindowCountPlain(const std::uint64_t* words, unsigned shift, const std::uint64_t* read,
                              const std::uint64_t* countable) {
    return CountWordByWord(words, shift, read, countable,
                           [](std::uint64_t x) { return std::popcount(x); });
}

#if defined(__x86_64__) || defined(__i386__)
[[gnu::target("popcnt")]] std::int64_t WindowCountWithPopcnt(const std::uint64_t* words,
                                                             unsigned shift,
                                                             const std::uint64_t* read,
                                                             const std::uint64_t* countable) {
    return CountWordByWord(words, shift, read, countable,
                           [](std::uint64_t x) { return __builtin_popcountll(x); });
}
#endif

#if defined(__x86_64__)
[[gnu::target("avx2")]] std::int64_t WindowCountFourAtATime(const std::uint64_t* words,
                                                            unsigned shift,
                                                            const std::uint64_t* read,
                                                            const std::uint64_t* countable) {
    static_assert((kWindowWords + 1) % 4 == 0);
    const __m128i right = _mm_cvtsi32_si128(static_cast<int>(shift));
    const __m128i left = _mm_cvtsi32_si128(static_cast<int>(64 - shift));  // 64 leaves none
    // The ones of each byte from a table of those of each half byte.
    const __m256i halfByteOnes = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 0,
                                                  1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
    const __m256i lowHalves = _mm256_set1_epi8(0x0F);
    __m256i meet = _mm256_setzero_si256();
    __m256i byteOnes = _mm256_setzero_si256();  // at most 16 a byte
    for (std::size_t w = 0; w < kWindowWords + 1; w += 4) {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(words + w));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(words + w + 1));
        const __m256i bits =
            _mm256_or_si256(_mm256_srl_epi64(low, right), _mm256_sll_epi64(high, left));
        meet = _mm256_or_si256(
            meet,
            _mm256_and_si256(bits, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(read + w))));
        const __m256i counted = _mm256_and_si256(
            bits, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(countable + w)));
        byteOnes = _mm256_add_epi8(
            byteOnes,
            _mm256_add_epi8(
                _mm256_shuffle_epi8(halfByteOnes, _mm256_and_si256(counted, lowHalves)),
                _mm256_shuffle_epi8(halfByteOnes,
                                    _mm256_and_si256(_mm256_srli_epi16(counted, 4), lowHalves))));
    }
    const __m256i sums = _mm256_sad_epu8(byteOnes, _mm256_setzero_si256());
    const __m128i pairs =
        _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
    const std::int64_t count = _mm_cvtsi128_si64(pairs) + _mm_extract_epi64(pairs, 1);
    return _mm256_testz_si256(meet, meet) != 0 ? count : -1 - count;
}
#endif

WindowCount BestWindowCount() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();  // may run before the constructors that otherwise do it
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2") != 0) {
        return WindowCountFourAtATime;
    }
#endif
    if (__builtin_cpu_supports("popcnt") != 0) {
        return WindowCountWithPopcnt;
    }
#endif
    return WindowCountPlain;
}

}  // namespace daybridge
