// Date entry and the interactive computation: key filters and the length limit, calendar
// changes, the day steps, Second -> First, Compute with each combination of fields, the
// clear-one dialog and the Today buttons.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "compute/compute_engine.h"
#include "ui/frm_clear_one.h"
#include "ui/output_view.h"
#include "ui_test_support.h"
#include "window_fixture.h"

using namespace daybridge;
using namespace uitest;

namespace {

constexpr std::int32_t kSunday20261206 = 2461381;

QLineEdit* Field(frmMain& w, const char* name) {
    return Child<QLineEdit>(w, name);
}

QString ShownOutput(frmMain& w) {
    return Child<OutputView>(w, "txbOutput")->toPlainText();
}

void Fill(frmMain& w, const QString& first, const QString& difference, const QString& second) {
    Field(w, "txbFirstDate")->setText(first);
    Field(w, "txbDateDiffDays")->setText(difference);
    Field(w, "txbSecondDate")->setText(second);
}

}  // namespace

class DateEntryTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { config_ = std::make_unique<IsolatedConfig>(); }
    void cleanup() { config_.reset(); }

    void keyFilters_data() {
        Columns<QString>({"field", "calendar", "typed", "expected"});
        Row("date digits and separator", "txbFirstDate", "CE", "2012-01-06", "2012-01-06");
        Row("date punctuation", "txbSecondDate", "CE", "1, 2.(3)", "1, 2.(3)");
        Row("letters refused", "txbFirstDate", "CE", "a1bW2w", "12");
        Row("w with ISO", "txbFirstDate", "ISO", "2004w09W7", "2004w09W7");
        Row("w in second with ISO", "txbSecondDate", "ISO", "w", "w");
        Row("difference digits", "txbDateDiffDays", "CE", "-1,234", "-1,234");
        Row("difference takes unit letters and blanks", "txbDateDiffDays", "ISO", "1w 2/3.4d",
            "1w 234d");
        Row("a spelled unit difference past 18 characters", "txbDateDiffDays", "CE",
            "1 year 2 months 3 days", "1 year 2 months 3 days");
    }
    void keyFilters() {
        QFETCH(QString, field);
        QFETCH(QString, calendar);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QRadioButton>(*w, qPrintable("optFirstDateIs" + calendar))->click();
        Child<QRadioButton>(*w, qPrintable("optSecondDateIs" + calendar))->click();
        QLineEdit* edit = Field(*w, qPrintable(field));
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), expected);
        QCOMPARE(field == "txbDateDiffDays" ? w->state().dateDiffText
                 : field == "txbFirstDate"  ? w->state().firstDateText
                                            : w->state().secondDateText,
                 expected);
    }

    void separatorsFollowTheConfiguration() {
        RecordingHost host;
        auto w = StartWindow(host);
        w->state().format.dateSeparator = QStringLiteral("/");
        w->state().format.thousandsSeparator = QStringLiteral(".");
        QTest::keyClicks(Field(*w, "txbFirstDate"), QStringLiteral("1/2-3"));
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("1/2-3"));
        QTest::keyClicks(Field(*w, "txbDateDiffDays"), QStringLiteral("1.2,3"));
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("1.23"));
    }

    void nineteenthTypedCharacterIsRefused_data() {
        QTest::addColumn<QString>("field");
        Row("first", "txbFirstDate");
        Row("difference", "txbDateDiffDays");
        Row("second", "txbSecondDate");
    }
    void nineteenthTypedCharacterIsRefused() {
        QFETCH(QString, field);
        RecordingHost host;
        auto w = StartWindow(host);
        QLineEdit* edit = Field(*w, qPrintable(field));
        QTest::keyClicks(edit, QStringLiteral("1234567890123456789"));
        QCOMPARE(edit->text(), QStringLiteral("123456789012345678"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("12345678901234567"));
        QTest::keyClick(edit, Qt::Key_9);
        QCOMPARE(edit->text().size(), 18);
    }

    void pastedTextOfAnyLengthIsValidatedAtCompute() {
        RecordingHost host;
        auto w = StartWindow(host);
        QLineEdit* edit = Field(*w, "txbFirstDate");
        QGuiApplication::clipboard()->setText(QString(5000, u'9') + QStringLiteral("abc"));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(edit->text().size() > 18);
        QTest::keyClick(edit, Qt::Key_Return);  // Enter computes
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].title, QStringLiteral("Error!"));
        QCOMPARE(host.boxes[0].text, ComputeMessage(1, kEnglish));
    }

    void enterInAFieldComputes() {
        RecordingHost host;
        auto w = StartWindow(host);
        QTest::keyClicks(Field(*w, "txbFirstDate"), QStringLiteral("2012-01-06"));
        QTest::keyClicks(Field(*w, "txbSecondDate"), QStringLiteral("2012-01-09"));
        QTest::keyClick(Field(*w, "txbSecondDate"), Qt::Key_Enter);
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));
        QVERIFY(
            ShownOutput(*w).contains(QStringLiteral("2012-01-06 CE To 2012-01-09 CE = 3 days")));
    }

    void calendarChangesConvertTheTypedDate() {
        RecordingHost host;
        auto w = StartWindow(host);
        QLineEdit* first = Field(*w, "txbFirstDate");
        QTest::keyClicks(first, QStringLiteral(" 2004-02-29"));
        first->setText(first->text() + QStringLiteral("  "));
        Child<QRadioButton>(*w, "optFirstDateIsJC")->click();
        QCOMPARE(first->text(), QStringLiteral("2004-02-16"));
        QCOMPARE(w->state().firstCalendar, int(kJC));
        QCOMPARE(w->focusWidget(), Field(*w, "txbDateDiffDays"));
        Child<QRadioButton>(*w, "optFirstDateIsJDN")->click();
        QCOMPARE(first->text(), QStringLiteral("2,453,065"));
        Child<QRadioButton>(*w, "optFirstDateIsISO")->click();
        QCOMPARE(first->text(), QStringLiteral("2004-W09-7"));
        Child<QRadioButton>(*w, "optFirstDateIsORD")->click();
        QCOMPARE(first->text(), QStringLiteral("2004-060"));
        Child<QRadioButton>(*w, "optFirstDateIsCE")->click();
        QCOMPARE(first->text(), QStringLiteral("2004-02-29"));
        QCOMPARE(w->state().firstDateText, QStringLiteral("2004-02-29"));

        // The second field converts on its own.
        Field(*w, "txbSecondDate")->setText(QStringLiteral("2000-01-01"));
        Child<QRadioButton>(*w, "optSecondDateIsJDN")->click();
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("2,451,545"));
        QCOMPARE(first->text(), QStringLiteral("2004-02-29"));
        QVERIFY(host.boxes.empty());
    }

    void calendarChangeOfAnEmptyOrInvalidField() {
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QRadioButton>(*w, "optFirstDateIsJC")->click();
        QCOMPARE(w->state().firstCalendar, int(kJC));
        QVERIFY(Field(*w, "txbFirstDate")->text().isEmpty());

        Field(*w, "txbFirstDate")->setText(QStringLiteral("2004-13-45"));
        Child<QRadioButton>(*w, "optFirstDateIsJDN")->click();
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2004-13-45"));
        QCOMPARE(w->state().firstCalendar, int(kJDN));
        QVERIFY(host.boxes.empty());

        // A JDN outside the ordinal range cannot become an ordinal date.
        Field(*w, "txbFirstDate")->setText(QStringLiteral("100"));
        Child<QRadioButton>(*w, "optFirstDateIsORD")->click();
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("100"));
        QCOMPARE(w->state().firstCalendar, int(kORD));
    }

    void scrollBarsStepTheDateByOneDay() {
        RecordingHost host;
        auto w = StartWindow(host);
        Fill(*w, QStringLiteral("2004-02-28"), QStringLiteral("5"), QStringLiteral("2004-W01-1"));
        Child<QRadioButton>(*w, "optSecondDateIsISO")->click();
        Field(*w, "txbSecondDate")->setText(QStringLiteral("2004-W01-1"));
        auto* first = Child<QScrollBar>(*w, "VScroll0");
        auto* second = Child<QScrollBar>(*w, "VScroll1");
        first->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // the down arrow
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2004-02-29"));
        QCOMPARE(first->value(), 0);
        QVERIFY(Field(*w, "txbDateDiffDays")->text().isEmpty());
        first->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2004-03-01"));
        first->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2004-02-29"));
        second->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("2003-W52-7"));
        QCOMPARE(w->focusWidget(), Field(*w, "txbSecondDate"));
        QVERIFY(host.boxes.empty());
    }

    void scrollBarStepsReportBadDates() {
        RecordingHost host;
        auto w = StartWindow(host);
        Field(*w, "txbFirstDate")->setText(QStringLiteral("2004-02-30"));
        Child<QScrollBar>(*w, "VScroll0")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2004-02-30"));
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].text, ComputeMessage(1, kEnglish));

        // A step that leaves the range of the field's calendar keeps the field.
        Child<QRadioButton>(*w, "optSecondDateIsORD")->click();
        Field(*w, "txbSecondDate")->setText(QStringLiteral("9999-364"));
        Child<QScrollBar>(*w, "VScroll1")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("9999-365"));
        QCOMPARE(host.boxes.size(), std::size_t{1});
        Child<QScrollBar>(*w, "VScroll1")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("9999-365"));
        QCOMPARE(host.boxes.size(), std::size_t{2});
        QCOMPARE(host.boxes[1].text, ComputeMessage(9, kEnglish));
        Child<QScrollBar>(*w, "VScroll1")->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("9999-364"));
        QCOMPARE(host.boxes.size(), std::size_t{2});
    }

    void secondDateMovesToTheFirst() {
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QRadioButton>(*w, "optFirstDateIsJC")->click();
        Field(*w, "txbSecondDate")->setText(QStringLiteral("2004-02-29"));
        Child<QPushButton>(*w, "cmdMoveSecondDateToFirst")->click();
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2004-02-16"));
        QVERIFY(Field(*w, "txbSecondDate")->text().isEmpty());
        QCOMPARE(w->focusWidget(), Field(*w, "txbDateDiffDays"));

        Field(*w, "txbSecondDate")->setText(QStringLiteral("not a date"));
        Child<QPushButton>(*w, "cmdMoveSecondDateToFirst")->click();
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2004-02-16"));
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("not a date"));
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].text, ComputeMessage(6, kEnglish));
        QCOMPARE(w->focusWidget(), Field(*w, "txbSecondDate"));
    }

    void clearButtonsEmptyTheirField() {
        RecordingHost host;
        auto w = StartWindow(host);
        const std::vector<std::pair<const char*, const char*>> buttons = {
            {"cmdClearFirstDate", "txbFirstDate"},
            {"cmdClearDateDiffDays", "txbDateDiffDays"},
            {"cmdClearSecondDate", "txbSecondDate"},
        };
        for (const auto& [button, field] : buttons) {
            Fill(*w, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"));
            Child<QPushButton>(*w, button)->click();
            QVERIFY(Field(*w, field)->text().isEmpty());
            int filled = 0;
            for (const char* name : {"txbFirstDate", "txbDateDiffDays", "txbSecondDate"}) {
                filled += Field(*w, name)->text().isEmpty() ? 0 : 1;
            }
            QCOMPARE(filled, 2);
            QCOMPARE(w->focusWidget()->objectName(), QStringLiteral("cmdCompute"));
        }
    }

    void computeWithEachCombination_data() {
        Columns<QString>({"first", "difference", "second", "firstAfter", "differenceAfter",
                          "secondAfter", "output"});
        Row("both dates", "2012-01-06", "", "2012-01-09", "2012-01-06", "3", "2012-01-09",
            "2012-01-06 CE To 2012-01-09 CE = 3 days");
        Row("first and difference", "2012-01-06", "30", "", "2012-01-06", "30", "2012-02-05",
            "2012-01-06 plus 30 days = 2012-02-05 CE");
        Row("difference and second", "", "-7", "2012-01-09", "2012-01-16", "-7", "2012-01-09",
            "2012-01-09 plus 7 days = 2012-01-16 CE");
        Row("first only", "2012-01-06", "", "", "2012-01-06", "", "", "2012-01-06, Friday");
        Row("second only", "", "", "2012-01-09", "", "", "2012-01-09", "2012-01-09, Monday");
        // A date the engine accepts is written back in its canonical form.
        Row("short forms rewritten", "2012-1-6", "", "2012-1-9", "2012-01-06", "3", "2012-01-09",
            "2012-01-06 CE To 2012-01-09 CE = 3 days");
        Row("one short date rewritten", "2012-1-6", "", "", "2012-01-06", "", "",
            "2012-01-06, Friday");
        Row("all empty: today", "", "", "", "2026-12-06", "", "", "2026-12-06, Sunday");
        Row("difference only: nothing", "", "5", "", "", "5", "", "");
        Row("a unit difference stays in the field", "2026-01-31", "1 month", "", "2026-01-31",
            "1 month", "2026-02-28", "2026-01-31 plus 1 month = 2026-02-28 CE");
    }
    void computeWithEachCombination() {
        QFETCH(QString, first);
        QFETCH(QString, difference);
        QFETCH(QString, second);
        QFETCH(QString, firstAfter);
        QFETCH(QString, differenceAfter);
        QFETCH(QString, secondAfter);
        QFETCH(QString, output);
        RecordingHost host(kSunday20261206);
        auto w = StartWindow(host);
        Child<QCheckBox>(*w, "chkVerbose")->click();  // shorter lines
        Fill(*w, first, difference, second);
        Child<QPushButton>(*w, "cmdCompute")->click();
        QCOMPARE(Field(*w, "txbFirstDate")->text(), firstAfter);
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), differenceAfter);
        QCOMPARE(Field(*w, "txbSecondDate")->text(), secondAfter);
        // A unit difference names its own units: no "day"/"days" after the field.
        QCOMPARE(Child<QLabel>(*w, "lblDayOrDays")->text().isEmpty(),
                 differenceAfter.contains(QLatin1Char(' ')));
        QCOMPARE(w->state().firstDateText, firstAfter);
        QCOMPARE(w->state().secondDateText, secondAfter);
        if (output.isEmpty()) {
            QVERIFY(ShownOutput(*w).isEmpty());
            QCOMPARE(w->focusWidget(), Field(*w, "txbFirstDate"));
        } else {
            QVERIFY2(ShownOutput(*w).contains(output), qPrintable(ShownOutput(*w)));
            // The focus moves on as SetTheFocus decides from the fields now filled.
            const int filled = int(!firstAfter.isEmpty()) + int(!differenceAfter.isEmpty()) +
                               int(!secondAfter.isEmpty());
            const QString next = filled >= 2                 ? QStringLiteral("cmdCompute")
                                 : firstAfter.isEmpty()      ? QStringLiteral("txbFirstDate")
                                 : differenceAfter.isEmpty() ? QStringLiteral("txbDateDiffDays")
                                                             : QStringLiteral("txbSecondDate");
            QCOMPARE(w->focusWidget()->objectName(), next);
        }
        QVERIFY(host.boxes.empty());
    }

    void conversionOnlyCaseWhenBothCalendarsAgree() {
        RecordingHost host;
        auto w = StartWindow(host);
        Fill(*w, QStringLiteral("2012-01-06"), {}, {});
        w->cmdCompute_Click();
        QVERIFY(w->state().conversionOnlyCase);
        Child<QRadioButton>(*w, "optSecondDateIsJC")->click();
        Fill(*w, QStringLiteral("2012-01-06"), {}, {});
        w->cmdCompute_Click();
        QVERIFY(!w->state().conversionOnlyCase);
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("2011-12-24"));
    }

    void dayOrDaysLabelFollowsTheResult() {
        RecordingHost host;
        auto w = StartWindow(host);
        Fill(*w, QStringLiteral("2012-01-06"), {}, QStringLiteral("2012-01-07"));
        w->cmdCompute_Click();
        QCOMPARE(Child<QLabel>(*w, "lblDayOrDays")->text(), QStringLiteral("day"));
        Fill(*w, QStringLiteral("2012-01-06"), {}, QStringLiteral("2012-01-08"));
        w->cmdCompute_Click();
        QCOMPARE(Child<QLabel>(*w, "lblDayOrDays")->text(), QStringLiteral("days"));
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
        QCOMPARE(Child<QLabel>(*w, "lblDayOrDays")->text(), QStringLiteral("Tage"));
    }

    void allThreeFilledAsksWhichToClear() {
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QCheckBox>(*w, "chkVerbose")->click();
        const QString first = QStringLiteral("2012-01-06");

        // Second date chosen: the computation runs on the first date and the difference.
        Fill(*w, first, QStringLiteral("3"), QStringLiteral("2000-01-01"));
        WhenModalShown([](QDialog& dialog) {
            dialog.findChild<QRadioButton*>(QStringLiteral("optClearSecondDate"))->click();
            dialog.findChild<QPushButton*>(QStringLiteral("cmdContinue"))->click();
        });
        w->cmdCompute_Click();
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("2012-01-09"));
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));

        // The choice is remembered; Cancel leaves everything as it was.
        bool secondStillChosen = false;
        WhenModalShown([&](QDialog& dialog) {
            secondStillChosen =
                dialog.findChild<QRadioButton*>(QStringLiteral("optClearSecondDate"))->isChecked();
            dialog.findChild<QRadioButton*>(QStringLiteral("optCancel"))->click();
            dialog.findChild<QPushButton*>(QStringLiteral("cmdContinue"))->click();
        });
        const QString before = ShownOutput(*w);
        w->cmdCompute_Click();
        QVERIFY(secondStillChosen);
        QCOMPARE(Field(*w, "txbFirstDate")->text(), first);
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("2012-01-09"));
        QCOMPARE(ShownOutput(*w), before);

        // After Cancel the dialog offers the difference again; closing it also cancels.
        bool differenceChosen = false;
        WhenModalShown([&](QDialog& dialog) {
            differenceChosen =
                dialog.findChild<QRadioButton*>(QStringLiteral("optClearDateDiff"))->isChecked();
            dialog.reject();
        });
        w->cmdCompute_Click();
        QVERIFY(differenceChosen);
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));

        // Clearing the difference computes it anew from the two dates.
        WhenModalShown([](QDialog& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("cmdContinue"))->click();
        });
        Field(*w, "txbDateDiffDays")->setText(QStringLiteral("999"));
        w->cmdCompute_Click();
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));
        QVERIFY(host.boxes.empty());
    }

    void todayButtons() {
        RecordingHost host(kSunday20261206);
        auto w = StartWindow(host);
        Child<QRadioButton>(*w, "optSecondDateIsISO")->click();
        Fill(*w, QStringLiteral("1"), QStringLiteral("2"), {});
        Child<QPushButton>(*w, "cmdToday1")->click();
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("2026-W49-7"));
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("1"));
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("2"));
        Child<QRadioButton>(*w, "optFirstDateIsJDN")->click();
        Child<QPushButton>(*w, "cmdToday0")->click();
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2,461,381"));
        QCOMPARE(Child<QPushButton>(*w, "cmdToday0")->property("index").toInt(), 0);
        QCOMPARE(Child<QPushButton>(*w, "cmdToday1")->property("index").toInt(), 1);
    }

  private:
    std::unique_ptr<IsolatedConfig> config_;
};

QTEST_MAIN(DateEntryTest)
#include "test_date_entry.moc"
