// Reads lines "U jdn text", "Y jdn n" or "M jdn n" and prints, one line each, the CE day
// reached by the unit difference `text` (read as the window reads it, in English), by n
// years, or by n months; "R" when out of range, "I" when the text is not a unit difference.
// Used by dateutil_reference.py to compare with dateutil.relativedelta.
#include <QString>
#include <cstdint>
#include <iostream>
#include <string>

#include "calendar/calendar_units.h"
#include "datetext/unit_difference.h"

int main() {
    std::ios::sync_with_stdio(false);
    std::string kind;
    std::int64_t jdn = 0;
    std::string rest;
    while (std::cin >> kind >> jdn && std::getline(std::cin, rest)) {
        daybridge::UnitResult result;
        if (kind == "U") {
            const daybridge::UnitDifferenceParse parsed =
                daybridge::ParseUnitDifference(QString::fromStdString(rest), daybridge::kEnglish);
            if (parsed.outcome != daybridge::ParseOutcome::Valid) {
                std::cout << "I\n";
                continue;
            }
            result = daybridge::AddUnits(daybridge::CalendarId::CE, jdn, parsed.difference);
        } else {
            const std::int64_t n = std::stoll(rest);
            result = kind == "Y" ? daybridge::AddYears(daybridge::CalendarId::CE, jdn, n)
                                 : daybridge::AddMonths(daybridge::CalendarId::CE, jdn, n);
        }
        if (result.outcome == daybridge::UnitOutcome::Done) {
            std::cout << result.jdn << '\n';
        } else {
            std::cout << "R\n";
        }
    }
    return 0;
}
