#include "ui/frm_display_month.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "app/calendar_names.h"
#include "app/month_text.h"
#include "calendar/calendar_table.h"
#include "ui/desktop_keys.h"
#include "ui/screen_fit.h"

namespace daybridge {
namespace {

constexpr int kShowHideClosedText = 14;
constexpr int kShowHideOpenText = 15;
constexpr int kAddedDatesTitleText = 13;
// The grid box's size for a CE or Julian month: 6 weeks of 36 characters under the header.
const QString kCommonGridSize = QString(36, u'0') + QString(6, u'\n');
// Another calendar's month: 6 weeks of 7 cells.
const QString kOtherGridSize = QString(1 + 7 * kCalendarCellWidth, u'0') + QString(6, u'\n');

QFont FixedFont(int points) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(points);
    return font;
}

// Sizes a read-only text box to show `text` whole, without scroll bars.
void FitToText(QPlainTextEdit* box, const QString& text) {
    const QFontMetrics metrics(box->font());
    int width = 0;
    const QStringList lines = text.split(u'\n');
    for (const QString& line : lines) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    const int frame = 2 * (box->frameWidth() + static_cast<int>(box->document()->documentMargin()));
    box->setFixedSize(width + frame + metrics.averageCharWidth() * 2,
                      metrics.lineSpacing() * static_cast<int>(lines.size()) + frame + 4);
}

QPlainTextEdit* MakeTextBox(const char* name, int points, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setFont(FixedFont(points));
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return box;
}

template <class T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

frmDisplayMonthLPM::frmDisplayMonthLPM(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state) {
    setObjectName(QStringLiteral("frmDisplayMonthLPM"));

    CreateControls();
    LayOutControls();
    ConnectControls();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { cmdClose_Click(); });
    PressButtonsOnEnter(this);
    KeepOnScreen(this);

    RefreshFromState();
    SetLanguageDependentText();
}

