// The week-date and fiscal calendars as calendars of the program: their rules' texts, their
// dates written and read back, and their units laid out as the units' meaning says.
#include <gtest/gtest.h>

#include <random>

#include "calendar/calendar_registry.h"
#include "calendar/week_fiscal_rules.h"
#include "datetext/date_format.h"
#include "datetext/date_parse.h"
#include "jdcore/day_count.h"

namespace daybridge {
namespace {

using jdcore::FiscalYearName;
using jdcore::PeriodPattern;
using jdcore::Weekday;
using jdcore::WeekOne;
using jdcore::YearEnd;

// Puts the built-in rules back whatever a test set.
class FiscalCalendars : public ::testing::Test {
  protected:
    void TearDown() override {
        SetWeekDateRule(jdcore::kIsoWeeks);
        SetMonthFiscalYearRule(kDefaultMonthFiscalRule);
        SetWeekFiscalYearRule(jdcore::kRetail454);
    }
};

std::vector<jdcore::WeekRule> EveryWeekRule() {
    std::vector<jdcore::WeekRule> rules;
    for (int day = 1; day <= 7; ++day) {
        for (int one = 0; one < 4; ++one) {
            rules.push_back({static_cast<Weekday>(day), static_cast<WeekOne>(one)});
        }
    }
    return rules;
}

std::vector<jdcore::WeekFiscalRule> SomeWeekFiscalRules() {
    std::vector<jdcore::WeekFiscalRule> rules;
    for (int end = 0; end < 2; ++end) {
        for (int pattern = 0; pattern < 3; ++pattern) {
            for (int month : {1, 6, 12}) {
                rules.push_back({month, static_cast<Weekday>(1 + (month + pattern) % 7),
                                 static_cast<YearEnd>(end), static_cast<PeriodPattern>(pattern),
                                 1 + (month * 5 + pattern) % 12,
                                 static_cast<FiscalYearName>((month + end) % 2)});
            }
        }
    }
    return rules;
}

TEST_F(FiscalCalendars, RuleTextsReadBackAndWrongOnesAreRefused) {
    for (const jdcore::WeekRule rule : EveryWeekRule()) {
        EXPECT_EQ(WeekRuleOfText(WeekRuleText(rule)), rule) << WeekRuleText(rule).toStdString();
    }
    for (int month = 1; month <= 12; ++month) {
        for (const FiscalYearName naming :
             {FiscalYearName::ByEndYear, FiscalYearName::ByStartYear}) {
            const jdcore::MonthFiscalRule rule{month, naming};
            EXPECT_EQ(MonthFiscalRuleOfText(MonthFiscalRuleText(rule)), rule);
        }
    }
    for (const jdcore::WeekFiscalRule& rule : SomeWeekFiscalRules()) {
        EXPECT_EQ(WeekFiscalRuleOfText(WeekFiscalRuleText(rule)), rule)
            << WeekFiscalRuleText(rule).toStdString();
    }
    // Spelled by hand, case-blind, and the shorter forms.
    EXPECT_EQ(WeekRuleOfText(u"sun/full"), (jdcore::WeekRule{Weekday::Sunday, WeekOne::FullWeek}));
    EXPECT_EQ(WeekRuleOfText(u"2"), jdcore::WeekNumReturnType(2));
    EXPECT_EQ(MonthFiscalRuleOfText(u"10"),
              (jdcore::MonthFiscalRule{10, FiscalYearName::ByEndYear}));
    EXPECT_EQ(WeekFiscalRuleOfText(u"nearest/sat/jan/454/12/start"), jdcore::kRetail454);
    EXPECT_EQ(WeekFiscalRuleOfText(u"LAST/SAT/AUG/445")->extraWeekPeriod, 12);
    for (const char16_t* bad : {u"", u"ISO/FULL", u"SUN", u"SUN/FULL/X", u"3", u"MON/5DAYS"}) {
        EXPECT_FALSE(WeekRuleOfText(bad)) << QString::fromUtf16(bad).toStdString();
    }
    for (const char16_t* bad : {u"", u"13", u"JUL/MIDDLE", u"JULY", u"JUL/END/X"}) {
        EXPECT_FALSE(MonthFiscalRuleOfText(bad)) << QString::fromUtf16(bad).toStdString();
    }
    for (const char16_t* bad :
         {u"LAST/SAT/AUG", u"FIRST/SAT/AUG/445", u"LAST/SAT/AUG/446", u"LAST/SAT/AUG/445/13",
          u"LAST/SAT/AUG/445/0", u"LAST/XYZ/AUG/445", u"LAST/SAT/AUG/445/12/END/X"}) {
        EXPECT_FALSE(WeekFiscalRuleOfText(bad)) << QString::fromUtf16(bad).toStdString();
    }
}

// Every calendar's text of a day reads back as that day, under each rule.
TEST_F(FiscalCalendars, DatesWrittenReadBackUnderEveryRule) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<std::int32_t> day(-2'000'000'000, 2'000'000'000);
    std::uniform_int_distribution<std::int32_t> nearNow(2'400'000, 2'500'000);
    const TextFormat format;
    const auto check = [&](CalendarId calendar) {
        for (int i = 0; i < 400; ++i) {
            const std::int32_t jdn = i % 2 == 0 ? day(random) : nearNow(random);
            const QString text = CanonicalDateText(calendar, jdn, format);
            const ParseResult back = ParseDateInCalendar(calendar, text, format);
            ASSERT_EQ(back.outcome, ParseOutcome::Valid) << text.toStdString();
            ASSERT_EQ(back.jdn, jdn) << text.toStdString();
            const CodedParseResult coded =
                ParseDateWithCode(DateTextWithCode(calendar, jdn, format), format, CalendarId::CE);
            ASSERT_EQ(coded.calendar, calendar);
            ASSERT_EQ(coded.parsed.jdn, jdn);
        }
    };
    for (const jdcore::WeekRule rule : EveryWeekRule()) {
        SetWeekDateRule(rule);
        check(CalendarId::WK);
    }
    for (int month = 1; month <= 12; ++month) {
        SetMonthFiscalYearRule({month, static_cast<FiscalYearName>(month % 2)});
        check(CalendarId::FY);
    }
    for (const jdcore::WeekFiscalRule& rule : SomeWeekFiscalRules()) {
        SetWeekFiscalYearRule(rule);
        check(CalendarId::FYW);
    }
}

TEST_F(FiscalCalendars, NamedDaysAsTheGuideGivesThem) {
    const TextFormat format;
    const auto text = [&](CalendarId calendar, int y, int m, int d) {
        return CanonicalDateText(
                   calendar, static_cast<std::int32_t>(jdcore::jdn_from_gregorian(y, m, d)), format)
            .toStdString();
    };
    EXPECT_EQ(text(CalendarId::WK, 2026, 12, 7), "2026-W50-1");
    EXPECT_EQ(text(CalendarId::FY, 2026, 7, 1), "2027-P01-01");
    EXPECT_EQ(text(CalendarId::FY, 2026, 11, 15), "2027-P05-15");
    EXPECT_EQ(text(CalendarId::FYW, 2026, 11, 26), "2026-P10-26");
    EXPECT_EQ(text(CalendarId::FYW, 2024, 2, 3), "2023-P12-35");
    SetWeekDateRule(jdcore::kUsWeeks);
    EXPECT_EQ(text(CalendarId::WK, 2026, 12, 6), "2026-W50-1");
    SetMonthFiscalYearRule({7, FiscalYearName::ByStartYear});
    EXPECT_EQ(text(CalendarId::FY, 2026, 11, 15), "2026-P05-15");
    // A week or period the year lacks, and a day the period lacks, are refused.
    for (const auto& [calendar, bad] : {std::pair{CalendarId::WK, u"2026-W54-1"},
                                        {CalendarId::WK, u"2026-W10-8"},
                                        {CalendarId::FY, u"2027-P13-01"},
                                        {CalendarId::FY, u"2026-P08-29"},  // February 2027
                                        {CalendarId::FYW, u"2026-P01-29"},
                                        {CalendarId::FYW, u"2026-05-01"}}) {
        EXPECT_NE(ParseDateInCalendar(calendar, QString::fromUtf16(bad), format).outcome,
                  ParseOutcome::Valid)
            << QString::fromUtf16(bad).toStdString();
    }
}

// The unit holding a day runs from its first to its last day, the unit before ends the day
// before it, and starts passed count as the meaning of the unit says.
TEST_F(FiscalCalendars, UnitsHoldTheirDaysAndCountTheirStarts) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int32_t> day(2'300'000, 2'600'000);
    SetWeekDateRule({Weekday::Wednesday, WeekOne::FullWeek});
    SetMonthFiscalYearRule({4, FiscalYearName::ByStartYear});
    SetWeekFiscalYearRule({8, Weekday::Saturday, YearEnd::LastWeekday, PeriodPattern::Weeks544, 3,
                           FiscalYearName::ByEndYear});
    for (const CalendarId calendar : {CalendarId::WK, CalendarId::FY, CalendarId::FYW}) {
        const FiscalArithmetic& units = *Calendar(calendar).fiscal;
        for (const FiscalUnit unit :
             {FiscalUnit::Week, FiscalUnit::Period, FiscalUnit::Quarter, FiscalUnit::Year}) {
            if (!units.Has(unit)) {
                continue;
            }
            for (int i = 0; i < 300; ++i) {
                const std::int64_t jdn = day(random);
                const auto [first, last] = units.spanOf(unit, jdn);
                ASSERT_LE(first, jdn);
                ASSERT_GE(last, jdn);
                ASSERT_EQ(units.numberOf(unit, first), units.numberOf(unit, last));
                ASSERT_NE(units.numberOf(unit, first - 1), units.numberOf(unit, first));
                ASSERT_NE(units.numberOf(unit, last + 1), units.numberOf(unit, last));
                ASSERT_EQ(units.between(unit, first, last), 0);
                ASSERT_EQ(units.between(unit, first - 1, jdn), 1);
                ASSERT_EQ(units.between(unit, last + 1, jdn), -1);
                // One unit on lands in the next unit, one back in the one before.
                ASSERT_EQ(units.between(unit, jdn, *units.add(unit, jdn, 1)), 1);
                ASSERT_EQ(units.between(unit, jdn, *units.add(unit, jdn, -1)), -1);
            }
        }
    }
}

}  // namespace
}  // namespace daybridge
