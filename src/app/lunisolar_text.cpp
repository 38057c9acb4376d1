#include "app/lunisolar_text.h"

#include "app/texts.h"
#include "calendar/calendar_registry.h"
#include "jdcore/lunisolar.h"

namespace daybridge {
namespace {

// Texts of dbrg_text.dat.
constexpr int kTextLongDate = 574;  // %1 day, %2 month, %3 leap note, %4 year, %5 name, %6 animal
constexpr int kTextLeapNote = 575;  // " (leap)"
constexpr int kTextFirstAnimal = 576;  // the rat; 587 the pig

// "bing-wu": the heavenly stem and the earthly branch, in lower case.
QString StemAndBranch(const jdcore::Sexagenary& year) {
    const std::string_view stem = jdcore::kHeavenlyStems[year.stem];
    const std::string_view branch = jdcore::kEarthlyBranches[year.branch];
    return (QString::fromLatin1(stem.data(), static_cast<qsizetype>(stem.size())) + u'-' +
            QString::fromLatin1(branch.data(), static_cast<qsizetype>(branch.size())))
        .toLower();
}

}  // namespace

QString LunisolarLongDate(CalendarId calendar, std::int64_t jdn, Language language) {
    const CalendarEntry& entry = Calendar(calendar);
    if (entry.notation != Notation::LunisolarDate || !InSpan(entry, jdn)) {
        return {};
    }
    const CalendarDate date = FromJdn(calendar, jdn);
    const jdcore::Sexagenary year = jdcore::SexagenaryOf(date.year);
    return Text(language, kTextLongDate)
        .arg(QString::number(date.day), QString::number(date.month),
             date.leapMonth ? Text(language, kTextLeapNote) : QString(), QString::number(date.year),
             StemAndBranch(year), Text(language, kTextFirstAnimal + year.branch));
}

}  // namespace daybridge
