// The compute engine as the window uses it: its message boxes and the fields it writes back.
// Whole output lines and the batch's error lines: golden programs compute_*, units*, formats
// (the settings' date order and separators), german, variables and world_calendars, which run
// the same engine and write the same texts.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "calendar/calendar_table.h"
#include "compute/compute_engine.h"
#include "compute/result_text.h"
#include "support/qstring_printer.h"
#include "support/recording_host.h"

namespace daybridge {
namespace {

using testing::RecordingHost;

struct FixedBatch : BatchContext {
    std::optional<std::int32_t> VariableValue(const QString& name) const override {
        return name == QStringLiteral("D") ? std::optional(2455933) : std::nullopt;  // 2012-01-06
    }
};

class EngineOutput : public ::testing::Test {
  protected:
    void SetUp() override { state.settings.format.regional = QLocale::c(); }

    bool Run(const char* first, const char* difference, const char* second) {
        state.GetParameters();
        QString a = QString::fromUtf8(first);
        QString b = QString::fromUtf8(difference);
        QString c = QString::fromUtf8(second);
        return Compute(a, b, c);
    }
    bool Compute(QString& first, QString& difference, QString& second) {
        return ComputeAndShow(engine, state, host, first, difference, second, &last);
    }
    bool ComputeFields() {
        return Compute(state.session.firstDateText, state.session.dateDiffText,
                       state.session.secondDateText);
    }
    QString Output() { return host.output().text(); }

    AppState state;
    RecordingHost host;
    ComputeEngine engine{state};
    ComputeResult last;
};

// The fields written back, a unit difference kept as typed, RESULT after each kind: the window's
// computeWithEachCombination and golden programs units and variables. Here: after a unit
// difference, a computation of the first date alone is that date.
TEST_F(EngineOutput, AUnitDifferenceIsNotKeptForTheNextComputation) {
    state.session.firstDateText = QStringLiteral("2026-01-31");
    state.session.dateDiffText = QStringLiteral(" 1 Month ");
    state.GetParameters();
    EXPECT_TRUE(ComputeFields());
    EXPECT_EQ(state.session.dateDiffText, QStringLiteral("1 Month"));
    EXPECT_EQ(last.difference, 28);  // the days from the first date to the second
    state.session.dateDiffText.clear();
    state.session.secondDateText.clear();
    EXPECT_TRUE(ComputeFields());
    EXPECT_EQ(last.secondJdn, 2461072);  // 2026-01-31 itself
}

TEST_F(EngineOutput, OnlyADifferenceIsReadAndShownAgain) {
    state.settings.format.thousandsSeparator = QStringLiteral(".");
    state.session.dateDiffText = QStringLiteral("-1234567");
    state.GetParameters();
    EXPECT_TRUE(ComputeFields());
    EXPECT_EQ(state.session.dateDiffText, QStringLiteral("-1.234.567"));
    EXPECT_TRUE(state.session.firstDateText.isEmpty());
    EXPECT_TRUE(state.session.secondDateText.isEmpty());
    EXPECT_EQ(Output(), QStringLiteral("\r\n"));
    EXPECT_EQ(last.computed, ComputedPart::Nothing);
    // Nothing given, or all three: no computation either (the batch's words: golden compute_ce).
    EXPECT_TRUE(Run("", "", ""));
    EXPECT_TRUE(Run("2012-01-06", "5", "2012-01-09"));
    EXPECT_EQ(Output(), QStringLiteral("\r\n\r\n\r\n"));
}

// The messages' texts for the fields and out-of-range values: golden programs compute_errors
// and units (batch runs, same texts but "date difference is invalid").
struct ErrorCase {
    const char* what;
    const char* first;
    const char* difference;
    const char* second;
    CalendarId calendar;
    const char* message;
};

const ErrorCase kErrors[] = {
    {"first date out of range", "0000-001", "5", "", CalendarId::ORD,
     "First date is out of range."},
    {"difference not valid", "2012-01-06", "-", "", CalendarId::CE,
     "Date difference is not valid."},
    {"an unknown unit", "2012-01-06", "3 fortnights", "", CalendarId::CE,
     "Date difference is not valid."},
};

TEST_F(EngineOutput, InteractiveErrorsAreShownInABoxOnly) {
    for (const ErrorCase& c : kErrors) {
        host.output().clear();
        host.boxes.clear();
        state.settings.firstCalendar = c.calendar;
        state.settings.secondCalendar = c.calendar;
        EXPECT_FALSE(Run(c.first, c.difference, c.second)) << c.what;
        EXPECT_TRUE(Output().isEmpty()) << c.what;
        ASSERT_EQ(host.boxes.size(), 1u) << c.what;
        EXPECT_EQ(host.boxes[0].title, QStringLiteral("Error"));  // as every other error box
        EXPECT_EQ(host.boxes[0].text, QString::fromUtf8(c.message)) << c.what;
        EXPECT_EQ(host.boxes[0].buttons, MsgButtons::Ok);
    }
}

// Whether the first date counts and which days are working days change no conversion, so a
// conversion line names neither; a computed date or difference still does.
TEST_F(EngineOutput, AConversionLineHasNoQualifiers) {
    state.settings.includeFirstDate = true;
    state.settings.includeWeekends = false;
    state.settings.secondCalendar = CalendarId::JC;
    const QString including = CaptionText(Caption::IncludingFirstDate, kEnglish);
    for (const auto& [first, difference, second, qualified] :
         {std::tuple{"2012-01-07", "", "", false}, std::tuple{"", "", "2011-12-25", false},
          std::tuple{"2012-01-07", "3", "", true},
          std::tuple{"2012-01-07", "", "2012-01-01", true}}) {
        host.output().clear();
        ASSERT_TRUE(Run(first, difference, second)) << first << difference << second;
        EXPECT_EQ(Output().contains(including), qualified) << Output().toStdString();
    }
}

// In a batch run the errors go to the output with their line: golden compute_errors.
TEST_F(EngineOutput, BatchVariablesAreDatesAndFieldsStayUntouched) {
    FixedBatch batch;
    engine.setBatchContext(&batch);
    state.settings.verbose = false;
    state.GetParameters();
    state.session.batchRunning = true;
    state.session.firstDateText = QStringLiteral("kept");
    QString first = QStringLiteral("D");
    QString difference = QStringLiteral("1");
    QString second;
    EXPECT_TRUE(Compute(first, difference, second));
    EXPECT_EQ(first, QStringLiteral("2012-01-06"));
    EXPECT_EQ(state.session.firstDateText, QStringLiteral("kept"));
    EXPECT_TRUE(state.session.secondDateText.isEmpty());
}

TEST_F(EngineOutput, TodayIsWrittenInTheSnapshotsCalendar) {
    host.setToday(2455933);
    state.settings.firstCalendar = CalendarId::ISO;
    state.settings.secondCalendar = CalendarId::JDN;
    state.GetParameters();
    EXPECT_EQ(TodayText(state, host.todayJdn(), 1), QStringLiteral("2012-W01-5"));
    EXPECT_EQ(TodayText(state, host.todayJdn(), 2), QStringLiteral("2,455,933"));
    state.settings.firstCalendar = CalendarId::CE;  // not in the snapshot yet
    EXPECT_EQ(TodayText(state, host.todayJdn(), 1), QStringLiteral("2012-W01-5"));
}

}  // namespace
}  // namespace daybridge
