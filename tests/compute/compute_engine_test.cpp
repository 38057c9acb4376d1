// Whole output lines of the compute engine for each combination of given fields, its messages
// and the fields it writes back.
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
        if (name == QStringLiteral("HUGE")) {
            return 2147483647;
        }
        return std::nullopt;
    }
    int FileLineNumber() const override { return 12; }
    QString CurrentLineText() const override { return QStringLiteral("xyz # 5"); }
};

struct OutputCase {
    const char* what;
    const char* first;
    const char* difference;
    const char* second;
    int firstCalendar;
    int secondCalendar;
    bool includeFirst;
    bool countWeekends;
    bool verbose;
    int language;
    const char* output;
    bool ok;
};

class EngineOutput : public ::testing::Test {
  protected:
    void SetUp() override { state.format.regional = QLocale::c(); }

    bool Run(const OutputCase& c) {
        state.firstCalendar = c.firstCalendar;
        state.secondCalendar = c.secondCalendar;
        state.includeFirstDate = c.includeFirst;
        state.includeWeekends = c.countWeekends;
        state.verbose = c.verbose;
        state.language = c.language;
        return Run(c.first, c.difference, c.second);
    }
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

// 2012-01-06 is a Friday.
const OutputCase kEnglishCases[] = {
    {"dates pasted back from the output", "2012-01-06 CE, Friday", "", "ce 2012-01-09", kCE, kCE,
     false, true, false, kEnglish, "2012-01-06 CE To 2012-01-09 CE = 3 days\r\n", true},
    {"the largest JDN typed back", "2,100,000,000 JDN", "", "", kJDN, kCE, false, true, false,
     kEnglish, "2,100,000,000 = 5,744,892-08-11 CE, Monday\r\n", true},
    {"both dates", "2012-01-06", "", "2012-01-09", kCE, kCE, false, true, true, kEnglish,
     "2012-01-06 CE To 2012-01-09 CE = 3 days, excluding 1st date\r\n", true},
    {"both dates, weekdays only", "2012-01-06", "", "2012-01-09", kCE, kCE, false, false, true,
     kEnglish,
     "2012-01-06 CE To 2012-01-09 CE = 1 day, excluding 1st date, not counting weekend days\r\n",
     true},
    {"both dates, weekdays only, first included", "2012-01-06", "", "2012-01-09", kCE, kCE, true,
     false, true, kEnglish,
     "2012-01-06 CE To 2012-01-09 CE = 2 days, including 1st date, not counting weekend days\r\n",
     true},
    {"both dates with a breakdown", "2012-01-15", "", "2012-03-10", kCE, kCE, false, true, true,
     kEnglish,
     "2012-01-15 CE To 2012-03-10 CE = 55 days, excluding 1st date (1 month, 24 days)\r\n", true},
    {"breakdown from the day before an included first date", "2012-01-15", "", "2012-03-10", kCE,
     kCE, true, true, true, kEnglish,
     "2012-01-15 CE To 2012-03-10 CE = 56 days, including 1st date (1 month, 25 days)\r\n", true},
    {"breakdown without qualifiers", "2012-01-15", "", "2012-03-10", kCE, kCE, false, true, false,
     kEnglish, "2012-01-15 CE To 2012-03-10 CE = 55 days (1 month, 24 days)\r\n", true},
    {"no breakdown when weekends are not counted", "2012-01-15", "", "2012-03-10", kCE, kCE, false,
     false, false, kEnglish, "2012-01-15 CE To 2012-03-10 CE = 40 days\r\n", true},
    {"Julian months in a Julian breakdown", "1900-01-15", "", "1900-03-10", kJC, kJC, false, true,
     false, kEnglish, "1900-01-15 JC To 1900-03-10 JC = 55 days (1 month, 24 days)\r\n", true},
    {"Gregorian months in a Gregorian breakdown", "1900-01-15", "", "1900-03-10", kCE, kCE, false,
     true, false, kEnglish, "1900-01-15 CE To 1900-03-10 CE = 54 days (1 month, 23 days)\r\n",
     true},
    {"no breakdown for 30 days", "2012-01-01", "", "2012-01-31", kCE, kCE, false, true, false,
     kEnglish, "2012-01-01 CE To 2012-01-31 CE = 30 days\r\n", true},
    {"no breakdown across calendars", "2012-01-15", "", "2012-03-10", kCE, kJC, false, true, false,
     kEnglish, "2012-01-15 CE To 2012-03-10 JC = 68 days\r\n", true},
    {"backwards, with grouping", "2012-01-06", "", "-1000-01-01", kCE, kCE, false, true, false,
     kEnglish, "2012-01-06 CE To -1000-01-01 CE = -1,100,115 days\r\n", true},
    {"ISO breakdown", "2012-W05-5", "", "2013-W05-3", kISO, kISO, false, true, true, kEnglish,
     "2012-W05-5 ISO To 2013-W05-3 ISO = 362 days, excluding 1st date (51 weeks, 5 days)\r\n",
     true},
    {"ORD breakdown", "2011-300", "", "2012-310", kORD, kORD, false, true, false, kEnglish,
     "2011-300 ORD To 2012-310 ORD = 375 days (1 year, 10 days)\r\n", true},
    {"ORD under a year", "2011-300", "", "2012-010", kORD, kORD, false, true, false, kEnglish,
     "2011-300 ORD To 2012-010 ORD = 75 days\r\n", true},
    {"leap week dates", "2012-05-3", "", "2012-06-3", kLPW, kLPW, false, true, false, kEnglish,
     "2012-05-3 LPW To 2012-06-3 LPW = 7 days\r\n", true},
    {"first date plus", "2012-01-06", "30", "", kCE, kCE, false, true, true, kEnglish,
     "2012-01-06 plus 30 days = 2012-02-05 CE, Sunday, excluding 1st date\r\n", true},
    {"first date minus", "2012-01-06", "-7", "", kCE, kCE, false, true, true, kEnglish,
     "2012-01-06 minus 7 days = 2011-12-30 CE, Friday, excluding 1st date\r\n", true},
    {"first date plus one day, weekdays only", "2012-01-06", "1", "", kCE, kCE, false, false, true,
     kEnglish,
     "2012-01-06 plus 1 day = 2012-01-09 CE, Monday, excluding 1st date, not counting weekend "
     "days\r\n",
     true},
    {"first date plus, grouped, into JDN", "2012-01-06", "1234", "", kCE, kJDN, false, true, false,
     kEnglish, "2012-01-06 plus 1,234 days = 2,457,167 JDN, Sunday\r\n", true},
    {"second date minus", "", "7", "2012-01-06", kCE, kCE, false, true, true, kEnglish,
     "2012-01-06 minus 7 days = 2011-12-30 CE, Friday, excluding 1st date\r\n", true},
    {"second date with a negative difference", "", "-7", "2012-01-06", kCE, kCE, false, true, true,
     kEnglish, "2012-01-06 plus 7 days = 2012-01-13 CE, Friday, excluding 1st date\r\n", true},
    {"zero difference from a first date", "2012-01-06", "0", "", kCE, kCE, true, false, false,
     kEnglish, "2012-01-06 plus 0 days = 2012-01-06 CE, Friday\r\n", true},
    {"zero difference from a second date", "", "-0", "2012-01-06", kCE, kCE, false, true, false,
     kEnglish, "2012-01-06 minus 0 days = 2012-01-06 CE, Friday\r\n", true},
    {"conversion into another calendar", "2012-01-06", "", "", kCE, kJC, false, true, true,
     kEnglish, "2012-01-06 = 2011-12-24 JC, Friday, excluding 1st date\r\n", true},
    {"conversion of a second date", "", "", "2012-01-06", kJDN, kCE, false, true, false, kEnglish,
     "2012-01-06 = 2,455,933 JDN, Friday\r\n", true},
    {"conversion into ISO", "2012-01-06", "", "", kCE, kISO, false, false, false, kEnglish,
     "2012-01-06 = 2012-W01-5 ISO, Friday\r\n", true},
    {"same calendar: the date and its day", "2012-01-06", "", "", kCE, kCE, false, true, true,
     kEnglish, "2012-01-06, Friday\r\n", true},
    {"only a difference", "", "1234", "", kCE, kCE, false, true, true, kEnglish, "\r\n", true},
    {"nothing given", "", "", "", kCE, kCE, false, true, true, kEnglish, "\r\n", true},
    {"all three given", "2012-01-06", "5", "2012-01-09", kCE, kCE, false, true, true, kEnglish,
     "\r\n", true},
    {"dates too far apart", "-2000000000", "", "2000000000", kJDN, kJDN, false, true, true,
     kEnglish, "Out of Range\r\n\r\n", false},
    {"an ordinal result before year 1", "1721425", "", "", kJDN, kORD, false, true, true, kEnglish,
     "Out of Range\r\n\r\n", false},
    {"an ordinal result after year 9999", "9999-365", "1", "", kORD, kORD, false, true, true,
     kEnglish, "Out of Range\r\n\r\n", false},
    // Unit differences (checked with dateutil.relativedelta).
    {"units: end of month", "2026-01-31", "1 month", "", kCE, kCE, false, true, false, kEnglish,
     "2026-01-31 plus 1 month = 2026-02-28 CE, Saturday\r\n", true},
    {"units: every part, clamped once", "2024-02-29", " 1y1m1w1d ", "", kCE, kCE, false, true,
     false, kEnglish, "2024-02-29 plus 1 year, 1 month, 1 week, 1 day = 2025-04-06 CE, Sunday\r\n",
     true},
    {"units: negative", "2026-03-31", "-1m", "", kCE, kCE, false, true, false, kEnglish,
     "2026-03-31 minus 1 month = 2026-02-28 CE, Saturday\r\n", true},
    {"units: from a second date", "", "1Y", "2024-02-29", kCE, kCE, false, true, false, kEnglish,
     "2024-02-29 minus 1 year = 2023-02-28 CE, Tuesday\r\n", true},
    {"units: negative from a second date", "", "-2w", "2012-01-06", kCE, kCE, false, true, false,
     kEnglish, "2012-01-06 plus 2 weeks = 2012-01-20 CE, Friday\r\n", true},
    {"units: months are no working-day count", "2012-01-04", "1m", "", kCE, kCE, false, false,
     false, kEnglish, "2012-01-04 plus 1 month = 2012-02-04 CE, Saturday\r\n", true},
    {"units: the day part in working days", "2012-01-04", "1m1d", "", kCE, kCE, false, false, false,
     kEnglish, "2012-01-04 plus 1 month, 1 day = 2012-02-06 CE, Monday\r\n", true},
    {"units: first date included in the day part", "2012-01-06", "1m10d", "", kCE, kCE, true, true,
     false, kEnglish, "2012-01-06 plus 1 month, 10 days = 2012-02-15 CE, Wednesday\r\n", true},
    {"units: a zero part as typed", "2012-01-06", "1y0m", "", kCE, kCE, true, true, false, kEnglish,
     "2012-01-06 plus 1 year, 0 months = 2013-01-06 CE, Sunday\r\n", true},
    {"units: ISO year keeps week and weekday", "2015-W53-5", "1y", "", kISO, kISO, false, true,
     false, kEnglish, "2015-W53-5 plus 1 year = 2016-W52-5 ISO, Friday\r\n", true},
    {"units: ORD takes CE months", "2012-031", "1m", "", kORD, kORD, false, true, false, kEnglish,
     "2012-031 plus 1 month = 2012-060 ORD, Wednesday\r\n", true},
    {"units: result out of range", "2012-01-06", "11000000y", "", kCE, kCE, false, true, false,
     kEnglish, "Out of Range\r\n\r\n", false},
};

const OutputCase kGermanCases[] = {
    {"both dates", "2012-01-06", "", "2012-01-09", kCE, kCE, false, true, true, kGerman,
     "2012-01-06 CE Bis 2012-01-09 CE = 3 Tage, ausschliesslich 1. Datum\r\n", true},
    {"both dates, weekdays only", "2012-01-06", "", "2012-01-09", kCE, kCE, true, false, true,
     kGerman,
     "2012-01-06 CE Bis 2012-01-09 CE = 2 Tage, einschliesslich 1. Datum, die Wochenendtage "
     "nicht gezählt\r\n",
     true},
    {"one day", "2012-01-06", "", "2012-01-07", kCE, kCE, false, true, false, kGerman,
     "2012-01-06 CE Bis 2012-01-07 CE = 1 Tag\r\n", true},
    {"breakdown", "2011-01-15", "", "2012-03-10", kCE, kCE, false, true, true, kGerman,
     "2011-01-15 CE Bis 2012-03-10 CE = 420 Tage, ausschliesslich 1. Datum (1 Jahr, 1 Monat, 24 "
     "Tage)\r\n",
     true},
    {"first date plus", "2012-01-06", "30", "", kCE, kCE, false, true, true, kGerman,
     "2012-01-06 plus 30 Tage = 2012-02-05 CE, Sonntag, ausschliesslich 1. Datum\r\n", true},
    {"second date in JC minus one", "", "1", "2012-01-06", kCE, kJC, false, true, false, kGerman,
     "2012-01-06 minus 1 Tag = 2012-01-18 CE, Mittwoch\r\n", true},
    {"same calendar", "", "", "2012-01-06", kCE, kCE, false, true, true, kGerman,
     "2012-01-06, Freitag\r\n", true},
    {"units", "2026-01-31", "1M", "", kCE, kCE, false, true, false, kGerman,
     "2026-01-31 plus 1 Monat = 2026-02-28 CE, Samstag\r\n", true},
    {"units, compact", "2024-01-31", "1J2M3T", "", kCE, kCE, false, true, false, kGerman,
     "2024-01-31 plus 1 Jahr, 2 Monate, 3 Tage = 2025-04-03 CE, Donnerstag\r\n", true},
    {"units, spelled", "", "3 Monate", "2026-05-31", kCE, kCE, false, true, false, kGerman,
     "2026-05-31 minus 3 Monate = 2026-02-28 CE, Samstag\r\n", true},
    {"dates too far apart", "-2000000000", "", "2000000000", kJDN, kJDN, false, true, true, kGerman,
     "Ausserhalb des erlaubten Bereichs\r\n\r\n", false},
};

TEST_F(EngineOutput, LinesInEachLanguage) {
    struct Language {
        const OutputCase* begin;
        const OutputCase* end;
        const char* title;
        const char* message;
    };
    const Language languages[] = {
        {std::begin(kEnglishCases), std::end(kEnglishCases), "Error!", "Result is out of range."},
        {std::begin(kGermanCases), std::end(kGermanCases), "Fehler!",
         "Das Resultat liegt ausserhalb des erlaubten Bereichs."},
    };
    for (const Language& language : languages) {
        for (const OutputCase* c = language.begin; c != language.end; ++c) {
            SCOPED_TRACE(c->what);
            state.output.clear();
            host.boxes.clear();
            EXPECT_EQ(Run(*c), c->ok);
            EXPECT_EQ(Output(), QString::fromUtf8(c->output));
            ASSERT_EQ(host.boxes.size(), c->ok ? 0u : 1u);
            if (!c->ok) {
                EXPECT_EQ(host.boxes[0].title, QString::fromUtf8(language.title));
                EXPECT_EQ(host.boxes[0].text, QString::fromUtf8(language.message));
            }
        }
    }
}

TEST_F(EngineOutput, DayNamesCanBeLeftOut) {
    state.displayDayNames = false;
    EXPECT_TRUE(Run("2012-01-06", "30", ""));
    EXPECT_TRUE(Run("2012-01-06", "", ""));
    EXPECT_EQ(Output(),
              QStringLiteral("2012-01-06 plus 30 days = 2012-02-05 CE, excluding 1st date\r\n"
                             "2012-01-06\r\n"));
}

TEST_F(EngineOutput, TheDateOrderAndSeparatorsOfTheSettingsAreUsed) {
    state.format.dateFormat = kDateFormatDMY;
    state.format.dateSeparator = QStringLiteral(".");
    state.format.thousandsSeparator = QStringLiteral(".");
    state.verbose = false;
    state.secondCalendar = kJDN;
    EXPECT_TRUE(Run("6.1.2012", "", ""));
    EXPECT_EQ(Output(), QStringLiteral("06.01.2012 = 2.455.933 JDN, Friday\r\n"));
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
    // Stray characters are refused, not dropped.
    {"decimal difference", "2012-01-06", "1.5", "", kCE, "Date difference is not valid."},
    {"difference with a hyphen", "2012-01-06", "10-5", "", kCE, "Date difference is not valid."},
    {"an unknown unit", "2012-01-06", "3 fortnights", "", kCE, "Date difference is not valid."},
    {"units out of order", "2012-01-06", "1m1y", "", kCE, "Date difference is not valid."},
    {"a German unit in English", "2012-01-06", "3 Monate", "", kCE,
     "Date difference is not valid."},
    {"a unit part too large", "2012-01-06", "150000001m", "", kCE,
     "Date difference is out of range."},
    {"difference in exponent form", "2012-01-06", "1e3", "", kCE, "Date difference is not valid."},
    {"letter O in the month", "2012-1O-31", "5", "", kCE,
     "First date is not valid in specified calendar using specified date format."},
    {"another calendar's code", "", "", "2012-12-31 JC", kCE,
     "Second date is not valid in specified calendar using specified date format."},
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

TEST_F(EngineOutput, BatchErrorsGoToTheOutputWithTheirLine) {
    FixedBatch batch;
    engine.setBatchContext(&batch);
    state.batchRunning = true;
    for (const ErrorCase& c : kErrors) {
        state.output.clear();
        host.boxes.clear();
        state.snapshot.firstCalendar = c.calendar;
        state.snapshot.secondCalendar = c.calendar;
        QString a = QString::fromUtf8(c.first);
        QString b = QString::fromUtf8(c.difference);
        QString s = QString::fromUtf8(c.second);
        EXPECT_FALSE(engine.Compute(a, b, s)) << c.what;
        const QString message = QString::fromUtf8(c.message);
        EXPECT_TRUE(host.boxes.empty()) << c.what;
        EXPECT_EQ(Output(),
                  QStringLiteral("Line 12, 'xyz # 5':\r\n") + message + QStringLiteral("\r\n"))
            << c.what;
    }
    state.language = kGerman;
    state.output.clear();
    QString a = QStringLiteral("nonsense");
    QString b;
    QString s;
    state.snapshot.firstCalendar = kCE;
    EXPECT_FALSE(engine.Compute(a, b, s));
    EXPECT_EQ(Output(),
              QStringLiteral("Linie 12, 'xyz # 5':\r\nErstes Datum ist in dem angegebenen "
                             "Kalender (und Datumsformat) nicht zulässig.\r\n"));
}

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
    EXPECT_EQ(Output(), QStringLiteral("2012-01-06 plus 1 day = 2012-01-07 CE, Saturday\r\n"));
    EXPECT_EQ(state.firstDateText, QStringLiteral("kept"));
    EXPECT_TRUE(state.secondDateText.isEmpty());

    // A variable holding no showable date is out of range.
    state.output.clear();
    first = QStringLiteral("HUGE");
    EXPECT_FALSE(engine.Compute(first, difference, second));
    EXPECT_EQ(Output(), QStringLiteral("Line 12, 'xyz # 5':\r\nFirst date is out of range.\r\n"));
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
