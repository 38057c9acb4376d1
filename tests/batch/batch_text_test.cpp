#include "batch/batch_text.h"

#include <gtest/gtest.h>

#include "support/qstring_printer.h"

#include <QFile>
#include <QTemporaryDir>

namespace daybridge::batch {
namespace {

struct EndingCase {
    const char* name;
    QByteArray bytes;
    int limit;
    int expected;
};

// CR LF, CR alone (warned about), CR mixed with CR LF, no line end and tabs: golden programs
// cr_only, mixed_endings, no_line_end and tabs_in_statements, and every other one.
TEST(CheckLineEndings, CodesForEachKindOfFile) {
    QByteArray late(20000, 'x');
    late[16384] = '\f';  // the 16,385th character: beyond the limit
    QByteArray early(20000, 'x');
    early[16383] = '\f';                                // the 16,384th character: examined
    QByteArray lateLf = QByteArray(16384, 'x') + "\n";  // a bare LF beyond the limit
    const EndingCase cases[] = {
        {"lf only", "a\nb\n", kLineEndingLimit, kEndingsUnix},
        {"form feed", "a\r\n\fb\r\n", kLineEndingLimit, kEndingsControlChar},
        {"nul", QByteArray("a\0b", 3), kLineEndingLimit, kEndingsControlChar},
        {"empty", QByteArray(), kLineEndingLimit, kEndingsEmpty},
        {"control char at the limit", early, kLineEndingLimit, kEndingsControlChar},
        {"control char after the limit", late, kLineEndingLimit, kEndingsAcceptable},
        {"lf after the limit", lateLf, kLineEndingLimit, kEndingsAcceptable},
    };
    for (const EndingCase& c : cases) {
        EXPECT_EQ(CheckLineEndings(c.bytes, c.limit), c.expected) << c.name;
    }
}

TEST(CheckLineEndings, ReadsTheFile) {
    QTemporaryDir dir;
    EXPECT_EQ(CheckLineEndings(dir.filePath("missing.txt"), kLineEndingLimit), kEndingsNoFile);
    QFile unix(dir.filePath("unix.txt"));
    ASSERT_TRUE(unix.open(QIODevice::WriteOnly));
    unix.write("A = 1\nB = 2\n");
    unix.close();
    EXPECT_EQ(CheckLineEndings(unix.fileName(), kLineEndingLimit), kEndingsUnix);
}

// Decoding: FileText.DecodesUtf8OrWindows1252 (the program text is decoded as a file).
TEST(SplitProgramLines, EveryKindOfLineEnd) {
    EXPECT_EQ(SplitProgramLines("a\r\nb\rc\nd"), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(SplitProgramLines("a\r\n\r\nb\r\n"), QStringList({"a", "", "b"}));
    EXPECT_TRUE(SplitProgramLines("").isEmpty());
    EXPECT_EQ(SplitProgramLines("a\nb\nc\nd", 2), QStringList({"a", "b"}));
    EXPECT_EQ(SplitProgramLines(QString(100000, u'\n'), 5).size(), 5);
}

TEST(TextHelpers, TrimUpperAndStatementText) {
    EXPECT_EQ(TrimWhite(u"\t  a b \x01\r"), "a b");
    EXPECT_EQ(UpperText(u"dateVal(d, ce) ä"), QString::fromUtf8("DATEVAL(D, CE) Ä"));
    EXPECT_EQ(StatementText(u"x += 'a b'"), "X+=AB");
    EXPECT_EQ(LineNumberText(12), " 12");
    EXPECT_EQ(LineNumberText(-3), "-3");
}

struct LiteralCase {
    const char16_t* text;
    bool commas;
    LiteralKind kind;
    std::int32_t value;
};

TEST(ParseIntegerLiteral, SignsCommasAndRange) {
    const LiteralCase cases[] = {
        {u"12", false, LiteralKind::Value, 12},
        {u"-12", false, LiteralKind::Value, -12},
        {u"+7", false, LiteralKind::Value, 7},
        {u"1,000", true, LiteralKind::Value, 1000},
        {u"1,000", false, LiteralKind::NotLiteral, 0},
        {u"2147483647", false, LiteralKind::Value, 2147483647},
        {u"-2147483648", false, LiteralKind::Value, -2147483647 - 1},
        {u"2147483648", false, LiteralKind::Overflow, 0},
        {u"99999999999999999999", false, LiteralKind::Overflow, 0},
        {u"3.5", true, LiteralKind::NotLiteral, 0},
        {u"-", false, LiteralKind::NotLiteral, 0},
        {u"", false, LiteralKind::NotLiteral, 0},
        {u"1-2", false, LiteralKind::NotLiteral, 0},
    };
    for (const LiteralCase& c : cases) {
        const Literal l = ParseIntegerLiteral(QStringView(c.text), c.commas);
        EXPECT_EQ(l.kind, c.kind) << QString::fromUtf16(c.text).toStdString();
        if (c.kind == LiteralKind::Value) {
            EXPECT_EQ(l.value, c.value) << QString::fromUtf16(c.text).toStdString();
        }
    }
}

TEST(LeadingNumber, ReadsLikeVal) {
    EXPECT_EQ(LeadingNumber(u"3"), 3.0);
    EXPECT_EQ(LeadingNumber(u" 3 apples"), 3.0);
    EXPECT_EQ(LeadingNumber(u"2.5x"), 2.5);
    EXPECT_EQ(LeadingNumber(u"-4"), -4.0);
    EXPECT_EQ(LeadingNumber(u"COUNT"), 0.0);
    EXPECT_EQ(RoundToWhole(2.5), 2);
    EXPECT_EQ(RoundToWhole(3.5), 4);
    EXPECT_EQ(RoundToWhole(-2.6), -3);
    EXPECT_EQ(RoundToWhole(1e300), std::numeric_limits<std::int64_t>::max());
}

struct SplitCase {
    const char16_t* call;
    int count;
    std::array<const char16_t*, 4> args;
};

TEST(SplitArguments, OneToFourArguments) {
    const SplitCase cases[] = {
        {u"DOW(D)", 1, {u"D", u"", u"", u""}},
        {u"DOW( D )", 1, {u"D", u"", u"", u""}},
        {u"DATEVAL(D, CE)", 2, {u"D", u"CE", u"", u""}},
        {u"DATEVAL(D)", 2, {u"", u"", u"", u""}},
        {u"DAYOF(D, )", 2, {u"D", u"", u"", u""}},
        {u"ADD(,5)", 2, {u"", u"", u"", u""}},
        {u"DATE(ORD, 2012, 366)", 3, {u"ORD", u"2012", u"366", u""}},
        {u"DATE(CE, 2012, 2, 29)", 4, {u"CE", u"2012", u"2", u"29"}},
        {u"DATE(CE, 2012, 2)", 4, {u"CE", u"2012", u"", u""}},
        {u"DATE(CE, , 2, 3)", 4, {u"CE", u"", u"", u""}},
        {u"NOPARENS", 2, {u"", u"", u"", u""}},
        {u"DOW(DATE(CE, 2000, 1, 1))", 1, {u"DATE(CE, 2000, 1, 1", u"", u"", u""}},
    };
    for (const SplitCase& c : cases) {
        const auto args = SplitArguments(QStringView(c.call), c.count);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(args[static_cast<std::size_t>(i)],
                      QString::fromUtf16(c.args[static_cast<std::size_t>(i)]))
                << QString::fromUtf16(c.call).toStdString() << " argument " << i;
        }
    }
}

TEST(CountArguments, CommasAndEmptyParentheses) {
    EXPECT_EQ(CountArguments(u"P()"), 0);
    EXPECT_EQ(CountArguments(u"P( )"), 0);
    EXPECT_EQ(CountArguments(u"P(A)"), 1);
    EXPECT_EQ(CountArguments(u"P(A, B, C)"), 3);
    EXPECT_EQ(CountArguments(u"P(A,B,C,D,E)"), 5);
}

TEST(TextBetween1, PositionsFromOne) {
    EXPECT_EQ(TextBetween1(u"a(b)c(d)", u"(", u")", 1, true), "b");
    EXPECT_EQ(TextBetween1(u"a(b)c(d)", u"(", u")", 4, true), "d");
    EXPECT_EQ(TextBetween1(u"a(b", u"(", u")", 1, true), "");
    EXPECT_EQ(ArrayIndexText(u"HOLS[ 3 ]"), "3");
    EXPECT_EQ(ArrayIndexText(u"HOLS"), "");
}

TEST(ApplyColumnMask, KeepDropAndRest) {
    EXPECT_EQ(ApplyColumnMask(u"  2020-12-25 Christmas", u""), "2020-12-25");
    EXPECT_EQ(ApplyColumnMask(u"2020-12-25\tChristmas", u"!"), "2020-12-25");
    EXPECT_EQ(ApplyColumnMask(u"25.12.2020", u"**-**-****"), "25122020");
    EXPECT_EQ(ApplyColumnMask(u"abc", u"!"), "ABC");
    EXPECT_EQ(ApplyColumnMask(u"abcdef", u"x*!"), "BCDEF");
    EXPECT_EQ(ApplyColumnMask(u"ab", u"****"), "AB");
    EXPECT_EQ(ApplyColumnMask(u"", u"**"), "");
}

// The words after the first that belong to an element's date: a code on either side, a day
// name after a comma; anything else is the element's comment. Golden program literal_codes.
TEST(ArrayElementDateText, TheDateAndWhatTheOutputWritesAroundIt) {
    const char16_t* const cases[][3] = {
        {u"2026-12-25 Christmas Day", u"", u"2026-12-25"},
        {u"2026-12-25, Christmas", u"", u"2026-12-25"},
        {u"1403-09-16 per, Monday  Azar 16", u"", u"1403-09-16 PER, MONDAY"},
        {u"1403-09-16\tPER,\tMontag", u"", u"1403-09-16 PER, MONTAG"},
        {u"PER 1403-09-17 Azar 17", u"", u"PER 1403-09-17"},
        {u"HEB 5787-09-27, Monday note", u"", u"HEB 5787-09-27, MONDAY"},
        {u"2026-12-07x", u"", u"2026-12-07X"},
        {u"H1:2026-12-25 CE, Friday", u"---!", u"2026-12-25 CE, FRIDAY"},
        {u"0500-03-01 BC", u"", u"0500-03-01 BC"},
        {u"2026-12-25 Boxing", u"", u"2026-12-25"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArrayElementDateText(c[0], c[1]), QString::fromUtf16(c[2]))
            << QString::fromUtf16(c[0]).toStdString();
    }
}

// Well-formed lines: the golden programs with DOFOREACH.
TEST(RewriteDoForEach, MalformedLines) {
    for (const char16_t* bad :
         {u"DOFOREACH", u"DOFOREACH HOLS", u"DOFOREACH HOLS D", u"DOFOREACH HOLS AS",
          u"DOFOREACH HOLS AS D E", u"DOFOREACH HOLS IN D"}) {
        EXPECT_FALSE(RewriteDoForEach(QStringView(bad)).has_value())
            << QString::fromUtf16(bad).toStdString();
    }
}

TEST(NameCharacters, LettersDigitsAndMarks) {
    EXPECT_TRUE(IsNameText(u"A_1-B.C"));
    EXPECT_TRUE(IsNameText(QString::fromUtf8("ÄÖÜ")));
    EXPECT_FALSE(IsNameText(u"A B"));
    EXPECT_FALSE(IsNameText(u"A(1)"));
    EXPECT_FALSE(IsNameText(u""));
    EXPECT_TRUE(HasLetter(u"2020W01"));
    EXPECT_FALSE(HasLetter(u"2020-01-01"));
    EXPECT_TRUE(LooksLikeCall(u"F(X)"));
    EXPECT_FALSE(LooksLikeCall(u"(X)"));
    EXPECT_FALSE(LooksLikeCall(u"F(X"));
}

}  // namespace
}  // namespace daybridge::batch
