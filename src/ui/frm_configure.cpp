#include "ui/frm_configure.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "calendar/gregorian_switch.h"
#include "calendar/week_fiscal_rules.h"
#include "datetext/date_parse.h"
#include "env/holiday_files.h"
#include "env/side_settings.h"
#include "ui/desktop_keys.h"
#include "ui/screen_fit.h"

namespace daybridge {
namespace {

// Background of the dialog's frames, labels and options: red 192, green 255, blue 255.
const QColor kBackground(192, 255, 255);

// Texts of dbrg_text.dat.
constexpr int kTextWeekRule = 1166;  // the labels of the week and fiscal rules
constexpr int kTextFiscalYear = 1167;
constexpr int kTextFiscalWeeks = 1168;
constexpr int kTextGregorianSwitch = 567;  // the label of the historical calendar's switch
// The holiday categories' boxes: the label, the categories by their bits (public first), half
// days.
constexpr int kTextHolidaysThatCount = 623;
constexpr int kTextFirstCategory = 624;
constexpr int kTextHalfDays = 629;

template <class T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// 31 December 2012 in a date order, written with a separator.
QString ExampleDate(int dateFormat, const QString& separator) {
    const QStringList parts =
        dateFormat == kDateFormatYMD
            ? QStringList{QStringLiteral("2012"), QStringLiteral("12"), QStringLiteral("31")}
        : dateFormat == kDateFormatDMY
            ? QStringList{QStringLiteral("31"), QStringLiteral("12"), QStringLiteral("2012")}
            : QStringList{QStringLiteral("12"), QStringLiteral("31"), QStringLiteral("2012")};
    return parts.join(separator);
}

}  // namespace

QString RewriteForHyphen(const QString& text, bool hyphen) {
    QString rewritten = text.trimmed();
    const int ordinalKind = OrdinalTextKind(rewritten);
    if (hyphen && ordinalKind == 1) {
        rewritten.insert(4, u'-');
    } else if (!hyphen && ordinalKind == -1) {
        rewritten.remove(4, 1);
    }
    const int isoKind = IsoWeekTextKind(rewritten);
    if (hyphen && isoKind == 1) {
        rewritten.replace(QStringLiteral("W"), QStringLiteral("-W"));
        rewritten.insert(rewritten.size() - 1, u'-');
    } else if (!hyphen && isoKind == -1) {
        // A year's minus sign stays.
        const bool negative = rewritten.startsWith(u'-');
        rewritten = (negative ? QStringLiteral("-") : QString()) +
                    rewritten.mid(negative ? 1 : 0).remove(u'-');
    }
    return rewritten;
}

std::optional<int> ReadLimit(const QString& text, int emptyValue, bool* tooLarge) {
    if (tooLarge != nullptr) {
        *tooLarge = false;
    }
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return emptyValue;
    }
    qsizetype i = trimmed.startsWith(u'+') ? 1 : 0;
    if (i >= trimmed.size()) {
        return std::nullopt;
    }
    long long value = 0;
    bool large = false;
    for (; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        if (!large) {
            value = value * 10 + (c.unicode() - u'0');
            large = value > kLargestLimit;
        }
    }
    if (large) {
        if (tooLarge != nullptr) {
            *tooLarge = true;
        }
        return std::nullopt;
    }
    return static_cast<int>(value);
}

frmConfigure::frmConfigure(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("frmConfigure"));
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);

    frame1_ = Named(new QFrame(this), "Frame1");
    frame1_->setFrameShape(QFrame::StyledPanel);
    frame4_ = Named(new QFrame(this), "Frame4");
    frame4_->setFrameShape(QFrame::StyledPanel);
    for (QFrame* frame : {frame1_, frame4_}) {
        frame->setPalette(colours);
        frame->setAutoFillBackground(true);
    }

    BuildFormatFrame();
    BuildLimitsFrame();
    BuildWorkdaysFrame();
    cmdClose_ = Named(new QPushButton(this), "cmdClose");
    cmdClose_->setDefault(true);

    auto* top = new QVBoxLayout(this);
    top->addWidget(frame1_);
    top->addWidget(frame4_);
    top->addWidget(frameWorkdays_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdClose_);
    top->addLayout(buttons);

    ConnectOptions();
    PressButtonsOnEnter(this);
    ShowFocusOnBackground(this);
    KeepOnScreen(this);

    RefreshFromState();
    SetLanguageDependentText();
}

