// frmLargeDisplay: the output text in a large, resizable window with its own copy and close
// buttons. It holds a copy of the text; edits made in it stay here.
#pragma once

#include <QWidget>

#include "app/app_state.h"

class QPushButton;

namespace daybridge {

class OutputView;

class frmLargeDisplay : public QWidget {
    Q_OBJECT
  public:
    frmLargeDisplay(const AppState& state, QWidget* parent = nullptr);

    void SetText(const QString& text);
    // Shows the text of `view`, sharing its text and line index.
    void ShowTextOf(const OutputView& view);
    // The text shown, with every line break as LF.
    QString Text() const;

    // Captions in the state's language, the copy button's size, then UpdateCopyButton.
    void Form_Activate();
    void SetLanguageDependentText();
    // Without a selection the Close button takes the focus, unless `focusClose` is false.
    void UpdateCopyButton(bool focusClose = true);

    OutputView* txbOutput = nullptr;
    QPushButton* cmdCopyToClipboard = nullptr;
    QPushButton* cmdClose = nullptr;

  public slots:
    void cmdCopyToClipboard_Click();
    void cmdClose_Click();

  signals:
    // Hidden by Close or the close box: the main window takes the focus back.
    void Closed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    const AppState& state_;
};

}  // namespace daybridge
