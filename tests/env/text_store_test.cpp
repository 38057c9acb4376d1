#include "env/text_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <set>

#include "app/captions.h"
#include "calendar/calendar_table.h"
#include "env/paths.h"
#include "sidekit/sidekit.h"
#include "support/program_text.h"

namespace daybridge {
namespace {

struct MessageCase {
    std::int32_t code;
    const char* message;
};

class LoaderMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(LoaderMessages, AreExactAndNameTheFile) {
    const QString path = QStringLiteral("/opt/x/dbrg_text.dat");
    const QString expected = QString::fromUtf8(GetParam().message);
    EXPECT_EQ(LoaderMessage(GetParam().code, path),
              expected.isEmpty() ? expected : expected + QStringLiteral("\r\n") + path);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LoaderMessages,
    ::testing::Values(
        MessageCase{1, ""}, MessageCase{84, ""}, MessageCase{0, "No program text was read."},
        MessageCase{-1, "Cannot open file containing program text."},
        MessageCase{-2, "Particular memory allocation error."},
        MessageCase{-3, "Too much program text (more than 500 lines or 4194304 bytes)."},
        MessageCase{-4, "Text not recovered."}, MessageCase{-5, "Error -5"},
        MessageCase{-6, "File is empty."}, MessageCase{-7, "Error reading file."},
        MessageCase{-8, "General memory allocation error."}, MessageCase{-9, "Error -9"},
        MessageCase{-42, "Error -42"}, MessageCase{-500, "Error -500"},
        MessageCase{-501, "Missing string at line 1."},
        MessageCase{-537, "Missing string at line 37."},
        MessageCase{-1000, "Missing string at line 500."},
        MessageCase{-1001, "String too long at line 1."},
        MessageCase{-1500, "String too long at line 500."},
        MessageCase{-1501, "Duplicate in program text at line 1."},
        MessageCase{-1503, "Duplicate in program text at line 3."},
        MessageCase{INT32_MIN, "Duplicate in program text at line 2147482148."}));

TEST(FolderFilePath, JoinsWithOneSeparator) {
    EXPECT_EQ(FolderFilePath(QStringLiteral("/"), QStringLiteral("dbrg_text.dat")),
              QStringLiteral("/dbrg_text.dat"));
    EXPECT_EQ(FolderFilePath(QStringLiteral("C:\\"), QStringLiteral("dbrg_text.dat")),
              QStringLiteral("C:\\dbrg_text.dat"));
    EXPECT_EQ(FolderFilePath(QStringLiteral("/opt/daybridge/bin"), QStringLiteral("a.dat")),
              QStringLiteral("/opt/daybridge/bin/a.dat"));
}

// An entry for every required identifier but those given, with texts "t<id>".
QByteArray RequiredEntries(const std::set<int>& except = {}) {
    QByteArray bytes;
    for (int id = 0; id <= 1000; ++id) {
        if (IsRequiredTextId(id) && except.count(id) == 0) {
            bytes += QByteArray::number(id) + " \"t" + QByteArray::number(id) + "\" \"t\" \"t\"\n";
        }
    }
    return bytes;
}

int RequiredCount() {
    return static_cast<int>(RequiredEntries().count('\n'));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Texts of up to 1024 characters come back whole.
TEST(LoadProgramText, LoadsAndLooksUpInEachLanguage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("dbrg_text.dat"));
    const QByteArray german = QByteArray("\xE2\x82\xAC").repeated(1024);  // 1024 euro signs
    WriteFile(path, RequiredEntries({21, 59, 71}) +
                        "21 \"Error\" \"Fehler\" \"Erreur\"\n"
                        "59 \"at line\" \"in Zeile\" \"\xC3\xA0 la ligne\"\n"
                        "71 \"Value overflow\" \"Wert\xC3\xBC"
                        "berlauf\" \"D\xC3\xA9passement\"\n5 \"" +
                        QByteArray(1024, 'x') + "\" \"" + german + "\" \"x\"\n");
    QString failure = QStringLiteral("stale");
    ASSERT_EQ(LoadProgramText(path, &failure), RequiredCount() + 1);
    EXPECT_TRUE(failure.isEmpty());
    EXPECT_EQ(GetText(21, kEnglish), QStringLiteral("Error"));
    EXPECT_EQ(GetText(21, kGerman), QStringLiteral("Fehler"));
    EXPECT_EQ(GetText(71, kGerman), QStringLiteral("Wertüberlauf"));
    EXPECT_EQ(GetText(5, kEnglish), QString(1024, QLatin1Char('x')));
    EXPECT_EQ(GetText(5, kGerman), QString(1024, QChar(0x20AC)));
    // Switching the language needs no reload; unknown identifiers give nothing.
    EXPECT_EQ(GetText(59, kGerman), QStringLiteral("in Zeile"));
    EXPECT_EQ(GetText(59, kEnglish), QStringLiteral("at line"));
    EXPECT_EQ(GetText(59, kFrench), QStringLiteral("à la ligne"));
    EXPECT_TRUE(GetText(60, kEnglish).isEmpty());
    SetMainWindowReady(true);
    EXPECT_EQ(GetText(21, kGerman), QStringLiteral("Fehler"));
    SetMainWindowReady(false);
}

// A missing file: golden_missing_text_data.
TEST(LoadProgramText, ARefusedFileSaysWhyAndWhere) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("dbrg_text.dat"));
    struct Case {
        QByteArray bytes;
        std::int32_t code;
        const char* message;
    };
    const Case cases[] = {
        {RequiredEntries({8}), kRequiredTextMissing, "Missing text 8"},
        {RequiredEntries({10}), kRequiredTextMissing, "Missing text 10"},
        {RequiredEntries({21}), kRequiredTextMissing, "Missing text 21"},
        {RequiredEntries({59}), kRequiredTextMissing, "Missing text 59"},
        {RequiredEntries({205}), kRequiredTextMissing, "Missing text 205"},
        {"1 \"a\" \"b\" \"c\" \"d\" \"e\" \"f\" \"g\"\n", -501, "More than 6 texts at line 1."},
        {"1 \"a\"\n", -501, "Missing string at line 1."},
    };
    for (const Case& c : cases) {
        WriteFile(path, c.bytes);
        QString failure;
        EXPECT_EQ(LoadProgramText(path, &failure), c.code) << c.message;
        const QString expected = QString::fromLatin1(c.message);
        EXPECT_TRUE(failure.startsWith(expected) && !failure[expected.size()].isDigit())
            << failure.toStdString();
        EXPECT_TRUE(failure.endsWith(QStringLiteral("\r\n") + path)) << failure.toStdString();
    }
}

