#include "ui/output_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace daybridge {

namespace {

constexpr int kMargin = 4;     // pixels left of the first column and above the first line
constexpr qsizetype kTab = 8;  // a tab reaches the next multiple of this many columns

// `text` with every CR LF and every lone CR as LF.
QString WithLf(QStringView text) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype copied = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] != u'\r') {
            continue;
        }
        out.append(text.mid(copied, i - copied));
        out.append(u'\n');
        if (i + 1 < n && text[i + 1] == u'\n') {
            ++i;
        }
        copied = i + 1;
    }
    out.append(text.mid(copied));
    return out;
}

// `text` with every line break as CR LF, the line break the view types.
QString WithCrLf(QStringView text) {
    const QString lf = WithLf(text);
    QString out;
    out.reserve(lf.size() + lf.count(u'\n'));
    for (const QChar c : lf) {
        if (c == u'\n') {
            out.append(u'\r');
        }
        out.append(c);
    }
    return out;
}

// A coordinate or scroll value as an int; texts far beyond any screen stay in range.
int Clamped(qsizetype value) {
    return static_cast<int>(std::clamp<qsizetype>(value, -(INT_MAX / 4), INT_MAX / 4));
}

bool IsWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

}  // namespace

OutputView::OutputView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    blink_ = new QTimer(this);
    connect(blink_, &QTimer::timeout, this, [this] {
        caretShown_ = !caretShown_;
        viewport()->update();
    });
    dragScroll_ = new QTimer(this);
    dragScroll_->setInterval(50);
    connect(dragScroll_, &QTimer::timeout, this, [this] {
        CheckOutput();
        const QPoint at = viewport()->mapFromGlobal(QCursor::pos());
        SetCaret(PositionAt(at), anchor_);
        ensureCaretVisible();
    });
    UpdateMetrics();
}

// ---------------------------------------------------------------------------------------------
// The text and its lines

void OutputView::ScanBreaks(qsizetype from, qsizetype to, qsizetype lineBegin,
                            std::vector<qsizetype>& out) {
    const QChar* d = text_->constData();
    const qsizetype size = size_;
    qsizetype widest = widestLine_;
    for (qsizetype p = from; p < to; ++p) {
        // Four characters at a time while none of them is below 16 (no CR, no LF).
        while (p + 4 <= to) {
            std::uint64_t four;
            std::memcpy(&four, d + p, sizeof four);
            constexpr std::uint64_t kSixteen = 0x0010001000100010;
            constexpr std::uint64_t kHigh = 0x8000800080008000;
            if (((four - kSixteen) & ~four & kHigh) != 0) {
                break;
            }
            p += 4;
        }
        if (p >= to) {
            break;
        }
        const char16_t c = d[p].unicode();
        if (c > u'\r' || (c != u'\n' && c != u'\r')) {
            continue;
        }
        widest = std::max(widest, p - lineBegin);
        if (c == u'\r' && p + 1 < size && d[p + 1] == u'\n') {
            ++p;
        }
        lineBegin = p + 1;
        out.push_back(lineBegin);
    }
    widestLine_ = std::max(widest, std::min(to, size) - lineBegin);
}

qsizetype OutputView::lineEnd(qsizetype line) const {
    if (line + 1 >= lineCount()) {
        return size_;
    }
    qsizetype end = lineStart(line + 1) - 1;
    if (T()[end] == u'\n' && end > lineStart(line) && T()[end - 1] == u'\r') {
        --end;
    }
    return end;
}

QStringView OutputView::lineText(qsizetype line) const {
    const qsizetype start = lineStart(line);
    return Text().mid(start, lineEnd(line) - start);
}

qsizetype OutputView::NextLineStart(qsizetype start) const {
    const QChar* d = T().constData();
    for (qsizetype p = start; p < size_; ++p) {
        const char16_t c = d[p].unicode();
        if (c == u'\n') {
            return p + 1;
        }
        if (c == u'\r') {
            return p + 1 < size_ && d[p + 1] == u'\n' ? p + 2 : p + 1;
        }
    }
    return size_;  // not reached for a line that has a next one
}

