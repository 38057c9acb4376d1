// The settings statements of a batch run, the settings summary, and the settings a run
// changes only for itself.
#include "batch/run_settings.h"

#include "app/captions.h"
#include "batch/reporter.h"
#include "calendar/gregorian_switch.h"
#include "calendar/week_fiscal_rules.h"
#include "datetext/date_format.h"
#include "env/holiday_files.h"

namespace daybridge::batch {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// Takes a calendar rule setting (HIS switch day, week rule, fiscal years); false when the value
// names no rule.
bool TakeCalendarRule(Setting which, const QString& value) {
    switch (which) {
        case Setting::GregorianSwitch: {
            const std::optional<std::int64_t> jdn = GregorianSwitchOfText(value);
            if (jdn) {
                SetGregorianSwitchJdn(*jdn);
            }
            return jdn.has_value();
        }
        case Setting::WeekRule: {
            const std::optional<jdcore::WeekRule> rule = WeekRuleOfText(value);
            if (rule) {
                SetWeekDateRule(*rule);
            }
            return rule.has_value();
        }
        case Setting::FiscalYear: {
            const std::optional<jdcore::MonthFiscalRule> rule = MonthFiscalRuleOfText(value);
            if (rule) {
                SetMonthFiscalYearRule(*rule);
            }
            return rule.has_value();
        }
        default: {
            const std::optional<jdcore::WeekFiscalRule> rule = WeekFiscalRuleOfText(value);
            if (rule) {
                SetWeekFiscalYearRule(*rule);
            }
            return rule.has_value();
        }
    }
}

// The date format a DATEFORMAT= order names (its separator removed); -1 for none.
int DateFormatOfOrder(const QString& order) {
    if (order == QLatin1String("YMD") || order == QLatin1String("YMWD")) {
        return kDateFormatYMD;
    }
    if (order == QLatin1String("DMY")) {
        return kDateFormatDMY;
    }
    if (order == QLatin1String("MDY")) {
        return kDateFormatMDY;
    }
    return -1;
}

}  // namespace

RunSettings::RunSettings(AppState& state, OutputText& output, const Reporter& report)
    : state_(state), output_(output), report_(report) {}

void RunSettings::Begin() {
    savedDateSeparator_ = state_.settings.format.dateSeparator;
    savedThousandsSeparator_ = state_.settings.format.thousandsSeparator;
    savedWorkdays_ = state_.settings.workdays;
    Refresh();
    lastSummary_ = QStringLiteral("XXX");
}

void RunSettings::End() {
    state_.settings.format.dateSeparator = savedDateSeparator_;
    state_.settings.format.thousandsSeparator = savedThousandsSeparator_;
    state_.settings.workdays = savedWorkdays_;
}

void RunSettings::Refresh() {
    format_ = state_.CurrentFormat();
}

QString RunSettings::T(int id) const {
    return state_.settings.Text(id);
}

void RunSettings::EchoRejected(const ProgramLine& line, bool separator) {
    QString echo = state_.settings.Caption(Caption::Line) + report_.LineNumber() + QStringLiteral(", '") +
                   line.text + QStringLiteral("'");
    if (separator) {
        echo += QStringLiteral(", ") + state_.settings.Caption(Caption::InadmissibleSeparator);
    } else {
        echo += QStringLiteral(" ") + state_.settings.Caption(Caption::IsInvalid) + QStringLiteral(".");
    }
    output_.append(echo + kCrLf);
}

bool RunSettings::ApplyDateFormat(const ProgramLine& line, const QString& value) {
    const QString separator = value.mid(1, 1);
    if (separator != QLatin1String("-") && separator != QLatin1String("/") &&
        separator != QLatin1String(".")) {
        EchoRejected(line, true);
        return false;
    }
    QString order = value;
    order.remove(separator[0]);
    const int format = DateFormatOfOrder(order);
    if (format < 0) {
        EchoRejected(line, false);
        return false;
    }
    state_.settings.format.dateSeparator = separator;
    state_.settings.format.dateFormat = format;
    state_.session.snapshot.dateFormat = format;
    Refresh();
    ShowSummary();
    return true;
}

