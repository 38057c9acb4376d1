// The month display window: the controls drive the grid, stepping across year ends, refusals
// of the year, the added dates and their enabling, the holiday marks, the copied text and the
// state shown in the controls. The grid and date texts themselves: tests/month.
#include <QPlainTextEdit>

#include "env/holiday_files.h"
#include "env/paths.h"
#include "env/text_store.h"
#include "ui/frm_display_month.h"
#include "ui_test_support.h"

using namespace daybridge;
using namespace uitest;

class TestMonth : public QObject {
    Q_OBJECT

  private:
    AppState state_;
    frmDisplayMonthLPM* window_ = nullptr;
    std::vector<Box> boxes_;

    template <class T>
    T* W(const char* name) {
        return Child<T>(*window_, name);
    }
    void Click(const char* name) { W<QAbstractButton>(name)->click(); }
    QStringList Grid() { return W<QPlainTextEdit>("txbMonth")->toPlainText().split(u'\n'); }
    QStringList Dates() { return W<QPlainTextEdit>("txbDates")->toPlainText().split(u'\n'); }
    QString Year() { return W<QLineEdit>("txbYear")->text(); }
    int Month() { return W<QComboBox>("cboMonths")->currentIndex() + 1; }

  private slots:
    void initTestCase() {
        QString failure;
        QVERIFY2(
            LoadProgramText(FindDataFile(QString::fromLatin1(kTextDataFileName)), &failure) > 0,
            qPrintable(failure));
    }
    void init() {
        state_ = AppState{};
        state_.session.mainWindowReady = true;
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

    // Year, month, calendar and first day of week reach the grid; the buttons step across
    // year ends, from a cleaned year text; Enter in the year and the month list redraw.
    void controlsDriveTheGrid() {
        QVERIFY(!window_->isVisible());
        window_->ShowMonth(2015, 2);
        QVERIFY(window_->isVisible());
        QCOMPARE(Year(), QStringLiteral("2015"));
        QCOMPARE(Month(), 2);
        QCOMPARE(Grid().size(), 6);
        QCOMPARE(Grid()[1], QStringLiteral("  26   27   28   29   30   31    1  "));
        W<QComboBox>("cboMonths")->setCurrentIndex(5);
        QCOMPARE(Grid()[1], QStringLiteral("   1    2    3    4    5    6    7  "));
        W<QLineEdit>("txbYear")->setText(QStringLiteral("2013"));
        QTest::keyClick(W<QLineEdit>("txbYear"), Qt::Key_Return);
        QCOMPARE(Grid().back(), QStringLiteral("  24   25   26   27   28   29   30  "));
        Click("optSunday");
        QVERIFY(!state_.settings.monthMondayFirst);
        QCOMPARE(Grid()[0], QStringLiteral(" Sun  Mon  Tue  Wed  Thu  Fri  Sat "));
        Click("optJulian");
        QVERIFY(state_.settings.monthJulian);
        // Julian 1 June 2013 is Gregorian 14 June, a Friday.
        QCOMPARE(Grid()[1], QStringLiteral("  27   28   29   30   31    1    2  "));

        const std::tuple<const char*, int, const char*, const char*, int> steps[] = {
            {"2012", 12, "cmdDisplayNextMonth_0", "2013", 1},
            {"2013", 1, "cmdDisplayNextMonth_1", "2012", 12},
            {" -0044 ", 12, "cmdDisplayNextMonth_0", "-43", 1}};
        for (const auto& [year, month, button, nextYear, nextMonth] : steps) {
            W<QLineEdit>("txbYear")->setText(QString::fromLatin1(year));
            W<QComboBox>("cboMonths")->setCurrentIndex(month - 1);
            Click(button);
            QCOMPARE(Year(), QString::fromLatin1(nextYear));
            QCOMPARE(Month(), nextMonth);
        }
        QVERIFY(boxes_.empty());
    }

    // A year that cannot be read is refused by Display and by the steps, which change nothing;
    // the steps stop at the ends of the range. (Which texts are refused: tests/month.)
    void badYearsAndTheEndsOfTheRange() {
        const std::pair<const char*, const char*> bad[] = {{"", "Please specify year"},
                                                           {"2O12", "Please specify year"},
                                                           {"5800001", "-5,800,000 and 5,800,000"}};
        window_->ShowMonth(2015, 2);
        const QString before = W<QPlainTextEdit>("txbMonth")->toPlainText();
        for (const auto& [year, message] : bad) {
            boxes_.clear();
            W<QLineEdit>("txbYear")->setText(QString::fromLatin1(year));
            Click("cmdDisplay");
            QCOMPARE(boxes_.size(), std::size_t{1});
            QVERIFY2(boxes_[0].text.contains(QString::fromLatin1(message)),
                     qPrintable(boxes_[0].text));
            QCOMPARE(W<QPlainTextEdit>("txbMonth")->toPlainText(), before);
            Click("cmdDisplayNextMonth_0");
            QCOMPARE(boxes_.size(), std::size_t{2});
            QCOMPARE(Month(), 2);
        }
        boxes_.clear();
        window_->ShowMonth(5800000, 12);
        QVERIFY(boxes_.empty());
        Click("cmdDisplayNextMonth_0");
        QCOMPARE(boxes_.size(), std::size_t{1});
        window_->ShowMonth(-5800000, 1);
        Click("cmdDisplayNextMonth_1");
        QCOMPARE(boxes_.size(), std::size_t{2});
    }

    // The added dates are offered for Monday-first CE grids only; shown, the window grows and
    // the button's caption turns; the button, Julian or Sunday-first hide them again.
    void showAndHideTheAddedDates() {
        for (const char* hideBy : {"cmdShowHideISOorLPM", "optJulian", "optSunday"}) {
            window_->ShowMonth(2015, 2);
            auto* showHide = W<QPushButton>("cmdShowHideISOorLPM");
            auto* dates = W<QPlainTextEdit>("txbDates");
            QVERIFY(showHide->isEnabled() && W<QCheckBox>("chkWithYear")->isEnabled());
            QCOMPARE(Plain(showHide->text()), state_.settings.Text(14));
            QVERIFY(!dates->isVisible());
            const int closedHeight = window_->height();
            showHide->click();
            QVERIFY(window_->DatesShown() && dates->isVisible());
            QCOMPARE(Plain(showHide->text()), state_.settings.Text(15));
            QVERIFY(window_->height() > closedHeight);
            QCOMPARE(Dates()[1], QStringLiteral("W05-1  W05-2  W05-3  W05-4  W05-5  W05-6  W05-7"));
            Click(hideBy);
            QVERIFY(!window_->DatesShown() && !dates->isVisible());
            QCOMPARE(Plain(showHide->text()), state_.settings.Text(14));
            QVERIFY(window_->height() < closedHeight + 10);
            QCOMPARE(showHide->isEnabled(), hideBy == QByteArray("cmdShowHideISOorLPM"));
            QCOMPARE(W<QCheckBox>("chkWithYear")->isEnabled(), showHide->isEnabled());
            Click("optCommonEra");
            Click("optMonday");
            QVERIFY(showHide->isEnabled() && W<QCheckBox>("chkWithYear")->isEnabled());
        }
    }

    // The kind of added dates and "with year" redraw them (in a smaller font with the year),
    // and name the box after the kind.
    void addedDatesFollowTheirOptions() {
        window_->ShowMonth(2015, 2);
        Click("cmdShowHideISOorLPM");
        auto* withYear = W<QCheckBox>("chkWithYear");
        withYear->click();
        QCOMPARE(Dates()[1].left(20), QStringLiteral("5-W05-1   5-W05-2   "));
        QCOMPARE(W<QPlainTextEdit>("txbDates")->font().pointSize(), 9);
        Click("optLPW");
        QCOMPARE(state_.settings.monthAddedDates, MonthAddedDates::LPW);
        QCOMPARE(Plain(withYear->text()), state_.settings.Text(27));
        QVERIFY(!Dates()[1].contains(u'W'));
        Click("optLPM");
        QCOMPARE(state_.settings.monthAddedDates, MonthAddedDates::LPM);
        QCOMPARE(Plain(withYear->text()), state_.settings.Text(26));
        withYear->click();
        QCOMPARE(W<QPlainTextEdit>("txbDates")->font().pointSize(), 10);
        const QStringList cells = Dates()[1].split(u' ', Qt::SkipEmptyParts);
        QCOMPARE(QSet<QString>(cells.begin(), cells.end()).size(), 7);
    }

    // The copy button puts the heading, the grid and the added dates shown on the clipboard.
    // Close hides the window and tells the main window; hidden, the window draws nothing.
    void copiesHeadingGridAndDatesAndCloses() {
        window_->ShowMonth(2015, 2);
        Click("cmdCopyToClipboard");
        const QString heading = QStringLiteral("February 2015 (Common Era Calendar)\n\n");
        const QString grid = W<QPlainTextEdit>("txbMonth")->toPlainText();
        QCOMPARE(QGuiApplication::clipboard()->text(), heading + grid);
        Click("cmdShowHideISOorLPM");
        Click("cmdCopyToClipboard");
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 heading + grid + QStringLiteral("\n\n") + state_.settings.Text(13) +
                     QStringLiteral("\n\n") + W<QPlainTextEdit>("txbDates")->toPlainText());
        Click("optJulian");
        Click("cmdCopyToClipboard");
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(
            QStringLiteral("February 2015 (Julian Calendar)\n\n Mon")));
        QVERIFY(!QGuiApplication::clipboard()->text().contains(state_.settings.Text(13)));
        QSignalSpy closed(window_, &frmDisplayMonthLPM::Closed);
        Click("cmdClose");
        QVERIFY(!window_->isVisible());
        window_->ShowMonth(2016, 1);
        window_->close();
        QVERIFY(!window_->isVisible());
        QCOMPARE(closed.count(), 2);
        W<QLineEdit>("txbYear")->clear();
        window_->DisplayMonth();
        QVERIFY(boxes_.empty());
    }

    // With a holiday set the month's holidays are coloured in the grid and named below it, and
    // the copied text ends with those names; without one nothing is marked.
    void marksTheHolidaysOfTheChosenSet() {
        QString why;
        state_.settings.workdays = WorkdayCalendar(WorkdayCalendar::kSaturdaySunday,
                                                   LoadHolidaySet(QStringLiteral("germany"), why));
        QVERIFY2(state_.settings.workdays.holidays() != nullptr, qPrintable(why));
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
        Click("cmdCopyToClipboard");
        QVERIFY(QGuiApplication::clipboard()->text().endsWith(QStringLiteral("\n\n") + names));
        window_->ShowMonth(-5800000, 1);  // the end of the year range
        QVERIFY(W<QLabel>("lblHolidays")->text().startsWith(QStringLiteral(" 1  New Year")));

        state_.settings.workdays = WorkdayCalendar();
        window_->DisplayMonth();
        QVERIFY(W<QPlainTextEdit>("txbMonth")->extraSelections().isEmpty());
        QVERIFY(!W<QLabel>("lblHolidays")->isVisible());
    }

    // A new language recaptions the window and keeps the month chosen; the window with ISO
    // dates and years shown fits its content.
    void germanCaptionsKeepTheMonthAndFit() {
        window_->ShowMonth(2015, 3);
        state_.settings.language = kGerman;
        window_->SetLanguageDependentText();
        QCOMPARE(Month(), 3);
        QCOMPARE(W<QComboBox>("cboMonths")->currentText(), QStringLiteral("März"));
        QCOMPARE(Grid()[0], QStringLiteral(" Mon  Die  Mit  Don  Fre  Sam  Son "));
        window_->ShowMonth(2026, 12);
        Click("cmdShowHideISOorLPM");
        Click("chkWithYear");
        auto* dates = W<QPlainTextEdit>("txbDates");
        const QFontMetrics metrics(dates->font());
        for (const QString& line : Dates()) {
            QVERIFY(metrics.horizontalAdvance(line) < dates->viewport()->width());
        }
        QVERIFY(metrics.lineSpacing() * Dates().size() < dates->viewport()->height() + 4);
    }

    // The options write the state; a new window shows the state it is given, and
    // RefreshFromState hides added dates the options no longer allow.
    void stateShownInTheControls() {
        const std::tuple<bool, bool, const char*> cases[] = {{true, true, "optLPW"},
                                                             {false, false, "optLPM"},
                                                             {true, false, "optISO"},
                                                             {false, true, "optISO"}};
        for (const auto& [sunday, julian, added] : cases) {
            window_->ShowMonth(2015, 2);
            Click("optCommonEra");  // the row before left Julian, and the added dates hidden
            Click("optMonday");
            Click("cmdShowHideISOorLPM");
            QVERIFY(window_->DatesShown());
            Click("optLPM");
            Click(sunday ? "optSunday" : "optMonday");
            Click(julian ? "optJulian" : "optCommonEra");
            Click(added);

            frmDisplayMonthLPM again(state_);
            QVERIFY(Child<QRadioButton>(again, sunday ? "optSunday" : "optMonday")->isChecked());
            QVERIFY(Child<QRadioButton>(again, julian ? "optJulian" : "optCommonEra")->isChecked());
            QVERIFY(Child<QRadioButton>(again, added)->isChecked());
            QCOMPARE(Child<QPushButton>(again, "cmdShowHideISOorLPM")->isEnabled(),
                     !sunday && !julian);

            state_.settings.monthJulian = true;
            window_->RefreshFromState();
            QVERIFY(W<QRadioButton>("optJulian")->isChecked());
            QVERIFY(!window_->DatesShown());
            QVERIFY(!W<QPushButton>("cmdShowHideISOorLPM")->isEnabled());
        }
    }

    // Another calendar: the year and month list follow it (the month holding the day shown
    // before), the steps cross its years, a year beyond its span is refused by name, the
    // added dates are off; back on the CE grid everything is as before.
    void monthsOfAnotherCalendar() {
        window_->ShowMonth(2026, 9);
        const QString grid = W<QPlainTextEdit>("txbMonth")->toPlainText();
        const QString copied = window_->ClipboardText();
        auto* calendars = W<QComboBox>("cboCalendar");
        calendars->setCurrentIndex(calendars->findText(QStringLiteral("Hebrew calendar")));
        QVERIFY(W<QRadioButton>("optOther")->isChecked());
        QVERIFY(!W<QPushButton>("cmdShowHideISOorLPM")->isEnabled());
        QCOMPARE(Year(), QStringLiteral("5786"));  // 1 September 2026 is 19 Elul 5786
        QCOMPARE(W<QComboBox>("cboMonths")->currentText(), QStringLiteral("Elul"));
        QCOMPARE(W<QComboBox>("cboMonths")->count(), 12);
        Click("cmdDisplayNextMonth_0");
        QCOMPARE(Year(), QStringLiteral("5787"));
        QCOMPARE(W<QComboBox>("cboMonths")->count(), 13);
        QCOMPARE(Month(), 1);
        QVERIFY(window_->ClipboardText().startsWith(
            QStringLiteral("Tishri 5787 (Hebrew calendar)\n12 September \u2013 11 October 2026")));
        QCOMPARE(Grid()[1].trimmed(), QStringLiteral("1 (12 Sep)  2 (13 Sep)"));
        W<QComboBox>("cboMonths")->setCurrentIndex(6);
        QVERIFY(W<QLabel>("lblTitle")->text().startsWith(QStringLiteral("Adar II 5787")));

        calendars->setCurrentIndex(
            calendars->findText(QStringLiteral("Islamic calendar (Umm al-Qura)")));
        QCOMPARE(Year(), QStringLiteral("1448"));
        W<QLineEdit>("txbYear")->setText(QStringLiteral("1700"));
        Click("cmdDisplay");
        QCOMPARE(boxes_.size(), std::size_t{1});
        QVERIFY2(boxes_[0].text.contains(QStringLiteral("1300 to 1600")),
                 qPrintable(boxes_[0].text));

        // A year with a leap month: its longer name is shown whole.
        calendars->setCurrentIndex(calendars->findText(QStringLiteral("Chinese calendar")));
        W<QLineEdit>("txbYear")->setText(QStringLiteral("2033"));
        Click("cmdDisplay");
        auto* months = W<QComboBox>("cboMonths");
        QCOMPARE(months->count(), 13);
        months->setCurrentIndex(11);
        QVERIFY2(months->currentText().contains(QStringLiteral("leap")),
                 qPrintable(months->currentText()));
        QVERIFY(months->sizeHint().width() >
                months->fontMetrics().horizontalAdvance(months->currentText()));

        Click("optCommonEra");
        QCOMPARE(W<QComboBox>("cboMonths")->count(), 12);
        window_->ShowMonth(2026, 9);
        QCOMPARE(W<QPlainTextEdit>("txbMonth")->toPlainText(), grid);
        QCOMPARE(window_->ClipboardText(), copied);
        QVERIFY(!W<QLabel>("lblTitle")->isVisible());
        QVERIFY(!state_.settings.monthJulian);
    }
};

QTEST_MAIN(TestMonth)
#include "test_month.moc"