qsizetype OutputView::lineStart(qsizetype line) const {
    const auto mark = std::upper_bound(markLines_.begin(), markLines_.end(), line) - 1;
    qsizetype start = markStarts_[static_cast<std::size_t>(mark - markLines_.begin())];
    for (qsizetype at = *mark; at < line; ++at) {
        start = NextLineStart(start);
    }
    return start;
}

qsizetype OutputView::lineOf(qsizetype position) const {
    const auto mark = std::upper_bound(markStarts_.begin(), markStarts_.end(), position) - 1;
    const auto index = static_cast<std::size_t>(std::max<qsizetype>(0, mark - markStarts_.begin()));
    qsizetype line = markLines_[index];
    qsizetype start = markStarts_[index];
    const qsizetype next = index + 1 < markLines_.size() ? markLines_[index + 1] : lines_;
    while (line + 1 < next) {
        const qsizetype following = NextLineStart(start);
        if (following > position) {
            break;
        }
        start = following;
        ++line;
    }
    return line;
}

void OutputView::AddLineStart(qsizetype start) {
    if (lines_ - markLines_.back() >= kMarkLines || start - markStarts_.back() >= kMarkChars) {
        markLines_.push_back(lines_);
        markStarts_.push_back(start);
    }
    ++lines_;
}

void OutputView::IndexRange(qsizetype from, qsizetype to, qsizetype lineBegin, qsizetype limit) {
    std::vector<qsizetype> found;
    while (from < to) {
        const qsizetype end = std::min(to, from + kScanChunk);
        found.clear();
        ScanBreaks(from, end, lineBegin, found);
        for (const qsizetype start : found) {
            if (start >= limit) {
                return;
            }
            AddLineStart(start);
        }
        if (!found.empty()) {
            lineBegin = found.back();
        }
        from = std::max(end, lineBegin);  // a CR LF pair may straddle the chunk's end
    }
}

QString OutputView::toPlainText() const {
    return WithLf(Text());
}

void OutputView::setText(const QString& text) {
    *text_ = text;
    ShowAnew();
}

void OutputView::ShowAnew() {
    ForgetEdits();
    if (output_ != nullptr) {
        resets_ = output_->resetCount();
    }
    size_ = text_->size();
    markLines_.assign(1, 0);
    markStarts_.assign(1, 0);
    lines_ = 1;
    widestLine_ = 0;
    IndexRange(0, size_, 0, size_ + 1);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    UpdateScrollBars();
    SetCaret(0, 0);
    viewport()->update();
    emit textChanged();
}

void OutputView::copyFrom(const OutputView& other) {
    ForgetEdits();
    own_ = other.size_ == other.text_->size() ? *other.text_ : other.text_->left(other.size_);
    text_ = &own_;
    output_ = nullptr;
    size_ = own_.size();
    markLines_ = other.markLines_;
    markStarts_ = other.markStarts_;
    lines_ = other.lines_;
    widestLine_ = other.widestLine_;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    UpdateScrollBars();
    SetCaret(0, 0);
    viewport()->update();
    emit textChanged();
}

void OutputView::appendText(QStringView text) {
    if (text.isEmpty()) {
        return;
    }
    text_->insert(size_, text);  // before output not yet taken, if any
    ShowAppended(size_ + text.size());
}

void OutputView::showOutput(OutputText& output) {
    output_ = &output;
    text_ = &output.sharedText();
    ShowAnew();
}

void OutputView::takeOutput(bool anew) {
    if (output_ == nullptr) {
        return;
    }
    if (anew || output_->resetCount() != resets_ || text_->size() < size_) {
        ShowAnew();
    } else if (text_->size() > size_) {
        ShowAppended(text_->size());
    }
}

void OutputView::leaveOutput() {
    output_ = nullptr;
    text_ = &own_;
    own_.clear();
    ShowAnew();
}

void OutputView::CheckOutput() {
    if (output_ != nullptr && (output_->resetCount() != resets_ || text_->size() < size_)) {
        // The output was replaced while a message box of a run was open: show what it holds.
        const QSignalBlocker quiet(this);
        ShowAnew();
    }
}

