#include "cli/terminal_host.h"

#include <stdio.h>  // getline
#include <QStringDecoder>
#include <algorithm>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace daybridge::cli {

namespace {

#ifdef __SSE2__
// Sixteen units at a time while they are ASCII, with at most one CR, of a CR LF pair: true when
// all sixteen were taken. Otherwise p and out move past the plain units before the first other
// one, which the caller takes. Needs 32 units at p (the next sixteen start sixteen units on
// whatever these hold, so one block's work need not wait for the last one's) and room for
// sixteen bytes at out.
[[gnu::always_inline]] inline bool TakeSixteenAscii(const char16_t*& p, char*& out) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
    const __m128i notAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    const __m128i cr = _mm_set1_epi16(u'\r');
    // One bit a unit (the 16-bit masks packed to bytes): ASCII, and CR.
    const auto ascii = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(_mm_and_si128(low, notAscii), zero),
                                          _mm_cmpeq_epi16(_mm_and_si128(high, notAscii), zero))));
    const auto crs = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(low, cr), _mm_cmpeq_epi16(high, cr))));
    // Sixteen bytes are stored, the plain ones counted: the run has room for them.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(low, high));
    if (ascii == 0xFFFF && crs == 0) {
        p += 16;
        out += 16;
        return true;
    }
    if (ascii == 0xFFFF && (crs & (crs - 1)) == 0) {
        const int at = __builtin_ctz(crs);
        if (p[at + 1] == u'\n') {
            // The CR dropped: the units after it stored over it (those beyond the sixteen are
            // stored again later).
            const char16_t* const after = p + at + 1;
            _mm_storeu_si128(
                reinterpret_cast<__m128i*>(out + at),
                _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(after)),
                                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(after + 8))));
            p += 16;
            out += 15;
            return true;
        }
    }
    const int count = __builtin_ctz(~(ascii & ~crs));
    p += count;
    out += count;
    return false;
}
#endif

// A unit from U+0080 on (with its low surrogate after p, which moves past it) as UTF-8.
[[gnu::always_inline]] inline void PutWideUnit(char16_t c, const char16_t*& p, const char16_t* end,
                                               char*& out) {
    if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (!QChar::isSurrogate(c)) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p)) {
        const char32_t u = QChar::surrogateToUcs4(c, *p++);
        *out++ = static_cast<char>(0xF0 | (u >> 18));
        *out++ = static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (u & 0x3F));
    } else {
        *out++ = '?';  // a surrogate without its partner, as QString::toUtf8 writes it
    }
}

}  // namespace

void LineEndWriter::write(QStringView text) {
    if (text.isEmpty()) {
        return;
    }
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    if (heldCr_) {
        heldCr_ = false;
        buffer_[used_++] = '\n';
        if (*p == u'\n') {
            ++p;  // the LF of a CR LF pair split between two pieces
        }
    }
    // Encoded straight into the block, a run at a time: a run of n code units starting
    // characters takes at most 3n + 1 bytes (a CR LF pair or a surrogate pair ending the run
    // reads one unit past it).
    while (p < end) {
        if (used_ >= kBlockSize) {
            put();
        }
        const std::ptrdiff_t room =
            std::max<std::ptrdiff_t>(1, static_cast<std::ptrdiff_t>((kBlockSize - used_) / 3));
        const char16_t* const stop = p + std::min(end - p, room);
        char* out = buffer_.get() + used_;
        while (p < stop) {
#ifdef __SSE2__
            if (stop - p >= 32 && TakeSixteenAscii(p, out)) {
                continue;
            }
#endif
            const char16_t c = *p++;
            if (c >= 0x80) {
                PutWideUnit(c, p, end, out);
            } else if (c != u'\r') {
                *out++ = static_cast<char>(c);
            } else if (p == end) {
                heldCr_ = true;  // its LF may start the next piece
                break;
            } else {
                // Each CR LF or lone CR becomes one LF.
                *out++ = '\n';
                if (*p == u'\n') {
                    ++p;
                }
            }
        }
        used_ = static_cast<std::size_t>(out - buffer_.get());
    }
    if (used_ >= kBlockSize) {
        put();
    }
}

void LineEndWriter::put() {
    if (error_ == 0 && used_ > 0) {
        errno = 0;
        if (std::fwrite(buffer_.get(), 1, used_, out_) != used_ || std::ferror(out_)) {
            error_ = errno != 0 ? errno : EIO;
        }
    }
    used_ = 0;
}

void LineEndWriter::flush() {
    put();
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
        buffer_[used_++] = '\n';
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
    if (output_.hasPending()) {
        writer_.write(output_.pendingView());
        output_.skipPending();
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
