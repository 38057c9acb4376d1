// Builds the main window with a private settings folder, types a few dates, computes, and saves
// a picture of the window:
//   daybridge_screenshot OUTPUT.png [--dark | --french | --guide |
//                                    --month CODE YEAR PLACE [--sunday] | --holidays FIND]
// --dark gives the application a dark desktop palette first (as a dark desktop theme does);
// --french chooses French in the language list before the dates are typed;
// --guide pictures the help window instead, at the keyboard table, with a search under way;
// --month pictures the month display on the month at PLACE (1 = the year's first) of YEAR in
// the calendar CODE, e.g. "--month HEB 5787 1" for Tishri 5787; --sunday starts its weeks on
// Sunday (the weeks of the retail fiscal calendar).
#include <QAbstractItemView>
#include <QApplication>
#include <QByteArray>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>

#include "app/calendar_names.h"
#include "calendar/names.h"
#include "ui/frm_configure.h"
#include "ui/frm_display_month.h"
#include "ui/frm_help.h"
#include "ui/frm_main.h"

int main(int argc, char* argv[]) {
    const bool dark = argc == 3 && QByteArray(argv[2]) == "--dark";
    const bool guide = argc == 3 && QByteArray(argv[2]) == "--guide";
    const bool french = argc == 3 && QByteArray(argv[2]) == "--french";
    const bool sunday = argc == 7 && QByteArray(argv[6]) == "--sunday";
    const bool calendarMonth = (argc == 6 || sunday) && QByteArray(argv[2]) == "--month";
    const bool holidays = argc == 4 && QByteArray(argv[2]) == "--holidays";
    if (argc != 2 && !dark && !french && !guide && !calendarMonth && !holidays) {
        std::fprintf(stderr,
                     "usage: daybridge_screenshot OUTPUT.png"
                     " [--dark | --french | --guide | --month CODE YEAR PLACE [--sunday] |"
                     " --holidays FIND]\n");
        return 2;
    }
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (dark) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette palette;
        const QColor window(45, 45, 48), base(30, 30, 32), text(230, 230, 230), off(120, 120, 120);
        const std::pair<QPalette::ColorRole, QColor> roles[] = {
            {QPalette::Window, window},
            {QPalette::WindowText, text},
            {QPalette::Base, base},
            {QPalette::AlternateBase, window},
            {QPalette::Text, text},
            {QPalette::Button, window},
            {QPalette::ButtonText, text},
            {QPalette::ToolTipBase, base},
            {QPalette::ToolTipText, text},
            {QPalette::Highlight, QColor(61, 174, 233)},
            {QPalette::HighlightedText, Qt::black}};
        for (const auto& [role, color] : roles) {
            palette.setColor(role, color);
        }
        for (const auto role : {QPalette::ButtonText, QPalette::WindowText, QPalette::Text}) {
            palette.setColor(QPalette::Disabled, role, off);
        }
        QApplication::setPalette(palette);
    }

    daybridge::frmMain window;
    if (!window.Form_Load()) {
        return 1;
    }
    if (french) {
        window.findChild<QComboBox*>(QStringLiteral("cboLanguage"))
            ->setCurrentIndex(daybridge::LanguageNumber(daybridge::kFrench));
        // Wide enough for the longer captions, as a person would make it on a larger screen.
        const QWidget* content = window.findChild<QScrollArea*>()->widget();
        window.resize(std::max(window.width(), content->minimumSizeHint().width() + 4),
                      window.height());
    }
    auto field = [&](const char* name) {
        return window.findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    auto press = [&](const char* name) {
        window.findChild<QPushButton*>(QString::fromLatin1(name))->click();
    };
    QTest::keyClicks(field("txbFirstDate"), QStringLiteral("2012-01-06"));
    QTest::keyClicks(field("txbSecondDate"), QStringLiteral("2012-03-09"));
    press("cmdCompute");
    press("cmdClearSecondDate");
    press("cmdClearDateDiffDays");
    QTest::keyClicks(field("txbDateDiffDays"), QStringLiteral("-1000"));
    press("cmdCompute");
    press("cmdClearDateDiffDays");
    press("cmdClearSecondDate");
    window.findChild<QRadioButton*>(QStringLiteral("optSecondDateIsJC"))->click();
    press("cmdCompute");
    window.findChild<QRadioButton*>(QStringLiteral("optSecondDateIsISO"))->click();
    press("cmdClearSecondDate");
    press("cmdCompute");
    QWidget* shown = &window;
    if (guide) {
        window.show();
        window.lblOnlineDocumentation_Click();
        auto* help = window.findChild<daybridge::frmHelp*>();
        help->resize(1100, 640);
        const auto keyboard =
            help->tvwContents->findItems(QStringLiteral("Keyboard"), Qt::MatchRecursive);
        if (!keyboard.isEmpty()) {
            help->tvwContents_Click(keyboard.first());
        }
        QTest::keyClicks(help->txbFind, QStringLiteral("Enter"));
        shown = help;
    }
    if (calendarMonth) {
        window.show();
        press("cmdDisplayMonth");
        daybridge::frmDisplayMonthLPM* month = window.monthDisplay();
        auto* calendars = month->findChild<QComboBox*>(QStringLiteral("cboCalendar"));
        const auto calendar = daybridge::CalendarOfCode(QString::fromLatin1(argv[3]));
        if (!calendar) {
            std::fprintf(stderr, "no calendar %s\n", argv[3]);
            return 2;
        }
        calendars->setCurrentIndex(
            calendars->findText(daybridge::CalendarName(*calendar, daybridge::kEnglish)));
        if (sunday) {
            month->findChild<QRadioButton*>(QStringLiteral("optSunday"))->click();
        }
        month->findChild<QLineEdit*>(QStringLiteral("txbYear"))
            ->setText(QString::fromLatin1(argv[4]));
        month->findChild<QPushButton*>(QStringLiteral("cmdDisplay"))->click();  // the year's months
        month->findChild<QComboBox*>(QStringLiteral("cboMonths"))
            ->setCurrentIndex(QByteArray(argv[5]).toInt() - 1);
        month->findChild<QPushButton*>(QStringLiteral("cmdDisplay"))->click();
        shown = month;
    }
    if (holidays) {
        // The configuration dialog with its list of sets narrowed by the find box and open, so
        // that the picture shows a country and its subdivisions; the screen is grabbed, as the
        // open list is a window of its own.
        window.show();
        press("cmdConfigure");
        daybridge::frmConfigure* configure = window.configureDialog();
        QTest::keyClicks(configure->findChild<QLineEdit*>(QStringLiteral("txbHolidayFind")),
                         QString::fromLocal8Bit(argv[3]));
        auto* sets = configure->findChild<QComboBox*>(QStringLiteral("cboHolidays"));
        sets->setCurrentIndex(std::min(1, sets->count() - 1));
        emit sets->activated(sets->currentIndex());
        configure->raise();
        sets->showPopup();
        QTest::qWait(300);
        const QRect area =
            configure->frameGeometry().united(sets->view()->window()->frameGeometry());
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
        const QImage picture = screen.toImage().copy(area);
        if (!picture.save(QString::fromLocal8Bit(argv[1]))) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
        return 0;
    }
    QTest::qWait(200);
    if (!shown->grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
