#include "ui/frm_clear_one.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/desktop_keys.h"
#include "ui/screen_fit.h"

namespace daybridge {

frmClearOneTextBox::frmClearOneTextBox(const AppState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("frmClearOneTextBox"));
    setModal(true);
    auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    lblNeedToClear = named(new QLabel, "lblNeedToClear");
    lblNeedToClear->setWordWrap(true);
    lblClear = named(new QLabel, "lblClear");
    lblOr = named(new QLabel, "lblOr");
    optClearFirstDate = named(new QRadioButton, "optClearFirstDate");
    optClearDateDiff = named(new QRadioButton, "optClearDateDiff");
    optClearSecondDate = named(new QRadioButton, "optClearSecondDate");
    optCancel = named(new QRadioButton, "optCancel");
    cmdContinue = named(new QPushButton, "cmdContinue");
    cmdContinue->setDefault(true);

    auto* options = new QGridLayout;
    options->addWidget(lblClear, 0, 0, Qt::AlignRight | Qt::AlignTop);
    options->addWidget(optClearFirstDate, 0, 1);
    options->addWidget(optClearDateDiff, 1, 1);
    options->addWidget(optClearSecondDate, 2, 1);
    options->addWidget(lblOr, 3, 1);
    options->addWidget(optCancel, 4, 1);
    options->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdContinue);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblNeedToClear);
    layout->addSpacing(8);
    layout->addLayout(options);
    layout->addLayout(buttons);

    // The first time, the difference is the field to clear.
    optClearDateDiff->setChecked(true);
    connect(cmdContinue, &QPushButton::clicked, this, &frmClearOneTextBox::cmdContinue_Click);
    SetLanguageDependentText();
    setMinimumWidth(420);
    PressButtonsOnEnter(this);
    KeepOnScreen(this);
}

void frmClearOneTextBox::SetLanguageDependentText() {
    setWindowTitle(state_.settings.Caption(Caption::Clear));
    lblNeedToClear->setText(
        ComputeMessage(ComputeMessageRow::DifferenceMustBeEmpty, state_.settings.language));
    lblClear->setText(state_.settings.Caption(Caption::ClearColon));
    optClearFirstDate->setText(state_.settings.Caption(Caption::FirstDate));
    optClearDateDiff->setText(state_.settings.Caption(Caption::DateDifference));
    optClearSecondDate->setText(state_.settings.Caption(Caption::SecondDate));
    lblOr->setText(state_.settings.Caption(Caption::Or));
    optCancel->setText(state_.settings.Caption(Caption::CancelThisOperation));
    cmdContinue->setText(state_.settings.Caption(Caption::Continue));
    AssignMnemonics(this);
}

void frmClearOneTextBox::Form_Activate() {
    if (optCancel->isChecked()) {
        optClearDateDiff->setChecked(true);
    }
}

frmClearOneTextBox::Choice frmClearOneTextBox::Ask(const QPoint& topLeft) {
    SetLanguageDependentText();
    Form_Activate();
    move(topLeft);
    continued_ = false;
    exec();
    return continued_ ? Selected() : Choice::Cancel;
}

frmClearOneTextBox::Choice frmClearOneTextBox::Selected() const {
    if (optClearFirstDate->isChecked()) {
        return Choice::FirstDate;
    }
    if (optClearDateDiff->isChecked()) {
        return Choice::DateDiff;
    }
    if (optClearSecondDate->isChecked()) {
        return Choice::SecondDate;
    }
    return Choice::Cancel;
}

void frmClearOneTextBox::cmdContinue_Click() {
    continued_ = true;
    hide();
    done(QDialog::Accepted);
}

}  // namespace daybridge
