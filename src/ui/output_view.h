// OutputView: a plain-text view for long outputs. The text is held as one QString with the start
// of every line; only the visible lines are painted, in a fixed-pitch font, without wrapping.
// Appending costs little more than the string append, and a copy into another view shares the
// string and copies the line index.
//
// The window's view shows the state's output in place (showOutput): the text is held once, and
// the view shows the part of it that was handed over by takeOutput.
//
// Lines end with CR LF, LF or CR, as they stand in the text. Positions are offsets into the
// text; the caret never rests inside a line break. Typed line breaks are CR LF.
#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <vector>

#include "app/output_text.h"

class QTimer;

namespace daybridge {

class OutputView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit OutputView(QWidget* parent = nullptr);

    // The text as held, with its own line breaks (for a view of the state's output, also what
    // was appended to it and not yet taken).
    const QString& text() const { return *text_; }
    // The length of the text shown.
    qsizetype shownLength() const { return size_; }
    // The text with every line break as LF.
    QString toPlainText() const;
    // Replaces the text; the caret goes to the start.
    void setText(const QString& text);
    // Shares `other`'s text and line index; the caret goes to the start.
    void copyFrom(const OutputView& other);
    // Adds text at the end; the caret and the selection stay where they are.
    void appendText(QStringView text);
    void clear();
    // Shows `output`'s text, which then is edited in place; `output` outlives the view.
    void showOutput(OutputText& output);
    // Shows what was appended to the output since the last look, like appendText; after the
    // output was replaced, or with `anew`, shows it all like setText.
    void takeOutput(bool anew = false);
    // Lets go of the output before it goes away; the view is then empty.
    void leaveOutput();

    qsizetype lineCount() const { return lines_; }
    qsizetype lineStart(qsizetype line) const;
    // End of the line's characters, before its line break.
    qsizetype lineEnd(qsizetype line) const;
    QStringView lineText(qsizetype line) const;
    // The line holding `position` (a position inside a line break belongs to the line it ends).
    qsizetype lineOf(qsizetype position) const;

    qsizetype caretPosition() const { return caret_; }
    qsizetype anchorPosition() const { return anchor_; }
    // Moves the caret; with `keepAnchor` the selection runs from the anchor to the caret.
    void setCaretPosition(qsizetype position, bool keepAnchor = false);
    void setSelection(qsizetype anchor, qsizetype caret);
    void moveCaretToEnd() { setCaretPosition(size_); }
    bool hasSelection() const { return caret_ != anchor_; }
    // The selected text with every line break as LF.
    QString selectedText() const;
    void clearSelection() { setCaretPosition(caret_); }
    void selectAll() { setSelection(0, size_); }

