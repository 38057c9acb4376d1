// The text of the output window. Lines end in CR LF inside the state and lengths count them.
//
// The view takes what was appended since its last look (takePending) and shows it by appending,
// so the whole text is never set again per line. In streaming mode (the command-line runner)
// text that was taken is dropped from memory, so a run of any length keeps memory flat; the
// total length and a short tail stay known.
//
// The window's output view shows and edits this object's text in place (sharedText), so a long
// output is held once; resets are counted so the view can tell its text was replaced.
#pragma once

#include <QString>
#include <QStringView>

namespace daybridge {

class OutputText {
  public:
    void append(QStringView text) {
        if (retained_.size() + text.size() > retained_.capacity()) [[unlikely]] {
            Grow(text.size());
        }
        retained_.append(text);
    }
    void clear();
    // Replaces the whole text (the user edited the window, or settings were loaded).
    void setText(const QString& text);

    qsizetype length() const { return dropped_ + retained_.size(); }
    bool isEmpty() const { return length() == 0; }
    // The whole text; in streaming mode only what has not been dropped.
    const QString& text() const { return retained_; }
    // True when the whole text equals `text` (also in streaming mode).
    bool equals(QStringView text) const;

    // Text appended since the last call; the view appends it to what it shows.
    QString takePending();
    // The text takePending() would return, without copying it; valid until the text changes.
    // skipPending() then marks it taken, as takePending() does.
    QStringView pendingView() const { return QStringView(retained_).mid(pendingFrom_); }
    void skipPending() {
        pendingFrom_ = retained_.size();
        static_cast<void>(takePending());  // clears the reset mark; drops text when streaming
    }
    bool hasPending() const { return pendingFrom_ < retained_.size(); }
    // True once clear() or setText() was called since the last takePending(): the view must
    // start afresh rather than append.
    bool resetSinceLastTake() const { return reset_; }

    // The text itself, for a view that shows it and edits it in place; after such an edit,
    // markTaken(n) says that the first n characters are what the view shows.
    QString& sharedText() { return retained_; }
    void markTaken(qsizetype shown) {
        pendingFrom_ = shown;
        reset_ = false;
    }
    // Counts clear() and setText(): a view of sharedText() indexed an older text when it changed.
    quint64 resetCount() const { return resets_; }

    void setStreaming(bool streaming) { streaming_ = streaming; }
    bool streaming() const { return streaming_; }

  private:
    // Makes room for `more` characters (a long text in one large step).
    void Grow(qsizetype more);

    QString retained_;
    qsizetype pendingFrom_ = 0;  // index in retained_ of the first text not yet taken
    qsizetype dropped_ = 0;      // length of the text dropped in streaming mode
    quint64 resets_ = 0;
    bool streaming_ = false;
    bool reset_ = false;
};

}  // namespace daybridge