bool RunSettings::ApplyCalendar(const ProgramLine& line, Setting which, const QString& value) {
    const std::optional<CalendarId> calendar = CalendarOfCode(value);
    if (value.isEmpty() || !calendar) {
        EchoRejected(line, false);
        return false;
    }
    if (which == Setting::FirstDate) {
        state_.settings.firstCalendar = *calendar;
        state_.session.snapshot.firstCalendar = *calendar;
    } else {
        state_.settings.secondCalendar = *calendar;
        state_.session.snapshot.secondCalendar = *calendar;
    }
    ShowSummary();
    return true;
}

bool RunSettings::Apply(const ProgramLine& line, const SettingStatement& s) {
    const Setting which = s.setting;
    const QString& value = s.value;
    if (which >= Setting::GregorianSwitch) {
        if (!TakeCalendarRule(which, value)) {
            EchoRejected(line, false);
            return false;
        }
        return true;
    }
    if (which >= Setting::Weekend) {
        return ApplyWorkdays(line, which, value);
    }
    const bool yes = value.startsWith(u'Y');
    switch (which) {
        case Setting::DateFormat:
            return ApplyDateFormat(line, value);
        case Setting::ThousandsSeparator:
            state_.settings.format.thousandsSeparator = value.left(1);
            Refresh();
            return true;
        case Setting::IncludeFirstDate:
            state_.settings.includeFirstDate = yes;
            state_.session.snapshot.includeFirstDate = yes;
            if (!state_.session.snapshot.verbose) {
                output_.append(state_.settings.Caption(yes ? Caption::FirstDateIncluded
                                                        : Caption::FirstDateNotIncluded) +
                                     kCrLf);
            }
            return true;
        case Setting::IncludeWeekendDates:
            state_.settings.includeWeekends = yes;
            state_.session.snapshot.includeWeekends = yes;
            if (!state_.session.snapshot.verbose) {
                output_.append(
                    state_.settings.Caption(yes ? Caption::WeekendsCounted : Caption::WeekendsNotCounted) +
                    kCrLf);
            }
            return true;
        case Setting::Verbose:
            state_.settings.verbose = yes;
            state_.session.snapshot.verbose = yes;
            return true;
        case Setting::Hyphen:
            state_.settings.format.hyphen = yes;
            state_.session.snapshot.hyphen = yes;
            Refresh();
            if (state_.session.snapshot.verbose) {
                output_.append(state_.settings.Caption(yes ? Caption::HyphenOn : Caption::HyphenOff) +
                                     kCrLf);
            }
            return true;
        default:  // FirstDate, SecondDate
            return ApplyCalendar(line, which, value);
    }
}
QString RunSettings::SummaryText() const {
    const QString& sep = state_.settings.format.dateSeparator;
    QString order;
    switch (state_.session.snapshot.dateFormat) {
        case kDateFormatYMD:
            order = QStringLiteral("Y") + sep + QStringLiteral("M") + sep + QStringLiteral("D");
            break;
        case kDateFormatDMY:
            order = QStringLiteral("D") + sep + QStringLiteral("M") + sep + QStringLiteral("Y");
            break;
        default:
            order = QStringLiteral("M") + sep + QStringLiteral("D") + sep + QStringLiteral("Y");
            break;
    }
    return QStringLiteral("CE/JC ") + state_.settings.Caption(Caption::DateFormatIs) + QStringLiteral(" ") +
           order + QStringLiteral(", ") + state_.settings.Caption(Caption::FirstDateIs) +
           QStringLiteral(" ") + CalendarCode(state_.session.snapshot.firstCalendar) +
           QStringLiteral(", ") + state_.settings.Caption(Caption::SecondDateIs) + QStringLiteral(" ") +
           CalendarCode(state_.session.snapshot.secondCalendar) + QStringLiteral(".") + kCrLf;
}

