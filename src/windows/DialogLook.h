#pragma once

#include <QFont>
#include <QRect>

class QPainter;
class QWidget;

namespace DialogLook {

// The dialogs' text: Arial at 11 pixels (8.25 points at 96 dots per inch), whatever the screen.
QFont font(bool bold = false);

// Widens a control whose caption does not fit its designed box in the font at hand; keeps its
// left edge and never narrows it.
void fitWidth(QWidget& control);

// Draws the style's focus rectangle round `box` while `control` has the focus. Like the
// platform's own dialogs, the style shows it only once the keyboard has been used in the window.
void drawFocusCue(QPainter& painter, const QWidget& control, const QRect& box);

// A key was pressed on `control`: from now on its window shows where the focus is.
void revealFocusCue(QWidget& control);

} // namespace DialogLook
