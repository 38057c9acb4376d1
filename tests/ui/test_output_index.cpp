// The output view's sparse line index on long texts: after random appends in chunks and random
// edits, every line start and the line of random positions match the breaks found by a regular
// expression; a view of the state's output shows only what was taken, also once the output is
// long enough to be reserved in a large step.
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include "app/output_text.h"
#include "ui/output_view.h"

using daybridge::OutputText;
using daybridge::OutputView;

namespace {

std::vector<qsizetype> ExpectedStarts(const QString& text) {
    std::vector<qsizetype> starts{0};
    static const QRegularExpression kBreak(QStringLiteral("\r\n|\r|\n"));
    for (auto it = kBreak.globalMatch(text); it.hasNext();) {
        starts.push_back(it.next().capturedEnd());
    }
    return starts;
}

void CheckIndex(const OutputView& view, QRandomGenerator& random) {
    const std::vector<qsizetype> expected = ExpectedStarts(view.text().first(view.shownLength()));
    QCOMPARE(view.lineCount(), qsizetype(expected.size()));
    for (qsizetype line = 0; line < view.lineCount(); ++line) {
        QCOMPARE(view.lineStart(line), expected[std::size_t(line)]);
    }
    for (int probe = 0; probe < 50; ++probe) {
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

}  // namespace

class OutputIndexTest : public QObject {
    Q_OBJECT

  private slots:
    void appendsAndEditsKeepTheIndex() {
        QRandomGenerator random(16);
        OutputView view;
        QString whole = RandomText(random, 3000);
        for (qsizetype at = 0; at < whole.size();) {  // chunks may split a CR LF
            const qsizetype n = 1 + random.bounded(700);
            view.appendText(QStringView(whole).mid(at, n));
            at += n;
        }
        CheckIndex(view, random);
        for (int step = 0; step < 60; ++step) {
            const int a = random.bounded(int(view.text().size()) + 1);
            const int b = std::min<int>(int(view.text().size()), a + random.bounded(5000));
            view.setSelection(a, b);
            view.insertText(random.bounded(3) == 0 ? QString()
                                                   : RandomText(random, random.bounded(80)));
            CheckIndex(view, random);
        }
    }

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
};

QTEST_MAIN(OutputIndexTest)
#include "test_output_index.moc"
