#include "jdcore/easter.h"

#include "jdcore/day_count.h"

namespace jdcore {

// Both computi give the day of Easter as a count of days after 21 March ("paschal day",
// 1..35); 21 March + n days is then converted with the calendar's own month lengths, so no
// month arithmetic is needed here.

std::int64_t western_easter(std::int64_t year) {
    // |year| < 2^40 keeps every product below 2^46.
    const std::int64_t golden = floor_mod(year, 19);             // [0, 18]
    const std::int64_t century = floor_div(year, 100);           // floor
    const std::int64_t solar = floor_div(century, 4);            // leap centuries omitted
    const std::int64_t lunar = floor_div(8 * century + 13, 25);  // Metonic correction
    // Epact-like term: days from the paschal new moon to 21 March, [0, 29].
    const std::int64_t moon = floor_mod(19 * golden + 15 + century - solar - lunar, 30);
    // The two exceptions of the Gregorian tables: the moon 29, and 28 in the later half of
    // the 19-year cycle, are moved one day earlier.
    const std::int64_t fullMoon = moon - ((moon == 29 || (moon == 28 && golden > 10)) ? 1 : 0);
    // Weekday of the paschal full moon, from the Gregorian day count; Easter is the Sunday
    // after it.
    const std::int64_t fullMoonJdn =
        jdn_from_gregorian(year, 3, 21) + fullMoon;          // [Mar 21, Apr 18]
    return fullMoonJdn + 7 - floor_mod(fullMoonJdn + 1, 7);  // next Sunday, strictly after
}

std::int64_t orthodox_easter(std::int64_t year) {
    const std::int64_t golden = floor_mod(year, 19);                       // [0, 18]
    const std::int64_t moon = floor_mod(19 * golden + 15, 30);             // [0, 29]
    const std::int64_t fullMoonJdn = jdn_from_julian(year, 3, 21) + moon;  // [Mar 21, Apr 19]
    return fullMoonJdn + 7 - floor_mod(fullMoonJdn + 1, 7);
}

}  // namespace jdcore
