// The published series behind astronomy.h; coefficients as printed in Calendrical Calculations
// (solar longitude, aberration, nutation) and Meeus (new moon, equation of time, obliquity).
#include "jdcore/astronomy.h"

#include <array>
#include <cmath>
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
// d reduced to [0, 360).
double Degrees360(double d) {
    const double r = std::fmod(d, 360.0);
    return r < 0 ? r + 360.0 : r;
}
// d reduced to [-180, 180).
double Degrees180(double d) {
    return Degrees360(d + 180.0) - 180.0;
}

// Julian centuries of Terrestrial Time since J2000.
double CenturiesTT(double jdUT) {
    return (jdUT + DeltaT(jdUT) - kJ2000) / 36525.0;
}

// ---- solar longitude: x sin(y + z c), Bretagnon and Simon's 49 terms

struct SolarTerm {
    double x, y, z;
};
constexpr std::array<SolarTerm, 49> kSolarTerms = {{
    {403406, 270.54861, 0.9287892},
    {195207, 340.19128, 35999.1376958},
    {119433, 63.91854, 35999.4089666},
    {112392, 331.26220, 35998.7287385},
    {3891, 317.843, 71998.20261},
    {2819, 86.631, 71998.4403},
    {1721, 240.052, 36000.35726},
    {660, 310.26, 71997.4812},
    {350, 247.23, 32964.4678},
    {334, 260.87, -19.4410},
    {314, 297.82, 445267.1117},
    {268, 343.14, 45036.8840},
    {242, 166.79, 3.1008},
    {234, 81.53, 22518.4434},
    {158, 3.50, -19.9739},
    {132, 132.75, 65928.9345},
    {129, 182.95, 9038.0293},
    {114, 162.03, 3034.7684},
    {99, 29.8, 33718.148},
    {93, 266.4, 3034.448},
    {86, 249.2, -2280.773},
    {78, 157.6, 29929.992},
    {72, 257.8, 31556.493},
    {68, 185.1, 149.588},
    {64, 69.9, 9037.750},
    {46, 8.0, 107997.405},
    {38, 197.1, -4444.176},
    {37, 250.4, 151.771},
    {32, 65.3, 67555.316},
    {29, 162.7, 31556.080},
    {28, 341.5, -4561.540},
    {27, 291.6, 107996.706},
    {27, 98.5, 1221.655},
    {25, 146.7, 62894.167},
    {24, 110.0, 31437.369},
    {21, 5.2, 14578.298},
    {21, 342.6, -31931.757},
    {20, 230.9, 34777.243},
    {18, 256.1, 1221.999},
    {17, 45.3, 62894.511},
    {14, 242.9, -4442.039},
    {13, 115.2, 107997.909},
    {13, 151.8, 119.066},
    {13, 285.3, 16859.071},
    {12, 53.3, -4.578},
    {10, 126.6, 26895.292},
    {10, 205.7, -39.127},
    {10, 85.9, 12297.536},
    {10, 146.1, 90073.778},
}};

double Aberration(double c) {
    return 0.0000974 * CosDegrees(177.63 + 35999.01848 * c) - 0.005575;
}
double Nutation(double c) {
    const double a = 124.90 - 1934.134 * c + 0.002063 * c * c;
    const double b = 201.11 + 72001.5377 * c + 0.00057 * c * c;
    return -0.004778 * SinDegrees(a) - 0.0003667 * SinDegrees(b);
}

double SolarLongitudeAt(double c) {
    double sum = 0;
    for (const SolarTerm& t : kSolarTerms) {
        sum += t.x * SinDegrees(t.y + t.z * c);
    }
    const double lambda = 282.7771834 + 36000.76953744 * c + 0.000005729577951308232 * sum;
    return Degrees360(lambda + Aberration(c) + Nutation(c));
}

// ---- new moon: Meeus chapter 49

struct LunarTerm {
    double coefficient;
    int eccentricityPower;                        // E^n with the sun's anomaly in the argument
    int sunAnomaly, moonAnomaly, latitude, node;  // multiples of M, M', F, Omega
};
constexpr std::array<LunarTerm, 25> kNewMoonTerms = {{
    {-0.40720, 0, 0, 1, 0, 0}, {0.17241, 1, 1, 0, 0, 0},    {0.01608, 0, 0, 2, 0, 0},
    {0.01039, 0, 0, 0, 2, 0},  {0.00739, 1, -1, 1, 0, 0},   {-0.00514, 1, 1, 1, 0, 0},
    {0.00208, 2, 2, 0, 0, 0},  {-0.00111, 0, 0, 1, -2, 0},  {-0.00057, 0, 0, 1, 2, 0},
    {0.00056, 1, 1, 2, 0, 0},  {-0.00042, 0, 0, 3, 0, 0},   {0.00042, 1, 1, 0, 2, 0},
    {0.00038, 1, 1, 0, -2, 0}, {-0.00024, 1, -1, 2, 0, 0},  {-0.00017, 0, 0, 0, 0, 1},
    {-0.00007, 0, 2, 1, 0, 0}, {0.00004, 0, 0, 2, -2, 0},   {0.00004, 0, 3, 0, 0, 0},
    {0.00003, 0, 1, 1, -2, 0}, {0.00003, 0, 0, 2, 2, 0},    {-0.00003, 0, 1, 1, 2, 0},
    {0.00003, 0, -1, 1, 2, 0}, {-0.00002, 0, -1, 1, -2, 0}, {-0.00002, 0, 1, 3, 0, 0},
    {0.00002, 0, 0, 4, 0, 0},
}};

