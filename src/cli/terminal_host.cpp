#include "cli/terminal_host.h"

#include <stdio.h>  // getline
#include <QStringDecoder>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace daybridge::cli {

void LineEndWriter::write(QStringView text) {
    if (text.isEmpty()) {
        return;
    }
    const QByteArray bytes = text.toUtf8();
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    if (heldCr_) {
        heldCr_ = false;
        buffer_.push_back('\n');
        if (*p == '\n') {
            ++p;  // the LF of a CR LF pair split between two pieces
        }
    }
    // Copy the runs between CRs whole; each CR LF or lone CR becomes one LF.
    while (p < end) {
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', end - p));
        if (cr == nullptr) {
            buffer_.append(p, end);
            break;
        }
        buffer_.append(p, cr);
        p = cr + 1;
        if (p == end) {
            heldCr_ = true;  // its LF may start the next piece
            break;
        }
        buffer_.push_back('\n');
        if (*p == '\n') {
            ++p;
        }
    }
    if (buffer_.size() >= kBlockSize) {
        put(buffer_);
        buffer_.clear();
    }
}

void LineEndWriter::put(const std::string& bytes) {
    if (error_ != 0) {
        return;
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), out_) != bytes.size() || std::ferror(out_)) {
        error_ = errno != 0 ? errno : EIO;
    }
}

void LineEndWriter::flush() {
    if (!buffer_.empty()) {
        put(buffer_);
        buffer_.clear();
    }
    if (error_ == 0) {
        errno = 0;
        if (std::fflush(out_) != 0) {
            error_ = errno != 0 ? errno : EIO;
        }
    }
}

void LineEndWriter::finish() {
    if (heldCr_) {
        heldCr_ = false;
        buffer_.push_back('\n');
    }
    flush();
}

QString WithLfLineEnds(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QChar('\r'), QChar('\n'));
    return result;
}

void TerminalHost::drainOutput() {
    if (state_.output.hasPending()) {
        writer_.write(state_.output.takePending());
    }
}

void TerminalHost::writeStderr(const QString& text) {
    // What the run wrote before the message comes first on a shared terminal.
    drainOutput();
    writer_.flush();
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

MsgAnswer TerminalHost::messageBox(const QString& title, const QString& text, MsgIcon,
                                   MsgButtons buttons, MsgAnswer defaultAnswer) {
    anyMessage_ = true;
    QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
    line = WithLfLineEnds(line);
    if (!line.endsWith('\n')) {
        line += '\n';
    }
    writeStderr(line);
    if (buttons == MsgButtons::Ok) {
        return MsgAnswer::Ok;
    }
    return defaultAnswer;
}

std::optional<QString> TerminalHost::inputBox(const QString& prompt, const QString&) {
    QString shown = WithLfLineEnds(prompt);
    shown += interactive_ ? QStringLiteral(" ") : QStringLiteral("\n");
    writeStderr(shown);

    char* raw = nullptr;
    std::size_t capacity = 0;
    const ssize_t n = ::getline(&raw, &capacity, stdin);
    if (n < 0) {
        std::free(raw);
        clearerr(stdin);
        return std::nullopt;  // end of input (or Ctrl+C while waiting): Cancel
    }
    QByteArray bytes(raw, n);
    std::free(raw);
    while (bytes.endsWith('\n') || bytes.endsWith('\r')) {
        bytes.chop(1);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString answer = utf8.decode(bytes);
    if (utf8.hasError()) {
        answer = QString::fromLatin1(bytes);
    }
    return answer;
}

}  // namespace daybridge::cli
