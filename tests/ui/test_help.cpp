// The help window: F1 and the documentation link show the user guide inside the program, with
// its headings as the contents, links between the guides followed in the window, a find box,
// back and forward, and a clear page when no guide is found.
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "app/captions.h"
#include "ui/frm_help.h"
#include "ui_test_support.h"

using namespace daybridge;
using namespace uitest;

namespace {

// The headings of a Markdown file as its lines give them: "#" at a line's start, outside fenced
// code; inline code marks are not shown.
QStringList MarkdownHeadings(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList headings;
    bool fenced = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(QStringLiteral("```"))) {
            fenced = !fenced;
        } else if (!fenced && line.startsWith(u'#')) {
            headings << line.section(u' ', 1).remove(u'`').trimmed();
        }
    }
    return headings;
}

QStringList ContentsTitles(QTreeWidget& tree) {
    QStringList titles;
    for (QTreeWidgetItemIterator item(&tree); *item != nullptr; ++item) {
        titles << (*item)->text(0);
    }
    return titles;
}

// Clicks the first link of the page that leads to `href`, as a user does.
bool ClickLink(QTextBrowser& browser, const QString& href) {
    for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next()) {
        for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
            const QTextFragment fragment = piece.fragment();
            if (fragment.charFormat().anchorHref() == href) {
                QTextCursor cursor(browser.document());
                cursor.setPosition(fragment.position() + fragment.length() / 2);
                browser.setTextCursor(cursor);
                browser.ensureCursorVisible();
                QTest::mouseClick(browser.viewport(), Qt::LeftButton, {},
                                  browser.cursorRect(cursor).center());
                return true;
            }
        }
    }
    return false;
}

// The heading the view starts with: the block at the top of the view.
QString TopBlockText(QTextBrowser& browser) {
    return browser.cursorForPosition(QPoint(4, 4)).block().text();
}

