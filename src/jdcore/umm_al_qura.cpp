// Umm al-Qura conversions from the year table of umm_al_qura_table.h (see umm_al_qura.h). The
// month lengths are unfolded at compile time into the first day of every month of the span,
// so that a date's first day is one read and a day's month one block read and one month read.
#include "jdcore/umm_al_qura.h"

#include <bit>

#include "jdcore/umm_al_qura_table.h"

namespace jdcore {

namespace {

using tables::kUmmAlQuraYears;
using umm_al_qura_detail::kBlocks;
using umm_al_qura_detail::kMonths;
using umm_al_qura_detail::MonthIndex;

static_assert(kUmmAlQuraYears.size() * 12 == kMonths);

constexpr std::int64_t SpanDays() {
    std::int64_t days = 0;
    for (std::uint16_t y : kUmmAlQuraYears) {
        days += 12 * 29 + std::popcount(y);
    }
    return days;
}
// Days are looked up in blocks of 32, each holding at most two month starts.
static_assert(umm_al_qura_detail::kDays == static_cast<std::uint64_t>(SpanDays()));

constexpr MonthIndex Unfold() {
    MonthIndex index{};
    std::int64_t day = tables::kUmmAlQuraFirstDay;
    for (std::size_t n = 0; n < kMonths; ++n) {
        index.start[n] = static_cast<std::int32_t>(day);
        day += 29 + (kUmmAlQuraYears[n / 12] >> (n % 12) & 1u);
    }
    index.start[kMonths] = static_cast<std::int32_t>(day);
    for (std::size_t b = 0, month = 0; b < kBlocks; ++b) {
        const std::int64_t first = index.start[0] + 32 * static_cast<std::int64_t>(b);
        while (month < kMonths && index.start[month + 1] <= first) {
            ++month;
        }
        auto into = [&](std::size_t n) {
            return n <= kMonths && index.start[n] - first < 32
                       ? static_cast<std::uint32_t>(index.start[n] - first)
                       : 32u;
        };
        index.block[b] =
            static_cast<std::uint32_t>(month) | into(month + 1) << 13 | into(month + 2) << 19;
    }
    return index;
}

}  // namespace

constexpr MonthIndex umm_al_qura_detail::kIndex = Unfold();

namespace {

using umm_al_qura_detail::kIndex;
using umm_al_qura_detail::MonthOf;

// The blocks find every month from its first and its last day (between them the blocks'
// answer cannot jump back).
constexpr bool IndexHolds() {
    for (std::size_t n = 0; n < kMonths; ++n) {
        const std::int32_t length = kIndex.start[n + 1] - kIndex.start[n];
        const auto from = static_cast<std::uint64_t>(kIndex.start[n] - kIndex.start[0]);
        if (MonthOf(from) != n || MonthOf(from + static_cast<std::uint64_t>(length) - 1) != n) {
            return false;
        }
    }
    return true;
}
static_assert(IndexHolds());

bool InSpan(std::int64_t year) {
    return year >= kUmmAlQuraFirstYear && year <= kUmmAlQuraLastYear;
}
std::uint16_t LengthsOf(std::int64_t year) {
    return kUmmAlQuraYears[static_cast<std::size_t>(year - kUmmAlQuraFirstYear)];
}

}  // namespace

DateCheck CheckUmmAlQuraDate(std::int64_t year, int month, int day) {
    if (!InSpan(year)) {
        return {DateProblem::OutOfSpan,
                year < kUmmAlQuraFirstYear ? kUmmAlQuraFirstYear : kUmmAlQuraLastYear};
    }
    if (month < 1 || month > 12) {
        return {DateProblem::MonthOutOfRange, 12};
    }
    const int days = UmmAlQuraDaysInMonth(year, month);
    if (day < 1 || day > days) {
        return {DateProblem::DayOutOfRange, days};
    }
    return {};
}

std::int64_t UmmAlQuraFirstJdn() {
    return kIndex.start[0];
}
std::int64_t UmmAlQuraLastJdn() {
    return kIndex.start[kMonths] - 1;
}

int UmmAlQuraMonthsInYear(std::int64_t year) {
    return InSpan(year) ? 12 : 0;
}

int UmmAlQuraDaysInMonth(std::int64_t year, int month) {
    if (!InSpan(year) || month < 1 || month > 12) {
        return 0;
    }
    return 29 + (LengthsOf(year) >> (month - 1) & 1);
}

int UmmAlQuraDaysInYear(std::int64_t year) {
    return InSpan(year) ? 12 * 29 + std::popcount(LengthsOf(year)) : 0;
}

}  // namespace jdcore