// Frame1: the date format, the two separators, the hyphen and the day names.
void frmConfigure::BuildFormatFrame() {
    auto* dateFormat = Named(new QFrame(frame1_), "frmDateFormat");
    lblDateFormat_ = Named(new QLabel(dateFormat), "lblDateFormat");
    optDateFormatIsYMD_ = Named(new QRadioButton(dateFormat), "optDateFormatIsYMD");
    optDateFormatIsDMY_ = Named(new QRadioButton(dateFormat), "optDateFormatIsDMY");
    optDateFormatIsMDY_ = Named(new QRadioButton(dateFormat), "optDateFormatIsMDY");
    auto* dateFormatLayout = new QVBoxLayout(dateFormat);
    dateFormatLayout->addWidget(lblDateFormat_);
    dateFormatLayout->addWidget(optDateFormatIsYMD_);
    dateFormatLayout->addWidget(optDateFormatIsDMY_);
    dateFormatLayout->addWidget(optDateFormatIsMDY_);
    dateFormatLayout->addStretch(1);

    auto* separator = Named(new QFrame(frame1_), "frmDateSeparator");
    lblDateSeparator_ = Named(new QLabel(separator), "lblDateSeparator");
    optSeparatorIsDash_ = Named(new QRadioButton(separator), "optSeparatorIsDash");
    optSeparatorIsSlash_ = Named(new QRadioButton(separator), "optSeparatorIsSlash");
    optSeparatorIsDot_ = Named(new QRadioButton(separator), "optSeparatorIsDot");
    auto* separatorLayout = new QVBoxLayout(separator);
    separatorLayout->addWidget(lblDateSeparator_);
    separatorLayout->addWidget(optSeparatorIsDash_);
    separatorLayout->addWidget(optSeparatorIsSlash_);
    separatorLayout->addWidget(optSeparatorIsDot_);
    separatorLayout->addStretch(1);

    auto* thousands = Named(new QFrame(frame1_), "frmThousandsSeparator");
    lblThousandsSeparator_ = Named(new QLabel(thousands), "lblThousandsSeparator");
    optThousSepIsComma_ = Named(new QRadioButton(thousands), "optThousSepIsComma");
    optThousSepIsDot_ = Named(new QRadioButton(thousands), "optThousSepIsDot");
    optThousSepNone_ = Named(new QRadioButton(thousands), "optThousSepNone");
    auto* thousandsLayout = new QVBoxLayout(thousands);
    thousandsLayout->addWidget(lblThousandsSeparator_);
    thousandsLayout->addWidget(optThousSepIsComma_);
    thousandsLayout->addWidget(optThousSepIsDot_);
    thousandsLayout->addWidget(optThousSepNone_);
    thousandsLayout->addStretch(1);

    chkHyphen_ = Named(new QCheckBox(frame1_), "chkHyphen");
    chkDisplayDayNames_ = Named(new QCheckBox(frame1_), "chkDisplayDayNames");

    auto* frame1Layout = new QGridLayout(frame1_);
    frame1Layout->addWidget(dateFormat, 0, 0);
    frame1Layout->addWidget(separator, 0, 1);
    frame1Layout->addWidget(thousands, 0, 2);
    frame1Layout->addWidget(chkHyphen_, 1, 0, 1, 3);
    frame1Layout->addWidget(chkDisplayDayNames_, 2, 0, 1, 3);
}

