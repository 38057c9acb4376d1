#include "compute/main_presenter.h"

#include <algorithm>
#include <optional>
#include <span>

#include "app/captions.h"
#include "app/lunisolar_text.h"
#include "calendar/calendar_registry.h"
#include "calendar/calendar_table.h"
#include "calendar/gregorian_switch.h"
#include "calendar/names.h"
#include "calendar/week_fiscal_rules.h"
#include "compute/compute_engine.h"
#include "compute/date_fields.h"
#include "datetext/date_parse.h"
#include "datetext/string_utils.h"
#include "datetext/unit_difference.h"
#include "env/side_settings.h"

namespace daybridge {

namespace {

bool InTodayCycle(CalendarId calendar) {
    const std::span<const CalendarId> cycle = TodayCycle();
    return std::find(cycle.begin(), cycle.end(), calendar) != cycle.end();
}

QString LabelDateText(const AppState& state, std::int32_t jdn) {
    const CalendarId calendar = state.settings.todayCalendar;
    // Every calendar names itself: the ORD, LPW and LPM notations alone read like others.
    return DateTextOfJdn(state, calendar, jdn) + QLatin1Char(' ') + CalendarCode(calendar);
}

bool DateFieldTakes(const AppState& state, CalendarId calendar, int length, QChar c) {
    const CalendarEntry& entry = Calendar(calendar);
    const Notation notation = entry.notation;
    const bool room = length < kFieldLengthLimit;
    // The "P" of a period date.
    const bool periodLetter = notation == Notation::PeriodDate && room && (c == u'P' || c == u'p');
    // The letters of a leap month's mark ("11bis"), either case.
    const bool leapMark = notation == Notation::LunisolarDate && room &&
                          QLatin1String(kLeapMonthMark).contains(c, Qt::CaseInsensitive);
    // A calendar with named eras writes the era's name before the year.
    const bool eraLetter = entry.eras != nullptr && c.isLetter() && room;
    const bool week = notation == Notation::IsoWeekDate || notation == Notation::WeekDate;
    return leapMark || eraLetter || periodLetter ||
           IsAllowedDateKey(c.unicode(), length, kFieldLengthLimit,
                            state.settings.format.dateSeparator, week);
}

// The text member of `field`, for a state and a read-only state alike.
template <typename State>
auto& TextOf(State& state, DateField field) {
    switch (field) {
        case DateField::First:
            return state.session.firstDateText;
        case DateField::Difference:
            return state.session.dateDiffText;
        case DateField::Second:
            break;
    }
    return state.session.secondDateText;
}

}  // namespace

QString& FieldText(AppState& state, DateField field) {
    return TextOf(state, field);
}

const QString& FieldText(const AppState& state, DateField field) {
    return TextOf(state, field);
}

bool ChangeFieldCalendar(AppState& state, int field, CalendarId calendar) {
    if (calendar == kDefaultCalendar && !state.session.mainWindowReady) {
        return false;
    }
    QString& text = FieldText(state, field == 1 ? DateField::First : DateField::Second);
    CalendarId& current = field == 1 ? state.settings.firstCalendar : state.settings.secondCalendar;
    text = TrimmedWhite(text);
    const QString converted = FieldDateIn(state, current, calendar, text);
    if (!converted.isEmpty()) {
        text = converted;
    }
    current = calendar;
    return true;
}

ComputeStart BeginCompute(AppState& state) {
    for (const DateField field : {DateField::First, DateField::Difference, DateField::Second}) {
        FieldText(state, field) = TrimmedWhite(FieldText(state, field));
    }
    const bool first = !state.session.firstDateText.isEmpty();
    const bool difference = !state.session.dateDiffText.isEmpty();
    const bool second = !state.session.secondDateText.isEmpty();
    if (!first && !difference && !second) {
        return ComputeStart::TodayFirst;
    }
    if (!first && difference && !second) {
        return ComputeStart::FocusOnly;
    }
    if (first && difference && second) {
        return ComputeStart::AskWhichToClear;
    }
    return ComputeStart::Compute;
}

void TakeComputeSnapshot(AppState& state) {
    state.GetParameters();
}

bool FieldTakesCharacter(const AppState& state, DateField field, const QString& current, QChar c) {
    const int code = c.unicode();
    if (code < 32 || code == 127) {
        return true;  // editing keys, not characters
    }
    const int length = static_cast<int>(current.size());
    if (field != DateField::Difference) {
        return DateFieldTakes(state,
                              field == DateField::First ? state.settings.firstCalendar
                                                        : state.settings.secondCalendar,
                              length, c);
    }
    // A unit difference spelled out ("1 year 2 months 3 days") needs more room than a day count,
    // which never reaches the described limit.
    const bool spelled = c.isLetter() || std::any_of(current.begin(), current.end(),
                                                     [](QChar t) { return t.isLetter(); });
    return IsAllowedDifferenceKey(code, length,
                                  spelled ? kUnitDifferenceLengthLimit : kFieldLengthLimit,
                                  state.settings.format.thousandsSeparator);
}

QString DayOrDaysLabel(const AppState& state) {
    const QString text = TrimmedWhite(state.session.dateDiffText);
    const ParseResult days = ParseDayCount(text, state.settings.format.thousandsSeparator);
    if (days.outcome != ParseOutcome::Valid &&
        ParseUnitDifference(text, state.settings.language).outcome == ParseOutcome::Valid) {
        return {};
    }
    return state.settings.DayOrDays(days.outcome == ParseOutcome::Valid ? days.jdn : 0);
}

TodayLabels TodayLabelTexts(const AppState& state, std::int32_t today) {
    const bool german = state.settings.language == kGerman;
    const CalendarEntry& calendar = Calendar(state.settings.todayCalendar);
    // A day number or a day of the year reads as a number, without the article.
    const bool number =
        calendar.fields == FieldKind::DayNumber || calendar.fields == FieldKind::YearDay;
    const QString der = german && !number ? QStringLiteral("der ") : QString();
    TodayLabels labels;
    labels.today = state.settings.Caption(Caption::TodayIs) + QLatin1Char(' ') +
                   DayNameIn(DayOfWeek(today), state.settings.language) + QStringLiteral(", ") +
                   der + LabelDateText(state, today);
    // A lunisolar date in its long form, with the year's name, above the label's usual tip.
    const QString clickTip = state.settings.Caption(Caption::ClickToChangeCalendar);
    const QString longDate =
        LunisolarLongDate(state.settings.todayCalendar, today, state.settings.language);
    labels.todayToolTip = longDate.isEmpty() ? clickTip : longDate + u'\n' + clickTip;
    const std::int64_t week = std::int64_t{today} + 7;
    const QString weekText =
        week <= kMaxDayNumber ? LabelDateText(state, static_cast<std::int32_t>(week)) : QString();
    labels.weekFromToday =
        state.settings.Caption(calendar.fiveDayWeekLabel ? Caption::FiveDayWeekFromTodayIs
                                                         : Caption::WeekFromTodayIs) +
        QLatin1Char(' ') + der + weekText;
    return labels;
}

bool StepTodayCalendar(AppState& state, bool forward) {
    const std::span<const CalendarId> cycle = TodayCycle();
    const auto at = std::find(cycle.begin(), cycle.end(), state.settings.todayCalendar);
    if (at == cycle.end()) {
        return false;
    }
    const auto n = static_cast<std::ptrdiff_t>(cycle.size());
    const std::ptrdiff_t i = at - cycle.begin();
    state.settings.todayCalendar = cycle[static_cast<std::size_t>((i + (forward ? 1 : n - 1)) % n)];
    return true;
}

QString ApplySideSettings(SideSettings& side, AppState& state) {
    side.Load(state.settings.language);
    state.settings.workdays = LoadWorkdayChoice(side, state.settings.language);
    const QString unknownCalendar = state.settings.Text(kTextUnknownCalendar);
    const QString code = side.value(side_key::kTodayCalendar);
    if (!code.isEmpty()) {
        const std::optional<CalendarId> calendar = CalendarOfCode(code);
        if (calendar && InTodayCycle(*calendar)) {
            state.settings.todayCalendar = *calendar;
        } else {
            side.Drop(side_key::kTodayCalendar, unknownCalendar);
        }
    }
    // A date field's calendar that dbrg.usr cannot hold stands there as CE; one the file names
    // otherwise (written since by a program that knows only the options) wins.
    const auto fieldCalendar = [&](const char* key, CalendarId& field) {
        const QString stored = side.value(key);
        if (stored.isEmpty()) {
            return;
        }
        const std::optional<CalendarId> calendar = CalendarOfCode(stored);
        if (!calendar || DescribedIndexOf(*calendar)) {
            side.Drop(key, unknownCalendar);
        } else if (field == kDefaultCalendar) {
            field = *calendar;
        }
    };
    fieldCalendar(side_key::kFirstDateCalendar, state.settings.firstCalendar);
    fieldCalendar(side_key::kSecondDateCalendar, state.settings.secondCalendar);
    const QString gregorianSwitch = side.value(side_key::kGregorianSwitch);
    if (!gregorianSwitch.isEmpty()) {
        const std::optional<std::int64_t> jdn = GregorianSwitchOfText(gregorianSwitch);
        if (!jdn || !SetGregorianSwitchJdn(*jdn)) {
            side.Drop(side_key::kGregorianSwitch, state.settings.Text(kTextNotASwitchDay));
        }
    }
    // The rules of WK, FY and FYW: one that does not read is dropped and stays built-in.
    const auto rule = [&](const char* key, auto read, auto set, int why) {
        const QString stored = side.value(key);
        if (stored.isEmpty()) {
            return;
        }
        if (const auto value = read(stored)) {
            set(*value);
        } else {
            side.Drop(key, state.settings.Text(why));
        }
    };
    rule(side_key::kWeekRule, WeekRuleOfText, SetWeekDateRule, kTextNotAWeekRule);
    rule(side_key::kFiscalYear, MonthFiscalRuleOfText, SetMonthFiscalYearRule, kTextNotAFiscalYear);
    rule(side_key::kFiscalWeeks, WeekFiscalRuleOfText, SetWeekFiscalYearRule, kTextNotFiscalWeeks);
    HoldSideSettings(side, state);
    side.MarkUnchanged();
    return side.Notice(state.settings.language);
}

void HoldSideSettings(SideSettings& side, const AppState& state) {
    side.setValue(side_key::kTodayCalendar, CalendarCode(state.settings.todayCalendar));
    SetWorkdayChoice(side, state.settings.workdays);
    const auto world = [](CalendarId calendar) {
        return DescribedIndexOf(calendar) ? QString() : CalendarCode(calendar);
    };
    side.setValue(side_key::kFirstDateCalendar, world(state.GetCal(1)));
    side.setValue(side_key::kSecondDateCalendar, world(state.GetCal(2)));
    side.setValue(side_key::kGregorianSwitch, GregorianSwitchText(GregorianSwitchJdn()));
    side.setValue(side_key::kWeekRule, WeekRuleText(WeekDateRule()));
    side.setValue(side_key::kFiscalYear, MonthFiscalRuleText(MonthFiscalYearRule()));
    side.setValue(side_key::kFiscalWeeks, WeekFiscalRuleText(WeekFiscalYearRule()));
}

}  // namespace daybridge
