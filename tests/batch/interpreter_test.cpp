#include <QFile>
#include <QTemporaryDir>

#include "batch_fixture.h"
#include "calendar/calendar_table.h"

namespace daybridge::testing {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

using BatchRunTest = BatchFixture;

TEST_F(BatchRunTest, ValueErrorsAreReportedAndCounted) {
    struct Case {
        const char* line;
        int text;  // main text of the report
    };
    const Case cases[] = {
        {"d = 2020-01-01", 65},
        {"x = 3.5", 65},
        {"x = RESULT", 250},  // letters that name no calendar: maybe a variable
        {"x = FOO(1)", 61},
        {"TODAY = 5", 42},
        {"RESULT = 5", 42},
        {"x =", 42},
        {"a b( = 1", 82},
        {"x = VAL(5)", 41},
        {"x = DAYOF(D)", 47},
        {"x = HOLS[1]", 84},
        {"x = CE 2020-02-30", 29},
        {"x = CE 2O20-12-31", 250},  // a letter O for a zero: refused, not dropped
        {"x = XYZ 2020-12-31", 250},
    };
    for (const Case& c : cases) {
        host.boxes.clear();
        const QString out = Run({"D = 1", c.line});
        EXPECT_EQ(interpreter.ErrorCount(), 1) << c.line;
        ASSERT_EQ(host.boxes.size(), 1u) << c.line;
        EXPECT_TRUE(host.boxes[0].text.startsWith(T(c.text))) << c.line;
        EXPECT_TRUE(out.endsWith(host.boxes[0].text + kCrLf)) << c.line;
        EXPECT_TRUE(host.boxes[0].text.endsWith(QStringLiteral("\r\n") + c.line)) << c.line;
    }
}

TEST_F(BatchRunTest, ReportCompositionFrames) {
    // Frame A: main text, blank, line word, number, ":", line break, line.
    Run({"// comment", "x = 3.5"});
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, T(65) + " " + T(59) + " 2:\r\nx = 3.5");
    EXPECT_EQ(host.boxes[0].title, T(40));
    EXPECT_EQ(host.boxes[0].icon, MsgIcon::Exclamation);
    // Frame C: main text, number, ":", line break, line.
    host.boxes.clear();
    Run({"DO 0", "ENDDO"});
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, T(46) + " 1:\r\nDO 0");
    // Frame D.
    host.boxes.clear();
    Run({"FUNCTION F(X)", "RETURN: X", "ENDFUNCTION", "OUTPUT: F(1)"});
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, T(21) + " " + T(59) + " 4:\r\n" + T(66) + "\r\n");
    EXPECT_EQ(host.boxes[0].title, T(58));
    // The unmatched end: OK and Cancel, no icon, not counted.
    host.boxes.clear();
    Run({"ENDSKIP"});
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "ENDSKIP " + T(16) + " SKIP " + T(59) + " 1.");
    EXPECT_EQ(host.boxes[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(host.boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(interpreter.ErrorCount(), 0);
    EXPECT_TRUE(interpreter.ErrorReported());
}

TEST_F(BatchRunTest, CalendarArgumentFlagIsClearedByTheReport) {
    Run({"D = 1", "x = DAYOF(D)", "y = VAL(5)"});
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_TRUE(host.boxes[0].text.startsWith(T(47)));
    EXPECT_TRUE(host.boxes[1].text.startsWith(T(41)));
}

TEST_F(BatchRunTest, ErrorSummaryAtTheMaximum) {
    state.maxNumErrors = 3;
    const QString out = Run({"x = 3.5", "x = 3.5", "x = 3.5", "OUTPUT: not reached"});
    EXPECT_EQ(interpreter.ErrorCount(), 3);
    const QString summary = "3 " + T(8).toLower() + ", " + T(10);
    EXPECT_TRUE(out.endsWith(kCrLf + summary + kCrLf));
    EXPECT_FALSE(out.contains("not reached"));
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_EQ(host.boxes.back().text, summary);
    EXPECT_EQ(host.boxes.back().icon, MsgIcon::None);

    host.boxes.clear();
    state.maxNumErrors = 1;
    const QString one = Run({"x = 3.5", "OUTPUT: not reached"});
    EXPECT_TRUE(one.endsWith(kCrLf + "1 " + T(21).toLower() + ", " + T(10) + kCrLf));
    EXPECT_EQ(host.boxes.size(), 1u);  // the report only: no box for the summary
}

// With the IF true the ELSEIF condition is not evaluated (it could not be).
TEST_F(BatchRunTest, ElseIfAfterATrueIfIsNotEvaluated) {
    EXPECT_EQ(Run({"A = 1", "IF A = 1", "OUTPUT: one", "ELSEIF NOSUCH = 1", "ENDIF"}), "one\r\n");
    EXPECT_EQ(interpreter.ErrorCount(), 0);
}

TEST_F(BatchRunTest, ConditionForms) {
    host.setToday(2451545);  // Saturday 2000-01-01
    EXPECT_EQ(Run({"D = TODAY", "IF DOW(D) = SATURDAY", "OUTPUT: sat", "ENDIF",
                   "IF DOW(D) != SUNDAY", "OUTPUT: not sun", "ENDIF", "IF ISLEAPYEAR(2000, CE)",
                   "OUTPUT: leap", "ENDIF", "IF TODAY > CE 1999-12-31", "OUTPUT: later", "ENDIF",
                   "IF 1,000 >= 999", "OUTPUT: numbers", "ENDIF"}),
              "sat\r\nnot sun\r\nleap\r\nlater\r\nnumbers\r\n");
}

QStringList Repeated(const QString& line, int times, const QStringList& tail = {}) {
    QStringList lines;
    for (int i = 0; i < times; ++i) {
        lines << (line.contains('%') ? line.arg(i) : line);
    }
    return lines + tail;
}

// Programs that end in exactly one report; "OUTPUT: x" after the fault is never reached.
TEST_F(BatchRunTest, ProgramsWithOneReport) {
    struct Case {
        QStringList lines;
        QString text;
        bool exact;  // the whole report, else its start
        int errors;  // counted errors, -1: not checked
    };
    const QString line = " " + T(59);
    const Case cases[] = {
        // DO structure and counts.
        {{"DO 0", "ENDDO", "OUTPUT: x"}, T(46), false, -1},
        {{"DO 2", "OUTPUT: x"}, T(46), false, -1},
        {{"ENDDO", "OUTPUT: x"}, T(46), false, -1},
        {{"EXITDO", "OUTPUT: x"}, T(46), false, -1},
        {{"DONE = 1", "ENDDO"}, T(46), false, -1},  // a DO line whose count is no number
        {{"N = 40000", "DO N", "OUTPUT: x", "ENDDO"}, T(71), false, -1},
        {Repeated("IF 1 = 1", 21), T(48) + "(20)" + line + " 21:\r\nIF 1 = 1", true, -1},
        {Repeated("DO 1", 21, Repeated("ENDDO", 21)), T(31) + " 21:\r\nDO 1", true, -1},
        // Procedures.
        {{"SKIP", "OUTPUT: x"}, {}, false, -1},
        {{"ENDSUB", "OUTPUT: x"}, {}, false, -1},
        {{"ENDFUNCTION", "OUTPUT: x"}, {}, false, -1},
        {{"SUB S()", "OUTPUT: x"}, {}, false, -1},
        {{"FUNCTION F()", "OUTPUT: x"}, {}, false, -1},
        {{"RETURN:", "OUTPUT: x"}, {}, false, -1},
        {{"RETURN: 5", "OUTPUT: x"}, T(53) + " 1.", true, -1},
        // Arrays.
        {{"DOFOREACH NONE AS D", "OUTPUT: x", "ENDDO"}, T(83) + line + " 1.", true, -1},
        {{"// 1", "DOFOREACH B AS X", "ENDDO"}, T(83) + line + " 2.", true, -1},
        // Conditions.
        {{"D = 1", "IF DOW(D) < 3", "ENDIF"}, T(44), false, -1},
        {{"IF A", "ENDIF"}, T(49) + " 1:\r\nIF A", true, -1},
        {{"IF 2020-12-31 > 1", "ENDIF"}, T(65), false, -1},
        // Overflow of values and of the variable table.
        {{"N = 2147483647", "N += 1"}, T(71), false, 1},
        {{"N = -2147483647", "N -= 2"}, T(71), false, 1},
        {{"N = 2147483647", "X = ADD(N, N)"}, T(71), false, 1},
        {{"N = 99999999999"}, T(71), false, 1},
        {Repeated("V%1 = %1", 1001), "Line 1001, 'V1000 = 1000':\r\n" + T(50), true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.mid(0, 4).join('|').toStdString());
        host.boxes.clear();
        const QString out = Run(c.lines);
        EXPECT_FALSE(out.contains("x\r\n"));
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_TRUE(out.endsWith(host.boxes[0].text + kCrLf));
        if (c.exact) {
            EXPECT_EQ(host.boxes[0].text, c.text);
        } else {
            EXPECT_TRUE(host.boxes[0].text.startsWith(c.text)) << host.boxes[0].text.toStdString();
        }
        EXPECT_TRUE(interpreter.ErrorReported());
        if (c.errors >= 0) {
            EXPECT_EQ(interpreter.ErrorCount(), c.errors);
        }
    }
}

// The other call errors: golden programs errors_procedures and procedures.
TEST_F(BatchRunTest, AnUnknownArgumentOfACallIsReported) {
    Run({"CALL S(NOSUCH, 1, 2)", "STOP", "SUB S(A, B, C)", "ENDSUB"});
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_TRUE(host.boxes[0].text.startsWith(T(41)));
    EXPECT_GE(interpreter.ErrorCount(), 1);
}

TEST_F(BatchRunTest, CallsDeeperThanTheFrameLimitEndTheRun) {
    const QString out = Run({"X = DEEP(0)", "OUTPUT: not reached", "STOP", "FUNCTION DEEP(K)",
                             "K += 1", "Y = DEEP(K)", "RETURN: Y", "ENDFUNCTION"});
    EXPECT_FALSE(out.contains("not reached"));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_TRUE(host.boxes[0].text.startsWith(state.Caption(Caption::CallsTooDeep)));
    EXPECT_FALSE(interpreter.Running());
}

TEST_F(BatchRunTest, ZeroTimesResultIsAnInvalidDifference) {
    const QString zero = Run({"2020-01-01 # # 2020-12-31", "2020-01-01 # RESULT*0 #"});
    EXPECT_TRUE(zero.contains("Line 2, '2020-01-01 # RESULT*0 #', date difference is invalid."));
    // Text after digits is not dropped: the difference field is refused as a whole.
    const QString further = Run({"2020-01-01 # # 2020-12-31", "2020-01-01 # 12RESULT #"});
    EXPECT_TRUE(further.contains("Line 2, '2020-01-01 # 12RESULT #', date difference is invalid."));
    EXPECT_FALSE(further.contains("plus 12 days"));
}

// The world calendars' month and calendar names come from the text data file in the run's
// language (the rest of these built-ins: golden program world_calendars).
TEST_F(BatchRunTest, WorldMonthNamesInEnglishAndGerman) {
    const char* program[] = {"OUTPUT: MONTHNAME(9, HEB)", "OUTPUT: MONTHNAME(1, FRR)",
                             "OUTPUT: MONTHNAME(13, FRR)", "OUTPUT: MONTHNAME(6, ISL)"};
    const QStringList lines(std::begin(program), std::end(program));
    EXPECT_EQ(Run(lines), QString::fromUtf8("Kislev\r\nVendémiaire\r\nSansculottides\r\n"
                                            "Jumada al-thani\r\n"));
    state.output.clear();
    state.language = kGerman;
    EXPECT_EQ(Run(lines), QString::fromUtf8("Kislew\r\nVendémiaire\r\nSansculottiden\r\n"
                                            "Dschumada th-thaniya\r\n"));
    for (int calendar = kHEB; calendar <= kMJD; ++calendar) {
        EXPECT_FALSE(state.Text(CalendarNameTextId(calendar)).isEmpty()) << calendar;
        for (int month = 1; month <= 13; ++month) {
            const int id = MonthNameTextId(calendar, month);
            EXPECT_TRUE(id == 0 || !state.Text(id).isEmpty()) << calendar << " " << month;
        }
    }
}

// What the statements write: golden programs settings_echo and verbose_settings.
// The window's weekend and holiday set come back after the run, as its separators do.
TEST_F(BatchRunTest, SettingsStatementsKeepOrderAndCalendarButNotSeparatorsOrWorkdays) {
    state.format.dateSeparator = "-";
    Run({"DATEFORMAT=D/M/Y", "FIRSTDATE=JC", "HYPHEN=N", "WEEKEND=fri,sat", "HOLIDAYS=germany"});
    EXPECT_EQ(state.format.dateSeparator, "-");
    EXPECT_TRUE(state.workdays.IsDefault());
    EXPECT_EQ(state.format.dateFormat, kDateFormatDMY);
    EXPECT_EQ(state.firstCalendar, kJC);
    EXPECT_FALSE(state.format.hyphen);
}

// Answers and prompts: golden programs input_prompts and input_bad_number.
TEST_F(BatchRunTest, CancelledInputStopsTheRunWithoutAnError) {
    host.inputAnswers.clear();
    EXPECT_EQ(Run({"N = INPUT: n", "OUTPUT: after"}), "\r\nProcessing stopped.\r\n");
    EXPECT_TRUE(interpreter.Stopped());
    EXPECT_EQ(interpreter.ErrorCount(), 0);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(BatchRunTest, StopRequestEndsAnEndlessProgramAfterTheCurrentLine) {
    ASSERT_TRUE(interpreter.StartLines({"N = 0", "DO", "N += 1", "ENDDO"}, "endless"));
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(interpreter.RunSlice(std::chrono::milliseconds(2)));
    }
    interpreter.RequestStop();
    EXPECT_FALSE(interpreter.RunSlice());
    EXPECT_FALSE(interpreter.Running());
    EXPECT_TRUE(state.output.text().endsWith("\r\nProcessing stopped.\r\n"));
    EXPECT_FALSE(state.batchRunning);
}

TEST_F(BatchRunTest, ProcessBatchFileWhileRunningRequestsAStop) {
    QTemporaryDir dir;
    QFile file(dir.filePath("loop.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("DO\r\nX = 1\r\nENDDO\r\n");
    file.close();
    state.inputFileText = dir.filePath("loop.txt");
    ASSERT_TRUE(interpreter.ProcessBatchFile());
    EXPECT_TRUE(interpreter.RunSlice(std::chrono::milliseconds(1)));
    EXPECT_FALSE(interpreter.ProcessBatchFile());  // the second press
    EXPECT_FALSE(interpreter.RunSlice());
    EXPECT_TRUE(state.output.text().endsWith("Processing stopped.\r\n"));
}

// Unix, Macintosh and control characters: golden programs lf_only, cr_only, control_char.
TEST_F(BatchRunTest, FilesThatAreRefused) {
    QTemporaryDir dir;
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return dir.filePath(name);
    };
    state.inputFileText = write("empty.txt", "");
    EXPECT_FALSE(interpreter.ProcessBatchFile());
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(interpreter.Refused());

    state.inputFileText = write("prog.bat", "OUTPUT: a\r\n");
    EXPECT_FALSE(interpreter.ProcessBatchFile());
    state.inputFileText.clear();
    EXPECT_FALSE(interpreter.ProcessBatchFile());
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_EQ(host.boxes.back().text, T(22));
    state.inputFileText = dir.filePath("missing.txt");
    EXPECT_FALSE(interpreter.ProcessBatchFile());
    EXPECT_EQ(host.boxes.back().text, "Input file does not exist.");
}

TEST_F(BatchRunTest, LongProgramsLoadAndTheLineLimitHolds) {
    QStringList program;
    for (int i = 0; i < 1600; ++i) {
        program << "N = 1";
    }
    program << "OUTPUT: done";
    EXPECT_EQ(Run(program), "done\r\n");

    QStringList tooLong;
    for (int i = 0; i < 32501; ++i) {
        tooLong << "// x";
    }
    Run(tooLong);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_TRUE(host.boxes[0].text.contains(" 32501:"));
    EXPECT_TRUE(interpreter.ErrorReported());
}

TEST_F(BatchRunTest, AutoEnlargeAtTheEnd) {
    state.autoEnlargeBytes = 10;
    Run({"OUTPUT: a long enough line"});
    EXPECT_EQ(host.enlargements, 1);
    state.autoEnlargeBytes = kAutoEnlargeNever;
    Run({"OUTPUT: a long enough line"});
    EXPECT_EQ(host.enlargements, 1);
}

}  // namespace
}  // namespace daybridge::testing
