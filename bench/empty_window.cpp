// The yardstick for the main window's start-up: an empty Qt window that ends as soon as it is
// on screen, measured the same way as `daybridge --measure-startup`.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1040, 680);
    window.show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&window] {
        if (window.windowHandle() != nullptr && window.windowHandle()->isExposed()) {
            QCoreApplication::exit(0);
        }
    });
    poll.start(1);
    return QApplication::exec();
}
