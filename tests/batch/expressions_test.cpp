// The values, failures and text forms of the built-ins: golden programs builtins, errors_more,
// world_calendars and units. Here: what a run in the C locale cannot show.
#include "batch/expressions.h"

#include <gtest/gtest.h>

#include <QHash>

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
    std::optional<int> CountArray(const QString&) const override { return std::nullopt; }
    std::int32_t TodayJdn() const override { return 2451545; }  // Saturday 2000-01-01
    LastResult Result() const override { return {}; }
    const TextFormat& Format() const override { return format; }
    QString Text(int id) const override { return QStringLiteral("text %1").arg(id); }

    QHash<QString, std::int32_t> variables;
    TextFormat format;
};

class ExpressionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        context.variables = {{"D", 2451545}, {"A[1]", 5}, {"A[2]", 6},
                             {"A[3]", 7},    {"I", 2},    {"BIG", 2147483647}};
        context.format.regional = QLocale(QLocale::English, QLocale::UnitedStates);
    }
    QString Text(const char* text, bool& ok) {
        return EvaluateText(ParseCall(QString::fromLatin1(text)), context, ok);
    }
    FakeContext context;
};

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

}  // namespace
}  // namespace daybridge::batch
