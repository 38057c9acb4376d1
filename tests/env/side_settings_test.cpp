// daybridge.conf is kept as dbrg.usr is: a file that cannot be read is kept aside and told
// once, an entry that cannot be used is dropped with a notice naming it, nothing unknown is
// written back, a save writes only what this window changed into the file as it is then, and a
// failed save says so. (The window's part, the today labels' and the fields' calendars: tests/ui.)
#include "env/side_settings.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "app/captions.h"
#include "env/text_store.h"
#include "support/program_text.h"

namespace daybridge {
namespace {

class SideSettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QString failure;
        ASSERT_TRUE(testing::LoadShippedTexts(&failure)) << failure.toStdString();
    }
    QString Conf() const { return dir_.filePath(QStringLiteral("daybridge.conf")); }
    void Write(const QByteArray& bytes, const QString& path = {}) const {
        QFile file(path.isEmpty() ? Conf() : path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray Contents(const QString& path = {}) const {
        QFile file(path.isEmpty() ? Conf() : path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    // The window's values of the entries.
    static void Hold(SideSettings& side, const QString& today, const WorkdayCalendar& workdays) {
        side.setValue(side_key::kTodayCalendar, today);
        SetWorkdayChoice(side, workdays);
        side.setValue(side_key::kFirstDateCalendar, QString());
        side.setValue(side_key::kSecondDateCalendar, QString());
    }
    // A window's start: the file read, the working-day choice and the today labels' calendar
    // (CE when none) taken from it.
    SideSettings Start(WorkdayCalendar* workdays = nullptr, Language language = kEnglish) const {
        SideSettings side(dir_.filePath(QStringLiteral("dbrg.usr")));
        side.Load(language);
        const WorkdayCalendar choice = LoadWorkdayChoice(side, language);
        const QString today = side.value(side_key::kTodayCalendar);
        Hold(side, today.isEmpty() ? QStringLiteral("CE") : today, choice);
        side.MarkUnchanged();
        if (workdays != nullptr) {
            *workdays = choice;
        }
        return side;
    }
    // A window's quit with these values.
    static bool Quit(SideSettings& side, const QString& today, const WorkdayCalendar& workdays,
                     QString* failure = nullptr) {
        Hold(side, today, workdays);
        return side.Save(kEnglish, failure);
    }

    QTemporaryDir dir_;
};

// The file QSettings wrote for these entries reads the same: files of earlier versions load,
// and the file written reads back in QSettings.
TEST_F(SideSettingsFile, ReadsAndWritesWhatQSettingsDoes) {
    const QString path = QStringLiteral(" /home/a b/x, y;z=\u00e9\"q\\\t.txt");
    {
        QSettings settings(Conf(), QSettings::IniFormat);
        settings.setValue(QString::fromLatin1(side_key::kHolidaySet), path);
        settings.setValue(QString::fromLatin1(side_key::kWeekendDays), QStringLiteral("0000011"));
        settings.setValue(QString::fromLatin1(side_key::kTodayCalendar), QStringLiteral("LPM"));
        settings.setValue(QString::fromLatin1(side_key::kFirstDateCalendar), QString());
    }
    const QByteArray written = Contents();
    const std::optional<QMap<QString, QString>> entries =
        ParseSideSettings(QString::fromUtf8(written));
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->value(QString::fromLatin1(side_key::kHolidaySet)), path);
    EXPECT_EQ(entries->value(QString::fromLatin1(side_key::kTodayCalendar)), QStringLiteral("LPM"));
    EXPECT_EQ(SideSettingsText(*entries).toUtf8(), written);
}

// Not a file of this kind: kept byte for byte as daybridge.conf.bad and told once; the next
// save writes a sound file, and the start after it has nothing to say.
TEST_F(SideSettingsFile, ADamagedFileIsKeptAsBadAndToldOnce) {
    const QByteArray cases[] = {
        QByteArray("\x01\x02\xff\xfe random bytes \x80", 16),
        "[workdays]\nweekend=0000011\nthis line is no entry\n",
        "[workdays]\nholidays=\"open quote\n",
        "[today]\ncalendar=CE\xe9\n",  // not UTF-8
        QByteArray(kMaxSideSettingsBytes + 1, 'x').prepend("[today]\ncalendar="),
    };
    for (const QByteArray& content : cases) {
        Write(content);
        SideSettings side = Start();
        EXPECT_TRUE(side.value(side_key::kTodayCalendar).isEmpty());
        const QString kept = Conf() + QStringLiteral(".bad");
        EXPECT_TRUE(side.Notice(kEnglish).startsWith(GetText(kTextSettingsKeptAsBad, kEnglish) +
                                                     QStringLiteral("\r\n") + kept));
        EXPECT_EQ(Contents(kept), content);
        ASSERT_TRUE(Quit(side, QStringLiteral("CE"), WorkdayCalendar()));
        ASSERT_TRUE(ParseSideSettings(QString::fromUtf8(Contents())));
        EXPECT_TRUE(Start().Notice(kEnglish).isEmpty());
        EXPECT_EQ(Contents(kept), content);  // the save did not keep the sound file over it
    }
}

// An entry that cannot be used is dropped with a notice naming it (in the interface language),
// and neither it nor an entry the program does not know is written back.
TEST_F(SideSettingsFile, UnusableEntriesAreDroppedAndNotWrittenBack) {
    Write(
        "[workdays]\nweekend=1111111\nholidays=no-such-set\n[junk]\nkey=value\n"
        "[today]\ncalendar=LPM\n");
    WorkdayCalendar workdays(0x01, nullptr);
    SideSettings side = Start(&workdays, kGerman);
    EXPECT_TRUE(workdays.IsDefault());
    EXPECT_EQ(side.value(side_key::kTodayCalendar), QStringLiteral("LPM"));
    const QString notice = side.Notice(kGerman);
    EXPECT_TRUE(notice.startsWith(GetText(810, kGerman))) << notice.toStdString();
    for (const char* named : {"workdays/weekend = 1111111: ", "workdays/holidays = no-such-set: ",
                              "junk/key = value: "}) {
        EXPECT_TRUE(notice.contains(QString::fromLatin1(named))) << named;
    }
    ASSERT_TRUE(Quit(side, QStringLiteral("LPM"), workdays));
    const QByteArray saved = Contents();
    EXPECT_FALSE(saved.contains("junk") || saved.contains("1111111") || saved.contains("no-such"))
        << saved.toStdString();
    EXPECT_TRUE(saved.contains("calendar=LPM"));
    EXPECT_TRUE(Start().Notice(kEnglish).isEmpty());
}

// A saved set that, with the saved weekend, leaves no working day (the file changed since it
// was chosen) is dropped with a notice in the window's language; the weekend stays.
TEST_F(SideSettingsFile, ASetLeavingNoWorkingDayIsDropped) {
    const QString rules = dir_.filePath(QStringLiteral("mondays.txt"));
    QByteArray mondays;
    for (int month = 1; month <= 12; ++month) {
        for (const char* nth : {"first", "second", "third", "fourth", "last"}) {
            mondays += QByteArray(nth) + " monday of " + QByteArray::number(month) + " : Monday\n";
        }
    }
    Write(mondays, rules);
    Write("[workdays]\nweekend=0111111\nholidays=" + rules.toUtf8() + "\n");
    WorkdayCalendar workdays;
    SideSettings side = Start(&workdays, kGerman);
    EXPECT_EQ(workdays.weekend(), 0x7e);
    EXPECT_EQ(workdays.holidays(), nullptr);
    const QString notice = side.Notice(kGerman);
    EXPECT_TRUE(notice.contains(QStringLiteral("keinen einzigen Arbeitstag")))
        << notice.toStdString();
}

// Two windows: each writes only what it changed, so the one that quits last keeps the other's
// change. A window that changed nothing writes nothing.
TEST_F(SideSettingsFile, TwoWindowsKeepEachOthersChanges) {
    SideSettings first = Start();
    SideSettings second = Start();
    SideSettings idle = Start();
    ASSERT_TRUE(Quit(idle, QStringLiteral("CE"), WorkdayCalendar()));  // as it started
    EXPECT_FALSE(QFile::exists(Conf()));
    ASSERT_TRUE(Quit(first, QStringLiteral("CE"), WorkdayCalendar(0x30, nullptr)));  // Fri, Sat
    ASSERT_TRUE(Quit(second, QStringLiteral("HEB"), WorkdayCalendar()));
    WorkdayCalendar workdays;
    SideSettings after = Start(&workdays);
    EXPECT_EQ(workdays.weekend(), 0x30);
    EXPECT_EQ(after.value(side_key::kTodayCalendar), QStringLiteral("HEB"));
}

// A save that cannot be made says so and leaves the old file whole: a folder in the file's
// place, a file size limit (as a full disk).
TEST_F(SideSettingsFile, AFailedSaveSaysSo) {
    Write("[today]\ncalendar=CE\n");
    const QByteArray old = Contents();
    SideSettings side = Start();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        setrlimit(RLIMIT_FSIZE, &limit);
        QString failure;
        const bool saved = Quit(side, QStringLiteral("LPM"), WorkdayCalendar(), &failure);
        const bool said = failure.startsWith(GetText(kTextSettingsNotSaved, kEnglish) +
                                             QStringLiteral("\r\n") + Conf());
        _exit(saved ? 1 : said ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported as saved, 2: no message";
    EXPECT_EQ(Contents(), old);

    ASSERT_TRUE(QFile::remove(Conf()));
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("daybridge.conf")));
    SideSettings folder = Start();
    EXPECT_TRUE(folder.Notice(kEnglish).startsWith(GetText(kTextSettingsNotRegular, kEnglish)));
    QString failure;
    EXPECT_FALSE(Quit(folder, QStringLiteral("LPM"), WorkdayCalendar(), &failure));
    EXPECT_TRUE(failure.startsWith(GetText(kTextSettingsNotRegular, kEnglish) +
                                   QStringLiteral("\r\n") + Conf()));
}

}  // namespace
}  // namespace daybridge
