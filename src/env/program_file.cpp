#include "env/program_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <algorithm>
#include <cerrno>

namespace daybridge {

namespace {

bool IsControlByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 32 && u != 9 && u != 10 && u != 13;
}

// Closes the descriptor it was given when it goes out of scope (standard input stays open).
struct Descriptor {
    int fd = -1;
    bool owned = true;
    ~Descriptor() {
        if (fd >= 0 && owned) {
            ::close(fd);
        }
    }
};

ProgramFileStatus OpenFailure(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return ProgramFileStatus::NotFound;
        case ENXIO:  // a socket or a device without its driver
        case ENODEV:
            return ProgramFileStatus::Device;
        default:
            return ProgramFileStatus::Unreadable;
    }
}

}  // namespace

ProgramFile ReadProgramFile(const QString& path, qint64 byteLimit, qint64 controlCheckBytes) {
    ProgramFile result;
    if (path.isEmpty()) {
        return result;
    }
    Descriptor in;
    if (path == QLatin1String(kStandardInputName)) {
        in.fd = STDIN_FILENO;
        in.owned = false;
    } else {
        // Non-blocking, so that opening a FIFO with no writer returns at once.
        in.fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (in.fd < 0) {
            result.status = OpenFailure(errno);
            return result;
        }
    }
    struct stat info {};
    if (::fstat(in.fd, &info) != 0) {
        result.status = ProgramFileStatus::Unreadable;
        return result;
    }
    if (S_ISDIR(info.st_mode)) {
        result.status = ProgramFileStatus::Folder;
        return result;
    }
    const bool terminal = ::isatty(in.fd) != 0;
    if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode) && !terminal) {
        result.status = ProgramFileStatus::Device;
        return result;
    }
    if (in.owned) {
        // Reads wait for data from here on; a FIFO whose writer has gone reads as its end.
        const int flags = ::fcntl(in.fd, F_GETFL);
        if (flags >= 0) {
            ::fcntl(in.fd, F_SETFL, flags & ~O_NONBLOCK);
        }
    }
    if (S_ISREG(info.st_mode) && info.st_size > byteLimit) {
        result.status = ProgramFileStatus::TooLarge;
        return result;
    }
    // Read in pieces up to one byte over the limit: the size of a pipe is not known ahead.
    constexpr qint64 kPiece = 1 << 16;
    for (;;) {
        const qint64 want = std::min<qint64>(kPiece, byteLimit + 1 - result.bytes.size());
        const qsizetype before = result.bytes.size();
        result.bytes.resize(before + want);
        const ssize_t got = ::read(in.fd, result.bytes.data() + before, static_cast<size_t>(want));
        if (got < 0) {
            result.bytes.resize(before);
            if (errno == EINTR) {
                continue;
            }
            result.status =
                errno == EISDIR ? ProgramFileStatus::Folder : ProgramFileStatus::Unreadable;
            return result;
        }
        result.bytes.resize(before + got);
        const qint64 checkEnd = std::min<qint64>(result.bytes.size(), controlCheckBytes);
        if (std::any_of(result.bytes.cbegin() + std::min<qint64>(before, checkEnd),
                        result.bytes.cbegin() + checkEnd, IsControlByte)) {
            result.status = ProgramFileStatus::ControlChar;
            return result;
        }
        if (result.bytes.size() > byteLimit) {
            result.status = ProgramFileStatus::TooLarge;
            return result;
        }
        if (got == 0) {
            result.status = ProgramFileStatus::Read;
            return result;
        }
    }
}

}  // namespace daybridge
