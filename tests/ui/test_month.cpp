// The month display window: opening on a month, stepping across year ends, refusals of the
// year, the enabling of the added dates, the copied text and the settings round trip.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "env/holiday_files.h"
#include "env/paths.h"
#include "env/settings_file.h"
#include "env/text_store.h"
#include "ui/frm_display_month.h"
#include "window_fixture.h"

using namespace daybridge;
using namespace uitest;

namespace {

QStringList Lines(const QPlainTextEdit* box) {
    return box->toPlainText().split(u'\n');
}

}  // namespace

class TestMonth : public QObject {
    Q_OBJECT

  private:
    AppState state_;
    frmDisplayMonthLPM* window_ = nullptr;
    std::vector<Box> boxes_;

    template <class T>
    T* W(const char* name) {
        return Find<T>(*window_, name);
    }
    QStringList Grid() { return Lines(W<QPlainTextEdit>("txbMonth")); }
    QStringList Dates() { return Lines(W<QPlainTextEdit>("txbDates")); }

  private slots:
    void initTestCase() {
        QString failure;
        QVERIFY2(
            LoadProgramText(FindDataFile(QString::fromLatin1(kTextDataFileName)), &failure) > 0,
            qPrintable(failure));
        QVERIFY(!AppState{}.Text(13).isEmpty());
    }
    void init() {
        state_ = AppState{};
        state_.mainWindowReady = true;
        boxes_.clear();
        window_ = new frmDisplayMonthLPM(state_);
        window_->SetMessageHook([this](const QString& title, const QString& text) {
            boxes_.push_back({title, text});
        });
    }
    void cleanup() {
        delete window_;
        window_ = nullptr;
    }

    void opensOnTheGivenMonth() {
        QVERIFY(!window_->isVisible());
        window_->ShowMonth(2015, 2);
        QVERIFY(window_->isVisible());
        QCOMPARE(W<QLineEdit>("txbYear")->text(), QStringLiteral("2015"));
        QCOMPARE(W<QComboBox>("cboMonths")->currentIndex(), 1);
        QCOMPARE(W<QComboBox>("cboMonths")->currentText(), QStringLiteral("February"));
        const QStringList grid = Grid();
        QCOMPARE(grid.size(), 6);
        QCOMPARE(grid[0], QStringLiteral(" Mon  Tue  Wed  Thu  Fri  Sat  Sun "));
        QCOMPARE(grid[1], QStringLiteral("  26   27   28   29   30   31    1  "));
        QCOMPARE(grid[5], QStringLiteral("  23   24   25   26   27   28    1  "));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Month display"));
    }

    void sundayFirstAndJulian() {
        window_->ShowMonth(2013, 6);
        W<QRadioButton>("optSunday")->click();
        QVERIFY(!state_.monthMondayFirst);
        QCOMPARE(Grid()[0], QStringLiteral(" Sun  Mon  Tue  Wed  Thu  Fri  Sat "));
        QCOMPARE(Grid().back(), QStringLiteral("  30    1    2    3    4    5    6  "));
        W<QRadioButton>("optJulian")->click();
        QVERIFY(state_.monthJulian);
        // Julian 1 June 2013 is Gregorian 14 June, a Friday.
        QCOMPARE(Grid()[1], QStringLiteral("  27   28   29   30   31    1    2  "));
    }

    void stepsAcrossYearEnds() {
        window_->ShowMonth(2012, 12);
        W<QPushButton>("cmdDisplayNextMonth_0")->click();
        QCOMPARE(W<QLineEdit>("txbYear")->text(), QStringLiteral("2013"));
        QCOMPARE(W<QComboBox>("cboMonths")->currentIndex(), 0);
        QCOMPARE(Grid()[1], QStringLiteral("  31    1    2    3    4    5    6  "));
        W<QPushButton>("cmdDisplayNextMonth_1")->click();
        QCOMPARE(W<QLineEdit>("txbYear")->text(), QStringLiteral("2012"));
        QCOMPARE(W<QComboBox>("cboMonths")->currentIndex(), 11);
        QCOMPARE(Grid()[1], QStringLiteral("  26   27   28   29   30    1    2  "));
        // Year texts are cleaned before stepping.
        W<QLineEdit>("txbYear")->setText(QStringLiteral(" -0044 "));
        W<QPushButton>("cmdDisplayNextMonth_0")->click();
        QCOMPARE(W<QLineEdit>("txbYear")->text(), QStringLiteral("-43"));
        QCOMPARE(W<QComboBox>("cboMonths")->currentIndex(), 0);
        QVERIFY(boxes_.empty());
    }

