#include "ui/frm_main.h"
#include "app/texts.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <array>
#include <optional>

#include "app/calendar_names.h"
#include "app/refused_date_text.h"
#include "compute/date_fields.h"
#include "compute/main_presenter.h"
#include "compute/result_text.h"
#include "datetext/date_format.h"
#include "datetext/date_parse.h"
#include "datetext/string_utils.h"
#include "env/paths.h"
#include "env/settings_file.h"
#include "env/side_settings.h"
#include "env/text_store.h"
#include "ui/desktop_keys.h"
#include "ui/frm_clear_one.h"
#include "ui/frm_configure.h"
#include "ui/frm_display_month.h"
#include "ui/frm_help.h"
#include "ui/frm_large_display.h"
#include "ui/main_window_texts.h"
#include "ui/output_view.h"
#include "ui/qt_host.h"
#include "ui/screen_fit.h"
#include "ui/ui_metrics.h"

namespace daybridge {

using namespace main_window;

namespace {

// The options the check boxes stand for, by their id: chkIncludeFirstDate, chkIncludeWeekends,
// chkVerbose, chkSaveOutput.
constexpr std::array<bool Settings::*, 4> kCheckOptions = {
    &Settings::includeFirstDate, &Settings::includeWeekends, &Settings::verbose,
    &Settings::saveOnQuit};

}  // namespace

// Read as the PNG it is: with the format given and no guessing, Qt does not load its image
// format plugins (and their libraries) to probe the file, which start-up would pay for.
QIcon ProgramIcon() {
    QImageReader reader(QStringLiteral(":/daybridge.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

frmMain::frmMain(Host* dialogs, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(ProgramIcon());
    host_ = std::make_unique<QtHost>(*this, dialogs);
    engine_ = std::make_unique<ComputeEngine>(state_);
    batch_ = std::make_unique<BatchInterpreter>(state_, *host_, *engine_);
    urlOpener_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    fileChooser_ = [this](const QString& title, const QString& folder, const QString& filter) {
        return QFileDialog::getOpenFileName(this, title, folder, filter);
    };
    BuildWindow();
    ConnectSignals();
}

frmMain::~frmMain() {
    if (batchTimer_ != nullptr) {
        batchTimer_->stop();
    }
    txbOutput->leaveOutput();  // the state goes before the child widgets
}

Host& frmMain::host() {
    return *host_;
}

frmConfigure* frmMain::configureDialog() const {
    return configure_;
}
frmDisplayMonthLPM* frmMain::monthDisplay() const {
    return month_;
}
frmLargeDisplay* frmMain::largeDisplay() const {
    return large_;
}
frmClearOneTextBox* frmMain::clearOneDialog() const {
    return clearOne_;
}

// ---------------------------------------------------------------------------------------------
// Start-up, language, focus, reset and quit

bool frmMain::Form_Load() {
    state_.session.mainWindowReady = false;
    SetMainWindowReady(false);

    QString failure;
    if (LoadProgramText(FindDataFile(QString::fromLatin1(kTextDataFileName)), &failure) <= 0) {
        host().messageBox(QString(), failure, MsgIcon::Critical);
        return false;
    }
    setWindowTitle(Text(state_.settings.language, 1) + QLatin1Char(' ') +
                   QStringLiteral(DAYBRIDGE_VERSION));

    // InitialiseWindow: the caption tables and the calendar table are built in.
    SetDefaultState();
    SetColours();
    state_.SetBuiltInDefaults();
    output_.clear();
    RefreshFieldsFromState();
    RefreshOptionsFromState();
    RefreshInputFilesFromState();
    AppendPendingOutput();
    FillLanguageList();
    SetLanguageDependentText();

    UpdateCopyButton();
    show();
    FitOnScreen(this);  // smaller than the screen's room, where that is small
    UpdateCopyButton();
    txbFirstDate->setFocus();

    QString directory;
    QString settingsNotice;  // a damaged or unusable settings file, told once
    if (!settingsPath_.isEmpty()) {
        settingsNotice = LoadUserSettingsAtStart(settingsPath_, state_, output_, &directory);
    }
    if (!directory.isEmpty()) {
        QDir::setCurrent(directory);
    }
    const QString sideNotice = ApplySideSettings(side_, state_);
    ApplyLoadedLanguage();
    RefreshAllFromState();
    SetLanguageDependentText();
    FillLanguageList();

    Clock->start(1000);

    const QString root = FirstFixedDrive();
    if (!root.isEmpty()) {
        QDir::setCurrent(root);
    }

    FocusAtEnd(txbFirstDate);
    state_.session.batchRunning = false;
    state_.session.mainWindowReady = true;
    SetMainWindowReady(true);
    ShowTodaysDate();
    if (!settingsNotice.isEmpty()) {
        host().messageBox(Text(state_.settings.language, 1), settingsNotice, MsgIcon::Exclamation);
    }
    if (!sideNotice.isEmpty()) {
        host().messageBox(Text(state_.settings.language, 1), sideNotice, MsgIcon::Exclamation);
    }
    return true;
}

// Writes what this window changed of the side settings; false with the message in `failure`.
bool frmMain::SaveSideSettings(QString* failure) {
    HoldSideSettings(side_, state_);
    return side_.Save(state_.settings.language, failure);
}

void frmMain::SetDefaultState() {
    settingsPath_ = UserDataFilePath(QString::fromLatin1(kSettingsFileName),
                                     QString::fromLatin1(kSettingsFolder));
    side_ = SideSettings(settingsPath_);
}

void frmMain::ApplyLoadedLanguage() {
    const QSignalBlocker quiet(cboLanguage);
    cboLanguage->setCurrentIndex(LanguageListIndex(state_.settings.language));
}

void frmMain::FillLanguageList() {
    const QSignalBlocker quiet(cboLanguage);
    cboLanguage->clear();
    for (const Language language : kLanguages) {
        cboLanguage->addItem(state_.settings.Caption(LanguageCaption(language)),
                             LanguageNumber(language));
    }
    cboLanguage->setCurrentIndex(LanguageListIndex(state_.settings.language));
}

int frmMain::LanguageListIndex(Language language) const {
    for (int i = 0; i < cboLanguage->count(); ++i) {
        if (cboLanguage->itemData(i).toInt() == LanguageNumber(language)) {
            return i;
        }
    }
    return 0;
}

void frmMain::cboLanguage_Click() {
    const std::optional<Language> language = LanguageOfNumber(cboLanguage->currentData().toInt());
    if (cboLanguage->currentIndex() >= 0 && language && *language != state_.settings.language) {
        const int position = cboLanguage->currentIndex();
        state_.settings.language = *language;
        FillLanguageList();
        const QSignalBlocker quiet(cboLanguage);
        cboLanguage->setCurrentIndex(position);
        SetLanguageDependentText();
        ShowTodaysDate();
    }
    txbOutput->moveCaretToEnd();
    UpdateCopyButton();
    SetTheFocus();
}

void frmMain::SetLanguageDependentText() {
    const Settings& s = state_.settings;
    cmdCompute->setText(s.Caption(Caption::Compute));
    for (int i = 0; i < 2; ++i) {
        cmdToday[i]->setText(s.Caption(Caption::Today));
        lblThisIsA[i]->setText(s.Caption(Caption::ThisIsA));
    }
    cmdReset->setText(s.Caption(Caption::Reset));
    cmdConfigure->setText(s.Caption(Caption::Configure));
    cmdQuit->setText(s.Caption(Caption::Quit));
    for (QPushButton* clear :
         {cmdClearFirstDate, cmdClearSecondDate, cmdClearDateDiffDays, cmdClearOutputWindow}) {
        clear->setText(s.Caption(Caption::Clear));
    }
    cmdMoveSecondDateToFirst->setText(s.Caption(Caption::SecondToFirst));
    cmdDisplayMonth->setText(s.Caption(Caption::DisplayMonth));
    cmdEnlarge->setText(s.Caption(Caption::Enlarge));
    cmdView->setText(s.Caption(Caption::View));
    cmdRemoveInputFileFromList->setText(s.Caption(Caption::Remove));
    cmdInputFile->setText(s.Caption(Caption::InputFile));
    cmdBatchCompute->setText(s.Caption(batch_->Running() ? Caption::Stop : Caption::ProcessFile));
    cmdBatchCompute->setToolTip(batch_->Running() ? QString() : s.Text(kTextProcessFileToolTip));
    for (QLineEdit* field : {txbFirstDate, txbDateDiffDays, txbSecondDate}) {
        if (!field->placeholderText().isEmpty()) {
            field->setPlaceholderText(s.Text(kTextEmptiedByRun));
        }
    }
    lblFirstDate->setText(s.Caption(Caption::FirstDate) + QLatin1Char(':'));
    lblSecondDate->setText(s.Caption(Caption::SecondDate) + QLatin1Char(':'));
    lblDateDifference->setText(s.Caption(Caption::DateDifference) + QLatin1Char(':'));
    for (const CalendarId calendar : OptionCalendars()) {
        const QString caption = CalendarName(calendar, s.language);
        CalendarOption(0, calendar)
            ->setText(caption + QStringLiteral(" (") + CalendarCode(calendar) + QLatin1Char(')'));
        CalendarOption(1, calendar)->setText(caption);
    }
    for (int i = 0; i < 2; ++i) {
        calendarOptions_[i]
            ->button(kOtherCalendarOption)
            ->setText(s.Caption(Caption::OtherCalendar));
        QComboBox* list = cboOtherCalendar[i];
        for (int item = 0; item < list->count(); ++item) {
            const std::optional<CalendarId> calendar =
                CalendarOfIndex(list->itemData(item).toInt());
            list->setItemText(item, calendar ? CalendarName(*calendar, s.language) : QString());
        }
    }
    AlignOptionColumns();
    chkIncludeFirstDate->setText(s.Caption(Caption::IncludeFirstDate));
    chkIncludeWeekends->setText(s.Caption(Caption::IncludeWeekends));
    chkVerbose->setText(s.Caption(Caption::Verbose));
    chkSaveOutput->setText(s.Caption(Caption::SaveOutput));
    lblTodaysDate->setToolTip(s.Caption(Caption::ClickToChangeCalendar));
    lblOnlineDocumentation->setText(s.Caption(Caption::OnlineDocumentation));
    lblVelmoraSystems->setText(s.Caption(Caption::VelmoraSystems));
    lblLanguage->setText(s.Caption(Caption::Language));
    lblDayOrDays->setText(DayOrDaysLabel(state_));
    UpdateCopyButton();  // marks the mnemonics too

    if (configure_ != nullptr) {
        configure_->SetLanguageDependentText();
    }
    if (month_ != nullptr) {
        month_->SetLanguageDependentText();
    }
    if (clearOne_ != nullptr) {
        clearOne_->SetLanguageDependentText();
    }
    if (large_ != nullptr) {
        large_->SetLanguageDependentText();
    }
    if (auto* help = findChild<frmHelp*>()) {
        help->SetLanguageDependentText();
    }
}

void frmMain::SetTheFocus() {
    if (!isVisible() || !state_.session.mainWindowReady || state_.session.batchRunning) {
        return;
    }
    const bool first = !state_.session.firstDateText.isEmpty();
    const bool difference = !state_.session.dateDiffText.isEmpty();
    const bool second = !state_.session.secondDateText.isEmpty();
    if (int(first) + int(difference) + int(second) >= 2) {
        cmdCompute->setFocus();
    } else if (!first) {
        txbFirstDate->setFocus();
    } else if (!difference) {
        txbDateDiffDays->setFocus();
    } else {
        txbSecondDate->setFocus();
    }
}

void frmMain::cmdReset_Click() {
    const QString text = state_.settings.Text(18) + QLatin1Char('\n') + state_.settings.Text(19) +
                         QStringLiteral("\n\n") + state_.settings.Text(20);
    const MsgAnswer answer = host().messageBox(state_.settings.Caption(Caption::Reset), text,
                                               MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No);
    if (answer == MsgAnswer::Yes) {
        if (!settingsPath_.isEmpty()) {
            QFile::remove(settingsPath_);
        }
        state_.SetBuiltInDefaults();
        output_.clear();
        state_.settings.workdays =
            WorkdayCalendar();  // the configuration dialog's working days too
        QString failure;
        if (!SaveSideSettings(&failure)) {
            host().messageBox(Text(state_.settings.language, 1), failure, MsgIcon::Exclamation);
        }
        RefreshAllFromState();
        FillLanguageList();
        SetLanguageDependentText();
        ShowTodaysDate();
    }
    SetTheFocus();
}

// Shows the whole state again in the window and its dialogs (after loading settings or Reset).
void frmMain::RefreshAllFromState() {
    RefreshFieldsFromState();
    RefreshOptionsFromState();
    RefreshInputFilesFromState();
    AppendPendingOutput();
    if (configure_ != nullptr) {
        configure_->RefreshFromState();
    }
    if (month_ != nullptr) {
        month_->RefreshFromState();
    }
}

void frmMain::cmdQuit_Click() {
    // The settings are written here, not only when the close event arrives: a platform that
    // does not deliver it (a window without a native window yet) must not lose them.
    EndRunForQuit();
    if (configure_ != nullptr) {
        configure_->ApplyLimits(false);  // limits typed but not yet confirmed are kept
    }
    SaveSettings();
    close();
}

// A run in progress ends after its current line, so the settings it changed for the run are
// restored before they are saved. The timer that drives the run is stopped first, so the run's
// end is reached here rather than by a slice that would never come.
void frmMain::EndRunForQuit() {
    quitting_ = true;
    batchTimer_->stop();
    if (batch_->Running()) {
        batch_->RequestStop();
        // A slice entered from inside a message box of the run returns at once; the bound
        // keeps that from spinning.
        for (int slice = 0; slice < 1000 && batch_->RunSlice(); ++slice) {
        }
    }
}

void frmMain::SaveSettings() {
    if (settingsSaved_ || settingsPath_.isEmpty() || !state_.session.mainWindowReady) {
        return;
    }
    settingsSaved_ = true;
    SyncOutputFromView();
    // Each file that could not be written is told, in one message.
    QStringList failures;
    QString failure;
    if (!SaveSideSettings(&failure)) {
        failures << failure;
    }
    if (!SaveUserSettings(settingsPath_, state_, output_, QDir::currentPath(), &failure)) {
        failures << failure;
    }
    if (!failures.isEmpty()) {
        host().messageBox(Text(state_.settings.language, 1),
                          failures.join(QStringLiteral("\r\n\r\n")), MsgIcon::Exclamation);
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    EndRunForQuit();
    Clock->stop();
    if (configure_ != nullptr) {
        configure_->ApplyLimits(false);  // limits typed but not yet confirmed are kept
    }
    SaveSettings();
    for (QWidget* window : std::initializer_list<QWidget*>{configure_, month_, large_}) {
        if (window != nullptr) {
            window->close();
        }
    }
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// The widgets and the state

void frmMain::SetField(QLineEdit* field, QString& stateText, const QString& text) {
    stateText = text;
    if (field->text() != text) {
        field->setText(text);
    }
}

void frmMain::FocusAtEnd(QLineEdit* field) {
    if (!isVisible() || state_.session.batchRunning) {
        return;
    }
    field->setFocus();
    field->end(false);
}

void frmMain::RefreshFieldsFromState() {
    const QString first = state_.session.firstDateText;
    const QString difference = state_.session.dateDiffText;
    const QString second = state_.session.secondDateText;
    SetField(txbFirstDate, state_.session.firstDateText, first);
    SetField(txbDateDiffDays, state_.session.dateDiffText, difference);
    SetField(txbSecondDate, state_.session.secondDateText, second);
}

void frmMain::RefreshOptionsFromState() {
    ShowFieldCalendar(0, state_.settings.firstCalendar);
    ShowFieldCalendar(1, state_.settings.secondCalendar);
    // A calendar the fields do not offer (AN, VLW) is shown and kept as CE.
    if (calendarOptions_[0]->checkedId() == IndexOf(kDefaultCalendar)) {
        state_.settings.firstCalendar = kDefaultCalendar;
    }
    if (calendarOptions_[1]->checkedId() == IndexOf(kDefaultCalendar)) {
        state_.settings.secondCalendar = kDefaultCalendar;
    }
    const QSignalBlocker quiet(checkOptions_);
    for (std::size_t id = 0; id < kCheckOptions.size(); ++id) {
        checkOptions_->button(static_cast<int>(id))->setChecked(state_.settings.*kCheckOptions[id]);
    }
}

// Checks the option of `calendar` in the group of date field `index` (0 first, 1 second): a
// world calendar checks "Other" and shows it in the list; any other calendar without an option
// checks CE.
void frmMain::ShowFieldCalendar(int index, CalendarId calendar) {
    const QSignalBlocker quiet(calendarOptions_[index]);
    const int listed = cboOtherCalendar[index]->findData(IndexOf(calendar));
    int id = IndexOf(kDefaultCalendar);
    if (listed >= 0) {
        cboOtherCalendar[index]->setCurrentIndex(listed);
        id = kOtherCalendarOption;
    } else if (Calendar(calendar).fieldChoice == FieldChoice::Option) {
        id = IndexOf(calendar);
    }
    QAbstractButton* option = calendarOptions_[index]->button(id);
    option->setChecked(true);
    lblThisIsA[index]->setBuddy(option);
}

CalendarId frmMain::OtherCalendar(int index) const {
    return CalendarOfIndex(cboOtherCalendar[index]->currentData().toInt())
        .value_or(kDefaultCalendar);
}

CalendarId frmMain::OptionCalendar(int field, int id) const {
    return id == kOtherCalendarOption ? OtherCalendar(field)
                                      : CalendarOfIndex(id).value_or(kDefaultCalendar);
}

QAbstractButton* frmMain::CalendarOption(int field, CalendarId calendar) const {
    return calendarOptions_[field]->button(IndexOf(calendar));
}

void frmMain::optFirstDateIs_Click(int calendarId) {
    FieldCalendarChange(1, OptionCalendar(0, calendarId));
}

void frmMain::optSecondDateIs_Click(int calendarId) {
    FieldCalendarChange(2, OptionCalendar(1, calendarId));
}

// The check boxes are the state's options; a click only moves the focus on.
void frmMain::chkOption_Click(int id) {
    state_.settings.*kCheckOptions.at(static_cast<std::size_t>(id)) =
        checkOptions_->button(id)->isChecked();
    SetTheFocus();
}

void frmMain::RefreshInputFilesFromState() {
    cboInputFile->clear();
    cboInputFile->addItems(state_.session.inputFiles);
    const int selected = state_.session.selectedInputFile;
    if (selected >= 0 && selected < state_.session.inputFiles.size()) {
        cboInputFile->setCurrentIndex(selected);
        state_.session.inputFileText = state_.session.inputFiles[selected];
    } else {
        state_.session.selectedInputFile = -1;
        cboInputFile->setCurrentIndex(-1);
        cboInputFile->setEditText(state_.session.inputFileText);
    }
}

void frmMain::AppendPendingOutput() {
    OutputText& output = output_;
    const bool reset = output.resetSinceLastTake();
    if (!reset && !output.hasPending()) {
        return;
    }
    if (reset) {
        outputEdited_ = false;
    }
    // The view shows the state's text in place: only the line index grows.
    txbOutput->takeOutput(reset);
    output.skipPending();
    txbOutput->moveCaretToEnd();
}

void frmMain::SyncOutputFromView() {
    if (!outputEdited_) {
        return;
    }
    // The view edits the state's text in place (typed breaks are CR LF): what it shows is taken.
    output_.markTaken(txbOutput->shownLength());
    outputEdited_ = false;
}

void frmMain::FieldCalendarChange(int field, CalendarId calendar) {
    // The focus stays where the calendar was chosen, so the arrow keys go on choosing.
    if (ChangeFieldCalendar(state_, field, calendar)) {
        ShowTodaysDate();
        RefreshFieldsFromState();
    }
}

void frmMain::ShowEngineMessage(ComputeMessageRow row) {
    ShowError(ComputeMessage(row, state_.settings.language));
}

void frmMain::ShowError(const QString& text) {
    host().messageBox(state_.settings.Caption(Caption::ErrorWord), text, MsgIcon::Exclamation);
}

void frmMain::ShowRefusedDate(int field, CalendarId calendar, const QString& text) {
    const QString why = RefusedDateMessage(field, calendar, text, state_.settings.language);
    if (why.isEmpty()) {
        ShowEngineMessage(field == 1 ? ComputeMessageRow::FirstDateInvalid
                                     : ComputeMessageRow::SecondDateInvalid);
    } else {
        ShowError(why);
    }
}

void frmMain::VScroll_Change(int index) {
    const int step = VScroll[index]->value();
    if (step == 0) {
        return;
    }
    {
        const QSignalBlocker block(VScroll[index]);
        VScroll[index]->setValue(0);
    }
    StepFieldDate(index, step);
}

void frmMain::StepFieldDate(int index, int step, bool byMonth) {
    QLineEdit* widget = index == 0 ? txbFirstDate : txbSecondDate;
    const FieldEdit edit = SteppedFieldDate(state_, index + 1, step, byMonth);
    if (edit.refusal == FieldRefusal::None && edit.text.isEmpty()) {
        return;  // an empty field
    }
    if (!ShowFieldRefusal(index + 1, edit.refusal)) {
        SetField(widget, index == 0 ? state_.session.firstDateText : state_.session.secondDateText,
                 edit.text);
    }
    SetField(txbDateDiffDays, state_.session.dateDiffText, QString());
    FocusAtEnd(widget);
}

// The message for a field's date that was refused (field 1 or 2); false when there is none.
bool frmMain::ShowFieldRefusal(int field, FieldRefusal refusal) {
    switch (refusal) {
        case FieldRefusal::None:
            return false;
        case FieldRefusal::Invalid:
            ShowRefusedDate(field, state_.GetCal(field),
                            TrimmedWhite(field == 1 ? state_.session.firstDateText
                                                    : state_.session.secondDateText));
            break;
        case FieldRefusal::OutOfRange:
            ShowEngineMessage(field == 1 ? ComputeMessageRow::FirstDateOutOfRange
                                         : ComputeMessageRow::SecondDateOutOfRange);
            break;
        case FieldRefusal::NoResult:
            ShowEngineMessage(ComputeMessageRow::ResultOutOfRange);
            break;
    }
    return true;
}

void frmMain::cmdMoveSecondDateToFirst_Click() {
    const FieldEdit edit = SecondDateAsFirst(state_);
    if (edit.refusal == FieldRefusal::None && edit.text.isEmpty()) {
        return;  // an empty second field
    }
    if (ShowFieldRefusal(2, edit.refusal)) {
        FocusAtEnd(txbSecondDate);
        return;
    }
    SetField(txbFirstDate, state_.session.firstDateText, edit.text);
    SetField(txbSecondDate, state_.session.secondDateText, QString());
    FocusAtEnd(txbDateDiffDays);
}

void frmMain::cmdClearFirstDate_Click() {
    SetField(txbFirstDate, state_.session.firstDateText, QString());
    SetTheFocus();
}

void frmMain::cmdClearSecondDate_Click() {
    SetField(txbSecondDate, state_.session.secondDateText, QString());
    SetTheFocus();
}

void frmMain::cmdClearDateDiffDays_Click() {
    SetField(txbDateDiffDays, state_.session.dateDiffText, QString());
    SetTheFocus();
}

bool frmMain::ClearOneFieldDialog() {
    frmClearOneTextBox& dialog = EnsureClearOne();
    const QPoint origin = geometry().topLeft();
    const QPoint place(origin.x() + Frame3->x() + TwipsToPixels(this, 50),
                       origin.y() + TwipsToPixels(this, 2550));
    switch (dialog.Ask(place)) {
        case frmClearOneTextBox::Choice::FirstDate:
            SetField(txbFirstDate, state_.session.firstDateText, QString());
            return true;
        case frmClearOneTextBox::Choice::DateDiff:
            SetField(txbDateDiffDays, state_.session.dateDiffText, QString());
            return true;
        case frmClearOneTextBox::Choice::SecondDate:
            SetField(txbSecondDate, state_.session.secondDateText, QString());
            return true;
        case frmClearOneTextBox::Choice::Cancel:
            break;
    }
    return false;
}

void frmMain::cmdCompute_Click() {
    if (state_.session.batchRunning) {
        return;
    }
    const ComputeStart start = BeginCompute(state_);
    RefreshFieldsFromState();
    if (start == ComputeStart::TodayFirst) {
        cmdToday_Click(0);
    } else if (start == ComputeStart::FocusOnly ||
               (start == ComputeStart::AskWhichToClear && !ClearOneFieldDialog())) {
        SetTheFocus();
        return;
    }
    TakeComputeSnapshot(state_);
    SyncOutputFromView();

    // The engine rewrites a date it accepts into its canonical text; the fields show that.
    ComputeAndShow(*engine_, state_, *host_, state_.session.firstDateText,
                   state_.session.dateDiffText, state_.session.secondDateText);

    AppendPendingOutput();
    RefreshFieldsFromState();
    lblDayOrDays->setText(DayOrDaysLabel(state_));
    SetTheFocus();
}

// ---------------------------------------------------------------------------------------------
// Today

void frmMain::ShowTodaysDate() {
    if (!state_.session.mainWindowReady) {
        return;
    }
    const TodayLabels labels = TodayLabelTexts(state_, host_->todayJdn());
    lblTodaysDate->setText(labels.today);
    lblTodaysDate->setToolTip(labels.todayToolTip);
    lblWeekFromToday->setText(labels.weekFromToday);
}

void frmMain::Clock_Timer() {
    ShowTodaysDate();
}

void frmMain::StepTodayCalendar(bool forward) {
    if (daybridge::StepTodayCalendar(state_, forward)) {
        ShowTodaysDate();
    }
}

void frmMain::cmdToday_Click(int index) {
    const CalendarId calendar =
        index == 0 ? state_.settings.firstCalendar : state_.settings.secondCalendar;
    const QString text = DateTextOfJdn(state_, calendar, host_->todayJdn());
    if (index == 0) {
        SetField(txbFirstDate, state_.session.firstDateText, text);
    } else {
        SetField(txbSecondDate, state_.session.secondDateText, text);
    }
    SetTheFocus();
}

void frmMain::cmdDisplayMonth_Click() {
    const QString first = TrimmedWhite(state_.session.firstDateText);
    SetField(txbFirstDate, state_.session.firstDateText, first);
    DateRecord shown = CivilOfJdn(host_->todayJdn(), 'G');
    const CalendarId calendar = state_.settings.firstCalendar;
    // A date of most calendars shows its CE month on the CE grid; see MonthDisplay.
    const MonthDisplay display = Calendar(calendar).monthDisplay;
    std::optional<std::int64_t> day;  // the month of another calendar holding it, if one is shown
    if (!first.isEmpty() && display != MonthDisplay::Today) {
        const ParseResult parsed = ParseDateInCalendar(calendar, first, state_.CurrentFormat());
        if (parsed.outcome == ParseOutcome::Valid) {
            day = parsed.jdn;
            const bool julian = display == MonthDisplay::Julian;
            shown = CivilOfJdn(parsed.jdn, julian ? 'J' : 'G');
            // The grid is the calendar the month was taken in: a Julian date, the Julian grid.
            if (display != MonthDisplay::CommonEraMonthOnly &&
                state_.settings.monthJulian != julian) {
                state_.settings.monthJulian = julian;
                if (month_ != nullptr) {
                    month_->RefreshFromState();
                }
            }
        }
    }
    EnsureMonth().ShowMonth(shown.year, shown.month, day);
}

}  // namespace daybridge
