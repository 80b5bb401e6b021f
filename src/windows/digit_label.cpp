#include "DigitLabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QStyle>
#include <QVarLengthArray>

namespace {

const QString kDigitCharacters = QStringLiteral("0123456789.:+-");

// The slot of a character in kDigitCharacters, or -1.
int slotOf(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    const qsizetype sign = kDigitCharacters.indexOf(c, 10);
    return sign < 0 ? -1 : static_cast<int>(sign);
}

bool onlyDigits(const QString& text) {
    for (QChar c : text) {
        if (slotOf(c) < 0)
            return false;
    }
    return true;
}

} // namespace

bool DigitLabel::drawsItself() const {
    const bool plain = textFormat() == Qt::PlainText || textFormat() == Qt::AutoText;
    return isEnabled() && plain && frameWidth() == 0 && margin() == 0 && !wordWrap() &&
           onlyDigits(text());
}

const DigitLabel::Glyphs* DigitLabel::glyphs() {
    if (!glyphsReady_) {
        glyphsReady_ = true;
        glyphs_ = Glyphs();
        glyphs_.font = QRawFont::fromFont(font());
        const QList<quint32> indexes = glyphs_.font.glyphIndexesForString(kDigitCharacters);
        const QList<QPointF> advances = glyphs_.font.advancesForGlyphIndexes(indexes);
        if (indexes.size() != kCharacters || advances.size() != kCharacters || indexes.contains(0u))
            return nullptr;
        for (size_t i = 0; i < kCharacters; ++i) {
            glyphs_.indexes[i] = indexes[static_cast<qsizetype>(i)];
            glyphs_.advances[i] = advances[static_cast<qsizetype>(i)].x();
        }
        const QFontMetricsF metrics(font());
        glyphs_.ascent = metrics.ascent();
        glyphs_.height = metrics.ascent() + metrics.descent();
        glyphs_.complete = true;
    }
    return glyphs_.complete ? &glyphs_ : nullptr;
}

void DigitLabel::paintEvent(QPaintEvent* event) {
    const Glyphs* ready = drawsItself() ? glyphs() : nullptr;
    if (ready == nullptr) {
        QLabel::paintEvent(event);
        return;
    }
    const Glyphs& g = *ready;
    const QString content = text();
    QVarLengthArray<quint32, 16> indexes;
    QVarLengthArray<QPointF, 16> positions;
    qreal width = 0;
    for (QChar c : content) {
        const auto slot = static_cast<size_t>(slotOf(c));
        indexes.append(g.indexes[slot]);
        positions.append(QPointF(width, 0));
        width += g.advances[slot];
    }
    // QLabel's arithmetic: the line box centred vertically, the line aligned across the box.
    const QRectF box = contentsRect();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    qreal left = box.left();
    if (align & Qt::AlignRight)
        left += box.width() - width;
    else if (align & Qt::AlignHCenter)
        left += (box.width() - width) / 2;
    qreal top = box.top();
    if (align & Qt::AlignBottom)
        top += box.height() - g.height;
    else if (align & Qt::AlignVCenter)
        top += (box.height() - g.height) / 2;

    QGlyphRun run;
    run.setRawFont(g.font);
    run.setRawData(indexes.constData(), positions.constData(), static_cast<int>(indexes.size()));
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawGlyphRun(QPointF(left, top + g.ascent), run);
}

void DigitLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        glyphsReady_ = false;
    QLabel::changeEvent(event);
}
