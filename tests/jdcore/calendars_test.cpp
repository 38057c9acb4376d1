// Every calendar of the library: JDN -> date -> JDN round trips over the whole day range,
// dates that follow one another by the calendar's own month lengths, and typed dates read by
// those lengths. The leap week arithmetic against its step-by-step reference: tests/calendar.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "jdcore/day_count.h"
#include "jdcore/jdcore.h"
#include "jdcore/leap_week_reference.h"
#include "jdcore/records.h"

namespace {

using jdcore::DateRecord;

constexpr std::int32_t kMax = 2100000000;
constexpr char kCalendars[] = {'G', 'J', 'V', 'I', 'A'};

// Dense sample of the day range: a stride through all of it, both ends and the JDN extremes,
// and a few thousand consecutive days at every end and around the common era.
std::vector<std::int32_t> SampleJdns() {
    std::vector<std::int32_t> out;
    for (std::int64_t j = -kMax; j <= kMax; j += 9973) {
        out.push_back(static_cast<std::int32_t>(j));
    }
    const std::int64_t centres[] = {-kMax, kMax, 0, 1721426, 2451545};
    for (std::int64_t c : centres) {
        for (std::int64_t j = c - 1500; j <= c + 1500; ++j) {
            out.push_back(static_cast<std::int32_t>(j));
        }
    }
    out.push_back(-2147483647);
    out.push_back(2147483647);
    return out;
}

using jdcore_test::Read;
using jdcore_test::Show;

// Independent month lengths ("month" is the ISO week, whose "days" are its 7 weekdays).
bool GregorianLeap(std::int64_t y) {
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}
int Months(char calendar, std::int64_t year) {
    switch (calendar) {
        case 'A':
            return 10;
        case 'I': {
            // 53 weeks when 1 January is a Thursday, or a Wednesday in a leap year.
            DateRecord first{static_cast<std::int32_t>(year), 1, 1, 'G', 0, 0};
            const int jan1 = jdcore::euro_day_of_week(jdcore::euro_date_to_jdn(first));
            return jan1 == 4 || (jan1 == 3 && GregorianLeap(year)) ? 53 : 52;
        }
        default:
            return 12;
    }
}
int Length(char calendar, std::int64_t y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    switch (calendar) {
        case 'G':
            return m == 2 && GregorianLeap(y) ? 29 : kDays[m - 1];
        case 'J':
            return m == 2 && y % 4 == 0 ? 29 : kDays[m - 1];
        case 'V':
            return m == 12 && reference::IsLeap(y) ? 35 : (m % 3 == 1 ? 35 : 28);
        case 'I':
            return 7;
        default:  // 'A': the year from 1 March; month 10 ends on the last day of February
            return m == 10 ? (GregorianLeap(y + 1) ? 37 : 36) : (m % 2 == 1 ? 37 : 36);
    }
}

TEST(RoundTrip, EveryCalendarOverTheWholeDayRange) {
    const std::vector<std::int32_t> jdns = SampleJdns();
    for (char calendar : kCalendars) {
        int failures = 0;
        for (std::int32_t jdn : jdns) {
            const DateRecord r = Show(jdn, calendar);
            const bool inCalendar = r.month >= 1 && r.month <= Months(calendar, r.year) &&
                                    r.day >= 1 && r.day <= Length(calendar, r.year, r.month);
            // Annus Novus: every month starts a six-day week, the reader's answer.
            DateRecord an{};
            an.calendar = 'A';
            an.jdn = jdn;
            const bool week =
                calendar != 'A' || jdcore::jdn_to_annus_novus_date(an) == (r.day - 1) % 6 + 1;
            if (!inCalendar || !week || Read(r) != jdn) {
                ADD_FAILURE() << calendar << " JDN " << jdn << " -> " << r.year << "/" << r.month
                              << "/" << r.day << " -> " << Read(r);
                if (++failures == 10) {
                    break;
                }
            }
        }
    }
}

// A typed date reads exactly when its month and day lie in the calendar (ISO: week, weekday).
TEST(StrToDate, ReadsExactlyTheDatesOfTheCalendar) {
    for (char calendar : kCalendars) {
        for (std::int32_t y : {-401, -100, -4, -1, 0, 1, 3, 1900, 2000, 2011, 2012, 2014, 2015}) {
            for (int m = 0; m <= Months(calendar, y) + 1; ++m) {
                for (int d = 0; d <= 38; ++d) {
                    const std::string text =
                        std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
                    const bool in =
                        m >= 1 && m <= Months(calendar, y) && d >= 1 && d <= Length(calendar, y, m);
                    DateRecord r{};
                    ASSERT_EQ(jdcore::str_to_date(text, jdcore::kFormatYMD, r, calendar),
                              in ? jdcore::kValid : jdcore::kInvalid)
                        << calendar << " " << text;
                }
            }
        }
    }
}

// Consecutive JDNs give consecutive dates: the day after the last of a month is the first of
// the next, after the last month comes the next year.
TEST(Succession, ConsecutiveDaysFollowTheMonthLengths) {
    const std::int64_t starts[] = {-kMax, -1000000, -3000, 1720000, 2299000, 2451000, kMax - 4000};
    for (char calendar : kCalendars) {
        for (std::int64_t start : starts) {
            DateRecord prev = Show(static_cast<std::int32_t>(start), calendar);
            int failures = 0;
            for (std::int64_t j = start + 1; j <= start + 4000 && failures < 5; ++j) {
                const DateRecord cur = Show(static_cast<std::int32_t>(j), calendar);
                DateRecord want = prev;
                if (++want.day > Length(calendar, want.year, want.month)) {
                    want.day = 1;
                    if (++want.month > Months(calendar, want.year)) {
                        want.month = 1;
                        ++want.year;
                    }
                }
                if (cur.year != want.year || cur.month != want.month || cur.day != want.day) {
                    ADD_FAILURE() << calendar << " JDN " << j << ": " << cur.year << "/"
                                  << cur.month << "/" << cur.day << ", expected " << want.year
                                  << "/" << want.month << "/" << want.day;
                    ++failures;
                }
                prev = cur;
            }
        }
    }
}

TEST(AnnusNovus, YearRunsFromFirstOfMarchToEndOfFebruary) {
    for (std::int32_t y = -2000000; y <= 2000000; y += 1999) {
        const std::int32_t firstOfMarch = Read(DateRecord{y, 3, 1, 'G', 0, 0});
        EXPECT_EQ(Read(DateRecord{y, 1, 1, 'A', 0, 0}), firstOfMarch) << y;
        const int lastDay = GregorianLeap(y + 1) ? 37 : 36;
        EXPECT_EQ(Read(DateRecord{y, 10, lastDay, 'A', 0, 0}),
                  Read(DateRecord{y + 1, 3, 1, 'G', 0, 0}) - 1)
            << y;
    }
}

}  // namespace
