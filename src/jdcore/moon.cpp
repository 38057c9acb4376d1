// The moon's position and setting (see moon.h); coefficients as printed in Meeus, Astronomical
// Algorithms, tables 47.A and 47.B.
#include "jdcore/moon.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace jdcore::astronomy {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

double SinDegrees(double d) {
    return std::sin(d * kRadians);
}
double CosDegrees(double d) {
    return std::cos(d * kRadians);
}
double Degrees360(double d) {
    const double r = std::fmod(d, 360.0);
    return r < 0 ? r + 360.0 : r;
}
double Degrees180(double d) {
    return Degrees360(d + 180.0) - 180.0;
}

// Multiples of D (elongation), M (sun's anomaly), M' (moon's anomaly), F (argument of
// latitude), and the coefficients: longitude (1e-6 degree), distance (1e-3 km).
struct LongitudeTerm {
    std::int8_t d, m, mp, f;
    std::int32_t longitude, distance;
};
constexpr std::array<LongitudeTerm, 60> kLongitudeTerms = {{
    {0, 0, 1, 0, 6288774, -20905355},
    {2, 0, -1, 0, 1274027, -3699111},
    {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925},
    {0, 1, 0, 0, -185116, 48888},
    {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158},
    {2, -1, -1, 0, 57066, -152138},
    {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586},
    {0, 1, -1, 0, -40923, -129620},
    {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755},
    {2, 0, 0, -2, 15327, 10321},
    {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661},
    {4, 0, -1, 0, 10675, -34782},
    {0, 0, 3, 0, 10034, -23210},
    {4, 0, -2, 0, 8548, -21636},
    {2, 1, -1, 0, -7888, 24208},
    {2, 1, 0, 0, -6766, 30824},
    {1, 0, -1, 0, -5163, -8379},
    {1, 1, 0, 0, 4987, -16675},
    {2, -1, 1, 0, 4036, -12831},
    {2, 0, 2, 0, 3994, -10445},
    {4, 0, 0, 0, 3861, -11650},
    {2, 0, -3, 0, 3665, 14403},
    {0, 1, -2, 0, -2689, -7003},
    {2, 0, -1, 2, -2602, 0},
    {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322},
    {2, -2, 0, 0, 2236, -9884},
    {0, 1, 2, 0, -2120, 5751},
    {0, 2, 0, 0, -2069, 0},
    {2, -2, -1, 0, 2048, -4950},
    {2, 0, 1, -2, -1773, 4130},
    {2, 0, 0, 2, -1595, 0},
    {4, -1, -1, 0, 1215, -3958},
    {0, 0, 2, 2, -1110, 0},
    {3, 0, -1, 0, -892, 3258},
    {2, 1, 1, 0, -810, 2616},
    {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117},
    {2, 2, -1, 0, -700, 2354},
    {2, 1, -2, 0, 691, 0},
    {2, -1, 0, -2, 596, 0},
    {4, 0, 1, 0, 549, -1423},
    {0, 0, 4, 0, 537, -1117},
    {4, -1, 0, 0, 520, -1571},
    {1, 0, -2, 0, -487, -1739},
    {2, 1, 0, -2, -399, 0},
    {0, 0, 2, -2, -381, -4421},
    {1, 1, 1, 0, 351, 0},
    {3, 0, -2, 0, -340, 0},
    {4, 0, -3, 0, 330, 0},
    {2, -1, 2, 0, 327, 0},
    {0, 2, 1, 0, -323, 1165},
    {1, 1, -1, 0, 299, 0},
    {2, 0, 3, 0, 294, 0},
    {2, 0, -1, -2, 0, 8752},
}};

// The same arguments and the coefficient in latitude (1e-6 degree).
struct LatitudeTerm {
    std::int8_t d, m, mp, f;
    std::int32_t latitude;
};
constexpr std::array<LatitudeTerm, 60> kLatitudeTerms = {{
    {0, 0, 0, 1, 5128122}, {0, 0, 1, 1, 280602},  {0, 0, 1, -1, 277693}, {2, 0, 0, -1, 173237},
    {2, 0, -1, 1, 55413},  {2, 0, -1, -1, 46271}, {2, 0, 0, 1, 32573},   {0, 0, 2, 1, 17198},
    {2, 0, 1, -1, 9266},   {0, 0, 2, -1, 8822},   {2, -1, 0, -1, 8216},  {2, 0, -2, -1, 4324},
    {2, 0, 1, 1, 4200},    {2, 1, 0, -1, -3359},  {2, -1, -1, 1, 2463},  {2, -1, 0, 1, 2211},
    {2, -1, -1, -1, 2065}, {0, 1, -1, -1, -1870}, {4, 0, -1, -1, 1828},  {0, 1, 0, 1, -1794},
    {0, 0, 0, 3, -1749},   {0, 1, -1, 1, -1565},  {1, 0, 0, 1, -1491},   {0, 1, 1, 1, -1475},
    {0, 1, 1, -1, -1410},  {0, 1, 0, -1, -1344},  {1, 0, 0, -1, -1335},  {0, 0, 3, 1, 1107},
    {4, 0, 0, -1, 1021},   {4, 0, -1, 1, 833},    {0, 0, 1, -3, 777},    {4, 0, -2, 1, 671},
    {2, 0, 0, -3, 607},    {2, 0, 2, -1, 596},    {2, -1, 1, -1, 491},   {2, 0, -2, 1, -451},
    {0, 0, 3, -1, 439},    {2, 0, 2, 1, 422},     {2, 0, -3, -1, 421},   {2, 1, -1, 1, -366},
    {2, 1, 0, 1, -351},    {4, 0, 0, 1, 331},     {2, -1, 1, 1, 315},    {2, -2, 0, -1, 302},
    {0, 0, 1, 3, -283},    {2, 1, 1, -1, -229},   {1, 1, 0, -1, 223},    {1, 1, 0, 1, 223},
    {0, 1, -2, -1, -220},  {2, 1, -1, -1, -220},  {1, 0, 1, 1, -185},    {2, -1, -2, -1, 181},
    {0, 1, 2, 1, -177},    {4, 0, -2, -1, 176},   {4, -1, -1, -1, 166},  {1, 0, 1, -1, -164},
    {4, 0, 1, -1, 132},    {1, 0, -1, -1, -119},  {4, -1, 0, -1, 115},   {2, -2, 0, 1, 107},
}};

