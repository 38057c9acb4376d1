#include "ui/qt_host.h"

#include <QApplication>
#include <QDate>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/desktop_keys.h"
#include "ui/frm_main.h"

namespace daybridge {

namespace {

QMessageBox::StandardButton ToQt(MsgAnswer answer) {
    switch (answer) {
        case MsgAnswer::Ok:
            return QMessageBox::Ok;
        case MsgAnswer::Cancel:
            return QMessageBox::Cancel;
        case MsgAnswer::Yes:
            return QMessageBox::Yes;
        case MsgAnswer::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

}  // namespace

MsgAnswer QtHost::messageBox(const QString& title, const QString& text, MsgIcon icon,
                             MsgButtons buttons, MsgAnswer defaultAnswer) {
    // What was written so far is on screen before the box asks anything.
    window_.AppendPendingOutput();
    if (dialogs_ != nullptr) {
        return dialogs_->messageBox(title, text, icon, buttons, defaultAnswer);
    }
    QMessageBox box(window_.isVisible() ? &window_ : nullptr);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
        case MsgIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
    }
    if (QAbstractButton* button = box.button(ToQt(defaultAnswer))) {
        box.setDefaultButton(static_cast<QPushButton*>(button));
    }
    AssignMnemonics(&box);  // the About box and every question: Alt+O, Alt+C, Alt+Y, Alt+N
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        default:
            // Closed with Escape or the close box: the cautious answer.
            return buttons == MsgButtons::YesNo      ? MsgAnswer::No
                   : buttons == MsgButtons::OkCancel ? MsgAnswer::Cancel
                                                     : MsgAnswer::Ok;
    }
}

std::optional<QString> QtHost::inputBox(const QString& prompt, const QString& title) {
    window_.AppendPendingOutput();
    std::optional<QString> answer;
    if (dialogs_ != nullptr) {
        answer = dialogs_->inputBox(prompt, title);
    } else {
        bool ok = false;
        const QString text = QInputDialog::getText(window_.isVisible() ? &window_ : nullptr, title,
                                                   prompt, QLineEdit::Normal, QString(), &ok);
        if (ok) {
            answer = text;
        }
    }
    promptCancelled_ = promptCancelled_ || !answer.has_value();
    return answer;
}

std::int32_t QtHost::todayJdn() {
    if (dialogs_ != nullptr) {
        return dialogs_->todayJdn();
    }
    return static_cast<std::int32_t>(QDate::currentDate().toJulianDay());
}

OutputText& QtHost::output() {
    return window_.output();
}

void QtHost::yield() {
    QCoreApplication::processEvents();
}

void QtHost::enlargeOutput() {
    window_.AutoEnlarge();
}

void QtHost::outputChanged() {
    // During a batch run the window takes the output once per time slice.
    if (!window_.state().session.batchRunning) {
        window_.AppendPendingOutput();
    }
}

void QtHost::fieldsChanged() {
    window_.RefreshFieldsFromState();
}

void QtHost::optionsChanged() {
    window_.RefreshOptionsFromState();
    window_.ShowTodaysDate();
}

}  // namespace daybridge
