#include "env/side_settings.h"

#include <QFileInfo>
#include <QSettings>

namespace daybridge {

SideSettings::SideSettings(const QString& settingsFilePath) {
    if (!settingsFilePath.isEmpty()) {
        path_ = QFileInfo(settingsFilePath).absolutePath() + QLatin1Char('/') +
                QString::fromLatin1(kSideSettingsFileName);
    }
}

QVariant SideSettings::value(const char* key, const QVariant& fallback) const {
    if (path_.isEmpty() || !QFileInfo(path_).isFile()) {
        return fallback;
    }
    const QSettings file(path_, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        return fallback;
    }
    return file.value(QString::fromLatin1(key), fallback);
}

bool SideSettings::setValue(const char* key, const QVariant& value) {
    if (path_.isEmpty()) {
        return false;
    }
    QSettings file(path_, QSettings::IniFormat);
    file.setValue(QString::fromLatin1(key), value);
    file.sync();
    return file.status() == QSettings::NoError;
}

}  // namespace daybridge
