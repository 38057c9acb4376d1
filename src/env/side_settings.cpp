#include "env/side_settings.h"
#include "app/texts.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <algorithm>

#include "app/captions.h"
#include "env/file_text.h"
#include "env/guarded_file.h"
#include "env/holiday_files.h"
#include "env/text_store.h"

namespace daybridge {

namespace {

constexpr int kTextEntriesDropped = 810;  // followed by the path and one line per entry
constexpr int kTextUnknownEntry = 811;
constexpr int kTextNotAWeekend = 813;
constexpr int kTextNotCategories = 630;
constexpr int kTextNotHalfDays = 631;

bool IsKnownKey(const QString& key) {
    return std::any_of(std::begin(kSideKeys), std::end(kSideKeys),
                       [&key](const char* known) { return key == QLatin1String(known); });
}

int DigitValue(QChar c, int base) {
    const char16_t u = c.toLower().unicode();
    const int digit = u >= u'0' && u <= u'9'   ? u - u'0'
                      : u >= u'a' && u <= u'f' ? u - u'a' + 10
                                               : -1;
    return digit < base ? digit : -1;
}

// A value as QSettings writes it: in quotes, with backslash escapes, or bare. Nothing for a
// quote left open.
std::optional<QString> UnescapedValue(QStringView text) {
    QString value;
    const bool quoted = text.startsWith(u'"');
    qsizetype i = quoted ? 1 : 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == u'"') {
            return value;  // anything after the closing quote is not part of the value
        }
        if (c != u'\\' || i + 1 == text.size()) {
            value += c;
            continue;
        }
        const QChar e = text[++i];
        static constexpr char16_t kEscapes[][2] = {{u'a', u'\a'}, {u'b', u'\b'}, {u'f', u'\f'},
                                                   {u'n', u'\n'}, {u'r', u'\r'}, {u't', u'\t'},
                                                   {u'v', u'\v'}};
        const auto* named = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                         [e](const auto& pair) { return e == pair[0]; });
        if (named != std::end(kEscapes)) {
            value += QChar((*named)[1]);
        } else if (e == u'x' || (e >= u'0' && e <= u'7')) {
            // A character by its number, hexadecimal after "x", else octal: every digit that
            // follows (the writer escapes a digit that would run on).
            const int base = e == u'x' ? 16 : 8;
            qsizetype at = e == u'x' ? i + 1 : i;
            char32_t code = 0;
            for (; at < text.size() && DigitValue(text[at], base) >= 0; ++at) {
                code = std::min<char32_t>(code * static_cast<char32_t>(base) +
                                              static_cast<char32_t>(DigitValue(text[at], base)),
                                          0xFFFF);
            }
            value += QChar(static_cast<char16_t>(code));
            i = at - 1;
        } else {
            value += e;  // \" \' \\ \? and any other: the character itself
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    return value;  // the caller trimmed the text; escaped blanks stay
}

// A value as QSettings writes it (Qt 6: UTF-8), so either program reads the other's file.
QString EscapedValue(const QString& value) {
    QString out;
    bool quotes = value.startsWith(u' ') || value.endsWith(u' ');
    bool escapeNextIfHex = false;
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        quotes = quotes || u == u';' || u == u',' || u == u'=';
        if (escapeNextIfHex && QStringLiteral("0123456789abcdefABCDEF").contains(c)) {
            out += QStringLiteral("\\x") + QString::number(u, 16);
            continue;
        }
        escapeNextIfHex = false;
        switch (u) {
            case u'\0':
                out += QStringLiteral("\\0");
                escapeNextIfHex = true;
                break;
            case u'\a':
                out += QStringLiteral("\\a");
                break;
            case u'\b':
                out += QStringLiteral("\\b");
                break;
            case u'\f':
                out += QStringLiteral("\\f");
                break;
            case u'\n':
                out += QStringLiteral("\\n");
                break;
            case u'\r':
                out += QStringLiteral("\\r");
                break;
            case u'\t':
                out += QStringLiteral("\\t");
                break;
            case u'\v':
                out += QStringLiteral("\\v");
                break;
            case u'"':
            case u'\\':
                out += u'\\';
                out += c;
                break;
            default:
                if (u < 0x20) {
                    out += QStringLiteral("\\x") + QString::number(u, 16);
                    escapeNextIfHex = true;
                } else {
                    out += c;
                }
        }
    }
    return quotes ? u'"' + out + u'"' : out;
}

// An entry as a notice names it, cut short where it is long (a file may hold 64 KiB).
QString Named(const QString& key, const QString& value, const QString& why) {
    constexpr qsizetype kShown = 80;
    const auto cut = [](const QString& text) {
        return text.size() <= kShown ? text : text.left(kShown) + QChar(0x2026);
    };
    return QStringLiteral("%1 = %2: %3").arg(cut(key), cut(value), why);
}

QString Located(int textId, const QString& path, Language language) {
    return Text(language, textId) + QStringLiteral("\r\n") + QDir::toNativeSeparators(path);
}

}  // namespace

