// AppState holds every value that the controls of the windows stand for. The compute engine
// and the batch interpreter read and write it and talk to the person only through a Host; the
// windows bind their widgets to it both ways.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "app/captions.h"
#include "app/output_text.h"
#include "calendar/calendar_table.h"
#include "datetext/text_format.h"
#include "workdays/workday_calendar.h"

namespace daybridge {

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

// Which added dates the month display shows beside its grid.
enum class MonthAddedDates { ISO, LPM, LPW };

inline constexpr int kFieldLengthLimit = 18;
// The difference field holding a spelled-out unit difference ("1 year 2 months 3 days").
inline constexpr int kUnitDifferenceLengthLimit = 40;
inline constexpr int kAutoEnlargeNever = 65535;
inline constexpr int kDefaultAutoEnlarge = 250;
inline constexpr int kDefaultMaxNumErrors = 1;

class AppState {
  public:
    AppState() { SetBuiltInDefaults(); }

    // --- values the controls stand for ---
    Language language = kEnglish;
    CalendarId firstCalendar = kDefaultCalendar;   // the first date's calendar
    CalendarId secondCalendar = kDefaultCalendar;  // the second date's calendar
    CalendarId todayCalendar = kDefaultCalendar;   // calendar of the today labels
    TextFormat format;  // date order, separators, hyphen (configuration dialog)
    bool displayDayNames = true;
    bool includeFirstDate = false;
    bool includeWeekends = true;
    // The days counted when weekends are not counted: weekend set and holidays (not kept in
    // dbrg.usr; the default is Saturday and Sunday, no holidays).
    WorkdayCalendar workdays;
    bool verbose = true;
    bool saveOnQuit = true;
    int maxNumErrors = kDefaultMaxNumErrors;     // 0 = no limit
    int autoEnlargeBytes = kDefaultAutoEnlarge;  // kAutoEnlargeNever = never

    // month display
    bool monthMondayFirst = true;
    bool monthJulian = false;
    MonthAddedDates monthAddedDates = MonthAddedDates::ISO;

    // input files (newest first) and the combo box's current text
    QStringList inputFiles;
    int selectedInputFile = -1;
    QString inputFileText;

    // the three fields and the output window
    QString firstDateText;
    QString dateDiffText;
    QString secondDateText;
    OutputText output;

    // --- run state ---
    bool batchRunning = false;
    bool mainWindowReady = false;
    bool conversionOnlyCase = false;
    Snapshot snapshot;

    // Takes the snapshot from the current choices.
    void GetParameters();
    // The first (1) or second (any other) date's calendar; from the snapshot during a batch run.
    CalendarId GetCal(int firstOrSecond) const;
    // The date order; from the snapshot during a batch run.
    int UsersDateFormat() const;
    // The format in force: the date order of UsersDateFormat, separators, hyphen, region.
    TextFormat CurrentFormat() const;
    // "day" for 1 and -1, "days" otherwise; "Tag"/"Tage" in German.
    QString DayOrDays(std::int64_t days) const;
    // A caption in the current language.
    QString Caption(daybridge::Caption caption) const { return CaptionText(caption, language); }
    // A text of the text store in the current language.
    QString Text(int id) const;

    // The built-in defaults (first start, Reset).
    void SetBuiltInDefaults();
};

}  // namespace daybridge
