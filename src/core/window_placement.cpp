#include "core/WindowPlacement.h"

#include <algorithm>

namespace VD_Core {
namespace {

// Screen coordinates in 64 bits: a stored position may put the window near the end of int.
struct Span {
    qint64 start;
    qint64 length;
};

bool overlaps(Span a, Span b) {
    return a.start < b.start + b.length && b.start < a.start + a.length;
}

// The start nearest to `start` that keeps a window of `length` within the screen's span; the
// screen's own start when the window is the larger.
qint64 fitted(qint64 start, qint64 length, Span screen) {
    return std::max(screen.start, std::min(start, screen.start + screen.length - length));
}

bool stripOnScreen(QPoint topLeft, const QRect& strip, const QRect& screen) {
    const Span stripX{qint64(topLeft.x()) + strip.x(), strip.width()};
    const Span stripY{qint64(topLeft.y()) + strip.y(), strip.height()};
    return overlaps(stripX, {screen.x(), screen.width()}) &&
           overlaps(stripY, {screen.y(), screen.height()});
}

} // namespace

std::optional<QPoint> rescuedPosition(QPoint topLeft, QSize size, const QRect& titleStrip,
                                      const QList<QRect>& screens) {
    const bool reachable = std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
        return stripOnScreen(topLeft, titleStrip, screen);
    });
    if (reachable)
        return std::nullopt;
    std::optional<QPoint> best;
    double shortest = 0;
    for (const QRect& screen : screens) {
        const qint64 x = fitted(topLeft.x(), size.width(), {screen.x(), screen.width()});
        const qint64 y = fitted(topLeft.y(), size.height(), {screen.y(), screen.height()});
        const auto dx = static_cast<double>(x - topLeft.x());
        const auto dy = static_cast<double>(y - topLeft.y());
        const double distance = dx * dx + dy * dy; // a square, which orders moves as well
        if (!best || distance < shortest) {
            best = QPoint(static_cast<int>(x), static_cast<int>(y));
            shortest = distance;
        }
    }
    return best;
}

} // namespace VD_Core
