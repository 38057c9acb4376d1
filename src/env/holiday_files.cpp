#include "env/holiday_files.h"
#include "app/texts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cerrno>
#include <mutex>
#include <optional>

#include "calendar/names.h"
#include "env/text_store.h"

namespace daybridge {
namespace {

// The texts of the text data file about the file (each fault's own: HolidayFaultTextId).
enum HolidayText {
    kFileMissing = 700,
    kFileIsFolder,
    kFileIsFifo,
    kFileIsDevice,
    kFileIsLoop,
    kFileUnreadable,
    kFileTooLarge,
    kNoSuchSet,
    kFaultyLine,
    kNoWorkingDayWithWeekend,
};

// Their English, for messages made before the text data file is loaded (the command line's
// options are read first).
constexpr std::array<const char*, 10> kEnglish = {
    "The holiday file '%1' does not exist.",
    "The holiday file '%1' is a folder, not a file.",
    "The holiday file '%1' is a FIFO (named pipe), not a file.",
    "The holiday file '%1' is a device, not a file.",
    "The holiday file '%1' is a symbolic link that leads round in a loop.",
    "The holiday file '%1' cannot be read.",
    "The holiday file '%1' is larger than the limit of 1 MiB (1,048,576 bytes).",
    "There is no holiday set named '%1' (shipped: %2). For a file of that name, write ./%1",
    "%1, line %2: %3",
    "With these weekend days (%1) the holiday set %2 leaves no working day at all.",
};

QString Text(int id, Language language) {
    QString text = Text(language, id);
    if (text.isEmpty()) {
        text = Text(Language::English, id);
    }
    if (text.isEmpty() && id >= kFileMissing &&
        id < kFileMissing + static_cast<int>(kEnglish.size())) {
        text = QString::fromUtf8(kEnglish[static_cast<std::size_t>(id - kFileMissing)]);
    }
    return text;
}

// Fills %1, %2, %3 at once, so that a path holding "%2" stays as it is.
QString Fill(const QString& text, const QStringList& details) {
    switch (details.size()) {
        case 0:
            return text;
        case 1:
            return text.arg(details[0]);
        case 2:
            return text.arg(details[0], details[1]);
        default:
            return text.arg(details[0], details[1], details[2]);
    }
}

std::mutex shippedFolderMutex;
QString shippedFolderOverride;

QString ShippedFolder() {
    {
        const std::lock_guard<std::mutex> lock(shippedFolderMutex);
        if (!shippedFolderOverride.isEmpty()) {
            return shippedFolderOverride;
        }
    }
    return QFileInfo(FindDataFile(QStringLiteral("holidays/germany.txt"))).absolutePath();
}

enum class RuleFileStatus { Read, Missing, Folder, Fifo, Device, Loop, Unreadable, TooLarge };

struct RuleFile {
    RuleFileStatus status = RuleFileStatus::Missing;
    QByteArray bytes;
};

RuleFileStatus KindOfNonFile(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) {
        return RuleFileStatus::Folder;
    }
    return S_ISFIFO(info.st_mode) ? RuleFileStatus::Fifo : RuleFileStatus::Device;
}

RuleFileStatus FailureOf(int error) {
    switch (error) {
        case ELOOP:
            return RuleFileStatus::Loop;
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
            return RuleFileStatus::Missing;
        case EISDIR:
            return RuleFileStatus::Folder;
        default:
            return RuleFileStatus::Unreadable;
    }
}

// Reads a rule file of at most kMaxHolidayFileBytes. What is not a regular file is refused
// from its status, before it is opened; it is opened without waiting, and looked at again in
// case it was replaced in between.
RuleFile ReadRuleFile(const QString& path) {
    RuleFile file;
    if (path.isEmpty()) {
        return file;
    }
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        file.status = FailureOf(errno);
        return file;
    }
    if (!S_ISREG(info.st_mode)) {
        file.status = KindOfNonFile(info);
        return file;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        file.status = FailureOf(errno);
        return file;
    }
    file.status = RuleFileStatus::Read;
    if (::fstat(fd, &info) != 0) {
        file.status = RuleFileStatus::Unreadable;
    } else if (!S_ISREG(info.st_mode)) {
        file.status = KindOfNonFile(info);
    }
    // One byte over the limit tells a file that grew since it was looked at.
    while (file.status == RuleFileStatus::Read) {
        const qsizetype before = file.bytes.size();
        const qsizetype want = kMaxHolidayFileBytes + 1 - before;
        if (want <= 0) {
            file.status = RuleFileStatus::TooLarge;
            break;
        }
        file.bytes.resize(before + want);
        const ssize_t got = ::read(fd, file.bytes.data() + before, static_cast<size_t>(want));
        file.bytes.resize(before + std::max<ssize_t>(got, 0));
        if (got == 0) {
            break;
        }
        if (got < 0 && errno != EINTR) {
            file.status = RuleFileStatus::Unreadable;
        }
    }
    ::close(fd);
    return file;
}

// A relative path from the context's folder.
QString PathIn(const HolidayFileContext& context, const QString& path) {
    if (context.folder.isEmpty() || QDir::isAbsolutePath(path)) {
        return path;
    }
    return context.folder.endsWith(u'/') ? context.folder + path
                                         : context.folder + QLatin1Char('/') + path;
}

QString ShippedSetPath(const QString& name) {
    return ShippedFolder() + QStringLiteral("/") + name.toLower() + QStringLiteral(".txt");
}

