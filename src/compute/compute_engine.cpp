#include "compute/compute_engine.h"

#include <array>

#include "app/refused_date_text.h"
#include "calendar/calendar_table.h"
#include "compute/presentation.h"
#include "datetext/date_format.h"
#include "datetext/date_parse.h"
#include "datetext/string_utils.h"
#include "datetext/unit_difference.h"

namespace daybridge {
namespace {

constexpr QStringView kCrLf = u"\r\n";

// Fields written back into the state outside a batch run.
constexpr int kFirstField = 1;
constexpr int kDifferenceField = 2;
constexpr int kSecondField = 3;

bool InDayRange(std::int64_t value) {
    return value >= kMinDayNumber && value <= kMaxDayNumber;
}

// The calendar codes, made once.
const QString& Code(CalendarId calendar) {
    static const std::array<QString, kCalendarCount> codes = [] {
        std::array<QString, kCalendarCount> all;
        for (const CalendarEntry* entry : AllCalendars()) {
            all[static_cast<std::size_t>(IndexOf(entry->id))] = QString::fromLatin1(entry->code);
        }
        return all;
    }();
    return codes[static_cast<std::size_t>(IndexOf(calendar))];
}

}  // namespace

QString DateTextOfJdn(const AppState& state, CalendarId calendar, std::int32_t jdn) {
    return CanonicalDateText(state, calendar, jdn);
}

bool ComputeEngine::Compute(QString& first, QString& difference, QString& second) {
    TrimWhite(first);
    TrimWhite(difference);
    TrimWhite(second);
    unitDifference_.reset();  // set again by AcceptDifference
    const bool hasFirst = !first.isEmpty();
    const bool hasDifference = !difference.isEmpty();
    const bool hasSecond = !second.isEmpty();
    state_.conversionOnlyCase =
        !hasDifference && hasFirst != hasSecond && state_.GetCal(1) == state_.GetCal(2);
    conversion_ = !hasDifference && hasFirst != hasSecond;

    bool ok = true;
    if (hasFirst && hasDifference && hasSecond) {
        // Nothing to compute: the window asks which field to clear before it gets here.
    } else if (hasFirst && hasSecond) {
        if (!AcceptSecondDate(second) || !AcceptFirstDate(first)) {
            return false;
        }
        ok = ComputeDifference();
        if (ok) {
            DisplayDateDiff(DateDifference);
            SetLastResult(ResultKind::Difference, lastDateJdn_);
        }
    } else if (hasFirst && hasDifference) {
        if (!AcceptDifference(difference) || !AcceptFirstDate(first)) {
            return false;
        }
        ok = ComputeSecondDate();
        if (ok) {
            WriteSentence(true, difference);
            DisplaySecondDate(SecondJDN);
            SetLastResult(ResultKind::Date, SecondJDN);
        }
    } else if (hasDifference && hasSecond) {
        if (!AcceptSecondDate(second) || !AcceptDifference(difference)) {
            return false;
        }
        ok = ComputeFirstDate();
        if (ok) {
            WriteSentence(false, difference);
            DisplayFirstDate(FirstJDN);
            SetLastResult(ResultKind::Date, FirstJDN);
        }
    } else if (hasFirst) {
        DateDifference = 0;
        if (!AcceptFirstDate(first)) {
            return false;
        }
        ok = ComputeSecondDate();
        if (ok) {
            Append(firstCanonical_);
            DisplaySecondDate(SecondJDN);
            SetLastResult(ResultKind::Date, SecondJDN);
        }
    } else if (hasSecond) {
        if (!AcceptSecondDate(second)) {
            return false;
        }
        DateDifference = 0;
        ok = ComputeFirstDate();
        if (ok) {
            Append(secondCanonical_);
            DisplayFirstDate(FirstJDN);
            SetLastResult(ResultKind::Date, FirstJDN);
        }
    } else if (hasDifference) {
        if (!AcceptDifference(difference)) {
            return false;
        }
    }
    if (ok || !state_.batchRunning) {  // a run's report of the failure ends its own line
        Append(kCrLf);
    }
    host_.outputChanged();
    return ok;
}

bool ComputeEngine::AcceptFirstDate(QString& text) {
    return AcceptDate(1, text);
}

bool ComputeEngine::AcceptSecondDate(QString& text) {
    return AcceptDate(2, text);
}

bool ComputeEngine::AcceptDate(int firstOrSecond, QString& text) {
    const bool isFirst = firstOrSecond == 1;
    const CalendarId calendar = state_.GetCal(firstOrSecond);
    const TextFormat format = state_.CurrentFormat();

    ParseResult parsed;
    bool fromVariable = false;
    if (state_.batchRunning && batch_ != nullptr) {
        if (const std::optional<std::int32_t> value = batch_->VariableValue(text)) {
            parsed.jdn = *value;
            parsed.outcome = ParseOutcome::Valid;
            fromVariable = true;
        }
    }
    if (!fromVariable) {
        parsed = ParseDateInCalendar(calendar, text, format);
    }

    QString canonical;
    if (parsed.outcome == ParseOutcome::Valid) {
        // A variable may hold any 32-bit value; a date must be one that can be shown.
        if (InDayRange(parsed.jdn)) {
            canonical = CanonicalDateText(calendar, parsed.jdn, format);
        }
        if (canonical.isEmpty()) {
            parsed.outcome = ParseOutcome::OutOfRange;
        }
    }
    if (parsed.outcome != ParseOutcome::Valid) {
        const bool outOfRange = parsed.outcome == ParseOutcome::OutOfRange;
        // In the window a world calendar's date says what is wrong with it.
        if (!outOfRange && !state_.batchRunning) {
            const QString why = RefusedDateMessage(firstOrSecond, calendar, text, state_.language);
            if (!why.isEmpty()) {
                ShowMessageText(why);
                return false;
            }
        }
        using enum ComputeMessageRow;
        if (isFirst) {
            ReportDateError(outOfRange ? FirstDateOutOfRange : FirstDateInvalid);
        } else {
            ReportDateError(outOfRange ? SecondDateOutOfRange : SecondDateInvalid);
        }
        return false;
    }

    if (isFirst) {
        FirstJDN = parsed.jdn;
        firstCanonical_ = canonical;
    } else {
        SecondJDN = parsed.jdn;
        secondCanonical_ = canonical;
    }
    text = canonical;
    SetField(isFirst ? kFirstField : kSecondField, canonical);
    return true;
}

bool ComputeEngine::AcceptDifference(QString& text) {
    unitDifference_.reset();
    if (text.isEmpty()) {
        DateDifference = 0;
        return true;
    }
    const ParseResult parsed = ParseDayCount(text, state_.format.thousandsSeparator);
    if (parsed.outcome == ParseOutcome::Valid) {
        DateDifference = parsed.jdn;
        text = FormatDayNumber(parsed.jdn, state_.format.thousandsSeparator);
        SetField(kDifferenceField, text);
        return true;
    }
    // A text that is no plain number may be a unit difference ("1y2m", "3 Monate"); it stays
    // in the field as typed.
    const UnitDifferenceParse units = parsed.outcome == ParseOutcome::OutOfRange
                                          ? UnitDifferenceParse{parsed.outcome, {}}
                                          : ParseUnitDifference(text, state_.language);
    if (units.outcome != ParseOutcome::Valid) {
        // During a batch run reported with the line, like a date that cannot be read.
        ReportDateError(units.outcome == ParseOutcome::OutOfRange
                            ? ComputeMessageRow::DifferenceOutOfRange
                            : ComputeMessageRow::DifferenceInvalid);
        return false;
    }
    unitDifference_ = units.difference;
    DateDifference = 0;
    SetField(kDifferenceField, text);
    return true;
}

bool ComputeEngine::ComputeDifference() {
    const Snapshot& options = state_.snapshot;
    std::int64_t difference = 0;
    if (options.includeWeekends) {
        difference = static_cast<std::int64_t>(SecondJDN) - FirstJDN;
        if (options.includeFirstDate) {
            difference += difference < 0 ? -1 : 1;
        }
    } else {
        difference = state_.workdays.Count(FirstJDN, SecondJDN, options.includeFirstDate);
    }
    if (!InDayRange(difference)) {
        return ResultOutOfRange();
    }
    DateDifference = static_cast<std::int32_t>(difference);
    return true;
}

// A unit difference moves the start by its years and months in the start's calendar first;
// its weeks and days are then stepped from there as a day count of that size is stepped.
bool ComputeEngine::ComputeSecondDate() {
    const Snapshot& options = state_.snapshot;
    std::int64_t from = FirstJDN;
    std::int64_t difference = DateDifference;
    if (unitDifference_) {
        const UnitResult moved = AddCalendarPart(state_.GetCal(1), from, *unitDifference_);
        if (moved.outcome != UnitOutcome::Done) {
            return ResultOutOfRange();
        }
        from = moved.jdn;
        difference = DayPart(*unitDifference_);
    }
    std::int64_t result = from;
    if (difference != 0) {
        if (options.includeWeekends) {
            result = from + difference;
            if (options.includeFirstDate) {
                result += difference > 0 ? -1 : 1;
            }
        } else {
            result = state_.workdays.StepFromFirst(from, difference, options.includeFirstDate);
        }
    }
    return StoreComputedDate(2, result) && StoreUnitDayCount();
}

bool ComputeEngine::ComputeFirstDate() {
    const Snapshot& options = state_.snapshot;
    std::int64_t from = SecondJDN;
    std::int64_t difference = DateDifference;
    if (unitDifference_) {
        const UnitResult moved =
            AddCalendarPart(state_.GetCal(2), from, *unitDifference_, /*subtract=*/true);
        if (moved.outcome != UnitOutcome::Done) {
            return ResultOutOfRange();
        }
        from = moved.jdn;
        difference = DayPart(*unitDifference_);
    }
    std::int64_t result = from;
    if (difference != 0) {
        if (options.includeWeekends) {
            result = from - difference;
            if (options.includeFirstDate) {
                result += difference > 0 ? 1 : -1;
            }
        } else {
            result = state_.workdays.StepFromSecond(from, difference, options.includeFirstDate);
        }
    }
    return StoreComputedDate(1, result) && StoreUnitDayCount();
}

bool ComputeEngine::StoreUnitDayCount() {
    if (unitDifference_) {
        const std::int64_t days = static_cast<std::int64_t>(SecondJDN) - FirstJDN;
        DateDifference = InDayRange(days) ? static_cast<std::int32_t>(days) : 0;
    }
    return true;
}

bool ComputeEngine::StoreComputedDate(int firstOrSecond, std::int64_t jdn) {
    if (!InDayRange(jdn)) {
        return ResultOutOfRange();
    }
    // A date its calendar cannot write (an ordinal date outside years 1 to 9999).
    if (!InSpan(Calendar(state_.GetCal(firstOrSecond)), jdn)) {
        return ResultOutOfRange();
    }
    (firstOrSecond == 1 ? FirstJDN : SecondJDN) = static_cast<std::int32_t>(jdn);
    return true;
}

bool ComputeEngine::ResultOutOfRange() {
    if (state_.batchRunning) {
        // With the line it comes from, as every report of a run.
        ReportDateError(ComputeMessageRow::ResultOutOfRange);
        return false;
    }
    Append(CurrentWords().outOfRange);
    Append(kCrLf);
    ShowMessage(ComputeMessageRow::ResultOutOfRange);
    return false;
}

void ComputeEngine::ReportDateError(ComputeMessageRow message) {
    if (!state_.batchRunning) {
        ShowMessage(message);
        return;
    }
    const int lineNumber = batch_ != nullptr ? batch_->FileLineNumber() : 0;
    const QString lineText = batch_ != nullptr ? batch_->CurrentLineText() : QString();
    Append(state_.Caption(Caption::Line));
    Append(NumberWithLeadingBlank(lineNumber));
    Append(u", '");
    Append(lineText);
    Append(u"':");
    Append(kCrLf);
    Append(ComputeMessage(message, state_.language));
    Append(kCrLf);
    host_.outputChanged();
}

void ComputeEngine::ShowMessage(ComputeMessageRow message) {
    ShowMessageText(ComputeMessage(message, state_.language));
}

void ComputeEngine::ShowMessageText(const QString& text) {
    host_.outputChanged();  // the output so far is in view while the box is up
    // Titled as every other error box.
    host_.messageBox(state_.Caption(Caption::ErrorWord), text, MsgIcon::None, MsgButtons::Ok,
                     MsgAnswer::Ok);
}

void ComputeEngine::WriteSentence(bool fromFirstDate, const QString& differenceText) {
    // From the second date the first lies that many days before it, so the words swap.
    const Words& words = CurrentWords();
    const bool negative =
        unitDifference_ ? unitDifference_->negative : differenceText.startsWith(QLatin1Char('-'));
    const bool plus = fromFirstDate ? !negative : negative;
    Append(fromFirstDate ? firstCanonical_ : secondCanonical_);
    Append(u" ");
    Append(plus ? words.plus : words.minus);
    Append(u" ");
    if (unitDifference_) {
        Append(UnitDifferenceText(*unitDifference_, state_.language));
        return;
    }
    Append(QStringView(differenceText).mid(negative ? 1 : 0));
    Append(u" ");
    Append(DateDifference == 1 || DateDifference == -1 ? words.day : words.days);
}

void ComputeEngine::DisplayFirstDate(std::int32_t jdn) {
    DisplayDate(1, jdn);
}

void ComputeEngine::DisplaySecondDate(std::int32_t jdn) {
    DisplayDate(2, jdn);
}

void ComputeEngine::DisplayDate(int firstOrSecond, std::int32_t jdn) {
    const CalendarId calendar = state_.GetCal(firstOrSecond);
    if (!state_.conversionOnlyCase) {
        const QString text = DateTextOfJdn(state_, calendar, jdn);
        SetField(firstOrSecond == 1 ? kFirstField : kSecondField, text);
        Append(u" = ");
        Append(text);
        Append(u" ");
        Append(Code(calendar));
    }
    if (state_.displayDayNames) {
        Append(u", ");
        Append(DayNameIn(DayOfWeek(jdn), state_.language));
    }
    // Whether the first date counts and which days are working days mean nothing for a
    // conversion: its line has no qualifiers.
    if (!conversion_ && state_.snapshot.verbose) {
        AppendQualifiers();
    }
}

void ComputeEngine::DisplayDateDiff(std::int32_t difference) {
    const Snapshot& options = state_.snapshot;
    const Words& words = CurrentWords();
    const CalendarId firstCalendar = state_.GetCal(1);
    const CalendarId secondCalendar = state_.GetCal(2);
    const QString number = FormatDayNumber(difference, state_.format.thousandsSeparator);
    SetField(kDifferenceField, number);

    Append(firstCanonical_);
    Append(u" ");
    Append(Code(firstCalendar));
    Append(u" ");
    Append(words.to);
    Append(u" ");
    Append(secondCanonical_);
    Append(u" ");
    Append(Code(secondCalendar));
    Append(u" = ");
    Append(number);
    Append(u" ");
    Append(difference == 1 || difference == -1 ? words.day : words.days);
    if (options.verbose) {
        AppendQualifiers();
    }

    // The breakdown into calendar units, for spans long enough to hold a whole unit.
    if (options.includeWeekends && difference >= 1 && firstCalendar == secondCalendar) {
        const CalendarEntry& calendar = Calendar(firstCalendar);
        const std::int64_t from =
            static_cast<std::int64_t>(FirstJDN) - (options.includeFirstDate ? 1 : 0);
        if (calendar.breakdown != Breakdown::None && difference > calendar.breakdownAfterDays &&
            InDayRange(from)) {
            const QString breakdown = BreakdownText(firstCalendar, static_cast<std::int32_t>(from),
                                                    SecondJDN, state_.language);
            if (!breakdown.isEmpty()) {
                Append(u" (");
                Append(breakdown);
                Append(u")");
            }
        }
    }
}

void ComputeEngine::AppendQualifiers() {
    const Snapshot& options = state_.snapshot;
    const Words& words = CurrentWords();
    Append(u", ");
    Append(options.includeFirstDate ? words.including : words.excluding);
    if (!options.includeWeekends) {
        Append(u", ");
        if (state_.workdays.IsDefault()) {
            Append(words.notCounting);
        } else {
            Append(WorkdayQualifier(state_.workdays, state_.language));
        }
    }
}

const ComputeEngine::Words& ComputeEngine::CurrentWords() {
    if (words_.language != state_.language) {
        words_.language = state_.language;
        words_.to = state_.Caption(Caption::To);
        words_.day = state_.DayOrDays(1);
        words_.days = state_.DayOrDays(2);
        words_.plus = state_.Caption(Caption::Plus);
        words_.minus = state_.Caption(Caption::Minus);
        words_.including = state_.Caption(Caption::IncludingFirstDate);
        words_.excluding = state_.Caption(Caption::ExcludingFirstDate);
        words_.notCounting = state_.Caption(Caption::NotCountingWeekendDays);
        words_.outOfRange = state_.Caption(Caption::OutOfRange);
    }
    return words_;
}

void ComputeEngine::SetField(int field, const QString& text) {
    if (state_.batchRunning) {
        return;
    }
    switch (field) {
        case kFirstField:
            state_.firstDateText = text;
            break;
        case kDifferenceField:
            state_.dateDiffText = text;
            break;
        default:
            state_.secondDateText = text;
            break;
    }
    host_.fieldsChanged();
}

void ComputeEngine::SetLastResult(ResultKind kind, std::int32_t dateJdn) {
    lastKind_ = kind;
    lastDateJdn_ = dateJdn;
    lastDifference_ = DateDifference;
}

QString ComputeEngine::Today(int n) const {
    const CalendarId calendar =
        n == 1 ? state_.snapshot.firstCalendar : state_.snapshot.secondCalendar;
    return DateTextOfJdn(state_, calendar, host_.todayJdn());
}

}  // namespace daybridge
