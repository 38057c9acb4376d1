#include "cli/cli_options.h"

#include <QRegularExpression>
#include <algorithm>
#include <string_view>

#include "calendar/calendar_table.h"
#include "calendar/gregorian_switch.h"
#include "calendar/week_fiscal_rules.h"
#include "cli/cli_help.h"
#include "env/holiday_files.h"
#include "workdays/holiday_export.h"

namespace daybridge::cli {
namespace {

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

// The calendars a date field can be set to: every calendar of the registry.
std::optional<CalendarId> FieldCalendar(const QString& code) {
    return CalendarOfCode(code.trimmed());
}

// One option's value being stored.
struct OptionValue {
    const QString& name;
    const QString& value;
    Options& o;
    QString& error;

    // False, with `error` naming what the option takes.
    bool Bad(const QString& allowed) const {
        error = QStringLiteral("invalid value '%1' for %2 (expected %3)").arg(value, name, allowed);
        return false;
    }
};

bool TakeSettingsPath(const OptionValue& v) {
    if (v.value.isEmpty()) {
        return v.Bad("a file name");
    }
    v.o.settingsPath = v.value;
    return true;
}

bool TakeDateFormat(const OptionValue& v) {
    const QString order = v.value.toUpper();
    if (order == "YMD") {
        v.o.dateFormat = kDateFormatYMD;
    } else if (order == "DMY") {
        v.o.dateFormat = kDateFormatDMY;
    } else if (order == "MDY") {
        v.o.dateFormat = kDateFormatMDY;
    } else {
        return v.Bad("YMD, DMY or MDY");
    }
    return true;
}

bool TakeSeparator(const OptionValue& v) {
    if (v.value != "-" && v.value != "/" && v.value != ".") {
        return v.Bad("-, / or .");
    }
    v.o.dateSeparator = v.value;
    return true;
}

bool TakeThousands(const OptionValue& v) {
    if (v.value == "," || v.value == ".") {
        v.o.thousandsSeparator = v.value;
    } else if (v.value.toLower() == "none") {
        v.o.thousandsSeparator = QString();
    } else {
        return v.Bad(", or . or none");
    }
    return true;
}

// --first, --second
bool TakeFieldCalendar(const OptionValue& v) {
    const std::optional<CalendarId> calendar = FieldCalendar(v.value);
    if (!calendar) {
        return v.Bad(CalendarChoices());
    }
    (v.name == "--first" ? v.o.firstCalendar : v.o.secondCalendar) = calendar;
    return true;
}

bool TakeGregorianSwitch(const OptionValue& v) {
    v.o.gregorianSwitch = GregorianSwitchOfText(v.value);
    return v.o.gregorianSwitch ||
           v.Bad("a date YYYY-MM-DD from 0200-03-01 to 9999-12-31, rome or britain");
}

bool TakeWeekRule(const OptionValue& v) {
    v.o.weekRule = WeekRuleOfText(v.value);
    return v.o.weekRule ||
           v.Bad("iso, us, mideast, a WEEKNUM type or DAY/JAN1|4DAYS|FULL|CALENDAR");
}

bool TakeFiscalYear(const OptionValue& v) {
    v.o.fiscalYear = MonthFiscalRuleOfText(v.value);
    return v.o.fiscalYear ||
           v.Bad("the first month, jan..dec or 1..12, then optionally /end or /start");
}

bool TakeFiscalWeeks(const OptionValue& v) {
    v.o.fiscalWeeks = WeekFiscalRuleOfText(v.value);
    return v.o.fiscalWeeks ||
           v.Bad("retail, or last|nearest/DAY/MONTH/445|454|544[/PERIOD[/end|start]]");
}

bool TakeMaxErrors(const OptionValue& v) {
    static const QRegularExpression digits("^[0-9]{1,5}$");
    const int n = digits.match(v.value).hasMatch() ? v.value.toInt() : -1;
    if (n < 0 || n > 32767) {
        return v.Bad("a number from 0 to 32767");
    }
    v.o.maxErrors = n;
    return true;
}

bool TakeLanguage(const OptionValue& v) {
    // The codes in the order of the language numbers.
    const QStringList codes = {QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr")};
    v.o.language = LanguageOfNumber(codes.indexOf(v.value.toLower()));
    return v.o.language || v.Bad("en, de or fr");
}

bool TakeWeekend(const OptionValue& v) {
    v.o.weekend = ParseWeekend(v.value);
    if (!v.o.weekend && ParseDaySet(v.value) == WorkdayCalendar::kAllDays) {
        v.error = QStringLiteral(
                      "invalid value '%1' for %2: not all seven days can be weekend days; at "
                      "least one day of the week must be a working day")
                      .arg(v.value, v.name);
        return false;
    }
    return v.o.weekend ||
           v.Bad("a mask such as 0000011 (Monday first) or day names such as sat,sun");
}

bool TakeHolidays(const OptionValue& v) {
    if (v.value.toLower() == "none") {
        v.o.holidays = nullptr;
        return true;
    }
    QString why;
    v.o.holidays = LoadHolidaySet(v.value, why);
    if (*v.o.holidays == nullptr) {
        v.error = QStringLiteral("invalid value '%1' for %2: %3").arg(v.value, v.name, why);
        return false;
    }
    return true;
}

bool TakeCategories(const OptionValue& v) {
    v.o.categories = ParseCategories(v.value);
    return v.o.categories ||
           v.Bad("public, bank, school, observance, optional or all, comma-separated");
}

bool TakeHalfDays(const OptionValue& v) {
    const QString how = v.value.toLower();
    if (how != "holiday" && how != "workday") {
        return v.Bad("holiday or workday");
    }
    v.o.halfDays = how == "holiday";
    return true;
}

bool TakeListYear(const OptionValue& v) {
    static const QRegularExpression year("^[0-9]{1,4}$");
    const int n = year.match(v.value).hasMatch() ? v.value.toInt() : 0;
    if (n < kFirstExportYear || n > kLastExportYear) {
        return v.Bad("a year from 1 to 9999");
    }
    v.o.listYear = n;
    return true;
}

bool TakeIcalPath(const OptionValue& v) {
    if (v.value.isEmpty()) {
        return v.Bad("a file name, or - for standard output");
    }
    v.o.icalPath = v.value;
    return true;
}

// --to, --from
bool TakeFilterCalendar(const OptionValue& v) {
    const std::optional<CalendarId> calendar = FieldCalendar(v.value);
    if (!calendar) {
        return v.Bad(CalendarChoices());
    }
    const bool to = v.name == "--to";
    (to ? v.o.filter.settings.to : v.o.filter.settings.from) = calendar;
    v.o.filterMode = v.o.filterMode || to;
    return true;
}

bool TakeAddStep(const OptionValue& v) {
    const std::optional<FilterStep> step = ParseFilterStep(v.value);
    if (!step) {
        return v.Bad("a step such as 3m, -10d, 2y, 1y6m, 2w or 10wd");
    }
    v.o.filter.settings.mode = FilterMode::Add;
    v.o.filter.settings.step = *step;
    v.o.filterMode = true;
    return true;
}

bool TakeDiffFields(const OptionValue& v) {
    static const QRegularExpression fields("^([0-9]{1,4}),([0-9]{1,4})(,wd)?$");
    const QRegularExpressionMatch match = fields.match(v.value.toLower());
    if (!match.hasMatch() || match.captured(1).toInt() < 1 || match.captured(2).toInt() < 1) {
        return v.Bad("two field numbers such as 2,3, or 2,3,wd for working days");
    }
    FilterSettings& settings = v.o.filter.settings;
    settings.mode = FilterMode::Diff;
    settings.diffFirst = match.captured(1).toInt();
    settings.diffSecond = match.captured(2).toInt();
    settings.diffWorkdays = match.hasCaptured(3);
    v.o.filterMode = true;
    return true;
}

bool TakeField(const OptionValue& v) {
    static const QRegularExpression digits("^[0-9]{1,4}$");
    const int n = digits.match(v.value).hasMatch() ? v.value.toInt() : 0;
    if (n < 1) {
        return v.Bad("a field number from 1 to 9999");
    }
    v.o.filter.settings.field = n;
    return true;
}

bool TakeDelimiter(const OptionValue& v) {
    const QString& value = v.value;
    if (value.toLower() == "tab" || value == "\\t" || value == "\t") {
        v.o.filter.settings.delimiter = '\t';
    } else if (value.size() == 1 && value[0].unicode() > 32 && value[0].unicode() < 127 &&
               value[0] != u'"' && !value[0].isLetterOrNumber()) {
        v.o.filter.settings.delimiter = static_cast<char>(value[0].unicode());
    } else {
        return v.Bad("one sign such as , or ; or tab");
    }
    v.o.delimiterGiven = true;
    return true;
}

// --format, --input-format
bool TakeDateTextFormat(const OptionValue& v) {
    if (v.value.isEmpty()) {
        return v.Bad("a format such as %Y-%m-%d, or iso, long or jdn");
    }
    FilterSettings& settings = v.o.filter.settings;
    (v.name == "--format" ? settings.outputFormat : settings.inputFormat) = v.value;
    return true;
}

bool TakeOutputShape(const OptionValue& v) {
    const QString shape = v.value.toLower();
    if (shape == "lines") {
        v.o.filter.settings.output = OutputShape::Lines;
    } else if (shape == "json") {
        v.o.filter.settings.output = OutputShape::Json;
    } else if (shape == "csv") {
        v.o.filter.settings.output = OutputShape::Csv;
    } else {
        return v.Bad("lines, json or csv");
    }
    return true;
}

bool TakeToday(const OptionValue& v) {
    v.o.todayJdn = ParseTodayDate(v.value);
    return v.o.todayJdn || v.Bad("a valid date YYYY-MM-DD");
}

// --hyphen, --day-names, --include-first, --weekends, --verbose
bool TakeFlag(const OptionValue& v) {
    const std::optional<bool> flag = OnOff(v.value);
    if (!flag) {
        return v.Bad("on or off");
    }
    if (v.name == "--hyphen") {
        v.o.hyphen = flag;
    } else if (v.name == "--day-names") {
        v.o.dayNames = flag;
    } else if (v.name == "--include-first") {
        v.o.includeFirst = flag;
    } else if (v.name == "--weekends") {
        v.o.weekends = flag;
    } else {
        v.o.verbose = flag;
    }
    return true;
}

struct ValueTaker {
    const char* name;
    bool (*take)(const OptionValue&);
};

// The options with a value and what stores it; the on/off options are the rest.
constexpr ValueTaker kValueTakers[] = {
    {"--settings", TakeSettingsPath},
    {"--date-format", TakeDateFormat},
    {"--separator", TakeSeparator},
    {"--thousands", TakeThousands},
    {"--first", TakeFieldCalendar},
    {"--second", TakeFieldCalendar},
    {"--gregorian-switch", TakeGregorianSwitch},
    {"--week-rule", TakeWeekRule},
    {"--fiscal-year", TakeFiscalYear},
    {"--fiscal-weeks", TakeFiscalWeeks},
    {"--max-errors", TakeMaxErrors},
    {"--lang", TakeLanguage},
    {"--weekend", TakeWeekend},
    {"--holidays", TakeHolidays},
    {"--categories", TakeCategories},
    {"--half-days", TakeHalfDays},
    {"--list", TakeListYear},
    {"--ical", TakeIcalPath},
    {"--to", TakeFilterCalendar},
    {"--from", TakeFilterCalendar},
    {"--add", TakeAddStep},
    {"--diff", TakeDiffFields},
    {"--field", TakeField},
    {"--delimiter", TakeDelimiter},
    {"--format", TakeDateTextFormat},
    {"--input-format", TakeDateTextFormat},
    {"--output", TakeOutputShape},
    {"--today", TakeToday},
};

// Stores one option's value; false with `error` set when the value is not allowed.
bool TakeValue(const QString& name, const QString& value, Options& o, QString& error) {
    const OptionValue option{.name = name, .value = value, .o = o, .error = error};
    for (const ValueTaker& taker : kValueTakers) {
        if (name == QLatin1String(taker.name)) {
            return taker.take(option);
        }
    }
    return TakeFlag(option);
}

// The filter mode's options go together only in some ways; its input files are the arguments.
bool CheckFilterOptions(const QStringList& arguments, const QStringList& files, Options& o,
                        QString& error) {
    FilterRun& filter = o.filter;
    const auto given = [&arguments](const char* name) {
        const QString option = QString::fromLatin1(name);
        return std::any_of(arguments.begin(), arguments.end(), [&option](const QString& a) {
            return a == option || a.startsWith(option + u'=');
        });
    };
    const auto refuse = [&error](const QString& why) {
        error = why;
        return false;
    };
    const char* const filterOnly[] = {"--from",   "--field",        "--delimiter", "--header",
                                      "--strict", "--input-format", "--format",    "--output"};
    if (!o.compute.isEmpty()) {
        if (o.filterMode || o.hasLines || o.listYear || !files.isEmpty()) {
            return refuse(
                QStringLiteral("--compute runs one computation: give no program, "
                               "filter mode or --list"));
        }
        for (const char* name : filterOnly) {
            if (std::string_view(name) != "--output" && given(name)) {
                return refuse(QStringLiteral("%1 belongs to the filter mode, not to --compute")
                                  .arg(QLatin1String(name)));
            }
        }
        return true;
    }
    if (!o.filterMode) {
        for (const char* name : filterOnly) {
            if (given(name)) {
                return refuse(QStringLiteral("%1 belongs to the filter mode: give --to, --add, "
                                             "--diff, --seq or --in-text")
                                  .arg(QLatin1String(name)));
            }
        }
        return true;
    }
    const int modes =
        int{given("--add")} + int{given("--diff")} + int{given("--seq")} + int{given("--in-text")};
    if (modes > 1) {
        return refuse(QStringLiteral("give only one of --add, --diff, --seq and --in-text"));
    }
    if (o.hasLines || o.listYear) {
        return refuse(QStringLiteral("the filter mode runs no program: give no -e or --list"));
    }
    const FilterMode mode = filter.settings.mode;
    const bool sequence = !filter.sequence.isEmpty();
    if (mode == FilterMode::Diff && filter.settings.to) {
        return refuse(QStringLiteral("--diff gives a number of days: give no --to"));
    }
    if ((mode == FilterMode::Diff || mode == FilterMode::InText || sequence) &&
        filter.settings.field != 0) {
        return refuse(QStringLiteral("--field goes with --to or --add only"));
    }
    if ((mode == FilterMode::InText || sequence) && (o.delimiterGiven || filter.header)) {
        return refuse(QStringLiteral("--delimiter and --header go with fields: --field or --diff"));
    }
    if (mode == FilterMode::InText &&
        (!filter.settings.inputFormat.isEmpty() || filter.settings.output != OutputShape::Lines)) {
        return refuse(
            QStringLiteral("--in-text finds dates of its own forms and keeps the text: "
                           "give no --input-format or --output"));
    }
    if (mode == FilterMode::Diff && !filter.settings.outputFormat.isEmpty()) {
        return refuse(QStringLiteral("--diff gives a number of days: give no --format"));
    }
    if (sequence && (!files.isEmpty() || filter.strict)) {
        return refuse(QStringLiteral("--seq reads no input: give no input files or --strict"));
    }
    if (o.delimiterGiven && filter.settings.field == 0 && mode != FilterMode::Diff) {
        return refuse(QStringLiteral("--delimiter needs --field N"));
    }
    filter.inputs = files;
    return true;
}

// --seq and --compute take three values, -e one: stored from the arguments after i, which
// moves past them; false with `error` set when they are missing.
bool TakeFollowingValues(const QStringList& arguments, qsizetype& i, Options& o, QString& error) {
    const QString& arg = arguments[i];
    if (arg == "-e") {
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("-e needs a program line");
            return false;
        }
        o.lines.append(arguments[++i]);
        o.hasLines = true;
        return true;
    }
    if (i + 3 >= arguments.size()) {
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("%1 needs a value").arg(arg);
        } else if (arg == "--seq") {
            error = QStringLiteral("--seq needs three values: FROM, TO and STEP");
        } else {
            error = QStringLiteral(
                "--compute needs three values: FIRST, DIFFERENCE "
                "and SECOND (\"\" for the one to compute)");
        }
        return false;
    }
    if (arg == "--seq") {
        o.filter.sequence = arguments.mid(i + 1, 3);
        o.filterMode = true;
    } else {
        o.compute = arguments.mid(i + 1, 3);
    }
    i += 3;
    return true;
}

// An option with a value, as NAME=VALUE or NAME VALUE (then i moves past the value).
bool TakeNamedValue(const QStringList& arguments, qsizetype& i, Options& o, QString& error) {
    const QString& arg = arguments[i];
    QString name = arg;
    QString value;
    bool hasValue = false;
    const qsizetype eq = arg.indexOf('=');
    if (eq > 0) {
        name = arg.left(eq);
        value = arg.mid(eq + 1);
        hasValue = true;
    }
    if (!IsValueOption(name)) {
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
    return TakeValue(name, value, o, error);
}

// Reads the options into `o` and the other arguments into `files`.
bool ReadArguments(const QStringList& arguments, Options& o, QStringList& files, QString& error) {
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
        } else if (arg == "--in-text") {
            o.filter.settings.mode = FilterMode::InText;
            o.filterMode = true;
        } else if (arg == "--header") {
            o.filter.header = true;
        } else if (arg == "--strict") {
            o.filter.strict = true;
        } else if (arg == "--seq" || arg == "--compute" || arg == "-e") {
            if (!TakeFollowingValues(arguments, i, o, error)) {
                return false;
            }
        } else if (!TakeNamedValue(arguments, i, o, error)) {
            return false;
        }
    }
    return true;
}

