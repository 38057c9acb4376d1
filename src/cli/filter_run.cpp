#include "cli/filter_run.h"
#include "app/texts.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calendar/calendar_table.h"
#include "env/text_store.h"
#include "workdays/business_days.h"

namespace daybridge::cli {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitError = 1;
constexpr int kExitRefused = 2;
constexpr int kExitStopped = 130;

constexpr int kTextBadLinesKept = 1205;
constexpr int kTextStoppedAtBadLine = 1206;
constexpr int kTextStandardInput = 1207;
constexpr int kTextCannotRead = 1208;

// Output is handed to stdout in pieces of this size: small enough to stream, large enough that
// writing costs little per line.
constexpr std::size_t kOutputChunk = 1 << 16;

class FilterOutput {
  public:
    FilterOutput() { buffer_.reserve(2 * kOutputChunk); }
    std::string& buffer() { return buffer_; }
    bool Flush(bool always) {
        if (failed_ || (!always && buffer_.size() < kOutputChunk)) {
            return !failed_;
        }
        errno = 0;
        std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
        buffer_.clear();
        if ((always && std::fflush(stdout) != 0) || std::ferror(stdout)) {
            failed_ = true;
            error_ = errno != 0 ? errno : EIO;
        }
        return !failed_;
    }
    bool failed() const { return failed_; }
    int error() const { return error_; }

  private:
    std::string buffer_;
    bool failed_ = false;
    int error_ = 0;
};

class Reporter {
  public:
    explicit Reporter(Language language) : language_(language) {}
    QString Text(int id, const char* english) const {
        const QString text = daybridge::Text(language_, id);
        return text.isEmpty() ? QString::fromUtf8(english) : text;
    }
    void Say(const QString& text) const {
        const QByteArray bytes = ("daybridge-batch: " + text + "\n").toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    }
    QString FaultText(LineFault fault) const {
        static const char* const kEnglish[] = {
            "",
            "not a valid date",
            "date out of range",
            "the line has no such field",
            "the result lies beyond the calendar's range",
            "unknown calendar code",
            "the format does not fit the date's calendar",
        };
        return Text(TextIdOf(fault), kEnglish[static_cast<int>(fault)]);
    }
    void BadLine(const QString& input, long long lineNumber, LineFault fault,
                 const QString& text) const {
        Say(QStringLiteral("%1:%2: %3: %4").arg(input).arg(lineNumber).arg(FaultText(fault), text));
    }

  private:
    Language language_;
};

// A --seq list: FROM, TO and STEP read.
struct Sequence {
    LineFilter::ReadDate first;
    LineFilter::ReadDate last;
    FilterStep step;
    bool backwards = false;
    bool plainDays = false;  // a step of days and weeks only
    std::int64_t days = 0;   // then its days

