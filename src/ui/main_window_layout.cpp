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
#include <algorithm>
#include <array>
#include <span>

#include "compute/main_presenter.h"
#include "ui/desktop_keys.h"
#include "ui/frm_main.h"
#include "ui/main_window_table.h"
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

using namespace window_table;

const Layout& LayoutOf(Box box) {
    const std::span<const Layout> layouts = Layouts();
    return *std::find_if(layouts.begin(), layouts.end(),
                         [box](const Layout& layout) { return layout.box == box; });
}

// A layout as the layout table describes it, installed on `owner` when there is one.
QLayout* NewLayout(Box box, QWidget* owner) {
    const Layout& plan = LayoutOf(box);
    QLayout* layout = nullptr;
    if (plan.arrange == Arrange::Grid) {
        auto* grid = new QGridLayout(owner);
        if (plan.spacing >= 0) {
            grid->setHorizontalSpacing(plan.spacing);
        }
        if (plan.verticalSpacing >= 0) {
            grid->setVerticalSpacing(plan.verticalSpacing);
        }
        if (plan.stretchColumn >= 0) {
            grid->setColumnStretch(plan.stretchColumn, 1);
        }
        if (plan.tallRow >= 0) {
            grid->setRowMinimumHeight(plan.tallRow, plan.tallRowHeight);
        }
        layout = grid;
    } else {
        layout = plan.arrange == Arrange::Row ? static_cast<QLayout*>(new QHBoxLayout(owner))
                                              : new QVBoxLayout(owner);
        if (plan.spacing >= 0) {
            layout->setSpacing(plan.spacing);
        }
    }
    if (plan.margins[0] >= 0) {
        layout->setContentsMargins(plan.margins[0], plan.margins[1], plan.margins[2],
                                   plan.margins[3]);
    }
    return layout;
}

// Puts a row's widget or layout (or its spacing or stretch) in its place in `into`.
void Place(QLayout* into, const Control& control, QWidget* widget, QLayout* layout) {
    if (auto* grid = qobject_cast<QGridLayout*>(into)) {
        if (widget != nullptr) {
            grid->addWidget(widget, control.row, control.column, control.rowSpan,
                            control.columnSpan, control.align);
        } else {
            grid->addLayout(layout, control.row, control.column, control.rowSpan,
                            control.columnSpan, control.align);
        }
        return;
    }
    auto* box = static_cast<QBoxLayout*>(into);
    if (widget != nullptr) {
        box->addWidget(widget, control.stretch);
    } else if (layout != nullptr) {
        box->addLayout(layout, control.stretch);
    } else if (control.make == Make::Spacing) {
        box->addSpacing(control.size);
    } else {
        box->addStretch(1);
    }
}

// The row's font: the fixed font of its size, or the standard one made bold or underlined.
void SetFont(QWidget* widget, const Control& control) {
    if (control.font == Font::Fixed) {
        widget->setFont(FixedFont(control.points));
    } else if (control.font != Font::Standard) {
        QFont font = widget->font();
        if (control.font == Font::Bold) {
            font.setBold(true);
        } else {
            font.setUnderline(true);
        }
        widget->setFont(font);
    }
}

}  // namespace

