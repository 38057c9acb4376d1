#include "ui/screen_fit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace daybridge {

namespace {

class ScreenKeeper : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show || type == QEvent::Resize) {
            FitOnScreen(static_cast<QWidget*>(watched));
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

QPoint PlaceInside(const QRect& frame, const QRect& room) {
    const int x = std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width()));
    const int y = std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height()));
    return {x, y};
}

void FitOnScreen(QWidget* window) {
    if (window == nullptr || !window->isVisible()) {
        return;
    }
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    // The frame around the client area (title bar, borders) counts against the room.
    const int extraWidth = frame.width() - window->width();
    const int extraHeight = frame.height() - window->height();
    if (frame.width() > room.width() || frame.height() > room.height()) {
        const QSize fitted(std::min(window->width(), room.width() - extraWidth),
                           std::min(window->height(), room.height() - extraHeight));
        if (fitted.width() >= window->minimumWidth() &&
            fitted.height() >= window->minimumHeight() && fitted != window->size()) {
            window->resize(fitted);
            frame = window->frameGeometry();
        }
    }
    const QPoint place = PlaceInside(frame, room);
    if (place != frame.topLeft()) {
        window->move(place);  // move() places the frame's top-left corner
    }
}

void KeepOnScreen(QWidget* window) {
    window->installEventFilter(new ScreenKeeper(window));
}

}  // namespace daybridge