// Frame4: the batch limits, the Gregorian switch and the week and fiscal rules.
void frmConfigure::BuildLimitsFrame() {
    lblMaxNumErrors_ = Named(new QLabel(frame4_), "lblMaxNumErrors");
    txbMaxNumErrors_ = Named(new QLineEdit(frame4_), "txbMaxNumErrors");
    lblAutoEnlarge_ = Named(new QLabel(frame4_), "lblAutoEnlarge");
    txbAutoEnlarge_ = Named(new QLineEdit(frame4_), "txbAutoEnlarge");
    for (QLineEdit* field : {txbMaxNumErrors_, txbAutoEnlarge_}) {
        field->setMaxLength(12);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(u'0') * 9);
        field->setAlignment(Qt::AlignRight);
    }
    lblMaxNumErrors_->setBuddy(txbMaxNumErrors_);
    lblAutoEnlarge_->setBuddy(txbAutoEnlarge_);
    lblMaxNumErrors_->setWordWrap(true);
    lblAutoEnlarge_->setWordWrap(true);
    auto* frame4Layout = new QGridLayout(frame4_);
    frame4Layout->addWidget(lblMaxNumErrors_, 0, 0);
    frame4Layout->addWidget(txbMaxNumErrors_, 0, 1, Qt::AlignTop);
    frame4Layout->addWidget(lblAutoEnlarge_, 1, 0);
    frame4Layout->addWidget(txbAutoEnlarge_, 1, 1, Qt::AlignTop);
    lblGregorianSwitch_ = Named(new QLabel(frame4_), "lblGregorianSwitch");
    txbGregorianSwitch_ = Named(new QLineEdit(frame4_), "txbGregorianSwitch");
    txbGregorianSwitch_->setMaxLength(10);
    txbGregorianSwitch_->setFixedWidth(
        txbGregorianSwitch_->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) +
        txbGregorianSwitch_->fontMetrics().averageCharWidth() * 2);
    lblGregorianSwitch_->setBuddy(txbGregorianSwitch_);
    lblGregorianSwitch_->setWordWrap(true);
    frame4Layout->addWidget(lblGregorianSwitch_, 2, 0);
    frame4Layout->addWidget(txbGregorianSwitch_, 2, 1, Qt::AlignTop);
    // The rules of the week-date and fiscal calendars, as daybridge.conf writes them.
    const struct {
        QLabel*& label;
        QLineEdit*& box;
        const char* labelName;
        const char* boxName;
    } rules[] = {{lblWeekRule_, txbWeekRule_, "lblWeekRule", "txbWeekRule"},
                 {lblFiscalYear_, txbFiscalYear_, "lblFiscalYear", "txbFiscalYear"},
                 {lblFiscalWeeks_, txbFiscalWeeks_, "lblFiscalWeeks", "txbFiscalWeeks"}};
    int row = 3;
    for (const auto& rule : rules) {
        rule.label = Named(new QLabel(frame4_), rule.labelName);
        rule.box = Named(new QLineEdit(frame4_), rule.boxName);
        rule.box->setMaxLength(40);
        rule.label->setBuddy(rule.box);
        rule.label->setWordWrap(true);
        frame4Layout->addWidget(rule.label, row, 0);
        frame4Layout->addWidget(rule.box, row, 1, Qt::AlignTop);
        ++row;
    }
    frame4Layout->setColumnStretch(0, 1);
}

