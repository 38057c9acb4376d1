// Unit differences: the texts accepted and refused in English and German, the sizes read,
// the parts beyond the range, and the unit words written back.
#include <gtest/gtest.h>

#include "datetext/unit_difference.h"

namespace daybridge {
namespace {

constexpr int kEn = 0;
constexpr int kDe = 1;

TEST(UnitDifference, AcceptedAndRefusedTexts) {
    struct Case {
        const char* text;
        int language;
        int outcome;
        bool negative = false;
        std::int64_t years = 0, months = 0, weeks = 0, days = 0;
        unsigned typed = 0;
    };
    constexpr int V = kParseValid;
    constexpr int I = kParseInvalid;
    constexpr int R = kParseOutOfRange;
    constexpr unsigned Y = kUnitYears, M = kUnitMonths, W = kUnitWeeks, D = kUnitDays;
    const Case cases[] = {
        {"1y2m3d", kEn, V, false, 1, 2, 0, 3, Y | M | D},
        {"3m", kEn, V, false, 0, 3, 0, 0, M},
        {"-1y", kEn, V, true, 1, 0, 0, 0, Y},
        {"+2W", kEn, V, false, 0, 0, 2, 0, W},
        {"  1 year 2 months ", kEn, V, false, 1, 2, 0, 0, Y | M},
        {"1 Year, 1 Month, 1 Week, 1 Day", kEn, V, false, 1, 1, 1, 1, Y | M | W | D},
        {"1y 0m", kEn, V, false, 1, 0, 0, 0, Y | M},
        {"2 mo", kEn, V, false, 0, 2, 0, 0, M},
        {"007d", kEn, V, false, 0, 0, 0, 7, D},
        {"1J2M3T", kDe, V, false, 1, 2, 0, 3, Y | M | D},
        {"3 Monate", kDe, V, false, 0, 3, 0, 0, M},
        {"1 Jahr, 2 Wochen", kDe, V, false, 1, 0, 2, 0, Y | W},
        {"1y2m3d", kDe, V, false, 1, 2, 0, 3, Y | M | D},  // English letters always
        {"12000000y150000000m600000000w4200000000d", kEn, V, false, 12'000'000, 150'000'000,
         600'000'000, 4'200'000'000, Y | M | W | D},
        {"12000001y", kEn, R, false, 12'000'000, 0, 0, 0, Y},
        {"150000001 months", kEn, R, false, 0, 150'000'000, 0, 0, M},
        {"99999999999999999999999d", kEn, R, false, 0, 0, 0, 4'200'000'000, D},
        {"5", kEn, I},  // a plain number stays a day count
        {"-5", kEn, I},
        {"", kEn, I},
        {"-", kEn, I},
        {"y", kEn, I},
        {"1", kDe, I},
        {"1.5m", kEn, I},
        {"1y2", kEn, I},
        {"1m1y", kEn, I},  // out of order
        {"1d1d", kEn, I},  // twice
        {"1 year and 2 months", kEn, I},
        {"1y,", kEn, I},
        {"1y,,2m", kEn, I},
        {"- 1y", kEn, I},
        {"1y -2m", kEn, I},
        {"1x", kEn, I},
        {"3 Monate", kEn, I},  // German words in German only
        {"1T", kEn, I},
        {"1 year", kDe, I},
        {"1yd", kEn, I},
        {"1e3d", kEn, I},
        {"1\xc2\xa0y", kEn, I},
    };
    for (const Case& c : cases) {
        const UnitDifferenceParse p = ParseUnitDifference(QString::fromUtf8(c.text), c.language);
        EXPECT_EQ(p.outcome, c.outcome) << c.text;
        if (c.outcome != kParseInvalid) {
            const UnitDifference& d = p.difference;
            EXPECT_EQ(d.negative, c.negative) << c.text;
            EXPECT_EQ(d.years, c.years) << c.text;
            EXPECT_EQ(d.months, c.months) << c.text;
            EXPECT_EQ(d.weeks, c.weeks) << c.text;
            EXPECT_EQ(d.days, c.days) << c.text;
            EXPECT_EQ(d.typed, c.typed) << c.text;
        }
    }
}

// More sentences, in both languages: the golden units and units_de programs.
TEST(UnitDifference, WordsOfTheSentence) {
    struct Case {
        const char* text;
        int language;
        const char* shown;
    };
    const Case cases[] = {
        {"2 weeks 1 day", kEn, "2 weeks, 1 day"},
        {"1J2M1W3T", kDe, "1 Jahr, 2 Monate, 1 Woche, 3 Tage"},
        {"2y1m", kDe, "2 Jahre, 1 Monat"},
    };
    for (const Case& c : cases) {
        const UnitDifferenceParse p = ParseUnitDifference(QString::fromUtf8(c.text), c.language);
        EXPECT_EQ(UnitDifferenceText(p.difference, c.language), QString::fromUtf8(c.shown));
    }
    EXPECT_EQ(UnitDifferenceText({false, 0, 0, 2, 0, 0u}, kEn), QStringLiteral("2 weeks"));
    EXPECT_EQ(UnitDifferenceText({}, kDe), QStringLiteral("0 Tage"));
}

}  // namespace
}  // namespace daybridge
