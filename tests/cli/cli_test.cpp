// The command line and the terminal output of daybridge-batch.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_help.h"
#include "cli/cli_options.h"
#include "cli/terminal_host.h"

namespace daybridge::cli {
namespace {

std::string Written(const std::vector<QString>& pieces) {
    std::FILE* file = std::tmpfile();
    {
        LineEndWriter writer(file);
        for (const QString& piece : pieces) {
            writer.write(piece);
        }
    }  // finish() on destruction
    std::rewind(file);
    std::string bytes;
    char block[256];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.append(block, n);
    }
    std::fclose(file);
    return bytes;
}

TEST(LineEndWriter, EveryLineEndBecomesOneLf) {
    struct Case {
        std::vector<QString> pieces;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"a\r\nb\r\n"}, "a\nb\n"},
        {{"a\r", "\nb\r\n"}, "a\nb\n"},  // CR LF split between two pieces
        {{"a\r", "b"}, "a\nb"},          // a lone CR at the end of a piece
        {{"a\r"}, "a\n"},                // held back until the end
        {{"a\r", "", "\n"}, "a\n"},      // an empty piece between
        {{"\r\n\r\n"}, "\n\n"},
        {{"\r\r\n"}, "\n\n"},
        {{"x\ry"}, "x\ny"},
        {{"no line end"}, "no line end"},
        {{QString::fromUtf8("gez\xc3\xa4hlt\r\n")}, "gez\xc3\xa4hlt\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Written(c.pieces), c.expected) << c.pieces.front().toStdString();
    }
}

TEST(LineEndWriter, LargeOutputIsWrittenWhole) {
    QString line = QStringLiteral("2020-W01-3 ISO\r\n");
    std::vector<QString> pieces(20000, line);
    const std::string written = Written(pieces);
    EXPECT_EQ(written.size(), 20000u * 15u);
    EXPECT_EQ(written.substr(written.size() - 15), "2020-W01-3 ISO\n");
}

TEST(WithLfLineEnds, ConvertsCrLfAndLoneCr) {
    EXPECT_EQ(WithLfLineEnds("a\r\nb\rc\n"), "a\nb\nc\n");
}

struct ParseCase {
    QStringList arguments;
    bool ok;
    QString error;  // expected beginning of the error
};

TEST(ParseOptions, RefusesWrongCommandLines) {
    const std::vector<ParseCase> cases = {
        {{}, false, "no program file given"},
        {{"a.txt", "b.txt"}, false, "only one program file"},
        {{"-e", "OUTPUT: x", "a.txt"}, false, "give either"},
        {{"-e"}, false, "-e needs"},
        {{"--verbose"}, false, "--verbose needs a value"},
        {{"--verbose", "yes", "a.txt"}, false, "invalid value 'yes' for --verbose"},
        {{"--max-errors", "32768", "a.txt"}, false, "invalid value '32768'"},
        {{"--max-errors", "-1", "a.txt"}, false, "invalid value '-1'"},
        {{"--first", "XYZ", "a.txt"}, false, "invalid value 'XYZ' for --first"},
        {{"--separator", ",", "a.txt"}, false, "invalid value ','"},
        {{"--lang", "es", "a.txt"}, false, "invalid value 'es'"},
        {{"--bogus", "a.txt"}, false, "unknown option '--bogus'"},
        {{"-x", "a.txt"}, false, "unknown option '-x'"},
        {{"-e", "OUTPUT: a\nb"}, false, "a -e line holds a control character"},
        {{"--help"}, true, ""},
        {{"--version"}, true, ""},
        {{"--", "-odd name.txt"}, true, ""},
        {{"-e", "-5"}, true, ""},
    };
    for (const ParseCase& c : cases) {
        Options options;
        QString error;
        EXPECT_EQ(ParseOptions(c.arguments, options, error), c.ok)
            << c.arguments.join(' ').toStdString();
        if (c.ok) {
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        } else {
            EXPECT_TRUE(error.startsWith(c.error)) << error.toStdString();
        }
    }
}

TEST(ParseOptions, EveryCalendarForEitherDate) {
    Options options;
    QString error;
    ASSERT_TRUE(ParseOptions({"--first", "heb", "--second=MjD", "a.txt"}, options, error))
        << error.toStdString();
    AppState state;
    ApplyOverrides(options, state);
    EXPECT_EQ(state.settings.firstCalendar, CalendarId::HEB);
    EXPECT_EQ(state.settings.secondCalendar, CalendarId::MJD);
    for (const char* code : {"AN", "VLW", "ISL", "PER", "COP", "ETH", "FRR", "IND", "MAY"}) {
        EXPECT_TRUE(ParseOptions({"--second", code, "a.txt"}, options, error)) << code;
    }
}

