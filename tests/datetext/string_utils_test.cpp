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

TEST(KeepOnlyChars, KeepsDigitsHyphensAndExtra) {
    QString text = QStringLiteral("31.12.2012 CE");
    KeepOnlyChars(text, QStringLiteral("."));
    EXPECT_EQ(text, QStringLiteral("31.12.2012"));
    text = QStringLiteral("(-500)/03, 01");
    KeepOnlyChars(text, QString());
    EXPECT_EQ(text, QStringLiteral("-5000301"));
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
    EXPECT_EQ(LettersOnly(U("aé1œ×Ÿß")), U("aé œ Ÿ "));
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

TEST(TextBetween, FirstOpenAndNextClose) {
    EXPECT_EQ(TextBetween(QStringLiteral("f( a ) (b)"), QStringLiteral("("), QStringLiteral(")"), 1,
                          false),
              QStringLiteral(" a "));
    EXPECT_EQ(TextBetween(QStringLiteral("f( a ) (b)"), QStringLiteral("("), QStringLiteral(")"), 1,
                          true),
              QStringLiteral("a"));
    EXPECT_EQ(TextBetween(QStringLiteral("f( a ) (b)"), QStringLiteral("("), QStringLiteral(")"), 4,
                          false),
              QStringLiteral("b"));
    EXPECT_EQ(
        TextBetween(QStringLiteral("f(a"), QStringLiteral("("), QStringLiteral(")"), 1, false),
        QString());
    EXPECT_EQ(
        TextBetween(QStringLiteral("[[x]]"), QStringLiteral("[["), QStringLiteral("]]"), 1, false),
        QStringLiteral("x"));
}

TEST(Trim, RemovesCodesUpToBlank) {
    QString text = QStringLiteral("\t\r\n x y \x01\n");
    QString left = text;
    TrimLeftWhite(left);
    EXPECT_EQ(left, QStringLiteral("x y \x01\n"));
    QString right = text;
    TrimRightWhite(right);
    EXPECT_EQ(right, QStringLiteral("\t\r\n x y"));
    TrimWhite(text);
    EXPECT_EQ(text, QStringLiteral("x y"));
    EXPECT_EQ(TrimmedWhite(QStringLiteral("   ")), QString());
}

TEST(CutAtNul, CutsBeforeTheFirstZero) {
    QString text = QStringLiteral("ab");
    text.append(QChar(u'\0'));
    text.append(QStringLiteral("cd"));
    CutAtNul(text);
    EXPECT_EQ(text, QStringLiteral("ab"));
}

TEST(ReplaceCharCode, UsesWindowsCodes) {
    QString text = QStringLiteral("a;b;c");
    ReplaceCharCode(text, ';', ',');
    EXPECT_EQ(text, QStringLiteral("a,b,c"));
    text = U("aš");
    ReplaceCharCode(text, 0x9A, 'S');
    EXPECT_EQ(text, QStringLiteral("aS"));
    text = QStringLiteral("abc");
    ReplaceCharCode(text, 'b', 300);
    EXPECT_EQ(text, QStringLiteral("abc"));
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
    const Case differenceCases[] = {
        {'.', 0, ".", false, true},  {'.', 0, ",", false, false},  {',', 0, ",", false, true},
        {'-', 0, "", false, true},   {'7', 18, ",", false, false}, {8, 18, ",", false, true},
        {'(', 0, ",", false, false}, {' ', 0, ",", false, false},
    };
    for (const Case& c : differenceCases) {
        EXPECT_EQ(IsAllowedDifferenceKey(c.key, c.length, 18, U(c.separator)), c.expected)
            << c.key << " at " << c.length;
    }
}

TEST(NumberWithLeadingBlank, SignOrBlank) {
    EXPECT_EQ(NumberWithLeadingBlank(12), QStringLiteral(" 12"));
    EXPECT_EQ(NumberWithLeadingBlank(0), QStringLiteral(" 0"));
    EXPECT_EQ(NumberWithLeadingBlank(-7), QStringLiteral("-7"));
}

}  // namespace
}  // namespace daybridge
