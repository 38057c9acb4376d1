#include "app/app_state.h"

#include "app/texts.h"

namespace daybridge {

void AppState::GetParameters() {
    snapshot.dateFormat = format.dateFormat;
    snapshot.includeFirstDate = includeFirstDate;
    snapshot.includeWeekends = includeWeekends;
    snapshot.verbose = verbose;
    snapshot.hyphen = format.hyphen;
    snapshot.firstCalendar = firstCalendar;
    snapshot.secondCalendar = secondCalendar;
}

CalendarId AppState::GetCal(int firstOrSecond) const {
    if (batchRunning) {
        return firstOrSecond == 1 ? snapshot.firstCalendar : snapshot.secondCalendar;
    }
    return firstOrSecond == 1 ? firstCalendar : secondCalendar;
}

int AppState::UsersDateFormat() const {
    return batchRunning ? snapshot.dateFormat : format.dateFormat;
}

TextFormat AppState::CurrentFormat() const {
    TextFormat current = format;
    current.dateFormat = UsersDateFormat();
    return current;
}

QString AppState::DayOrDays(std::int64_t days) const {
    const QString word = Caption(days == 1 || days == -1 ? Caption::Day : Caption::Days);
    return language == kGerman ? word : word.toLower();
}

QString AppState::Text(int id) const {
    return daybridge::Text(language, id);
}

void AppState::SetBuiltInDefaults() {
    language = kEnglish;
    firstCalendar = kDefaultCalendar;
    secondCalendar = kDefaultCalendar;
    todayCalendar = kDefaultCalendar;
    const QLocale regional = format.regional;
    format = TextFormat{};
    format.regional = regional;
    displayDayNames = true;
    includeFirstDate = false;
    includeWeekends = true;
    verbose = true;
    saveOnQuit = true;
    maxNumErrors = kDefaultMaxNumErrors;
    autoEnlargeBytes = kDefaultAutoEnlarge;
    monthMondayFirst = true;
    monthJulian = false;
    monthAddedDates = MonthAddedDates::ISO;
    inputFiles.clear();
    selectedInputFile = -1;
    inputFileText.clear();
    firstDateText.clear();
    dateDiffText.clear();
    secondDateText.clear();
    output.clear();
    conversionOnlyCase = false;
}

}  // namespace daybridge
