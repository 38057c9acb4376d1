// Loading reads each line's statement once: the operators, comparisons, targets, settings and
// output ends as the language writes them.
#include "batch/program.h"

#include <gtest/gtest.h>

#include <iterator>
#include <variant>

#include "app/app_state.h"
#include "batch/reporter.h"
#include "batch/run_scope.h"
#include "support/program_text.h"
#include "support/qstring_printer.h"
#include "support/recording_host.h"

namespace daybridge::batch {
namespace {

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(testing::LoadShippedTexts()); }

    // Loads the lines after a FUNCTION F (so that F( is known); Line(0) is the first of them.
    const Program& Load(const QStringList& lines) {
        QStringList all = {QStringLiteral("FUNCTION F(X)"), QStringLiteral("ENDFUNCTION")};
        all += lines;
        EXPECT_TRUE(program.Load(all, report, cursor));
        EXPECT_TRUE(program.CollectProcedures(report, cursor));
        program.Prepare();
        return program;
    }
    const ProgramLine& Line(int index) const { return program.Line(index + 3); }

    AppState state;
    testing::RecordingHost host;
    Program program;
    int cursor = 0;
    CallStack stack;
    TextFormat format;
    RunScope scope{state, host, stack, format};
    Reporter report{state, host, program, cursor, scope};
};

TEST_F(ProgramTest, Assignments) {
    struct Case {
        const char* line;
        AssignOp op;
        const char* target;
        const char* value;
        TargetForm form;
        bool reserved;
    };
    const Case cases[] = {
        {"A = 5", AssignOp::Set, "A", "5", TargetForm::Name, false},
        {"total += b", AssignOp::Add, "TOTAL", "B", TargetForm::Name, false},
        {"{N} -= 1", AssignOp::Subtract, "{N}", "1", TargetForm::Counter, false},
        {"X[I] = 3", AssignOp::Set, "X[I]", "3", TargetForm::Element, false},
        {"A+B = 3", AssignOp::Set, "A+B", "3", TargetForm::BadName, false},
        {"RESULT = 3", AssignOp::Set, "RESULT", "3", TargetForm::Name, true},
        {"F = 3", AssignOp::Set, "F", "3", TargetForm::Name, true},
        {"A =", AssignOp::Set, "A", "", TargetForm::Name, true},
    };
    QStringList lines;
    for (const Case& c : cases) {
        lines << QString::fromLatin1(c.line);
    }
    Load(lines);
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.line);
        const auto* a = std::get_if<AssignStatement>(Line(i).statement.get());
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->op, c.op);
        EXPECT_EQ(a->target, QString::fromLatin1(c.target));
        EXPECT_EQ(a->value, QString::fromLatin1(c.value));
        EXPECT_EQ(a->targetForm, c.form);
        EXPECT_EQ(a->targetReserved, c.reserved);
    }
}

TEST_F(ProgramTest, Conditions) {
    struct Case {
        const char* line;
        ConditionForm form;
        Comparison compare;
        bool negate;
        const char* left;
        const char* right;
    };
    const Case cases[] = {
        {"IF A < B THEN", ConditionForm::Comparison, Comparison::Less, false, "A", "B"},
        {"IF A <= 7", ConditionForm::Comparison, Comparison::LessOrEqual, false, "A", "7"},
        {"IF A > B", ConditionForm::Comparison, Comparison::Greater, false, "A", "B"},
        {"IFNOT A >= B", ConditionForm::Comparison, Comparison::GreaterOrEqual, true, "A", "B"},
        {"ELSEIF A = B", ConditionForm::Comparison, Comparison::Equal, false, "A", "B"},
        {"ELSEIFNOT A != B", ConditionForm::Comparison, Comparison::NotEqual, true, "A", "B"},
        {"IF DOW(D) = MONDAY", ConditionForm::DayOfWeek, Comparison::Less, false, "", ""},
        {"IF DOW(D) < 3", ConditionForm::DayOfWeekOrdered, Comparison::Less, false, "", ""},
        {"IF ISLEAPYEAR(2000, CE)", ConditionForm::TrueOrFalse, Comparison::Less, false, "", ""},
        {"IF A", ConditionForm::NoOperator, Comparison::Less, false, "", ""},
    };
    QStringList lines;
    for (const Case& c : cases) {
        lines << QString::fromLatin1(c.line);
    }
    Load(lines);
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.line);
        const auto* condition = std::get_if<ConditionStatement>(Line(i).statement.get());
        ASSERT_NE(condition, nullptr);
        EXPECT_EQ(condition->form, c.form);
        EXPECT_EQ(condition->negate, c.negate);
        if (c.form == ConditionForm::Comparison) {
            EXPECT_EQ(condition->compare, c.compare);
            EXPECT_EQ(condition->left.text, QString::fromLatin1(c.left));
            EXPECT_EQ(condition->right.text, QString::fromLatin1(c.right));
        }
    }
    const auto& dow = std::get<ConditionStatement>(*Line(6).statement);
    EXPECT_EQ(dow.dayName, QStringLiteral("MONDAY"));
    EXPECT_FALSE(dow.dayNameUnequal);
}

