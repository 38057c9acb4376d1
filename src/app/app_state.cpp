#include "app/app_state.h"

#include "app/texts.h"

namespace daybridge {

QString Settings::DayOrDays(std::int64_t days) const {
    const QString word = Caption(days == 1 || days == -1 ? Caption::Day : Caption::Days);
    return language == kGerman ? word : word.toLower();
}

QString Settings::Text(int id) const {
    return daybridge::Text(language, id);
}

void AppState::GetParameters() {
    Snapshot& snapshot = session.snapshot;
    snapshot.dateFormat = settings.format.dateFormat;
    snapshot.includeFirstDate = settings.includeFirstDate;
    snapshot.includeWeekends = settings.includeWeekends;
    snapshot.verbose = settings.verbose;
    snapshot.hyphen = settings.format.hyphen;
    snapshot.firstCalendar = settings.firstCalendar;
    snapshot.secondCalendar = settings.secondCalendar;
}

CalendarId AppState::GetCal(int firstOrSecond) const {
    if (session.batchRunning) {
        return firstOrSecond == 1 ? session.snapshot.firstCalendar
                                  : session.snapshot.secondCalendar;
    }
    return firstOrSecond == 1 ? settings.firstCalendar : settings.secondCalendar;
}

int AppState::UsersDateFormat() const {
    return session.batchRunning ? session.snapshot.dateFormat : settings.format.dateFormat;
}

TextFormat AppState::CurrentFormat() const {
    TextFormat current = settings.format;
    current.dateFormat = UsersDateFormat();
    return current;
}

void AppState::SetBuiltInDefaults() {
    Settings defaults;
    defaults.format.regional = settings.format.regional;
    defaults.workdays = std::move(settings.workdays);
    settings = std::move(defaults);
    session.inputFiles.clear();
    session.selectedInputFile = -1;
    session.inputFileText.clear();
    session.firstDateText.clear();
    session.dateDiffText.clear();
    session.secondDateText.clear();
}

}  // namespace daybridge
