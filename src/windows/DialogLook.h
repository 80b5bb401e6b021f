#pragma once

#include <QFont>
#include <QRect>

class QPainter;
class QWidget;

namespace DialogLook {

// The dialogs' text: Arial at 11 pixels (8.25 points at 96 dots per inch), whatever the screen.
QFont font(bool bold = false);

// Keeps a key press from reaching the dialog's default handling when it is Enter or Escape:
// no button of these dialogs is pressed by either key.
bool isDialogKey(int key);

// Widens a control whose caption does not fit its designed box in the font at hand; keeps its
// left edge and never narrows it.
void fitWidth(QWidget& control);

// Draws the style's focus rectangle round `box` while `control` has the focus. Like the
// platform's own dialogs, the style shows it only once the keyboard has been used in the window.
void drawFocusCue(QPainter& painter, const QWidget& control, const QRect& box);

// A key was pressed on `control`: from now on its window shows where the focus is.
void revealFocusCue(QWidget& control);

// Centres the window on the screen it is on.
void centreOnScreen(QWidget& window);

} // namespace DialogLook