    void monthChoiceAndEnterRedraw() {
        window_->ShowMonth(2015, 2);
        W<QComboBox>("cboMonths")->setCurrentIndex(5);  // June
        QCOMPARE(Grid()[1], QStringLiteral("   1    2    3    4    5    6    7  "));
        W<QLineEdit>("txbYear")->setText(QStringLiteral("2013"));
        QTest::keyClick(W<QLineEdit>("txbYear"), Qt::Key_Return);
        QCOMPARE(Grid().back(), QStringLiteral("  24   25   26   27   28   29   30  "));
    }

    void badYearsAreRefused_data() {
        Columns<QString>({"year", "message"});
        Row("empty", "", "Please specify year");
        Row("blanks", "   ", "Please specify year");
        Row("letters", "abc", "Please specify year");
        Row("letter O in the year", "2O12", "Please specify year");
        Row("sign after the year", "2012-", "Please specify year");
        Row("too large", "5800001", "-5,800,000 and 5,800,000");
        Row("too small", "-99999999", "-5,800,000 and 5,800,000");
        Row("huge", "123456789012345678901234567890", "-5,800,000 and 5,800,000");
    }
    void badYearsAreRefused() {
        QFETCH(QString, year);
        QFETCH(QString, message);
        window_->ShowMonth(2015, 2);
        const QString before = W<QPlainTextEdit>("txbMonth")->toPlainText();
        W<QLineEdit>("txbYear")->setText(year);
        W<QPushButton>("cmdDisplay")->click();
        QCOMPARE(boxes_.size(), std::size_t{1});
        QCOMPARE(boxes_[0].title, QStringLiteral("Invalid input"));
        QVERIFY2(boxes_[0].text.contains(message), qPrintable(boxes_[0].text));
        QCOMPARE(W<QPlainTextEdit>("txbMonth")->toPlainText(), before);
        // Stepping from a bad year reports it too, and changes nothing.
        W<QPushButton>("cmdDisplayNextMonth_0")->click();
        QCOMPARE(boxes_.size(), std::size_t{2});
        QCOMPARE(W<QComboBox>("cboMonths")->currentIndex(), 1);
    }

    void stepsStopAtTheEdgeOfTheRange() {
        window_->ShowMonth(5800000, 12);
        QVERIFY(boxes_.empty());
        QVERIFY(Grid().size() >= 5);
        W<QPushButton>("cmdDisplayNextMonth_0")->click();
        QCOMPARE(boxes_.size(), std::size_t{1});
        window_->ShowMonth(-5800000, 1);
        QCOMPARE(boxes_.size(), std::size_t{1});
        W<QPushButton>("cmdDisplayNextMonth_1")->click();
        QCOMPARE(boxes_.size(), std::size_t{2});
    }

    void enablingOfTheAddedDates() {
        window_->ShowMonth(2015, 2);
        auto* showHide = W<QPushButton>("cmdShowHideISOorLPM");
        auto* withYear = W<QCheckBox>("chkWithYear");
        QVERIFY(showHide->isEnabled() && withYear->isEnabled());
        W<QRadioButton>("optJulian")->click();
        QVERIFY(!showHide->isEnabled() && !withYear->isEnabled());
        W<QRadioButton>("optSunday")->click();
        QVERIFY(!showHide->isEnabled());
        W<QRadioButton>("optCommonEra")->click();
        QVERIFY(!showHide->isEnabled() && !withYear->isEnabled());
        W<QRadioButton>("optMonday")->click();
        QVERIFY(showHide->isEnabled() && withYear->isEnabled());
    }

    void showAndHideTheAddedDates_data() {
        QTest::addColumn<QString>("hideBy");
        Row("button", "cmdShowHideISOorLPM");
        Row("julian", "optJulian");
        Row("sunday", "optSunday");
    }
    void showAndHideTheAddedDates() {
        QFETCH(QString, hideBy);
        window_->ShowMonth(2015, 2);
        auto* showHide = W<QPushButton>("cmdShowHideISOorLPM");
        auto* dates = W<QPlainTextEdit>("txbDates");
        QCOMPARE(Plain(showHide->text()), state_.Text(14));
        QVERIFY(!dates->isVisible());
        const int closedHeight = window_->height();
        showHide->click();
        QVERIFY(window_->DatesShown());
        QVERIFY(dates->isVisible());
        QCOMPARE(Plain(showHide->text()), state_.Text(15));
        QVERIFY(window_->height() > closedHeight);
        QCOMPARE(Dates().size(), 6);
        QCOMPARE(Dates()[1], QStringLiteral("W05-1  W05-2  W05-3  W05-4  W05-5  W05-6  W05-7"));
        Find<QAbstractButton>(*window_, hideBy.toLatin1().constData())->click();
        QVERIFY(!window_->DatesShown());
        QVERIFY(!dates->isVisible());
        QCOMPARE(Plain(showHide->text()), state_.Text(14));
        QVERIFY(window_->height() < closedHeight + 10);
    }

