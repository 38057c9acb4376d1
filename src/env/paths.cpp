#include "env/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

#include "env/text_store.h"

namespace daybridge {

QString UserDataFilePath(const QString& file, const QString& folder) {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) {
        base = FirstFixedDrive();
    }
    const QString dataFolder = FolderFilePath(base, folder);
    if (!FolderExists(dataFolder)) {
        // The configuration folder itself may be missing on a fresh account. A failure shows
        // later, when the settings file cannot be written.
        QDir().mkpath(dataFolder);
    }
    return FolderFilePath(dataFolder, file);
}

QString FirstFixedDrive() {
    return QDir::rootPath();
}

bool FolderExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool InputFilespecOK(const QString& filespec) {
    const qsizetype slash =
        std::max(filespec.lastIndexOf(QLatin1Char('/')), filespec.lastIndexOf(QLatin1Char('\\')));
    const QStringView name = QStringView(filespec).mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) {
        return false;
    }
    return name.mid(dot + 1).compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
}

}  // namespace daybridge
