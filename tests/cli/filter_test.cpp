// The filter mode's line work: steps, fields, round trips through every calendar, dates in
// running text, and additions checked against counts made day by day and against QDate.
#include <gtest/gtest.h>

#include <QDate>
#include <random>
#include <string>

#include "calendar/calendar_registry.h"
#include "cli/filter.h"
#include "datetext/date_format.h"

namespace daybridge::cli {
namespace {

TextFormat PlainFormat() {
    TextFormat format;
    format.regional = QLocale::c();
    return format;
}

struct Outcome {
    LineFault fault;
    std::string text;
};

Outcome Filtered(const FilterSettings& settings, std::string_view line,
                 const TextFormat& format = PlainFormat(),
                 const WorkdayCalendar& workdays = WorkdayCalendar()) {
    LineFilter filter(settings, format, workdays);
    std::string out;
    QString faultText;
    const LineFault fault = filter.Apply(line, out, faultText);
    return {fault, out};
}

TEST(FilterStep, ReadsUnitsAndRefusesTheRest) {
    struct Case {
        const char* text;
        bool valid;
        bool negative;
        std::int64_t years, months, weeks, days, workdays;
    };
    const Case cases[] = {
        {"3m", true, false, 0, 3, 0, 0, 0},         {"-10d", true, true, 0, 0, 0, 10, 0},
        {"+2y", true, false, 2, 0, 0, 0, 0},        {"1y6m2w3d", true, false, 1, 6, 2, 3, 0},
        {"10wd", true, false, 0, 0, 0, 0, 10},      {"-5WD", true, true, 0, 0, 0, 0, -5},
        {"7", true, false, 0, 0, 0, 7, 0},          {"", false, false, 0, 0, 0, 0, 0},
        {"m", false, false, 0, 0, 0, 0, 0},         {"3q", false, false, 0, 0, 0, 0, 0},
        {"1m1m", false, false, 0, 0, 0, 0, 0},      {"1y2wd", false, false, 0, 0, 0, 0, 0},
        {"1.5d", false, false, 0, 0, 0, 0, 0},      {"3 m", false, false, 0, 0, 0, 0, 0},
        {"12000001y", false, false, 0, 0, 0, 0, 0}, {"99999999999d", false, false, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const std::optional<FilterStep> step = ParseFilterStep(QString::fromUtf8(c.text));
        ASSERT_EQ(step.has_value(), c.valid) << c.text;
        if (!step) {
            continue;
        }
        EXPECT_EQ(step->workdays ? step->workdayCount : 0, c.workdays) << c.text;
        if (!step->workdays) {
            EXPECT_EQ(step->units.negative, c.negative) << c.text;
            EXPECT_EQ(step->units.years, c.years) << c.text;
            EXPECT_EQ(step->units.months, c.months) << c.text;
            EXPECT_EQ(step->units.weeks, c.weeks) << c.text;
            EXPECT_EQ(step->units.days, c.days) << c.text;
        }
    }
}

TEST(FilterFields, FindsFieldsAndKeepsTheRestOfTheLine) {
    struct Case {
        const char* line;
        int field;
        char delimiter;
        const char* expected;  // the line written, or nullptr for a fault
    };
    const Case cases[] = {
        {"a,2026-12-08,b", 2, ',', "a,2026-11-25,b"},
        {"2026-12-08", 1, ',', "2026-11-25"},
        {"x;\"2026-12-08\";\"q;\"\"r\"", 2, ';', "x;\"2026-11-25\";\"q;\"\"r\""},
        {"\"a,b\",2026-12-08", 2, ',', "\"a,b\",2026-11-25"},
        {"a\t2026-12-08\t", 2, '\t', "a\t2026-11-25\t"},
        {"a,,b", 2, ',', "a,,b"},  // an empty field stays empty
        {"a,b", 3, ',', nullptr},
        {"a,2026-13-08", 2, ',', nullptr},
    };
    const std::pair<const char*, LineFault> faults[] = {
        {"2026-13-08", LineFault::InvalidDate},
        {"n/a", LineFault::InvalidDate},
        {"XYZ 2026-12-08", LineFault::UnknownCalendar},
        {"2026-12-08 BC", LineFault::UnknownCalendar},
        {"-9999999-01-01", LineFault::DateOutOfRange},
    };
    FilterSettings settings;
    settings.to = CalendarId::JC;
    for (const Case& c : cases) {
        settings.field = c.field;
        settings.delimiter = c.delimiter;
        const Outcome got = Filtered(settings, c.line);
        if (c.expected == nullptr) {
            EXPECT_NE(got.fault, LineFault::None) << c.line;
            EXPECT_EQ(got.text, "") << c.line;
        } else {
            EXPECT_EQ(got.fault, LineFault::None) << c.line;
            EXPECT_EQ(got.text, c.expected) << c.line;
        }
    }
    settings.field = 0;
    for (const auto& [line, fault] : faults) {
        EXPECT_EQ(Filtered(settings, line).fault, fault) << line;
    }
}

// Any day converted to each calendar and back gives the text it started from.
TEST(FilterConvert, RoundTripsThroughEveryCalendar) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<std::int32_t> days(1'000'000, 3'500'000);
    for (const CalendarEntry* calendar : AllCalendars()) {
        FilterSettings there;
        there.to = calendar->id;
        FilterSettings back;
        back.from = calendar->id;
        back.to = CalendarId::CE;
        int converted = 0;
        for (int i = 0; i < 200; ++i) {
            const std::int32_t jdn = days(random);
            if (!InSpan(*calendar, jdn)) {
                continue;
            }
            const std::string ce =
                CanonicalDateText(CalendarId::CE, jdn, PlainFormat()).toStdString();
            const Outcome out = Filtered(there, ce);
            ASSERT_EQ(out.fault, LineFault::None) << calendar->code << " " << ce;
            const Outcome in = Filtered(back, out.text);
            ASSERT_EQ(in.fault, LineFault::None) << calendar->code << " " << out.text;
            EXPECT_EQ(in.text, ce) << calendar->code << " via " << out.text;
            ++converted;
        }
        EXPECT_GT(converted, 0) << calendar->code;
    }
}

TEST(FilterInText, ConvertsDatesAndNothingElse) {
    TextFormat format = PlainFormat();
    format.dateFormat = kDateFormatDMY;
    format.dateSeparator = QStringLiteral(".");
    FilterSettings settings;
    settings.mode = FilterMode::InText;
    settings.to = CalendarId::JC;
    struct Case {
        const char* line;
        const char* expected;
    };
    const Case cases[] = {
        {"due 2026-12-08, paid 8.12.2026.", "due 25.11.2026, paid 25.11.2026."},
        {"(2026-12-08)\r", "(25.11.2026)\r"},
        {"\xc2\xab"
         "2026-12-08\xc2\xbb",
         "\xc2\xab"
         "25.11.2026\xc2\xbb"},
        {"v2026-12-08 2026-12-08x 12026-12-08 2026-12-081", nullptr},
        {"2026-12-08-01 1.2026-12-08 2026-02-30 31.04.2026 2026/12/08", nullptr},
        {"\xc3\xa9"
         "2026-12-08 \xff bytes",
         nullptr},  // a letter glued before; a stray byte
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const Outcome got = Filtered(settings, c.line, format);
        EXPECT_EQ(got.fault, LineFault::None) << c.line;
        EXPECT_EQ(got.text, c.expected != nullptr ? c.expected : c.line) << c.line;
    }
}

// n working days after a date, found by walking day by day over Monday to Friday.
std::int64_t WalkWorkdays(std::int64_t jdn, std::int64_t n) {
    const int direction = n < 0 ? -1 : 1;
    for (std::int64_t counted = 0; counted != n;) {
        jdn += direction;
        if (((jdn % 7) + 7) % 7 < 5) {
            counted += direction;
        }
    }
    return jdn;
}

TEST(FilterAdd, WorkdaysAndMonthsAgreeWithIndependentCounts) {
    std::mt19937_64 random(8122026);
    std::uniform_int_distribution<std::int32_t> days(2'300'000, 2'500'000);
    std::uniform_int_distribution<int> steps(-40, 40);
    FilterSettings settings;
    settings.mode = FilterMode::Add;
    LineFilter filter(settings, PlainFormat(), WorkdayCalendar());
    for (int i = 0; i < 2000; ++i) {
        const std::int32_t jdn = days(random);
        const int n = steps(random);
        const QDate date = QDate::fromJulianDay(jdn);
        FilterStep workdays;
        workdays.workdays = true;
        workdays.workdayCount = n;
        if (n != 0 && ((jdn % 7) + 7) % 7 < 5) {  // from a working day the walk is plain
            EXPECT_EQ(filter.Moved(CalendarId::CE, jdn, workdays), WalkWorkdays(jdn, n))
                << date.toString(Qt::ISODate).toStdString() << " " << n << "wd";
        }
        const std::optional<FilterStep> months =
            ParseFilterStep(QString::number(n) + QStringLiteral("m"));
        ASSERT_TRUE(months.has_value());
        EXPECT_EQ(filter.Moved(CalendarId::CE, jdn, *months), date.addMonths(n).toJulianDay())
            << date.toString(Qt::ISODate).toStdString() << " " << n << "m";
    }
}

}  // namespace
}  // namespace daybridge::cli
