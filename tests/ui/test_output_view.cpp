// The output view on its own: its line index under appends and edits, the caret and the
// selection, keyboard and mouse, copy and paste.
#include <QClipboard>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>

#include "ui/output_view.h"
#include "window_fixture.h"

using daybridge::OutputView;
using uitest::Columns;
using uitest::Row;

namespace {

// The lines of `text` as an independent split on CR LF, LF and CR.
QStringList ExpectedLines(const QString& text) {
    return text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
}

QStringList ShownLines(const OutputView& view) {
    QStringList lines;
    for (qsizetype i = 0; i < view.lineCount(); ++i) {
        lines << view.lineText(i).toString();
    }
    return lines;
}

std::vector<qsizetype> Starts(const OutputView& view) {
    std::vector<qsizetype> starts;
    for (qsizetype i = 0; i < view.lineCount(); ++i) {
        starts.push_back(view.lineStart(i));
    }
    return starts;
}

// Presses the keys of `keys` ("Ctrl+Home, Delete") one after the other.
void Press(QWidget& widget, const char* keys) {
    const QKeySequence sequence = QKeySequence::fromString(QString::fromLatin1(keys));
    for (int i = 0; i < sequence.count(); ++i) {
        QTest::keyClick(&widget, sequence[i].key(), sequence[i].keyboardModifiers());
    }
}

// A view shown on the (offscreen) screen with the focus, so keys and clicks reach it.
struct ShownView {
    ShownView() {
        view.resize(400, 200);
        view.show();
        view.activateWindow();
        view.setFocus();
    }
    OutputView view;
};

}  // namespace

class OutputViewTest : public QObject {
    Q_OBJECT

  private slots:
    void lineIndexAfterAppends_data() {
        QTest::addColumn<QStringList>("chunks");
        Row("empty", QStringList{});
        Row("one line", QStringList{"abc"});
        Row("CR LF split", QStringList{"a\r", "\nb"});
        Row("CR then other", QStringList{"a\r", "b"});
        Row("CR then CR LF", QStringList{"x\r", "\r\n"});
        Row("LF CR", QStringList{"a\n\r", "b"});
        Row("breaks only", QStringList{"\r", "\n", "\r\n", "\n", "\r"});
        Row("ends with break", QStringList{"one\r\ntwo\r\n"});
        Row("mixed", QStringList{"a\rb\nc\r\nd", "", "e\r", "\r", "\nf"});
        Row("chunk per char", QString("p\r\nq\rr\n\rs").split(QString()));
    }
    void lineIndexAfterAppends() {
        QFETCH(QStringList, chunks);
        OutputView appended;
        QString whole;
        for (const QString& chunk : chunks) {
            appended.appendText(chunk);
            whole += chunk;
        }
        QCOMPARE(appended.text(), whole);
        QCOMPARE(ShownLines(appended), ExpectedLines(whole));
        OutputView set;
        set.setText(whole);
        QCOMPARE(Starts(appended), Starts(set));
        QCOMPARE(appended.toPlainText(), ExpectedLines(whole).join(u'\n'));
    }

    void caretNeverRestsInsideALineBreak() {
        OutputView view;
        view.setText(QStringLiteral("ab\r\ncd"));
        view.setCaretPosition(3);  // between CR and LF
        QCOMPARE(view.caretPosition(), qsizetype{2});
        view.moveCaretToEnd();
        QCOMPARE(view.caretPosition(), qsizetype{6});
        view.setCaretPosition(100);
        QCOMPARE(view.caretPosition(), qsizetype{6});
        view.setCaretPosition(-5);
        QCOMPARE(view.caretPosition(), qsizetype{0});

        // At the end after a lone CR, the caret follows when an LF completes the line break.
        view.setText(QStringLiteral("x\r"));
        view.moveCaretToEnd();
        view.appendText(u"\n");
        QCOMPARE(view.caretPosition(), qsizetype{3});
        QCOMPARE(view.lineCount(), qsizetype{2});
    }

