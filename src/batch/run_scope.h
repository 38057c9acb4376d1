// What the expressions of a batch run see: the variables visible from the running call frame,
// the last result, today and the format; and the call frames with the IF and DO levels.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/app_state.h"
#include "app/host.h"
#include "batch/expressions.h"
#include "batch/program.h"
#include "batch/variables.h"
#include "compute/compute_engine.h"
#include "datetext/date_parse.h"

namespace daybridge::batch {

inline constexpr int kMaxNesting = 20;  // IF and DO levels within one call frame
inline constexpr int kMaxCallDepth = 50;
// The IF and DO stacks hold the levels of every frame: each frame nests up to kMaxNesting deep.
inline constexpr int kStackLevels = kMaxNesting * (kMaxCallDepth + 1);

// How a line ends.
enum class Flow { Next, CountError, End };

// The call frames, from the main program (depth 0) to the running call, and the IF and DO
// levels of all of them.
struct CallStack {
    enum class FrameKind : std::uint8_t { Main, Function, Sub };
    // A call in progress: where its body starts and what the caller had when it was made.
    struct Frame {
        int start = 1;         // the first variable slot of the running body
        int savedCount = 0;    // the caller's number of variables
        int savedDoLevel = 0;  // the caller's DO and IF levels
        int savedIfLevel = 0;
        std::int32_t returnValue = 0;
        int returnLine = 0;  // the line after the call
        FrameKind kind = FrameKind::Main;
        bool returnPending = false;  // a RETURN: value was given
    };
    // A DO loop in progress: its rounds left (or -1 without a count) and its first and last
    // lines.
    struct DoLoop {
        int count = 0;
        int line = 0;
        int endLine = 0;
    };

    void Reset();
    Frame& Top() { return frames[static_cast<std::size_t>(depth)]; }
    const Frame& Top() const { return frames[static_cast<std::size_t>(depth)]; }
    int FrameStart() const { return Top().start; }
    // The IF and DO levels below the running frame's own (the caller's, saved at the call).
    int IfBase() const {
        return depth > 0 ? frames[static_cast<std::size_t>(depth - 1)].savedIfLevel : 0;
    }
    int DoBase() const {
        return depth > 0 ? frames[static_cast<std::size_t>(depth - 1)].savedDoLevel : 0;
    }
    // Before a call: what the caller has now. After it: the caller's variables and levels back.
    void Save(const VariableTable& variables);
    void Restore(VariableTable& variables);

    std::vector<Frame> frames;  // kMaxCallDepth + 1
    int depth = 0;
    // The levels are fixed arrays: ENDDO is among the lines run most often.
    std::array<bool, kStackLevels + 1> ifTaken{};  // a branch of the IF at each level was taken
    int ifLevel = 0;
    std::array<DoLoop, kStackLevels + 1> doLoops{};
    int doLevel = 0;
};

class RunScope final : public ExpressionContext, public BatchContext {
  public:
    RunScope(AppState& state, Host& host, const CallStack& stack, const TextFormat& format);

    VariableTable variables;
    LastResult last;

    // The slot of a variable visible from the running frame (see VariableTable::Find).
    int Find(const QString& upperName) const {
        return variables.Find(upperName, stack_.FrameStart());
    }
    int Find(const QString& upperName, SlotMemo& memo) const {
        return variables.Find(upperName, stack_.FrameStart(), memo);
    }

    // A date literal: a code before or after the date names its calendar (CE without one), and
    // a comma and a day name may follow, as the output writes dates; the date fields' reader
    // reads it and refuses anything else.
    CodedParseResult ReadDate(const QString& text) const {
        return ParseDateWithCode(text, format_, kDefaultCalendar);
    }

    // ExpressionContext
    std::optional<std::int32_t> LookupVariable(const QString& upperName) const override;
    std::optional<std::int32_t> LookupRemembered(const QString& upperName,
                                                 SlotMemo& memo) const override;
    std::optional<int> CountArray(const QString& upperName) const override;
    std::int32_t TodayJdn() const override;
    LastResult Result() const override { return last; }
    const TextFormat& Format() const override { return format_; }
    const WorkdayCalendar& Workdays() const override { return state_.settings.workdays; }
    QString Text(int id) const override;

    // BatchContext
    std::optional<std::int32_t> VariableValue(const QString& name) const override;

  private:
    AppState& state_;
    Host& host_;
    const CallStack& stack_;
    const TextFormat& format_;
};

}  // namespace daybridge::batch
