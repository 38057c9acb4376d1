// The state the windows and the batch language share: the user's settings (a value, loaded,
// compared and saved whole) and the session (the fields' texts, the input files, the run
// state). The output text is not here: the view that shows it owns it, and the engine and the
// batch language write to it through the Host (Host::output).
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "app/captions.h"
#include "calendar/calendar_table.h"
#include "datetext/text_format.h"
#include "workdays/workday_calendar.h"

namespace daybridge {

// Which added dates the month display shows beside its grid.
enum class MonthAddedDates { ISO, LPM, LPW };

inline constexpr int kFieldLengthLimit = 18;
// The difference field holding a spelled-out unit difference ("1 year 2 months 3 days").
inline constexpr int kUnitDifferenceLengthLimit = 40;
inline constexpr int kAutoEnlargeNever = 65535;
inline constexpr int kDefaultAutoEnlarge = 250;
inline constexpr int kDefaultMaxNumErrors = 1;

// The user's choices: what the configuration dialog, the option rows and the month display
// set. The built-in defaults are the member initialisers.
struct Settings {
    Language language = kEnglish;
    CalendarId firstCalendar = kDefaultCalendar;   // the first date's calendar
    CalendarId secondCalendar = kDefaultCalendar;  // the second date's calendar
    CalendarId todayCalendar = kDefaultCalendar;   // calendar of the today labels
    TextFormat format;  // date order, separators, hyphen (configuration dialog)
    bool displayDayNames = true;
    bool includeFirstDate = false;
    bool includeWeekends = true;
    // The days counted when weekends are not counted: weekend set and holidays (kept in the
    // side settings file, not in dbrg.usr; the default is Saturday and Sunday, no holidays).
    WorkdayCalendar workdays;
    bool verbose = true;
    bool saveOnQuit = true;
    int maxNumErrors = kDefaultMaxNumErrors;     // 0 = no limit
    int autoEnlargeBytes = kDefaultAutoEnlarge;  // kAutoEnlargeNever = never
    // month display
    bool monthMondayFirst = true;
    bool monthJulian = false;
    MonthAddedDates monthAddedDates = MonthAddedDates::ISO;

    bool operator==(const Settings&) const = default;

    // "day" for 1 and -1, "days" otherwise; "Tag"/"Tage" in German.
    QString DayOrDays(std::int64_t days) const;
    // A caption in the settings' language.
    QString Caption(daybridge::Caption caption) const { return CaptionText(caption, language); }
    // A text of the text store in the settings' language.
    QString Text(int id) const;
};

// The user's choices taken before each computation and at the start of a batch run.
struct Snapshot {
    int dateFormat = kDateFormatYMD;
    bool includeFirstDate = false;
    bool includeWeekends = true;
    bool verbose = true;
    bool hyphen = true;
    CalendarId firstCalendar = kDefaultCalendar;
    CalendarId secondCalendar = kDefaultCalendar;
};

// What this sitting holds besides the settings.
struct Session {
    // input files (newest first) and the combo box's current text
    QStringList inputFiles;
    int selectedInputFile = -1;
    QString inputFileText;
    // the three fields
    QString firstDateText;
    QString dateDiffText;
    QString secondDateText;
    // run state
    bool batchRunning = false;
    bool mainWindowReady = false;
    Snapshot snapshot;
};

class AppState {
  public:
    Settings settings;
    Session session;

    // Takes the snapshot from the current choices.
    void GetParameters();
    // The first (1) or second (any other) date's calendar; from the snapshot during a batch run.
    CalendarId GetCal(int firstOrSecond) const;
    // The date order; from the snapshot during a batch run.
    int UsersDateFormat() const;
    // The format in force: the date order of UsersDateFormat, separators, hyphen, region.
    TextFormat CurrentFormat() const;

    // The built-in defaults (first start, Reset): the settings but the working days and the
    // regional number format, which are not the user file's; the input files and fields.
    void SetBuiltInDefaults();
};

}  // namespace daybridge
