#include "env/guarded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>

namespace daybridge {

namespace {

// What is at the path, following symbolic links: nothing, a regular file, or something else
// (also a link that leads nowhere).
enum class PathKind { Nothing, RegularFile, Other };

PathKind KindAt(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    struct stat info {};
    if (::stat(encoded.constData(), &info) == 0) {
        return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
    }
    if (errno == ENOENT && ::lstat(encoded.constData(), &info) != 0) {
        return PathKind::Nothing;
    }
    return PathKind::Other;  // a dangling link, or a path the system cannot look at
}

// Copies a regular file whole, atomically replacing the copy's path; false when any step
// failed (the copy's path is then left as it was).
bool CopyRegularFile(const QString& from, const QString& to) {
    const int fd = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    QSaveFile copy(to);
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && copy.open(QIODevice::WriteOnly);
    QByteArray piece(1024 * 1024, Qt::Uninitialized);
    while (ok) {
        const ssize_t got = ::read(fd, piece.data(), static_cast<size_t>(piece.size()));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        ok = copy.write(piece.constData(), got) == got;
    }
    ::close(fd);
    if (!ok || !copy.flush() || copy.error() != QFileDevice::NoError) {
        copy.cancelWriting();
        return false;
    }
    return copy.commit();
}

}  // namespace

GuardedRead ReadGuardedFile(const QString& path, qint64 maxBytes, QByteArray& bytes) {
    bytes.clear();
    // Non-blocking: opening a FIFO must not wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return KindAt(path) == PathKind::Nothing ? GuardedRead::Missing
                                                     : GuardedRead::NotRegular;
        }
        return errno == ENXIO || errno == ENODEV ? GuardedRead::NotRegular
                                                 : GuardedRead::Unreadable;
    }
    struct stat info {};
    GuardedRead outcome = GuardedRead::Loaded;
    if (::fstat(fd, &info) != 0) {
        outcome = GuardedRead::Unreadable;
    } else if (!S_ISREG(info.st_mode)) {
        outcome = GuardedRead::NotRegular;
    } else if (info.st_size > maxBytes) {
        outcome = GuardedRead::TooLarge;
    } else {
        // Read in pieces up to the limit, so that a file that grows while it is read cannot
        // grow the buffer without end.
        const qsizetype piece = static_cast<qsizetype>(std::min<qint64>(maxBytes + 1, 1 << 20));
        for (;;) {
            const qsizetype before = bytes.size();
            bytes.resize(before + piece);
            const ssize_t got = ::read(fd, bytes.data() + before, static_cast<size_t>(piece));
            if (got < 0 && errno == EINTR) {
                bytes.resize(before);
                continue;
            }
            bytes.resize(before + std::max<ssize_t>(got, 0));
            if (got < 0) {
                outcome = GuardedRead::Unreadable;
                break;
            }
            if (got == 0) {
                break;
            }
            if (bytes.size() > maxBytes) {
                outcome = GuardedRead::TooLarge;
                break;
            }
        }
    }
    ::close(fd);
    if (outcome != GuardedRead::Loaded) {
        bytes.clear();
    }
    return outcome;
}

QString KeepAsBad(const QString& path) {
    const QString kept = path + QStringLiteral(".bad");
    if (!CopyRegularFile(path, kept)) {
        QFile::remove(kept);
        if (!QFile::rename(path, kept)) {
            return {};
        }
    }
    return kept;
}

GuardedWrite WriteGuardedFile(const QString& path, const QByteArray& bytes, QString* reason) {
    QString target = path;
    switch (KindAt(path)) {
        case PathKind::Other:
            return GuardedWrite::NotRegular;
        case PathKind::RegularFile:
            target = QFileInfo(path).canonicalFilePath();
            break;
        case PathKind::Nothing:
            break;
    }
    const auto fail = [reason](const QString& why) {
        if (reason != nullptr) {
            *reason = why;
        }
        return GuardedWrite::Failed;
    };
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(file.errorString());
    }
    // The writes are buffered: a full disk shows only when the buffer is flushed, and the file
    // must not replace the old one then.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit()) {
        return fail(file.errorString());
    }
    return GuardedWrite::Written;
}

}  // namespace daybridge
