// The working-day calendar against a day-by-day reference: random weekend sets and random rule
// files (read by the parser), counting and stepping in both directions with include-first on
// and off, next to today's dates and next to both ends of the day range; the year-by-kind
// holiday count against the dates themselves over long spans; the rule file's refusals.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "jdcore/day_count.h"
#include "support/qstring_printer.h"
#include "workdays/workday_calendar.h"

namespace daybridge {
namespace {

// Which days of [base, base + size) count, asked one day at a time, and the rule's meaning:
// the days strictly after the first date towards the second, up to and including the second,
// plus the first date with include-first; a stepped date is one with the count asked for.
struct DayTable {
    std::int64_t base;
    std::vector<std::int64_t> before;  // counted days in [base, base + i)

    DayTable(const WorkdayCalendar& calendar, std::int64_t from, std::int64_t size)
        : base(from), before(static_cast<std::size_t>(size) + 1, 0) {
        for (std::int64_t i = 0; i < size; ++i) {
            before[static_cast<std::size_t>(i) + 1] =
                before[static_cast<std::size_t>(i)] + (calendar.IsWorkday(from + i) ? 1 : 0);
        }
    }
    std::int64_t In(std::int64_t from, std::int64_t to) const {  // [from, to)
        return before[static_cast<std::size_t>(to - base)] -
               before[static_cast<std::size_t>(from - base)];
    }
    bool Counts(std::int64_t day) const { return In(day, day + 1) == 1; }
    std::int64_t Count(std::int64_t first, std::int64_t second, bool inc) const {
        const std::int64_t own = inc && Counts(first) ? 1 : 0;
        return second >= first ? In(first + 1, second + 1) + own : -(In(second, first) + own);
    }
    // Among the dates within `reach` with the count: the counted one, else the nearest, else
    // the known date (also for 0).
    std::int64_t Step(bool fromFirst, std::int64_t known, std::int64_t difference, bool inc,
                      std::int64_t reach) const {
        if (difference == 0) {
            return known;
        }
        std::optional<std::int64_t> counted, nearest;
        for (std::int64_t d = known - reach; d <= known + reach; ++d) {
            if ((fromFirst ? Count(known, d, inc) : Count(d, known, inc)) != difference) {
                continue;
            }
            if (Counts(d)) {
                EXPECT_FALSE(counted.has_value()) << "two counted days share a count";
                counted = d;
            }
            if (!nearest || std::abs(d - known) < std::abs(*nearest - known)) {
                nearest = d;
            }
        }
        return counted.value_or(nearest.value_or(known));
    }
};

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
    EXPECT_TRUE(parsed.set.has_value()) << parsed.line << ": " << parsed.error.toStdString() << "\n"
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
        const DayTable table(calendar, anchor - 2 * reach, 4 * reach + 1);
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

// Long spans: the count over a span is the sum of its parts however it is cut, and the
// year-by-kind count of whole years equals the dates counted one year at a time.
TEST(WorkdayCalendar, LongSpansAddUpAndAgreeWithTheDatesYearByYear) {
    std::mt19937_64 random(4099);
    std::uniform_int_distribution<std::int64_t> anywhere(-2100000000, 2100000000);
    for (int trial = 0; trial < 40; ++trial) {
        const std::int64_t year =
            trial % 2 == 0 ? 2000 : jdcore::gregorian_from_jdn(anywhere(random)).year;
        const WorkdayCalendar calendar(RandomWeekend(random),
                                       Parse(RandomRules(random, year, true)));
        std::int64_t a = anywhere(random), b = anywhere(random), c = anywhere(random);
        if (a > b)
            std::swap(a, b);
        if (b > c)
            std::swap(b, c);
        if (a > b)
            std::swap(a, b);
        ASSERT_EQ(calendar.WorkdaysIn(a, c), calendar.WorkdaysIn(a, b) + calendar.WorkdaysIn(b, c))
            << trial;
        // 3,000 years around the rules' years, a year at a time.
        const std::int64_t from = jdcore::jdn_from_gregorian(year - 1500, 1, 1);
        std::int64_t byYears = 0;
        for (std::int64_t y = year - 1500; y < year + 1500; ++y) {
            byYears += calendar.WorkdaysIn(jdcore::jdn_from_gregorian(y, 1, 1),
                                           jdcore::jdn_from_gregorian(y + 1, 1, 1));
        }
        ASSERT_EQ(calendar.WorkdaysIn(from, jdcore::jdn_from_gregorian(year + 1500, 1, 1)), byYears)
            << trial;
        // Stepping the count of a long span reaches its working end.
        const std::int64_t end = calendar.StepFromFirst(a, calendar.Count(a, c, false), false);
        ASSERT_EQ(calendar.Count(a, end, false), calendar.Count(a, c, false)) << trial;
    }
}

// A set that leaves no working day at all: counting gives 0, stepping ends out of range.
// Sets with Julian and Orthodox rules but no Western Easter are counted by their period over
// long spans: spans of 80 to 600 years between any two days, near the rules' bounds and
// anywhere in the range, count as their years counted one by one, and counts add up.
TEST(WorkdayCalendar, JulianAndOrthodoxSetsAgreeWithTheirYearsOverLongSpans) {
    std::mt19937_64 random(532);
    std::uniform_int_distribution<std::int64_t> anywhere(-2100000000, 2100000000);
    std::uniform_int_distribution<std::int64_t> near(-1500 * 365, 1500 * 365);
    std::uniform_int_distribution<std::int64_t> length(80 * 365, 600 * 365);
    const std::int64_t anchors[] = {2451545, 2090000000, -2090000000};
    for (const std::int64_t anchor : anchors) {
        // A holiday on the weekend at the end of a rule's last year, moved into the next, away
        // from the other rules' bounds.
        const std::int64_t year = jdcore::gregorian_from_jdn(anchor).year;
        const std::int64_t lastDay = jdcore::jdn_from_gregorian(year + 30, 12, 31);
        const QString rules =
            RandomRules(random, year, false, false) + QStringLiteral(
                                                          "\n01-07 julian observed next : Christmas"
                                                          "\n12-31 until %1 observed next : Eve")
                                                          .arg(year + 30);
        const auto weekend =
            static_cast<std::uint8_t>((RandomWeekend(random) | 1 << jdcore::floor_mod(lastDay, 7)) &
                                      ~(1 << jdcore::floor_mod(lastDay + 1, 7)));
        const WorkdayCalendar calendar(weekend, Parse(rules));
        for (int trial = 0; trial < 24; ++trial) {
            const std::int64_t from = trial % 2 == 0 ? anchor + near(random) : anywhere(random);
            const std::int64_t to = std::min<std::int64_t>(from + length(random), 2100000000);
            std::int64_t byYears = 0;
            for (std::int64_t a = from; a < to;) {
                const std::int64_t b = std::min(
                    to, jdcore::jdn_from_gregorian(jdcore::gregorian_from_jdn(a).year + 1, 1, 1));
                byYears += calendar.WorkdaysIn(a, b);
                a = b;
            }
            ASSERT_EQ(calendar.WorkdaysIn(from, to), byYears) << from << " " << to << "\n"
                                                              << rules.toStdString();
            std::int64_t cut[] = {anywhere(random), anywhere(random), anywhere(random)};
            std::sort(std::begin(cut), std::end(cut));
            ASSERT_EQ(calendar.WorkdaysIn(cut[0], cut[2]),
                      calendar.WorkdaysIn(cut[0], cut[1]) + calendar.WorkdaysIn(cut[1], cut[2]))
                << rules.toStdString();
        }
    }
}

TEST(WorkdayCalendar, NoWorkingDayInReach) {
    QString rules;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= 31; ++day) {
            if (day <= jdcore::month_length(month, true)) {
                rules += QStringLiteral("%1-%2 : every day\n").arg(month).arg(day);
            }
        }
    }
    const WorkdayCalendar calendar(0, Parse(rules));
    EXPECT_EQ(calendar.WorkdaysIn(-2100000000, 2100000000), 0);
    EXPECT_EQ(calendar.StepFromFirst(2451545, 1, false), WorkdayCalendar::kNoDate);
    EXPECT_EQ(calendar.StepFromSecond(2451545, 1, false), -WorkdayCalendar::kNoDate);
}

