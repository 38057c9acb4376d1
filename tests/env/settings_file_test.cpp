#include "env/settings_file.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "env/file_text.h"
#include "env/text_store.h"
#include "support/program_text.h"

namespace daybridge {
namespace {

// The state and the output text, as the window keeps them side by side.
struct Stored : AppState {
    OutputText output;
};

QString SettingsText(const Stored& s, const QString& directory) {
    return daybridge::SettingsText(s, s.output, directory);
}
bool SaveUserSettings(const QString& path, const Stored& s, const QString& directory,
                      QString* failure = nullptr) {
    return daybridge::SaveUserSettings(path, s, s.output, directory, failure);
}
bool LoadUserSettings(const QString& path, Stored& s, QString* directory = nullptr,
                      SettingsLoad* outcome = nullptr) {
    return daybridge::LoadUserSettings(path, s, s.output, directory, outcome);
}
QString LoadUserSettingsAtStart(const QString& path, Stored& s, QString* directory) {
    return daybridge::LoadUserSettingsAtStart(path, s, s.output, directory);
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Every value the settings file carries, in the form the file carries it (the exact form:
// DefaultsWrittenLineByLine and UnusualStateWrittenLineByLine).
void ExpectSameSettings(const Stored& a, const Stored& b) {
    EXPECT_EQ(SettingsText(a, QString()), SettingsText(b, QString()));
}

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString Path(const char* name = "dbrg.usr") const {
        return dir_.filePath(QString::fromLatin1(name));
    }
    QString Write(const QByteArray& bytes, const char* name = "dbrg.usr") const {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return Path(name);
    }
    // Saved and loaded again.
    Stored RoundTrip(const Stored& saved, const QString& directory = {},
                     QString* loadedDirectory = nullptr) const {
        EXPECT_TRUE(SaveUserSettings(Path(), saved, directory));
        Stored loaded;
        EXPECT_TRUE(LoadUserSettings(Path(), loaded, loadedDirectory));
        return loaded;
    }
    // A state whose every saved value differs from the built-in default.
    static Stored Unusual() {
        Stored s;
        s.settings.language = kGerman;
        s.settings.format.dateFormat = kDateFormatDMY;
        s.settings.format.dateSeparator = QStringLiteral(".");
        s.settings.format.thousandsSeparator = QString();
        s.settings.format.hyphen = false;
        s.settings.firstCalendar = CalendarId::LPW;
        s.settings.todayCalendar =
            CalendarId::LPW;  // the file keeps the first date's calendar for today
        s.settings.secondCalendar = CalendarId::ORD;
        s.settings.includeFirstDate = true;
        s.settings.includeWeekends = false;
        s.settings.verbose = false;
        s.settings.displayDayNames = false;
        s.settings.maxNumErrors = 32767;
        s.settings.autoEnlargeBytes = kAutoEnlargeNever;
        s.settings.saveOnQuit = true;
        s.settings.monthMondayFirst = false;
        s.settings.monthJulian = true;
        s.settings.monthAddedDates = MonthAddedDates::LPM;
        s.session.inputFiles = {QStringLiteral("/home/ann/a, b.txt"),
                                QStringLiteral("/home/ann/\"quoted\" name.txt"),
                                QStringLiteral("C:\\Daten\\Größe.txt")};
        s.session.selectedInputFile = 1;
        s.session.inputFileText = s.session.inputFiles[1];
        s.session.firstDateText = QStringLiteral("12.03.2024");
        s.session.dateDiffText = QStringLiteral("-1.234");
        s.session.secondDateText = QStringLiteral("say \"\"\" and ,,");
        s.output.setText(
            QStringLiteral("Line one, with comma\r\n\"quoted\" line\r\n\r\nÄ€ end\r\n"));
        return s;
    }

    QTemporaryDir dir_;
};

TEST_F(SettingsFile, DefaultsWrittenLineByLine) {
    Stored state;
    EXPECT_EQ(SettingsText(state, QStringLiteral("/home/ann")),
              QStringLiteral("0\r\n2,45,44\r\n0,0,0\r\n0\r\n1\r\n1\r\n1\r\n1\r\n1\r\n250\r\n1\r\n"
                             "\"Mon\"\r\n\"CE\"\r\n\"ISO\"\r\n\" 0\"\r\n\"-1\"\r\n"
                             "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"/home/ann\"\r\n"));
}

TEST_F(SettingsFile, UnusualStateWrittenLineByLine) {
    const QStringList lines =
        SettingsText(Unusual(), QStringLiteral("/tmp")).split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 24);
    EXPECT_EQ(lines[0], QStringLiteral("1"));
    EXPECT_EQ(lines[1], QStringLiteral("1,46,0"));
    EXPECT_EQ(lines[2], QStringLiteral("7,7,4"));
    EXPECT_EQ(lines.mid(3, 8).join(QLatin1Char(' ')), QStringLiteral("1 0 0 0 0 32767 65535 1"));
    EXPECT_EQ(lines.mid(11, 5).join(QLatin1Char(' ')),
              QStringLiteral("\"Sun\" \"JC\" \"LPM\" \" 3\" \" 1\""));
    EXPECT_EQ(lines[17], QStringLiteral("\"/home/ann/\"\"quoted\"\" name.txt\""));
    EXPECT_EQ(lines[21], QStringLiteral("\"say \"\"\"\"\"\" and ,,\""));
}

TEST_F(SettingsFile, RoundTripKeepsEveryValue) {
    const Stored saved = Unusual();
    QString directory;
    const Stored loaded = RoundTrip(saved, QStringLiteral("/data/with \"q\", comma"), &directory);
    ExpectSameSettings(loaded, saved);
    EXPECT_TRUE(loaded.settings == saved.settings);  // nothing the file should keep is lost
    EXPECT_EQ(loaded.session.inputFileText, saved.session.inputFiles[1]);
    EXPECT_EQ(directory, QStringLiteral("/data/with \"q\", comma"));
    // The file is the text, CR LF lines, in UTF-8.
    EXPECT_EQ(Contents(Path()), SettingsText(saved, directory).toUtf8());
}

// Each alternative of the multiple-choice values, and each check box turned over on its own.
TEST_F(SettingsFile, RoundTripOfEachChoice) {
    const int orders[] = {kDateFormatMDY, kDateFormatDMY, kDateFormatYMD};
    const char* separators[] = {"-", "/", "."};
    const char* thousands[] = {",", ".", ""};
    const CalendarId calendars[] = {CalendarId::CE,  CalendarId::JC,  CalendarId::JDN,
                                    CalendarId::ORD, CalendarId::ISO, CalendarId::LPW,
                                    CalendarId::LPM};
    const MonthAddedDates added[] = {MonthAddedDates::ISO, MonthAddedDates::LPM,
                                     MonthAddedDates::LPW};
    for (int i = 0; i < 8; ++i) {
        Stored saved;
        saved.settings.format.dateFormat = orders[i % 3];
        saved.settings.format.dateSeparator = QString::fromLatin1(separators[i % 3]);
        saved.settings.format.thousandsSeparator = QString::fromLatin1(thousands[(i + 1) % 3]);
        saved.settings.firstCalendar = saved.settings.todayCalendar = calendars[i % 7];
        saved.settings.secondCalendar = calendars[(i + 3) % 7];
        saved.settings.monthAddedDates = added[i % 3];
        saved.settings.language = kLanguages[static_cast<std::size_t>(i) % kLanguages.size()];
        bool* boxes[] = {&saved.settings.includeFirstDate, &saved.settings.includeWeekends,
                         &saved.settings.verbose,          &saved.settings.format.hyphen,
                         &saved.settings.displayDayNames,  &saved.settings.saveOnQuit,
                         &saved.settings.monthMondayFirst, &saved.settings.monthJulian};
        *boxes[i] = !*boxes[i];
        ExpectSameSettings(RoundTrip(saved), saved);
    }
}

TEST_F(SettingsFile, OutputNotSavedWhenUnchecked) {
    Stored saved = Unusual();
    saved.settings.saveOnQuit = false;
    const Stored loaded = RoundTrip(saved);
    EXPECT_FALSE(loaded.settings.saveOnQuit);
    EXPECT_TRUE(loaded.session.firstDateText.isEmpty());
    EXPECT_TRUE(loaded.session.dateDiffText.isEmpty());
    EXPECT_TRUE(loaded.session.secondDateText.isEmpty());
    EXPECT_TRUE(loaded.output.isEmpty());
    EXPECT_EQ(loaded.session.inputFiles, saved.session.inputFiles);
}

TEST_F(SettingsFile, NoInputFilesMeansNoSelection) {
    Stored saved;
    saved.session.inputFiles.clear();
    saved.session.selectedInputFile = 3;  // stale: there is nothing to select
    EXPECT_EQ(SettingsText(saved, QString()), SettingsText(Stored(), QString()));
    ASSERT_TRUE(SaveUserSettings(Path(), saved, QString()));
    Stored loaded;
    loaded.session.inputFiles = {QStringLiteral("old.txt")};
    ASSERT_TRUE(LoadUserSettings(Path(), loaded));
    EXPECT_TRUE(loaded.session.inputFiles.isEmpty());
    EXPECT_EQ(loaded.session.selectedInputFile, -1);
}

TEST_F(SettingsFile, FirstStartWithoutFileKeepsDefaults) {
    Stored loaded = Unusual();
    QString directory = QStringLiteral("stale");
    EXPECT_FALSE(LoadUserSettings(Path("absent.usr"), loaded, &directory));
    ExpectSameSettings(loaded, Stored());
    EXPECT_TRUE(directory.isEmpty());
}

// A well-formed file with lines replaced; `lines` are the 21 lines of a file without input
// files (the defaults, whose exact text DefaultsWrittenLineByLine checks).
QByteArray FileOf(const QStringList& lines) {
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QStringList DefaultLines() {
    QStringList lines = SettingsText(Stored(), QString()).split(QStringLiteral("\r\n"));
    lines.removeLast();  // after the last line end
    return lines;
}

struct DamageCase {
    const char* name;
    int line;  // 1-based line to replace; 0 = `text` is the whole file
    const char* text;
};

class DamagedSettings : public SettingsFile, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedSettings, FallBackToTheDefaults) {
    QByteArray bytes;
    if (GetParam().line == 0) {
        bytes = QByteArray(GetParam().text);
    } else {
        QStringList lines = DefaultLines();
        lines[0] = QStringLiteral("1");  // German: must not survive the failure
        lines[GetParam().line - 1] = QString::fromUtf8(GetParam().text);
        bytes = FileOf(lines);
    }
    Stored loaded = Unusual();
    EXPECT_FALSE(LoadUserSettings(Write(bytes), loaded));
    ExpectSameSettings(loaded, Stored());
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedSettings,
    ::testing::Values(
        DamageCase{"EmptyFile", 0, ""}, DamageCase{"Truncated", 0, "1\r\n2,45,44\r\n0,0"},
        DamageCase{"StopsAfterLine11", 0,
                   "1\r\n2,45,44\r\n0,0,0\r\n0\r\n1\r\n1\r\n1\r\n1\r\n1\r\n250\r\n1\r\n"},
        DamageCase{"LanguageNotANumber", 1, "German"}, DamageCase{"LanguageEmpty", 1, ""},
        DamageCase{"LanguageTooLarge", 1, "99999999999999999999"},
        DamageCase{"TwoValuesMissing", 2, "2"}, DamageCase{"ExtraValue", 3, "0,0,0,0"},
        DamageCase{"CheckStateThree", 5, "3"}, DamageCase{"CheckStateNegative", 6, "-1"},
        DamageCase{"NegativeMaxErrors", 9, "-2"}, DamageCase{"HugeMaxErrors", 9, "4000000000"},
        DamageCase{"AutoEnlargeTooLarge", 10, "65536"}, DamageCase{"NegativeCount", 15, "\"-1\""},
        DamageCase{"HugeCount", 15, "\" 2147483647\""},
        DamageCase{"AbsurdCount", 15, "\" 99999999999999999999999\""},
        DamageCase{"CountBeyondData", 15, "\" 3\""},
        DamageCase{"UnclosedQuote", 17, "\"12.03.2024"}, DamageCase{"JunkAfterQuote", 18, "\"a\"b"},
        DamageCase{"BinaryJunk", 0,
                   "\x7F"
                   "ELF\x02\x01\x01\x00\xFF\xFE"}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

// Values that read with a fallback rather than a failure.
TEST_F(SettingsFile, ValuesOutsideTheirChoicesFallBack) {
    QStringList lines = DefaultLines();
    lines[0] = QStringLiteral("3");        // Portuguese cannot be picked: English
    lines[1] = QStringLiteral("7,33,95");  // unknown order and separators
    lines[2] = QStringLiteral("3,3,99");   // AN has no option button; 99 names nothing
    lines[3] = QStringLiteral("\"2\"");    // greyed, quoted: checked
    lines[4] = QStringLiteral("\"\"");     // empty counts as 0
    lines[5] = QStringLiteral("  1abc");   // the number at the start counts
    lines[8] = QStringLiteral("\" 12\"");
    lines[11] = QStringLiteral("\"mon\"");  // compared exactly: Sunday
    lines[12] = QStringLiteral("\"Julian\"");
    lines[13] = QStringLiteral("\"iso\"");
    Stored loaded;
    ASSERT_TRUE(LoadUserSettings(Write(FileOf(lines)), loaded));
    Stored expected;  // the defaults but for these
    expected.settings.todayCalendar = CalendarId::AN;
    expected.settings.includeFirstDate = true;
    expected.settings.includeWeekends = false;
    expected.settings.maxNumErrors = 12;
    expected.settings.monthMondayFirst = false;
    expected.settings.monthAddedDates = MonthAddedDates::LPW;
    ExpectSameSettings(loaded, expected);
}

TEST_F(SettingsFile, SelectionOutsideTheListSelectsNothing) {
    QStringList lines = DefaultLines();
    lines[14] = QStringLiteral("\" 2\"");
    lines[15] = QStringLiteral("\" 2\"");
    lines.insert(16, QStringLiteral("\"b.txt\""));
    lines.insert(16, QStringLiteral("\"a.txt\""));
    Stored loaded;
    ASSERT_TRUE(LoadUserSettings(Write(FileOf(lines)), loaded));
    EXPECT_EQ(loaded.session.inputFiles,
              QStringList({QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
    EXPECT_EQ(loaded.session.selectedInputFile, -1);
    EXPECT_TRUE(loaded.session.inputFileText.isEmpty());
}

TEST_F(SettingsFile, OutputSpanningLinesKeepsItsLineBreaks) {
    QStringList lines = DefaultLines();
    lines[19] = QStringLiteral("\"first\r\nsecond, with comma\r\n\r\nfourth\"");
    Stored loaded;
    ASSERT_TRUE(LoadUserSettings(Write(FileOf(lines)), loaded));
    EXPECT_EQ(loaded.output.text(), QStringLiteral("first\r\nsecond, with comma\r\n\r\nfourth"));

    // A file whose line ends were turned into LF still gives CR LF lines in the output.
    QByteArray unix = FileOf(lines);
    unix.replace("\r\n", "\n");
    Stored fromUnix;
    ASSERT_TRUE(LoadUserSettings(Write(unix, "unix.usr"), fromUnix));
    EXPECT_EQ(fromUnix.output.text(), loaded.output.text());
}

TEST_F(SettingsFile, Windows1252FileReads) {
    QStringList lines = DefaultLines();
    lines[14] = QStringLiteral("\" 1\"");
    lines[15] = QStringLiteral("\" 0\"");
    lines.insert(16, QStringLiteral("\"C:\\Daten\\März.txt\""));
    lines[20] = QStringLiteral("\"Preis: 5 € – Größe\"");
    QByteArray bytes = FileOf(lines);
    // Re-encode the UTF-8 characters as Windows-1252 bytes.
    bytes.replace("\xC3\xA4", "\xE4");
    bytes.replace("\xE2\x82\xAC", "\x80");
    bytes.replace("\xE2\x80\x93", "\x96");
    bytes.replace("\xC3\xB6", "\xF6");
    bytes.replace("\xC3\x9F", "\xDF");
    Stored loaded;
    ASSERT_TRUE(LoadUserSettings(Write(bytes), loaded));
    EXPECT_EQ(loaded.session.inputFiles, QStringList({QStringLiteral("C:\\Daten\\März.txt")}));
    EXPECT_EQ(loaded.session.selectedInputFile, 0);
    EXPECT_EQ(loaded.output.text(), QStringLiteral("Preis: 5 € – Größe"));
}

// A 1 GiB file (sparse) and a line of a million commas are refused quickly.
TEST_F(SettingsFile, HugeFilesAreRefusedQuickly) {
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(qint64(1) << 30));
    file.close();
    QStringList lines = DefaultLines();
    lines[0] = QString(1'000'000, QLatin1Char(','));
    for (const QString& path : {Path(), Write(FileOf(lines), "commas.usr")}) {
        QElapsedTimer timer;
        timer.start();
        Stored loaded = Unusual();
        EXPECT_FALSE(LoadUserSettings(path, loaded));
        EXPECT_LT(timer.elapsed(), 2000);
        ExpectSameSettings(loaded, Stored());
    }
}

TEST_F(SettingsFile, SaveFailsIntoAMissingFolder) {
    EXPECT_FALSE(
        SaveUserSettings(dir_.filePath(QStringLiteral("no/such/dbrg.usr")), Stored(), QString()));
}

// The state's language text `id` begins the message, and the path follows it.
void ExpectNotice(const QString& notice, const Stored& state, int id, const QString& path) {
    EXPECT_TRUE(notice.startsWith(state.settings.Text(id) + QStringLiteral("\r\n") + path))
        << notice.toStdString();
}

class SettingsSafety : public SettingsFile {
  protected:
    void SetUp() override {
        SettingsFile::SetUp();
        QString failure;
        ASSERT_TRUE(testing::LoadShippedTexts(&failure)) << failure.toStdString();
    }
};

TEST_F(SettingsSafety, AFailedWriteKeepsTheOldFileAndSaysSo) {
    const QByteArray old = FileOf(DefaultLines());
    const QString path = Write(old);
    const Stored state = Unusual();  // German
    // A child process, so that the size limit holds for this save only. The limit is below
    // the file's size; SIGXFSZ ignored makes the write fail with EFBIG instead.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        QString failure;
        const bool saved = SaveUserSettings(path, state, QString(), &failure);
        const bool said = failure.startsWith(state.settings.Text(kTextSettingsNotSaved) +
                                             QStringLiteral("\r\n") + path);
        _exit(saved ? 1 : said ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported as saved, 2: no message in German";
    EXPECT_EQ(Contents(path), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"dbrg.usr"});
}

TEST_F(SettingsSafety, ARefusedFileIsKeptAsBadAndToldOnce) {
    const QByteArray damaged = "0\r\n2,45,44\r\n\"unclosed\r\n";
    Write("older", "dbrg.usr.bad");
    const QString path = Write(damaged);
    Stored state = Unusual();
    QString directory;
    const QString notice = LoadUserSettingsAtStart(path, state, &directory);
    ExpectSameSettings(state, Stored());
    ExpectNotice(notice, state, kTextSettingsKeptAsBad, path + QStringLiteral(".bad"));
    EXPECT_EQ(Contents(path + QStringLiteral(".bad")), damaged);
    // The next start, after a save, has nothing to say.
    ASSERT_TRUE(SaveUserSettings(path, state, QString()));
    EXPECT_TRUE(LoadUserSettingsAtStart(path, state, &directory).isEmpty());
    EXPECT_TRUE(LoadUserSettingsAtStart(Path("none.usr"), state, &directory).isEmpty());
}

TEST_F(SettingsSafety, OnlyRegularFilesAreReadOrWritten) {
    const QString regular = Write(FileOf(DefaultLines()), "real.usr");
    ASSERT_EQ(mkfifo(QFile::encodeName(Path("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder")));
    struct Case {
        const char* name;
        QString target;  // a symbolic link to it, or empty for the thing itself
        bool regular;
    };
    const Case cases[] = {
        {"fifo", QString(), false},
        {"folder", QString(), false},
        {"to_null", QStringLiteral("/dev/null"), false},
        {"to_fifo", Path("fifo"), false},
        {"dangling", Path("nowhere"), false},
        {"to_real", regular, true},
    };
    for (const Case& c : cases) {
        const QString path = Path(c.name);
        if (!c.target.isEmpty()) {
            ASSERT_TRUE(QFile::link(c.target, path)) << c.name;
        }
        Stored state = Unusual();
        QString directory;
        const QString notice = LoadUserSettingsAtStart(path, state, &directory);
        QString failure;
        EXPECT_EQ(SaveUserSettings(path, Unusual(), QString(), &failure), c.regular) << c.name;
        struct stat after {};
        ASSERT_EQ(lstat(QFile::encodeName(path).constData(), &after), 0) << c.name;
        if (c.regular) {
            EXPECT_TRUE(notice.isEmpty()) << c.name;
            EXPECT_TRUE(S_ISLNK(after.st_mode)) << "the link stays a link";
            Stored loaded;
            EXPECT_TRUE(LoadUserSettings(regular, loaded));
            ExpectSameSettings(loaded, Unusual());
            continue;
        }
        // The notice at start is in the defaults' language; the save's in the state's.
        ExpectNotice(notice, Stored(), kTextSettingsNotRegular, path);
        ExpectNotice(failure, Unusual(), kTextSettingsNotRegular, path);
        EXPECT_EQ(S_ISLNK(after.st_mode), !c.target.isEmpty()) << c.name;
    }
}

TEST_F(SettingsSafety, CutOutputBeginsWithALineSayingSo) {
    const QString line = QStringLiteral("2012-01-07 plus 5 days = 2012-01-13\r\n");
    Stored state;
    state.settings.language = kGerman;
    state.output.setText(line.repeated(4 * 1024 * 1024 / line.size() + 10));
    const Stored loaded = RoundTrip(state);
    const QString notice = state.settings.Text(kTextEarlierOutputNotSaved) + QStringLiteral("\r\n");
    EXPECT_TRUE(loaded.output.text().startsWith(notice + line));
    EXPECT_LE(loaded.output.text().size(), 4 * 1024 * 1024 + notice.size());
    EXPECT_TRUE(state.output.text().endsWith(loaded.output.text().mid(notice.size())));
    state.output.setText(line.repeated(1000));  // whole: no notice
    EXPECT_EQ(RoundTrip(state).output.text(), state.output.text());
}

TEST(FileText, DecodesUtf8OrWindows1252) {
    bool utf8 = false;
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF"
                             "a\xC3\xA4",
                             &utf8),
              QStringLiteral("aä"));
    EXPECT_TRUE(utf8);
    EXPECT_EQ(DecodeFileText("a\xE4\x80\x9F\x81", &utf8), QStringLiteral("aä€Ÿ\u0081"));
    EXPECT_FALSE(utf8);
    EXPECT_EQ(DecodeWindows1252("\x8A\x9A\x8C\x9C\xFF"), QStringLiteral("ŠšŒœÿ"));
}

}  // namespace
}  // namespace daybridge
