// The rules of the week-date calendar (WK) and the two fiscal calendars (FY: years of calendar
// months; FYW: 52/53-week years). One setting each for the whole program, as the Gregorian
// switch is: the window, a batch run and the runner's options all set them, and every date of
// these calendars is read and written by them.
//
// Their texts (settings, batch lines, options), case-blind:
//   week rule     ISO | US | MIDEAST | a WEEKNUM return type (1, 2, 11-17, 21) |
//                 DAY/WEEK1 with DAY one of MON..SUN and WEEK1 one of JAN1 (the week holding
//                 1 January), 4DAYS, FULL, CALENDAR (calendar-year weeks): "SUN/FULL"
//   fiscal year   MONTH or MONTH/NAMING: the first month (JAN..DEC or 1..12), named by the
//                 END year (the default) or the START year: "JUL", "APR/START"
//   52/53 weeks   RETAIL (the US retail 4-5-4 calendar), or
//                 ENDRULE/WEEKDAY/MONTH/PATTERN[/EXTRAWEEK[/NAMING]]: LAST or NEAREST, MON..SUN,
//                 the end month, 445, 454 or 544, the period of a 53rd week (1..12, default 12),
//                 END or START: "LAST/SAT/AUG/445", "NEAREST/SAT/JAN/454/12/START"
// The writers give the canonical form, which the readers take back.
#pragma once

#include <QString>
#include <optional>

#include "jdcore/fiscal.h"
#include "jdcore/week_rules.h"

namespace daybridge {

// ISO 8601 until set.
jdcore::WeekRule WeekDateRule();
void SetWeekDateRule(jdcore::WeekRule rule);
std::optional<jdcore::WeekRule> WeekRuleOfText(QStringView text);
QString WeekRuleText(jdcore::WeekRule rule);

// July, named by the end year, until set.
jdcore::MonthFiscalRule MonthFiscalYearRule();
void SetMonthFiscalYearRule(jdcore::MonthFiscalRule rule);
std::optional<jdcore::MonthFiscalRule> MonthFiscalRuleOfText(QStringView text);
QString MonthFiscalRuleText(jdcore::MonthFiscalRule rule);

// The US retail 4-5-4 calendar until set.
jdcore::WeekFiscalRule WeekFiscalYearRule();
void SetWeekFiscalYearRule(jdcore::WeekFiscalRule rule);
std::optional<jdcore::WeekFiscalRule> WeekFiscalRuleOfText(QStringView text);
QString WeekFiscalRuleText(const jdcore::WeekFiscalRule& rule);

inline constexpr jdcore::MonthFiscalRule kDefaultMonthFiscalRule{7,
                                                                 jdcore::FiscalYearName::ByEndYear};

}  // namespace daybridge
