// The working-day calendar against the day-by-day rule (support/day_rule.h): random weekend
// sets and random rule files (read by the parser), counting and stepping in both directions with
// include-first on and off, next to today's dates and next to both ends of the day range; the
// year-by-kind holiday count against the dates themselves over long spans; the rule file's
// refusals.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <iterator>
#include <memory>
#include <random>

#include "jdcore/day_count.h"
#include "support/day_rule.h"
#include "support/qstring_printer.h"
#include "workdays/workday_calendar.h"

namespace daybridge {
namespace {

using testing::DayTable;

// A random rule file around `year`: every kind of rule, bounds and shifts.
// With `westernEaster` false, Easter rules are Orthodox ones.
QString RandomRules(std::mt19937_64& random, std::int64_t year, bool gregorianOnly,
                    bool westernEaster = true) {
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static const char* const observed[] = {"", " observed next", " observed previous",
                                           " observed fri-mon"};
    static const char* const weekdays[] = {"monday", "tue",      "wednesday", "thursday",
                                           "fri",    "saturday", "sunday"};
    static const char* const nth[] = {"last", "first", "2nd", "third", "4th", "fifth"};
    QStringList lines{QStringLiteral("# random rules")};
    const int rules = 1 + pick(12);
    for (int i = 0; i < rules; ++i) {
        QString line;
        const bool julian = !gregorianOnly && pick(3) == 0;
        switch (pick(5)) {
            case 0:
            case 1:  // clustered in late December / early January and in May
                line = pick(2) == 0 ? QStringLiteral("%1-%2")
                                          .arg(pick(2) == 0 ? 12 : 1)
                                          .arg(pick(2) == 0 ? 24 + pick(8) : 1 + pick(3))
                                    : QStringLiteral("05-%1").arg(1 + pick(31));
                line += julian ? QStringLiteral(" julian") : QString();
                break;
            case 2:
                line = QStringLiteral("%1 %2 of %3")
                           .arg(QLatin1String(nth[pick(6)]), QLatin1String(weekdays[pick(7)]))
                           .arg(pick(2) == 0 ? 5 : 12);
                break;
            case 3:
                line = QStringLiteral("%1easter %2%3")
                           .arg(julian || !westernEaster ? QStringLiteral("orthodox ") : QString())
                           .arg(pick(2) == 0 ? '+' : '-')
                           .arg(pick(60));
                break;
            default:
                line = QStringLiteral("%1-05-%2").arg(year - 1 + pick(3)).arg(1 + pick(28));
                break;
        }
        if (!line.contains(u"-05-") || line.startsWith(u"05")) {
            if (pick(3) == 0) {
                line += QStringLiteral(" from %1").arg(year - 2 + pick(4));
            }
            if (pick(3) == 0) {
                line += QStringLiteral(" until %1").arg(year + 2 + pick(4));
            }
        }
        line += QLatin1String(observed[pick(4)]);
        lines << line + QStringLiteral(" : rule %1").arg(i);
    }
    return lines.join(u'\n');
}

std::shared_ptr<const HolidaySet> Parse(const QString& text) {
    const HolidayParseResult parsed = ParseHolidayRules(text);
    EXPECT_TRUE(parsed.set.has_value())
        << parsed.line << ": " << HolidayFaultEnglish(parsed.fault, parsed.details).toStdString()
        << "\n"
        << text.toStdString();
    return parsed.set ? std::make_shared<HolidaySet>(*parsed.set) : nullptr;
}

std::uint8_t RandomWeekend(std::mt19937_64& random) {
    std::uint8_t mask = 0;
    do {
        mask = static_cast<std::uint8_t>(random() % 127);  // never all seven
    } while (random() % 3 == 0 && std::popcount(mask) > 2);
    return mask;
}

TEST(WorkdayCalendar, CountingAndSteppingMatchTheDayByDayRule) {
    std::mt19937_64 random(20260101);
    const std::int64_t anchors[] = {2451545, -2099999700, 2099999700, 0};
    for (int trial = 0; trial < 120; ++trial) {
        const std::int64_t anchor = anchors[trial % 4] + static_cast<std::int64_t>(random() % 400);
        const std::int64_t year = jdcore::gregorian_from_jdn(anchor).year;
        const std::uint8_t weekend =
            trial < 8 ? WorkdayCalendar::kSaturdaySunday : RandomWeekend(random);
        const WorkdayCalendar calendar(
            weekend, trial % 8 == 0 ? nullptr : Parse(RandomRules(random, year, trial % 2 == 0)));
        const std::int64_t reach = 7 * 22 + 120;  // 20 working days or more in every week set
        const DayTable table([&](std::int64_t d) { return calendar.IsWorkday(d); },
                             anchor - 2 * reach, 4 * reach + 1);
        for (int inc = 0; inc < 2; ++inc) {
            for (std::int64_t known = anchor; known < anchor + 7; ++known) {
                for (std::int64_t d = -20; d <= 20; ++d) {
                    SCOPED_TRACE(::testing::Message()
                                 << "trial " << trial << " weekend " << int(weekend) << " inc "
                                 << inc << " known " << known << " d " << d);
                    ASSERT_EQ(calendar.Count(known, known + d, inc != 0),
                              table.Count(known, known + d, inc != 0));
                    ASSERT_EQ(calendar.StepFromFirst(known, d, inc != 0),
                              table.Step(true, known, d, inc != 0, reach));
                    ASSERT_EQ(calendar.StepFromSecond(known, d, inc != 0),
                              table.Step(false, known, d, inc != 0, reach));
                }
            }
        }
    }
}

// Long spans: the count over a span is the sum of its parts however it is cut, equals its
// years counted one by one, and stepping it reaches its working end. Sets of Gregorian rules
// over 3,000 whole years around the rules' years; sets with Julian and Orthodox rules but no
// Western Easter (counted by their period) over 80 to 600 years between any two days, near the
// rules' bounds and anywhere in the range.
TEST(WorkdayCalendar, LongSpansAddUpAndAgreeWithTheirYears) {
    std::mt19937_64 random(4099);
    std::uniform_int_distribution<std::int64_t> anywhere(-2100000000, 2100000000);
    std::uniform_int_distribution<std::int64_t> near(-1500 * 365, 1500 * 365);
    std::uniform_int_distribution<std::int64_t> length(80 * 365, 600 * 365);
    const std::int64_t anchors[] = {2451545, 2090000000, -2090000000};
    const auto jan1 = [](std::int64_t y) { return jdcore::jdn_from_gregorian(y, 1, 1); };
    for (int trial = 0; trial < 43; ++trial) {
        const bool julian = trial >= 40;
        const std::int64_t anchor = julian ? anchors[trial - 40] : anywhere(random);
        const std::int64_t year =
            trial % 2 == 0 && !julian ? 2000 : jdcore::gregorian_from_jdn(anchor).year;
        QString rules = RandomRules(random, year, !julian, !julian);
        auto weekend = RandomWeekend(random);
        if (julian) {
            // A holiday on the weekend at the end of a rule's last year, moved into the next,
            // away from the other rules' bounds.
            const std::int64_t lastDay = jdcore::jdn_from_gregorian(year + 30, 12, 31);
            rules += QStringLiteral(
                         "\n01-07 julian observed next : Christmas"
                         "\n12-31 until %1 observed next : Eve")
                         .arg(year + 30);
            weekend = static_cast<std::uint8_t>((weekend | 1 << jdcore::floor_mod(lastDay, 7)) &
                                                ~(1 << jdcore::floor_mod(lastDay + 1, 7)));
        }
        const WorkdayCalendar calendar(weekend, Parse(rules));
        for (int span = 0; span < (julian ? 24 : 1); ++span) {
            SCOPED_TRACE(rules.toStdString());
            std::int64_t cut[] = {anywhere(random), anywhere(random), anywhere(random)};
            std::sort(std::begin(cut), std::end(cut));
            ASSERT_EQ(calendar.WorkdaysIn(cut[0], cut[2]),
                      calendar.WorkdaysIn(cut[0], cut[1]) + calendar.WorkdaysIn(cut[1], cut[2]));
            const std::int64_t count = calendar.Count(cut[0], cut[2], false);
            const std::int64_t end = calendar.StepFromFirst(cut[0], count, false);
            ASSERT_EQ(calendar.Count(cut[0], end, false), count);
            const std::int64_t from = !julian         ? jan1(year - 1500)
                                      : span % 2 == 0 ? anchor + near(random)
                                                      : anywhere(random);
            const std::int64_t to = julian
                                        ? std::min<std::int64_t>(from + length(random), 2100000000)
                                        : jan1(year + 1500);
            std::int64_t byYears = 0;
            for (std::int64_t a = from; a < to;) {
                const std::int64_t b = std::min(to, jan1(jdcore::gregorian_from_jdn(a).year + 1));
                byYears += calendar.WorkdaysIn(a, b);
                a = b;
            }
            ASSERT_EQ(calendar.WorkdaysIn(from, to), byYears) << from << " " << to;
        }
    }
}

// Every day of the years as a rule's day, optionally limited to some years.
QString EveryDay(const QString& years = {}) {
    QString rules;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= jdcore::month_length(month, true); ++day) {
            rules += QStringLiteral("%1-%2 %3 : every day\n").arg(month).arg(day).arg(years);
        }
    }
    return rules;
}

