// Sizes given in twips become pixels: 15 twips per pixel at 96 dpi, scaled by the logical dpi of
// the widget's screen.
#pragma once

#include <QWidget>
#include <cmath>

namespace daybridge {

inline int TwipsToPixels(const QWidget* widget, int twips) {
    const double dpi = widget != nullptr ? widget->logicalDpiX() : 96.0;
    return static_cast<int>(std::lround(twips / 15.0 * dpi / 96.0));
}

}  // namespace daybridge