void RunSettings::ShowSummary() {
    if (!state_.session.snapshot.verbose) {
        return;
    }
    QString summary = SummaryText();
    const bool atStart =
        output_.equals(state_.settings.Caption(Caption::InEffect) + QStringLiteral(": "));
    if (atStart) {
        summary +=
            state_.settings.Caption(state_.session.snapshot.includeFirstDate ? Caption::FirstDateIncluded
                                                            : Caption::FirstDateNotIncluded) +
            QStringLiteral("  ") +
            state_.settings.Caption(state_.session.snapshot.includeWeekends ? Caption::WeekendsCounted
                                                           : Caption::WeekendsNotCounted) +
            kCrLf;
        summary += WorkdaySummaryText();
    }
    if (atStart || summary != lastSummary_) {
        output_.append(summary);
        lastSummary_ = summary;
    }
}

bool RunSettings::ApplyWorkdays(const ProgramLine& line, Setting which, const QString& value) {
    const WorkdayCalendar& now = state_.settings.workdays;
    std::optional<WorkdayCalendar> next;
    if (which == Setting::Weekend) {
        const std::optional<std::uint8_t> weekend = ParseWeekend(value);
        if (!weekend) {
            EchoRejected(line, false);
            if (ParseDaySet(value) == WorkdayCalendar::kAllDays) {
                output_.append(T(900) + QStringLiteral("\r\n"));  // say why
            }
            return false;
        }
        next.emplace(*weekend, now.holidaySet(), now.selection());
    } else if (which == Setting::Categories || which == Setting::HalfDays) {
        HolidaySelection selection = now.selection();
        const QString v = value.toUpper();
        bool valid = true;
        if (which == Setting::HalfDays) {
            valid = v == u"HOLIDAY" || v == u"WORKDAY";
            selection.halfDays = v == u"HOLIDAY";
        } else if (v == u"DEFAULT") {
            selection.categories.reset();  // the set's own
        } else {
            selection.categories = ParseCategories(value);
            valid = selection.categories.has_value();
        }
        if (!valid) {
            EchoRejected(line, false);
            return false;
        }
        next.emplace(now.weekend(), now.holidaySet(), selection);
    } else {
        std::shared_ptr<const HolidaySet> set;
        if (value.compare(QLatin1String("NONE"), Qt::CaseInsensitive) != 0) {
            QString why;
            set = LoadHolidaySet(value, why, {state_.settings.language, folder});
            if (set == nullptr) {
                EchoRejected(line, false);
                output_.append(why + QStringLiteral("\r\n"));
                return false;
            }
        }
        next.emplace(now.weekend(), set, now.selection());
    }
    if (!next->HasWorkday()) {
        EchoRejected(line, false);
        output_.append(NoWorkingDayText(WeekendDayNamesIn(next->weekend(), state_.settings.language),
                                              next->holidays()->name, state_.settings.language) +
                             QStringLiteral("\r\n"));
        return false;
    }
    state_.settings.workdays = std::move(*next);
    if (state_.session.snapshot.verbose) {
        output_.append(WorkdaySummaryText());
    }
    return true;
}

QString RunSettings::WorkdaySummaryText() const {
    const WorkdayCalendar& workdays = state_.settings.workdays;
    QString text;
    if (workdays.weekend() != WorkdayCalendar::kSaturdaySunday) {
        text += T(300) + QStringLiteral(" ") +
                WeekendDayNamesIn(workdays.weekend(), state_.settings.language) + QStringLiteral(".");
    }
    if (workdays.holidays() != nullptr) {
        text += (text.isEmpty() ? QString() : QStringLiteral("  ")) + T(301) + QStringLiteral(" ") +
                workdays.holidays()->name + QStringLiteral(".");
    }
    return text.isEmpty() ? text : text + QStringLiteral("\r\n");
}

}  // namespace daybridge::batch
