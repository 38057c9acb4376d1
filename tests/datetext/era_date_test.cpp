// Dates of the Japanese eras and of the Thai Buddhist Era: every day from 1873 (when Japan took
// the Gregorian calendar) to 2200 written and read back, its era and year of the era following
// the accessions; published facts both ways; the forms of an era's name the reader takes and
// the dates it refuses, with what is wrong.
#include <gtest/gtest.h>

#include "support/qstring_printer.h"

#include "calendar/typed_date_fault.h"
#include "datetext/date_format.h"
#include "datetext/date_parse.h"

namespace daybridge {
namespace {

using enum CalendarId;
using jdcore::DateProblem;

TextFormat Format() {
    TextFormat format;
    format.regional = QLocale::c();
    return format;
}

std::int32_t Ce(std::int32_t year, std::int32_t month, std::int32_t day) {
    return JdnOfCivil(year, month, day);
}

// The accessions: the first day of each era after Meiji, as proclaimed.
struct Accession {
    std::int32_t jdn;
    const char* era;
};
const Accession kAccessions[] = {{Ce(1912, 7, 30), "Taisho"},
                                 {Ce(1926, 12, 25), "Showa"},
                                 {Ce(1989, 1, 8), "Heisei"},
                                 {Ce(2019, 5, 1), "Reiwa"}};

// Each day's text reads back (also with the era's initial and the code), keeps the CE month and
// day, and its year of the era goes up by one on 1 January and starts again at 1 on the day of
// an accession, and only then.
TEST(EraDates, EveryDayFrom1873To2200ReadsBackAndCountsTheYearsOfTheEra) {
    const TextFormat format = Format();
    QString era = QStringLiteral("Meiji");
    int year = 5;
    const Accession* next = std::begin(kAccessions);
    int failures = 0;
    for (std::int32_t jdn = Ce(1873, 1, 1); jdn <= Ce(2200, 12, 31) && failures < 10; ++jdn) {
        const QString text = CanonicalDateText(JPN, jdn, format);
        const QString ce = CanonicalDateText(CE, jdn, format);
        const bool newYear = ce.endsWith(QLatin1String("-01-01"));
        if (next != std::end(kAccessions) && next->jdn == jdn) {
            era = QLatin1String((next++)->era);
            year = 1;
        } else if (newYear) {
            ++year;
        }
        const QString expected = era + u' ' + QString::number(year) + ce.mid(4);
        const QString initial = era.left(1) + text.mid(era.size() + 1) + QLatin1String(" jpn");
        for (const QString& written : {text, initial}) {
            const ParseResult back = ParseDateInCalendar(JPN, written, format);
            if (text != expected || back.outcome != ParseOutcome::Valid || back.jdn != jdn) {
                ADD_FAILURE() << jdn << " written " << text.toStdString() << " expected "
                              << expected.toStdString() << " read " << written.toStdString();
                ++failures;
            }
        }
    }
    EXPECT_EQ(next, std::end(kAccessions));
}

// Published dates both ways: the accessions and the days before them, Meiji's first day and
// the plain Gregorian years before it; Buddhist Era = CE + 543, Minguo = CE - 1911.
TEST(EraDates, FactsBothWays) {
    struct Fact {
        CalendarId calendar;
        std::int32_t jdn;
        const char* text;
    };
    const Fact facts[] = {
        {JPN, Ce(1868, 10, 22), "1868-10-22"},    {JPN, Ce(1868, 10, 23), "Meiji 1-10-23"},
        {JPN, Ce(1873, 1, 1), "Meiji 6-01-01"},   {JPN, Ce(1912, 7, 29), "Meiji 45-07-29"},
        {JPN, Ce(1912, 7, 30), "Taisho 1-07-30"}, {JPN, Ce(1926, 12, 24), "Taisho 15-12-24"},
        {JPN, Ce(1926, 12, 25), "Showa 1-12-25"}, {JPN, Ce(1989, 1, 7), "Showa 64-01-07"},
        {JPN, Ce(1989, 1, 8), "Heisei 1-01-08"},  {JPN, Ce(2019, 4, 30), "Heisei 31-04-30"},
        {JPN, Ce(2019, 5, 1), "Reiwa 1-05-01"},   {JPN, Ce(2026, 12, 7), "Reiwa 8-12-07"},
        {JPN, Ce(-500, 3, 1), "-500-03-01"},      {BUD, Ce(2026, 12, 7), "2569-12-07"},
        {BUD, Ce(1941, 1, 1), "2484-01-01"},      {BUD, Ce(2024, 2, 29), "2567-02-29"},
        {BUD, Ce(-543, 1, 1), "0-01-01"},         {ROC, Ce(2026, 12, 7), "115-12-07"},
    };
    for (const Fact& f : facts) {
        EXPECT_EQ(CanonicalDateText(f.calendar, f.jdn, Format()), QString::fromUtf8(f.text));
        const ParseResult back =
            ParseDateInCalendar(f.calendar, QString::fromUtf8(f.text), Format());
        EXPECT_EQ(back.outcome, ParseOutcome::Valid) << f.text;
        EXPECT_EQ(back.jdn, f.jdn) << f.text;
    }
}

// The era's name in any case, its initial, "ō" or "ou" for "o", the code before or after the
// date; and what the reader refuses, with the reason the window gives.
TEST(EraDates, NamesTheReaderTakesAndDatesItRefuses) {
    const std::int32_t showa64 = Ce(1989, 1, 7);
    for (const char* text : {"showa 64-01-07", "SHOWA64-01-07", "S 64-01-07", "s64-01-07",
                             "Shōwa 64-01-07", "Shouwa 64-01-07", "JPN Showa 64-01-07",
                             "Showa 64-01-07 JPN, Saturday", "jpn S64-01-07"}) {
        const ParseResult r = ParseDateInCalendar(JPN, QString::fromUtf8(text), Format());
        EXPECT_EQ(r.outcome, ParseOutcome::Valid) << text;
        EXPECT_EQ(r.jdn, showa64) << text;
    }
    struct Refused {
        const char* text;
        DateProblem problem;  // None: a text of the wrong form
        std::int16_t era;
        std::int64_t limit;
    };
    const Refused refused[] = {
        {"Showa 65-01-01", DateProblem::OutsideEra, 3, 64},
        {"Showa 0-12-25", DateProblem::OutsideEra, 3, 64},
        {"Reiwa 1-04-30", DateProblem::OutsideEra, 5, 0},
        {"Heisei 31-05-01", DateProblem::OutsideEra, 4, 31},
        {"Meiji 1-10-22", DateProblem::OutsideEra, 1, 45},
        {"2026-12-07", DateProblem::OutsideEra, 0, 0},  // a day of an era names it
        {"1868-10-23", DateProblem::OutsideEra, 0, 0},
        {"Reiwa 8-02-30", DateProblem::DayOutOfRange, 5, 28},
        {"Reiwa 8-13-01", DateProblem::MonthOutOfRange, 5, 12},
        {"Q8-12-07", DateProblem::None, 0, 0},
        {"Re 8-12-07", DateProblem::None, 0, 0},
        {"Reiwa 8-12-07 ROC", DateProblem::None, 0, 0},
        {"8-12-07 Reiwa", DateProblem::None, 0, 0},
        {"Reiwa 8-12", DateProblem::None, 0, 0},
    };
    for (const Refused& r : refused) {
        const QString text = QString::fromUtf8(r.text);
        EXPECT_EQ(ParseDateInCalendar(JPN, text, Format()).outcome, ParseOutcome::Invalid)
            << r.text;
        const std::optional<TypedDateFault> fault = WhyTypedDateIsRefused(JPN, text);
        ASSERT_TRUE(fault) << r.text;
        EXPECT_EQ(fault->wrongForm, r.problem == DateProblem::None) << r.text;
        if (r.problem != DateProblem::None) {
            EXPECT_EQ(fault->check.problem, r.problem) << r.text;
            EXPECT_EQ(fault->date.era, r.era) << r.text;
            EXPECT_EQ(fault->check.limit, r.limit) << r.text;
        }
    }
}

// In the batch language an era's name may stand before the date and the code after it, or the
// code right before the era's name.
TEST(EraDates, TheCodeAfterADateWithAnEraName) {
    struct Case {
        const char* text;
        std::optional<CalendarId> calendar;
        std::int32_t jdn;
    };
    const Case cases[] = {
        {"Reiwa 8-12-07 JPN", JPN, Ce(2026, 12, 7)}, {"R8-12-07 jpn, Monday", JPN, Ce(2026, 12, 7)},
        {"JPNREIWA8-12-07", JPN, Ce(2026, 12, 7)},  // as a batch line without its blanks
        {"jpnR8-12-07", JPN, Ce(2026, 12, 7)},       {"2569-12-07 BUD", BUD, Ce(2026, 12, 7)},
        {"Reiwa 8-12-07 HEB", std::nullopt, 0},  // HEB has no eras: Reiwa names no calendar
    };
    for (const Case& c : cases) {
        const CodedParseResult r = ParseDateWithCode(QString::fromUtf8(c.text), Format(), CE);
        EXPECT_TRUE(r.calendar == c.calendar) << c.text;
        EXPECT_EQ(r.parsed.jdn, c.jdn) << c.text;
    }
}

}  // namespace
}  // namespace daybridge
