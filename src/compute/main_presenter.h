// The main window's logic apart from its widgets: the text each date field holds, what choosing
// another calendar for a field does to it, how a press of Compute begins, which characters a
// field takes, what the today labels say, and the window's entries of daybridge.conf. The window
// shows the state these leave behind.
#pragma once

#include <QString>
#include <cstdint>

#include "app/app_state.h"

namespace daybridge {

class SideSettings;

enum class DateField { First, Difference, Second };

// The state's text of a field: what the field shows.
QString& FieldText(AppState& state, DateField field);
const QString& FieldText(const AppState& state, DateField field);

// Date field 1 or 2 takes `calendar`: its text is trimmed and, where it is a date of the old
// calendar, written in the new one. False, and nothing changed, when CE is chosen before the
// window is ready (the start-up selects the options).
bool ChangeFieldCalendar(AppState& state, int field, CalendarId calendar);

// How a press of Compute begins, from the fields it finds filled (all three are trimmed first).
enum class ComputeStart {
    TodayFirst,       // all empty: today's date goes into the first field, then compute
    FocusOnly,        // only the difference: nothing to compute
    AskWhichToClear,  // all three: one of them must go first
    Compute,
};
ComputeStart BeginCompute(AppState& state);
// The snapshot Compute works from, taken when the fields hold what it will read.
void TakeComputeSnapshot(AppState& state);

// Whether the typed character `c` may go into `field`, which holds `current`.
bool FieldTakesCharacter(const AppState& state, DateField field, const QString& current, QChar c);

// The word after the difference field: "day" or "days" for a day count, nothing for a unit
// difference, which names its own units.
QString DayOrDaysLabel(const AppState& state);

struct TodayLabels {
    QString today;
    QString todayToolTip;
    QString weekFromToday;
};
TodayLabels TodayLabelTexts(const AppState& state, std::int32_t today);
// The today labels' calendar one step along their cycle; false when it is not in the cycle.
bool StepTodayCalendar(AppState& state, bool forward);

// The entries of daybridge.conf that the window keeps (working days, the today labels' calendar,
// a field's world calendar, the Gregorian switch, the week and fiscal rules), applied to the
// state. An entry that cannot be used is dropped and stays built-in; the returned notice (told
// once) names it, and what became of a file that could not be read.
QString ApplySideSettings(SideSettings& side, AppState& state);
// The state's values of those entries, to be saved.
void HoldSideSettings(SideSettings& side, const AppState& state);

}  // namespace daybridge