void frmMain::BuildWindow() {
    // The check boxes join this group as the table makes them.
    checkOptions_ = new QButtonGroup(this);
    checkOptions_->setExclusive(false);
    QWidget* content = BuildControls();

    // The controls scroll inside the window, so a window smaller than they need (a small
    // screen, a large scale factor) still reaches all of them; on a screen with room they
    // fill the window as a plain layout would.
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

// Makes the rows of the control table in their order, each put in its place as it is made, and
// returns the widget that holds them all.
QWidget* frmMain::BuildControls() {
    auto* content = Named(new QWidget, QStringLiteral("content"));
    std::array<QLayout*, kBoxCount> layouts{};
    const auto layoutOf = [&layouts](Box box) -> QLayout*& {
        return layouts[static_cast<std::size_t>(box)];
    };
    layoutOf(Box::Content) = NewLayout(Box::Content, content);
    int checkId = 0;
    for (const Control& control : ControlTable()) {
        QLayout* into = layoutOf(control.in);
        if (control.make == Make::Layout) {
            QLayout* layout = layoutOf(control.holds) = NewLayout(control.holds, nullptr);
            Place(into, control, nullptr, layout);
            continue;
        }
        if (control.make == Make::Spacing || control.make == Make::Stretch) {
            Place(into, control, nullptr, nullptr);
            continue;
        }
        QWidget* widget = MakeControl(control);
        if (control.make == Make::Panel) {
            layoutOf(control.holds) = NewLayout(control.holds, widget);
        } else if (control.make == Make::CheckBox) {
            checkOptions_->addButton(static_cast<QCheckBox*>(widget), checkId++);
        }
        Place(into, control, widget, nullptr);
    }
    return content;
}

// One control of the table: made as its kind asks, then named, sized, given its font and flags
// and stored in its member.
QWidget* frmMain::MakeControl(const Control& control) {
    QWidget* widget = nullptr;
    switch (control.make) {
        case Make::Panel:
            widget = new Panel;
            break;
        case Make::CalendarOptions:
            widget = BuildCalendarOptions(control.name, control.index);
            break;
        case Make::Field:
            widget = new QLineEdit;
            break;
        case Make::StepArrows: {
            auto* arrows = new QScrollBar(Qt::Vertical);
            arrows->setRange(-1, 1);
            arrows->setValue(0);
            arrows->setPageStep(1);
            arrows->setFixedHeight(txbFirstDate->sizeHint().height());  // as tall as the fields
            widget = arrows;
            break;
        }
        case Make::Button:
        case Make::DefaultButton: {
            auto* button = control.make == Make::Button ? new QPushButton : new DefaultButton;
            button->setAutoDefault(false);
            if (control.make == Make::DefaultButton) {
                button->setDefault(true);
            }
            widget = button;
            break;
        }
        case Make::Label:
            widget = new QLabel;
            break;
        case Make::ClickLabel:
            widget = new FocusFrameLabel;
            break;
        case Make::CheckBox:
            widget = new QCheckBox;
            break;
        case Make::Combo:
            widget = new QComboBox;
            break;
        case Make::FileCombo:
            widget = MakeFileList();
            break;
        case Make::Output: {
            auto* output = new OutputView;
            output->showOutput(output_);
            output->viewport()->installEventFilter(this);
            widget = output;
            break;
        }
        case Make::Layout:
        case Make::Spacing:
        case Make::Stretch:
            return nullptr;
    }
    Shape(widget, control);
    control.bind(*this, widget);
    return widget;
}

// The input-file list: typed names are the list's text, never new entries.
QComboBox* frmMain::MakeFileList() {
    auto* list = new QComboBox;
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    list->setMinimumContentsLength(30);
    list->lineEdit()->installEventFilter(this);
    return list;
}

// What every kind of control may take from its row: name, index, sizes, font and flags.
void frmMain::Shape(QWidget* widget, const Control& control) {
    widget->setObjectName(QString::fromLatin1(control.name));
    if (control.index >= 0 && control.make != Make::CalendarOptions) {
        widget->setProperty("index", control.index);
    }
    SetFont(widget, control);
    if (control.make == Make::Field) {
        // Wide enough for its digits, with room for the frame.
        widget->setFixedWidth(
            QFontMetrics(widget->font()).horizontalAdvance(QString(control.size, u'0')) + 12);
    }
    if (control.fixedWidth > 0) {
        widget->setFixedWidth(control.fixedWidth);
    }
    if (control.minimumWidth > 0) {
        widget->setMinimumWidth(control.minimumWidth);
    }
    if (control.minimumHeight > 0) {
        widget->setMinimumHeight(control.minimumHeight);
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (control.margin > 0) {
            label->setMargin(control.margin);
        }
        if ((control.flags & kTopRightText) != 0) {
            label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        }
    }
    if ((control.flags & kHandCursor) != 0) {
        widget->setCursor(Qt::PointingHandCursor);
    }
    if ((control.flags & kWatched) != 0) {
        widget->installEventFilter(this);
    }
}

// The calendar options of date field `field` (0 or 1) in a grid, with the "Other" option and
// its list of the world's calendars in the grid's free place.
QFrame* frmMain::BuildCalendarOptions(const char* frameName, int field) {
    const QString prefix =
        field == 0 ? QStringLiteral("optFirstDateIs") : QStringLiteral("optSecondDateIs");
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
        auto* option = Named(new QRadioButton, prefix + CalendarCode(calendar));
        group->addButton(option, IndexOf(calendar));
        grid->addWidget(option, i / 4, i % 4);
    }
    auto* otherOption = Named(new QRadioButton, prefix + QStringLiteral("Other"));
    group->addButton(otherOption, kOtherCalendarOption);
    QComboBox* list = Named(new QComboBox, field == 0 ? QStringLiteral("cboFirstDateCalendar")
                                                      : QStringLiteral("cboSecondDateCalendar"));
    cboOtherCalendar[field] = list;
    for (const CalendarId calendar : OtherListCalendars()) {
        list->addItem(CalendarCode(calendar), IndexOf(calendar));
    }
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* other = new QHBoxLayout;
    other->addWidget(otherOption);
    other->addWidget(list);
    other->addStretch(1);
    other->setSpacing(4);
    grid->addLayout(other, 1, 3);
    grid->setColumnStretch(4, 1);
    return frame;
}

void frmMain::SetColours() {
    // Controls inside the cyan frames are drawn on the frame's own background; the panels paint
    // their own rounded background.
    for (const Control& control : ControlTable()) {
        if (control.look != Look::Plain) {
            Paint(findChild<QWidget*>(QString::fromLatin1(control.name)), kCyan,
                  control.look == Look::Link ? kLinkBlue : QColor(Qt::black),
                  control.look == Look::Filled);
        }
    }
    for (const QButtonGroup* group : calendarOptions_) {
        for (QAbstractButton* option : group->buttons()) {
            Paint(option, kCyan, Qt::black, false);
        }
    }
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