void OutputView::ShowAppended(qsizetype size) {
    ForgetEdits();  // an undo must not reach across text that came after the edit
    const qsizetype old = size_;
    size_ = size;
    // A CR that ended the text and an LF that begins the new text are one line break: the empty
    // line after the CR now starts after the LF.
    const bool joined = old > 0 && T()[old - 1] == u'\r' && T()[old] == u'\n';
    qsizetype from = old;
    if (joined) {
        if (markStarts_.back() == old) {
            markStarts_.back() = old + 1;
        }
        from = old + 1;
        caret_ = caret_ == old ? old + 1 : caret_;
        anchor_ = anchor_ == old ? old + 1 : anchor_;
    }
    IndexRange(from, size_, lineStart(lines_ - 1), size_ + 1);
    UpdateScrollBars();
    viewport()->update();
    emit textChanged();
}

void OutputView::clear() {
    setText(QString());
}

void OutputView::Replace(qsizetype from, qsizetype to, QStringView text) {
    // The line before the edit is scanned again: its CR may meet an LF at the start of the
    // new text. Line starts at least two characters after the edit follow unchanged text.
    // The lines from the mark at or before that line are indexed again, up to the first mark
    // after the edit, whose line and start then move with the edit.
    const qsizetype first = std::max<qsizetype>(0, lineOf(from) - 1);
    const auto mark = std::upper_bound(markLines_.begin(), markLines_.end(), first) - 1;
    const qsizetype markIndex = mark - markLines_.begin();
    const qsizetype baseLine = *mark;
    const qsizetype base = markStarts_[static_cast<std::size_t>(markIndex)];
    const auto kept =
        std::lower_bound(markStarts_.begin() + markIndex + 1, markStarts_.end(), to + 2);
    const qsizetype keptIndex = kept - markStarts_.begin();
    const bool tail = kept != markStarts_.end();
    const qsizetype keptLine = tail ? markLines_[static_cast<std::size_t>(keptIndex)] : lines_;
    const qsizetype delta = text.size() - (to - from);
    text_->replace(from, to - from, text.data(), text.size());
    size_ += delta;
    const qsizetype scanEnd = tail ? *kept + delta : size_;

    // Index the region into the marks' tail, then put the kept marks back after it.
    std::vector<qsizetype> keptLines(markLines_.begin() + keptIndex, markLines_.end());
    std::vector<qsizetype> keptStarts(kept, markStarts_.end());
    markLines_.resize(static_cast<std::size_t>(markIndex + 1));
    markStarts_.resize(static_cast<std::size_t>(markIndex + 1));
    const qsizetype oldLines = lines_;
    lines_ = baseLine + 1;
    IndexRange(base, scanEnd, base, tail ? scanEnd : size_ + 1);
    if (tail) {
        const qsizetype shift = lines_ - keptLine;
        for (std::size_t i = 0; i < keptLines.size(); ++i) {
            markLines_.push_back(keptLines[i] + shift);
            markStarts_.push_back(keptStarts[i] + delta);
        }
        lines_ = oldLines + shift;
    }
    UpdateScrollBars();
    viewport()->update();
}

// ---------------------------------------------------------------------------------------------
// Caret and selection

qsizetype OutputView::Normalized(qsizetype position) const {
    position = std::clamp<qsizetype>(position, 0, size_);
    return std::min(position, lineEnd(lineOf(position)));
}

qsizetype OutputView::NextPosition(qsizetype position) const {
    const qsizetype line = lineOf(position);
    if (position < lineEnd(line)) {
        const bool pair = T()[position].isHighSurrogate() && position + 1 < lineEnd(line) &&
                          T()[position + 1].isLowSurrogate();
        return position + (pair ? 2 : 1);
    }
    return line + 1 < lineCount() ? lineStart(line + 1) : position;
}

qsizetype OutputView::PreviousPosition(qsizetype position) const {
    const qsizetype line = lineOf(position);
    if (position > lineStart(line)) {
        const bool pair = T()[position - 1].isLowSurrogate() && position - 2 >= lineStart(line) &&
                          T()[position - 2].isHighSurrogate();
        return position - (pair ? 2 : 1);
    }
    return line > 0 ? lineEnd(line - 1) : position;
}

qsizetype OutputView::WordStart(qsizetype position) const {
    const qsizetype start = lineStart(lineOf(position));
    while (position > start && IsWordChar(T()[position - 1])) {
        --position;
    }
    return position;
}

