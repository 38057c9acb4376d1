// frmConfigure: the modeless configuration dialog. Its controls are the live settings: each
// click writes AppState at once.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "app/app_state.h"
#include "env/holiday_files.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace daybridge {

// The largest value the two batch limits hold (16-bit signed).
inline constexpr int kLargestLimit = 32767;

// An ordinal or ISO week date typed in a date field, rewritten for the hyphen setting by the
// shape of its text alone (trimmed first): "2012100" -> "2012-100", "2012W053" <-> "2012-W05-3",
// "-44-W52-7" -> "-44W527". Other text comes back trimmed and otherwise unchanged.
QString RewriteForHyphen(const QString& text, bool hyphen);

// A batch limit typed in the dialog: empty gives `emptyValue`; a whole number 0..32767 (blanks
// around it and a leading "+" allowed) gives its value. Anything else gives no value, and
// `tooLarge` tells whether it was a number above the largest value.
std::optional<int> ReadLimit(const QString& text, int emptyValue, bool* tooLarge = nullptr);

class frmConfigure : public QDialog {
    Q_OBJECT
  public:
    frmConfigure(AppState& state, QWidget* parent = nullptr);

    // Captions in the state's language.
    void SetLanguageDependentText();
    // Shows the state's values in the controls (after settings were loaded or reset).
    void RefreshFromState();
    // Takes the two batch limits from their fields into the state. A value that cannot be
    // stored is refused with a message (when `report`) and the state keeps its value; the
    // result tells whether both were taken.
    bool ApplyLimits(bool report = true);
    // During a batch run the date format, the separators and the working days cannot be
    // changed: the run restores them at its end, which would undo the change in silence.
    void SetBatchRunning(bool running);

    // Message boxes go here instead of to the screen when set (title, text).
    using MessageHook = std::function<void(const QString&, const QString&)>;
    void SetMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }
    // Asks for a holiday file instead of the file dialog when set; empty: cancelled.
    using FileHook = std::function<QString()>;
    void SetFileHook(FileHook hook) { fileHook_ = std::move(hook); }

  signals:
    // The main window empties its three input fields (state and widgets).
    void ClearInputWindows();
    // The main window rewrites its today labels (the date format changed).
    void ShowTodaysDate();
    // The hyphen rewrite changed state.session.firstDateText / state.session.secondDateText.
    void FieldsRewritten();
    // The dialog was closed: the main window takes the focus back (SetTheFocus).
    void Closed();
    // The weekend days or the holiday set changed (the month display redraws its marks).
    void WorkdaysChanged();

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void BuildFormatFrame();
    void BuildLimitsFrame();
    void BuildWorkdaysFrame();
    void ConnectOptions();
    void DateFormatClicked(int dateFormat);
    void SeparatorClicked(const QString& separator);
    void ThousandsClicked(const QString& separator);
    void chkHyphen_Click(bool on);
    bool cmdClose_Click();
    void SetSeparatorCaptions();
    void WeekendDayClicked(int day, bool on);
    void HolidaySelectionClicked();
    void HolidayChoiceActivated(int index);
    void HolidayFileClicked();
    bool TakeHolidaySet(const QString& nameOrPath);
    void RefuseNoWorkingDay(const WorkdayCalendar& refused);
    void FillHolidayList();
    void ShowWorkdays();
    void ShowLimits();
    void Message(const QString& title, const QString& text);

    AppState& state_;
    MessageHook messageHook_;
    FileHook fileHook_;

    QFrame* frame1_ = nullptr;
    QFrame* frame4_ = nullptr;
    QLabel* lblDateFormat_ = nullptr;
    QRadioButton* optDateFormatIsYMD_ = nullptr;
    QRadioButton* optDateFormatIsDMY_ = nullptr;
    QRadioButton* optDateFormatIsMDY_ = nullptr;
    QLabel* lblDateSeparator_ = nullptr;
    QRadioButton* optSeparatorIsDash_ = nullptr;
    QRadioButton* optSeparatorIsSlash_ = nullptr;
    QRadioButton* optSeparatorIsDot_ = nullptr;
    QLabel* lblThousandsSeparator_ = nullptr;
    QRadioButton* optThousSepIsComma_ = nullptr;
    QRadioButton* optThousSepIsDot_ = nullptr;
    QRadioButton* optThousSepNone_ = nullptr;
    QCheckBox* chkHyphen_ = nullptr;
    QCheckBox* chkDisplayDayNames_ = nullptr;
    QLabel* lblMaxNumErrors_ = nullptr;
    QLineEdit* txbMaxNumErrors_ = nullptr;
    QLabel* lblAutoEnlarge_ = nullptr;
    QLineEdit* txbAutoEnlarge_ = nullptr;
    QLabel* lblGregorianSwitch_ = nullptr;
    QLineEdit* txbGregorianSwitch_ = nullptr;  // the first Gregorian day of HIS
    QLabel* lblWeekRule_ = nullptr;            // the rules of WK, FY and FYW
    QLineEdit* txbWeekRule_ = nullptr;
    QLabel* lblFiscalYear_ = nullptr;
    QLineEdit* txbFiscalYear_ = nullptr;
    QLabel* lblFiscalWeeks_ = nullptr;
    QLineEdit* txbFiscalWeeks_ = nullptr;
    QFrame* frameWorkdays_ = nullptr;
    QLabel* lblWeekendDays_ = nullptr;
    std::array<QCheckBox*, 7> chkWeekend_{};  // Monday first, as the weekend's bits
    // Which of the set's holidays count: a box per category (as the categories' bits), and
    // half days.
    QLabel* lblHolidayCategories_ = nullptr;
    std::array<QCheckBox*, 5> chkCategory_{};
    QCheckBox* chkHalfDays_ = nullptr;
    QLabel* lblHolidays_ = nullptr;
    QComboBox* cboHolidays_ = nullptr;  // none, the shipped sets, then a chosen file
    QLineEdit* txbHolidayFind_ = nullptr;
    std::vector<ShippedSetTitle> titles_;  // the shipped sets' titles in titlesLanguage_
    std::optional<Language> titlesLanguage_;
    QPushButton* cmdHolidayFile_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};

}  // namespace daybridge