void frmDisplayMonthLPM::CreateControls() {
    lblYear_ = Named(new QLabel(this), "lblYear");
    txbYear_ = Named(new QLineEdit(this), "txbYear");
    txbYear_->setMaxLength(12);
    txbYear_->setFixedWidth(txbYear_->fontMetrics().horizontalAdvance(u'0') * 12);
    lblYear_->setBuddy(txbYear_);
    lblMonth_ = Named(new QLabel(this), "lblMonth");
    cboMonths_ = Named(new QComboBox(this), "cboMonths");
    for (int m = 1; m <= 12; ++m) {
        cboMonths_->addItem(MonthNameIn(m, state_.settings.language));
    }
    // Other calendars' months are longer ("Dongyue (leap month)"): the box follows its list.
    cboMonths_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblMonth_->setBuddy(cboMonths_);
    cmdDisplay_ = Named(new QPushButton(this), "cmdDisplay");

    fraCalendar_ = Named(new QGroupBox(this), "fraCalendar");
    optCommonEra_ = Named(new QRadioButton(fraCalendar_), "optCommonEra");
    optJulian_ = Named(new QRadioButton(fraCalendar_), "optJulian");
    optOther_ = Named(new QRadioButton(fraCalendar_), "optOther");
    cboCalendar_ = Named(new QComboBox(fraCalendar_), "cboCalendar");
    // The calendars with months besides the two grids of their own.
    for (const CalendarId id : MonthCalendars()) {
        if (id != CalendarId::CE && id != CalendarId::JC) {
            otherCalendars_.push_back(id);
            cboCalendar_->addItem(CalendarName(id, state_.settings.language));
        }
    }
    auto* calendarLayout = new QVBoxLayout(fraCalendar_);
    calendarLayout->addWidget(optCommonEra_);
    calendarLayout->addWidget(optJulian_);
    calendarLayout->addWidget(optOther_);
    calendarLayout->addWidget(cboCalendar_);

    fraFirstDay_ = Named(new QGroupBox(this), "fraFirstDay");
    optSunday_ = Named(new QRadioButton(fraFirstDay_), "optSunday");
    optMonday_ = Named(new QRadioButton(fraFirstDay_), "optMonday");
    auto* firstDayLayout = new QVBoxLayout(fraFirstDay_);
    firstDayLayout->addWidget(optSunday_);
    firstDayLayout->addWidget(optMonday_);

    cmdNext_ = Named(new QPushButton(this), "cmdDisplayNextMonth_0");
    cmdPrevious_ = Named(new QPushButton(this), "cmdDisplayNextMonth_1");

    txbMonth_ = MakeTextBox("txbMonth", 11, this);
    FitToText(txbMonth_, kCommonGridSize);
    lblTitle_ = Named(new QLabel(this), "lblTitle");
    lblTitle_->setTextFormat(Qt::PlainText);
    lblTitle_->hide();

    cmdShowHide_ = Named(new QPushButton(this), "cmdShowHideISOorLPM");
    fraShowHide_ = Named(new QGroupBox(this), "fraShowHide");
    optISO_ = Named(new QRadioButton(fraShowHide_), "optISO");
    optLPM_ = Named(new QRadioButton(fraShowHide_), "optLPM");
    optLPW_ = Named(new QRadioButton(fraShowHide_), "optLPW");
    chkWithYear_ = Named(new QCheckBox(fraShowHide_), "chkWithYear");
    auto* showHideLayout = new QHBoxLayout(fraShowHide_);
    showHideLayout->addWidget(optISO_);
    showHideLayout->addWidget(optLPM_);
    showHideLayout->addWidget(optLPW_);
    showHideLayout->addSpacing(12);
    showHideLayout->addWidget(chkWithYear_);
    showHideLayout->addStretch(1);

    lblDatesTitle_ = Named(new QLabel(this), "lblDatesTitle");
    txbDates_ = MakeTextBox("txbDates", 10, this);
    lblDatesTitle_->hide();
    txbDates_->hide();

    cmdCopy_ = Named(new QPushButton(this), "cmdCopyToClipboard");
    cmdClose_ = Named(new QPushButton(this), "cmdClose");
}

// The choice of month, the options, the grid, the added dates and the buttons.
void frmDisplayMonthLPM::LayOutControls() {
    auto* top = new QVBoxLayout(this);
    auto* choice = new QHBoxLayout;
    choice->addWidget(lblYear_);
    choice->addWidget(txbYear_);
    choice->addSpacing(8);
    choice->addWidget(lblMonth_);
    choice->addWidget(cboMonths_);
    choice->addSpacing(8);
    choice->addWidget(cmdDisplay_);
    choice->addStretch(1);
    top->addLayout(choice);

    lblHolidays_ = Named(new QLabel(this), "lblHolidays");
    lblHolidays_->setTextFormat(Qt::PlainText);
    lblHolidays_->setFont(txbMonth_->font());
    lblHolidays_->hide();
    auto* gridColumn = new QVBoxLayout;
    gridColumn->addWidget(lblTitle_);
    gridColumn->addWidget(txbMonth_);
    gridColumn->addWidget(lblHolidays_);
    gridColumn->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(gridColumn);
    auto* side = new QVBoxLayout;
    side->addWidget(fraCalendar_);
    side->addWidget(fraFirstDay_);
    auto* stepping = new QHBoxLayout;
    stepping->addWidget(cmdPrevious_);
    stepping->addWidget(cmdNext_);
    side->addLayout(stepping);
    side->addStretch(1);
    middle->addLayout(side);
    middle->addStretch(1);
    top->addLayout(middle);

    auto* showHideRow = new QHBoxLayout;
    showHideRow->addWidget(cmdShowHide_);
    showHideRow->addWidget(fraShowHide_, 1);
    top->addLayout(showHideRow);
    top->addWidget(lblDatesTitle_);
    top->addWidget(txbDates_, 0, Qt::AlignLeft);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopy_);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose_);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetMinimumSize);
}

