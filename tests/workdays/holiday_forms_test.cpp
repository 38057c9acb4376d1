// The richer forms of rule files: each date form against its meaning, asked day by day with the
// calendars' own conversions (a day of another calendar's month, the weekday before or after a
// date, the weekday in a span, the day the sun reaches a longitude); substitute days, extra
// working days, weekends by date, categories and half days against the days they describe;
// @include; the refusals of malformed lines, and their texts in the text data file.
#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QStringList>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "jdcore/astronomy.h"
#include "jdcore/day_count.h"
#include "jdcore/lunisolar.h"
#include "jdcore/umm_al_qura.h"
#include "jdcore/world_calendars.h"
#include "support/qstring_printer.h"
#include "workdays/holiday_count.h"
#include "workdays/workday_calendar.h"

namespace daybridge {
namespace {

using jdcore::floor_mod;

std::shared_ptr<const HolidaySet> Read(const QString& text, const HolidayIncludes& includes = {}) {
    const HolidayParseResult parsed = ParseHolidayRules(text, includes);
    EXPECT_TRUE(parsed.set.has_value())
        << parsed.line << ": " << HolidayFaultEnglish(parsed.fault, parsed.details).toStdString()
        << "\n"
        << text.toStdString();
    return parsed.set ? std::make_shared<HolidaySet>(*parsed.set) : nullptr;
}

// The holiday days (own days, not moved) of a one-rule set in a Gregorian year.
std::set<std::int64_t> DaysIn(const QString& rule, std::int64_t year) {
    const auto set = Read(rule + QStringLiteral(" : r"));
    std::set<std::int64_t> days;
    if (set) {
        const HolidayCounter counter(set, WeekendSchedule(0));
        for (const HolidayDate& h : counter.Between(jdcore::jdn_from_gregorian(year, 1, 1),
                                                    jdcore::jdn_from_gregorian(year, 12, 31))) {
            days.insert(h.jdn);
        }
    }
    return days;
}

// The days of a Gregorian year a predicate picks, one by one.
std::set<std::int64_t> DaysWhere(std::int64_t year, const std::function<bool(std::int64_t)>& is) {
    std::set<std::int64_t> days;
    for (std::int64_t d = jdcore::jdn_from_gregorian(year, 1, 1);
         d <= jdcore::jdn_from_gregorian(year, 12, 31); ++d) {
        if (is(d)) {
            days.insert(d);
        }
    }
    return days;
}

std::int64_t Ce(int y, int m, int d) {
    return jdcore::jdn_from_gregorian(y, m, d);
}

int WeekdayOf(std::int64_t jdn) {
    return static_cast<int>(floor_mod(jdn, 7));  // 0 Monday
}

// A day of another calendar's month, and its last day, as the calendar's own conversion from
// the day says; CHN and KOR never the leap month of that number.
TEST(HolidayForms, DaysOfOtherCalendarsAreTheDaysTheCalendarsName) {
    using Convert = std::function<std::optional<std::array<std::int64_t, 2>>(std::int64_t)>;
    const auto world = [](jdcore::WorldCalendar cal) -> Convert {
        return [cal](std::int64_t jdn) {
            const auto date = jdcore::FromJdn(cal, jdn);
            return std::optional<std::array<std::int64_t, 2>>({date.month, date.day});
        };
    };
    const auto lunisolar = [](jdcore::Lunisolar cal) -> Convert {
        return [cal](std::int64_t jdn) -> std::optional<std::array<std::int64_t, 2>> {
            const auto date = jdcore::LunisolarFromJdn(cal, jdn);
            if (!date || date->leap) {
                return std::nullopt;
            }
            return std::array<std::int64_t, 2>{date->month, date->day};
        };
    };
    const Convert uq = [](std::int64_t jdn) -> std::optional<std::array<std::int64_t, 2>> {
        const auto date = jdcore::UmmAlQuraFromJdn(jdn);
        if (!date) {
            return std::nullopt;
        }
        return std::array<std::int64_t, 2>{date->month, date->day};
    };
    const struct {
        const char* code;
        int months;
        Convert convert;
    } calendars[] = {
        {"HEB", 13, world(jdcore::WorldCalendar::Hebrew)},
        {"ISL", 12, world(jdcore::WorldCalendar::Islamic)},
        {"UQ", 12, uq},
        {"PER", 12, world(jdcore::WorldCalendar::Persian)},
        {"COP", 13, world(jdcore::WorldCalendar::Coptic)},
        {"ETH", 13, world(jdcore::WorldCalendar::Ethiopian)},
        {"IND", 12, world(jdcore::WorldCalendar::Indian)},
        {"CHN", 12, lunisolar(jdcore::Lunisolar::Chinese)},
        {"KOR", 12, lunisolar(jdcore::Lunisolar::Korean)},
    };
    std::mt19937_64 random(28);
    for (const auto& c : calendars) {
        for (int trial = 0; trial < 12; ++trial) {
            const int year = 1900 + static_cast<int>(random() % 250);
            const int month = 1 + static_cast<int>(random() % static_cast<unsigned>(c.months));
            const bool last = trial % 4 == 0;
            const int day = last ? 0 : (trial % 4 == 1 ? 30 : 1 + static_cast<int>(random() % 29));
            const QString rule = QStringLiteral("%1 %2-%3")
                                     .arg(QLatin1String(c.code))
                                     .arg(month)
                                     .arg(last ? QStringLiteral("last") : QString::number(day));
            const auto expected = DaysWhere(year, [&](std::int64_t jdn) {
                const auto date = c.convert(jdn);
                if (!date || (*date)[0] != month) {
                    return false;
                }
                if (!last) {
                    return (*date)[1] == day;
                }
                const auto next = c.convert(jdn + 1);
                return !next || (*next)[0] != month;
            });
            EXPECT_EQ(DaysIn(rule, year), expected) << rule.toStdString() << " in " << year;
        }
    }
    // JC is the Julian calendar, an offset moves any date.
    EXPECT_EQ(DaysIn(QStringLiteral("JC 12-25"), 2025),
              DaysIn(QStringLiteral("12-25 julian"), 2025));
    EXPECT_EQ(DaysIn(QStringLiteral("CHN 1-1 -1"), 2024), std::set<std::int64_t>{Ce(2024, 2, 9)});
}

// Weekdays before, after, on or before, on or after another date, the nth of them, with an
// offset; counted from the base's own date, whatever form it has.
TEST(HolidayForms, WeekdaysRelativeToADate) {
    const struct {
        const char* how;
        bool after, inclusive;
    } directions[] = {
        {"before", false, false},
        {"after", true, false},
        {"on or before", false, true},
        {"on or after", true, true},
    };
    const char* const bases[] = {"05-25", "easter", "first monday of november", "CHN 1-1",
                                 "HEB 7-1"};
    const char* const weekdays[] = {"monday", "tue", "wednesday", "thu", "friday", "sat", "sunday"};
    const char* const nths[] = {"", "first ", "2nd ", "third "};
    std::mt19937_64 random(5);
    for (int trial = 0; trial < 160; ++trial) {
        const int year = 1950 + static_cast<int>(random() % 150);
        const auto& direction = directions[random() % 4];
        QString base = QLatin1String(bases[random() % 5]);
        const int weekday = static_cast<int>(random() % 7);
        const int nth = static_cast<int>(random() % 4);
        const int offset = static_cast<int>(random() % 5) - 2;
        // An offset after the base belongs to the base.
        if (offset != 0) {
            base += QStringLiteral(" %1%2").arg(offset > 0 ? "+" : "").arg(offset);
        }
        const QString rule = QStringLiteral("%1%2 %3 %4")
                                 .arg(QLatin1String(nths[nth]), QLatin1String(weekdays[weekday]),
                                      QLatin1String(direction.how), base);
        // Walk from each base day near the year, counting the weekdays met.
        std::set<std::int64_t> expected;
        const int wanted = nth == 0 ? 1 : nth;
        for (int baseYear = year - 1; baseYear <= year + 1; ++baseYear) {
            for (const std::int64_t baseDay : DaysIn(base, baseYear)) {
                int met = 0;
                for (std::int64_t step = direction.inclusive ? 0 : 1;; ++step) {
                    const std::int64_t at = baseDay + (direction.after ? step : -step);
                    if (WeekdayOf(at) == weekday && ++met == wanted) {
                        if (jdcore::gregorian_from_jdn(at).year == year) {
                            expected.insert(at);
                        }
                        break;
                    }
                }
            }
        }
        EXPECT_EQ(DaysIn(rule, year), expected) << rule.toStdString() << " " << year;
    }
    // The weekday in a span of up to a week, also across the turn of the year.
    for (const char* span : {"10-31 and 11-06", "12-29 and 01-04", "06-20 and 06-26"}) {
        for (int weekday = 0; weekday < 7; ++weekday) {
            const QString rule = QStringLiteral("%1 between %2")
                                     .arg(QLatin1String(weekdays[weekday]), QLatin1String(span));
            const QStringList ends = QString::fromLatin1(span).split(QStringLiteral(" and "));
            for (int year = 2020; year < 2030; ++year) {
                const auto dayOf = [](const QString& md, int y) {
                    return Ce(y, md.left(2).toInt(), md.mid(3).toInt());
                };
                const auto expected = DaysWhere(year, [&](std::int64_t jdn) {
                    for (int start = year - 1; start <= year; ++start) {
                        const std::int64_t first = dayOf(ends[0], start);
                        const bool wraps = dayOf(ends[1], start) < first;
                        const std::int64_t end = dayOf(ends[1], wraps ? start + 1 : start);
                        if (jdn >= first && jdn <= end && WeekdayOf(jdn) == weekday) {
                            return true;
                        }
                    }
                    return false;
                });
                EXPECT_EQ(DaysIn(rule, year), expected) << rule.toStdString() << " " << year;
            }
        }
    }
}

// The solar form's day is the local day (at the offset) during which the sun's apparent
// longitude reaches the degrees; published equinox days of Japan and Qingming days agree.
TEST(HolidayForms, SolarDaysHoldTheMomentTheSunReachesItsLongitude) {
    std::mt19937_64 random(9);
    for (int trial = 0; trial < 40; ++trial) {
        const int year = 1900 + static_cast<int>(random() % 200);
        const int degrees = 15 * static_cast<int>(random() % 24);
        const int minutes = (static_cast<int>(random() % 25) - 12) * 60 + (trial % 2) * 30;
        const QString rule = QStringLiteral("solar %1 utc%2%3:%4")
                                 .arg(degrees)
                                 .arg(minutes < 0 ? '-' : '+')
                                 .arg(std::abs(minutes) / 60)
                                 .arg(std::abs(minutes) % 60, 2, 10, QLatin1Char('0'));
        const auto days = DaysIn(rule, year);
        ASSERT_EQ(days.size(), 1u) << rule.toStdString() << " " << year;
        // Longitude at the local day's start and end (UT), unwrapped around the target.
        const double start = static_cast<double>(*days.begin()) - 0.5 - minutes / 1440.0;
        const auto past = [&](double jd) {
            const double ahead =
                std::fmod(jdcore::astronomy::SolarLongitude(jd) - degrees + 540.0, 360.0) - 180.0;
            return ahead >= 0;
        };
        EXPECT_FALSE(past(start)) << rule.toStdString() << " " << year;
        EXPECT_TRUE(past(start + 1)) << rule.toStdString() << " " << year;
    }
    // Published: Japan's equinox days (utc+9) and Qingming (utc+8).
    EXPECT_EQ(DaysIn(QStringLiteral("solar 0 utc+9"), 2024),
              std::set<std::int64_t>{Ce(2024, 3, 20)});
    EXPECT_EQ(DaysIn(QStringLiteral("solar 180 utc+9"), 2025),
              std::set<std::int64_t>{Ce(2025, 9, 23)});
    EXPECT_EQ(DaysIn(QStringLiteral("solar 15 utc+8"), 2024),
              std::set<std::int64_t>{Ce(2024, 4, 4)});
}

// Bounds given as CE dates keep the occurrences on or after / on or before that day.
TEST(HolidayForms, DateBounds) {
    const auto set = Read(QStringLiteral("ISL 10-1 from 2024-01-01 until 2033-06-30 : Eid\n"));
    ASSERT_TRUE(set);
    const HolidayCounter counter(set, WeekendSchedule(0));
    const auto all = DaysWhere(2033, [](std::int64_t jdn) {
        const auto date = jdcore::FromJdn(jdcore::WorldCalendar::Islamic, jdn);
        return date.month == 10 && date.day == 1;
    });
    ASSERT_EQ(all.size(), 2u);  // an Islamic date falls twice in 2033
    const auto dates = counter.Between(Ce(2023, 1, 1), Ce(2034, 12, 31));
    std::set<std::int64_t> days;
    for (const HolidayDate& h : dates) {
        days.insert(h.jdn);
    }
    std::set<std::int64_t> expected;
    for (int year = 2023; year <= 2034; ++year) {
        for (const std::int64_t d : DaysWhere(year, [](std::int64_t jdn) {
                 const auto date = jdcore::FromJdn(jdcore::WorldCalendar::Islamic, jdn);
                 return date.month == 10 && date.day == 1;
             })) {
            if (d >= Ce(2024, 1, 1) && d <= Ce(2033, 6, 30)) {
                expected.insert(d);
            }
        }
    }
    EXPECT_EQ(days, expected);
    EXPECT_EQ(*days.rbegin(), *all.begin());
}

// Substitute days, observed moves with their trigger days, extra working days and weekends by
// date, against the days they describe; counting agrees with the days asked one by one.
TEST(HolidayForms, SubstitutesWorkdaysAndWeekendsByDate) {
    const auto set =
        Read(QStringLiteral("@name Test | Test\n"
                            "05-03 substitute next on sun : Constitution Day\n"
                            "05-04 substitute next on sun : Greenery Day\n"
                            "05-05 substitute next on sun : Children's Day\n"
                            "12-25 observed nearest on sun : Christmas\n"
                            "11-11 substitute next on sat,sun : Armistice\n"
                            "workday 2021-05-08 : Make-up Saturday\n"
                            "weekend fri,sat until 2013-06-28\n"
                            "weekend sat,sun from 2013-06-29\n"));
    ASSERT_TRUE(set);
    const WorkdayCalendar calendar(WorkdayCalendar::kSaturdaySunday, set);
    // 2019: 3-5 May Fri-Sun, the substitute on Monday 6 May.
    EXPECT_TRUE(calendar.IsHoliday(Ce(2019, 5, 5)));
    EXPECT_TRUE(calendar.IsHoliday(Ce(2019, 5, 6)));
    EXPECT_EQ(calendar.HolidayNames(Ce(2019, 5, 6)),
              QStringList{QStringLiteral("Children's Day (substitute)")});
    // 2020: 3 May a Sunday: its substitute passes the holidays of 4 and 5 May to Wednesday.
    EXPECT_TRUE(calendar.IsHoliday(Ce(2020, 5, 6)));
    EXPECT_FALSE(calendar.IsHoliday(Ce(2020, 5, 7)));
    // A Saturday triggers nothing with "on sun".
    EXPECT_FALSE(calendar.IsHoliday(Ce(2021, 12, 24)));  // Christmas 2021 on a Saturday stays
    EXPECT_TRUE(calendar.IsHoliday(Ce(2022, 12, 26)));   // on a Sunday: to Monday
    EXPECT_FALSE(calendar.IsHoliday(Ce(2022, 12, 25)));
    EXPECT_TRUE(calendar.IsWorkday(Ce(2021, 5, 8)));    // a Saturday
    EXPECT_TRUE(calendar.IsHoliday(Ce(2023, 11, 13)));  // 11 November 2023 a Saturday
    // The weekend by date: Friday and Saturday up to 28 June 2013, then Saturday and Sunday.
    for (std::int64_t d = Ce(2013, 6, 1); d < Ce(2013, 8, 1); ++d) {
        const int weekday = WeekdayOf(d);
        const bool weekend =
            d <= Ce(2013, 6, 28) ? weekday == 4 || weekday == 5 : weekday == 5 || weekday == 6;
        EXPECT_EQ(calendar.IsWeekendDay(d), weekend) << d;
    }
    // Counts of every span of a few years agree with the days one by one.
    std::mt19937_64 random(3);
    const std::int64_t base = Ce(2012, 1, 1);
    std::vector<std::int64_t> before{0};
    for (std::int64_t d = base; d < base + 4000; ++d) {
        before.push_back(before.back() + (calendar.IsWorkday(d) ? 1 : 0));
    }
    for (int trial = 0; trial < 300; ++trial) {
        const std::int64_t a = static_cast<std::int64_t>(random() % 4000);
        const std::int64_t b = a + static_cast<std::int64_t>(random() % (4000 - a));
        EXPECT_EQ(calendar.WorkdaysIn(base + a, base + b), before[b] - before[a]) << a << " " << b;
    }
}

// Random sets of the richer forms: the count of any span, short or of centuries, equals the
// working days asked one by one (short spans) and the sum of its parts (long ones).
TEST(HolidayForms, CountsOfRicherSetsAgreeWithTheirDays) {
    std::mt19937_64 random(2028);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* const forms[] = {"CHN 1-1",
                                 "CHN 12-last",
                                 "KOR 8-15 -1",
                                 "ISL 10-1",
                                 "ISL 12-10",
                                 "UQ 9-1",
                                 "HEB 7-1",
                                 "PER 1-1",
                                 "ETH 1-1",
                                 "IND 1-1",
                                 "monday before 05-25",
                                 "first thursday after 04-18",
                                 "saturday between 10-31 and 11-06",
                                 "sunday on or after easter +7",
                                 "solar 0 utc+9",
                                 "tuesday after first monday of november"};
    const char* const options[] = {"",
                                   " observed next",
                                   " observed nearest on sun",
                                   " substitute next",
                                   " substitute previous on sat",
                                   " from 2001-03-01",
                                   " until 2010-10-10",
                                   " category school",
                                   " half"};
    for (int trial = 0; trial < 12; ++trial) {
        QStringList lines;
        const int rules = 2 + pick(8);
        for (int i = 0; i < rules; ++i) {
            lines << QStringLiteral("%1%2 : r%3")
                         .arg(QLatin1String(forms[pick(16)]), QLatin1String(options[pick(9)]))
                         .arg(i);
        }
        if (pick(2) == 0) {
            lines << QStringLiteral("workday 2005-05-%1").arg(1 + pick(28));
        }
        if (pick(2) == 0) {
            lines << QStringLiteral("weekend fri,sat until 2004-06-30");
        }
        const auto set = Read(lines.join(u'\n'));
        ASSERT_TRUE(set);
        const WorkdayCalendar calendar(static_cast<std::uint8_t>(pick(2) == 0 ? 0x60 : 0x40), set);
        const std::int64_t base = Ce(1995, 1, 1);
        std::vector<std::int64_t> before{0};
        for (std::int64_t d = base; d < base + 8000; ++d) {
            before.push_back(before.back() + (calendar.IsWorkday(d) ? 1 : 0));
        }
        for (int k = 0; k < 60; ++k) {
            const std::int64_t a = pick(8000);
            const std::int64_t b = a + pick(static_cast<int>(8001 - a));
            EXPECT_EQ(calendar.WorkdaysIn(base + a, base + b), before[b] - before[a])
                << lines.join(u'\n').toStdString();
        }
        const std::int64_t from = Ce(1700 + pick(200), 1 + pick(12), 1);
        const std::int64_t to = from + 365 * (300 + pick(300));
        const std::int64_t cut = from + pick(static_cast<int>(to - from));
        EXPECT_EQ(calendar.WorkdaysIn(from, to),
                  calendar.WorkdaysIn(from, cut) + calendar.WorkdaysIn(cut, to));
    }
}

// Only the categories that count make holidays: public and bank by default, or the set's
// @counts, or the selection's; half days are working days unless chosen as holidays.
TEST(HolidayForms, CategoriesAndHalfDays) {
    const QString rules = QStringLiteral(
        "01-01 : New Year\n"
        "08-01 category bank : Bank holiday\n"
        "09-01 category school : School day off\n"
        "12-24 half : Christmas Eve\n");
    const std::int64_t newYear = Ce(2031, 1, 1), bank = Ce(2031, 8, 1), school = Ce(2031, 9, 1),
                       eve = Ce(2031, 12, 24);
    const struct {
        const char* header;
        HolidaySelection selection;
        std::set<std::int64_t> holidays;
    } cases[] = {
        {"", {}, {newYear, bank}},
        {"@counts public\n", {}, {newYear}},
        {"@counts public\n", {kCategorySchool, false}, {school}},
        {"", {kAllCategories, false}, {newYear, bank, school}},
        {"", {std::nullopt, true}, {newYear, bank, eve}},
    };
    for (const auto& c : cases) {
        const auto set = Read(QString::fromLatin1(c.header) + rules);
        ASSERT_TRUE(set);
        const WorkdayCalendar calendar(0, set, c.selection);
        EXPECT_EQ(DaysWhere(2031, [&](std::int64_t d) { return !calendar.IsWorkday(d); }),
                  c.holidays)
            << c.header;
    }
}

// @include reads a shipped set's rules first; the including file's header describes the result,
// the included one's @counts and @weekend hold where it gives none.
TEST(HolidayForms, IncludedSets) {
    const std::map<QString, QString> shipped = {
        {QStringLiteral("land"), QStringLiteral("@name Land\n@counts public\n01-01 : New Year\n")},
        {QStringLiteral("land-north"),
         QStringLiteral("@name Land: North\n@include land\n06-01 : North Day\n")},
        {QStringLiteral("loop"), QStringLiteral("@include loop-b\n")},
        {QStringLiteral("loop-b"), QStringLiteral("@include loop\n")},
        {QStringLiteral("faulty"), QStringLiteral("@name F\n\n01-32 : Bad\n")},
    };
    const HolidayIncludes includes = [&](const QString& name) -> std::optional<QString> {
        const auto it = shipped.find(name);
        return it == shipped.end() ? std::nullopt : std::optional<QString>(it->second);
    };
    const auto set = Read(QStringLiteral("@name Town\n@include land-north\n"
                                         "07-01 category bank : Town Day\n"),
                          includes);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->info.nameEnglish, QStringLiteral("Town"));
    EXPECT_EQ(set->info.counts, kCategoryPublic);
    EXPECT_EQ(set->rules.size(), 3u);
    const WorkdayCalendar calendar(0, set);
    EXPECT_TRUE(calendar.IsHoliday(Ce(2030, 1, 1)));
    EXPECT_TRUE(calendar.IsHoliday(Ce(2030, 6, 1)));
    EXPECT_FALSE(calendar.IsHoliday(Ce(2030, 7, 1)));  // bank: not counted by land's @counts

