#pragma once

#include <QFont>

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

// Centres the window on the screen it is on.
void centreOnScreen(QWidget& window);

} // namespace DialogLook
