// What the windows owe a desktop user: mnemonics and shortcuts, date keys, the today labels from
// the keyboard, focus frames, windows kept on the screen, messages that say what happened, and
// the window icon.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>

#include "calendar/calendar_table.h"
#include "ui/frm_clear_one.h"
#include "ui/frm_configure.h"
#include "ui/frm_display_month.h"
#include "ui/frm_large_display.h"
#include "ui/output_view.h"
#include "ui/screen_fit.h"
#include "ui_test_support.h"
#include "window_fixture.h"

using namespace daybridge;
using namespace uitest;

namespace {

QPushButton* Button(QWidget& w, const char* name) {
    return Child<QPushButton>(w, name);
}

// Opens every secondary window that can stay open beside the main window.
void OpenAllWindows(frmMain& w) {
    w.state().output.setText(QStringLiteral("some output\r\n"));
    w.AppendPendingOutput();
    Button(w, "cmdConfigure")->click();
    Button(w, "cmdDisplayMonth")->click();
    Button(w, "cmdEnlarge")->click();
}

// Chooses a world calendar for the first date from its list.
void ChooseWorldCalendar(frmMain& w, int calendar) {
    auto* list = Child<QComboBox>(w, "cboFirstDateCalendar");
    list->setCurrentIndex(list->findData(calendar));
    emit list->activated(list->currentIndex());
}

// The problems of a window's mnemonics: a key marked twice, a button or check box without one,
// an option or a field label without one while a letter or digit of its caption is free.
QStringList MnemonicProblems(QWidget& window) {
    QList<std::pair<QWidget*, QString>> captions;
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->window() == &window && !button->text().isEmpty()) {
            captions.append({button, button->text()});
        }
    }
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->window() == &window && label->buddy() != nullptr) {
            captions.append({label, label->text()});
        }
    }
    QStringList problems;
    QSet<QChar> keys;
    for (const auto& [widget, text] : captions) {
        const qsizetype at = text.indexOf(u'&');
        if (at >= 0 && (at + 1 == text.size() || text.count(u'&') > 1 ||
                        keys.contains(text[at + 1].toLower()))) {
            problems << widget->objectName() + QStringLiteral(" repeats: ") + text;
        }
        if (at >= 0 && at + 1 < text.size()) {
            keys.insert(text[at + 1].toLower());
        }
    }
    for (const auto& [widget, text] : captions) {
        const bool required = qobject_cast<QRadioButton*>(widget) == nullptr &&
                              qobject_cast<QAbstractButton*>(widget) != nullptr;
        const bool free = std::any_of(text.begin(), text.end(), [&keys](QChar c) {
            return c.unicode() < 128 && c.isLetterOrNumber() && !keys.contains(c.toLower());
        });
        if (!text.contains(u'&') && (required || free)) {
            problems << widget->objectName() + QStringLiteral(" has none: ") + text;
        }
    }
    return problems;
}

