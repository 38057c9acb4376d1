// The settings file, line by line (N = number of input files):
//   1        language index                        integer
//   2        date order, date separator code, thousands separator code (0 = none)
//   3        today calendar, first calendar, second calendar
//   4 - 8    include first date, count weekends, verbose, hyphen, day names    0/1/2
//   9, 10    maximum number of batch errors, auto-enlarge threshold
//   11       save results on quit                                               0/1/2
//   12 - 14  month display: "Sun"/"Mon", "CE"/"JC", "ISO"/"LPM"/"LPW"
//   15, 16   N and the selected entry, as quoted numbers (" 0", "-1")
//   17..16+N the input files
//   17+N ..  first date, difference, second date, output (empty unless saved), directory
// Lines end in CR LF; texts are quoted, a quote inside a text is doubled, and a text may span
// lines. The file is written as UTF-8 and read as UTF-8 or, failing that, Windows-1252.
//
// Reading is all or nothing: when a value cannot be read, the whole state returns to the
// built-in defaults, so a damaged file never leaves a mixture of old and default values.
// Check-box state 2 (greyed) reads as checked: a greyed box shows its tick.
#include "env/settings_file.h"

#include <QDir>
#include <QStringView>
#include <algorithm>
#include <optional>
#include <vector>

#include "env/file_text.h"
#include "env/guarded_file.h"
#include "env/text_store.h"

namespace daybridge {

namespace {

// Limits that keep a hostile file from costing unbounded time or memory. The writer stays
// within them, so a file it wrote always reads back.
constexpr qint64 kMaxSettingsBytes = 32 * 1024 * 1024;
constexpr qsizetype kMaxInputFiles = 1000;
constexpr qsizetype kMaxInputFileChars = 4096;
constexpr qsizetype kMaxFieldChars = 1024;
constexpr qsizetype kMaxSavedOutputChars = 4 * 1024 * 1024;
constexpr int kMaxErrorsLimit = 32767;

struct Value {
    QString text;
    bool quoted = false;
};

// Reads the file record by record: values separated by commas, a record ended by a line
// break outside quotes.
class SettingsReader {
  public:
    explicit SettingsReader(QString text) : text_(std::move(text)) {}

    // The next record, which must hold exactly `count` values.
    std::optional<std::vector<Value>> Record(std::size_t count) {
        if (pos_ >= text_.size()) {
            return std::nullopt;
        }
        std::vector<Value> values;
        for (;;) {
            if (values.size() == count) {
                return std::nullopt;  // more values than the line may hold
            }
            Value value;
            SkipBlanks();
            if (pos_ < text_.size() && text_[pos_] == QLatin1Char('"')) {
                if (!ReadQuoted(value.text)) {
                    return std::nullopt;
                }
                value.quoted = true;
                SkipBlanks();
            } else {
                const qsizetype start = pos_;
                while (pos_ < text_.size() && text_[pos_] != QLatin1Char(',') && !AtLineEnd()) {
                    ++pos_;
                }
                value.text = QStringView(text_).mid(start, pos_ - start).trimmed().toString();
            }
            values.push_back(std::move(value));
            if (pos_ >= text_.size()) {
                break;
            }
            if (text_[pos_] == QLatin1Char(',')) {
                ++pos_;
                continue;
            }
            if (!AtLineEnd()) {
                return std::nullopt;  // something after a closing quote
            }
            SkipLineEnd();
            break;
        }
        if (values.size() != count) {
            return std::nullopt;
        }
        return values;
    }

  private:
    bool AtLineEnd() const {
        return text_[pos_] == QLatin1Char('\r') || text_[pos_] == QLatin1Char('\n');
    }
    void SkipLineEnd() {
        if (text_[pos_] == QLatin1Char('\r') && pos_ + 1 < text_.size() &&
            text_[pos_ + 1] == QLatin1Char('\n')) {
            ++pos_;
        }
        ++pos_;
    }
    void SkipBlanks() {
        while (pos_ < text_.size() &&
               (text_[pos_] == QLatin1Char(' ') || text_[pos_] == QLatin1Char('\t'))) {
            ++pos_;
        }
    }
    // A text between double quotes; "" stands for one quote. False when it never closes.
    bool ReadQuoted(QString& out) {
        ++pos_;
        for (;;) {
            const qsizetype quote = text_.indexOf(QLatin1Char('"'), pos_);
            if (quote < 0) {
                return false;
            }
            out += QStringView(text_).mid(pos_, quote - pos_);
            pos_ = quote + 1;
            if (pos_ < text_.size() && text_[pos_] == QLatin1Char('"')) {
                out += QLatin1Char('"');
                ++pos_;
                continue;
            }
            return true;
        }
    }

