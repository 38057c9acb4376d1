#include "datetext/date_format.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/qstring_printer.h"

#include "calendar/leap_week.h"
#include "datetext/date_parse.h"
#include "datetext/string_utils.h"

namespace daybridge {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

DateRecord Record(std::int32_t year, std::int32_t month, std::int32_t day, char calendar) {
    DateRecord record{};
    record.year = year;
    record.month = month;
    record.day = day;
    record.calendar = calendar;
    return record;
}

TEST(FormatDate, OrdersSeparatorsAndYears) {
    struct Case {
        DateRecord record;
        int dateFormat;
        const char* separator;
        const char* thousands;
        const char* expected;
    };
    const Case cases[] = {
        {Record(2012, 12, 31, 'G'), kDateFormatDMY, ".", ",", "31.12.2012"},
        {Record(2012, 12, 31, 'G'), kDateFormatMDY, "/", ",", "12/31/2012"},
        {Record(2012, 1, 5, 'G'), kDateFormatYMD, "-", ",", "2012-01-05"},
        {Record(12345, 1, 1, 'G'), kDateFormatYMD, "-", ",", "12,345-01-01"},
        {Record(12345, 1, 1, 'G'), kDateFormatYMD, "-", "", "12345-01-01"},
        {Record(-10000, 1, 1, 'G'), kDateFormatYMD, "/", ".", "-10.000/01/01"},
        {Record(-500, 3, 1, 'J'), kDateFormatMDY, "/", ",", "03/01/(-500)"},
        {Record(-500, 3, 1, 'J'), kDateFormatDMY, "-", ",", "01-03-(-500)"},
        {Record(-500, 3, 1, 'J'), kDateFormatYMD, "-", ",", "-500-03-01"},
        {Record(-12345, 3, 1, 'G'), kDateFormatDMY, "/", ",", "01/03/(-12,345)"},
        {Record(0, 3, 1, 'G'), kDateFormatDMY, "-", ",", "01-03-0"},
        // A group separator equal to the date separator would add fields: no grouping.
        {Record(12345, 1, 1, 'G'), kDateFormatYMD, ".", ".", "12345.01.01"},
        // Annus Novus: year first under MDY, always "-", never grouped.
        {Record(12345, 2, 3, 'A'), kDateFormatMDY, "/", ",", "12345-02-03"},
        {Record(12, 2, 3, 'A'), kDateFormatDMY, ".", ",", "03-02-12"},
        {Record(-12, 2, 3, 'A'), kDateFormatDMY, ".", ",", "03-02-(-12)"},
        // The library's leap week form is read like Annus Novus, and written so.
        {Record(2012, 2, 3, 'V'), kDateFormatMDY, "/", ",", "2012-02-03"},
        {Record(12345, 2, 3, 'V'), kDateFormatYMD, ".", ".", "12.345-02-03"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatDate(c.record, c.dateFormat, U(c.separator), U(c.thousands)), U(c.expected))
            << c.expected;
    }
}

TEST(FormatOrdinalAndIsoWeek, PaddingAndHyphens) {
    EXPECT_EQ(FormatOrdinal(33, 5, true), QStringLiteral("0033-005"));
    EXPECT_EQ(FormatOrdinal(2012, 60, false), QStringLiteral("2012060"));
    EXPECT_EQ(FormatOrdinal(9999, 365, true), QStringLiteral("9999-365"));

    struct Case {
        IsoWeekRecord record;
        bool hyphen;
        const char* expected;
    };
    // Written alone, and appended after what is already there.
    constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();
    const Case cases[] = {
        {{2009, 53, 7, 0, 1}, false, "2009W537"},
        {{2012, 5, 3, 0, 1}, true, "2012-W05-3"},
        {{-44, 52, 7, 0, 1}, true, "-44-W52-7"},
        {{0, 1, 1, 0, 1}, false, "0W011"},
        {{7, 10, 1, 0, 1}, true, "7-W10-1"},
        {{123456, 10, 1, 0, 1}, true, "123456-W10-1"},
        {{kLowest, 1, 1, 0, 1}, false, "-2147483648W011"},
        {{kHighest, 99, 10, 0, 1}, true, "2147483647-W99-10"},
        {{5, -3, -2, 0, 1}, false, "5W-03-2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatIsoWeek(c.record, c.hyphen), U(c.expected));
        QString text = QStringLiteral("x ");
        AppendIsoWeek(text, c.record, c.hyphen);
        EXPECT_EQ(text, QStringLiteral("x ") + U(c.expected));
    }
}

LeapWeekRecord LeapWeek(std::int32_t year, int month, int day, int week, int weekday) {
    LeapWeekRecord record;
    record.year = year;
    record.month = static_cast<std::int16_t>(month);
    record.dayOfMonth = static_cast<std::int16_t>(day);
    record.week = static_cast<std::int16_t>(week);
    record.weekday = static_cast<std::int16_t>(weekday);
    return record;
}

TEST(FormatLeapWeek, RegionalGroupingOfLargeYears) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale c = QLocale::c();
    const LeapWeekRecord y2012 = LeapWeek(2012, 2, 26, 9, 5);
    EXPECT_EQ(FormatLpw(y2012, false, english), QStringLiteral("2012-09-5"));
    EXPECT_EQ(FormatLpw(y2012, true, german), QStringLiteral("2012-09-5 LPW"));
    EXPECT_EQ(FormatLpm(y2012, true, english), QStringLiteral("2012-02-26 LPM"));
    EXPECT_EQ(FormatLpm(y2012, false, english), QStringLiteral("2012-02-26"));

    const LeapWeekRecord big = LeapWeek(123456, 1, 1, 1, 1);
    EXPECT_EQ(FormatLpw(big, false, english), QStringLiteral("123,456-01-1"));
    EXPECT_EQ(FormatLpw(big, false, german), QStringLiteral("123.456-01-1"));
    EXPECT_EQ(FormatLpw(big, false, c), QStringLiteral("123456-01-1"));
    EXPECT_EQ(FormatLpm(LeapWeek(-123456, 12, 35, 53, 7), true, english),
              QStringLiteral("-123,456-12-35 LPM"));
    EXPECT_EQ(FormatLpw(LeapWeek(-9999, 1, 1, 1, 1), false, english), QStringLiteral("-9999-01-1"));
}

TEST(FormatRegional, StaysReadableInEveryLocale) {
    // Locales with other digits or another minus sign fall back to ASCII digits and "-".
    const QLocale locales[] = {
        QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Swedish, QLocale::Sweden),
        QLocale(QLocale::French, QLocale::France), QLocale(QLocale::Persian, QLocale::Iran)};
    for (const QLocale& locale : locales) {
        const QString text = FormatRegional(-1234567, locale);
        QString kept = text;
        KeepOnlyChars(kept, QString());
        EXPECT_EQ(kept, QStringLiteral("-1234567"))
            << locale.name().toStdString() << " " << text.toStdString();
    }
    EXPECT_EQ(FormatRegional(1234567, QLocale::c()), QStringLiteral("1234567"));
}

