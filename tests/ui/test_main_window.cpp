// The main window: start-up, the settings file across runs, language switching, the focus
// rule, Reset, the today labels and the links.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "env/text_store.h"
#include "ui/frm_clear_one.h"
#include "ui/frm_configure.h"
#include "ui/frm_display_month.h"
#include "ui/frm_large_display.h"
#include "ui/output_view.h"
#include "ui_test_support.h"
#include "window_fixture.h"

using namespace daybridge;
using namespace uitest;

namespace {

constexpr std::int32_t kSunday20261206 = 2461381;

bool Checked(frmMain& w, const char* name) {
    return Child<QAbstractButton>(w, name)->isChecked();
}

QString LabelText(frmMain& w, const char* name) {
    return Child<QLabel>(w, name)->text();
}

// The built-in settings of a window started without a usable settings file.
void CheckDefaults(frmMain& w) {
    QCOMPARE(w.state().language, kEnglish);
    for (const char* name :
         {"optFirstDateIsCE", "optSecondDateIsCE", "chkIncludeWeekends", "chkVerbose"}) {
        QVERIFY2(Checked(w, name), name);
    }
    QVERIFY(!Checked(w, "chkIncludeFirstDate"));
    QCOMPARE(Plain(Child<QPushButton>(w, "cmdCompute")->text()), QStringLiteral("Compute"));
    QCOMPARE(Child<QComboBox>(w, "cboInputFile")->count(), 0);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    // Picks `calendar` from the world-calendar list of the First or Second date, as a user does.
    static void PickWorldCalendar(frmMain& w, const QString& field, int calendar) {
        auto* list = Child<QComboBox>(
            w, qPrintable(QStringLiteral("cbo") + field + QStringLiteral("DateCalendar")));
        list->setCurrentIndex(list->findData(calendar));
        emit list->activated(list->currentIndex());
    }

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { config_ = std::make_unique<IsolatedConfig>(); }
    void cleanup() { config_.reset(); }

    void firstStartShowsTheBuiltInDefaults() {
        RecordingHost host(kSunday20261206);
        auto w = StartWindow(host);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QVERIFY(!QFile::exists(config_->settingsFile()));
        QCOMPARE(w->windowTitle(), GetText(1, kEnglish) + QStringLiteral(" " DAYBRIDGE_VERSION));
        CheckDefaults(*w);
        QVERIFY(Checked(*w, "chkSaveOutput"));
        QCOMPARE(Child<QComboBox>(*w, "cboLanguage")->currentText(), QStringLiteral("English"));
        QVERIFY(w->state().mainWindowReady);
        QVERIFY(host.boxes.empty());
        QCOMPARE(LabelText(*w, "lblTodaysDate"), QStringLiteral("Today is Sunday, 2026-12-06 CE"));
        QCOMPARE(LabelText(*w, "lblWeekFromToday"),
                 QStringLiteral("A week from today is 2026-12-13 CE"));
        QCOMPARE(w->focusWidget(), Child<QWidget>(*w, "txbFirstDate"));
    }

    void settingsSurviveQuitAndRestart() {
        const QString output = QStringLiteral("line one\r\nsays \"hello\", twice\r\n\r\nlast");
        {
            RecordingHost host;
            auto w = StartWindow(host);
            QVERIFY(w);
            Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
            Child<QRadioButton>(*w, "optFirstDateIsJC")->click();
            Child<QRadioButton>(*w, "optSecondDateIsISO")->click();
            Child<QCheckBox>(*w, "chkIncludeFirstDate")->click();
            Child<QCheckBox>(*w, "chkIncludeWeekends")->click();
            Child<QCheckBox>(*w, "chkVerbose")->click();
            w->StepTodayCalendar(true);  // ISO, kept beside the settings file
            w->AddInputFile(QStringLiteral("/data/b \"quoted\".txt"), 0);
            w->AddInputFile(QStringLiteral("/data/a, with comma.txt"), 0);
            w->AddInputFile(QStringLiteral("/data/b \"quoted\".txt"), 0);  // selects entry 1
            Child<QLineEdit>(*w, "txbFirstDate")->setText(QStringLiteral("2004-02-16"));
            Child<QLineEdit>(*w, "txbDateDiffDays")->setText(QStringLiteral("-12"));
            Child<QLineEdit>(*w, "txbSecondDate")->setText(QStringLiteral("2004-W09-7"));
            w->state().output.setText(output);
            w->AppendPendingOutput();
            Child<QPushButton>(*w, "cmdQuit")->click();
            QVERIFY(!w->isVisible());
            QVERIFY(QFile::exists(config_->settingsFile()));
        }
        RecordingHost host;
        auto w = StartWindow(host);
        QVERIFY(w);
        const AppState& s = w->state();
        QCOMPARE(s.language, kGerman);
        QCOMPARE(Child<QComboBox>(*w, "cboLanguage")->currentIndex(), 1);
        QCOMPARE(Child<QComboBox>(*w, "cboLanguage")->itemText(0), QStringLiteral("Englisch"));
        QCOMPARE(Plain(Child<QPushButton>(*w, "cmdCompute")->text()), QStringLiteral("Berechnen"));
        QVERIFY(Checked(*w, "optFirstDateIsJC"));
        QVERIFY(Checked(*w, "optSecondDateIsISO"));
        QCOMPARE(s.firstCalendar, int(kJC));
        QCOMPARE(s.secondCalendar, int(kISO));
        QCOMPARE(s.todayCalendar, int(kISO));
        QVERIFY(Checked(*w, "chkIncludeFirstDate"));
        QVERIFY(!Checked(*w, "chkIncludeWeekends"));
        QVERIFY(!Checked(*w, "chkVerbose"));
        QVERIFY(Checked(*w, "chkSaveOutput"));
        auto* files = Child<QComboBox>(*w, "cboInputFile");
        QCOMPARE(files->count(), 2);
        QCOMPARE(files->itemText(0), QStringLiteral("/data/a, with comma.txt"));
        QCOMPARE(files->itemText(1), QStringLiteral("/data/b \"quoted\".txt"));
        QCOMPARE(files->currentIndex(), 1);
        QCOMPARE(Child<QLineEdit>(*w, "txbFirstDate")->text(), QStringLiteral("2004-02-16"));
        QCOMPARE(Child<QLineEdit>(*w, "txbDateDiffDays")->text(), QStringLiteral("-12"));
        QCOMPARE(Child<QLineEdit>(*w, "txbSecondDate")->text(), QStringLiteral("2004-W09-7"));
        QCOMPARE(s.output.text(), output);
        QCOMPARE(Child<OutputView>(*w, "txbOutput")->toPlainText(),
                 QString(output).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(host.boxes.empty());
    }

    // Each of the world's calendars, picked from a date field's list, converts the date typed
    // there and checks "Other"; CE converts it back (dates from the Python convertdate package,
    // FRR by Romme's rule).
    void worldCalendarConvertsTheTypedDate_data() {
        QTest::addColumn<int>("calendar");
        QTest::addColumn<QString>("converted");
        Row("HEB", int(kHEB), "5787-09-26");
        Row("ISL", int(kISL), "1448-06-25");
        Row("PER", int(kPER), "1405-09-15");
        Row("COP", int(kCOP), "1743-03-27");
        Row("ETH", int(kETH), "2019-03-27");
        Row("FRR", int(kFRR), "235-03-16");
        Row("IND", int(kIND), "1948-09-15");
        Row("MAY", int(kMAY), "13.0.14.2.18");
        Row("MJD", int(kMJD), "61,380");
    }
    void worldCalendarConvertsTheTypedDate() {
        QFETCH(int, calendar);
        QFETCH(QString, converted);
        RecordingHost host;
        auto w = StartWindow(host);
        for (const QString& field : {QStringLiteral("First"), QStringLiteral("Second")}) {
            auto* text = Child<QLineEdit>(
                *w, qPrintable(QStringLiteral("txb") + field + QStringLiteral("Date")));
            text->setText(QStringLiteral("2026-12-06"));
            PickWorldCalendar(*w, field, calendar);
            QVERIFY(Checked(
                *w, qPrintable(QStringLiteral("opt") + field + QStringLiteral("DateIsOther"))));
            QCOMPARE(w->state().GetCal(field == QLatin1String("First") ? 1 : 2), calendar);
            QCOMPARE(text->text(), converted);
            Child<QRadioButton>(
                *w, qPrintable(QStringLiteral("opt") + field + QStringLiteral("DateIsCE")))
                ->click();
            QCOMPARE(text->text(), QStringLiteral("2026-12-06"));
        }
        QVERIFY(host.boxes.empty());
    }

    // A world calendar of a date field is kept beside dbrg.usr, which holds CE in its place; a
    // calendar written into dbrg.usr since (by a program that knows only the options) wins.
    void worldCalendarSurvivesRestart() {
        {
            RecordingHost host;
            auto w = StartWindow(host);
            PickWorldCalendar(*w, QStringLiteral("First"), kHEB);
            PickWorldCalendar(*w, QStringLiteral("Second"), kMAY);
            w->state().todayCalendar = kISL;  // kept by its code too
            Child<QPushButton>(*w, "cmdQuit")->click();
        }
        QFile file(config_->settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = file.readAll().split('\n');
        file.close();
        QCOMPARE(lines.value(2), QByteArray("0,0,0\r"));
        {
            RecordingHost host;
            auto w = StartWindow(host);
            QCOMPARE(w->state().firstCalendar, int(kHEB));
            QCOMPARE(w->state().secondCalendar, int(kMAY));
            QCOMPARE(w->state().todayCalendar, int(kISL));
            QVERIFY(Checked(*w, "optFirstDateIsOther"));
            QCOMPARE(Child<QComboBox>(*w, "cboSecondDateCalendar")->currentData().toInt(),
                     int(kMAY));
            w->close();  // saves again: unchanged
        }
        QVERIFY(file.open(QIODevice::ReadWrite));
        lines = file.readAll().split('\n');
        QCOMPARE(lines.value(2), QByteArray("0,0,0\r"));
        lines[2] = "1,1,0\r";
        QVERIFY(file.seek(0));
        file.write(lines.join('\n'));
        file.close();
        RecordingHost host;
        auto w = StartWindow(host);
        QCOMPARE(w->state().firstCalendar, int(kJC));
        QCOMPARE(w->state().secondCalendar, int(kMAY));
        QVERIFY(host.boxes.empty());
    }

    // Limits typed into the configuration dialog and not confirmed with Close are kept at
    // quit; a value that cannot be stored leaves the previous one.
    void unconfirmedLimitsAreSavedAtQuit_data() {
        Columns<QString>({"errors", "enlarge"});
        Columns<int>({"savedErrors", "savedEnlarge"});
        Row("both typed", "7", "1000", 7, 1000);
        Row("empty fields", "", "", 0, int(kAutoEnlargeNever));
        Row("not a number", "x", "99999999", 1, 250);
    }
    void unconfirmedLimitsAreSavedAtQuit() {
        QFETCH(QString, errors);
        QFETCH(QString, enlarge);
        QFETCH(int, savedErrors);
        QFETCH(int, savedEnlarge);
        {
            RecordingHost host;
            auto w = StartWindow(host);
            w->cmdConfigure_Click();
            QVERIFY(w->configureDialog() != nullptr);
            Child<QLineEdit>(*w->configureDialog(), "txbMaxNumErrors")->setText(errors);
            Child<QLineEdit>(*w->configureDialog(), "txbAutoEnlarge")->setText(enlarge);
            w->cmdQuit_Click();
            QVERIFY(host.boxes.empty());
        }
        RecordingHost host;
        auto w = StartWindow(host);
        QCOMPARE(w->state().maxNumErrors, savedErrors);
        QCOMPARE(w->state().autoEnlargeBytes, savedEnlarge);
    }

    void withoutSaveResultsTheFieldsComeBackEmpty() {
        {
            RecordingHost host;
            auto w = StartWindow(host);
            Child<QLineEdit>(*w, "txbFirstDate")->setText(QStringLiteral("2012-01-06"));
            w->state().output.setText(QStringLiteral("kept?\r\n"));
            w->AppendPendingOutput();
            Child<QCheckBox>(*w, "chkSaveOutput")->click();
            w->close();
        }
        RecordingHost host;
        auto w = StartWindow(host);
        QVERIFY(!Checked(*w, "chkSaveOutput"));
        QVERIFY(Child<QLineEdit>(*w, "txbFirstDate")->text().isEmpty());
        QVERIFY(Child<OutputView>(*w, "txbOutput")->toPlainText().isEmpty());
    }

    void textTypedIntoTheOutputWindowIsSaved() {
        {
            RecordingHost host;
            auto w = StartWindow(host);
            auto* output = Child<OutputView>(*w, "txbOutput");
            output->setFocus();
            QTest::keyClicks(output, QStringLiteral("typed"));
            QTest::keyClick(output, Qt::Key_Return);
            QTest::keyClicks(output, QStringLiteral("by hand"));
            w->close();
        }
        RecordingHost host;
        auto w = StartWindow(host);
        QCOMPARE(w->state().output.text(), QStringLiteral("typed\r\nby hand"));
    }

    void damagedSettingsFileFallsBackToDefaults_data() {
        QTest::addColumn<QByteArray>("content");
        Row("garbage", QByteArray("\x01\x02 not a settings file \xff\xfe"));
        Row("truncated", QByteArray("1\r\n2,45,44\r\n6,1,"));
        Row("unterminated quote",
            QByteArray("1\r\n2,45,44\r\n6,6,1\r\n1\r\n0\r\n0\r\n1\r\n1\r\n1\r\n250\r\n1\r\n"
                       "\"Sun\r\n"));
        Row("empty", QByteArray());
    }
    void damagedSettingsFileFallsBackToDefaults() {
        QFETCH(QByteArray, content);
        {
            RecordingHost host;
            auto w = StartWindow(host);  // creates the folder
        }
        QFile file(config_->settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        {
            // Told once, with the damaged file kept byte for byte beside the new one.
            RecordingHost host;
            auto w = StartWindow(host);
            QVERIFY(w);
            CheckDefaults(*w);
            QCOMPARE(host.boxes.size(), std::size_t{1});
            QVERIFY(host.boxes[0].text.contains(config_->settingsFile() + QStringLiteral(".bad")));
            QFile kept(config_->settingsFile() + QStringLiteral(".bad"));
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), content);
            Child<QPushButton>(*w, "cmdQuit")->click();  // the defaults replace the damage
        }
        RecordingHost host;
        auto w = StartWindow(host);
        QVERIFY(host.boxes.empty());
    }

    void languageSwitchRecaptionsEveryWindow() {
        RecordingHost host(kSunday20261206);
        auto w = StartWindow(host);
        w->cmdConfigure_Click();
        w->cmdDisplayMonth_Click();
        w->state().output.setText(QStringLiteral("x\r\n"));
        w->AppendPendingOutput();
        w->cmdEnlarge_Click();
        QVERIFY(w->configureDialog() && w->monthDisplay() && w->largeDisplay());
        const QString configureTitle = w->configureDialog()->windowTitle();
        const QString monthTitle = w->monthDisplay()->windowTitle();

        auto* language = Child<QComboBox>(*w, "cboLanguage");
        language->setCurrentIndex(1);
        QCOMPARE(w->state().language, kGerman);
        QCOMPARE(language->currentIndex(), 1);
        QCOMPARE(language->itemText(0), QStringLiteral("Englisch"));
        QCOMPARE(language->itemText(1), QStringLiteral("Deutsch"));
        const std::vector<std::pair<const char*, QString>> german = {
            {"cmdCompute", QStringLiteral("Berechnen")},
            {"cmdToday0", QStringLiteral("Heute")},
            {"optFirstDateIsJC", QStringLiteral("Julianisches Kalenderdatum (JC)")},
            {"optSecondDateIsJC", QStringLiteral("Julianisches Kalenderdatum")},
            {"chkVerbose", QStringLiteral("Zusatzinfo")},
        };
        for (const auto& [name, text] : german) {
            auto* button = w->findChild<QAbstractButton*>(QString::fromLatin1(name));
            QVERIFY2(button, name);
            QCOMPARE(Plain(button->text()), text);
        }
        QCOMPARE(LabelText(*w, "lblFirstDate"), QStringLiteral("Erstes Datum:"));
        QCOMPARE(LabelText(*w, "lblThisIsA1"), QStringLiteral("Dies ist ein"));
        QCOMPARE(LabelText(*w, "lblTodaysDate"),
                 QStringLiteral("Heute ist Sonntag, der 2026-12-06 CE"));
        QCOMPARE(w->largeDisplay()->windowTitle(), QStringLiteral("Vergrößern"));
        QCOMPARE(Plain(w->largeDisplay()->cmdClose->text()), QStringLiteral("Schliessen"));
        QVERIFY(w->configureDialog()->windowTitle() != configureTitle);
        QVERIFY(w->monthDisplay()->windowTitle() != monthTitle);

        language->setCurrentIndex(0);
        QCOMPARE(w->state().language, kEnglish);
        QCOMPARE(language->itemText(1), QStringLiteral("German"));
        QCOMPARE(Plain(Child<QPushButton>(*w, "cmdCompute")->text()), QStringLiteral("Compute"));
        QCOMPARE(w->configureDialog()->windowTitle(), configureTitle);
        QCOMPARE(w->monthDisplay()->windowTitle(), monthTitle);
        QCOMPARE(w->largeDisplay()->windowTitle(), QStringLiteral("Enlarge"));
    }

    void clearDialogFollowsTheLanguage() {
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
        for (const char* name : {"txbFirstDate", "txbDateDiffDays", "txbSecondDate"}) {
            Child<QLineEdit>(*w, name)->setText(QStringLiteral("1"));
        }
        QString title;
        QString cancel;
        WhenModalShown([&](QDialog& dialog) {
            title = dialog.windowTitle();
            cancel = Plain(dialog.findChild<QRadioButton*>(QStringLiteral("optCancel"))->text());
            dialog.findChild<QRadioButton*>(QStringLiteral("optCancel"))->setChecked(true);
            dialog.findChild<QPushButton*>(QStringLiteral("cmdContinue"))->click();
        });
        w->cmdCompute_Click();
        QCOMPARE(title, QStringLiteral("Löschen"));
        QCOMPARE(cancel, QStringLiteral("Annullieren Sie diese Operation"));
    }

    void setTheFocusPicksTheNextField_data() {
        Columns<QString>({"first", "difference", "second", "expected"});
        Row("none", "", "", "", "txbFirstDate");
        Row("second only", "", "", "x", "txbFirstDate");
        Row("first only", "x", "", "", "txbDateDiffDays");
        Row("difference only", "", "5", "", "txbFirstDate");
        Row("first and difference", "x", "5", "", "cmdCompute");
        Row("both dates", "x", "", "y", "cmdCompute");
        Row("difference and second", "", "5", "y", "cmdCompute");
    }
    void setTheFocusPicksTheNextField() {
        QFETCH(QString, first);
        QFETCH(QString, difference);
        QFETCH(QString, second);
        QFETCH(QString, expected);
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QLineEdit>(*w, "txbFirstDate")->setText(first);
        Child<QLineEdit>(*w, "txbDateDiffDays")->setText(difference);
        Child<QLineEdit>(*w, "txbSecondDate")->setText(second);
        Child<QWidget>(*w, "cmdQuit")->setFocus();
        w->SetTheFocus();
        QVERIFY(w->focusWidget());
        QCOMPARE(w->focusWidget()->objectName(), expected);

        // Inert while a batch run is in progress.
        Child<QWidget>(*w, "cmdQuit")->setFocus();
        w->state().batchRunning = true;
        w->SetTheFocus();
        QCOMPARE(w->focusWidget()->objectName(), QStringLiteral("cmdQuit"));
        w->state().batchRunning = false;
    }

    void resetAsksAndRestoresTheDefaults() {
        {
            RecordingHost host;
            auto w = StartWindow(host);
            Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
            w->close();
        }
        QVERIFY(QFile::exists(config_->settingsFile()));
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QRadioButton>(*w, "optFirstDateIsORD")->click();
        Child<QLineEdit>(*w, "txbFirstDate")->setText(QStringLiteral("2004-060"));
        w->AddInputFile(QStringLiteral("/x/y.txt"), 0);

        host.boxAnswers.push_back(MsgAnswer::No);
        Child<QPushButton>(*w, "cmdReset")->click();
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].title, QStringLiteral("Rückstellen"));
        QCOMPARE(host.boxes[0].text, GetText(18, kGerman) + QStringLiteral("\n") +
                                         GetText(19, kGerman) + QStringLiteral("\n\n") +
                                         GetText(20, kGerman));
        QCOMPARE(host.boxes[0].buttons, MsgButtons::YesNo);
        QCOMPARE(w->state().language, kGerman);
        QVERIFY(QFile::exists(config_->settingsFile()));

        host.boxAnswers.push_back(MsgAnswer::Yes);
        Child<QPushButton>(*w, "cmdReset")->click();
        QVERIFY(!QFile::exists(config_->settingsFile()));
        CheckDefaults(*w);
        QVERIFY(Child<QLineEdit>(*w, "txbFirstDate")->text().isEmpty());
    }

