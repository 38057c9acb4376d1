// The text helpers that the program calls (those without a caller in src/ are not tested), and
// unit differences: the texts accepted and refused in English and German, the sizes read, the
// parts beyond the range, and the unit words written back.
#include "datetext/string_utils.h"

#include <gtest/gtest.h>

#include "datetext/unit_difference.h"

#include "support/qstring_printer.h"

namespace daybridge {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Text in, text out: each helper that edits or cuts a string.
TEST(TextEdits, EachHelperOnItsCases) {
    using Edit = QString (*)(QString);
    struct Case {
        const char* what;
        Edit edit;
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {"trim left", [](QString t) { return TrimLeftWhite(t), t; }, "\t\r\n x y \x01\n",
         "x y \x01\n"},
        {"trim right", [](QString t) { return TrimRightWhite(t), t; }, "\t\r\n x y \x01\n",
         "\t\r\n x y"},
        {"trim", [](QString t) { return TrimWhite(t), t; }, "\t\r\n x y \x01\n", "x y"},
        {"trimmed blanks", [](QString t) { return TrimmedWhite(t); }, "   ", ""},
        {"cut at NUL", [](QString t) { return CutAtNul(t), t; },
         QString("ab") + QChar(u'\0') + "cd", "ab"},
        {"leading blank", [](QString t) { return NumberWithLeadingBlank(t.toInt()); }, "12", " 12"},
        {"leading blank, 0", [](QString t) { return NumberWithLeadingBlank(t.toInt()); }, "0",
         " 0"},
        {"leading sign", [](QString t) { return NumberWithLeadingBlank(t.toInt()); }, "-7", "-7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.edit(c.text), c.expected) << c.what;
    }
}

TEST(IsNumericText, SignsCommasAndBlanks) {
    struct Case {
        const char* text;
        bool allowSign;
        bool allowComma;
        bool expected;
    };
    const Case cases[] = {
        {" -12 ", true, false, true}, {"-12", false, false, false}, {"1,000", false, false, false},
        {"1,000", false, true, true}, {"", true, true, false},      {"   ", true, true, false},
        {"-", true, true, false},     {",,", true, true, false},    {"+,", true, true, false},
        {"1 2", true, true, false},   {"+-1", true, true, false},   {"007", false, false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNumericText(U(c.text), c.allowSign, c.allowComma), c.expected) << c.text;
    }
}

TEST(IsWordChar, DecidesOnTheEightBitCode) {
    struct Case {
        const char* ch;
        bool allowDigits;
        const char* extra;
        bool expected;
    };
    const Case cases[] = {
        {"×", true, "", false},   {"÷", true, "", false},  {"é", false, "", true},
        {"ÿ", false, "", true},   {"À", false, "", true},  {"5", false, "", false},
        {"5", true, "", true},    {"_", false, "_", true}, {"_", false, "", false},
        {"š", false, "", false},   // Windows-1252 code 154, not a word character by code
        {"€", false, "€", false},  // extra only counts below 128
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsWordChar(U(c.ch).front(), c.allowDigits, U(c.extra)), c.expected) << c.ch;
    }
    EXPECT_FALSE(IsWordChar(QChar(), true, QStringLiteral("x")));
}

TEST(AnsiCode, WindowsCodesBothWays) {
    EXPECT_EQ(AnsiCode(U("€").front()), 0x80);
    EXPECT_EQ(AnsiCode(U("Ÿ").front()), 0x9F);
    EXPECT_EQ(AnsiCode(U("é").front()), 0xE9);
    EXPECT_EQ(AnsiCode(U("中").front()), '?');
    for (int code = 0; code < 256; ++code) {
        const QChar c = CharOfAnsiCode(code);
        EXPECT_EQ(AnsiCode(c), code) << code;
    }
}

TEST(KeyFilters, DateAndDifferenceFields) {
    struct Case {
        int key;
        int length;
        const char* separator;
        bool iso;
        bool expected;
    };
    const Case dateCases[] = {
        {8, 18, "-", false, true},   {3, 18, "-", false, true},        {22, 18, "-", false, true},
        {24, 18, "-", false, true},  {'W', 18, "-", true, true},       {'w', 0, "-", true, true},
        {'W', 0, "-", false, false}, {'5', 17, "-", false, true},      {'5', 18, "-", false, false},
        {'/', 0, "/", false, true},  {'/', 0, "-", false, false},      {'(', 0, "-", false, true},
        {' ', 0, "-", false, true},  {'a', 0, "-", false, false},      {13, 0, "-", false, false},
        {0, 0, "-", false, false},   {0x110000, 0, "-", false, false},
    };
    for (const Case& c : dateCases) {
        EXPECT_EQ(IsAllowedDateKey(c.key, c.length, 18, U(c.separator), c.iso), c.expected)
            << c.key << " at " << c.length;
    }
    // The difference field also takes the letters and blanks of a unit difference ("1y2m").
    const Case differenceCases[] = {
        {'.', 0, ".", false, true},  {'.', 0, ",", false, false},  {',', 0, ",", false, true},
        {'-', 0, "", false, true},   {'7', 18, ",", false, false}, {8, 18, ",", false, true},
        {'(', 0, ",", false, false}, {'+', 0, ",", false, false},  {0xE4, 0, ",", false, false},
        {'y', 0, ".", false, true},  {'M', 0, ".", false, true},   {' ', 0, ".", false, true},
        {',', 0, ".", false, false}, {'d', 18, ".", false, false},
    };
    for (const Case& c : differenceCases) {
        EXPECT_EQ(IsAllowedDifferenceKey(c.key, c.length, 18, U(c.separator)), c.expected)
            << c.key << " at " << c.length;
    }
}

constexpr Language kEn = Language::English;
constexpr Language kDe = Language::German;
constexpr Language kFr = Language::French;

TEST(UnitDifference, AcceptedAndRefusedTexts) {
    struct Case {
        const char* text;
        Language language;
        ParseOutcome outcome;
        bool negative = false;
        std::int64_t years = 0, months = 0, weeks = 0, days = 0;
        unsigned typed = 0;
    };
    constexpr ParseOutcome V = ParseOutcome::Valid;
    constexpr ParseOutcome R = ParseOutcome::OutOfRange;
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
    };
    for (const Case& c : cases) {
        const UnitDifferenceParse p = ParseUnitDifference(QString::fromUtf8(c.text), c.language);
        EXPECT_EQ(p.outcome, c.outcome) << c.text;
        const UnitDifference& d = p.difference;
        EXPECT_EQ(d.negative, c.negative) << c.text;
        EXPECT_EQ(d.years, c.years) << c.text;
        EXPECT_EQ(d.months, c.months) << c.text;
        EXPECT_EQ(d.weeks, c.weeks) << c.text;
        EXPECT_EQ(d.days, c.days) << c.text;
        EXPECT_EQ(d.typed, c.typed) << c.text;
    }
    // Refused: a plain number (it stays a day count), units out of order or twice, German words
    // in English and English words in German, stray characters.
    for (const char* text : {"5",        "-5",     "",     "-",      "y",
                             "1.5m",     "1y2",    "1m1y", "1d1d",   "1 year and 2 months",
                             "1y,",      "1y,,2m", "- 1y", "1y -2m", "1x",
                             "3 Monate", "1T",     "1yd",  "1e3d",   "1\xc2\xa0y"}) {
        EXPECT_EQ(ParseUnitDifference(QString::fromUtf8(text), kEn).outcome, ParseOutcome::Invalid)
            << text;
    }
    for (const char* text : {"1", "1 year"}) {
        EXPECT_EQ(ParseUnitDifference(QString::fromUtf8(text), kDe).outcome, ParseOutcome::Invalid)
            << text;
    }
}

// More sentences, in each language: the golden units and units_de programs.
TEST(UnitDifference, WordsOfTheSentence) {
    struct Case {
        const char* text;
        Language language;
        const char* shown;
    };
    const Case cases[] = {
        {"2 weeks 1 day", kEn, "2 weeks, 1 day"},
        {"1J2M1W3T", kDe, "1 Jahr, 2 Monate, 1 Woche, 3 Tage"},
        {"2y1m", kDe, "2 Jahre, 1 Monat"},
        {"1a2m3s4j", kFr, "1 an, 2 mois, 3 semaines, 4 jours"},
        {"2 ans, 1 mois 1 Jour", kFr, "2 ans, 1 mois, 1 jour"},
        {"1y1w", kFr, "1 an, 1 semaine"},
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