TEST_F(ProgramTest, SettingsOutputsAndOtherStatements) {
    Load({QStringLiteral("DateFormat = Y-M-D"), QStringLiteral("VERBOSE=N"),
          QStringLiteral("WEEKEND = Fri, Sat"), QStringLiteral("FISCALWEEKS = 4-4-5 SEP LAST"),
          QStringLiteral("OUTPUT: a b"), QStringLiteral("OUTPUT: a;"),
          QStringLiteral("OUTPUT: a;;"), QStringLiteral("OUTPUT: VAL(A)"),
          QStringLiteral("OUTPUT: F(1)"), QStringLiteral("OUTPUT: G(1)"),
          QStringLiteral("2012-01-01 # 5"), QStringLiteral("DO 3"), QStringLiteral("RETURN: F(2)"),
          QStringLiteral("CALL F(1, 2)"), QStringLiteral("2012-01-01\t5 #2012-02-01")});
    const auto setting = [&](int i) { return std::get<SettingStatement>(*Line(i).statement); };
    EXPECT_EQ(setting(0).setting, Setting::DateFormat);
    EXPECT_EQ(setting(0).value, QStringLiteral("Y-M-D"));
    EXPECT_EQ(setting(1).setting, Setting::Verbose);
    EXPECT_EQ(setting(2).setting, Setting::Weekend);
    EXPECT_EQ(setting(2).value, QStringLiteral("Fri, Sat"));  // as written
    EXPECT_EQ(setting(3).setting, Setting::FiscalWeeks);

    const auto output = [&](int i) { return std::get<OutputStatement>(*Line(i).statement); };
    EXPECT_EQ(output(4).text, QStringLiteral("a b"));
    EXPECT_EQ(output(4).end, QStringLiteral("\r\n"));
    EXPECT_EQ(output(5).end, QStringLiteral(" "));
    EXPECT_EQ(output(6).end, QString());
    EXPECT_EQ(output(6).text, QStringLiteral("a"));
    EXPECT_EQ(output(7).form, OutputForm::Builtin);
    EXPECT_EQ(output(8).form, OutputForm::UserFunction);
    EXPECT_EQ(output(9).form, OutputForm::UnknownFunction);

    const auto fields = [&](int i) {
        return std::get<ComputeStatement>(*Line(i).statement).fields;
    };
    EXPECT_EQ(fields(10), (std::array<QString, 3>{"2012-01-01", "5", ""}));
    EXPECT_EQ(fields(14), (std::array<QString, 3>{"2012-01-01", "5", "2012-02-01"}));
    EXPECT_EQ(std::get<DoStatement>(*Line(11).statement).count, QStringLiteral("3"));
    EXPECT_TRUE(std::get<ReturnStatement>(*Line(12).statement).callsFunction);
    const auto& call = std::get<CallStatement>(*Line(13).statement);
    EXPECT_EQ(call.argumentCount, 2);
    EXPECT_FALSE(call.namesSub);  // F is a FUNCTION
}

TEST_F(ProgramTest, LinesOfADoForEachNameTheLineInTheFile) {
    Load(
        {QStringLiteral("OUTPUT: a"), QStringLiteral("DOFOREACH D AS V"), QStringLiteral("ENDDO")});
    // FUNCTION, ENDFUNCTION, OUTPUT, five lines of the DOFOREACH, ENDDO.
    ASSERT_EQ(program.Count(), 9);
    for (int i = 4; i <= 8; ++i) {
        EXPECT_TRUE(program.Line(i).rewritten);
        EXPECT_EQ(program.FileLineNumber(i), 4);
        EXPECT_EQ(program.FileText(i), QStringLiteral("DOFOREACH D AS V"));
    }
    EXPECT_EQ(program.FileLineNumber(9), 5);
    EXPECT_EQ(program.FileText(9), QStringLiteral("ENDDO"));
}

}  // namespace
}  // namespace daybridge::batch
