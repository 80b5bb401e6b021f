#pragma once

#include <QLabel>
#include <QRawFont>
#include <QVarLengthArray>

#include <array>
#include <functional>

class QPainter;

// A label for texts of digits, full stops, colons and signs, such as the clock's time, which it
// draws from glyphs looked up once instead of laying the text out again on every repaint as
// QLabel does. It places them where QLabel places the same text; any other text, a frame, a
// margin, a disabled label or a font without all those glyphs is drawn by QLabel itself.
class DigitLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Sets the text as setText does, but where both texts are drawn from glyphs repaints only
    // the glyphs that changed (one digit, most seconds) rather than the whole label.
    void changeText(const QString& text);

    // Paints what lies behind an area of the label (in its own coordinates).
    using Backdrop = std::function<void(QPainter& painter, const QRect& area)>;
    // The label paints what lies behind it itself, so that a new text repaints the label alone
    // and not the widget beneath it as well. Qt then counts the label opaque and leaves it out of
    // its parent's repaints: whoever changes what lies behind it must update the label too.
    void setBackdrop(Backdrop backdrop);

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static constexpr int kCharacters = 14; // 0 to 9, full stop, colon, plus, minus

    struct Glyphs {
        QRawFont font;
        std::array<quint32, kCharacters> indexes{};
        std::array<qreal, kCharacters> advances{};
        std::array<QRectF, kCharacters> bounds{}; // each glyph's ink, around its origin
        qreal ascent = 0;
        qreal height = 0;      // ascent and descent: the line QLabel centres
        bool complete = false; // the font has every one of the characters
    };

    // A text's glyphs and their origins on the label's baseline.
    struct Placed {
        QVarLengthArray<int, 16> characters; // slots in the glyph table
        QVarLengthArray<quint32, 16> indexes;
        QVarLengthArray<QPointF, 16> positions;
    };

    bool drawsItself() const;
    // The glyphs of the current font, or nothing when it lacks one.
    const Glyphs* glyphs();
    // Where the text's glyphs go; false when the label cannot draw the text itself.
    bool place(const QString& text, Placed& placed);
    // What differs between the two texts on screen; empty when it cannot tell.
    QRegion changedArea(const QString& from, const QString& to);
    // Where the placed glyph i may leave ink, antialiasing included.
    QRect inkOf(const Placed& placed, qsizetype i) const;

    Glyphs glyphs_;
    bool glyphsReady_ = false;
    Backdrop backdrop_;
};
