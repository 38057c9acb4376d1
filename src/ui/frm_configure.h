// frmConfigure: the modeless configuration dialog. Its controls are the live settings: each
// click writes AppState at once.
#pragma once

#include <QDialog>

#include "app/app_state.h"

namespace daybridge {

class frmConfigure : public QDialog {
    Q_OBJECT
public:
    frmConfigure(AppState& state, QWidget* parent = nullptr);

    // Captions in the state's language.
    void SetLanguageDependentText();
    // Shows the state's values in the controls (after settings were loaded or reset).
    void RefreshFromState();

signals:
    // The main window empties its three input fields (state and widgets).
    void ClearInputWindows();
    // The main window rewrites its today labels (the date format changed).
    void ShowTodaysDate();
    // The hyphen rewrite changed state.firstDateText / state.secondDateText.
    void FieldsRewritten();
    // The dialog was closed: the main window takes the focus back (SetTheFocus).
    void Closed();
};

}  // namespace daybridge