bool WriteText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() {
        config_ = std::make_unique<IsolatedConfig>();
        host = RecordingHost();
        w = StartWindow(host);
        QVERIFY(w);
        w->setUrlOpener([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        opened.clear();
    }
    void cleanup() {
        w.reset();
        config_.reset();
    }

    // F1 shows the installed user guide with its headings as the contents; a click on one goes
    // there. F1 again raises the same window; Escape closes it; the link brings it back where
    // it was. Nothing is handed to the desktop and no message is shown.
    void f1ShowsTheGuideWithItsContents() {
        QTest::keyClick(w.get(), Qt::Key_F1);
        auto* help = w->findChild<frmHelp*>();
        QVERIFY(help != nullptr);
        QTRY_VERIFY(help->isActiveWindow());
        const QString guide = help->CurrentGuide();
        QCOMPARE(QFileInfo(guide).fileName(), QStringLiteral("user-guide.md"));
        const QStringList headings = MarkdownHeadings(guide);
        QVERIFY(headings.size() > 3);
        QCOMPARE(ContentsTitles(*help->tvwContents), headings);
        QVERIFY(help->txbGuide->toPlainText().startsWith(headings.first()));

        const QString last = headings.last();
        auto* item = help->tvwContents->findItems(last, Qt::MatchExactly | Qt::MatchRecursive)[0];
        help->tvwContents->scrollToItem(item);
        QTest::mouseClick(help->tvwContents->viewport(), Qt::LeftButton, {},
                          help->tvwContents->visualItemRect(item).center());
        QCOMPARE(help->txbGuide->textCursor().block().text(), last);
        const QRect heading = help->txbGuide->cursorRect();
        QVERIFY(help->txbGuide->viewport()->rect().contains(heading));

        const QRect place(help->pos() + QPoint(30, 20), help->size() - QSize(40, 30));
        help->setGeometry(place);
        QTest::keyClick(help, Qt::Key_F1);
        QCOMPARE(w->findChildren<frmHelp*>().size(), 1);
        QTest::keyClick(help->txbGuide, Qt::Key_Escape);
        QVERIFY(!help->isVisible());
        QTest::mouseClick(Child<QLabel>(*w, "lblOnlineDocumentation"), Qt::LeftButton);
        QVERIFY(help->isVisible());
        QCOMPARE(help->geometry(), place);
        QCOMPARE(help->CurrentGuide(), guide);
        QVERIFY(opened.isEmpty());
        QVERIFY(host.boxes.empty());
    }

    // A link to another guide opens it in the window, a link to a heading goes to it; Back and
    // Forward retrace the steps, to the place read.
    void linksBetweenTheGuides() {
        QTest::keyClick(w.get(), Qt::Key_F1);
        auto* help = w->findChild<frmHelp*>();
        QVERIFY(help != nullptr);
        QTRY_VERIFY(help->isActiveWindow());
        const QString guide = help->CurrentGuide();
        QVERIFY(!help->cmdBack->isEnabled());
        QVERIFY(ClickLink(*help->txbGuide, QStringLiteral("batch-language.md")));
        const QString batch = QFileInfo(guide).dir().filePath(QStringLiteral("batch-language.md"));
        QCOMPARE(help->CurrentGuide(), batch);
        QCOMPARE(ContentsTitles(*help->tvwContents), MarkdownHeadings(batch));
        QVERIFY(ClickLink(*help->txbGuide, QStringLiteral("#working-days")));
        QCOMPARE(TopBlockText(*help->txbGuide), QStringLiteral("Working days"));
        const int down = help->txbGuide->verticalScrollBar()->value();
        QVERIFY(down > 0);

        help->cmdBack->click();
        QCOMPARE(help->CurrentGuide(), batch);
        QVERIFY(help->txbGuide->verticalScrollBar()->value() < down);
        QTest::keyClick(help->txbGuide, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(help->CurrentGuide(), guide);
        QCOMPARE(ContentsTitles(*help->tvwContents), MarkdownHeadings(guide));
        QVERIFY(!help->cmdBack->isEnabled());
        help->cmdForward->click();
        help->cmdForward->click();
        QCOMPARE(help->CurrentGuide(), batch);
        QCOMPARE(help->txbGuide->verticalScrollBar()->value(), down);
        QVERIFY(!help->cmdForward->isEnabled());
        QVERIFY(opened.isEmpty());
    }

    // The find box marks every match (as many as the page holds, in any case), selects them in
    // turn with Enter and F3, backwards with Shift, round the page's end; Escape there ends the
    // search, a second Escape closes the window.
    void findMarksAndSteps() {
        QTest::keyClick(w.get(), Qt::Key_F1);
        auto* help = w->findChild<frmHelp*>();
        QVERIFY(help != nullptr);
        QTRY_VERIFY(help->isActiveWindow());
        const QString word = QStringLiteral("weekend");
        const int count =
            static_cast<int>(help->txbGuide->toPlainText().count(word, Qt::CaseInsensitive));
        QVERIFY(count > 2);
        QTest::keyClick(help, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(help->txbFind->hasFocus());
        QTest::keyClicks(help->txbFind, word);
        QCOMPARE(help->txbGuide->extraSelections().size(), count);
        QTextBrowser& text = *help->txbGuide;
        auto selected = [&text] { return text.textCursor().selectionStart(); };
        QCOMPARE(text.textCursor().selectedText().toLower(), word);
        QCOMPARE(help->lblFindResult->text(), QStringLiteral("1 of %1").arg(count));
        const int first = selected();
        QTest::keyClick(help->txbFind, Qt::Key_Return);
        const int second = selected();
        QVERIFY(second > first);
        QCOMPARE(text.textCursor().selectedText().toLower(), word);
        QTest::keyClick(help->txbFind, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(selected(), first);
        QTest::keyClick(help->txbFind, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(help->lblFindResult->text(), QStringLiteral("%1 of %1").arg(count));
        QTest::keyClick(help->txbFind, Qt::Key_F3);
        QCOMPARE(selected(), first);

        QTest::keyClicks(help->txbFind, QStringLiteral("zzq"));
        QVERIFY(text.extraSelections().isEmpty());
        QCOMPARE(help->lblFindResult->text(), QStringLiteral("Not found"));
        QTest::keyClick(help->txbFind, Qt::Key_Escape);
        QVERIFY(help->isVisible());
        QVERIFY(help->txbFind->text().isEmpty());
        QVERIFY(help->lblFindResult->text().isEmpty());
        QTest::keyClick(help, Qt::Key_Escape);
        QVERIFY(!help->isVisible());
    }

    // With no user guide where Daybridge looks, the window says so and names every place
    // looked at, in the interface language; the guide put there later is shown. A link to a
    // missing guide says which; a web address goes to the desktop's browser.
    void missingGuidesAreNamed() {
        QTest::keyClick(w.get(), Qt::Key_F1);
        auto* help = w->findChild<frmHelp*>();
        QVERIFY(help != nullptr);
        QTemporaryDir folder;
        const QStringList folders = {folder.filePath(QStringLiteral("bin")),
                                     folder.filePath(QStringLiteral("share"))};
        help->SetGuideFolders(folders);
        help->cmdUserGuide->click();
        QVERIFY(help->CurrentGuide().isEmpty());
        QCOMPARE(help->tvwContents->topLevelItemCount(), 0);
        for (Language language : {kGerman, kEnglish}) {
            Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(LanguageNumber(language));
            const QString page = help->txbGuide->toPlainText();
            QVERIFY2(page.startsWith(CaptionText(Caption::HelpGuideNotFound, language)),
                     qPrintable(page));
            for (const QString& place : folders) {
                QVERIFY2(page.contains(place + QStringLiteral("/user-guide.md")), qPrintable(page));
            }
            // Captions in the language, each button and the find box with a key of its own.
            QCOMPARE(help->windowTitle(), CaptionText(Caption::HelpTitle, language));
            QStringList keys = {help->lblFind->text(), help->lblContents->text()};
            for (QPushButton* button : help->findChildren<QPushButton*>()) {
                keys << button->text();
            }
            for (QString& key : keys) {
                key = key.section(u'&', 1).left(1).toLower();
            }
            QVERIFY2(!keys.contains(QString()) && keys.removeDuplicates() == 0,
                     qPrintable(keys.join(u',')));
        }

        QVERIFY(QDir().mkpath(folders[1]));
        const QString guide = folders[1] + QStringLiteral("/user-guide.md");
        QVERIFY(WriteText(guide, QStringLiteral("# Guide\n\n[gone](gone.md) "
                                                "[web](https://example.org/a?b=1#c)\n")));
        help->close();
        QTest::keyClick(w.get(), Qt::Key_F1);
        QCOMPARE(help->CurrentGuide(), guide);
        QVERIFY(ClickLink(*help->txbGuide, QStringLiteral("https://example.org/a?b=1#c")));
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/a?b=1#c"))});
        QCOMPARE(help->CurrentGuide(), guide);
        QVERIFY(ClickLink(*help->txbGuide, QStringLiteral("gone.md")));
        QVERIFY(help->CurrentGuide().isEmpty());
        const QString page = help->txbGuide->toPlainText();
        QVERIFY2(page.startsWith(CaptionText(Caption::HelpLinkedGuideNotFound, kEnglish)) &&
                     page.contains(folders[1] + QStringLiteral("/gone.md")),
                 qPrintable(page));
        help->cmdBack->click();
        QCOMPARE(help->CurrentGuide(), guide);
        QVERIFY(host.boxes.empty());
    }

  private:
    std::unique_ptr<IsolatedConfig> config_;
    RecordingHost host;
    std::unique_ptr<frmMain> w;
    QList<QUrl> opened;
};

QTEST_MAIN(HelpWindowTest)
#include "test_help.moc"
