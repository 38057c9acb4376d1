// The library's API: every calendar round trip on random days (parts and text), its dates
// against the program's registry, the refusals, the unit differences read back by adding
// them, and working days against a day-by-day count.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "calendar/calendar_registry.h"
#include "daybridge/daybridge.h"

namespace {

using daybridge::DateParts;
using daybridge::ErrorCode;

constexpr std::int64_t kLimit = 2'100'000'000;

std::int64_t RandomDayOf(const daybridge::CalendarInfo& calendar, std::mt19937_64& random) {
    const std::int64_t first = std::max(calendar.firstJdn, -kLimit);
    const std::int64_t last = std::min(calendar.lastJdn, kLimit);
    // Half near the present, half anywhere, and the ends themselves.
    switch (random() % 8) {
        case 0:
            return first;
        case 1:
            return last;
        case 2:
        case 3:
        case 4: {
            const std::int64_t near =
                std::uniform_int_distribution<std::int64_t>(2'300'000, 2'600'000)(random);
            return std::clamp(near, first, last);
        }
        default:
            return std::uniform_int_distribution<std::int64_t>(first, last)(random);
    }
}

TEST(LibraryApi, EveryCalendarRoundTripsThroughPartsAndText) {
    std::mt19937_64 random(20261208);
    const std::vector<daybridge::CalendarInfo> calendars = daybridge::ListCalendars();
    ASSERT_EQ(calendars.size(), static_cast<std::size_t>(daybridge::kCalendarCount));
    for (const daybridge::CalendarInfo& calendar : calendars) {
        const auto id = daybridge::CalendarOfCode(QString::fromStdString(calendar.code));
        ASSERT_TRUE(id.has_value()) << calendar.code;
        std::vector<std::int64_t> days;
        std::vector<DateParts> each;
        for (int i = 0; i < 400; ++i) {
            const std::int64_t jdn = RandomDayOf(calendar, random);
            days.push_back(jdn);
            SCOPED_TRACE(calendar.code + " JDN " + std::to_string(jdn));
            const auto parts = daybridge::DatePartsOf(calendar.code, jdn);
            ASSERT_TRUE(parts.ok()) << parts.error().message;
            const daybridge::CalendarDate internal = daybridge::FromJdn(*id, jdn);
            EXPECT_EQ(parts->year, internal.year);
            EXPECT_EQ(parts->month, internal.month);
            EXPECT_EQ(parts->day, internal.day);
            EXPECT_EQ(parts->leapMonth, internal.leapMonth);
            EXPECT_EQ(parts->era, internal.era);
            EXPECT_EQ(daybridge::DayNumberOf(calendar.code, *parts).value_or(-1), jdn);
            each.push_back(*parts);

            const auto text = daybridge::DateText(calendar.code, jdn);
            if (text.ok()) {
                EXPECT_EQ(daybridge::ParseDateText(calendar.code, *text).value_or(-1), jdn)
                    << *text;
            } else {
                // Only a calendar whose written years end (ORD) may refuse a day it has.
                EXPECT_EQ(text.error().code, ErrorCode::OutOfRange);
            }
            const daybridge::CalendarInfo& other = calendars[random() % calendars.size()];
            const auto there = daybridge::ConvertDate(calendar.code, *parts, other.code);
            if (jdn >= other.firstJdn && jdn <= other.lastJdn) {
                ASSERT_TRUE(there.ok()) << other.code << ": " << there.error().message;
                EXPECT_EQ(daybridge::ConvertDate(other.code, *there, calendar.code).value_or({}),
                          *parts);
            } else {
                EXPECT_EQ(there.error().code, ErrorCode::OutOfRange);
            }
        }
        EXPECT_EQ(daybridge::DatePartsOfMany(calendar.code, days).value(), each);
        days.push_back(calendar.lastJdn + 1);
        EXPECT_FALSE(daybridge::DatePartsOfMany(calendar.code, days).ok());
    }
}

// Formats through the library: named month names of the world calendars come from the shipped
// texts, a written date reads back, and a format the calendar cannot fill is refused as such.
TEST(LibraryApi, FormatsWriteAndReadBack) {
    EXPECT_EQ(daybridge::FormatDate("HEB", 2461383, "%A, %-d %B %Y").value_or(""),
              "Tuesday, 28 Kislev 5787");
    EXPECT_EQ(daybridge::FormatDate("CE", 2461383, "%G-W%V-%u").value_or(""), "2026-W50-2");
    EXPECT_EQ(daybridge::ParseFormattedDate("CE", "tuesday, 8 DECEMBER 2026", "%A, %-d %B %Y")
                  .value_or(-1),
              2461383);
    std::mt19937_64 random(8);
    // A format of its own per calendar: with the era (JPN) or the leap month's mark (CHN) that
    // a date needs to be read back.
    const std::pair<const char*, const char*> calendars[] = {
        {"CE", "%d %B %Y (%j)"},     {"HEB", "%A %d %B %Y"},    {"ISL", "%-d %b %Y"},
        {"CHN", "%-d %m%L %Y (%N)"}, {"JPN", "%E %-Y, %-d %B"}, {"BAH", "%Y-%m-%d %a"}};
    for (const auto& [code, own] : calendars) {
        const daybridge::CalendarInfo calendar = daybridge::FindCalendar(code).value();
        for (int i = 0; i < 200; ++i) {
            const std::int64_t jdn = std::clamp<std::int64_t>(
                std::uniform_int_distribution<std::int64_t>(2'400'000, 2'500'000)(random),
                calendar.firstJdn, calendar.lastJdn);
            for (const char* format : {"long", "iso", own}) {
                const auto text = daybridge::FormatDate(code, jdn, format);
                ASSERT_TRUE(text.ok()) << code << " " << format << ": " << text.error().message;
                EXPECT_EQ(daybridge::ParseFormattedDate(code, *text, format).value_or(-1), jdn)
                    << code << " " << *text;
            }
        }
    }
    EXPECT_EQ(daybridge::FormatDate("MAY", 2461383, "%d").error().code, ErrorCode::InvalidFormat);
    EXPECT_EQ(daybridge::ParseFormattedDate("CE", "31 February 2026", "%d %B %Y").error().code,
              ErrorCode::InvalidDate);
}

// A calendar's rule chosen through the library changes its dates as the program's setting does.
TEST(LibraryApi, CalendarRulesAreChosenForTheProcess) {
    const std::int64_t monday = 2461382;  // 2026-12-07
    EXPECT_EQ(daybridge::CalendarRule("WK").value_or(""), "ISO");
    EXPECT_EQ(daybridge::DateText("WK", monday).value_or(""), "2026-W50-1");
    EXPECT_EQ(daybridge::SetCalendarRule("WK", "us").value_or(""), "US");
    EXPECT_EQ(daybridge::DateText("WK", monday).value_or(""), "2026-W50-2");
    EXPECT_EQ(daybridge::SetCalendarRule("wk", "ISO").value_or(""), "ISO");
    EXPECT_EQ(daybridge::SetCalendarRule("HIS", "britain").value_or(""), "1752-09-14");
    EXPECT_EQ(daybridge::DateText("HIS", 2361222).value_or(""), "1752-09-14");  // first day
    EXPECT_EQ(daybridge::DateText("HIS", 2361221).value_or(""), "1752-09-02");  // the day before
    EXPECT_EQ(daybridge::SetCalendarRule("HIS", "rome").value_or(""), "1582-10-15");
    EXPECT_EQ(daybridge::SetCalendarRule("FY", "MAR/LATER").error().code, ErrorCode::InvalidRule);
    EXPECT_EQ(daybridge::SetCalendarRule("FY", "APR/START").value_or(""), "APR/START");
    EXPECT_EQ(daybridge::DateText("FY", monday).value_or(""), "2026-P09-07");
    EXPECT_TRUE(daybridge::SetCalendarRule("FY", "JUL/END").ok());
    EXPECT_EQ(daybridge::SetCalendarRule("FYW", "nonsense").error().code, ErrorCode::InvalidRule);
    EXPECT_EQ(daybridge::CalendarRule("CE").error().code, ErrorCode::InvalidRule);
    EXPECT_EQ(daybridge::CalendarRule("XYZ").error().code, ErrorCode::UnknownCalendar);
}

TEST(LibraryApi, RefusalsSayWhatIsWrong) {
    const DateParts feb29{.year = 2023, .month = 2, .day = 29};
    struct Case {
        const char* what;
        daybridge::Result<std::int64_t> result;
        ErrorCode code;
    };
    const Case cases[] = {
        {"unknown code", daybridge::DayNumberOf("XYZ", feb29), ErrorCode::UnknownCalendar},
        {"29 Feb 2023", daybridge::DayNumberOf("ce", feb29), ErrorCode::InvalidDate},
        {"13th month", daybridge::DayNumberOf("JC", {.year = 5, .month = 13, .day = 1}),
         ErrorCode::InvalidDate},
        {"stray letter", daybridge::ParseDateText("CE", "2012-1O-31"), ErrorCode::InvalidDate},
        {"other code", daybridge::ParseDateText("CE", "5787-09-27 HEB"), ErrorCode::InvalidDate},
        {"bad separator", daybridge::ParseDateText("CE", "2012-10-31", {.separator = 'x'}),
         ErrorCode::InvalidDate},
        {"beyond days", daybridge::AddDays(kLimit, 1), ErrorCode::OutOfRange},
        {"beyond months", daybridge::AddMonths("CE", kLimit - 20, 1), ErrorCode::OutOfRange},
        {"day beyond range", daybridge::AddYears("HEB", -kLimit - 1, 1), ErrorCode::OutOfRange},
        {"unknown in add", daybridge::AddYears("QQ", 0, 1), ErrorCode::UnknownCalendar},
        {"period beyond", daybridge::AddPeriod("CE", kLimit - 40, 0, 1, 10), ErrorCode::OutOfRange},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.result.ok()) << c.what;
        EXPECT_EQ(c.result.error().code, c.code) << c.what;
        EXPECT_FALSE(c.result.error().message.empty()) << c.what;
        EXPECT_THROW((void)c.result.value(), daybridge::BadResultAccess) << c.what;
    }
    EXPECT_EQ(daybridge::DatePartsOf("ORD", 0).error().code, ErrorCode::OutOfRange);
    EXPECT_EQ(daybridge::WorkingDays::Create("1111111").error().code, ErrorCode::InvalidWeekend);
    EXPECT_EQ(daybridge::WorkingDays::Create("sat sun", "atlantis").error().code,
              ErrorCode::HolidaySetUnusable);
    EXPECT_EQ(daybridge::WorkingDays::Create("sat sun", "/nonexistent/rules.txt").error().code,
              ErrorCode::HolidaySetUnusable);
}

