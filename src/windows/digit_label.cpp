#include "windows/DigitLabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

namespace {

const QString kDigitCharacters = QStringLiteral("0123456789.:+-");

// The slot of a character in kDigitCharacters, or -1.
int slotOf(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    const qsizetype sign = kDigitCharacters.indexOf(c, 10);
    return sign < 0 ? -1 : static_cast<int>(sign);
}

} // namespace

bool DigitLabel::drawsItself() const {
    const bool plain = textFormat() == Qt::PlainText || textFormat() == Qt::AutoText;
    return isEnabled() && plain && frameWidth() == 0 && margin() == 0 && !wordWrap();
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
            const quint32 index = indexes[static_cast<qsizetype>(i)];
            glyphs_.indexes[i] = index;
            glyphs_.advances[i] = advances[static_cast<qsizetype>(i)].x();
            glyphs_.bounds[i] = glyphs_.font.boundingRect(index);
        }
        const QFontMetricsF metrics(font());
        glyphs_.ascent = metrics.ascent();
        glyphs_.height = metrics.ascent() + metrics.descent();
        glyphs_.complete = true;
    }
    return glyphs_.complete ? &glyphs_ : nullptr;
}

bool DigitLabel::place(const QString& text, Placed& placed) {
    const Glyphs* g = drawsItself() ? glyphs() : nullptr;
    if (g == nullptr)
        return false;
    qreal width = 0;
    for (QChar c : text) {
        const int slot = slotOf(c);
        if (slot < 0)
            return false;
        placed.characters.append(slot);
        placed.indexes.append(g->indexes[static_cast<size_t>(slot)]);
        placed.positions.append(QPointF(width, 0));
        width += g->advances[static_cast<size_t>(slot)];
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
        top += box.height() - g->height;
    else if (align & Qt::AlignVCenter)
        top += (box.height() - g->height) / 2;
    const QPointF origin(left, top + g->ascent);
    for (QPointF& position : placed.positions)
        position += origin;
    return true;
}

QRect DigitLabel::inkOf(const Placed& placed, qsizetype i) const {
    const QRectF bounds = glyphs_.bounds[static_cast<size_t>(placed.characters[i])];
    // A pixel more on each side for what antialiasing spills over the outline.
    return bounds.translated(placed.positions[i]).toAlignedRect().adjusted(-1, -1, 1, 1);
}

QRegion DigitLabel::changedArea(const QString& from, const QString& to) {
    Placed before;
    Placed after;
    if (!place(from, before) || !place(to, after))
        return {};
    const auto ink = [this](const Placed& placed, qsizetype i) { return inkOf(placed, i); };
    QRegion changed;
    for (qsizetype i = 0; i < std::max(before.characters.size(), after.characters.size()); ++i) {
        const bool inBefore = i < before.characters.size();
        const bool inAfter = i < after.characters.size();
        if (inBefore && inAfter && before.characters[i] == after.characters[i] &&
            before.positions[i] == after.positions[i])
            continue;
        if (inBefore)
            changed += ink(before, i);
        if (inAfter)
            changed += ink(after, i);
    }
    return changed.isEmpty() ? QRegion(contentsRect()) : changed;
}

void DigitLabel::changeText(const QString& text) {
    if (text == this->text())
        return;
    const QRegion changed = updatesEnabled() ? changedArea(this->text(), text) : QRegion();
    if (changed.isEmpty()) {
        setText(text);
        return;
    }
    // QLabel repaints its whole box for a new text; held back here in favour of the glyphs that
    // changed.
    setAttribute(Qt::WA_UpdatesDisabled, true);
    setText(text);
    setAttribute(Qt::WA_UpdatesDisabled, false);
    // Painted at once: a deferred update would be a posted event, waking the event loop a
    // second time each second.
    repaint(changed);
}

void DigitLabel::setBackdrop(Backdrop backdrop) {
    backdrop_ = std::move(backdrop);
    setAttribute(Qt::WA_OpaquePaintEvent, bool(backdrop_));
    update();
}

void DigitLabel::paintEvent(QPaintEvent* event) {
    Placed placed;
    if (!place(text(), placed)) {
        if (backdrop_) {
            QPainter painter(this);
            backdrop_(painter, event->rect());
        }
        QLabel::paintEvent(event);
        return;
    }
    // Only the glyphs whose ink reaches the repainted area: one or two of them, most seconds.
    Placed shown;
    for (qsizetype i = 0; i < placed.indexes.size(); ++i) {
        if (event->region().intersects(inkOf(placed, i))) {
            shown.indexes.append(placed.indexes[i]);
            shown.positions.append(placed.positions[i]);
        }
    }
    QPainter painter(this);
    if (backdrop_)
        backdrop_(painter, event->rect());
    if (shown.indexes.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(glyphs_.font);
    run.setRawData(shown.indexes.constData(), shown.positions.constData(),
                   static_cast<int>(shown.indexes.size()));
    painter.setPen(palette().color(foregroundRole()));
    painter.drawGlyphRun(QPointF(0, 0), run);
}

void DigitLabel::moveEvent(QMoveEvent* event) {
    // Qt moves an opaque widget by copying its pixels, which show what lay behind its old place.
    if (backdrop_)
        update();
    QLabel::moveEvent(event);
}

void DigitLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        glyphsReady_ = false;
    QLabel::changeEvent(event);
}
