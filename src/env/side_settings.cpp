#include "env/side_settings.h"

#include <QFileInfo>
#include <QSettings>

#include "env/holiday_files.h"

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

WorkdayCalendar LoadWorkdayChoice(const SideSettings& side, QString& notice) {
    std::uint8_t weekend = WorkdayCalendar::kSaturdaySunday;
    const QString weekendText = side.value(side_key::kWeekendDays).toString();
    if (!weekendText.isEmpty()) {
        const std::optional<std::uint8_t> read = ParseWeekend(weekendText);
        if (read) {
            weekend = *read;
        } else {
            notice += QStringLiteral("%1: '%2'\n")
                          .arg(QString::fromLatin1(side_key::kWeekendDays), weekendText);
        }
    }
    std::shared_ptr<const HolidaySet> holidays;
    const QString setName = side.value(side_key::kHolidaySet).toString();
    if (!setName.isEmpty()) {
        QString why;
        holidays = LoadHolidaySet(setName, why);
        if (holidays == nullptr) {
            notice += why + QLatin1Char('\n');
        }
    }
    return WorkdayCalendar(weekend, holidays);
}

bool SaveWorkdayChoice(SideSettings& side, const WorkdayCalendar& workdays) {
    QString mask;
    for (int day = 0; day < 7; ++day) {  // bit 0 is Monday
        mask += QLatin1Char(((workdays.weekend() >> day) & 1) != 0 ? '1' : '0');
    }
    const QString setName = workdays.holidays() != nullptr ? workdays.holidays()->name : QString();
    return side.setValue(side_key::kWeekendDays, mask) &&
           side.setValue(side_key::kHolidaySet, setName);
}

}  // namespace daybridge
