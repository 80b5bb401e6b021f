#pragma once

#include <QRect>
#include <QWidget>

#include <cmath>

// Window geometry is given in twips: 1440 per inch, 15 per logical pixel.
namespace Twips {

inline constexpr double kPerPixel = 15.0;

inline int toPixels(double twips) {
    return static_cast<int>(std::lround(twips / kPerPixel));
}
inline double fromPixels(double pixels) {
    return pixels * kPerPixel;
}

inline QRect rect(int left, int top, int width, int height) {
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

inline QSize size(int width, int height) {
    return {toPixels(width), toPixels(height)};
}

// Places a control at a box given in twips, relative to its parent.
inline void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(rect(left, top, width, height));
}

} // namespace Twips
