#include "batch/expressions.h"

#include <gtest/gtest.h>

#include <QHash>

#include "calendar/calendar_table.h"
#include "support/qstring_printer.h"

namespace daybridge::batch {
namespace {

class FakeContext : public ExpressionContext {
  public:
    std::optional<std::int32_t> LookupVariable(const QString& name) const override {
        const auto it = variables.constFind(name);
        if (it == variables.constEnd()) {
            return std::nullopt;
        }
        return *it;
    }
    std::optional<int> CountArray(const QString& name) const override {
        int n = 0;
        while (variables.contains(name + "[" + QString::number(n + 1) + "]")) {
            ++n;
        }
        return n == 0 ? std::nullopt : std::optional<int>(n);
    }
    std::int32_t TodayJdn() const override { return 2451545; }  // Saturday 2000-01-01
    LastResult Result() const override { return result; }
    const TextFormat& Format() const override { return format; }
    QString Text(int id) const override { return QStringLiteral("text %1").arg(id); }

    QHash<QString, std::int32_t> variables;
    LastResult result;
    TextFormat format;
};

struct NumberCase {
    const char* expression;
    bool ok;
    std::int32_t value;
};

class ExpressionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        context.variables = {{"D", 2451545}, {"Y", 2012}, {"A[1]", 5},        {"A[2]", 6},
                             {"A[3]", 7},    {"I", 2},    {"BIG", 2147483647}};
        context.format.regional = QLocale(QLocale::English, QLocale::UnitedStates);
    }
    std::int32_t Number(const char* text, bool& ok) {
        return EvaluateNumber(ParseCall(QString::fromLatin1(text)), context, ok);
    }
    QString Text(const char* text, bool& ok) {
        return EvaluateText(ParseCall(QString::fromLatin1(text)), context, ok);
    }
    FakeContext context;
};

TEST_F(ExpressionTest, NumbersOfEveryBuiltin) {
    const NumberCase cases[] = {
        {"VAL(D)", true, 2451545},
        {"VAL(5)", false, 0},
        {"VAL(TODAY)", true, 2451545},
        {"VAL(A[I])", true, 6},
        {"DOW(D)", true, 6},
        {"dow(today)", true, 6},
        {"SUBTRACT(1, 10)", true, 9},
        {"ADD(D, 1)", true, 2451546},
        {"ADD(, 1)", false, 0},
        {"ADD(BIG, 1)", false, 0},
        {"ISLEAPYEAR(2000, CE)", true, 1},
        {"ISLEAPYEAR(1900, CE)", true, 0},
        {"ISLEAPYEAR(1900, JC)", true, 1},
        {"ISLEAPYEAR(2000, AN)", true, 0},
        {"ISLEAPYEAR(2000, JDN)", false, 0},
        {"ISLEAPYEAR(2015, ISO)", true, 1},
        {"NEWYEARSDAY(2000, CE)", true, 2451545},
        {"NEWYEARSDAY(2000, JDN)", false, 0},
        {"NEWYEARSDAY(99999999, CE)", false, 0},
        {"DATE(CE, 2012, 2, 29)", true, 2455987},
        {"DATE(CE, 2012, 2, 30)", false, 0},
        {"DATE(JDN, 1, 1, 1)", true, 0},
        {"DATE(ORD, 2012, 366)", true, 2456293},
        {"DATE(ORD, 2011, 366)", false, 0},
        {"DATE(ORD, 2012, 60, 1)", false, 0},
        {"DATE(ISO, 2015, 53, 1)", true, 2457385},
        {"DATE(ISO, 2014, 53, 1)", false, 0},
        {"DATE(, 2014, 1, 1)", false, 0},
        {"DAYOF(D, ORD)", true, 1},
        {"DAYOF(D, ISO)", true, 6},
        {"DAYOF(D, CE)", true, 1},
        {"DAYOF(D, JC)", true, 19},
        {"DAYOF(D, JDN)", false, 0},
        {"WEEKOF(D, ISO)", true, 52},
        {"WEEKOF(D, CE)", false, 0},
        {"MONTHOF(D, JC)", true, 12},
        {"MONTHOF(D, ISO)", false, 0},
        {"YEAROF(D, ISO)", true, 1999},
        {"YEAROF(D, CE)", true, 2000},
        {"YEAROF(BIG, CE)", false, 0},
        {"YEARINHEXADE()", true, 0},
        {"COUNT(A)", true, 3},
        {"COUNT(B)", false, 0},
        {"MONTHNAME(1, CE)", false, 0},
        // The world's calendars (2000-01-01 is 5760-10-23 HEB, 1420-09-24 ISL).
        {"DAYOF(D, HEB)", true, 23},
        {"MONTHOF(D, ISL)", true, 9},
        {"YEAROF(D, ISL)", true, 1420},
        {"DATE(HEB, 5760, 10, 23)", true, 2451545},
        {"DATE(HEB, 5760, 13, 1)", true, 2451612},  // 5760 is a leap year
        {"DATE(HEB, 5761, 13, 1)", false, 0},
        {"DATE(ISL, 1420, 9, 31)", false, 0},
        {"DATE(MAY, 13, 0, 0)", false, 0},
        {"DATE(MJD, 1, 1, 1)", false, 0},
        {"DAYOF(D, MJD)", false, 0},
        {"YEAROF(D, MAY)", false, 0},
        {"ISLEAPYEAR(5760, HEB)", true, 1},
        {"ISLEAPYEAR(1420, ISL)", true, 1},
        {"ISLEAPYEAR(1421, ISL)", true, 0},
        {"ISLEAPYEAR(7000000, PER)", false, 0},
        {"ISLEAPYEAR(1, MJD)", false, 0},
        {"NOSUCH(1)", false, 0},
    };
    for (const NumberCase& c : cases) {
        bool ok = true;
        const std::int32_t value = Number(c.expression, ok);
        EXPECT_EQ(ok, c.ok) << c.expression;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.expression;
        }
    }
}