// Stepping crosses years without a working day and reaches the date counting finds; a set that
// leaves no working day is refused when read, or with the weekend that leaves none.
TEST(WorkdayCalendar, StretchesWithoutWorkingDays) {
    const auto jdn = [](int y, int m, int d) { return jdcore::jdn_from_gregorian(y, m, d); };
    const WorkdayCalendar dry(0, Parse(EveryDay(QStringLiteral("from 2030 until 2039"))));
    EXPECT_TRUE(dry.HasWorkday());
    for (const bool inc : {false, true}) {
        EXPECT_EQ(dry.StepFromFirst(jdn(2029, 12, 31), inc ? 2 : 1, inc), jdn(2040, 1, 1));
        EXPECT_EQ(dry.StepFromFirst(jdn(2040, 1, 1), inc ? -2 : -1, inc), jdn(2029, 12, 31));
        EXPECT_EQ(dry.StepFromSecond(jdn(2040, 1, 1), inc ? 2 : 1, inc), jdn(2029, 12, 31));
        EXPECT_EQ(dry.StepFromSecond(jdn(2029, 12, 31), inc ? -2 : -1, inc), jdn(2040, 1, 1));
        EXPECT_EQ(dry.Count(jdn(2029, 12, 31), jdn(2040, 1, 1), inc), inc ? 2 : 1);
    }
    // A million working days on, across the stretch.
    const std::int64_t far = dry.StepFromFirst(jdn(2020, 1, 1), 1000000, false);
    EXPECT_EQ(dry.Count(jdn(2020, 1, 1), far, false), 1000000);
    EXPECT_TRUE(dry.IsWorkday(far));

    const HolidayParseResult always = ParseHolidayRules(EveryDay());
    EXPECT_FALSE(always.set.has_value());
    EXPECT_EQ(always.fault, HolidayFault::NoWorkingDay);
    // Every Monday a holiday: no working day when Monday is the only day that is not weekend.
    QString mondays;
    for (const char* nth : {"first", "second", "third", "fourth", "fifth"}) {
        mondays += QStringLiteral(
                       "%1 monday of 1 : m\n%1 monday of 2 : m\n%1 monday of 3 : m\n"
                       "%1 monday of 4 : m\n%1 monday of 5 : m\n%1 monday of 6 : m\n"
                       "%1 monday of 7 : m\n%1 monday of 8 : m\n%1 monday of 9 : m\n"
                       "%1 monday of 10 : m\n%1 monday of 11 : m\n"
                       "%1 monday of 12 : m\n")
                       .arg(QLatin1String(nth));
    }
    const std::shared_ptr<const HolidaySet> set = Parse(mondays);
    EXPECT_TRUE(WorkdayCalendar(0x7e, set).HasWorkday() == false);
    EXPECT_TRUE(WorkdayCalendar(0x7d, set).HasWorkday());
    const WorkdayCalendar none(0x7e, set);
    EXPECT_EQ(none.StepFromFirst(2451545, 1, false), WorkdayCalendar::kNoDate);
    EXPECT_EQ(none.StepFromSecond(2451545, 1, false), -WorkdayCalendar::kNoDate);
}