std::optional<QMap<QString, QString>> ParseSideSettings(const QString& text) {
    QMap<QString, QString> entries;
    QString group;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (std::any_of(line.begin(), line.end(), [](QChar c) {
                return (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7f;
            })) {
            return std::nullopt;
        }
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) {
            continue;
        }
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']')) {
                return std::nullopt;
            }
            group = line.mid(1, line.size() - 2).trimmed().toString();
            if (group == QLatin1String("General")) {
                group.clear();
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        const QStringView key = equals > 0 ? line.left(equals).trimmed() : QStringView();
        const std::optional<QString> value =
            key.isEmpty() ? std::nullopt : UnescapedValue(line.mid(equals + 1).trimmed());
        if (!value) {
            return std::nullopt;
        }
        entries.insert(group.isEmpty() ? key.toString() : group + u'/' + key.toString(), *value);
    }
    return entries;
}

QString SideSettingsText(const QMap<QString, QString>& entries) {
    QString text;
    QString group;
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        const qsizetype slash = entry.key().indexOf(u'/');
        const QString entryGroup = slash < 0 ? QStringLiteral("General") : entry.key().left(slash);
        if (entryGroup != group) {
            if (!text.isEmpty()) {
                text += u'\n';
            }
            text += u'[' + entryGroup + QStringLiteral("]\n");
            group = entryGroup;
        }
        text += entry.key().mid(slash + 1) + u'=' + EscapedValue(entry.value()) + u'\n';
    }
    return text;
}

SideSettings::SideSettings(const QString& settingsFilePath) {
    if (!settingsFilePath.isEmpty()) {
        path_ = QFileInfo(settingsFilePath).absolutePath() + QLatin1Char('/') +
                QString::fromLatin1(kSideSettingsFileName);
    }
}

void SideSettings::Load(Language language) {
    read_.clear();
    rewrite_ = false;
    dropped_.clear();
    droppedKeys_.clear();
    fileTextId_ = 0;
    keptAs_.clear();
    if (path_.isEmpty()) {
        return;
    }
    QByteArray bytes;
    switch (ReadGuardedFile(path_, kMaxSideSettingsBytes, bytes)) {
        case GuardedRead::Missing:
            return;
        case GuardedRead::NotRegular:
            fileTextId_ = kTextSettingsNotRegular;
            return;
        case GuardedRead::Loaded: {
            bool utf8 = true;
            const QString text = DecodeFileText(bytes, &utf8);
            const std::optional<QMap<QString, QString>> entries =
                utf8 ? ParseSideSettings(text) : std::nullopt;
            if (!entries) {
                break;
            }
            for (auto entry = entries->cbegin(); entry != entries->cend(); ++entry) {
                if (IsKnownKey(entry.key())) {
                    read_.insert(entry.key(), entry.value());
                } else {
                    dropped_ << Named(entry.key(), entry.value(),
                                      Text(language, kTextUnknownEntry));
                }
            }
            return;
        }
        case GuardedRead::Unreadable:
        case GuardedRead::TooLarge:
            break;
    }
    // Not a file of this kind: kept byte for byte, and replaced whole at the next save.
    rewrite_ = true;
    keptAs_ = KeepAsBad(path_);
    fileTextId_ = keptAs_.isEmpty() ? kTextSettingsUnreadable : kTextSettingsKeptAsBad;
}

void SideSettings::Drop(const char* key, const QString& why) {
    const QString name = QString::fromLatin1(key);
    dropped_ << Named(name, read_.value(name), why);
    droppedKeys_ << name;
}

QString SideSettings::Notice(Language language) const {
    QStringList parts;
    if (fileTextId_ != 0) {
        parts << Located(fileTextId_, keptAs_.isEmpty() ? path_ : keptAs_, language);
    }
    if (!dropped_.isEmpty()) {
        parts << Located(kTextEntriesDropped, path_, language) + QStringLiteral("\r\n") +
                     dropped_.join(QStringLiteral("\r\n"));
    }
    return parts.join(QStringLiteral("\r\n\r\n"));
}

void SideSettings::setValue(const char* key, const QString& value) {
    current_.insert(QString::fromLatin1(key), value);
}

void SideSettings::MarkUnchanged() {
    start_ = current_;
}

