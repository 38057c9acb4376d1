// Date entry and the interactive computation: key filters and the length limit, calendar
// changes, the day steps, Second -> First, Compute with each combination of fields, the
// clear-one dialog and the Today buttons.
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "compute/compute_engine.h"
#include "ui/output_view.h"
#include "ui_test_support.h"
#include "window_fixture.h"

using namespace daybridge;
using namespace uitest;

namespace {

constexpr std::int32_t kSunday20261206 = 2461381;

QLineEdit* Field(frmMain& w, const QString& name) {
    return Child<QLineEdit>(w, qPrintable(name));
}
void Click(frmMain& w, const QString& name) {
    Child<QAbstractButton>(w, qPrintable(name))->click();
}
QString ShownOutput(frmMain& w) {
    return Child<OutputView>(w, "txbOutput")->toPlainText();
}
void Fill(frmMain& w, const QString& first, const QString& difference, const QString& second) {
    Field(w, "txbFirstDate")->setText(first);
    Field(w, "txbDateDiffDays")->setText(difference);
    Field(w, "txbSecondDate")->setText(second);
}
// Runs `answer` on the clear-one dialog: picks the option named (none: leaves the choice) and
// continues, or closes the dialog when `option` is "reject".
void AnswerClearOne(const char* option, bool* chosenBefore = nullptr, const char* asked = nullptr) {
    WhenModalShown([=](QDialog& dialog) {
        if (chosenBefore != nullptr) {
            *chosenBefore = dialog.findChild<QRadioButton*>(QLatin1String(asked))->isChecked();
        }
        if (QByteArray(option) == "reject") {
            dialog.reject();
            return;
        }
        if (*option != '\0') {
            dialog.findChild<QRadioButton*>(QLatin1String(option))->click();
        }
        dialog.findChild<QPushButton*>(QStringLiteral("cmdContinue"))->click();
    });
}

}  // namespace

class DateEntryTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { config_ = std::make_unique<IsolatedConfig>(); }
    void cleanup() { config_.reset(); }

    // What each field takes from the keyboard, with the configured separators; a field takes
    // 18 typed characters, a spelled unit difference more.
    void keyFilters() {
        const QString nineteen = QStringLiteral("1234567890123456789");
        const std::tuple<const char*, const char*, const char*, QString, QString> cases[] = {
            {"txbFirstDate", "CE", "-,", "2012-01-06", "2012-01-06"},
            {"txbSecondDate", "CE", "-,", "1, 2.(3)", "1, 2.(3)"},
            {"txbFirstDate", "CE", "-,", "a1bW2w", "12"},
            {"txbFirstDate", "ISO", "-,", "2004w09W7", "2004w09W7"},
            {"txbSecondDate", "ISO", "-,", "w", "w"},
            {"txbDateDiffDays", "CE", "-,", "-1,234", "-1,234"},
            {"txbDateDiffDays", "ISO", "-,", "1w 2/3.4d", "1w 234d"},
            {"txbDateDiffDays", "CE", "-,", "1 year 2 months 3 days", "1 year 2 months 3 days"},
            {"txbFirstDate", "CE", "/.", "1/2-3", "1/2-3"},
            {"txbDateDiffDays", "CE", "/.", "1.2,3", "1.23"},
            {"txbFirstDate", "CE", "-,", nineteen, nineteen.left(18)},
            {"txbDateDiffDays", "CE", "-,", nineteen, nineteen.left(18)},
            {"txbSecondDate", "CE", "-,", nineteen, nineteen.left(18)}};
        RecordingHost host;
        auto w = StartWindow(host);
        for (const auto& [field, calendar, separators, typed, expected] : cases) {
            Click(*w, QStringLiteral("optFirstDateIs") + calendar);
            Click(*w, QStringLiteral("optSecondDateIs") + calendar);
            w->state().format.dateSeparator = QString(QLatin1Char(separators[0]));
            w->state().format.thousandsSeparator = QString(QLatin1Char(separators[1]));
            QLineEdit* edit = Field(*w, QString::fromLatin1(field));
            edit->clear();
            QTest::keyClicks(edit, typed);
            QCOMPARE(edit->text(), expected);
            QCOMPARE(QByteArray(field) == "txbDateDiffDays" ? w->state().dateDiffText
                     : QByteArray(field) == "txbFirstDate"  ? w->state().firstDateText
                                                            : w->state().secondDateText,
                     expected);
        }
    }

    // Pasted text of any length is taken and refused at Compute; Enter in a field computes.
    void pastedTextIsValidatedAtCompute() {
        RecordingHost host;
        auto w = StartWindow(host);
        QLineEdit* edit = Field(*w, "txbFirstDate");
        QGuiApplication::clipboard()->setText(QString(5000, u'9') + QStringLiteral("abc"));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(edit->text().size() > 18);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].title, QStringLiteral("Error!"));
        QCOMPARE(host.boxes[0].text, ComputeMessage(1, kEnglish));
        Fill(*w, QStringLiteral("2012-01-06"), {}, QStringLiteral("2012-01-09"));
        QTest::keyClick(Field(*w, "txbSecondDate"), Qt::Key_Enter);
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));
    }

    // Each calendar option converts the date in its own field, and gives the difference field
    // the focus; an empty or invalid field, or a date outside the calendar's range, stays.
    void calendarChangesConvertTheTypedDate() {
        RecordingHost host;
        auto w = StartWindow(host);
        const std::pair<const char*, const char*> steps[] = {{"JC", "2004-02-16"},
                                                             {"JDN", "2,453,065"},
                                                             {"ISO", "2004-W09-7"},
                                                             {"ORD", "2004-060"},
                                                             {"CE", "2004-02-29"}};
        for (const QString field : {"First", "Second"}) {
            const QString other = field == "First" ? "txbSecondDate" : "txbFirstDate";
            Field(*w, other)->setText(QStringLiteral("kept"));
            Field(*w, "txb" + field + "Date")->setText(QStringLiteral(" 2004-02-29  "));
            for (const auto& [calendar, converted] : steps) {
                Click(*w, "opt" + field + "DateIs" + calendar);
                QCOMPARE(Field(*w, "txb" + field + "Date")->text(), QString::fromLatin1(converted));
                QCOMPARE(w->state().GetCal(field == "First" ? 1 : 2),
                         CalendarIndexOfCode(QString::fromLatin1(calendar)));
                QCOMPARE(w->focusWidget(), Field(*w, "txbDateDiffDays"));
                QCOMPARE(Field(*w, other)->text(), QStringLiteral("kept"));
            }
            const std::pair<const char*, const char*> stays[] = {
                {"2004-13-45", "LPW"},
                {"2004-13-45", "LPM"},
                {"2004-13-45", "JDN"},
                {"100", "ORD"},  // outside the ordinal dates
                {"", "CE"}};
            for (const auto& [text, calendar] : stays) {
                Field(*w, "txb" + field + "Date")->setText(QString::fromLatin1(text));
                Click(*w, "opt" + field + "DateIs" + calendar);
                QCOMPARE(Field(*w, "txb" + field + "Date")->text(), QString::fromLatin1(text));
                QCOMPARE(w->state().GetCal(field == "First" ? 1 : 2),
                         CalendarIndexOfCode(QString::fromLatin1(calendar)));
            }
        }
        QVERIFY(host.boxes.empty());
    }

    // The scroll bars step their date by a day, empty the difference and keep the focus on
    // the field; a bad date or a step out of the calendar's range is told and keeps the text.
    void scrollBarsStepTheDateByOneDay() {
        struct Step {
            int bar;
            const char* calendar;
            const char* text;
            int step;
            const char* expected;
            int message;
        };
        const Step steps[] = {
            {0, "CE", "2004-02-28", 1, "2004-02-29", 0},
            {0, "CE", "2004-02-29", -1, "2004-02-28", 0},
            {1, "ISO", "2004-W01-1", -1, "2003-W52-7", 0},
            {0, "CE", "2004-02-30", 1, "2004-02-30", 1},
            {1, "CE", "2004-02-30", 1, "2004-02-30", 6},
            {1, "ORD", "9999-364", 1, "9999-365", 0},
            {1, "ORD", "9999-365", 1, "9999-365", 9},
        };
        RecordingHost host;
        auto w = StartWindow(host);
        for (const Step& s : steps) {
            const QString field = s.bar == 0 ? "txbFirstDate" : "txbSecondDate";
            Click(*w, QString::fromLatin1(s.bar == 0 ? "optFirstDateIs" : "optSecondDateIs") +
                          s.calendar);
            Field(*w, "txbDateDiffDays")->setText(QStringLiteral("5"));
            Field(*w, field)->setText(QString::fromLatin1(s.text));
            host.boxes.clear();
            auto* bar = Child<QScrollBar>(*w, s.bar == 0 ? "VScroll0" : "VScroll1");
            bar->triggerAction(s.step > 0 ? QAbstractSlider::SliderSingleStepAdd
                                          : QAbstractSlider::SliderSingleStepSub);
            QCOMPARE(bar->value(), 0);
            QCOMPARE(Field(*w, field)->text(), QString::fromLatin1(s.expected));
            QVERIFY(Field(*w, "txbDateDiffDays")->text().isEmpty());
            QCOMPARE(w->focusWidget(), Field(*w, field));
            QCOMPARE(host.boxes.size(), std::size_t(s.message != 0));
            if (s.message != 0) {
                QCOMPARE(host.boxes[0].text, ComputeMessage(s.message, kEnglish));
            }
        }
    }

    // Second -> First converts into the first date's calendar; a bad second date is told.
    // Each clear button empties its own field and leaves the focus to the rule.
    void secondDateMovesToTheFirstAndClearButtons() {
        RecordingHost host;
        auto w = StartWindow(host);
        Click(*w, "optFirstDateIsJC");
        Field(*w, "txbSecondDate")->setText(QStringLiteral("2004-02-29"));
        Click(*w, "cmdMoveSecondDateToFirst");
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2004-02-16"));
        QVERIFY(Field(*w, "txbSecondDate")->text().isEmpty());
        QCOMPARE(w->focusWidget(), Field(*w, "txbDateDiffDays"));
        Field(*w, "txbSecondDate")->setText(QStringLiteral("not a date"));
        Click(*w, "cmdMoveSecondDateToFirst");
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2004-02-16"));
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("not a date"));
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].text, ComputeMessage(6, kEnglish));
        QCOMPARE(w->focusWidget(), Field(*w, "txbSecondDate"));

        const QStringList fields = {"txbFirstDate", "txbDateDiffDays", "txbSecondDate"};
        for (const QString& field : fields) {
            Fill(*w, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"));
            Click(*w, QString(field).replace(QStringLiteral("txb"), QStringLiteral("cmdClear")));
            for (const QString& other : fields) {
                QCOMPARE(Field(*w, other)->text().isEmpty(), other == field);
            }
            QCOMPARE(w->focusWidget()->objectName(), QStringLiteral("cmdCompute"));
        }
    }

    // The fields after Compute, the output line, the day word and the focus, as SetTheFocus
    // decides from the fields now filled.
    void computeWithEachCombination() {
        struct Case {
            QString first, difference, second, firstAfter, differenceAfter, secondAfter, dayWord,
                output;
        };
        const Case cases[] = {
            {"2012-01-06", "", "2012-01-09", "2012-01-06", "3", "2012-01-09", "days",
             "2012-01-06 CE To 2012-01-09 CE = 3 days"},
            {"2012-01-06", "", "2012-01-07", "2012-01-06", "1", "2012-01-07", "day",
             "2012-01-06 CE To 2012-01-07 CE = 1 day"},
            {"2012-01-06", "30", "", "2012-01-06", "30", "2012-02-05", "days",
             "2012-01-06 plus 30 days = 2012-02-05 CE"},
            {"", "-7", "2012-01-09", "2012-01-16", "-7", "2012-01-09", "days",
             "2012-01-09 plus 7 days = 2012-01-16 CE"},
            {"2012-01-06", "", "", "2012-01-06", "", "", "days", "2012-01-06, Friday"},
            {"", "", "2012-01-09", "", "", "2012-01-09", "days", "2012-01-09, Monday"},
            // A date the engine accepts is written back in its canonical form.
            {"2012-1-6", "", "2012-1-9", "2012-01-06", "3", "2012-01-09", "days",
             "2012-01-06 CE To 2012-01-09 CE = 3 days"},
            {"", "", "", "2026-12-06", "", "", "days", "2026-12-06, Sunday"},  // today
            {"", "5", "", "", "5", "", "days", ""},                            // nothing to compute
            // A unit difference stays in the field and names its own units.
            {"2026-01-31", "1 month", "", "2026-01-31", "1 month", "2026-02-28", "",
             "2026-01-31 plus 1 month = 2026-02-28 CE"}};
        RecordingHost host(kSunday20261206);
        auto w = StartWindow(host);
        Click(*w, "chkVerbose");  // shorter lines
        for (const Case& c : cases) {
            Click(*w, "cmdClearOutputWindow");
            Fill(*w, c.first, c.difference, c.second);
            Click(*w, "cmdCompute");
            QCOMPARE(Field(*w, "txbFirstDate")->text(), c.firstAfter);
            QCOMPARE(Field(*w, "txbDateDiffDays")->text(), c.differenceAfter);
            QCOMPARE(Field(*w, "txbSecondDate")->text(), c.secondAfter);
            QCOMPARE(Child<QLabel>(*w, "lblDayOrDays")->text(), c.dayWord);
            QCOMPARE(w->state().firstDateText, c.firstAfter);
            QCOMPARE(w->state().secondDateText, c.secondAfter);
            QVERIFY2(ShownOutput(*w).contains(c.output), qPrintable(ShownOutput(*w)));
            QCOMPARE(ShownOutput(*w).isEmpty(), c.output.isEmpty());
            const int filled = int(!c.firstAfter.isEmpty()) + int(!c.differenceAfter.isEmpty()) +
                               int(!c.secondAfter.isEmpty());
            const QString next = filled >= 2                   ? QStringLiteral("cmdCompute")
                                 : c.firstAfter.isEmpty()      ? QStringLiteral("txbFirstDate")
                                 : c.differenceAfter.isEmpty() ? QStringLiteral("txbDateDiffDays")
                                                               : QStringLiteral("txbSecondDate");
            QCOMPARE(w->focusWidget()->objectName(), next);
        }
        QVERIFY(host.boxes.empty());
    }

    // With all three fields filled Compute asks which to clear; the choice is remembered, and
    // Cancel or closing the dialog leaves everything as it was.
    void allThreeFilledAsksWhichToClear() {
        RecordingHost host;
        auto w = StartWindow(host);
        Click(*w, "chkVerbose");
        const QString first = QStringLiteral("2012-01-06");
        Fill(*w, first, QStringLiteral("3"), QStringLiteral("2000-01-01"));
        AnswerClearOne("optClearSecondDate");
        Click(*w, "cmdCompute");
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("2012-01-09"));
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));

        bool chosen = false;
        AnswerClearOne("optCancel", &chosen, "optClearSecondDate");
        const QString before = ShownOutput(*w);
        w->cmdCompute_Click();
        QVERIFY(chosen);
        QCOMPARE(Field(*w, "txbFirstDate")->text(), first);
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("2012-01-09"));
        QCOMPARE(ShownOutput(*w), before);

        // After Cancel the dialog offers the difference again.
        AnswerClearOne("reject", &chosen, "optClearDateDiff");
        w->cmdCompute_Click();
        QVERIFY(chosen);
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));

        // Clearing the difference computes it anew from the two dates.
        AnswerClearOne("");
        Field(*w, "txbDateDiffDays")->setText(QStringLiteral("999"));
        w->cmdCompute_Click();
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));
        QVERIFY(host.boxes.empty());
    }

    void todayButtons() {
        RecordingHost host(kSunday20261206);
        auto w = StartWindow(host);
        Click(*w, "optSecondDateIsISO");
        Fill(*w, QStringLiteral("1"), QStringLiteral("2"), {});
        Click(*w, "cmdToday1");
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("2026-W49-7"));
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("1"));
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("2"));
        Click(*w, "optFirstDateIsJDN");
        Click(*w, "cmdToday0");
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2,461,381"));
    }

  private:
    std::unique_ptr<IsolatedConfig> config_;
};

QTEST_MAIN(DateEntryTest)
#include "test_date_entry.moc"
