// daybridge-batch: runs a batch program from a terminal, as the window's "Process file" does.
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QSaveFile>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "batch/batch_interpreter.h"
#include "cli/cli_help.h"
#include "cli/cli_options.h"
#include "cli/compute_record.h"
#include "cli/filter_run.h"
#include "cli/terminal_host.h"
#include "compute/compute_engine.h"
#include "env/paths.h"
#include "env/program_file.h"
#include "env/settings_file.h"
#include "env/text_store.h"
#include "workdays/holiday_export.h"

namespace {

using namespace daybridge;

constexpr int kExitOk = 0;
constexpr int kExitError = 1;
constexpr int kExitRefused = 2;
constexpr int kExitStopped = 130;  // 128 + SIGINT, as a shell reports a run ended by Ctrl+C
// Short slices keep each piece of output small enough to stay in the processor's caches while
// it is converted and written: a millisecond's output (some 600 KB of text) does not.
constexpr std::chrono::microseconds kSlice{100};

volatile std::sig_atomic_t g_stopRequested = 0;

extern "C" void OnInterrupt(int) {
    g_stopRequested = 1;
}

// Ctrl+C asks the run to stop after the current line; a second Ctrl+C ends the process. The
// handler does not restart system calls, so a prompt waiting for stdin is cancelled.
void InstallInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    SetReadStopFlag(&g_stopRequested);
}

// The run's output could not be written (%1: the system's reason).
constexpr int kTextOutputNotWritten = 1218;

