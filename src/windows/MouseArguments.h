#pragma once

class QMouseEvent;

// What the windows' mouse handlers are given: button 1 left, 2 right, 4 middle; shift 1 Shift,
// 2 Ctrl, 4 Alt; X and Y in twips within the control.
struct MouseArguments {
    int button = 0;
    int shift = 0;
    float x = 0;
    float y = 0;
};

// A press or a release gives the button that changed; a move gives the buttons held down,
// added up (3 for left and right together).
MouseArguments mouseArguments(const QMouseEvent& event);