    void addedDatesFollowTheirOptions() {
        window_->ShowMonth(2015, 2);
        W<QPushButton>("cmdShowHideISOorLPM")->click();
        auto* withYear = W<QCheckBox>("chkWithYear");
        QCOMPARE(Plain(withYear->text()), state_.Text(26));
        withYear->click();
        QCOMPARE(Dates()[1].left(20), QStringLiteral("5-W05-1   5-W05-2   "));
        QCOMPARE(W<QPlainTextEdit>("txbDates")->font().pointSize(), 9);
        W<QRadioButton>("optLPW")->click();
        QCOMPARE(state_.monthAddedDates, MonthAddedDates::LPW);
        QCOMPARE(Plain(withYear->text()), state_.Text(27));
        QVERIFY(!Dates()[1].contains(u'W'));
        W<QRadioButton>("optLPM")->click();
        QCOMPARE(state_.monthAddedDates, MonthAddedDates::LPM);
        QCOMPARE(Plain(withYear->text()), state_.Text(26));
        withYear->click();
        QCOMPARE(W<QPlainTextEdit>("txbDates")->font().pointSize(), 10);
        // Each day of the month form has its own date: seven different cells.
        const QStringList cells = Dates()[1].split(u' ', Qt::SkipEmptyParts);
        QCOMPARE(cells.size(), 7);
        QCOMPARE(QSet<QString>(cells.begin(), cells.end()).size(), 7);
    }

    void copiesHeadingGridAndDates() {
        window_->ShowMonth(2015, 2);
        W<QPushButton>("cmdCopyToClipboard")->click();
        const QString grid = W<QPlainTextEdit>("txbMonth")->toPlainText();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("February 2015 (Common Era Calendar)\n\n") + grid);

        W<QPushButton>("cmdShowHideISOorLPM")->click();
        W<QPushButton>("cmdCopyToClipboard")->click();
        const QString copied = QGuiApplication::clipboard()->text();
        const QString dates = W<QPlainTextEdit>("txbDates")->toPlainText();
        QCOMPARE(copied, QStringLiteral("February 2015 (Common Era Calendar)\n\n") + grid +
                             QStringLiteral("\n\n") + state_.Text(13) + QStringLiteral("\n\n") +
                             dates);
        QVERIFY(copied.contains(QStringLiteral("W09-1")));

