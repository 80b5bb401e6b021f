#include "windows/MouseArguments.h"

#include "windows/Twips.h"

#include <QMouseEvent>

namespace {

int buttonCodes(Qt::MouseButtons buttons) {
    return (buttons.testFlag(Qt::LeftButton) ? 1 : 0) |
           (buttons.testFlag(Qt::RightButton) ? 2 : 0) |
           (buttons.testFlag(Qt::MiddleButton) ? 4 : 0);
}

int shiftCodes(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

} // namespace

MouseArguments mouseArguments(const QMouseEvent& event) {
    const bool move = event.type() == QEvent::MouseMove;
    return {buttonCodes(move ? event.buttons() : Qt::MouseButtons(event.button())),
            shiftCodes(event.modifiers()),
            static_cast<float>(Twips::fromPixels(event.position().x())),
            static_cast<float>(Twips::fromPixels(event.position().y()))};
}
