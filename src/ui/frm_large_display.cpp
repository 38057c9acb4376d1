#include "ui/frm_large_display.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/desktop_keys.h"
#include "ui/output_view.h"
#include "ui/screen_fit.h"
#include "ui/ui_metrics.h"

namespace daybridge {

frmLargeDisplay::frmLargeDisplay(const AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state) {
    setObjectName(QStringLiteral("frmLargeDisplay"));
    txbOutput = new OutputView(this);
    txbOutput->setObjectName(QStringLiteral("txbOutput"));
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(13);
    txbOutput->setFont(font);
    txbOutput->installEventFilter(this);
    txbOutput->viewport()->installEventFilter(this);
    cmdCopyToClipboard = new QPushButton(this);
    cmdCopyToClipboard->setObjectName(QStringLiteral("cmdCopyToClipboard"));
    cmdCopyToClipboard->setAutoDefault(false);
    cmdClose = new QPushButton(this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    cmdClose->setMinimumWidth(TwipsToPixels(this, 1200));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopyToClipboard);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txbOutput, 1);
    layout->addLayout(buttons);

    // The window never becomes smaller than 8000 by 2000 twips.
    setMinimumSize(TwipsToPixels(this, 8000), TwipsToPixels(this, 2000));

    connect(cmdCopyToClipboard, &QPushButton::clicked, this,
            &frmLargeDisplay::cmdCopyToClipboard_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmLargeDisplay::cmdClose_Click);
    SetLanguageDependentText();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &frmLargeDisplay::cmdClose_Click);
    PressButtonsOnEnter(this);
    KeepOnScreen(this);
}

void frmLargeDisplay::SetText(const QString& text) {
    txbOutput->setText(text);
}

void frmLargeDisplay::ShowTextOf(const OutputView& view) {
    txbOutput->copyFrom(view);
}

QString frmLargeDisplay::Text() const {
    return txbOutput->toPlainText();
}

void frmLargeDisplay::SetLanguageDependentText() {
    setWindowTitle(state_.settings.Caption(Caption::EnlargedOutput));
    cmdClose->setText(state_.settings.Caption(Caption::Close));
    const bool selection = txbOutput->hasSelection();
    cmdCopyToClipboard->setText(state_.settings.Caption(selection ? Caption::CopySelectedToClipboard
                                                                  : Caption::CopyAllToClipboard));
    AssignMnemonics(this);
}

void frmLargeDisplay::Form_Activate() {
    SetLanguageDependentText();
    cmdCopyToClipboard->setEnabled(true);
    cmdCopyToClipboard->setFixedWidth(TwipsToPixels(this, 3900));
    UpdateCopyButton();
}

void frmLargeDisplay::UpdateCopyButton(bool focusClose) {
    const Language language = state_.settings.language;
    const bool selection = txbOutput->hasSelection();
    int width;
    if (selection) {
        cmdCopyToClipboard->setText(state_.settings.Caption(Caption::CopySelectedToClipboard));
        width = language == kEnglish ? 3750 : 5000;
    } else {
        cmdCopyToClipboard->setText(state_.settings.Caption(Caption::CopyAllToClipboard));
        width = language == kEnglish ? 2500 : language == kGerman ? 3500 : 3000;
    }
    AssignMnemonics(this);
    // The described width, or more where the caption needs it.
    cmdCopyToClipboard->setFixedWidth(
        std::max(TwipsToPixels(this, width), cmdCopyToClipboard->sizeHint().width()));
    if (!selection && focusClose) {
        cmdClose->setFocus();
    }
}

void frmLargeDisplay::cmdCopyToClipboard_Click() {
    txbOutput->copySelectionOrAll();
    UpdateCopyButton();
}

void frmLargeDisplay::cmdClose_Click() {
    hide();
    emit Closed();
}

void frmLargeDisplay::closeEvent(QCloseEvent* event) {
    emit Closed();
    event->accept();
}

bool frmLargeDisplay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txbOutput && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            txbOutput->hasSelection()) {
            cmdCopyToClipboard_Click();
            return true;
        }
    } else if (watched == txbOutput->viewport() && event->type() == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            // The click leaves the focus in the text, where a stray Space does no harm.
            UpdateCopyButton(false);
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace daybridge