qsizetype OutputView::WordEnd(qsizetype position) const {
    const qsizetype end = lineEnd(lineOf(position));
    while (position < end && IsWordChar(T()[position])) {
        ++position;
    }
    return position;
}

void OutputView::setCaretPosition(qsizetype position, bool keepAnchor) {
    SetCaret(position, keepAnchor ? anchor_ : position);
    ensureCaretVisible();
}

void OutputView::setSelection(qsizetype anchor, qsizetype caret) {
    SetCaret(caret, anchor);
    ensureCaretVisible();
}

void OutputView::SetCaret(qsizetype caret, qsizetype anchor, bool keepColumn) {
    caret = Normalized(caret);
    anchor = Normalized(anchor);
    const qsizetype oldStart = std::min(caret_, anchor_);
    const qsizetype oldEnd = std::max(caret_, anchor_);
    const bool oldSelection = hasSelection();
    const bool moved = caret != caret_;
    caret_ = caret;
    anchor_ = anchor;
    if (!keepColumn) {
        wantedColumn_ = -1;
    }
    if (hasFocus()) {
        StartBlink();
    }
    viewport()->update();
    if (moved) {
        emit caretPositionChanged();
    }
    if ((oldSelection || hasSelection()) &&
        (oldStart != std::min(caret_, anchor_) || oldEnd != std::max(caret_, anchor_))) {
        emit selectionChanged();
    }
}

QString OutputView::selectedText() const {
    const qsizetype start = std::min(caret_, anchor_);
    return WithLf(Text().mid(start, std::max(caret_, anchor_) - start));
}

// ---------------------------------------------------------------------------------------------
// Editing

void OutputView::insertText(const QString& text) {
    if (!readOnly_) {
        Edit(std::min(caret_, anchor_), std::max(caret_, anchor_), text);
    }
}

void OutputView::deleteBackward() {
    if (!readOnly_) {
        Edit(hasSelection() ? std::min(caret_, anchor_) : PreviousPosition(caret_),
             std::max(caret_, anchor_), QString());
    }
}

void OutputView::deleteForward() {
    if (!readOnly_) {
        Edit(std::min(caret_, anchor_),
             hasSelection() ? std::max(caret_, anchor_) : NextPosition(caret_), QString());
    }
}

void OutputView::Edit(qsizetype from, qsizetype to, const QString& text) {
    if (from == to && text.isEmpty()) {
        return;
    }
    QString removed = T().mid(from, to - from);
    if (removed != text) {  // an edit that changes nothing is not worth an undo step
        if (undo_.size() >= kUndoLimit) {
            undo_.erase(undo_.begin());
        }
        undo_.push_back({from, std::move(removed), text, caret_, anchor_});
        redo_.clear();
    }
    Apply(from, to, text, from + text.size(), from + text.size());
}

void OutputView::undo() {
    if (readOnly_ || undo_.empty()) {
        return;
    }
    EditStep step = std::move(undo_.back());
    undo_.pop_back();
    const qsizetype caret = step.caret;
    const qsizetype anchor = step.anchor;
    const qsizetype from = step.from;
    const QString removed = step.removed;
    const qsizetype end = from + step.inserted.size();
    redo_.push_back(std::move(step));
    Apply(from, end, removed, caret, anchor);
}

void OutputView::redo() {
    if (readOnly_ || redo_.empty()) {
        return;
    }
    EditStep step = std::move(redo_.back());
    redo_.pop_back();
    const qsizetype from = step.from;
    const QString inserted = step.inserted;
    const qsizetype end = from + step.removed.size();
    undo_.push_back(std::move(step));
    Apply(from, end, inserted, from + inserted.size(), from + inserted.size());
}

void OutputView::ForgetEdits() {
    undo_.clear();
    redo_.clear();
}

