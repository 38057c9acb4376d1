#include "datetext/date_parse.h"

#include <gtest/gtest.h>

#include "support/qstring_printer.h"

#include "calendar/leap_week.h"

namespace daybridge {
namespace {

constexpr std::int32_t kJdn20121231 = 2456293;
constexpr std::int32_t kJdn20000101 = 2451545;
constexpr int kNoJdn = 0x7fffffff;  // the case does not check the JDN

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct DateCase {
    const char* text;
    const char* separator;
    int calendar;
    int dateFormat;
    int outcome;
    std::int32_t jdn;
};

TEST(ParseDate, ShapeTestAndLibraryReading) {
    const std::int32_t minus500 = JdnOfCivil(-500, 3, 1);
    const DateCase cases[] = {
        {"2012-12-31", "-", kCE, kDateFormatYMD, 1, kJdn20121231},
        {" 2012 - 12 - 31 ", "-", kCE, kDateFormatYMD, 1, kJdn20121231},
        {"-500-03-01", "-", kCE, kDateFormatYMD, 1, minus500},
        {"03-01--500", "-", kCE, kDateFormatMDY, 1, minus500},
        {"01-03--500", "-", kCE, kDateFormatDMY, 1, minus500},
        {"2012-12", "-", kCE, kDateFormatYMD, 0, kNoJdn},
        {"2012-12-31-1-1", "-", kCE, kDateFormatYMD, 0, kNoJdn},
        {"12/31/2012", "/", kCE, kDateFormatMDY, 1, kJdn20121231},
        {"12-31-2012", "/", kCE, kDateFormatMDY, 0, kNoJdn},
        {"12/31", "/", kCE, kDateFormatMDY, 0, kNoJdn},
        {"03/01/-500", "/", kCE, kDateFormatMDY, 1, minus500},
        {"31.12.2012", ".", kCE, kDateFormatDMY, 1, kJdn20121231},
        {"31.12.2012 CE", ".", kCE, kDateFormatDMY, 0, kNoJdn},  // the code: ParseDateInCalendar
        {"2012-02-30", "-", kCE, kDateFormatYMD, 0, kNoJdn},
        {"12345-01-01", "-", kCE, kDateFormatYMD, 1, JdnOfCivil(12345, 1, 1)},
        {"2012-12-19", "-", kJC, kDateFormatYMD, 1, JdnOfCivil(2012, 12, 19, 'J')},
        {"5800001-01-01", "-", kCE, kDateFormatYMD, -1, kNoJdn},
        {"", "-", kCE, kDateFormatYMD, 0, kNoJdn},
        // The JDN calendar reads a day count; the date separator restricts its digit groups.
        {"2,451,545", "-", kJDN, kDateFormatYMD, 1, kJdn20000101},
        {"-5", "-", kJDN, kDateFormatYMD, 1, -5},
        {"5-", "-", kJDN, kDateFormatYMD, 0, kNoJdn},
        {"--5", "-", kJDN, kDateFormatYMD, 0, kNoJdn},
        {"2/451545", "/", kJDN, kDateFormatYMD, 0, kNoJdn},
        {"2.451.545", ".", kJDN, kDateFormatYMD, 1, kJdn20000101},
        {"1.234", ".", kJDN, kDateFormatYMD, 1, 1234},
        {"1.234.567.890", ".", kJDN, kDateFormatYMD, 1, 1234567890},
        {"2.45.1545", ".", kJDN, kDateFormatYMD, 0, kNoJdn},
        {".234", ".", kJDN, kDateFormatYMD, 0, kNoJdn},
        {"1.2.3.4.567", ".", kJDN, kDateFormatYMD, 0, kNoJdn},
        {"2100000000", "-", kJDN, kDateFormatYMD, 1, 2100000000},
        {"2100000001", "-", kJDN, kDateFormatYMD, -1, kNoJdn},
    };
    for (const DateCase& c : cases) {
        DateRecord record{};
        EXPECT_EQ(ParseDate(U(c.text), U(c.separator), c.calendar, c.dateFormat, record), c.outcome)
            << c.text;
        if (c.outcome == 1 && c.jdn != kNoJdn) {
            EXPECT_EQ(record.jdn, c.jdn) << c.text;
        }
    }
}

TEST(ParseDate, AnnusNovusIsReadYearFirstUnlessDayFirst) {
    DateRecord an{};
    an.calendar = 'A';
    an.jdn = kJdn20121231;
    jdcore::jdn_to_annus_novus_date(an);
    const QString ymd = QStringLiteral("%1-%2-%3").arg(an.year).arg(an.month).arg(an.day);
    const QString dmy = QStringLiteral("%1-%2-%3").arg(an.day).arg(an.month).arg(an.year);
    for (const QString& separator :
         {QStringLiteral("/"), QStringLiteral("."), QStringLiteral("-")}) {
        DateRecord record{};
        ASSERT_EQ(ParseDate(ymd, separator, kAN, kDateFormatMDY, record), 1) << ymd.toStdString();
        EXPECT_EQ(record.jdn, kJdn20121231);
        ASSERT_EQ(ParseDate(dmy, separator, kAN, kDateFormatDMY, record), 1) << dmy.toStdString();
        EXPECT_EQ(record.jdn, kJdn20121231);
    }
}

TEST(ParseDayCount, SignDigitsAndGroupingOnly) {
    struct Case {
        const char* text;
        const char* thousands;
        int outcome;
        std::int32_t value;
    };
    const Case cases[] = {
        {"2147483648", ",", -1, 0},
        {"2147483647", ",", -1, 0},
        {"2100000001", ",", -1, 0},
        {"99999999999999999999999", ",", -1, 0},
        {"2100000000", ",", 1, 2100000000},
        {"-2100000000", ",", 1, -2100000000},
        {"-2,100,000,001", ",", -1, 0},
        {"+2100000000", ",", 1, 2100000000},
        {"00000000002100000000", ",", 1, 2100000000},
        {"-0", ",", 1, 0},
        {" 12\t", ",", 1, 12},
        {"\u22125", ",", 1, -5},
        {"1,234", ",", 1, 1234},
        {"-1.234.567", ".", 1, -1234567},
        {"1234", "", 1, 1234},
        {"", ",", 0, 0},
        {"-", ",", 0, 0},
        {"abc", ",", 0, 0},
        {"1.5", ",", 0, 0},
        {"1.5", ".", 0, 0},
        {"10-5", ",", 0, 0},
        {"12-3", ",", 0, 0},
        {"3 weeks", ",", 0, 0},
        {" 1 234 days", ",", 0, 0},
        {"1e3", ",", 0, 0},
        {"12,34", ",", 0, 0},
        {"1,234", ".", 0, 0},
        {"1,234", "", 0, 0},
        {",123", ",", 0, 0},
        {"+-5", ",", 0, 0},
        {"-+5", ",", 0, 0},
        {"- 5", ",", 0, 0},
    };
    for (const Case& c : cases) {
        const ParseResult r = ParseDayCount(U(c.text), U(c.thousands));
        EXPECT_EQ(r.outcome, c.outcome) << c.text << " with '" << c.thousands << "'";
        if (c.outcome == 1) {
            EXPECT_EQ(r.jdn, c.value) << c.text;
        }
    }
}

TEST(ParseJdnText, NumbersWithCommasAndTheGroupingSeparator) {
    struct Case {
        const char* text;
        const char* thousands;
        int outcome;
        std::int32_t jdn;
    };
    const Case cases[] = {
        {"2,451,545", ",", 1, kJdn20000101},
        {" 2451545 ", ",", 1, kJdn20000101},
        {"2100000000", ",", 1, 2100000000},
        {"2100000001", ",", -1, 0},
        {"-2,099,999,999", ",", 1, -2099999999},
        {"21474836470", ",", -1, 0},
        {"000000000012", ",", 1, 12},
        {"-5", ",", 1, -5},
        {"+12", ",", 1, 12},
        {"5-", ",", 0, 0},
        {"", ",", 0, 0},
        {"-", ",", 0, 0},
        {"1 2", ",", 0, 0},
        {"2.451.545", ",", 0, 0},
        {"2.451.545", "", 0, 0},
        {"2.451.545", ".", 1, kJdn20000101},
        {"-2.451.545", ".", 1, -kJdn20000101},
        {"2,451,545", ".", 1, kJdn20000101},
        {"2451.545", ".", 0, 0},
        {"2.45", ".", 0, 0},
        {"2.451.5450", ".", 0, 0},
        {"2..451", ".", 0, 0},
        {"2.100.000.000", ".", 1, 2100000000},
        {"2,45,1545", ",", 0, 0},
    };
    for (const Case& c : cases) {
        const ParseResult r = ParseJdnText(U(c.text), U(c.thousands));
        EXPECT_EQ(r.outcome, c.outcome) << c.text << " with '" << c.thousands << "'";
        if (c.outcome == 1) {
            EXPECT_EQ(r.jdn, c.jdn) << c.text;
        }
    }
}

TEST(ParseOrdinal, HyphenOptionAndLimits) {
    struct Case {
        const char* text;
        bool hyphen;
        int outcome;
        std::int32_t jdn;
    };
    const Case cases[] = {
        {"2012-366", true, 1, kJdn20121231},
        {" 2012 - 366 ", true, 1, kJdn20121231},
        {"2012366", true, 0, 0},
        {"2012366", false, 1, kJdn20121231},
        {"2012-366", false, 0, 0},
        {"2011-366", true, 0, 0},
        {"2000-366", true, 1, JdnOfCivil(2000, 12, 31)},
        {"1900366", false, 0, 0},
        {"0000-001", true, -1, 0},
        {"0001-001", true, 1, kMinOrdinalJDN},
        {"9999-365", true, 1, kMaxOrdinalJDN},
        {"2012-000", true, 0, 0},
        {"2012-367", true, 0, 0},
        {"0000-367", true, 0, 0},
        {"12-0001", true, 0, 0},
        {"-012-001", true, 0, 0},
        {"2012-0601", true, 0, 0},
        {"", true, 0, 0},
    };
    for (const Case& c : cases) {
        DateRecord record{};
        EXPECT_EQ(ParseOrdinal(U(c.text), c.hyphen, record), c.outcome) << c.text;
        if (c.outcome == 1) {
            EXPECT_EQ(record.jdn, c.jdn) << c.text;
            const DateRecord civil = CivilOfJdn(c.jdn);
            EXPECT_EQ(record.year, civil.year);
            EXPECT_EQ(record.month, civil.month);
            EXPECT_EQ(record.day, civil.day);
        }
    }
}

TEST(TextKinds, OrdinalAndIsoWeekShapes) {
    struct Case {
        const char* text;
        int ordinal;
        int iso;
    };
    const Case cases[] = {
        {"2012060", 1, 0},     {"2012-060", -1, 0},  {"2011-366", 0, 0},    {"2012-366", -1, 0},
        {"201206", 0, 0},      {"2012W053", 0, 1},   {"2012-W05-3", 0, -1}, {"2012-W053", 0, -1},
        {"2012W05-3", 0, 0},   {"2012-w05-3", 0, 0}, {"-44-W52-7", 0, -1},  {"-44W527", 0, 1},
        {"2012-W54-1", 0, 0},  {"2012-W00-1", 0, 0}, {"2012-W05-8", 0, 0},  {"2012-W05-0", 0, 0},
        {"2012-W5-3", 0, 0},   {"W053", 0, 0},       {"20-12W053", 0, 0},   {"2012W0-53", 0, 0},
        {"2012-W05-3x", 0, 0}, {"x2012W053", 0, 0},  {"2012--W05-3", 0, 0}, {"2,012W053", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OrdinalTextKind(U(c.text)), c.ordinal) << c.text;
        EXPECT_EQ(IsoWeekTextKind(U(c.text)), c.iso) << c.text;
    }
}

TEST(ParseIsoWeek, FormsAndLimits) {
    const std::int32_t feb1 = JdnOfCivil(2012, 2, 1);  // Wednesday of week 5
    struct Case {
        const char* text;
        int outcome;
        std::int32_t jdn;
    };
    const Case cases[] = {
        {"2012-W05-3", 1, feb1},
        {"2012W053", 1, feb1},
        {"2012-W053", 1, feb1},
        {" 2012 - W05 - 3 ", 1, feb1},
        {"2012W05-3", 0, 0},
        {"2012-w05-3", 0, 0},
        {"2015-W53-1", 1, JdnOfCivil(2015, 12, 28)},
        {"2014-W53-1", 0, 0},
        {"2009-W53-7", 1, JdnOfCivil(2010, 1, 3)},
        {"2009W535", 1, JdnOfCivil(2010, 1, 1)},
        {"2015-W01-1", 1, JdnOfCivil(2014, 12, 29)},
        {"5800000-W01-1", -1, 0},
        {"-5800000-W01-1", -1, 0},
        {"99999999999999999999999-W01-1", -1, 0},
        {"0-W01-1", 1, kNoJdn},
        {"-44-W52-7", 1, kNoJdn},
    };
    for (const Case& c : cases) {
        IsoWeekRecord record;
        EXPECT_EQ(ParseIsoWeek(U(c.text), record), c.outcome) << c.text;
        if (c.outcome == 1) {
            EXPECT_EQ(record.valid, 1);
            if (c.jdn != kNoJdn) {
                EXPECT_EQ(record.jdn, c.jdn) << c.text;
            }
        }
    }
}

TEST(ParseIsoWeek, ADateBeyondTheDayNumberRangeIsOutOfRange) {
    IsoWeekRecord record;
    EXPECT_EQ(ParseIsoWeek(QStringLiteral("5799999-W01-1"), record), -1);
    EXPECT_EQ(ParseIsoWeek(QStringLiteral("5000000-W01-1"), record), 1);
    EXPECT_LE(record.jdn, kMaxDayNumber);
}

TEST(ParseLeapWeek, MonthAndWeekForms) {
    struct Case {
        const char* text;
        bool monthForm;
        int outcome;
        std::int32_t jdn;
    };
    const Case cases[] = {
        {"1-01-1", false, 1, kLeapWeekEpoch},
        {"1-01-01", true, 1, kLeapWeekEpoch},
        {"1-01-07", true, 1, kLeapWeekEpoch + 6},
        {"1-02-1", false, 1, kLeapWeekEpoch + 7},
        {"1-02-01", true, 1, kLeapWeekEpoch + 35},
        {"0-52-7", false, 1, kLeapWeekEpoch - 1},
        {"2012-13-01", true, 0, 0},
        {"2012-01-36", true, 0, 0},
        {"2012-02-29", true, 0, 0},
        {"2012-05-8", false, 0, 0},
        {"2012-05", false, 0, 0},
        {"2012-05-3-1", false, 0, 0},
        {"2012--1", false, 0, 0},
        {"-1-1", false, 0, 0},
        {"--1-1", false, 0, 0},
        {"2012-99999-1", false, 0, 0},
        {"5800001-01-01", true, -1, 0},
        {"-5800001-01-01", true, -1, 0},
        {"99999999999999999999999-01-01", true, -1, 0},
        // A year of 5,800,000 passes the year test but its JDN is beyond the day number range.
        {"5800000-01-01", true, -1, 0},
        {"", true, 0, 0},
    };
    for (const Case& c : cases) {
        LeapWeekRecord record;
        const int outcome = c.monthForm ? ParseLpm(U(c.text), record) : ParseLpw(U(c.text), record);
        EXPECT_EQ(outcome, c.outcome) << c.text;
        if (c.outcome == 1) {
            EXPECT_EQ(record.jdn, c.jdn) << c.text;
        }
    }
}

TEST(ParseLeapWeek, GroupedYearsAndWeeksBeyondTheYear) {
    // Years grouped by the thousands separator or, as written, by the regional format.
    LeapWeekRecord plain;
    ASSERT_EQ(ParseLpw(QStringLiteral("-123456-05-3"), plain), 1);
    TextFormat format;
    format.regional = QLocale(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ParseDateInCalendar(kLPW, QStringLiteral("-123,456-05-3"), format).jdn, plain.jdn);
    EXPECT_EQ(ParseDateInCalendar(kLPW, QStringLiteral("-123.456-05-3"), format).jdn, plain.jdn);
    EXPECT_EQ(ParseDateInCalendar(kLPW, QStringLiteral("-123,456"), format).outcome, 0);

    // Week 53 of a common year is week 1 of the next.
    ASSERT_FALSE(IsLeapWeekYear(2012));
    LeapWeekRecord beyond;
    LeapWeekRecord next;
    ASSERT_EQ(ParseLpw(QStringLiteral("2012-53-1"), beyond), 1);
    ASSERT_EQ(ParseLpw(QStringLiteral("2013-01-1"), next), 1);
    EXPECT_EQ(beyond.jdn, next.jdn);
}

TEST(ParseDateInCalendar, DispatchesWithTheFormatSettings) {
    TextFormat format;
    format.thousandsSeparator = QStringLiteral(".");
    EXPECT_EQ(ParseDateInCalendar(kJDN, QStringLiteral("2.451.545"), format).jdn, kJdn20000101);
    format.thousandsSeparator = QStringLiteral(",");
    EXPECT_EQ(ParseDateInCalendar(kJDN, QStringLiteral("2.451.545"), format).outcome, 0);

    format.hyphen = false;
    EXPECT_EQ(ParseDateInCalendar(kORD, QStringLiteral("2012366"), format).jdn, kJdn20121231);
    EXPECT_EQ(ParseDateInCalendar(kORD, QStringLiteral("2012-366"), format).outcome, 0);

    format.dateFormat = kDateFormatDMY;
    format.dateSeparator = QStringLiteral("/");
    EXPECT_EQ(ParseDateInCalendar(kCE, QStringLiteral("31/12/2012"), format).jdn, kJdn20121231);
    EXPECT_EQ(ParseDateInCalendar(kCE, QStringLiteral("2012-12-31"), format).outcome, 0);

    EXPECT_EQ(ParseDateInCalendar(kISO, QStringLiteral("2012-W05-3"), format).outcome, 1);
    EXPECT_EQ(ParseDateInCalendar(kLPW, QStringLiteral("1-01-1"), format).jdn, kLeapWeekEpoch);
    EXPECT_EQ(ParseDateInCalendar(kLPM, QStringLiteral("1-01-01"), format).jdn, kLeapWeekEpoch);

    const ParseResult bad = ParseDateInCalendar(9, QStringLiteral("2012-12-31"), format);
    EXPECT_EQ(bad.outcome, 0);
    EXPECT_EQ(ParseDateInCalendar(-1, QStringLiteral("1"), format).outcome, 0);
}

// A date text may carry blanks, parentheses around a negative year, grouping inside the year,
// its own calendar's code and, after a comma, a day name; any other character is refused, never
// dropped.
TEST(ParseDateInCalendar, StrayCharactersAreRefusedWhatTheOutputWritesIsRead) {
    const std::int32_t minus500 = JdnOfCivil(-500, 3, 1);
    const std::int32_t feb1 = JdnOfCivil(2012, 2, 1);
    struct Case {
        const char* text;
        int calendar;
        int dateFormat;
        const char* thousands;
        int outcome;
        std::int32_t jdn;
    };
    const int ymd = kDateFormatYMD;
    const int dmy = kDateFormatDMY;
    const Case cases[] = {
        {"2012-1O-31", kCE, ymd, ",", 0, 0},
        {"2O12-12-31", kCE, ymd, ",", 0, 0},
        {"15-03-44 BC", kCE, dmy, ",", 0, 0},
        {"2012-12-31 JC", kCE, ymd, ",", 0, 0},
        {"CE 2012-12-31 CE", kCE, ymd, ",", 0, 0},
        {"2012-12-31 xyz", kCE, ymd, ",", 0, 0},
        {"2012-12-31, Funday", kCE, ymd, ",", 0, 0},
        {"2012-12-31,", kCE, ymd, ",", 0, 0},
        {"20 12-12-31", kCE, ymd, ",", 0, 0},
        {"20,12-12-31", kCE, ymd, ",", 0, 0},
        {"2012-12,31", kCE, ymd, ",", 0, 0},
        {"2012-12-31.", kCE, ymd, ",", 0, 0},
        {"(500)-03-01", kCE, ymd, ",", 0, 0},
        {"01-(-03)-500", kCE, dmy, ",", 0, 0},
        {"2012-12-31)", kCE, ymd, ",", 0, 0},
        {"2012-O5-3", kLPW, ymd, ",", 0, 0},
        {"2012-01-O1 LPM", kLPM, ymd, ",", 0, 0},
        {"2012-01-01 LPW", kLPM, ymd, ",", 0, 0},
        {"2012-060 ISO", kORD, ymd, ",", 0, 0},
        {"2012-W05-3 ORD", kISO, ymd, ",", 0, 0},
        {"2012-W05-3x", kISO, ymd, ",", 0, 0},
        {"1e3", kJDN, ymd, ",", 0, 0},
        {"2,451,545 CE", kJDN, ymd, ",", 0, 0},
        {"2,45,1545", kJDN, ymd, ",", 0, 0},
        {"2 451 545", kJDN, ymd, ",", 0, 0},
        {"2012-12-31", kCE, ymd, ",", 1, kJdn20121231},
        {" 2012 - 12 - 31 ", kCE, ymd, ",", 1, kJdn20121231},
        {"2012-12-31 CE", kCE, ymd, ",", 1, kJdn20121231},
        {"ce 2012-12-31", kCE, ymd, ",", 1, kJdn20121231},
        {"2012-12-31 CE, Monday", kCE, ymd, ",", 1, kJdn20121231},
        {"2012-12-31 CE, Montag", kCE, ymd, ",", 1, kJdn20121231},
        {"2012-12-31, monday", kCE, ymd, ",", 1, kJdn20121231},
        {"2012-12-18 JC", kJC, ymd, ",", 1, kJdn20121231},
        {"31-12-12,345 CE, Sunday", kCE, dmy, ",", 1, JdnOfCivil(12345, 12, 31)},
        {"12.345-12-31", kCE, ymd, ".", 1, JdnOfCivil(12345, 12, 31)},
        {"01-03-(-500) CE", kCE, dmy, ",", 1, minus500},
        {"01-03-( -500 )", kCE, dmy, ",", 1, minus500},
        {"\u2212500-03-01", kCE, ymd, ",", 1, minus500},
        {"2012-W05-3 ISO, Wednesday", kISO, ymd, ",", 1, feb1},
        {"2012-w05-3", kISO, ymd, ",", 1, feb1},
        {"iso 2012W053", kISO, ymd, ",", 1, feb1},
        {"2012-366 ORD, Monday", kORD, ymd, ",", 1, kJdn20121231},
        {"1-01-07 LPM", kLPM, ymd, ",", 1, kLeapWeekEpoch + 6},
        {"-123.456-05-3 LPW", kLPW, ymd, ".", 1, kNoJdn},
        {"2,456,293 JDN, Monday", kJDN, ymd, ",", 1, kJdn20121231},
        {"\u22125 JDN", kJDN, ymd, ",", 1, -5},
        {"2,100,000,000 JDN", kJDN, ymd, ",", 1, 2100000000},
        {"-2.100.000.000", kJDN, ymd, ".", 1, -2100000000},
        {"2,100,000,001", kJDN, ymd, ",", -1, 0},
        // The world's calendars (JDNs from python3-convertdate): year-month-day with "-"
        // whatever the date order, the Long Count with ".", the MJD grouped like the JDN.
        {"5787-09-27 HEB", kHEB, dmy, ",", 1, 2461382},
        {"heb 5787-9-27, Monday", kHEB, ymd, ",", 1, 2461382},
        {"5787-13-01", kHEB, ymd, ",", 1, 2461475},
        {"5786-13-01", kHEB, ymd, ",", 0, 0},  // a common year has no Adar II
        {"5787-09-27 ISL", kHEB, ymd, ",", 0, 0},
        {"5787-O9-27", kHEB, ymd, ",", 0, 0},
        {"27-09-5787", kHEB, dmy, ",", 0, 0},
        {"6000001-01-01", kHEB, ymd, ",", -1, 0},
        {"-6,000,001-01-01", kCOP, ymd, ",", -1, 0},
        {"5999999-01-01", kISL, ymd, ",", -1, 0},  // beyond the day number range
        {"1420-09-24 ISL", kISL, ymd, ",", 1, kJdn20000101},
        {"1378-10-11", kPER, ymd, ",", 1, kJdn20000101},
        {"1716-04-22 COP", kCOP, ymd, ",", 1, kJdn20000101},
        {"1716-13-06", kCOP, ymd, ",", 0, 0},  // 1715 is the Coptic leap year
        {"1992-04-22 ETH", kETH, ymd, ",", 1, kJdn20000101},
        {"232-04-12 FRR", kFRR, ymd, ",", 1, 2460311},
        {"1921-10-11 IND", kIND, ymd, ",", 1, kJdn20000101},
        {"13.0.14.2.19 MAY, Monday", kMAY, ymd, ",", 1, 2461382},
        {"12 . 19 . 6 . 15 . 2", kMAY, ymd, ",", 1, kJdn20000101},
        {"13.0.20.0.0", kMAY, ymd, ",", 0, 0},
        {"13.0.14.2", kMAY, ymd, ",", 0, 0},
        {"1 3.0.14.2.19", kMAY, ymd, ",", 0, 0},
        {"13-0-14-2-19", kMAY, ymd, ",", 0, 0},
        {"20000.0.0.0.0", kMAY, ymd, ",", -1, 0},
        {"99999999999999999999999.0.0.0.0", kMAY, ymd, ",", -1, 0},
        {"51,544 MJD, Saturday", kMJD, ymd, ",", 1, kJdn20000101},
        {"51.544", kMJD, ymd, ".", 1, kJdn20000101},
        {"-2,102,400,001", kMJD, ymd, ",", 1, -2100000000},
        {"-2,102,400,002", kMJD, ymd, ",", -1, 0},
        {"51544 JDN", kMJD, ymd, ",", 0, 0},
    };
    for (const Case& c : cases) {
        TextFormat format;
        format.dateFormat = c.dateFormat;
        format.thousandsSeparator = U(c.thousands);
        const ParseResult r = ParseDateInCalendar(c.calendar, U(c.text), format);
        EXPECT_EQ(r.outcome, c.outcome) << c.text;
        if (c.outcome == 1 && c.jdn != kNoJdn) {
            EXPECT_EQ(r.jdn, c.jdn) << c.text;
        }
    }
}

TEST(RewriteHyphenation, FollowsTheShapeOfTheText) {
    struct Case {
        const char* text;
        bool hyphen;
        const char* expected;
    };
    const Case cases[] = {
        {"2012060", true, "2012-060"},
        {" 2012100 ", true, "2012-100"},
        {"2012-060", false, "2012060"},
        {"2012-060", true, "2012-060"},
        {"2011-366", false, "2011-366"},
        {"2012W053", true, "2012-W05-3"},
        {"2012-W05-3", false, "2012W053"},
        {"2012-W053", false, "2012W053"},
        {"-44-W52-7", false, "-44W527"},
        {"-44W527", true, "-44-W52-7"},
        {"2012W05-3", true, "2012W05-3"},
        {"2012-12-31", false, "2012-12-31"},
        {"", true, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RewriteHyphenation(U(c.text), c.hyphen), U(c.expected)) << c.text;
    }
}

}  // namespace
}  // namespace daybridge
