// ADDMONTHS, ADDYEARS and MONTHSBETWEEN: arguments read as the other built-ins read them, the
// end-of-month rule, and the failures.
#include <gtest/gtest.h>

#include <QHash>

#include "batch/unit_builtins.h"

namespace daybridge::batch {
namespace {

class UnitContext : public ExpressionContext {
  public:
    std::optional<std::int32_t> LookupVariable(const QString& name) const override {
        if (name == QStringLiteral("D")) {
            return 2461072;  // 2026-01-31
        }
        return std::nullopt;
    }
    std::optional<int> CountArray(const QString&) const override { return std::nullopt; }
    std::int32_t TodayJdn() const override { return 2460370; }  // 2024-02-29
    LastResult Result() const override { return {}; }
    const TextFormat& Format() const override { return format; }
    QString Text(int) const override { return {}; }
    TextFormat format;
};

TEST(UnitBuiltins, ValuesAndFailures) {
    struct Case {
        const char* call;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"ADDMONTHS(D, 1, CE)", true, 2461100},         // 2026-02-28
        {"ADDMONTHS(D, -2, CE)", true, 2461010},        // 2025-11-30
        {"ADDYEARS(TODAY, 1, CE)", true, 2460735},      // 2025-02-28
        {"ADDYEARS(TODAY, -4, JC)", true, 2458909},     // Julian 2024-02-16 -> 2020-02-16
        {"ADDMONTHS(2461072, 1, JDN)", true, 2461100},  // months in CE
        {"MONTHSBETWEEN(D, 2461100, CE)", true, 0},     // 31 Jan -> 28 Feb: not a whole month
        {"MONTHSBETWEEN(TODAY, D, CE)", true, 23},
        {"MONTHSBETWEEN(D, TODAY, CE)", true, -23},
        {"ADDMONTHS(D, 1, )", false, 0},
        {"ADDMONTHS(D, 1, XX)", false, 0},
        {"ADDMONTHS(D, X, CE)", false, 0},
        {"ADDMONTHS(2100000000, 1, CE)", false, 0},
        {"ADDYEARS(D, 2000000000, CE)", false, 0},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromLatin1(c.call);
        qsizetype prefix = 0;
        const auto function = RecognizeUnitBuiltin(text, prefix);
        ASSERT_TRUE(function.has_value()) << c.call;
        std::array<QString, 4> args;
        const QStringList parts = text.mid(prefix).chopped(1).split(QLatin1Char(','));
        for (int i = 0; i < parts.size() && i < 4; ++i) {
            args[i] = parts[i].trimmed();
        }
        UnitContext context;
        bool ok = true;
        const std::int32_t value = EvaluateUnitBuiltin(*function, args, context, ok);
        EXPECT_EQ(ok, c.ok) << c.call;
        EXPECT_EQ(value, c.value) << c.call;
    }
    qsizetype prefix = 0;
    EXPECT_FALSE(RecognizeUnitBuiltin(u"ADD(D, 1)", prefix).has_value());
}

}  // namespace
}  // namespace daybridge::batch
