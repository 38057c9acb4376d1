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

// Opens every secondary window that can stay open beside the main window.
void OpenAllWindows(frmMain& w) {
    w.state().output.setText(QStringLiteral("some output\r\n"));
    w.AppendPendingOutput();
    Child<QPushButton>(w, "cmdConfigure")->click();
    Child<QPushButton>(w, "cmdDisplayMonth")->click();
    Child<QPushButton>(w, "cmdEnlarge")->click();
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
    QList<QWidget*> captioned;
    QStringList keys;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(widget);
        const QString text = widget->property("text").toString();
        if (widget->window() == &window && !text.isEmpty() &&
            (qobject_cast<QAbstractButton*>(widget) != nullptr || (label && label->buddy()))) {
            captioned << widget;
            keys << text.section(u'&', 1).left(1).toLower();
        }
    }
    QStringList problems;
    for (QWidget* widget : captioned) {
        const QString text = widget->property("text").toString();
        const QString key = text.section(u'&', 1).left(1).toLower();
        const bool free = std::any_of(text.begin(), text.end(), [&keys](QChar c) {
            return c.unicode() < 128 && c.isLetterOrNumber() && !keys.contains(c.toLower());
        });
        if (text.contains(u'&')
                ? key.isEmpty() || text.count(u'&') > 1 || keys.count(key) > 1
                : free || qobject_cast<QPushButton*>(widget) || qobject_cast<QCheckBox*>(widget)) {
            problems << widget->objectName() + QStringLiteral(": ") + text;
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
    void everyWindowInBothLanguages() {
        for (int language : {kEnglish, kGerman}) {
            RecordingHost host;
            auto w = StartWindow(host);
            Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(language);
            const QRect room = w->screen()->availableGeometry();
            w->move(room.right() - 150, room.bottom() - 120);
            OpenAllWindows(*w);
            frmClearOneTextBox clearOne(w->state());
            const std::initializer_list<QWidget*> windows = {
                w.get(), w->configureDialog(), w->monthDisplay(), w->largeDisplay(), &clearOne};
            QTemporaryDir files;
            w->AddInputFile(WriteProgram(files.path(), QStringLiteral("endless.txt"),
                                         {QStringLiteral("DO"), QStringLiteral("ENDDO")}),
                            0);
            auto* slash = Child<QRadioButton>(*w->configureDialog(), "optSeparatorIsSlash");
            for (int round = 0; round < 2; ++round) {
                for (QWidget* window : windows) {
                    QCOMPARE(MnemonicProblems(*window).join(u';'), QString());
                    QVERIFY(window == w.get() || window == &clearOne ||
                            OnScreen(window->frameGeometry(), room));
                }
                QCOMPARE(slash->isEnabled(), round == 0);
                Child<QPushButton>(*w, "cmdBatchCompute")->click();
                Child<QRadioButton>(*w->configureDialog(), "optDateFormatIsDMY")->click();
                Child<OutputView>(*w, "txbOutput")->setSelection(0, 4);
                w->UpdateCopyButton();
            }
            QTRY_VERIFY(!w->batch().Running());
            slash->click();
            QCOMPARE(w->state().format.dateSeparator, QStringLiteral("/"));
        }
    }

    // Enter presses the focused button; the option group's key chooses in it; focus frames show;
    // a click in the enlarged text keeps the focus there (a stray Space must not close it);
    // Escape closes the month display and the enlarged window; Ctrl+Q quits and saves.
    void keysOfTheWindows() {
        RecordingHost host;
        auto w = StartWindow(host);
        QVERIFY(!w->windowIcon().pixmap(64, 64).isNull());
        auto* first = Child<QLineEdit>(*w, "txbFirstDate");
        first->setText(QStringLiteral("2004-02-29"));
        QTest::keyClick(Child<QPushButton>(*w, "cmdClearFirstDate"), Qt::Key_Return);
        QVERIFY(first->text().isEmpty());
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        // Each option group has a key (English has letters for both): its label's, leading to
        // the chosen option, or one option's.
        for (const char* frame : {"Frame1", "Frame2"}) {
            auto* group = Child<QWidget>(*w, frame);
            QString keys =
                Child<QLabel>(*w, frame[5] == '1' ? "lblThisIsA0" : "lblThisIsA1")->text();
            for (QRadioButton* option : group->findChildren<QRadioButton*>()) {
                keys += option->text();
            }
            QVERIFY2(keys.contains(u'&'), frame);
            QTest::keyClick(w.get(), keys.section(u'&', 1).at(0).toLower().toLatin1(),
                            Qt::AltModifier);
            auto* chosen = qobject_cast<QRadioButton*>(QApplication::focusWidget());
            QVERIFY(chosen != nullptr && chosen->parentWidget() == group);
            QTRY_VERIFY(chosen->isChecked());  // an option's key clicks it a moment later
        }

        OpenAllWindows(*w);
        // The focus frame and the selection stand out from the background they lie on.
        for (QWidget* widget : std::initializer_list<QWidget*>{
                 Child<QWidget>(*w, "Frame3"), Child<QWidget>(*w, "Frame6"),
                 Child<QWidget>(*w, "chkVerbose"), Child<QWidget>(*w, "optFirstDateIsCE"),
                 Child<QPushButton>(*w, "cmdCompute"), w->configureDialog()}) {
            const QPalette& palette = widget->palette();
            QVERIFY2(std::abs(palette.color(QPalette::Highlight).lightnessF() -
                              palette.color(QPalette::Window).lightnessF()) > 0.5,
                     qPrintable(widget->objectName()));
        }
        frmLargeDisplay* large = w->largeDisplay();
        QCOMPARE(large->focusWidget(), large->cmdClose);
        QTest::mouseClick(large->txbOutput->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(large->focusWidget(), large->txbOutput);
        for (QWidget* window :
             std::initializer_list<QWidget*>{w->monthDisplay(), w->largeDisplay()}) {
            window->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), window);  // open, so it can be active
            QTest::keyClick(window, Qt::Key_Escape);
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
        }
        // The today labels and the links take the focus from Tab; the arrow keys step the
        // labels' calendar back and forth, Space steps it on; Enter opens a link.
        for (const char* name :
             {"lblTodaysDate", "lblWeekFromToday", "lblVelmoraSystems", "lblOnlineDocumentation"}) {
            QVERIFY2(Child<QWidget>(*w, name)->focusPolicy() & Qt::TabFocus, name);
        }
        auto* label = Child<QLabel>(*w, "lblTodaysDate");
        QTest::keyClick(label, Qt::Key_Left);
        QCOMPARE(w->state().todayCalendar, int(kMJD));
        QTest::keyClick(label, Qt::Key_Right);
        QCOMPARE(w->state().todayCalendar, int(kCE));
        QTest::keyClick(Child<QLabel>(*w, "lblWeekFromToday"), Qt::Key_Space);
        QCOMPARE(w->state().todayCalendar, int(kISO));
        QTest::keyClick(Child<QLabel>(*w, "lblVelmoraSystems"), Qt::Key_Return);
        QCOMPARE(host.boxes.back().title, w->state().Text(350));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!w->isVisible());
        QVERIFY(QFile::exists(config_->settingsFile()));
    }

    // The arrow keys step a date by a day, the page keys by a month: its calendar's, CE's for
    // day counts and calendars without months. The difference field has no date to step.
    void dateKeysStepTheDate() {
        // An option, or a world calendar's code picked from the list; a date; a key; the date.
        const std::tuple<const char*, const char*, Qt::Key, const char*> steps[] = {
            {"optFirstDateIsCE", "2004-03-01", Qt::Key_Up, "2004-02-29"},
            {"optFirstDateIsCE", "2004-01-31", Qt::Key_PageDown, "2004-02-29"},
            {"optFirstDateIsCE", "2004-01-15", Qt::Key_PageUp, "2003-12-15"},
            {"optFirstDateIsCE", "1900-01-30", Qt::Key_PageDown, "1900-02-28"},
            {"optFirstDateIsJC", "1900-01-30", Qt::Key_PageDown, "1900-02-29"},
            {"optFirstDateIsJDN", "2,451,545", Qt::Key_PageDown, "2,451,576"},
            {"optSecondDateIsCE", "2004-12-31", Qt::Key_Down, "2005-01-01"},
            {"HEB", "5787-09-26", Qt::Key_PageDown, "5787-10-26"},  // Kislev to Tevet
            {"MAY", "13.0.14.2.18", Qt::Key_Down, "13.0.14.2.19"},
            {"MJD", "61,380", Qt::Key_PageDown, "61,411"}};
        RecordingHost host;
        auto w = StartWindow(host);
        auto* difference = Child<QLineEdit>(*w, "txbDateDiffDays");
        for (const auto& [option, date, key, stepped] : steps) {
            const QString calendar = QString::fromLatin1(option);
            CalendarIndexOfCode(calendar) >= 0
                ? ChooseWorldCalendar(*w, CalendarIndexOfCode(calendar))
                : Child<QRadioButton>(*w, option)->click();
            auto* field = Child<QLineEdit>(
                *w, calendar.startsWith(u"optSecond") ? "txbSecondDate" : "txbFirstDate");
            field->setText(QString::fromLatin1(date));
            QTest::keyClick(field, key);
            QCOMPARE(field->text(), QString::fromLatin1(stepped));
            difference->setText(QStringLiteral("12"));
            QTest::keyClick(difference, key);
            QCOMPARE(difference->text(), QStringLiteral("12"));
        }
        QVERIFY(host.boxes.empty());
    }

    void placeInsideTheRoom() {
        const QRect room(0, 0, 1366, 740);  // 1366x768 with a 28-pixel panel at the bottom
        const std::tuple<QRect, QRect, QPoint> cases[] = {
            {QRect(100, 100, 400, 300), room, QPoint(100, 100)},  // inside stays
            {QRect(1200, 100, 400, 300), room, QPoint(966, 100)},
            {QRect(300, 600, 400, 300), room, QPoint(300, 440)},  // under the bottom panel
            {QRect(-50, -20, 400, 300), room, QPoint(0, 0)},      // above and left
            {QRect(200, 200, 1500, 900), room, QPoint(0, 0)},     // larger than the room
            {QRect(10, 0, 400, 300), QRect(0, 32, 1600, 1168), QPoint(10, 32)}};  // a top panel
        for (const auto& [frame, within, place] : cases) {
            QCOMPARE(PlaceInside(frame, within), place);
        }
    }

    // An empty file, a name without ".txt", a run ended by a cancelled prompt: each says what
    // happened and what to do.
    void fileProblemsAreExplained() {
        const std::tuple<QString, QStringList, int> files[] = {
            {"empty.txt", {}, 353},  // no lines: an empty file
            {"program.dat", {"OUTPUT: x"}, 355},
            {"ask.txt", {"OUTPUT: before", "X = INPUT: How many?", "OUTPUT: after"}, 354}};
        QTemporaryDir folder;
        RecordingHost host;
        host.inputAnswers.push_back(std::nullopt);  // Cancel
        auto w = StartWindow(host);
        for (const auto& [name, lines, text] : files) {
            const QString path =
                lines.isEmpty() ? folder.filePath(name) : WriteProgram(folder.path(), name, lines);
            QVERIFY(!lines.isEmpty() || QFile(path).open(QIODevice::WriteOnly));
            Child<QComboBox>(*w, "cboInputFile")->setEditText(path);
            w->cmdBatchCompute_Click();
            QTRY_VERIFY(!w->batch().Running());
            QVERIFY2(!host.boxes.empty() && host.boxes.back().text.contains(w->state().Text(text)),
                     qPrintable(name));
        }
    }

    // A Julian first date opens the Julian grid, a world calendar's date its CE month on the
    // Gregorian grid; the display stays on the screen when it grows.
    void monthDisplayFollowsTheFirstDate() {
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QRadioButton>(*w, "optFirstDateIsJC")->click();
        Child<QLineEdit>(*w, "txbFirstDate")->setText(QStringLiteral("1582-10-04"));
        Child<QPushButton>(*w, "cmdDisplayMonth")->click();
        frmDisplayMonthLPM* month = w->monthDisplay();
        QVERIFY(Child<QRadioButton>(*month, "optJulian")->isChecked() && w->state().monthJulian);
        QCOMPARE(Child<QComboBox>(*month, "cboMonths")->currentIndex(), 9);
        ChooseWorldCalendar(*w, kHEB);  // 14 October 1582
        Child<QPushButton>(*w, "cmdDisplayMonth")->click();
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
