// Reads working-day cases and prints our answers, one line each, for numpy_reference.py:
//   "W mask n" then n lines of holiday JDNs: a weekend (7 digits, Monday first, 1 a weekend day)
//       and holidays, given to the calendar as a rule file of single dates;
//   "C first second inc": the count; "F first d inc", "S second d inc": the date stepped from
//   a first or to a second date ("N" when there is none);
//   "R day roll 0": the day rolled by convention 0..3 (following, preceding, modified
//   following, modified preceding); "Q year month n": the n-th working day of a month ("N"
//   when none); "M year month 0": the working days of the month.
#include <QString>
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>

#include "jdcore/day_count.h"
#include "workdays/business_days.h"
#include "workdays/workday_calendar.h"

int main() {
    using namespace daybridge;
    std::ios::sync_with_stdio(false);
    WorkdayCalendar calendar;
    std::string kind;
    while (std::cin >> kind) {
        if (kind == "W") {
            std::string mask;
            int count = 0;
            std::cin >> mask >> count;
            QString rules;
            for (int i = 0; i < count; ++i) {
                std::int64_t jdn = 0;
                std::cin >> jdn;
                const jdcore::YearMonthDay date = jdcore::gregorian_from_jdn(jdn);
                rules +=
                    QStringLiteral("%1-%2-%3 : h\n").arg(date.year).arg(date.month).arg(date.day);
            }
            const HolidayParseResult parsed = ParseHolidayRules(rules);
            if (!parsed.set) {
                std::cerr << "rules refused at line " << parsed.line << "\n";
                return 1;
            }
            calendar = WorkdayCalendar(*ParseWeekend(QString::fromStdString(mask)),
                                       std::make_shared<HolidaySet>(*parsed.set));
            continue;
        }
        std::int64_t a = 0, b = 0;
        int inc = 0;
        std::cin >> a >> b >> inc;
        std::int64_t answer = 0;
        if (kind == "C") {
            answer = calendar.Count(a, b, inc != 0);
        } else if (kind == "M") {
            answer = WorkdaysInMonth(calendar, a, static_cast<int>(b));
        } else if (kind == "R" || kind == "Q") {
            answer = kind == "R" ? Rolled(calendar, a, static_cast<Roll>(b))
                                 : NthWorkdayOfMonth(calendar, a, static_cast<int>(b), inc);
            if (answer == WorkdayCalendar::kNoDate || answer == -WorkdayCalendar::kNoDate) {
                std::cout << "N\n";
                continue;
            }
        } else {
            answer = kind == "F" ? calendar.StepFromFirst(a, b, inc != 0)
                                 : calendar.StepFromSecond(a, b, inc != 0);
            if (answer == WorkdayCalendar::kNoDate || answer == -WorkdayCalendar::kNoDate) {
                std::cout << "N\n";
                continue;
            }
        }
        std::cout << answer << '\n';
    }
    return 0;
}