void frmDisplayMonthLPM::ConnectControls() {
    connect(cmdDisplay_, &QPushButton::clicked, this, [this] { DisplayMonth(); });
    connect(txbYear_, &QLineEdit::returnPressed, this, [this] { DisplayMonth(); });
    connect(cboMonths_, &QComboBox::currentIndexChanged, this, [this] { DisplayMonth(); });
    connect(cmdNext_, &QPushButton::clicked, this, [this] { cmdDisplayNextMonth_Click(0); });
    connect(cmdPrevious_, &QPushButton::clicked, this, [this] { cmdDisplayNextMonth_Click(1); });
    connect(cboCalendar_, &QComboBox::currentIndexChanged, this, [this] {
        if (optOther_->isChecked()) {
            CalendarOrWeekStartChanged();
        } else {
            optOther_->setChecked(true);  // which changes the calendar
        }
    });
    for (QRadioButton* option : {optCommonEra_, optJulian_, optOther_, optSunday_, optMonday_}) {
        connect(option, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) {
                CalendarOrWeekStartChanged();
            }
        });
    }
    for (QRadioButton* option : {optISO_, optLPM_, optLPW_}) {
        connect(option, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) {
                AddedKindChanged();
            }
        });
    }
    connect(chkWithYear_, &QCheckBox::toggled, this, [this] {
        if (datesShown_) {
            FillDates();
        }
    });
    connect(cmdShowHide_, &QPushButton::clicked, this, [this] { cmdShowHideISOorLPM_Click(); });
    connect(cmdCopy_, &QPushButton::clicked, this, [this] { cmdCopyToClipboard_Click(); });
    connect(cmdClose_, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

QString frmDisplayMonthLPM::TextOr(int id, const char* fallback) const {
    const QString text = state_.settings.Text(id);
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

void frmDisplayMonthLPM::Message(const QString& title, const QString& text) {
    if (messageHook_) {
        messageHook_(title, text);
        return;
    }
    QMessageBox::warning(this, title, text);
}

void frmDisplayMonthLPM::ShowMonth(int year, int month, std::optional<std::int64_t> day) {
    if (OtherCalendarShown()) {
        PutMonthOfDay(day.value_or(JdnOfCivil(year, std::clamp(month, 1, 12), 1,
                                              state_.settings.monthJulian ? 'J' : 'G')));
    } else {
        txbYear_->setText(QString::number(year));
        const QSignalBlocker blocker(cboMonths_);
        cboMonths_->setCurrentIndex(std::clamp(month, 1, 12) - 1);
    }
    if (!isVisible()) {
        // Beside the main window, when there is room on its screen.
        if (QWidget* owner = parentWidget()) {
            const QRect frame = owner->frameGeometry();
            QPoint place(frame.right() + 8, frame.top());
            if (const QScreen* screen = owner->screen()) {
                const QRect room = screen->availableGeometry();
                if (place.x() + sizeHint().width() > room.right()) {
                    place.setX(std::max(room.left(), room.right() - sizeHint().width()));
                }
            }
            move(place);
        }
        show();
    }
    raise();
    activateWindow();
    DisplayMonth();
}

void frmDisplayMonthLPM::SetLanguageDependentText() {
    const Language language = state_.settings.language;
    setWindowTitle(state_.settings.Caption(Caption::MonthDisplayTitle));
    lblYear_->setText(state_.settings.Caption(Caption::Year_) + u':');
    lblMonth_->setText(state_.settings.Caption(Caption::Month_) + u':');
    cmdDisplay_->setText(state_.settings.Caption(Caption::Show));
    fraCalendar_->setTitle(QString());
    optCommonEra_->setText(state_.settings.Caption(Caption::Gregorian));
    optJulian_->setText(state_.settings.Caption(Caption::Julian));
    optOther_->setText(TextOr(kTextOtherCalendar, "Other calendar:"));
    {
        const QSignalBlocker blocker(cboCalendar_);
        for (std::size_t i = 0; i < otherCalendars_.size(); ++i) {
            cboCalendar_->setItemText(static_cast<int>(i),
                                      CalendarName(otherCalendars_[i], language));
        }
    }
    optSunday_->setText(state_.settings.Caption(Caption::Sunday));
    optMonday_->setText(state_.settings.Caption(Caption::Monday));
    cmdNext_->setText(state_.settings.Caption(Caption::Next) + QStringLiteral(" >"));
    cmdPrevious_->setText(QStringLiteral("< ") + state_.settings.Caption(Caption::Previous));
    cmdShowHide_->setText(datesShown_ ? TextOr(kShowHideOpenText, "Hide")
                                      : TextOr(kShowHideClosedText, "Show"));
    optISO_->setText(TextOr(23, "ISO"));
    optLPM_->setText(TextOr(24, "LPM"));
    optLPW_->setText(TextOr(25, "LPW"));
    lblDatesTitle_->setText(TextOr(kAddedDatesTitleText, ""));
    cmdCopy_->setText(state_.settings.Caption(Caption::CopyToClipboard));
    cmdClose_->setText(state_.settings.Caption(Caption::Close));

    const int position = cboMonths_->currentIndex();
    if (controlsCalendar_) {
        const MonthYear read =
            ReadMonthYear(txbYear_->text(), state_.settings.format.thousandsSeparator);
        const QStringList names = MonthNamesOfYear(*controlsCalendar_, read.year, language);
        if (read.status == MonthYear::Ok && !names.isEmpty()) {
            FillMonthList(names, position + 1);
        }
    } else {
        const QSignalBlocker blocker(cboMonths_);
        for (int m = 1; m <= 12; ++m) {
            cboMonths_->setItemText(m - 1, MonthNameIn(m, language));
        }
        cboMonths_->setCurrentIndex(position);
    }
    UpdateWithYearCaption();
    UpdateEnabling();
    AssignMnemonics(this);
    // Day names follow the language.
    const bool languageChanged = language != captionLanguage_;
    captionLanguage_ = language;
    if (languageChanged && drawn_ && isVisible()) {
        DisplayMonth();
    }
}

void frmDisplayMonthLPM::RefreshFromState() {
    {
        const QSignalBlocker b1(optCommonEra_), b2(optJulian_), b3(optSunday_), b4(optMonday_),
            b5(optISO_), b6(optLPM_), b7(optLPW_);
        // Another calendar stays chosen; the settings name only the two grids.
        if (!optOther_->isChecked()) {
            (state_.settings.monthJulian ? optJulian_ : optCommonEra_)->setChecked(true);
        }
        (state_.settings.monthMondayFirst ? optMonday_ : optSunday_)->setChecked(true);
        switch (state_.settings.monthAddedDates) {
            case MonthAddedDates::ISO:
                optISO_->setChecked(true);
                break;
            case MonthAddedDates::LPM:
                optLPM_->setChecked(true);
                break;
            case MonthAddedDates::LPW:
                optLPW_->setChecked(true);
                break;
        }
    }
    if (datesShown_ && (state_.settings.monthJulian || !state_.settings.monthMondayFirst)) {
        ShowDates(false);
    }
    UpdateWithYearCaption();
    UpdateEnabling();
    if (drawn_ && isVisible()) {
        DisplayMonth();
    }
}

void frmDisplayMonthLPM::DisplayMonth() {
    if (!isVisible()) {
        return;
    }
    if (OtherCalendarShown()) {
        DisplayOtherMonth();
        return;
    }
    const MonthYear read =
        ReadMonthYear(txbYear_->text(), state_.settings.format.thousandsSeparator);
    if (read.status != MonthYear::Ok) {
        const Caption text = read.status == MonthYear::OutOfRange ? Caption::YearOutOfRange
                                                                  : Caption::PleaseSpecifyYear;
        Message(state_.settings.Caption(Caption::InvalidInput), state_.settings.Caption(text));
        txbYear_->setFocus();
        txbYear_->selectAll();
        return;
    }
    const int month = cboMonths_->currentIndex() + 1;
    const bool julian = optJulian_->isChecked();
    const MonthGrid grid =
        BuildMonthGrid(read.year, month, julian, optMonday_->isChecked(), state_.settings.language);
    weekStartJdn_ = grid.weekStartJdn;
    weekRowCount_ = grid.weekRowCount;
    drawn_ = true;
    drawnMonth_ = month;
    drawnYear_ = QString::number(read.year);
    drawnJulian_ = julian;
    if (drawnOther_) {
        drawnOther_.reset();
        lblTitle_->hide();
        FitToText(txbMonth_, kCommonGridSize);
        adjustSize();
    }
    txbMonth_->setPlainText(grid.text);
    MarkHolidays(read.year, month, julian);
    if (datesShown_) {
        FillDates();
    }
    cmdClose_->setFocus();
}

void frmDisplayMonthLPM::FillDates() {
    const bool withYear = chkWithYear_->isChecked();
    txbDates_->setFont(FixedFont(withYear ? 9 : 10));
    const QString text =
        BuildAddedDates(weekStartJdn_, weekRowCount_, state_.settings.monthAddedDates, withYear,
                        state_.settings.language, state_.settings.format.regional);
    FitToText(txbDates_, text);
    txbDates_->setPlainText(text);
}

void frmDisplayMonthLPM::ShowDates(bool show) {
    datesShown_ = show;
    cmdShowHide_->setText(show ? TextOr(kShowHideOpenText, "Hide")
                               : TextOr(kShowHideClosedText, "Show"));
    AssignMnemonics(this);
    lblDatesTitle_->setVisible(show && !lblDatesTitle_->text().isEmpty());
    txbDates_->setVisible(show);
    if (show) {
        FillDates();
    } else {
        cmdClose_->setFocus();
    }
    // Tall enough for the added dates while they are shown; back to the options otherwise.
    if (QLayout* top = layout()) {
        top->activate();
    }
    resize(width(), sizeHint().height());
}

void frmDisplayMonthLPM::cmdShowHideISOorLPM_Click() {
    ShowDates(!datesShown_);
}

void frmDisplayMonthLPM::UpdateEnabling() {
    const bool allowed = optCommonEra_->isChecked() && optMonday_->isChecked();
    cboCalendar_->setEnabled(!otherCalendars_.empty());
    cmdShowHide_->setEnabled(allowed);
    chkWithYear_->setEnabled(allowed);
}

void frmDisplayMonthLPM::UpdateWithYearCaption() {
    chkWithYear_->setText(optLPW_->isChecked() ? TextOr(27, "With year") : TextOr(26, "With year"));
    AssignMnemonics(this);
}

void frmDisplayMonthLPM::CalendarOrWeekStartChanged() {
    if (!OtherCalendarShown()) {
        state_.settings.monthJulian = optJulian_->isChecked();
    }
    state_.settings.monthMondayFirst = optMonday_->isChecked();
    ControlsFollowCalendar();
    DisplayMonth();
    if (datesShown_ && (state_.settings.monthJulian || !state_.settings.monthMondayFirst ||
                        OtherCalendarShown())) {
        ShowDates(false);
    }
    UpdateEnabling();
}

void frmDisplayMonthLPM::AddedKindChanged() {
    state_.settings.monthAddedDates = optISO_->isChecked()   ? MonthAddedDates::ISO
                                      : optLPM_->isChecked() ? MonthAddedDates::LPM
                                                             : MonthAddedDates::LPW;
    UpdateWithYearCaption();
    if (datesShown_) {
        FillDates();
    }
}

void frmDisplayMonthLPM::cmdDisplayNextMonth_Click(int index) {
    if (OtherCalendarShown()) {
        StepOtherMonth(index == 0);
        return;
    }
    const MonthYear read =
        ReadMonthYear(txbYear_->text(), state_.settings.format.thousandsSeparator);
    if (read.status != MonthYear::Ok) {
        DisplayMonth();  // reports the year
        return;
    }
    std::int64_t year = read.year;
    int position = cboMonths_->currentIndex();
    if (index == 0) {
        if (++position > 11) {
            position = 0;
            ++year;
        }
    } else if (--position < 0) {
        position = 11;
        --year;
    }
    txbYear_->setText(QString::number(year));
    {
        const QSignalBlocker blocker(cboMonths_);
        cboMonths_->setCurrentIndex(position);
    }
    DisplayMonth();
}

QString frmDisplayMonthLPM::ClipboardText() const {
    if (!drawn_) {
        return {};
    }
    if (drawnOther_) {
        return BuildCalendarMonthClipboardText(*drawnOther_, lblHolidays_->text());
    }
    return BuildMonthClipboardText(
        drawnMonth_, drawnYear_, drawnJulian_, state_.settings.language, txbMonth_->toPlainText(),
        state_.settings.Text(kAddedDatesTitleText),
        datesShown_ ? txbDates_->toPlainText() : QString(), lblHolidays_->text());
}

// With a holiday set, the month's holidays get a coloured background in the grid and are named
// below it; without one the grid is as always.
void frmDisplayMonthLPM::MarkHolidays(std::int32_t year, int month, bool julian) {
    const QString names = BuildMonthHolidays(year, month, julian, state_.settings.workdays);
    lblHolidays_->setText(names);
    lblHolidays_->setVisible(!names.isEmpty());
    QList<QTextEdit::ExtraSelection> marks;
    const char letter = julian ? 'J' : 'G';
    for (int row = 0; row < weekRowCount_ && !names.isEmpty(); ++row) {
        const QTextBlock line = txbMonth_->document()->findBlockByNumber(row + 1);
        for (int column = 0; column < 7; ++column) {
            const std::int32_t jdn = weekStartJdn_ + 7 * row + column;
            if (CivilOfJdn(jdn, letter).month != month ||
                !state_.settings.workdays.IsHoliday(jdn)) {
                continue;
            }
            // A row is a blank, then 5 characters a day with the number in the 2nd and 3rd.
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(line);
            mark.cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 2 + 5 * column);
            mark.cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 2);
            mark.format.setBackground(QColor(255, 200, 120));
            marks << mark;
        }
    }
    txbMonth_->setExtraSelections(marks);
}

