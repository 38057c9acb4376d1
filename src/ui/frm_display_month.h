// frmDisplayMonthLPM: one month of the Gregorian or Julian calendar as a text grid, with the
// ISO, LPW or LPM dates of the same weeks beside it.
#pragma once

#include <QWidget>

#include "app/app_state.h"

namespace daybridge {

class frmDisplayMonthLPM : public QWidget {
    Q_OBJECT
public:
    frmDisplayMonthLPM(AppState& state, QWidget* parent = nullptr);

    // Presets the year and month (1..12), shows the window and draws the month.
    void ShowMonth(int year, int month);
    // Captions in the state's language.
    void SetLanguageDependentText();
    // Shows the state's month-display options in the controls.
    void RefreshFromState();

signals:
    // Closed by the user: the main window gives txbFirstDate the focus.
    void Closed();
};

}  // namespace daybridge
