// The values, failures and text forms of the built-ins: golden programs builtins, errors_more,
// world_calendars and units. Here: what a run in the C locale cannot show.
#include "batch/expressions.h"

#include <gtest/gtest.h>

#include <QHash>
#include <random>

#include "app/captions.h"
#include "batch/batch_text.h"
#include "calendar/calendar_table.h"
#include "datetext/date_parse.h"

#include "support/qstring_printer.h"

namespace daybridge::batch {
namespace {

class FakeContext : public ExpressionContext {
  public:
    std::optional<std::int32_t> LookupVariable(const QString& name) const override {
        const auto it = variables.constFind(name);
        if (it == variables.constEnd()) {
            return std::nullopt;
        }
        return *it;
    }
    std::optional<int> CountArray(const QString&) const override { return std::nullopt; }
    std::int32_t TodayJdn() const override { return 2451545; }  // Saturday 2000-01-01
    LastResult Result() const override { return {}; }
    const TextFormat& Format() const override { return format; }
    QString Text(int id) const override { return QStringLiteral("text %1").arg(id); }

    QHash<QString, std::int32_t> variables;
    TextFormat format;
};

class ExpressionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        context.variables = {{"D", 2451545}, {"A[1]", 5}, {"A[2]", 6},
                             {"A[3]", 7},    {"I", 2},    {"BIG", 2147483647}};
        context.format.regional = QLocale(QLocale::English, QLocale::UnitedStates);
    }
    QString Text(const char* text, bool& ok) {
        return EvaluateText(ParseCall(QString::fromLatin1(text)), context, ok);
    }
    FakeContext context;
};

struct TextCase {
    const char* expression;
    const char* text;
};

TEST_F(ExpressionTest, TextForms) {
    context.variables.insert("M", 9999);
    // The plain text forms of every built-in: golden program builtins. Here: grouping by the
    // regional settings, which only a number shown by a function gets.
    const TextCase cases[] = {
        {"VAL(M)", "9999"},
        {"ADD(M, 0)", "9,999"},
        {"VAL(D)", "2,451,545"},
        {"NEWYEARSDAY(2000, CE)", "2,451,545"},
        {"DATEVAL(D, JDN)", "2,451,545 JDN"},
        {"DAYOF(D, ORD)", "1"},
        {"DATE(ORD, 2012, 60)", "2012-060"},
    };
    for (const TextCase& c : cases) {
        bool ok = false;
        EXPECT_EQ(Text(c.expression, ok), QString::fromUtf8(c.text)) << c.expression;
        EXPECT_TRUE(ok) << c.expression;
    }
}

TEST_F(ExpressionTest, OperandReaders) {
    bool ok = true;
    EXPECT_EQ(EvaluateOperand(u" -12 ", context, ok), -12);
    EXPECT_TRUE(ok);
    EXPECT_EQ(EvaluateOperand(u"today", context, ok), 2451545);
    EXPECT_EQ(EvaluateOperand(u"a[1]", context, ok), 5);
    EXPECT_TRUE(ok);
    EvaluateOperand(u"1,000", context, ok);
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(EvaluateNumericOperand(u"1,000", context, ok), 1000);
    EXPECT_TRUE(ok);
    EvaluateNumericOperand(u"TODAY", context, ok);
    EXPECT_FALSE(ok);  // a plain name there, and there is no such variable
    ok = true;
    EvaluateOperand(u"99999999999", context, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ResolveElementName("A[I]", context), std::optional<QString>("A[2]"));
    EXPECT_EQ(ResolveElementName("A[NOSUCH]", context), std::nullopt);
}

TEST_F(ExpressionTest, IsoLinesOfFollowingDaysAsOfEachDayAlone) {
    // AppendDateValOfSlot writes the day after the one it wrote last by changing the weekday
    // digit: runs of days and jumps, hyphen on and off, at the ends of the range.
    std::mt19937 random(16);
    const ParsedCall fresh = ParseCall(QStringLiteral("DATEVAL(D, ISO)"));
    ParsedCall call = fresh;
    std::int32_t day = -kMaxDayNumber;
    for (int i = 0; i < 20000; ++i) {
        const unsigned pick = random() % 64;
        if (pick == 0) {
            day = static_cast<std::int32_t>(
                static_cast<std::int64_t>(random() % (2u * kMaxDayNumber + 1)) - kMaxDayNumber);
        } else if (pick == 1) {
            day = kMaxDayNumber - static_cast<std::int32_t>(random() % 30);
        } else if (pick == 2) {
            context.format.hyphen = !context.format.hyphen;
        } else {
            const std::int32_t step = pick == 3 ? 7 : 1;
            day = day <= kMaxDayNumber - step ? day + step : -kMaxDayNumber;
        }
        const QString end = pick == 4 ? QString() : QStringLiteral("\r\n");
        QString fast = QStringLiteral("x");
        ASSERT_TRUE(AppendDateValOfSlot(call, day, context, end, fast)) << day;
        context.variables.insert("D", day);
        bool ok = false;
        ASSERT_EQ(fast, QStringLiteral("x") + EvaluateText(fresh, context, ok) + end) << day;
        ASSERT_TRUE(ok);
    }
}