// The working days: the weekend, the holiday set and its categories.
void frmConfigure::BuildWorkdaysFrame() {
    frameWorkdays_ = Named(new QFrame(this), "frmWorkdays");
    frameWorkdays_->setFrameShape(QFrame::StyledPanel);
    frameWorkdays_->setPalette(palette());
    frameWorkdays_->setAutoFillBackground(true);
    lblWeekendDays_ = Named(new QLabel(frameWorkdays_), "lblWeekendDays");
    auto* workdaysLayout = new QGridLayout(frameWorkdays_);
    workdaysLayout->addWidget(lblWeekendDays_, 0, 0, 1, 7);
    for (int day = 0; day < 7; ++day) {
        const QByteArray name = "chkWeekend" + QByteArray::number(day);
        chkWeekend_[static_cast<std::size_t>(day)] =
            Named(new QCheckBox(frameWorkdays_), name.constData());
        workdaysLayout->addWidget(chkWeekend_[static_cast<std::size_t>(day)], 1, day);
        connect(chkWeekend_[static_cast<std::size_t>(day)], &QCheckBox::clicked, this,
                [this, day](bool on) { WeekendDayClicked(day, on); });
    }
    lblHolidays_ = Named(new QLabel(frameWorkdays_), "lblHolidays");
    cboHolidays_ = Named(new QComboBox(frameWorkdays_), "cboHolidays");
    cmdHolidayFile_ = Named(new QPushButton(frameWorkdays_), "cmdHolidayFile");
    txbHolidayFind_ = Named(new QLineEdit(frameWorkdays_), "txbHolidayFind");
    lblHolidays_->setBuddy(cboHolidays_);
    workdaysLayout->addWidget(lblHolidays_, 2, 0, 1, 2);
    workdaysLayout->addWidget(cboHolidays_, 2, 2, 1, 3);
    workdaysLayout->addWidget(cmdHolidayFile_, 2, 5, 1, 2);
    workdaysLayout->addWidget(txbHolidayFind_, 3, 2, 1, 3);
    // Typing narrows the list of sets to those whose title, name or region holds the text.
    connect(txbHolidayFind_, &QLineEdit::textChanged, this, [this] { FillHolidayList(); });
    connect(cboHolidays_, &QComboBox::activated, this,
            [this](int index) { HolidayChoiceActivated(index); });
    connect(cmdHolidayFile_, &QPushButton::clicked, this, [this] { HolidayFileClicked(); });
    lblHolidayCategories_ = Named(new QLabel(frameWorkdays_), "lblHolidayCategories");
    workdaysLayout->addWidget(lblHolidayCategories_, 4, 0, 1, 7);
    for (std::size_t i = 0; i < chkCategory_.size(); ++i) {
        const QByteArray name = "chkCategory" + QByteArray::number(static_cast<int>(i));
        chkCategory_[i] = Named(new QCheckBox(frameWorkdays_), name.constData());
        workdaysLayout->addWidget(chkCategory_[i], 5, static_cast<int>(i));
        connect(chkCategory_[i], &QCheckBox::clicked, this, [this] { HolidaySelectionClicked(); });
    }
    chkHalfDays_ = Named(new QCheckBox(frameWorkdays_), "chkHalfDays");
    workdaysLayout->addWidget(chkHalfDays_, 5, 5, 1, 2);
    connect(chkHalfDays_, &QCheckBox::clicked, this, [this] { HolidaySelectionClicked(); });
}