void OutputView::Apply(qsizetype from, qsizetype to, const QString& text, qsizetype caret,
                       qsizetype anchor) {
    const qsizetype oldStart = std::min(caret_, anchor_);
    const qsizetype oldEnd = std::max(caret_, anchor_);
    const bool hadSelection = hasSelection();
    const qsizetype oldCaret = caret_;
    Replace(from, to, text);
    caret_ = Normalized(caret);
    anchor_ = Normalized(anchor);
    wantedColumn_ = -1;
    if (hasFocus()) {
        StartBlink();
    }
    ensureCaretVisible();
    emit textChanged();
    emit textEdited();
    if (caret_ != oldCaret) {
        emit caretPositionChanged();
    }
    if ((hadSelection || hasSelection()) &&
        (oldStart != std::min(caret_, anchor_) || oldEnd != std::max(caret_, anchor_) ||
         from < oldEnd)) {
        emit selectionChanged();  // the selection moved, or its text changed
    }
}

void OutputView::copy() const {
    if (hasSelection()) {
        QGuiApplication::clipboard()->setText(selectedText());
    }
}

void OutputView::copySelectionOrAll() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(hasSelection() ? selectedText() : toPlainText());
    clearSelection();
}

void OutputView::cut() {
    if (!readOnly_ && hasSelection()) {
        copy();
        insertText(QString());
    }
}

void OutputView::paste() {
    const QString pasted = QGuiApplication::clipboard()->text();
    if (!pasted.isEmpty()) {
        insertText(WithCrLf(pasted));
    }
}

// ---------------------------------------------------------------------------------------------
// Geometry

void OutputView::UpdateMetrics() {
    const QFontMetricsF metrics(font());
    charWidth_ = std::max(1, static_cast<int>(std::lround(metrics.horizontalAdvance(u'0'))));
    lineHeight_ = std::max(1, static_cast<int>(std::ceil(metrics.lineSpacing())));
    ascent_ = static_cast<int>(std::ceil(metrics.ascent()));
    UpdateScrollBars();
    viewport()->update();
}

int OutputView::VisibleLines() const {
    return std::max(1, (viewport()->height() - kMargin) / lineHeight_);
}

qsizetype OutputView::firstVisibleLine() const {
    return verticalScrollBar()->value();
}

void OutputView::UpdateScrollBars() {
    const int visible = VisibleLines();
    const qsizetype lines = lineCount();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, static_cast<int>(std::clamp<qsizetype>(lines - visible, 0, INT_MAX)));
    vertical->setPageStep(visible);
    vertical->setSingleStep(1);
    const qsizetype width = 2 * kMargin + (widestLine_ + 1) * charWidth_;
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(
        0, static_cast<int>(std::clamp<qsizetype>(width - viewport()->width(), 0, INT_MAX)));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(charWidth_);
}

qsizetype OutputView::VisualColumn(qsizetype line, qsizetype column) const {
    const QStringView text = lineText(line).left(column);
    qsizetype visual = 0;
    for (const QChar c : text) {
        visual = c == u'\t' ? (visual / kTab + 1) * kTab : visual + 1;
    }
    return visual;
}

qsizetype OutputView::ColumnOfVisual(qsizetype line, double visual) const {
    const QStringView text = lineText(line);
    qsizetype at = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype next = text[i] == u'\t' ? (at / kTab + 1) * kTab : at + 1;
        if (visual < static_cast<double>(at + next) / 2) {
            return i;
        }
        at = next;
    }
    return text.size();
}

qsizetype OutputView::PositionAt(const QPoint& point) const {
    const qsizetype line = std::clamp<qsizetype>(
        firstVisibleLine() + (point.y() >= kMargin ? (point.y() - kMargin) / lineHeight_ : -1), 0,
        lineCount() - 1);
    const double visual =
        static_cast<double>(point.x() - kMargin + horizontalScrollBar()->value()) / charWidth_;
    return lineStart(line) + ColumnOfVisual(line, visual);
}

