// The main window and what it owes a desktop user: start-up, the settings file across runs,
// language switching, the focus rule, Reset, the today labels and the links; mnemonics and
// shortcuts, date keys, focus frames, windows kept on the screen, messages that say what
// happened, and the window icon.
#include <QScreen>

#include "calendar/calendar_registry.h"
#include "calendar/calendar_table.h"
#include "calendar/gregorian_switch.h"
#include "env/text_store.h"
#include "ui/frm_clear_one.h"
#include "ui/frm_configure.h"
#include "ui/frm_display_month.h"
#include "ui/frm_large_display.h"
#include "ui/output_view.h"
#include "ui/screen_fit.h"
#include "ui_test_support.h"

using namespace daybridge;
using namespace uitest;

namespace {

bool Checked(frmMain& w, const QString& name) {
    return Child<QAbstractButton>(w, name)->isChecked();
}
QString LabelText(frmMain& w, const char* name) {
    return Child<QLabel>(w, name)->text();
}

// The built-in settings shown by a window started without a usable settings file.
void CheckDefaults(frmMain& w) {
    QCOMPARE(w.state().settings.language, kEnglish);
    for (const char* name : {"optFirstDateIsCE", "optSecondDateIsCE", "chkIncludeWeekends",
                             "chkVerbose", "chkSaveOutput"}) {
        QVERIFY2(Checked(w, name), name);
    }
    QVERIFY(!Checked(w, "chkIncludeFirstDate"));
    QCOMPARE(Child<QComboBox>(w, "cboInputFile")->count(), 0);
}

// Opens every secondary window that can stay open beside the main window.
void OpenAllWindows(frmMain& w) {
    w.output().setText(QStringLiteral("some output\r\n"));
    w.AppendPendingOutput();
    Child<QPushButton>(w, "cmdConfigure")->click();
    Child<QPushButton>(w, "cmdDisplayMonth")->click();
    Child<QPushButton>(w, "cmdEnlarge")->click();
}

// A letter whose underline the descender hides.
bool Descender(QChar c) {
    return QStringLiteral("gjpqy").contains(c);
}

// The problems of a window's mnemonics: a key marked twice or under a descender, an enabled
// button or check box without one, an option, a field label or a disabled button without one
// while a letter or digit of its caption is free.
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
            return c.unicode() < 128 && c.isLetterOrNumber() && !Descender(c) &&
                   !keys.contains(c.toLower());
        });
        const bool needsKey = widget->isEnabled() && (qobject_cast<QPushButton*>(widget) ||
                                                      qobject_cast<QCheckBox*>(widget));
        if (text.contains(u'&') ? key.isEmpty() || text.count(u'&') > 1 || keys.count(key) > 1 ||
                                      Descender(text.section(u'&', 1).at(0))
                                : free || needsKey) {
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

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() {
        config_ = std::make_unique<IsolatedConfig>();
        host = RecordingHost();
        w = StartWindow(host);
        QVERIFY(w);
    }
    void cleanup() {
        w.reset();
        config_.reset();
    }

    // Every choice of the window survives Quit and a new start; without "save results" the
    // fields and the output come back empty. Text typed into the output window counts, and
    // limits typed into the configuration dialog without Close (a value that cannot be stored
    // leaves the previous one). A world
    // calendar of a date field is kept beside dbrg.usr, which holds CE in its place; a calendar
    // written into dbrg.usr since (by a program that knows only the options) wins.
    void settingsSurviveQuitAndRestart() {
        const std::tuple<bool, CalendarId, CalendarId, CalendarId, QString, QString, int, int>
            cases[] = {{true, CalendarId::JC, CalendarId::ISO, CalendarId::ISO, "7", "1000", 7,
                        1000},  // options, results saved
                       {false, CalendarId::HEB, CalendarId::MAY, CalendarId::ISL, "x", "99999999",
                        1, 250}};
        for (const auto& [save, first, second, today, errors, enlarge, savedErrors, savedEnlarge] :
             cases) {
            config_ = std::make_unique<IsolatedConfig>();
            const bool world = !DescribedIndexOf(first);
            const QString output = QStringLiteral("line one\r\nsays \"hello\", twice\r\n\r\nlast");
            const QStringList fields = {"txbFirstDate", "txbDateDiffDays", "txbSecondDate"};
            const QStringList texts = {"2004-02-16", "-12", "2004-W09-7"};
            host = RecordingHost();
            w = StartWindow(host);
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
                    Child<QRadioButton>(
                        *w, QStringLiteral("opt") + field + "DateIs" + CalendarCode(calendar))
                        ->click();
                }
            }
            w->state().settings.todayCalendar = today;
            for (const char* file : {"/data/b \"quoted\".txt", "/data/a, with comma.txt",
                                     "/data/b \"quoted\".txt"}) {  // the last selects entry 1
                w->AddInputFile(QString::fromUtf8(file), 0);
            }
            for (int i = 0; i < 3; ++i) {
                Field(*w, fields[i])->setText(texts[i]);
            }
            w->output().setText(output);
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
            host = RecordingHost();
            w = StartWindow(host);
            const Settings& s = w->state().settings;
            QCOMPARE(s.language, kGerman);
            QCOMPARE(Child<QComboBox>(*w, "cboLanguage")->currentIndex(), 1);
            QCOMPARE(Plain(Child<QPushButton>(*w, "cmdCompute")->text()),
                     QStringLiteral("Berechnen"));
            QCOMPARE(s.firstCalendar, world ? CalendarId::JC : first);
            QCOMPARE(s.secondCalendar, second);
            QCOMPARE(s.todayCalendar, today);
            QCOMPARE(s.maxNumErrors, savedErrors);
            QCOMPARE(s.autoEnlargeBytes, savedEnlarge);
            QVERIFY(Checked(*w, "optFirstDateIsJC"));
            QVERIFY(Checked(*w, world ? "optSecondDateIsOther" : "optSecondDateIsISO"));
            QCOMPARE(Child<QComboBox>(*w, "cboSecondDateCalendar")->currentData().toInt() ==
                         IndexOf(second),
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
            QCOMPARE(w->output().text(), typed);
            QCOMPARE(Child<OutputView>(*w, "txbOutput")->toPlainText(),
                     QString(typed).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            QVERIFY(host.boxes.empty());
        }
    }

    // The first start shows the built-in settings and writes no file. A damaged file is told
    // once and kept beside (what is kept, and the silence after a save: tests/env).
    void firstStartAndDamagedSettingsFile() {
        QVERIFY(w->isVisible() && w->state().session.mainWindowReady);
        QVERIFY(!QFile::exists(config_->settingsFile()));
        QVERIFY(w->windowTitle().endsWith(QStringLiteral(" " DAYBRIDGE_VERSION)));
        CheckDefaults(*w);
        QVERIFY(host.boxes.empty());
        QCOMPARE(w->focusWidget(), Child<QWidget>(*w, "txbFirstDate"));
        w.reset();
        const QByteArray content("\x01\x02 not a settings file \xff\xfe");
        QFile file(config_->settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        w = StartWindow(host);
        CheckDefaults(*w);
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QVERIFY(host.boxes[0].text.contains(config_->settingsFile() + QStringLiteral(".bad")));
        QCOMPARE(QFile(config_->settingsFile() + QStringLiteral(".bad")).size(), content.size());
    }

    // daybridge.conf's entries that cannot be used are named once at start and not written
    // back; a daybridge.conf that is a folder is told at start and at quit, when it cannot
    // be written.
    void unusableSideSettingsAreToldOnce() {
        w.reset();
        const QString conf =
            QFileInfo(config_->settingsFile()).dir().filePath(QStringLiteral("daybridge.conf"));
        QFile file(conf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "[today]\ncalendar=XYZ\n[fields]\nfirstCalendar=JC\n"
            "[workdays]\nweekend=1111111\n[calendars]\ngregorianSwitch=0100-01-01\n");
        file.close();
        for (int run = 0; run < 2; ++run) {
            host = RecordingHost();
            w = StartWindow(host);
            QCOMPARE(w->state().settings.todayCalendar, CalendarId::CE);
            QCOMPARE(w->state().settings.firstCalendar, CalendarId::CE);
            QVERIFY(w->state().settings.workdays.IsDefault());
            if (run == 0) {
                QCOMPARE(host.boxes.size(), std::size_t{1});
                for (const char* named : {"today/calendar = XYZ", "fields/firstCalendar = JC",
                                          "weekend = 1111111", "gregorianSwitch = 0100-01-01"}) {
                    QVERIFY2(host.boxes[0].text.contains(QLatin1String(named)), named);
                }
            } else {
                QVERIFY(host.boxes.empty());
            }
            w->cmdQuit_Click();
            QVERIFY(host.boxes.size() == (run == 0 ? 1u : 0u));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray saved = file.readAll();
            file.close();
            QVERIFY2(!saved.contains("XYZ") && !saved.contains("1111111") &&
                         !saved.contains("=JC") && !saved.contains("0100"),
                     saved.constData());
        }
        // A switch day that can be used is kept, and written back as it was.
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[calendars]\ngregorianSwitch=1752-09-14\n");
        file.close();
        host = RecordingHost();
        w = StartWindow(host);
        QCOMPARE(GregorianSwitchJdn(), 2361222);
        QVERIFY(host.boxes.empty());
        w->cmdQuit_Click();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("gregorianSwitch=1752-09-14"));
        file.close();
        QVERIFY(SetGregorianSwitchJdn(2299161));
        QVERIFY(file.remove() && QDir().mkdir(conf));
        host = RecordingHost();
        w = StartWindow(host);
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QVERIFY(host.boxes[0].text.startsWith(w->state().settings.Text(kTextSettingsNotRegular)));
        Child<QRadioButton>(*w, "optFirstDateIsJC")->click();  // something to save
        w->state().settings.todayCalendar = CalendarId::LPM;
        w->cmdQuit_Click();
        QCOMPARE(host.boxes.size(), std::size_t{2});
        QVERIFY(host.boxes[1].text.startsWith(w->state().settings.Text(kTextSettingsNotRegular) +
                                              QStringLiteral("\r\n") + conf));
        QVERIFY(QFileInfo(config_->settingsFile()).isFile());  // dbrg.usr is saved all the same
    }

    // Every open window takes the new language at once, the clear-one dialog too, and back.
    void languageSwitchRecaptionsEveryWindow() {
        w->cmdConfigure_Click();
        w->cmdDisplayMonth_Click();
        w->output().setText(QStringLiteral("x\r\n"));
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
        QCOMPARE(w->state().settings.language, kGerman);
        QCOMPARE(language->currentIndex(), 1);
        QCOMPARE(language->itemText(0), QStringLiteral("Englisch"));
        QCOMPARE(Plain(Child<QPushButton>(*w, "cmdCompute")->text()), QStringLiteral("Berechnen"));
        QCOMPARE(LabelText(*w, "lblFirstDate"), QStringLiteral("Erstes Datum:"));
        QCOMPARE(LabelText(*w, "lblDayOrDays"), QStringLiteral("Tage"));
        QCOMPARE(Plain(w->largeDisplay()->cmdClose->text()), QStringLiteral("Schließen"));
        // The weekend days as German abbreviates them.
        QStringList days;
        for (int day = 0; day < 7; ++day) {
            days << Plain(
                Child<QCheckBox>(*w->configureDialog(), QStringLiteral("chkWeekend%1").arg(day))
                    ->text());
        }
        QCOMPARE(days, (QStringList{"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"}));
        for (int i = 0; i < windows.size(); ++i) {
            QVERIFY(windows[i]->windowTitle() != titles[i]);
        }
        // The enlarged window is named for what it shows, not for the button that opens it.
        for (const QString& title : {titles[2], w->largeDisplay()->windowTitle()}) {
            QVERIFY(title != w->state().settings.Caption(Caption::Enlarge));
            QVERIFY(title != CaptionText(Caption::Enlarge, kEnglish));
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
        QCOMPARE(w->state().settings.language, kEnglish);
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
        for (const auto& [first, difference, second, expected] : cases) {
            Field(*w, "txbFirstDate")->setText(QString::fromLatin1(first));
            Field(*w, "txbDateDiffDays")->setText(QString::fromLatin1(difference));
            Field(*w, "txbSecondDate")->setText(QString::fromLatin1(second));
            Child<QWidget>(*w, "cmdQuit")->setFocus();
            w->state().session.batchRunning = true;
            w->SetTheFocus();
            QCOMPARE(w->focusWidget()->objectName(), QStringLiteral("cmdQuit"));
            w->state().session.batchRunning = false;
            w->SetTheFocus();
            QCOMPARE(w->focusWidget()->objectName(), QString::fromLatin1(expected));
        }
    }

    void resetAsksAndRestoresTheDefaults() {
        Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(1);
        w->close();
        w = StartWindow(host);
        Child<QRadioButton>(*w, "optFirstDateIsORD")->click();
        Child<QLineEdit>(*w, "txbFirstDate")->setText(QStringLiteral("2004-060"));
        w->AddInputFile(QStringLiteral("/x/y.txt"), 0);

        host.boxAnswers.push_back(MsgAnswer::No);
        Child<QPushButton>(*w, "cmdReset")->click();
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QCOMPARE(host.boxes[0].title, QStringLiteral("Zurücksetzen"));
        QCOMPARE(host.boxes[0].buttons, MsgButtons::YesNo);
        QCOMPARE(w->state().settings.language, kGerman);
        QVERIFY(QFile::exists(config_->settingsFile()));

        host.boxAnswers.push_back(MsgAnswer::Yes);
        Child<QPushButton>(*w, "cmdReset")->click();
        QVERIFY(!QFile::exists(config_->settingsFile()));
        CheckDefaults(*w);
        QVERIFY(Child<QLineEdit>(*w, "txbFirstDate")->text().isEmpty());
    }

    // A left click on either today label steps forwards through every calendar, a right click
    // back. The labels in each language: German says "der" except before an ordinal date or a
    // day number. The clock passing midnight rewrites them.
    void todayLabels() {
        auto* label = Child<QLabel>(*w, "lblTodaysDate");
        // The described cycle first, then the world's calendars in the registry's order, back
        // to CE.
        std::vector<CalendarId> forward = {CalendarId::ISO, CalendarId::JC,  CalendarId::ORD,
                                           CalendarId::LPM, CalendarId::LPW, CalendarId::JDN};
        for (const CalendarEntry* c : AllCalendars()) {
            if (c->todaySlot == kTodayAfter) {
                forward.push_back(c->id);
            }
        }
        forward.push_back(CalendarId::CE);
        QVERIFY(forward.size() > 20);
        for (const CalendarId calendar : forward) {
            QTest::mouseClick(label, Qt::LeftButton);
            QCOMPARE(w->state().settings.todayCalendar, calendar);
            // Every calendar names itself, the leap week notations too.
            QVERIFY(label->text().endsWith(QLatin1Char(' ') + CalendarCode(calendar)));
        }
        QTest::mouseClick(label, Qt::RightButton);
        const CalendarId last = forward[forward.size() - 2];
        QCOMPARE(w->state().settings.todayCalendar, last);
        QVERIFY(LabelText(*w, "lblWeekFromToday").endsWith(u' ' + CalendarCode(last)));
        QTest::mouseClick(Child<QLabel>(*w, "lblWeekFromToday"), Qt::LeftButton);
        QCOMPARE(w->state().settings.todayCalendar, CalendarId::CE);
        const std::tuple<Language, CalendarId, const char*, const char*> cases[] = {
            {kEnglish, CalendarId::CE, "Today is Sunday, 2026-12-06 CE",
             "A week from today is 2026-12-13 CE"},
            {kEnglish, CalendarId::MJD, "Today is Sunday, 61,380 MJD",
             "A week from today is 61,387 MJD"},
            {kFrench, CalendarId::CE, "Aujourd'hui\u00a0: dimanche, 2026-12-06 CE",
             "Dans une semaine\u00a0: 2026-12-13 CE"},
            {kFrench, CalendarId::JDN, "Aujourd'hui\u00a0: dimanche, 2,461,381 JDN",
             "Dans une semaine\u00a0: 2,461,388 JDN"},
            {kGerman, CalendarId::CE, "Heute ist Sonntag, der 2026-12-06 CE",
             "In einer Woche ist der 2026-12-13 CE"},
            {kGerman, CalendarId::ORD, "Heute ist Sonntag, 2026-340 ORD",
             "In einer Woche ist 2026-347 ORD"},
            {kGerman, CalendarId::JDN, "Heute ist Sonntag, 2,461,381 JDN",
             "In einer Woche ist 2,461,388 JDN"},
            {kGerman, CalendarId::MJD, "Heute ist Sonntag, 61,380 MJD",
             "In einer Woche ist 61,387 MJD"},
        };
        for (const auto& [language, calendar, today, week] : cases) {
            Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(LanguageNumber(language));
            w->state().settings.todayCalendar = calendar;
            w->ShowTodaysDate();
            QCOMPARE(LabelText(*w, "lblTodaysDate"), QString::fromUtf8(today));
            QCOMPARE(LabelText(*w, "lblWeekFromToday"), QString::fromUtf8(week));
        }
        host.setToday(kSunday20261206 + 1);
        w->Clock_Timer();
        QCOMPARE(LabelText(*w, "lblTodaysDate"), QStringLiteral("Heute ist Montag, 61,381 MJD"));
    }

    // The maker's name opens the About box (the documentation link and F1: test_help).
    void makersNameOpensTheAboutBox() {
        QTest::mouseClick(Child<QLabel>(*w, "lblVelmoraSystems"), Qt::LeftButton);
        QCOMPARE(host.boxes.size(), std::size_t{1});
        QVERIFY(host.boxes[0].text.contains(QStringLiteral(DAYBRIDGE_VERSION)));
    }

    // Every window in both languages: its mnemonics, also after captions change (a run renames
    // Process file, the date order the separator options, a selection the copy button); each
    // secondary window opens on the screen, also beside a main window at the screen's edge. The
    // separators cannot be changed during a run (the run's end would undo the change).
    void everyWindowInBothLanguages() {
        for (Language language : {kEnglish, kGerman}) {
            RecordingHost host;
            auto w = StartWindow(host);
            Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(LanguageNumber(language));
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
            QCOMPARE(w->state().settings.format.dateSeparator, QStringLiteral("/"));
        }
    }

    // Enter presses the focused button; the option group's key chooses in it; focus frames show;
    // a click in the enlarged text keeps the focus there (a stray Space must not close it);
    // Escape closes the month display and the enlarged window; Ctrl+Q quits and saves.
    void keysOfTheWindows() {
        QVERIFY(!w->windowIcon().pixmap(64, 64).isNull());
        auto* first = Child<QLineEdit>(*w, "txbFirstDate");
        first->setText(QStringLiteral("2004-02-29"));
        QTest::keyClick(Child<QPushButton>(*w, "cmdClearFirstDate"), Qt::Key_Return);
        QVERIFY(first->text().isEmpty());
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        // An option group's key (the first date's row always has one; the second's where a
        // letter is left): its label's, leading to the chosen option, or one option's.
        for (const char* frame : {"Frame1", "Frame2"}) {
            auto* group = Child<QWidget>(*w, frame);
            QString keys =
                Child<QLabel>(*w, frame[5] == '1' ? "lblThisIsA0" : "lblThisIsA1")->text();
            for (QRadioButton* option : group->findChildren<QRadioButton*>()) {
                keys += option->text();
            }
            QVERIFY2(keys.contains(u'&') || frame[5] == '2', frame);
            if (!keys.contains(u'&')) {
                continue;
            }
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
        QCOMPARE(w->state().settings.todayCalendar, TodayCycle().back());
        QTest::keyClick(label, Qt::Key_Right);
        QCOMPARE(w->state().settings.todayCalendar, CalendarId::CE);
        QTest::keyClick(Child<QLabel>(*w, "lblWeekFromToday"), Qt::Key_Space);
        QCOMPARE(w->state().settings.todayCalendar, CalendarId::ISO);
        QTest::keyClick(Child<QLabel>(*w, "lblVelmoraSystems"), Qt::Key_Return);
        QCOMPARE(host.boxes.back().title, w->state().settings.Text(350));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!w->isVisible());
        QVERIFY(QFile::exists(config_->settingsFile()));
    }

    // Choosing a calendar by a click, by the row's Alt key or by the arrow keys converts the
    // typed date and leaves the focus in the option row, so the arrow keys go on choosing.
    void choosingACalendarKeepsTheFocusInTheRow() {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* field = Child<QLineEdit>(*w, "txbFirstDate");
        auto* row = Child<QWidget>(*w, "Frame1");
        field->setText(QStringLiteral("2004-02-29"));
        auto* julian = Child<QRadioButton>(*w, "optFirstDateIsJC");
        QTest::mouseClick(julian, Qt::LeftButton);
        QCOMPARE(field->text(), QStringLiteral("2004-02-16"));
        QCOMPARE(QApplication::focusWidget(), julian);
        QString before = field->text();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QVERIFY(field->text() != before);  // the next option was chosen and converted into
        QCOMPARE(QApplication::focusWidget()->parentWidget(), row);
        QVERIFY(qobject_cast<QRadioButton*>(QApplication::focusWidget())->isChecked());
        // The row's Alt key (on its label or one of its options) leads into the row.
        Child<QRadioButton>(*w, "optFirstDateIsCE")->click();
        Child<QPushButton>(*w, "cmdQuit")->setFocus();
        before = field->text();
        QString keys = Child<QLabel>(*w, "lblThisIsA0")->text();
        for (QRadioButton* option : row->findChildren<QRadioButton*>()) {
            keys += option->text();
        }
        QVERIFY(keys.contains(u'&'));
        QTest::keyClick(w.get(), keys.section(u'&', 1).at(0).toLower().toLatin1(), Qt::AltModifier);
        QTRY_COMPARE(QApplication::focusWidget()->parentWidget(), row);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QTRY_VERIFY(field->text() != before);
        QCOMPARE(QApplication::focusWidget()->parentWidget(), row);
    }

    // The focused Compute button looks different from the unfocused one, although it is the
    // default button (whose frame some styles draw like the focus frame).
    void computeShowsItsFocus() {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* compute = Child<QPushButton>(*w, "cmdCompute");
        QVERIFY(compute->isDefault());
        Child<QLineEdit>(*w, "txbFirstDate")->setFocus();
        const QImage unfocused = compute->grab().toImage();
        compute->setFocus();
        QVERIFY(compute->hasFocus());
        QVERIFY(compute->grab().toImage() != unfocused);
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
        auto* difference = Child<QLineEdit>(*w, "txbDateDiffDays");
        for (const auto& [option, date, key, stepped] : steps) {
            const QString calendar = QString::fromLatin1(option);
            CalendarOfCode(calendar) ? PickWorldCalendar(*w, "First", *CalendarOfCode(calendar))
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
        host.inputAnswers.push_back(std::nullopt);  // Cancel
        for (const auto& [name, lines, text] : files) {
            const QString path =
                lines.isEmpty() ? folder.filePath(name) : WriteProgram(folder.path(), name, lines);
            QVERIFY(!lines.isEmpty() || QFile(path).open(QIODevice::WriteOnly));
            Child<QComboBox>(*w, "cboInputFile")->setEditText(path);
            w->cmdBatchCompute_Click();
            QTRY_VERIFY(!w->batch().Running());
            QVERIFY2(!host.boxes.empty() &&
                         host.boxes.back().text.contains(w->state().settings.Text(text)),
                     qPrintable(name));
        }
    }

    // A Julian first date opens the Julian grid, a world calendar's date its CE month on the
    // Gregorian grid; the display stays on the screen when it grows.
    void monthDisplayFollowsTheFirstDate() {
        Child<QRadioButton>(*w, "optFirstDateIsJC")->click();
        Child<QLineEdit>(*w, "txbFirstDate")->setText(QStringLiteral("1582-10-04"));
        Child<QPushButton>(*w, "cmdDisplayMonth")->click();
        frmDisplayMonthLPM* month = w->monthDisplay();
        QVERIFY(Child<QRadioButton>(*month, "optJulian")->isChecked() &&
                w->state().settings.monthJulian);
        QCOMPARE(Child<QComboBox>(*month, "cboMonths")->currentIndex(), 9);
        PickWorldCalendar(*w, "First", CalendarId::HEB);  // 14 October 1582
        Child<QPushButton>(*w, "cmdDisplayMonth")->click();
        QVERIFY(Child<QRadioButton>(*month, "optCommonEra")->isChecked() &&
                !w->state().settings.monthJulian);
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
    RecordingHost host;  // the started window's
    std::unique_ptr<frmMain> w;
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
