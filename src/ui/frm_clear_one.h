// frmClearOneTextBox: the modal question, asked when Compute finds all three fields filled,
// which of them to clear. It keeps the last choice (except Cancel) for the next time.
#pragma once

#include <QDialog>

#include "app/app_state.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace daybridge {

class frmClearOneTextBox : public QDialog {
    Q_OBJECT
  public:
    enum class Choice { FirstDate, DateDiff, SecondDate, Cancel };

    frmClearOneTextBox(const AppState& state, QWidget* parent = nullptr);

    void SetLanguageDependentText();
    // Shows the dialog modally at `topLeft` (global pixels) and answers the option chosen.
    // Closing the dialog without Continue counts as Cancel.
    Choice Ask(const QPoint& topLeft);
    // The option selected now, read in the order first date, difference, second date.
    Choice Selected() const;

    QLabel* lblNeedToClear = nullptr;
    QLabel* lblClear = nullptr;
    QLabel* lblOr = nullptr;
    QRadioButton* optClearFirstDate = nullptr;
    QRadioButton* optClearDateDiff = nullptr;
    QRadioButton* optClearSecondDate = nullptr;
    QRadioButton* optCancel = nullptr;
    QPushButton* cmdContinue = nullptr;

  public slots:
    void cmdContinue_Click();

  private:
    void Form_Activate();

    const AppState& state_;
    bool continued_ = false;
};

}  // namespace daybridge
