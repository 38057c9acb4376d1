#include "app/refused_date_text.h"

#include <QStringList>

#include "app/texts.h"
#include "calendar/calendar_registry.h"
#include "calendar/gregorian_switch.h"
#include "calendar/names.h"
#include "calendar/typed_date_fault.h"
#include "datetext/date_format.h"

namespace daybridge {

namespace {

// Texts of dbrg_text.dat.
constexpr int kTextFirstDateNotValid = 800;
constexpr int kTextSecondDateNotValid = 801;
constexpr int kTextMonthHasDays = 802;       // %1 month name, %2 year, %3 days
constexpr int kTextLeapYearMonth = 803;      // %1 calendar, %2 month, %3 its name, %4 year
constexpr int kTextMonthsNumbered = 804;     // %1 calendar, %2 months
constexpr int kTextLongCountPlace = 805;     // %1 place, %2 its name, %3 largest
constexpr int kTextWriteYearMonthDay = 806;  // %1 calendar, %2 an example
constexpr int kTextWriteLongCount = 807;     // %1 an example
constexpr int kTextSkippedAtSwitch = 565;    // %1 day, %2 month name, %3 year, %4 switch day
constexpr int kTextNoLeapMonthInYear = 572;  // %1 calendar, %2 month, %3 year
constexpr int kTextOtherLeapMonth = 573;     // %1 calendar, %2 month, %3 year, %4 its leap month
constexpr int kTextEraYears = 1152;          // %1 era, %2 its last year
constexpr int kTextRunningEraYears = 1153;   // %1 era
constexpr int kTextEraBegan = 1154;          // %1 era, %2 first day in CE, %3 in the era
constexpr int kTextEraEnded = 1155;          // %1 era, %2 last day in CE, %3 in the era
constexpr int kTextEraNeeded = 1156;         // %1 calendar, %2 first era's first day, %3 eras
constexpr int kTextNoSuchEra = 1157;         // %1 calendar, %2 the word, %3 eras

// The names of the Long Count's places from the katun on (German nouns are capitalised).
constexpr const char* kPlaceNames[] = {"baktun", "katun", "tun", "uinal", "kin"};

QString PlaceName(int place, Language language) {
    QString name = QString::fromLatin1(kPlaceNames[place - 1]);
    if (language == kGerman) {
        name[0] = name[0].toUpper();
    }
    return name;
}

// 1 January 2000 in the calendar, as the output writes it.
QString Example(CalendarId calendar) {
    constexpr std::int32_t kFirstJanuary2000 = 2451545;
    TextFormat format;
    return CanonicalDateText(calendar, kFirstJanuary2000, format);
}

// A day as the output writes it in a calendar, with the calendar's code.
QString DayText(CalendarId calendar, std::int64_t jdn) {
    TextFormat format;
    return CanonicalDateText(calendar, static_cast<std::int32_t>(jdn), format) + u' ' +
           CodeOf(calendar);
}

// The eras of a calendar with their short names: "Meiji (M), Taisho (T), ...".
QString EraList(const CalendarEntry& entry) {
    QStringList eras;
    for (std::size_t i = 0; i < entry.eras->names.size(); ++i) {
        eras.append(QLatin1String(entry.eras->names[i]) + QLatin1String(" (") +
                    QLatin1String(entry.eras->shortNames[i]) + u')');
    }
    return eras.join(QLatin1String(", "));
}

// Why a date lies outside the era it names: its year beyond the era's years, or its day before
// the era's first day or after its last; or, with no era named, a day of an era.
QString OutsideEraReason(const CalendarEntry& entry, const TypedDateFault& fault,
                         const QString& calendarName, Language language) {
    const CalendarDate& date = fault.date;
    const EraNames& eras = *entry.eras;
    if (date.era == 0) {
        return Text(language, kTextEraNeeded)
            .arg(calendarName, DayText(kDefaultCalendar, eras.firstJdn[0]), EraList(entry));
    }
    const QString era = EraName(entry, date.era);
    const std::int64_t lastYear = fault.check.limit;
    if (date.year < 1 || (lastYear > 0 && date.year > lastYear)) {
        return lastYear > 0 ? Text(language, kTextEraYears).arg(era, QString::number(lastYear))
                            : Text(language, kTextRunningEraYears).arg(era);
    }
    const auto index = static_cast<std::size_t>(date.era);
    const std::int64_t first = eras.firstJdn[index - 1];
    if (entry.toJdn(date) < first) {
        return Text(language, kTextEraBegan)
            .arg(era, DayText(kDefaultCalendar, first), DayText(entry.id, first));
    }
    const std::int64_t last = eras.firstJdn[index] - 1;  // an era that has ended
    return Text(language, kTextEraEnded)
        .arg(era, DayText(kDefaultCalendar, last), DayText(entry.id, last));
}

QString Reason(CalendarId calendar, const TypedDateFault& fault, Language language) {
    const CalendarEntry& entry = Calendar(calendar);
    const QString calendarName = Text(language, entry.nameText);
    if (!fault.unknownEra.isEmpty()) {
        return Text(language, kTextNoSuchEra).arg(calendarName, fault.unknownEra, EraList(entry));
    }
    if (fault.wrongForm) {
        return entry.notation == Notation::LongCount
                   ? Text(language, kTextWriteLongCount).arg(Example(calendar))
                   : Text(language, kTextWriteYearMonthDay).arg(calendarName, Example(calendar));
    }
    const CalendarDate& date = fault.date;
    const jdcore::DateCheck& check = fault.check;
    // The Gregorian months (JPN, ROC, BUD, HIS) are named in the interface language here,
    // where the batch language's MONTHNAME( keeps the English names.
    const bool gregorianMonths = entry.monthNames.fixed.data() == kEnglishMonthNames.data();
    const QString month =
        gregorianMonths
            ? MonthNameIn(date.month, language)
            : MonthNameOf(calendar, date.month, [language](int id) { return Text(language, id); });
    switch (check.problem) {
        case jdcore::DateProblem::DayOutOfRange: {
            const QString era = EraName(entry, date.era);
            const QString year = QString::number(date.year);
            return Text(language, kTextMonthHasDays)
                .arg(month, era.isEmpty() ? year : era + u' ' + year, QString::number(check.limit));
        }
        case jdcore::DateProblem::OutsideEra:
            if (entry.eras != nullptr) {
                return OutsideEraReason(entry, fault, calendarName, language);
            }
            break;
        case jdcore::DateProblem::NoSuchLeapMonth:
            if (date.leapMonth) {  // a lunisolar month marked leap
                return check.limit == 0
                           ? Text(language, kTextNoLeapMonthInYear)
                                 .arg(calendarName, QString::number(date.month),
                                      QString::number(date.year))
                           : Text(language, kTextOtherLeapMonth)
                                 .arg(calendarName, QString::number(date.month),
                                      QString::number(date.year), QString::number(check.limit));
            }
            return Text(language, kTextLeapYearMonth)
                .arg(calendarName, QString::number(date.month), month, QString::number(date.year));
        case jdcore::DateProblem::MonthOutOfRange:
            return Text(language, kTextMonthsNumbered)
                .arg(calendarName, QString::number(check.limit));
        case jdcore::DateProblem::InSwitchGap:
            return Text(language, kTextSkippedAtSwitch)
                .arg(QString::number(date.day), month, QString::number(date.year),
                     GregorianSwitchText(GregorianSwitchJdn()));
        case jdcore::DateProblem::PlaceOutOfRange:
            return Text(language, kTextLongCountPlace)
                .arg(QString::number(check.place), PlaceName(check.place, language),
                     QString::number(check.limit));
        default:
            break;
    }
    return {};
}

}  // namespace

QString RefusedDateMessage(int firstOrSecond, CalendarId calendar, const QString& text,
                           Language language) {
    const QString reason = RefusedDateReason(calendar, text, language);
    const QString field =
        Text(language, firstOrSecond == 1 ? kTextFirstDateNotValid : kTextSecondDateNotValid);
    if (reason.isEmpty() || field.isEmpty()) {
        return {};  // a text data file without these texts: the usual message
    }
    return field + QLatin1Char('\n') + reason;
}

QString RefusedDateReason(CalendarId calendar, const QString& text, Language language) {
    const std::optional<TypedDateFault> fault = WhyTypedDateIsRefused(calendar, text);
    return fault ? Reason(calendar, *fault, language) : QString();
}

QString DateCheckReason(const CalendarDate& date, const jdcore::DateCheck& check,
                        Language language) {
    TypedDateFault fault;
    fault.date = date;
    fault.check = check;
    return Reason(date.calendar, fault, language);
}

}  // namespace daybridge