// --list YEAR: the holidays of a year, with no program.
bool CheckListOptions(const QStringList& files, const Options& o, QString& error) {
    if (!o.holidays || *o.holidays == nullptr) {
        error = QStringLiteral("--list needs a holiday set: give --holidays NAME|FILE");
        return false;
    }
    if (o.hasLines || !files.isEmpty()) {
        error = QStringLiteral("--list runs no program: give no program file or -e lines");
        return false;
    }
    return true;
}

// The program: -e lines or one file.
bool CheckProgram(const QStringList& files, Options& o, QString& error) {
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

}  // namespace

QStringList FieldCalendarCodes() {
    QStringList codes;
    for (const CalendarEntry* calendar : AllCalendars()) {
        codes << QString::fromLatin1(calendar->code);
    }
    return codes;
}

bool ParseOptions(const QStringList& arguments, Options& o, QString& error) {
    QStringList files;
    if (!ReadArguments(arguments, o, files, error)) {
        return false;
    }
    if (o.help || o.version) {
        return true;
    }
    if (o.holidays && *o.holidays != nullptr &&
        !WorkdayCalendar(o.weekend.value_or(WorkdayCalendar::kSaturdaySunday), *o.holidays,
                         {o.categories, o.halfDays.value_or(false)})
             .HasWorkday()) {
        error = QStringLiteral("--weekend and --holidays leave no working day at all");
        return false;
    }
    if (!CheckFilterOptions(arguments, files, o, error)) {
        return false;
    }
    if (o.filterMode || !o.compute.isEmpty()) {
        return true;
    }
    if (o.icalPath && !o.listYear) {
        error = QStringLiteral("--ical writes the holidays that --list gives: give --list YEAR");
        return false;
    }
    if (o.listYear) {
        return CheckListOptions(files, o, error);
    }
    return CheckProgram(files, o, error);
}