    QString text_;
    qsizetype pos_ = 0;
};

// An integer written as digits with an optional "-"; nothing else.
std::optional<qint64> ReadInteger(const Value& value) {
    const QString text = value.text.trimmed();
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    if (!ok || text.isEmpty() || text.size() > 11 || text.startsWith(QLatin1Char('+'))) {
        return std::nullopt;
    }
    return number;
}

// A number read from the start of a text: leading blanks skipped, an optional sign, digits;
// whatever follows is ignored and a text without digits counts as 0. Saturates far outside
// every range the file uses.
qint64 NumericValue(const QString& text) {
    constexpr qint64 kCeiling = 1'000'000'000'000LL;
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    qint64 number = 0;
    while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
        if (number < kCeiling) {
            number = number * 10 + (text[i].unicode() - u'0');
        }
        ++i;
    }
    return negative ? -number : number;
}

std::optional<bool> CheckState(const Value& value) {
    switch (NumericValue(value.text)) {
        case 0:
            return false;
        case 1:
        case 2:
            return true;
        default:
            return std::nullopt;
    }
}

// The calendar of a stored index 0..8; the default for another number. The date fields take
// only the calendars with option buttons.
CalendarId StoredCalendar(qint64 index, bool dateField) {
    const std::optional<CalendarId> calendar = CalendarOfDescribedIndex(index);
    if (!calendar || (dateField && Calendar(*calendar).fieldChoice != FieldChoice::Option)) {
        return kDefaultCalendar;
    }
    return *calendar;
}

// Output lines end in CR LF inside the state, whatever line ends the file used.
QString WithCrLf(const QString& text) {
    bool loneBreak = false;
    for (qsizetype i = 0; i < text.size() && !loneBreak; ++i) {
        if (text[i] == QLatin1Char('\r')) {
            loneBreak = i + 1 == text.size() || text[i + 1] != QLatin1Char('\n');
            ++i;
        } else if (text[i] == QLatin1Char('\n')) {
            loneBreak = true;
        }
    }
    if (!loneBreak) {
        return text;
    }
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r')) {
            out += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
        } else if (text[i] == QLatin1Char('\n')) {
            out += QStringLiteral("\r\n");
        } else {
            out += text[i];
        }
    }
    return out;
}

// Everything the file holds, read before any of it is applied.
struct UserFile {
    Settings settings;  // the working days and the regional format are not the file's
    QStringList inputFiles;
    int selectedInputFile = -1;
    QString firstDateText;
    QString dateDiffText;
    QString secondDateText;
    QString output;
    QString directory;
};

// The file's records, read in order. Each read is nothing when its record is missing or
// cannot be read; the file is then damaged.
class UserFileRecords {
  public:
    explicit UserFileRecords(const QString& text) : reader_(text) {}

    std::optional<std::vector<qint64>> Integers(std::size_t count) {
        const auto record = reader_.Record(count);
        if (!record) {
            return std::nullopt;
        }
        std::vector<qint64> numbers;
        for (const Value& value : *record) {
            const auto number = ReadInteger(value);
            if (!number) {
                return std::nullopt;
            }
            numbers.push_back(*number);
        }
        return numbers;
    }
    std::optional<Value> Single() {
        auto record = reader_.Record(1);
        if (!record) {
            return std::nullopt;
        }
        return std::move(record->front());
    }
    std::optional<bool> Check() {
        const auto value = Single();
        return value ? CheckState(*value) : std::nullopt;
    }
    // A number from 0 to `most`.
    std::optional<int> Count(qint64 most) {
        const auto value = Single();
        const qint64 number = value ? NumericValue(value->text) : -1;
        if (number < 0 || number > most) {
            return std::nullopt;
        }
        return static_cast<int>(number);
    }

