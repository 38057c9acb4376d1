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

#include "app/month_text.h"
#include "calendar/calendar_table.h"
#include "ui/desktop_keys.h"
#include "ui/screen_fit.h"

namespace daybridge {
namespace {

constexpr int kShowHideClosedText = 14;
constexpr int kShowHideOpenText = 15;
constexpr int kAddedDatesTitleText = 13;

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

    lblYear_ = Named(new QLabel(this), "lblYear");
    txbYear_ = Named(new QLineEdit(this), "txbYear");
    txbYear_->setMaxLength(12);
    txbYear_->setFixedWidth(txbYear_->fontMetrics().horizontalAdvance(u'0') * 12);
    lblYear_->setBuddy(txbYear_);
    lblMonth_ = Named(new QLabel(this), "lblMonth");
    cboMonths_ = Named(new QComboBox(this), "cboMonths");
    for (int m = 1; m <= 12; ++m) {
        cboMonths_->addItem(MonthNameIn(m, state_.language));
    }
    lblMonth_->setBuddy(cboMonths_);
    cmdDisplay_ = Named(new QPushButton(this), "cmdDisplay");

    fraCalendar_ = Named(new QGroupBox(this), "fraCalendar");
    optCommonEra_ = Named(new QRadioButton(fraCalendar_), "optCommonEra");
    optJulian_ = Named(new QRadioButton(fraCalendar_), "optJulian");
    auto* calendarLayout = new QVBoxLayout(fraCalendar_);
    calendarLayout->addWidget(optCommonEra_);
    calendarLayout->addWidget(optJulian_);

    fraFirstDay_ = Named(new QGroupBox(this), "fraFirstDay");
    optSunday_ = Named(new QRadioButton(fraFirstDay_), "optSunday");
    optMonday_ = Named(new QRadioButton(fraFirstDay_), "optMonday");
    auto* firstDayLayout = new QVBoxLayout(fraFirstDay_);
    firstDayLayout->addWidget(optSunday_);
    firstDayLayout->addWidget(optMonday_);

    cmdNext_ = Named(new QPushButton(this), "cmdDisplayNextMonth_0");
    cmdPrevious_ = Named(new QPushButton(this), "cmdDisplayNextMonth_1");

    txbMonth_ = MakeTextBox("txbMonth", 11, this);
    FitToText(txbMonth_, QString(36, u'0') + QString(6, u'\n'));

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

    // Layout: choice of month, options, grid, added dates, buttons.
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

    connect(cmdDisplay_, &QPushButton::clicked, this, [this] { DisplayMonth(); });
    connect(txbYear_, &QLineEdit::returnPressed, this, [this] { DisplayMonth(); });
    connect(cboMonths_, &QComboBox::currentIndexChanged, this, [this] { DisplayMonth(); });
    connect(cmdNext_, &QPushButton::clicked, this, [this] { cmdDisplayNextMonth_Click(0); });
    connect(cmdPrevious_, &QPushButton::clicked, this, [this] { cmdDisplayNextMonth_Click(1); });
    for (QRadioButton* option : {optCommonEra_, optJulian_, optSunday_, optMonday_}) {
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

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { cmdClose_Click(); });
    PressButtonsOnEnter(this);
    KeepOnScreen(this);

