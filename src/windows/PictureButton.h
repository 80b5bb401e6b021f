#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A picture pressed like a button: by a click, or by Space or Enter while it has the focus; a
// screen reader finds a push button. Shows its picture stretched to its box, and the focus
// rectangle once the keyboard has been used in its window.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    QPixmap picture() const { return picture_; }
    void setPicture(const QPixmap& picture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap picture_;
};