TEST(LibraryApi, UnitDifferencesAddBackToTheSecondDate) {
    std::mt19937_64 random(8122026);
    for (const char* code : {"CE", "JC", "HEB", "ISL", "PER", "ETH", "CHN", "ISO", "JDN"}) {
        for (int i = 0; i < 2000; ++i) {
            const std::int64_t from = 2'400'000 + static_cast<std::int64_t>(random() % 100'000);
            const std::int64_t to = from + static_cast<std::int64_t>(random() % 3000) - 1500;
            SCOPED_TRACE(std::string(code) + " " + std::to_string(from) + " " + std::to_string(to));
            const auto span = daybridge::DifferenceInUnits(code, from, to);
            ASSERT_TRUE(span.ok()) << span.error().message;
            EXPECT_EQ(span->negative, to < from);
            EXPECT_GE(span->months, 0);
            EXPECT_GE(span->days, 0);
            const std::int64_t start = span->negative ? to : from;
            const std::int64_t end = span->negative ? from : to;
            const auto afterYears = daybridge::AddYears(code, start, span->years);
            if (std::string(code) == "CE" || std::string(code) == "JC") {
                // The program's breakdown counts the days from the month's day as if every
                // month had it (31 January + 1 month is "31 February", 3 March).
                const DateParts day = daybridge::DatePartsOf(code, start).value();
                const std::int64_t month =
                    day.year * 12 + day.month - 1 + span->years * 12 + span->months;
                const DateParts first{
                    .year = month / 12, .month = static_cast<int>(month % 12) + 1, .day = 1};
                EXPECT_EQ(daybridge::DayNumberOf(code, first).value() + day.day - 1 + span->days,
                          end);
            } else {
                const auto afterMonths = daybridge::AddMonths(code, *afterYears, span->months);
                EXPECT_EQ(*afterMonths + span->days, end);
            }
            // Whole units: fewer months than a year has, days within a month and a borrow.
            EXPECT_LT(span->months, 13);
            EXPECT_LE(span->days, 61);
        }
    }
    // The program's own example: the day borrow goes to the month before.
    const auto jan31 = daybridge::ParseDateText("CE", "2011-01-31");
    const auto mar1 = daybridge::ParseDateText("CE", "2012-03-01");
    EXPECT_EQ(daybridge::DifferenceInUnits("CE", *jan31, *mar1).value(),
              (daybridge::DateSpan{false, 1, 0, 30}));
}

TEST(LibraryApi, WorkingDaysMatchADayByDayCount) {
    const auto workdays = daybridge::WorkingDays::Create("fri,sat", "germany");
    ASSERT_TRUE(workdays.ok()) << workdays.error().message;
    std::mt19937_64 random(31);
    for (int i = 0; i < 3000; ++i) {
        const std::int64_t first = 2'450'000 + static_cast<std::int64_t>(random() % 30'000);
        const std::int64_t second = first + static_cast<std::int64_t>(random() % 81) - 40;
        const bool includeFirst = random() % 2 == 0;
        SCOPED_TRACE(std::to_string(first) + " " + std::to_string(second));
        // The days after the first towards the second, the second included; the first too
        // with includeFirst.
        std::int64_t expected = 0;
        const std::int64_t step = second >= first ? 1 : -1;
        for (std::int64_t day = first + step; day != second + step; day += step) {
            expected += workdays->IsWorkday(day) ? step : 0;
        }
        if (includeFirst && workdays->IsWorkday(first)) {
            expected += step;
        }
        const auto counted = workdays->Count(first, second, includeFirst);
        ASSERT_EQ(counted.value(), expected);
        if (!includeFirst && expected != 0) {
            const auto reached = workdays->Add(first, expected);
            EXPECT_EQ(workdays->Count(first, *reached).value(), expected);
            EXPECT_TRUE(workdays->IsWorkday(*reached));
        }
        std::int64_t following = first;
        while (!workdays->IsWorkday(following)) {
            ++following;
        }
        EXPECT_EQ(workdays->Roll(first, daybridge::RollRule::Following).value(), following);
    }
    EXPECT_EQ(workdays->WeekendMask(), 0x30);
    // 3 October, German Unity Day, is a holiday; a Thursday then is not a working day.
    const auto unity = daybridge::ParseDateText("CE", "2024-10-03");
    EXPECT_TRUE(workdays->IsHoliday(*unity));
    EXPECT_FALSE(workdays->IsWorkday(*unity));
    EXPECT_FALSE(workdays->HolidayNames(*unity).empty());
    const std::vector<std::string> sets = daybridge::ShippedHolidaySets();
    EXPECT_NE(std::find(sets.begin(), sets.end(), "germany"), sets.end());
}

}  // namespace
