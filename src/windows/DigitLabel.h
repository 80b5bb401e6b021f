#pragma once

#include <QLabel>
#include <QRawFont>

#include <array>

// A label for texts of digits, full stops, colons and signs, such as the clock's time, which it
// draws from glyphs looked up once instead of laying the text out again on every repaint as QLabel
// does. It places them where QLabel places the same text; any other text, a frame, a margin, a
// disabled label or a font without all those glyphs is drawn by QLabel itself.
class DigitLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static constexpr int kCharacters = 14; // 0 to 9, full stop, colon, plus, minus

    struct Glyphs {
        QRawFont font;
        std::array<quint32, kCharacters> indexes{};
        std::array<qreal, kCharacters> advances{};
        qreal ascent = 0;
        qreal height = 0;      // ascent and descent: the line QLabel centres
        bool complete = false; // the font has every one of the characters
    };

    bool drawsItself() const;
    // The glyphs of the current font, or nothing when it lacks one.
    const Glyphs* glyphs();

    Glyphs glyphs_;
    bool glyphsReady_ = false;
};
