// The names of the days and of the CE months in the interface languages, and the numbers of
// those languages: 0 English, 1 German, 2 French, 3 Portuguese, 4 Spanish (the languages
// without names of their own here use the English ones).
#pragma once

#include <QString>
#include <array>

namespace daybridge {

inline constexpr int kEnglish = 0;
inline constexpr int kGerman = 1;
inline constexpr int kFrench = 2;
inline constexpr int kPortuguese = 3;
inline constexpr int kSpanish = 4;

// The English CE month names, the same in every language where the batch language writes
// them (MONTHNAME( of CE, JC).
inline constexpr std::array<const char*, 12> kEnglishMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// Day name 0 = Sunday .. 6 = Saturday in a language; empty outside 0..6.
QString DayNameIn(int day, int language);
// CE month name 1..12 in a language; empty outside.
QString MonthNameIn(int month, int language);
// The English names: "Sunday".."Saturday" for 0..6, "January".."December" for 1..12.
QString DayName(int n);
QString MonthName(int m);
// A day name as the output writes it, in any of the languages with names of their own, any
// case.
bool IsWrittenDayName(QStringView word);

}  // namespace daybridge
