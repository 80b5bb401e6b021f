#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

// The pictures the program carries, drawn for it by tools/artwork. Each comes at its design
// size and at twice that size, which is used on screens scaled to 150 % and more.
namespace Builtin {

QPixmap titlePicture(); // the title strip, 100 x 14
QPixmap alarmPicture(); // the alarm indicator, 16 x 16
QIcon windowIcon();     // 16 x 16 and 32 x 32
QPixmap aboutLogo();    // the makers' logo, 120 x 64
QPixmap closePicture(); // the About box's close button, 54 x 53
QCursor pointingHand(); // over links; the fingertip is the hot spot

} // namespace Builtin
