#include "ui/frm_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "app/calendar_names.h"
#include "app/lunisolar_text.h"
#include "app/refused_date_text.h"
#include "calendar/calendar_units.h"
#include "calendar/gregorian_switch.h"
#include "calendar/week_fiscal_rules.h"
#include "compute/date_fields.h"
#include "datetext/date_format.h"
#include "datetext/date_parse.h"
#include "datetext/string_utils.h"
#include "datetext/unit_difference.h"
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
#include "ui/output_view.h"
#include "ui/qt_host.h"
#include "ui/screen_fit.h"
#include "ui/ui_metrics.h"

namespace daybridge {

namespace {

// The option button of a calendar that has one.
std::size_t OptionIndex(CalendarId calendar) {
    return static_cast<std::size_t>(DescribedIndexOf(calendar).value_or(0));
}

bool InTodayCycle(CalendarId calendar) {
    const std::span<const CalendarId> cycle = TodayCycle();
    return std::find(cycle.begin(), cycle.end(), calendar) != cycle.end();
}

// Files and texts of the desktop features (identifiers in dbrg_text.dat).
constexpr int kTextAboutTitle = 350;
constexpr int kTextAboutText = 351;
constexpr int kTextEmptyFile = 353;
constexpr int kTextPromptCancelled = 354;
constexpr int kTextNotTxtName = 355;
constexpr int kTextNoApplicationOpens = 356;
constexpr int kTextUnknownCalendar = 812;
constexpr int kTextInvalidGregorianSwitch = 814;
constexpr int kTextInvalidWeekRule = 1163;
constexpr int kTextInvalidFiscalYear = 1164;
constexpr int kTextInvalidFiscalWeeks = 1165;
constexpr int kTextEmptiedByRun = 820;        // a date field the batch run emptied
constexpr int kTextProcessFileToolTip = 821;  // says the run empties the date fields

// How often the output window takes the output of a running batch program (milliseconds).
constexpr qint64 kRunOutputInterval = 100;

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

bool IsWhiteCode(QChar c) {
    return c.unicode() <= 32;
}

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
    engine_ = std::make_unique<ComputeEngine>(state_, *host_);
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
// The window's controls

void frmMain::BuildWindow() {
    const QFont fieldFont = FixedFont(12);
    const int fieldWidth = QFontMetrics(fieldFont).horizontalAdvance(QString(21, u'0')) + 12;

    auto makeField = [&](const char* name) {
        auto* field = Named(new QLineEdit, QString::fromLatin1(name));
        field->setFont(fieldFont);
        field->setFixedWidth(fieldWidth);
        field->installEventFilter(this);
        return field;
    };
    auto makeButton = [](const char* name) {
        auto* button = Named(new QPushButton, QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    auto makeLabel = [](const char* name) { return Named(new QLabel, QString::fromLatin1(name)); };

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
        cmdToday[i] = makeButton(i == 0 ? "cmdToday0" : "cmdToday1");
        cmdToday[i]->setProperty("index", i);
        lblThisIsA[i] = makeLabel(i == 0 ? "lblThisIsA0" : "lblThisIsA1");
        lblThisIsA[i]->setProperty("index", i);
        lblThisIsA[i]->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }

    cmdClearFirstDate = makeButton("cmdClearFirstDate");
    cmdClearDateDiffDays = makeButton("cmdClearDateDiffDays");
    cmdClearSecondDate = makeButton("cmdClearSecondDate");
    cmdMoveSecondDateToFirst = makeButton("cmdMoveSecondDateToFirst");
    lblFirstDate = makeLabel("lblFirstDate");
    lblDateDifference = makeLabel("lblDateDifference");
    lblSecondDate = makeLabel("lblSecondDate");
    lblDayOrDays = makeLabel("lblDayOrDays");

    auto makeOptions = [&](const char* frameName, const char* prefix, QRadioButton** options,
                           int field) {
        auto* frame = Named(new QFrame, QString::fromLatin1(frameName));
        auto* grid = new QGridLayout(frame);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setHorizontalSpacing(18);
        grid->setVerticalSpacing(2);
        const std::span<const CalendarId> optionCalendars = OptionCalendars();
        for (int i = 0; i < static_cast<int>(optionCalendars.size()); ++i) {
            const CalendarId calendar = optionCalendars[static_cast<std::size_t>(i)];
            auto* option =
                Named(new QRadioButton, QString::fromLatin1(prefix) + CalendarCode(calendar));
            options[OptionIndex(calendar)] = option;
            grid->addWidget(option, i / 4, i % 4);
        }
        // The world's calendars share the free place of the grid: an option and its list.
        optOther[field] =
            Named(new QRadioButton, QString::fromLatin1(prefix) + QStringLiteral("Other"));
        cboOtherCalendar[field] =
            Named(new QComboBox, field == 0 ? QStringLiteral("cboFirstDateCalendar")
                                            : QStringLiteral("cboSecondDateCalendar"));
        for (const CalendarId calendar : OtherListCalendars()) {
            cboOtherCalendar[field]->addItem(CalendarCode(calendar), IndexOf(calendar));
        }
        cboOtherCalendar[field]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        auto* other = new QHBoxLayout;
        other->setSpacing(4);
        other->addWidget(optOther[field]);
        other->addWidget(cboOtherCalendar[field]);
        other->addStretch(1);
        grid->addLayout(other, 1, 3);
        grid->setColumnStretch(4, 1);
        return frame;
    };
    Frame1 = makeOptions("Frame1", "optFirstDateIs", optFirst, 0);
    Frame2 = makeOptions("Frame2", "optSecondDateIs", optSecond, 1);

    chkIncludeFirstDate = Named(new QCheckBox, QStringLiteral("chkIncludeFirstDate"));
    chkIncludeWeekends = Named(new QCheckBox, QStringLiteral("chkIncludeWeekends"));
    chkVerbose = Named(new QCheckBox, QStringLiteral("chkVerbose"));
    chkSaveOutput = Named(new QCheckBox, QStringLiteral("chkSaveOutput"));

    // Frame3: the three fields, their calendars and the computation options.
    Frame3 = Named(new Panel, QStringLiteral("Frame3"));
    auto* input = new QGridLayout(Frame3);
    input->setHorizontalSpacing(8);
    input->setVerticalSpacing(6);
    input->setContentsMargins(12, 10, 12, 10);
    // Column 1 holds a field and its day-step arrows; the buttons line up in columns 2 to 4.
    auto fieldWith = [](QWidget* field, QWidget* beside) {
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        row->addWidget(field);
        row->addSpacing(beside == nullptr ? 0 : 1);
        if (beside != nullptr) {
            row->addWidget(beside);
        }
        row->addStretch(1);
        return row;
    };
    input->addWidget(lblFirstDate, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    input->addLayout(fieldWith(txbFirstDate, VScroll[0]), 0, 1);
    input->addWidget(cmdToday[0], 0, 2);
    input->addWidget(cmdClearFirstDate, 0, 3);
    input->addWidget(lblThisIsA[0], 1, 0);
    input->addWidget(Frame1, 1, 1, 1, 5);
    input->addWidget(lblDateDifference, 2, 0, Qt::AlignRight | Qt::AlignVCenter);
    input->addLayout(fieldWith(txbDateDiffDays, nullptr), 2, 1);
    input->addWidget(lblDayOrDays, 2, 2);
    input->addWidget(cmdClearDateDiffDays, 2, 3);
    input->addWidget(lblSecondDate, 3, 0, Qt::AlignRight | Qt::AlignVCenter);
    input->addLayout(fieldWith(txbSecondDate, VScroll[1]), 3, 1);
    input->addWidget(cmdToday[1], 3, 2);
    input->addWidget(cmdClearSecondDate, 3, 3);
    input->addWidget(cmdMoveSecondDateToFirst, 3, 4);
    input->addWidget(lblThisIsA[1], 4, 0);
    input->addWidget(Frame2, 4, 1, 1, 5);
    {
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
    }
    input->setColumnStretch(5, 1);
    input->setRowMinimumHeight(2, 34);
    for (QPushButton* button :
         {cmdToday[0], cmdToday[1], cmdClearFirstDate, cmdClearSecondDate, cmdClearDateDiffDays}) {
        button->setMinimumWidth(90);
    }

    // The command row.
    cmdCompute = Named(new DefaultButton, QStringLiteral("cmdCompute"));
    cmdCompute->setAutoDefault(false);
    cmdCompute->setDefault(true);
    {
        QFont bold = cmdCompute->font();
        bold.setBold(true);
        cmdCompute->setFont(bold);
    }
    cmdDisplayMonth = makeButton("cmdDisplayMonth");
    cmdConfigure = makeButton("cmdConfigure");
    cmdReset = makeButton("cmdReset");
    cmdQuit = makeButton("cmdQuit");
    lblLanguage = makeLabel("lblLanguage");
    cboLanguage = Named(new QComboBox, QStringLiteral("cboLanguage"));
    for (QPushButton* button : {cmdCompute, cmdDisplayMonth, cmdConfigure, cmdReset, cmdQuit}) {
        button->setMinimumWidth(110);
    }
    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdCompute);
    commands->addSpacing(16);
    commands->addWidget(cmdDisplayMonth);
    commands->addWidget(cmdConfigure);
    commands->addWidget(cmdReset);
    commands->addStretch(1);
    commands->addWidget(lblLanguage);
    commands->addWidget(cboLanguage);
    commands->addSpacing(16);
    commands->addWidget(cmdQuit);

    // The today labels.
    lblTodaysDate = Named(new FocusFrameLabel, QStringLiteral("lblTodaysDate"));
    lblWeekFromToday = Named(new FocusFrameLabel, QStringLiteral("lblWeekFromToday"));
    for (QLabel* label : {lblTodaysDate, lblWeekFromToday}) {
        label->setCursor(Qt::PointingHandCursor);
        label->setMargin(4);
        label->installEventFilter(this);
    }
    auto* todayRow = new QHBoxLayout;
    todayRow->addWidget(lblTodaysDate);
    todayRow->addStretch(1);
    todayRow->addWidget(lblWeekFromToday);

    // Frame6: input files and the output window.
    Frame6 = Named(new Panel, QStringLiteral("Frame6"));
    cboInputFile = Named(new QComboBox, QStringLiteral("cboInputFile"));
    cboInputFile->setEditable(true);
    cboInputFile->setInsertPolicy(QComboBox::NoInsert);
    cboInputFile->setCompleter(nullptr);
    cboInputFile->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    cboInputFile->setMinimumContentsLength(30);
    cboInputFile->installEventFilter(this);
    cboInputFile->lineEdit()->installEventFilter(this);
    cmdInputFile = makeButton("cmdInputFile");
    cmdView = makeButton("cmdView");
    cmdRemoveInputFileFromList = makeButton("cmdRemoveInputFileFromList");
    cmdBatchCompute = makeButton("cmdBatchCompute");
    cmdBatchCompute->setMinimumWidth(130);
    txbOutput = Named(new OutputView, QStringLiteral("txbOutput"));
    txbOutput->showOutput(state_.output);
    txbOutput->setFont(FixedFont(11));
    txbOutput->setMinimumHeight(120);
    txbOutput->installEventFilter(this);
    txbOutput->viewport()->installEventFilter(this);
    cmdClearOutputWindow = makeButton("cmdClearOutputWindow");
    cmdEnlarge = makeButton("cmdEnlarge");
    cmdCopyOutput = makeButton("cmdCopyOutput");
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
    auto* files = new QHBoxLayout;
    files->addWidget(cboInputFile, 1);
    files->addWidget(cmdInputFile);
    files->addWidget(cmdView);
    files->addWidget(cmdRemoveInputFileFromList);
    files->addSpacing(12);
    files->addWidget(cmdBatchCompute);
    output->addLayout(files);
    output->addWidget(txbOutput, 1);
    auto* outputButtons = new QHBoxLayout;
    outputButtons->addWidget(cmdClearOutputWindow);
    outputButtons->addWidget(cmdEnlarge);
    outputButtons->addWidget(cmdCopyOutput);
    outputButtons->addStretch(1);
    outputButtons->addWidget(lblVelmoraSystems);
    outputButtons->addSpacing(16);
    outputButtons->addWidget(lblOnlineDocumentation);
    output->addLayout(outputButtons);

    // The controls scroll inside the window, so a window smaller than they need (a small
    // screen, a large scale factor) still reaches all of them; on a screen with room they
    // fill the window as a plain layout would.
    auto* content = Named(new QWidget, QStringLiteral("content"));
    auto* top = new QVBoxLayout(content);
    top->setContentsMargins(10, 10, 10, 10);
    top->setSpacing(8);
    top->addWidget(Frame3);
    top->addLayout(commands);
    top->addLayout(todayRow);
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

void frmMain::ConnectSignals() {
    connect(cmdCompute, &QPushButton::clicked, this, &frmMain::cmdCompute_Click);
    for (int i = 0; i < 2; ++i) {
        connect(cmdToday[i], &QPushButton::clicked, this, [this, i] { cmdToday_Click(i); });
        connect(VScroll[i], &QScrollBar::valueChanged, this, [this, i] { VScroll_Change(i); });
    }
    connect(cmdReset, &QPushButton::clicked, this, &frmMain::cmdReset_Click);
    connect(cmdConfigure, &QPushButton::clicked, this, &frmMain::cmdConfigure_Click);
    connect(cmdQuit, &QPushButton::clicked, this, &frmMain::cmdQuit_Click);
    connect(cmdClearFirstDate, &QPushButton::clicked, this, &frmMain::cmdClearFirstDate_Click);
    connect(cmdClearSecondDate, &QPushButton::clicked, this, &frmMain::cmdClearSecondDate_Click);
    connect(cmdClearDateDiffDays, &QPushButton::clicked, this,
            &frmMain::cmdClearDateDiffDays_Click);
    connect(cmdClearOutputWindow, &QPushButton::clicked, this,
            &frmMain::cmdClearOutputWindow_Click);
    connect(cmdMoveSecondDateToFirst, &QPushButton::clicked, this,
            &frmMain::cmdMoveSecondDateToFirst_Click);
    connect(cmdDisplayMonth, &QPushButton::clicked, this, &frmMain::cmdDisplayMonth_Click);
    connect(cmdEnlarge, &QPushButton::clicked, this, &frmMain::cmdEnlarge_Click);
    connect(cmdView, &QPushButton::clicked, this, &frmMain::cmdView_Click);
    connect(cmdRemoveInputFileFromList, &QPushButton::clicked, this,
            &frmMain::cmdRemoveInputFileFromList_Click);
    connect(cmdInputFile, &QPushButton::clicked, this, &frmMain::cmdInputFile_Click);
    connect(cmdBatchCompute, &QPushButton::clicked, this, &frmMain::cmdBatchCompute_Click);
    connect(cmdCopyOutput, &QPushButton::clicked, this, &frmMain::CopyOutputToClipboard);
    connect(cboLanguage, &QComboBox::currentIndexChanged, this, [this] {
        if (!refreshing_) {
            cboLanguage_Click();
        }
    });

    // The fields write the state on every edit.
    connect(txbFirstDate, &QLineEdit::textChanged, this,
            [this](const QString& text) { state_.firstDateText = text; });
    connect(txbDateDiffDays, &QLineEdit::textChanged, this,
            [this](const QString& text) { state_.dateDiffText = text; });
    connect(txbSecondDate, &QLineEdit::textChanged, this,
            [this](const QString& text) { state_.secondDateText = text; });
    // A field that a batch run emptied says so until it holds text again.
    for (QLineEdit* field : {txbFirstDate, txbDateDiffDays, txbSecondDate}) {
        connect(field, &QLineEdit::textChanged, field, [field](const QString& text) {
            if (!text.isEmpty()) {
                field->setPlaceholderText(QString());
            }
        });
    }

    using Handler = void (frmMain::*)();
    const std::array<std::pair<CalendarId, Handler>, 7> firstHandlers = {{
        {CalendarId::CE, &frmMain::optFirstDateIsCE_Click},
        {CalendarId::JC, &frmMain::optFirstDateIsJC_Click},
        {CalendarId::ISO, &frmMain::optFirstDateIsISO_Click},
        {CalendarId::JDN, &frmMain::optFirstDateIsJDN_Click},
        {CalendarId::ORD, &frmMain::optFirstDateIsORD_Click},
        {CalendarId::LPW, &frmMain::optFirstDateIsLPW_Click},
        {CalendarId::LPM, &frmMain::optFirstDateIsLPM_Click},
    }};
    const std::array<std::pair<CalendarId, Handler>, 7> secondHandlers = {{
        {CalendarId::CE, &frmMain::optSecondDateIsCE_Click},
        {CalendarId::JC, &frmMain::optSecondDateIsJC_Click},
        {CalendarId::ISO, &frmMain::optSecondDateIsISO_Click},
        {CalendarId::JDN, &frmMain::optSecondDateIsJDN_Click},
        {CalendarId::ORD, &frmMain::optSecondDateIsORD_Click},
        {CalendarId::LPW, &frmMain::optSecondDateIsLPW_Click},
        {CalendarId::LPM, &frmMain::optSecondDateIsLPM_Click},
    }};
    for (const auto& entry : firstHandlers) {
        const Handler handler = entry.second;
        connect(optFirst[OptionIndex(entry.first)], &QRadioButton::toggled, this,
                [this, handler](bool on) {
                    if (on && !refreshing_) {
                        (this->*handler)();
                    }
                });
    }
    for (const auto& entry : secondHandlers) {
        const Handler handler = entry.second;
        connect(optSecond[OptionIndex(entry.first)], &QRadioButton::toggled, this,
                [this, handler](bool on) {
                    if (on && !refreshing_) {
                        (this->*handler)();
                    }
                });
    }

    for (int i = 0; i < 2; ++i) {
        connect(optOther[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !refreshing_) {
                FieldCalendarChange(i + 1, OtherCalendar(i));
            }
        });
        // Picking from the list chooses the option too.
        connect(cboOtherCalendar[i], &QComboBox::activated, this, [this, i] {
            if (refreshing_) {
                return;
            }
            if (optOther[i]->isChecked()) {
                FieldCalendarChange(i + 1, OtherCalendar(i));
            } else {
                optOther[i]->setChecked(true);
            }
        });
        // The group's label leads to its chosen option (Alt+letter, then the arrow keys).
        QRadioButton** options = i == 0 ? optFirst : optSecond;
        std::vector<QRadioButton*> group = {optOther[i]};
        for (const CalendarId calendar : OptionCalendars()) {
            group.push_back(options[OptionIndex(calendar)]);
        }
        for (QRadioButton* option : group) {
            connect(option, &QRadioButton::toggled, this, [this, i, option](bool on) {
                if (on) {
                    lblThisIsA[i]->setBuddy(option);
                }
            });
        }
    }

    // The check boxes are the state's options; a click only moves the focus on.
    const std::array<std::pair<QCheckBox*, bool AppState::*>, 4> checks = {{
        {chkIncludeFirstDate, &AppState::includeFirstDate},
        {chkIncludeWeekends, &AppState::includeWeekends},
        {chkVerbose, &AppState::verbose},
        {chkSaveOutput, &AppState::saveOnQuit},
    }};
    for (const auto& entry : checks) {
        bool AppState::*member = entry.second;
        connect(entry.first, &QCheckBox::toggled, this, [this, member](bool on) {
            state_.*member = on;
            if (!refreshing_) {
                SetTheFocus();
            }
        });
    }

    // The input-file list.
    connect(cboInputFile->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        state_.inputFileText = text;
        state_.selectedInputFile = -1;
    });
    connect(cboInputFile, &QComboBox::activated, this, [this](int index) {
        if (refreshing_ || index < 0 || index >= state_.inputFiles.size()) {
            return;
        }
        state_.selectedInputFile = index;
        state_.inputFileText = state_.inputFiles[index];
        cboInputFile_Click();
    });

    // The output window: typed text is the state's at once (the view edits it in place); the
    // copy button follows the selection.
    connect(txbOutput, &OutputView::textChanged, this, [this] {
        if (!updatingOutput_) {
            outputEdited_ = true;
            state_.output.markTaken(txbOutput->shownLength());
        }
    });
    connect(txbOutput, &OutputView::selectionChanged, this, &frmMain::UpdateCopyButton);

    connect(Clock, &QTimer::timeout, this, &frmMain::Clock_Timer);
    connect(batchTimer_, &QTimer::timeout, this, &frmMain::RunBatchSlice);
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
    for (const CalendarId calendar : OptionCalendars()) {
        Paint(optFirst[OptionIndex(calendar)], kCyan, Qt::black, false);
        Paint(optSecond[OptionIndex(calendar)], kCyan, Qt::black, false);
    }
    for (QRadioButton* option : optOther) {
        Paint(option, kCyan, Qt::black, false);
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

// ---------------------------------------------------------------------------------------------
// Start-up, language, focus, reset and quit

bool frmMain::Form_Load() {
    state_.mainWindowReady = false;
    SetMainWindowReady(false);

    QString failure;
    if (LoadProgramText(FindDataFile(QString::fromLatin1(kTextDataFileName)), &failure) <= 0) {
        host().messageBox(QString(), failure, MsgIcon::Critical);
        return false;
    }
    setWindowTitle(GetText(1, state_.language) + QLatin1Char(' ') +
                   QStringLiteral(DAYBRIDGE_VERSION));

    // InitialiseWindow: the caption tables and the calendar table are built in.
    SetDefaultState();
    SetColours();
    state_.SetBuiltInDefaults();
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
        settingsNotice = LoadUserSettingsAtStart(settingsPath_, state_, &directory);
    }
    if (!directory.isEmpty()) {
        QDir::setCurrent(directory);
    }
    const QString sideNotice = LoadSideSettings();
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
    state_.batchRunning = false;
    state_.mainWindowReady = true;
    SetMainWindowReady(true);
    ShowTodaysDate();
    if (!settingsNotice.isEmpty()) {
        host().messageBox(GetText(1, state_.language), settingsNotice, MsgIcon::Exclamation);
    }
    if (!sideNotice.isEmpty()) {
        host().messageBox(GetText(1, state_.language), sideNotice, MsgIcon::Exclamation);
    }
    return true;
}

// The side settings: the working-day choice, the today labels' calendar and a date field's
// world calendar. An entry that cannot be used is dropped and stays built-in; the returned
// notice (told once) names it, and says what became of a file that could not be read.
QString frmMain::LoadSideSettings() {
    side_.Load(state_.language);
    state_.workdays = LoadWorkdayChoice(side_, state_.language);
    const QString unknownCalendar = state_.Text(kTextUnknownCalendar);
    const QString code = side_.value(side_key::kTodayCalendar);
    if (!code.isEmpty()) {
        const std::optional<CalendarId> calendar = CalendarOfCode(code);
        if (calendar && InTodayCycle(*calendar)) {
            state_.todayCalendar = *calendar;
        } else {
            side_.Drop(side_key::kTodayCalendar, unknownCalendar);
        }
    }
    // A date field's calendar that dbrg.usr cannot hold stands there as CE; one the file names
    // otherwise (written since by a program that knows only the options) wins.
    const auto fieldCalendar = [&](const char* key, CalendarId& field) {
        const QString stored = side_.value(key);
        if (stored.isEmpty()) {
            return;
        }
        const std::optional<CalendarId> calendar = CalendarOfCode(stored);
        if (!calendar || DescribedIndexOf(*calendar)) {
            side_.Drop(key, unknownCalendar);
        } else if (field == kDefaultCalendar) {
            field = *calendar;
        }
    };
    fieldCalendar(side_key::kFirstDateCalendar, state_.firstCalendar);
    fieldCalendar(side_key::kSecondDateCalendar, state_.secondCalendar);
    const QString gregorianSwitch = side_.value(side_key::kGregorianSwitch);
    if (!gregorianSwitch.isEmpty()) {
        const std::optional<std::int64_t> jdn = GregorianSwitchOfText(gregorianSwitch);
        if (!jdn || !SetGregorianSwitchJdn(*jdn)) {
            side_.Drop(side_key::kGregorianSwitch, state_.Text(kTextInvalidGregorianSwitch));
        }
    }
    // The rules of WK, FY and FYW: one that does not read is dropped and stays built-in.
    const auto rule = [&](const char* key, auto read, auto set, int why) {
        const QString stored = side_.value(key);
        if (stored.isEmpty()) {
            return;
        }
        if (const auto value = read(stored)) {
            set(*value);
        } else {
            side_.Drop(key, state_.Text(why));
        }
    };
    rule(side_key::kWeekRule, WeekRuleOfText, SetWeekDateRule, kTextInvalidWeekRule);
    rule(side_key::kFiscalYear, MonthFiscalRuleOfText, SetMonthFiscalYearRule,
         kTextInvalidFiscalYear);
    rule(side_key::kFiscalWeeks, WeekFiscalRuleOfText, SetWeekFiscalYearRule,
         kTextInvalidFiscalWeeks);
    HoldSideSettings();
    side_.MarkUnchanged();
    return side_.Notice(state_.language);
}

// The word after the difference field: "day" or "days" for a day count, nothing for a unit
// difference, which names its own units.
QString frmMain::DayOrDaysLabel() const {
    const QString text = TrimmedWhite(state_.dateDiffText);
    const ParseResult days = ParseDayCount(text, state_.format.thousandsSeparator);
    if (days.outcome != ParseOutcome::Valid &&
        ParseUnitDifference(text, state_.language).outcome == ParseOutcome::Valid) {
        return {};
    }
    return state_.DayOrDays(days.outcome == ParseOutcome::Valid ? days.jdn : 0);
}

// The window's values of the side settings' entries.
void frmMain::HoldSideSettings() {
    side_.setValue(side_key::kTodayCalendar, CalendarCode(state_.todayCalendar));
    SetWorkdayChoice(side_, state_.workdays);
    const auto world = [](CalendarId calendar) {
        return DescribedIndexOf(calendar) ? QString() : CalendarCode(calendar);
    };
    side_.setValue(side_key::kFirstDateCalendar, world(state_.GetCal(1)));
    side_.setValue(side_key::kSecondDateCalendar, world(state_.GetCal(2)));
    side_.setValue(side_key::kGregorianSwitch, GregorianSwitchText(GregorianSwitchJdn()));
    side_.setValue(side_key::kWeekRule, WeekRuleText(WeekDateRule()));
    side_.setValue(side_key::kFiscalYear, MonthFiscalRuleText(MonthFiscalYearRule()));
    side_.setValue(side_key::kFiscalWeeks, WeekFiscalRuleText(WeekFiscalYearRule()));
}

// Writes what this window changed of the side settings; false with the message in `failure`.
bool frmMain::SaveSideSettings(QString* failure) {
    HoldSideSettings();
    return side_.Save(state_.language, failure);
}

void frmMain::SetDefaultState() {
    settingsPath_ = UserDataFilePath(QString::fromLatin1(kSettingsFileName),
                                     QString::fromLatin1(kSettingsFolder));
    side_ = SideSettings(settingsPath_);
}

void frmMain::ApplyLoadedLanguage() {
    refreshing_ = true;
    cboLanguage->setCurrentIndex(LanguageListIndex(state_.language));
    refreshing_ = false;
}

void frmMain::FillLanguageList() {
    refreshing_ = true;
    cboLanguage->clear();
    for (const Language language : kLanguages) {
        cboLanguage->addItem(state_.Caption(LanguageCaption(language)), LanguageNumber(language));
    }
    cboLanguage->setCurrentIndex(LanguageListIndex(state_.language));
    refreshing_ = false;
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
    if (cboLanguage->currentIndex() >= 0 && language && *language != state_.language) {
        const int position = cboLanguage->currentIndex();
        state_.language = *language;
        FillLanguageList();
        refreshing_ = true;
        cboLanguage->setCurrentIndex(position);
        refreshing_ = false;
        SetLanguageDependentText();
        ShowTodaysDate();
    }
    txbOutput->moveCaretToEnd();
    UpdateCopyButton();
    SetTheFocus();
}

void frmMain::SetLanguageDependentText() {
    const AppState& s = state_;
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
        optFirst[OptionIndex(calendar)]->setText(caption + QStringLiteral(" (") +
                                                 CalendarCode(calendar) + QLatin1Char(')'));
        optSecond[OptionIndex(calendar)]->setText(caption);
    }
    for (int i = 0; i < 2; ++i) {
        optOther[i]->setText(s.Caption(Caption::OtherCalendar));
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
    lblDayOrDays->setText(DayOrDaysLabel());
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
    if (!isVisible() || !state_.mainWindowReady || state_.batchRunning) {
        return;
    }
    const bool first = !state_.firstDateText.isEmpty();
    const bool difference = !state_.dateDiffText.isEmpty();
    const bool second = !state_.secondDateText.isEmpty();
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
    const QString text = state_.Text(18) + QLatin1Char('\n') + state_.Text(19) +
                         QStringLiteral("\n\n") + state_.Text(20);
    const MsgAnswer answer = host().messageBox(state_.Caption(Caption::Reset), text,
                                               MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No);
    if (answer == MsgAnswer::Yes) {
        if (!settingsPath_.isEmpty()) {
            QFile::remove(settingsPath_);
        }
        state_.SetBuiltInDefaults();
        state_.workdays = WorkdayCalendar();  // the configuration dialog's working days too
        QString failure;
        if (!SaveSideSettings(&failure)) {
            host().messageBox(GetText(1, state_.language), failure, MsgIcon::Exclamation);
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
    if (settingsSaved_ || settingsPath_.isEmpty() || !state_.mainWindowReady) {
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
    if (!SaveUserSettings(settingsPath_, state_, QDir::currentPath(), &failure)) {
        failures << failure;
    }
    if (!failures.isEmpty()) {
        host().messageBox(GetText(1, state_.language), failures.join(QStringLiteral("\r\n\r\n")),
                          MsgIcon::Exclamation);
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
    host().messageBox(state_.Text(kTextAboutTitle),
                      GetText(1, state_.language) + QLatin1Char(' ') +
                          QStringLiteral(DAYBRIDGE_VERSION) + QStringLiteral("\n\n") +
                          state_.Text(kTextAboutText),
                      MsgIcon::Information);
}

frmConfigure& frmMain::EnsureConfigure() {
    if (configure_ == nullptr) {
        configure_ = new frmConfigure(state_, this);
        connect(configure_, &frmConfigure::ClearInputWindows, this, [this] {
            SetField(txbFirstDate, state_.firstDateText, QString());
            SetField(txbDateDiffDays, state_.dateDiffText, QString());
            SetField(txbSecondDate, state_.secondDateText, QString());
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
            if (state_.mainWindowReady && !state_.batchRunning) {
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

// ---------------------------------------------------------------------------------------------
// The widgets and the state

void frmMain::SetField(QLineEdit* field, QString& stateText, const QString& text) {
    stateText = text;
    if (field->text() != text) {
        field->setText(text);
    }
}

void frmMain::FocusAtEnd(QLineEdit* field) {
    if (!isVisible() || state_.batchRunning) {
        return;
    }
    field->setFocus();
    field->end(false);
}

void frmMain::RefreshFieldsFromState() {
    const QString first = state_.firstDateText;
    const QString difference = state_.dateDiffText;
    const QString second = state_.secondDateText;
    SetField(txbFirstDate, state_.firstDateText, first);
    SetField(txbDateDiffDays, state_.dateDiffText, difference);
    SetField(txbSecondDate, state_.secondDateText, second);
}

void frmMain::RefreshOptionsFromState() {
    refreshing_ = true;
    ShowFieldCalendar(0, state_.firstCalendar);
    ShowFieldCalendar(1, state_.secondCalendar);
    // A calendar the fields do not offer (AN, VLW) is shown and kept as CE.
    if (optFirst[OptionIndex(kDefaultCalendar)]->isChecked()) {
        state_.firstCalendar = kDefaultCalendar;
    }
    if (optSecond[OptionIndex(kDefaultCalendar)]->isChecked()) {
        state_.secondCalendar = kDefaultCalendar;
    }
    chkIncludeFirstDate->setChecked(state_.includeFirstDate);
    chkIncludeWeekends->setChecked(state_.includeWeekends);
    chkVerbose->setChecked(state_.verbose);
    chkSaveOutput->setChecked(state_.saveOnQuit);
    refreshing_ = false;
}

// Checks the option of `calendar` in the group of date field `index` (0 first, 1 second): a
// world calendar checks "Other" and shows it in the list; any other calendar without an option
// checks CE.
void frmMain::ShowFieldCalendar(int index, CalendarId calendar) {
    QRadioButton** options = index == 0 ? optFirst : optSecond;
    const int listed = cboOtherCalendar[index]->findData(IndexOf(calendar));
    if (listed >= 0) {
        cboOtherCalendar[index]->setCurrentIndex(listed);
        optOther[index]->setChecked(true);
    } else if (Calendar(calendar).fieldChoice == FieldChoice::Option) {
        options[OptionIndex(calendar)]->setChecked(true);
    } else {
        options[OptionIndex(kDefaultCalendar)]->setChecked(true);
    }
}

CalendarId frmMain::OtherCalendar(int index) const {
    return CalendarOfIndex(cboOtherCalendar[index]->currentData().toInt())
        .value_or(kDefaultCalendar);
}

void frmMain::RefreshInputFilesFromState() {
    refreshing_ = true;
    cboInputFile->clear();
    cboInputFile->addItems(state_.inputFiles);
    const int selected = state_.selectedInputFile;
    if (selected >= 0 && selected < state_.inputFiles.size()) {
        cboInputFile->setCurrentIndex(selected);
        state_.inputFileText = state_.inputFiles[selected];
    } else {
        state_.selectedInputFile = -1;
        cboInputFile->setCurrentIndex(-1);
        cboInputFile->setEditText(state_.inputFileText);
    }
    refreshing_ = false;
}

void frmMain::AppendPendingOutput() {
    OutputText& output = state_.output;
    const bool reset = output.resetSinceLastTake();
    if (!reset && !output.hasPending()) {
        return;
    }
    updatingOutput_ = true;
    if (reset) {
        outputEdited_ = false;
    }
    // The view shows the state's text in place: only the line index grows.
    txbOutput->takeOutput(reset);
    output.skipPending();
    txbOutput->moveCaretToEnd();
    updatingOutput_ = false;
}

void frmMain::SyncOutputFromView() {
    if (!outputEdited_) {
        return;
    }
    // The view edits the state's text in place (typed breaks are CR LF): what it shows is taken.
    state_.output.markTaken(txbOutput->shownLength());
    outputEdited_ = false;
}

// ---------------------------------------------------------------------------------------------
// Date entry

bool frmMain::KeyPressFilter(QLineEdit* field, QKeyEvent* key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        cmdCompute_Click();
        return true;
    }
    // Up and Down step the date by a day as the step arrows do (up earlier, down later); Page Up
    // and Page Down by a month.
    if (field != txbDateDiffDays && (key->modifiers() & ~Qt::KeypadModifier) == 0) {
        const int index = field == txbFirstDate ? 0 : 1;
        switch (key->key()) {
            case Qt::Key_Up:
                StepFieldDate(index, -1);
                return true;
            case Qt::Key_Down:
                StepFieldDate(index, 1);
                return true;
            case Qt::Key_PageUp:
                StepFieldDate(index, -1, true);
                return true;
            case Qt::Key_PageDown:
                StepFieldDate(index, 1, true);
                return true;
            default:
                break;
        }
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;  // shortcuts: copy, paste, cut, undo, select all
    }
    const QString typed = key->text();
    for (const QChar c : typed) {
        const int code = c.unicode();
        if (code < 32 || code == 127) {
            continue;  // editing keys, not characters
        }
        const int length = static_cast<int>(field->text().size());
        bool allowed;
        if (field == txbDateDiffDays) {
            // A unit difference spelled out ("1 year 2 months 3 days") needs more room than
            // a day count, which never reaches the described limit.
            const QString text = field->text();
            const bool spelled = c.isLetter() || std::any_of(text.begin(), text.end(),
                                                             [](QChar t) { return t.isLetter(); });
            allowed = IsAllowedDifferenceKey(
                code, length, spelled ? kUnitDifferenceLengthLimit : kFieldLengthLimit,
                state_.format.thousandsSeparator);
        } else {
            const CalendarId calendar =
                field == txbFirstDate ? state_.firstCalendar : state_.secondCalendar;
            const Notation notation = Calendar(calendar).notation;
            const bool iso = notation == Notation::IsoWeekDate || notation == Notation::WeekDate;
            // The "P" of a period date.
            const bool periodLetter = notation == Notation::PeriodDate &&
                                      length < kFieldLengthLimit && (c == u'P' || c == u'p');
            // The letters of a leap month's mark ("11bis"), either case.
            const bool leapMark = notation == Notation::LunisolarDate &&
                                  length < kFieldLengthLimit &&
                                  QLatin1String(kLeapMonthMark).contains(c, Qt::CaseInsensitive);
            // A calendar with named eras writes the era's name before the year.
            const bool eraLetter =
                Calendar(calendar).eras != nullptr && c.isLetter() && length < kFieldLengthLimit;
            allowed =
                leapMark || eraLetter || periodLetter ||
                IsAllowedDateKey(code, length, kFieldLengthLimit, state_.format.dateSeparator, iso);
        }
        if (!allowed) {
            return true;
        }
    }
    return false;
}

void frmMain::FieldCalendarChange(int field, CalendarId calendar) {
    if (calendar == kDefaultCalendar && !state_.mainWindowReady) {
        return;
    }
    QLineEdit* widget = field == 1 ? txbFirstDate : txbSecondDate;
    QString& text = field == 1 ? state_.firstDateText : state_.secondDateText;
    CalendarId& current = field == 1 ? state_.firstCalendar : state_.secondCalendar;
    const QString trimmed = TrimmedWhite(text);
    SetField(widget, text, trimmed);
    const QString converted = ConvertFieldCalendar(current, calendar, trimmed);
    if (!converted.isEmpty()) {
        SetField(widget, text, converted);
    }
    current = calendar;
}

QString frmMain::ConvertFieldCalendar(CalendarId source, CalendarId target, const QString& text) {
    ShowTodaysDate();
    // The focus stays where the calendar was chosen, so the arrow keys go on choosing.
    return FieldDateIn(state_, source, target, text);
}

void frmMain::ShowEngineMessage(ComputeMessageRow row) {
    ShowError(ComputeMessage(row, state_.language));
}

void frmMain::ShowError(const QString& text) {
    host().messageBox(state_.Caption(Caption::ErrorWord), text, MsgIcon::Exclamation);
}

void frmMain::ShowRefusedDate(int field, CalendarId calendar, const QString& text) {
    const QString why = RefusedDateMessage(field, calendar, text, state_.language);
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
        SetField(widget, index == 0 ? state_.firstDateText : state_.secondDateText, edit.text);
    }
    SetField(txbDateDiffDays, state_.dateDiffText, QString());
    FocusAtEnd(widget);
}

// The message for a field's date that was refused (field 1 or 2); false when there is none.
bool frmMain::ShowFieldRefusal(int field, FieldRefusal refusal) {
    switch (refusal) {
        case FieldRefusal::None:
            return false;
        case FieldRefusal::Invalid:
            ShowRefusedDate(
                field, state_.GetCal(field),
                TrimmedWhite(field == 1 ? state_.firstDateText : state_.secondDateText));
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
    SetField(txbFirstDate, state_.firstDateText, edit.text);
    SetField(txbSecondDate, state_.secondDateText, QString());
    FocusAtEnd(txbDateDiffDays);
}

void frmMain::cmdClearFirstDate_Click() {
    SetField(txbFirstDate, state_.firstDateText, QString());
    SetTheFocus();
}

void frmMain::cmdClearSecondDate_Click() {
    SetField(txbSecondDate, state_.secondDateText, QString());
    SetTheFocus();
}

void frmMain::cmdClearDateDiffDays_Click() {
    SetField(txbDateDiffDays, state_.dateDiffText, QString());
    SetTheFocus();
}

bool frmMain::ClearOneFieldDialog() {
    frmClearOneTextBox& dialog = EnsureClearOne();
    const QPoint origin = geometry().topLeft();
    const QPoint place(origin.x() + Frame3->x() + TwipsToPixels(this, 50),
                       origin.y() + TwipsToPixels(this, 2550));
    switch (dialog.Ask(place)) {
        case frmClearOneTextBox::Choice::FirstDate:
            SetField(txbFirstDate, state_.firstDateText, QString());
            return true;
        case frmClearOneTextBox::Choice::DateDiff:
            SetField(txbDateDiffDays, state_.dateDiffText, QString());
            return true;
        case frmClearOneTextBox::Choice::SecondDate:
            SetField(txbSecondDate, state_.secondDateText, QString());
            return true;
        case frmClearOneTextBox::Choice::Cancel:
            break;
    }
    return false;
}

void frmMain::cmdCompute_Click() {
    if (state_.batchRunning) {
        return;
    }
    SetField(txbFirstDate, state_.firstDateText, TrimmedWhite(state_.firstDateText));
    SetField(txbDateDiffDays, state_.dateDiffText, TrimmedWhite(state_.dateDiffText));
    SetField(txbSecondDate, state_.secondDateText, TrimmedWhite(state_.secondDateText));
    const bool first = !state_.firstDateText.isEmpty();
    const bool difference = !state_.dateDiffText.isEmpty();
    const bool second = !state_.secondDateText.isEmpty();

    if (!first && !difference && !second) {
        cmdToday_Click(0);
    } else if (!first && difference && !second) {
        SetTheFocus();
        return;
    } else if (first && difference && second) {
        if (!ClearOneFieldDialog()) {
            SetTheFocus();
            return;
        }
    }

    const bool firstGiven = !state_.firstDateText.isEmpty();
    const bool secondGiven = !state_.secondDateText.isEmpty();
    state_.conversionOnlyCase = (firstGiven != secondGiven) && state_.dateDiffText.isEmpty() &&
                                state_.firstCalendar == state_.secondCalendar;
    state_.GetParameters();
    SyncOutputFromView();

    // The engine rewrites a date it accepts into its canonical text; the fields show that.
    engine_->Compute(state_.firstDateText, state_.dateDiffText, state_.secondDateText);

    AppendPendingOutput();
    RefreshFieldsFromState();
    lblDayOrDays->setText(engine_->unitDifference() ? QString()
                                                    : state_.DayOrDays(engine_->DateDifference));
    SetTheFocus();
}

// ---------------------------------------------------------------------------------------------
// Today

QString frmMain::LabelDateText(std::int32_t jdn) const {
    const CalendarId calendar = state_.todayCalendar;
    // Every calendar names itself: the ORD, LPW and LPM notations alone read like others.
    return DateTextOfJdn(state_, calendar, jdn) + QLatin1Char(' ') + CalendarCode(calendar);
}

void frmMain::ShowTodaysDate() {
    if (!state_.mainWindowReady) {
        return;
    }
    const std::int32_t today = host_->todayJdn();
    const bool german = state_.language == kGerman;
    const CalendarEntry& calendar = Calendar(state_.todayCalendar);
    // A day number or a day of the year reads as a number, without the article.
    const bool number =
        calendar.fields == FieldKind::DayNumber || calendar.fields == FieldKind::YearDay;
    const QString der = german && !number ? QStringLiteral("der ") : QString();
    lblTodaysDate->setText(state_.Caption(Caption::TodayIs) + QLatin1Char(' ') +
                           DayNameIn(DayOfWeek(today), state_.language) + QStringLiteral(", ") +
                           der + LabelDateText(today));
    // A lunisolar date in its long form, with the year's name, above the label's usual tip.
    const QString clickTip = state_.Caption(Caption::ClickToChangeCalendar);
    const QString longDate = LunisolarLongDate(state_.todayCalendar, today, state_.language);
    lblTodaysDate->setToolTip(longDate.isEmpty() ? clickTip : longDate + u'\n' + clickTip);
    const std::int64_t week = std::int64_t{today} + 7;
    const QString weekText =
        week <= kMaxDayNumber ? LabelDateText(static_cast<std::int32_t>(week)) : QString();
    lblWeekFromToday->setText(state_.Caption(calendar.fiveDayWeekLabel
                                                 ? Caption::FiveDayWeekFromTodayIs
                                                 : Caption::WeekFromTodayIs) +
                              QLatin1Char(' ') + der + weekText);
}

void frmMain::Clock_Timer() {
    ShowTodaysDate();
}

void frmMain::StepTodayCalendar(bool forward) {
    const std::span<const CalendarId> cycle = TodayCycle();
    const auto at = std::find(cycle.begin(), cycle.end(), state_.todayCalendar);
    if (at == cycle.end()) {
        return;
    }
    const auto n = static_cast<std::ptrdiff_t>(cycle.size());
    const std::ptrdiff_t i = at - cycle.begin();
    state_.todayCalendar = cycle[static_cast<std::size_t>((i + (forward ? 1 : n - 1)) % n)];
    ShowTodaysDate();
}

void frmMain::cmdToday_Click(int index) {
    const CalendarId calendar = index == 0 ? state_.firstCalendar : state_.secondCalendar;
    const QString text = DateTextOfJdn(state_, calendar, host_->todayJdn());
    if (index == 0) {
        SetField(txbFirstDate, state_.firstDateText, text);
    } else {
        SetField(txbSecondDate, state_.secondDateText, text);
    }
    SetTheFocus();
}

void frmMain::cmdDisplayMonth_Click() {
    const QString first = TrimmedWhite(state_.firstDateText);
    SetField(txbFirstDate, state_.firstDateText, first);
    DateRecord shown = CivilOfJdn(host_->todayJdn(), 'G');
    const CalendarId calendar = state_.firstCalendar;
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
            if (display != MonthDisplay::CommonEraMonthOnly && state_.monthJulian != julian) {
                state_.monthJulian = julian;
                if (month_ != nullptr) {
                    month_->RefreshFromState();
                }
            }
        }
    }
    EnsureMonth().ShowMonth(shown.year, shown.month, day);
}

// ---------------------------------------------------------------------------------------------
// Input files and the output window

void frmMain::AddInputFile(const QString& filespec, int position) {
    if (filespec.isEmpty() || position < 0) {
        return;
    }
    int selected = static_cast<int>(state_.inputFiles.indexOf(filespec));
    if (selected < 0) {
        selected = std::min(position, static_cast<int>(state_.inputFiles.size()));
        state_.inputFiles.insert(selected, filespec);
    }
    state_.selectedInputFile = selected;
    state_.inputFileText = filespec;
    RefreshInputFilesFromState();
}

void frmMain::cmdInputFile_Click() {
    const int selected = state_.selectedInputFile;
    if (selected >= 0 && selected < state_.inputFiles.size()) {
        const QString& entry = state_.inputFiles[selected];
        const auto slash =
            std::max(entry.lastIndexOf(QLatin1Char('/')), entry.lastIndexOf(QLatin1Char('\\')));
        if (slash >= 0) {
            QDir::setCurrent(entry.left(slash + 1));
        }
    }
    const QString name =
        fileChooser_(state_.Caption(Caption::SpecifyInputFile), QDir::currentPath(),
                     state_.Caption(Caption::TextFilesFilter));
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
    state_.inputFileText = text;
    if (!text.isEmpty()) {
        const int selected = state_.selectedInputFile;
        const bool isSelectedEntry = selected >= 0 && selected < state_.inputFiles.size() &&
                                     state_.inputFiles[selected] == text;
        if (InputFilespecOK(text)) {
            if (!isSelectedEntry) {
                AddInputFile(text, 0);
            }
        } else {
            host().messageBox(QStringLiteral("Daybridge"), state_.Caption(Caption::Invalid) +
                                                               QStringLiteral("\n\n") +
                                                               state_.Text(kTextNotTxtName));
            state_.inputFileText.clear();
            state_.selectedInputFile = -1;
            RefreshInputFilesFromState();
        }
    }
    inLostFocus_ = false;
}

void frmMain::cboInputFile_Click() {
    if (cmdBatchCompute->isEnabled() && isVisible() && !state_.batchRunning) {
        cmdBatchCompute->setFocus();
    } else {
        SetTheFocus();
    }
}

void frmMain::cmdRemoveInputFileFromList_Click() {
    const int selected = state_.selectedInputFile;
    if (selected >= 0 && selected < state_.inputFiles.size()) {
        state_.inputFiles.removeAt(selected);
        state_.selectedInputFile = -1;
        state_.inputFileText.clear();
        RefreshInputFilesFromState();
    }
    SetTheFocus();
}

void frmMain::InputFileNotFound() {
    host().messageBox(state_.Caption(Caption::FileNotFound),
                      state_.Caption(Caption::InputFileDoesNotExist), MsgIcon::Exclamation);
}

void frmMain::cmdView_Click() {
    const QString text = cboInputFile->currentText();
    if (!text.isEmpty()) {
        const QFileInfo file(text);
        if (!file.isFile()) {
            InputFileNotFound();
        } else if (!urlOpener_(QUrl::fromLocalFile(file.absoluteFilePath()))) {
            host().messageBox(state_.Caption(Caption::View),
                              state_.Text(kTextNoApplicationOpens) + QStringLiteral("\n") +
                                  file.absoluteFilePath(),
                              MsgIcon::Exclamation);
        }
    }
    cboInputFile_Click();
}

void frmMain::cmdClearOutputWindow_Click() {
    state_.output.clear();
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
    const QString& text = state_.output.text();
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
            state_.output.clear();
            AppendPendingOutput();
        }
        host().messageBox(state_.Caption(Caption::OutputWindow),
                          state_.Caption(Caption::OutputWindowEmpty), MsgIcon::Exclamation);
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
        state_.output.setText(trimmed);
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
        cmdCopyOutput->setText(state_.Caption(Caption::CopySelectedToClipboard));
        width = state_.language == kEnglish ? 3750 : 4700;
    } else {
        cmdCopyOutput->setText(state_.Caption(Caption::CopyAllToClipboard));
        width = state_.language == kEnglish ? 2500 : state_.language == kGerman ? 3500 : 3000;
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
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(txbOutput->hasSelection() ? txbOutput->selectedText()
                                                 : txbOutput->toPlainText());
    txbOutput->clearSelection();
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
    state_.inputFileText = cboInputFile->currentText();
    if (!ExplainUnrunnableFile(state_.inputFileText.trimmed())) {
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
            fields[i]->setPlaceholderText(state_.Text(kTextEmptiedByRun));
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
                          state_.Caption(Caption::Invalid) + QStringLiteral("\n\n") +
                              state_.Text(kTextNotTxtName),
                          MsgIcon::Exclamation);
        return false;
    }
    const QFileInfo file(filespec);
    if (file.isFile() && file.size() == 0) {
        host().messageBox(QStringLiteral("Daybridge"),
                          state_.Text(kTextEmptyFile) + QStringLiteral("\n") + filespec,
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
        host().messageBox(QStringLiteral("Daybridge"), state_.Text(kTextPromptCancelled),
                          MsgIcon::Information);
    }
    SetTheFocus();
}

void frmMain::SetBatchControls(bool running) {
    cmdBatchCompute->setText(state_.Caption(running ? Caption::Stop : Caption::ProcessFile));
    cmdBatchCompute->setToolTip(running ? QString() : state_.Text(kTextProcessFileToolTip));
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

// ---------------------------------------------------------------------------------------------
// Events

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == txbFirstDate || watched == txbSecondDate || watched == txbDateDiffDays) {
            return KeyPressFilter(static_cast<QLineEdit*>(watched), key);
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (watched == lblTodaysDate || watched == lblWeekFromToday) {
            switch (key->key()) {
                case Qt::Key_Right:
                case Qt::Key_Down:
                case Qt::Key_Plus:
                case Qt::Key_Space:
                    StepTodayCalendar(true);
                    return true;
                case Qt::Key_Left:
                case Qt::Key_Up:
                case Qt::Key_Minus:
                    StepTodayCalendar(false);
                    return true;
                default:
                    break;
            }
        }
        if ((enter || key->key() == Qt::Key_Space) &&
            (watched == lblOnlineDocumentation || watched == lblVelmoraSystems)) {
            if (watched == lblOnlineDocumentation) {
                lblOnlineDocumentation_Click();
            } else {
                lblVelmoraSystems_Click();
            }
            return true;
        }
        if (enter && (watched == cboInputFile || watched == cboInputFile->lineEdit())) {
            cboInputFile_LostFocus();
            return true;
        }
        if (enter && watched == txbOutput && txbOutput->hasSelection()) {
            CopyOutputToClipboard();
            return true;
        }
    } else if (type == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (watched == cboInputFile && reason != Qt::PopupFocusReason &&
            reason != Qt::ActiveWindowFocusReason) {
            cboInputFile_LostFocus();
        } else if (watched == txbOutput) {
            UpdateCopyButton();
        }
    } else if (type == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == lblTodaysDate || watched == lblWeekFromToday) {
            StepTodayCalendar(mouse->button() != Qt::RightButton);
            return true;
        }
        if (watched == lblOnlineDocumentation && mouse->button() == Qt::LeftButton) {
            lblOnlineDocumentation_Click();
            return true;
        }
        if (watched == lblVelmoraSystems && mouse->button() == Qt::LeftButton) {
            lblVelmoraSystems_Click();
            return true;
        }
        if (watched == txbOutput->viewport()) {
            UpdateCopyButton();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace daybridge
