#include "env/program_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <algorithm>
#include <cerrno>

namespace daybridge {

namespace {

const volatile std::sig_atomic_t* stopFlag = nullptr;

bool StopRequested() {
    return stopFlag != nullptr && *stopFlag != 0;
}

// Waits until the descriptor has bytes or its end, looking at the stop flag now and then.
// False when a stop was asked for.
bool WaitForBytes(int fd) {
    for (;;) {
        if (StopRequested()) {
            return false;
        }
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, 100);
        if (ready > 0 || (ready < 0 && errno != EINTR)) {
            return true;  // the read tells what there is
        }
    }
}

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

// Opens the program and looks at what it is; a refusal, or nullopt when it can be read.
// `mayWait` tells whether its bytes may come late (a pipe, FIFO or terminal).
std::optional<ProgramFileStatus> OpenProgram(const QString& path, qint64 byteLimit, Descriptor& in,
                                             bool& mayWait) {
    if (path == QLatin1String(kStandardInputName)) {
        in.fd = STDIN_FILENO;
        in.owned = false;
    } else {
        // Non-blocking, so that opening a FIFO with no writer returns at once.
        in.fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (in.fd < 0) {
            return OpenFailure(errno);
        }
    }
    struct stat info {};
    if (::fstat(in.fd, &info) != 0) {
        return ProgramFileStatus::Unreadable;
    }
    if (S_ISDIR(info.st_mode)) {
        return ProgramFileStatus::Folder;
    }
    const bool terminal = ::isatty(in.fd) != 0;
    if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode) && !terminal) {
        return ProgramFileStatus::Device;
    }
    if (S_ISREG(info.st_mode) && info.st_size > byteLimit) {
        return ProgramFileStatus::TooLarge;
    }
    mayWait = !S_ISREG(info.st_mode);
    return std::nullopt;
}

// Reads the opened program into `bytes`, in pieces up to one byte over the limit: the size of
// a pipe is not known ahead. Standard input stays blocking (its flags are shared with the
// caller's shell), so it is waited for first; a file opened here is non-blocking, so that a
// FIFO whose writer is gone, or never came, reads as its end at once.
ProgramFileStatus ReadOpenedProgram(const Descriptor& in, bool mayWait, qint64 byteLimit,
                                    qint64 controlCheckBytes, QByteArray& bytes) {
    constexpr qint64 kPiece = 1 << 16;
    for (;;) {
        if (mayWait && !in.owned && !WaitForBytes(in.fd)) {
            return ProgramFileStatus::Interrupted;
        }
        const qint64 want = std::min<qint64>(kPiece, byteLimit + 1 - bytes.size());
        const qsizetype before = bytes.size();
        bytes.resize(before + want);
        const ssize_t got = ::read(in.fd, bytes.data() + before, static_cast<size_t>(want));
        if (got < 0) {
            const int error = errno;
            bytes.resize(before);
            if (error == EAGAIN || error == EWOULDBLOCK) {
                if (!WaitForBytes(in.fd)) {
                    return ProgramFileStatus::Interrupted;
                }
                continue;
            }
            if (error == EINTR) {
                if (StopRequested()) {
                    return ProgramFileStatus::Interrupted;
                }
                continue;
            }
            return error == EISDIR ? ProgramFileStatus::Folder : ProgramFileStatus::Unreadable;
        }
        bytes.resize(before + got);
        const qint64 checkEnd = std::min<qint64>(bytes.size(), controlCheckBytes);
        if (std::any_of(bytes.cbegin() + std::min<qint64>(before, checkEnd),
                        bytes.cbegin() + checkEnd, IsControlByte)) {
            return ProgramFileStatus::ControlChar;
        }
        if (bytes.size() > byteLimit) {
            return ProgramFileStatus::TooLarge;
        }
        if (got == 0) {
            return ProgramFileStatus::Read;
        }
    }
}

}  // namespace

void SetReadStopFlag(const volatile std::sig_atomic_t* flag) {
    stopFlag = flag;
}

ProgramFile ReadProgramFile(const QString& path, qint64 byteLimit, qint64 controlCheckBytes) {
    ProgramFile result;
    if (path.isEmpty()) {
        return result;
    }
    Descriptor in;
    bool mayWait = false;
    if (const std::optional<ProgramFileStatus> refused =
            OpenProgram(path, byteLimit, in, mayWait)) {
        result.status = *refused;
        return result;
    }
    result.status = ReadOpenedProgram(in, mayWait, byteLimit, controlCheckBytes, result.bytes);
    return result;
}

}  // namespace daybridge
