// The astronomical calendars' rules, computed from the sun and the moon (astronomy.h). These
// are slow (a few microseconds to milliseconds a year): the conversions read tables made from
// them (astronomical_tables.h, written by tools/make_astronomical_tables.cpp), and a test
// computes every entry again and compares.
#pragma once

#include <cstdint>
#include <vector>

namespace jdcore::rules {

// ---- Chinese and Korean lunisolar months
//
// Months begin on the local day of a new moon; the month holding the December solstice is
// month 11; a solstice-to-solstice span (sui) with 13 new moons has a leap month, the first of
// its months in which no major solar term (a multiple of 30 degrees of solar longitude) begins,
// numbered as the month before it. Local days: Beijing, UTC+8 from 1929, before that the mean
// time of Beijing's meridian (116 deg 25' E); Seoul, its mean time (126 deg 58' E) before
// April 1908, then UTC+8:30, UTC+9 from 1912, UTC+8:30 from 21 March 1954 and UTC+9 from 10
// August 1961.
enum class LunisolarPlace { Beijing, Seoul };

struct LunisolarMonth {
    std::int64_t start;   // JDN of its first day
    std::int32_t year;    // the Gregorian year in which that year's month 1 begins
    std::int32_t number;  // 1..12
    bool leap;
};

// Every month of years firstYear .. lastYear in order, and after them the first month of
// lastYear + 1 (so each month's length is the next start less its own).
std::vector<LunisolarMonth> LunisolarMonths(LunisolarPlace place, int firstYear, int lastYear);

// Hours east of Greenwich of the civil time in use on day `jdn`.
double LunisolarZoneHours(LunisolarPlace place, std::int64_t jdn);

// ---- new years at an equinox

// JDN of 1 Farvardin of year `year` AP: the day (Iran Standard Time) of the March equinox if
// the equinox comes before true noon at Tehran (51 deg 25' E), else the day after.
std::int64_t PersianAstronomicalNewYear(std::int64_t year);

// JDN of 1 Vendemiaire of year `year` of the Republic: the day, in the true (apparent) time of
// the Paris Observatory's meridian (2 deg 20' 15" E), of the September equinox.
std::int64_t FrenchAstronomicalNewYear(std::int64_t year);

// JDN of Naw-Ruz of Badi year `year` by the rule in force since 172 BE: the day of the March
// equinox if it comes before sunset in Tehran, else the day after (Baha'i days start at sunset,
// and a day takes the Gregorian date of its daylight part).
std::int64_t BahaiAstronomicalNewYear(std::int64_t year);

}  // namespace jdcore::rules