    // The selected text (line breaks as LF), then an edit over the selection or at the caret
    // ("\b" Backspace, "\x7f" Delete, else the text inserted): a line break is taken whole,
    // and the index stays that of the new text.
    void editsKeepTheLineIndex_data() {
        QTest::addColumn<QString>("text");
        Columns<int>({"anchor", "caret"});
        Columns<QString>({"selected", "edit", "result"});
        QTest::addColumn<int>("caretAfter");
        Row("within a line", "first line\r\nsecond", 0, 5, "first", "X", "X line\r\nsecond", 1);
        Row("across CR LF", "first line\r\nsecond line", 6, 18, "line\nsecond", "-", "first - line",
            7);
        Row("backwards", "first line\r\nsecond line", 18, 6, "line\nsecond", "", "first  line", 6);
        Row("lone CR and LF", "a\rb\nc", 0, 5, "a\nb\nc", "\b", "", 0);
        Row("whole break", "a\r\n\r\nb", 1, 5, "\n\n", "\x7f", "ab", 1);
        Row("type at the caret", "abc", 2, 2, "", "X", "abXc", 3);
        Row("line break", "ab", 1, 1, "", "\r\n", "a\r\nb", 3);
        Row("LF after a lone CR", "a\rb", 2, 2, "", "\nc", "a\r\ncb", 4);
        Row("CR before an LF", "a\nb", 1, 1, "", "x\r", "ax\r\nb", 2);
        Row("delete all", "a\r\nb\r\n", 0, 6, "a\nb\n", "", "", 0);
        Row("backspace over CR LF", "ab\r\ncd", 4, 4, "", "\b", "abcd", 2);
        Row("delete over CR LF", "ab\r\ncd", 2, 2, "", "\x7f", "abcd", 2);
        Row("backspace at the start", "ab", 0, 0, "", "\b", "ab", 0);
        Row("delete at the end", "ab", 2, 2, "", "\x7f", "ab", 2);
    }
    void editsKeepTheLineIndex() {
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, caret);
        QFETCH(QString, selected);
        QFETCH(QString, edit);
        QFETCH(QString, result);
        QFETCH(int, caretAfter);
        OutputView view;
        view.setText(text);
        view.setSelection(anchor, caret);
        QCOMPARE(view.selectedText(), selected);
        QCOMPARE(view.hasSelection(), anchor != caret);
        QSignalSpy changed(&view, &OutputView::textChanged);
        QSignalSpy selection(&view, &OutputView::selectionChanged);
        if (edit == QLatin1String("\b")) {
            view.deleteBackward();
        } else if (edit == QLatin1String("\x7f")) {
            view.deleteForward();
        } else {
            view.insertText(edit);
        }
        QCOMPARE(view.text(), result);
        QCOMPARE(ShownLines(view), ExpectedLines(result));
        QCOMPARE(view.caretPosition(), qsizetype{caretAfter});
        QVERIFY(!view.hasSelection());
        QCOMPARE(changed.size(), int(result != text));
        QCOMPARE(selection.size(), int(anchor != caret));  // a replaced selection is gone
    }

    // Many edits at random places: the mended index always equals one built afresh.
    void randomEditsMatchAFreshIndex() {
        QRandomGenerator random(20261206);
        const QString pieces[] = {"a", "bc", "\r", "\n", "\r\n", "x\ry", "", "\n\r", "long text"};
        OutputView view;
        view.setText(QStringLiteral("start\r\nof\rthe\ntext"));
        for (int step = 0; step < 2000; ++step) {
            const auto size = static_cast<int>(view.text().size());
            const int a = random.bounded(size + 1);
            const int b = random.bounded(size + 1);
            view.setSelection(a, b);
            const int kind = random.bounded(4);
            if (kind == 0) {
                view.deleteBackward();
            } else if (kind == 1) {
                view.deleteForward();
            } else {
                view.insertText(pieces[random.bounded(static_cast<int>(std::size(pieces)))]);
            }
            OutputView fresh;
            fresh.setText(view.text());
            QCOMPARE(Starts(view), Starts(fresh));
            QVERIFY(view.caretPosition() <= view.lineEnd(view.lineOf(view.caretPosition())));
        }
    }

    // Random edits undone one by one give back every earlier text, and redone the last one.
    void undoAndRedoRetraceTheEdits() {
        QRandomGenerator random(7);
        const QString pieces[] = {"a", "\r", "\n", "\r\n", "", "xyz"};
        OutputView view;
        view.setText(QStringLiteral("base\r\ntext"));
        QStringList texts = {view.text()};
        for (int step = 0; step < 200; ++step) {
            const auto size = static_cast<int>(view.text().size());
            view.setSelection(random.bounded(size + 1), random.bounded(size + 1));
            const QString before = view.text();
            if (random.bounded(3) == 0) {
                view.deleteBackward();
            } else {
                view.insertText(pieces[random.bounded(static_cast<int>(std::size(pieces)))]);
            }
            if (view.text() != before) {
                texts << view.text();
            }
        }
        const QString last = view.text();
        for (qsizetype i = texts.size() - 1; i > 0; --i) {
            QCOMPARE(view.text(), texts[i]);
            view.undo();
            OutputView fresh;
            fresh.setText(view.text());
            QCOMPARE(Starts(view), Starts(fresh));
        }
        QCOMPARE(view.text(), texts[0]);
        QVERIFY(!view.isUndoAvailable());
        while (view.isRedoAvailable()) {
            view.redo();
        }
        QCOMPARE(view.text(), last);
    }

    // Typing, moving and selecting by keys; a plain move signals nothing. Read-only, the view
    // still moves and selects but takes no edit.
    void keyboard() {
        ShownView shown;
        OutputView& view = shown.view;
        QTest::keyClicks(&view, QStringLiteral("typed"));
        Press(view, "Return");
        QTest::keyClicks(&view, QStringLiteral("by hand"));
        Press(view, "Backspace, Ctrl+Home, Delete");
        QCOMPARE(view.text(), QStringLiteral("yped\r\nby han"));
        QCOMPARE(view.caretPosition(), qsizetype{0});
        Press(view, "Ctrl+End");
        QCOMPARE(view.caretPosition(), view.text().size());

        view.setText(QStringLiteral("first line\r\nsecond line\r\nthird"));
        view.setCaretPosition(6);
        QSignalSpy selection(&view, &OutputView::selectionChanged);
        Press(view, "Shift+Down");
        QCOMPARE(view.selectedText(), QStringLiteral("line\nsecond"));
        Press(view, "Shift+Right");
        QCOMPARE(view.selectedText(), QStringLiteral("line\nsecond "));
        Press(view, "Right");  // ends the selection at its end
        QVERIFY(!view.hasSelection());
        QCOMPARE(view.caretPosition(), qsizetype{19});
        Press(view, "Left");
        QCOMPARE(selection.size(), 3);
        Press(view, "Ctrl+A, Shift+End");
        QCOMPARE(view.selectedText(), QStringLiteral("first line\nsecond line\nthird"));
        Press(view, "Up");
        QCOMPARE(view.lineOf(view.caretPosition()), qsizetype{1});

        view.setReadOnly(true);
        view.moveCaretToEnd();
        QTest::keyClicks(&view, QStringLiteral("typed"));
        Press(view, "Backspace, Return, Ctrl+V, Shift+Left");
        view.insertText(QStringLiteral("x"));
        QCOMPARE(view.text(), QStringLiteral("first line\r\nsecond line\r\nthird"));
        QCOMPARE(view.selectedText(), QStringLiteral("d"));
    }

    // Undo brings the text and the selection back, redo the edit; output appended after an
    // edit, or read-only, forgets it.
    void undoByKeysAndWhatForgetsIt() {
        ShownView shown;
        OutputView& view = shown.view;
        view.setText(QStringLiteral("one two"));
        view.setSelection(4, 7);
        QTest::keyClicks(&view, QStringLiteral("2"));
        QCOMPARE(view.text(), QStringLiteral("one 2"));
        Press(view, "Ctrl+Z");
        QCOMPARE(view.text(), QStringLiteral("one two"));
        QCOMPARE(view.selectedText(), QStringLiteral("two"));
        Press(view, "Ctrl+Shift+Z");
        QCOMPARE(view.text(), QStringLiteral("one 2"));
        view.appendText(u"\r\nmore");
        QVERIFY(!view.isUndoAvailable());
        Press(view, "Ctrl+Z");
        QCOMPARE(view.text(), QStringLiteral("one 2\r\nmore"));
        view.moveCaretToEnd();
        view.insertText(QStringLiteral("!"));
        view.setReadOnly(true);
        view.undo();
        QCOMPARE(view.text(), QStringLiteral("one 2\r\nmore!"));
    }

    void copyAndPaste() {
        ShownView shown;
        OutputView& view = shown.view;
        view.setText(QStringLiteral("alpha\r\nbeta"));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);  // nothing selected
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        view.setSelection(3, 9);
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ha\nbe"));
        // Pasted line breaks become the view's own CR LF.
        QGuiApplication::clipboard()->setText(QStringLiteral("1\n2\r3"));
        view.moveCaretToEnd();
        QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(view.text(), QStringLiteral("alpha\r\nbeta1\r\n2\r\n3"));
        view.setSelection(0, 5);
        QTest::keyClick(&view, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("alpha"));
        QCOMPARE(view.text(), QStringLiteral("\r\nbeta1\r\n2\r\n3"));
    }

    void copyFromSharesTheText() {
        OutputView source;
        source.setText(QStringLiteral("one\r\ntwo\rthree\n"));
        source.setSelection(1, 2);
        OutputView copy;
        copy.copyFrom(source);
        QCOMPARE(copy.text().constData(), source.text().constData());
        QCOMPARE(Starts(copy), Starts(source));
        QVERIFY(!copy.hasSelection());
        copy.setCaretPosition(0);
        copy.insertText(QStringLiteral("X"));  // an edit of the copy leaves the source alone
        QCOMPARE(source.text(), QStringLiteral("one\r\ntwo\rthree\n"));
        QCOMPARE(ShownLines(copy), ExpectedLines(QStringLiteral("Xone\r\ntwo\rthree\n")));
    }

    void mouseSelection() {
        ShownView shown;
        OutputView& view = shown.view;
        QFont font(QStringLiteral("Monospace"));
        font.setStyleHint(QFont::TypeWriter);
        view.setFont(font);
        view.setText(QStringLiteral("0123456789\r\nabcdefghij\r\nKLMNOPQRST"));
        const QFontMetrics metrics(view.font());
        const int cell = metrics.horizontalAdvance(u'0');
        const int line = metrics.lineSpacing();
        auto at = [&](int column, int row) {
            return QPoint(4 + column * cell + cell / 4, 4 + row * line + line / 2);
        };
        QWidget* surface = view.viewport();
        QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, at(3, 0));
        QCOMPARE(view.caretPosition(), qsizetype{3});
        QTest::mouseClick(surface, Qt::LeftButton, Qt::ShiftModifier, at(2, 1));
        QCOMPARE(view.selectedText(), QStringLiteral("3456789\nab"));
        QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, at(5, 2));
        QTest::mouseMove(surface, at(1, 1));
        QMouseEvent drag(QEvent::MouseMove, at(1, 1), surface->mapToGlobal(at(1, 1)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(surface, &drag);
        QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, at(1, 1));
        QCOMPARE(view.selectedText(), QStringLiteral("bcdefghij\nKLMNO"));
        QTest::mouseDClick(surface, Qt::LeftButton, Qt::NoModifier, at(4, 0));
        QCOMPARE(view.selectedText(), QStringLiteral("0123456789"));
    }

    void scrollingFollowsTheCaret() {
        ShownView shown;
        OutputView& view = shown.view;
        QStringList lines;
        for (int i = 0; i < 500; ++i) {
            lines << QStringLiteral("line %1").arg(i);
        }
        view.setText(lines.join(QStringLiteral("\r\n")));
        QCOMPARE(view.firstVisibleLine(), qsizetype{0});
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(view.firstVisibleLine() > 400);
        QCOMPARE(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
        QTest::keyClick(&view, Qt::Key_PageUp);
        QVERIFY(view.lineOf(view.caretPosition()) < 499);
        QVERIFY(view.lineOf(view.caretPosition()) >= view.firstVisibleLine());
        QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(view.firstVisibleLine(), qsizetype{0});
        const QPointF inside(10, 10);
        QWheelEvent wheel(inside, view.viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
        QVERIFY(view.firstVisibleLine() > 0);
        QCOMPARE(view.caretPosition(), qsizetype{0});  // the wheel scrolls, the caret stays
        QTest::keyClick(&view, Qt::Key_PageDown);
        QVERIFY(view.lineOf(view.caretPosition()) > 0);
        // A long line scrolls sideways to keep the caret in view.
        view.setText(QString(3000, u'w'));
        view.moveCaretToEnd();
        QVERIFY(view.horizontalScrollBar()->value() > 0);
    }
};

QTEST_MAIN(OutputViewTest)
#include "test_output_view.moc"
