// Holiday files that cannot be used are refused each with its own reason, without waiting on a
// FIFO; relative paths are read from the folder given (a batch program's).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "env/holiday_files.h"

namespace daybridge {
namespace {

QString Refusal(const QString& path, const HolidayFileContext& context = {}) {
    QString error;
    EXPECT_EQ(LoadHolidaySet(path, error, context), nullptr) << path.toStdString();
    return error;
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

TEST(HolidayFiles, EachKindOfUnusableFileHasItsReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("fifo.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString loop = dir.filePath(QStringLiteral("loop.txt"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("other.txt")), loop));
    ASSERT_TRUE(QFile::link(loop, dir.filePath(QStringLiteral("other.txt"))));
    const QString large = dir.filePath(QStringLiteral("large.txt"));
    Write(large, QByteArray(kMaxHolidayFileBytes - 1, '#') + "\n\n");
    const QString limit = dir.filePath(QStringLiteral("limit.txt"));
    Write(limit, QByteArray(kMaxHolidayFileBytes - 1, '#') + "\n");

    const struct {
        QString path;
        const char* reason;
    } cases[] = {
        {dir.filePath(QStringLiteral("none.txt")), "does not exist"},
        {dir.path() + QStringLiteral("/"), "is a folder"},
        {fifo, "is a FIFO"},
        {QStringLiteral("/dev/null"), "is a device"},
        {loop, "leads round in a loop"},
        {QStringLiteral("/proc/self/mem"), "cannot be read"},  // a read error
        {large, "larger than the limit of 1 MiB"},
    };
    for (const auto& c : cases) {
        const QString error = Refusal(c.path);
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
        EXPECT_TRUE(error.contains(c.path)) << error.toStdString();
    }
    QString error;
    EXPECT_NE(LoadHolidaySet(limit, error), nullptr) << error.toStdString();
    if (::geteuid() != 0) {  // permissions do not bind the superuser
        const QString locked = dir.filePath(QStringLiteral("locked.txt"));
        Write(locked, "01-01 : New Year\n");
        ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
        EXPECT_TRUE(Refusal(locked).contains(QLatin1String("cannot be read")));
    }
}

TEST(HolidayFiles, RelativePathsFromTheGivenFolderAndNamesOfSets) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Write(dir.filePath(QStringLiteral("mine.txt")), "12-25 : Christmas\r12-26 : Boxing Day\r");
    QString error;
    const auto set = LoadHolidaySet(QStringLiteral("mine.txt"), error, {kEnglish, dir.path()});
    ASSERT_NE(set, nullptr) << error.toStdString();
    EXPECT_EQ(set->rules.size(), 2u);
    EXPECT_EQ(set->name, QStringLiteral("mine.txt"));
    EXPECT_TRUE(Refusal(QStringLiteral("mine.txt"), {kEnglish, QDir::rootPath()})
                    .contains(QLatin1String("/mine.txt' does not exist")));

    const QString unknown = Refusal(QStringLiteral("mine"), {kEnglish, dir.path()});
    EXPECT_TRUE(unknown.contains(QLatin1String("no holiday set named 'mine'")));
    EXPECT_TRUE(unknown.contains(QLatin1String("./mine"))) << unknown.toStdString();
}

}  // namespace
}  // namespace daybridge