    void todayLabelCycle() {
        RecordingHost host(kSunday20261206);
        auto w = StartWindow(host);
        auto* label = Child<QLabel>(*w, "lblTodaysDate");
        const std::vector<std::pair<int, QString>> forward = {
            {kISO, QStringLiteral("Today is Sunday, 2026-W49-7 ISO")},
            {kJC, QStringLiteral("Today is Sunday, 2026-11-23 JC")},
            {kORD, QStringLiteral("Today is Sunday, 2026-340 ORD")},
            {kLPM, {}},
            {kLPW, {}},
            {kJDN, QStringLiteral("Today is Sunday, 2,461,381 JDN")},
            // The world's calendars follow, each named by its code (dates from the Python
            // convertdate package).
            {kHEB, QStringLiteral("Today is Sunday, 5787-09-26 HEB")},
            {kISL, QStringLiteral("Today is Sunday, 1448-06-25 ISL")},
            {kPER, QStringLiteral("Today is Sunday, 1405-09-15 PER")},
            {kCOP, QStringLiteral("Today is Sunday, 1743-03-27 COP")},
            {kETH, QStringLiteral("Today is Sunday, 2019-03-27 ETH")},
            {kFRR, QStringLiteral("Today is Sunday, 235-03-16 FRR")},
            {kIND, QStringLiteral("Today is Sunday, 1948-09-15 IND")},
            {kMAY, QStringLiteral("Today is Sunday, 13.0.14.2.18 MAY")},
            {kMJD, QStringLiteral("Today is Sunday, 61,380 MJD")},
            {kCE, QStringLiteral("Today is Sunday, 2026-12-06 CE")},
        };
        for (const auto& [calendar, text] : forward) {
            QTest::mouseClick(label, Qt::LeftButton);
            QCOMPARE(w->state().todayCalendar, calendar);
            if (!text.isEmpty()) {
                QCOMPARE(label->text(), text);
            } else {
                // Every calendar names itself, the leap week notations too.
                QCOMPARE(label->text(), QStringLiteral("Today is Sunday, ") +
                                            DateTextOfJdn(w->state(), calendar, kSunday20261206) +
                                            QLatin1Char(' ') + CalendarCode(calendar));
            }
        }
        // A right click steps back; the week label follows.
        QTest::mouseClick(label, Qt::RightButton);
        QCOMPARE(w->state().todayCalendar, int(kMJD));
        QCOMPARE(LabelText(*w, "lblWeekFromToday"),
                 QStringLiteral("A week from today is 61,387 MJD"));
        QTest::mouseClick(Child<QLabel>(*w, "lblWeekFromToday"), Qt::LeftButton);
        QCOMPARE(w->state().todayCalendar, int(kCE));

        // Without a thousands separator the JDN is not grouped.
        w->state().format.thousandsSeparator.clear();
        QTest::mouseClick(label, Qt::RightButton);
        QCOMPARE(label->text(), QStringLiteral("Today is Sunday, 61380 MJD"));
    }