TEST_F(ExpressionTest, CalendarArgumentMissingFlag) {
    bool ok = true;
    for (const char* missing : {"DAYOF(D)", "DAYOF(D, )", "DATEVAL(D)", "DATE(, 1, 1, 1)"}) {
        context.calendarArgumentMissing = false;
        Number(missing, ok);
        EXPECT_FALSE(ok) << missing;
        EXPECT_TRUE(context.calendarArgumentMissing) << missing;
    }
    context.calendarArgumentMissing = true;
    Number("DAYOF(NOSUCH, CE)", ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(context.calendarArgumentMissing);
}

TEST_F(ExpressionTest, OverflowIsFlagged) {
    bool ok = true;
    context.overflow = false;
    Number("ADD(BIG, BIG)", ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(context.overflow);
    context.overflow = false;
    Number("SUBTRACT(BIG, -5)", ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(context.overflow);
    context.overflow = false;
    EXPECT_EQ(Number("SUBTRACT(5, BIG)", ok), 2147483642);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(context.overflow);
}

TEST_F(ExpressionTest, ResultDependsOnItsKind) {
    context.result = LastResult{false, 2451545, 30};
    bool ok = true;
    EXPECT_EQ(Number("VAL(RESULT)", ok), 30);
    EXPECT_EQ(Number("DOW(RESULT)", ok), 6);
    Number("DATEVAL(RESULT, CE)", ok);
    EXPECT_FALSE(ok);  // only a date result
    context.result.isDate = true;
    EXPECT_EQ(Number("DATEVAL(RESULT, CE)", ok), 2451545);
    EXPECT_TRUE(ok);
}

struct TextCase {
    const char* expression;
    const char* text;
};

TEST_F(ExpressionTest, TextForms) {
    context.variables.insert("M", 9999);
    // The plain text forms of every built-in: golden program builtins. Here: grouping by the
    // regional settings, which only a number shown by a function gets.
    const TextCase cases[] = {
        {"VAL(M)", "9999"},
        {"ADD(M, 0)", "9,999"},
        {"VAL(D)", "2,451,545"},
        {"NEWYEARSDAY(2000, CE)", "2,451,545"},
        {"DATEVAL(D, JDN)", "2,451,545 JDN"},
        {"DAYOF(D, ORD)", "1"},
        {"DATE(ORD, 2012, 60)", "2012-060"},
    };
    for (const TextCase& c : cases) {
        bool ok = false;
        EXPECT_EQ(Text(c.expression, ok), QString::fromUtf8(c.text)) << c.expression;
        EXPECT_TRUE(ok) << c.expression;
    }
    bool ok = true;
    EXPECT_EQ(Text("MONTHNAME(13, CE)", ok), "");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Text("DATEVAL(D)", ok), "");
    EXPECT_FALSE(ok);
}

TEST_F(ExpressionTest, OperandReaders) {
    bool ok = true;
    EXPECT_EQ(EvaluateOperand(u" -12 ", context, ok), -12);
    EXPECT_TRUE(ok);
    EXPECT_EQ(EvaluateOperand(u"today", context, ok), 2451545);
    EXPECT_EQ(EvaluateOperand(u"a[1]", context, ok), 5);
    EXPECT_TRUE(ok);
    EvaluateOperand(u"1,000", context, ok);
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(EvaluateNumericOperand(u"1,000", context, ok), 1000);
    EXPECT_TRUE(ok);
    EvaluateNumericOperand(u"TODAY", context, ok);
    EXPECT_FALSE(ok);  // a plain name there, and there is no such variable
    ok = true;
    EvaluateOperand(u"99999999999", context, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ResolveElementName("A[I]", context), std::optional<QString>("A[2]"));
    EXPECT_EQ(ResolveElementName("A[NOSUCH]", context), std::nullopt);
}

TEST(RecognizeBuiltin, OrderAndPrefixes) {
    EXPECT_EQ(RecognizeBuiltin(u"DATEVAL(D, CE)"), Builtin::DateVal);
    EXPECT_EQ(RecognizeBuiltin(u"DATE(CE, 1, 1, 1)"), Builtin::Date);
    EXPECT_EQ(RecognizeBuiltin(u"DAYOF(D, CE)"), Builtin::DayOf);
    EXPECT_EQ(RecognizeBuiltin(u"MONTHNAME(1, CE)"), Builtin::MonthName);
    EXPECT_EQ(RecognizeBuiltin(u"DATEVAL (D, CE)"), Builtin::None);
    EXPECT_EQ(RecognizeBuiltin(u"VALUE"), Builtin::None);
}

}  // namespace
}  // namespace daybridge::batch
