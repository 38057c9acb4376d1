// The main window's controls: made, named, laid out and coloured. Every control carries its
// name as objectName, which the tests find it by.
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <span>

#include "compute/main_presenter.h"
#include "ui/desktop_keys.h"
#include "ui/frm_main.h"
#include "ui/output_view.h"

namespace daybridge {

namespace {

const QColor kCyan(0, 255, 255);
const QColor kLinkBlue(0, 0, 255);

QFont FixedFont(double pointSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(pointSize);
    return font;
}

template <typename W>
W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QPushButton* MakeButton(const char* name) {
    auto* button = Named(new QPushButton, QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QLabel* MakeLabel(const char* name) {
    return Named(new QLabel, QString::fromLatin1(name));
}

void Paint(QWidget* widget, const QColor& background, const QColor& text, bool fill = true) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    // Fields, check boxes and options on the light panels stay light under a dark desktop
    // palette, so their dark text remains readable.
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(fill);
}

// A cyan panel with a rounded border, drawn with the palette: cheaper to show than a style
// sheet, which would move every control inside the panel onto the style-sheet style.
class Panel : public QFrame {
  public:
    Panel() { setFrameShape(QFrame::StyledPanel); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(0, 160, 160));
        painter.setBrush(palette().color(QPalette::Window));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
};

// A label that can take the focus (the today labels and the two links) and then shows a
// dotted frame in a colour that stands out on its background.
class FocusFrameLabel : public QLabel {
  public:
    FocusFrameLabel() { setFocusPolicy(Qt::StrongFocus); }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (hasFocus()) {
            QPainter painter(this);
            QColor background = palette().color(QPalette::Window);
            if (!autoFillBackground() && parentWidget() != nullptr) {
                background = parentWidget()->palette().color(QPalette::Window);
            }
            painter.setPen(QPen(FocusColourOn(background), 1, Qt::DotLine));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
};

// Compute, the default button: styles that draw the default frame in the focus colour show no
// difference when it has the focus, so a dotted frame inside its face marks the focus.
class DefaultButton : public QPushButton {
  protected:
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        if (hasFocus()) {
            QPainter painter(this);
            painter.setPen(QPen(FocusColourOn(palette().color(QPalette::Button)), 1, Qt::DotLine));
            painter.drawRect(rect().adjusted(4, 4, -5, -5));
        }
    }
};

// A field and what stands beside it (its day-step arrows), left aligned in its column.
QHBoxLayout* FieldWith(QWidget* field, QWidget* beside) {
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(field);
    row->addSpacing(beside == nullptr ? 0 : 1);
    if (beside != nullptr) {
        row->addWidget(beside);
    }
    row->addStretch(1);
    return row;
}

// One row of widgets, a number standing for spacing and nullptr for the stretch.
struct RowItem {
    QWidget* widget = nullptr;
    int spacing = 0;
};

QHBoxLayout* Row(std::initializer_list<RowItem> items) {
    auto* row = new QHBoxLayout;
    for (const RowItem& item : items) {
        if (item.widget != nullptr) {
            row->addWidget(item.widget);
        } else if (item.spacing > 0) {
            row->addSpacing(item.spacing);
        } else {
            row->addStretch(1);
        }
    }
    return row;
}

constexpr RowItem kStretch{};
constexpr RowItem Space(int pixels) {
    return RowItem{nullptr, pixels};
}

}  // namespace

void frmMain::BuildWindow() {
    BuildDateFields();
    Frame1 = BuildCalendarOptions("Frame1", "optFirstDateIs", 0);
    Frame2 = BuildCalendarOptions("Frame2", "optSecondDateIs", 1);
    BuildInputPanel();
    BuildOutputPanel();

    // The controls scroll inside the window, so a window smaller than they need (a small
    // screen, a large scale factor) still reaches all of them; on a screen with room they
    // fill the window as a plain layout would.
    auto* content = Named(new QWidget, QStringLiteral("content"));
    auto* top = new QVBoxLayout(content);
    top->setContentsMargins(10, 10, 10, 10);
    top->setSpacing(8);
    top->addWidget(Frame3);
    top->addLayout(BuildCommandRow());
    top->addLayout(Row({{lblTodaysDate}, kStretch, {lblWeekFromToday}}));
    top->addWidget(Frame6, 1);
    scroller_ = new QScrollArea(this);
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidgetResizable(true);
    scroller_->setWidget(content);
    scroller_->setFocusPolicy(Qt::NoFocus);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroller_);
    // Tab scrolls the control it reaches into view; an Alt key or a click must do so too.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && scroller_->widget()->isAncestorOf(now)) {
            scroller_->ensureWidgetVisible(now, 8, 8);
        }
    });

    lblFirstDate->setBuddy(txbFirstDate);
    lblDateDifference->setBuddy(txbDateDiffDays);
    lblSecondDate->setBuddy(txbSecondDate);
    lblLanguage->setBuddy(cboLanguage);
    // The links follow the output buttons in the Tab order.
    setTabOrder(cmdCopyOutput, lblVelmoraSystems);
    setTabOrder(lblVelmoraSystems, lblOnlineDocumentation);

    // Ctrl+Q quits from every window as Quit does; F1 opens the user guide.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    quit->setContext(Qt::ApplicationShortcut);
    connect(quit, &QShortcut::activated, this, &frmMain::cmdQuit_Click);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, &frmMain::lblOnlineDocumentation_Click);
    PressButtonsOnEnter(this);

    Clock = new QTimer(this);
    Clock->setObjectName(QStringLiteral("Clock"));
    batchTimer_ = new QTimer(this);
    batchTimer_->setInterval(0);

    resize(1040, 680);
}