// --- the data file shipped with the program (found beside the program by every golden
// batch program, and its absence: golden_missing_text_data) ---

class ShippedTexts : public ::testing::Test {
  protected:
    void SetUp() override {
        QString failure;
        ASSERT_TRUE(testing::LoadShippedTexts(&failure)) << failure.toStdString();
    }
};

TEST_F(ShippedTexts, HoldEveryLanguageForEveryIdentifier) {
    std::set<int> ids;  // with the names of the calendars and of their months
    for (const CalendarEntry* calendar : AllCalendars()) {
        ids.insert(calendar->nameText);
        for (int month = 0; month < calendar->monthNames.textCount; ++month) {
            ids.insert(calendar->monthNames.firstText + month);
        }
    }
    ids.erase(0);
    for (int id = 0; id <= 1000; ++id) {
        if (IsRequiredTextId(id)) {
            ids.insert(id);
        }
    }
    EXPECT_GT(ids.size(), 150u);
    for (const int id : ids) {
        for (const Language language : kLanguages) {
            EXPECT_FALSE(GetText(id, language).trimmed().isEmpty())
                << "text " << id << " in language " << LanguageNumber(language);
        }
    }
    EXPECT_EQ(GetText(1, kEnglish), QStringLiteral("Daybridge"));
    EXPECT_EQ(GetText(1, kGerman), QStringLiteral("Daybridge"));
}