void frmDisplayMonthLPM::cmdCopyToClipboard_Click() {
    const QString text = ClipboardText();
    if (!text.isEmpty()) {
        QClipboard* clipboard = QApplication::clipboard();
        clipboard->clear();
        clipboard->setText(text);
    }
    cmdClose_->setFocus();
}

void frmDisplayMonthLPM::cmdClose_Click() {
    hide();
    emit Closed();
}

void frmDisplayMonthLPM::closeEvent(QCloseEvent* e) {
    // The window is hidden, never destroyed, while the program runs.
    e->ignore();
    cmdClose_Click();
}

bool frmDisplayMonthLPM::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        if (!optSunday_->isChecked() && !optMonday_->isChecked()) {
            optSunday_->setChecked(true);
        }
        if (!optCommonEra_->isChecked() && !optJulian_->isChecked() && !optOther_->isChecked()) {
            optCommonEra_->setChecked(true);
        }
        SetLanguageDependentText();
    }
    return QWidget::event(e);
}

// ---- another calendar's month

bool frmDisplayMonthLPM::OtherCalendarShown() const {
    return optOther_->isChecked() && !otherCalendars_.empty();
}

CalendarId frmDisplayMonthLPM::OtherCalendar() const {
    const int index =
        std::clamp(cboCalendar_->currentIndex(), 0, static_cast<int>(otherCalendars_.size()) - 1);
    return otherCalendars_[static_cast<std::size_t>(index)];
}

