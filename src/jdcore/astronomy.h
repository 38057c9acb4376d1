// The sun and the moon as the astronomical calendars need them: the apparent solar longitude,
// the moments of new moon, equinoxes and solstices, the equation of time and sunset.
//
// Moments are Julian Dates in Universal Time (JD; the civil day JDN n runs from JD n - 0.5 to
// JD n + 0.5 at Greenwich) held in a double: 1e-9 day (0.1 ms) of resolution near the present.
// The series are the published ones Calendrical Calculations uses:
//   - solar longitude: the 49-term periodic series of Bretagnon and Simon (Planetary Programs
//     and Tables), with aberration and nutation in longitude;
//   - new moon: Meeus, Astronomical Algorithms, chapter 49 (25 periodic and 14 planetary terms);
//   - Delta T = TT - UT: the polynomials of Espenak and Meeus (NASA, 2006).
// Accuracy against VSOP87 and Meeus's full expressions (pymeeus, in tests/jdcore): solar
// longitude within 0.0006 degrees, equinoxes and solstices within a minute, new moons within
// 1 s, over 1600-2400. Over 1645-2200 the limit is Delta T itself: known to a second or so
// from 1900 to today, to about a minute before 1700 and after 2050, and extrapolated to an
// uncertainty of several minutes by 2200. The calendars use these moments only to the
// day, and their table spans stop where a few minutes could move a day unnoticed.
// Uses the C++ standard library only.
#pragma once

namespace jdcore::astronomy {

inline constexpr double kJ2000 = 2451545.0;                // 1 January 2000, 12h TT
inline constexpr double kMeanSynodicMonth = 29.530588861;  // days
inline constexpr double kMeanTropicalYear = 365.242189;    // days

// TT - UT in days at the moment `jdUT`.
double DeltaT(double jdUT);

// The sun's apparent geocentric longitude at `jdUT`, in degrees [0, 360): the mean equinox of
// date, with aberration and nutation.
double SolarLongitude(double jdUT);

// The first moment at or after `jdUT` when the solar longitude is `degrees` (mod 360).
double SolarLongitudeAfter(double degrees, double jdUT);

// The moment of new moon number n: new moon 0 is the one of 6 January 2000 (Meeus's k).
double NthNewMoon(long n);
// The number of the last new moon before `jdUT` (the one at or after it is that + 1).
long NewMoonBefore(double jdUT);

// Equinoxes and solstices: 0 = March equinox, 90 = June solstice, 180 = September equinox,
// 270 = December solstice, of the Gregorian year `year`.
double SeasonStart(int year, int degrees);

// Apparent minus mean solar time at `jdUT`, in days (about -0.0115 .. +0.0115).
double EquationOfTime(double jdUT);

// The nutation in longitude, and the obliquity of the ecliptic with its nutation, at `jdUT`, in
// degrees: what makes a mean ecliptic position apparent, and turns it into an equatorial one.
double NutationInLongitude(double jdUT);
double ObliquityOfDate(double jdUT);

// A place on the Earth: degrees, east and north positive.
struct Place {
    double latitude;
    double longitude;
};

// The moment of apparent (true) noon at `place` on the day whose local mean noon is near
// `jdUT` (any moment of that local day).
double TrueNoon(double jdUT, Place place);
// The moment of apparent (true) midnight that ends the local day holding `jdUT`.
double TrueMidnightAfter(double jdUT, Place place);
// Sunset on the local day holding `jdUT`: the moment the sun's centre sinks to `altitude`
// degrees. The usual almanac sunset, the upper limb at the horizon with standard refraction,
// is -0.8333; the centre at the horizon with refraction is -0.5667.
inline constexpr double kUpperLimbSunset = -0.8333;
inline constexpr double kCentreSunset = -0.5667;
double Sunset(double jdUT, Place place, double altitude = kUpperLimbSunset);

}  // namespace jdcore::astronomy
