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

// A set that leaves no working day at all: counting gives 0, stepping ends out of range.
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
