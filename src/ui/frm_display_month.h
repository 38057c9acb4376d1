// frmDisplayMonthLPM: one month of the Gregorian or Julian calendar as a text grid, with the
// ISO, LPW or LPM dates of the same weeks beside it; or a month of another calendar with the CE
// date beside each day.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/app_state.h"
#include "app/calendar_month.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace daybridge {

class frmDisplayMonthLPM : public QWidget {
    Q_OBJECT
  public:
    frmDisplayMonthLPM(AppState& state, QWidget* parent = nullptr);

    // Presets the year and month (1..12), shows the window and draws the month. While another
    // calendar is chosen, its month holding `day` is shown instead (without it, the month
    // holding the 1st of the given month).
    void ShowMonth(int year, int month, std::optional<std::int64_t> day = std::nullopt);
    // Captions in the state's language.
    void SetLanguageDependentText();
    // Shows the state's month-display options in the controls.
    void RefreshFromState();

    // Redraws the grid (and the added dates when shown) for the year, month, calendar and first
    // day of week in the controls. Does nothing while the window is hidden.
    void DisplayMonth();
    bool DatesShown() const { return datesShown_; }
    // The text the copy button puts on the clipboard.
    QString ClipboardText() const;

    // Message boxes go here instead of to the screen when set (title, text).
    using MessageHook = std::function<void(const QString&, const QString&)>;
    void SetMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }

  signals:
    // Closed by the user: the main window gives txbFirstDate the focus.
    void Closed();

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void CreateControls();
    void LayOutControls();
    void ConnectControls();
    void cmdDisplayNextMonth_Click(int index);
    void cmdShowHideISOorLPM_Click();
    void cmdCopyToClipboard_Click();
    void cmdClose_Click();
    void CalendarOrWeekStartChanged();
    void AddedKindChanged();
    void ShowDates(bool show);
    void FillDates();
    void UpdateEnabling();
    void UpdateWithYearCaption();
    void MarkHolidays(std::int32_t year, int month, bool julian);
    // Another calendar's month: the controls follow the calendar chosen, from the first day of
    // the month they held before.
    bool OtherCalendarShown() const;
    CalendarId OtherCalendar() const;
    std::optional<std::int64_t> FirstDayInControls() const;
    void PutMonthOfDay(std::int64_t jdn);
    void FillMonthList(const QStringList& names, int place);
    QStringList CommonEraMonthNames() const;
    void ControlsFollowCalendar();
    void DisplayOtherMonth();
    void MarkOtherHolidays(const CalendarMonthGrid& grid);
    void StepOtherMonth(bool forward);
    void YearsShownMessage();
    void Message(const QString& title, const QString& text);
    QString TextOr(int id, const char* fallback) const;

    AppState& state_;
    MessageHook messageHook_;
    bool datesShown_ = false;
    std::int32_t weekStartJdn_ = 0;
    int weekRowCount_ = 0;
    bool drawn_ = false;
    int drawnMonth_ = 1;
    QString drawnYear_;
    bool drawnJulian_ = false;
    std::optional<Language> captionLanguage_;
    // The calendar the year box and the month list hold a month of; nothing for CE / Julian.
    std::optional<CalendarId> controlsCalendar_;
    std::vector<CalendarId> otherCalendars_;
    std::optional<CalendarMonthGrid> drawnOther_;  // set while another calendar's month is shown

    QLabel* lblYear_ = nullptr;
    QLineEdit* txbYear_ = nullptr;
    QLabel* lblMonth_ = nullptr;
    QComboBox* cboMonths_ = nullptr;
    QPushButton* cmdDisplay_ = nullptr;
    QGroupBox* fraCalendar_ = nullptr;
    QRadioButton* optCommonEra_ = nullptr;
    QRadioButton* optJulian_ = nullptr;
    QRadioButton* optOther_ = nullptr;
    QComboBox* cboCalendar_ = nullptr;
    QLabel* lblTitle_ = nullptr;  // another calendar's month and the CE days it covers
    QGroupBox* fraFirstDay_ = nullptr;
    QRadioButton* optSunday_ = nullptr;
    QRadioButton* optMonday_ = nullptr;
    QPushButton* cmdNext_ = nullptr;
    QPushButton* cmdPrevious_ = nullptr;
    QPlainTextEdit* txbMonth_ = nullptr;
    QLabel* lblHolidays_ = nullptr;  // the month's holidays, shown with a holiday set only
    QPushButton* cmdShowHide_ = nullptr;
    QGroupBox* fraShowHide_ = nullptr;
    QRadioButton* optISO_ = nullptr;
    QRadioButton* optLPM_ = nullptr;
    QRadioButton* optLPW_ = nullptr;
    QCheckBox* chkWithYear_ = nullptr;
    QLabel* lblDatesTitle_ = nullptr;
    QPlainTextEdit* txbDates_ = nullptr;
    QPushButton* cmdCopy_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};

}  // namespace daybridge
