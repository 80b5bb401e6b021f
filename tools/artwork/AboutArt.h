#pragma once

class QPainter;

// The About box's pictures, each drawn on its design-size canvas.
void aboutLogo(QPainter& p);    // 120 x 64
void closeButton(QPainter& p);  // 54 x 53
void pointingHand(QPainter& p); // 32 x 32, fingertip at 12, 8
