#pragma once

#include <QPixmap>
#include <QWidget>

class QPainter;

// A picture control: shows its picture stretched to its own box, whatever the picture's size.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    QPixmap picture() const { return picture_; }
    void setPicture(const QPixmap& picture);

    // Draws `picture` stretched to `box`, as a picture control shows it; nothing when it is null.
    static void paintStretched(QPainter& painter, const QRect& box, const QPixmap& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};
