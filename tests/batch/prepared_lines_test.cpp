// Lines prepared at load and remembered variable slots: the answers must be those of a fresh
// derivation whenever the variable table or the call frame has changed in between.
#include <gtest/gtest.h>

#include <QString>
#include <array>

#include "batch/variables.h"
#include "batch_fixture.h"

namespace daybridge::testing {
namespace {

using batch::kTableFull;
using batch::SlotMemo;
using batch::VariableTable;

// After every change of the table, each remembered lookup equals a fresh one, for every name
// and frame start, also when the memo was filled under another table or frame.
TEST(SlotMemoTest, RememberedLookupsFollowEveryChange) {
    enum class Op { Create, Truncate, Clear };
    struct Step {
        Op op;
        const char* name;
        int count;  // Truncate: slots kept
    };
    const Step steps[] = {
        {Op::Create, "A", 0},  {Op::Create, "B", 0},  {Op::Create, "A", 0}, {Op::Create, "C", 0},
        {Op::Truncate, "", 3}, {Op::Truncate, "", 3}, {Op::Create, "B", 0}, {Op::Truncate, "", 1},
        {Op::Create, "C", 0},  {Op::Clear, "", 0},    {Op::Create, "B", 0}, {Op::Create, "A", 0},
        {Op::Truncate, "", 0}, {Op::Create, "A", 0},
    };
    const std::array<QString, 4> names = {"A", "B", "C", "D"};
    constexpr int kFrames = 5;
    VariableTable table;
    SlotMemo memos[4][kFrames];
    auto checkAll = [&](int step) {
        // Twice: the first pass may refresh the memos, the second must answer from them.
        for (int pass = 0; pass < 2; ++pass) {
            for (std::size_t n = 0; n < names.size(); ++n) {
                for (int frame = 1; frame <= kFrames; ++frame) {
                    EXPECT_EQ(table.Find(names[n], frame, memos[n][frame - 1]),
                              table.Find(names[n], frame))
                        << "step " << step << " name " << names[n].toStdString() << " frame "
                        << frame;
                }
            }
        }
    };
    checkAll(-1);
    for (int i = 0; i < static_cast<int>(std::size(steps)); ++i) {
        const Step& s = steps[i];
        switch (s.op) {
            case Op::Create:
                table.Create(QString::fromLatin1(s.name), i);
                break;
            case Op::Truncate:
                table.TruncateTo(s.count);
                break;
            case Op::Clear:
                table.Clear();
                break;
        }
        checkAll(i);
    }
}

TEST(SlotMemoTest, AFullTableIsRememberedUntilASlotIsFreed) {
    VariableTable table;
    for (int i = 0; i < batch::kMaxVariables; ++i) {
        ASSERT_GE(table.Create(QStringLiteral("V%1").arg(i), i), 1);
    }
    SlotMemo memo;
    EXPECT_EQ(table.Find(QStringLiteral("NEW"), 1, memo), kTableFull);
    EXPECT_EQ(table.Find(QStringLiteral("NEW"), 1, memo), kTableFull);
    table.TruncateTo(batch::kMaxVariables - 1);
    EXPECT_EQ(table.Find(QStringLiteral("NEW"), 1, memo), 0);
}

class PreparedLinesTest : public BatchFixture {
  protected:
    // The output without the reports that the run also wrote there.
    QString OutputWithoutReports(QString out) const {
        for (const auto& box : host.boxes) {
            out.replace(QStringLiteral("\r\n") + box.text + QStringLiteral("\r\n"), QString());
        }
        return out;
    }
};

// The same line meets its variables missing, then present, then in other frames.
TEST_F(PreparedLinesTest, LinesFindVariablesCreatedAndDroppedSinceTheirLastRun) {
    struct Case {
        QStringList program;
        const char* output;
        int errors;
    };
    const Case cases[] = {
        // The value and the target are missing on the first round, present on the second.
        {{"DO 2", "OUTPUT: VAL(X)", "Y = X", "X = 7", "OUTPUT: VAL(Y)", "ENDDO"},
         "\r\n\r\n7\r\n7\r\n",
         3},
        {{"DO 3", "N += 1", "N = 10", "OUTPUT: VAL(N)", "ENDDO"}, "10\r\n10\r\n10\r\n", 1},
        // A line in a SUB sees only the SUB's variables, each call afresh.
        {{"V = 1", "CALL S()", "CALL S()", "OUTPUT: VAL(V)", "STOP", "SUB S()", "V = 5", "V += 1",
          "OUTPUT: VAL(V)", "ENDSUB"},
         "6\r\n6\r\n1\r\n",
         0},
        // Recursion: the same lines at every depth, each with its own K and R.
        {{"OUTPUT: VAL(X)", "X = SUM(4)", "OUTPUT: VAL(X)", "STOP", "FUNCTION SUM(K)", "IF K <= 0",
          "RETURN: 0", "ENDIF", "J = K", "J -= 1", "R = SUM(J)", "R += K",
          "OUTPUT: DATEVAL(R, JDN)", "RETURN: R", "ENDFUNCTION"},
         "\r\n1 JDN\r\n3 JDN\r\n6 JDN\r\n10 JDN\r\n10\r\n",
         1},
    };
    for (const Case& c : cases) {
        host.boxes.clear();
        const QString out = Run(c.program);
        EXPECT_EQ(OutputWithoutReports(out), QString::fromLatin1(c.output))
            << c.program.join('|').toStdString();
        EXPECT_EQ(interpreter.ErrorCount(), c.errors) << c.program.join('|').toStdString();
    }
}

// Statement forms decided at load, checked line by line against the forms they replace.
TEST_F(PreparedLinesTest, StatementFormsDecidedAtLoad) {
    struct Case {
        const char* line;
        int text;  // main text of the report, 0 for none
        const char* output;
    };
    const Case cases[] = {
        {"VAL = 1", 0, "2\r\n"},     // a built-in's name without "(" is a name
        {"VAL( = 1", 82, "2\r\n"},   // not a name: refused before the reserved names
        {"F = 1", 42, "2\r\n"},      // a FUNCTION's name is reserved
        {"{K} = 4", 0, "2\r\n"},     // a counter name
        {"K K = 4", 0, "2\r\n"},     // blanks are not part of a statement
        {"A[1] = 9", 0, "9\r\n"},    // an element
        {"A[I] += 8", 0, "10\r\n"},  // an element by a variable index
        {"A[3] = 8", 84, "2\r\n"},   // no such element
        {"X&Y = 2", 82, "2\r\n"},    // not a name
        {"T = TODAY", 0, "2\r\n"},   // TODAY as a value
        {"VERBOSE = N", 0, "2\r\n"}, {"HYPHEN", 0, "2\r\n"},  // a setting without "="
    };
    for (const Case& c : cases) {
        host.boxes.clear();
        const QString out =
            Run({"ARRAY A NUM", "2", "ENDARRAY", "I = 1", c.line, "OUTPUT: VAL(A[1])", "STOP",
                 "FUNCTION F()", "RETURN: 1", "ENDFUNCTION"});
        if (c.text == 0) {
            EXPECT_TRUE(host.boxes.empty()) << c.line;
        } else {
            ASSERT_EQ(host.boxes.size(), 1u) << c.line;
            EXPECT_TRUE(host.boxes[0].text.startsWith(T(c.text))) << c.line;
        }
        EXPECT_TRUE(out.endsWith(QString::fromLatin1(c.output)))
            << c.line << ": " << out.toStdString();
    }
}

}  // namespace
}  // namespace daybridge::testing