void OutputView::ensureCaretVisible() {
    const qsizetype line = lineOf(caret_);
    const qsizetype first = firstVisibleLine();
    const int visible = VisibleLines();
    if (line < first) {
        verticalScrollBar()->setValue(Clamped(line));
    } else if (line >= first + visible) {
        verticalScrollBar()->setValue(Clamped(line - visible + 1));
    }
    const qsizetype column = VisualColumn(line, caret_ - lineStart(line));
    if (column > widestLine_) {
        widestLine_ = column;  // tabs made the line wider than its characters
        UpdateScrollBars();
    }
    const qsizetype x = column * charWidth_;
    const qsizetype left = horizontalScrollBar()->value();
    const qsizetype room = std::max<qsizetype>(charWidth_, viewport()->width() - 2 * kMargin);
    if (x < left) {
        horizontalScrollBar()->setValue(Clamped(std::max<qsizetype>(0, x - room / 4)));
    } else if (x + charWidth_ > left + room) {
        horizontalScrollBar()->setValue(Clamped(x + charWidth_ - room + room / 4));
    }
}

void OutputView::MoveVertically(qsizetype lines, bool keepAnchor) {
    const qsizetype line = lineOf(caret_);
    if (wantedColumn_ < 0) {
        wantedColumn_ = VisualColumn(line, caret_ - lineStart(line));
    }
    const qsizetype target = std::clamp<qsizetype>(line + lines, 0, lineCount() - 1);
    qsizetype position =
        lineStart(target) + ColumnOfVisual(target, static_cast<double>(wantedColumn_));
    if (target == line && lines != 0) {
        position = lines < 0 ? 0 : size_;  // past the first or last line: to its end
    }
    SetCaret(position, keepAnchor ? anchor_ : position, true);
}

// ---------------------------------------------------------------------------------------------
// Painting

void OutputView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QColor textColour = palette().color(group, QPalette::Text);
    const QColor highlight = palette().color(group, QPalette::Highlight);
    const QColor highlightedText = palette().color(group, QPalette::HighlightedText);
    const int left = horizontalScrollBar()->value();
    const qsizetype firstColumn = std::max(0, left - kMargin) / charWidth_;
    const qsizetype columns = viewport()->width() / charWidth_ + 2;
    const qsizetype selStart = std::min(caret_, anchor_);
    const qsizetype selEnd = std::max(caret_, anchor_);
    const qsizetype first = firstVisibleLine();
    const qsizetype last = std::min(lineCount(), first + VisibleLines() + 1);
    QString expanded;
    for (qsizetype line = first; line < last; ++line) {
        const int y = kMargin + static_cast<int>(line - first) * lineHeight_;
        const qsizetype start = lineStart(line);
        const qsizetype end = lineEnd(line);
        QStringView shown = lineText(line);
        if (shown.contains(u'\t')) {
            expanded.clear();
            for (const QChar c : shown) {
                if (c == u'\t') {
                    expanded.append(QString(kTab - expanded.size() % kTab, u' '));
                } else {
                    expanded.append(c);
                }
            }
            shown = expanded;
        }
        const QString segment = shown.mid(std::min(firstColumn, shown.size()), columns).toString();
        const int x = Clamped(kMargin + firstColumn * charWidth_ - left);
        painter.setPen(textColour);
        painter.drawText(QPoint(x, y + ascent_), segment);
        if (selStart < selEnd && selStart <= end && selEnd > start) {
            const qsizetype from = VisualColumn(line, std::max(selStart, start) - start);
            qsizetype to = VisualColumn(line, std::min(selEnd, end) - start);
            if (selEnd > end) {
                ++to;  // the line break is selected too
            }
            const int bandLeft = Clamped(kMargin + from * charWidth_ - left);
            const int bandRight = Clamped(kMargin + to * charWidth_ - left);
            const QRect band(bandLeft, y, bandRight - bandLeft, lineHeight_);
            painter.fillRect(band, highlight);
            painter.save();
            painter.setClipRect(band);
            painter.setPen(highlightedText);
            painter.drawText(QPoint(x, y + ascent_), segment);
            painter.restore();
        }
    }
    if (caretShown_ && hasFocus()) {
        const qsizetype line = lineOf(caret_);
        if (line >= first && line < last) {
            const int x =
                Clamped(kMargin + VisualColumn(line, caret_ - lineStart(line)) * charWidth_ - left);
            painter.fillRect(x, kMargin + static_cast<int>(line - first) * lineHeight_, 1,
                             lineHeight_, textColour);
        }
    }
}

void OutputView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void OutputView::scrollContentsBy(int, int) {
    viewport()->update();
}

void OutputView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        UpdateMetrics();
    }
    QAbstractScrollArea::changeEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Keyboard, mouse and focus

