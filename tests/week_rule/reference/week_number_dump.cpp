// Prints the week dates of every JDN in a range for week_number_python.py, one day a line: ISO
// year, week, day; the WEEKNUM type 1 and type 2 weeks; the first-full-week year and week with
// Sunday, then Monday as the first day.
//   week_number_dump first_jdn last_jdn
#include <cstdio>
#include <cstdlib>

#include "jdcore/week_rules.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: week_number_dump first_jdn last_jdn\n", stderr);
        return 2;
    }
    using namespace jdcore;
    const WeekRule rules[] = {*WeekNumReturnType(1),
                              *WeekNumReturnType(2),
                              {Weekday::Sunday, WeekOne::FullWeek},
                              {Weekday::Monday, WeekOne::FullWeek}};
    for (long long jdn = std::atoll(argv[1]); jdn <= std::atoll(argv[2]); ++jdn) {
        const WeekDate iso = ToWeekDate(kIsoWeeks, jdn);
        const WeekDate sunday = ToWeekDate(rules[2], jdn);
        const WeekDate monday = ToWeekDate(rules[3], jdn);
        std::printf("%lld %d %d %d %d %lld %d %lld %d\n", static_cast<long long>(iso.year),
                    iso.week, iso.day, ToWeekDate(rules[0], jdn).week,
                    ToWeekDate(rules[1], jdn).week, static_cast<long long>(sunday.year),
                    sunday.week, static_cast<long long>(monday.year), monday.week);
    }
    return 0;
}