  private:
    SettingsReader reader_;
};

// Language, date format and the three calendars.
bool ReadLanguageFormatCalendars(UserFileRecords& in, Settings& s) {
    const auto language = in.Integers(1);
    const auto format = language ? in.Integers(3) : std::nullopt;
    const auto calendars = format ? in.Integers(3) : std::nullopt;
    if (!calendars) {
        return false;
    }
    s.language = LanguageOfNumber((*language)[0]).value_or(kEnglish);
    const qint64 order = (*format)[0];
    s.format.dateFormat = order == kDateFormatMDY   ? kDateFormatMDY
                          : order == kDateFormatDMY ? kDateFormatDMY
                                                    : kDateFormatYMD;
    const qint64 separator = (*format)[1];
    s.format.dateSeparator = separator == '.'   ? QStringLiteral(".")
                             : separator == '/' ? QStringLiteral("/")
                                                : QStringLiteral("-");
    const qint64 thousands = (*format)[2];
    s.format.thousandsSeparator = thousands == 0     ? QString()
                                  : thousands == '.' ? QStringLiteral(".")
                                                     : QStringLiteral(",");
    s.todayCalendar = StoredCalendar((*calendars)[0], false);
    s.firstCalendar = StoredCalendar((*calendars)[1], true);
    s.secondCalendar = StoredCalendar((*calendars)[2], true);
    return true;
}

// The check boxes, the error limit, auto-enlarge and the month display.
bool ReadOptions(UserFileRecords& in, Settings& s) {
    for (bool* box : {&s.includeFirstDate, &s.includeWeekends, &s.verbose, &s.format.hyphen,
                      &s.displayDayNames}) {
        const auto checked = in.Check();
        if (!checked) {
            return false;
        }
        *box = *checked;
    }
    const auto errors = in.Count(kMaxErrorsLimit);
    const auto enlarge = errors ? in.Count(kAutoEnlargeNever) : std::nullopt;
    const auto saveOutput = enlarge ? in.Check() : std::nullopt;
    const auto firstDay = saveOutput ? in.Single() : std::nullopt;
    const auto monthCalendar = firstDay ? in.Single() : std::nullopt;
    const auto added = monthCalendar ? in.Single() : std::nullopt;
    if (!added) {
        return false;
    }
    s.maxNumErrors = *errors;
    s.autoEnlargeBytes = *enlarge;
    s.saveOnQuit = *saveOutput;
    s.monthMondayFirst = firstDay->text == QLatin1String("Mon");
    s.monthJulian = monthCalendar->text == QLatin1String("JC");
    s.monthAddedDates = added->text == QLatin1String("ISO")   ? MonthAddedDates::ISO
                        : added->text == QLatin1String("LPM") ? MonthAddedDates::LPM
                                                              : MonthAddedDates::LPW;
    return true;
}

// The input files, the three fields, the output and the current directory.
bool ReadSession(UserFileRecords& in, UserFile& s) {
    const auto count = in.Count(kMaxInputFiles);
    const auto selected = count ? in.Single() : std::nullopt;
    if (!selected) {
        return false;
    }
    for (int k = 0; k < *count; ++k) {
        const auto entry = in.Single();
        if (!entry) {
            return false;
        }
        s.inputFiles.append(entry->text);
    }
    const qint64 position = NumericValue(selected->text);
    s.selectedInputFile = position >= 0 && position < *count ? static_cast<int>(position) : -1;

    for (QString* field :
         {&s.firstDateText, &s.dateDiffText, &s.secondDateText, &s.output, &s.directory}) {
        const auto value = in.Single();
        if (!value) {
            return false;
        }
        *field = value->text;
    }
    s.output = WithCrLf(s.output);
    return true;
}

std::optional<UserFile> ParseSettings(const QString& text) {
    UserFileRecords in(text);
    UserFile s;
    if (!ReadLanguageFormatCalendars(in, s.settings) || !ReadOptions(in, s.settings) ||
        !ReadSession(in, s)) {
        return std::nullopt;
    }
    return s;
}

