// The variable table of a batch run: slots 1..1000 of upper-case names and 32-bit values,
// found by hashing. A lookup sees only the slots from the current frame's first slot up to the
// highest slot in use, and answers the lowest equal slot.
#pragma once

#include <QHash>
#include <QString>
#include <QVarLengthArray>
#include <cstdint>
#include <vector>

namespace daybridge::batch {

inline constexpr int kMaxVariables = 1000;
inline constexpr int kTableFull = -1;

// The answer of one lookup, remembered by the line or operand that made it. It holds while the
// table keeps its generation (no variable created or dropped) and the frame start is the same.
struct SlotMemo {
    std::uint64_t generation = 0;  // 0: nothing remembered
    int frameStart = 0;
    int slot = 0;
};

class VariableTable {
  public:
    VariableTable();
    void Clear();

    // Slot of an upper-case name visible from `frameStart`, 0 when there is none and room is
    // left, kTableFull when there is none and the table is full.
    int Find(const QString& upperName, int frameStart) const;
    // Find, answered from `memo` when the table and the frame are as they were.
    int Find(const QString& upperName, int frameStart, SlotMemo& memo) const {
        if (memo.generation == generation_ && memo.frameStart == frameStart) {
            return memo.slot;
        }
        return FindAndRemember(upperName, frameStart, memo);
    }
    // Creates a variable in the next slot; kTableFull when the table is full.
    int Create(const QString& upperName, std::int32_t value);
    // Drops every slot above `count` (the end of a call frame).
    void TruncateTo(int count);

    int Count() const { return count_; }
    const QString& Name(int slot) const { return names_[static_cast<std::size_t>(slot)]; }
    std::int32_t Value(int slot) const { return values_[static_cast<std::size_t>(slot)]; }
    void SetValue(int slot, std::int32_t value) { values_[static_cast<std::size_t>(slot)] = value; }

  private:
    int FindAndRemember(const QString& upperName, int frameStart, SlotMemo& memo) const;

    std::vector<QString> names_;
    std::vector<std::int32_t> values_;
    QHash<QString, QVarLengthArray<int, 2>> slots_;  // ascending slots per name
    int count_ = 0;
    std::uint64_t generation_ = 1;
};

}  // namespace daybridge::batch
