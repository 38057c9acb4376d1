// Reading date texts and day counts: every JDN written in a calendar's canonical form reads back
// as the same JDN, under every date order, date separator, thousands separator and hyphen
// setting, also as the output writes it (followed by the calendar's code and a day name in either
// language); and the shapes, characters, grouping and limits that a written date does not show.
// The library's own date reader is tests/jdcore.
#include "datetext/date_parse.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "support/qstring_printer.h"

#include "app/captions.h"
#include "calendar/leap_week.h"
#include "datetext/date_format.h"
#include "jdcore/day_count.h"

namespace daybridge {
namespace {

constexpr int kRandomPerCombination = 1000;

std::vector<std::int32_t> SampleJdns(CalendarId calendar, std::uint32_t seed) {
    // The calendar's span within the day number range (ORD: years 1 to 9999).
    const CalendarEntry& entry = Calendar(calendar);
    const bool ordinal = entry.firstJdn > -kMaxDayNumber;
    const auto low =
        static_cast<std::int32_t>(std::max<std::int64_t>(entry.firstJdn, -kMaxDayNumber));
    const auto high =
        static_cast<std::int32_t>(std::min<std::int64_t>(entry.lastJdn, kMaxDayNumber));
    std::vector<std::int32_t> jdns = {low, low + 1, high - 1, high};
    if (!ordinal) {
        // Around year 0 and 1 CE, the leap week epoch, 4-digit/5-digit year changes.
        for (std::int32_t jdn : {-1, 0, 1, 1721057, 1721058, 1721418, 1721419, 1721425, 1721426,
                                 -1931245, -1931244, 5373484, 5373485, 1948439, 5373120}) {
            jdns.push_back(jdn);
        }
    }
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::int32_t> pick(low, high);
    for (int i = 0; i < kRandomPerCombination; ++i) {
        jdns.push_back(pick(random));
    }
    return jdns;
}

class RoundTrip : public ::testing::TestWithParam<CalendarId> {};

TEST_P(RoundTrip, ParseOfFormatGivesTheJdn) {
    const CalendarId calendar = GetParam();
    const QLocale locales[] = {QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c(),
                               QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::Swedish, QLocale::Sweden)};
    int failures = 0;
    std::uint32_t seed = 20121231u + static_cast<std::uint32_t>(IndexOf(calendar));
    int combination = 0;
    for (int dateFormat : {kDateFormatMDY, kDateFormatDMY, kDateFormatYMD}) {
        for (const char* separator : {"-", "/", "."}) {
            for (const char* thousands : {",", ".", ""}) {
                for (bool hyphen : {true, false}) {
                    TextFormat format;
                    format.dateFormat = dateFormat;
                    format.dateSeparator = QString::fromLatin1(separator);
                    format.thousandsSeparator = QString::fromLatin1(thousands);
                    format.hyphen = hyphen;
                    format.regional = locales[combination++ % std::size(locales)];
                    for (std::int32_t jdn : SampleJdns(calendar, seed++)) {
                        // As written into the field, as the output writes it (with the code, with
                        // or without the day name) and pasted with blanks around it.
                        const QString date = CanonicalDateText(calendar, jdn, format);
                        const QString coded = date + u' ' + CalendarCode(calendar);
                        const QString named =
                            coded + QStringLiteral(", ") +
                            DayNameIn(DayOfWeek(jdn),
                                      kLanguages[static_cast<std::size_t>(jdn % 7 + 7) %
                                                 kLanguages.size()]);
                        const QString pasted = QStringLiteral(" ") + named + u'\t';
                        const QString& text = jdn % 3 == 0   ? date
                                              : jdn % 3 == 1 ? coded
                                                             : (jdn % 5 == 0 ? pasted : named);
                        const ParseResult back = ParseDateInCalendar(calendar, text, format);
                        if (back.outcome != ParseOutcome::Valid || back.jdn != jdn) {
                            ADD_FAILURE()
                                << CalendarCode(calendar).toStdString() << " jdn " << jdn
                                << " written '" << text.toStdString() << "' read outcome "
                                << CodeOfOutcome(back.outcome) << " jdn " << back.jdn << " (format "
                                << dateFormat << ", separator '" << separator << "', thousands '"
                                << thousands << "', hyphen " << hyphen << ")";
                            if (++failures >= 10) {
                                return;
                            }
                        }
                    }
                }
            }
        }
    }
}

std::vector<CalendarId> EveryCalendar() {
    std::vector<CalendarId> all;
    for (const CalendarEntry* calendar : AllCalendars()) {
        all.push_back(calendar->id);
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(EveryCalendar, RoundTrip, ::testing::ValuesIn(EveryCalendar()),
                         [](const ::testing::TestParamInfo<CalendarId>& info) {
                             return CalendarCode(info.param).toStdString();
                         });

constexpr std::int32_t kJdn20121231 = 2456293;
constexpr std::int32_t kJdn20000101 = 2451545;
// What a text is read as: a calendar's date, or a day count (ParseDayCount, the reader of the
// difference field).
using Reader = std::optional<CalendarId>;
constexpr Reader kDays = std::nullopt;
constexpr ParseOutcome I = ParseOutcome::Invalid;
constexpr ParseOutcome R = ParseOutcome::OutOfRange;

int Shown(Reader calendar) {
    return calendar ? IndexOf(*calendar) : -2;
}

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A text format: date order, date separator, thousands separator and the hyphen option.
TextFormat Format(int dateFormat = kDateFormatYMD, const char* separator = "-",
                  const char* thousands = ",", bool hyphen = true) {
    TextFormat format;
    format.dateFormat = dateFormat;
    format.dateSeparator = U(separator);
    format.thousandsSeparator = U(thousands);
    format.hyphen = hyphen;
    format.regional = QLocale::c();
    return format;
}

ParseResult Read(const TextFormat& format, Reader calendar, const char* text) {
    return !calendar ? ParseDayCount(U(text), format.thousandsSeparator)
                     : ParseDateInCalendar(*calendar, U(text), format);
}

struct Valid {
    const char* text;
    std::int32_t jdn;
};

void ExpectValid(const TextFormat& format, Reader calendar, std::initializer_list<Valid> cases) {
    for (const Valid& c : cases) {
        const ParseResult r = Read(format, calendar, c.text);
        EXPECT_EQ(r.outcome, ParseOutcome::Valid) << c.text << " in calendar " << Shown(calendar);
        EXPECT_EQ(r.jdn, c.jdn) << c.text << " in calendar " << Shown(calendar);
    }
}

// Every text is refused with the same outcome.
void ExpectRefused(const TextFormat& format, Reader calendar, ParseOutcome outcome,
                   std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
        EXPECT_EQ(Read(format, calendar, text).outcome, outcome)
            << text << " in calendar " << Shown(calendar) << ", '"
            << format.thousandsSeparator.toStdString() << "' " << format.dateFormat;
    }
}

// A date text may carry blanks, parentheses around a negative year, grouping inside the year,
// its own calendar's code before or after it and, after a comma, a day name; any other
// character is refused, never dropped.
TEST(ParseDateInCalendar, CivilDates) {
    const std::int32_t minus500 = JdnOfCivil(-500, 3, 1);
    ExpectValid(Format(), CalendarId::CE,
                {{" 2012 - 12 - 31 ", kJdn20121231},
                 {"ce 2012-12-31", kJdn20121231},
                 {"2012-12-31, monday", kJdn20121231},
                 {"\u2212500-03-01", minus500}});
    ExpectRefused(
        Format(), CalendarId::CE, I,
        {"", "2012-12", "2012-12-31-1-1", "2012-1O-31", "2O12-12-31", "2012-12-31 JC",
         "CE 2012-12-31 CE", "2012-12-31 xyz", "2012-12-31, Funday", "2012-12-31,", "20 12-12-31",
         "20,12-12-31", "2012-12,31", "2012-12-31.", "(500)-03-01", "2012-12-31)"});
    ExpectRefused(Format(), CalendarId::CE, R, {"5800001-01-01"});
    ExpectValid(Format(kDateFormatDMY), CalendarId::CE,
                {{"01-03--500", minus500}, {"01-03-( -500 )", minus500}});
    ExpectRefused(Format(kDateFormatDMY), CalendarId::CE, I, {"01-(-03)-500", "15-03-44 BC"});
    ExpectValid(Format(kDateFormatMDY), CalendarId::CE, {{"03-01--500", minus500}});
    ExpectValid(Format(kDateFormatMDY, "/"), CalendarId::CE, {{"03/01/-500", minus500}});
    ExpectRefused(Format(kDateFormatMDY, "/"), CalendarId::CE, I, {"12-31-2012"});
    ExpectRefused(Format(kDateFormatDMY, "/"), CalendarId::CE, I, {"2012-12-31"});
}

TEST(ParseDateInCalendar, OrdinalIsoAndLeapWeekDates) {
    const std::int32_t feb1 = JdnOfCivil(2012, 2, 1);  // Wednesday of ISO week 5
    // Week 53 of a common leap week year is week 1 of the next.
    const auto week53 = static_cast<std::int32_t>(jdcore::jdn_from_leap_week(2013, 1, 1));
    ASSERT_FALSE(IsLeapWeekYear(2012));
    ExpectValid(Format(), CalendarId::ORD, {{" 2012 - 366 ", kJdn20121231}});
    ExpectRefused(Format(), CalendarId::ORD, I,
                  {"2012366", "2011-366", "2012-000", "2012-367", "0000-367", "12-0001", "-012-001",
                   "2012-0601", "", "2012-060 ISO"});
    ExpectRefused(Format(), CalendarId::ORD, R, {"0000-001"});
    ExpectRefused(Format(kDateFormatYMD, "-", ",", false), CalendarId::ORD, I,
                  {"2012-366", "1900366"});
    ExpectValid(Format(), CalendarId::ISO,
                {{"2012-W053", feb1},
                 {" 2012 - W05 - 3 ", feb1},
                 {"2012-w05-3", feb1},
                 {"iso 2012W053", feb1}});
    ExpectRefused(Format(), CalendarId::ISO, I,
                  {"2012W05-3", "2014-W53-1", "2012-W05-3 ORD", "2012-W05-3x"});
    ExpectRefused(
        Format(), CalendarId::ISO, R,
        {"5799999-W01-1", "5800000-W01-1", "-5800000-W01-1", "99999999999999999999999-W01-1"});
    ExpectValid(Format(), CalendarId::LPW, {{"2012-53-1", week53}});
    ExpectRefused(Format(), CalendarId::LPW, I,
                  {"2012-O5-3", "2012-05-8", "2012-05", "2012-05-3-1", "2012--1", "-1-1", "--1-1",
                   "2012-99999-1"});
    ExpectRefused(
        Format(), CalendarId::LPM, I,
        {"2012-01-O1 LPM", "2012-01-01 LPW", "2012-13-01", "2012-01-36", "2012-02-29", ""});
    // The last: a year the reader passes, a JDN beyond the range.
    ExpectRefused(
        Format(), CalendarId::LPM, R,
        {"5800001-01-01", "-5800001-01-01", "99999999999999999999999-01-01", "5800000-01-01"});
}

// Large leap week years grouped by the thousands separator or, as written, by the regional format.
TEST(ParseDateInCalendar, GroupedLeapWeekYears) {
    LeapWeekRecord plain;
    ASSERT_EQ(ParseLpw(QStringLiteral("-123456-05-3"), plain), 1);
    TextFormat format;
    format.regional = QLocale(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ParseDateInCalendar(CalendarId::LPW, QStringLiteral("-123,456-05-3"), format).jdn,
              plain.jdn);
    EXPECT_EQ(ParseDateInCalendar(CalendarId::LPW, QStringLiteral("-123.456-05-3"), format).jdn,
              plain.jdn);
    EXPECT_EQ(ParseDateInCalendar(CalendarId::LPW, QStringLiteral("-123,456"), format).outcome, I);
}

// Day numbers and the world's calendars (JDNs from python3-convertdate): year-month-day with "-"
// whatever the date order, the Long Count with ".", the MJD grouped like the JDN.
TEST(ParseDateInCalendar, DayNumbersAndWorldCalendars) {
    ExpectValid(Format(), CalendarId::JDN,
                {{" 2451545 ", kJdn20000101},
                 {"-2,099,999,999", -2099999999},
                 {"000000000012", 12},
                 {"+12", 12},
                 {"\u22125 JDN", -5}});
    ExpectRefused(Format(), CalendarId::JDN, R, {"2100000001", "21474836470", "2,100,000,001"});
    ExpectRefused(Format(), CalendarId::JDN, I,
                  {"5-", "", "-", "2.451.545", "2,45,1545", "2 451 545", "1e3", "2,451,545 CE"});
    ExpectRefused(Format(), CalendarId::MJD, R, {"-2,102,400,002"});
    ExpectRefused(Format(), CalendarId::MJD, I, {"51544 JDN"});
    ExpectValid(Format(), CalendarId::MAY, {{"12 . 19 . 6 . 15 . 2", kJdn20000101}});
    ExpectRefused(Format(), CalendarId::MAY, I,
                  {"13.0.20.0.0", "13.0.14.2", "1 3.0.14.2.19", "13-0-14-2-19"});
    ExpectRefused(Format(), CalendarId::MAY, R,
                  {"20000.0.0.0.0", "99999999999999999999999.0.0.0.0"});
    ExpectValid(Format(), CalendarId::HEB, {{"heb 5787-9-27, Monday", 2461382}});
    // No Adar II in 5786; 1715, not 1716, is the Coptic leap year.
    ExpectRefused(Format(), CalendarId::HEB, I, {"5786-13-01", "5787-09-27 ISL", "5787-O9-27"});
    ExpectRefused(Format(), CalendarId::COP, I, {"1716-13-06"});
    ExpectRefused(Format(), CalendarId::HEB, R, {"6000001-01-01"});
    ExpectRefused(Format(), CalendarId::COP, R, {"-6,000,001-01-01"});
    ExpectRefused(Format(), CalendarId::ISL, R, {"5999999-01-01"});  // beyond the day number range
    ExpectValid(Format(kDateFormatDMY), CalendarId::HEB, {{"5787-09-27 HEB", 2461382}});
    ExpectRefused(Format(kDateFormatDMY), CalendarId::HEB, I, {"27-09-5787"});
    ExpectValid(Format(kDateFormatYMD, "-", "."), CalendarId::JDN,
                {{"2.451.545", kJdn20000101},
                 {"-2.451.545", -kJdn20000101},
                 {"2,451,545", kJdn20000101},
                 {"2.100.000.000", 2100000000}});
    ExpectRefused(Format(kDateFormatYMD, "-", "."), CalendarId::JDN, I,
                  {"2451.545", "2.45", "2.451.5450", "2..451"});
    ExpectRefused(Format(kDateFormatYMD, "-", ""), CalendarId::JDN, I, {"2.451.545"});
}

// A date that names its calendar: a code before or after it chooses the calendar (a day name
// may follow); without a code the default one; letters that name no calendar choose none. The
// chosen calendar's reader then refuses what does not belong (a second code, a stray letter).
TEST(ParseDateWithCode, TheCodeChoosesTheCalendar) {
    struct Case {
        const char* text;
        Reader calendar;
        ParseOutcome outcome;
        std::int32_t jdn;
    };
    constexpr ParseOutcome V = ParseOutcome::Valid;
    constexpr std::int32_t kJdn20261207 = 2461382;
    const Case cases[] = {
        {"5787-09-27 HEB, Monday", CalendarId::HEB, V, kJdn20261207},
        {"heb 5787-09-27", CalendarId::HEB, V, kJdn20261207},
        {"2026-W50-1 ISO, Montag", CalendarId::ISO, V, kJdn20261207},
        {"ISO2026W501", CalendarId::ISO, V, kJdn20261207},
        {"13.0.14.2.19 MAY, Monday", CalendarId::MAY, V, kJdn20261207},
        {"2,461,382 JDN", CalendarId::JDN, V, kJdn20261207},
        {"2026-12-07", CalendarId::JC, V, JdnOfCivil(2026, 12, 7, 'J')},
        {"2026-12-07 CE", CalendarId::CE, V, kJdn20261207},
        {"500-03-01 BC", std::nullopt, I, 0},
        {"2026-12-07 x", std::nullopt, I, 0},
        {"2026-12-07 CE, Moonday", std::nullopt, I, 0},
        {"CE 2026-12-07 JC", CalendarId::CE, I, 0},
        {"2O26-12-07 CE", CalendarId::CE, I, 0},
        {"CE 9999999-01-01", CalendarId::CE, R, 0},
    };
    for (const Case& c : cases) {
        const CodedParseResult r = ParseDateWithCode(U(c.text), Format(), CalendarId::JC);
        EXPECT_EQ(Shown(r.calendar), Shown(c.calendar)) << c.text;
        EXPECT_EQ(r.parsed.outcome, c.outcome) << c.text;
        EXPECT_EQ(r.parsed.jdn, c.jdn) << c.text;
    }
    // A negative year in parentheses, as written with the month first.
    const CodedParseResult bc =
        ParseDateWithCode(U("CE 03/01/(-500)"), Format(kDateFormatMDY, "/"), CalendarId::JC);
    EXPECT_EQ(bc.calendar, std::optional(CalendarId::CE));
    EXPECT_EQ(bc.parsed.jdn, JdnOfCivil(-500, 3, 1));
    // Day numbers as the batch language writes them, grouped in the regional format.
    TextFormat german = Format();
    german.regional = QLocale(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ParseDateWithCode(U("2.461.382 JDN"), german, CalendarId::CE).parsed.jdn,
              kJdn20261207);
    EXPECT_EQ(ParseDateWithCode(U("MJD 61.381"), german, CalendarId::CE).parsed.jdn, kJdn20261207);
}

// The difference field's day count: a sign, digits and the thousands separator only.
TEST(ParseDayCount, SignDigitsAndGroupingOnly) {
    ExpectValid(Format(), kDays,
                {{"-2100000000", -2100000000},
                 {"+2100000000", 2100000000},
                 {"00000000002100000000", 2100000000},
                 {"-0", 0},
                 {" 12\t", 12},
                 {"\u22125", -5},
                 {"1,234", 1234}});
    ExpectRefused(Format(), kDays, R,
                  {"2147483648", "2100000001", "-2,100,000,001", "99999999999999999999999"});
    ExpectRefused(Format(), kDays, I,
                  {"", "-", "abc", "1.5", "10-5", "3 weeks", " 1 234 days", "1e3", "12,34", ",123",
                   "+-5", "-+5", "- 5"});
    ExpectValid(Format(kDateFormatYMD, "-", "."), kDays, {{"-1.234.567", -1234567}});
    ExpectRefused(Format(kDateFormatYMD, "-", "."), kDays, I, {"1.5", "1,234"});
    ExpectValid(Format(kDateFormatYMD, "-", ""), kDays, {{"1234", 1234}});
    ExpectRefused(Format(kDateFormatYMD, "-", ""), kDays, I, {"1,234"});
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
    // The compact and the hyphenated form of a date, each rewritten to the other.
    const std::pair<const char*, const char*> forms[] = {
        {"2012060", "2012-060"}, {"2012W053", "2012-W05-3"}, {"-44W527", "-44-W52-7"}};
    for (const auto& [compact, hyphenated] : forms) {
        for (const char* text : {compact, hyphenated}) {
            EXPECT_EQ(RewriteHyphenation(U(text), true), U(hyphenated)) << text;
            EXPECT_EQ(RewriteHyphenation(U(text), false), U(compact)) << text;
        }
    }
    EXPECT_EQ(RewriteHyphenation(U(" 2012100 "), true), U("2012-100"));
    EXPECT_EQ(RewriteHyphenation(U("2012-W053"), false), U("2012W053"));
    // Neither an ordinal nor an ISO week date: left as it is.
    for (const char* text : {"2011-366", "2012W05-3", "2012-12-31", ""}) {
        EXPECT_EQ(RewriteHyphenation(U(text), true), U(text)) << text;
        EXPECT_EQ(RewriteHyphenation(U(text), false), U(text)) << text;
    }
}

}  // namespace
}  // namespace daybridge