    void germanTodayLabelsUseDerExceptForOrdinalAndJdn() {
        RecordingHost host(kSunday20261206);
        auto w = StartWindow(host);
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
        QCOMPARE(LabelText(*w, "lblTodaysDate"),
                 QStringLiteral("Heute ist Sonntag, der 2026-12-06 CE"));
        QCOMPARE(LabelText(*w, "lblWeekFromToday"),
                 QStringLiteral("Eine Woche weiter ist der 2026-12-13 CE"));
        w->state().todayCalendar = kORD;
        w->ShowTodaysDate();
        QCOMPARE(LabelText(*w, "lblTodaysDate"), QStringLiteral("Heute ist Sonntag, 2026-340 ORD"));
        w->state().todayCalendar = kJDN;
        w->ShowTodaysDate();
        QCOMPARE(LabelText(*w, "lblWeekFromToday"),
                 QStringLiteral("Eine Woche weiter ist 2,461,388 JDN"));
        w->state().todayCalendar = kMJD;
        w->ShowTodaysDate();
        QCOMPARE(LabelText(*w, "lblTodaysDate"), QStringLiteral("Heute ist Sonntag, 61,380 MJD"));
    }

    void weekFromTodayCrossesTheYearEnd() {
        RecordingHost host(2461406);  // Thursday 2026-12-31
        auto w = StartWindow(host);
        QCOMPARE(LabelText(*w, "lblTodaysDate"),
                 QStringLiteral("Today is Thursday, 2026-12-31 CE"));
        QCOMPARE(LabelText(*w, "lblWeekFromToday"),
                 QStringLiteral("A week from today is 2027-01-07 CE"));
        host.setToday(2461407);  // the clock passes midnight
        w->Clock_Timer();
        QCOMPARE(LabelText(*w, "lblTodaysDate"), QStringLiteral("Today is Friday, 2027-01-01 CE"));
    }