// Inside the room; a window wider than the room (the test screen is small) starts at its left.
bool OnScreen(const QRect& frame, const QRect& room) {
    const QRect within(frame.topLeft(),
                       QSize(std::min(frame.width(), room.width()), frame.height()));
    return room.contains(within) && (frame.width() <= room.width() || frame.left() == room.left());
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { config_ = std::make_unique<IsolatedConfig>(); }
    void cleanup() { config_.reset(); }

    // Every window in both languages, also after captions change: a selection renames the copy
    // button, the date order the separator options, a run the Process file button.
    void everyCaptionHasItsOwnMnemonic_data() {
        QTest::addColumn<int>("language");
        Row("English", int(kEnglish));
        Row("German", int(kGerman));
    }
    void everyCaptionHasItsOwnMnemonic() {
        QFETCH(int, language);
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(language);
        OpenAllWindows(*w);
        frmClearOneTextBox clearOne(w->state());
        clearOne.SetLanguageDependentText();
        QTemporaryDir files;
        w->AddInputFile(WriteProgram(files.path(), QStringLiteral("endless.txt"),
                                     {QStringLiteral("DO"), QStringLiteral("ENDDO")}),
                        0);
        for (int round = 0; round < 2; ++round) {
            for (QWidget* window :
                 std::initializer_list<QWidget*>{w.get(), w->configureDialog(), w->monthDisplay(),
                                                 w->largeDisplay(), &clearOne}) {
                const QStringList problems = MnemonicProblems(*window);
                QVERIFY2(problems.isEmpty(),
                         qPrintable(window->objectName() + QStringLiteral(": ") +
                                    problems.join(QStringLiteral("; "))));
            }
            Button(*w, "cmdBatchCompute")->click();
            Child<QRadioButton>(*w->configureDialog(), "optDateFormatIsDMY")->click();
            Child<OutputView>(*w, "txbOutput")->setSelection(0, 4);
            w->UpdateCopyButton();
        }
        QTRY_VERIFY(!w->batch().Running());
    }

    // Enter presses the focused button; the option group's key chooses in it; a
    // click in the enlarged text keeps the focus there (a stray Space must not close it);
    // Escape closes the month display and the enlarged window; Ctrl+Q quits and saves.
    void keysOfTheWindows() {
        RecordingHost host;
        auto w = StartWindow(host);
        QVERIFY(!w->windowIcon().pixmap(64, 64).isNull());
        auto* first = Child<QLineEdit>(*w, "txbFirstDate");
        first->setText(QStringLiteral("2004-02-29"));
        QTest::keyClick(Button(*w, "cmdClearFirstDate"), Qt::Key_Return);
        QVERIFY(first->text().isEmpty());
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        // Each option group has a key (English has letters for both): its label's, leading to
        // the chosen option, or one option's.
        for (const char* frame : {"Frame1", "Frame2"}) {
            auto* group = Child<QWidget>(*w, frame);
            QString key =
                Child<QLabel>(*w, frame[5] == '1' ? "lblThisIsA0" : "lblThisIsA1")->text();
            for (QRadioButton* option : group->findChildren<QRadioButton*>()) {
                key = key.contains(u'&') ? key : option->text();
            }
            QVERIFY2(key.contains(u'&'), frame);
            QTest::keyClick(w.get(), key[key.indexOf(u'&') + 1].toLower().toLatin1(),
                            Qt::AltModifier);
            auto* chosen = qobject_cast<QRadioButton*>(QApplication::focusWidget());
            QVERIFY(chosen != nullptr && chosen->parentWidget() == group);
            QTRY_VERIFY(chosen->isChecked());  // an option's key clicks it a moment later
        }

        OpenAllWindows(*w);
        frmLargeDisplay* large = w->largeDisplay();
        QCOMPARE(large->focusWidget(), large->cmdClose);
        QTest::mouseClick(large->txbOutput->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(large->focusWidget(), large->txbOutput);
        for (QWidget* window :
             std::initializer_list<QWidget*>{w->monthDisplay(), w->largeDisplay()}) {
            QVERIFY(window->isVisible());
            window->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), window);
            QTest::keyClick(window, Qt::Key_Escape);
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
        }
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!w->isVisible());
        QVERIFY(QFile::exists(config_->settingsFile()));
    }

    void dateKeysStepTheDate_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("date");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("stepped");
        const int up = Qt::Key_Up, down = Qt::Key_Down, pageUp = Qt::Key_PageUp;
        const int pageDown = Qt::Key_PageDown;
        Row("CE up: a day earlier", "optFirstDateIsCE", "2004-03-01", up, "2004-02-29");
        Row("CE down: a day later", "optFirstDateIsCE", "2004-02-28", down, "2004-02-29");
        Row("CE month end kept", "optFirstDateIsCE", "2004-01-31", pageDown, "2004-02-29");
        Row("CE across the year", "optFirstDateIsCE", "2004-01-15", pageUp, "2003-12-15");
        Row("CE common year", "optFirstDateIsCE", "1900-01-30", pageDown, "1900-02-28");
        Row("JC leap year", "optFirstDateIsJC", "1900-01-30", pageDown, "1900-02-29");
        Row("JDN down", "optFirstDateIsJDN", "2,451,545", down, "2,451,546");
        Row("JDN by CE month", "optFirstDateIsJDN", "2,451,545", pageDown, "2,451,576");
        Row("ISO across the year", "optFirstDateIsISO", "2004-W01-1", up, "2003-W52-7");
        Row("second field too", "optSecondDateIsCE", "2004-12-31", down, "2005-01-01");
        // A world calendar (a code: picked from the field's list) steps by its own months; MJD,
        // without months, by CE's.
        Row("HEB Kislev to Tevet", "HEB", "5787-09-26", pageDown, "5787-10-26");
        Row("MAY down", "MAY", "13.0.14.2.18", down, "13.0.14.2.19");
        Row("MJD by CE month", "MJD", "61,380", pageDown, "61,411");
    }
    void dateKeysStepTheDate() {
        QFETCH(QString, option);
        QFETCH(QString, date);
        QFETCH(int, key);
        QFETCH(QString, stepped);
        RecordingHost host;
        auto w = StartWindow(host);
        if (CalendarIndexOfCode(option) >= 0) {
            ChooseWorldCalendar(*w, CalendarIndexOfCode(option));
        } else {
            Child<QRadioButton>(*w, option.toLatin1().constData())->click();
        }
        auto* field = Child<QLineEdit>(
            *w, option.startsWith(u"optSecond") ? "txbSecondDate" : "txbFirstDate");
        field->setText(date);
        QTest::keyClick(field, Qt::Key(key));
        QCOMPARE(field->text(), stepped);
        QVERIFY(host.boxes.empty());
        // The difference field has no date to step.
        auto* difference = Child<QLineEdit>(*w, "txbDateDiffDays");
        difference->setText(QStringLiteral("12"));
        QTest::keyClick(difference, Qt::Key(key));
        QCOMPARE(difference->text(), QStringLiteral("12"));
    }

    // The labels take the focus from Tab and cycle with the arrow keys through every calendar of
    // the registry except AN and VLW, each date followed by its calendar's code; the links are
    // in the Tab chain and open with Enter.
    void todayLabelsAndLinksFromTheKeyboard() {
        RecordingHost host;
        auto w = StartWindow(host);
        QSet<QString> chain;
        for (QWidget* next = w->nextInFocusChain(); next != w.get();
             next = next->nextInFocusChain()) {
            if (next->focusPolicy() & Qt::TabFocus) {
                chain.insert(next->objectName());
            }
        }
        for (const char* name :
             {"lblTodaysDate", "lblWeekFromToday", "lblVelmoraSystems", "lblOnlineDocumentation"}) {
            QVERIFY2(chain.contains(QString::fromLatin1(name)), name);
        }
        auto* label = Child<QLabel>(*w, "lblTodaysDate");
        QSet<int> seen;
        QSet<int> expected;
        for (int calendar = 0; calendar < kAllCalendarCount; ++calendar) {
            if (calendar != kAN && calendar != kVLW) {
                expected.insert(calendar);
                const int shown = w->state().todayCalendar;
                QVERIFY2(label->text().endsWith(u' ' + CalendarCode(shown)),
                         qPrintable(label->text()));
                seen.insert(shown);
                QTest::keyClick(label, Qt::Key_Right);
            }
        }
        QCOMPARE(seen, expected);
        QCOMPARE(w->state().todayCalendar, int(kCE));  // one round and back
        QTest::keyClick(label, Qt::Key_Left);
        QCOMPARE(w->state().todayCalendar, int(kMJD));
        QTest::keyClick(Child<QLabel>(*w, "lblWeekFromToday"), Qt::Key_Space);
        QCOMPARE(w->state().todayCalendar, int(kCE));
        QTest::keyClick(Child<QLabel>(*w, "lblVelmoraSystems"), Qt::Key_Return);
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].title, w->state().Text(350));
    }
    // The focus frame and the selection are drawn in a colour that stands out from the
    // background they lie on.
    void focusFramesStandOut() {
        RecordingHost host;
        auto w = StartWindow(host);
        Button(*w, "cmdConfigure")->click();
        for (QWidget* widget : std::initializer_list<QWidget*>{
                 Child<QWidget>(*w, "Frame3"), Child<QWidget>(*w, "Frame6"),
                 Child<QWidget>(*w, "chkVerbose"), Child<QWidget>(*w, "optFirstDateIsCE"),
                 Button(*w, "cmdCompute"), w->configureDialog()}) {
            const QPalette& palette = widget->palette();
            const double contrast = std::abs(palette.color(QPalette::Highlight).lightnessF() -
                                             palette.color(QPalette::Window).lightnessF());
            QVERIFY2(contrast > 0.5, qPrintable(widget->objectName()));
        }
    }

    void placeInsideTheRoom_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("place");
        const QRect room(0, 0, 1366, 740);  // 1366x768 with a 28-pixel panel at the bottom
        QTest::addColumn<QRect>("room");
        Row("inside stays", QRect(100, 100, 400, 300), QPoint(100, 100), room);
        Row("past the right edge", QRect(1200, 100, 400, 300), QPoint(966, 100), room);
        Row("under the bottom panel", QRect(300, 600, 400, 300), QPoint(300, 440), room);
        Row("above and left", QRect(-50, -20, 400, 300), QPoint(0, 0), room);
        Row("larger than the room", QRect(200, 200, 1500, 900), QPoint(0, 0), room);
        Row("room with a top panel", QRect(10, 0, 400, 300), QPoint(10, 32),
            QRect(0, 32, 1600, 1168));
    }
    void placeInsideTheRoom() {
        QFETCH(QRect, frame);
        QFETCH(QPoint, place);
        QFETCH(QRect, room);
        QCOMPARE(PlaceInside(frame, room), place);
    }

    // Each secondary window opens inside the screen's available area, also when the main window
    // stands at its edge, and stays inside when it grows.
    void secondaryWindowsStayOnTheScreen() {
        RecordingHost host;
        auto w = StartWindow(host);
        const QRect room = w->screen()->availableGeometry();
        w->move(room.right() - 150, room.bottom() - 120);
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
        OpenAllWindows(*w);
        for (QWidget* window : std::initializer_list<QWidget*>{
                 w->configureDialog(), w->monthDisplay(), w->largeDisplay()}) {
            QVERIFY2(OnScreen(window->frameGeometry(), room),
                     qPrintable(window->objectName() + QStringLiteral(" outside")));
        }
        frmDisplayMonthLPM* month = w->monthDisplay();
        month->move(room.right() - month->width(), room.bottom() - month->height());
        Child<QRadioButton>(*month, "optMonday")->click();
        Child<QRadioButton>(*month, "optLPW")->click();
        const QSize before = month->size();
        Child<QPushButton>(*month, "cmdShowHideISOorLPM")->click();
        Child<QCheckBox>(*month, "chkWithYear")->click();
        QVERIFY(month->size().height() > before.height());
        QTRY_VERIFY(OnScreen(month->frameGeometry(), room));
    }

    // An empty file, a name without ".txt", a run ended by a cancelled prompt: each says what
    // happened and what to do.
    void fileProblemsAreExplained_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("lines");  // empty: an empty file
        QTest::addColumn<int>("text");
        Row("empty file", "empty.txt", QStringList(), 353);
        Row("not .txt", "program.dat", QStringList{"OUTPUT: x"}, 355);
        Row("cancelled prompt", "ask.txt",
            QStringList{"OUTPUT: before", "X = INPUT: How many?", "OUTPUT: after"}, 354);
    }
    void fileProblemsAreExplained() {
        QFETCH(QString, name);
        QFETCH(QStringList, lines);
        QFETCH(int, text);
        QTemporaryDir files;
        QString path = files.filePath(name);
        if (lines.isEmpty()) {
            QFile empty(path);
            QVERIFY(empty.open(QIODevice::WriteOnly));
        } else {
            path = WriteProgram(files.path(), name, lines);
        }
        RecordingHost host;
        host.inputAnswers.push_back(std::nullopt);  // Cancel
        auto w = StartWindow(host);
        Child<QComboBox>(*w, "cboInputFile")->setEditText(path);
        w->cmdBatchCompute_Click();
        QTRY_VERIFY(!w->batch().Running());
        QVERIFY(!host.boxes.empty());
        const QString shown = host.boxes.back().text;
        QVERIFY2(shown.contains(w->state().Text(text)), qPrintable(shown));
    }

    // A Julian first date opens the Julian grid, a CE one the Gregorian grid; the LPW year
    // caption names its two digits.
    void monthDisplayFollowsTheFirstDate() {
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QRadioButton>(*w, "optFirstDateIsJC")->click();
        Child<QLineEdit>(*w, "txbFirstDate")->setText(QStringLiteral("1582-10-04"));
        Button(*w, "cmdDisplayMonth")->click();
        frmDisplayMonthLPM* month = w->monthDisplay();
        QVERIFY(Child<QRadioButton>(*month, "optJulian")->isChecked());
        QVERIFY(w->state().monthJulian);
        QCOMPARE(Child<QComboBox>(*month, "cboMonths")->currentIndex(), 9);
        // A world calendar's date shows its CE month (14 October 1582) on the Gregorian grid.
        ChooseWorldCalendar(*w, kHEB);
        Button(*w, "cmdDisplayMonth")->click();
        QVERIFY(Child<QRadioButton>(*month, "optCommonEra")->isChecked());
        QVERIFY(!w->state().monthJulian);
        QCOMPARE(Child<QComboBox>(*month, "cboMonths")->currentIndex(), 9);
        Child<QRadioButton>(*w, "optFirstDateIsCE")->click();
        Button(*w, "cmdDisplayMonth")->click();
        QVERIFY(Child<QRadioButton>(*month, "optCommonEra")->isChecked());
        Child<QRadioButton>(*month, "optLPW")->click();
        QCOMPARE(Plain(Child<QCheckBox>(*month, "chkWithYear")->text()),
                 QStringLiteral("Include LPW year (last two digits)"));
    }

    // The separators cannot be changed during a run (the run's end would undo the change).
    void separatorsLockedDuringARun() {
        RecordingHost host;
        auto w = StartWindow(host);
        QTemporaryDir files;
        const QString program = WriteProgram(files.path(), QStringLiteral("endless.txt"),
                                             {QStringLiteral("DO"), QStringLiteral("ENDDO")});
        Button(*w, "cmdConfigure")->click();
        auto* slash = Child<QRadioButton>(*w->configureDialog(), "optSeparatorIsSlash");
        w->AddInputFile(program, 0);
        Button(*w, "cmdBatchCompute")->click();
        QVERIFY(w->batch().Running());
        QVERIFY(!slash->isEnabled());
        Button(*w, "cmdBatchCompute")->click();
        QTRY_VERIFY(!w->batch().Running());
        QVERIFY(slash->isEnabled());
        slash->click();
        QCOMPARE(w->state().format.dateSeparator, QStringLiteral("/"));
    }

  private:
    std::unique_ptr<IsolatedConfig> config_;
};

QTEST_MAIN(DesktopTest)
#include "test_desktop.moc"
