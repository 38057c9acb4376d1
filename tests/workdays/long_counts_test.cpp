// Counts over long spans with sets of every kind of rule (Islamic, Hebrew, Orthodox, Chinese and
// solar days, Western Easter beside Julian rules, a year crowded with single dates, a year with
// more extra working days than holidays): the count of a span equals its working days asked one
// by one (short spans) and its Gregorian years counted each on its own (long spans, wherever
// they begin and end).
#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "jdcore/day_count.h"
#include "support/qstring_printer.h"
#include "workdays/workday_calendar.h"

namespace daybridge {
namespace {

std::optional<QString> ShippedText(const QString& name) {
    QFile file(QStringLiteral(DAYBRIDGE_DATA_DIR "/holidays/") + name + QStringLiteral(".txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

std::int64_t Jan1(std::int64_t year) {
    return jdcore::jdn_from_gregorian(year, 1, 1);
}

// Western Easter beside Julian and Orthodox rules with moves (a day counted from Western Easter
// that falls in the next year's window, too), a weekday after an Islamic day; year 2405 holds 25
// single dates (more holidays than the other years of its block by far), year 3001 more extra
// working days on Saturdays than holidays.
QString MixedRules() {
    QString text = QStringLiteral(
        "easter -2 : Good Friday\n"
        "easter +236 observed next : Late feast\n"
        "orthodox easter +1 : Orthodox Easter Monday\n"
        "12-25 julian observed next : Christmas\n"
        "01-01 observed next : New Year\n"
        "ISL 9-1 : Ramadan\n"
        "friday after ISL 10-1 : Friday of Eid\n");
    for (int i = 0; i < 25; ++i) {
        text += QStringLiteral("2405-%1-%2 : Jubilee\n").arg(1 + i / 3).arg(3 + 9 * (i % 3));
    }
    for (std::int64_t saturday = jdcore::jdn_from_gregorian(3001, 1, 3), i = 0; i < 20;
         ++i, saturday += 7) {
        const jdcore::YearMonthDay day = jdcore::gregorian_from_jdn(saturday);
        text += QStringLiteral("workday %1-%2-%3 : Make-up day\n")
                    .arg(day.year)
                    .arg(day.month, 2, 10, QLatin1Char('0'))
                    .arg(day.day, 2, 10, QLatin1Char('0'));
    }
    return text;
}

// An Islamic day moving from Sunday to Monday ahead of Christmas moving to the next free day:
// when both fall on one Sunday, Christmas passes the Monday the Islamic day took.
const char* const kMeetingRules =
    "ISL 10-1 observed nearest : Eid\n12-25 observed next : Christmas\n";

// Moves pushed on past Islamic and Orthodox days that stay where they fall: three days of Eid
// and two of the Sacrifice (the second counted from the first) before or after Christmas and
// Boxing Day moving on, New Year giving a substitute day, 1 May moving back to the Friday, often
// further than a week.
const char* const kPushedRules =
    "12-25 observed next : Christmas\n12-26 observed next : Boxing Day\n"
    "01-01 substitute next : New Year\n05-01 observed previous : Labour Day\n"
    "ISL 10-1 : Eid\nISL 10-2 : Eid\nISL 10-3 : Eid\nISL 12-10 : Sacrifice\n"
    "ISL 12-10 +1 : Sacrifice\n"
    "orthodox easter -3 : Orthodox Thursday\northodox easter +1 : Orthodox Monday\n";

// Days moved to the Friday before or the Monday after only: 1 January (too few dates a year to
// be read off a day group) kept on 31 December when it falls on a Saturday, in the year and
// the block of years before; Islamic days read off a day group in whole weeks, one of them
// kept on its day.
const char* const kNearestRules =
    "01-01 observed nearest : New Year\nISL 1-1 observed nearest : New Year\nISL 9-1 : Ramadan\n"
    "ISL 10-1 observed nearest : Eid\nISL 12-10 observed nearest : Sacrifice\n";

// Islamic days only (counted by the kinds of Islamic years), the last day of a month among
// them, with a single date and an extra working day in year 2405.
const char* const kIslamicRules =
    "ISL 1-1 : New Year\nISL 9-1 : Ramadan\nISL 10-1 : Eid\nISL 10-2 : Eid\n"
    "ISL 12-10 : Sacrifice\nISL 12-last : Last day\n2405-05-05 : Jubilee\n"
    "workday 2405-06-02 : Make-up day\n";

TEST(LongCounts, EveryKindOfSetCountsAsItsDaysAndYears) {
    std::mt19937_64 random(280006);
    const auto pick = [&](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(random);
    };
    const QString sets[] = {QStringLiteral("egypt"),
                            QStringLiteral("israel"),
                            QStringLiteral("belarus"),
                            QStringLiteral("benin"),
                            QStringLiteral("greece"),
                            QStringLiteral("china"),
                            QStringLiteral("kazakhstan"),
                            QStringLiteral("nigeria"),
                            QStringLiteral("bulgaria"),
                            QStringLiteral("kenya"),
                            QString(),
                            QStringLiteral("islamic"),
                            QStringLiteral("meeting"),
                            QStringLiteral("pushed"),
                            QStringLiteral("nearest")};
    for (const QString& name : sets) {
        SCOPED_TRACE(name.toStdString());
        const auto text = name.isEmpty()       ? std::optional<QString>(MixedRules())
                          : name == u"islamic" ? QString::fromLatin1(kIslamicRules)
                          : name == u"meeting" ? QString::fromLatin1(kMeetingRules)
                          : name == u"pushed"  ? QString::fromLatin1(kPushedRules)
                          : name == u"nearest" ? QString::fromLatin1(kNearestRules)
                                               : ShippedText(name);
        ASSERT_TRUE(text);
        const HolidayParseResult parsed = ParseHolidayRules(*text, ShippedText);
        ASSERT_TRUE(parsed.set);
        const auto set = std::make_shared<HolidaySet>(*parsed.set);
        const WorkdayCalendar calendar(set->info.weekend.value_or(0x60), set);
        // A first count of 3,000 years builds the tables a long span needs.
        const std::int64_t origin = Jan1(name.isEmpty() || name == u"islamic" ? 2400 : 1990);
        ASSERT_GT(calendar.WorkdaysIn(origin - 1500 * 366, origin + 1500 * 366), 0);
        const auto byYears = [&calendar](std::int64_t start, std::int64_t end) {
            std::int64_t sum = 0;
            for (std::int64_t a = start; a < end;) {
                const std::int64_t b = std::min(end, Jan1(jdcore::gregorian_from_jdn(a).year + 1));
                sum += calendar.WorkdaysIn(a, b);
                a = b;
            }
            return sum;
        };
        // A long span counted again reads its end years' places; so does another span between
        // the same years.
        const auto countedAgain = [&](std::int64_t start, std::int64_t end) {
            const std::int64_t expected = byYears(start, end);
            EXPECT_EQ(calendar.WorkdaysIn(start, end), expected) << start << " " << end;
            EXPECT_EQ(calendar.WorkdaysIn(start, end), expected) << start << " " << end;
            const std::int64_t inner = start + pick(0, 150);
            const std::int64_t innerEnd = end - pick(0, 150);
            EXPECT_EQ(calendar.WorkdaysIn(inner, innerEnd), byYears(inner, innerEnd))
                << inner << " " << innerEnd;
        };
        for (int trial = 0; trial < 6; ++trial) {
            // Short spans around the set's years (and the crowded years), day by day.
            const std::int64_t from = origin + pick(-30000, 400000);
            const std::int64_t to = from + pick(0, 1200);
            std::int64_t byDays = 0;
            for (std::int64_t day = from; day < to; ++day) {
                byDays += calendar.IsWorkday(day) ? 1 : 0;
            }
            ASSERT_EQ(calendar.WorkdaysIn(from, to), byDays) << from << " " << to;
            // Long spans, near the origin or anywhere, each year on its own.
            // (The last trial ends where the Islamic calendar's range of years ends.)
            const std::int64_t start = trial == 5       ? 2128140000
                                       : trial % 2 == 0 ? origin + pick(-600000, 600000)
                                                        : pick(-2000000000, 2000000000);
            countedAgain(start, start + pick(3000, 800000));
        }
        // Spans across year 0 and year 3,701,200, where the Gregorian and Julian cycles (with
        // the week) begin again together.
        for (const std::int64_t year : {std::int64_t{0}, std::int64_t{3701200}}) {
            const std::int64_t start = Jan1(year) - pick(1, 800000);
            countedAgain(start, Jan1(year) + pick(1, 800000));
        }
        // Spans ending in more chunks of years than are kept packed, twice: the second time the
        // early ones have been let go and are worked out again.
        std::vector<std::pair<std::int64_t, std::int64_t>> spans;
        for (std::int64_t i = 0; i < 70; ++i) {
            const std::int64_t start = origin + (i * 4096 + pick(40, 3000)) * 366;
            spans.emplace_back(start, start + pick(3000, 9000));
        }
        for (int pass = 0; pass < 2; ++pass) {
            for (const auto& [start, end] : spans) {
                ASSERT_EQ(calendar.WorkdaysIn(start, end), byYears(start, end))
                    << start << " " << end;
            }
        }
    }
}

// A weekday before a date that has years of its own (as a program may build the rule): only
// those years have it, in long counts as in each year.
TEST(LongCounts, WeekdayBeforeADateOfSomeYears) {
    HolidayParseResult parsed = ParseHolidayRules(
        QStringLiteral("thursday before second friday of january : Vodun\nISL 9-1 : Ramadan\n"),
        ShippedText);
    ASSERT_TRUE(parsed.set);
    auto base = std::make_shared<HolidayRule>(*parsed.set->rules[0].base);
    base->firstYear = 2025;
    parsed.set->rules[0].base = base;
    const WorkdayCalendar calendar(0x60, std::make_shared<HolidaySet>(*parsed.set));
    std::int64_t byYears = 0;
    for (std::int64_t year = 1000; year < 5000; ++year) {
        byYears += calendar.WorkdaysIn(Jan1(year), Jan1(year + 1));
    }
    EXPECT_EQ(calendar.WorkdaysIn(Jan1(1000), Jan1(5000)), byYears);
}

// A Saturday holiday moved on past ten Julian feasts, which fall three days later in the
// Gregorian year every 400 years: in 2001 they fill the working week after it and the move
// reaches Monday 31 December; in 2401, on the same weekdays, they take that Monday too and the
// move leaves the year.
TEST(LongCounts, MovePushedOutOfItsYearByDaysBeyondAWeek) {
    QString text = QStringLiteral("12-22 observed next : Midwinter\n");
    for (int day = 8; day < 18; ++day) {
        text += QStringLiteral("12-%1 julian : Julian feast\n").arg(day);
    }
    const HolidayParseResult parsed = ParseHolidayRules(text, ShippedText);
    ASSERT_TRUE(parsed.set);
    const WorkdayCalendar calendar(0x60, std::make_shared<HolidaySet>(*parsed.set));
    std::int64_t byYears = 0;
    for (std::int64_t year = 1000; year < 5000; ++year) {
        byYears += calendar.WorkdaysIn(Jan1(year), Jan1(year + 1));
    }
    EXPECT_EQ(calendar.WorkdaysIn(Jan1(1000), Jan1(5000)), byYears);
}

// Threads counting spans across more chunks of years than are kept packed, at once, each in
// its own order, get what one thread counting them alone got.
TEST(LongCounts, ThreadsCountAsOneThreadDoes) {
    const auto text = ShippedText(QStringLiteral("egypt"));
    ASSERT_TRUE(text);
    const HolidayParseResult parsed = ParseHolidayRules(*text, ShippedText);
    ASSERT_TRUE(parsed.set);
    const auto set = std::make_shared<HolidaySet>(*parsed.set);
    const WorkdayCalendar calendar(set->info.weekend.value_or(0x60), set);
    std::mt19937_64 random(280028);
    std::vector<std::array<std::int64_t, 3>> spans;  // start, end, count
    for (std::int64_t i = -100; i < 100; ++i) {
        const std::int64_t start = Jan1(2014) + i * 4096 * 366 + 1000 + (random() % 1000000);
        const std::int64_t end = start + 3000 + (random() % 1000000);
        spans.push_back({start, end, calendar.WorkdaysIn(start, end)});
    }
    std::vector<std::int64_t> wrong(4, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < wrong.size(); ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t k = 0; k < spans.size(); ++k) {
                const auto& [start, end, count] = spans[(k * (2 * t + 1) + 7 * t) % spans.size()];
                for (int again = 0; again < 2; ++again) {  // the second time from places
                    wrong[t] += calendar.WorkdaysIn(start, end) != count ? 1 : 0;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<std::int64_t>(4, 0));
}

}  // namespace
}  // namespace daybridge
