// Remembered variable slots answer as a fresh lookup whenever the variable table or the call
// frame has changed in between. Lines prepared at load meeting such changes: golden program
// errors_more.
#include <gtest/gtest.h>

#include <QString>
#include <array>

#include "batch/variables.h"

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

}  // namespace
}  // namespace daybridge::testing
