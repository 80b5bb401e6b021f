#pragma once

#include <QFont>

class QWidget;

namespace DialogLook {

// The dialogs' text: Arial at 11 pixels (8.25 points at 96 dots per inch), whatever the screen.
QFont font(bool bold = false);

// Widens a control whose caption does not fit its designed box in the font at hand; keeps its
// left edge and never narrows it.
void fitWidth(QWidget& control);

} // namespace DialogLook
