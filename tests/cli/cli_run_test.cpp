// The daybridge-batch program itself: how it reads its program and how it ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

namespace {

struct Ran {
    bool finished = false;  // within the time allowed
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the program with `input` on stdin (closed after it unless `keepInputOpen`); stdout goes
// to `outFile` when given. With `interruptAfterMs` >= 0 it gets SIGINT after that delay.
Ran RunBatch(const QStringList& args, const QByteArray& input = {}, const QString& outFile = {},
             int interruptAfterMs = -1, bool keepInputOpen = false) {
    QProcess process;
    process.setProgram(QStringLiteral(DAYBRIDGE_BATCH_EXE));
    process.setArguments(QStringList{"--verbose", "off"} + args);
    if (!outFile.isEmpty()) {
        process.setStandardOutputFile(outFile);
    }
    process.start();
    Ran ran;
    if (!process.waitForStarted(5000)) {
        return ran;
    }
    process.write(input);
    if (!keepInputOpen) {
        process.closeWriteChannel();
    }
    if (interruptAfterMs >= 0) {
        QThread::msleep(static_cast<unsigned long>(interruptAfterMs));
        ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    }
    ran.finished = process.waitForFinished(10000);
    if (!ran.finished) {
        process.kill();
        process.waitForFinished();
    }
    ran.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    ran.out = process.readAllStandardOutput();
    ran.err = process.readAllStandardError();
    return ran;
}

// A comment line longer than the first piece a reader might take, then one OUTPUT line: the
// comment's tail must stay a comment.
QByteArray LongCommentProgram(const QByteArray& lineEnd) {
    return "// " + QByteArray(16384 - 3, 'x') + "OUTPUT: inside the comment" + lineEnd +
           "OUTPUT: shown" + lineEnd;
}

TEST(BatchProgram, IsReadOnceFromAnySource) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString folder = dir.path();
    const QString large = dir.filePath(QStringLiteral("large.txt"));
    QFile largeFile(large);
    ASSERT_TRUE(largeFile.open(QIODevice::WriteOnly) && largeFile.resize((64 << 20) + 1));
    largeFile.close();
    struct Case {
        const char* name;
        QStringList args;
        QByteArray input;
        int status;
        QByteArray out;
        QByteArray err;  // the start of stderr
    };
    const Case cases[] = {
        {"stdin dash, CR LF", {"-"}, LongCommentProgram("\r\n"), 0, "shown\n", ""},
        {"stdin dash, LF", {"-"}, LongCommentProgram("\n"), 0, "shown\n", ""},
        {"/dev/stdin", {"/dev/stdin"}, LongCommentProgram("\n"), 0, "shown\n", ""},
        {"mixed line ends", {"-"}, "OUTPUT: a\r\nOUTPUT: b\nOUTPUT: c\r\n", 0, "a\nb\nc\n", ""},
        {"empty stdin", {"-"}, "", 2, "", "daybridge-batch: standard input: the file is empty"},
        {"FIFO without writer", {fifo}, "", 2, "", "daybridge-batch: "},
        {"folder", {folder}, "", 2, "", "Input file refused: The input file is a folder"},
        {"device", {"/dev/zero"}, "", 2, "", "Input file refused: The input file is a device"},
        {"over the size limit",
         {large},
         "",
         2,
         "",
         "Input file refused: The input file is larger "
         "than the limit of 64 MiB (67,108,864 bytes)."},
        {"settings folder",
         {"--settings", folder, "-e", "X = 1"},
         "",
         2,
         "",
         "daybridge-batch: " + folder.toUtf8() + ": not a regular file"},
        {"settings device",
         {"--settings", "/dev/zero", "-e", "X = 1"},
         "",
         2,
         "",
         "daybridge-batch: /dev/zero: not a regular file"},
        {"endless control bytes", {"-"}, QByteArray(1 << 20, '\0'), 2, "", "Invalid character: "},
    };
    for (const Case& c : cases) {
        const Ran ran = RunBatch(c.args, c.input);
        ASSERT_TRUE(ran.finished) << c.name;
        EXPECT_EQ(ran.status, c.status) << c.name << ": " << ran.err.toStdString();
        EXPECT_EQ(ran.out, c.out) << c.name;
        EXPECT_TRUE(ran.err.startsWith(c.err)) << c.name << ": " << ran.err.toStdString();
    }
}

TEST(BatchProgram, EndsWithTheStatusOfHowItEnded) {
    const QByteArray endless = "DO\r\nX = 1\r\nENDDO\r\n";
    const QByteArray noSpace =
        "daybridge-batch: cannot write the output: No space left on device\n";
    struct Case {
        const char* name;
        QStringList args;
        QString outFile;
        int interruptAfterMs;
        bool keepInputOpen;
        int status;
        QByteArray err;
    };
    const Case cases[] = {
        {"output to a full disk", {"-e", "OUTPUT: x"}, "/dev/full", -1, false, 1, noSpace},
        {"help to a full disk", {"--help"}, "/dev/full", -1, false, 1, noSpace},
        {"Ctrl+C while running", {"-"}, {}, 500, false, 130, ""},
        {"Ctrl+C while the program is read", {"-"}, {}, 500, true, 130, ""},
        {"a counted error", {"-e", "X = 1 +"}, {}, -1, false, 1, ""},
        {"a refused command line", {"--bogus"}, {}, -1, false, 2, ""},
    };
    for (const Case& c : cases) {
        const Ran ran = RunBatch(c.args, c.interruptAfterMs >= 0 ? endless : QByteArray(),
                                 c.outFile, c.interruptAfterMs, c.keepInputOpen);
        ASSERT_TRUE(ran.finished) << c.name;
        EXPECT_EQ(ran.status, c.status) << c.name << ": " << ran.err.toStdString();
        EXPECT_TRUE(c.err.isEmpty() || ran.err == c.err) << c.name << ": " << ran.err.toStdString();
    }
}

TEST(BatchProgram, AClosedPipeWithSigpipeIgnoredIsAnError) {
    // The shell runs the program with SIGPIPE ignored and its output read by `head`, which
    // leaves after the first bytes.
    QProcess shell;
    shell.start(QStringLiteral("/bin/bash"),
                {"-c",
                 "trap '' PIPE; \"$0\" --verbose off - | head -c 1 > /dev/null; "
                 "exit ${PIPESTATUS[0]}",
                 QStringLiteral(DAYBRIDGE_BATCH_EXE)});
    shell.write("DO 30000\r\nOUTPUT: a line long enough to fill the pipe soon\r\nENDDO\r\n");
    shell.closeWriteChannel();
    ASSERT_TRUE(shell.waitForFinished(10000));
    EXPECT_EQ(shell.exitCode(), 1);
    EXPECT_TRUE(shell.readAllStandardError().startsWith(
        "daybridge-batch: cannot write the output: Broken pipe"));
}

}  // namespace
