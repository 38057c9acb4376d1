// Keeps a secondary window inside the available area of its screen (panels and docks excluded)
// when it is shown and whenever it grows.
#pragma once

#include <QRect>

class QWidget;

namespace daybridge {

// The top-left corner that moves a frame of `frame` the least so that it lies inside `room`;
// a frame larger than `room` keeps its top-left corner at the room's.
QPoint PlaceInside(const QRect& frame, const QRect& room);

// Watches `window`: on every show and resize it is moved (and shrunk to the room, when larger)
// into the available geometry of the screen it is on.
void KeepOnScreen(QWidget* window);

// Moves `window` into its screen's available area once, now.
void FitOnScreen(QWidget* window);

}  // namespace daybridge
