// Easter Sunday by the two computi, as JDNs, in O(1) for every year whose Easter lies in the
// 64-bit day range (in particular every year of the JDN range +-2,100,000,000, about
// -5,750,000 to +5,750,000).
//
// Western: the Gregorian computus (solar and lunar equations of the Gregorian reform), applied
// proleptically; the dates repeat every 5,700,000 Gregorian years. Orthodox: the Julian computus
// (19-year lunar cycle on the Julian calendar); the dates repeat every 532 Julian years. Both
// give a Sunday between 22 March and 25 April of the year's own calendar.
#pragma once

#include <cstdint>

namespace jdcore {

// JDN of Western Easter Sunday of Gregorian year `year`.
std::int64_t western_easter(std::int64_t year);

// Western Easter of the years [first, first + count) as days after 21 March (1..35), one
// byte a year into `out`: the dates western_easter gives, several times faster over a run.
void western_easter_days(std::int64_t first, std::int64_t count, std::uint8_t* out);

// JDN of Orthodox Easter Sunday of Julian year `year` (a Gregorian date too, when shown in CE).
std::int64_t orthodox_easter(std::int64_t year);

}  // namespace jdcore
