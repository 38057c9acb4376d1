#include "cli/cli_help.h"

#include <QStringList>
#include <algorithm>

#include "cli/cli_options.h"
#include "env/holiday_files.h"

namespace daybridge::cli {
namespace {

// {calendars} and {holiday sets} in a text are filled in when it is written: the calendars
// --first accepts, and the sets shipped in the data folder.
constexpr OptionHelp kOptions[] = {
    {"-e", "LINE", true, "a program line (repeatable; the input is named \"(command line)\")"},
    {"--settings", "PATH", true, "read the settings from a settings file (dbrg.usr format)"},
    {"--date-format", "YMD|DMY|MDY", false, "the date order (default YMD)"},
    {"--separator", "-|/|.", false, "the date separator (default -)"},
    {"--thousands", ",|.|none", false, "the thousands separator (default ,)"},
    {"--hyphen", "on|off", false, "hyphens in ordinal and ISO week dates (default on)"},
    {"--day-names", "on|off", false, "day names after dates (default on)"},
    {"--include-first", "on|off", false, "include the first date (default off)"},
    {"--weekends", "on|off", false, "count weekend days (default on)"},
    {"--weekend", "MASK|DAYS", true,
     "the weekend days when they are not counted: a mask of 7 digits, Monday first, 1 for a "
     "weekend day, or day names such as sat,sun, or none (default 0000011, that is sat,sun); "
     "at least one day must be a working day"},
    {"--holidays", "NAME|FILE|none", true,
     "holidays not counted either: a shipped set{holiday sets} or a rule file (default none)"},
    {"--categories", "LIST", true,
     "the categories of holidays that count, comma-separated: public, bank, school, "
     "observance, optional or all (default: the set's own, most often public,bank)"},
    {"--half-days", "holiday|workday", false,
     "whether the set's half days count as holidays or as working days (default workday)"},
    {"--list", "YEAR", true,
     "print the holidays of the set that --holidays names in a year from 1 to 9999, a line each "
     "(date, name and category, separated by tabs), instead of running a program; the weekend "
     "that --weekend gives decides where holidays are observed"},
    {"--ical", "FILE", true,
     "with --list, write the holidays to FILE (- for standard output) as an iCalendar file "
     "(RFC 5545) that calendar programs import, instead of the lines"},
    {"--verbose", "on|off", false, "verbose output (default on)"},
    {"--first", "CODE", true, "the first date's calendar: {calendars} (default CE)"},
    {"--second", "CODE", true, "the second date's calendar (default CE)"},
    {"--gregorian-switch", "DATE|rome|britain", true,
     "the first Gregorian day of the historical calendar HIS, a date YYYY-MM-DD from 0200-03-01 "
     "(default rome, 1582-10-15; britain is 1752-09-14)"},
    {"--week-rule", "RULE", true,
     "the week rule of week dates WK: iso, us, mideast, a WEEKNUM type (1, 2, 11-17, 21) or "
     "DAY/WEEK1, e.g. sun/full (default iso)"},
    {"--fiscal-year", "MONTH[/end|start]", true,
     "the first month of fiscal years FY, named by the year they end (default) or start in "
     "(default jul/end)"},
    {"--fiscal-weeks", "RULE", true,
     "the 52/53-week fiscal years FYW: retail, or END/DAY/MONTH/PATTERN[/PERIOD[/NAMING]] with "
     "END last or nearest, PATTERN 445, 454 or 544, NAMING end or start, e.g. last/sat/aug/445 "
     "(default retail)"},
    {"--max-errors", "N", true, "end the run at the N-th error; 0 = no limit (default 1)"},
    {"--lang", "en|de|fr", false, "the language of the output and messages (default en)"},
    {"--today", "YYYY-MM-DD", true, "the CE date taken as today (default: the local date)"},
    {"--compute", "FIRST DIFFERENCE SECOND", true,
     "compute the third of the three fields from the other two, as the window's Compute does "
     "(\"\" for the one to compute; a date alone converts it to --second's calendar), with "
     "the calendars of --first and --second, instead of running a program; --output json or "
     "csv writes a record of it: the kind, the three fields, the breakdown and whether working "
     "days were counted"},
    {"--to", "CODE", true,
     "filter mode: write each date read in this calendar, in its usual notation (default: the "
     "date's own calendar)"},
    {"--from", "CODE", true,
     "filter mode: the calendar of a date read without a calendar code (default CE); a code "
     "before or after a date names its own"},
    {"--add", "STEP", true,
     "filter mode: move each date by STEP, in its calendar: a number and a unit, d (days), w "
     "(weeks), m (months), y (years), parts joined (1y6m), an optional sign before (-10d), or "
     "wd (working days of the --weekend and --holidays choice, 10wd)"},
    {"--diff", "A,B[,wd]", true,
     "filter mode: add a field to each line with the days from the date in field A to the date "
     "in field B (B - A), or with wd the working days counted as the runner counts them"},
    {"--seq", "FROM TO STEP", true,
     "filter mode: list the dates from FROM to TO (both included when reached) STEP apart, one "
     "a line; no input is read"},
    {"--in-text", "", false,
     "filter mode: convert every date inside running text, leaving every other character as "
     "it was; dates are YYYY-MM-DD and the --date-format order with the --separator sign and "
     "a 4-digit year, not glued to letters or digits; what does not read as a valid date stays"},
    {"--field", "N", true,
     "filter mode: the date is field N (from 1) of each line, separated by --delimiter; the "
     "other fields stay as they were (default: the whole line is the date)"},
    {"--delimiter", "SIGN|tab", true,
     "filter mode: the field separator (default ,); a field in double quotes may hold it"},
    {"--header", "", false, "filter mode: keep the first line of each input as it is"},
    {"--strict", "", false,
     "filter mode: stop at the first bad line (default: report it with its number on stderr, "
     "keep it as it was, and go on)"},
    {"--format", "FORMAT", true,
     "filter mode: write dates by FORMAT instead of the usual notation: fields such as %Y "
     "(year), %m (month), %d (day), %B (month name), %A (weekday), %j (day of the year), %G-W%V "
     "(ISO week), %K (calendar code), %E (era), %% (a %), with literal text between, or a named "
     "form: iso, long or jdn (docs/formats.md lists the fields)"},
    {"--input-format", "FORMAT", true,
     "filter mode: read dates without a calendar code by FORMAT (fields as for --format) in "
     "the calendar of --from; not with --in-text"},
    {"--output", "lines|json|csv", false,
     "filter mode and --compute: write each line with its result (default lines), or a record of "
     "each date "
     "for scripts: a JSON object a line, or CSV rows under a header row; a bad line's record "
     "holds its error"},
    {"--version", "", false, "show the version and exit"},
    {"-h, --help", "", false, "show the help and exit"},
};

constexpr ExitStatusHelp kExitStatuses[] = {
    {0, "the run ended with no error counted (filter mode: every line worked)"},
    {1,
     "an error was reported or ended the run, or the output could not be written (full disk, "
     "closed pipe); filter mode: a bad line was reported (or ended the run with --strict), or "
     "an input could not be read"},
    {2,
     "the program was refused before it ran (missing, empty, a folder or device, unreadable, "
     "over 64 MiB, control characters), the text data file or the settings file could not be "
     "loaded, or the command line was wrong"},
    {130,
     "the run was stopped: Ctrl+C, or a prompt cancelled, answered empty or left at end of "
     "input"},
};

constexpr const char* kValueForm = "a value may also be given as --option=VALUE";

QString OptionText(const OptionHelp& option) {
    QString text = QString::fromUtf8(option.text);
    text.replace(QStringLiteral("{calendars}"), CalendarChoices());
    if (text.contains(QStringLiteral("{holiday sets}"))) {
        // Many sets are not listed here: holidays.md lists them.
        const QString sets = ShippedSetsToName(QString());
        text.replace(QStringLiteral("{holiday sets}"),
                     sets.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(sets));
    }
    return text;
}

// `text` after `head` (indented by two blanks), in lines of at most 79 characters whose text
// starts at column `column`; the text starts on a line of its own when the head is too wide.
QString HangingParagraph(const QString& head, const QString& text, qsizetype column) {
    constexpr qsizetype kWidth = 79;
    QString result = QStringLiteral("  ") + head;
    qsizetype lineLength = result.size();
    if (lineLength + 2 > column) {
        result += u'\n';
        lineLength = 0;
    }
    QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = words.size() - 1; i > 0; --i) {
        if (words[i - 1] == QLatin1String("(default")) {
            words[i - 1] += u' ' + words.takeAt(i);  // "(default 1)" stays on one line
        }
    }
    bool lineHasWord = false;
    for (const QString& word : words) {
        if (lineHasWord && lineLength + 1 + word.size() > kWidth) {
            result += u'\n';
            lineLength = 0;
            lineHasWord = false;
        }
        if (!lineHasWord) {
            result += QString(column - lineLength, u' ');
            lineLength = column;
        } else {
            result += u' ';
            ++lineLength;
        }
        result += word;
        lineLength += word.size();
        lineHasWord = true;
    }
    return result + u'\n';
}

// Text for man(7): the characters troff would read as its own escaped, "-" as a minus sign
// (so options can be searched and copied), and no line starting with a control character.
QString Roff(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c == u'\\') {
            out += QStringLiteral("\\e");
        } else if (c == u'-') {
            out += QStringLiteral("\\-");
        } else {
            out += c;
        }
    }
    if (out.startsWith(u'.') || out.startsWith(u'\'')) {
        out.prepend(QStringLiteral("\\&"));
    }
    return out;
}

