// The main window's input-file list, output window and batch run.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <array>

#include "datetext/string_utils.h"
#include "env/paths.h"
#include "env/text_store.h"
#include "ui/desktop_keys.h"
#include "ui/frm_configure.h"
#include "ui/frm_large_display.h"
#include "ui/frm_main.h"
#include "ui/main_window_texts.h"
#include "ui/output_view.h"
#include "ui/qt_host.h"
#include "ui/ui_metrics.h"

namespace daybridge {

using namespace main_window;

namespace {

// How often the output window takes the output of a running batch program (milliseconds).
constexpr qint64 kRunOutputInterval = 100;

bool IsWhiteCode(QChar c) {
    return c.unicode() <= 32;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Input files and the output window

void frmMain::AddInputFile(const QString& filespec, int position) {
    if (filespec.isEmpty() || position < 0) {
        return;
    }
    int selected = static_cast<int>(state_.session.inputFiles.indexOf(filespec));
    if (selected < 0) {
        selected = std::min(position, static_cast<int>(state_.session.inputFiles.size()));
        state_.session.inputFiles.insert(selected, filespec);
    }
    state_.session.selectedInputFile = selected;
    state_.session.inputFileText = filespec;
    RefreshInputFilesFromState();
}

void frmMain::cmdInputFile_Click() {
    const int selected = state_.session.selectedInputFile;
    if (selected >= 0 && selected < state_.session.inputFiles.size()) {
        const QString& entry = state_.session.inputFiles[selected];
        const auto slash =
            std::max(entry.lastIndexOf(QLatin1Char('/')), entry.lastIndexOf(QLatin1Char('\\')));
        if (slash >= 0) {
            QDir::setCurrent(entry.left(slash + 1));
        }
    }
    const QString name =
        fileChooser_(state_.settings.Caption(Caption::SpecifyInputFile), QDir::currentPath(),
                     state_.settings.Caption(Caption::TextFilesFilter));
    if (!name.isEmpty()) {
        AddInputFile(name, 0);
    }
    SetTheFocus();
}

void frmMain::cboInputFile_LostFocus() {
    if (inLostFocus_) {
        return;
    }
    inLostFocus_ = true;
    const QString text = cboInputFile->currentText();
    state_.session.inputFileText = text;
    if (!text.isEmpty()) {
        const int selected = state_.session.selectedInputFile;
        const bool isSelectedEntry = selected >= 0 && selected < state_.session.inputFiles.size() &&
                                     state_.session.inputFiles[selected] == text;
        if (InputFilespecOK(text)) {
            if (!isSelectedEntry) {
                AddInputFile(text, 0);
            }
        } else {
            host().messageBox(QStringLiteral("Daybridge"),
                              state_.settings.Caption(Caption::Invalid) + QStringLiteral("\n\n") +
                                  state_.settings.Text(kTextNotTxtName));
            state_.session.inputFileText.clear();
            state_.session.selectedInputFile = -1;
            RefreshInputFilesFromState();
        }
    }
    inLostFocus_ = false;
}

void frmMain::cboInputFile_Click() {
    if (cmdBatchCompute->isEnabled() && isVisible() && !state_.session.batchRunning) {
        cmdBatchCompute->setFocus();
    } else {
        SetTheFocus();
    }
}

void frmMain::cmdRemoveInputFileFromList_Click() {
    const int selected = state_.session.selectedInputFile;
    if (selected >= 0 && selected < state_.session.inputFiles.size()) {
        state_.session.inputFiles.removeAt(selected);
        state_.session.selectedInputFile = -1;
        state_.session.inputFileText.clear();
        RefreshInputFilesFromState();
    }
    SetTheFocus();
}

void frmMain::InputFileNotFound() {
    host().messageBox(state_.settings.Caption(Caption::FileNotFound),
                      state_.settings.Caption(Caption::InputFileDoesNotExist),
                      MsgIcon::Exclamation);
}

void frmMain::cmdView_Click() {
    const QString text = cboInputFile->currentText();
    if (!text.isEmpty()) {
        const QFileInfo file(text);
        if (!file.isFile()) {
            InputFileNotFound();
        } else if (!urlOpener_(QUrl::fromLocalFile(file.absoluteFilePath()))) {
            host().messageBox(state_.settings.Caption(Caption::View),
                              state_.settings.Text(kTextNoApplicationOpens) + QStringLiteral("\n") +
                                  file.absoluteFilePath(),
                              MsgIcon::Exclamation);
        }
    }
    cboInputFile_Click();
}

void frmMain::cmdClearOutputWindow_Click() {
    output_.clear();
    AppendPendingOutput();
    SetTheFocus();
}

void frmMain::cmdEnlarge_Click() {
    if (large_ != nullptr && large_->isMinimized()) {
        delete large_;
    }
    SyncOutputFromView();
    AppendPendingOutput();
    // Blanks and line breaks at both ends go; a final line break stays, so the next result
    // starts on a line of its own.
    const QString& text = output_.text();
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsWhiteCode(text[begin])) {
        ++begin;
    }
    while (end > begin && IsWhiteCode(text[end - 1])) {
        --end;
    }
    if (begin == end) {
        if (!text.isEmpty()) {
            output_.clear();
            AppendPendingOutput();
        }
        host().messageBox(state_.settings.Caption(Caption::OutputWindow),
                          state_.settings.Caption(Caption::OutputWindowEmpty),
                          MsgIcon::Exclamation);
        SetTheFocus();
        return;
    }
    // The text is copied only when the trimming changes it.
    const QStringView tail = QStringView(text).mid(end);
    const bool keepBreak = tail.contains(QLatin1Char('\n'));
    if (begin > 0 || (keepBreak ? tail != u"\r\n" : !tail.isEmpty())) {
        QString trimmed = text.mid(begin, end - begin);
        if (keepBreak) {
            trimmed += QStringLiteral("\r\n");
        }
        output_.setText(trimmed);
        AppendPendingOutput();
    }

    frmLargeDisplay& window = EnsureLargeDisplay();
    const QRect main = geometry();
    const int top = TwipsToPixels(this, 400);
    const int width = main.width() - cmdQuit->width() - TwipsToPixels(this, 450);
    window.setGeometry(main.x(), main.y() + top, width, main.height() - top);
    window.ShowTextOf(*txbOutput);
    window.Form_Activate();
    window.show();
    window.raise();
    SetTheFocus();
}

void frmMain::AutoEnlarge() {
    if (!quitting_) {
        cmdEnlarge_Click();
    }
}

void frmMain::UpdateCopyButton() {
    const bool selection = txbOutput->hasSelection();
    int width;
    if (selection) {
        cmdCopyOutput->setText(state_.settings.Caption(Caption::CopySelectedToClipboard));
        width = state_.settings.language == kEnglish ? 3750 : 4700;
    } else {
        cmdCopyOutput->setText(state_.settings.Caption(Caption::CopyAllToClipboard));
        width = state_.settings.language == kEnglish  ? 2500
                : state_.settings.language == kGerman ? 3500
                                                      : 3000;
    }
    QFont font = cmdCopyOutput->font();
    font.setBold(false);
    cmdCopyOutput->setFont(font);
    AssignMnemonics(this);
    // The described width, or more where the caption needs it.
    cmdCopyOutput->setFixedWidth(
        std::max(TwipsToPixels(this, width), cmdCopyOutput->sizeHint().width()));
}

void frmMain::CopyOutputToClipboard() {
    txbOutput->copySelectionOrAll();
    UpdateCopyButton();
    SetTheFocus();
}

// ---------------------------------------------------------------------------------------------
// The batch run

void frmMain::cmdBatchCompute_Click() {
    if (batch_->Running()) {
        batch_->RequestStop();
        return;
    }
    SyncOutputFromView();
    state_.session.inputFileText = cboInputFile->currentText();
    if (!ExplainUnrunnableFile(state_.session.inputFileText.trimmed())) {
        SetTheFocus();
        return;
    }
    host_->TakePromptCancelled();
    const std::array<QLineEdit*, 3> fields = {txbFirstDate, txbDateDiffDays, txbSecondDate};
    std::array<bool, 3> typed{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        typed[i] = !fields[i]->text().isEmpty();
    }
    const bool started = batch_->ProcessBatchFile();
    AppendPendingOutput();
    RefreshFieldsFromState();
    // The run empties the three date fields; what was typed there is not lost without a word.
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (typed[i] && fields[i]->text().isEmpty()) {
            fields[i]->setPlaceholderText(state_.settings.Text(kTextEmptiedByRun));
        }
    }
    if (started) {
        SetBatchControls(true);
        outputTaken_.start();
        batchTimer_->start();
    } else {
        SetTheFocus();
    }
}

// Says why a named file cannot run, in the cases the run itself would pass over in silence: a
// name without ".txt" and an empty file. True when the run may start.
bool frmMain::ExplainUnrunnableFile(const QString& filespec) {
    if (filespec.isEmpty()) {
        return true;  // the run reports a missing name
    }
    if (!InputFilespecOK(filespec)) {
        host().messageBox(QStringLiteral("Daybridge"),
                          state_.settings.Caption(Caption::Invalid) + QStringLiteral("\n\n") +
                              state_.settings.Text(kTextNotTxtName),
                          MsgIcon::Exclamation);
        return false;
    }
    const QFileInfo file(filespec);
    if (file.isFile() && file.size() == 0) {
        host().messageBox(QStringLiteral("Daybridge"),
                          state_.settings.Text(kTextEmptyFile) + QStringLiteral("\n") + filespec,
                          MsgIcon::Exclamation);
        return false;
    }
    return true;
}

void frmMain::RunBatchSlice() {
    const bool more = batch_->RunSlice();
    // The view takes the run's output a few times a second, not after every slice: each take
    // repaints the view and its scroll bars, which would cost a fast run more than its output.
    if (!more || outputTaken_.hasExpired(kRunOutputInterval)) {
        AppendPendingOutput();
        outputTaken_.start();
    }
    if (!more) {
        BatchRunEnded();
    }
}

void frmMain::BatchRunEnded() {
    batchTimer_->stop();
    SetBatchControls(false);
    AppendPendingOutput();
    RefreshFieldsFromState();
    RefreshOptionsFromState();
    if (configure_ != nullptr) {
        configure_->RefreshFromState();
    }
    ShowTodaysDate();
    if (host_->TakePromptCancelled() && !quitting_) {
        host().messageBox(QStringLiteral("Daybridge"), state_.settings.Text(kTextPromptCancelled),
                          MsgIcon::Information);
    }
    SetTheFocus();
}

void frmMain::SetBatchControls(bool running) {
    cmdBatchCompute->setText(
        state_.settings.Caption(running ? Caption::Stop : Caption::ProcessFile));
    cmdBatchCompute->setToolTip(running ? QString()
                                        : state_.settings.Text(kTextProcessFileToolTip));
    if (configure_ != nullptr) {
        configure_->SetBatchRunning(running);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             Frame3, cmdReset, cmdDisplayMonth, cboInputFile, cmdInputFile, cmdView,
             cmdRemoveInputFileFromList, cmdClearOutputWindow, cmdEnlarge}) {
        w->setEnabled(!running);
    }
    cmdCompute->setEnabled(!running);
    AssignMnemonics(this);  // the enabled controls first
    txbOutput->setReadOnly(running);
    if (running) {
        cmdBatchCompute->setFocus();
    }
    emit BatchRunningChanged(running);
}

}  // namespace daybridge