// The three fields, their step arrows, Today and Clear buttons and labels.
void frmMain::BuildDateFields() {
    const QFont fieldFont = FixedFont(12);
    const int fieldWidth = QFontMetrics(fieldFont).horizontalAdvance(QString(21, u'0')) + 12;
    const auto makeField = [&](const char* name) {
        auto* field = Named(new QLineEdit, QString::fromLatin1(name));
        field->setFont(fieldFont);
        field->setFixedWidth(fieldWidth);
        field->installEventFilter(this);
        return field;
    };
    txbFirstDate = makeField("txbFirstDate");
    txbDateDiffDays = makeField("txbDateDiffDays");
    txbSecondDate = makeField("txbSecondDate");

    for (int i = 0; i < 2; ++i) {
        VScroll[i] = Named(new QScrollBar(Qt::Vertical), QStringLiteral("VScroll%1").arg(i));
        VScroll[i]->setProperty("index", i);
        VScroll[i]->setRange(-1, 1);
        VScroll[i]->setValue(0);
        VScroll[i]->setPageStep(1);
        VScroll[i]->setFixedWidth(18);
        VScroll[i]->setFixedHeight(txbFirstDate->sizeHint().height());
        cmdToday[i] = MakeButton(i == 0 ? "cmdToday0" : "cmdToday1");
        cmdToday[i]->setProperty("index", i);
        lblThisIsA[i] = MakeLabel(i == 0 ? "lblThisIsA0" : "lblThisIsA1");
        lblThisIsA[i]->setProperty("index", i);
        lblThisIsA[i]->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }

    cmdClearFirstDate = MakeButton("cmdClearFirstDate");
    cmdClearDateDiffDays = MakeButton("cmdClearDateDiffDays");
    cmdClearSecondDate = MakeButton("cmdClearSecondDate");
    cmdMoveSecondDateToFirst = MakeButton("cmdMoveSecondDateToFirst");
    lblFirstDate = MakeLabel("lblFirstDate");
    lblDateDifference = MakeLabel("lblDateDifference");
    lblSecondDate = MakeLabel("lblSecondDate");
    lblDayOrDays = MakeLabel("lblDayOrDays");
    for (QPushButton* button :
         {cmdToday[0], cmdToday[1], cmdClearFirstDate, cmdClearSecondDate, cmdClearDateDiffDays}) {
        button->setMinimumWidth(90);
    }
}

