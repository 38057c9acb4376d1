// The Chinese and Korean calendars as the program reads, writes and counts them: every day of
// their span written and read back, the leap month's mark and its refusals, new years as
// published, and years and months added by the place of a month in its year.
#include <gtest/gtest.h>

#include <optional>

#include "app/lunisolar_text.h"
#include "calendar/calendar_registry.h"
#include "calendar/calendar_units.h"
#include "calendar/names.h"
#include "calendar/typed_date_fault.h"
#include "datetext/date_format.h"
#include "datetext/date_parse.h"
#include "env/paths.h"
#include "env/text_store.h"
#include "jdcore/lunisolar.h"

namespace daybridge {
namespace {

using enum CalendarId;

TextFormat Format() {
    TextFormat format;
    format.regional = QLocale::c();
    return format;
}

// The day of a date text of a calendar; nothing when it is refused.
std::optional<std::int64_t> Day(CalendarId calendar, const char* text) {
    const ParseResult read = ParseDateInCalendar(calendar, QString::fromUtf8(text), Format());
    return read.outcome == ParseOutcome::Valid ? std::optional<std::int64_t>(read.jdn)
                                               : std::nullopt;
}

// Every day of the span: written, read back to the same day; the text names a leap month
// exactly when the date is one, and the day before a leap month's first day is in the month
// of the same number (the leap month repeats the month before it).
TEST(Lunisolar, EveryDayReadsBackAsWritten) {
    const TextFormat format = Format();
    for (const CalendarId id : {CHN, KOR}) {
        const CalendarEntry& c = Calendar(id);
        int leapMonths = 0;
        for (std::int64_t jdn = c.firstJdn; jdn <= c.lastJdn; ++jdn) {
            const auto day = static_cast<std::int32_t>(jdn);
            const QString text = CanonicalDateText(id, day, format);
            const ParseResult back = ParseDateInCalendar(id, text + u' ' + CodeOf(id), format);
            ASSERT_EQ(back.outcome, ParseOutcome::Valid) << text.toStdString();
            ASSERT_EQ(back.jdn, day) << text.toStdString();
            const CalendarDate date = FromJdn(id, jdn);
            ASSERT_EQ(text.contains(QLatin1String(kLeapMonthMark)), date.leapMonth);
            if (date.leapMonth && date.day == 1) {
                ++leapMonths;
                const CalendarDate before = FromJdn(id, jdn - 1);
                ASSERT_EQ(before.month, date.month) << text.toStdString();
                ASSERT_FALSE(before.leapMonth) << text.toStdString();
            }
        }
        // 7 leap months in 19 years: 556 years have about 205.
        EXPECT_NEAR(leapMonths, 556 * 7 / 19, 3) << c.code;
        const jdcore::Lunisolar tables =
            id == CHN ? jdcore::Lunisolar::Chinese : jdcore::Lunisolar::Korean;
        EXPECT_EQ(c.firstJdn, jdcore::LunisolarFirstJdn(tables)) << c.code;
        EXPECT_EQ(c.lastJdn, jdcore::LunisolarLastJdn(tables)) << c.code;
        EXPECT_FALSE(Day(id, "1644-12-29").has_value());
        EXPECT_FALSE(Day(id, "2201-01-01").has_value());
    }
}

// The mark after a leap month's number, in any case; refused anywhere else, twice, and on a
// month that is not the year's leap month, with the year's leap month named.
TEST(Lunisolar, LeapMonthMark) {
    struct Case {
        CalendarId calendar;
        const char* text;
        const char* ceDay;  // the same day in CE; nullptr: refused
        jdcore::DateProblem problem = jdcore::DateProblem::None;
        std::int64_t leapMonth = 0;  // the year's leap month, for NoSuchLeapMonth
    };
    using jdcore::DateProblem;
    const Case cases[] = {
        {CHN, "2033-11bis-01", "2033-12-22"},
        {CHN, "2033-11BIS-01 CHN", "2033-12-22"},
        {KOR, "KOR 2033-11Bis-01", "2033-12-22"},
        {CHN, "2025-06bis-01", "2025-07-25"},
        {CHN, "2026-04bis-15", nullptr, DateProblem::NoSuchLeapMonth, 0},
        {KOR, "2025-05bis-01", nullptr, DateProblem::NoSuchLeapMonth, 6},
        {CHN, "2025bis-06-01", nullptr},
        {CHN, "2025-06-bis-01", nullptr},
        {CHN, "2025-06-01bis", nullptr},
        {CHN, "2025-06bisbis-01", nullptr},
        {CHN, "2025-06 bis-01", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::int64_t> day = Day(c.calendar, c.text);
        if (c.ceDay != nullptr) {
            EXPECT_EQ(day, Day(CE, c.ceDay)) << c.text;
            continue;
        }
        EXPECT_FALSE(day.has_value()) << c.text;
        const std::optional<TypedDateFault> fault =
            WhyTypedDateIsRefused(c.calendar, QString::fromUtf8(c.text));
        ASSERT_TRUE(fault.has_value()) << c.text;
        EXPECT_EQ(fault->check.problem, c.problem) << c.text;
        if (c.problem == DateProblem::NoSuchLeapMonth) {
            EXPECT_EQ(fault->check.limit, c.leapMonth) << c.text;
        }
    }
}

// New years as the almanacs publish them; the Korean new year differs from the Chinese one
// when the new moon falls just before midnight in Beijing (UTC+8) and after it in Seoul (UTC+9).
TEST(Lunisolar, NewYears) {
    const std::pair<const char*, const char*> chinese[] = {
        {"1900-01-01", "1900-01-31"}, {"1985-01-01", "1985-02-20"}, {"1997-01-01", "1997-02-07"},
        {"2024-01-01", "2024-02-10"}, {"2026-01-01", "2026-02-17"}, {"2027-01-01", "2027-02-06"},
        {"2033-01-01", "2033-01-31"}, {"2100-01-01", "2100-02-09"}};
    for (const auto& [date, ce] : chinese) {
        EXPECT_EQ(Day(CHN, date), Day(CE, ce)) << date;
    }
    EXPECT_EQ(Day(KOR, "1997-01-01"), Day(CE, "1997-02-08"));
    EXPECT_EQ(Day(KOR, "2027-01-01"), Day(CE, "2027-02-07"));
}

// Months move by place (the leap month is one of them); years keep the month's number, and a
// leap month stays leap only where the later year repeats the same month.
TEST(Lunisolar, YearsAndMonthsAdded) {
    struct Case {
        CalendarId calendar;
        const char* from;
        std::int64_t years, months;
        const char* to;  // nullptr: out of range
    };
    const Case cases[] = {
        {CHN, "2033-11-15", 0, 1, "2033-11bis-15"},  {CHN, "2033-11bis-15", 0, 1, "2033-12-15"},
        {CHN, "2033-12-15", 0, -1, "2033-11bis-15"}, {CHN, "2033-11bis-15", 0, 12, "2034-11-15"},
        {CHN, "2033-11bis-15", 1, 0, "2034-11-15"},  {CHN, "2001-04bis-10", 19, 0, "2020-04bis-10"},
        {CHN, "2025-06bis-01", 1, 0, "2026-06-01"},  {CHN, "2025-07-01", 0, -1, "2025-06bis-01"},
        {KOR, "2033-11bis-15", 0, 1, "2033-12-15"},  {CHN, "2200-12-01", 0, 1, nullptr},
        {CHN, "1645-01-01", 0, -1, nullptr},         {CHN, "2200-06-01", 1, 0, nullptr},
        {CHN, "2026-01-01", 1000, -12368, nullptr},  // through a year beyond the span
    };
    for (const Case& c : cases) {
        const std::optional<std::int64_t> from = Day(c.calendar, c.from);
        ASSERT_TRUE(from.has_value()) << c.from;
        const UnitResult added = AddYearsMonths(c.calendar, *from, c.years, c.months);
        if (c.to == nullptr) {
            EXPECT_EQ(added.outcome, UnitOutcome::OutOfRange) << c.from << " " << c.years;
            continue;
        }
        ASSERT_EQ(added.outcome, UnitOutcome::Done) << c.from << " " << c.years;
        EXPECT_EQ(added.jdn, Day(c.calendar, c.to)) << c.from << " " << c.years << " " << c.months;
    }
    // Whole months across the leap month: to 11bis-02 and 12-02, not yet to 01-02.
    EXPECT_EQ(MonthsBetween(CHN, *Day(CHN, "2033-11-02"), *Day(CHN, "2034-01-01")).months, 2);
}

// The long form names the year by its stem and branch and its animal, as almanacs do.
TEST(Lunisolar, LongForm) {
    QString failure;
    ASSERT_GT(LoadProgramText(FindDataFile(QString::fromLatin1(kTextDataFileName)), &failure), 0)
        << failure.toStdString();
    struct Case {
        CalendarId calendar;
        const char* date;
        Language language;
        const char* longForm;
    };
    const Case cases[] = {
        {CHN, "2033-11bis-15", kEnglish, "day 15 of month 11 (leap), year 2033 (gui-chou, Ox)"},
        {CHN, "2026-01-01", kGerman, "Tag 1 des Monats 1, Jahr 2026 (bing-wu, Pferd)"},
        {KOR, "1984-01-01", kEnglish, "day 1 of month 1, year 1984 (jia-zi, Rat)"},
    };
    for (const Case& c : cases) {
        const std::optional<std::int64_t> day = Day(c.calendar, c.date);
        ASSERT_TRUE(day.has_value()) << c.date;
        EXPECT_EQ(LunisolarLongDate(c.calendar, *day, c.language).toStdString(), c.longForm);
    }
    EXPECT_TRUE(LunisolarLongDate(CE, 2461381, kEnglish).isEmpty());
}

}  // namespace
}  // namespace daybridge
