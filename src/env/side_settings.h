// Settings beyond those of `dbrg.usr`, kept in `daybridge.conf` beside it (an INI file read and
// written through QSettings), so `dbrg.usr` keeps its exact format and older programs still read
// it. Each feature names its own keys below; a key that is missing or unreadable gives the
// caller's default, so a file written by an older or newer version always loads.
#pragma once

#include <QString>
#include <QVariant>

#include "workdays/workday_calendar.h"

namespace daybridge {

inline constexpr const char* kSideSettingsFileName = "daybridge.conf";

// The keys, "group/name". Add new ones here.
namespace side_key {
inline constexpr const char* kTodayCalendar = "today/calendar";  // calendar code, e.g. "LPM"
// The working-day choice of the configuration dialog: the weekend as 7 digits, Monday first
// ("0000011"), and the holiday set by its shipped name or file path (empty: none).
inline constexpr const char* kWeekendDays = "workdays/weekend";
inline constexpr const char* kHolidaySet = "workdays/holidays";
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

// The stored working-day choice; the built-in one (Saturday and Sunday, no holidays) when none
// is stored. A weekend that does not read or a holiday set that does not load gives the built-in
// part instead, with a one-line explanation added to `notice` (the choice is never refused as a
// whole for a fault in one part).
WorkdayCalendar LoadWorkdayChoice(const SideSettings& side, QString& notice);
// Stores the choice; false when the file could not be written.
bool SaveWorkdayChoice(SideSettings& side, const WorkdayCalendar& workdays);

}  // namespace daybridge
