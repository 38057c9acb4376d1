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
QLineEdit* Field(frmMain& w, const QString& name) {
    return Child<QLineEdit>(w, qPrintable(name));
}

// The built-in settings shown by a window started without a usable settings file.
void CheckDefaults(frmMain& w) {
    QCOMPARE(w.state().language, kEnglish);
    for (const char* name : {"optFirstDateIsCE", "optSecondDateIsCE", "chkIncludeWeekends",
                             "chkVerbose", "chkSaveOutput"}) {
        QVERIFY2(Checked(w, name), name);
    }
    QVERIFY(!Checked(w, "chkIncludeFirstDate"));
    QCOMPARE(Plain(Child<QPushButton>(w, "cmdCompute")->text()), QStringLiteral("Compute"));
    QCOMPARE(Child<QComboBox>(w, "cboInputFile")->count(), 0);
}

// Picks `calendar` from the world-calendar list of the First or Second date, as a user does.
void PickWorldCalendar(frmMain& w, const QString& field, int calendar) {
    auto* list = Child<QComboBox>(w, qPrintable("cbo" + field + "DateCalendar"));
    list->setCurrentIndex(list->findData(calendar));
    emit list->activated(list->currentIndex());
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { config_ = std::make_unique<IsolatedConfig>(); }
    void cleanup() { config_.reset(); }

    // Every choice of the window survives Quit and a new start; without "save results" the
    // fields and the output come back empty. Text typed into the output window counts, and
    // limits typed into the configuration dialog without Close (a value that cannot be stored
    // leaves the previous one). A world
    // calendar of a date field is kept beside dbrg.usr, which holds CE in its place; a calendar
    // written into dbrg.usr since (by a program that knows only the options) wins.
    void settingsSurviveQuitAndRestart_data() {
        QTest::addColumn<bool>("save");
        Columns<int>({"first", "second", "today"});
        Columns<QString>({"errors", "enlarge"});
        Columns<int>({"savedErrors", "savedEnlarge"});
        Row("options, results saved", true, int(kJC), int(kISO), int(kISO), "7", "1000", 7, 1000);
        Row("world calendars, results not saved", false, int(kHEB), int(kMAY), int(kISL), "x",
            "99999999", 1, 250);
    }
    void settingsSurviveQuitAndRestart() {
        QFETCH(bool, save);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, today);
        QFETCH(QString, errors);
        QFETCH(QString, enlarge);
        QFETCH(int, savedErrors);
        QFETCH(int, savedEnlarge);
        const bool world = first >= kHEB;
        const QString output = QStringLiteral("line one\r\nsays \"hello\", twice\r\n\r\nlast");
        const QStringList fields = {"txbFirstDate", "txbDateDiffDays", "txbSecondDate"};
        const QStringList texts = {"2004-02-16", "-12", "2004-W09-7"};
        {
            RecordingHost host;
            auto w = StartWindow(host);
            QVERIFY(w);
            Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
            for (const char* name : {"chkIncludeFirstDate", "chkIncludeWeekends", "chkVerbose"}) {
                Child<QAbstractButton>(*w, name)->click();
            }
            if (!save) {
                Child<QCheckBox>(*w, "chkSaveOutput")->click();
            }
            for (const auto& [field, calendar] : {std::pair{"First", first}, {"Second", second}}) {
                if (world) {
                    PickWorldCalendar(*w, QString::fromLatin1(field), calendar);
                } else {
                    Child<QRadioButton>(*w, qPrintable(QStringLiteral("opt") + field + "DateIs" +
                                                       CalendarCode(calendar)))
                        ->click();
                }
            }
            w->state().todayCalendar = today;
            for (const char* file : {"/data/b \"quoted\".txt", "/data/a, with comma.txt",
                                     "/data/b \"quoted\".txt"}) {  // the last selects entry 1
                w->AddInputFile(QString::fromUtf8(file), 0);
            }
            for (int i = 0; i < 3; ++i) {
                Field(*w, fields[i])->setText(texts[i]);
            }
            w->state().output.setText(output);
            w->AppendPendingOutput();
            auto* view = Child<OutputView>(*w, "txbOutput");
            view->setFocus();
            QTest::keyClick(view, Qt::Key_Return);
            QTest::keyClicks(view, QStringLiteral("by hand"));
            w->cmdConfigure_Click();
            Child<QLineEdit>(*w->configureDialog(), "txbMaxNumErrors")->setText(errors);
            Child<QLineEdit>(*w->configureDialog(), "txbAutoEnlarge")->setText(enlarge);
            Child<QPushButton>(*w, "cmdQuit")->click();
            QVERIFY(host.boxes.empty());
            QVERIFY(!w->isVisible());
        }
        QFile file(config_->settingsFile());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QList<QByteArray> lines = file.readAll().split('\n');
        if (world) {
            QCOMPARE(lines.value(2), QByteArray("0,0,0\r"));
            lines[2] = "1,1,0\r";
            QVERIFY(file.seek(0));
            file.write(lines.join('\n'));
        }
        file.close();
        RecordingHost host;
        auto w = StartWindow(host);
        QVERIFY(w);
        const AppState& s = w->state();
        QCOMPARE(s.language, kGerman);
        QCOMPARE(Child<QComboBox>(*w, "cboLanguage")->currentIndex(), 1);
        QCOMPARE(Plain(Child<QPushButton>(*w, "cmdCompute")->text()), QStringLiteral("Berechnen"));
        QCOMPARE(s.firstCalendar, world ? int(kJC) : first);
        QCOMPARE(s.secondCalendar, second);
        QCOMPARE(s.todayCalendar, today);
        QCOMPARE(s.maxNumErrors, savedErrors);
        QCOMPARE(s.autoEnlargeBytes, savedEnlarge);
        QVERIFY(Checked(*w, "optFirstDateIsJC"));
        QVERIFY(Checked(*w, world ? "optSecondDateIsOther" : "optSecondDateIsISO"));
        QCOMPARE(Child<QComboBox>(*w, "cboSecondDateCalendar")->currentData().toInt() == second,
                 world);
        QVERIFY(Checked(*w, "chkIncludeFirstDate"));
        QVERIFY(!Checked(*w, "chkIncludeWeekends") && !Checked(*w, "chkVerbose"));
        QCOMPARE(Checked(*w, "chkSaveOutput"), save);
        auto* files = Child<QComboBox>(*w, "cboInputFile");
        QCOMPARE(files->count(), 2);
        QCOMPARE(files->itemText(0), QStringLiteral("/data/a, with comma.txt"));
        QCOMPARE(files->itemText(1), QStringLiteral("/data/b \"quoted\".txt"));
        QCOMPARE(files->currentIndex(), 1);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(Field(*w, fields[i])->text(), save ? texts[i] : QString());
        }
        const QString typed = save ? output + QStringLiteral("\r\nby hand") : QString();
        QCOMPARE(s.output.text(), typed);
        QCOMPARE(Child<OutputView>(*w, "txbOutput")->toPlainText(),
                 QString(typed).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(host.boxes.empty());
    }

    // A world calendar picked from a date field's list converts the date typed there and
    // checks "Other"; CE converts it back (dates from the Python convertdate package).
    void worldCalendarConvertsTheTypedDate() {
        RecordingHost host;
        auto w = StartWindow(host);
        const std::pair<int, QString> picks[] = {{kHEB, "5787-09-26"}, {kMJD, "61,380"}};
        for (const auto& [calendar, converted] : picks) {
            for (const QString& field : {QStringLiteral("First"), QStringLiteral("Second")}) {
                QLineEdit* text = Field(*w, "txb" + field + "Date");
                text->setText(QStringLiteral("2026-12-06"));
                PickWorldCalendar(*w, field, calendar);
                QVERIFY(Checked(*w, qPrintable("opt" + field + "DateIsOther")));
                QCOMPARE(w->state().GetCal(field == QLatin1String("First") ? 1 : 2), calendar);
                QCOMPARE(text->text(), converted);
                Child<QRadioButton>(*w, qPrintable("opt" + field + "DateIsCE"))->click();
                QCOMPARE(text->text(), QStringLiteral("2026-12-06"));
            }
        }
        QVERIFY(host.boxes.empty());
    }

    // The first start shows the built-in settings and writes no file. A damaged file is told
    // once and kept beside (what is kept, and the silence after a save: tests/env).
    void firstStartAndDamagedSettingsFile() {
        const QByteArray content("\x01\x02 not a settings file \xff\xfe");
        {
            RecordingHost host;
            auto w = StartWindow(host);
            QVERIFY(w && w->isVisible() && w->state().mainWindowReady);
            QVERIFY(!QFile::exists(config_->settingsFile()));
            QVERIFY(w->windowTitle().endsWith(QStringLiteral(" " DAYBRIDGE_VERSION)));
            CheckDefaults(*w);
            QVERIFY(host.boxes.empty());
            QCOMPARE(w->focusWidget(), Child<QWidget>(*w, "txbFirstDate"));
        }
        QFile file(config_->settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        {
            RecordingHost host;
            auto w = StartWindow(host);
            QVERIFY(w);
            CheckDefaults(*w);
            QCOMPARE(host.boxes.size(), std::size_t{1});
            QVERIFY(host.boxes[0].text.contains(config_->settingsFile() + QStringLiteral(".bad")));
        }
        QCOMPARE(QFile(config_->settingsFile() + QStringLiteral(".bad")).size(), content.size());
    }

    // Every open window takes the new language at once, the clear-one dialog too, and back.
    void languageSwitchRecaptionsEveryWindow() {
        RecordingHost host(kSunday20261206);
        auto w = StartWindow(host);
        w->cmdConfigure_Click();
        w->cmdDisplayMonth_Click();
        w->state().output.setText(QStringLiteral("x\r\n"));
        w->AppendPendingOutput();
        w->cmdEnlarge_Click();
        const QList<QWidget*> windows = {w->configureDialog(), w->monthDisplay(),
                                         w->largeDisplay()};
        QStringList titles;
        for (QWidget* window : windows) {
            titles << window->windowTitle();
        }
        auto* language = Child<QComboBox>(*w, "cboLanguage");
        language->setCurrentIndex(1);
        QCOMPARE(w->state().language, kGerman);
        QCOMPARE(language->currentIndex(), 1);
        QCOMPARE(language->itemText(0), QStringLiteral("Englisch"));
        QCOMPARE(Plain(Child<QPushButton>(*w, "cmdCompute")->text()), QStringLiteral("Berechnen"));
        QCOMPARE(LabelText(*w, "lblFirstDate"), QStringLiteral("Erstes Datum:"));
        QCOMPARE(LabelText(*w, "lblDayOrDays"), QStringLiteral("Tage"));
        QCOMPARE(Plain(w->largeDisplay()->cmdClose->text()), QStringLiteral("Schliessen"));
        for (int i = 0; i < windows.size(); ++i) {
            QVERIFY(windows[i]->windowTitle() != titles[i]);
        }
        for (const char* name : {"txbFirstDate", "txbDateDiffDays", "txbSecondDate"}) {
            Child<QLineEdit>(*w, name)->setText(QStringLiteral("1"));
        }
        QString title;
        WhenModalShown([&](QDialog& dialog) {
            title = dialog.windowTitle();
            dialog.findChild<QRadioButton*>(QStringLiteral("optCancel"))->setChecked(true);
            dialog.findChild<QPushButton*>(QStringLiteral("cmdContinue"))->click();
        });
        w->cmdCompute_Click();
        QCOMPARE(title, QStringLiteral("Löschen"));

        language->setCurrentIndex(0);
        QCOMPARE(w->state().language, kEnglish);
        QCOMPARE(language->itemText(1), QStringLiteral("German"));
        for (int i = 0; i < windows.size(); ++i) {
            QCOMPARE(windows[i]->windowTitle(), titles[i]);
        }
    }

    // The focus goes to the first field a computation still needs, else to Compute; the rule
    // is inert while a batch run is in progress.
    void setTheFocusPicksTheNextField() {
        // clang-format off
        const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
            {"", "", "", "txbFirstDate"},   {"", "", "x", "txbFirstDate"},
            {"x", "", "", "txbDateDiffDays"}, {"", "5", "", "txbFirstDate"},
            {"x", "5", "", "cmdCompute"},   {"x", "", "y", "cmdCompute"},
            {"", "5", "y", "cmdCompute"}};
        // clang-format on
        RecordingHost host;
        auto w = StartWindow(host);
        for (const auto& [first, difference, second, expected] : cases) {
            Field(*w, "txbFirstDate")->setText(QString::fromLatin1(first));
            Field(*w, "txbDateDiffDays")->setText(QString::fromLatin1(difference));
            Field(*w, "txbSecondDate")->setText(QString::fromLatin1(second));
            Child<QWidget>(*w, "cmdQuit")->setFocus();
            w->state().batchRunning = true;
            w->SetTheFocus();
            QCOMPARE(w->focusWidget()->objectName(), QStringLiteral("cmdQuit"));
            w->state().batchRunning = false;
            w->SetTheFocus();
            QCOMPARE(w->focusWidget()->objectName(), QString::fromLatin1(expected));
        }
    }

    void resetAsksAndRestoresTheDefaults() {
        {
            RecordingHost host;
            auto w = StartWindow(host);
            Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
            w->close();
        }
        RecordingHost host;
        auto w = StartWindow(host);
        Child<QRadioButton>(*w, "optFirstDateIsORD")->click();
        Child<QLineEdit>(*w, "txbFirstDate")->setText(QStringLiteral("2004-060"));
        w->AddInputFile(QStringLiteral("/x/y.txt"), 0);

        host.boxAnswers.push_back(MsgAnswer::No);
        Child<QPushButton>(*w, "cmdReset")->click();
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].title, QStringLiteral("Rückstellen"));
        QCOMPARE(host.boxes[0].buttons, MsgButtons::YesNo);
        QCOMPARE(w->state().language, kGerman);
        QVERIFY(QFile::exists(config_->settingsFile()));

        host.boxAnswers.push_back(MsgAnswer::Yes);
        Child<QPushButton>(*w, "cmdReset")->click();
        QVERIFY(!QFile::exists(config_->settingsFile()));
        CheckDefaults(*w);
        QVERIFY(Child<QLineEdit>(*w, "txbFirstDate")->text().isEmpty());
    }

    // The today labels in each language: German says "der" except before an ordinal date or
    // a day number. The clock passing midnight rewrites them.
    void todayLabels() {
        const std::tuple<int, int, const char*, const char*> cases[] = {
            {kEnglish, kCE, "Today is Sunday, 2026-12-06 CE", "A week from today is 2026-12-13 CE"},
            {kEnglish, kMJD, "Today is Sunday, 61,380 MJD", "A week from today is 61,387 MJD"},
            {kGerman, kCE, "Heute ist Sonntag, der 2026-12-06 CE",
             "Eine Woche weiter ist der 2026-12-13 CE"},
            {kGerman, kORD, "Heute ist Sonntag, 2026-340 ORD",
             "Eine Woche weiter ist 2026-347 ORD"},
            {kGerman, kJDN, "Heute ist Sonntag, 2,461,381 JDN",
             "Eine Woche weiter ist 2,461,388 JDN"},
            {kGerman, kMJD, "Heute ist Sonntag, 61,380 MJD", "Eine Woche weiter ist 61,387 MJD"},
        };
        RecordingHost host(kSunday20261206);
        auto w = StartWindow(host);
        for (const auto& [language, calendar, today, week] : cases) {
            Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(language == kGerman ? 1 : 0);
            w->state().todayCalendar = calendar;
            w->ShowTodaysDate();
            QCOMPARE(LabelText(*w, "lblTodaysDate"), QString::fromUtf8(today));
            QCOMPARE(LabelText(*w, "lblWeekFromToday"), QString::fromUtf8(week));
        }
        host.setToday(kSunday20261206 + 1);
        w->Clock_Timer();
        QCOMPARE(LabelText(*w, "lblTodaysDate"), QStringLiteral("Heute ist Montag, 61,381 MJD"));
    }

    // A left click on either label steps forwards through every calendar, a right click back.
    void todayLabelCycle() {
        RecordingHost host(kSunday20261206);
        auto w = StartWindow(host);
        auto* label = Child<QLabel>(*w, "lblTodaysDate");
        const int forward[] = {kISO, kJC,  kORD, kLPM, kLPW, kJDN, kHEB, kISL,
                               kPER, kCOP, kETH, kFRR, kIND, kMAY, kMJD, kCE};
        for (const int calendar : forward) {
            QTest::mouseClick(label, Qt::LeftButton);
            QCOMPARE(w->state().todayCalendar, calendar);
            // Every calendar names itself, the leap week notations too.
            QVERIFY(label->text().endsWith(QLatin1Char(' ') + CalendarCode(calendar)));
        }
        QTest::mouseClick(label, Qt::RightButton);
        QCOMPARE(w->state().todayCalendar, int(kMJD));
        QVERIFY(LabelText(*w, "lblWeekFromToday").endsWith(QStringLiteral(" MJD")));
        QTest::mouseClick(Child<QLabel>(*w, "lblWeekFromToday"), Qt::LeftButton);
        QCOMPARE(w->state().todayCalendar, int(kCE));
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
        QVERIFY(host.boxes[0].text.contains(QStringLiteral(DAYBRIDGE_VERSION)));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_F1);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(host.boxes.size(), std::size_t{2});
        QVERIFY(host.boxes[1].text.startsWith(w->state().Text(356)));
    }

  private:
    std::unique_ptr<IsolatedConfig> config_;
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