// The first day of the month the year box and the month list hold, in the calendar they
// hold it in; nothing when the year cannot be read or the month is not shown.
std::optional<std::int64_t> frmDisplayMonthLPM::FirstDayInControls() const {
    const MonthYear read =
        ReadMonthYear(txbYear_->text(), state_.settings.format.thousandsSeparator);
    if (read.status != MonthYear::Ok) {
        return std::nullopt;
    }
    const int place = cboMonths_->currentIndex() + 1;
    if (controlsCalendar_) {
        const std::optional<MonthDays> days = DaysOfMonth({*controlsCalendar_, read.year, place});
        return days ? std::optional<std::int64_t>(days->first) : std::nullopt;
    }
    return JdnOfCivil(read.year, place, 1, state_.settings.monthJulian ? 'J' : 'G');
}

void frmDisplayMonthLPM::FillMonthList(const QStringList& names, int place) {
    const QSignalBlocker blocker(cboMonths_);
    QStringList listed;
    for (int i = 0; i < cboMonths_->count(); ++i) {
        listed << cboMonths_->itemText(i);
    }
    if (listed != names) {
        cboMonths_->clear();
        cboMonths_->addItems(names);
    }
    cboMonths_->setCurrentIndex(std::clamp(place, 1, static_cast<int>(names.size())) - 1);
}

