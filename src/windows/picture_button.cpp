#include "windows/PictureButton.h"

#include "windows/DialogLook.h"
#include "windows/PictureBox.h"

#include <QKeyEvent>
#include <QPainter>

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
}

void PictureButton::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PictureBox::paintStretched(painter, rect(), picture_);
    DialogLook::drawFocusCue(painter, *this, rect());
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    DialogLook::revealFocusCue(*this);
    // Space is the button's own key; Enter presses it too, as it would a focused button.
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!event->isAutoRepeat())
            click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