void frmConfigure::ConnectOptions() {
    connect(optDateFormatIsYMD_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            DateFormatClicked(kDateFormatYMD);
        }
    });
    connect(optDateFormatIsDMY_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            DateFormatClicked(kDateFormatDMY);
        }
    });
    connect(optDateFormatIsMDY_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            DateFormatClicked(kDateFormatMDY);
        }
    });
    const auto separatorOption = [this](QRadioButton* option, const char* text) {
        connect(option, &QRadioButton::toggled, this, [this, text](bool on) {
            if (on) {
                SeparatorClicked(QString::fromLatin1(text));
            }
        });
    };
    separatorOption(optSeparatorIsDash_, "-");
    separatorOption(optSeparatorIsSlash_, "/");
    separatorOption(optSeparatorIsDot_, ".");
    const auto thousandsOption = [this](QRadioButton* option, const char* text) {
        connect(option, &QRadioButton::toggled, this, [this, text](bool on) {
            if (on) {
                ThousandsClicked(QString::fromLatin1(text));
            }
        });
    };
    thousandsOption(optThousSepIsComma_, ",");
    thousandsOption(optThousSepIsDot_, ".");
    thousandsOption(optThousSepNone_, "");
    connect(chkHyphen_, &QCheckBox::clicked, this, [this](bool on) { chkHyphen_Click(on); });
    connect(chkDisplayDayNames_, &QCheckBox::toggled, this,
            [this](bool on) { state_.settings.displayDayNames = on; });
    connect(cmdClose_, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

void frmConfigure::SetLanguageDependentText() {
    setWindowTitle(state_.settings.Caption(Caption::Configure));
    lblDateFormat_->setText(state_.settings.Caption(Caption::DateFormatFrame));
    optDateFormatIsYMD_->setText(state_.settings.Caption(Caption::OrderYMD));
    optDateFormatIsDMY_->setText(state_.settings.Caption(Caption::OrderDMY));
    optDateFormatIsMDY_->setText(state_.settings.Caption(Caption::OrderMDY));
    lblDateSeparator_->setText(state_.settings.Caption(Caption::DateSeparatorFrame));
    lblThousandsSeparator_->setText(state_.settings.Caption(Caption::ThousandsSeparatorFrame));
    optThousSepIsComma_->setText(state_.settings.Caption(Caption::ThousandsComma));
    optThousSepIsDot_->setText(state_.settings.Caption(Caption::ThousandsDot));
    optThousSepNone_->setText(state_.settings.Caption(Caption::ThousandsNone));
    chkHyphen_->setText(state_.settings.Caption(Caption::Hyphen));
    chkDisplayDayNames_->setText(state_.settings.Caption(Caption::DisplayDayNames));
    lblMaxNumErrors_->setText(state_.settings.Caption(Caption::MaxNumErrors));
    lblAutoEnlarge_->setText(state_.settings.Caption(Caption::AutoEnlarge));
    lblGregorianSwitch_->setText(state_.settings.Text(kTextGregorianSwitch));
    lblWeekRule_->setText(state_.settings.Text(kTextWeekRule));
    lblFiscalYear_->setText(state_.settings.Text(kTextFiscalYear));
    lblFiscalWeeks_->setText(state_.settings.Text(kTextFiscalWeeks));
    cmdClose_->setText(state_.settings.Caption(Caption::Close));
    lblWeekendDays_->setText(state_.settings.Caption(Caption::WeekendDaysFrame));
    // Monday first, abbreviated as each language does: "Mon", "Mo".
    const int abbreviation = state_.settings.language == kGerman ? 2 : 3;
    for (int day = 0; day < 7; ++day) {
        chkWeekend_[static_cast<std::size_t>(day)]->setText(
            DayNameIn((day + 1) % 7, state_.settings.language).left(abbreviation));
    }
    lblHolidays_->setText(state_.settings.Caption(Caption::HolidaysFrame));
    lblHolidayCategories_->setText(state_.settings.Text(kTextHolidaysThatCount));
    for (std::size_t i = 0; i < chkCategory_.size(); ++i) {
        chkCategory_[i]->setText(state_.settings.Text(kTextFirstCategory + static_cast<int>(i)));
    }
    chkHalfDays_->setText(state_.settings.Text(kTextHalfDays));
    cmdHolidayFile_->setText(state_.settings.Caption(Caption::HolidayFileButton));
    txbHolidayFind_->setPlaceholderText(state_.settings.Caption(Caption::HolidayFind));
    ShowWorkdays();
    AssignMnemonics(this);
}

void frmConfigure::RefreshFromState() {
    {
        const QSignalBlocker b1(optDateFormatIsYMD_), b2(optDateFormatIsDMY_),
            b3(optDateFormatIsMDY_), b4(optSeparatorIsDash_), b5(optSeparatorIsSlash_),
            b6(optSeparatorIsDot_), b7(optThousSepIsComma_), b8(optThousSepIsDot_),
            b9(optThousSepNone_), b10(chkHyphen_), b11(chkDisplayDayNames_);
        const TextFormat& format = state_.settings.format;
        (format.dateFormat == kDateFormatMDY   ? optDateFormatIsMDY_
         : format.dateFormat == kDateFormatDMY ? optDateFormatIsDMY_
                                               : optDateFormatIsYMD_)
            ->setChecked(true);
        (format.dateSeparator == QLatin1String(".")   ? optSeparatorIsDot_
         : format.dateSeparator == QLatin1String("/") ? optSeparatorIsSlash_
                                                      : optSeparatorIsDash_)
            ->setChecked(true);
        (format.thousandsSeparator.isEmpty()               ? optThousSepNone_
         : format.thousandsSeparator == QLatin1String(".") ? optThousSepIsDot_
                                                           : optThousSepIsComma_)
            ->setChecked(true);
        chkHyphen_->setChecked(format.hyphen);
        chkDisplayDayNames_->setChecked(state_.settings.displayDayNames);
    }
    SetSeparatorCaptions();
    ShowLimits();
    ShowWorkdays();
}

void frmConfigure::SetBatchRunning(bool running) {
    frame1_->setEnabled(!running);
    frameWorkdays_->setEnabled(!running);
    AssignMnemonics(this);
}

// The check boxes and the set list as the working-day calendar in force has them. A set from a
// file is listed after the shipped ones by its path.
void frmConfigure::ShowWorkdays() {
    const WorkdayCalendar& workdays = state_.settings.workdays;
    for (int day = 0; day < 7; ++day) {
        const QSignalBlocker blocker(chkWeekend_[static_cast<std::size_t>(day)]);
        chkWeekend_[static_cast<std::size_t>(day)]->setChecked(((workdays.weekend() >> day) & 1) !=
                                                               0);
    }
    const std::uint8_t counted = workdays.CountedCategories();
    for (std::size_t i = 0; i < chkCategory_.size(); ++i) {
        const QSignalBlocker blocker(chkCategory_[i]);
        chkCategory_[i]->setChecked(((counted >> i) & 1) != 0);
    }
    const QSignalBlocker blocker(chkHalfDays_);
    chkHalfDays_->setChecked(workdays.selection().halfDays);
    FillHolidayList();
}

// The categories ticked and the half days, as the working-day calendar's choice; ticking the
// set's own categories leaves the choice to the set again.
void frmConfigure::HolidaySelectionClicked() {
    std::uint8_t categories = 0;
    for (std::size_t i = 0; i < chkCategory_.size(); ++i) {
        if (chkCategory_[i]->isChecked()) {
            categories = static_cast<std::uint8_t>(categories | (1U << i));
        }
    }
    const HolidaySet* set = state_.settings.workdays.holidays();
    const std::uint8_t own = set != nullptr ? set->info.counts : kDefaultCounts;
    HolidaySelection selection;
    selection.categories = categories == own ? std::nullopt : std::optional(categories);
    selection.halfDays = chkHalfDays_->isChecked();
    WorkdayCalendar next(state_.settings.workdays.weekend(), state_.settings.workdays.holidaySet(),
                         selection);
    if (set != nullptr && !next.HasWorkday()) {
        RefuseNoWorkingDay(next);
        return;
    }
    state_.settings.workdays = std::move(next);
    emit WorkdaysChanged();
}

// The shipped sets by their titles (a country's subdivisions after it), narrowed by the find
// box; "None" first and the set in force always listed, a set from a file by its path.
void frmConfigure::FillHolidayList() {
    const WorkdayCalendar& workdays = state_.settings.workdays;
    const QString find = txbHolidayFind_->text().trimmed();
    const QSignalBlocker blocker(cboHolidays_);
    cboHolidays_->clear();
    cboHolidays_->addItem(state_.settings.Caption(Caption::NoHolidays), QString());
    const QString current = workdays.holidays() != nullptr ? workdays.holidays()->name : QString();
    if (titlesLanguage_ != state_.settings.language) {  // read once per language, not per keystroke
        titles_ = ShippedHolidaySetTitles(state_.settings.language);
        titlesLanguage_ = state_.settings.language;
    }
    for (const ShippedSetTitle& set : titles_) {
        const QString& title = state_.settings.language == kGerman ? set.german : set.english;
        const bool found = find.isEmpty() || set.name == current ||
                           title.contains(find, Qt::CaseInsensitive) ||
                           set.name.contains(find, Qt::CaseInsensitive) ||
                           set.region.startsWith(find, Qt::CaseInsensitive);
        if (found) {
            cboHolidays_->addItem(title, set.name);
        }
    }
    int index = cboHolidays_->findData(current);
    if (index < 0) {
        cboHolidays_->addItem(current, current);
        index = cboHolidays_->count() - 1;
    }
    cboHolidays_->setCurrentIndex(index);
}

void frmConfigure::WeekendDayClicked(int day, bool on) {
    const auto bit = static_cast<std::uint8_t>(1U << day);
    const auto weekend = static_cast<std::uint8_t>(on ? state_.settings.workdays.weekend() | bit
                                                      : state_.settings.workdays.weekend() & ~bit);
    if (weekend == WorkdayCalendar::kAllDays) {
        // Nothing would be left to count.
        Message(state_.settings.Caption(Caption::InvalidInput),
                state_.settings.Caption(Caption::AllDaysWeekend));
        ShowWorkdays();
        return;
    }
    WorkdayCalendar next(weekend, state_.settings.workdays.holidaySet(),
                         state_.settings.workdays.selection());
    if (!next.HasWorkday()) {
        RefuseNoWorkingDay(next);
        return;
    }
    state_.settings.workdays = std::move(next);
    emit WorkdaysChanged();
}

void frmConfigure::HolidayChoiceActivated(int index) {
    if (!TakeHolidaySet(cboHolidays_->itemData(index).toString())) {
        ShowWorkdays();
    }
}

void frmConfigure::HolidayFileClicked() {
    const QString path = fileHook_
                             ? fileHook_()
                             : QFileDialog::getOpenFileName(
                                   this, state_.settings.Caption(Caption::HolidaysFrame), QString(),
                                   state_.settings.Caption(Caption::HolidayFileFilter));
    if (!path.isEmpty()) {
        TakeHolidaySet(path);
    }
    ShowWorkdays();
}

// Loads a shipped set or a file (empty: no holidays) into the working-day calendar. A set that
// does not load is refused with the reason and the calendar keeps its set.
bool frmConfigure::TakeHolidaySet(const QString& nameOrPath) {
    std::shared_ptr<const HolidaySet> set;
    if (!nameOrPath.isEmpty()) {
        QString why;
        set = LoadHolidaySet(nameOrPath, why, {state_.settings.language, {}});
        if (set == nullptr) {
            Message(
                state_.settings.Caption(Caption::InvalidInput),
                state_.settings.Caption(Caption::HolidayFileNotLoaded) + QLatin1Char('\n') + why);
            return false;
        }
    }
    WorkdayCalendar next(state_.settings.workdays.weekend(), set,
                         state_.settings.workdays.selection());
    if (!next.HasWorkday()) {
        RefuseNoWorkingDay(next);
        return false;
    }
    state_.settings.workdays = std::move(next);
    emit WorkdaysChanged();
    return true;
}

// A weekend and holiday set that together leave no working day are refused; the calendar in
// force stays and the boxes show it again.
void frmConfigure::RefuseNoWorkingDay(const WorkdayCalendar& refused) {
    Message(state_.settings.Caption(Caption::InvalidInput),
            NoWorkingDayText(WeekendDayNamesIn(refused.weekend(), state_.settings.language),
                             refused.holidays()->name, state_.settings.language));
    ShowWorkdays();
}

void frmConfigure::SetSeparatorCaptions() {
    const int order = state_.settings.format.dateFormat;
    optSeparatorIsDash_->setText(ExampleDate(order, QStringLiteral("-")));
    optSeparatorIsSlash_->setText(ExampleDate(order, QStringLiteral("/")));
    optSeparatorIsDot_->setText(ExampleDate(order, QStringLiteral(".")));
    AssignMnemonics(this);
}

void frmConfigure::ShowLimits() {
    txbMaxNumErrors_->setText(state_.settings.maxNumErrors == 0
                                  ? QString()
                                  : QString::number(state_.settings.maxNumErrors));
    txbAutoEnlarge_->setText(state_.settings.autoEnlargeBytes == kAutoEnlargeNever
                                 ? QString()
                                 : QString::number(state_.settings.autoEnlargeBytes));
    txbGregorianSwitch_->setText(GregorianSwitchText(GregorianSwitchJdn()));
    txbWeekRule_->setText(WeekRuleText(WeekDateRule()));
    txbFiscalYear_->setText(MonthFiscalRuleText(MonthFiscalYearRule()));
    txbFiscalWeeks_->setText(WeekFiscalRuleText(WeekFiscalYearRule()));
}

void frmConfigure::Message(const QString& title, const QString& text) {
    if (messageHook_) {
        messageHook_(title, text);
        return;
    }
    QMessageBox::warning(this, title, text);
}

void frmConfigure::DateFormatClicked(int dateFormat) {
    state_.settings.format.dateFormat = dateFormat;
    SetSeparatorCaptions();
    state_.session.firstDateText.clear();
    state_.session.dateDiffText.clear();
    state_.session.secondDateText.clear();
    emit ClearInputWindows();
    emit ShowTodaysDate();
}

void frmConfigure::SeparatorClicked(const QString& separator) {
    state_.settings.format.dateSeparator = separator;
    state_.session.firstDateText.clear();
    state_.session.dateDiffText.clear();
    state_.session.secondDateText.clear();
    emit ClearInputWindows();
    emit ShowTodaysDate();
}

void frmConfigure::ThousandsClicked(const QString& separator) {
    state_.settings.format.thousandsSeparator = separator;
}

void frmConfigure::chkHyphen_Click(bool on) {
    state_.settings.format.hyphen = on;
    // A JDN has the shape of a compact ordinal date ("2456293"); it is left as typed.
    if (state_.settings.firstCalendar != kDayNumberCalendar) {
        state_.session.firstDateText = RewriteForHyphen(state_.session.firstDateText, on);
    }
    if (state_.settings.secondCalendar != kDayNumberCalendar) {
        state_.session.secondDateText = RewriteForHyphen(state_.session.secondDateText, on);
    }
    emit FieldsRewritten();
    cmdClose_->setFocus();
}

bool frmConfigure::ApplyLimits(bool report) {
    struct Field {
        QLineEdit* box;
        int emptyValue;
        int* value;
    };
    const Field fields[] = {
        {txbMaxNumErrors_, 0, &state_.settings.maxNumErrors},
        {txbAutoEnlarge_, kAutoEnlargeNever, &state_.settings.autoEnlargeBytes}};
    bool all = true;
    for (const Field& field : fields) {
        bool tooLarge = false;
        const std::optional<int> value = ReadLimit(field.box->text(), field.emptyValue, &tooLarge);
        if (value) {
            *field.value = *value;
            continue;
        }
        if (report && all) {
            Message(state_.settings.Caption(Caption::InvalidInput),
                    state_.settings.Caption(tooLarge ? Caption::ValueTooLarge
                                                     : Caption::LimitNotANumber));
            field.box->setFocus();
            field.box->selectAll();
        }
        all = false;
    }
    // The switch of the historical calendar, "YYYY-MM-DD" (or "rome", "britain").
    const std::optional<std::int64_t> gregorianSwitch =
        GregorianSwitchOfText(txbGregorianSwitch_->text().trimmed());
    if (gregorianSwitch) {
        SetGregorianSwitchJdn(*gregorianSwitch);
    } else {
        if (report && all) {
            Message(state_.settings.Caption(Caption::InvalidInput),
                    state_.settings.Text(kTextNotASwitchDay));
            txbGregorianSwitch_->setFocus();
            txbGregorianSwitch_->selectAll();
        }
        all = false;
    }
    // The week and fiscal rules: each taken when it reads, else the first wrong one is shown.
    const auto rule = [&](QLineEdit* box, auto read, auto set, int why) {
        if (const auto value = read(box->text().trimmed())) {
            set(*value);
            return;
        }
        if (report && all) {
            Message(state_.settings.Caption(Caption::InvalidInput), state_.settings.Text(why));
            box->setFocus();
            box->selectAll();
        }
        all = false;
    };
    rule(txbWeekRule_, WeekRuleOfText, SetWeekDateRule, kTextNotAWeekRule);
    rule(txbFiscalYear_, MonthFiscalRuleOfText, SetMonthFiscalYearRule, kTextNotAFiscalYear);
    rule(txbFiscalWeeks_, WeekFiscalRuleOfText, SetWeekFiscalYearRule, kTextNotFiscalWeeks);
    return all;
}

bool frmConfigure::cmdClose_Click() {
    if (!ApplyLimits(true)) {
        return false;  // the dialog stays open on the field to mend
    }
    hide();
    emit Closed();
    return true;
}

void frmConfigure::reject() {
    cmdClose_Click();
}

void frmConfigure::closeEvent(QCloseEvent* e) {
    if (e->spontaneous()) {
        // The user closed the window: as the Close button.
        e->ignore();
        cmdClose_Click();
        return;
    }
    // Closed by the program (at quit): keep what can be kept, without asking.
    ApplyLimits(false);
    e->accept();
    emit Closed();
}

void frmConfigure::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (e->spontaneous()) {
        return;  // restored from the task bar: keep what is being typed
    }
    ShowLimits();
    setWindowTitle(state_.settings.Caption(Caption::Configure));
    cmdClose_->setFocus();
}

}  // namespace daybridge
