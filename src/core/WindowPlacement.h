#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace VD_Core {

// Where a lost window goes back to. A window is lost when no part of its title strip (a box
// within the window) lies on any screen: the user cannot drag it back. Then the result is the
// top-left corner that puts the whole window on the screen reached by the shortest move (a
// window larger than that screen keeps its top-left corner on it). For a window with any part
// of its strip on a screen, and when there are no screens, the result is empty: it stays.
std::optional<QPoint> rescuedPosition(QPoint topLeft, QSize size, const QRect& titleStrip,
                                      const QList<QRect>& screens);

} // namespace VD_Core