namespace {

bool IsEditingShortcut(const QKeyEvent* key) {
    for (const QKeySequence::StandardKey standard :
         {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::SelectAll,
          QKeySequence::Undo, QKeySequence::Redo, QKeySequence::MoveToStartOfDocument,
          QKeySequence::MoveToEndOfDocument, QKeySequence::SelectStartOfDocument,
          QKeySequence::SelectEndOfDocument, QKeySequence::MoveToNextWord,
          QKeySequence::MoveToPreviousWord, QKeySequence::SelectNextWord,
          QKeySequence::SelectPreviousWord}) {
        if (key->matches(standard)) {
            return true;
        }
    }
    const auto modifiers = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    // Typed characters belong to the text; Escape is left to the window (it closes windows).
    return modifiers == Qt::NoModifier && !key->text().isEmpty() && key->key() != Qt::Key_Escape;
}

}  // namespace

bool OutputView::event(QEvent* event) {
    CheckOutput();
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsEditingShortcut(key)) {
            key->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool OutputView::viewportEvent(QEvent* event) {
    CheckOutput();
    return QAbstractScrollArea::viewportEvent(event);
}

void OutputView::keyPressEvent(QKeyEvent* event) {
    using K = QKeySequence;
    if (event->matches(K::Copy)) {
        copy();
    } else if (event->matches(K::Cut)) {
        cut();
    } else if (event->matches(K::Paste)) {
        paste();
    } else if (event->matches(K::SelectAll)) {
        selectAll();
    } else if (event->matches(K::Undo)) {
        undo();
    } else if (event->matches(K::Redo)) {
        redo();
    } else if (MoveCaretByKey(event)) {
    } else if (event->key() == Qt::Key_Backspace) {
        deleteBackward();
    } else if (event->matches(K::Delete)) {
        deleteForward();
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        insertText(QStringLiteral("\r\n"));
    } else {
        const QString typed = event->text();
        const auto modifiers = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        const bool printable =
            !typed.isEmpty() && std::all_of(typed.begin(), typed.end(), [](QChar c) {
                return c.unicode() >= 32 && c.unicode() != 127;
            });
        if (printable && modifiers == Qt::NoModifier) {
            insertText(typed);
        } else {
            event->ignore();
            return;
        }
    }
    event->accept();
}

// The caret keys: by character, word, line, page, line end and document end, moving or
// selecting. False for any other key.
bool OutputView::MoveCaretByKey(QKeyEvent* event) {
    using K = QKeySequence;
    const qsizetype selStart = std::min(caret_, anchor_);
    const qsizetype selEnd = std::max(caret_, anchor_);
    auto move = [this](qsizetype position, bool keepAnchor) {
        SetCaret(position, keepAnchor ? anchor_ : position);
        ensureCaretVisible();
    };
    if (event->matches(K::MoveToNextChar)) {
        move(hasSelection() ? selEnd : NextPosition(caret_), false);
    } else if (event->matches(K::SelectNextChar)) {
        move(NextPosition(caret_), true);
    } else if (event->matches(K::MoveToPreviousChar)) {
        move(hasSelection() ? selStart : PreviousPosition(caret_), false);
    } else if (event->matches(K::SelectPreviousChar)) {
        move(PreviousPosition(caret_), true);
    } else if (event->matches(K::MoveToNextWord) || event->matches(K::SelectNextWord)) {
        qsizetype at = caret_;
        while (at < size_ && !IsWordChar(T()[at])) {
            at = NextPosition(at) == at ? size_ : NextPosition(at);
        }
        move(WordEnd(at), event->matches(K::SelectNextWord));
    } else if (event->matches(K::MoveToPreviousWord) || event->matches(K::SelectPreviousWord)) {
        qsizetype at = caret_;
        while (at > 0 && !IsWordChar(T()[at - 1])) {
            at = PreviousPosition(at);
        }
        move(WordStart(at), event->matches(K::SelectPreviousWord));
    } else if (event->matches(K::MoveToNextLine) || event->matches(K::SelectNextLine)) {
        MoveVertically(1, event->matches(K::SelectNextLine));
        ensureCaretVisible();
    } else if (event->matches(K::MoveToPreviousLine) || event->matches(K::SelectPreviousLine)) {
        MoveVertically(-1, event->matches(K::SelectPreviousLine));
        ensureCaretVisible();
    } else if (event->matches(K::MoveToNextPage) || event->matches(K::SelectNextPage)) {
        verticalScrollBar()->setValue(verticalScrollBar()->value() + VisibleLines());
        MoveVertically(VisibleLines(), event->matches(K::SelectNextPage));
        ensureCaretVisible();
    } else if (event->matches(K::MoveToPreviousPage) || event->matches(K::SelectPreviousPage)) {
        verticalScrollBar()->setValue(verticalScrollBar()->value() - VisibleLines());
        MoveVertically(-VisibleLines(), event->matches(K::SelectPreviousPage));
        ensureCaretVisible();
    } else if (event->matches(K::MoveToStartOfLine) || event->matches(K::MoveToStartOfBlock)) {
        move(lineStart(lineOf(caret_)), false);
    } else if (event->matches(K::SelectStartOfLine) || event->matches(K::SelectStartOfBlock)) {
        move(lineStart(lineOf(caret_)), true);
    } else if (event->matches(K::MoveToEndOfLine) || event->matches(K::MoveToEndOfBlock)) {
        move(lineEnd(lineOf(caret_)), false);
    } else if (event->matches(K::SelectEndOfLine) || event->matches(K::SelectEndOfBlock)) {
        move(lineEnd(lineOf(caret_)), true);
    } else if (event->matches(K::MoveToStartOfDocument)) {
        move(0, false);
    } else if (event->matches(K::SelectStartOfDocument)) {
        move(0, true);
    } else if (event->matches(K::MoveToEndOfDocument)) {
        move(size_, false);
    } else if (event->matches(K::SelectEndOfDocument)) {
        move(size_, true);
    } else {
        return false;
    }
    return true;
}

void OutputView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const qsizetype at = PositionAt(event->position().toPoint());
    const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0;
    SetCaret(at, extend ? anchor_ : at);
    ensureCaretVisible();
    dragging_ = true;
}

