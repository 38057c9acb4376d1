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
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        auto* label = qobject_cast<QLabel*>(widget);
        const QString text = button != nullptr                               ? button->text()
                             : label != nullptr && label->buddy() != nullptr ? label->text()
                                                                             : QString();
        if (widget->window() == &window && !text.isEmpty()) {
            captions.append({widget, text});
        }
    }
    QStringList problems;
    QSet<QString> keys;
    for (const auto& [widget, text] : captions) {
        const QString key = text.section(u'&', 1).left(1).toLower();
        if (text.contains(u'&') && (key.isEmpty() || text.count(u'&') > 1 || keys.contains(key))) {
            problems << widget->objectName() + QStringLiteral(" repeats: ") + text;
        }
        keys.insert(key);
    }
    for (const auto& [widget, text] : captions) {
        const bool required = qobject_cast<QAbstractButton*>(widget) != nullptr &&
                              qobject_cast<QRadioButton*>(widget) == nullptr;
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

    // Every window in both languages: its mnemonics, also after captions change (a run renames
    // Process file, the date order the separator options, a selection the copy button); each
    // secondary window opens on the screen, also beside a main window at the screen's edge. The
    // separators cannot be changed during a run (the run's end would undo the change).
    void everyWindowInBothLanguages_data() {
        QTest::addColumn<int>("language");
        Row("English", int(kEnglish));
        Row("German", int(kGerman));
    }
    void everyWindowInBothLanguages() {
        QFETCH(int, language);
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(language);
        const QRect room = w->screen()->availableGeometry();
        w->move(room.right() - 150, room.bottom() - 120);
        OpenAllWindows(*w);
        frmClearOneTextBox clearOne(w->state());
        clearOne.SetLanguageDependentText();
        const std::initializer_list<QWidget*> windows = {
            w.get(), w->configureDialog(), w->monthDisplay(), w->largeDisplay(), &clearOne};
        for (QWidget* window : windows) {
            QVERIFY2(
                window == w.get() || window == &clearOne || OnScreen(window->frameGeometry(), room),
                qPrintable(window->objectName()));
        }
        QTemporaryDir files;
        w->AddInputFile(WriteProgram(files.path(), QStringLiteral("endless.txt"),
                                     {QStringLiteral("DO"), QStringLiteral("ENDDO")}),
                        0);
        auto* slash = Child<QRadioButton>(*w->configureDialog(), "optSeparatorIsSlash");
        for (int round = 0; round < 2; ++round) {
            for (QWidget* window : windows) {
                const QStringList problems = MnemonicProblems(*window);
                QVERIFY2(problems.isEmpty(),
                         qPrintable(window->objectName() + QStringLiteral(": ") +
                                    problems.join(QStringLiteral("; "))));
            }
            QCOMPARE(slash->isEnabled(), round == 0);
            Button(*w, "cmdBatchCompute")->click();
            Child<QRadioButton>(*w->configureDialog(), "optDateFormatIsDMY")->click();
            Child<OutputView>(*w, "txbOutput")->setSelection(0, 4);
            w->UpdateCopyButton();
        }
        QTRY_VERIFY(!w->batch().Running());
        slash->click();
        QCOMPARE(w->state().format.dateSeparator, QStringLiteral("/"));
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

    // The today labels and the links take the focus from Tab; the arrow keys step the labels'
    // calendar back and forth, Space steps it on; Enter opens a link.
    void todayLabelsAndLinksFromTheKeyboard() {
        RecordingHost host;
        auto w = StartWindow(host);
        for (const char* name :
             {"lblTodaysDate", "lblWeekFromToday", "lblVelmoraSystems", "lblOnlineDocumentation"}) {
            QVERIFY2(Child<QWidget>(*w, name)->focusPolicy() & Qt::TabFocus, name);
        }
        auto* label = Child<QLabel>(*w, "lblTodaysDate");
        QTest::keyClick(label, Qt::Key_Left);
        QCOMPARE(w->state().todayCalendar, int(kMJD));
        QVERIFY2(label->text().endsWith(QStringLiteral(" MJD")), qPrintable(label->text()));
        QTest::keyClick(label, Qt::Key_Right);
        QCOMPARE(w->state().todayCalendar, int(kCE));
        QTest::keyClick(Child<QLabel>(*w, "lblWeekFromToday"), Qt::Key_Space);
        QCOMPARE(w->state().todayCalendar, int(kISO));
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
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
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

    // A Julian first date opens the Julian grid, a world calendar's date its CE month on the
    // Gregorian grid; the display stays on the screen when it grows.
    void monthDisplayFollowsTheFirstDate() {
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QRadioButton>(*w, "optFirstDateIsJC")->click();
        Child<QLineEdit>(*w, "txbFirstDate")->setText(QStringLiteral("1582-10-04"));
        Button(*w, "cmdDisplayMonth")->click();
        frmDisplayMonthLPM* month = w->monthDisplay();
        QVERIFY(Child<QRadioButton>(*month, "optJulian")->isChecked() && w->state().monthJulian);
        QCOMPARE(Child<QComboBox>(*month, "cboMonths")->currentIndex(), 9);
        ChooseWorldCalendar(*w, kHEB);  // 14 October 1582
        Button(*w, "cmdDisplayMonth")->click();
        QVERIFY(Child<QRadioButton>(*month, "optCommonEra")->isChecked() &&
                !w->state().monthJulian);
        QCOMPARE(Child<QComboBox>(*month, "cboMonths")->currentIndex(), 9);

        const QRect room = w->screen()->availableGeometry();
        month->move(room.right() - month->width(), room.bottom() - month->height());
        Child<QRadioButton>(*month, "optMonday")->click();
        Child<QRadioButton>(*month, "optLPW")->click();
        const QSize before = month->size();
        Child<QPushButton>(*month, "cmdShowHideISOorLPM")->click();
        Child<QCheckBox>(*month, "chkWithYear")->click();
        QVERIFY(month->size().height() > before.height());
        QTRY_VERIFY(OnScreen(month->frameGeometry(), room));
    }

  private:
    std::unique_ptr<IsolatedConfig> config_;
};

QTEST_MAIN(DesktopTest)
#include "test_desktop.moc"
