// One batch run: the executor over the loaded program, with its settings, scope, call stack and
// reporter. Internal to the batch interpreter.
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

#include "app/app_state.h"
#include "app/host.h"
#include "batch/array_block.h"
#include "batch/expressions.h"
#include "batch/program.h"
#include "batch/reporter.h"
#include "batch/run_scope.h"
#include "batch/run_settings.h"
#include "compute/compute_engine.h"
#include "datetext/date_parse.h"

namespace daybridge::batch {

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

// The executor: runs the loaded program line by line in time slices.
class BatchRun {
  public:
    BatchRun(AppState& state, Host& host, ComputeEngine& engine);
    ~BatchRun();

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

  private:
    // start and end
    bool BeginRun(const QString& displayName);
    bool CheckAndLoadBytes(const QByteArray& bytes, int endingsCode, const QString& name);
    void Finish();
    void ResetRunState();
    bool Step();
    int RunFastLines(int limit);
    bool FastLine(const ProgramLine& line);
    bool FastOutputCall(const OutputStatement& o);
    bool FastAssign(AssignStatement& c);
    void ErrorLimitReached();

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
    Flow StatementLine(const ProgramLine& line);

    // statements
    StatementResult ExecuteStatement(const ProgramLine& line);
    StatementResult ThreeFieldStatement(const ProgramLine& line);
    StatementResult Assignment(const ProgramLine& line, AssignStatement& a);
    StatementResult ReadAssignedValue(const ProgramLine& line, AssignStatement& a,
                                      std::int32_t& value);
    StatementResult FunctionValue(const AssignStatement& a, std::int32_t& value);
    StatementResult PromptedValue(const ProgramLine& line, bool numberPrompt, std::int32_t& value);
    void ComputationStep(Flow& flow);
    bool AcceptDateField(int firstOrSecond, QString& text);

    // conditions, calls and values
    // Whether the condition holds; nothing when an error was reported (the run ends).
    std::optional<bool> EvaluateCondition(const ConditionStatement& c);
    std::optional<std::int32_t> ConditionOperand(const Operand& operand);
    CallOutcome InvokeProcedure(const QString& callText, int argumentCount, bool isSub);
    // Nothing when the value was found; else the reported failure (EndRun after an overflow).
    std::optional<StatementResult> EvaluateBuiltin(const ParsedCall& call, std::int32_t& value);

    AppState& state_;
    Host& host_;
    OutputText& output_;  // the host's
    ComputeEngine& engine_;

    Program program_;
    int currentLine_ = 0;
    CallStack stack_;
    RunSettings settings_;
    RunScope scope_;
    Reporter report_;
    ArrayBlock array_;
    QString outputLine_;  // an OUTPUT: line's text, reused from line to line
    OutputGather gathered_;
    // The text of an OUTPUT: line's built-in on its fast form, until it is known to be whole.
    QString callText_;
    bool functionReturned_ = false;

    // run state
    bool stopRequested_ = false;
    bool inSlice_ = false;
    bool ended_ = false;
    QString fields_[3];
};

}  // namespace daybridge::batch
