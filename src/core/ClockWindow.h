#pragma once

#include <QPixmap>

namespace VD_Core {

// What the core needs of the one clock window. Positions are in twips (15 per logical pixel)
// and refer to the window's outer top-left corner.
class ClockWindow {
public:
    virtual ~ClockWindow() = default;

    // Keeps the window above all ordinary windows, or not; true when the window system agreed.
    virtual bool applyTopmost(bool on) = 0;

    virtual double leftTwips() const = 0;
    virtual double topTwips() const = 0;
    // Places the top-left corner, keeping the size.
    virtual void moveToTwips(double left, double top) = 0;

    virtual QPixmap titlePicture() const = 0;
    virtual void setTitlePicture(const QPixmap& picture) = 0;
    virtual QPixmap alarmPicture() const = 0;
    virtual void setAlarmPicture(const QPixmap& picture) = 0;
    // A null picture means none: the plain black face shows.
    virtual void setBackgroundPicture(const QPixmap& picture) = 0;

    virtual void setAlarmIndicatorVisible(bool visible) = 0;
};

} // namespace VD_Core