// Loaded whole: every setting the file holds, the fields, input files and output.
void Apply(UserFile&& s, AppState& state, OutputText& output) {
    s.settings.format.regional = state.settings.format.regional;
    s.settings.workdays = std::move(state.settings.workdays);
    state.settings = std::move(s.settings);
    state.session.inputFiles = std::move(s.inputFiles);
    state.session.selectedInputFile = s.selectedInputFile;
    state.session.inputFileText =
        s.selectedInputFile >= 0 ? state.session.inputFiles.at(s.selectedInputFile) : QString();
    state.session.firstDateText = std::move(s.firstDateText);
    state.session.dateDiffText = std::move(s.dateDiffText);
    state.session.secondDateText = std::move(s.secondDateText);
    output.setText(s.output);
}

QString Quoted(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

// A number as a sign-less number is printed: a leading blank for 0 or more.
QString PrintedNumber(qint64 n) {
    return n >= 0 ? QLatin1Char(' ') + QString::number(n) : QString::number(n);
}

int CharacterCode(const QString& separator) {
    return separator.isEmpty() ? 0 : separator.front().unicode();
}

int CheckValue(bool checked) {
    return checked ? 1 : 0;
}

// The output to save: whole, or when it is very long its last lines after one line that says
// the earlier output was not saved.
QString SavedOutput(const AppState& state, const OutputText& outputText) {
    const QString& output = outputText.text();
    if (output.size() <= kMaxSavedOutputChars) {
        return output;
    }
    qsizetype start = output.size() - kMaxSavedOutputChars;
    const qsizetype lineStart = output.indexOf(QLatin1Char('\n'), start);
    if (lineStart >= 0) {
        start = lineStart + 1;
    }
    return state.settings.Text(kTextEarlierOutputNotSaved) + QStringLiteral("\r\n") +
           output.mid(start);
}

}  // namespace

QString SettingsText(const AppState& state, const OutputText& output, const QString& directory) {
    // Input files too long to be a path, and those beyond the list limit, are not saved.
    QStringList files;
    int selected = -1;
    for (qsizetype k = 0; k < state.session.inputFiles.size() && files.size() < kMaxInputFiles;
         ++k) {
        if (state.session.inputFiles[k].size() > kMaxInputFileChars) {
            continue;
        }
        if (k == state.session.selectedInputFile) {
            selected = static_cast<int>(files.size());
        }
        files.append(state.session.inputFiles[k]);
    }

    QString text;
    const auto line = [&text](const QString& content) {
        text += content;
        text += QStringLiteral("\r\n");
    };
    const auto number = [](qint64 n) { return QString::number(n); };

    line(number(LanguageNumber(state.settings.language)));
    line(number(state.UsersDateFormat()) + QLatin1Char(',') +
         number(CharacterCode(state.settings.format.dateSeparator)) + QLatin1Char(',') +
         number(CharacterCode(state.settings.format.thousandsSeparator)));
    // The file knows only the nine calendars of the options; a world calendar is written as
    // CE (the window keeps it in its side settings).
    const auto described = [](CalendarId calendar) {
        return DescribedIndexOf(calendar).value_or(IndexOf(kDefaultCalendar));
    };
    const int first = described(state.GetCal(1));
    line(number(first) + QLatin1Char(',') + number(first) + QLatin1Char(',') +
         number(described(state.GetCal(2))));
    line(number(CheckValue(state.settings.includeFirstDate)));
    line(number(CheckValue(state.settings.includeWeekends)));
    line(number(CheckValue(state.settings.verbose)));
    line(number(CheckValue(state.settings.format.hyphen)));
    line(number(CheckValue(state.settings.displayDayNames)));
    line(number(state.settings.maxNumErrors));
    line(number(state.settings.autoEnlargeBytes));
    line(number(CheckValue(state.settings.saveOnQuit)));
    line(Quoted(state.settings.monthMondayFirst ? QStringLiteral("Mon") : QStringLiteral("Sun")));
    line(Quoted(state.settings.monthJulian ? QStringLiteral("JC") : QStringLiteral("CE")));
    line(Quoted(state.settings.monthAddedDates == MonthAddedDates::ISO   ? QStringLiteral("ISO")
                : state.settings.monthAddedDates == MonthAddedDates::LPM ? QStringLiteral("LPM")
                                                                         : QStringLiteral("LPW")));
    line(Quoted(PrintedNumber(files.size())));
    line(Quoted(PrintedNumber(selected)));
    for (const QString& file : files) {
        line(Quoted(file));
    }
    const bool save = state.settings.saveOnQuit;
    line(Quoted(save ? state.session.firstDateText.left(kMaxFieldChars) : QString()));
    line(Quoted(save ? state.session.dateDiffText.left(kMaxFieldChars) : QString()));
    line(Quoted(save ? state.session.secondDateText.left(kMaxFieldChars) : QString()));
    line(Quoted(save ? SavedOutput(state, output) : QString()));
    line(Quoted(directory));
    return text;
}

