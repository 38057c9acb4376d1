#include "env/paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace daybridge {
namespace {

TEST(InputFilespecOK, TakesOnlyTxtNames) {
    const struct {
        const char* name;
        bool ok;
    } cases[] = {
        {"/home/ann/dates.txt", true},
        {"/home/ann/DATES.TXT", true},
        {"C:\\Batch\\run.Txt", true},
        {"dates.txt.bak", false},
        {"dates", false},
        {"", false},
        {"/home/ann.txt/dates", false},  // the dot belongs to a folder
        {"C:\\my.folder\\dates", false},
        {"/home/ann/.txt", true},
        {"/home/ann/dates.", false},
        {"/home/ann/dates.text", false},
        {"dir.txt/sub\\name", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InputFilespecOK(QString::fromUtf8(c.name)), c.ok) << c.name;
    }
}

TEST(Paths, UserDataFileLiesInItsOwnFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const QString config = dir.filePath(QStringLiteral("fresh/config"));  // not there yet
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    const QString path = UserDataFilePath(QString::fromLatin1(kSettingsFileName),
                                          QString::fromLatin1(kSettingsFolder));
    EXPECT_EQ(path, config + QStringLiteral("/Velmora_Systems/dbrg.usr"));
    EXPECT_TRUE(FolderExists(config + QStringLiteral("/Velmora_Systems")));
    QFile file(path);  // a file is no folder
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(FolderExists(path));
    EXPECT_FALSE(FolderExists(dir.filePath(QStringLiteral("absent"))));
    EXPECT_FALSE(FolderExists(QString()));
    // A second start finds the folder as it is.
    EXPECT_EQ(UserDataFilePath(QStringLiteral("dbrg.usr"), QStringLiteral("Velmora_Systems")),
              path);
    if (saved.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", saved);
    }
}

}  // namespace
}  // namespace daybridge
