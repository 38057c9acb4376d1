// The main window's keys and mouse clicks that its controls do not handle themselves: the date
// fields' key filter and stepping keys, the today labels and links by key and click, Enter in
// the input-file list and the output window.
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <algorithm>

#include "compute/main_presenter.h"
#include "ui/frm_main.h"
#include "ui/output_view.h"

namespace daybridge {

bool frmMain::KeyPressFilter(QLineEdit* field, QKeyEvent* key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        cmdCompute_Click();
        return true;
    }
    // Up and Down step the date by a day as the step arrows do (up earlier, down later); Page Up
    // and Page Down by a month.
    if (field != txbDateDiffDays && (key->modifiers() & ~Qt::KeypadModifier) == 0) {
        const int index = field == txbFirstDate ? 0 : 1;
        switch (key->key()) {
            case Qt::Key_Up:
                StepFieldDate(index, -1);
                return true;
            case Qt::Key_Down:
                StepFieldDate(index, 1);
                return true;
            case Qt::Key_PageUp:
                StepFieldDate(index, -1, true);
                return true;
            case Qt::Key_PageDown:
                StepFieldDate(index, 1, true);
                return true;
            default:
                break;
        }
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;  // shortcuts: copy, paste, cut, undo, select all
    }
    const DateField which = field == txbFirstDate      ? DateField::First
                            : field == txbDateDiffDays ? DateField::Difference
                                                       : DateField::Second;
    const QString current = field->text();
    const QString typed = key->text();
    return std::any_of(typed.begin(), typed.end(),
                       [&](QChar c) { return !FieldTakesCharacter(state_, which, current, c); });
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == txbFirstDate || watched == txbSecondDate || watched == txbDateDiffDays) {
            return KeyPressFilter(static_cast<QLineEdit*>(watched), key);
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == lblTodaysDate || watched == lblWeekFromToday) {
            switch (key->key()) {
                case Qt::Key_Right:
                case Qt::Key_Down:
                case Qt::Key_Plus:
                case Qt::Key_Space:
                    StepTodayCalendar(true);
                    return true;
                case Qt::Key_Left:
                case Qt::Key_Up:
                case Qt::Key_Minus:
                    StepTodayCalendar(false);
                    return true;
                default:
                    break;
            }
        }
        if ((enter || key->key() == Qt::Key_Space) &&
            (watched == lblOnlineDocumentation || watched == lblVelmoraSystems)) {
            if (watched == lblOnlineDocumentation) {
                lblOnlineDocumentation_Click();
            } else {
                lblVelmoraSystems_Click();
            }
            return true;
        }
        if (enter && (watched == cboInputFile || watched == cboInputFile->lineEdit())) {
            cboInputFile_LostFocus();
            return true;
        }
        if (enter && watched == txbOutput && txbOutput->hasSelection()) {
            CopyOutputToClipboard();
            return true;
        }
    } else if (type == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (watched == cboInputFile && reason != Qt::PopupFocusReason &&
            reason != Qt::ActiveWindowFocusReason) {
            cboInputFile_LostFocus();
        } else if (watched == txbOutput) {
            UpdateCopyButton();
        }
    } else if (type == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == lblTodaysDate || watched == lblWeekFromToday) {
            StepTodayCalendar(mouse->button() != Qt::RightButton);
            return true;
        }
        if (watched == lblOnlineDocumentation && mouse->button() == Qt::LeftButton) {
            lblOnlineDocumentation_Click();
            return true;
        }
        if (watched == lblVelmoraSystems && mouse->button() == Qt::LeftButton) {
            lblVelmoraSystems_Click();
            return true;
        }
        if (watched == txbOutput->viewport()) {
            UpdateCopyButton();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace daybridge
