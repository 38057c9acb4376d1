#include "datetext/string_utils.h"

#include <gtest/gtest.h>

#include "support/qstring_printer.h"

namespace daybridge {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST(KeepSignedDigits, KeepsDigitsAndTheFirstLeadingSigns) {
    struct Case {
        const char* text;
        bool allowMinus;
        const char* expected;
    };
    const Case cases[] = {
        {"+-1,234 x", true, "+-1234"},
        {"+-1,234 x", false, "+1234"},
        {"12-3", true, "123"},
        {"--5", true, "-5"},
        {"++5", true, "+5"},
        {"5+", true, "5"},
        {"", true, ""},
        {"a-b+c", true, "-+"},
    };
    for (const Case& c : cases) {
        QString text = U(c.text);
        KeepSignedDigits(text, c.allowMinus);
        EXPECT_EQ(text, U(c.expected)) << c.text;
    }
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
        {"keep digits, hyphens and '.'", [](QString t) { return KeepOnlyChars(t, "."), t; },
         "31.12.2012 CE", "31.12.2012"},
        {"keep digits and hyphens", [](QString t) { return KeepOnlyChars(t, {}), t; },
         "(-500)/03, 01", "-5000301"},
        {"letters only", [](QString t) { return LettersOnly(t); }, U("aé1œ×Ÿß"), U("aé œ Ÿ ")},
        {"between, untrimmed", [](QString t) { return TextBetween(t, "(", ")", 1, false); },
         "f( a ) (b)", " a "},
        {"between, trimmed", [](QString t) { return TextBetween(t, "(", ")", 1, true); },
         "f( a ) (b)", "a"},
        {"between, from 4", [](QString t) { return TextBetween(t, "(", ")", 4, false); },
         "f( a ) (b)", "b"},
        {"between, unclosed", [](QString t) { return TextBetween(t, "(", ")", 1, false); }, "f(a",
         ""},
        {"between, long marks", [](QString t) { return TextBetween(t, "[[", "]]", 1, false); },
         "[[x]]", "x"},
        {"trim left", [](QString t) { return TrimLeftWhite(t), t; }, "\t\r\n x y \x01\n",
         "x y \x01\n"},
        {"trim right", [](QString t) { return TrimRightWhite(t), t; }, "\t\r\n x y \x01\n",
         "\t\r\n x y"},
        {"trim", [](QString t) { return TrimWhite(t), t; }, "\t\r\n x y \x01\n", "x y"},
        {"trimmed blanks", [](QString t) { return TrimmedWhite(t); }, "   ", ""},
        {"cut at NUL", [](QString t) { return CutAtNul(t), t; },
         QString("ab") + QChar(u'\0') + "cd", "ab"},
        {"replace ';'", [](QString t) { return ReplaceCharCode(t, ';', ','), t; }, "a;b;c",
         "a,b,c"},
        {"replace Windows code", [](QString t) { return ReplaceCharCode(t, 0x9A, 'S'), t; },
         U("aš"), "aS"},
        {"replace by no code", [](QString t) { return ReplaceCharCode(t, 'b', 300), t; }, "abc",
         "abc"},
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

TEST(WordLength, CountsFromStart) {
    EXPECT_EQ(WordLength(QStringLiteral("ab1c d"), 1, true, QString()), 4);
    EXPECT_EQ(WordLength(QStringLiteral("ab1c d"), 1, false, QString()), 2);
    EXPECT_EQ(WordLength(QStringLiteral("ab1c d"), 6, false, QString()), 1);
    EXPECT_EQ(WordLength(QStringLiteral("ab"), 3, false, QString()), 0);
    EXPECT_EQ(WordLength(QStringLiteral("ab"), 0, false, QString()), 0);
}

TEST(Letters, LetterSetIncludesWindowsLetters) {
    EXPECT_TRUE(IsAllLetters(U("ŠœÞþ")));
    EXPECT_FALSE(IsAllLetters(U("ab c")));
    EXPECT_FALSE(IsAllLetters(U("÷")));
}

TEST(FindFirstOf, PositionsCountFromOne) {
    int which = 99;
    EXPECT_EQ(FindFirstOf(QStringLiteral("abc"), 0, QStringLiteral("b"), which), -1);
    EXPECT_EQ(FindFirstOf(QStringLiteral("abcb"), 1, QStringLiteral("xcb"), which), 2);
    EXPECT_EQ(which, 3);
    EXPECT_EQ(FindFirstOf(QStringLiteral("abcb"), 3, QStringLiteral("xcb"), which), 3);
    EXPECT_EQ(which, 2);
    EXPECT_EQ(FindFirstOf(QStringLiteral("abc"), 1, QStringLiteral("xyz"), which), 4);
    EXPECT_EQ(which, 0);
    EXPECT_EQ(FindFirstOf(QStringLiteral("abc"), 9, QStringLiteral("a"), which), 4);
}

TEST(FindFirstNotOf, PositionsCountFromOne) {
    EXPECT_EQ(FindFirstNotOf(QStringLiteral("  x"), 1, QStringLiteral(" ")), 3);
    EXPECT_EQ(FindFirstNotOf(QStringLiteral("   "), 1, QStringLiteral(" ")), 4);
    EXPECT_EQ(FindFirstNotOf(QStringLiteral("abc"), 0, QStringLiteral(" ")), -1);
    EXPECT_EQ(FindFirstNotOf(QStringLiteral("aab"), 2, QStringLiteral("a")), 3);
}

TEST(IsParenthesised, NeedsTextBeforeAndInsideTheParentheses) {
    struct Case {
        const char* text;
        bool expected;
    };
    const Case cases[] = {{"a(b)", true},   {"f(x, y)", true}, {"(b)", false}, {"a()", false},
                          {"a(b)c", false}, {"a(b", false},    {"", false},    {")", false}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsParenthesised(U(c.text)), c.expected) << c.text;
    }
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

TEST(IndexInList, SearchesTheGivenSlice) {
    const QStringList list = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                              QStringLiteral("b")};
    EXPECT_EQ(IndexInList(QStringLiteral("b"), list, 0, 4), 1);
    EXPECT_EQ(IndexInList(QStringLiteral("b"), list, 2, 2), 3);
    EXPECT_EQ(IndexInList(QStringLiteral("b"), list, 0, 0), -1);
    EXPECT_EQ(IndexInList(QStringLiteral("c"), list, 0, 2), -1);
    EXPECT_EQ(IndexInList(QStringLiteral("B"), list, 0, 4), -1);
    EXPECT_EQ(IndexInList(QStringLiteral("b"), list, 3, 100), 3);
    EXPECT_EQ(IndexInList(QStringLiteral("b"), list, 10, 2), -1);
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
