// Reading typed dates (str_to_date), digit grouping and day differences.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

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
    // Wrong shapes.
    {"", kFormatYMD, 'G', kInvalid, 0, 0, 0},
    {"2012-12", kFormatYMD, 'G', kInvalid, 0, 0, 0},
    {"2012-12-31-1", kFormatYMD, 'G', kInvalid, 0, 0, 0},
    {"2012-12/31", kFormatYMD, 'G', kInvalid, 0, 0, 0},
    {"2012--12-31", kFormatYMD, 'G', kInvalid, 0, 0, 0},
    {"2012-12-", kFormatYMD, 'G', kInvalid, 0, 0, 0},
    {"-2012-12", kFormatYMD, 'G', kInvalid, 0, 0, 0},
    {"a-b-c", kFormatYMD, 'G', kInvalid, 0, 0, 0},
    {"2012-1 2-31", kFormatYMD, 'G', kInvalid, 0, 0, 0},
    {"2012-12-31", 7, 'G', kInvalid, 0, 0, 0},
    {"2012-12-31", kFormatYMD, 'X', kInvalid, 0, 0, 0},
    {"2012-12-31", kFormatYMD, 0, kInvalid, 0, 0, 0},
    {"2012-99999999999999999999-01", kFormatYMD, 'G', kInvalid, 0, 0, 0},
    // Year limits.
    {"5700000-01-01", kFormatYMD, 'G', kValid, 5700000, 1, 1},
    {"-5700000-12-31", kFormatYMD, 'J', kValid, -5700000, 12, 31},
    {"5800001-01-01", kFormatYMD, 'G', kOutOfRange, 0, 0, 0},
    {"-5800001-01-01", kFormatYMD, 'G', kOutOfRange, 0, 0, 0},
    {"5800001-02-30", kFormatYMD, 'G', kOutOfRange, 0, 0, 0},
    {"99999999999999999999-01-01", kFormatYMD, 'G', kOutOfRange, 0, 0, 0},
    {"5800000-01-01", kFormatYMD, 'G', kOutOfRange, 0, 0, 0},  // JDN beyond 2.1e9
    {"-5800000-01-01", kFormatYMD, 'I', kOutOfRange, 0, 0, 0},
};

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

struct GroupCase {
    const char* digits;
    char separator;
    const char* grouped;
};
const GroupCase kGroups[] = {
    {"1234567", ',', "1,234,567"},
    {"-1234567", ',', "-1,234,567"},
    {"+1234", '.', "+1.234"},
    {"-2147483648", '.', "-2.147.483.648"},
    {"1000", ',', "1,000"},
    {"999", ',', "999"},
    {"0", ',', "0"},
    {"", ',', ""},
    {"-", ',', "-"},
    {"12a4", ',', "12a4"},
    {"1,234", ',', "1,234"},
    {"--1234", ',', "--1234"},
};

TEST(SeparateThousands, GroupsDigitsInThreesWithTheSignOutside) {
    for (const GroupCase& c : kGroups) {
        EXPECT_EQ(jdcore::separate_thousands(c.digits, c.separator), c.grouped) << c.digits;
    }
}

struct ElapsedCase {
    DateRecord later, earlier;
    std::int32_t days;
    std::int32_t status;
};
const ElapsedCase kElapsed[] = {
    {{2012, 3, 1, 0, 0, 0}, {2012, 1, 1, 0, 0, 0}, 60, 0},  // calendar 0 is Gregorian
    {{1900, 3, 1, 0, 0, 0}, {1900, 1, 1, 0, 0, 0}, 59, 0},
    {{1900, 3, 1, 'J', 0, 0}, {1900, 1, 1, 'J', 0, 0}, 60, 0},
    {{2013, 1, 1, 0, 0, 0}, {2012, 1, 1, 0, 0, 0}, 366, 0},
    {{2012, 1, 1, 0, 0, 0}, {2013, 1, 1, 0, 0, 0}, -366, 0},
    {{2000, 1, 1, 'J', 0, 0}, {2000, 1, 1, 'G', 0, 0}, 13, 0},
    {{2024, 1, 1, 'A', 0, 0}, {2023, 1, 1, 'A', 0, 0}, 366, 0},
    {{2, 1, 1, 'V', 0, 0}, {1, 1, 1, 'V', 0, 0}, 364, 0},
    {{2012, 3, 1, 'X', 0, 0}, {2012, 1, 1, 0, 0, 0}, 0, -1},
    {{2012, 3, 1, 0, 0, 0}, {2012, 1, 1, '?', 0, 0}, 0, -1},
    {{2147483647, 1, 1, 0, 0, 0}, {-2147483647, 1, 1, 0, 0, 0}, 2147483647, 0},
};

TEST(DaysElapsed, CountsInEachRecordsCalendar) {
    for (const ElapsedCase& c : kElapsed) {
        std::int32_t status = 99;
        EXPECT_EQ(jdcore::days_elapsed(c.later, c.earlier, status), c.days)
            << c.later.year << "/" << c.later.calendar;
        EXPECT_EQ(status, c.status);
    }
}

}  // namespace