QString Bold(const QString& text) {
    return QStringLiteral("\\fB") + Roff(text) + QStringLiteral("\\fR");
}

}  // namespace

QString CalendarChoices() {
    QStringList codes = FieldCalendarCodes();
    const QString last = codes.isEmpty() ? QString() : codes.takeLast();
    return codes.isEmpty() ? last
                           : codes.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

std::span<const OptionHelp> OptionTable() {
    return kOptions;
}

std::span<const ExitStatusHelp> ExitStatusTable() {
    return kExitStatuses;
}

bool IsValueOption(const QString& name) {
    return std::any_of(std::begin(kOptions), std::end(kOptions), [&name](const OptionHelp& o) {
        return o.names[0] == '-' && o.names[1] == '-' && o.value[0] != '\0' &&
               name == QLatin1String(o.names);
    });
}

QString UsageText() {
    QString text = QStringLiteral(
        "Usage: daybridge-batch [options] FILE\n"
        "       daybridge-batch [options] -e LINE [-e LINE]...\n"
        "       daybridge-batch [options] --to CODE|--add STEP|--diff A,B [FILE]...\n"
        "       daybridge-batch [options] --in-text [--to CODE] [FILE]...\n"
        "       daybridge-batch [options] --seq FROM TO STEP\n"
        "       daybridge-batch [options] --compute FIRST DIFFERENCE SECOND\n"
        "\n"
        "Runs a Daybridge batch program, from FILE (- for standard input) or from the -e\n"
        "lines (one program line each), as the window's \"Process file\" does. The program\n"
        "is read once; LF, CR LF and mixed line ends run. The output text is written to\n"
        "stdout, messages to stderr as TITLE: MESSAGE. An input prompt is written to\n"
        "stderr and answered by one line of stdin; end of input answers Cancel. Ctrl+C\n"
        "stops the run after the current line.\n"
        "\n"
        "The run starts from the built-in defaults, not the user's settings file.\n"
        "\n"
        "Filter mode (--to, --add, --diff, --seq, --in-text) runs no program: it reads\n"
        "dates from the FILEs or standard input, one a line or as a field (--field), and\n"
        "writes each line with its result to stdout, streamed, keeping each line's end\n"
        "(LF or CR LF). A line that cannot be worked on is kept as it was and reported\n"
        "on stderr with its input and line number; the exit status is then 1.\n"
        "\n");
    text += QStringLiteral("Options (%1):\n").arg(QLatin1String(kValueForm));
    for (const OptionHelp& option : kOptions) {
        QString head = QString::fromUtf8(option.names);
        if (option.value[0] != '\0') {
            head += u' ' + QString::fromUtf8(option.value);
        }
        text += HangingParagraph(head, OptionText(option), 27);
    }
    text += QStringLiteral("\nExit status:\n");
    for (const ExitStatusHelp& exit : kExitStatuses) {
        text += HangingParagraph(QString::number(exit.status), QString::fromUtf8(exit.text), 7);
    }
    return text;
}

QString ManOptionsSection() {
    QString valueForm = QString::fromUtf8(kValueForm);
    valueForm[0] = valueForm[0].toUpper();
    QString page = Roff(valueForm).replace(QStringLiteral("\\-\\-option=VALUE"),
                                           QStringLiteral("\\fB\\-\\-option=\\fIVALUE\\fR")) +
                   QStringLiteral(".\n");
    for (const OptionHelp& option : kOptions) {
        QStringList names;
        for (const QString& name : QString::fromUtf8(option.names).split(QStringLiteral(", "))) {
            names << Bold(name);
        }
        QString head = names.join(QStringLiteral(", "));
        const QString value = QString::fromUtf8(option.value);
        if (option.placeholder) {
            head += QStringLiteral(" \\fI") + Roff(value) + QStringLiteral("\\fR");
        } else if (!value.isEmpty()) {
            QStringList words;
            for (const QString& word : value.split(u'|')) {
                words << Bold(word);
            }
            head += u' ' + words.join(u'|');
        }
        page += QStringLiteral(".TP\n") + head + u'\n' + Roff(OptionText(option)) + u'\n';
    }
    return page;
}

QString ManExitStatusSection() {
    QString page;
    for (const ExitStatusHelp& exit : kExitStatuses) {
        page += QStringLiteral(".TP\n.B %1\n").arg(exit.status) +
                Roff(QString::fromUtf8(exit.text)) + u'\n';
    }
    return page;
}

}  // namespace daybridge::cli
