// The terminal as the Host of a batch run: message boxes and prompts go to stderr, answers
// come from stdin, and the output text streams to stdout with LF line ends.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "app/host.h"

namespace daybridge::cli {

// Writes output text as UTF-8 with LF line ends (CR LF and a lone CR become LF, also when a
// CR LF pair is split between two pieces), in large blocks. Each piece is encoded as
// QString::toUtf8 encodes it: a surrogate without its partner in the piece becomes '?'.
class LineEndWriter {
  public:
    explicit LineEndWriter(std::FILE* out)
        : out_(out), buffer_(std::make_unique<char[]>(kBlockSize + kSlack)) {}
    ~LineEndWriter() { finish(); }
    LineEndWriter(const LineEndWriter&) = delete;
    LineEndWriter& operator=(const LineEndWriter&) = delete;

    void write(QStringView text);
    // Hands what is buffered to the stream and flushes it.
    void flush();
    // Writes a CR still held back and flushes.
    void finish();

    // True once the stream refused a write (full disk, closed pipe); nothing more is written.
    bool failed() const { return error_ != 0; }
    // The system's error number of that refusal.
    int error() const { return error_; }

    static constexpr std::size_t kBlockSize = 1 << 16;

  private:
    // Hands the buffered bytes to the stream.
    void put();

    // Room beyond kBlockSize: a piece is encoded in runs of at most (free room) / 3 code units,
    // and the last unit of a run may take its low surrogate along.
    static constexpr std::size_t kSlack = 16;

    std::FILE* out_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    int error_ = 0;
    bool heldCr_ = false;  // a CR at the end of the last piece, not yet written
};

// Converts CR LF and lone CR to LF.
QString WithLfLineEnds(const QString& text);

class TerminalHost : public Host {
  public:
    TerminalHost(LineEndWriter& writer, std::int32_t todayJdn, bool interactive)
        : writer_(writer), today_(todayJdn), interactive_(interactive) {}

    MsgAnswer messageBox(const QString& title, const QString& text, MsgIcon icon,
                         MsgButtons buttons, MsgAnswer defaultAnswer) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title) override;
    std::int32_t todayJdn() override { return today_; }
    // Streamed: text written out is dropped (setStreaming).
    OutputText& output() override { return output_; }

    // Takes the output text produced so far and writes it.
    void drainOutput();

    // True once any message was shown.
    bool anyMessage() const { return anyMessage_; }

  private:
    void writeStderr(const QString& text);

    LineEndWriter& writer_;
    std::int32_t today_;
    bool interactive_;  // stdin is a terminal: the prompt stays on the answer's line
    bool anyMessage_ = false;
    OutputText output_;
};

}  // namespace daybridge::cli
