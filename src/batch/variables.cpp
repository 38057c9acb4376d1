#include "batch/variables.h"

namespace daybridge::batch {

VariableTable::VariableTable() : names_(kMaxVariables + 1), values_(kMaxVariables + 1, 0) {}

void VariableTable::Clear() {
    TruncateTo(0);
    slots_.clear();
    ++generation_;
}

int VariableTable::Find(const QString& upperName, int frameStart) const {
    const auto it = slots_.constFind(upperName);
    if (it != slots_.constEnd()) {
        for (const int slot : *it) {
            if (slot >= frameStart && slot <= count_) {
                return slot;
            }
        }
    }
    return count_ >= kMaxVariables ? kTableFull : 0;
}

int VariableTable::FindAndRemember(const QString& upperName, int frameStart, SlotMemo& memo) const {
    memo.slot = Find(upperName, frameStart);
    memo.generation = generation_;
    memo.frameStart = frameStart;
    return memo.slot;
}

int VariableTable::Create(const QString& upperName, std::int32_t value) {
    if (count_ >= kMaxVariables) {
        return kTableFull;
    }
    ++count_;
    ++generation_;
    names_[static_cast<std::size_t>(count_)] = upperName;
    values_[static_cast<std::size_t>(count_)] = value;
    slots_[upperName].append(count_);
    return count_;
}

void VariableTable::TruncateTo(int count) {
    if (count < 0) {
        count = 0;
    }
    while (count_ > count) {
        QString& name = names_[static_cast<std::size_t>(count_)];
        auto it = slots_.find(name);
        if (it != slots_.end()) {
            // The dropped slot is the highest of its name.
            if (!it->isEmpty() && it->back() == count_) {
                it->removeLast();
            }
            if (it->isEmpty()) {
                slots_.erase(it);
            }
        }
        name.clear();
        values_[static_cast<std::size_t>(count_)] = 0;
        --count_;
        ++generation_;
    }
}

}  // namespace daybridge::batch
