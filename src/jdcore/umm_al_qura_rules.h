// The rules of the Umm al-Qura calendar of Saudi Arabia, computed from the sun and the moon
// (astronomy.h, moon.h), as R. H. van Gent and the Saudi statements give them:
//   - up to 1419 AH: a month begins on the day after the Greenwich (UT) date of the new moon
//     ("if the new moon falls less than three hours after Saudi midnight, 0h UT, the month
//     begins at the previous sunset, otherwise at the following one"). Van Gent finds this
//     rule from 1392 AH; before it no rule is known, and the table carries it backwards;
//   - 1420-1422 AH: on the evening of the 29th, if the moon sets after the sun at Mecca, the
//     next day begins the month, else the month has 30 days;
//   - from 1423 AH: the same, when also the new moon (geocentric conjunction) comes before
//     sunset at Mecca.
// Mecca is the Ka'ba (21.4225 N, 39.8262 E); sunset and moonset are the upper limb's on the
// sea horizon with standard refraction. These computations take about a millisecond a month:
// the calendar reads a table made from them (umm_al_qura_table.h, written by
// tools/make_umm_al_qura_table.cpp), and a test computes every month again and compares.
#pragma once

#include <cstdint>
#include <vector>

#include "jdcore/astronomy.h"

namespace jdcore::rules {

enum class UmmAlQuraRule : std::uint8_t {
    GreenwichNewMoon,    // the day after the UT date of the new moon
    MoonsetAfterSunset,  // on the 29th, the moon sets after the sun
    NewMoonAndMoonset,   // on the 29th, the new moon before sunset and the moon setting after it
};
// The rule that decides the first day of the months of year `year` AH.
UmmAlQuraRule UmmAlQuraRuleOf(std::int64_t year);

inline constexpr astronomy::Place kMecca = {21.4225, 39.8262};

// What the rules look at on the evening of the civil day `jdn` at Mecca (JD, UT).
struct MeccaEvening {
    double sunset;
    double moonset;  // the one nearest to sunset
    double newMoon;  // the new moon nearest to sunset
};
MeccaEvening MeccaEveningOf(std::int64_t jdn);

// The first day (JDN) of every month of years firstYear .. lastYear AH in order, and after
// them the first day of lastYear + 1 (so a month's length is the next start less its own).
std::vector<std::int64_t> UmmAlQuraMonthStarts(std::int64_t firstYear, std::int64_t lastYear);

}  // namespace jdcore::rules
