// Dates by a format: random days of every calendar written by its named forms and by a format
// of all its fields, and read back as the same day, in English and German; CE's fields against
// Qt's own Gregorian QDate; formats and texts that are refused, with the reason naming what.
#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>
#include <random>

#include "support/qstring_printer.h"

#include "calendar/calendar_table.h"
#include "datetext/date_pattern.h"
#include "env/paths.h"
#include "env/text_store.h"

namespace daybridge {
namespace {

class DatePatternTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        QString failure;
        ASSERT_GT(LoadProgramText(FindDataFile(QString::fromLatin1(kTextDataFileName)), &failure),
                  0)
            << failure.toStdString();
    }
};

// A format holding every field of the calendar but the day numbers, so that the day is found
// from the calendar's own fields.
QString AllFieldsPattern(const CalendarEntry& entry) {
    switch (entry.fields) {
        case FieldKind::YearMonthDay: {
            const QString era = entry.eras != nullptr ? QStringLiteral("%E ") : QString();
            const QString leap = entry.notation == Notation::LunisolarDate ? "%L (%N)" : "";
            const QString names = entry.monthNames.fixed.empty() && entry.monthNames.textCount == 0
                                      ? QString()
                                      : QStringLiteral("%b/%B ");
            return QStringLiteral("%a %A %-d ") + names + era + "%Y%m%d " + leap + " %-m %j %y %K";
        }
        case FieldKind::YearWeekDay:
            return QStringLiteral("%a %Y-W%W-%u %j %w");
        case FieldKind::YearDay:
            return QStringLiteral("%Y.%j %A");
        case FieldKind::DayNumber:
            return QStringLiteral("%Q %a");
        case FieldKind::LongCount:
            break;
    }
    return QStringLiteral("%G-W%V-%u %A %K");
}

TEST_F(DatePatternTest, EveryCalendarReadsBackWhatItWrites) {
    std::mt19937_64 random(20261208);
    const std::int64_t low = JdnOfCivil(-3000, 1, 1);
    const std::int64_t high = JdnOfCivil(4000, 12, 31);
    for (const CalendarEntry* entry : AllCalendars()) {
        const std::int64_t first = std::max(entry->firstJdn, low);
        const std::int64_t last = std::min(entry->lastJdn, high);
        std::uniform_int_distribution<std::int64_t> day(first, last);
        for (const Language language : kLanguages) {
            const PatternTexts texts{language, &GetText};
            for (const QString& pattern :
                 {QString(), QStringLiteral("iso"), QStringLiteral("LONG"), QStringLiteral("jdn"),
                  AllFieldsPattern(*entry), QStringLiteral("%G-W%V-%u %a %J")}) {
                QString error;
                const std::optional<DatePattern> compiled =
                    DatePattern::Compile(pattern, entry->id, texts, error);
                ASSERT_TRUE(compiled)
                    << entry->code << " " << pattern.toStdString() << ": " << error.toStdString();
                for (int i = 0; i < 300; ++i) {
                    const std::int64_t jdn = i == 0 ? first : i == 1 ? last : day(random);
                    QString text;
                    ASSERT_TRUE(compiled->Format(jdn, text, error))
                        << entry->code << error.toStdString();
                    const std::optional<std::int64_t> back = compiled->Parse(text, error);
                    ASSERT_EQ(back, jdn) << entry->code << " '" << pattern.toStdString() << "' "
                                         << text.toStdString() << ": " << error.toStdString();
                }
            }
        }
    }
}

TEST_F(DatePatternTest, CommonEraFieldsAgreeWithQDate) {
    std::mt19937_64 random(8);
    std::uniform_int_distribution<std::int64_t> day(JdnOfCivil(1600, 1, 1),
                                                    JdnOfCivil(9999, 12, 31));
    const QLocale english(QLocale::English);
    QString error;
    const std::optional<DatePattern> compiled = DatePattern::Compile(
        "%Y|%m|%d|%j|%G|%V|%u|%w|%A|%B|%y", CalendarId::CE, PatternTexts{}, error);
    ASSERT_TRUE(compiled) << error.toStdString();
    for (int i = 0; i < 2000; ++i) {
        const std::int64_t jdn = day(random);
        const QDate date = QDate::fromJulianDay(jdn);
        int weekYear = 0;
        const int week = date.weekNumber(&weekYear);
        const QString expected =
            QStringList{QString::number(date.year()),
                        date.toString("MM|dd"),
                        QStringLiteral("%1").arg(date.dayOfYear(), 3, 10, QChar('0')),
                        QString::number(weekYear),
                        QStringLiteral("%1").arg(week, 2, 10, QChar('0')),
                        QString::number(date.dayOfWeek()),
                        QString::number(date.dayOfWeek() % 7),
                        english.dayName(date.dayOfWeek()),
                        english.monthName(date.month()),
                        date.toString("yy")}
                .join('|');
        QString text;
        ASSERT_TRUE(compiled->Format(jdn, text, error));
        EXPECT_EQ(text, expected);
    }
}

