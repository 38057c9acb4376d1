#include "compute/result_text.h"

#include <array>

#include "app/refused_date_text.h"
#include "app/texts.h"
#include "calendar/calendar_registry.h"
#include "datetext/date_format.h"
#include "datetext/string_utils.h"
#include "datetext/unit_difference.h"

namespace daybridge {
namespace {

constexpr QStringView kCrLf = u"\r\n";

// The words of the result lines in a language, made once.
struct Words {
    QString to, day, days, plus, minus, including, excluding, notCounting, outOfRange;
};

Words MakeWords(Language language) {
    const auto lower = [language](Caption caption) {
        const QString word = Text(language, caption);
        return language == Language::German ? word : word.toLower();
    };
    return Words{Text(language, Caption::To),
                 lower(Caption::Day),
                 lower(Caption::Days),
                 Text(language, Caption::Plus),
                 Text(language, Caption::Minus),
                 Text(language, Caption::IncludingFirstDate),
                 Text(language, Caption::ExcludingFirstDate),
                 Text(language, Caption::NotCountingWeekendDays),
                 Text(language, Caption::OutOfRange)};
}

const Words& WordsOf(Language language) {
    static const std::array<Words, kLanguages.size()> all = [] {
        std::array<Words, kLanguages.size()> made;
        for (const Language each : kLanguages) {
            made[static_cast<std::size_t>(LanguageNumber(each))] = MakeWords(each);
        }
        return made;
    }();
    return all[static_cast<std::size_t>(LanguageNumber(language))];
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

const QString& DayWord(const Words& words, std::int64_t days) {
    return days == 1 || days == -1 ? words.day : words.days;
}

void AppendQualifiers(const ComputeResult& r, const AppState& state, const Words& words,
                      OutputText& out) {
    out.append(u", ");
    out.append(r.options.includeFirstDate ? words.including : words.excluding);
    if (!r.options.includeWeekends) {
        out.append(u", ");
        out.append(state.settings.workdays.IsDefault()
                       ? words.notCounting
                       : WorkdayQualifier(state.settings.workdays, state.settings.language));
    }
}

void AppendDifferenceLine(const ComputeResult& r, const AppState& state, const Words& words,
                          OutputText& out) {
    out.append(r.fields[kFirstField]);
    out.append(u" ");
    out.append(Code(r.firstCalendar));
    out.append(u" ");
    out.append(words.to);
    out.append(u" ");
    out.append(r.fields[kSecondField]);
    out.append(u" ");
    out.append(Code(r.secondCalendar));
    out.append(u" = ");
    out.append(r.fields[kDifferenceField]);
    out.append(u" ");
    out.append(DayWord(words, r.difference));
    if (r.options.verbose) {
        AppendQualifiers(r, state, words, out);
    }
    if (r.breakdown) {
        const QString breakdown =
            BreakdownText(r.firstCalendar, *r.breakdown, state.settings.language);
        if (!breakdown.isEmpty()) {
            out.append(u" (");
            out.append(breakdown);
            out.append(u")");
        }
    }
}

// "FROM plus N days = DATE CAL, Dayname, qualifiers"; from the second date the first lies that
// many days before it, so the words swap.
void AppendDateLine(const ComputeResult& r, const AppState& state, const Words& words,
                    OutputText& out) {
    const bool fromFirst = r.computed == ComputedPart::SecondDate;
    out.append(r.fields[fromFirst ? kFirstField : kSecondField]);
    if (!r.conversion) {
        const QString& given = r.fields[kDifferenceField];
        const bool negative = r.unit ? r.unit->negative : given.startsWith(u'-');
        out.append(u" ");
        out.append(fromFirst != negative ? words.plus : words.minus);
        out.append(u" ");
        if (r.unit) {
            out.append(UnitDifferenceText(*r.unit, state.settings.language));
        } else {
            out.append(QStringView(given).mid(negative ? 1 : 0));
            out.append(u" ");
            out.append(DayWord(words, r.difference));
        }
    }
    const CalendarId calendar = fromFirst ? r.secondCalendar : r.firstCalendar;
    const std::int32_t jdn = fromFirst ? r.secondJdn : r.firstJdn;
    if (!r.sameCalendarConversion) {
        out.append(u" = ");
        out.append(r.fields[fromFirst ? kSecondField : kFirstField]);
        out.append(u" ");
        out.append(Code(calendar));
    }
    if (state.settings.displayDayNames) {
        out.append(u", ");
        out.append(DayNameText(state.settings.language, DayOfWeek(jdn)));
    }
    // Whether the first date counts and which days are working days mean nothing for a
    // conversion: its line has no qualifiers.
    if (!r.conversion && r.options.verbose) {
        AppendQualifiers(r, state, words, out);
    }
}

void ShowFault(const ComputeFault& fault, const AppState& state, Host& host) {
    QString text;
    // A world calendar's date says what is wrong with it.
    if (fault.date != 0 && !fault.outOfRange()) {
        text = RefusedDateMessage(fault.date, state.GetCal(fault.date), fault.text,
                                  state.settings.language);
    }
    if (text.isEmpty()) {
        text = Text(state.settings.language, fault.message);
    }
    host.outputChanged();  // the output so far is in view while the box is up
    // Titled as every other error box.
    host.messageBox(Text(state.settings.language, Caption::ErrorWord), text, MsgIcon::None,
                    MsgButtons::Ok, MsgAnswer::Ok);
}

}  // namespace

void AppendResultLine(const ComputeResult& result, const AppState& state, OutputText& output) {
    const Words& words = WordsOf(state.settings.language);
    switch (result.computed) {
        case ComputedPart::Difference:
            AppendDifferenceLine(result, state, words, output);
            break;
        case ComputedPart::SecondDate:
        case ComputedPart::FirstDate:
            AppendDateLine(result, state, words, output);
            break;
        case ComputedPart::Nothing:
            break;
    }
}

bool ComputeAndShow(const ComputeEngine& engine, AppState& state, Host& host, QString& first,
                    QString& difference, QString& second, ComputeResult* result) {
    OutputText& output = host.output();
    TrimWhite(first);
    TrimWhite(difference);
    TrimWhite(second);
    ComputeOutcome outcome = engine.Compute(first, difference, second);
    ComputeResult& r = outcome.result;
    if (outcome.ok()) {
        AppendResultLine(r, state, output);
        output.append(kCrLf);
    }
    // The fields read or computed, written back (a batch run leaves the window's alone); a
    // fault's box shows them so.
    const std::array<QString*, 3> given = {&first, &difference, &second};
    const std::array<QString*, 3> fields = {
        &state.session.firstDateText, &state.session.dateDiffText, &state.session.secondDateText};
    bool fieldsWritten = false;
    // The texts given become the canonical form of what was read; the computed field goes to
    // the window's field only.
    const std::size_t computedField = r.computed == ComputedPart::SecondDate   ? kSecondField
                                      : r.computed == ComputedPart::FirstDate  ? kFirstField
                                      : r.computed == ComputedPart::Difference ? kDifferenceField
                                                                               : given.size();
    for (std::size_t field = 0; field < given.size(); ++field) {
        if (!r.written[field]) {
            continue;
        }
        const bool batch = state.session.batchRunning;
        if (field != computedField) {
            *given[field] = r.fields[field];
            if (!batch && fields[field] != given[field]) {
                *fields[field] = r.fields[field];
            }
        } else if (!batch) {
            *fields[field] = r.fields[field];
        }
        fieldsWritten = fieldsWritten || !batch;
    }
    if (fieldsWritten) {
        host.fieldsChanged();
    }
    if (!outcome.ok()) {
        const bool outOfRange = outcome.fault->message == ComputeMessageRow::ResultOutOfRange;
        if (outOfRange) {
            output.append(WordsOf(state.settings.language).outOfRange);
            output.append(kCrLf);
        }
        ShowFault(*outcome.fault, state, host);
        if (outOfRange) {
            output.append(kCrLf);
            host.outputChanged();
        }
    } else {
        host.outputChanged();
    }
    if (result != nullptr) {
        *result = std::move(r);
    }
    return outcome.ok();
}

}  // namespace daybridge
