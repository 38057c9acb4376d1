// The lower half of the main window: the input-file list, the output window with its copy
// button, the enlarged output window, and batch runs driven from the window.
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "ui/frm_large_display.h"
#include "ui/output_view.h"
#include "ui/ui_metrics.h"
#include "ui_test_support.h"
#include "window_fixture.h"

using namespace daybridge;
using namespace uitest;

namespace {

QComboBox* Files(frmMain& w) {
    return Child<QComboBox>(w, "cboInputFile");
}
OutputView* Output(frmMain& w) {
    return Child<OutputView>(w, "txbOutput");
}
QPushButton* Button(frmMain& w, const char* name) {
    return Child<QPushButton>(w, name);
}
QStringList Entries(frmMain& w) {
    QStringList entries;
    for (int i = 0; i < Files(w)->count(); ++i) {
        entries << Files(w)->itemText(i);
    }
    return entries;
}
void SetOutput(frmMain& w, const QString& text) {
    w.state().output.setText(text);
    w.AppendPendingOutput();
}

}  // namespace

class OutputWindowTest : public QObject {
    Q_OBJECT

    // Starts the program in `lines` from the window and waits for its end.
    void RunProgram(frmMain& w, const QString& name, const QStringList& lines) {
        w.AddInputFile(WriteProgram(files_.path(), name, lines), 0);
        Button(w, "cmdBatchCompute")->click();
        QTRY_VERIFY(!w.batch().Running());
    }

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() {
        config_ = std::make_unique<IsolatedConfig>();
        QVERIFY(files_.isValid());
    }
    void cleanup() { config_.reset(); }

    // New names go first and are selected; a name already there (same letter case) is only
    // selected; Remove takes the selected entry. The file dialog adds the file picked.
    void inputFileListRules() {
        RecordingHost host;
        auto w = StartWindow(host);
        w->AddInputFile(QStringLiteral("/a/one.txt"), 0);
        w->AddInputFile(QStringLiteral("/a/two.txt"), 0);
        QCOMPARE(Entries(*w), (QStringList{"/a/two.txt", "/a/one.txt"}));
        QCOMPARE(Files(*w)->currentIndex(), 0);
        w->AddInputFile(QStringLiteral("/a/one.txt"), 0);
        QCOMPARE(Entries(*w), (QStringList{"/a/two.txt", "/a/one.txt"}));
        QCOMPARE(Files(*w)->currentIndex(), 1);
        QCOMPARE(w->state().selectedInputFile, 1);
        w->AddInputFile(QStringLiteral("/a/ONE.txt"), 0);
        w->AddInputFile(QString(), 0);
        w->AddInputFile(QStringLiteral("/a/three.txt"), -1);
        QCOMPARE(Entries(*w), (QStringList{"/a/ONE.txt", "/a/two.txt", "/a/one.txt"}));

        Files(*w)->setCurrentIndex(1);
        emit Files(*w)->activated(1);
        QCOMPARE(w->state().inputFileText, QStringLiteral("/a/two.txt"));
        QCOMPARE(w->focusWidget(), Button(*w, "cmdBatchCompute"));
        Button(*w, "cmdRemoveInputFileFromList")->click();
        QCOMPARE(Entries(*w), (QStringList{"/a/ONE.txt", "/a/one.txt"}));
        QCOMPARE(w->state().selectedInputFile, -1);
        Button(*w, "cmdRemoveInputFileFromList")->click();  // nothing selected: nothing removed
        QCOMPARE(Files(*w)->count(), 2);

        QString filter;
        QString picked = files_.path() + QStringLiteral("/picked.txt");
        w->setFileChooser([&](const QString&, const QString&, const QString& asked) {
            filter = asked;
            return picked;
        });
        Button(*w, "cmdInputFile")->click();
        QCOMPARE(filter, QStringLiteral("Text files (*.txt)"));
        QCOMPARE(Files(*w)->itemText(0), picked);
        picked.clear();  // cancelled
        Button(*w, "cmdInputFile")->click();
        QCOMPARE(Files(*w)->count(), 3);
        QVERIFY(host.boxes.empty());
    }