// A shipped set's text, for "@include NAME".
std::optional<QString> ShippedSetText(const QString& name) {
    const RuleFile file = ReadRuleFile(ShippedSetPath(name));
    if (file.status != RuleFileStatus::Read) {
        return std::nullopt;
    }
    return QString::fromUtf8(file.bytes);
}

}  // namespace

void SetShippedHolidayFolder(const QString& folder) {
    const std::lock_guard<std::mutex> lock(shippedFolderMutex);
    shippedFolderOverride = folder;
}

QStringList ShippedHolidaySetNames() {
    QStringList names;
    for (const QString& file :
         QDir(ShippedFolder()).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        names << file.chopped(4);
    }
    return names;
}

std::vector<ShippedSetTitle> ShippedHolidaySetTitles(Language language) {
    std::vector<ShippedSetTitle> titles;
    for (const QString& name : ShippedHolidaySetNames()) {
        ShippedSetTitle title{name, name, QString(), QString()};
        QFile file(ShippedFolder() + u'/' + name + QStringLiteral(".txt"));
        if (file.open(QIODevice::ReadOnly)) {
            // The header comes first; a rule line ends it.
            while (!file.atEnd()) {
                const QString line = QString::fromUtf8(file.readLine(4096)).trimmed();
                if (line.isEmpty() || line.startsWith(u'#')) {
                    continue;
                }
                if (!line.startsWith(u'@')) {
                    break;
                }
                const QString value = line.section(u' ', 1).trimmed();
                if (line.startsWith(QLatin1String("@name "))) {
                    title.english = value.section(u'|', 0, 0).trimmed();
                    title.german = value.section(u'|', 1).trimmed();
                } else if (line.startsWith(QLatin1String("@region "))) {
                    title.region = value;
                }
            }
        }
        if (title.german.isEmpty()) {
            title.german = title.english;
        }
        titles.push_back(std::move(title));
    }
    const auto shown = [language](const ShippedSetTitle& t) -> const QString& {
        return language == kGerman ? t.german : t.english;
    };
    std::sort(titles.begin(), titles.end(), [&shown](const auto& a, const auto& b) {
        return QString::localeAwareCompare(shown(a), shown(b)) < 0;
    });
    return titles;
}

QString ShippedSetsToName(const QString& wanted) {
    QStringList names = ShippedHolidaySetNames();
    if (names.size() <= kMostSetsNamed) {
        return names.join(QStringLiteral(", "));
    }
    if (wanted.isEmpty()) {
        return QString();
    }
    const QString lower = wanted.toLower();
    const auto common = [&lower](const QString& name) {
        qsizetype n = 0;
        while (n < name.size() && n < lower.size() && name[n] == lower[n]) {
            ++n;
        }
        return n;
    };
    std::stable_sort(names.begin(), names.end(),
                     [&](const QString& a, const QString& b) { return common(a) > common(b); });
    names = names.mid(0, kMostSetsNamed);
    names.sort();
    return names.join(QStringLiteral(", ")) + QStringLiteral(", ...");
}

QString HolidayFaultText(HolidayFault fault, const QStringList& details, Language language) {
    const QString text = Text(HolidayFaultTextId(fault), language);
    return text.isEmpty() ? HolidayFaultEnglish(fault, details) : Fill(text, details);
}

QString NoWorkingDayText(const QString& weekendDays, const QString& setName, Language language) {
    return Fill(Text(kNoWorkingDayWithWeekend, language), {weekendDays, setName});
}

std::shared_ptr<const HolidaySet> LoadHolidaySet(const QString& nameOrPath, QString& error,
                                                 const HolidayFileContext& context) {
    const Language language = context.language;
    const bool isPath =
        nameOrPath.contains(u'/') || nameOrPath.endsWith(u".txt", Qt::CaseInsensitive);
    const QString path = isPath ? PathIn(context, nameOrPath) : ShippedSetPath(nameOrPath);
    const RuleFile file = ReadRuleFile(path);
    if (!isPath && file.status != RuleFileStatus::Read) {
        error = Fill(Text(kNoSuchSet, language), {nameOrPath, ShippedSetsToName(nameOrPath)});
        return nullptr;
    }
    int problem = 0;
    switch (file.status) {
        case RuleFileStatus::Read:
            break;
        case RuleFileStatus::Missing:
            problem = kFileMissing;
            break;
        case RuleFileStatus::Folder:
            problem = kFileIsFolder;
            break;
        case RuleFileStatus::Fifo:
            problem = kFileIsFifo;
            break;
        case RuleFileStatus::Device:
            problem = kFileIsDevice;
            break;
        case RuleFileStatus::Loop:
            problem = kFileIsLoop;
            break;
        case RuleFileStatus::Unreadable:
            problem = kFileUnreadable;
            break;
        case RuleFileStatus::TooLarge:
            problem = kFileTooLarge;
            break;
    }
    if (problem != 0) {
        error = Fill(Text(problem, language), {path});
        return nullptr;
    }
    const HolidayParseResult parsed =
        ParseHolidayRules(QString::fromUtf8(file.bytes), ShippedSetText);
    if (!parsed.set) {
        const QString why = HolidayFaultText(parsed.fault, parsed.details, language);
        const QString where =
            parsed.includedSet.isEmpty() ? path : ShippedSetPath(parsed.includedSet);
        error = parsed.line > 0
                    ? Fill(Text(kFaultyLine, language), {where, QString::number(parsed.line), why})
                    : where + QStringLiteral(": ") + why;
        return nullptr;
    }
    auto set = std::make_shared<HolidaySet>(*parsed.set);
    set->name = isPath ? nameOrPath : nameOrPath.toLower();
    return set;
}

}  // namespace daybridge