bool SideSettings::Save(Language language, QString* failure) {
    if (path_.isEmpty()) {
        return true;
    }
    QMap<QString, QString> changes;
    for (auto value = current_.cbegin(); value != current_.cend(); ++value) {
        const auto start = start_.constFind(value.key());
        if (rewrite_ || start == start_.cend() || *start != *value ||
            droppedKeys_.contains(value.key())) {
            changes.insert(value.key(), *value);
        }
    }
    if (changes.isEmpty()) {
        return true;
    }
    // Another window may save at the same moment: one reads, merges and writes at a time.
    QLockFile lock(path_ + QStringLiteral(".lock"));
    lock.tryLock(2000);  // a lock that cannot be had must not keep the window from quitting

    // The file as it is now: what another window saved since this one started stays.
    QMap<QString, QString> entries;
    QByteArray bytes;
    const GuardedRead read = ReadGuardedFile(path_, kMaxSideSettingsBytes, bytes);
    std::optional<QMap<QString, QString>> now;
    if (read == GuardedRead::Loaded) {
        bool utf8 = true;
        const QString text = DecodeFileText(bytes, &utf8);
        now = utf8 ? ParseSideSettings(text) : std::nullopt;
    }
    if (now) {
        for (auto entry = now->cbegin(); entry != now->cend(); ++entry) {
            if (IsKnownKey(entry.key())) {
                entries.insert(entry.key(), entry.value());
            }
        }
    } else if ((read == GuardedRead::Loaded || read == GuardedRead::TooLarge ||
                read == GuardedRead::Unreadable) &&
               keptAs_.isEmpty()) {
        KeepAsBad(path_);  // damaged since the start: kept, as at the start
    }
    entries.insert(changes);

    QString reason;
    switch (WriteGuardedFile(path_, SideSettingsText(entries).toUtf8(), &reason)) {
        case GuardedWrite::Written:
            read_ = entries;
            start_ = current_;
            droppedKeys_.clear();
            rewrite_ = false;
            return true;
        case GuardedWrite::NotRegular:
            if (failure != nullptr) {
                *failure = Located(kTextSettingsNotRegular, path_, language);
            }
            return false;
        case GuardedWrite::Failed:
            break;
    }
    if (failure != nullptr) {
        *failure =
            Located(kTextSettingsNotSaved, path_, language) + QStringLiteral("\r\n") + reason;
    }
    return false;
}

namespace {

// The categories and half days stored; a part that does not read is dropped, with its reason.
HolidaySelection LoadHolidaySelection(SideSettings& side, Language language) {
    HolidaySelection selection;
    if (const QString text = side.value(side_key::kHolidayCategories); !text.isEmpty()) {
        selection.categories = ParseCategories(text);
        if (!selection.categories) {
            side.Drop(side_key::kHolidayCategories, Text(language, kTextNotCategories));
        }
    }
    if (const QString text = side.value(side_key::kHalfDays); !text.isEmpty()) {
        if (text == QLatin1String("holiday") || text == QLatin1String("workday")) {
            selection.halfDays = text == QLatin1String("holiday");
        } else {
            side.Drop(side_key::kHalfDays, Text(language, kTextNotHalfDays));
        }
    }
    return selection;
}

// An entry of this round's choices is written once it differs from the built-in choice, so that
// a file saved before keeps its text.
void SetUnlessBuiltIn(SideSettings& side, const char* key, const QString& value) {
    if (!value.isEmpty() || !side.value(key).isEmpty()) {
        side.setValue(key, value);
    }
}

}  // namespace

WorkdayCalendar LoadWorkdayChoice(SideSettings& side, Language language) {
    std::uint8_t weekend = WorkdayCalendar::kSaturdaySunday;
    const QString weekendText = side.value(side_key::kWeekendDays);
    if (!weekendText.isEmpty()) {
        const std::optional<std::uint8_t> read = ParseWeekend(weekendText);
        if (read) {
            weekend = *read;
        } else {
            // All seven days is the one mask ParseWeekend refuses that has the right form.
            const bool allDays = weekendText == QLatin1String("1111111");
            side.Drop(side_key::kWeekendDays, allDays ? Text(language, Caption::AllDaysWeekend)
                                                      : Text(language, kTextNotAWeekend));
        }
    }
    const HolidaySelection selection = LoadHolidaySelection(side, language);
    const QString setName = side.value(side_key::kHolidaySet);
    if (setName.isEmpty()) {
        return WorkdayCalendar(weekend, nullptr, selection);
    }
    QString why;
    std::shared_ptr<const HolidaySet> holidays = LoadHolidaySet(setName, why, {language, {}});
    if (holidays == nullptr) {
        side.Drop(side_key::kHolidaySet, why);
        return WorkdayCalendar(weekend, nullptr, selection);
    }
    WorkdayCalendar chosen(weekend, holidays, selection);
    if (!chosen.HasWorkday()) {
        // The set may have changed since it was chosen; counting needs a working day.
        side.Drop(side_key::kHolidaySet,
                  NoWorkingDayText(WeekendDayNamesIn(weekend, language), holidays->name, language));
        return WorkdayCalendar(weekend, nullptr, selection);
    }
    return chosen;
}

void SetWorkdayChoice(SideSettings& side, const WorkdayCalendar& workdays) {
    QString mask;
    for (int day = 0; day < 7; ++day) {  // bit 0 is Monday
        mask += QLatin1Char(((workdays.weekend() >> day) & 1) != 0 ? '1' : '0');
    }
    side.setValue(side_key::kWeekendDays, mask);
    side.setValue(side_key::kHolidaySet,
                  workdays.holidays() != nullptr ? workdays.holidays()->name : QString());
    const HolidaySelection& selection = workdays.selection();
    SetUnlessBuiltIn(side, side_key::kHolidayCategories,
                     selection.categories ? CategoryNames(*selection.categories) : QString());
    SetUnlessBuiltIn(side, side_key::kHalfDays,
                     selection.halfDays ? QStringLiteral("holiday") : QString());
}

}  // namespace daybridge
