// Daybridge: the date converter and date calculator.
//
// Hidden options for the speed script (bench/startup.sh); neither writes the settings file:
//   --measure-startup   ends the program as soon as the main window is on screen, telling on
//                       stderr the moment it is first seen exposed ("window exposed: <ns since
//                       1970>") and the moment the display has drawn it ("window shown: <ns>");
//   --run-batch FILE    runs FILE with Process file once the window is on screen, reports the
//                       time of the run on stderr and ends when the run has ended.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "ui/frm_main.h"

int main(int argc, char* argv[]) {
    bool measureStartup = false;
    const char* batchFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--measure-startup") == 0) {
            measureStartup = true;
        } else if (std::strcmp(argv[i], "--run-batch") == 0 && i + 1 < argc) {
            batchFile = argv[++i];
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Daybridge"));
    QApplication::setDesktopFileName(QStringLiteral("daybridge"));

    daybridge::frmMain window;
    QApplication::setWindowIcon(window.windowIcon());  // for the other windows and dialogs
    if (!window.Form_Load()) {
        return 1;
    }
    if (measureStartup) {
        auto* poll = new QTimer(&app);
        QObject::connect(poll, &QTimer::timeout, &app, [&window] {
            if (window.windowHandle() != nullptr && window.windowHandle()->isExposed()) {
                const auto exposed = std::chrono::system_clock::now().time_since_epoch();
                // The display draws what it was sent in its own time: wait until it has.
                QGuiApplication::sync();
                const auto shown = std::chrono::system_clock::now().time_since_epoch();
                const auto ns = [](auto t) {
                    return static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(t).count());
                };
                std::fprintf(stderr, "window exposed: %lld ns\nwindow shown: %lld ns\n",
                             ns(exposed), ns(shown));
                QCoreApplication::exit(0);
            }
        });
        poll->start(1);
    }
    QElapsedTimer batchTime;
    if (batchFile != nullptr) {
        QObject::connect(&window, &daybridge::frmMain::BatchRunningChanged, &app,
                         [&window, &batchTime](bool running) {
                             if (!running) {
                                 std::fprintf(stderr, "batch run: %lld ms, %lld characters\n",
                                              static_cast<long long>(batchTime.elapsed()),
                                              static_cast<long long>(window.output().length()));
                                 QCoreApplication::exit(window.batch().ErrorCount() > 0 ? 1 : 0);
                             }
                         });
        // Process file is pressed once the window is on screen and painted, as a person would:
        // the window's first paint is start-up, not part of the run.
        auto* start = new QTimer(&app);
        QObject::connect(start, &QTimer::timeout, &app, [&window, &batchTime, batchFile, start] {
            if (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
                return;
            }
            start->stop();
            window.AddInputFile(QString::fromLocal8Bit(batchFile), 0);
            batchTime.start();
            window.cmdBatchCompute_Click();
            if (!window.batch().Running()) {
                QCoreApplication::exit(2);
            }
        });
        start->start(1);
    }
    return QApplication::exec();
}
