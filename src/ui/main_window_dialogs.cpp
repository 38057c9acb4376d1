// The main window's secondary windows: the configuration dialog, the month display, the enlarged
// output, the clear-one question, the user guide and the About box.
#include <QComboBox>
#include <QLineEdit>
#include <QPoint>
#include <QUrl>

#include "app/texts.h"
#include "env/text_store.h"
#include "ui/frm_clear_one.h"
#include "ui/frm_configure.h"
#include "ui/frm_display_month.h"
#include "ui/frm_help.h"
#include "ui/frm_large_display.h"
#include "ui/frm_main.h"
#include "ui/main_window_texts.h"
#include "ui/output_view.h"
#include "ui/qt_host.h"
#include "ui/ui_metrics.h"

namespace daybridge {

using namespace main_window;

void frmMain::cmdConfigure_Click() {
    frmConfigure& dialog = EnsureConfigure();
    const QPoint origin = geometry().topLeft();
    const int top =
        origin.y() + cboInputFile->mapTo(this, QPoint(0, 0)).y() + TwipsToPixels(this, 330);
    const int left =
        origin.x() + txbOutput->mapTo(this, QPoint(0, 0)).x() + TwipsToPixels(this, 30);
    dialog.move(left, top);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

// The user guide in the help window, made on first use and raised on every later one.
void frmMain::lblOnlineDocumentation_Click() {
    auto* help = findChild<frmHelp*>();
    if (help == nullptr) {
        help = new frmHelp(
            state_, host(), [this](const QUrl& url) { return urlOpener_(url); }, this);
    }
    help->ShowHelp();
}

// The maker's name opens the About box: the program, its version and its maker.
void frmMain::lblVelmoraSystems_Click() {
    host().messageBox(state_.settings.Text(kTextAboutTitle),
                      Text(state_.settings.language, 1) + QLatin1Char(' ') +
                          QStringLiteral(DAYBRIDGE_VERSION) + QStringLiteral("\n\n") +
                          state_.settings.Text(kTextAboutText),
                      MsgIcon::Information);
}

frmConfigure& frmMain::EnsureConfigure() {
    if (configure_ == nullptr) {
        configure_ = new frmConfigure(state_, this);
        connect(configure_, &frmConfigure::ClearInputWindows, this, [this] {
            SetField(txbFirstDate, state_.session.firstDateText, QString());
            SetField(txbDateDiffDays, state_.session.dateDiffText, QString());
            SetField(txbSecondDate, state_.session.secondDateText, QString());
        });
        connect(configure_, &frmConfigure::ShowTodaysDate, this, &frmMain::ShowTodaysDate);
        connect(configure_, &frmConfigure::FieldsRewritten, this, &frmMain::RefreshFieldsFromState);
        connect(configure_, &frmConfigure::Closed, this, &frmMain::SetTheFocus);
        connect(configure_, &frmConfigure::WorkdaysChanged, this, [this] {
            if (month_ != nullptr) {
                month_->DisplayMonth();
            }
        });
        configure_->SetBatchRunning(batch_->Running());
        configure_->SetLanguageDependentText();
        configure_->RefreshFromState();
    }
    return *configure_;
}

frmDisplayMonthLPM& frmMain::EnsureMonth() {
    if (month_ == nullptr) {
        month_ = new frmDisplayMonthLPM(state_, this);
        month_->setWindowFlag(Qt::Window);
        connect(month_, &frmDisplayMonthLPM::Closed, this, [this] {
            if (state_.session.mainWindowReady && !state_.session.batchRunning) {
                txbFirstDate->setFocus();
            }
        });
        month_->SetLanguageDependentText();
        month_->RefreshFromState();
    }
    return *month_;
}

frmLargeDisplay& frmMain::EnsureLargeDisplay() {
    if (large_ == nullptr) {
        large_ = new frmLargeDisplay(state_, this);
        connect(large_, &frmLargeDisplay::Closed, this, &frmMain::SetTheFocus);
    }
    return *large_;
}

frmClearOneTextBox& frmMain::EnsureClearOne() {
    if (clearOne_ == nullptr) {
        clearOne_ = new frmClearOneTextBox(state_, this);
    }
    return *clearOne_;
}

}  // namespace daybridge
