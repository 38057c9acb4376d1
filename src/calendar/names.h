// The names of the days and of the CE months in the interface languages.
#pragma once

#include <QString>
#include <array>

#include "text/language.h"

namespace daybridge {

// The English CE month names, the same in every language where the batch language writes
// them (MONTHNAME( of CE, JC).
inline constexpr std::array<const char*, 12> kEnglishMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// Day name 0 = Sunday .. 6 = Saturday in a language; empty outside 0..6.
QString DayNameIn(int day, Language language);
// CE month name 1..12 in a language; empty outside.
QString MonthNameIn(int month, Language language);
// The English names: "Sunday".."Saturday" for 0..6, "January".."December" for 1..12.
QString DayName(int n);
QString MonthName(int m);
// A day name as the output writes it, in any of the interface languages, any case.
bool IsWrittenDayName(QStringView word);

}  // namespace daybridge