// The calendar options of date field `field` (0 or 1) in a grid, with the "Other" option and
// its list of the world's calendars in the grid's free place.
QFrame* frmMain::BuildCalendarOptions(const char* frameName, const char* prefix, int field) {
    auto* frame = Named(new QFrame, QString::fromLatin1(frameName));
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(2);
    auto* group = new QButtonGroup(frame);
    calendarOptions_[field] = group;
    const std::span<const CalendarId> optionCalendars = OptionCalendars();
    for (int i = 0; i < static_cast<int>(optionCalendars.size()); ++i) {
        const CalendarId calendar = optionCalendars[static_cast<std::size_t>(i)];
        auto* option =
            Named(new QRadioButton, QString::fromLatin1(prefix) + CalendarCode(calendar));
        group->addButton(option, IndexOf(calendar));
        grid->addWidget(option, i / 4, i % 4);
    }
    auto* otherOption =
        Named(new QRadioButton, QString::fromLatin1(prefix) + QStringLiteral("Other"));
    group->addButton(otherOption, kOtherCalendarOption);
    QComboBox* list = Named(new QComboBox, field == 0 ? QStringLiteral("cboFirstDateCalendar")
                                                      : QStringLiteral("cboSecondDateCalendar"));
    cboOtherCalendar[field] = list;
    for (const CalendarId calendar : OtherListCalendars()) {
        list->addItem(CalendarCode(calendar), IndexOf(calendar));
    }
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    QHBoxLayout* other = Row({{otherOption}, {list}, kStretch});
    other->setSpacing(4);
    grid->addLayout(other, 1, 3);
    grid->setColumnStretch(4, 1);
    return frame;
}

// Frame3: the three fields, their calendars and the computation options.
void frmMain::BuildInputPanel() {
    chkIncludeFirstDate = Named(new QCheckBox, QStringLiteral("chkIncludeFirstDate"));
    chkIncludeWeekends = Named(new QCheckBox, QStringLiteral("chkIncludeWeekends"));
    chkVerbose = Named(new QCheckBox, QStringLiteral("chkVerbose"));
    chkSaveOutput = Named(new QCheckBox, QStringLiteral("chkSaveOutput"));
    checkOptions_ = new QButtonGroup(this);
    checkOptions_->setExclusive(false);
    int checkId = 0;
    for (QCheckBox* check : {chkIncludeFirstDate, chkIncludeWeekends, chkVerbose, chkSaveOutput}) {
        checkOptions_->addButton(check, checkId++);
    }

    Frame3 = Named(new Panel, QStringLiteral("Frame3"));
    auto* input = new QGridLayout(Frame3);
    input->setHorizontalSpacing(8);
    input->setVerticalSpacing(6);
    input->setContentsMargins(12, 10, 12, 10);
    // Column 1 holds a field and its day-step arrows; the buttons line up in columns 2 to 4.
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    input->addWidget(lblFirstDate, 0, 0, right);
    input->addLayout(FieldWith(txbFirstDate, VScroll[0]), 0, 1);
    input->addWidget(cmdToday[0], 0, 2);
    input->addWidget(cmdClearFirstDate, 0, 3);
    input->addWidget(lblThisIsA[0], 1, 0);
    input->addWidget(Frame1, 1, 1, 1, 5);
    input->addWidget(lblDateDifference, 2, 0, right);
    input->addLayout(FieldWith(txbDateDiffDays, nullptr), 2, 1);
    input->addWidget(lblDayOrDays, 2, 2);
    input->addWidget(cmdClearDateDiffDays, 2, 3);
    input->addWidget(lblSecondDate, 3, 0, right);
    input->addLayout(FieldWith(txbSecondDate, VScroll[1]), 3, 1);
    input->addWidget(cmdToday[1], 3, 2);
    input->addWidget(cmdClearSecondDate, 3, 3);
    input->addWidget(cmdMoveSecondDateToFirst, 3, 4);
    input->addWidget(lblThisIsA[1], 4, 0);
    input->addWidget(Frame2, 4, 1, 1, 5);
    auto* checks = new QGridLayout;
    checks->setHorizontalSpacing(24);
    checks->setVerticalSpacing(2);
    checks->setContentsMargins(0, 6, 0, 0);
    checks->addWidget(chkIncludeFirstDate, 0, 0);
    checks->addWidget(chkIncludeWeekends, 0, 1);
    checks->addWidget(chkVerbose, 1, 0);
    checks->addWidget(chkSaveOutput, 1, 1);
    checks->setColumnStretch(2, 1);
    input->addLayout(checks, 5, 1, 1, 5);
    input->setColumnStretch(5, 1);
    input->setRowMinimumHeight(2, 34);
}