// Holidays moved far by chains of observed rules (one working day a week): every question
// about a day gives one answer. Counts of spans and steps across two turns of the year agree
// with the days as IsWorkday sees them one by one, and a holiday always has a name.
TEST(WorkdayCalendar, FarMovedHolidaysAgreeEverywhere) {
    // Late December and early January move into February and March, across the year's end.
    QString rules;
    for (int day = 1; day <= 10; ++day) {
        rules += QStringLiteral("01-%1 observed next : January %1\n").arg(day);
    }
    for (int day = 15; day <= 31; ++day) {
        rules += QStringLiteral("12-%1 observed next : December %1\n").arg(day);
    }
    rules += QStringLiteral(
        "02-14 observed previous : Valentine\n12-24 observed next : Eve\n"
        "12-31 observed fri-mon : Silvester\neaster +1 observed next : Easter Monday\n");
    const std::shared_ptr<const HolidaySet> set = Parse(rules);
    std::mt19937_64 random(16);
    for (const std::uint8_t weekend : {0x7e, 0x5e, 0x60, 0x3f}) {
        const WorkdayCalendar calendar(weekend, set);
        const std::int64_t from = jdcore::jdn_from_gregorian(2026, 10, 1);
        const std::int64_t size = 2 * 366 + 120;
        const DayTable table([&](std::int64_t d) { return calendar.IsWorkday(d); }, from, size);
        for (std::int64_t d = from; d < from + size; ++d) {
            ASSERT_EQ(calendar.WorkdaysIn(d, d + 1), table.In(d, d + 1)) << d;
            ASSERT_TRUE(!calendar.IsHoliday(d) || !calendar.HolidayNames(d).isEmpty()) << d;
        }
        const std::int64_t reach = 300;  // more than four working days in every weekend set
        for (int i = 0; i < 300; ++i) {
            const std::int64_t a = from + reach + static_cast<std::int64_t>(random() % 250);
            const std::int64_t b = from + reach + static_cast<std::int64_t>(random() % 250);
            const bool inc = i % 2 == 0;
            SCOPED_TRACE(::testing::Message() << int(weekend) << " " << a << " " << b);
            ASSERT_EQ(calendar.Count(a, b, inc), table.Count(a, b, inc));
            const std::int64_t d = static_cast<std::int64_t>(random() % 9) - 4;
            ASSERT_EQ(calendar.StepFromFirst(a, d, inc), table.Step(true, a, d, inc, reach));
            ASSERT_EQ(calendar.StepFromSecond(a, d, inc), table.Step(false, a, d, inc, reach));
        }
    }
}

