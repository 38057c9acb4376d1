// The compute engine as the window uses it: its message boxes and the fields it writes back.
// Whole output lines and the batch's error lines: golden programs compute_*, units*, formats,
// german, variables and world_calendars, which run the same engine.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "calendar/calendar_table.h"
#include "compute/compute_engine.h"
#include "support/qstring_printer.h"
#include "support/recording_host.h"

namespace daybridge {
namespace {

using testing::RecordingHost;

class FixedBatch : public BatchContext {
  public:
    std::optional<std::int32_t> VariableValue(const QString& name) const override {
        if (name == QStringLiteral("D")) {
            return 2455933;  // 2012-01-06
        }
        return std::nullopt;
    }
    int FileLineNumber() const override { return 12; }
    QString CurrentLineText() const override { return {}; }
};

class EngineOutput : public ::testing::Test {
  protected:
    void SetUp() override { state.format.regional = QLocale::c(); }

    bool Run(const char* first, const char* difference, const char* second) {
        state.GetParameters();
        QString a = QString::fromUtf8(first);
        QString b = QString::fromUtf8(difference);
        QString c = QString::fromUtf8(second);
        return engine.Compute(a, b, c);
    }
    QString Output() const { return state.output.text(); }

    AppState state;
    RecordingHost host;
    ComputeEngine engine{state, host};
};

TEST_F(EngineOutput, TheDateOrderAndSeparatorsOfTheSettingsAreUsed) {
    state.format.dateFormat = kDateFormatDMY;
    state.format.dateSeparator = QStringLiteral(".");
    state.format.thousandsSeparator = QStringLiteral(".");
    state.verbose = false;
    state.secondCalendar = kJDN;
    EXPECT_TRUE(Run("6.1.2012", "", ""));
    EXPECT_EQ(state.firstDateText, QStringLiteral("06.01.2012"));
    EXPECT_EQ(state.secondDateText, QStringLiteral("2.455.933"));
}

TEST_F(EngineOutput, InteractiveFieldsAreRewritten) {
    state.secondCalendar = kJC;
    state.firstDateText = QStringLiteral(" 2012-1-6 ");
    state.dateDiffText = QStringLiteral("1234");
    state.GetParameters();
    EXPECT_TRUE(engine.Compute(state.firstDateText, state.dateDiffText, state.secondDateText));
    EXPECT_EQ(state.firstDateText, QStringLiteral("2012-01-06"));
    EXPECT_EQ(state.dateDiffText, QStringLiteral("1,234"));
    EXPECT_EQ(state.secondDateText, QStringLiteral("2015-05-11"));
    EXPECT_EQ(engine.lastKind(), ComputeEngine::ResultKind::Date);
    EXPECT_EQ(engine.lastDateJdn(), 2455933 + 1234);
    EXPECT_EQ(engine.lastDifference(), 1234);

    state.dateDiffText.clear();
    state.secondCalendar = kCE;
    state.secondDateText = QStringLiteral("2012-01-09");
    state.includeWeekends = false;
    state.GetParameters();
    EXPECT_TRUE(engine.Compute(state.firstDateText, state.dateDiffText, state.secondDateText));
    EXPECT_EQ(state.dateDiffText, QStringLiteral("1"));
    EXPECT_EQ(engine.lastKind(), ComputeEngine::ResultKind::Difference);
    EXPECT_EQ(engine.lastDifference(), 1);
    EXPECT_EQ(engine.lastDateJdn(), 2455933 + 1234);
}

TEST_F(EngineOutput, AUnitDifferenceStaysInTheFieldAsTyped) {
    state.firstDateText = QStringLiteral("2026-01-31");
    state.dateDiffText = QStringLiteral(" 1 Month ");
    state.GetParameters();
    EXPECT_TRUE(engine.Compute(state.firstDateText, state.dateDiffText, state.secondDateText));
    EXPECT_EQ(state.dateDiffText, QStringLiteral("1 Month"));
    EXPECT_EQ(state.secondDateText, QStringLiteral("2026-02-28"));
    EXPECT_EQ(engine.lastKind(), ComputeEngine::ResultKind::Date);
    EXPECT_EQ(engine.lastDifference(), 28);  // the days from the first date to the second
    // A later computation with a plain number is not taken for the earlier units.
    state.secondDateText.clear();
    state.dateDiffText = QStringLiteral("1");
    state.GetParameters();
    EXPECT_TRUE(engine.Compute(state.firstDateText, state.dateDiffText, state.secondDateText));
    EXPECT_EQ(state.secondDateText, QStringLiteral("2026-02-01"));
    state.dateDiffText = QStringLiteral("1m");
    state.secondDateText.clear();
    EXPECT_TRUE(engine.Compute(state.firstDateText, state.dateDiffText, state.secondDateText));
    state.dateDiffText.clear();
    state.secondDateText.clear();
    state.GetParameters();
    EXPECT_TRUE(engine.Compute(state.firstDateText, state.dateDiffText, state.secondDateText));
    EXPECT_EQ(engine.lastDateJdn(), 2461072);  // 2026-01-31 itself
}

TEST_F(EngineOutput, OnlyADifferenceIsReadAndShownAgain) {
    state.format.thousandsSeparator = QStringLiteral(".");
    state.dateDiffText = QStringLiteral("-1234567");
    state.GetParameters();
    EXPECT_TRUE(engine.Compute(state.firstDateText, state.dateDiffText, state.secondDateText));
    EXPECT_EQ(state.dateDiffText, QStringLiteral("-1.234.567"));
    EXPECT_TRUE(state.firstDateText.isEmpty());
    EXPECT_TRUE(state.secondDateText.isEmpty());
    EXPECT_EQ(Output(), QStringLiteral("\r\n"));
    EXPECT_EQ(engine.lastKind(), ComputeEngine::ResultKind::None);
    // Nothing given, or all three: no computation either (the batch's words: golden compute_ce).
    EXPECT_TRUE(Run("", "", ""));
    EXPECT_TRUE(Run("2012-01-06", "5", "2012-01-09"));
    EXPECT_EQ(Output(), QStringLiteral("\r\n\r\n\r\n"));
}

struct ErrorCase {
    const char* what;
    const char* first;
    const char* difference;
    const char* second;
    int calendar;
    const char* message;
};

const ErrorCase kErrors[] = {
    {"first date not valid", "2012-02-30", "5", "", kCE,
     "First date is not valid in specified calendar using specified date format."},
    {"first date out of range", "0000-001", "5", "", kORD, "First date is out of range."},
    {"second date not valid", "2012-13-01", "", "2012-13-01", kLPM,
     "Second date is not valid in specified calendar using specified date format."},
    {"second date out of range", "", "", "5800001-01-01", kLPM, "Second date is out of range."},
    {"difference not valid", "2012-01-06", "-", "", kCE, "Date difference is not valid."},
    {"difference out of range", "2012-01-06", "2100000001", "", kCE,
     "Date difference is out of range."},
    {"an unknown unit", "2012-01-06", "3 fortnights", "", kCE, "Date difference is not valid."},
    {"a unit part too large", "2012-01-06", "150000001m", "", kCE,
     "Date difference is out of range."},
};

TEST_F(EngineOutput, InteractiveErrorsAreShownInABoxOnly) {
    for (const ErrorCase& c : kErrors) {
        state.output.clear();
        host.boxes.clear();
        state.firstCalendar = c.calendar;
        state.secondCalendar = c.calendar;
        EXPECT_FALSE(Run(c.first, c.difference, c.second)) << c.what;
        EXPECT_TRUE(Output().isEmpty()) << c.what;
        ASSERT_EQ(host.boxes.size(), 1u) << c.what;
        EXPECT_EQ(host.boxes[0].title, QStringLiteral("Error!"));
        EXPECT_EQ(host.boxes[0].text, QString::fromUtf8(c.message)) << c.what;
        EXPECT_EQ(host.boxes[0].buttons, MsgButtons::Ok);
    }
}

// In a batch run the errors go to the output with their line: golden compute_errors.
TEST_F(EngineOutput, BatchVariablesAreDatesAndFieldsStayUntouched) {
    FixedBatch batch;
    engine.setBatchContext(&batch);
    state.verbose = false;
    state.GetParameters();
    state.batchRunning = true;
    state.firstDateText = QStringLiteral("kept");
    QString first = QStringLiteral("D");
    QString difference = QStringLiteral("1");
    QString second;
    EXPECT_TRUE(engine.Compute(first, difference, second));
    EXPECT_EQ(first, QStringLiteral("2012-01-06"));
    EXPECT_EQ(state.firstDateText, QStringLiteral("kept"));
    EXPECT_TRUE(state.secondDateText.isEmpty());
}

TEST_F(EngineOutput, TodayIsWrittenInTheSnapshotsCalendar) {
    host.setToday(2455933);
    state.firstCalendar = kISO;
    state.secondCalendar = kJDN;
    state.GetParameters();
    EXPECT_EQ(engine.Today(1), QStringLiteral("2012-W01-5"));
    EXPECT_EQ(engine.Today(2), QStringLiteral("2,455,933"));
    state.firstCalendar = kCE;  // not in the snapshot yet
    EXPECT_EQ(engine.Today(1), QStringLiteral("2012-W01-5"));
}

}  // namespace
}  // namespace daybridge