// The command row and the today labels below it.
QHBoxLayout* frmMain::BuildCommandRow() {
    cmdCompute = Named(new DefaultButton, QStringLiteral("cmdCompute"));
    cmdCompute->setAutoDefault(false);
    cmdCompute->setDefault(true);
    QFont bold = cmdCompute->font();
    bold.setBold(true);
    cmdCompute->setFont(bold);
    cmdDisplayMonth = MakeButton("cmdDisplayMonth");
    cmdConfigure = MakeButton("cmdConfigure");
    cmdReset = MakeButton("cmdReset");
    cmdQuit = MakeButton("cmdQuit");
    lblLanguage = MakeLabel("lblLanguage");
    cboLanguage = Named(new QComboBox, QStringLiteral("cboLanguage"));
    for (QPushButton* button : {cmdCompute, cmdDisplayMonth, cmdConfigure, cmdReset, cmdQuit}) {
        button->setMinimumWidth(110);
    }

    lblTodaysDate = Named(new FocusFrameLabel, QStringLiteral("lblTodaysDate"));
    lblWeekFromToday = Named(new FocusFrameLabel, QStringLiteral("lblWeekFromToday"));
    for (QLabel* label : {lblTodaysDate, lblWeekFromToday}) {
        label->setCursor(Qt::PointingHandCursor);
        label->setMargin(4);
        label->installEventFilter(this);
    }
    return Row({{cmdCompute},
                Space(16),
                {cmdDisplayMonth},
                {cmdConfigure},
                {cmdReset},
                kStretch,
                {lblLanguage},
                {cboLanguage},
                Space(16),
                {cmdQuit}});
}

// Frame6: input files and the output window.
void frmMain::BuildOutputPanel() {
    Frame6 = Named(new Panel, QStringLiteral("Frame6"));
    cboInputFile = Named(new QComboBox, QStringLiteral("cboInputFile"));
    cboInputFile->setEditable(true);
    cboInputFile->setInsertPolicy(QComboBox::NoInsert);
    cboInputFile->setCompleter(nullptr);
    cboInputFile->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    cboInputFile->setMinimumContentsLength(30);
    cboInputFile->installEventFilter(this);
    cboInputFile->lineEdit()->installEventFilter(this);
    cmdInputFile = MakeButton("cmdInputFile");
    cmdView = MakeButton("cmdView");
    cmdRemoveInputFileFromList = MakeButton("cmdRemoveInputFileFromList");
    cmdBatchCompute = MakeButton("cmdBatchCompute");
    cmdBatchCompute->setMinimumWidth(130);
    txbOutput = Named(new OutputView, QStringLiteral("txbOutput"));
    txbOutput->showOutput(output_);
    txbOutput->setFont(FixedFont(11));
    txbOutput->setMinimumHeight(120);
    txbOutput->installEventFilter(this);
    txbOutput->viewport()->installEventFilter(this);
    cmdClearOutputWindow = MakeButton("cmdClearOutputWindow");
    cmdEnlarge = MakeButton("cmdEnlarge");
    cmdCopyOutput = MakeButton("cmdCopyOutput");
    lblVelmoraSystems = Named(new FocusFrameLabel, QStringLiteral("lblVelmoraSystems"));
    lblOnlineDocumentation = Named(new FocusFrameLabel, QStringLiteral("lblOnlineDocumentation"));
    for (QLabel* label : {lblVelmoraSystems, lblOnlineDocumentation}) {
        label->setCursor(Qt::PointingHandCursor);
        QFont underlined = label->font();
        underlined.setUnderline(true);
        label->setFont(underlined);
        label->installEventFilter(this);
    }
    auto* output = new QVBoxLayout(Frame6);
    QHBoxLayout* files = Row({{cboInputFile},
                              {cmdInputFile},
                              {cmdView},
                              {cmdRemoveInputFileFromList},
                              Space(12),
                              {cmdBatchCompute}});
    files->setStretchFactor(cboInputFile, 1);
    output->addLayout(files);
    output->addWidget(txbOutput, 1);
    output->addLayout(Row({{cmdClearOutputWindow},
                           {cmdEnlarge},
                           {cmdCopyOutput},
                           kStretch,
                           {lblVelmoraSystems},
                           Space(16),
                           {lblOnlineDocumentation}}));
}