void PrintError(const QString& text) {
    const QByteArray bytes = ("daybridge-batch: " + cli::WithLfLineEnds(text) + "\n").toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

// False (with a message) when stdout refused the bytes.
bool WriteStdout(const QByteArray& bytes) {
    errno = 0;
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        PrintError(QStringLiteral("cannot write the output: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : EIO))));
        return false;
    }
    return true;
}

bool PrintStdout(const QString& text) {
    return WriteStdout(text.toUtf8());
}

// Why a file was refused without a message of the run's own: the other refusals (missing,
// folder, device, unreadable, too large, bad bytes) are reported by the run itself.
QString RefusalReason(const QString& path, const AppState& state) {
    const QString name =
        path == QLatin1String(kStandardInputName) ? QStringLiteral("standard input") : path;
    return QStringLiteral("%1: %2").arg(name, state.settings.Text(251));
}

std::int32_t LocalTodayJdn() {
    const QDate today = QDate::currentDate();
    return JdnOfCivil(today.year(), today.month(), today.day(), 'G');
}

// --list: the year's holidays as lines or as an iCalendar file, no program run.
int ListHolidays(const cli::Options& options) {
    const WorkdayCalendar workdays(options.weekend.value_or(WorkdayCalendar::kSaturdaySunday),
                                   *options.holidays,
                                   {options.categories, options.halfDays.value_or(false)});
    const std::vector<ListedHoliday> holidays = HolidaysOfYear(workdays, *options.listYear);
    if (!options.icalPath) {
        return PrintStdout(HolidayListText(holidays)) ? kExitOk : kExitError;
    }
    const QByteArray file = HolidayICalendar(holidays, workdays.holidays()->name,
                                             options.todayJdn.value_or(LocalTodayJdn()));
    if (*options.icalPath != QLatin1String("-")) {
        // Written whole or not at all: an earlier export stays if this one fails.
        QSaveFile out(*options.icalPath);
        if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size() || !out.commit()) {
            PrintError(
                QStringLiteral("cannot write %1: %2").arg(*options.icalPath, out.errorString()));
            return kExitError;
        }
        return kExitOk;
    }
    return WriteStdout(file) ? kExitOk : kExitError;
}

// The user file's preferences (--settings), without its fields and output, which are not the
// run's. False when the file was named but cannot be read (said on stderr).
bool LoadRunSettings(const cli::Options& options, AppState& state) {
    if (options.settingsPath.isEmpty()) {
        return true;
    }
    SettingsLoad outcome = SettingsLoad::Missing;
    OutputText savedOutput;
    if (!LoadUserSettings(options.settingsPath, state, savedOutput, nullptr, &outcome)) {
        const char* reason = "the settings file is damaged";
        switch (outcome) {
            case SettingsLoad::Missing:
                reason = "settings file not found";
                break;
            case SettingsLoad::NotRegular:
                reason = "not a regular file (a folder, FIFO or device), not read";
                break;
            case SettingsLoad::Unreadable:
                reason = "the settings file cannot be read";
                break;
            case SettingsLoad::Loaded:
            case SettingsLoad::Damaged:
                break;
        }
        PrintError(QStringLiteral("%1: %2").arg(options.settingsPath, QLatin1String(reason)));
        return false;
    }
    state.session.firstDateText.clear();
    state.session.dateDiffText.clear();
    state.session.secondDateText.clear();
    return true;
}

// The output's last part written; false when it could not be (said on stderr).
bool FinishOutput(cli::LineEndWriter& writer, const AppState& state) {
    writer.finish();
    if (writer.failed()) {
        PrintError(state.settings.Text(kTextOutputNotWritten)
                       .arg(QString::fromLocal8Bit(std::strerror(writer.error()))));
        return false;
    }
    return true;
}

// --compute: one computation, its lines or its record.
int RunComputeOption(const cli::Options& options, AppState& state, cli::TerminalHost& host,
                     const ComputeEngine& engine, cli::LineEndWriter& writer) {
    QString record;
    QString refusal;
    const int status = cli::RunComputation(options.compute, options.filter.settings.output, state,
                                           host, engine, record, refusal);
    if (!refusal.isEmpty()) {
        PrintError(refusal);
    }
    host.drainOutput();
    if (!record.isEmpty()) {
        writer.write(record);
    }
    return FinishOutput(writer, state) ? status : kExitError;
}

// A batch program, slice by slice, its output written as it comes.
int RunProgram(const cli::Options& options, const AppState& state, cli::TerminalHost& host,
               BatchInterpreter& interpreter, cli::LineEndWriter& writer) {
    const bool stdoutIsTerminal = isatty(STDOUT_FILENO) != 0;
    const bool started =
        options.hasLines ? interpreter.StartLines(options.lines, QStringLiteral("(command line)"))
                         : interpreter.StartFile(options.file);
    host.drainOutput();
    bool stopSent = false;
    while (started) {
        if (g_stopRequested != 0 && !stopSent) {
            interpreter.RequestStop();
            stopSent = true;
        }
        const bool more = interpreter.RunSlice(kSlice);
        host.drainOutput();
        if (!more || writer.failed()) {
            break;  // a run whose output cannot be written is not worth going on with
        }
        if (stdoutIsTerminal) {
            writer.flush();
        }
    }
    host.drainOutput();
    if (!FinishOutput(writer, state)) {
        return kExitError;
    }
    if (g_stopRequested != 0) {
        return kExitStopped;
    }
    if (interpreter.Refused()) {
        if (!host.anyMessage()) {
            PrintError(RefusalReason(options.file, state));
        }
        return kExitRefused;
    }
    if (interpreter.Stopped()) {
        return kExitStopped;
    }
    if (interpreter.ErrorCount() > 0 || interpreter.ErrorReported()) {
        return kExitError;
    }
    return kExitOk;
}

int Run(const cli::Options& options) {
    QString failure;
    const QString dataPath = FindDataFile(QString::fromLatin1(kTextDataFileName));
    if (LoadProgramText(dataPath, &failure) <= 0) {
        PrintError(failure);
        return kExitRefused;
    }
    SetMainWindowReady(true);

    AppState state;
    if (!LoadRunSettings(options, state)) {
        return kExitRefused;
    }
    cli::ApplyOverrides(options, state);
    // The system's digit grouping: none under the C (POSIX) locale.
    if (state.settings.format.regional.language() == QLocale::C) {
        state.settings.format.regional = QLocale::c();
    }
    if (options.filterMode) {
        cli::FilterRun filter = options.filter;
        filter.settings.includeFirst = state.settings.includeFirstDate;
        return cli::RunFilter(filter, state, &g_stopRequested);
    }
    static char stdoutBuffer[1 << 16];
    std::setvbuf(stdout, stdoutBuffer, _IOFBF, sizeof stdoutBuffer);

    cli::LineEndWriter writer(stdout);
    cli::TerminalHost host(writer, options.todayJdn.value_or(LocalTodayJdn()),
                           isatty(STDIN_FILENO) != 0);
    host.output().setStreaming(true);
    ComputeEngine engine(state);
    BatchInterpreter interpreter(state, host, engine);
    if (g_stopRequested != 0) {
        return kExitStopped;  // Ctrl+C before the run began
    }
    if (!options.compute.isEmpty()) {
        return RunComputeOption(options, state, host, engine, writer);
    }
    return RunProgram(options, state, host, interpreter, writer);
}

}  // namespace

int main(int argc, char* argv[]) {
#ifdef __GLIBC__
    // The output is gathered and freed slice by slice: keep the freed blocks for the next slice
    // rather than giving them back to the system and faulting them in again.
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
    InstallInterruptHandler();
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    cli::Options options;
    QString error;
    if (!cli::ParseOptions(arguments, options, error)) {
        PrintError(error + "\nTry 'daybridge-batch --help' for more information.");
        return kExitRefused;
    }
    if (options.help) {
        return PrintStdout(cli::UsageText()) ? kExitOk : kExitError;
    }
    if (options.version) {
        return PrintStdout(
                   QStringLiteral("daybridge-batch (Daybridge) %1\n").arg(DAYBRIDGE_VERSION))
                   ? kExitOk
                   : kExitError;
    }
    return options.listYear ? ListHolidays(options) : Run(options);
}