namespace {

QString Notice(const AppState& state, int textId, const QString& path,
               const QString& detail = QString()) {
    QString text =
        state.settings.Text(textId) + QStringLiteral("\r\n") + QDir::toNativeSeparators(path);
    if (!detail.isEmpty()) {
        text += QStringLiteral("\r\n") + detail;
    }
    return text;
}

SettingsLoad ReadSettingsBytes(const QString& path, QByteArray& bytes) {
    switch (ReadGuardedFile(path, kMaxSettingsBytes, bytes)) {
        case GuardedRead::Loaded:
            return SettingsLoad::Loaded;
        case GuardedRead::Missing:
            return SettingsLoad::Missing;
        case GuardedRead::NotRegular:
            return SettingsLoad::NotRegular;
        case GuardedRead::Unreadable:
            return SettingsLoad::Unreadable;
        case GuardedRead::TooLarge:
            break;
    }
    return SettingsLoad::Damaged;
}

}  // namespace

bool SaveUserSettings(const QString& path, const AppState& state, const OutputText& output,
                      const QString& directory, QString* failure) {
    QString reason;
    const GuardedWrite written =
        WriteGuardedFile(path, SettingsText(state, output, directory).toUtf8(), &reason);
    if (written == GuardedWrite::Written) {
        return true;
    }
    if (failure != nullptr) {
        *failure = written == GuardedWrite::NotRegular
                       ? Notice(state, kTextSettingsNotRegular, path)
                       : Notice(state, kTextSettingsNotSaved, path, reason);
    }
    return false;
}

bool LoadUserSettings(const QString& path, AppState& state, OutputText& output, QString* directory,
                      SettingsLoad* outcome) {
    if (directory != nullptr) {
        directory->clear();
    }
    QByteArray bytes;
    SettingsLoad result = ReadSettingsBytes(path, bytes);
    std::optional<UserFile> settings;
    if (result == SettingsLoad::Loaded) {
        settings = ParseSettings(DecodeFileText(bytes));
        if (!settings) {
            result = SettingsLoad::Damaged;
        }
    }
    if (outcome != nullptr) {
        *outcome = result;
    }
    if (!settings) {
        state.SetBuiltInDefaults();
        output.clear();
        return false;
    }
    if (directory != nullptr) {
        *directory = settings->directory;
    }
    Apply(std::move(*settings), state, output);
    return true;
}

QString LoadUserSettingsAtStart(const QString& path, AppState& state, OutputText& output,
                                QString* directory) {
    SettingsLoad outcome = SettingsLoad::Missing;
    if (LoadUserSettings(path, state, output, directory, &outcome)) {
        return {};
    }
    switch (outcome) {
        case SettingsLoad::Loaded:
        case SettingsLoad::Missing:
            return {};
        case SettingsLoad::NotRegular:
            return Notice(state, kTextSettingsNotRegular, path);
        case SettingsLoad::Unreadable:
        case SettingsLoad::Damaged:
            break;
    }
    // Kept byte for byte before the defaults are saved over it at quit.
    const QString kept = KeepAsBad(path);
    if (kept.isEmpty()) {
        return Notice(state, kTextSettingsUnreadable, path);
    }
    return Notice(state, kTextSettingsKeptAsBad, kept);
}

}  // namespace daybridge
