// Date entry and the interactive computation (key filters and the length limit, calendar
// changes, the day steps, Second -> First, Compute with each combination of fields, the
// clear-one dialog, the Today buttons), and the lower half of the main window: the input-file
// list, the output window with its copy button, the enlarged output window, and batch runs
// driven from the window.
#include <QScrollBar>

#include "compute/compute_engine.h"
#include "ui/frm_large_display.h"
#include "ui/output_view.h"
#include "ui/ui_metrics.h"
#include "ui_test_support.h"

using namespace daybridge;
using namespace uitest;

namespace {

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

QComboBox* Files(frmMain& w) {
    return Child<QComboBox>(w, "cboInputFile");
}
OutputView* Output(frmMain& w) {
    return Child<OutputView>(w, "txbOutput");
}
QStringList Entries(frmMain& w) {
    QStringList entries;
    for (int i = 0; i < Files(w)->count(); ++i) {
        entries << Files(w)->itemText(i);
    }
    return entries;
}
void SetOutput(frmMain& w, const QString& text) {
    w.output().setText(text);
    w.AppendPendingOutput();
}

}  // namespace

class DateEntryTest : public QObject {
    Q_OBJECT

    // Starts the program in `lines` from the window and waits for its end.
    void RunProgram(frmMain& w, const QString& name, const QStringList& lines) {
        w.AddInputFile(WriteProgram(files_.path(), name, lines), 0);
        Click(w, "cmdBatchCompute");
        QTRY_VERIFY(!w.batch().Running());
    }

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() {
        QVERIFY(files_.isValid());
        config_ = std::make_unique<IsolatedConfig>();
        host = RecordingHost();
        w = StartWindow(host);
        QVERIFY(w);
    }
    void cleanup() {
        w.reset();
        config_.reset();
    }

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
        for (const auto& [field, calendar, separators, typed, expected] : cases) {
            Click(*w, QStringLiteral("optFirstDateIs") + calendar);
            Click(*w, QStringLiteral("optSecondDateIs") + calendar);
            w->state().settings.format.dateSeparator = QString(QLatin1Char(separators[0]));
            w->state().settings.format.thousandsSeparator = QString(QLatin1Char(separators[1]));
            Fill(*w, {}, {}, {});
            QTest::keyClicks(Field(*w, QString::fromLatin1(field)), typed);
            QCOMPARE(Field(*w, QString::fromLatin1(field))->text(), expected);
            const Session& s = w->state().session;
            QCOMPARE(s.firstDateText + s.dateDiffText + s.secondDateText, expected);
        }
        // The leap month's mark in a lunisolar calendar, no other letter.
        PickWorldCalendar(*w, QStringLiteral("First"), CalendarId::CHN);
        Fill(*w, {}, {}, {});
        QTest::keyClicks(Field(*w, "txbFirstDate"), QStringLiteral("2033-11Bxis-01"));
        QCOMPARE(Field(*w, "txbFirstDate")->text(), QStringLiteral("2033-11Bis-01"));
    }

    // Pasted text of any length is taken and refused at Compute; Enter in a field computes.
    void pastedTextIsValidatedAtCompute() {
        QLineEdit* edit = Field(*w, "txbFirstDate");
        QGuiApplication::clipboard()->setText(QString(5000, u'9') + QStringLiteral("abc"));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(edit->text().size() > 18);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].text, ComputeMessage(ComputeMessageRow::FirstDateInvalid, kEnglish));
        Fill(*w, QStringLiteral("2012-01-06"), {}, QStringLiteral("2012-01-09"));
        QTest::keyClick(Field(*w, "txbSecondDate"), Qt::Key_Enter);
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));
    }

    // Each calendar option, or a world calendar picked from a date field's list, converts the
    // date in its own field (dates from the Python convertdate package); an empty or invalid
    // field, or a date outside the calendar's range, stays. (Where the focus stays:
    // MainWindowTest::choosingACalendarKeepsTheFocusInTheRow.)
    void calendarChangesConvertTheTypedDate() {
        const std::pair<const char*, const char*> steps[] = {
            {"JC", "2004-02-16"},  {"HEB", "5764-12-07"}, {"JDN", "2,453,065"}, {"MJD", "53,064"},
            {"ISO", "2004-W09-7"}, {"ORD", "2004-060"},   {"CE", "2004-02-29"}};
        for (const QString field : {"First", "Second"}) {
            const QString other = field == "First" ? "txbSecondDate" : "txbFirstDate";
            Field(*w, other)->setText(QStringLiteral("kept"));
            Field(*w, "txb" + field + "Date")->setText(QStringLiteral(" 2004-02-29  "));
            for (const auto& [calendar, converted] : steps) {
                const CalendarId index = *CalendarOfCode(QString::fromLatin1(calendar));
                // Picked from the list, which checks "Other".
                const bool world = Calendar(index).fieldChoice == FieldChoice::OtherList;
                world ? PickWorldCalendar(*w, field, index)
                      : Click(*w, "opt" + field + "DateIs" + calendar);
                QVERIFY(Child<QAbstractButton>(
                            *w, "opt" + field + "DateIs" + (world ? "Other" : calendar))
                            ->isChecked());
                QCOMPARE(Field(*w, "txb" + field + "Date")->text(), QString::fromLatin1(converted));
                QCOMPARE(w->state().GetCal(field == "First" ? 1 : 2), index);
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
                         *CalendarOfCode(QString::fromLatin1(calendar)));
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
            std::optional<ComputeMessageRow> message;
        };
        using enum ComputeMessageRow;
        const Step steps[] = {
            {0, "CE", "2004-02-28", 1, "2004-02-29", {}},
            {0, "CE", "2004-02-29", -1, "2004-02-28", {}},
            {1, "ISO", "2004-W01-1", -1, "2003-W52-7", {}},
            {0, "CE", "2004-02-30", 1, "2004-02-30", FirstDateInvalid},
            {1, "CE", "2004-02-30", 1, "2004-02-30", SecondDateInvalid},
            {1, "ORD", "9999-364", 1, "9999-365", {}},
            {1, "ORD", "9999-365", 1, "9999-365", ResultOutOfRange},
        };
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
            QCOMPARE(host.boxes.size(), std::size_t(s.message.has_value()));
            if (s.message) {
                QCOMPARE(host.boxes[0].text, ComputeMessage(*s.message, kEnglish));
            }
        }
    }

    // A refused date of a world calendar says what is wrong with it, whichever way it was
    // refused (Compute, a day step, Second -> First), in the interface language; every error
    // box has the same title.
    void worldCalendarDatesSayWhatIsWrong() {
        struct Case {
            const char* field;  // "First" or "Second"
            CalendarId calendar;
            const char* text;
            const char* how;  // "compute", "step" or "move"
            Language language;
            const char* reason;  // the second line of the message (its start)
        };
        const Case cases[] = {
            {"First", CalendarId::HEB, "5785-13-01", "compute", kEnglish,
             "Hebrew calendar: month 13 (Adar II) exists only in leap years; 5785 is a common "
             "year."},
            {"Second", CalendarId::ISL, "1448-02-30 ISL", "compute", kEnglish,
             "Safar 1448 has 29 days."},
            {"First", CalendarId::MAY, "13.0.0.18.0", "compute", kEnglish,
             "Place 4 (uinal) of a Long Count is 0–17."},
            {"Second", CalendarId::PER, "1404-14-01", "compute", kEnglish,
             "Persian calendar (Solar Hijri): the months are numbered 1 to 12."},
            {"First", CalendarId::COP, "1741-13-06, Monday", "step", kEnglish,
             "Pi Kogi Enavot 1741 has 5 days."},
            {"Second", CalendarId::FRR, "233/01/01", "move", kEnglish,
             "French Republican calendar: write the date as year-month-day, for example "},
            {"Second", CalendarId::MAY, "13.0.0.0", "compute", kEnglish,
             "A Long Count is five numbers separated by dots, for example "},
            {"First", CalendarId::ISL, "1448-02-30", "compute", kGerman, "Safar 1448 hat 29 Tage."},
            {"First", CalendarId::HIS, "1582-10-10", "compute", kEnglish,
             "Day 10 of October 1582 was skipped at the switch to the Gregorian calendar, whose "
             "first day is 1582-10-15."},
            {"First", CalendarId::CHN, "2026-04bis-15", "compute", kEnglish,
             "Chinese calendar: month 4 is not a leap month in 2026, a year without a leap "
             "month."},
            {"Second", CalendarId::KOR, "2025-05BIS-01", "compute", kGerman,
             "Koreanischer Kalender: Monat 5 ist 2025 kein Schaltmonat; der Schaltmonat des "
             "Jahres ist 6bis."},
            {"First", CalendarId::JPN, "Showa 65-01-01", "compute", kEnglish,
             "Showa has years 1–64."},
            {"Second", CalendarId::JPN, "Reiwa 1-04-30", "compute", kEnglish,
             "Reiwa began on 2019-05-01 CE (Reiwa 1-05-01 JPN)."},
            {"First", CalendarId::JPN, "H31-05-01", "compute", kGerman,
             "Heisei endete am 2019-04-30 CE (Heisei 31-04-30 JPN)."},
            {"First", CalendarId::JPN, "Reiwa 8-02-30", "compute", kEnglish,
             "February Reiwa 8 has 28 days."},
            {"Second", CalendarId::JPN, "2026-12-07", "compute", kEnglish,
             "Japanese calendar (eras): from 1868-10-23 CE on a date names its era: Meiji (M), "
             "Taisho (T), Showa (S), Heisei (H), Reiwa (R)."},
            {"First", CalendarId::JPN, "Q8-12-07", "compute", kEnglish,
             "Japanese calendar (eras): 'Q' names no era; the eras are Meiji (M), "},
        };
        for (const Case& c : cases) {
            const QString field = QString::fromLatin1(c.field);
            Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(c.language == kGerman ? 1 : 0);
            PickWorldCalendar(*w, field, c.calendar);
            Fill(*w, {}, {}, {});
            Field(*w, "txb" + field + "Date")->setText(QString::fromUtf8(c.text));
            host.boxes.clear();
            const QByteArray how(c.how);
            if (how == "compute") {
                Click(*w, "cmdCompute");
            } else if (how == "step") {
                QTest::keyClick(Field(*w, "txb" + field + "Date"), Qt::Key_Down);
            } else {
                Click(*w, "cmdMoveSecondDateToFirst");
            }
            QCOMPARE(host.boxes.size(), std::size_t{1});
            const QString fieldSentence = w->state().settings.Text(field == "First" ? 800 : 801);
            QVERIFY(!fieldSentence.isEmpty());
            QVERIFY2(host.boxes[0].text.startsWith(fieldSentence + QLatin1Char('\n') +
                                                   QString::fromUtf8(c.reason)),
                     qPrintable(host.boxes[0].text));
            QCOMPARE(host.boxes[0].title, w->state().settings.Text(21));  // "Error", "Fehler"
            QCOMPARE(Field(*w, "txb" + field + "Date")->text(), QString::fromUtf8(c.text));
        }
        // A CE date keeps its message; so does an out-of-range world date.
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(0);
        Click(*w, "optFirstDateIsCE");
        Fill(*w, QStringLiteral("2025-02-30"), {}, {});
        host.boxes.clear();
        Click(*w, "cmdCompute");
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].text, ComputeMessage(ComputeMessageRow::FirstDateInvalid, kEnglish));
        QCOMPARE(host.boxes[0].title, QStringLiteral("Error"));
    }

    // Second -> First converts into the first date's calendar; a bad second date is told.
    // Each clear button empties its own field and leaves the focus to the rule; each Today
    // button fills its own field.
    void secondDateMovesToTheFirstAndClearButtons() {
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
        QCOMPARE(host.boxes[0].text,
                 ComputeMessage(ComputeMessageRow::SecondDateInvalid, kEnglish));
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
        Click(*w, "chkVerbose");  // shorter lines
        for (const Case& c : cases) {
            Click(*w, "cmdClearOutputWindow");
            Fill(*w, c.first, c.difference, c.second);
            Click(*w, "cmdCompute");
            QCOMPARE(Field(*w, "txbFirstDate")->text(), c.firstAfter);
            QCOMPARE(Field(*w, "txbDateDiffDays")->text(), c.differenceAfter);
            QCOMPARE(Field(*w, "txbSecondDate")->text(), c.secondAfter);
            QCOMPARE(Child<QLabel>(*w, "lblDayOrDays")->text(), c.dayWord);
            QCOMPARE(w->state().session.firstDateText, c.firstAfter);
            QCOMPARE(w->state().session.secondDateText, c.secondAfter);
            QVERIFY2(Output(*w)->toPlainText().contains(c.output),
                     qPrintable(Output(*w)->toPlainText()));
            QCOMPARE(Output(*w)->toPlainText().isEmpty(), c.output.isEmpty());
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
        Click(*w, "chkVerbose");
        const QString first = QStringLiteral("2012-01-06");
        Fill(*w, first, QStringLiteral("3"), QStringLiteral("2000-01-01"));
        AnswerClearOne("optClearSecondDate");
        Click(*w, "cmdCompute");
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("2012-01-09"));
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));

        bool chosen = false;
        AnswerClearOne("optCancel", &chosen, "optClearSecondDate");
        const QString before = Output(*w)->toPlainText();
        w->cmdCompute_Click();
        QVERIFY(chosen);
        QCOMPARE(Field(*w, "txbFirstDate")->text(), first);
        QCOMPARE(Field(*w, "txbDateDiffDays")->text(), QStringLiteral("3"));
        QCOMPARE(Field(*w, "txbSecondDate")->text(), QStringLiteral("2012-01-09"));
        QCOMPARE(Output(*w)->toPlainText(), before);

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

    // New names go first and are selected; a name already there (same letter case) is only
    // selected; Remove takes the selected entry. The file dialog adds the file picked.
    void inputFileListRules() {
        w->AddInputFile(QStringLiteral("/a/one.txt"), 0);
        w->AddInputFile(QStringLiteral("/a/two.txt"), 0);
        QCOMPARE(Entries(*w), (QStringList{"/a/two.txt", "/a/one.txt"}));
        QCOMPARE(Files(*w)->currentIndex(), 0);
        w->AddInputFile(QStringLiteral("/a/one.txt"), 0);
        QCOMPARE(Entries(*w), (QStringList{"/a/two.txt", "/a/one.txt"}));
        QCOMPARE(Files(*w)->currentIndex(), 1);
        QCOMPARE(w->state().session.selectedInputFile, 1);
        w->AddInputFile(QStringLiteral("/a/ONE.txt"), 0);
        w->AddInputFile(QString(), 0);
        w->AddInputFile(QStringLiteral("/a/three.txt"), -1);
        QCOMPARE(Entries(*w), (QStringList{"/a/ONE.txt", "/a/two.txt", "/a/one.txt"}));

        Files(*w)->setCurrentIndex(1);
        emit Files(*w)->activated(1);
        QCOMPARE(w->state().session.inputFileText, QStringLiteral("/a/two.txt"));
        QCOMPARE(w->focusWidget(), Child<QPushButton>(*w, "cmdBatchCompute"));
        Click(*w, "cmdRemoveInputFileFromList");
        QCOMPARE(Entries(*w), (QStringList{"/a/ONE.txt", "/a/one.txt"}));
        QCOMPARE(w->state().session.selectedInputFile, -1);
        Click(*w, "cmdRemoveInputFileFromList");  // nothing selected: nothing removed
        QCOMPARE(Files(*w)->count(), 2);

        QString filter;
        QString picked = files_.path() + QStringLiteral("/picked.txt");
        w->setFileChooser([&](const QString&, const QString&, const QString& asked) {
            filter = asked;
            return picked;
        });
        Click(*w, "cmdInputFile");
        QCOMPARE(filter, QStringLiteral("Text files (*.txt)"));
        QCOMPARE(Files(*w)->itemText(0), picked);
        picked.clear();  // cancelled
        Click(*w, "cmdInputFile");
        QCOMPARE(Files(*w)->count(), 3);
        QVERIFY(host.boxes.empty());
    }

    // A name typed into the list is added by Enter or by leaving the list, if it names a .txt
    // file (which names do: tests/env); otherwise it is refused and the list stays.
    void typedInputFileNames() {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QLineEdit* edit = Files(*w)->lineEdit();
        Files(*w)->setFocus();
        QTest::keyClicks(edit, QStringLiteral("/data/left.txt"));
        QCOMPARE(w->state().session.inputFileText, QStringLiteral("/data/left.txt"));
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
        QCOMPARE(host.boxes[0].text, QStringLiteral("Invalid\n\n") + w->state().settings.Text(355));
        QVERIFY(Files(*w)->currentText().isEmpty());
        QCOMPARE(Files(*w)->count(), 2);
    }

    // View opens the selected file; a missing file, or one nothing opens, is told apart.
    void viewReportsAMissingFile() {
        QList<QUrl> opened;
        w->setUrlOpener([&](const QUrl& url) {
            opened << url;
            return opened.size() == 1;
        });
        w->AddInputFile(files_.path() + QStringLiteral("/missing.txt"), 0);
        Click(*w, "cmdView");
        QVERIFY(opened.isEmpty());
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].text, QStringLiteral("Input file does not exist."));
        QCOMPARE(host.boxes[0].icon, MsgIcon::Exclamation);
        const QString present = WriteProgram(files_.path(), QStringLiteral("present.txt"),
                                             {QStringLiteral("OUTPUT: x")});
        w->AddInputFile(present, 0);
        Click(*w, "cmdView");
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(present)});
        QCOMPARE(host.boxes.size(), std::size_t{1});
        Click(*w, "cmdView");
        QCOMPARE(host.boxes.size(), std::size_t{2});
        QCOMPARE(host.boxes[1].text, w->state().settings.Text(356) + QLatin1Char('\n') +
                                         QFileInfo(present).absoluteFilePath());
    }

    // The copy button copies the selection, or else everything, and says which it does in a
    // width that fits; Enter with a selection copies instead of typing.
    void copyWithAndWithoutSelection() {
        QPushButton* copy = Child<QPushButton>(*w, "cmdCopyOutput");
        // The described width, or the caption's where that is wider.
        const auto width = [&](int twips) {
            return std::max(TwipsToPixels(w.get(), twips), copy->sizeHint().width());
        };
        SetOutput(*w, QStringLiteral("first line\r\nsecond line\r\n"));
        QCOMPARE(Plain(copy->text()), QStringLiteral("Copy all text to clipboard"));
        QCOMPARE(copy->width(), width(2500));
        Output(*w)->setSelection(6, 18);
        QCOMPARE(Plain(copy->text()), QStringLiteral("Copy selected text to clipboard"));
        QCOMPARE(copy->width(), width(3750));
        copy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("line\nsecond"));
        QVERIFY(!Output(*w)->hasSelection());
        QCOMPARE(Plain(copy->text()), QStringLiteral("Copy all text to clipboard"));
        copy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("first line\nsecond line\n"));
        Output(*w)->setSelection(0, 5);
        QTest::keyClick(Output(*w), Qt::Key_Return);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("first"));
        QCOMPARE(Output(*w)->toPlainText(), QStringLiteral("first line\nsecond line\n"));
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
        QCOMPARE(copy->width(), width(3500));
        Output(*w)->setSelection(0, 5);
        QCOMPARE(copy->width(), width(4700));
    }

    // Enlarge refuses an output of blanks (and clears it), shows the trimmed output in its own
    // window whose edits stay there, is hidden by Close, and replaces a minimised window.
    void enlargeShowsTheTrimmedOutput() {
        SetOutput(*w, QStringLiteral("   \r\n \t \r\n"));
        Click(*w, "cmdEnlarge");
        QVERIFY(w->output().isEmpty());
        QVERIFY(Output(*w)->toPlainText().isEmpty());
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].text, QStringLiteral("The output window is empty."));
        QVERIFY(!w->largeDisplay() || !w->largeDisplay()->isVisible());

        SetOutput(*w, QStringLiteral("\r\n  one\r\ntwo  \r\n\r\n"));
        Click(*w, "cmdEnlarge");
        frmLargeDisplay* large = w->largeDisplay();
        QVERIFY(large && large->isVisible());
        QCOMPARE(large->Text(), QStringLiteral("one\ntwo\n"));
        QCOMPARE(w->output().text(), QStringLiteral("one\r\ntwo\r\n"));
        large->txbOutput->appendText(u"\r\nedited");
        QCOMPARE(w->output().text(), QStringLiteral("one\r\ntwo\r\n"));
        large->cmdClose->click();
        QVERIFY(!large->isVisible());
        large->SetText(QStringLiteral("alpha beta"));
        large->cmdCopyToClipboard->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("alpha beta"));
        Click(*w, "cmdEnlarge");
        QCOMPARE(w->largeDisplay(), large);
        large->showMinimized();
        QTRY_VERIFY(large->isMinimized());
        const QPointer<frmLargeDisplay> old(large);
        Click(*w, "cmdEnlarge");
        QVERIFY(old.isNull());
        QVERIFY(w->largeDisplay() && w->largeDisplay()->isVisible());
        QCOMPARE(w->largeDisplay()->Text(), QStringLiteral("one\ntwo\n"));
    }

    // A run shows the state's output, signals its start and end, and enlarges the output
    // past the auto-enlarge size unless that is "never".
    void batchRunFromTheWindow() {
        QSignalSpy running(w.get(), &frmMain::BatchRunningChanged);
        RunProgram(*w, QStringLiteral("small.txt"),
                   {QStringLiteral("VERBOSE OFF"), QStringLiteral("2012-01-06##2012-01-09"),
                    QStringLiteral("OUTPUT: done")});
        QCOMPARE(Plain(Child<QPushButton>(*w, "cmdBatchCompute")->text()),
                 QStringLiteral("Process file"));
        QVERIFY(Child<QPushButton>(*w, "cmdCompute")->isEnabled());
        QCOMPARE(running.size(), 2);
        const QString shown = Output(*w)->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("= 3 days")), qPrintable(shown));
        QCOMPARE(shown,
                 QString(w->output().text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(!w->largeDisplay());
        QStringList lines = {QStringLiteral("VERBOSE OFF")};
        for (int i = 0; i < 20; ++i) {
            lines << QStringLiteral("OUTPUT: a line of output that is long enough");
        }
        RunProgram(*w, QStringLiteral("long.txt"), lines);
        QVERIFY(w->largeDisplay() && w->largeDisplay()->isVisible());
        QVERIFY(w->largeDisplay()->Text().contains(QStringLiteral("long enough")));
        w->largeDisplay()->cmdClose->click();
        w->state().settings.autoEnlargeBytes = kAutoEnlargeNever;
        RunProgram(*w, QStringLiteral("long.txt"), lines);
        QVERIFY(!w->largeDisplay()->isVisible());
        QVERIFY2(host.boxes.empty(), host.boxes.empty() ? "" : qPrintable(host.boxes[0].text));
    }

    // A run empties the three date fields; a field that held text says so until it holds text
    // again, and Process file says it before it is pressed, in the interface language.
    void batchRunSaysItEmptiesTheFields() {
        auto* process = Child<QPushButton>(*w, "cmdBatchCompute");
        QVERIFY(!process->toolTip().isEmpty());
        Fill(*w, QStringLiteral("2012-01-06"), {}, QStringLiteral("2012-01-09"));
        RunProgram(*w, QStringLiteral("small.txt"), {QStringLiteral("OUTPUT: done")});
        const QString emptied = w->state().settings.Text(820);
        QVERIFY(!emptied.isEmpty());
        for (const char* name : {"txbFirstDate", "txbSecondDate"}) {
            QVERIFY(Field(*w, name)->text().isEmpty());
            QCOMPARE(Field(*w, name)->placeholderText(), emptied);
        }
        QVERIFY(Field(*w, "txbDateDiffDays")->placeholderText().isEmpty());  // it held nothing
        QTest::keyClicks(Field(*w, "txbFirstDate"), QStringLiteral("2"));
        QVERIFY(Field(*w, "txbFirstDate")->placeholderText().isEmpty());
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
        QCOMPARE(Field(*w, "txbSecondDate")->placeholderText(), w->state().settings.Text(820));
        QVERIFY(Field(*w, "txbSecondDate")->placeholderText() != emptied);
        QCOMPARE(process->toolTip(), w->state().settings.Text(821));
    }

    // Stop ends an endless program, the window staying responsive while it runs. Quit ends a
    // run first, whether the window is on screen or not: the run's settings are restored
    // before they are saved, and the enlarged window is not opened for it.
    void stopOrQuitEndsAnEndlessProgram() {
        QStringList lines = {QStringLiteral("DATEFORMAT = D/M/Y"), QStringLiteral("N = 0")};
        for (int i = 0; i < 10; ++i) {
            lines << QStringLiteral("OUTPUT: enough output to pass the auto-enlarge size");
        }
        lines << QStringLiteral("DO") << QStringLiteral("N += 1") << QStringLiteral("ENDDO");
        const QString program = WriteProgram(files_.path(), QStringLiteral("endless.txt"), lines);
        for (const int end : {0, 1, 2}) {  // Stop, Quit, Quit with the window hidden
            w = StartWindow(host);
            w->AddInputFile(program, 0);
            QPushButton* button = Child<QPushButton>(*w, "cmdBatchCompute");
            button->click();
            QCOMPARE(Plain(button->text()), QStringLiteral("Stop"));
            QVERIFY(!Child<QPushButton>(*w, "cmdCompute")->isEnabled());
            QTest::qWait(100);
            QVERIFY(w->batch().Running());
            if (end == 0) {
                button->click();
                QTRY_VERIFY(!w->batch().Running());
                QCOMPARE(Plain(button->text()), QStringLiteral("Process file"));
                QVERIFY(Output(*w)->toPlainText().contains(QStringLiteral("Processing stopped.")));
                QVERIFY(!w->state().session.batchRunning);
                continue;
            }
            if (end == 2) {
                w->hide();
            }
            w->cmdQuit_Click();
            QVERIFY(!w->batch().Running() && !w->state().session.batchRunning);
            QVERIFY(w->largeDisplay() == nullptr || !w->largeDisplay()->isVisible());
            QCOMPARE(StartWindow(host)->state().settings.format.dateSeparator, QStringLiteral("-"));
        }
    }

    // Output arrives in pieces; a CR LF split between two pieces is still one line break, and
    // the window's text is the state's, also after the user typed into it. Clear empties both.
    void outputInPiecesAndTypedText() {
        for (const char* piece : {"one\r", "\ntwo", "\r\n", "three\r", "\n"}) {
            w->output().append(QString::fromLatin1(piece));
            w->AppendPendingOutput();
        }
        QCOMPARE(Output(*w)->toPlainText(), QStringLiteral("one\ntwo\nthree\n"));
        QCOMPARE(Output(*w)->lineCount(), qsizetype{4});
        QCOMPARE(Output(*w)->caretPosition(), w->output().length());
        Output(*w)->setFocus();
        Output(*w)->setCaretPosition(3);
        QTest::keyClicks(Output(*w), QStringLiteral("!"));
        QTest::keyClick(Output(*w), Qt::Key_Return);
        Click(*w, "cmdEnlarge");  // takes the typed text into the state first
        QCOMPARE(w->output().text(), QStringLiteral("one!\r\n\r\ntwo\r\nthree\r\n"));
        QCOMPARE(w->largeDisplay()->txbOutput->text(), w->output().text());
        QCOMPARE(w->largeDisplay()->txbOutput->caretPosition(), qsizetype{0});
        Click(*w, "cmdClearOutputWindow");
        QVERIFY(Output(*w)->toPlainText().isEmpty());
        QVERIFY(w->output().isEmpty());
    }

  private:
    std::unique_ptr<IsolatedConfig> config_;
    RecordingHost host;  // the started window's
    std::unique_ptr<frmMain> w;
    QTemporaryDir files_;
};

QTEST_MAIN(DateEntryTest)
#include "test_date_entry.moc"
