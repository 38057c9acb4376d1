// The output view on its own: its line index under appends and edits (against an independent
// split by a regular expression, also on long texts with a sparse index), the caret and the
// selection, keyboard and mouse, copy and paste, and a view of the state's output.
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/output_text.h"
#include "ui/output_view.h"
#include "ui_test_support.h"

using daybridge::OutputText;
using daybridge::OutputView;

namespace {

const QRegularExpression kBreak(QStringLiteral("\r\n|\r|\n"));

// The lines of `text` as an independent split on CR LF, LF and CR.
QStringList ExpectedLines(const QString& text) {
    return text.split(kBreak);
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

// Every line start of the shown text, and the line of random positions, against the breaks
// the regular expression finds.
void CheckIndex(const OutputView& view, QRandomGenerator& random, int probes = 50) {
    std::vector<qsizetype> expected{0};
    for (auto it = kBreak.globalMatch(view.text().first(view.shownLength())); it.hasNext();) {
        expected.push_back(it.next().capturedEnd());
    }
    QCOMPARE(Starts(view), expected);
    for (int probe = 0; probe < probes; ++probe) {
        const qsizetype at = random.bounded(int(view.shownLength()) + 1);
        const auto after = std::upper_bound(expected.begin(), expected.end(), at);
        QCOMPARE(view.lineOf(at), qsizetype(after - expected.begin()) - 1);
    }
}

// Text of random lines: short, empty and (rarely) far longer than a mark's span.
QString RandomText(QRandomGenerator& random, int lines) {
    const QString breaks[] = {"\r\n", "\r\n", "\r", "\n", "\n\r"};
    QString text;
    for (int i = 0; i < lines; ++i) {
        const int length = random.bounded(20) == 0 ? random.bounded(3000) : random.bounded(20);
        text += QString(length, QChar(u'a' + i % 26)) + breaks[random.bounded(5)];
    }
    return text;
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
    void editsKeepTheLineIndex() {
        struct Case {
            QString text;
            int anchor, caret;
            QString selected, edit, result;
            int caretAfter;
        };
        const Case cases[] = {
            {"first line\r\nsecond", 0, 5, "first", "X", "X line\r\nsecond", 1},
            {"first line\r\nsecond line", 6, 18, "line\nsecond", "-", "first - line", 7},
            {"first line\r\nsecond line", 18, 6, "line\nsecond", "", "first  line", 6},
            {"a\rb\nc", 0, 5, "a\nb\nc", "\b", "", 0},
            {"a\r\n\r\nb", 1, 5, "\n\n", "\x7f", "ab", 1},
            {"abc", 2, 2, "", "X", "abXc", 3},
            {"ab", 1, 1, "", "\r\n", "a\r\nb", 3},
            {"a\rb", 2, 2, "", "\nc", "a\r\ncb", 4},  // an LF after a lone CR
            {"a\nb", 1, 1, "", "x\r", "ax\r\nb", 2},  // a CR before an LF
            {"a\r\nb\r\n", 0, 6, "a\nb\n", "", "", 0},
            {"ab\r\ncd", 4, 4, "", "\b", "abcd", 2},
            {"ab\r\ncd", 2, 2, "", "\x7f", "abcd", 2},
            {"ab", 0, 0, "", "\b", "ab", 0},
            {"ab", 2, 2, "", "\x7f", "ab", 2}};
        for (const Case& c : cases) {
            OutputView view;
            view.setText(c.text);
            view.setSelection(c.anchor, c.caret);
            QCOMPARE(view.selectedText(), c.selected);
            QCOMPARE(view.hasSelection(), c.anchor != c.caret);
            QSignalSpy changed(&view, &OutputView::textChanged);
            QSignalSpy selection(&view, &OutputView::selectionChanged);
            if (c.edit == QLatin1String("\b")) {
                view.deleteBackward();
            } else if (c.edit == QLatin1String("\x7f")) {
                view.deleteForward();
            } else {
                view.insertText(c.edit);
            }
            QCOMPARE(view.text(), c.result);
            QCOMPARE(ShownLines(view), ExpectedLines(c.result));
            QCOMPARE(view.caretPosition(), qsizetype{c.caretAfter});
            QVERIFY(!view.hasSelection());
            QCOMPARE(changed.size(), int(c.result != c.text));
            QCOMPARE(selection.size(), int(c.anchor != c.caret));  // a replaced selection is gone
        }
    }

    // A long text appended in random chunks, some tiny (which split CR LF), then large random
    // edits and many small ones (Backspace, Delete, inserted line-break pieces): the index always
    // matches the reference, and the caret never rests inside a line break. The small edits
    // undone one by one give back every earlier text, and redone the last one.
    void randomAppendsAndEditsKeepTheIndex() {
        QRandomGenerator random(16);
        OutputView view;
        const QString whole = RandomText(random, 3000);
        for (qsizetype at = 0; at < whole.size();) {
            const qsizetype n = 1 + random.bounded(random.bounded(4) == 0 ? 3 : 700);
            view.appendText(QStringView(whole).mid(at, n));
            at += n;
        }
        QCOMPARE(view.text(), whole);
        QCOMPARE(view.toPlainText(), ExpectedLines(whole).join(u'\n'));
        CheckIndex(view, random);
        const QString pieces[] = {"a", "bc", "\r", "\n", "\r\n", "x\ry", "", "\n\r", "long text"};
        QStringList texts;
        for (int step = 0; step < 1050; ++step) {  // the undo history holds 1000 edits
            if (step == 60) {
                view.setText(QStringLiteral("start\r\nof\rthe\ntext"));
                texts = {view.text()};
            }
            const int size = int(view.text().size());
            const int a = random.bounded(size + 1);
            view.setSelection(
                a, step < 60 ? std::min(size, a + random.bounded(5000)) : random.bounded(size + 1));
            const int kind = random.bounded(4);
            if (step < 60) {
                view.insertText(kind == 0 ? QString() : RandomText(random, random.bounded(80)));
            } else if (kind == 0) {
                view.deleteBackward();
            } else if (kind == 1) {
                view.deleteForward();
            } else {
                view.insertText(pieces[random.bounded(int(std::size(pieces)))]);
            }
            CheckIndex(view, random, step < 60 ? 50 : 3);
            QVERIFY(view.caretPosition() <= view.lineEnd(view.lineOf(view.caretPosition())));
            if (step >= 60 && view.text() != texts.back()) {
                texts << view.text();
            }
        }
        for (qsizetype i = texts.size() - 1; i > 0; --i) {
            QCOMPARE(view.text(), texts[i]);
            view.undo();
            CheckIndex(view, random, 3);
        }
        QCOMPARE(view.text(), texts[0]);
        QVERIFY(!view.isUndoAvailable());
        while (view.isRedoAvailable()) {
            view.redo();
        }
        QCOMPARE(view.text(), texts.back());
    }

    // A view of the state's output shows only what was taken, also once the output is long
    // enough to be reserved in a large step.
    void aViewOfTheOutputShowsWhatWasTaken() {
        QRandomGenerator random(6);
        OutputText output;
        OutputView view;
        view.showOutput(output);
        QString appended;  // what was appended, held apart: the output grows its own buffer
        for (int step = 0; step < 60; ++step) {
            const QString text = RandomText(random, random.bounded(200)) + QStringLiteral("\r");
            output.append(text);
            appended += text;
            QCOMPARE(output.text(), appended);
            if (step % 3 != 0) {
                view.takeOutput();
                output.skipPending();
            }
            QCOMPARE(view.shownLength(), output.length() - output.pendingView().size());
            CheckIndex(view, random);
        }
        output.setText(QStringLiteral("x\r\ny"));
        view.takeOutput();
        QCOMPARE(view.lineCount(), qsizetype{2});
        view.leaveOutput();
        QCOMPARE(view.shownLength(), qsizetype{0});
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