TEST(HolidayRules, AFaultyFileIsRefusedWholeAtItsLine) {
    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"12-25 Christmas", "':'"},
        {"12-25 :", "no name"},
        {": Nameless", "no date"},
        {"13-01 : Bad month", "not a date"},
        {"02-30 : Bad day", "no day 30"},
        {"2023-02-29 : Not leap", "not a leap year"},
        {"easter +241 : Too far", "from -70 to +240"},
        {"orthodox +1 : Half", "'easter'"},
        {"sixth monday of may : Sixth", "does not begin a date"},
        {"first moonday of may : Typo", "not a day of the week"},
        {"first monday may : No of", "'of'"},
        {"first monday of mai : Month", "not a month"},
        {"01-01 from : No year", "followed by a year"},
        {"01-01 from 2000 from 2001 : Twice", "twice"},
        {"01-01 from 2001 until 2000 : Backwards", "first year is after"},
        {"01-01 observed later : How", "next, previous or fri-mon"},
        {"easter julian : Julian Easter", "'julian'"},
        {"01-01 every year : Words", "unknown word 'every'"},
    };
    for (const auto& c : cases) {
        const QString text = QStringLiteral("# header\n01-01 : New Year\n\n") +
                             QString::fromUtf8(c.line) + QStringLiteral("\n05-01 : May Day\n");
        const HolidayParseResult parsed = ParseHolidayRules(text);
        EXPECT_FALSE(parsed.set.has_value()) << c.line;
        EXPECT_EQ(parsed.line, 4) << c.line;
        EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(c.error)))
            << c.line << " -> " << parsed.error.toStdString();
    }
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
