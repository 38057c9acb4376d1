// The shipped holiday sets against python3-holidays, year by year: every year of the range
// compared agrees except those listed, where the reference (version 0.10, 2020) does not know
// a rule or a change (each one explained).
#include <gtest/gtest.h>

#include <QFile>
#include <map>
#include <set>
#include <sstream>

#include "jdcore/day_count.h"
#include "support/python_reference.h"
#include "workdays/holiday_count.h"

namespace daybridge {
namespace {

std::shared_ptr<const HolidaySet> ShippedSet(const char* name) {
    QFile file(QStringLiteral(DAYBRIDGE_DATA_DIR "/holidays/") + QLatin1String(name) +
               QStringLiteral(".txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const HolidayParseResult parsed = ParseHolidayRules(QString::fromUtf8(file.readAll()));
    EXPECT_TRUE(parsed.set.has_value()) << name << " " << parsed.line;
    return std::make_shared<HolidaySet>(parsed.set.value_or(HolidaySet{}));
}

struct SetCase {
    const char* file;
    const char* reference;  // python-holidays class
    int firstYear, lastYear;
    std::set<int> differing;
};

TEST(ShippedHolidays, AgreeWithPythonHolidays) {
    const SetCase cases[] = {
        // The reference begins with 1991 (in 1990 it has the holidays from 3 October only).
        {"germany", "Germany", 1991, 2100, {}},
        // The reference knows neither the Spring Bank Holiday moved for the 2002 jubilee nor
        // the changes of 2022 and 2023.
        {"england-wales", "England", 1900, 2100, {2002, 2022, 2023}},
        // Before 1971 the reference applies the observed rule to some holidays and some years
        // only, and gives the fourth Thursday of November before 1942; it has no Juneteenth
        // (since 2021).
        {"united-states", "US", 1971, 2020, {}},
        // The reference counts 11 November from 1918, the armistice itself; the holiday was
        // made in 1922.
        {"france", "France", 1900, 2100, {1918, 1919, 1920, 1921}},
    };
    for (const SetCase& c : cases) {
        const auto out = testing::RunPython(
            std::string("import holidays\n") + "h = holidays." + c.reference + "(years=range(" +
            std::to_string(c.firstYear) + ", " + std::to_string(c.lastYear + 1) +
            "))\n"
            "for d in sorted(h): print(d.year, d.toordinal() + 1721425)\n");
        if (!out) {
            GTEST_SKIP() << "python3-holidays is not installed";
        }
        std::map<int, std::set<std::int64_t>> reference;
        std::istringstream lines(*out);
        int year = 0;
        std::int64_t jdn = 0;
        while (lines >> year >> jdn) {
            reference[year].insert(jdn);
        }
        const HolidayCounter counter(ShippedSet(c.file), WeekendSchedule(0x60));
        std::set<int> differing;
        for (int y = c.firstYear; y <= c.lastYear; ++y) {
            std::set<std::int64_t> ours;
            for (const HolidayDate& h : counter.Between(jdcore::jdn_from_gregorian(y, 1, 1),
                                                        jdcore::jdn_from_gregorian(y, 12, 31))) {
                ours.insert(h.jdn);
            }
            if (ours != reference[y]) {
                differing.insert(y);
            }
        }
        std::ostringstream shown;
        for (int y : differing) {
            shown << y << ' ';
        }
        EXPECT_EQ(differing, c.differing) << c.file << ": " << shown.str();
    }
}

}  // namespace
}  // namespace daybridge