TEST_F(DatePatternTest, RefusalsSayWhatIsWrong) {
    struct Case {
        CalendarId calendar;
        const char* pattern;
        const char* text;  // nullptr: the format itself is refused
        const char* reason;
    };
    const Case cases[] = {
        {CalendarId::MAY, "%Y-%m-%d", nullptr, "the calendar MAY has no field %Y"},
        {CalendarId::CE, "%Q", nullptr, "the calendar CE has no field %Q"},
        {CalendarId::HEB, "%E %Y", nullptr, "the calendar HEB has no field %E"},
        {CalendarId::CE, "%Y-%Z", nullptr, "unknown field %Z"},
        {CalendarId::CE, "%Y%", nullptr, "lone %"},
        {CalendarId::CE, "iso", "2026-02-30", "no such day in the calendar CE"},
        {CalendarId::CE, "iso", "2026-12-08x", "at 'x'"},
        {CalendarId::CE, "iso", "hello", "at 'hello'"},
        {CalendarId::CE, "%A %Y-%m-%d", "Monday 2026-12-08", "%A does not agree"},
        {CalendarId::CE, "%Y-%m-%d %j", "2026-12-08 341", "%j does not agree"},
        {CalendarId::CE, "%Y-%m", "2026-12", "does not give a whole date"},
        {CalendarId::JPN, "%Y-%m-%d", "8-12-08", "does not give a whole date"},
        {CalendarId::CHN, "iso", "2026-01bis-05", "no such day in the calendar CHN"},
        {CalendarId::CE, "%Y-%m-%d %K", "2026-12-08 JC", "at 'JC'"},
        {CalendarId::CE, "%J", "99999999999", "beyond the range"},
    };
    for (const Case& c : cases) {
        QString error;
        if (c.text == nullptr) {
            EXPECT_FALSE(DatePattern::Compile(c.pattern, c.calendar, PatternTexts{}, error))
                << c.pattern;
        } else {
            EXPECT_FALSE(ParseDatePattern(c.pattern, c.calendar, QString::fromUtf8(c.text),
                                          PatternTexts{}, error))
                << c.pattern << " " << c.text;
        }
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason)))
            << (c.text ? c.text : c.pattern) << ": " << error.toStdString();
    }
    // The reason in German where the interface speaks German.
    QString error;
    EXPECT_FALSE(DatePattern::Compile("%W", CalendarId::CE, {kGerman, &GetText}, error));
    EXPECT_EQ(error, "der Kalender CE hat kein Feld %W");
}

TEST_F(DatePatternTest, NamesAreReadInAnyCaseAndShortForm) {
    const std::int64_t jdn = JdnOfCivil(2026, 12, 8);
    const PatternTexts german{kGerman, &GetText};
    for (const char* text :
         {"dienstag, 8. dezember 2026", "Die, 08. Dez 2026", "DIE, 8. DEZEMBER 2026"}) {
        QString error;
        EXPECT_EQ(ParseDatePattern("%A, %d. %B %Y", CalendarId::CE, QString::fromUtf8(text), german,
                                   error),
                  jdn)
            << text << ": " << error.toStdString();
    }
    QString error;
    EXPECT_EQ(FormatDatePattern("%a %-d %b %Y", CalendarId::CE, jdn, german, error),
              QString::fromUtf8("Die 8 Dez 2026"));
    // French: lower-case names, accents read in any case, "juin" and "juil" told apart.
    const PatternTexts french{kFrench, &GetText};
    EXPECT_EQ(FormatDatePattern("LONG", CalendarId::CE, jdn, french, error),
              QString::fromUtf8("mardi 8 décembre 2026"));
    const std::pair<const char*, std::int64_t> frenchTexts[] = {
        {"MARDI 8 DÉCEMBRE 2026", jdn},
        {"mar 8 déc 2026", jdn},
        {"dim 7 juin 2026", JdnOfCivil(2026, 6, 7)},
        {"mar 7 juil 2026", JdnOfCivil(2026, 7, 7)}};
    for (const auto& [text, day] : frenchTexts) {
        EXPECT_EQ(ParseDatePattern("%a %-d %b %Y", CalendarId::CE, QString::fromUtf8(text), french,
                                   error),
                  day)
            << text << ": " << error.toStdString();
    }
}

}  // namespace
}  // namespace daybridge