// Terms with the sun's anomaly shrink with the eccentricity of the Earth's orbit.
double EccentricityFactor(int m, double e) {
    return m == 0 ? 1.0 : (m == 1 || m == -1) ? e : e * e;
}

// The hour angle of a body setting at `latitude` whose centre must sink to `altitude`.
double SettingHourAngle(double latitude, double declination, double altitude) {
    const double cosH = (SinDegrees(altitude) - SinDegrees(latitude) * SinDegrees(declination)) /
                        (CosDegrees(latitude) * CosDegrees(declination));
    return std::acos(std::fmax(-1.0, std::fmin(1.0, cosH))) / kRadians;
}

// Greenwich apparent sidereal time at `jdUT`, degrees (Meeus 12.4, with the equation of the
// equinoxes).
double ApparentSiderealTime(double jdUT) {
    const double d = jdUT - kJ2000;
    const double t = d / 36525.0;
    const double mean =
        280.46061837 + 360.98564736629 * d + 0.000387933 * t * t - t * t * t / 38710000.0;
    return Degrees360(mean + NutationInLongitude(jdUT) * CosDegrees(ObliquityOfDate(jdUT)));
}

}  // namespace

LunarPosition MoonPosition(double jdUT) {
    const double t = (jdUT + DeltaT(jdUT) - kJ2000) / 36525.0;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    const double meanLongitude =
        218.3164477 + 481267.88123421 * t - 0.0015786 * t2 + t3 / 538841.0 - t4 / 65194000.0;
    const double d =
        297.8501921 + 445267.1114034 * t - 0.0018819 * t2 + t3 / 545868.0 - t4 / 113065000.0;
    const double m = 357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000.0;
    const double mp =
        134.9633964 + 477198.8675055 * t + 0.0087414 * t2 + t3 / 69699.0 - t4 / 14712000.0;
    const double f =
        93.2720950 + 483202.0175233 * t - 0.0036539 * t2 - t3 / 3526000.0 + t4 / 863310000.0;
    const double a1 = 119.75 + 131.849 * t;    // Venus
    const double a2 = 53.09 + 479264.290 * t;  // Jupiter
    const double a3 = 313.45 + 481266.484 * t;
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;

    double sumL = 0, sumR = 0, sumB = 0;
    for (const LongitudeTerm& term : kLongitudeTerms) {
        const double argument = term.d * d + term.m * m + term.mp * mp + term.f * f;
        const double factor = EccentricityFactor(term.m, e);
        sumL += term.longitude * factor * SinDegrees(argument);
        sumR += term.distance * factor * CosDegrees(argument);
    }
    for (const LatitudeTerm& term : kLatitudeTerms) {
        sumB += term.latitude * EccentricityFactor(term.m, e) *
                SinDegrees(term.d * d + term.m * m + term.mp * mp + term.f * f);
    }
    sumL += 3958 * SinDegrees(a1) + 1962 * SinDegrees(meanLongitude - f) + 318 * SinDegrees(a2);
    sumB += -2235 * SinDegrees(meanLongitude) + 382 * SinDegrees(a3) + 175 * SinDegrees(a1 - f) +
            175 * SinDegrees(a1 + f) + 127 * SinDegrees(meanLongitude - mp) -
            115 * SinDegrees(meanLongitude + mp);

    const double distance = 385000.56 + sumR / 1000.0;
    return {Degrees360(meanLongitude + sumL / 1e6 + NutationInLongitude(jdUT)), sumB / 1e6,
            distance, std::asin(6378.14 / distance) / kRadians};
}

double MoonsetNear(double jdUT, Place place) {
    // The moon's hour angle grows by about 347.8 degrees a day (360.99 of sidereal time less
    // its own 11-15 degrees in right ascension); each step corrects by that rate.
    constexpr double kHourAngleRate = 347.81;
    double t = jdUT;
    for (int i = 0; i < 8; ++i) {
        const LunarPosition p = MoonPosition(t);
        const double epsilon = ObliquityOfDate(t);
        const double rightAscension =
            std::atan2(SinDegrees(p.longitude) * CosDegrees(epsilon) -
                           std::tan(p.latitude * kRadians) * SinDegrees(epsilon),
                       CosDegrees(p.longitude)) /
            kRadians;
        const double declination =
            std::asin(SinDegrees(p.latitude) * CosDegrees(epsilon) +
                      CosDegrees(p.latitude) * SinDegrees(epsilon) * SinDegrees(p.longitude)) /
            kRadians;
        const double setting =
            SettingHourAngle(place.latitude, declination, 0.7275 * p.parallax - 34.0 / 60.0);
        const double hourAngle = ApparentSiderealTime(t) + place.longitude - rightAscension;
        const double step = Degrees180(setting - hourAngle) / kHourAngleRate;
        t += step;
        if (std::fabs(step) < 1e-7) {
            break;
        }
    }
    return t;
}

}  // namespace jdcore::astronomy
