// The indexed block searches must answer exactly what the forward scans answer.
#include "batch/block_index.h"

#include <gtest/gtest.h>

#include "support/qstring_printer.h"

#include <random>

namespace daybridge::batch {
namespace {

// The forward scans, written out as the language defines them.
int ScanBlockEnd(const std::vector<QString>& upper, const QString& keyword, int from) {
    int depth = 0;
    for (int j = from + 1; j < static_cast<int>(upper.size()); ++j) {
        const QString& line = upper[static_cast<std::size_t>(j)];
        if (line.startsWith(keyword)) {
            ++depth;
        } else if (line.startsWith(QStringLiteral("END") + keyword)) {
            if (depth == 0) {
                return j;
            }
            --depth;
        }
    }
    return -1;
}

int ScanNextBranch(const std::vector<QString>& upper, int from, bool& isEndIf) {
    int depth = 0;
    isEndIf = false;
    for (int j = from + 1; j < static_cast<int>(upper.size()); ++j) {
        const QString& line = upper[static_cast<std::size_t>(j)];
        if (line.startsWith(QLatin1String("IF"))) {
            ++depth;
        } else if (line.startsWith(QLatin1String("ELSE"))) {
            if (depth == 0) {
                return j;
            }
        } else if (line.startsWith(QLatin1String("ENDIF"))) {
            if (depth == 0) {
                isEndIf = true;
                return j;
            }
            --depth;
        }
    }
    return -1;
}

int ScanIfBalance(const std::vector<QString>& upper, int from, int end) {
    int balance = 0;
    for (int j = from + 1; j < end && j < static_cast<int>(upper.size()); ++j) {
        const QString& line = upper[static_cast<std::size_t>(j)];
        if (line.startsWith(QLatin1String("IF"))) {
            --balance;
        } else if (line.startsWith(QLatin1String("ENDIF"))) {
            ++balance;
        }
    }
    return balance;
}

TEST(BlockIndex, MatchesTheForwardScansOnRandomPrograms) {
    const QString pool[] = {"SKIP",     "ENDSKIP",   "FUNCTION F(X)", "ENDFUNCTION",
                            "SUB S()",  "ENDSUB",    "SUBTOTAL = 1",  "DO 3",
                            "DONE = 1", "ENDDO",     "EXITDO",        "IF A = 1",
                            "IFNOT B",  "ELSEIF C",  "ELSE",          "ENDIF",
                            "X = 1",    "OUTPUT: A", "RETURN: 1",     "//DOFOREACH"};
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(pool)) - 1);
    const QString keywords[] = {"SKIP", "FUNCTION", "SUB", "DO"};
    for (int program = 0; program < 40; ++program) {
        std::vector<QString> upper(1);
        const int length = 1 + program * 3;
        for (int i = 0; i < length; ++i) {
            upper.push_back(pool[pick(random)]);
        }
        BlockIndex index;
        index.Build(upper);
        for (int from = 0; from < static_cast<int>(upper.size()); ++from) {
            for (int k = 0; k < 4; ++k) {
                EXPECT_EQ(index.FindBlockEnd(static_cast<BlockKeyword>(k), from),
                          ScanBlockEnd(upper, keywords[k], from))
                    << "program " << program << " from " << from << " keyword " << k;
            }
            bool expectedEndIf = false;
            bool gotEndIf = false;
            EXPECT_EQ(index.FindNextBranch(from, gotEndIf),
                      ScanNextBranch(upper, from, expectedEndIf));
            EXPECT_EQ(gotEndIf, expectedEndIf);
            EXPECT_EQ(index.FindEndIf(from), ScanBlockEnd(upper, QStringLiteral("IF"), from));
            for (int end = 0; end <= static_cast<int>(upper.size()) + 1; ++end) {
                EXPECT_EQ(index.CountIfBalance(from, end), ScanIfBalance(upper, from, end))
                    << "from " << from << " end " << end;
            }
        }
    }
}

}  // namespace
}  // namespace daybridge::batch