    // A name typed into the list is added by Enter or by leaving the list, if it names a .txt
    // file (which names do: tests/env); otherwise it is refused and the list stays.
    void typedInputFileNames() {
        RecordingHost host;
        auto w = StartWindow(host);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QLineEdit* edit = Files(*w)->lineEdit();
        Files(*w)->setFocus();
        QTest::keyClicks(edit, QStringLiteral("/data/left.txt"));
        QCOMPARE(w->state().inputFileText, QStringLiteral("/data/left.txt"));
        Child<QLineEdit>(*w, "txbFirstDate")->setFocus();  // the list loses the focus
        QCOMPARE(Entries(*w), QStringList{"/data/left.txt"});
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("/data/Run.TXT"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(Entries(*w), (QStringList{"/data/Run.TXT", "/data/left.txt"}));
        QVERIFY(host.boxes.empty());
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("/data/run.txt.bak"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].text, QStringLiteral("Invalid\n\n") + w->state().Text(355));
        QVERIFY(Files(*w)->currentText().isEmpty());
        QCOMPARE(Files(*w)->count(), 2);
    }

    // View opens the selected file; a missing file, or one nothing opens, is told apart.
    void viewReportsAMissingFile() {
        RecordingHost host;
        auto w = StartWindow(host);
        QList<QUrl> opened;
        w->setUrlOpener([&](const QUrl& url) {
            opened << url;
            return opened.size() == 1;
        });
        w->AddInputFile(files_.path() + QStringLiteral("/missing.txt"), 0);
        Button(*w, "cmdView")->click();
        QVERIFY(opened.isEmpty());
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].text, QStringLiteral("Input file does not exist."));
        QCOMPARE(host.boxes[0].icon, MsgIcon::Exclamation);
        const QString present = WriteProgram(files_.path(), QStringLiteral("present.txt"),
                                             {QStringLiteral("OUTPUT: x")});
        w->AddInputFile(present, 0);
        Button(*w, "cmdView")->click();
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(present)});
        QCOMPARE(host.boxes.size(), std::size_t{1});
        Button(*w, "cmdView")->click();
        QCOMPARE(host.boxes.size(), std::size_t{2});
        QCOMPARE(host.boxes[1].text,
                 w->state().Text(356) + QLatin1Char('\n') + QFileInfo(present).absoluteFilePath());
    }

    // The copy button copies the selection, or else everything, and says which it does in a
    // width that fits; Enter with a selection copies instead of typing.
    void copyWithAndWithoutSelection() {
        RecordingHost host;
        auto w = StartWindow(host);
        QPushButton* copy = Button(*w, "cmdCopyOutput");
        SetOutput(*w, QStringLiteral("first line\r\nsecond line\r\n"));
        QCOMPARE(Plain(copy->text()), QStringLiteral("Copy to clipboard"));
        QCOMPARE(copy->width(), TwipsToPixels(w.get(), 2500));
        Output(*w)->setSelection(6, 18);
        QCOMPARE(Plain(copy->text()), QStringLiteral("Copy selected text to clipboard"));
        QCOMPARE(copy->width(), TwipsToPixels(w.get(), 3750));
        copy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("line\nsecond"));
        QVERIFY(!Output(*w)->hasSelection());
        QCOMPARE(Plain(copy->text()), QStringLiteral("Copy to clipboard"));
        copy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("first line\nsecond line\n"));
        Output(*w)->setSelection(0, 5);
        QTest::keyClick(Output(*w), Qt::Key_Return);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("first"));
        QCOMPARE(Output(*w)->toPlainText(), QStringLiteral("first line\nsecond line\n"));
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
        QCOMPARE(copy->width(), TwipsToPixels(w.get(), 3500));
        Output(*w)->setSelection(0, 5);
        QCOMPARE(copy->width(), TwipsToPixels(w.get(), 4700));
    }

    // Enlarge refuses an output of blanks (and clears it), shows the trimmed output in its own
    // window whose edits stay there, is hidden by Close, and replaces a minimised window.
    void enlargeShowsTheTrimmedOutput() {
        RecordingHost host;
        auto w = StartWindow(host);
        SetOutput(*w, QStringLiteral("   \r\n \t \r\n"));
        Button(*w, "cmdEnlarge")->click();
        QVERIFY(w->state().output.isEmpty());
        QVERIFY(Output(*w)->toPlainText().isEmpty());
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].text, QStringLiteral("The output window is empty."));
        QVERIFY(!w->largeDisplay() || !w->largeDisplay()->isVisible());

        SetOutput(*w, QStringLiteral("\r\n  one\r\ntwo  \r\n\r\n"));
        Button(*w, "cmdEnlarge")->click();
        frmLargeDisplay* large = w->largeDisplay();
        QVERIFY(large && large->isVisible());
        QCOMPARE(large->Text(), QStringLiteral("one\ntwo\n"));
        QCOMPARE(w->state().output.text(), QStringLiteral("one\r\ntwo\r\n"));
        large->txbOutput->appendText(u"\r\nedited");
        QCOMPARE(w->state().output.text(), QStringLiteral("one\r\ntwo\r\n"));
        large->cmdClose->click();
        QVERIFY(!large->isVisible());
        large->SetText(QStringLiteral("alpha beta"));
        large->cmdCopyToClipboard->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("alpha beta"));
        Button(*w, "cmdEnlarge")->click();
        QCOMPARE(w->largeDisplay(), large);
        large->showMinimized();
        QTRY_VERIFY(large->isMinimized());
        const QPointer<frmLargeDisplay> old(large);
        Button(*w, "cmdEnlarge")->click();
        QVERIFY(old.isNull());
        QVERIFY(w->largeDisplay() && w->largeDisplay()->isVisible());
        QCOMPARE(w->largeDisplay()->Text(), QStringLiteral("one\ntwo\n"));
    }

    // A run shows the state's output, signals its start and end, and enlarges the output
    // past the auto-enlarge size unless that is "never".
    void batchRunFromTheWindow() {
        RecordingHost host;
        auto w = StartWindow(host);
        QSignalSpy running(w.get(), &frmMain::BatchRunningChanged);
        RunProgram(*w, QStringLiteral("small.txt"),
                   {QStringLiteral("VERBOSE OFF"), QStringLiteral("2012-01-06##2012-01-09"),
                    QStringLiteral("OUTPUT: done")});
        QCOMPARE(Plain(Button(*w, "cmdBatchCompute")->text()), QStringLiteral("Process file"));
        QVERIFY(Button(*w, "cmdCompute")->isEnabled());
        QCOMPARE(running.size(), 2);
        const QString shown = Output(*w)->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("= 3 days")), qPrintable(shown));
        QCOMPARE(shown, QString(w->state().output.text())
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(!w->largeDisplay());
        QStringList lines = {QStringLiteral("VERBOSE OFF")};
        for (int i = 0; i < 20; ++i) {
            lines << QStringLiteral("OUTPUT: a line of output that is long enough");
        }
        RunProgram(*w, QStringLiteral("long.txt"), lines);
        QVERIFY(w->largeDisplay() && w->largeDisplay()->isVisible());
        QVERIFY(w->largeDisplay()->Text().contains(QStringLiteral("long enough")));
        w->largeDisplay()->cmdClose->click();
        w->state().autoEnlargeBytes = kAutoEnlargeNever;
        RunProgram(*w, QStringLiteral("long.txt"), lines);
        QVERIFY(!w->largeDisplay()->isVisible());
        QVERIFY2(host.boxes.empty(), host.boxes.empty() ? "" : qPrintable(host.boxes[0].text));
    }

    // Stop ends an endless program; the window stays responsive while it runs.
    void stopEndsAnEndlessProgram() {
        RecordingHost host;
        auto w = StartWindow(host);
        w->AddInputFile(WriteProgram(files_.path(), QStringLiteral("endless.txt"),
                                     {QStringLiteral("N = 0"), QStringLiteral("DO"),
                                      QStringLiteral("N += 1"), QStringLiteral("ENDDO")}),
                        0);
        QPushButton* button = Button(*w, "cmdBatchCompute");
        button->click();
        QCOMPARE(Plain(button->text()), QStringLiteral("Stop"));
        QVERIFY(!Button(*w, "cmdCompute")->isEnabled());
        QTest::qWait(150);
        QVERIFY(w->batch().Running());
        button->click();
        QTRY_VERIFY(!w->batch().Running());
        QCOMPARE(Plain(button->text()), QStringLiteral("Process file"));
        QVERIFY2(Output(*w)->toPlainText().contains(QStringLiteral("Processing stopped.")),
                 qPrintable(Output(*w)->toPlainText()));
        QVERIFY(!w->state().batchRunning);
    }

    // Quit ends a run first, whether the window is on screen or not: the run's settings are
    // restored before they are saved, and the enlarged window is not opened for it.
    void quitDuringARunEndsItFirst_data() {
        QTest::addColumn<bool>("hidden");
        Row("window on screen", false);
        Row("window hidden", true);
    }
    void quitDuringARunEndsItFirst() {
        QFETCH(bool, hidden);
        RecordingHost host;
        auto w = StartWindow(host);
        QStringList lines = {QStringLiteral("DATEFORMAT = D/M/Y"), QStringLiteral("N = 0")};
        for (int i = 0; i < 10; ++i) {
            lines << QStringLiteral("OUTPUT: enough output to pass the auto-enlarge size");
        }
        lines << QStringLiteral("DO") << QStringLiteral("N += 1") << QStringLiteral("ENDDO");
        w->AddInputFile(WriteProgram(files_.path(), QStringLiteral("endless.txt"), lines), 0);
        Button(*w, "cmdBatchCompute")->click();
        QTest::qWait(50);
        QVERIFY(w->batch().Running());
        if (hidden) {
            w->hide();
        }
        w->cmdQuit_Click();
        QVERIFY(!w->batch().Running());
        QVERIFY(!w->state().batchRunning);
        QVERIFY(w->largeDisplay() == nullptr || !w->largeDisplay()->isVisible());
        RecordingHost again;
        auto next = StartWindow(again);
        QCOMPARE(next->state().format.dateSeparator, QStringLiteral("-"));
    }

    // Output arrives in pieces; a CR LF split between two pieces is still one line break, and
    // the window's text is the state's, also after the user typed into it. Clear empties both.
    void outputInPiecesAndTypedText() {
        RecordingHost host;
        auto w = StartWindow(host);
        for (const char* piece : {"one\r", "\ntwo", "\r\n", "three\r", "\n"}) {
            w->state().output.append(QString::fromLatin1(piece));
            w->AppendPendingOutput();
        }
        QCOMPARE(Output(*w)->toPlainText(), QStringLiteral("one\ntwo\nthree\n"));
        QCOMPARE(Output(*w)->lineCount(), qsizetype{4});
        QCOMPARE(Output(*w)->caretPosition(), w->state().output.length());
        Output(*w)->setFocus();
        Output(*w)->setCaretPosition(3);
        QTest::keyClicks(Output(*w), QStringLiteral("!"));
        QTest::keyClick(Output(*w), Qt::Key_Return);
        Button(*w, "cmdEnlarge")->click();  // takes the typed text into the state first
        QCOMPARE(w->state().output.text(), QStringLiteral("one!\r\n\r\ntwo\r\nthree\r\n"));
        QCOMPARE(w->largeDisplay()->txbOutput->text(), w->state().output.text());
        QCOMPARE(w->largeDisplay()->txbOutput->caretPosition(), qsizetype{0});
        Button(*w, "cmdClearOutputWindow")->click();
        QVERIFY(Output(*w)->toPlainText().isEmpty());
        QVERIFY(w->state().output.isEmpty());
    }

  private:
    std::unique_ptr<IsolatedConfig> config_;
    QTemporaryDir files_;
};

QTEST_MAIN(OutputWindowTest)
#include "test_output_window.moc"