TEST(HolidayRules, AFaultyFileIsRefusedWholeAtItsLine) {
    const struct {
        const char* line;
        HolidayFault fault;
    } cases[] = {
        {"12-25 Christmas", HolidayFault::NoColon},
        {"12-25 :", HolidayFault::NoName},
        {": Nameless", HolidayFault::NoDate},
        {"13-01 : Bad month", HolidayFault::NotADate},
        {"02-30 : Bad day", HolidayFault::NoSuchDay},
        {"2023-02-29 : Not leap", HolidayFault::NotLeapYear},
        {"easter +241 : Too far", HolidayFault::EasterOffset},
        {"orthodox +1 : Half", HolidayFault::OrthodoxWithoutEaster},
        {"sixth monday of may : Sixth", HolidayFault::NotABeginning},
        {"first moonday of may : Typo", HolidayFault::NotAWeekday},
        {"first monday may : No of", HolidayFault::OfMissing},
        {"first monday of mai : Month", HolidayFault::NotAMonth},
        {"01-01 from : No year", HolidayFault::BoundYear},
        {"01-01 from 2000 from 2001 : Twice", HolidayFault::BoundTwice},
        {"01-01 from 2001 until 2000 : Backwards", HolidayFault::FirstAfterLast},
        {"01-01 observed later : How", HolidayFault::ObservedHow},
        {"01-01 observed next observed next : Twice", HolidayFault::ObservedTwice},
        {"easter julian : Julian Easter", HolidayFault::JulianMisplaced},
        {"01-01 every year : Words", HolidayFault::UnknownWord},
    };
    // Lines ended by LF, CR LF or CR alone are the same lines.
    for (const char* end : {"\n", "\r\n", "\r"}) {
        for (const auto& c : cases) {
            const QString text =
                QStringList{QStringLiteral("# header"), QStringLiteral("01-01 : New Year"),
                            QString(), QString::fromUtf8(c.line), QStringLiteral("05-01 : May Day")}
                    .join(QLatin1String(end));
            const HolidayParseResult parsed = ParseHolidayRules(text);
            EXPECT_FALSE(parsed.set.has_value()) << c.line;
            EXPECT_EQ(parsed.line, 4) << c.line;
            EXPECT_EQ(parsed.fault, c.fault)
                << c.line << " -> "
                << HolidayFaultEnglish(parsed.fault, parsed.details).toStdString();
        }
    }
    const HolidayParseResult crOnly =
        ParseHolidayRules(QStringLiteral("# one\r01-01 : a\r\n05-01 : b\n\r12-25 : c\r"));
    ASSERT_TRUE(crOnly.set.has_value());
    EXPECT_EQ(crOnly.set->rules.size(), 3u);
}

