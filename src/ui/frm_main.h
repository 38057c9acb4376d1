// frmMain: the main window, a thin view over AppState. Every control carries its name as
// objectName; arrays of controls are numbered: cmdToday0/cmdToday1, VScroll0/VScroll1,
// lblThisIsA0/lblThisIsA1 (each also carries its index in the property "index").
//
// What the fields, the calendar options and the today labels do apart from the widgets lives in
// compute/main_presenter and compute/date_fields; the window writes the state through them and
// shows the state again (the Refresh operations), with the signals of the controls it sets
// blocked. An edit of a field writes the state at once. The output window shows the state's
// output text itself and is told when output was appended; edits typed into it change the
// state's text in place.
//
// The window is written in several files: frm_main.cpp (start-up, language, settings, the date
// fields and today), main_window_table.cpp (the controls and layouts as a table),
// main_window_layout.cpp (the window made from the table, the controls' connections),
// main_window_events.cpp (keys and clicks), main_window_run.cpp (input files, the output window,
// the batch run) and main_window_dialogs.cpp (the secondary windows).
#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>
#include <span>

#include "app/app_state.h"
#include "batch/batch_interpreter.h"
#include "compute/compute_engine.h"
#include "compute/date_fields.h"
#include "env/side_settings.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QScrollBar;
class QTimer;

namespace daybridge {

class QtHost;
class OutputView;
class frmConfigure;
class frmDisplayMonthLPM;
class frmLargeDisplay;
class frmClearOneTextBox;
namespace window_table {
struct Control;
}

// The program's icon, for the application and its windows.
QIcon ProgramIcon();

class frmMain : public QWidget {
    Q_OBJECT
  public:
    // `dialogs` answers message boxes and input boxes and gives today's date (the tests pass a
    // recording host); nullptr uses Qt's dialogs and the local date.
    explicit frmMain(Host* dialogs = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    // The start-up sequence. False when the text data file could not be loaded: the message has
    // been shown and the window must not be shown; the program ends.
    bool Form_Load();

    AppState& state() { return state_; }
    // The output window's text: the view's, the engine and the batch runs write into it.
    OutputText& output() { return output_; }
    Host& host();
    BatchInterpreter& batch() { return *batch_; }
    const QString& settingsPath() const { return settingsPath_; }

    // The auxiliary windows, once created (nullptr before first use).
    frmConfigure* configureDialog() const;
    frmDisplayMonthLPM* monthDisplay() const;
    frmLargeDisplay* largeDisplay() const;
    frmClearOneTextBox* clearOneDialog() const;

    // --- operations the other windows and the core use ---
    void SetTheFocus();
    void SetLanguageDependentText();
    void ShowTodaysDate();
    void UpdateCopyButton();
    // The widgets show the state again: the three fields, the options, the input-file list.
    void RefreshFieldsFromState();
    void RefreshOptionsFromState();
    void RefreshInputFilesFromState();
    void RefreshAllFromState();
    // Appends the state's pending output to the output window (or shows it anew after a reset).
    void AppendPendingOutput();
    // Marks text typed into the output window as shown (it is the state's text already).
    void SyncOutputFromView();
    // The batch run's auto-enlarge at its end: cmdEnlarge_Click, except when Quit ended the run.
    void AutoEnlarge();
    // Adds a file to the input-file list at `position` (nothing for an empty name or a negative
    // position); an entry already there is selected instead.
    void AddInputFile(const QString& filespec, int position);
    // Today's calendar steps forwards or backwards through the label cycle.
    void StepTodayCalendar(bool forward);

    // How a document (an input file, the user guide) is opened, and how the user picks an input
    // file (QDesktopServices and QFileDialog; the tests replace them).
    using UrlOpener = std::function<bool(const QUrl&)>;
    using FileChooser =
        std::function<QString(const QString& title, const QString& folder, const QString& filter)>;
    void setUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }
    void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }

  public slots:
    void cmdCompute_Click();
    void cmdToday_Click(int index);
    void cmdReset_Click();
    void cmdConfigure_Click();
    void cmdQuit_Click();
    void cmdClearFirstDate_Click();
    void cmdClearSecondDate_Click();
    void cmdClearDateDiffDays_Click();
    void cmdClearOutputWindow_Click();
    void cmdMoveSecondDateToFirst_Click();
    void cmdDisplayMonth_Click();
    void cmdEnlarge_Click();
    void cmdView_Click();
    void cmdRemoveInputFileFromList_Click();
    void cmdInputFile_Click();
    void cmdBatchCompute_Click();
    void CopyOutputToClipboard();
    void cboLanguage_Click();
    void cboInputFile_Click();
    void cboInputFile_LostFocus();
    void VScroll_Change(int index);
    void lblOnlineDocumentation_Click();
    void lblVelmoraSystems_Click();
    void Clock_Timer();

    // The calendar options of the first and the second date, by the id of their calendar (the
    // "Other" option's id names the calendar chosen in its list).
    void optFirstDateIs_Click(int calendarId);
    void optSecondDateIs_Click(int calendarId);
    // The four check boxes, by their id in the check group.
    void chkOption_Click(int id);

