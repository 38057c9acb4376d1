// The command line of daybridge-batch: what to run and which settings to override.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/app_state.h"
#include "cli/filter_run.h"
#include "jdcore/fiscal.h"

namespace daybridge::cli {

struct Options {
    bool help = false;
    bool version = false;

    QString file;           // the program file, or empty with -e lines
    QStringList lines;      // -e lines, in order
    bool hasLines = false;  // at least one -e was given

    QString settingsPath;  // --settings

    std::optional<int> dateFormat;
    std::optional<QString> dateSeparator;
    std::optional<QString> thousandsSeparator;
    std::optional<bool> hyphen;
    std::optional<bool> dayNames;
    std::optional<bool> includeFirst;
    std::optional<bool> weekends;
    std::optional<bool> verbose;
    std::optional<CalendarId> firstCalendar;
    std::optional<CalendarId> secondCalendar;
    std::optional<std::int64_t> gregorianSwitch;        // --gregorian-switch (a JDN)
    std::optional<jdcore::WeekRule> weekRule;           // --week-rule
    std::optional<jdcore::MonthFiscalRule> fiscalYear;  // --fiscal-year
    std::optional<jdcore::WeekFiscalRule> fiscalWeeks;  // --fiscal-weeks
    std::optional<int> maxErrors;
    std::optional<Language> language;
    std::optional<std::int32_t> todayJdn;
    std::optional<std::uint8_t> weekend;                        // --weekend
    std::optional<std::shared_ptr<const HolidaySet>> holidays;  // --holidays (null: none)
    std::optional<std::uint8_t> categories;                     // --categories
    std::optional<bool> halfDays;     // --half-days: true when they are holidays
    std::optional<int> listYear;      // --list: no program is run
    std::optional<QString> icalPath;  // --ical: the list as an iCalendar file ("-": stdout)

    // --compute FIRST DIFFERENCE SECOND: one computation of the three fields, no program.
    QStringList compute;

    // Filter mode (--to, --add, --diff, --seq, --in-text): dates from input files, no program.
    bool filterMode = false;
    FilterRun filter;
    bool delimiterGiven = false;
};

// Reads the arguments (without the program name). On a mistake returns false with a one-line
// explanation in `error`.
bool ParseOptions(const QStringList& arguments, Options& options, QString& error);

// Applies the overriding options to the state (after the settings file, if any, was read).
void ApplyOverrides(const Options& options, AppState& state);

// "YYYY-MM-DD" (an optional "-" before the year) as a CE date; its JDN, or nothing when the
// text is no valid date within the range of day numbers.
std::optional<std::int32_t> ParseTodayDate(const QString& text);

// The calendar codes --first and --second accept, in the registry's order.
QStringList FieldCalendarCodes();

}  // namespace daybridge::cli