// Rules that begin and end in many different years, all in force together, would need tables
// for every stretch between them: refused whole, before anything is built. A file as large of
// single dates, with rules in force throughout, is read.
TEST(HolidayRules, SetsTooLargeToCountAreRefused) {
    QString many;
    for (int i = 0; i < 5000; ++i) {
        many += QStringLiteral("%1-%2 from %3 : r\n").arg(1 + i % 12).arg(1 + i % 28).arg(i);
    }
    const HolidayParseResult refused = ParseHolidayRules(many);
    EXPECT_FALSE(refused.set.has_value());
    EXPECT_EQ(refused.fault, HolidayFault::TooComplex);
    EXPECT_EQ(refused.line, 0);

    QString dates = QStringLiteral("12-25 observed next : Christmas\neaster +1 : Easter Monday\n");
    std::mt19937_64 random(7);
    for (int i = 0; i < 40000; ++i) {
        dates += QStringLiteral("%1-%2-%3 : d\n")
                     .arg(1 + random() % 4000)
                     .arg(1 + random() % 12)
                     .arg(1 + random() % 28);
    }
    const WorkdayCalendar calendar(WorkdayCalendar::kSaturdaySunday, Parse(dates));
    const std::int64_t from = jdcore::jdn_from_gregorian(1, 1, 1);
    const std::int64_t to = jdcore::jdn_from_gregorian(4001, 1, 1);
    const std::int64_t count = calendar.WorkdaysIn(from, to);
    std::int64_t byYears = 0;
    for (std::int64_t y = 1; y <= 4000; ++y) {
        byYears += calendar.WorkdaysIn(jdcore::jdn_from_gregorian(y, 1, 1),
                                       jdcore::jdn_from_gregorian(y + 1, 1, 1));
    }
    EXPECT_EQ(count, byYears);
    EXPECT_EQ(calendar.Count(from - 1, calendar.StepFromFirst(from - 1, count, false), false),
              count);
}

// The names of moved holidays, and keywords in any case. The dates of shifts next to one
// another: ShippedHolidays (england-wales, united-states).
TEST(HolidayRules, ObservedShifts) {
    const WorkdayCalendar calendar(
        WorkdayCalendar::kSaturdaySunday,
        Parse(QChar(0xFEFF) +
              QStringLiteral("# UK style\n12-25 observed next : Christmas Day\n"
                             "12-26 observed next : Boxing Day\n"
                             "07-04 observed fri-mon : Independence Day\n"
                             "Last Monday of MAY : Spring\n1st mon of 5 : Early May\n")));
    const struct {
        int y, m, d;
        const char* names;
    } cases[] = {
        {2021, 12, 27, "Christmas Day (observed)"},
        {2021, 12, 28, "Boxing Day (observed)"},
        {2020, 7, 3, "Independence Day (observed)"},
        {2021, 5, 31, "Spring"},
        {2021, 5, 3, "Early May"},
        {2021, 12, 29, ""},
    };
    for (const auto& c : cases) {
        const std::int64_t jdn = jdcore::jdn_from_gregorian(c.y, c.m, c.d);
        EXPECT_EQ(calendar.HolidayNames(jdn).join(u", "), QString::fromUtf8(c.names))
            << c.y << "-" << c.m << "-" << c.d;
    }
}

}  // namespace
}  // namespace daybridge