// The year and month holding `jdn` in the calendar the controls hold. A day beyond the days
// shown of another calendar is taken to the nearest end, with a note.
void frmDisplayMonthLPM::PutMonthOfDay(std::int64_t jdn) {
    if (!controlsCalendar_) {
        const DateRecord date =
            CivilOfJdn(static_cast<std::int32_t>(jdn), state_.settings.monthJulian ? 'J' : 'G');
        txbYear_->setText(QString::number(date.year));
        FillMonthList(CommonEraMonthNames(), date.month);
        return;
    }
    const CalendarId calendar = *controlsCalendar_;
    const CalendarEntry& entry = Calendar(calendar);
    const CalendarMonth month =
        MonthOfDay(calendar, std::clamp(jdn, entry.firstJdn, entry.lastJdn));
    const ShownYears years = ShownYearsOf(calendar);
    const std::int64_t year = std::clamp(month.year, years.first, years.last);
    txbYear_->setText(QString::number(year));
    FillMonthList(MonthNamesOfYear(calendar, year, state_.settings.language), month.place);
    if (!InSpan(entry, jdn)) {
        YearsShownMessage();
    }
}

QStringList frmDisplayMonthLPM::CommonEraMonthNames() const {
    QStringList names;
    for (int m = 1; m <= 12; ++m) {
        names << MonthNameIn(m, state_.settings.language);
    }
    return names;
}