void frmMain::SetColours() {
    // Controls inside the cyan frames are drawn on the frame's own background.
    Paint(Frame3, kCyan, Qt::black, false);  // the panel paints its own rounded background
    Paint(Frame6, kCyan, Qt::black, false);
    Paint(Frame1, kCyan, Qt::black, false);
    Paint(Frame2, kCyan, Qt::black, false);
    for (QWidget* w : std::initializer_list<QWidget*>{
             lblFirstDate, lblSecondDate, lblDateDifference, lblDayOrDays, lblThisIsA[0],
             lblThisIsA[1], chkIncludeFirstDate, chkIncludeWeekends, chkVerbose, chkSaveOutput}) {
        Paint(w, kCyan, Qt::black, false);
    }
    for (const QButtonGroup* group : calendarOptions_) {
        for (QAbstractButton* option : group->buttons()) {
            Paint(option, kCyan, Qt::black, false);
        }
    }
    Paint(lblTodaysDate, kCyan, Qt::black);
    Paint(lblWeekFromToday, kCyan, Qt::black);
    Paint(lblVelmoraSystems, kCyan, kLinkBlue, false);
    Paint(lblOnlineDocumentation, kCyan, kLinkBlue, false);
    for (QWidget* w : std::initializer_list<QWidget*>{this, Frame3, Frame6}) {
        ShowFocusOnBackground(w);
    }
}

// The two option groups share their column widths, so the calendars line up.
void frmMain::AlignOptionColumns() {
    auto* first = static_cast<QGridLayout*>(Frame1->layout());
    auto* second = static_cast<QGridLayout*>(Frame2->layout());
    for (int column = 0; column < 4; ++column) {
        int width = 0;
        for (QGridLayout* grid : {first, second}) {
            for (int row = 0; row < grid->rowCount(); ++row) {
                if (QLayoutItem* item = grid->itemAtPosition(row, column)) {
                    width = std::max(width, item->sizeHint().width());
                }
            }
        }
        first->setColumnMinimumWidth(column, width);
        second->setColumnMinimumWidth(column, width);
    }
}

