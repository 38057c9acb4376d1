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

int ListSequence(const FilterRun& run, LineFilter& filter, const WorkdayCalendar& workdays,
                 volatile std::sig_atomic_t* stop, const Reporter& reporter) {
    const auto refuse = [&reporter](const QString& why) {
        reporter.Say(QStringLiteral("invalid value for --seq: %1").arg(why));
        return kExitRefused;
    };
    const LineFilter::ReadDate first = filter.Read(run.sequence[0]);
    const LineFilter::ReadDate last = filter.Read(run.sequence[1]);
    const std::optional<FilterStep> step = ParseFilterStep(run.sequence[2]);
    if (first.fault != LineFault::None) {
        return refuse(QStringLiteral("'%1' is no date (FROM)").arg(run.sequence[0]));
    }
    if (last.fault != LineFault::None) {
        return refuse(QStringLiteral("'%1' is no date (TO)").arg(run.sequence[1]));
    }
    if (!step || step->IsZero()) {
        return refuse(QStringLiteral("'%1' is no step such as 1d, 2w, 1m, 1y or 5wd (STEP)")
                          .arg(run.sequence[2]));
    }
    const bool backwards = step->workdays ? step->workdayCount < 0 : step->units.negative;
    if (backwards ? last.jdn > first.jdn : last.jdn < first.jdn) {
        return refuse(QStringLiteral("TO lies before FROM in the direction of STEP"));
    }
    const auto beyond = [&](std::int64_t jdn) {
        return backwards ? jdn < last.jdn : jdn > last.jdn;
    };
    const bool plainDays = !step->workdays && step->units.years == 0 && step->units.months == 0;
    const std::int64_t days = plainDays ? DayPart(step->units) : 0;

    const QString problem = filter.FormatProblem(run.settings.to.value_or(first.calendar));
    if (!problem.isEmpty()) {
        reporter.Say(QStringLiteral("invalid value for --format: %1").arg(problem));
        return kExitRefused;
    }
    FilterOutput output;
    output.buffer() += filter.RecordHeader(true);
    std::int64_t jdn = first.jdn;
    if (step->workdays && !workdays.IsWorkday(jdn)) {
        jdn = backwards ? PreviousWorkday(workdays, jdn) : NextWorkday(workdays, jdn);
    }
    for (std::int64_t k = 1; !beyond(jdn); ++k) {
        const QByteArray written = filter.Written(first.calendar, jdn).toUtf8();
        if (written.isEmpty()) {
            output.Flush(true);
            reporter.Say(QStringLiteral("--seq: %1")
                             .arg(reporter.Text(TextIdOf(LineFault::ResultOutOfRange),
                                                "the result lies beyond the "
                                                "calendar's range")));
            return kExitError;
        }
        filter.AppendSequenceDate(output.buffer(), first.calendar, jdn, QString::fromUtf8(written));
        if (!output.Flush(false)) {
            break;
        }
        if ((k & 0xfff) == 0 && *stop != 0) {
            output.Flush(true);
            return kExitStopped;
        }
        if (plainDays) {
            jdn += days;
        } else if (step->workdays) {
            jdn = workdays.StepFromFirst(jdn, step->workdayCount, false);
        } else {
            // Each date from the first, so that a month end cut short stays the month's end.
            UnitDifference multiple = step->units;
            if (multiple.years > kMaxUnitYears / k || multiple.months > kMaxUnitMonths / k ||
                multiple.weeks > kMaxUnitWeeks / k || multiple.days > kMaxUnitDays / k) {
                break;
            }
            multiple.years *= k;
            multiple.months *= k;
            multiple.weeks *= k;
            multiple.days *= k;
            const UnitResult next = AddUnits(first.calendar, first.jdn, multiple);
            if (next.outcome != UnitOutcome::Done) {
                break;
            }
            jdn = next.jdn;
        }
        if (jdn < kMinDayNumber || jdn > kMaxDayNumber) {
            break;  // the next date lies beyond every calendar: the list ends before TO
        }
    }
    if (!output.Flush(true)) {
        reporter.Say(QStringLiteral("cannot write the output: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(output.error()))));
        return kExitError;
    }
    return kExitOk;
}

}  // namespace

int RunFilter(const FilterRun& run, const AppState& state, volatile std::sig_atomic_t* stop) {
    const Reporter reporter(state.settings.language);
    FilterSettings settings = run.settings;
    settings.language = state.settings.language;
    LineFilter filter(settings, state.settings.format, state.settings.workdays);
    // A format that cannot be used for the calendars named is refused before any input is read.
    const QString inputProblem = filter.InputFormatProblem();
    if (!inputProblem.isEmpty()) {
        reporter.Say(QStringLiteral("invalid value for --input-format: %1").arg(inputProblem));
        return kExitRefused;
    }
    if (run.sequence.isEmpty() && settings.mode != FilterMode::Diff) {
        const QString problem =
            filter.FormatProblem(settings.to.value_or(settings.from.value_or(kDefaultCalendar)));
        if (!problem.isEmpty()) {
            reporter.Say(QStringLiteral("invalid value for --format: %1").arg(problem));
            return kExitRefused;
        }
    }
    const bool records = settings.output != OutputShape::Lines;
    if (!run.sequence.isEmpty()) {
        return ListSequence(run, filter, state.settings.workdays, stop, reporter);
    }

    QStringList inputs = run.inputs;
    if (inputs.isEmpty()) {
        inputs << QStringLiteral("-");
    }
    FilterOutput output;
    std::string& out = output.buffer();
    out += filter.RecordHeader(false);
    long long badLines = 0;
    bool unreadable = false;
    bool stopped = false;
    bool strictStop = false;
    char* line = nullptr;
    std::size_t capacity = 0;
    QString faultText;
    for (const QString& input : inputs) {
        const bool standardInput = input == QLatin1String("-");
        const QString name =
            standardInput ? reporter.Text(kTextStandardInput, "(standard input)") : input;
        std::FILE* file = standardInput ? stdin : std::fopen(QFile::encodeName(input), "rb");
        if (file == nullptr) {
            reporter.Say(QStringLiteral("%1: %2: %3")
                             .arg(name, reporter.Text(kTextCannotRead, "cannot be read"),
                                  QString::fromLocal8Bit(std::strerror(errno))));
            unreadable = true;
            continue;
        }
        long long lineNumber = 0;
        for (;;) {
            errno = 0;
            const ssize_t length = getline(&line, &capacity, file);
            if (length < 0) {
                stopped = *stop != 0;
                if (!stopped && std::ferror(file)) {
                    reporter.Say(QStringLiteral("%1: %2: %3")
                                     .arg(name, reporter.Text(kTextCannotRead, "cannot be read"),
                                          QString::fromLocal8Bit(std::strerror(errno))));
                    unreadable = true;
                }
                break;
            }
            ++lineNumber;
            // The line end is written back as it came: LF, CR LF, or none on the last line.
            std::string_view text(line, static_cast<std::size_t>(length));
            std::string_view end;
            if (!text.empty() && text.back() == '\n') {
                const std::size_t cut = text.size() >= 2 && text[text.size() - 2] == '\r' ? 2 : 1;
                end = text.substr(text.size() - cut);
                text.remove_suffix(cut);
            }
            const std::size_t before = out.size();
            if (run.header && lineNumber == 1) {
                filter.ApplyHeader(text, out);
            } else {
                const LineFault fault = filter.Apply(text, out, faultText, lineNumber);
                if (fault != LineFault::None) {
                    out.resize(before);
                    output.Flush(true);
                    reporter.BadLine(name, lineNumber, fault, faultText);
                    ++badLines;
                    if (run.strict) {
                        strictStop = true;
                        break;
                    }
                    if (records) {
                        filter.AppendFaultRecord(out, lineNumber, faultText,
                                                 reporter.FaultText(fault));
                    } else {
                        out.append(text);  // kept as it was
                    }
                }
            }
            if (records) {
                // One record a line, ended by LF; a line without one (empty, the header) none.
                if (out.size() != before) {
                    out += '\n';
                }
            } else {
                out.append(end);
            }
            if (!output.Flush(false)) {
                break;
            }
            if ((lineNumber & 0xfff) == 0 && *stop != 0) {
                stopped = true;
                break;
            }
        }
        if (!standardInput) {
            std::fclose(file);
        } else {
            std::clearerr(stdin);
        }
        if (stopped || strictStop || output.failed()) {
            break;
        }
    }
    std::free(line);
    if (!output.Flush(true)) {
        reporter.Say(QStringLiteral("cannot write the output: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(output.error()))));
        return kExitError;
    }
    if (stopped) {
        return kExitStopped;
    }
    if (strictStop) {
        reporter.Say(reporter.Text(kTextStoppedAtBadLine, "stopped at the first bad line"));
        return kExitError;
    }
    if (badLines > 0) {
        reporter.Say(
            reporter.Text(kTextBadLinesKept, "bad lines kept as they were: %1").arg(badLines));
        return kExitError;
    }
    return unreadable ? kExitError : kExitOk;
}

}  // namespace daybridge::cli
