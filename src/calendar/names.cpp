#include "calendar/names.h"

namespace daybridge {
namespace {

// By language number; French writes day and month names in lower case.
constexpr std::array<std::array<const char*, 7>, 3> kDayNames{{
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"},
    {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"},
}};

constexpr std::array<std::array<const char*, 12>, 3> kMonthNames{{
    kEnglishMonthNames,
    {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober",
     "November", "Dezember"},
    {"janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août", "septembre",
     "octobre", "novembre", "décembre"},
}};

std::size_t NamesRow(Language language) {
    return static_cast<std::size_t>(LanguageNumber(language));
}

}  // namespace

QString DayNameIn(int day, Language language) {
    if (day < 0 || day > 6) {
        return {};
    }
    return QString::fromUtf8(kDayNames[NamesRow(language)][static_cast<std::size_t>(day)]);
}

QString MonthNameIn(int month, Language language) {
    if (month < 1 || month > 12) {
        return {};
    }
    return QString::fromUtf8(kMonthNames[NamesRow(language)][static_cast<std::size_t>(month - 1)]);
}

QString DayName(int n) {
    return DayNameIn(n, kEnglish);
}

QString MonthName(int m) {
    return MonthNameIn(m, kEnglish);
}

bool IsWrittenDayName(QStringView word) {
    static const std::array<QString, 7 * kDayNames.size()> kWritten = [] {
        std::array<QString, 7 * kDayNames.size()> names;
        for (std::size_t i = 0; i < names.size(); ++i) {
            names[i] = QString::fromUtf8(kDayNames[i / 7][i % 7]);
        }
        return names;
    }();
    for (const QString& name : kWritten) {
        if (word.compare(name, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace daybridge