        W<QRadioButton>("optSunday")->click();
        W<QRadioButton>("optJulian")->click();
        W<QPushButton>("cmdCopyToClipboard")->click();
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(
            QStringLiteral("February 2015 (Julian Calendar)\n\n Sun  Mon")));
        QVERIFY(!QGuiApplication::clipboard()->text().contains(state_.Text(13)));
    }

    // With a holiday set the month's holidays are coloured in the grid and named below it, and
    // the copied text ends with those names; without one nothing is marked.
    void marksTheHolidaysOfTheChosenSet() {
        QString why;
        state_.workdays = WorkdayCalendar(WorkdayCalendar::kSaturdaySunday,
                                          LoadHolidaySet(QStringLiteral("germany"), why));
        QVERIFY2(state_.workdays.holidays() != nullptr, qPrintable(why));
        window_->ShowMonth(2026, 12);
        QStringList marked;
        for (const QTextEdit::ExtraSelection& mark :
             W<QPlainTextEdit>("txbMonth")->extraSelections()) {
            marked << mark.cursor.selectedText();
        }
        QCOMPARE(marked, (QStringList{QStringLiteral("25"), QStringLiteral("26")}));
        const QString names = W<QLabel>("lblHolidays")->text();
        QCOMPARE(names, QStringLiteral("25  Christmas Day\n26  Second Day of Christmas"));
        QVERIFY(W<QLabel>("lblHolidays")->isVisible());
        W<QPushButton>("cmdCopyToClipboard")->click();
        QVERIFY(QGuiApplication::clipboard()->text().endsWith(QStringLiteral("\n\n") + names));
        // The ends of the year range: New Year's Day, Christmas.
        window_->ShowMonth(-5800000, 1);
        QVERIFY(W<QLabel>("lblHolidays")->text().startsWith(QStringLiteral(" 1  New Year")));
        window_->ShowMonth(5800000, 12);
        QVERIFY(W<QLabel>("lblHolidays")->text().contains(QStringLiteral("25  Christmas Day")));

        state_.workdays = WorkdayCalendar();
        window_->DisplayMonth();
        QVERIFY(W<QPlainTextEdit>("txbMonth")->extraSelections().isEmpty());
        QVERIFY(!W<QLabel>("lblHolidays")->isVisible());
    }

    void germanCaptionsKeepTheMonth() {
        window_->ShowMonth(2015, 3);
        state_.language = kGerman;
        window_->SetLanguageDependentText();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Monatsanzeige"));
        QCOMPARE(W<QComboBox>("cboMonths")->currentIndex(), 2);
        QCOMPARE(W<QComboBox>("cboMonths")->currentText(), QStringLiteral("März"));
        QCOMPARE(Grid()[0], QStringLiteral(" Mon  Die  Mit  Don  Fre  Sam  Son "));
        QCOMPARE(Plain(W<QPushButton>("cmdShowHideISOorLPM")->text()), state_.Text(14));
        QVERIFY(Plain(W<QPushButton>("cmdShowHideISOorLPM")->text()).startsWith(u'D'));
        W<QPushButton>("cmdCopyToClipboard")->click();
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(
            QStringLiteral("März 2015 (Gregorianischer Kalender)")));
    }

    void closeHidesAndTellsTheMainWindow() {
        window_->ShowMonth(2015, 2);
        QSignalSpy closed(window_, &frmDisplayMonthLPM::Closed);
        W<QPushButton>("cmdClose")->click();
        QVERIFY(!window_->isVisible());
        QCOMPARE(closed.count(), 1);
        window_->ShowMonth(2016, 1);
        window_->close();
        QVERIFY(!window_->isVisible());
        QCOMPARE(closed.count(), 2);
        // Hidden, the window draws nothing.
        W<QLineEdit>("txbYear")->clear();
        window_->DisplayMonth();
        QVERIFY(boxes_.empty());
    }

    void refreshHidesDatesTheOptionsNoLongerAllow() {
        window_->ShowMonth(2015, 2);
        W<QPushButton>("cmdShowHideISOorLPM")->click();
        state_.monthJulian = true;
        window_->RefreshFromState();
        QVERIFY(W<QRadioButton>("optJulian")->isChecked());
        QVERIFY(!window_->DatesShown());
        QVERIFY(!W<QPushButton>("cmdShowHideISOorLPM")->isEnabled());
    }

    // The window with ISO dates shown fits its content; DAYBRIDGE_PICTURES=<folder> saves it.
    void pictureWithIsoDates() {
        window_->ShowMonth(2026, 12);
        W<QPushButton>("cmdShowHideISOorLPM")->click();
        W<QCheckBox>("chkWithYear")->click();
        auto* dates = W<QPlainTextEdit>("txbDates");
        const QFontMetrics metrics(dates->font());
        for (const QString& line : Dates()) {
            QVERIFY(metrics.horizontalAdvance(line) < dates->viewport()->width());
        }
        QVERIFY(metrics.lineSpacing() * Dates().size() < dates->viewport()->height() + 4);
        const QPixmap picture = window_->grab();
        QVERIFY(!picture.isNull());
        const QString folder = qEnvironmentVariable("DAYBRIDGE_PICTURES");
        if (!folder.isEmpty()) {
            QVERIFY(picture.save(folder + QStringLiteral("/month.png")));
        }
    }

    void settingsRoundTrip_data() {
        Columns<bool>({"sunday", "julian"});
        QTest::addColumn<QString>("added");
        Row("Sun JC LPW", true, true, "optLPW");
        Row("Mon CE LPM", false, false, "optLPM");
        Row("Sun CE ISO", true, false, "optISO");
        Row("Mon JC ISO", false, true, "optISO");
    }
    void settingsRoundTrip() {
        QFETCH(bool, sunday);
        QFETCH(bool, julian);
        QFETCH(QString, added);
        window_->ShowMonth(2015, 2);
        W<QRadioButton>("optLPM")->click();
        W<QRadioButton>(sunday ? "optSunday" : "optMonday")->click();
        W<QRadioButton>(julian ? "optJulian" : "optCommonEra")->click();
        Find<QRadioButton>(*window_, added.toLatin1().constData())->click();

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("dbrg.usr"));
        QVERIFY(SaveUserSettings(path, state_, dir.path()));
        AppState loaded;
        QVERIFY(LoadUserSettings(path, loaded));
        QCOMPARE(loaded.monthMondayFirst, !sunday);
        QCOMPARE(loaded.monthJulian, julian);
        QCOMPARE(loaded.monthAddedDates, state_.monthAddedDates);

        frmDisplayMonthLPM again(loaded);
        QVERIFY(Find<QRadioButton>(again, sunday ? "optSunday" : "optMonday")->isChecked());
        QVERIFY(Find<QRadioButton>(again, julian ? "optJulian" : "optCommonEra")->isChecked());
        QVERIFY(Find<QRadioButton>(again, added.toLatin1().constData())->isChecked());
        QCOMPARE(Find<QPushButton>(again, "cmdShowHideISOorLPM")->isEnabled(), !sunday && !julian);
    }
};

QTEST_MAIN(TestMonth)
#include "test_month.moc"