// The controls' signals reach their handlers; the fields write the state on every edit.
void frmMain::ConnectSignals() {
    using Handler = void (frmMain::*)();
    const std::pair<QPushButton*, Handler> buttons[] = {
        {cmdCompute, &frmMain::cmdCompute_Click},
        {cmdReset, &frmMain::cmdReset_Click},
        {cmdConfigure, &frmMain::cmdConfigure_Click},
        {cmdQuit, &frmMain::cmdQuit_Click},
        {cmdClearFirstDate, &frmMain::cmdClearFirstDate_Click},
        {cmdClearSecondDate, &frmMain::cmdClearSecondDate_Click},
        {cmdClearDateDiffDays, &frmMain::cmdClearDateDiffDays_Click},
        {cmdClearOutputWindow, &frmMain::cmdClearOutputWindow_Click},
        {cmdMoveSecondDateToFirst, &frmMain::cmdMoveSecondDateToFirst_Click},
        {cmdDisplayMonth, &frmMain::cmdDisplayMonth_Click},
        {cmdEnlarge, &frmMain::cmdEnlarge_Click},
        {cmdView, &frmMain::cmdView_Click},
        {cmdRemoveInputFileFromList, &frmMain::cmdRemoveInputFileFromList_Click},
        {cmdInputFile, &frmMain::cmdInputFile_Click},
        {cmdBatchCompute, &frmMain::cmdBatchCompute_Click},
        {cmdCopyOutput, &frmMain::CopyOutputToClipboard},
    };
    for (const auto& [button, handler] : buttons) {
        connect(button, &QPushButton::clicked, this, handler);
    }
    for (int i = 0; i < 2; ++i) {
        connect(cmdToday[i], &QPushButton::clicked, this, [this, i] { cmdToday_Click(i); });
        connect(VScroll[i], &QScrollBar::valueChanged, this, [this, i] { VScroll_Change(i); });
    }
    connect(cboLanguage, &QComboBox::currentIndexChanged, this, &frmMain::cboLanguage_Click);
    ConnectFieldsAndOptions();
    connect(Clock, &QTimer::timeout, this, &frmMain::Clock_Timer);
    connect(batchTimer_, &QTimer::timeout, this, &frmMain::RunBatchSlice);
}

void frmMain::ConnectFieldsAndOptions() {
    // The fields write the state on every edit.
    const std::pair<QLineEdit*, DateField> fields[] = {{txbFirstDate, DateField::First},
                                                       {txbDateDiffDays, DateField::Difference},
                                                       {txbSecondDate, DateField::Second}};
    for (const auto& entry : fields) {
        QLineEdit* shown = entry.first;
        const DateField which = entry.second;
        connect(shown, &QLineEdit::textChanged, this,
                [this, which](const QString& text) { FieldText(state_, which) = text; });
        // A field that a batch run emptied says so until it holds text again.
        connect(shown, &QLineEdit::textChanged, shown, [shown](const QString& text) {
            if (!text.isEmpty()) {
                shown->setPlaceholderText(QString());
            }
        });
    }

    for (int i = 0; i < 2; ++i) {
        connect(calendarOptions_[i], &QButtonGroup::idToggled, this, [this, i](int id, bool on) {
            if (!on) {
                return;
            }
            // The group's label leads to its chosen option (Alt+letter, then the arrow keys).
            lblThisIsA[i]->setBuddy(calendarOptions_[i]->button(id));
            if (i == 0) {
                optFirstDateIs_Click(id);
            } else {
                optSecondDateIs_Click(id);
            }
        });
        // Picking from the list chooses the option too.
        connect(cboOtherCalendar[i], &QComboBox::activated, this, [this, i] {
            QAbstractButton* other = calendarOptions_[i]->button(kOtherCalendarOption);
            if (other->isChecked()) {
                FieldCalendarChange(i + 1, OtherCalendar(i));
            } else {
                other->setChecked(true);
            }
        });
    }
    connect(checkOptions_, &QButtonGroup::idToggled, this, &frmMain::chkOption_Click);

    // The input-file list.
    connect(cboInputFile->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        state_.session.inputFileText = text;
        state_.session.selectedInputFile = -1;
    });
    connect(cboInputFile, &QComboBox::activated, this, [this](int index) {
        if (index < 0 || index >= state_.session.inputFiles.size()) {
            return;
        }
        state_.session.selectedInputFile = index;
        state_.session.inputFileText = state_.session.inputFiles[index];
        cboInputFile_Click();
    });

    // The output window: typed text is the state's at once (the view edits it in place); the
    // copy button follows the selection.
    connect(txbOutput, &OutputView::textEdited, this, [this] {
        outputEdited_ = true;
        output_.markTaken(txbOutput->shownLength());
    });
    connect(txbOutput, &OutputView::selectionChanged, this, &frmMain::UpdateCopyButton);
}

}  // namespace daybridge