// The planetary arguments: coefficient (1e-6 day), a + b k (the first also - 0.009173 T^2).
struct PlanetaryTerm {
    double coefficient, a, b;
};
constexpr std::array<PlanetaryTerm, 14> kPlanetaryTerms = {{
    {325, 299.77, 0.107408},
    {165, 251.88, 0.016321},
    {164, 251.83, 26.651886},
    {126, 349.42, 36.412478},
    {110, 84.66, 18.206239},
    {62, 141.74, 53.303771},
    {60, 207.14, 2.453732},
    {56, 154.84, 7.306860},
    {47, 34.52, 27.261239},
    {42, 207.19, 0.121824},
    {40, 291.34, 1.844379},
    {37, 161.72, 24.198154},
    {35, 239.56, 25.513099},
    {23, 331.55, 3.592518},
}};

double NewMoonTT(double k) {
    const double t = k / 1236.85;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    const double jde = 2451550.09766 + kMeanSynodicMonth * k + 0.00015437 * t2 - 0.000000150 * t3 +
                       0.00000000073 * t4;
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    const double m = 2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3;
    const double mp =
        201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4;
    const double f =
        160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4;
    const double omega = 124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3;
    double correction = 0;
    for (const LunarTerm& term : kNewMoonTerms) {
        const double factor = term.eccentricityPower == 0   ? 1
                              : term.eccentricityPower == 1 ? e
                                                            : e * e;
        correction += term.coefficient * factor *
                      SinDegrees(term.sunAnomaly * m + term.moonAnomaly * mp + term.latitude * f +
                                 term.node * omega);
    }
    double planetary = 0;
    for (std::size_t i = 0; i < kPlanetaryTerms.size(); ++i) {
        const PlanetaryTerm& p = kPlanetaryTerms[i];
        const double argument = p.a + p.b * k - (i == 0 ? 0.009173 * t2 : 0.0);
        planetary += p.coefficient * SinDegrees(argument);
    }
    return jde + correction + planetary * 1e-6;
}

