// The main window on a small screen: 1024 x 600 logical pixels, as a 1920 x 1080 laptop at
// 150 % or a small netbook has it (the test runs at scale 1 and 2, see CMakeLists.txt). The
// window lies inside the screen's available area in both languages, and every control can be
// brought into view, by Tab and by its Alt key alike.
#include <QScreen>

#include "ui_test_support.h"

using namespace daybridge;
using namespace uitest;

class SmallScreenTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void everyControlReachable() {
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(room.size(), QSize(1024, 600));
        for (Language language : kLanguages) {
            IsolatedConfig config;
            RecordingHost host;
            auto w = StartWindow(host);
            QVERIFY(w);
            Child<QComboBox>(*w, "cboLanguage")->setCurrentIndex(LanguageNumber(language));
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
            QVERIFY2(room.contains(w->frameGeometry()),
                     qPrintable(QStringLiteral("%1x%2")
                                    .arg(w->frameGeometry().width())
                                    .arg(w->frameGeometry().height())));
            int controls = 0;
            for (QWidget* control : w->findChildren<QWidget*>()) {
                const bool isControl =
                    qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                    qobject_cast<QComboBox*>(control) || control->focusPolicy() != Qt::NoFocus;
                // The window's own controls are named; Qt's parts of them are not.
                if (!isControl || control->objectName().isEmpty() ||
                    control->objectName().startsWith(QLatin1String("qt_")) ||
                    !control->isVisibleTo(w.get()) || !control->isEnabled() ||
                    control->window() != w.get()) {
                    continue;
                }
                // Focus brings a control into view, whichever way it is given.
                control->setFocus(Qt::ShortcutFocusReason);
                QTRY_COMPARE(QApplication::focusWidget(),
                             control->focusProxy() != nullptr ? control->focusProxy() : control);
                // In view: all of it, or as much as the window's room shows of a wider one.
                const QRect shown(control->mapToGlobal(QPoint(0, 0)), control->size());
                const QRect seen = shown & room & QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
                QVERIFY2(seen.width() >= std::min(shown.width(), room.width() - 40) &&
                             seen.height() >= std::min(shown.height(), room.height() / 3),
                         qPrintable(control->objectName()));
                ++controls;
            }
            QVERIFY(controls > 40);
        }
    }
};

QTEST_MAIN(SmallScreenTest)
#include "test_small_screen.moc"