    // The documentation link (and F1) opens the user guide shipped beside the program; the
    // maker's name opens the About box; a guide that nothing opens is reported.
    void linksOpenTheGuideAndTheAboutBox() {
        RecordingHost host;
        auto w = StartWindow(host);
        QList<QUrl> opened;
        w->setUrlOpener([&](const QUrl& url) {
            opened.append(url);
            return opened.size() == 1;
        });
        QTest::mouseClick(Child<QLabel>(*w, "lblOnlineDocumentation"), Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened[0].isLocalFile());
        QVERIFY(QFileInfo(opened[0].toLocalFile()).isFile());
        QVERIFY(host.boxes.empty());
        QTest::mouseClick(Child<QLabel>(*w, "lblVelmoraSystems"), Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].title, w->state().Text(350));
        QVERIFY(host.boxes[0].text.contains(QStringLiteral(DAYBRIDGE_VERSION)));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_F1);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(host.boxes.size(), std::size_t{2});
        QVERIFY(host.boxes[1].text.startsWith(w->state().Text(356)));
    }

    void framesAndLinksCarryTheirColours() {
        RecordingHost host;
        auto w = StartWindow(host);
        for (const char* name : {"Frame3", "Frame6", "optFirstDateIsCE", "chkVerbose",
                                 "lblTodaysDate", "lblFirstDate"}) {
            QCOMPARE(Child<QWidget>(*w, name)->palette().color(QPalette::Window),
                     QColor(0, 255, 255));
        }
        QCOMPARE(
            Child<QWidget>(*w, "lblOnlineDocumentation")->palette().color(QPalette::WindowText),
            QColor(0, 0, 255));
    }

  private:
    std::unique_ptr<IsolatedConfig> config_;
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
