// Easter by both computi: against python-dateutil for every year it supports, and over the
// whole day range against what every Easter must be (a Sunday from 22 March to 25 April of its
// calendar, repeating after the computus's cycle).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>

#include "jdcore/day_count.h"
#include "jdcore/easter.h"
#include "support/python_reference.h"

namespace {

TEST(Easter, BothComputiAgreeWithDateutil) {
    // Western 1583-4099; Orthodox 326-4099 as a Julian date, and as a Gregorian one from 1583
    // (before 1583 dateutil shifts it by a fixed 10 days, not by the calendars' true distance).
    const auto out = daybridge::testing::RunPython(
        "from dateutil.easter import easter\n"
        "for y in range(326, 4100):\n"
        "    g = y >= 1583\n"
        "    j = easter(y, 1)\n"
        "    w = easter(y, 3).toordinal() + 1721425 if g else 0\n"
        "    o = easter(y, 2).toordinal() + 1721425 if g else 0\n"
        "    print(y, w, o, j.month, j.day)\n");
    if (!out) {
        GTEST_SKIP() << "python3-dateutil is not installed";
    }
    std::istringstream lines(*out);
    std::int64_t year = 0, western = 0, orthodox = 0, month = 0, day = 0;
    int years = 0;
    while (lines >> year >> western >> orthodox >> month >> day) {
        ++years;
        const std::int64_t ours = jdcore::orthodox_easter(year);
        ASSERT_EQ(ours, jdcore::jdn_from_julian(year, month, day)) << year;
        if (western != 0) {
            ASSERT_EQ(jdcore::western_easter(year), western) << year;
            ASSERT_EQ(ours, orthodox) << year;
        }
    }
    EXPECT_EQ(years, 4099 - 326 + 1);
}

TEST(Easter, EverywhereASundayInItsWindowRepeatingWithItsCycle) {
    std::mt19937_64 random(1583);
    std::uniform_int_distribution<std::int64_t> anyYear(-5760000, 5760000);
    constexpr std::int64_t kWesternCycleDays = std::int64_t{5700000} / 400 * 146097;
    constexpr std::int64_t kOrthodoxCycleDays = 532 / 4 * 1461;
    for (int i = 0; i < 200000; ++i) {
        const std::int64_t y = i < 2 ? (i == 0 ? -5760000 : 5760000) : anyYear(random);
        const std::int64_t w = jdcore::western_easter(y);
        const std::int64_t o = jdcore::orthodox_easter(y);
        ASSERT_EQ(jdcore::weekday_sunday0(w), 0) << y;
        ASSERT_EQ(jdcore::weekday_sunday0(o), 0) << y;
        ASSERT_GE(w, jdcore::jdn_from_gregorian(y, 3, 22)) << y;
        ASSERT_LE(w, jdcore::jdn_from_gregorian(y, 4, 25)) << y;
        ASSERT_GE(o, jdcore::jdn_from_julian(y, 3, 22)) << y;
        ASSERT_LE(o, jdcore::jdn_from_julian(y, 4, 25)) << y;
        ASSERT_EQ(jdcore::western_easter(y + 5700000), w + kWesternCycleDays) << y;
        ASSERT_EQ(jdcore::orthodox_easter(y - 532), o - kOrthodoxCycleDays) << y;
    }
}

}  // namespace