void frmDisplayMonthLPM::ControlsFollowCalendar() {
    const std::optional<CalendarId> wanted =
        OtherCalendarShown() ? std::optional<CalendarId>(OtherCalendar()) : std::nullopt;
    if (wanted == controlsCalendar_) {
        return;
    }
    const std::optional<std::int64_t> day = FirstDayInControls();
    controlsCalendar_ = wanted;
    if (day) {
        PutMonthOfDay(*day);
    } else if (!wanted) {
        FillMonthList(CommonEraMonthNames(), cboMonths_->currentIndex() + 1);  // year as typed
    }
}

void frmDisplayMonthLPM::YearsShownMessage() {
    const CalendarId calendar = OtherCalendar();
    const ShownYears years = ShownYearsOf(calendar);
    Message(state_.settings.Caption(Caption::InvalidInput),
            TextOr(kTextYearsShown, "%1: the month display shows the years %2 to %3.")
                .arg(CalendarName(calendar, state_.settings.language), QString::number(years.first),
                     QString::number(years.last)));
}

void frmDisplayMonthLPM::DisplayOtherMonth() {
    const MonthYear read =
        ReadMonthYear(txbYear_->text(), state_.settings.format.thousandsSeparator);
    if (read.status == MonthYear::Empty || read.status == MonthYear::NotANumber) {
        Message(state_.settings.Caption(Caption::InvalidInput),
                state_.settings.Caption(Caption::PleaseSpecifyYear));
        txbYear_->setFocus();
        txbYear_->selectAll();
        return;
    }
    const CalendarId calendar = OtherCalendar();
    const QStringList names = read.status == MonthYear::Ok
                                  ? MonthNamesOfYear(calendar, read.year, state_.settings.language)
                                  : QStringList();
    std::optional<CalendarMonthGrid> grid;
    if (!names.isEmpty()) {
        FillMonthList(names, cboMonths_->currentIndex() + 1);
        grid = BuildCalendarMonthGrid({calendar, read.year, cboMonths_->currentIndex() + 1},
                                      optMonday_->isChecked(), state_.settings.language);
    }
    if (!grid) {
        YearsShownMessage();
        txbYear_->setFocus();
        txbYear_->selectAll();
        return;
    }
    drawn_ = true;
    const bool wasOther = drawnOther_.has_value();
    drawnOther_ = grid;
    lblTitle_->setText(grid->title);
    lblTitle_->show();
    if (!wasOther) {
        FitToText(txbMonth_, kOtherGridSize);
        adjustSize();
    }
    txbMonth_->setPlainText(grid->text);
    MarkOtherHolidays(*grid);
    cmdClose_->setFocus();
}

