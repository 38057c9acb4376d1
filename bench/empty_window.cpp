// The yardstick for the main window's start-up: an empty Qt window that ends as soon as it is
// on screen, measured the same way as `daybridge --measure-startup` (and telling those moments
// on stderr the same way).
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1040, 680);
    window.show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&window] {
        if (window.windowHandle() != nullptr && window.windowHandle()->isExposed()) {
            const auto exposed = std::chrono::system_clock::now().time_since_epoch();
            QGuiApplication::sync();  // until the display has drawn what it was sent
            const auto shown = std::chrono::system_clock::now().time_since_epoch();
            const auto ns = [](auto t) {
                return static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(t).count());
            };
            std::fprintf(stderr, "window exposed: %lld ns\nwindow shown: %lld ns\n", ns(exposed),
                         ns(shown));
            QCoreApplication::exit(0);
        }
    });
    poll.start(1);
    return QApplication::exec();
}
