#include "cli/cli_options.h"

#include <QRegularExpression>

#include "calendar/calendar_table.h"
#include "env/holiday_files.h"

namespace daybridge::cli {
namespace {

// Options that take a value, written "--name VALUE" or "--name=VALUE".
const QStringList kValueOptions = {
    "--settings",      "--date-format", "--separator", "--thousands", "--hyphen", "--day-names",
    "--include-first", "--weekends",    "--verbose",   "--first",     "--second", "--max-errors",
    "--lang",          "--today",       "--weekend",   "--holidays",
};

std::optional<bool> OnOff(const QString& value) {
    const QString v = value.toLower();
    if (v == "on") {
        return true;
    }
    if (v == "off") {
        return false;
    }
    return std::nullopt;
}

// The calendars a date field can be set to.
std::optional<int> FieldCalendar(const QString& code) {
    const int index = CalendarIndexOfCode(code.trimmed());
    switch (index) {
        case kCE:
        case kJC:
        case kJDN:
        case kORD:
        case kISO:
        case kLPW:
        case kLPM:
        case kHEB:
        case kISL:
        case kPER:
        case kCOP:
        case kETH:
        case kFRR:
        case kIND:
        case kMAY:
        case kMJD:
            return index;
        default:
            return std::nullopt;
    }
}

// Stores one option's value; false with `error` set when the value is not allowed.
bool TakeValue(const QString& name, const QString& value, Options& o, QString& error) {
    auto bad = [&](const QString& allowed) {
        error = QStringLiteral("invalid value '%1' for %2 (expected %3)").arg(value, name, allowed);
        return false;
    };
    if (name == "--settings") {
        if (value.isEmpty()) {
            return bad("a file name");
        }
        o.settingsPath = value;
    } else if (name == "--date-format") {
        const QString v = value.toUpper();
        if (v == "YMD") {
            o.dateFormat = kDateFormatYMD;
        } else if (v == "DMY") {
            o.dateFormat = kDateFormatDMY;
        } else if (v == "MDY") {
            o.dateFormat = kDateFormatMDY;
        } else {
            return bad("YMD, DMY or MDY");
        }
    } else if (name == "--separator") {
        if (value != "-" && value != "/" && value != ".") {
            return bad("-, / or .");
        }
        o.dateSeparator = value;
    } else if (name == "--thousands") {
        if (value == "," || value == ".") {
            o.thousandsSeparator = value;
        } else if (value.toLower() == "none") {
            o.thousandsSeparator = QString();
        } else {
            return bad(", or . or none");
        }
    } else if (name == "--first" || name == "--second") {
        const std::optional<int> calendar = FieldCalendar(value);
        if (!calendar) {
            return bad(
                "CE, JC, ISO, JDN, ORD, LPW, LPM, HEB, ISL, PER, COP, ETH, FRR, IND, MAY or MJD");
        }
        (name == "--first" ? o.firstCalendar : o.secondCalendar) = calendar;
    } else if (name == "--max-errors") {
        static const QRegularExpression digits("^[0-9]{1,5}$");
        const int n = digits.match(value).hasMatch() ? value.toInt() : -1;
        if (n < 0 || n > 32767) {
            return bad("a number from 0 to 32767");
        }
        o.maxErrors = n;
    } else if (name == "--lang") {
        const QString v = value.toLower();
        if (v == "en") {
            o.language = kEnglish;
        } else if (v == "de") {
            o.language = kGerman;
        } else {
            return bad("en or de");
        }
    } else if (name == "--weekend") {
        o.weekend = ParseWeekend(value);
        if (!o.weekend) {
            return bad("a mask such as 0000011 (Monday first) or day names such as sat,sun");
        }
    } else if (name == "--holidays") {
        if (value.toLower() == "none") {
            o.holidays = nullptr;
        } else {
            QString why;
            o.holidays = LoadHolidaySet(value, why);
            if (*o.holidays == nullptr) {
                error = QStringLiteral("invalid value '%1' for %2: %3").arg(value, name, why);
                return false;
            }
        }
    } else if (name == "--today") {
        o.todayJdn = ParseTodayDate(value);
        if (!o.todayJdn) {
            return bad("a valid date YYYY-MM-DD");
        }
    } else {
        const std::optional<bool> flag = OnOff(value);
        if (!flag) {
            return bad("on or off");
        }
        if (name == "--hyphen") {
            o.hyphen = flag;
        } else if (name == "--day-names") {
            o.dayNames = flag;
        } else if (name == "--include-first") {
            o.includeFirst = flag;
        } else if (name == "--weekends") {
            o.weekends = flag;
        } else {
            o.verbose = flag;
        }
    }
    return true;
}

}  // namespace

bool ParseOptions(const QStringList& arguments, Options& o, QString& error) {
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (optionsEnded || !arg.startsWith('-') || arg == "-") {
            files.append(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (arg == "-e") {
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("-e needs a program line");
                return false;
            }
            o.lines.append(arguments[++i]);
            o.hasLines = true;
        } else {
            QString name = arg;
            QString value;
            bool hasValue = false;
            const qsizetype eq = arg.indexOf('=');
            if (eq > 0) {
                name = arg.left(eq);
                value = arg.mid(eq + 1);
                hasValue = true;
            }
            if (!kValueOptions.contains(name)) {
                error = QStringLiteral("unknown option '%1'").arg(name);
                return false;
            }
            if (!hasValue) {
                if (i + 1 >= arguments.size()) {
                    error = QStringLiteral("%1 needs a value").arg(name);
                    return false;
                }
                value = arguments[++i];
            }
            if (!TakeValue(name, value, o, error)) {
                return false;
            }
        }
    }
    if (o.help || o.version) {
        return true;
    }
    if (o.holidays && *o.holidays != nullptr &&
        !WorkdayCalendar(o.weekend.value_or(WorkdayCalendar::kSaturdaySunday), *o.holidays)
             .HasWorkday()) {
        error = QStringLiteral("--weekend and --holidays leave no working day at all");
        return false;
    }
    if (o.hasLines) {
        if (!files.isEmpty()) {
            error = QStringLiteral("give either a program file or -e lines, not both");
            return false;
        }
        for (const QString& line : o.lines) {
            for (const QChar c : line) {
                if (c.unicode() < 32 && c != '\t') {
                    error = QStringLiteral("a -e line holds a control character");
                    return false;
                }
            }
        }
        return true;
    }
    if (files.isEmpty()) {
        error = QStringLiteral("no program file given");
        return false;
    }
    if (files.size() > 1) {
        error = QStringLiteral("only one program file can be run");
        return false;
    }
    o.file = files.front();
    return true;
}

void ApplyOverrides(const Options& o, AppState& state) {
    if (o.dateFormat) {
        state.format.dateFormat = *o.dateFormat;
    }
    if (o.dateSeparator) {
        state.format.dateSeparator = *o.dateSeparator;
    }
    if (o.thousandsSeparator) {
        state.format.thousandsSeparator = *o.thousandsSeparator;
    }
    if (o.hyphen) {
        state.format.hyphen = *o.hyphen;
    }
    if (o.dayNames) {
        state.displayDayNames = *o.dayNames;
    }
    if (o.includeFirst) {
        state.includeFirstDate = *o.includeFirst;
    }
    if (o.weekends) {
        state.includeWeekends = *o.weekends;
    }
    if (o.verbose) {
        state.verbose = *o.verbose;
    }
    if (o.firstCalendar) {
        state.firstCalendar = *o.firstCalendar;
    }
    if (o.secondCalendar) {
        state.secondCalendar = *o.secondCalendar;
    }
    if (o.maxErrors) {
        state.maxNumErrors = *o.maxErrors;
    }
    if (o.language) {
        state.language = *o.language;
    }
    if (o.weekend || o.holidays) {
        state.workdays = WorkdayCalendar(o.weekend.value_or(state.workdays.weekend()),
                                         o.holidays ? *o.holidays : state.workdays.holidaySet());
    }
}

std::optional<std::int32_t> ParseTodayDate(const QString& text) {
    // The form -?Y-M-D with 1 to 7 digits of year and 1 or 2 of month and day, read by hand:
    // compiling a regular expression cost a fifth of a millisecond at every start.
    const QString form = text.trimmed();
    qsizetype at = 0;
    const auto number = [&form, &at](int most, int& value) {
        int digits = 0;
        value = 0;
        while (at < form.size() && form[at] >= u'0' && form[at] <= u'9') {
            if (++digits > most) {
                return false;
            }
            value = 10 * value + (form[at].unicode() - u'0');  // [0, 9999999]
            ++at;
        }
        return digits > 0;
    };
    const auto dash = [&form, &at] {
        if (at < form.size() && form[at] == u'-') {
            ++at;
            return true;
        }
        return false;
    };
    const bool negative = dash();
    int year = 0;
    int month = 0;
    int day = 0;
    if (!number(7, year) || !dash() || !number(2, month) || !dash() || !number(2, day) ||
        at != form.size()) {
        return std::nullopt;
    }
    if (negative) {
        year = -year;
    }
    // Years up to 5,000,000 keep every JDN well inside the range of day numbers.
    if (year < -5000000 || year > 5000000 || month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    const std::int32_t jdn = JdnOfCivil(year, month, day, 'G');
    const DateRecord back = CivilOfJdn(jdn, 'G');
    if (back.year != year || back.month != month || back.day != day) {
        return std::nullopt;  // 31 April, 29 February in a common year
    }
    return jdn;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: daybridge-batch [options] FILE\n"
        "       daybridge-batch [options] -e LINE [-e LINE]...\n"
        "\n"
        "Runs a Daybridge batch program, from FILE (- for standard input) or from the -e lines\n"
        "(one program line each), as the window's \"Process file\" does. The program is read\n"
        "once; LF, CR LF and mixed line ends run. The output text is written to stdout,\n"
        "messages to stderr as TITLE: MESSAGE. An input prompt is written to stderr and\n"
        "answered by one line of stdin; end of input answers Cancel. Ctrl+C stops the run\n"
        "after the current line.\n"
        "\n"
        "The run starts from the built-in defaults, not the user's settings file.\n"
        "\n"
        "Options (a value may also be given as --option=VALUE):\n"
        "  -e LINE                  a program line (repeatable; the input is named\n"
        "                           \"(command line)\")\n"
        "  --settings PATH          read the settings from a settings file (dbrg.usr format)\n"
        "  --date-format YMD|DMY|MDY  the date order (default YMD)\n"
        "  --separator -|/|.        the date separator (default -)\n"
        "  --thousands ,|.|none     the thousands separator (default ,)\n"
        "  --hyphen on|off          hyphens in ordinal and ISO week dates (default on)\n"
        "  --day-names on|off       day names after dates (default on)\n"
        "  --include-first on|off   include the first date (default off)\n"
        "  --weekends on|off        count weekend days (default on)\n"
        "  --weekend MASK|DAYS      the weekend days when they are not counted: a mask of 7\n"
        "                           digits, Monday first, or day names (default 0000011,\n"
        "                           that is sat,sun)\n"
        "  --holidays NAME|FILE|none  holidays not counted either: a shipped set (germany,\n"
        "                           england-wales, france, united-states) or a rule file\n"
        "                           (default none)\n"
        "  --verbose on|off         verbose output (default on)\n"
        "  --first CODE             the first date's calendar: CE, JC, ISO, JDN, ORD, LPW,\n"
        "                           LPM, HEB, ISL, PER, COP, ETH, FRR, IND, MAY or MJD\n"
        "                           (default CE)\n"
        "  --second CODE            the second date's calendar (default CE)\n"
        "  --max-errors N           end the run at the N-th error; 0 = no limit (default 1)\n"
        "  --lang en|de             the language of the output and messages (default en)\n"
        "  --today YYYY-MM-DD       the CE date taken as today (default: the local date)\n"
        "  --version                show the version and exit\n"
        "  -h, --help               show this help and exit\n"
        "\n"
        "Exit status:\n"
        "  0    the run ended with no error counted\n"
        "  1    an error was reported or ended the run, or the output could not be written\n"
        "       (full disk, closed pipe)\n"
        "  2    the program was refused before it ran (missing, empty, a folder or device,\n"
        "       unreadable, over 64 MiB, control characters), the text data file or the\n"
        "       settings file could not be loaded, or the command line was wrong\n"
        "  130  the run was stopped: Ctrl+C, or a prompt cancelled, answered empty or left\n"
        "       at end of input\n");
}

}  // namespace daybridge::cli