TEST(ParseOptions, OverridesReachTheState) {
    Options options;
    QString error;
    const QStringList arguments =
        QStringLiteral(
            "--date-format=dmy --separator . --thousands none --hyphen off "
            "--day-names=OFF --include-first on --weekends off --verbose off --first iso "
            "--second LPM --max-errors 0 --lang de --today 2024-02-29 -- -prog.txt")
            .split(QLatin1Char(' '));
    ASSERT_TRUE(ParseOptions(arguments, options, error)) << error.toStdString();
    EXPECT_EQ(options.file, "-prog.txt");
    AppState state;
    ApplyOverrides(options, state);
    EXPECT_EQ(state.settings.format.dateFormat, kDateFormatDMY);
    EXPECT_EQ(state.settings.format.dateSeparator, ".");
    EXPECT_TRUE(state.settings.format.thousandsSeparator.isEmpty());
    EXPECT_FALSE(state.settings.format.hyphen);
    EXPECT_FALSE(state.settings.displayDayNames);
    EXPECT_TRUE(state.settings.includeFirstDate);
    EXPECT_FALSE(state.settings.includeWeekends);
    EXPECT_FALSE(state.settings.verbose);
    EXPECT_EQ(state.settings.firstCalendar, CalendarId::ISO);
    EXPECT_EQ(state.settings.secondCalendar, CalendarId::LPM);
    EXPECT_EQ(state.settings.maxNumErrors, 0);
    EXPECT_EQ(state.settings.language, kGerman);
    EXPECT_EQ(options.todayJdn, 2460370);
}

TEST(ParseOptions, WithoutOverridesTheDefaultsStay) {
    Options options;
    QString error;
    ASSERT_TRUE(ParseOptions({"-e", "OUTPUT: a", "-e", "", "-e", "OUTPUT: b"}, options, error));
    EXPECT_EQ(options.lines, (QStringList{"OUTPUT: a", "", "OUTPUT: b"}));
    AppState state;
    ApplyOverrides(options, state);
    const Settings defaults;
    EXPECT_EQ(state.settings.format.dateFormat, defaults.format.dateFormat);
    EXPECT_EQ(state.settings.format.thousandsSeparator, defaults.format.thousandsSeparator);
    EXPECT_EQ(state.settings.verbose, defaults.verbose);
    EXPECT_EQ(state.settings.maxNumErrors, defaults.maxNumErrors);
}

// The help table is what the parser knows: every option it lists is read, and --help shows it
// whole within 79 columns.
TEST(OptionTable, HelpShowsEveryOptionTheParserReads) {
    const QString help = UsageText();
    const QStringList lines = help.split(u'\n');
    for (const QString& line : lines) {
        EXPECT_LE(line.size(), 79) << line.toStdString();
    }
    for (const OptionHelp& option : OptionTable()) {
        const QString names = QString::fromUtf8(option.names);
        for (const QString& name : names.split(QStringLiteral(", "))) {
            Options options;
            QString error;
            if (option.value[0] == '\0' || name == QLatin1String("-e")) {
                EXPECT_TRUE(ParseOptions({name, "-e", "OUTPUT: x"}, options, error) ||
                            !error.startsWith("unknown option"))
                    << name.toStdString();
            } else {
                EXPECT_FALSE(ParseOptions({name}, options, error));
                EXPECT_EQ(error, name + " needs a value");
            }
        }
        // The head starts a line and its text follows whole, however it is wrapped.
        QString head = QStringLiteral("\n  ") + names;
        if (option.value[0] != '\0') {
            head += u' ' + QString::fromUtf8(option.value);
        }
        const qsizetype at = help.indexOf(head);
        ASSERT_GE(at, 0) << head.toStdString();
        ASSERT_TRUE(help[at + head.size()].isSpace()) << head.toStdString();
        const qsizetype end = help.indexOf(QRegularExpression("\n(  [^ ]|\n)"), at + 1);
        const QString shown = help.mid(at + head.size(), end - at - head.size()).simplified();
        const QString text = QString::fromUtf8(option.text);
        if (!text.contains(u'{')) {  // the lists filled in are not known here
            EXPECT_EQ(shown, text) << head.toStdString();
        }
    }
}

TEST(ParseTodayDate, AcceptsOnlyRealDates) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> jdn;
    };
    const std::vector<Case> cases = {
        {"2026-12-06", 2461381},
        {"2000-01-01", 2451545},
        {"2024-02-29", 2460370},
        {"1-1-1", 1721426},
        {"0000-12-31", 1721425},
        {"2023-02-29", std::nullopt},
        {"2026-04-31", std::nullopt},
        {"2026-13-01", std::nullopt},
        {"2026-00-10", std::nullopt},
        {"20261206", std::nullopt},
        {"2026/12/06", std::nullopt},
        {"", std::nullopt},
        {"9999999-01-01", std::nullopt},
        {" 2026-12-06\n", 2461381},
        {"12345678-01-01", std::nullopt},
        {"2026-012-06", std::nullopt},
        {"--43-03-15", std::nullopt},
        {"2026-12-06-", std::nullopt},
        {"2026-12-", std::nullopt},
        {"\xef\xbc\x92"
         "026-12-06",
         std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseTodayDate(c.text), c.jdn) << c.text;
    }
    // A negative year: 15 March 44 BC is the astronomical year -43.
    const std::optional<std::int32_t> ides = ParseTodayDate("-43-03-15");
    ASSERT_TRUE(ides.has_value());
    EXPECT_EQ(*ides, JdnOfCivil(-43, 3, 15, 'G'));
}

}  // namespace
}  // namespace daybridge::cli
