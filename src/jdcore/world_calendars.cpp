// Arithmetic of the world's calendars (see world_calendars.h and docs/calendars.md).
//
// Every year count is a closed form in floor division; its inverse is the same form solved
// for the year. Comments give each intermediate's range for |jdn| <= 2.2e9 and
// |year| <= 6.3e6 (the years of that day range); all of it fits easily in 64 bits.
#include "jdcore/world_calendars.h"

#include <algorithm>
#include <array>

namespace jdcore {

namespace {

// JDN of the first day of year 1 of each era.
inline constexpr std::int64_t kHebrewEpoch = 347998;      // 1 Tishri 1 AM, 7 October 3761 BCE
inline constexpr std::int64_t kIslamicEpoch = 1948440;    // 1 Muharram 1 AH, 16 July 622
inline constexpr std::int64_t kPersianEpoch = 1948320;    // 1 Farvardin 1 AP by the 33-year rule
inline constexpr std::int64_t kCopticEpoch = 1825030;     // 1 Thout 1 AM, 29 August 284
inline constexpr std::int64_t kEthiopianEpoch = 1724221;  // 1 Meskerem 1, 29 August 8
inline constexpr std::int64_t kFrenchEpoch = 2375840;     // 1 Vendemiaire I, 22 September 1792
inline constexpr std::int64_t kSakaOffset = 78;           // Gregorian year - Saka year
inline constexpr std::int64_t kMayanEpoch = 584283;       // 0.0.0.0.0

constexpr YearMonthDay Date(std::int64_t year, std::int64_t month, std::int64_t day) {
    return {year, static_cast<std::int32_t>(month), static_cast<std::int32_t>(day)};
}

// ToJdn and LongCountToJdn work on years (baktuns) up to this magnitude, far beyond the
// range of valid dates, so that every FromJdn result converts back; no product can overflow.
inline constexpr std::int64_t kArithmeticYears = 1'000'000'000;

constexpr std::int64_t ClampYear(std::int64_t year) {
    return std::clamp(year, -kArithmeticYears, kArithmeticYears);
}

// FromJdn is exact far beyond |jdn| <= 2.2e9: up to this magnitude, beyond which a day is
// taken as the last one (the counts below stay non-negative up to 5.8e9 days).
inline constexpr std::int64_t kArithmeticJdn = 5'000'000'000;

constexpr std::int64_t ClampJdn(std::int64_t jdn) {
    return std::clamp(jdn, -kArithmeticJdn, kArithmeticJdn);
}

// ---- 4/100/400 year counts (French Republican and Indian) ---------------------------------
//
// Years numbered n = 0, 1, 2, ... from a start day, where year n has a leap day at its end
// when n + 1 is a Gregorian-style leap year (divisible by 4, not by 100 unless by 400).

// The days before year n, 365 n + floor(n / 4) - floor(n / 100) + floor(n / 400), are those
// before 1 March of Gregorian year n: jdn_from_gregorian(n, 3, 1) - kGregorianMarch0. So year
// n and its day are the Gregorian counting year (from 1 March) of the day `days` after 1 March
// of year 0, and a JDN that fits 32 bits takes the CE conversion's own fast path.

inline constexpr std::int64_t kEraDaysSigned = 146097;  // days in 400 years
inline constexpr std::int64_t kShiftEras = 40000;       // 5.8e9 days: every count non-negative

// The counting year from 1 March holding `jdn` and the day of it, for |jdn| <= 5.8e9.
constexpr MarchYearDay CenturyRuleYear(std::int64_t jdn) {
    if (static_cast<std::int32_t>(jdn) == jdn) [[likely]] {
        return gregorian_march_year_day32(static_cast<std::int32_t>(jdn));
    }
    const auto r = static_cast<std::uint64_t>(jdn - kGregorianMarch0 +
                                              kShiftEras * kEraDaysSigned);  // [0, 1.2e10]
    const std::uint64_t era = r / 146097;                                    // [0, 8e4]
    const std::uint64_t doe = r % 146097;                                    // [0, 146096]
    // Year of the era: the leap days before doe are removed first (Hinnant's form).
    const std::uint64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const std::uint64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
    return {static_cast<std::int64_t>(400 * era + yoe) - 400 * kShiftEras,
            static_cast<std::uint32_t>(doy)};
}

// ---- Hebrew -------------------------------------------------------------------------------
//
// Time in parts (1080 to the hour, 25920 to the day), counted from the noon before the epoch.
// The molad of Tishri of year 1 (BaHaRaD) falls 12084 parts (11 hours 204 parts) after it,
// and every mean month adds 29 days 13753 parts. Leap years are years 3, 6, 8, 11, 14, 17
// and 19 of the 19-year cycle: (7 y + 1) mod 19 < 7. Counting from noon makes the day of the
// count the day of the molad, already moved on when the molad falls at or after noon (molad
// zaken).
//
// The whole calendar repeats after 689,472 years (8,527,680 months, 251,827,457 days, a whole
// number of weeks), so years are shifted by 1451 such cycles: every count is then
// non-negative, for every year up to kArithmeticYears, and divisions are unsigned. A shifted
// year is below 2.1e9 and fits 32 bits.
//
// The rules are written out once (HebrewNewYearInWeek, kHebrewMonthStarts); the conversions
// read tables made from them at compile time: a year costs one molad, two table reads and
// one comparison, a month and day one more table read.

inline constexpr std::uint64_t kHebrewCycleYears = 689472;
inline constexpr std::uint64_t kHebrewCycleDays = 251827457;
inline constexpr std::uint64_t kHebrewShiftYears = 1451 * kHebrewCycleYears;  // 1.0e9
inline constexpr std::uint64_t kHebrewShiftDays = 1451 * kHebrewCycleDays;    // 3.7e11

constexpr bool HebrewLeap(std::int64_t year) {
    return floor_mod(7 * year + 1, 19) < 7;
}

// Leap years by position y mod 19 in the cycle (0, 3, 6, 8, 11, 14, 17), twice over so that
// a bit can be taken at position + 18 (the year before) or + 1 (the year after).
inline constexpr std::uint64_t kHebrewLeapBits = 0b100100100101001001;
inline constexpr std::uint64_t kHebrewLeapBits2 = kHebrewLeapBits | kHebrewLeapBits << 19;

constexpr bool HebrewLeapAt(std::uint64_t cyclePosition) {  // [0, 36]
    return ((kHebrewLeapBits2 >> cyclePosition) & 1u) != 0;
}

// Shifted year y starts (235 y + 13) / 19 - 13 months after the first molad: position 0 of
// the cycle (y mod 19) is the last, leap, year of the cycle before.

// Days from the Monday of the molad's week to 1 Tishri ([0, 7]). Never on a Sunday, Wednesday
// or Friday: a day on. A common year whose molad is on Tuesday at or after 9 h 204 p (16404
// parts after noon): Thursday. After a leap year, a molad on Monday at or after 15 h 589 p
// (23269 parts): Tuesday. Each term is the step at one of those places in the week.
constexpr std::uint32_t HebrewNewYearInWeek(std::uint32_t inWeek, bool leap, bool leapBefore) {
    const bool fromTuesday = inWeek >= 25920 || (leapBefore && inWeek >= 23269);
    const bool fromThursday = inWeek >= 2 * 25920 || (!leap && inWeek >= 25920 + 16404);
    return (fromTuesday ? 1 : 0) + (fromThursday ? 2 : 0) + (inWeek >= 4 * 25920 ? 2 : 0) +
           (inWeek >= 6 * 25920 ? 2 : 0);
}

// The six kinds of year by length: 353, 354, 355, 383, 384, 385 -> 0 .. 5.
constexpr std::uint32_t HebrewYearKind(int length) {
    return static_cast<std::uint32_t>(length - 353 - (length > 355 ? 27 : 0));
}

constexpr int HebrewKindLength(std::uint32_t kind) {  // [353, 385]
    return static_cast<int>(kind) + 353 + (kind >= 3 ? 27 : 0);
}

// ---- a year from the place of its molad in the week
//
// With the next molad of Tishri 12 months (50 weeks 113196 parts) or 13 months (54 weeks
// 152869 parts) on, a year's first day and length follow from the place of its molad in the
// week and from whether it and the years next to it are leap years. Shape code:
// 8 * (days from the Monday of the molad's week to 1 Tishri) + kind of year, [0, 61].
constexpr std::uint32_t HebrewShapeCode(std::uint32_t inWeek, std::uint32_t k) {
    const bool leap = HebrewLeapAt(k);
    const std::uint32_t start = HebrewNewYearInWeek(inWeek, leap, HebrewLeapAt(k + 18));
    std::uint32_t next = inWeek + (leap ? 152869 : 113196);  // < 2 * 181440
    const std::uint32_t carry = next >= 181440 ? 1 : 0;
    next -= 181440 * carry;
    const std::uint32_t end =
        7 * ((leap ? 54 : 50) + carry) + HebrewNewYearInWeek(next, HebrewLeapAt(k + 1), leap);
    return 8 * start + HebrewYearKind(static_cast<int>(end - start));
}

// 1 Tishri is never on a Sunday, Wednesday or Friday: 0, 1, 3, 5 or 7 days from the Monday.
// With the six kinds of year, a shape is numbered 6 * ((day + 1) / 2) + kind, [0, 29].
inline constexpr std::uint32_t kHebrewShapes = 30;

constexpr std::uint32_t HebrewShape(std::uint32_t code) {
    return 6 * (((code >> 3) + 1) / 2) + (code & 7);
}
constexpr std::uint32_t HebrewShapeDay(std::uint32_t shape) {  // [0, 7]
    return shape < 6 ? 0 : 2 * (shape / 6) - 1;
}
constexpr std::uint32_t HebrewShapeKind(std::uint32_t shape) {
    return shape % 6;
}

// The places in the week where a shape can change: the steps of HebrewNewYearInWeek for the
// year, and for the next year seen from this one's molad, with the wrap into the next week.
inline constexpr std::array<std::uint32_t, 6> kHebrewSteps = {23269, 25920,  42324,
                                                              51840, 103680, 155520};

constexpr std::array<std::uint32_t, 13> HebrewShapeSteps(std::uint32_t k) {
    const std::uint32_t advance = HebrewLeapAt(k) ? 152869 : 113196;
    std::array<std::uint32_t, 13> steps{};
    for (std::size_t j = 0; j < 6; ++j) {
        steps[j] = kHebrewSteps[j];
        steps[j + 6] = (kHebrewSteps[j] + 181440 - advance) % 181440;
    }
    steps[12] = 181440 - advance;
    return steps;
}

// Only four sets of neighbours occur: a leap year (between common ones), and a common year
// after a common one, after a leap one and before a common one, or between leap ones. The
// week is cut into 45 spans of 4096 parts; changes of shape are at least 6888 parts apart
// (checked below), so each span holds at most one. Entry: the place of that change (2^18 - 1
// when none), the shape before it << 18 and the shape from it on << 23.
inline constexpr std::uint32_t kHebrewSpanBits = 12;
inline constexpr std::uint32_t kHebrewSpans = 45;        // 45 * 4096 >= 181440
inline constexpr std::uint32_t kHebrewNoStep = 0x3FFFF;  // beyond every place in the week

constexpr std::uint32_t HebrewNeighbours(std::uint32_t k) {  // [0, 3]
    if (HebrewLeapAt(k)) {
        return 0;
    }
    return !HebrewLeapAt(k + 18) ? 1 : HebrewLeapAt(k + 1) ? 2 : 3;
}

inline constexpr std::array<std::uint32_t, 4 * kHebrewSpans> kHebrewShapeSpans = [] {
    std::array<std::uint32_t, 4 * kHebrewSpans> shapes{};
    for (std::uint32_t set = 0; set < 4; ++set) {  // positions 0, 1, 2 and 7 stand for each
        const std::uint32_t position = set == 3 ? 7 : set;
        const std::array<std::uint32_t, 13> steps = HebrewShapeSteps(position);
        for (std::uint32_t s = 0; s < kHebrewSpans; ++s) {
            const std::uint32_t from = s << kHebrewSpanBits;
            const std::uint32_t before = HebrewShapeCode(from, position);
            std::uint32_t step = kHebrewNoStep;
            for (std::uint32_t t : steps) {
                if (t > from && t < from + (1u << kHebrewSpanBits) && t < step &&
                    HebrewShapeCode(t, position) != before) {
                    step = t;
                }
            }
            const std::uint32_t after =
                step == kHebrewNoStep ? before : HebrewShapeCode(step, position);
            shapes[HebrewNeighbours(position) * kHebrewSpans + s] =
                step | HebrewShape(before) << 18 | HebrewShape(after) << 23;
        }
    }
    return shapes;
}();

constexpr std::uint32_t HebrewShapeFrom(std::uint32_t entry, std::uint32_t inWeek) {
    return (inWeek >= (entry & kHebrewNoStep) ? entry >> 23 : entry >> 18) & 31;
}

// The table gives the rule's shape at every span start and every possible step, for every
// position in the cycle; both are constant between those places, so they agree everywhere.
// Each shape also gives back the day and kind it was numbered from.
constexpr bool HebrewShapeHolds(std::uint32_t inWeek, std::uint32_t k) {
    const std::uint32_t code = HebrewShapeCode(inWeek, k);
    const std::uint32_t entry =
        kHebrewShapeSpans[HebrewNeighbours(k) * kHebrewSpans + (inWeek >> kHebrewSpanBits)];
    const std::uint32_t shape = HebrewShapeFrom(entry, inWeek);
    return shape == HebrewShape(code) && code == 8 * HebrewShapeDay(shape) + HebrewShapeKind(shape);
}

constexpr bool HebrewShapesHold() {
    for (std::uint32_t k = 0; k < 19; ++k) {
        for (std::uint32_t s = 0; s < kHebrewSpans; ++s) {
            if (!HebrewShapeHolds(s << kHebrewSpanBits, k)) {
                return false;
            }
        }
        for (std::uint32_t t : HebrewShapeSteps(k)) {
            if (!HebrewShapeHolds(t, k)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(HebrewShapesHold());

// The first entry of kHebrewShapeSpans for a year's neighbours, by r = (235 y + 13) mod 19,
// the remainder of its month count: r = (7 k + 13) mod 19 for its place k in the cycle, so k =
// 11 (r + 6) mod 19 (7 * 11 = 4 * 19 + 1).
inline constexpr std::array<std::uint8_t, 19> kHebrewSpanRows = [] {
    std::array<std::uint8_t, 19> rows{};
    for (std::uint32_t r = 0; r < 19; ++r) {
        rows[r] = static_cast<std::uint8_t>(HebrewNeighbours(11 * (r + 6) % 19) * kHebrewSpans);
    }
    return rows;
}();
constexpr bool HebrewSpanRowsHold() {
    for (std::uint32_t k = 0; k < 19; ++k) {
        if (kHebrewSpanRows[(235 * k + 13) % 19] != HebrewNeighbours(k) * kHebrewSpans) {
            return false;
        }
    }
    return true;
}
static_assert(HebrewSpanRowsHold());

// A year: the Monday of its molad's week, in days from the shifted epoch (< 7.4e11), and
// its shape [0, 29].
struct HebrewYearStart {
    std::uint64_t monday;
    std::uint32_t shape;
};

// Shifted year y: [4.2e5, 2.0005e9] for |year| <= kArithmeticYears. With m = (235 y + 13) /
// 19, its molad falls 12084 + 765433 (m - 13) + 181440 * 55 = 765433 m + 40655 = 181440
// (weeks - 55) + inWeek parts after the noon before the shifted epoch (the 55 weeks make up
// for the 13 months taken off above).
constexpr HebrewYearStart HebrewStartOf(std::uint32_t y) {
    const std::uint64_t months19 = 235 * std::uint64_t{y} + 13;                   // < 4.8e11
    const std::uint64_t months = months19 / 19;                                   // < 2.5e10
    const auto r = static_cast<std::uint32_t>(months19 - 19 * months);            // [0, 18]
    const std::uint64_t x = 765433 * months + 40655;                              // < 2e16
    const std::uint64_t weeks = x / 181440;                                       // < 1.1e11
    const auto inWeek = static_cast<std::uint32_t>(x - 181440 * weeks);           // [0, 181439]
    const std::uint32_t span = kHebrewSpanRows[r] + (inWeek >> kHebrewSpanBits);  // [0, 179]
    return {7 * weeks - 7 * 55, HebrewShapeFrom(kHebrewShapeSpans[span], inWeek)};
}

constexpr std::uint32_t HebrewShifted(std::int64_t year) {  // year clamped to kArithmeticYears
    return static_cast<std::uint32_t>(year + static_cast<std::int64_t>(kHebrewShiftYears));
}

constexpr int HebrewYearLength(std::int64_t year) {
    return HebrewKindLength(HebrewShapeKind(HebrewStartOf(HebrewShifted(ClampYear(year))).shape));
}

// A year's length fixes Heshvan (30 days in a 355 or 385 day year) and Kislev (29 days in a
// 353 or 383 day year).
constexpr int HebrewLongHeshvan(int length) {
    return length == 355 || length == 385 ? 1 : 0;
}
constexpr int HebrewShortKislev(int length) {
    return length == 353 || length == 383 ? 1 : 0;
}

// Days from 1 Tishri to the first of each month, by place in the year plus one (1 = Tishri;
// entry 0 is never chosen), for each kind of year; then the year's length, then a bound no
// day reaches. Months alternate 30 and 29 days (n months take floor((59 n + 1) / 2) days),
// but for a long Heshvan, a short Kislev and Adar I.
inline constexpr std::array<std::array<std::uint16_t, 16>, 6> kHebrewMonthStarts = [] {
    std::array<std::array<std::uint16_t, 16>, 6> starts{};
    for (std::uint32_t kind = 0; kind < 6; ++kind) {
        const int length = HebrewKindLength(kind);
        const bool leap = kind >= 3;
        const int months = leap ? 13 : 12;
        for (int n = 0; n < 15; ++n) {
            // In a leap year Adar I (30 days) comes in before month 6, and the alternation
            // goes on after it.
            const int regular = leap && n >= 6 ? 30 + (59 * (n - 1) + 1) / 2 : (59 * n + 1) / 2;
            int start = regular + (n >= 2 ? HebrewLongHeshvan(length) : 0) -
                        (n >= 3 ? HebrewShortKislev(length) : 0);
            start = n < months ? start : n == months ? length : 0xFFFF;
            starts[kind][static_cast<std::size_t>(n) + 1] = static_cast<std::uint16_t>(start);
        }
    }
    return starts;
}();

// Month numbers by place in the year, common and leap, and back (index 0 unused).
inline constexpr std::uint8_t kHebrewMonthAt[2][13] = {{7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 6},
                                                       {7, 8, 9, 10, 11, 12, 13, 1, 2, 3, 4, 5, 6}};
inline constexpr std::uint8_t kHebrewPlaceOf[2][14] = {
    {0, 6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5, 12}, {0, 7, 8, 9, 10, 11, 12, 0, 1, 2, 3, 4, 5, 6}};

// Days from the Monday of the molad's week to the first of a month, by shape and month
// number [1, 13] (month 13 of a common year: the year's end).
inline constexpr std::array<std::array<std::uint16_t, 16>, kHebrewShapes> kHebrewMonthFirst = [] {
    std::array<std::array<std::uint16_t, 16>, kHebrewShapes> first{};
    for (std::uint32_t shape = 0; shape < kHebrewShapes; ++shape) {
        const std::uint32_t kind = HebrewShapeKind(shape);
        for (std::size_t month = 1; month < 14; ++month) {
            first[shape][month] = static_cast<std::uint16_t>(
                HebrewShapeDay(shape) +
                kHebrewMonthStarts[kind][kHebrewPlaceOf[kind >= 3][month] + 1u]);
        }
    }
    return first;
}();

// The month and day of each day by its distance from the Monday of a year's molad week, plus
// 64 ([0, 511]; the days looked up lie in [51, 455]), by shape: month << 9 | day. Month 0
// stands for the days before the year, 15 for those after it.
inline constexpr std::uint32_t kHebrewBefore = 64;
inline constexpr std::array<std::array<std::uint16_t, 512>, kHebrewShapes> kHebrewDays = [] {
    std::array<std::array<std::uint16_t, 512>, kHebrewShapes> days{};
    for (std::uint32_t shape = 0; shape < kHebrewShapes; ++shape) {
        const std::uint32_t kind = HebrewShapeKind(shape);
        const bool leap = kind >= 3;
        const std::uint32_t months = leap ? 13 : 12;
        const auto& starts = kHebrewMonthStarts[kind];  // place + 1 -> first day; the length
        for (std::uint32_t at = 0; at < 512; ++at) {
            const int doy = static_cast<int>(at - kHebrewBefore - HebrewShapeDay(shape));
            std::uint32_t month = doy < 0 ? 0 : 15;
            std::uint32_t day = 0;
            if (doy >= 0 && doy < starts[months + 1]) {
                std::uint32_t place = 0;
                while (place + 1 < months && starts[place + 2] <= doy) {
                    ++place;
                }
                month = kHebrewMonthAt[leap][place];
                day = static_cast<std::uint32_t>(doy - starts[place + 1] + 1);
            }
            days[shape][at] = static_cast<std::uint16_t>(month << 9 | day);
        }
    }
    return days;
}();

constexpr int HebrewDaysInMonth(int month, int length) {
    const bool leap = length > 355;
    switch (month) {
        case 8:
            return 29 + HebrewLongHeshvan(length);
        case 9:
            return 30 - HebrewShortKislev(length);
        case 12:
            return leap ? 30 : 29;
        case 13:
            return leap ? 29 : 0;
        default:
            return month % 2 == 1 ? 30 : 29;  // Nisan 30, Iyyar 29, ..., Tishri 30, Tevet 29
    }
}

constexpr std::int64_t HebrewToJdn(std::int64_t year, int month, int day) {
    // The clamps of every calendar, each tested by one comparison first.
    // Unsigned sums: wrap (defined) instead of overflowing for years near the int64 limits.
    if (static_cast<std::uint64_t>(year) + kArithmeticYears > 2 * kArithmeticYears) [[unlikely]] {
        year = ClampYear(year);
    }
    if (static_cast<unsigned>(month) - 1u > 12u) [[unlikely]] {
        month = std::clamp(month, 1, 13);
    }
    const HebrewYearStart y = HebrewStartOf(HebrewShifted(year));
    return static_cast<std::int64_t>(y.monday) +
           (kHebrewEpoch - static_cast<std::int64_t>(kHebrewShiftDays)) +
           kHebrewMonthFirst[y.shape][static_cast<std::size_t>(month)] + day - 1;
}

// The year of a day is first estimated from the mean year (251827457 / 689472 days): 1 Tishri
// of shifted year y falls from 26.96 days before to 3.39 days after 1 + (y - 1) times it
// (over the whole repeating cycle). Days are counted from 1 Tishri of shifted year
// 1 + 1430 * 689472, 21 cycles before the epoch's, so that every day of |jdn| <= 5e9 counts
// [2.8e8, 1.03e10]; 12 days on, the mean year is 2^39 / 1505162483 days (within 3.4 days over
// that range), which puts every day within a year of its own and most in it: taken for every
// year so estimated, a day falls 13 days before to 387 days after the Monday of the week of
// the estimated year's molad.
inline constexpr std::uint64_t kHebrewEstimateBase = kHebrewShiftDays - 21 * kHebrewCycleDays;
inline constexpr std::uint32_t kHebrewEstimateYear = 1 + 1430 * kHebrewCycleYears;
inline constexpr std::uint64_t kHebrewYearScale = 1505162483;  // 2^39 / mean year
static_assert((5'000'000'000 - kHebrewEpoch + 21 * kHebrewCycleDays + 12) <=
              UINT64_MAX / kHebrewYearScale);

struct HebrewMonthDay {
    std::uint32_t month;  // [1, 13]; 0 before the year, 15 after it
    std::uint32_t day;
};

constexpr HebrewMonthDay HebrewDayIn(HebrewYearStart year, std::uint64_t days) {
    // For the estimated year days is at most 13 days before the Monday and 387 after it (see
    // above); for the year before it at most 391 after (54 weeks and 1 Tishri's 7 days).
    const auto at = static_cast<std::uint32_t>(days - year.monday + kHebrewBefore);  // [51, 455]
    const std::uint32_t entry = kHebrewDays[year.shape][at];
    return {entry >> 9, entry & 511};
}

// The shifted year holding a day (counted as below), its start, and the day's month and day.
struct HebrewYearOfDay {
    std::uint32_t year;
    HebrewYearStart start;
    HebrewMonthDay monthDay;
};

constexpr HebrewYearOfDay HebrewYearAt(std::uint64_t days) {
    std::uint32_t y =
        kHebrewEstimateYear +
        static_cast<std::uint32_t>((days - kHebrewEstimateBase + 12) * kHebrewYearScale >>
                                   39);  // [9.8e8, 1.02e9]
    HebrewYearStart start = HebrewStartOf(y);
    HebrewMonthDay md = HebrewDayIn(start, days);
    if (md.month - 1 >= 13) {
        y = md.month == 0 ? y - 1 : y + 1;
        start = HebrewStartOf(y);
        md = HebrewDayIn(start, days);
    }
    return {y, start, md};
}

constexpr std::uint64_t HebrewDays(std::int64_t jdn) {  // [3.6e11, 3.8e11]
    if (static_cast<std::uint64_t>(jdn) + kArithmeticJdn > 2 * kArithmeticJdn) [[unlikely]] {
        jdn = ClampJdn(jdn);
    }
    return static_cast<std::uint64_t>(jdn - kHebrewEpoch) + kHebrewShiftDays;
}

constexpr YearMonthDay HebrewFromJdn(std::int64_t jdn) {
    const HebrewYearOfDay at = HebrewYearAt(HebrewDays(jdn));
    return Date(static_cast<std::int64_t>(at.year) - static_cast<std::int64_t>(kHebrewShiftYears),
                at.monthDay.month, at.monthDay.day);
}

constexpr CalendarYear HebrewYearOfJdn(std::int64_t jdn) {
    const HebrewYearOfDay at = HebrewYearAt(HebrewDays(jdn));
    return {static_cast<std::int64_t>(at.year) - static_cast<std::int64_t>(kHebrewShiftYears),
            static_cast<std::int64_t>(at.start.monday) +
                (kHebrewEpoch - static_cast<std::int64_t>(kHebrewShiftDays)) +
                kHebrewMonthFirst[at.start.shape][7],
            HebrewKindLength(HebrewShapeKind(at.start.shape))};
}

// ---- Islamic (tabular) --------------------------------------------------------------------
//
// 11 leap years in 30, years 2, 5, 7, 10, 13, 16, 18, 21, 24, 26, 29 of the cycle. Days
// before year y: 354 (y - 1) + floor((3 + 11 y) / 30) = floor((10631 y - 10617) / 30).

constexpr bool IslamicLeap(std::int64_t year) {
    return floor_mod(14 + 11 * year, 30) < 11;
}

constexpr std::int64_t IslamicToJdn(std::int64_t year, int month, int day) {
    // Months alternate 30 and 29 days: m - 1 months take floor((59 (m - 1) + 1) / 2) days.
    return kIslamicEpoch + floor_div(10631 * year - 10617, 30) + (59 * (month - 1) + 1) / 2 + day -
           1;
}

// Whole 30-year cycles (10631 days) added to the day count, so that it is non-negative for
// every |jdn| <= kArithmeticJdn and each division is an unsigned one by a constant (ranges
// below are for that whole range).
inline constexpr std::uint64_t kIslamicShiftCycles = 480'000;  // 5.1e9 days

constexpr YearMonthDay IslamicFromJdn(std::int64_t jdn) {
    const auto days = static_cast<std::uint64_t>(
        jdn - kIslamicEpoch +
        static_cast<std::int64_t>(10631 * kIslamicShiftCycles));  // [1e8, 1.02e10]
    const std::uint64_t year = (30 * days + 10646) / 10631;  // shifted by 30 cycles: [2.8e5, 2.9e7]
    const auto doy = static_cast<std::uint32_t>(days - (10631 * year - 10617) / 30);  // [0, 354]
    const std::uint32_t m0 = std::min(2 * doy / 59, 11u);                             // [0, 11]
    return Date(static_cast<std::int64_t>(year - 30 * kIslamicShiftCycles), m0 + 1,
                doy - (59 * m0 + 1) / 2 + 1);
}

// ---- Persian (Solar Hijri), 33-year arithmetic rule ----------------------------------------
//
// Year y is a leap year when (25 y + 11) mod 33 < 8: eight leap years in 33, in years
// 1, 5, 9, 13, 17, 22, 26, 30 of the cycle. Equivalently the leap years among 1 .. n number
// floor((8 n + 29) / 33), so the days before year y are floor((12053 (y - 1) + 29) / 33).
// The epoch is set so that the rule gives the years of the astronomical calendar, whose year
// begins at the vernal equinox, from 1290 to 1502 AP; run back 13 centuries, the fixed cycle
// puts 1 Farvardin 1 on 18 March 622, a day before the equinox year began.

constexpr bool PersianLeap(std::int64_t year) {
    return floor_mod(25 * year + 11, 33) < 8;
}

constexpr std::int64_t PersianDaysBefore(std::int64_t year) {
    return floor_div(12053 * (year - 1) + 29, 33);  // |12053 y| < 7.6e10
}

constexpr std::int64_t PersianToJdn(std::int64_t year, int month, int day) {
    // Months 1..6 have 31 days, 7..11 have 30, month 12 has 29 or 30.
    const int before = month <= 7 ? 31 * (month - 1) : 30 * (month - 1) + 6;
    return kPersianEpoch + PersianDaysBefore(year) + before + day - 1;
}

// Whole 33-year cycles (12053 days) added to the day count, as for the Islamic calendar.
inline constexpr std::uint64_t kPersianShiftCycles = 420'000;  // 5.06e9 days

constexpr YearMonthDay PersianFromJdn(std::int64_t jdn) {
    const auto days = static_cast<std::uint64_t>(
        jdn - kPersianEpoch +
        static_cast<std::int64_t>(12053 * kPersianShiftCycles));  // [6e7, 1.02e10]
    const std::uint64_t year0 = (33 * days + 3) / 12053;  // year - 1, shifted: [1.6e5, 2.8e7]
    const auto doy = static_cast<std::uint32_t>(days - (12053 * year0 + 29) / 33);  // [0, 365]
    const auto year = static_cast<std::int64_t>(year0 - 33 * kPersianShiftCycles) + 1;
    if (doy < 186) {
        return Date(year, doy / 31 + 1, doy % 31 + 1);
    }
    return Date(year, (doy - 186) / 30 + 7, (doy - 186) % 30 + 1);
}

// ---- Coptic and Ethiopian -----------------------------------------------------------------
//
// Twelve months of 30 days and five epagomenal days (six when year mod 4 == 3). Days before
// year y: 365 (y - 1) + floor(y / 4) = floor((1461 y - 1460) / 4).

constexpr std::int64_t AlexandrianToJdn(std::int64_t epoch, std::int64_t year, int month, int day) {
    return epoch + floor_div(1461 * year - 1460, 4) + 30 * (month - 1) + day - 1;
}

// Whole 4-year cycles (1461 days) added to the day count, as for the Islamic calendar.
inline constexpr std::uint64_t kAlexandrianShiftCycles = 3'500'000;  // 5.1e9 days

constexpr YearMonthDay AlexandrianFromJdn(std::int64_t epoch, std::int64_t jdn) {
    const auto days = static_cast<std::uint64_t>(
        jdn - epoch +
        static_cast<std::int64_t>(1461 * kAlexandrianShiftCycles));  // [1.1e8, 1.02e10]
    const std::uint64_t year = (4 * days + 1463) / 1461;  // shifted by 4 cycles: [2.8e5, 2.8e7]
    const auto doy = static_cast<std::uint32_t>(days - (1461 * year - 1460) / 4);  // [0, 365]
    return Date(static_cast<std::int64_t>(year - 4 * kAlexandrianShiftCycles), doy / 30 + 1,
                doy % 30 + 1);
}

// ---- French Republican ----------------------------------------------------------------------
//
// Twelve months of 30 days and five complementary days, six in a sextile (leap) year. Years
// III, VII and XI were sextile while the calendar was in use (years I to XIV); every other
// year follows Romme's rule: divisible by 4, except centuries not divisible by 400. With n
// years before year y, the days before it are the century-rule count of n, plus one day for
// years IV, VIII and XII, which the decreed sextiles start a day later than Romme's rule would.

constexpr bool FrenchLeap(std::int64_t year) {
    if (year >= 1 && year <= 14) {
        return year % 4 == 3;
    }
    return floor_mod(year, 4) == 0 && (floor_mod(year, 100) != 0 || floor_mod(year, 400) == 0);
}

constexpr bool FrenchStartsLate(std::int64_t year) {
    return year == 4 || year == 8 || year == 12;
}

constexpr std::int64_t FrenchToJdn(std::int64_t year, int month, int day) {
    // The century-rule count of year - 1 is that of the Gregorian years before 1 March.
    return kFrenchEpoch - kGregorianMarch0 + jdn_from_gregorian(year - 1, 3, 1) +
           (FrenchStartsLate(year) ? 1 : 0) + 30 * (month - 1) + day - 1;
}

constexpr YearMonthDay FrenchFromJdn(std::int64_t jdn) {
    // The counting year n from 1 March of year 0 is French year n + 1.
    const MarchYearDay yd = CenturyRuleYear(jdn - kFrenchEpoch + kGregorianMarch0);
    const std::int64_t year = yd.year + 1;
    std::uint32_t doy = yd.doy;  // [0, 365]
    if (static_cast<std::uint64_t>(year - 4) <= 8 && FrenchStartsLate(year)) [[unlikely]] {
        if (doy == 0) {
            return Date(year - 1, 13, 6);
        }
        doy -= 1;
    }
    return Date(year, doy / 30 + 1, doy % 30 + 1);
}

// ---- Indian national (Saka) -----------------------------------------------------------------
//
// Saka year y begins on 22 March of Gregorian year y + 78, or on 21 March when that year is a
// leap year; Chaitra then has 31 days instead of 30. Vaisakha .. Bhadra have 31 days, Asvina ..
// Phalguna 30. Gregorian dates are counted in years from 1 March (CenturyRuleYear), so that 21
// or 22 March is day 20 or 21 of such a year.

constexpr int SakaDaysBeforeMonth(int month, bool leap) {
    const int chaitra = leap ? 31 : 30;
    if (month == 1) {
        return 0;
    }
    return month <= 7 ? chaitra + 31 * (month - 2) : chaitra + 155 + 30 * (month - 7);
}

constexpr std::int64_t SakaToJdn(std::int64_t year, int month, int day) {
    const std::int64_t gregorianYear = year + kSakaOffset;
    const bool leap = gregorian_leap(gregorianYear);
    const std::int64_t newYear = jdn_from_gregorian(gregorianYear, 3, leap ? 21 : 22);
    return newYear + SakaDaysBeforeMonth(month, leap) + day - 1;
}

// The Saka date of each day of a Gregorian counting year (from 1 March), by whether that year's
// March follows a leap day: month, day, and 1 for the days before the Saka new year (20 or 21
// days, the end of Phalguna, which began on 20 February), which belong to the Saka year before.
struct SakaDayTables {
    std::array<std::array<std::uint8_t, 366>, 2> month;
    std::array<std::array<std::uint8_t, 366>, 2> day;
    std::array<std::array<std::uint8_t, 366>, 2> yearBefore;
};
inline constexpr auto kSakaFromMarch = [] {
    SakaDayTables t{};
    for (int leap = 0; leap < 2; ++leap) {
        const int start = leap != 0 ? 20 : 21;  // 21 or 22 March
        for (int doy = 0; doy < 366; ++doy) {
            int month = 12;
            int day = doy + 10 + leap;  // Phalguna had 9 days of February, 10 after a leap day
            if (doy >= start) {
                month = 1;
                while (month < 12 && doy - start >= SakaDaysBeforeMonth(month + 1, leap != 0)) {
                    ++month;
                }
                day = doy - start - SakaDaysBeforeMonth(month, leap != 0) + 1;
            }
            t.month[leap][doy] = static_cast<std::uint8_t>(month);
            t.day[leap][doy] = static_cast<std::uint8_t>(day);
            t.yearBefore[leap][doy] = doy < start ? 1 : 0;
        }
    }
    return t;
}();

constexpr YearMonthDay SakaFromJdn(std::int64_t jdn) {
    const MarchYearDay yd = CenturyRuleYear(jdn);
    const int leap = gregorian_leap(yd.year) ? 1 : 0;  // February before this counting year
    return Date(yd.year - kSakaOffset - kSakaFromMarch.yearBefore[leap][yd.doy],
                kSakaFromMarch.month[leap][yd.doy], kSakaFromMarch.day[leap][yd.doy]);
}

}  // namespace

// ---- the public interface -------------------------------------------------------------------

std::int64_t ToJdn(WorldCalendar cal, std::int64_t year, int month, int day) {
    if (cal == WorldCalendar::Hebrew) {  // apart, so that it needs no saved registers
        return HebrewToJdn(year, month, day);
    }
    // Days are summed in 64 bits, so any day is harmless; months index tables.
    year = ClampYear(year);
    month = std::clamp(month, 1, 13);
    switch (cal) {
        case WorldCalendar::Hebrew:
        case WorldCalendar::Islamic:
            return IslamicToJdn(year, month, day);
        case WorldCalendar::Persian:
            return PersianToJdn(year, month, day);
        case WorldCalendar::Coptic:
            return AlexandrianToJdn(kCopticEpoch, year, month, day);
        case WorldCalendar::Ethiopian:
            return AlexandrianToJdn(kEthiopianEpoch, year, month, day);
        case WorldCalendar::FrenchRepublican:
            return FrenchToJdn(year, month, day);
        case WorldCalendar::Indian:
            return SakaToJdn(year, month, day);
    }
    return 0;
}

YearMonthDay FromJdn(WorldCalendar cal, std::int64_t jdn) {
    if (cal == WorldCalendar::Hebrew) {
        return HebrewFromJdn(jdn);
    }
    jdn = ClampJdn(jdn);
    switch (cal) {
        case WorldCalendar::Hebrew:
            return HebrewFromJdn(jdn);
        case WorldCalendar::Islamic:
            return IslamicFromJdn(jdn);
        case WorldCalendar::Persian:
            return PersianFromJdn(jdn);
        case WorldCalendar::Coptic:
            return AlexandrianFromJdn(kCopticEpoch, jdn);
        case WorldCalendar::Ethiopian:
            return AlexandrianFromJdn(kEthiopianEpoch, jdn);
        case WorldCalendar::FrenchRepublican:
            return FrenchFromJdn(jdn);
        case WorldCalendar::Indian:
            return SakaFromJdn(jdn);
    }
    return {};
}

CalendarYear YearOfJdn(WorldCalendar cal, std::int64_t jdn) {
    if (cal == WorldCalendar::Hebrew) {
        return HebrewYearOfJdn(jdn);
    }
    const std::int64_t year = FromJdn(cal, jdn).year;
    const std::int64_t first = ToJdn(cal, year, 1, 1);
    return {year, first, static_cast<int>(ToJdn(cal, year + 1, 1, 1) - first)};
}

int MonthsInYear(WorldCalendar cal, std::int64_t year) {
    if (year < -kMaxWorldYear || year > kMaxWorldYear) {
        return 0;
    }
    switch (cal) {
        case WorldCalendar::Hebrew:
            return HebrewLeap(year) ? 13 : 12;
        case WorldCalendar::Coptic:
        case WorldCalendar::Ethiopian:
        case WorldCalendar::FrenchRepublican:
            return 13;
        case WorldCalendar::Islamic:
        case WorldCalendar::Persian:
        case WorldCalendar::Indian:
            return 12;
    }
    return 0;
}

int DaysInMonth(WorldCalendar cal, std::int64_t year, int month) {
    if (month < 1 || month > MonthsInYear(cal, year)) {
        return 0;  // also every month of a year out of range
    }
    switch (cal) {
        case WorldCalendar::Hebrew:
            return HebrewDaysInMonth(month, HebrewYearLength(year));
        case WorldCalendar::Islamic:
            return month % 2 == 1 || (month == 12 && IslamicLeap(year)) ? 30 : 29;
        case WorldCalendar::Persian:
            return month <= 6 ? 31 : month <= 11 || PersianLeap(year) ? 30 : 29;
        case WorldCalendar::Coptic:
        case WorldCalendar::Ethiopian:
            return month <= 12 ? 30 : floor_mod(year, 4) == 3 ? 6 : 5;
        case WorldCalendar::FrenchRepublican:
            return month <= 12 ? 30 : FrenchLeap(year) ? 6 : 5;
        case WorldCalendar::Indian:
            if (month == 1) {
                return gregorian_leap(year + kSakaOffset) ? 31 : 30;
            }
            return month <= 6 ? 31 : 30;
    }
    return 0;
}

int DaysInYear(WorldCalendar cal, std::int64_t year) {
    if (year < -kMaxWorldYear || year > kMaxWorldYear) {
        return 0;
    }
    switch (cal) {
        case WorldCalendar::Hebrew:
            return HebrewYearLength(year);
        case WorldCalendar::Islamic:
            return IslamicLeap(year) ? 355 : 354;
        case WorldCalendar::Persian:
            return PersianLeap(year) ? 366 : 365;
        case WorldCalendar::Coptic:
        case WorldCalendar::Ethiopian:
            return floor_mod(year, 4) == 3 ? 366 : 365;
        case WorldCalendar::FrenchRepublican:
            return FrenchLeap(year) ? 366 : 365;
        case WorldCalendar::Indian:
            return gregorian_leap(year + kSakaOffset) ? 366 : 365;
    }
    return 0;
}

bool IsValidDate(WorldCalendar cal, std::int64_t year, int month, int day) {
    return day >= 1 && day <= DaysInMonth(cal, year, month);
}

std::int64_t LongCountToJdn(const LongCount& date) {
    // Baktuns are clamped to kArithmeticYears: 144000 * 1e9 days cannot overflow.
    return kMayanEpoch + 144000 * ClampYear(date.baktun) + 7200 * std::int64_t{date.katun} +
           360 * std::int64_t{date.tun} + 20 * std::int64_t{date.uinal} + date.kin;
}

LongCount JdnToLongCount(std::int64_t jdn) {
    const std::int64_t days = ClampJdn(jdn) - kMayanEpoch;
    const auto rest = static_cast<int>(floor_mod(days, 144000));  // [0, 143999]
    return {floor_div(days, 144000), rest / 7200, rest % 7200 / 360, rest % 360 / 20, rest % 20};
}

}  // namespace jdcore
