// The date fields' steps and moves without the window: a stepped or moved date reads back as
// the day it should be (by the day count, or by the calendar's own month arithmetic), and each
// refusal is named for what is wrong.
#include <gtest/gtest.h>

#include <random>

#include "calendar/calendar_registry.h"
#include "calendar/calendar_table.h"
#include "calendar/calendar_units.h"
#include "compute/compute_engine.h"
#include "compute/date_fields.h"
#include "datetext/date_parse.h"

namespace daybridge {
namespace {

std::int64_t JdnOf(const AppState& state, CalendarId calendar, const QString& text) {
    const ParseResult parsed = ParseDateInCalendar(calendar, text, state.CurrentFormat());
    EXPECT_EQ(parsed.outcome, ParseOutcome::Valid) << text.toStdString();
    return parsed.jdn;
}

TEST(DateFields, StepsReadBackAsTheDayStepped) {
    const CalendarId calendars[] = {CalendarId::CE,  CalendarId::JC,  CalendarId::ISO,
                                    CalendarId::ORD, CalendarId::HEB, CalendarId::CHN,
                                    CalendarId::JPN, CalendarId::HIS};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> day(2400000, 2480000);  // 1858 .. 2078
    std::uniform_int_distribution<int> step(-400, 400);
    AppState state;
    for (const CalendarId calendar : calendars) {
        state.settings.firstCalendar = calendar;
        for (int i = 0; i < 300; ++i) {
            const std::int32_t jdn = day(random);
            const int n = step(random);
            state.session.firstDateText = DateTextOfJdn(state, calendar, jdn);
            const FieldEdit byDays = SteppedFieldDate(state, 1, n, false);
            ASSERT_EQ(byDays.refusal, FieldRefusal::None)
                << state.session.firstDateText.toStdString();
            EXPECT_EQ(JdnOf(state, calendar, byDays.text), jdn + n);

            const int months = n / 40;
            const FieldEdit byMonths = SteppedFieldDate(state, 1, months, true);
            const UnitResult expected = AddMonths(Calendar(calendar).pageMonthsIn, jdn, months);
            ASSERT_EQ(byMonths.refusal, FieldRefusal::None);
            EXPECT_EQ(JdnOf(state, calendar, byMonths.text), expected.jdn);
        }
    }
}

TEST(DateFields, RefusalsNameWhatIsWrong) {
    AppState state;
    struct Case {
        const char* text;
        int step;
        FieldRefusal refusal;
    };
    const Case cases[] = {
        {"", 1, FieldRefusal::None},                         // nothing to step
        {"2026-02-30", 1, FieldRefusal::Invalid},            // no such day
        {"9999999999-01-01", 1, FieldRefusal::OutOfRange},   // beyond the range
        {"2026-12-07", 2100000000, FieldRefusal::NoResult},  // would leave the range
    };
    for (const Case& c : cases) {
        state.session.secondDateText = QString::fromLatin1(c.text);
        EXPECT_EQ(SteppedFieldDate(state, 2, c.step, false).refusal, c.refusal) << c.text;
    }
}

TEST(DateFields, SecondDateMovesIntoTheFirstDatesCalendar) {
    AppState state;
    state.settings.firstCalendar = CalendarId::HEB;
    state.settings.secondCalendar = CalendarId::CE;
    state.session.secondDateText = QStringLiteral(" 2026-12-07 ");
    const FieldEdit moved = SecondDateAsFirst(state);
    ASSERT_EQ(moved.refusal, FieldRefusal::None);
    EXPECT_EQ(JdnOf(state, CalendarId::HEB, moved.text), 2461382);

    state.session.secondDateText = QStringLiteral("2026-13-01");
    EXPECT_EQ(SecondDateAsFirst(state).refusal, FieldRefusal::Invalid);
    state.session.secondDateText.clear();
    EXPECT_EQ(SecondDateAsFirst(state).refusal, FieldRefusal::None);
    EXPECT_TRUE(SecondDateAsFirst(state).text.isEmpty());

    // Into a calendar whose years do not reach the date: nothing to write.
    state.settings.firstCalendar = CalendarId::CHN;
    EXPECT_EQ(FieldDateIn(state, CalendarId::CE, CalendarId::CHN, QStringLiteral("3000-01-01")),
              QString());
    state.session.secondDateText = QStringLiteral("3000-01-01");
    EXPECT_EQ(SecondDateAsFirst(state).refusal, FieldRefusal::NoResult);
}

TEST(DateFields, AnotherCalendarWritesTheSameDay) {
    AppState state;
    const QString ce = QStringLiteral("2033-12-22");
    const QString chinese = FieldDateIn(state, CalendarId::CE, CalendarId::CHN, ce);
    EXPECT_EQ(chinese, QStringLiteral("2033-11bis-01"));
    EXPECT_EQ(FieldDateIn(state, CalendarId::CHN, CalendarId::CE, chinese), ce);
    EXPECT_EQ(FieldDateIn(state, CalendarId::CE, CalendarId::CE, ce), QString());
    EXPECT_EQ(FieldDateIn(state, CalendarId::CE, CalendarId::HEB, QStringLiteral("x")), QString());
}

}  // namespace
}  // namespace daybridge
