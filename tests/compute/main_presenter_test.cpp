// The main window's logic without widgets: the today labels name today and the day a week on
// in a text that reads back as those days, their calendar cycles, and a press of Compute begins
// by which fields are filled.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "calendar/calendar_registry.h"
#include "calendar/calendar_table.h"
#include "calendar/names.h"
#include "compute/main_presenter.h"
#include "datetext/date_parse.h"
#include "env/paths.h"
#include "env/text_store.h"

namespace daybridge {
namespace {

// The day `label` names after `prefix` (and the German article), written in `calendar` and
// followed by its code; nothing when it does not read so.
std::optional<std::int64_t> DayNamed(const AppState& state, CalendarId calendar, QString label,
                                     const QString& prefix) {
    const QString code = QLatin1Char(' ') + CalendarCode(calendar);
    if (!label.startsWith(prefix) || !label.endsWith(code)) {
        return std::nullopt;
    }
    label = label.mid(prefix.size(), label.size() - prefix.size() - code.size());
    if (state.settings.language == kGerman && label.startsWith(QStringLiteral("der "))) {
        label = label.mid(4);
    }
    const ParseResult parsed = ParseDateInCalendar(calendar, label, state.CurrentFormat());
    return parsed.outcome == ParseOutcome::Valid ? std::optional<std::int64_t>(parsed.jdn)
                                                 : std::nullopt;
}

TEST(MainPresenter, TodayLabelsReadBackAsTodayAndAWeekOn) {
    QString failure;
    ASSERT_GT(LoadProgramText(FindDataFile(QString::fromLatin1(kTextDataFileName)), &failure), 0)
        << failure.toStdString();
    std::mt19937 random(11);
    std::uniform_int_distribution<std::int32_t> day(2415021, 2488070);  // 1900 .. 2099
    AppState state;
    for (const Language language : kLanguages) {
        state.settings.language = language;
        for (const CalendarId calendar : TodayCycle()) {
            state.settings.todayCalendar = calendar;
            for (int i = 0; i < 40; ++i) {
                const std::int32_t today = day(random);
                const TodayLabels labels = TodayLabelTexts(state, today);
                const QString todayPrefix =
                    state.settings.Caption(Caption::TodayIs) + QLatin1Char(' ') +
                    DayNameIn(DayOfWeek(today), language) + QStringLiteral(", ");
                EXPECT_EQ(DayNamed(state, calendar, labels.today, todayPrefix), today)
                    << labels.today.toStdString();
                EXPECT_TRUE(labels.todayToolTip.endsWith(
                    state.settings.Caption(Caption::ClickToChangeCalendar)));
                std::optional<std::int64_t> week;
                for (const Caption caption :
                     {Caption::WeekFromTodayIs, Caption::FiveDayWeekFromTodayIs}) {
                    week = week ? week
                                : DayNamed(state, calendar, labels.weekFromToday,
                                           state.settings.Caption(caption) + QLatin1Char(' '));
                }
                EXPECT_EQ(week, today + 7) << labels.weekFromToday.toStdString();
            }
        }
    }
}

TEST(MainPresenter, TodayCalendarCyclesThroughEachOnce) {
    AppState state;
    const std::span<const CalendarId> cycle = TodayCycle();
    state.settings.todayCalendar = cycle.front();
    std::set<CalendarId> seen;
    for (std::size_t i = 0; i < cycle.size(); ++i) {
        seen.insert(state.settings.todayCalendar);
        const CalendarId before = state.settings.todayCalendar;
        ASSERT_TRUE(StepTodayCalendar(state, true));
        AppState back = state;
        ASSERT_TRUE(StepTodayCalendar(back, false));
        EXPECT_EQ(back.settings.todayCalendar, before);
    }
    EXPECT_EQ(seen.size(), cycle.size());
    EXPECT_EQ(state.settings.todayCalendar, cycle.front());
    // A calendar outside the cycle stays where it is.
    for (int index = 0; const std::optional<CalendarId> calendar = CalendarOfIndex(index);
         ++index) {
        if (std::find(cycle.begin(), cycle.end(), *calendar) == cycle.end()) {
            state.settings.todayCalendar = *calendar;
            EXPECT_FALSE(StepTodayCalendar(state, true));
            EXPECT_EQ(state.settings.todayCalendar, *calendar);
        }
    }
}

TEST(MainPresenter, ComputeBeginsByTheFilledFields) {
    // Every combination of filled fields; blanks alone count as empty.
    for (int filled = 0; filled < 8; ++filled) {
        const bool first = filled & 1;
        const bool difference = filled & 2;
        const bool second = filled & 4;
        AppState state;
        state.session.firstDateText = first ? QStringLiteral(" 2026-01-02 ") : QStringLiteral("  ");
        state.session.dateDiffText = difference ? QStringLiteral("\t5") : QString();
        state.session.secondDateText = second ? QStringLiteral("2026-03-04 ") : QStringLiteral(" ");
        ComputeStart expected = ComputeStart::Compute;
        if (!first && !difference && !second) {
            expected = ComputeStart::TodayFirst;
        } else if (!first && !second) {
            expected = ComputeStart::FocusOnly;
        } else if (first && difference && second) {
            expected = ComputeStart::AskWhichToClear;
        }
        EXPECT_EQ(BeginCompute(state), expected) << filled;
        EXPECT_EQ(state.session.firstDateText, first ? QStringLiteral("2026-01-02") : QString());
        EXPECT_EQ(state.session.dateDiffText, difference ? QStringLiteral("5") : QString());
        EXPECT_EQ(state.session.secondDateText, second ? QStringLiteral("2026-03-04") : QString());
    }
}

TEST(MainPresenter, AnotherCalendarKeepsTheDayOrTheText) {
    std::mt19937 random(5);
    std::uniform_int_distribution<std::int32_t> day(2400000, 2480000);  // 1858 .. 2078
    AppState state;
    state.session.mainWindowReady = true;
    for (const CalendarId target : OptionCalendars()) {
        for (int i = 0; i < 50; ++i) {
            const std::int32_t jdn = day(random);
            state.settings.firstCalendar = CalendarId::JDN;
            state.session.firstDateText = QStringLiteral(" %1 ").arg(jdn);
            ASSERT_TRUE(ChangeFieldCalendar(state, 1, target));
            EXPECT_EQ(state.settings.firstCalendar, target);
            const ParseResult back =
                ParseDateInCalendar(target, state.session.firstDateText, state.CurrentFormat());
            EXPECT_EQ(back.outcome, ParseOutcome::Valid)
                << state.session.firstDateText.toStdString();
            EXPECT_EQ(back.jdn, jdn) << state.session.firstDateText.toStdString();
        }
    }
    // A text that is no date stays, trimmed; CE before the window is ready changes nothing.
    state.settings.secondCalendar = CalendarId::JC;
    state.session.secondDateText = QStringLiteral(" 2026-13-40 ");
    ASSERT_TRUE(ChangeFieldCalendar(state, 2, CalendarId::ISO));
    EXPECT_EQ(state.session.secondDateText, QStringLiteral("2026-13-40"));
    EXPECT_EQ(state.settings.secondCalendar, CalendarId::ISO);
    state.session.mainWindowReady = false;
    state.session.secondDateText = QStringLiteral(" x ");
    EXPECT_FALSE(ChangeFieldCalendar(state, 2, CalendarId::CE));
    EXPECT_EQ(state.session.secondDateText, QStringLiteral(" x "));
    EXPECT_EQ(state.settings.secondCalendar, CalendarId::ISO);
}

}  // namespace
}  // namespace daybridge
