#pragma once

#include <QPixmap>
#include <QWidget>

class QPainter;

// The clock window's client area: black, with the skin's body picture drawn from the top-left
// corner at its own size when there is one.
class ClockFace : public QWidget {
    Q_OBJECT
public:
    explicit ClockFace(QWidget* parent = nullptr);

    QPixmap background() const { return background_; }
    // Repaints the face and every child that paints the face behind it.
    void setBackground(const QPixmap& picture);

    // Paints the face's black and picture within the area, for a painter in whose coordinates
    // the face's top-left corner is at origin.
    void paintBackground(QPainter& painter, const QRect& area, QPoint origin) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap background_;
};
