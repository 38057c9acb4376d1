#include "env/text_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <filesystem>
#include <system_error>

#include "sidekit/sidekit.h"

namespace daybridge {

namespace {

bool mainWindowReady = false;

// Room for the longest text the library gives: 1024 characters of up to 4 UTF-8 bytes.
constexpr std::int32_t kTextBufferBytes = 4 * sidekit::kMaxTextChars;

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

QString FindDataFile(const QString& fileName) {
    const QString folder = ExecutableFolder();
    const QString beside = FolderFilePath(folder, fileName);
    if (QFileInfo(beside).isFile()) {
        return beside;
    }
    const QString installed =
        QDir::cleanPath(folder + QStringLiteral("/../share/daybridge/") + fileName);
    if (QFileInfo(installed).isFile()) {
        return installed;
    }
    return beside;
}

QString LoaderMessage(std::int32_t code, const QString& path) {
    // Worked in 64 bits: the line number of the smallest code does not fit in 32.
    const std::int64_t r = code;
    const auto line = [](std::int64_t n) { return QStringLiteral(" %1.").arg(n); };
    if (r > 0) {
        return {};
    }
    switch (r) {
        case 0:
            return QStringLiteral("No program text was read.");
        case -1:
            return QStringLiteral("Cannot open file containing program text.\r\n") + path;
        case -2:
            return QStringLiteral("Particular memory allocation error.");
        case -3:
            return QStringLiteral("Too much program text.");
        case -4:
            return QStringLiteral("Text not recovered.");
        case -6:
            return QStringLiteral("File is empty.");
        case -7:
            return QStringLiteral("Error reading file.");
        case -8:
            return QStringLiteral("General memory allocation error.");
        default:
            break;
    }
    if (r <= -501 && r >= -1000) {
        return QStringLiteral("Missing string at line") + line(-r - 500);
    }
    if (r <= -1001 && r >= -1500) {
        return QStringLiteral("String too long at line") + line(-r - 1000);
    }
    if (r <= -1501) {
        return QStringLiteral("Duplicate in program text at line") + line(-r - 1500);
    }
    return QStringLiteral("Error ") + QString::number(r);  // -5 and -9 to -500
}

std::int32_t LoadProgramText(const QString& path, QString* failure) {
    const QByteArray encoded = QFile::encodeName(path);
    const std::int32_t code = sidekit::lt(std::string(encoded.constData(), encoded.size()), 0);
    if (failure != nullptr) {
        *failure = LoaderMessage(code, path);
    }
    return code;
}

QString GetText(int id, int language) {
    std::array<char, kTextBufferBytes> buffer;  // only the bytes written are read
    const std::int32_t n =
        sidekit::gt(id, language, buffer.data(), kTextBufferBytes, mainWindowReady ? 1 : 0);
    if (n < 1) {
        return {};
    }
    return QString::fromUtf8(buffer.data(), n);
}

void SetMainWindowReady(bool ready) {
    mainWindowReady = ready;
}

}  // namespace daybridge
