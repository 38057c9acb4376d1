// Prints the shipped holiday sets for holidays_reference.py. Arguments: the folder of the
// shipped sets. Reads lines "NAME FIRST LAST" and prints, for each, a header line
// "= NAME REGION FIRST LAST" (the set's @region and @years, "-" where missing), its weekends
// "w DAYS FIRSTJDN LASTJDN" (DAYS bit 0 Monday .. bit 6 Sunday), then every
// day that is not a weekend day (the set's @weekend, else Saturday and Sunday, and its weekend
// lines) and has a holiday that counts by default, in the Gregorian years FIRST..LAST, a line
// "YYYY-MM-DD<TAB>NAMES" each (the English names of its holidays' rules, "; " between), then
// "." alone. Holidays on weekend days change no count: not printed. Each
// set is read by its name, with its @include sets; a set that is refused prints "! NAME line N".
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "jdcore/day_count.h"
#include "workdays/holiday_rules.h"
#include "workdays/workday_calendar.h"

namespace {

std::optional<QString> ReadSet(const QString& folder, const QString& name) {
    QFile file(folder + u'/' + name + QStringLiteral(".txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

}  // namespace

int main(int argc, char** argv) {
    using namespace daybridge;
    if (argc != 2) {
        std::cerr << "usage: holiday_dump HOLIDAYS_FOLDER\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const HolidayIncludes includes = [&folder](const QString& name) {
        return ReadSet(folder, name);
    };
    std::ios::sync_with_stdio(false);
    std::string name;
    int first = 0, last = 0;
    while (std::cin >> name >> first >> last) {
        const std::optional<QString> text = ReadSet(folder, QString::fromStdString(name));
        const HolidayParseResult parsed =
            text ? ParseHolidayRules(*text, includes) : HolidayParseResult{};
        if (!parsed.set) {
            std::cout << "! " << name << " line " << parsed.line << '\n';
            continue;
        }
        const HolidaySetInfo& info = parsed.set->info;
        std::cout << "= " << name << ' '
                  << (info.region.isEmpty() ? std::string("-") : info.region.toStdString()) << ' ';
        if (info.hasYears) {
            std::cout << info.firstYear << ' ' << info.lastYear << '\n';
        } else {
            std::cout << "- -\n";
        }
        const std::uint8_t weekend = info.weekend.value_or(WorkdayCalendar::kSaturdaySunday);
        for (const WeekendSpan& span : WeekendSchedule(weekend, parsed.set->weekends).spans) {
            std::cout << "w " << int{span.days} << ' ' << span.first << ' ' << span.last << '\n';
        }
        const WorkdayCalendar calendar(weekend, std::make_shared<HolidaySet>(*parsed.set));
        std::map<std::int64_t, std::string> days;  // the names of a day's holidays
        for (int year = first; year <= last; ++year) {
            for (const WorkdayCalendar::Listed& h :
                 calendar.HolidaysBetween(jdcore::jdn_from_gregorian(year, 1, 1),
                                          jdcore::jdn_from_gregorian(year, 12, 31))) {
                if (!calendar.IsWeekendDay(h.jdn)) {
                    std::string& names = days[h.jdn];
                    names += (names.empty() ? "" : "; ") +
                             h.rule->Name(daybridge::kEnglish).toStdString();
                }
            }
        }
        for (const auto& [jdn, names] : days) {
            const jdcore::YearMonthDay date = jdcore::gregorian_from_jdn(jdn);
            char day[16];
            std::snprintf(day, sizeof day, "%04d-%02d-%02d", static_cast<int>(date.year),
                          static_cast<int>(date.month), static_cast<int>(date.day));
            std::cout << day << '\t' << names << '\n';
        }
        std::cout << ".\n";
    }
    return 0;
}
