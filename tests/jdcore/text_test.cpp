// Reading typed dates (str_to_date), digit grouping and day differences.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <utility>

#include "jdcore/jdcore.h"
#include "jdcore/records.h"

namespace {

using jdcore::DateRecord;
using jdcore::kFormatDMY;
using jdcore::kFormatMDY;
using jdcore::kFormatYMD;
using jdcore::kInvalid;
using jdcore::kOutOfRange;
using jdcore::kValid;

struct ReadCase {
    const char* text;
    std::int32_t format;
    char letter;
    std::int32_t result;
    std::int32_t year, month, day;  // checked when the result is kValid
};

const ReadCase kShapes[] = {
    // The three orders, separators and signs.
    {"01-03--500", kFormatDMY, 'J', kValid, -500, 3, 1},
    {"03/01/-500", kFormatMDY, 'J', kValid, -500, 3, 1},
    {"+2012-+1-+1", kFormatYMD, 'G', kValid, 2012, 1, 1},
    {"0002012-012-0031", kFormatYMD, 'G', kValid, 2012, 12, 31},
    {"0-1-1", kFormatYMD, 'G', kValid, 0, 1, 1},
    {" 2012-1-1 ", kFormatYMD, 'g', kValid, 2012, 1, 1},
    // An unknown order or calendar letter.
    {"2012-12-31", 7, 'G', kInvalid, 0, 0, 0},
    {"2012-12-31", kFormatYMD, 'X', kInvalid, 0, 0, 0},
    {"2012-12-31", kFormatYMD, 0, kInvalid, 0, 0, 0},
    // Year limits: more below, and the last readable days in JdnLimitIsInclusive.
    {"-5800000-01-01", kFormatYMD, 'I', kOutOfRange, 0, 0, 0}};

TEST(StrToDate, ShapesCalendarsAndLimits) {
    for (const ReadCase& c : kShapes) {
        SCOPED_TRACE(std::string(c.text) + " format " + std::to_string(c.format) + " " + c.letter);
        DateRecord r{};
        ASSERT_EQ(jdcore::str_to_date(c.text, c.format, r, c.letter), c.result);
        if (c.result == kValid) {
            EXPECT_EQ(r.year, c.year);
            EXPECT_EQ(r.month, c.month);
            EXPECT_EQ(r.day, c.day);
            EXPECT_EQ(r.calendar, c.letter >= 'a' ? c.letter - 'a' + 'A' : c.letter);
            EXPECT_EQ(r.jdn, jdcore_test::Read(r));
        }
    }
    // Gregorian year-month-day texts of a wrong shape, then beyond the years or day numbers.
    for (const char* text : {"", "2012-12", "2012-12-31-1", "2012-12/31", "2012--12-31", "2012-12-",
                             "-2012-12", "a-b-c", "2012-1 2-31", "2012-99999999999999999999-01"}) {
        DateRecord r{};
        EXPECT_EQ(jdcore::str_to_date(text, kFormatYMD, r, 'G'), kInvalid) << text;
    }
    for (const char* text : {"5800001-01-01", "-5800001-01-01", "5800001-02-30",
                             "99999999999999999999-01-01", "5800000-01-01"}) {
        DateRecord r{};
        EXPECT_EQ(jdcore::str_to_date(text, kFormatYMD, r, 'G'), kOutOfRange) << text;
    }
}

// The last readable day on either side is the one whose JDN is +-2,100,000,000.
TEST(StrToDate, JdnLimitIsInclusive) {
    for (char letter : {'G', 'J', 'V', 'A', 'I'}) {
        for (std::int64_t edge : {std::int64_t{2100000000}, std::int64_t{-2100000000}}) {
            for (std::int64_t step : {0, 1}) {
                const DateRecord shown = jdcore_test::Show(
                    static_cast<std::int32_t>(edge + (edge > 0 ? step : -step)), letter);
                const std::string text = std::to_string(shown.year) + "/" +
                                         std::to_string(shown.month) + "/" +
                                         std::to_string(shown.day);
                DateRecord r{};
                EXPECT_EQ(jdcore::str_to_date(text, kFormatYMD, r, letter),
                          step == 0 ? kValid : kOutOfRange)
                    << letter << " " << text;
            }
        }
    }
}

TEST(SeparateThousands, GroupsDigitsInThreesWithTheSignOutside) {
    const std::pair<const char*, const char*> grouped[] = {{"1234567", "1,234,567"},
                                                           {"-1234567", "-1,234,567"},
                                                           {"+1234", "+1,234"},
                                                           {"1000", "1,000"},
                                                           {"-2147483648", "-2,147,483,648"}};
    for (const auto& [digits, want] : grouped) {
        EXPECT_EQ(jdcore::separate_thousands(digits, ','), want) << digits;
    }
    EXPECT_EQ(jdcore::separate_thousands("-2147483648", '.'), "-2.147.483.648");
    // Up to three digits, and texts that are not a signed number, stay as they are.
    for (const char* text : {"999", "0", "", "-", "12a4", "1,234", "--1234"}) {
        EXPECT_EQ(jdcore::separate_thousands(text, ','), text) << text;
    }
}

// The days between two records are the difference of their day numbers, each in its own
// calendar (0 is Gregorian), saturated at 32 bits; an unknown calendar is refused.
TEST(DaysElapsed, DifferenceOfTheDayNumbers) {
    constexpr std::int64_t kMax = 2147483647;
    std::mt19937 random(4713);
    std::uniform_int_distribution<std::int32_t> day(-2100000000, 2100000000);
    const char calendars[] = {0, 'G', 'J', 'V', 'I', 'A'};
    for (int i = 0; i < 3000; ++i) {
        const std::int32_t a = day(random), b = day(random);
        const char first = calendars[i % 6], second = calendars[i / 6 % 6];
        DateRecord later = jdcore_test::Show(a, first == 0 ? 'G' : first);
        DateRecord earlier = jdcore_test::Show(b, second == 0 ? 'G' : second);
        later.calendar = first;
        earlier.calendar = second;
        std::int32_t status = 99;
        EXPECT_EQ(jdcore::days_elapsed(later, earlier, status),
                  std::clamp(std::int64_t{a} - b, -kMax, kMax))
            << a << first << " " << b << second;
        EXPECT_EQ(status, 0);
    }
    for (char unknown : {'X', '?'}) {
        std::int32_t status = 99;
        EXPECT_EQ(jdcore::days_elapsed({2012, 3, 1, unknown, 0, 0}, {2012, 1, 1, 0, 0, 0}, status),
                  0);
        EXPECT_EQ(status, -1);
        EXPECT_EQ(jdcore::days_elapsed({2012, 3, 1, 0, 0, 0}, {2012, 1, 1, unknown, 0, 0}, status),
                  0);
    }
}

}  // namespace
