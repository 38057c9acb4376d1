// Settings beyond those of `dbrg.usr`, kept in `daybridge.conf` beside it (an INI file read and
// written through QSettings), so `dbrg.usr` keeps its exact format and older programs still read
// it. Each feature names its own keys below; a key that is missing or unreadable gives the
// caller's default, so a file written by an older or newer version always loads.
#pragma once

#include <QString>
#include <QVariant>

namespace daybridge {

inline constexpr const char* kSideSettingsFileName = "daybridge.conf";

// The keys, "group/name". Add new ones here.
namespace side_key {
inline constexpr const char* kTodayCalendar = "today/calendar";  // calendar code, e.g. "LPM"
// A date field's calendar when it is one of the world's calendars (dbrg.usr then holds CE),
// by code, e.g. "HEB"; empty when the field's calendar is one dbrg.usr holds itself.
inline constexpr const char* kFirstDateCalendar = "fields/firstCalendar";
inline constexpr const char* kSecondDateCalendar = "fields/secondCalendar";
}  // namespace side_key

class SideSettings {
  public:
    // The file `daybridge.conf` in the folder of `settingsFilePath` (the `dbrg.usr` path). An
    // empty path gives settings that are neither read nor written.
    explicit SideSettings(const QString& settingsFilePath);

    const QString& path() const { return path_; }

    // The stored value of `key`, or `fallback` when the file or the key is missing.
    QVariant value(const char* key, const QVariant& fallback = {}) const;
    // Stores `value` under `key` at once; false when the file could not be written.
    bool setValue(const char* key, const QVariant& value);

  private:
    QString path_;
};

}  // namespace daybridge