void ApplyOverrides(const Options& o, AppState& state) {
    if (o.dateFormat) {
        state.settings.format.dateFormat = *o.dateFormat;
    }
    if (o.dateSeparator) {
        state.settings.format.dateSeparator = *o.dateSeparator;
    }
    if (o.thousandsSeparator) {
        state.settings.format.thousandsSeparator = *o.thousandsSeparator;
    }
    if (o.hyphen) {
        state.settings.format.hyphen = *o.hyphen;
    }
    if (o.dayNames) {
        state.settings.displayDayNames = *o.dayNames;
    }
    if (o.includeFirst) {
        state.settings.includeFirstDate = *o.includeFirst;
    }
    if (o.weekends) {
        state.settings.includeWeekends = *o.weekends;
    }
    if (o.verbose) {
        state.settings.verbose = *o.verbose;
    }
    if (o.firstCalendar) {
        state.settings.firstCalendar = *o.firstCalendar;
    }
    if (o.secondCalendar) {
        state.settings.secondCalendar = *o.secondCalendar;
    }
    if (o.gregorianSwitch) {
        SetGregorianSwitchJdn(*o.gregorianSwitch);
    }
    if (o.weekRule) {
        SetWeekDateRule(*o.weekRule);
    }
    if (o.fiscalYear) {
        SetMonthFiscalYearRule(*o.fiscalYear);
    }
    if (o.fiscalWeeks) {
        SetWeekFiscalYearRule(*o.fiscalWeeks);
    }
    if (o.maxErrors) {
        state.settings.maxNumErrors = *o.maxErrors;
    }
    if (o.language) {
        state.settings.language = *o.language;
    }
    if (o.weekend || o.holidays || o.categories || o.halfDays) {
        const HolidaySelection& now = state.settings.workdays.selection();
        state.settings.workdays = WorkdayCalendar(
            o.weekend.value_or(state.settings.workdays.weekend()),
            o.holidays ? *o.holidays : state.settings.workdays.holidaySet(),
            {o.categories ? o.categories : now.categories, o.halfDays.value_or(now.halfDays)});
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

}  // namespace daybridge::cli