// Espenak and Meeus's Delta T in seconds for a decimal year y.
double DeltaTSeconds(double y) {
    if (y < -500 || y >= 2150) {
        const double u = (y - 1820) / 100;
        return -20 + 32 * u * u;
    }
    if (y < 500) {
        const double u = y / 100;
        return 10583.6 - 1014.41 * u + 33.78311 * u * u - 5.952053 * u * u * u -
               0.1798452 * std::pow(u, 4) + 0.022174192 * std::pow(u, 5) +
               0.0090316521 * std::pow(u, 6);
    }
    if (y < 1600) {
        const double u = (y - 1000) / 100;
        return 1574.2 - 556.01 * u + 71.23472 * u * u + 0.319781 * u * u * u -
               0.8503463 * std::pow(u, 4) - 0.005050998 * std::pow(u, 5) +
               0.0083572073 * std::pow(u, 6);
    }
    if (y < 1700) {
        const double t = y - 1600;
        return 120 - 0.9808 * t - 0.01532 * t * t + t * t * t / 7129;
    }
    if (y < 1800) {
        const double t = y - 1700;
        return 8.83 + 0.1603 * t - 0.0059285 * t * t + 0.00013336 * t * t * t -
               std::pow(t, 4) / 1174000;
    }
    if (y < 1860) {
        const double t = y - 1800;
        return 13.72 - 0.332447 * t + 0.0068612 * t * t + 0.0041116 * t * t * t -
               0.00037436 * std::pow(t, 4) + 0.0000121272 * std::pow(t, 5) -
               0.0000001699 * std::pow(t, 6) + 0.000000000875 * std::pow(t, 7);
    }
    if (y < 1900) {
        const double t = y - 1860;
        return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * t * t * t -
               0.0004473624 * std::pow(t, 4) + std::pow(t, 5) / 233174;
    }
    if (y < 1920) {
        const double t = y - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t -
               0.000197 * std::pow(t, 4);
    }
    if (y < 1941) {
        const double t = y - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (y < 1961) {
        const double t = y - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (y < 1986) {
        const double t = y - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (y < 2005) {
        const double t = y - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
               0.000651814 * std::pow(t, 4) + 0.00002373599 * std::pow(t, 5);
    }
    if (y < 2050) {
        const double t = y - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

// Mean obliquity of the ecliptic (Meeus 22.2) with the main term of its nutation, degrees.
double Obliquity(double c) {
    const double seconds = 21.448 - 46.8150 * c - 0.00059 * c * c + 0.001813 * c * c * c;
    const double omega = 125.04 - 1934.136 * c;
    return 23.0 + 26.0 / 60.0 + seconds / 3600.0 + 0.00256 * CosDegrees(omega);
}

double Declination(double jdUT) {
    const double c = CenturiesTT(jdUT);
    return std::asin(SinDegrees(Obliquity(c)) * SinDegrees(SolarLongitudeAt(c))) / kRadians;
}

// The local mean day number (as a JDN) of the moment `jdUT` at `longitude`.
double LocalDay(double jdUT, double longitude) {
    return std::floor(jdUT + 0.5 + longitude / 360.0);
}

}  // namespace

double DeltaT(double jdUT) {
    const double year = 2000.0 + (jdUT - kJ2000) / 365.2425;
    return DeltaTSeconds(year) / 86400.0;
}

double SolarLongitude(double jdUT) {
    return SolarLongitudeAt(CenturiesTT(jdUT));
}

double SolarLongitudeAfter(double degrees, double jdUT) {
    constexpr double kDaysPerDegree = kMeanTropicalYear / 360.0;
    double t = jdUT + kDaysPerDegree * Degrees360(degrees - SolarLongitude(jdUT));
    // Newton steps on the sun's motion (0.95 .. 1.02 degrees a day): each one gains about two
    // digits, so four reach the double's resolution.
    for (int i = 0; i < 4; ++i) {
        t += kDaysPerDegree * Degrees180(degrees - SolarLongitude(t));
    }
    return t < jdUT ? SolarLongitudeAfter(degrees, jdUT + 1.0) : t;
}

double NthNewMoon(long n) {
    const double tt = NewMoonTT(static_cast<double>(n));
    return tt - DeltaT(tt);
}

long NewMoonBefore(double jdUT) {
    auto k = static_cast<long>(std::floor((jdUT - 2451550.09766) / kMeanSynodicMonth));
    while (NthNewMoon(k + 1) < jdUT) {
        ++k;
    }
    while (NthNewMoon(k) >= jdUT) {
        --k;
    }
    return k;
}

double SeasonStart(int year, int degrees) {
    // 1 March of the year as a JD (0h UT), from the March-based day count.
    const double march1 = 1721119.5 + 365.0 * year + std::floor(year / 4.0) -
                          std::floor(year / 100.0) + std::floor(year / 400.0);
    // The March equinox falls near 20 March: start the search a week before each season.
    return SolarLongitudeAfter(degrees, march1 + 12.0 + kMeanTropicalYear * degrees / 360.0);
}

double EquationOfTime(double jdUT) {
    const double c = CenturiesTT(jdUT);
    const double tau = c / 10.0;
    const double meanLongitude = 280.4664567 + 360007.6982779 * tau + 0.03032028 * tau * tau +
                                 tau * tau * tau / 49931 - std::pow(tau, 4) / 15300 -
                                 std::pow(tau, 5) / 2000000;
    const double lambda = SolarLongitudeAt(c);
    const double epsilon = Obliquity(c);
    const double alpha =
        std::atan2(CosDegrees(epsilon) * SinDegrees(lambda), CosDegrees(lambda)) / kRadians;
    // The nutation in longitude is in alpha (apparent) and so must be in the mean longitude.
    const double e = meanLongitude - 0.0057183 - alpha + Nutation(c) * CosDegrees(epsilon);
    return Degrees180(e) / 360.0;
}

double NutationInLongitude(double jdUT) {
    return Nutation(CenturiesTT(jdUT));
}

double ObliquityOfDate(double jdUT) {
    return Obliquity(CenturiesTT(jdUT));
}

double TrueNoon(double jdUT, Place place) {
    const double meanNoon = LocalDay(jdUT, place.longitude) - place.longitude / 360.0;
    return meanNoon - EquationOfTime(meanNoon);
}

double TrueMidnightAfter(double jdUT, Place place) {
    const double meanMidnight = LocalDay(jdUT, place.longitude) + 0.5 - place.longitude / 360.0;
    return meanMidnight - EquationOfTime(meanMidnight);
}

double Sunset(double jdUT, Place place, double altitude) {
    const double noon = TrueNoon(jdUT, place);
    double sunset = noon + 0.25;
    for (int i = 0; i < 2; ++i) {
        const double delta = Declination(sunset);
        const double cosH =
            (SinDegrees(altitude) - SinDegrees(place.latitude) * SinDegrees(delta)) /
            (CosDegrees(place.latitude) * CosDegrees(delta));
        sunset = noon + std::acos(cosH) / kRadians / 360.0;
    }
    return sunset;
}

}  // namespace jdcore::astronomy
