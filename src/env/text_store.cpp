#include "env/text_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>
#include <utility>

#include "sidekit/sidekit.h"

namespace daybridge {

namespace {

// The folder of the running executable.
QString ExecutableFolder() {
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath();
    }
    // No application object (library tests): ask the system for the executable's path.
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && !exe.empty()) {
        return QFileInfo(QFile::decodeName(exe.c_str())).absolutePath();
    }
    return QDir::currentPath();
}

}  // namespace

QString FolderFilePath(const QString& folder, const QString& fileName) {
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))) {
        return folder + fileName;
    }
    return folder + QLatin1Char('/') + fileName;
}

QStringList DataFolders() {
    const QString folder = ExecutableFolder();
    return {folder, QDir::cleanPath(folder + QStringLiteral("/../share/daybridge"))};
}

QString FindDataFile(const QString& fileName) {
    const QStringList folders = DataFolders();
    for (const QString& folder : folders) {
        const QString path = FolderFilePath(folder, fileName);
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return FolderFilePath(folders.front(), fileName);
}

bool IsRequiredTextId(int id) {
    // The texts the messages are composed of (1 to 84, where used) and the program's own
    // additions from 200 on.
    static constexpr std::array<std::pair<int, int>, 10> kRanges{{{1, 1},
                                                                  {8, 8},
                                                                  {10, 10},
                                                                  {13, 29},
                                                                  {31, 31},
                                                                  {37, 59},
                                                                  {61, 62},
                                                                  {64, 75},
                                                                  {79, 84},
                                                                  {200, 209}}};
    return std::any_of(kRanges.begin(), kRanges.end(),
                       [id](const auto& range) { return id >= range.first && id <= range.second; });
}

QString LoaderMessage(std::int32_t code, const QString& path) {
    // Worked in 64 bits: the line number of the smallest code does not fit in 32.
    const std::int64_t r = code;
    const auto line = [](std::int64_t n) { return QStringLiteral(" %1.").arg(n); };
    if (r > 0) {
        return {};
    }
    QString message;
    switch (r) {
        case 0:
            message = QStringLiteral("No program text was read.");
            break;
        case -1:
            message = QStringLiteral("Cannot open file containing program text.");
            break;
        case -2:
            message = QStringLiteral("Particular memory allocation error.");
            break;
        case -3:
            message = QStringLiteral("Too much program text (more than %1 lines or %2 bytes).")
                          .arg(sidekit::kMaxLines)
                          .arg(sidekit::kMaxFileBytes);
            break;
        case -4:
            message = QStringLiteral("Text not recovered.");
            break;
        case -6:
            message = QStringLiteral("File is empty.");
            break;
        case -7:
            message = QStringLiteral("Error reading file.");
            break;
        case -8:
            message = QStringLiteral("General memory allocation error.");
            break;
        default:
            if (r <= -501 && r >= -1000) {
                message =
                    sidekit::ProcessTextStore().lastFailure() == sidekit::LoadFailure::TooManyTexts
                        ? QStringLiteral("More than %1 texts at line")
                                  .arg(sidekit::kLanguageCount) +
                              line(-r - 500)
                        : QStringLiteral("Missing string at line") + line(-r - 500);
            } else if (r <= -1001 && r >= -1500) {
                message = QStringLiteral("String too long at line") + line(-r - 1000);
            } else if (r <= -1501) {
                message = QStringLiteral("Duplicate in program text at line") + line(-r - 1500);
            } else {
                message = QStringLiteral("Error ") + QString::number(r);  // -5 and -9 to -500
            }
            break;
    }
    // Every message names the file it is about.
    return message + QStringLiteral("\r\n") + path;
}

std::int32_t LoadProgramText(const QString& path, QString* failure) {
    const QByteArray encoded = QFile::encodeName(path);
    std::int32_t code = sidekit::lt(std::string(encoded.constData(), encoded.size()), 0);
    QString message = LoaderMessage(code, path);
    if (code > 0) {
        // Every text a message is built from must be there (the library refuses an entry that
        // lacks one of the interface languages).
        std::array<char, 8> probe;
        for (int id = 1; id <= kLastRequiredTextId; ++id) {
            if (IsRequiredTextId(id) &&
                sidekit::gt(id, 0, probe.data(), static_cast<std::int32_t>(probe.size()), 0) < 1) {
                code = kRequiredTextMissing;
                message =
                    QStringLiteral("Missing text %1 in file containing program text.\r\n").arg(id) +
                    path;
                break;
            }
        }
    }
    if (failure != nullptr) {
        *failure = message;
    }
    return code;
}

}  // namespace daybridge
