// Chinese and Korean conversions from the year tables of astronomical_tables.h (see
// lunisolar.h). The compact year table (new year, leap month, month lengths) is unfolded at
// compile time into the first day of every month of the span, so that a JDN finds its month
// from the mean month length and one correction, and a date its first day by one read.
#include "jdcore/lunisolar.h"

#include <algorithm>
#include <array>
#include <bit>

#include "jdcore/astronomical_tables.h"
#include "jdcore/astronomical_tables_layout.h"
#include "jdcore/day_count.h"

namespace jdcore {

namespace {

using tables::kChineseYears;
using tables::kKoreanYears;

inline constexpr std::size_t kYears = kChineseYears.size();
static_assert(kYears == kKoreanYears.size() &&
              kYears == static_cast<std::size_t>(kLunisolarLastYear - kLunisolarFirstYear + 1));

constexpr std::uint32_t MonthsOf(std::uint32_t packed) {
    return tables::LunisolarLeapMonth(packed) != 0 ? 13 : 12;
}

constexpr std::size_t CountMonths(const std::array<std::uint32_t, kYears>& years) {
    std::size_t n = 0;
    for (std::uint32_t y : years) {
        n += MonthsOf(y);
    }
    return n;
}

inline constexpr std::size_t kMonths = CountMonths(kChineseYears);
static_assert(kMonths == CountMonths(kKoreanYears) && kMonths < 8192);

constexpr std::int64_t SpanDays(const std::array<std::uint32_t, kYears>& years) {
    std::int64_t days = 0;
    for (std::uint32_t y : years) {
        days += 29 * MonthsOf(y) + std::popcount(tables::LunisolarLongMonths(y));
    }
    return days;
}
// Days are looked up in blocks of 32, each holding at most two month starts.
inline constexpr std::size_t kBlocks =
    static_cast<std::size_t>(std::max(SpanDays(kChineseYears), SpanDays(kKoreanYears)) + 31) / 32;

using lunisolar_detail::MonthIndex;
static_assert(kMonths == lunisolar_detail::kMonths && kYears == lunisolar_detail::kYears &&
              kBlocks == lunisolar_detail::kBlocks);

constexpr MonthIndex Unfold(const std::array<std::uint32_t, kYears>& years) {
    MonthIndex index{};
    std::size_t m = 0;
    for (std::size_t y = 0; y < kYears; ++y) {
        const std::uint32_t packed = years[y];
        const std::uint32_t leapAfter = tables::LunisolarLeapMonth(packed);
        const std::int64_t year = kLunisolarFirstYear + static_cast<std::int64_t>(y);
        std::int64_t day = jdn_from_gregorian(year, 1, 1) + tables::LunisolarNewYearDay(packed);
        index.first[y] = static_cast<std::uint16_t>(m);
        index.leapAfter[y] = static_cast<std::uint8_t>(leapAfter);
        for (std::uint32_t place = 0; place < MonthsOf(packed); ++place, ++m) {
            // Place p holds month p + 1, or p once the leap month (place leapAfter) is passed.
            const bool leap = leapAfter != 0 && place == leapAfter;
            const std::uint32_t month = leapAfter != 0 && place >= leapAfter ? place : place + 1;
            index.start[m] = static_cast<std::int32_t>(day);
            index.label[m] = static_cast<std::uint16_t>(y << 5 | (leap ? 16u : 0u) | month);
            day += 29 + ((packed >> place) & 1u);
        }
        index.start[m] = static_cast<std::int32_t>(day);
    }
    index.first[kYears] = static_cast<std::uint16_t>(m);
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

constexpr MonthIndex lunisolar_detail::kChinese = Unfold(kChineseYears);
constexpr MonthIndex lunisolar_detail::kKorean = Unfold(kKoreanYears);

namespace {

using lunisolar_detail::kChinese;
using lunisolar_detail::kKorean;

using lunisolar_detail::MonthOf;

// Each year's months join up, every month has 29 or 30 days, and the blocks find every month
// from its first and its last day (between them the blocks' answer cannot jump back).
constexpr bool IndexHolds(const MonthIndex& index, const std::array<std::uint32_t, kYears>& years) {
    for (std::size_t y = 0; y + 1 < kYears; ++y) {
        const std::int64_t next =
            jdn_from_gregorian(kLunisolarFirstYear + static_cast<std::int64_t>(y) + 1, 1, 1) +
            tables::LunisolarNewYearDay(years[y + 1]);
        if (index.start[index.first[y + 1]] != next) {
            return false;
        }
    }
    for (std::size_t m = 0; m < kMonths; ++m) {
        const std::int32_t length = index.start[m + 1] - index.start[m];
        const auto from = static_cast<std::uint64_t>(index.start[m] - index.start[0]);
        if ((length != 29 && length != 30) || MonthOf(index, from) != m ||
            MonthOf(index, from + static_cast<std::uint64_t>(length) - 1) != m) {
            return false;
        }
    }
    return true;
}
static_assert(IndexHolds(kChinese, kChineseYears));
static_assert(IndexHolds(kKorean, kKoreanYears));

using lunisolar_detail::IndexOf;
const std::array<std::uint32_t, kYears>& YearsOf(Lunisolar cal) {
    return cal == Lunisolar::Chinese ? kChineseYears : kKoreanYears;
}

bool InSpan(std::int64_t year) {
    return year >= kLunisolarFirstYear && year <= kLunisolarLastYear;
}
std::size_t YearIndex(std::int64_t year) {
    return static_cast<std::size_t>(year - kLunisolarFirstYear);
}

using lunisolar_detail::PlaceIn;

}  // namespace

DateCheck CheckLunisolarDate(Lunisolar cal, const LunisolarDate& date) {
    if (!InSpan(date.year)) {
        return {DateProblem::OutOfSpan,
                date.year < kLunisolarFirstYear ? kLunisolarFirstYear : kLunisolarLastYear};
    }
    const std::uint32_t packed = YearsOf(cal)[YearIndex(date.year)];
    const auto leapAfter = static_cast<int>(tables::LunisolarLeapMonth(packed));
    if (date.month < 1 || date.month > 12) {
        return {DateProblem::MonthOutOfRange, 12};
    }
    if (date.leap && date.month != leapAfter) {
        return {DateProblem::NoSuchLeapMonth, leapAfter};
    }
    const int days = LunisolarDaysInMonth(cal, date.year, date.month, date.leap);
    if (date.day < 1 || date.day > days) {
        return {DateProblem::DayOutOfRange, days};
    }
    return {};
}

std::int64_t LunisolarFirstJdn(Lunisolar cal) {
    return IndexOf(cal).start[0];
}
std::int64_t LunisolarLastJdn(Lunisolar cal) {
    return IndexOf(cal).start[kMonths] - 1;
}

int LunisolarMonthsInYear(Lunisolar cal, std::int64_t year) {
    return InSpan(year) ? static_cast<int>(MonthsOf(YearsOf(cal)[YearIndex(year)])) : 0;
}

int LunisolarLeapMonth(Lunisolar cal, std::int64_t year) {
    return InSpan(year)
               ? static_cast<int>(tables::LunisolarLeapMonth(YearsOf(cal)[YearIndex(year)]))
               : 0;
}

int LunisolarPlaceOf(Lunisolar cal, std::int64_t year, int month, bool leap) {
    if (!InSpan(year) || month < 1 || month > 12) {
        return 0;
    }
    const std::uint32_t leapAfter = tables::LunisolarLeapMonth(YearsOf(cal)[YearIndex(year)]);
    if (leap && month != static_cast<int>(leapAfter)) {
        return 0;
    }
    return PlaceIn(leapAfter, month, leap) + 1;
}

LunisolarMonthName LunisolarMonthAt(Lunisolar cal, std::int64_t year, int place) {
    if (place < 1 || place > LunisolarMonthsInYear(cal, year)) {
        return {0, false};
    }
    const MonthIndex& index = IndexOf(cal);
    const std::uint32_t label =
        index.label[index.first[YearIndex(year)] + static_cast<std::size_t>(place) - 1];
    return {static_cast<std::int32_t>(label & 15u), (label & 16u) != 0};
}

int LunisolarDaysInMonth(Lunisolar cal, std::int64_t year, int month, bool leap) {
    const int place = LunisolarPlaceOf(cal, year, month, leap);
    if (place == 0) {
        return 0;
    }
    return 29 + static_cast<int>(
                    tables::LunisolarLongMonths(YearsOf(cal)[YearIndex(year)]) >> (place - 1) & 1u);
}

int LunisolarDaysInYear(Lunisolar cal, std::int64_t year) {
    if (!InSpan(year)) {
        return 0;
    }
    const std::uint32_t packed = YearsOf(cal)[YearIndex(year)];
    return static_cast<int>(29 * MonthsOf(packed) + static_cast<std::uint32_t>(std::popcount(
                                                        tables::LunisolarLongMonths(packed))));
}

}  // namespace jdcore