  signals:
    // A batch run started (true) or ended (false).
    void BatchRunningChanged(bool running);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The id of each date field's "Other" option in its group, beyond the calendars' indices.
    static constexpr int kOtherCalendarOption = 1000;
    QScrollArea* scroller_ = nullptr;
    void BuildWindow();
    // The controls, from the table in main_window_table.cpp, made by main_window_layout.cpp.
    static std::span<const window_table::Control> ControlTable();
    QWidget* BuildControls();
    QWidget* MakeControl(const window_table::Control& control);
    void Shape(QWidget* widget, const window_table::Control& control);
    QComboBox* MakeFileList();
    QFrame* BuildCalendarOptions(const char* frameName, int field);
    void ConnectSignals();
    void ConnectFieldsAndOptions();
    void SetColours();
    void AlignOptionColumns();
    void SetDefaultState();
    void FillLanguageList();
    int LanguageListIndex(Language language) const;
    void ApplyLoadedLanguage();
    void SaveSettings();
    void EndRunForQuit();
    void FieldCalendarChange(int field, CalendarId calendar);
    // The calendar of a date field's "Other" list: one of the world's calendars.
    CalendarId OtherCalendar(int field) const;
    // The calendar an option of date field `field` (0 or 1) with id `id` stands for.
    CalendarId OptionCalendar(int field, int id) const;
    QAbstractButton* CalendarOption(int field, CalendarId calendar) const;
    void ShowFieldCalendar(int field, CalendarId calendar);
    void StepFieldDate(int index, int step, bool byMonth = false);
    bool ExplainUnrunnableFile(const QString& filespec);
    bool SaveSideSettings(QString* failure);
    bool ClearOneFieldDialog();
    void RunBatchSlice();
    void BatchRunEnded();
    void SetBatchControls(bool running);
    void ShowEngineMessage(ComputeMessageRow row);
    void ShowError(const QString& text);
    // A date of field 1 or 2 that does not read: what is wrong with it, where that can be said.
    void ShowRefusedDate(int field, CalendarId calendar, const QString& text);
    bool ShowFieldRefusal(int field, FieldRefusal refusal);
    void InputFileNotFound();
    void SetField(QLineEdit* field, QString& stateText, const QString& text);
    void FocusAtEnd(QLineEdit* field);
    bool KeyPressFilter(QLineEdit* field, QKeyEvent* key);
    frmConfigure& EnsureConfigure();
    frmDisplayMonthLPM& EnsureMonth();
    frmLargeDisplay& EnsureLargeDisplay();
    frmClearOneTextBox& EnsureClearOne();

    AppState state_;
    OutputText output_;
    std::unique_ptr<QtHost> host_;
    std::unique_ptr<ComputeEngine> engine_;
    std::unique_ptr<BatchInterpreter> batch_;
    QString settingsPath_;
    SideSettings side_;  // daybridge.conf: read at start, what this window changed written at quit
    UrlOpener urlOpener_;
    FileChooser fileChooser_;
    bool settingsSaved_ = false;
    bool quitting_ = false;      // a run ended by Quit does not open the enlarged window
    bool outputEdited_ = false;  // typed into txbOutput since the state last saw it
    bool inLostFocus_ = false;   // its message box may take the focus from the list again

    QPointer<frmConfigure> configure_;
    QPointer<frmDisplayMonthLPM> month_;
    QPointer<frmLargeDisplay> large_;
    QPointer<frmClearOneTextBox> clearOne_;

    // controls
    QFrame* Frame1 = nullptr;
    QFrame* Frame2 = nullptr;
    QFrame* Frame3 = nullptr;
    QFrame* Frame6 = nullptr;
    QLineEdit* txbFirstDate = nullptr;
    QLineEdit* txbDateDiffDays = nullptr;
    QLineEdit* txbSecondDate = nullptr;
    OutputView* txbOutput = nullptr;
    // Each date field's calendar options, with the index of their calendar as id; the "Other"
    // option (kOtherCalendarOption) chooses the world calendar shown in the field's list.
    QButtonGroup* calendarOptions_[2] = {};
    QComboBox* cboOtherCalendar[2] = {};
    QButtonGroup* checkOptions_ = nullptr;  // the four check boxes, in the order of kCheckOptions
    QCheckBox* chkIncludeFirstDate = nullptr;
    QCheckBox* chkIncludeWeekends = nullptr;
    QCheckBox* chkVerbose = nullptr;
    QCheckBox* chkSaveOutput = nullptr;
    QPushButton* cmdCompute = nullptr;
    QPushButton* cmdToday[2] = {};
    QPushButton* cmdReset = nullptr;
    QPushButton* cmdConfigure = nullptr;
    QPushButton* cmdQuit = nullptr;
    QPushButton* cmdClearFirstDate = nullptr;
    QPushButton* cmdClearSecondDate = nullptr;
    QPushButton* cmdClearDateDiffDays = nullptr;
    QPushButton* cmdClearOutputWindow = nullptr;
    QPushButton* cmdMoveSecondDateToFirst = nullptr;
    QPushButton* cmdDisplayMonth = nullptr;
    QPushButton* cmdEnlarge = nullptr;
    QPushButton* cmdView = nullptr;
    QPushButton* cmdRemoveInputFileFromList = nullptr;
    QPushButton* cmdInputFile = nullptr;
    QPushButton* cmdBatchCompute = nullptr;
    QPushButton* cmdCopyOutput = nullptr;
    QComboBox* cboInputFile = nullptr;
    QComboBox* cboLanguage = nullptr;
    QLabel* lblFirstDate = nullptr;
    QLabel* lblSecondDate = nullptr;
    QLabel* lblDateDifference = nullptr;
    QLabel* lblDayOrDays = nullptr;
    QLabel* lblThisIsA[2] = {};
    QLabel* lblLanguage = nullptr;
    QLabel* lblTodaysDate = nullptr;
    QLabel* lblWeekFromToday = nullptr;
    QLabel* lblVelmoraSystems = nullptr;
    QLabel* lblOnlineDocumentation = nullptr;
    QScrollBar* VScroll[2] = {};
    QTimer* Clock = nullptr;
    QTimer* batchTimer_ = nullptr;
    QElapsedTimer outputTaken_;  // since the view last took the output of a run
};

}  // namespace daybridge
