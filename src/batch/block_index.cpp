#include "batch/block_index.h"

#include <algorithm>

namespace daybridge::batch {

namespace {

const QString kOpeners[4] = {QStringLiteral("SKIP"), QStringLiteral("FUNCTION"),
                             QStringLiteral("SUB"), QStringLiteral("DO")};
const QString kClosers[4] = {QStringLiteral("ENDSKIP"), QStringLiteral("ENDFUNCTION"),
                             QStringLiteral("ENDSUB"), QStringLiteral("ENDDO")};

}  // namespace

int BlockIndex::Family::Find(int from) const {
    if (from < 0 || from >= static_cast<int>(balance.size())) {
        return -1;
    }
    const auto it = candidates.find(balance[static_cast<std::size_t>(from)]);
    if (it == candidates.end()) {
        return -1;
    }
    const auto next = std::upper_bound(it->second.begin(), it->second.end(), from);
    return next == it->second.end() ? -1 : *next;
}

void BlockIndex::Build(const std::vector<QString>& upper) {
    const std::size_t n = upper.size();
    for (int k = 0; k < 4; ++k) {
        Family& f = blocks_[k];
        f.balance.assign(std::max<std::size_t>(n, 1), 0);
        f.candidates.clear();
        for (std::size_t j = 1; j < n; ++j) {
            int b = f.balance[j - 1];
            if (upper[j].startsWith(kOpeners[k])) {
                ++b;
            } else if (upper[j].startsWith(kClosers[k])) {
                f.candidates[b].push_back(static_cast<int>(j));
                --b;
            }
            f.balance[j] = b;
        }
    }
    endIf_.balance.assign(std::max<std::size_t>(n, 1), 0);
    endIf_.candidates.clear();
    branch_.candidates.clear();
    isEndIf_.assign(std::max<std::size_t>(n, 1), false);
    for (std::size_t j = 1; j < n; ++j) {
        int b = endIf_.balance[j - 1];
        const QString& line = upper[j];
        if (line.startsWith(QLatin1String("IF"))) {
            ++b;
        } else if (line.startsWith(QLatin1String("ELSE"))) {
            branch_.candidates[b].push_back(static_cast<int>(j));
        } else if (line.startsWith(QLatin1String("ENDIF"))) {
            endIf_.candidates[b].push_back(static_cast<int>(j));
            branch_.candidates[b].push_back(static_cast<int>(j));
            isEndIf_[j] = true;
            --b;
        }
        endIf_.balance[j] = b;
    }
    branch_.balance = endIf_.balance;
}

int BlockIndex::FindBlockEnd(BlockKeyword keyword, int from) const {
    return blocks_[static_cast<int>(keyword)].Find(from);
}

int BlockIndex::FindNextBranch(int from, bool& isEndIf) const {
    const int found = branch_.Find(from);
    isEndIf = found > 0 && isEndIf_[static_cast<std::size_t>(found)];
    return found;
}

int BlockIndex::FindEndIf(int from) const {
    return endIf_.Find(from);
}

int BlockIndex::CountIfBalance(int from, int end) const {
    const int n = static_cast<int>(endIf_.balance.size());
    if (from < 0 || end - 1 <= from || end - 1 >= n) {
        // Nothing strictly between; an end beyond the store counts up to the last line.
        if (from >= 0 && from < n && end - 1 >= n && n - 1 > from) {
            return -(endIf_.balance[static_cast<std::size_t>(n - 1)] -
                     endIf_.balance[static_cast<std::size_t>(from)]);
        }
        return 0;
    }
    return -(endIf_.balance[static_cast<std::size_t>(end - 1)] -
             endIf_.balance[static_cast<std::size_t>(from)]);
}

}  // namespace daybridge::batch
