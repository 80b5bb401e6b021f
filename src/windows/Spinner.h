#pragma once

#include <QScrollBar>

// A vertical scroll bar used as a spinner for a number: only its two arrows show, one step per
// press, stopping at the ends. Which number a position shows is given, so that a screen reader
// is told that number, as a spin button's value, rather than the position.
class Spinner : public QScrollBar {
    Q_OBJECT
public:
    using Mapping = int (*)(int);

    // Positions 0 to `last`, starting at `last`; `numberAt` maps a position to the number it
    // shows, `positionOf` a number back to its position (the nearest one for a number beyond).
    Spinner(int last, Mapping numberAt, Mapping positionOf, QWidget* parent = nullptr);

    int number() const { return numberAt_(value()); }
    int lowestNumber() const;
    int highestNumber() const;
    void setNumber(int number) { setValue(positionOf_(number)); }

private:
    Mapping numberAt_;
    Mapping positionOf_;
};