TEST_F(ShippedTexts, FitTheMessagesBuiltAroundThem) {
    // Texts followed directly by the line number carry their own word for "line".
    for (const int id : {28, 29, 39, 41, 42, 44, 46, 47, 49, 53, 54, 55, 57, 68, 69, 79}) {
        EXPECT_TRUE(GetText(id, kEnglish).endsWith(QStringLiteral(" line"))) << id;
        EXPECT_TRUE(GetText(id, kGerman).endsWith(QStringLiteral(" Zeile"))) << id;
        EXPECT_TRUE(GetText(id, kFrench).endsWith(QStringLiteral(" ligne"))) << id;
    }
    EXPECT_TRUE(GetText(59, kEnglish).endsWith(QStringLiteral("line")));
    EXPECT_TRUE(GetText(59, kGerman).endsWith(QStringLiteral("Zeile")));
    // Text 48 is followed by "(": it ends in a blank; texts joined with a blank do not.
    EXPECT_TRUE(GetText(48, kEnglish).endsWith(QLatin1Char(' ')));
    EXPECT_TRUE(GetText(48, kGerman).endsWith(QLatin1Char(' ')));
    EXPECT_TRUE(GetText(48, kFrench).endsWith(QLatin1Char(' ')));
    for (const int id : {16, 17, 21, 59, 61, 64, 65, 70, 71, 72, 73, 74, 75, 80, 81, 82, 83, 84}) {
        for (const Language language : kLanguages) {
            const QString text = GetText(id, language);
            EXPECT_EQ(text, text.trimmed()) << id;
            EXPECT_FALSE(text.endsWith(QLatin1Char('.')) || text.endsWith(QLatin1Char(':'))) << id;
        }
    }
    // The error summary reads as a sentence: "3 errors, ...".
    EXPECT_EQ(GetText(21, kEnglish).toLower(), QStringLiteral("error"));
    EXPECT_EQ(GetText(8, kEnglish).toLower(), QStringLiteral("errors"));
    EXPECT_TRUE(GetText(10, kEnglish).endsWith(QLatin1Char('.')));
    EXPECT_TRUE(GetText(10, kGerman).endsWith(QLatin1Char('.')));
    EXPECT_TRUE(GetText(10, kFrench).endsWith(QLatin1Char('.')));
}

// Every caption, compute message, day and month name has its text in every language, and a
// translation is not the English text left in place where the languages' words differ.
TEST_F(ShippedTexts, CaptionsMessagesAndNamesInEveryLanguage) {
    int sameAsEnglish = 0;
    for (int c = 0; c < static_cast<int>(Caption::Count_); ++c) {
        const auto caption = static_cast<Caption>(c);
        for (const Language language : kLanguages) {
            EXPECT_FALSE(CaptionText(caption, language).trimmed().isEmpty())
                << "caption " << c << " in language " << LanguageNumber(language);
        }
        sameAsEnglish += CaptionText(caption, kFrench) == CaptionText(caption, kEnglish) ? 1 : 0;
    }
    // Only words both languages share ("plus", "Daybridge") stay as they are.
    EXPECT_LT(sameAsEnglish, 6);
    for (const int row : {0, 1, 3, 4, 5, 6, 8, 9}) {
        for (const Language language : kLanguages) {
            EXPECT_FALSE(ComputeMessage(static_cast<ComputeMessageRow>(row), language).isEmpty())
                << "message " << row << " in language " << LanguageNumber(language);
        }
    }
    for (const Language language : kLanguages) {
        std::set<QString> names;
        for (int day = 0; day < 7; ++day) {
            names.insert(DayNameIn(day, language));
        }
        for (int month = 1; month <= 12; ++month) {
            names.insert(MonthNameIn(month, language));
        }
        names.erase(QString());
        EXPECT_EQ(names.size(), 19u) << "language " << LanguageNumber(language);
    }
}

}  // namespace
}  // namespace daybridge
