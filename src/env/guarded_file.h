// The small files the program keeps for the user (dbrg.usr, daybridge.conf), read and written
// so that nothing is lost: only a regular file is read or written (through a symbolic link only
// when it ends at one), never more than a size limit is read, a file that cannot be used is
// kept aside before it is replaced, and a write replaces the old file whole or not at all.
#pragma once

#include <QByteArray>
#include <QString>

namespace daybridge {

enum class GuardedRead {
    Loaded,
    Missing,     // nothing at the path
    NotRegular,  // a folder, FIFO or device (also at the end of a link): never opened
    Unreadable,  // the system refused to open or read it
    TooLarge,    // over the limit: not read beyond it
};

// Reads the whole file into `bytes`.
GuardedRead ReadGuardedFile(const QString& path, qint64 maxBytes, QByteArray& bytes);

// Keeps the file byte for byte as PATH.bad (replacing an older one): copied, or when it cannot
// be read, moved aside whole. The path it was kept as; empty when neither could be done.
QString KeepAsBad(const QString& path);

enum class GuardedWrite { Written, NotRegular, Failed };

// Replaces the file with `bytes` atomically: on a failure (full disk, quota, size limit) the
// old file stays whole and `reason` holds the system's words. A device, FIFO or folder at the
// path is left alone (NotRegular); a link to a regular file is followed, so the link stays and
// its target gets the new content.
GuardedWrite WriteGuardedFile(const QString& path, const QByteArray& bytes, QString* reason);

}  // namespace daybridge