    bool Beyond(std::int64_t jdn) const { return backwards ? jdn < last.jdn : jdn > last.jdn; }
};

// The list's arguments, or why they are refused (in `why`).
std::optional<Sequence> ReadSequence(const FilterRun& run, LineFilter& filter, QString& why) {
    Sequence s;
    s.first = filter.Read(run.sequence[0]);
    s.last = filter.Read(run.sequence[1]);
    const std::optional<FilterStep> step = ParseFilterStep(run.sequence[2]);
    if (s.first.fault != LineFault::None) {
        why = QStringLiteral("'%1' is no date (FROM)").arg(run.sequence[0]);
    } else if (s.last.fault != LineFault::None) {
        why = QStringLiteral("'%1' is no date (TO)").arg(run.sequence[1]);
    } else if (!step || step->IsZero()) {
        why = QStringLiteral("'%1' is no step such as 1d, 2w, 1m, 1y or 5wd (STEP)")
                  .arg(run.sequence[2]);
    } else {
        s.step = *step;
        s.backwards = step->workdays ? step->workdayCount < 0 : step->units.negative;
        if (s.backwards ? s.last.jdn > s.first.jdn : s.last.jdn < s.first.jdn) {
            why = QStringLiteral("TO lies before FROM in the direction of STEP");
        }
    }
    if (!why.isEmpty()) {
        return std::nullopt;
    }
    s.plainDays = !s.step.workdays && s.step.units.years == 0 && s.step.units.months == 0;
    s.days = s.plainDays ? DayPart(s.step.units) : 0;
    return s;
}

// The list's date after `jdn`, the k-th; nothing when the list ends there.
std::optional<std::int64_t> NextInSequence(const Sequence& s, const WorkdayCalendar& workdays,
                                           std::int64_t jdn, std::int64_t k) {
    if (s.plainDays) {
        jdn += s.days;
    } else if (s.step.workdays) {
        jdn = workdays.StepFromFirst(jdn, s.step.workdayCount, false);
    } else {
        // Each date from the first, so that a month end cut short stays the month's end.
        UnitDifference multiple = s.step.units;
        if (multiple.years > kMaxUnitYears / k || multiple.months > kMaxUnitMonths / k ||
            multiple.weeks > kMaxUnitWeeks / k || multiple.days > kMaxUnitDays / k) {
            return std::nullopt;
        }
        multiple.years *= k;
        multiple.months *= k;
        multiple.weeks *= k;
        multiple.days *= k;
        const UnitResult next = AddUnits(s.first.calendar, s.first.jdn, multiple);
        if (next.outcome != UnitOutcome::Done) {
            return std::nullopt;
        }
        jdn = next.jdn;
    }
    if (jdn < kMinDayNumber || jdn > kMaxDayNumber) {
        return std::nullopt;  // the next date lies beyond every calendar: the list ends before TO
    }
    return jdn;
}

int ListSequence(const FilterRun& run, LineFilter& filter, const WorkdayCalendar& workdays,
                 volatile std::sig_atomic_t* stop, const Reporter& reporter) {
    QString why;
    const std::optional<Sequence> sequence = ReadSequence(run, filter, why);
    if (!sequence) {
        reporter.Say(QStringLiteral("invalid value for --seq: %1").arg(why));
        return kExitRefused;
    }
    const Sequence& s = *sequence;
    const QString problem = filter.FormatProblem(run.settings.to.value_or(s.first.calendar));
    if (!problem.isEmpty()) {
        reporter.Say(QStringLiteral("invalid value for --format: %1").arg(problem));
        return kExitRefused;
    }
    FilterOutput output;
    output.buffer() += filter.RecordHeader(true);
    std::optional<std::int64_t> jdn = s.first.jdn;
    if (s.step.workdays && !workdays.IsWorkday(*jdn)) {
        jdn = s.backwards ? PreviousWorkday(workdays, *jdn) : NextWorkday(workdays, *jdn);
    }
    for (std::int64_t k = 1; jdn && !s.Beyond(*jdn); ++k) {
        const QByteArray written = filter.Written(s.first.calendar, *jdn).toUtf8();
        if (written.isEmpty()) {
            output.Flush(true);
            reporter.Say(QStringLiteral("--seq: %1")
                             .arg(reporter.Text(TextIdOf(LineFault::ResultOutOfRange),
                                                "the result lies beyond the "
                                                "calendar's range")));
            return kExitError;
        }
        filter.AppendSequenceDate(output.buffer(), s.first.calendar, *jdn,
                                  QString::fromUtf8(written));
        if (!output.Flush(false)) {
            break;
        }
        if ((k & 0xfff) == 0 && *stop != 0) {
            output.Flush(true);
            return kExitStopped;
        }
        jdn = NextInSequence(s, workdays, *jdn, k);
    }
    if (!output.Flush(true)) {
        reporter.Say(QStringLiteral("cannot write the output: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(output.error()))));
        return kExitError;
    }
    return kExitOk;
}

// Why the formats cannot be used for the calendars named, before any input is read; empty
// when they can.
QString FormatRefusal(const FilterRun& run, const FilterSettings& settings,
                      const LineFilter& filter) {
    const QString inputProblem = filter.InputFormatProblem();
    if (!inputProblem.isEmpty()) {
        return QStringLiteral("invalid value for --input-format: %1").arg(inputProblem);
    }
    if (run.sequence.isEmpty() && settings.mode != FilterMode::Diff) {
        const QString problem =
            filter.FormatProblem(settings.to.value_or(settings.from.value_or(kDefaultCalendar)));
        if (!problem.isEmpty()) {
            return QStringLiteral("invalid value for --format: %1").arg(problem);
        }
    }
    return {};
}

// The lines of every input through the filter, into one output.
class FilterPass {
  public:
    FilterPass(const FilterRun& run, LineFilter& filter, const Reporter& reporter,
               volatile std::sig_atomic_t* stop)
        : run_(run),
          filter_(filter),
          reporter_(reporter),
          stop_(stop),
          records_(run.settings.output != OutputShape::Lines),
          out_(output_.buffer()) {
        out_ += filter_.RecordHeader(false);
    }
    ~FilterPass() { std::free(line_); }
    FilterPass(const FilterPass&) = delete;
    FilterPass& operator=(const FilterPass&) = delete;

    // False when the run stops here.
    bool File(const QString& input);
    int Finish();

  private:
    // False when the input stops here (a bad line under --strict).
    bool Line(std::string_view text, std::string_view end, long long lineNumber,
              const QString& name);
    void CannotRead(const QString& name) {
        reporter_.Say(QStringLiteral("%1: %2: %3")
                          .arg(name, reporter_.Text(kTextCannotRead, "cannot be read"),
                               QString::fromLocal8Bit(std::strerror(errno))));
        unreadable_ = true;
    }

    const FilterRun& run_;
    LineFilter& filter_;
    const Reporter& reporter_;
    volatile std::sig_atomic_t* stop_;
    const bool records_;
    FilterOutput output_;
    std::string& out_;
    char* line_ = nullptr;
    std::size_t capacity_ = 0;
    QString faultText_;
    long long badLines_ = 0;
    bool unreadable_ = false;
    bool stopped_ = false;
    bool strictStop_ = false;
};

bool FilterPass::File(const QString& input) {
    const bool standardInput = input == QLatin1String("-");
    const QString name =
        standardInput ? reporter_.Text(kTextStandardInput, "(standard input)") : input;
    std::FILE* file = standardInput ? stdin : std::fopen(QFile::encodeName(input), "rb");
    if (file == nullptr) {
        CannotRead(name);
        return true;
    }
    for (long long lineNumber = 1;; ++lineNumber) {
        errno = 0;
        const ssize_t length = getline(&line_, &capacity_, file);
        if (length < 0) {
            stopped_ = *stop_ != 0;
            if (!stopped_ && std::ferror(file)) {
                CannotRead(name);
            }
            break;
        }
        // The line end is written back as it came: LF, CR LF, or none on the last line.
        std::string_view text(line_, static_cast<std::size_t>(length));
        std::string_view end;
        if (!text.empty() && text.back() == '\n') {
            const std::size_t cut = text.size() >= 2 && text[text.size() - 2] == '\r' ? 2 : 1;
            end = text.substr(text.size() - cut);
            text.remove_suffix(cut);
        }
        if (!Line(text, end, lineNumber, name) || !output_.Flush(false)) {
            break;
        }
        if ((lineNumber & 0xfff) == 0 && *stop_ != 0) {
            stopped_ = true;
            break;
        }
    }
    if (!standardInput) {
        std::fclose(file);
    } else {
        std::clearerr(stdin);
    }
    return !(stopped_ || strictStop_ || output_.failed());
}

bool FilterPass::Line(std::string_view text, std::string_view end, long long lineNumber,
                      const QString& name) {
    const std::size_t before = out_.size();
    if (run_.header && lineNumber == 1) {
        filter_.ApplyHeader(text, out_);
    } else {
        const LineFault fault = filter_.Apply(text, out_, faultText_, lineNumber);
        if (fault != LineFault::None) {
            out_.resize(before);
            output_.Flush(true);
            reporter_.BadLine(name, lineNumber, fault, faultText_);
            ++badLines_;
            if (run_.strict) {
                strictStop_ = true;
                return false;
            }
            if (records_) {
                filter_.AppendFaultRecord(out_, lineNumber, faultText_, reporter_.FaultText(fault));
            } else {
                out_.append(text);  // kept as it was
            }
        }
    }
    if (records_) {
        // One record a line, ended by LF; a line without one (empty, the header) none.
        if (out_.size() != before) {
            out_ += '\n';
        }
    } else {
        out_.append(end);
    }
    return true;
}

int FilterPass::Finish() {
    if (!output_.Flush(true)) {
        reporter_.Say(QStringLiteral("cannot write the output: %1")
                          .arg(QString::fromLocal8Bit(std::strerror(output_.error()))));
        return kExitError;
    }
    if (stopped_) {
        return kExitStopped;
    }
    if (strictStop_) {
        reporter_.Say(reporter_.Text(kTextStoppedAtBadLine, "stopped at the first bad line"));
        return kExitError;
    }
    if (badLines_ > 0) {
        reporter_.Say(
            reporter_.Text(kTextBadLinesKept, "bad lines kept as they were: %1").arg(badLines_));
        return kExitError;
    }
    return unreadable_ ? kExitError : kExitOk;
}

}  // namespace

int RunFilter(const FilterRun& run, const AppState& state, volatile std::sig_atomic_t* stop) {
    const Reporter reporter(state.settings.language);
    FilterSettings settings = run.settings;
    settings.language = state.settings.language;
    LineFilter filter(settings, state.settings.format, state.settings.workdays);
    const QString refusal = FormatRefusal(run, settings, filter);
    if (!refusal.isEmpty()) {
        reporter.Say(refusal);
        return kExitRefused;
    }
    if (!run.sequence.isEmpty()) {
        return ListSequence(run, filter, state.settings.workdays, stop, reporter);
    }
    QStringList inputs = run.inputs;
    if (inputs.isEmpty()) {
        inputs << QStringLiteral("-");
    }
    FilterPass pass(run, filter, reporter, stop);
    for (const QString& input : inputs) {
        if (!pass.File(input)) {
            break;
        }
    }
    return pass.Finish();
}

}  // namespace daybridge::cli
