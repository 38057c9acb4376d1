// The forward block searches over the line store, answered from tables built once per load.
// Each answer equals the forward scan with its depth count and prefix tests: a line that
// begins with the keyword opens, a line that begins with END and the keyword closes.
#pragma once

#include <QString>
#include <unordered_map>
#include <vector>

namespace daybridge::batch {

enum class BlockKeyword { Skip = 0, Function = 1, Sub = 2, Do = 3 };

class BlockIndex {
  public:
    // `upper`: the upper-cased lines; index 0 is unused, lines are 1..upper.size()-1.
    void Build(const std::vector<QString>& upper);

    // The matching end line after line `from`, or -1.
    int FindBlockEnd(BlockKeyword keyword, int from) const;
    // The next ELSEIF/ELSEIFNOT/ELSE or ENDIF line at the same depth after `from`, or -1.
    int FindNextBranch(int from, bool& isEndIf) const;
    // The matching ENDIF after `from`, or -1.
    int FindEndIf(int from) const;
    // ENDIF lines minus IF lines strictly between `from` and `end`.
    int CountIfBalance(int from, int end) const;

  private:
    struct Family {
        std::vector<int> balance;  // openers minus closers over lines 1..j
        std::unordered_map<int, std::vector<int>> candidates;  // by balance before the line
        int Find(int from) const;
    };
    Family blocks_[4];
    Family endIf_;
    Family branch_;
    std::vector<bool> isEndIf_;
};

}  // namespace daybridge::batch