// The grouping itself: separate_thousands in tests/jdcore.
TEST(FormatDayNumber, GroupsWithTheThousandsSeparator) {
    struct Case {
        std::int64_t n;
        const char* thousands;
        const char* expected;
    };
    const Case cases[] = {
        {2456293, ",", "2,456,293"},
        {2456293, ".", "2.456.293"},
        {2456293, "", "2456293"},
        {-1234567, ",", "-1,234,567"},
        {-2100000000, ".", "-2.100.000.000"},
        {1234567, "’", "1’234’567"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatDayNumber(c.n, U(c.thousands)), U(c.expected)) << c.expected;
    }
    EXPECT_EQ(SeparateThousands(QStringLiteral("12ab"), QStringLiteral(",")),
              QStringLiteral("12ab"));
}

TEST(CanonicalDateText, EachCalendarsForm) {
    TextFormat format;
    format.regional = QLocale(QLocale::English, QLocale::UnitedStates);
    const std::int32_t jan1st2010 = 2455198;  // a Friday, in ISO week 53 of 2009
    struct Case {
        CalendarId calendar;
        std::int32_t jdn;
        const char* expected;
    };
    const Case cases[] = {
        {CalendarId::CE, 2451545, "2000-01-01"},
        {CalendarId::JC, 2451545, "1999-12-19"},
        {CalendarId::JDN, 2451545, "2,451,545"},
        {CalendarId::JDN, -2100000000, "-2,100,000,000"},
        {CalendarId::ORD, jan1st2010, "2010-001"},
        {CalendarId::ORD, kMinOrdinalJDN, "0001-001"},
        {CalendarId::ORD, kMaxOrdinalJDN, "9999-365"},
        {CalendarId::ORD, kMinOrdinalJDN - 1, ""},
        {CalendarId::ORD, kMaxOrdinalJDN + 1, ""},
        {CalendarId::ISO, jan1st2010, "2009-W53-5"},
        {CalendarId::LPW, kLeapWeekEpoch, "1-01-1"},
        {CalendarId::LPM, kLeapWeekEpoch, "1-01-01"},
        {CalendarId::LPM, kLeapWeekEpoch - 1, "0-12-28"},
        {CalendarId::CE, kMaxDayNumber + 1, ""},
        // The world's calendars, 1 January 2000 as python3-convertdate writes it.
        {CalendarId::HEB, 2451545, "5760-10-23"},
        {CalendarId::ISL, 2451545, "1420-09-24"},
        {CalendarId::PER, 2451545, "1378-10-11"},
        {CalendarId::COP, 2451545, "1716-04-22"},
        {CalendarId::ETH, 2451545, "1992-04-22"},  // the Coptic date, 276 years on
        {CalendarId::FRR, 2460311, "232-04-12"},   // 1 January 2024, Romme's rule
        {CalendarId::IND, 2451545, "1921-10-11"},
        {CalendarId::MAY, 2451545, "12.19.6.15.2"},
        {CalendarId::MAY, 584283, "0.0.0.0.0"},
        {CalendarId::MAY, 584282, "-1.19.19.17.19"},
        {CalendarId::MJD, 2451545, "51,544"},
        {CalendarId::MJD, -2100000000, "-2,102,400,001"},
        {CalendarId::MJD, kMaxDayNumber + 1, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CanonicalDateText(c.calendar, c.jdn, format), U(c.expected))
            << IndexOf(c.calendar) << " " << c.jdn;
    }
    format.dateFormat = kDateFormatMDY;
    format.dateSeparator = QStringLiteral("/");
    format.hyphen = false;
    EXPECT_EQ(CanonicalDateText(CalendarId::CE, 2451545, format), QStringLiteral("01/01/2000"));
    EXPECT_EQ(CanonicalDateText(CalendarId::ORD, jan1st2010, format), QStringLiteral("2010001"));
    EXPECT_EQ(CanonicalDateText(CalendarId::ISO, jan1st2010, format), QStringLiteral("2009W535"));
}

}  // namespace
}  // namespace daybridge