    RefreshFromState();
    SetLanguageDependentText();
}

QString frmDisplayMonthLPM::TextOr(int id, const char* fallback) const {
    const QString text = state_.Text(id);
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

void frmDisplayMonthLPM::Message(const QString& title, const QString& text) {
    if (messageHook_) {
        messageHook_(title, text);
        return;
    }
    QMessageBox::warning(this, title, text);
}

void frmDisplayMonthLPM::ShowMonth(int year, int month) {
    txbYear_->setText(QString::number(year));
    {
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
    const int language = state_.language;
    setWindowTitle(state_.Caption(Caption::MonthDisplayTitle));
    lblYear_->setText(state_.Caption(Caption::Year_) + u':');
    lblMonth_->setText(state_.Caption(Caption::Month_) + u':');
    cmdDisplay_->setText(state_.Caption(Caption::Show));
    fraCalendar_->setTitle(QString());
    optCommonEra_->setText(state_.Caption(Caption::Gregorian));
    optJulian_->setText(state_.Caption(Caption::Julian));
    optSunday_->setText(state_.Caption(Caption::Sunday));
    optMonday_->setText(state_.Caption(Caption::Monday));
    cmdNext_->setText(state_.Caption(Caption::Next) + QStringLiteral(" >"));
    cmdPrevious_->setText(QStringLiteral("< ") + state_.Caption(Caption::Previous));
    cmdShowHide_->setText(datesShown_ ? TextOr(kShowHideOpenText, "Hide")
                                      : TextOr(kShowHideClosedText, "Show"));
    optISO_->setText(TextOr(23, "ISO"));
    optLPM_->setText(TextOr(24, "LPM"));
    optLPW_->setText(TextOr(25, "LPW"));
    lblDatesTitle_->setText(TextOr(kAddedDatesTitleText, ""));
    cmdCopy_->setText(state_.Caption(Caption::CopyToClipboard));
    cmdClose_->setText(state_.Caption(Caption::Close));

    const int position = cboMonths_->currentIndex();
    {
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
        (state_.monthJulian ? optJulian_ : optCommonEra_)->setChecked(true);
        (state_.monthMondayFirst ? optMonday_ : optSunday_)->setChecked(true);
        switch (state_.monthAddedDates) {
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
    if (datesShown_ && (state_.monthJulian || !state_.monthMondayFirst)) {
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
    const MonthYear read = ReadMonthYear(txbYear_->text(), state_.format.thousandsSeparator);
    if (read.status != MonthYear::Ok) {
        const Caption text = read.status == MonthYear::OutOfRange ? Caption::YearOutOfRange
                                                                  : Caption::PleaseSpecifyYear;
        Message(state_.Caption(Caption::InvalidInput), state_.Caption(text));
        txbYear_->setFocus();
        txbYear_->selectAll();
        return;
    }
    const int month = cboMonths_->currentIndex() + 1;
    const bool julian = optJulian_->isChecked();
    const MonthGrid grid =
        BuildMonthGrid(read.year, month, julian, optMonday_->isChecked(), state_.language);
    weekStartJdn_ = grid.weekStartJdn;
    weekRowCount_ = grid.weekRowCount;
    drawn_ = true;
    drawnMonth_ = month;
    drawnYear_ = QString::number(read.year);
    drawnJulian_ = julian;
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
    const QString text = BuildAddedDates(weekStartJdn_, weekRowCount_, state_.monthAddedDates,
                                         withYear, state_.language, state_.format.regional);
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
    cmdShowHide_->setEnabled(allowed);
    chkWithYear_->setEnabled(allowed);
}

void frmDisplayMonthLPM::UpdateWithYearCaption() {
    chkWithYear_->setText(optLPW_->isChecked() ? TextOr(27, "With year") : TextOr(26, "With year"));
    AssignMnemonics(this);
}

void frmDisplayMonthLPM::CalendarOrWeekStartChanged() {
    state_.monthJulian = optJulian_->isChecked();
    state_.monthMondayFirst = optMonday_->isChecked();
    DisplayMonth();
    if (datesShown_ && (state_.monthJulian || !state_.monthMondayFirst)) {
        ShowDates(false);
    }
    UpdateEnabling();
}

void frmDisplayMonthLPM::AddedKindChanged() {
    state_.monthAddedDates = optISO_->isChecked()   ? MonthAddedDates::ISO
                             : optLPM_->isChecked() ? MonthAddedDates::LPM
                                                    : MonthAddedDates::LPW;
    UpdateWithYearCaption();
    if (datesShown_) {
        FillDates();
    }
}

void frmDisplayMonthLPM::cmdDisplayNextMonth_Click(int index) {
    const MonthYear read = ReadMonthYear(txbYear_->text(), state_.format.thousandsSeparator);
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
    return BuildMonthClipboardText(drawnMonth_, drawnYear_, drawnJulian_, state_.language,
                                   txbMonth_->toPlainText(), state_.Text(kAddedDatesTitleText),
                                   datesShown_ ? txbDates_->toPlainText() : QString(),
                                   lblHolidays_->text());
}

// With a holiday set, the month's holidays get a coloured background in the grid and are named
// below it; without one the grid is as always.
void frmDisplayMonthLPM::MarkHolidays(std::int32_t year, int month, bool julian) {
    const QString names = BuildMonthHolidays(year, month, julian, state_.workdays);
    lblHolidays_->setText(names);
    lblHolidays_->setVisible(!names.isEmpty());
    QList<QTextEdit::ExtraSelection> marks;
    const char letter = julian ? 'J' : 'G';
    for (int row = 0; row < weekRowCount_ && !names.isEmpty(); ++row) {
        const QTextBlock line = txbMonth_->document()->findBlockByNumber(row + 1);
        for (int column = 0; column < 7; ++column) {
            const std::int32_t jdn = weekStartJdn_ + 7 * row + column;
            if (CivilOfJdn(jdn, letter).month != month || !state_.workdays.IsHoliday(jdn)) {
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
        if (!optCommonEra_->isChecked() && !optJulian_->isChecked()) {
            optCommonEra_->setChecked(true);
        }
        SetLanguageDependentText();
    }
    return QWidget::event(e);
}

}  // namespace daybridge
