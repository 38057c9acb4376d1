// The shipped holiday sets against python3-holidays, year by year: every year of the range
// compared agrees except those listed, where the reference (version 0.10, 2020) does not know
// a rule or a change (each one explained).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "jdcore/day_count.h"
#include "support/python_reference.h"
#include "workdays/holiday_count.h"
#include "workdays/workday_calendar.h"

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

std::optional<QString> ShippedText(const QString& name) {
    QFile file(QStringLiteral(DAYBRIDGE_DATA_DIR "/holidays/") + name + QStringLiteral(".txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

// A shipped set by name, its @include sets read as the program reads them.
HolidayParseResult ParseShipped(const QString& name) {
    const std::optional<QString> text = ShippedText(name);
    return text ? ParseHolidayRules(*text, ShippedText) : HolidayParseResult{};
}

TEST(ShippedHolidays, EveryFileLoadsWithItsNameAndYears) {
    const QStringList files = QDir(QStringLiteral(DAYBRIDGE_DATA_DIR "/holidays"))
                                  .entryList({QStringLiteral("*.txt")}, QDir::Files);
    EXPECT_GT(files.size(), 4);
    for (const QString& file : files) {
        const QString name = file.chopped(4);
        const HolidayParseResult parsed = ParseShipped(name);
        ASSERT_TRUE(parsed.set.has_value())
            << name.toStdString() << " line " << parsed.line << " of "
            << (parsed.includedSet.isEmpty() ? name : parsed.includedSet).toStdString() << ": "
            << HolidayFaultEnglish(parsed.fault, parsed.details).toStdString();
        const HolidaySetInfo& info = parsed.set->info;
        EXPECT_FALSE(info.nameEnglish.isEmpty()) << name.toStdString();
        EXPECT_FALSE(info.nameGerman.isEmpty()) << name.toStdString();
        EXPECT_TRUE(info.hasYears) << name.toStdString();
        EXPECT_FALSE(info.sources.isEmpty()) << name.toStdString();
    }
}

// tests/workdays/holiday_facts.tsv: set, date, whether the set's counted holidays hold it
// (observed there), and the law that says so.
TEST(ShippedHolidays, FactsTable) {
    QFile table(QStringLiteral(DAYBRIDGE_SOURCE_DIR "/tests/workdays/holiday_facts.tsv"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&table);
    in.readLine();  // the column names
    std::map<QString, WorkdayCalendar> calendars;
    int rows = 0;
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split(u'\t');
        if (fields.size() < 3) {
            continue;
        }
        const QString& name = fields[0];
        auto found = calendars.find(name);
        if (found == calendars.end()) {
            HolidayParseResult parsed = ParseShipped(name);
            ASSERT_TRUE(parsed.set.has_value()) << name.toStdString();
            const std::uint8_t weekend =
                parsed.set->info.weekend.value_or(WorkdayCalendar::kSaturdaySunday);
            found = calendars
                        .emplace(name, WorkdayCalendar(weekend, std::make_shared<HolidaySet>(
                                                                    std::move(*parsed.set))))
                        .first;
        }
        const QStringList ymd = fields[1].split(u'-');
        ASSERT_EQ(ymd.size(), 3) << fields[1].toStdString();
        const std::int64_t jdn =
            jdcore::jdn_from_gregorian(ymd[0].toInt(), ymd[1].toInt(), ymd[2].toInt());
        EXPECT_EQ(found->second.IsHoliday(jdn), fields[2] == QStringLiteral("yes"))
            << name.toStdString() << ' ' << fields[1].toStdString() << ": "
            << fields.value(3).toStdString();
        ++rows;
    }
    EXPECT_GT(rows, 0);
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
