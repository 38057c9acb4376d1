#include "jdcore/easter.h"

#include <algorithm>
#include <array>

#include "jdcore/day_count.h"

namespace jdcore {

// Both computi give the day of Easter as a count of days after 21 March ("paschal day",
// 1..35); 21 March + n days is then converted with the calendar's own month lengths, so no
// month arithmetic is needed here.

namespace {

// The century's part of the epact: the solar equation (leap centuries omitted) and the lunar
// (Metonic) one.
constexpr std::int64_t CenturyTerm(std::int64_t century) {
    return century - floor_div(century, 4) - floor_div(8 * century + 13, 25);
}

// The paschal full moon as days after 21 March, [0, 28].
constexpr std::int64_t PaschalFullMoon(std::int64_t golden, std::int64_t centuryTerm) {
    // Epact-like term: days from the paschal new moon to 21 March, [0, 29].
    const std::int64_t moon = floor_mod(19 * golden + 15 + centuryTerm, 30);
    // The two exceptions of the Gregorian tables: the moon 29, and 28 in the later half of
    // the 19-year cycle, are moved one day earlier.
    return moon - ((moon == 29 || (moon == 28 && golden > 10)) ? 1 : 0);
}

// Easter as days after 21 March: the Sunday strictly after the full moon.
constexpr std::int64_t PaschalDay(std::int64_t fullMoon, std::int64_t march21) {
    return fullMoon + 7 - floor_mod(march21 + fullMoon + 1, 7);
}

}  // namespace

std::int64_t western_easter(std::int64_t year) {
    // |year| < 2^40 keeps every product below 2^46.
    const std::int64_t march21 = jdn_from_gregorian(year, 3, 21);
    return march21 +
           PaschalDay(PaschalFullMoon(floor_mod(year, 19), CenturyTerm(floor_div(year, 100))),
                      march21);
}

void western_easter_days(std::int64_t first, std::int64_t count, std::uint8_t* out) {
    // Carried from year to year: the golden number and the weekday of 21 March (plus one, as
    // PaschalDay adds it); the full moons of each golden number once a century.
    std::int64_t golden = floor_mod(first, 19);
    std::int64_t weekday = floor_mod(jdn_from_gregorian(first, 3, 21) + 1, 7);
    std::array<std::int64_t, 19> fullMoons{};
    const std::int64_t end = first + count;
    for (std::int64_t year = first; year < end;) {
        const std::int64_t century = floor_div(year, 100);
        const std::int64_t term = CenturyTerm(century);
        for (std::size_t g = 0; g < fullMoons.size(); ++g) {
            fullMoons[g] = PaschalFullMoon(static_cast<std::int64_t>(g), term);
        }
        for (const std::int64_t centuryEnd = std::min(end, 100 * (century + 1)); year < centuryEnd;
             ++year) {
            const std::int64_t fullMoon = fullMoons[static_cast<std::size_t>(golden)];
            *out++ = static_cast<std::uint8_t>(fullMoon + 7 - (weekday + fullMoon) % 7);
            weekday += gregorian_leap(year + 1) ? 2 : 1;
            weekday -= weekday >= 7 ? 7 : 0;  // no division in the chain from year to year
            golden = golden == 18 ? 0 : golden + 1;
        }
    }
}

std::int64_t orthodox_easter(std::int64_t year) {
    const std::int64_t golden = floor_mod(year, 19);                       // [0, 18]
    const std::int64_t moon = floor_mod(19 * golden + 15, 30);             // [0, 29]
    const std::int64_t fullMoonJdn = jdn_from_julian(year, 3, 21) + moon;  // [Mar 21, Apr 19]
    return fullMoonJdn + 7 - floor_mod(fullMoonJdn + 1, 7);
}

}  // namespace jdcore
