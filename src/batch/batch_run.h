// The state of one batch run: the prepared line store, the variable table, the control stacks
// and call frames, and the run cycle. Internal to the batch interpreter.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <chrono>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "app/app_state.h"
#include "app/host.h"
#include "batch/expressions.h"
#include "batch/program.h"
#include "batch/reporter.h"
#include "batch/variables.h"
#include "compute/compute_engine.h"
#include "datetext/date_parse.h"

namespace daybridge::batch {

inline constexpr int kMaxNesting = 20;  // IF and DO levels within one call frame
inline constexpr int kMaxCallDepth = 50;
// The IF and DO stacks hold the levels of every frame: each frame nests up to kMaxNesting deep.
inline constexpr int kStackLevels = kMaxNesting * (kMaxCallDepth + 1);
inline constexpr qint64 kMaxProgramBytes = 64LL * 1024 * 1024;

// The value an assignment with operator `op` stores over `old`; nothing when it leaves the
// 32-bit range.
inline std::optional<std::int32_t> AssignedResult(AssignOp op, std::int32_t old,
                                                  std::int32_t value) {
    const std::int64_t result = op == AssignOp::Add        ? std::int64_t{old} + value
                                : op == AssignOp::Subtract ? std::int64_t{old} - value
                                                           : std::int64_t{value};  // [-2^32, 2^32]
    if (result > std::numeric_limits<std::int32_t>::max() ||
        result < std::numeric_limits<std::int32_t>::min()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(result);
}

// The text of OUTPUT: lines run on their fast forms, gathered in a fixed block and handed to
// the output text a block at a time: before any other line runs, at the end of a slice and at
// the end of the run.
class OutputGather {
  public:
    explicit OutputGather(OutputText& output)
        : output_(output), block_(std::make_unique<char16_t[]>(kBlockLength)) {}

    void Append(QStringView text) {
        const auto length = static_cast<std::size_t>(text.size());
        if (length > kBlockLength - used_) [[unlikely]] {
            AppendLong(text);
            return;
        }
        std::copy_n(text.utf16(), length, block_.get() + used_);
        used_ += length;
    }
    // Room for `length` units after the gathered text; Commit(n) adds the n units written there.
    char16_t* Room(std::size_t length) {
        if (length > kBlockLength - used_) [[unlikely]] {
            Flush();
        }
        return block_.get() + used_;
    }
    void Commit(std::size_t length) { used_ += length; }
    void Flush() {
        if (used_ > 0) {
            output_.append(QStringView(block_.get(), static_cast<qsizetype>(used_)));
            used_ = 0;
        }
    }

    // The most that Room() can be asked for.
    static constexpr std::size_t kRoomLength = 128;

  private:
    void AppendLong(QStringView text) {
        Flush();
        output_.append(text);
    }

    static constexpr std::size_t kBlockLength = 16 * 1024;

    OutputText& output_;
    std::unique_ptr<char16_t[]> block_;  // kBlockLength units
    std::size_t used_ = 0;
};

// How a line ends.
enum class Flow { Next, CountError, End };

// How a statement went.
enum class StatementResult : std::int8_t {
    Done,
    FunctionEntered,  // a FUNCTION was entered; the statement ends when it returns
    Compute,          // a three-field line whose computation step follows
    Error,            // an error was reported (and is counted)
    Cancelled,        // a prompt was cancelled: the run stops
    EndRun,           // a report has ended the run
};

// How a FUNCTION or SUB call went: entered; an argument could not be evaluated (not yet
// reported); refused with its own report; or the run must end.
enum class CallOutcome { Entered, BadArgument, Reported, EndRun };

class BatchRun : public ExpressionContext, public BatchContext {
  public:
    BatchRun(AppState& state, Host& host, ComputeEngine& engine);
    ~BatchRun() override;

    // Start: reads, checks and loads; false when the program was refused or ended while loading.
    bool StartFromFile(const QString& path);
    bool StartFromLines(const QStringList& lines, const QString& name);
    bool Slice(std::chrono::microseconds slice);
    void RequestStop();

    bool running = false;
    bool refused = false;
    bool stopped = false;  // ended by a stop request or a cancelled prompt
    int errorCount = 0;
    bool ErrorReported() const { return report_.errorReported; }

    // ExpressionContext
    std::optional<std::int32_t> LookupVariable(const QString& upperName) const override;
    std::optional<std::int32_t> LookupRemembered(const QString& upperName,
                                                 SlotMemo& memo) const override;
    std::optional<int> CountArray(const QString& upperName) const override;
    std::int32_t TodayJdn() const override;
    LastResult Result() const override { return last_; }
    const TextFormat& Format() const override;
    const WorkdayCalendar& Workdays() const override { return state_.workdays; }
    QString Text(int id) const override;

    // BatchContext
    std::optional<std::int32_t> VariableValue(const QString& name) const override;
    int FileLineNumber() const override;
    QString CurrentLineText() const override;

  private:
    // start and end
    bool BeginRun(const QString& displayName);
    bool CheckAndLoadBytes(const QByteArray& bytes, int endingsCode, const QString& name);
    void Finish();
    void ResetRunState();
    bool Step();
    int RunFastLines(int limit);
    bool FastLine(const ProgramLine& line);
    void ErrorLimitReached();
    void FlushOutput() { gathered_.Flush(); }

    // run cycle forms
    Flow ExecuteLine(const ProgramLine& line);
    Flow DoLine(const ProgramLine& line);
    Flow EndDoLine();
    Flow ExitDoLine();
    Flow IfLine(const ProgramLine& line, bool elseIf);
    Flow ElseLine();
    Flow EndIfLine();
    Flow SkipBlock(BlockKeyword keyword);
    Flow EndFunctionLine();
    Flow EndSubLine();
    Flow CallLine(const ProgramLine& line);
    Flow ReturnLine(const ProgramLine& line);
    Flow OutputLine(const ProgramLine& line);
    Flow ArrayHeader(const ProgramLine& line);
    Flow ArrayElement(const ProgramLine& line);
    Flow EndArrayLine();
    Flow StatementLine(const ProgramLine& line);

    // statements
    StatementResult ExecuteStatement(const ProgramLine& line);
    StatementResult ApplySetting(const ProgramLine& line, const SettingStatement& s);
    StatementResult ThreeFieldStatement(const ProgramLine& line);
    StatementResult Assignment(const ProgramLine& line, AssignStatement& a);
    StatementResult ReadAssignedValue(const ProgramLine& line, AssignStatement& a,
                                      std::int32_t& value);
    StatementResult FunctionValue(const AssignStatement& a, std::int32_t& value);
    void ComputationStep(Flow& flow);
    void ShowSettingsSummary();
    void InvalidDaysReport();
    void EchoRejectedSetting(const ProgramLine& line, bool separator);
    QString SettingsSummaryText() const;
    // WEEKEND=, HOLIDAYS=, CATEGORIES= and HALFDAYS= (workday_builtins.cpp), and the summary
    // line naming them.
    StatementResult WorkdaySetting(const ProgramLine& line, Setting which, const QString& value);
    QString WorkdaySummaryText() const;

    // control flow helpers
    // Whether the condition holds; nothing when an error was reported (the run ends).
    std::optional<bool> EvaluateCondition(const ConditionStatement& c);
    std::optional<std::int32_t> ConditionOperand(const QString& text, const ParsedCall& call);
    CallOutcome InvokeProcedure(const QString& callText, int argumentCount, bool isSub);
    void PushFrame();
    void PopFrame();

    // values
    CodedParseResult ReadDateLiteral(const QString& text) const;
    // Nothing when the value was found; else the reported failure (EndRun after an overflow).
    std::optional<StatementResult> EvaluateBuiltin(const ParsedCall& call, std::int32_t& value);
    int FindVariable(const QString& upperName) const;
    int FrameStart() const { return frames_[static_cast<std::size_t>(callDepth_)].start; }

    AppState& state_;
    Host& host_;
    ComputeEngine& engine_;

    Program program_;
    int currentLine_ = 0;
    Reporter report_;
    QString programFolder_;  // HOLIDAYS= files are read from here; empty: the current
    QString outputLine_;     // an OUTPUT: line's text, reused from line to line
    OutputGather gathered_;
    // The text of an OUTPUT: line's built-in on its fast form, until it is known to be whole.
    QString callText_;

    VariableTable variables_;

    // call state
    int callDepth_ = 0;
    enum class FrameKind : std::uint8_t { Main, Function, Sub };
    // A call in progress: where its body starts and what the caller had when it was made.
    struct Frame {
        int start = 1;         // the first line of the running body
        int savedCount = 0;    // the caller's number of variables
        int savedDoLevel = 0;  // the caller's DO and IF levels
        int savedIfLevel = 0;
        std::int32_t returnValue = 0;
        int returnLine = 0;  // the line after the call
        FrameKind kind = FrameKind::Main;
        bool returnPending = false;  // a RETURN: value was given
    };
    std::array<Frame, kMaxCallDepth + 1> frames_{};
    bool functionReturned_ = false;

    // control stacks
    int ifLevel_ = 0;
    std::array<bool, kStackLevels + 1> ifTaken_{};  // a branch of the IF at each level was taken
    int doLevel_ = 0;
    // A DO loop in progress: its rounds left (or its counter) and its first and last lines.
    struct DoLoop {
        int count = 0;
        int line = 0;
        int endLine = 0;
    };
    std::array<DoLoop, kStackLevels + 1> doLoops_{};
    // The IF and DO levels below the current frame's own (the caller's, saved at the call).
    int FrameIfBase() const {
        return callDepth_ > 0 ? frames_[static_cast<std::size_t>(callDepth_ - 1)].savedIfLevel : 0;
    }
    int FrameDoBase() const {
        return callDepth_ > 0 ? frames_[static_cast<std::size_t>(callDepth_ - 1)].savedDoLevel : 0;
    }

    // array mode
    bool arrayMode_ = false;
    QString arrayName_;
    CalendarId arrayCalendar_ = kDefaultCalendar;
    QString arrayMask_;
    int arrayCounter_ = 0;
    std::int32_t lastElementValue_ = 0;

    // run state
    bool stopRequested_ = false;
    bool inSlice_ = false;
    bool ended_ = false;
    QString fields_[3];
    LastResult last_;
    QString lastSettingsSummary_;
    QString savedDateSeparator_;
    QString savedThousandsSeparator_;
    WorkdayCalendar savedWorkdays_;  // the window's choice; WEEKEND= and HOLIDAYS= last a run
    TextFormat format_;              // refreshed when a setting changes
    void RefreshFormat() { format_ = state_.CurrentFormat(); }
};

}  // namespace daybridge::batch