void OutputView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const QPoint at = event->position().toPoint();
    SetCaret(PositionAt(at), anchor_);
    ensureCaretVisible();
    if (viewport()->rect().contains(at)) {
        dragScroll_->stop();
    } else if (!dragScroll_->isActive()) {
        dragScroll_->start();  // keeps scrolling while the pointer is outside
    }
}

void OutputView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    dragging_ = false;
    dragScroll_->stop();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection()) {
        clipboard->setText(selectedText(), QClipboard::Selection);
    }
}

void OutputView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const qsizetype at = PositionAt(event->position().toPoint());
    SetCaret(WordEnd(at), WordStart(at));
    dragging_ = false;
}

void OutputView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool editable = !readOnly_;
    menu.addAction(QStringLiteral("Undo"), this, &OutputView::undo)
        ->setEnabled(editable && isUndoAvailable());
    menu.addAction(QStringLiteral("Redo"), this, &OutputView::redo)
        ->setEnabled(editable && isRedoAvailable());
    menu.addSeparator();
    const bool clipboardText = !QGuiApplication::clipboard()->text().isEmpty();
    menu.addAction(QStringLiteral("Cut"), this, &OutputView::cut)
        ->setEnabled(editable && hasSelection());
    menu.addAction(QStringLiteral("Copy"), this, &OutputView::copy)->setEnabled(hasSelection());
    menu.addAction(QStringLiteral("Paste"), this, &OutputView::paste)
        ->setEnabled(editable && clipboardText);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Select All"), this, &OutputView::selectAll)
        ->setEnabled(size_ > 0);
    menu.exec(event->globalPos());
}

void OutputView::StartBlink() {
    caretShown_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0) {
        blink_->start(flash / 2);
    } else {
        blink_->stop();
    }
}

void OutputView::focusInEvent(QFocusEvent* event) {
    StartBlink();
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void OutputView::focusOutEvent(QFocusEvent* event) {
    blink_->stop();
    caretShown_ = false;
    dragging_ = false;
    dragScroll_->stop();
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

}  // namespace daybridge