// What DATEVAL( writes reads back as a date literal, in the calendar it names, for random days
// of every calendar under every date order, separator, thousands separator and hyphen setting
// and several regional formats: as written, with a day name in either language after it, and
// as a statement holds it (upper case, without blanks). An ordinal date outside years 1 to
// 9999, which no literal names, is not written.
TEST_F(ExpressionTest, WhatDateValWritesReadsBackAsALiteral) {
    const QLocale locales[] = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::English, QLocale::UnitedStates),
                               QLocale(QLocale::Swedish, QLocale::Sweden)};
    std::mt19937 random(36);
    std::uniform_int_distribution<std::int32_t> anyDay(-kMaxDayNumber, kMaxDayNumber);
    std::uniform_int_distribution<std::int32_t> ordinalDay(kMinOrdinalJDN, kMaxOrdinalJDN);
    const std::int32_t edges[] = {-kMaxDayNumber, kMaxDayNumber,  kMinOrdinalJDN - 1,
                                  kMinOrdinalJDN, kMaxOrdinalJDN, kMaxOrdinalJDN + 1};
    int failures = 0;
    int combination = 0;
    for (const CalendarEntry* entry : AllCalendars()) {
        const CalendarId calendar = entry->id;
        const ParsedCall call =
            ParseCall(QStringLiteral("DATEVAL(D, %1)").arg(CalendarCode(calendar)));
        for (int dateFormat : {kDateFormatMDY, kDateFormatDMY, kDateFormatYMD}) {
            for (const char* separator : {"-", "/", "."}) {
                for (const char* thousands : {",", ".", ""}) {
                    for (bool hyphen : {true, false}) {
                        context.format.dateFormat = dateFormat;
                        context.format.dateSeparator = QString::fromLatin1(separator);
                        context.format.thousandsSeparator = QString::fromLatin1(thousands);
                        context.format.hyphen = hyphen;
                        context.format.regional = locales[combination++ % std::size(locales)];
                        for (int i = 0; i < 40; ++i) {
                            const std::int32_t jdn = i < 6        ? edges[i]
                                                     : i % 2 == 0 ? ordinalDay(random)
                                                                  : anyDay(random);
                            context.variables.insert("D", jdn);
                            bool ok = false;
                            const QString written = EvaluateText(call, context, ok);
                            // Outside its span (ORD: years 1-9999; the table calendars'
                            // years) a calendar writes nothing.
                            if (!InSpan(Calendar(calendar), jdn)) {
                                EXPECT_FALSE(ok) << CalendarCode(calendar).toStdString() << " "
                                                 << jdn << " " << written.toStdString();
                                continue;
                            }
                            ASSERT_TRUE(ok) << CalendarCode(calendar).toStdString() << " " << jdn;
                            const QString named =
                                written + QStringLiteral(", ") +
                                DayNameIn(
                                    DayOfWeek(jdn),
                                    kLanguages[static_cast<std::size_t>(i) % kLanguages.size()]);
                            for (const QString& text : {written, named, StatementText(named)}) {
                                const CodedParseResult back =
                                    ParseDateWithCode(text, context.format, CalendarId::CE);
                                if (back.calendar != calendar ||
                                    back.parsed.outcome != ParseOutcome::Valid ||
                                    back.parsed.jdn != jdn) {
                                    ADD_FAILURE()
                                        << "'" << text.toStdString() << "' read as "
                                        << (back.calendar ? IndexOf(*back.calendar) : -1)
                                        << " outcome " << CodeOfOutcome(back.parsed.outcome)
                                        << " jdn " << back.parsed.jdn << ", written from " << jdn;
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
    }
}

}  // namespace
}  // namespace daybridge::batch
