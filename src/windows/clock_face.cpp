#include "windows/ClockFace.h"

#include <QPaintEvent>
#include <QPainter>

ClockFace::ClockFace(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClockFace::setBackground(const QPixmap& picture) {
    if (picture.cacheKey() == background_.cacheKey())
        return;
    background_ = picture;
    update();
    // A child that paints the face behind it itself is opaque to Qt, which leaves it out of the
    // face's repaint and would keep the old face on the screen behind its text.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->testAttribute(Qt::WA_OpaquePaintEvent))
            child->update();
    }
}

void ClockFace::paintBackground(QPainter& painter, const QRect& area, QPoint origin) const {
    painter.fillRect(area, Qt::black);
    if (background_.isNull())
        return;
    // On a scaled screen the picture is enlarged; smoothly, like the stretched pictures.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(origin, background_);
}

void ClockFace::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintBackground(painter, event->rect(), QPoint(0, 0));
}
