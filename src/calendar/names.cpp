#include "calendar/names.h"

namespace daybridge {
namespace {

constexpr std::array<std::array<const char*, 7>, 2> kDayNames{{
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"},
}};

constexpr std::array<const char*, 12> kGermanMonthNames = {
    "Januar", "Februar", "März",      "April",   "Mai",      "Juni",
    "Juli",   "August",  "September", "Oktober", "November", "Dezember"};

std::size_t NamesRow(int language) {
    return language == kGerman ? 1 : 0;
}

}  // namespace

QString DayNameIn(int day, int language) {
    if (day < 0 || day > 6) {
        return {};
    }
    return QString::fromUtf8(kDayNames[NamesRow(language)][static_cast<std::size_t>(day)]);
}

QString MonthNameIn(int month, int language) {
    if (month < 1 || month > 12) {
        return {};
    }
    const auto& names = NamesRow(language) == 1 ? kGermanMonthNames : kEnglishMonthNames;
    return QString::fromUtf8(names[static_cast<std::size_t>(month - 1)]);
}

QString DayName(int n) {
    return DayNameIn(n, kEnglish);
}

QString MonthName(int m) {
    return MonthNameIn(m, kEnglish);
}

bool IsWrittenDayName(QStringView word) {
    static const std::array<QString, 14> kWritten = [] {
        std::array<QString, 14> names;
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
