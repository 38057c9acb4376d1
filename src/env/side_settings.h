// Settings beyond those of `dbrg.usr`, kept in `daybridge.conf` beside it (an INI file in the
// form QSettings writes), so `dbrg.usr` keeps its exact format and older programs still read it.
//
// The file is kept as `dbrg.usr` is. It is read once at start: only a regular file of at most
// kMaxSideSettingsBytes; one that does not read as such a file is kept as `daybridge.conf.bad`
// and the user is told once; an entry that cannot be used is dropped with a notice naming it.
// It is written once at quit (and at Reset): only the entries this window changed, into the
// file as it is then (another window may have saved its own choices since), in one atomic
// write; nothing the program does not know is written back, and a failure is told.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

#include "workdays/workday_calendar.h"

namespace daybridge {

// Why a calendar entry of the side settings, or the configuration dialog's field for it, does
// not read (texts of dbrg_text.dat).
inline constexpr int kTextUnknownCalendar = 812;
inline constexpr int kTextNotASwitchDay = 814;
inline constexpr int kTextNotAWeekRule = 1163;
inline constexpr int kTextNotAFiscalYear = 1164;
inline constexpr int kTextNotFiscalWeeks = 1165;

inline constexpr const char* kSideSettingsFileName = "daybridge.conf";
// A few entries take a few hundred bytes; a path may take a few thousand.
inline constexpr qint64 kMaxSideSettingsBytes = 64 * 1024;

// The keys, "group/name". Add new ones here and to kSideKeys.
namespace side_key {
inline constexpr const char* kTodayCalendar = "today/calendar";  // calendar code, e.g. "LPM"
// The working-day choice of the configuration dialog: the weekend as 7 digits, Monday first
// ("0000011"), and the holiday set by its shipped name or file path (empty: none).
inline constexpr const char* kWeekendDays = "workdays/weekend";
inline constexpr const char* kHolidaySet = "workdays/holidays";
// Which of the set's holidays count: categories "public,bank" (empty: the set's own choice),
// and half days "holiday" (empty: they are working days).
inline constexpr const char* kHolidayCategories = "workdays/categories";
inline constexpr const char* kHalfDays = "workdays/halfDays";
// A date field's calendar when it is one of the world's calendars (dbrg.usr then holds CE),
// by code, e.g. "HEB"; empty when the field's calendar is one dbrg.usr holds itself.
inline constexpr const char* kFirstDateCalendar = "fields/firstCalendar";
inline constexpr const char* kSecondDateCalendar = "fields/secondCalendar";
// The first Gregorian day of the historical calendar (HIS), "YYYY-MM-DD".
inline constexpr const char* kGregorianSwitch = "calendars/gregorianSwitch";
// The rules of the week-date and fiscal calendars (calendar/week_fiscal_rules.h): "US",
// "JUL/END", "RETAIL".
inline constexpr const char* kWeekRule = "calendars/weekRule";
inline constexpr const char* kFiscalYear = "calendars/fiscalYear";
inline constexpr const char* kFiscalWeeks = "calendars/fiscalWeeks";
}  // namespace side_key
inline constexpr const char* kSideKeys[] = {side_key::kTodayCalendar,
                                            side_key::kWeekendDays,
                                            side_key::kHolidaySet,
                                            side_key::kFirstDateCalendar,
                                            side_key::kSecondDateCalendar,
                                            side_key::kGregorianSwitch,
                                            side_key::kWeekRule,
                                            side_key::kFiscalYear,
                                            side_key::kFiscalWeeks,
                                            side_key::kHolidayCategories,
                                            side_key::kHalfDays};

// The entries of the file as text: "group/name" -> value. Nothing when the text is not such a
// file (a line that is neither a [group], a key=value nor a comment, a control character, a
// quote left open).
std::optional<QMap<QString, QString>> ParseSideSettings(const QString& text);
// The file's text for the entries, grouped and sorted as QSettings writes them.
QString SideSettingsText(const QMap<QString, QString>& entries);

class SideSettings {
  public:
    SideSettings() = default;
    // The file `daybridge.conf` in the folder of `settingsFilePath` (the `dbrg.usr` path). An
    // empty path gives settings that are neither read nor written.
    explicit SideSettings(const QString& settingsFilePath);

    const QString& path() const { return path_; }

    // Reads the file. A file that cannot be read as one is kept aside (PATH.bad) and its
    // entries count as missing; an entry the program does not know is dropped. `language`:
    // that of the notices.
    void Load(Language language);
    // The value read for `key`; empty when there is none.
    QString value(const char* key) const { return read_.value(QString::fromLatin1(key)); }
    // An entry that cannot be used: the notice names it with `why`, and it is not written back
    // unless the window sets a value for it.
    void Drop(const char* key, const QString& why);
    // What to tell the user once about the file (damaged, kept aside, not a regular file) and
    // the entries dropped, in `language`; empty when there is nothing to tell.
    QString Notice(Language language) const;

    // The value the window holds for `key`.
    void setValue(const char* key, const QString& value);
    // The values set so far are those the window started with: a save writes only the entries
    // whose value changed since (and those dropped).
    void MarkUnchanged();
    // Writes the entries whose value the window changed into the file as it is now; true when
    // that was done (or nothing needed writing), else the message to show in `failure`.
    bool Save(Language language, QString* failure);

  private:
    QString path_;
    QMap<QString, QString> read_;     // the known entries as read
    QMap<QString, QString> start_;    // the window's values at its start (or last save)
    QMap<QString, QString> current_;  // the window's values
    QStringList dropped_;             // "key = value: why"
    QStringList droppedKeys_;
    int fileTextId_ = 0;    // a text about the file as a whole, when there is one
    QString keptAs_;        // where a damaged file was kept
    bool rewrite_ = false;  // the file could not be read: the next save writes every entry
};

// The stored working-day choice; the built-in one (Saturday and Sunday, no holidays) when none
// is stored. A weekend that does not read or a holiday set that does not load is dropped (with
// its reason) and its part stays built-in; the choice is never refused as a whole for a fault
// in one part.
WorkdayCalendar LoadWorkdayChoice(SideSettings& side, Language language);
// The choice as the window's values of its two entries.
void SetWorkdayChoice(SideSettings& side, const WorkdayCalendar& workdays);

}  // namespace daybridge
