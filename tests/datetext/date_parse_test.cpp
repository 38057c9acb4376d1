// Reading date texts and day counts: the shapes, characters, grouping and limits that a written
// date does not show. That every canonical text, with its calendar's code and a day name, reads
// back as its day is round_trip_test; the library's own date reader is tests/jdcore.
#include "datetext/date_parse.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "support/qstring_printer.h"

#include "calendar/leap_week.h"
#include "jdcore/day_count.h"

namespace daybridge {
namespace {

constexpr std::int32_t kJdn20121231 = 2456293;
constexpr std::int32_t kJdn20000101 = 2451545;
constexpr std::int32_t kAny = 0x7fffffff;  // the case does not check the JDN
constexpr int kDays = -2;                  // ParseDayCount, the reader of the difference field
constexpr int V = kParseValid;
constexpr int I = kParseInvalid;
constexpr int R = kParseOutOfRange;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct Case {
    const char* text;
    int calendar;
    int outcome;
    std::int32_t jdn = kAny;
};

// Reads each case under one text format: date order, date separator, thousands separator and
// the hyphen option.
void Expect(int dateFormat, const char* separator, const char* thousands, bool hyphen,
            std::initializer_list<Case> cases) {
    TextFormat format;
    format.dateFormat = dateFormat;
    format.dateSeparator = U(separator);
    format.thousandsSeparator = U(thousands);
    format.hyphen = hyphen;
    for (const Case& c : cases) {
        const ParseResult r = c.calendar == kDays
                                  ? ParseDayCount(U(c.text), format.thousandsSeparator)
                                  : ParseDateInCalendar(c.calendar, U(c.text), format);
        EXPECT_EQ(r.outcome, c.outcome) << c.text << " in calendar " << c.calendar << ", '"
                                        << separator << "' '" << thousands << "' " << hyphen;
        if (c.outcome == V && c.jdn != kAny) {
            EXPECT_EQ(r.jdn, c.jdn) << c.text << " in calendar " << c.calendar;
        }
    }
}

// A date text may carry blanks, parentheses around a negative year, grouping inside the year,
// its own calendar's code before or after it and, after a comma, a day name; any other
// character is refused, never dropped.
TEST(ParseDateInCalendar, CivilDates) {
    const std::int32_t minus500 = JdnOfCivil(-500, 3, 1);
    Expect(kDateFormatYMD, "-", ",", true,
           {{" 2012 - 12 - 31 ", kCE, V, kJdn20121231},
            {"ce 2012-12-31", kCE, V, kJdn20121231},
            {"2012-12-31, monday", kCE, V, kJdn20121231},
            {"\u2212500-03-01", kCE, V, minus500},
            {"", kCE, I},
            {"2012-12", kCE, I},
            {"2012-12-31-1-1", kCE, I},
            {"5800001-01-01", kCE, R},
            {"2012-1O-31", kCE, I},
            {"2O12-12-31", kCE, I},
            {"2012-12-31 JC", kCE, I},
            {"CE 2012-12-31 CE", kCE, I},
            {"2012-12-31 xyz", kCE, I},
            {"2012-12-31, Funday", kCE, I},
            {"2012-12-31,", kCE, I},
            {"20 12-12-31", kCE, I},
            {"20,12-12-31", kCE, I},
            {"2012-12,31", kCE, I},
            {"2012-12-31.", kCE, I},
            {"(500)-03-01", kCE, I},
            {"2012-12-31)", kCE, I},
            {"1", -1, I},
            {"2012-12-31", kAllCalendarCount, I}});
    Expect(kDateFormatDMY, "-", ",", true,
           {{"01-03--500", kCE, V, minus500},
            {"01-03-( -500 )", kCE, V, minus500},
            {"01-(-03)-500", kCE, I},
            {"15-03-44 BC", kCE, I}});
    Expect(kDateFormatMDY, "-", ",", true, {{"03-01--500", kCE, V, minus500}});
    Expect(kDateFormatMDY, "/", ",", true,
           {{"03/01/-500", kCE, V, minus500}, {"12-31-2012", kCE, I}});
    Expect(kDateFormatDMY, "/", ",", true, {{"2012-12-31", kCE, I}});
}

TEST(ParseDateInCalendar, OrdinalIsoAndLeapWeekDates) {
    const std::int32_t feb1 = JdnOfCivil(2012, 2, 1);  // Wednesday of ISO week 5
    // Week 53 of a common leap week year is week 1 of the next.
    const auto week53 = static_cast<std::int32_t>(jdcore::jdn_from_leap_week(2013, 1, 1));
    ASSERT_FALSE(IsLeapWeekYear(2012));
    Expect(kDateFormatYMD, "-", ",", true,
           {{" 2012 - 366 ", kORD, V, kJdn20121231},
            {"2012366", kORD, I},
            {"2011-366", kORD, I},
            {"0000-001", kORD, R},
            {"2012-000", kORD, I},
            {"2012-367", kORD, I},
            {"0000-367", kORD, I},
            {"12-0001", kORD, I},
            {"-012-001", kORD, I},
            {"2012-0601", kORD, I},
            {"", kORD, I},
            {"2012-060 ISO", kORD, I},
            {"2012-W053", kISO, V, feb1},
            {" 2012 - W05 - 3 ", kISO, V, feb1},
            {"2012-w05-3", kISO, V, feb1},
            {"iso 2012W053", kISO, V, feb1},
            {"2012W05-3", kISO, I},
            {"2014-W53-1", kISO, I},
            {"2012-W05-3 ORD", kISO, I},
            {"2012-W05-3x", kISO, I},
            {"5799999-W01-1", kISO, R},
            {"5800000-W01-1", kISO, R},
            {"-5800000-W01-1", kISO, R},
            {"99999999999999999999999-W01-1", kISO, R},
            {"2012-53-1", kLPW, V, week53},
            {"2012-O5-3", kLPW, I},
            {"2012-05-8", kLPW, I},
            {"2012-05", kLPW, I},
            {"2012-05-3-1", kLPW, I},
            {"2012--1", kLPW, I},
            {"-1-1", kLPW, I},
            {"--1-1", kLPW, I},
            {"2012-99999-1", kLPW, I},
            {"2012-01-O1 LPM", kLPM, I},
            {"2012-01-01 LPW", kLPM, I},
            {"2012-13-01", kLPM, I},
            {"2012-01-36", kLPM, I},
            {"2012-02-29", kLPM, I},
            {"", kLPM, I},
            {"5800001-01-01", kLPM, R},
            {"-5800001-01-01", kLPM, R},
            {"99999999999999999999999-01-01", kLPM, R},
            {"5800000-01-01", kLPM, R}});  // a year the reader passes, a JDN beyond the range
    Expect(kDateFormatYMD, "-", ",", false, {{"2012-366", kORD, I}, {"1900366", kORD, I}});
}

// Large leap week years grouped by the thousands separator or, as written, by the regional format.
TEST(ParseDateInCalendar, GroupedLeapWeekYears) {
    LeapWeekRecord plain;
    ASSERT_EQ(ParseLpw(QStringLiteral("-123456-05-3"), plain), 1);
    TextFormat format;
    format.regional = QLocale(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ParseDateInCalendar(kLPW, QStringLiteral("-123,456-05-3"), format).jdn, plain.jdn);
    EXPECT_EQ(ParseDateInCalendar(kLPW, QStringLiteral("-123.456-05-3"), format).jdn, plain.jdn);
    EXPECT_EQ(ParseDateInCalendar(kLPW, QStringLiteral("-123,456"), format).outcome, 0);
}

// Day numbers and the world's calendars (JDNs from python3-convertdate): year-month-day with "-"
// whatever the date order, the Long Count with ".", the MJD grouped like the JDN.
TEST(ParseDateInCalendar, DayNumbersAndWorldCalendars) {
    Expect(kDateFormatYMD, "-", ",", true,
           {{" 2451545 ", kJDN, V, kJdn20000101},
            {"-2,099,999,999", kJDN, V, -2099999999},
            {"000000000012", kJDN, V, 12},
            {"+12", kJDN, V, 12},
            {"\u22125 JDN", kJDN, V, -5},
            {"2100000001", kJDN, R},
            {"21474836470", kJDN, R},
            {"2,100,000,001", kJDN, R},
            {"5-", kJDN, I},
            {"", kJDN, I},
            {"-", kJDN, I},
            {"2.451.545", kJDN, I},
            {"2,45,1545", kJDN, I},
            {"2 451 545", kJDN, I},
            {"1e3", kJDN, I},
            {"2,451,545 CE", kJDN, I},
            {"-2,102,400,002", kMJD, R},
            {"51544 JDN", kMJD, I},
            {"12 . 19 . 6 . 15 . 2", kMAY, V, kJdn20000101},
            {"13.0.20.0.0", kMAY, I},
            {"13.0.14.2", kMAY, I},
            {"1 3.0.14.2.19", kMAY, I},
            {"13-0-14-2-19", kMAY, I},
            {"20000.0.0.0.0", kMAY, R},
            {"99999999999999999999999.0.0.0.0", kMAY, R},
            {"heb 5787-9-27, Monday", kHEB, V, 2461382},
            {"5786-13-01", kHEB, I},  // no Adar II
            {"5787-09-27 ISL", kHEB, I},
            {"5787-O9-27", kHEB, I},
            {"6000001-01-01", kHEB, R},
            {"-6,000,001-01-01", kCOP, R},
            {"1716-13-06", kCOP, I},       // 1715 is the leap year
            {"5999999-01-01", kISL, R}});  // beyond the day number range
    Expect(kDateFormatDMY, "-", ",", true,
           {{"5787-09-27 HEB", kHEB, V, 2461382}, {"27-09-5787", kHEB, I}});
    Expect(kDateFormatYMD, "-", ".", true,
           {{"2.451.545", kJDN, V, kJdn20000101},
            {"-2.451.545", kJDN, V, -kJdn20000101},
            {"2,451,545", kJDN, V, kJdn20000101},
            {"2.100.000.000", kJDN, V, 2100000000},
            {"2451.545", kJDN, I},
            {"2.45", kJDN, I},
            {"2.451.5450", kJDN, I},
            {"2..451", kJDN, I}});
    Expect(kDateFormatYMD, "-", "", true, {{"2.451.545", kJDN, I}});
}

// The difference field's day count: a sign, digits and the thousands separator only.
TEST(ParseDayCount, SignDigitsAndGroupingOnly) {
    Expect(kDateFormatYMD, "-", ",", true,
           {{"-2100000000", kDays, V, -2100000000},
            {"+2100000000", kDays, V, 2100000000},
            {"00000000002100000000", kDays, V, 2100000000},
            {"-0", kDays, V, 0},
            {" 12\t", kDays, V, 12},
            {"\u22125", kDays, V, -5},
            {"1,234", kDays, V, 1234},
            {"2147483648", kDays, R},
            {"2100000001", kDays, R},
            {"-2,100,000,001", kDays, R},
            {"99999999999999999999999", kDays, R},
            {"", kDays, I},
            {"-", kDays, I},
            {"abc", kDays, I},
            {"1.5", kDays, I},
            {"10-5", kDays, I},
            {"3 weeks", kDays, I},
            {" 1 234 days", kDays, I},
            {"1e3", kDays, I},
            {"12,34", kDays, I},
            {",123", kDays, I},
            {"+-5", kDays, I},
            {"-+5", kDays, I},
            {"- 5", kDays, I}});
    Expect(kDateFormatYMD, "-", ".", true,
           {{"-1.234.567", kDays, V, -1234567}, {"1.5", kDays, I}, {"1,234", kDays, I}});
    Expect(kDateFormatYMD, "-", "", true, {{"1234", kDays, V, 1234}, {"1,234", kDays, I}});
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
