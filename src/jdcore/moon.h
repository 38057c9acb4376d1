// The moon as the Umm al-Qura calendar needs it: its apparent geocentric position, and the
// moment it sets at a place.
//
// Position: the abridged ELP-2000/82 series as Meeus publishes it (Astronomical Algorithms,
// 2nd ed., chapter 47): 60 periodic terms in longitude and distance, 60 in latitude, and the
// additive terms for Venus, Jupiter and the Earth's flattening; nutation in longitude from
// astronomy.h. Meeus gives its accuracy as about 10" in longitude and 4" in latitude: 20 s of
// the moon's motion against the sun, about 1 s of its setting. Against pymeeus (the same
// chapter, tests/jdcore) over 1800-2300: 0.0002 degrees in longitude (the nutation models
// differ), 0.000001 in latitude, 5 m in distance.
//
// Setting: the moment the upper limb touches the sea horizon with standard refraction (34'),
// that is when the geocentric altitude of the centre is 0.7275 parallax - 34' (Meeus, chapter
// 15: semidiameter 0.2725 parallax, and the parallax itself). Found from the hour angle and
// apparent sidereal time, converging to 0.01 s. Moments are JD in UT, as in astronomy.h.
#pragma once

#include "jdcore/astronomy.h"

namespace jdcore::astronomy {

struct LunarPosition {
    double longitude;  // apparent: mean equinox of date with nutation, degrees [0, 360)
    double latitude;   // degrees
    double distance;   // km, between the centres of the Earth and the moon
    double parallax;   // equatorial horizontal parallax, degrees
};
LunarPosition MoonPosition(double jdUT);

// The moonset at `place` nearest to `jdUT` (the moon sets about every 24.8 hours: within
// about 12.4 hours of it). `place` must lie within 60 degrees of the equator, where the moon
// sets every day.
double MoonsetNear(double jdUT, Place place);

}  // namespace jdcore::astronomy