void frmDisplayMonthLPM::StepOtherMonth(bool forward) {
    const MonthYear read =
        ReadMonthYear(txbYear_->text(), state_.settings.format.thousandsSeparator);
    if (read.status != MonthYear::Ok) {
        DisplayMonth();  // reports the year
        return;
    }
    const CalendarId calendar = OtherCalendar();
    const std::optional<CalendarMonth> next =
        NextMonth({calendar, read.year, cboMonths_->currentIndex() + 1}, forward);
    if (!next) {
        YearsShownMessage();
        return;
    }
    txbYear_->setText(QString::number(next->year));
    FillMonthList(MonthNamesOfYear(calendar, next->year, state_.settings.language), next->place);
    DisplayMonth();
}

// The holidays of the set on the month's days, marked on their day numbers and named below.
void frmDisplayMonthLPM::MarkOtherHolidays(const CalendarMonthGrid& grid) {
    const QString names = BuildCalendarMonthHolidays(
        OtherCalendar(), grid.days, state_.settings.language, state_.settings.workdays);
    lblHolidays_->setText(names);
    lblHolidays_->setVisible(!names.isEmpty());
    QList<QTextEdit::ExtraSelection> marks;
    for (int row = 0; row < grid.weekRowCount && !names.isEmpty(); ++row) {
        const QTextBlock line = txbMonth_->document()->findBlockByNumber(row + 1);
        for (int column = 0; column < 7; ++column) {
            const std::int64_t jdn = grid.weekStartJdn + 7 * row + column;
            if (jdn < grid.days.first || jdn > grid.days.last ||
                !state_.settings.workdays.IsHoliday(jdn)) {
                continue;
            }
            // A row is a blank, then a cell a day with the day of the month in its first 3.
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(line);
            mark.cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor,
                                     1 + kCalendarCellWidth * column);
            mark.cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 3);
            mark.format.setBackground(QColor(255, 200, 120));
            marks << mark;
        }
    }
    txbMonth_->setExtraSelections(marks);
}

}  // namespace daybridge
