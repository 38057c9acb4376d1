// The text helpers that the program calls (those without a caller in src/ are not tested).
#include "datetext/string_utils.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace daybridge