    const struct {
        const char* text;
        int line;
        HolidayFault fault;
        const char* inSet;
    } refused[] = {
        {"01-01 : a\n@include nowhere\n", 2, HolidayFault::IncludeUnknown, ""},
        {"@include ../land\n", 1, HolidayFault::IncludeUnknown, ""},
        {"@include loop\n", 1, HolidayFault::IncludeCycle, "loop-b"},
        {"# x\n@include faulty\n", 3, HolidayFault::NotADate, "faulty"},
    };
    for (const auto& r : refused) {
        const HolidayParseResult parsed = ParseHolidayRules(QString::fromLatin1(r.text), includes);
        EXPECT_FALSE(parsed.set.has_value()) << r.text;
        EXPECT_EQ(parsed.line, r.line) << r.text;
        EXPECT_EQ(parsed.fault, r.fault) << r.text;
        EXPECT_EQ(parsed.includedSet, QLatin1String(r.inSet)) << r.text;
    }
}

// Each malformed new form is refused whole, at its line, with its fault.
TEST(HolidayForms, MalformedLinesAreRefusedAtTheirLine) {
    const struct {
        const char* line;
        HolidayFault fault;
    } cases[] = {
        {"@nmae Typo", HolidayFault::HeaderUnknown},
        {"@source", HolidayFault::HeaderEmpty},
        {"@region Bavaria", HolidayFault::HeaderRegion},
        {"@years 2100 1950", HolidayFault::HeaderYears},
        {"@years 1950", HolidayFault::HeaderYears},
        {"@weekend fri,sta", HolidayFault::NotADaySet},
        {"@counts public,holy", HolidayFault::NotACategory},
        {"@name Again", HolidayFault::HeaderTwice},  // the first line gives it already
        {"HEB 14-1 : Month", HolidayFault::CalendarDate},
        {"CHN 1-x : Day", HolidayFault::CalendarDate},
        {"ISL 10 : No day", HolidayFault::CalendarDate},
        {"CHN 1-1 +400 : Far", HolidayFault::OffsetRange},
        {"monday near 05-25 : How", HolidayFault::WeekdayHow},
        {"monday on before 05-25 : Or", HolidayFault::OrBeforeAfter},
        {"monday before : Base", HolidayFault::BaseMissing},
        {"last monday after 05-25 : Last", HolidayFault::NthRelative},
        {"monday before 2024-05-25 : Single", HolidayFault::NotABeginning},
        {"monday after monday after monday after monday after monday after 01-01 : Deep",
         HolidayFault::NestedTooDeep},
        {"monday after easter +240 : Far from Easter", HolidayFault::EasterOffset},
        {"saturday between 10-31 11-06 : And", HolidayFault::BetweenForm},
        {"saturday between 10-01 and 11-06 : Long", HolidayFault::BetweenLong},
        {"solar 400 utc+9 : Degrees", HolidayFault::SolarForm},
        {"solar 0 gmt+9 : Zone", HolidayFault::SolarOffset},
        {"solar 0 utc+9:5 : Minutes", HolidayFault::SolarOffset},
        {"workday 2021-05-32 : Day", HolidayFault::WorkdayForm},
        {"workday 05-08 : Year", HolidayFault::WorkdayForm},
        {"weekend fri,sat until 2013-06", HolidayFault::WeekendForm},
        {"weekend until 2013-06-28", HolidayFault::WeekendForm},
        {"weekend mon,tue,wed,thu,fri,sat,sun", HolidayFault::AllDaysWeekend},
        {"weekend sun from 2012-01-01", HolidayFault::WeekendOverlap},
        {"01-01 until 2023-02-30 : Bound", HolidayFault::BoundDate},
        {"01-01 from 2024-01-01 until 2023-12-31 : Backwards", HolidayFault::FirstAfterLast},
        {"01-01 observed nearest on : Days", HolidayFault::DaysMissing},
        {"01-01 observed next on 0000011 : Mask", HolidayFault::DaysMissing},
        {"01-01 substitute sometime : How", HolidayFault::SubstituteHow},
        {"01-01 substitute next substitute next : Twice", HolidayFault::OptionTwice},
        {"01-01 observed next substitute next : Both", HolidayFault::ObservedAndSubstitute},
        {"01-01 category holy : Category", HolidayFault::NotACategory},
        {"01-01 half half : Twice", HolidayFault::OptionTwice},
        {"01-01 : New Year |", HolidayFault::GermanNameEmpty},
    };
    for (const auto& c : cases) {
        const QString text =
            QStringList{QStringLiteral("@name Test | Test"),
                        QStringLiteral("weekend sat from 2011-01-01 until 2013-12-31"), QString(),
                        QString::fromUtf8(c.line), QStringLiteral("05-01 : May Day")}
                .join(u'\n');
        const HolidayParseResult parsed = ParseHolidayRules(text);
        EXPECT_FALSE(parsed.set.has_value()) << c.line;
        EXPECT_EQ(parsed.line, 4) << c.line;
        EXPECT_EQ(parsed.fault, c.fault)
            << c.line << " -> " << HolidayFaultEnglish(parsed.fault, parsed.details).toStdString();
    }
}

// Every fault has its text in the text data file in English and German, the English the same as
// the program's own (which is used before the file is read).
TEST(HolidayForms, EveryFaultHasItsTexts) {
    QFile file(QStringLiteral(DAYBRIDGE_DATA_DIR "/dbrg_text.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::map<int, QStringList> texts;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QStringList parts = line.split(u'\t');
        bool ok = false;
        const int id = parts[0].toInt(&ok);
        if (ok && parts.size() == 4) {  // English, German, French
            texts[id] = parts.mid(1);
        }
    }
    for (int f = static_cast<int>(HolidayFault::NoColon);
         f <= static_cast<int>(HolidayFault::IncludeTooDeep); ++f) {
        const auto fault = static_cast<HolidayFault>(f);
        const auto it = texts.find(HolidayFaultTextId(fault));
        ASSERT_NE(it, texts.end()) << f;
        const QString english = HolidayFaultEnglish(fault, {});
        EXPECT_EQ(it->second[0], QLatin1Char('"') + english + QLatin1Char('"')) << f;
        EXPECT_GT(it->second[1].size(), 2) << f;
        EXPECT_NE(it->second[1], it->second[0]) << f;
        EXPECT_GT(it->second[2].size(), 2) << f;
        EXPECT_NE(it->second[2], it->second[0]) << f;
    }
}

}  // namespace
}  // namespace daybridge
