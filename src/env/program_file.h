// Reading a program file once, from its bytes: regular files, pipes, FIFOs, a terminal and
// standard input ("-") alike, without ever blocking on a FIFO that has no writer.
#pragma once

#include <QByteArray>
#include <QString>
#include <csignal>

namespace daybridge {

enum class ProgramFileStatus {
    Read,         // `bytes` holds the whole file (possibly empty)
    NotFound,     // no such file
    Folder,       // the name is a folder
    Device,       // a device other than a terminal (/dev/zero, a disk, a socket)
    Unreadable,   // no permission, or the system reported an error while reading
    TooLarge,     // more than the byte limit
    ControlChar,  // a control character other than TAB, LF, CR among the checked bytes
    Interrupted,  // a signal (Ctrl+C) came while waiting for the bytes
};

struct ProgramFile {
    ProgramFileStatus status = ProgramFileStatus::NotFound;
    QByteArray bytes;  // what was read; only the whole file when `status` is Read
};

// The name that means standard input.
inline constexpr const char* kStandardInputName = "-";

// A flag that a signal handler sets to ask the program to stop (Ctrl+C): a read that waits for
// a pipe or terminal gives up once it is set, also when the signal came just before the wait.
void SetReadStopFlag(const volatile std::sig_atomic_t* flag);

// Reads at most `byteLimit` bytes of `path` ("-" is standard input). A FIFO without a writer
// reads as empty. Reading stops at the first byte below 32 other than TAB, LF and CR within
// the first `controlCheckBytes` bytes, so an endless stream of such bytes is refused at once.
ProgramFile ReadProgramFile(const QString& path, qint64 byteLimit, qint64 controlCheckBytes);

}  // namespace daybridge
