// Daybridge: the date converter and date calculator.
//
// A hidden option for the speed script: --measure-startup ends the program as soon as the main
// window is on screen, without touching the settings file.
#include <QApplication>
#include <QTimer>
#include <QWindow>
#include <cstring>

#include "ui/frm_main.h"

int main(int argc, char* argv[]) {
    bool measureStartup = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--measure-startup") == 0) {
            measureStartup = true;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Daybridge"));

    daybridge::frmMain window;
    if (!window.Form_Load()) {
        return 1;
    }
    if (measureStartup) {
        auto* poll = new QTimer(&app);
        QObject::connect(poll, &QTimer::timeout, &app, [&window] {
            if (window.windowHandle() != nullptr && window.windowHandle()->isExposed()) {
                QCoreApplication::exit(0);
            }
        });
        poll->start(1);
    }
    return QApplication::exec();
}
