// The lower half of the main window: the input-file list, the output window with its copy
// button, the enlarged output window, and batch runs driven from the window.
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

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

// Selects from `from` to `to`, positions in the output's text with its CR LF line breaks.
void SelectOutput(frmMain& w, int from, int to) {
    Output(w)->setSelection(from, to);
}

}  // namespace

class OutputWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() {
        config_ = std::make_unique<IsolatedConfig>();
        QVERIFY(files_.isValid());
    }
    void cleanup() { config_.reset(); }

    void inputFileListRules() {
        RecordingHost host;
        auto w = StartWindow(host);
        w->AddInputFile(QStringLiteral("/a/one.txt"), 0);
        w->AddInputFile(QStringLiteral("/a/two.txt"), 0);
        QCOMPARE(Entries(*w), (QStringList{"/a/two.txt", "/a/one.txt"}));
        QCOMPARE(Files(*w)->currentIndex(), 0);
        w->AddInputFile(QStringLiteral("/a/one.txt"), 0);  // already there: selected only
        QCOMPARE(Entries(*w), (QStringList{"/a/two.txt", "/a/one.txt"}));
        QCOMPARE(Files(*w)->currentIndex(), 1);
        QCOMPARE(w->state().selectedInputFile, 1);
        w->AddInputFile(QStringLiteral("/a/ONE.txt"), 0);  // other letter case: a new entry
        QCOMPARE(Entries(*w), (QStringList{"/a/ONE.txt", "/a/two.txt", "/a/one.txt"}));
        w->AddInputFile(QString(), 0);
        w->AddInputFile(QStringLiteral("/a/three.txt"), -1);
        QCOMPARE(Files(*w)->count(), 3);

        Files(*w)->setCurrentIndex(1);
        emit Files(*w)->activated(1);
        QCOMPARE(w->state().inputFileText, QStringLiteral("/a/two.txt"));
        QCOMPARE(w->focusWidget(), Button(*w, "cmdBatchCompute"));
        Button(*w, "cmdRemoveInputFileFromList")->click();
        QCOMPARE(Entries(*w), (QStringList{"/a/ONE.txt", "/a/one.txt"}));
        QCOMPARE(Files(*w)->currentIndex(), -1);
        QCOMPARE(w->state().selectedInputFile, -1);
        Button(*w, "cmdRemoveInputFileFromList")->click();  // nothing selected: nothing removed
        QCOMPARE(Files(*w)->count(), 2);
        QVERIFY(host.boxes.empty());
    }

    void typedInputFileNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        Row("upper-case extension", "/data/Run.TXT", true);
        Row("plain", "/data/run.txt", true);
        Row("dot in folder", "/data.v1/run.txt", true);
        Row("txt.bak", "/data/run.txt.bak", false);
        Row("no dot", "/data/run", false);
        Row("dot only in folder", "/data.txt/run", false);
    }
    void typedInputFileNames() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        RecordingHost host;
        auto w = StartWindow(host);
        w->AddInputFile(QStringLiteral("/old/first.txt"), 0);
        QLineEdit* edit = Files(*w)->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, typed);
        QCOMPARE(w->state().inputFileText, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        if (accepted) {
            QVERIFY(host.boxes.empty());
            QCOMPARE(Entries(*w), (QStringList{typed, "/old/first.txt"}));
            QCOMPARE(Files(*w)->currentIndex(), 0);
        } else {
            QCOMPARE(host.boxes.size(), std::size_t{1});
            // "Invalid" says what to do, too.
            QCOMPARE(host.boxes[0].text, QStringLiteral("Invalid\n\n") + w->state().Text(355));
            QVERIFY(Files(*w)->currentText().isEmpty());
            QCOMPARE(Entries(*w), QStringList{"/old/first.txt"});
        }
    }

    void leavingTheListAddsTheTypedName() {
        RecordingHost host;
        auto w = StartWindow(host);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QLineEdit* edit = Files(*w)->lineEdit();
        Files(*w)->setFocus();
        QTest::keyClicks(edit, QStringLiteral("/data/typed.txt"));
        Child<QLineEdit>(*w, "txbFirstDate")->setFocus();  // the list loses the focus
        QCOMPARE(Entries(*w), QStringList{"/data/typed.txt"});
    }

    void inputFileDialogAddsThePickedFile() {
        RecordingHost host;
        auto w = StartWindow(host);
        QString askedTitle;
        QString askedFilter;
        QString picked = files_.path() + QStringLiteral("/picked.txt");
        w->setFileChooser([&](const QString& title, const QString&, const QString& filter) {
            askedTitle = title;
            askedFilter = filter;
            return picked;
        });
        Button(*w, "cmdInputFile")->click();
        QCOMPARE(askedTitle, QStringLiteral("Specify input file"));
        QCOMPARE(askedFilter, QStringLiteral("Text files (*.txt)"));
        QCOMPARE(Entries(*w), QStringList{picked});
        picked.clear();  // cancelled
        Button(*w, "cmdInputFile")->click();
        QCOMPARE(Files(*w)->count(), 1);
    }

    void viewReportsAMissingFile() {
        RecordingHost host;
        auto w = StartWindow(host);
        QList<QUrl> opened;
        w->setUrlOpener([&](const QUrl& url) {
            opened << url;
            return true;
        });
        w->AddInputFile(files_.path() + QStringLiteral("/missing.txt"), 0);
        Button(*w, "cmdView")->click();
        QVERIFY(opened.isEmpty());
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].title, QStringLiteral("File not found"));
        QCOMPARE(host.boxes[0].text, QStringLiteral("Input file does not exist."));
        QCOMPARE(host.boxes[0].icon, MsgIcon::Exclamation);

        const QString present = WriteProgram(files_.path(), QStringLiteral("present.txt"),
                                             {QStringLiteral("OUTPUT: x")});
        w->AddInputFile(present, 0);
        Button(*w, "cmdView")->click();
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(present)});
        QCOMPARE(host.boxes.size(), std::size_t{1});

        // The file is there but nothing opens it: said so, not "does not exist".
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
        w->setUrlOpener([](const QUrl&) { return false; });
        Button(*w, "cmdView")->click();
        QCOMPARE(host.boxes.size(), std::size_t{2});
        QCOMPARE(host.boxes[1].text,
                 w->state().Text(356) + QLatin1Char('\n') + QFileInfo(present).absoluteFilePath());
        QVERIFY(host.boxes[1].text.startsWith(QStringLiteral("Die Datei existiert")));
    }

    void copyWithAndWithoutSelection() {
        RecordingHost host;
        auto w = StartWindow(host);
        QPushButton* copy = Button(*w, "cmdCopyOutput");
        SetOutput(*w, QStringLiteral("first line\r\nsecond line\r\n"));
        QCOMPARE(Plain(copy->text()), QStringLiteral("Copy to clipboard"));
        QCOMPARE(copy->width(), TwipsToPixels(w.get(), 2500));
        QVERIFY(!copy->font().bold());

        SelectOutput(*w, 6, 18);
        QCOMPARE(Plain(copy->text()), QStringLiteral("Copy selected text to clipboard"));
        QCOMPARE(copy->width(), TwipsToPixels(w.get(), 3750));
        copy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("line\nsecond"));
        QVERIFY(!Output(*w)->hasSelection());
        QCOMPARE(Plain(copy->text()), QStringLiteral("Copy to clipboard"));

        copy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("first line\nsecond line\n"));

        // Enter with a selection copies instead of typing a line break.
        SelectOutput(*w, 0, 5);
        QTest::keyClick(Output(*w), Qt::Key_Return);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("first"));
        QCOMPARE(Output(*w)->toPlainText(), QStringLiteral("first line\nsecond line\n"));

        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
        QCOMPARE(Plain(copy->text()), QStringLiteral("Kopieren in Zwischenablage"));
        QCOMPARE(copy->width(), TwipsToPixels(w.get(), 3500));
        SelectOutput(*w, 0, 5);
        QCOMPARE(copy->width(), TwipsToPixels(w.get(), 4700));
    }

    void clearOutputWindow() {
        RecordingHost host;
        auto w = StartWindow(host);
        SetOutput(*w, QStringLiteral("something\r\n"));
        Button(*w, "cmdClearOutputWindow")->click();
        QVERIFY(Output(*w)->toPlainText().isEmpty());
        QVERIFY(w->state().output.isEmpty());
    }

    void enlargeRefusesAnEmptyOutput() {
        RecordingHost host;
        auto w = StartWindow(host);
        SetOutput(*w, QStringLiteral("   \r\n \t \r\n"));
        Button(*w, "cmdEnlarge")->click();
        QVERIFY(w->state().output.isEmpty());
        QVERIFY(Output(*w)->toPlainText().isEmpty());
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].title, QStringLiteral("Output window"));
        QCOMPARE(host.boxes[0].text, QStringLiteral("The output window is empty."));
        QVERIFY(!w->largeDisplay() || !w->largeDisplay()->isVisible());
    }

    void enlargeShowsTheTrimmedOutput() {
        RecordingHost host;
        auto w = StartWindow(host);
        SetOutput(*w, QStringLiteral("\r\n  one\r\ntwo  \r\n\r\n"));
        Button(*w, "cmdEnlarge")->click();
        frmLargeDisplay* large = w->largeDisplay();
        QVERIFY(large && large->isVisible());
        QCOMPARE(large->Text(), QStringLiteral("one\ntwo\n"));
        QCOMPARE(w->state().output.text(), QStringLiteral("one\r\ntwo\r\n"));
        QCOMPARE(large->windowTitle(), QStringLiteral("Enlarge"));
        QCOMPARE(large->minimumSize(),
                 QSize(TwipsToPixels(large, 8000), TwipsToPixels(large, 2000)));

        // Edits in the large window stay there; Close hides it and keeps it.
        large->txbOutput->appendText(u"\r\nedited");
        QCOMPARE(w->state().output.text(), QStringLiteral("one\r\ntwo\r\n"));
        large->cmdClose->click();
        QVERIFY(!large->isVisible());
        QCOMPARE(w->largeDisplay(), large);

        // Copy in the large window.
        large->SetText(QStringLiteral("alpha beta"));
        large->cmdCopyToClipboard->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("alpha beta"));

        // A minimised large window is replaced by a fresh one.
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

    void batchRunFromTheWindow() {
        RecordingHost host;
        auto w = StartWindow(host);
        const QString program = WriteProgram(
            files_.path(), QStringLiteral("small.txt"),
            {QStringLiteral("// two results"), QStringLiteral("VERBOSE OFF"),
             QStringLiteral("2012-01-06##2012-01-09"), QStringLiteral("OUTPUT: done")});
        w->AddInputFile(program, 0);
        QSignalSpy running(w.get(), &frmMain::BatchRunningChanged);
        Button(*w, "cmdBatchCompute")->click();
        QTRY_VERIFY(!w->batch().Running());
        QCOMPARE(Plain(Button(*w, "cmdBatchCompute")->text()), QStringLiteral("Process file"));
        QVERIFY(Button(*w, "cmdCompute")->isEnabled());
        QCOMPARE(running.size(), 2);
        const QString shown = Output(*w)->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("= 3 days")), qPrintable(shown));
        QVERIFY2(shown.contains(QStringLiteral("done")), qPrintable(shown));
        // What the window shows is the state's output.
        QCOMPARE(shown, QString(w->state().output.text())
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY2(host.boxes.empty(), host.boxes.empty() ? "" : qPrintable(host.boxes[0].text));
    }

    void stopEndsAnEndlessProgram() {
        RecordingHost host;
        auto w = StartWindow(host);
        const QString program = WriteProgram(files_.path(), QStringLiteral("endless.txt"),
                                             {QStringLiteral("N = 0"), QStringLiteral("DO"),
                                              QStringLiteral("N += 1"), QStringLiteral("ENDDO")});
        w->AddInputFile(program, 0);
        QPushButton* button = Button(*w, "cmdBatchCompute");
        button->click();
        QVERIFY(w->batch().Running());
        QCOMPARE(Plain(button->text()), QStringLiteral("Stop"));
        QVERIFY(!Button(*w, "cmdCompute")->isEnabled());
        QTest::qWait(150);  // the window stays responsive while it runs
        QVERIFY(w->batch().Running());
        button->click();
        QTRY_VERIFY(!w->batch().Running());
        QCOMPARE(Plain(button->text()), QStringLiteral("Process file"));
        QVERIFY2(Output(*w)->toPlainText().contains(QStringLiteral("Processing stopped.")),
                 qPrintable(Output(*w)->toPlainText()));
        QVERIFY(!w->state().batchRunning);
    }

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
        const QString program = WriteProgram(files_.path(), QStringLiteral("endless.txt"), lines);
        w->AddInputFile(program, 0);
        Button(*w, "cmdBatchCompute")->click();
        QTest::qWait(50);
        QVERIFY(w->batch().Running());
        if (hidden) {
            w->hide();
        }
        w->cmdQuit_Click();
        QVERIFY(!w->batch().Running());
        QVERIFY(!w->state().batchRunning);
        QVERIFY(QFile::exists(config_->settingsFile()));
        // The program is leaving: the enlarged window is not opened for the stopped run.
        QVERIFY(w->largeDisplay() == nullptr || !w->largeDisplay()->isVisible());
        // The run's separator was restored before the settings were written.
        RecordingHost again;
        auto next = StartWindow(again);
        QCOMPARE(next->state().format.dateSeparator, QStringLiteral("-"));
    }

    // Output arrives in pieces; a CR LF split between two pieces is still one line break, and
    // the window's text is the state's, also after the user typed into it.
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
        QVERIFY(w->largeDisplay() && w->largeDisplay()->isVisible());
        QCOMPARE(w->largeDisplay()->txbOutput->text(), w->state().output.text());
        QCOMPARE(w->largeDisplay()->txbOutput->caretPosition(), qsizetype{0});
    }

    void longOutputEnlargesItself() {
        RecordingHost host;
        auto w = StartWindow(host);
        QStringList lines = {QStringLiteral("VERBOSE OFF")};
        for (int i = 0; i < 20; ++i) {
            lines << QStringLiteral("OUTPUT: a line of output that is long enough");
        }
        const QString program = WriteProgram(files_.path(), QStringLiteral("long.txt"), lines);
        w->AddInputFile(program, 0);
        Button(*w, "cmdBatchCompute")->click();
        QTRY_VERIFY(!w->batch().Running());
        QVERIFY(w->largeDisplay() && w->largeDisplay()->isVisible());
        QVERIFY(w->largeDisplay()->Text().contains(QStringLiteral("long enough")));

        w->largeDisplay()->cmdClose->click();
        w->state().autoEnlargeBytes = kAutoEnlargeNever;
        Button(*w, "cmdBatchCompute")->click();
        QTRY_VERIFY(!w->batch().Running());
        QVERIFY(!w->largeDisplay()->isVisible());
    }

  private:
    std::unique_ptr<IsolatedConfig> config_;
    QTemporaryDir files_;
};

QTEST_MAIN(OutputWindowTest)
#include "test_output_window.moc"
