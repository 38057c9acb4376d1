// What the run does that the command-line goldens cannot show: the message box's icon and
// buttons, the window's fields after a run, its stop press and file checks. Report texts and
// frames: golden programs errors_*, struct_*, limit_* and procedures.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/app_state.h"
#include "batch/batch_interpreter.h"
#include "compute/compute_engine.h"
#include "support/program_text.h"
#include "support/qstring_printer.h"
#include "support/recording_host.h"

namespace daybridge::testing {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Runs batch programs on a fresh state with a recording host and the real text data file.
class BatchRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(LoadShippedTexts());
        state.settings.verbose = false;
        state.settings.maxNumErrors = 0;
        state.settings.autoEnlargeBytes = kAutoEnlargeNever;
        state.settings.format.regional = QLocale::c();
    }

    // Runs the lines to the end; the output text.
    QString Run(const QStringList& lines) {
        if (interpreter.StartLines(lines, QStringLiteral("test"))) {
            int slices = 0;
            while (interpreter.RunSlice() && ++slices < 100000) {
            }
        }
        return host.output().text();
    }

    QString T(int id) const { return state.settings.Text(id); }

    AppState state;
    RecordingHost host;
    ComputeEngine engine{state};
    BatchInterpreter interpreter{state, host, engine};
};

QStringList Repeated(const QString& line, int times) {
    QStringList lines;
    for (int i = 0; i < times; ++i) {
        lines << (line.contains('%') ? line.arg(i) : line);
    }
    return lines;
}

// Programs that end in exactly one report; "OUTPUT: x" after the fault is never reached.
TEST_F(BatchRunTest, ProgramsWithOneReport) {
    struct Case {
        QStringList lines;
        QString text;  // the start of the report
    };
    const Case cases[] = {
        {{"ENDDO", "OUTPUT: x"}, T(46)},
        {{"DONE = 1", "ENDDO"}, T(46)},  // a DO line whose count is no number
        {{"N = 40000", "DO N", "OUTPUT: x", "ENDDO"}, T(71)},
        {{"SKIP", "OUTPUT: x"}, {}},
        {{"ENDSUB", "OUTPUT: x"}, {}},
        {{"ENDFUNCTION", "OUTPUT: x"}, {}},
        {{"SUB S()", "OUTPUT: x"}, {}},
        {{"FUNCTION F()", "OUTPUT: x"}, {}},
        {{"RETURN:", "OUTPUT: x"}, {}},
        {{"X = DEEP(0)", "OUTPUT: x", "STOP", "FUNCTION DEEP(K)", "K += 1", "Y = DEEP(K)",
          "RETURN: Y", "ENDFUNCTION"},
         state.settings.Caption(Caption::CallsTooDeep)},
        {Repeated("V%1 = %1", 1001), "Line 1001, 'V1000 = 1000':\r\n" + T(50)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.mid(0, 4).join('|').toStdString());
        host.boxes.clear();
        const QString out = Run(c.lines);
        EXPECT_FALSE(out.contains("x\r\n"));
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_TRUE(out.endsWith(host.boxes[0].text + kCrLf));
        EXPECT_TRUE(host.boxes[0].text.startsWith(c.text)) << host.boxes[0].text.toStdString();
        EXPECT_TRUE(interpreter.ErrorReported());
        EXPECT_FALSE(interpreter.Running());
    }
    host.boxes.clear();
    Run(Repeated("// x", 32501));  // refused at load: the output stays empty
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_TRUE(host.boxes[0].text.contains(" 32501:"));
}

// A counted report has the exclamation icon; an unmatched end asks OK or Cancel, uncounted.
TEST_F(BatchRunTest, IconsButtonsAndCounting) {
    Run({"x = 3.5"});
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(interpreter.ErrorCount(), 1);
    host.boxes.clear();
    Run({"ENDSKIP"});
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(host.boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(interpreter.ErrorCount(), 0);
    EXPECT_TRUE(interpreter.ErrorReported());
    host.boxes.clear();
    state.settings.maxNumErrors = 1;
    Run({"x = 3.5", "OUTPUT: x"});
    EXPECT_EQ(host.boxes.size(), 1u);  // the report only: no box for the summary
}

// What the statements write: golden programs settings_echo and verbose_settings.
// The window's weekend and holiday set come back after the run, as its separators do.
TEST_F(BatchRunTest, SettingsStatementsKeepOrderAndCalendarButNotSeparatorsOrWorkdays) {
    state.settings.format.dateSeparator = "-";
    Run({"DATEFORMAT=D/M/Y", "FIRSTDATE=JC", "HYPHEN=N", "WEEKEND=fri,sat", "HOLIDAYS=germany"});
    EXPECT_EQ(state.settings.format.dateSeparator, "-");
    EXPECT_TRUE(state.settings.workdays.IsDefault());
    EXPECT_EQ(state.settings.format.dateFormat, kDateFormatDMY);
    EXPECT_EQ(state.settings.firstCalendar, CalendarId::JC);
    EXPECT_FALSE(state.settings.format.hyphen);
}

// The stop by Ctrl+C: golden program interrupt.
TEST_F(BatchRunTest, ProcessBatchFileWhileRunningRequestsAStop) {
    QTemporaryDir dir;
    QFile file(dir.filePath("loop.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("DO\r\nX = 1\r\nENDDO\r\n");
    file.close();
    state.session.inputFileText = dir.filePath("loop.txt");
    ASSERT_TRUE(interpreter.ProcessBatchFile());
    EXPECT_TRUE(interpreter.RunSlice(std::chrono::milliseconds(1)));
    EXPECT_FALSE(interpreter.ProcessBatchFile());  // the second press
    EXPECT_FALSE(interpreter.RunSlice());
    EXPECT_TRUE(host.output().text().endsWith("Processing stopped.\r\n"));
    EXPECT_FALSE(state.session.batchRunning);
}

// Empty, missing and unreadable files: golden programs empty, missing_file, lf_only.
TEST_F(BatchRunTest, TheWindowTakesOnlyTxtFiles) {
    QTemporaryDir dir;
    QFile file(dir.filePath("prog.bat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("OUTPUT: a\r\n");
    file.close();
    state.session.inputFileText = file.fileName();
    EXPECT_FALSE(interpreter.ProcessBatchFile());
    EXPECT_TRUE(interpreter.Refused());
    state.session.inputFileText.clear();
    EXPECT_FALSE(interpreter.ProcessBatchFile());
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_EQ(host.boxes.back().text, T(22));
}

TEST_F(BatchRunTest, AutoEnlargeAtTheEnd) {
    state.settings.autoEnlargeBytes = 10;
    Run({"OUTPUT: a long enough line"});
    EXPECT_EQ(host.enlargements, 1);
    state.settings.autoEnlargeBytes = kAutoEnlargeNever;
    Run({"OUTPUT: a long enough line"});
    EXPECT_EQ(host.enlargements, 1);
}

}  // namespace
}  // namespace daybridge::testing