    // Editing at the caret: replaces the selection, if any (nothing when read-only).
    void insertText(const QString& text);
    void deleteBackward();
    void deleteForward();
    void copy() const;
    // The copy buttons: the selection, or the whole text when none, in place of what the
    // clipboard held; the selection is let go afterwards.
    void copySelectionOrAll();
    void cut();
    void paste();
    // Edits are undone and redone one by one; setting or appending text forgets them.
    void undo();
    void redo();
    bool isUndoAvailable() const { return !undo_.empty(); }
    bool isRedoAvailable() const { return !redo_.empty(); }

    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }

    // Scrolls so that the caret is in view.
    void ensureCaretVisible();
    // The first line shown at the top.
    qsizetype firstVisibleLine() const;

  signals:
    void textChanged();
    // Text typed, pasted, cut, undone or redone: an edit of the person, not of the program.
    void textEdited();
    void selectionChanged();
    void caretPositionChanged();

  protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    bool MoveCaretByKey(QKeyEvent* event);
    const QString& T() const { return *text_; }
    QStringView Text() const { return QStringView(*text_).first(size_); }
    // Indexes the whole text anew; the caret goes to the start.
    void ShowAnew();
    // Indexes the text from the old shown length to `size`, now shown.
    void ShowAppended(qsizetype size);
    // A view of the output whose text was replaced behind its back indexes it anew.
    void CheckOutput();
    // Appends to `out` the line starts after the breaks in text_[from, to); `lineBegin` is the
    // start of the line holding `from`. Widens widestLine_ to the lines seen.
    void ScanBreaks(qsizetype from, qsizetype to, qsizetype lineBegin, std::vector<qsizetype>& out);
    // Adds the lines starting in text_[from, to) to the index, except those starting at or after
    // `limit`; `lineBegin` is the start of the line holding `from`.
    void IndexRange(qsizetype from, qsizetype to, qsizetype lineBegin, qsizetype limit);
    // Counts one more line, starting at `start`; marks it when the last mark is far enough back.
    void AddLineStart(qsizetype start);
    // The start of the line after the one starting at `start`.
    qsizetype NextLineStart(qsizetype start) const;
    // Replaces text_[from, to) with `text` and mends the line index around the edit.
    void Replace(qsizetype from, qsizetype to, QStringView text);
    // Replace, remembered for undo; then the caret after the new text, no selection.
    void Edit(qsizetype from, qsizetype to, const QString& text);
    // Replace, then the caret and anchor given, and the signals.
    void Apply(qsizetype from, qsizetype to, const QString& text, qsizetype caret,
               qsizetype anchor);
    void ForgetEdits();
    qsizetype Normalized(qsizetype position) const;
    qsizetype NextPosition(qsizetype position) const;
    qsizetype PreviousPosition(qsizetype position) const;
    qsizetype WordStart(qsizetype position) const;
    qsizetype WordEnd(qsizetype position) const;
    // Column on screen of a character column of a line (tabs reach the next multiple of 8).
    qsizetype VisualColumn(qsizetype line, qsizetype column) const;
    qsizetype ColumnOfVisual(qsizetype line, double visual) const;
    qsizetype PositionAt(const QPoint& point) const;
    void MoveVertically(qsizetype lines, bool keepAnchor);
    void SetCaret(qsizetype caret, qsizetype anchor, bool keepColumn = false);
    void UpdateMetrics();
    void UpdateScrollBars();
    int VisibleLines() const;
    void StartBlink();

    // One edit: `removed` at `from` was replaced by `inserted`; caret and anchor before it.
    struct EditStep {
        qsizetype from;
        QString removed;
        QString inserted;
        qsizetype caret;
        qsizetype anchor;
    };
    static constexpr std::size_t kUndoLimit = 1000;

    QString own_;
    QString* text_ = &own_;  // own_, or the state's output
    qsizetype size_ = 0;     // the length of the text shown
    OutputText* output_ = nullptr;
    quint64 resets_ = 0;  // the output's reset count when the view indexed it
    std::vector<EditStep> undo_;
    std::vector<EditStep> redo_;
    // The line index: the number of lines, and the line number and start of every line that is
    // kMarkLines lines or kMarkChars characters after the last marked line (the first line is
    // marked). Other lines are found by scanning from the mark before them, a short way: a long
    // output costs little memory for its index.
    static constexpr qsizetype kMarkLines = 32;
    static constexpr qsizetype kMarkChars = 1024;
    static constexpr qsizetype kScanChunk = 1 << 16;
    qsizetype lines_ = 1;
    std::vector<qsizetype> markLines_{0};
    std::vector<qsizetype> markStarts_{0};
    qsizetype widestLine_ = 0;  // in character cells; grows as wider lines are seen
    qsizetype caret_ = 0;
    qsizetype anchor_ = 0;
    qsizetype wantedColumn_ = -1;  // visual column kept while moving up and down
    bool readOnly_ = false;
    bool caretShown_ = false;
    bool dragging_ = false;
    int charWidth_ = 8;
    int lineHeight_ = 16;
    int ascent_ = 12;
    QTimer* blink_ = nullptr;
    QTimer* dragScroll_ = nullptr;
};

}  // namespace daybridge
