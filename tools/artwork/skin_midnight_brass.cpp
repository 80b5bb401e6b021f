// "Midnight Brass": deep navy with engraved brass, its files in the subfolder "midnight".

#include "Drawing.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace {

const QColor kBrassLight(0xf6, 0xdf, 0x9a);
const QColor kBrass(0xd0, 0xa2, 0x4c);
const QColor kBrassDark(0x7a, 0x55, 0x1c);

QLinearGradient brass(QPointF from, QPointF to) {
    QLinearGradient g(from, to);
    g.setColorAt(0.0, kBrassLight);
    g.setColorAt(0.5, kBrass);
    g.setColorAt(1.0, kBrassDark);
    return g;
}

// A four-pointed star centred on `at`.
void sparkle(QPainter& p, QPointF at, qreal radius) {
    QPainterPath star;
    const qreal waist = radius * 0.28;
    star.moveTo(at + QPointF(0, -radius));
    star.quadTo(at + QPointF(waist, -waist), at + QPointF(radius, 0));
    star.quadTo(at + QPointF(waist, waist), at + QPointF(0, radius));
    star.quadTo(at + QPointF(-waist, waist), at + QPointF(-radius, 0));
    star.quadTo(at + QPointF(-waist, -waist), at + QPointF(0, -radius));
    p.drawPath(star);
}

void rivet(QPainter& p, QPointF at) {
    QRadialGradient g(at, 1.6, at - QPointF(0.5, 0.5));
    g.setColorAt(0.0, kBrassLight);
    g.setColorAt(1.0, kBrassDark);
    p.setPen(QPen(QColor(0x05, 0x07, 0x10), 0.4));
    p.setBrush(g);
    p.drawEllipse(at, 1.4, 1.4);
}

// Navy lacquer with a brass rule below, the name engraved between two rivets.
void title(QPainter& p) {
    QLinearGradient lacquer(0, 0, 0, 14);
    lacquer.setColorAt(0.0, QColor(0x25, 0x2f, 0x58));
    lacquer.setColorAt(0.5, QColor(0x12, 0x19, 0x36));
    lacquer.setColorAt(1.0, QColor(0x0a, 0x0e, 0x22));
    p.fillRect(QRectF(0, 0, 100, 14), lacquer);
    p.fillRect(QRectF(0, 0, 100, 0.5), QColor(0x5a, 0x68, 0x9c));
    p.fillRect(QRectF(0, 12.6, 100, 0.7), brass({0, 12}, {100, 14}));
    p.fillRect(QRectF(0, 13.3, 100, 0.7), QColor(0x03, 0x04, 0x0a));

    rivet(p, {4, 6.5});
    rivet(p, {96, 6.5});

    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(8);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.6);
    p.setFont(font);
    const QRectF box(0, 0, 100, 12.6);
    const QString name = QStringLiteral("MIDNIGHT");
    p.setPen(QColor(0x02, 0x03, 0x08));
    p.drawText(box.translated(0.5, 0.6), Qt::AlignCenter, name);
    p.setPen(QPen(QBrush(brass({0, 3}, {0, 10})), 1));
    p.drawText(box, Qt::AlignCenter, name);

    p.setPen(Qt::NoPen);
    p.setBrush(kBrass);
    sparkle(p, {14, 6.3}, 2.2);
    sparkle(p, {86, 6.3}, 2.2);
}

// A crescent moon: a disc with a smaller disc taken out of it.
QPainterPath crescent(QPointF centre, qreal radius) {
    QPainterPath moon;
    moon.addEllipse(centre, radius, radius);
    QPainterPath bite;
    bite.addEllipse(centre + QPointF(radius * 0.45, -radius * 0.25), radius * 0.85, radius * 0.85);
    return moon.subtracted(bite);
}

// The night sky: navy deepening to the edges, faint stars, a brass crescent and a brass
// hairline frame and divider that keep clear of the labels.
void body(QPainter& p) {
    QRadialGradient sky(QPointF(54, 30), 62);
    sky.setColorAt(0.0, QColor(0x1a, 0x25, 0x52));
    sky.setColorAt(0.55, QColor(0x0e, 0x15, 0x33));
    sky.setColorAt(1.0, QColor(0x04, 0x06, 0x12));
    p.fillRect(QRectF(0, 0, 100, 58), sky);
    drawStars(p, QRectF(2, 15, 96, 41), 46, 7, QColor(0xdc, 0xe4, 0xff, 150));

    const QPainterPath moon = crescent({9, 25}, 5);
    QRadialGradient glow(QPointF(9, 25), 10);
    glow.setColorAt(0.0, QColor(0xf6, 0xdf, 0x9a, 70));
    glow.setColorAt(1.0, QColor(0xf6, 0xdf, 0x9a, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(9, 25), 10, 10);
    p.setBrush(brass({5, 20}, {12, 30}));
    p.drawPath(moon);

    QColor line = kBrass;
    line.setAlpha(150);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(line, 0.6));
    p.drawRoundedRect(QRectF(1.3, 15.3, 97.4, 41.4), 3, 3);
    QLinearGradient rule(26, 0, 74, 0);
    rule.setColorAt(0.0, QColor(0xd0, 0xa2, 0x4c, 0));
    rule.setColorAt(0.5, QColor(0xd0, 0xa2, 0x4c, 200));
    rule.setColorAt(1.0, QColor(0xd0, 0xa2, 0x4c, 0));
    p.setPen(QPen(QBrush(rule), 0.6));
    p.drawLine(QPointF(24, 38.6), QPointF(76, 38.6));
    p.setPen(Qt::NoPen);
    p.setBrush(kBrass);
    sparkle(p, {50, 38.6}, 1.6);
}

// A brass bell outlined in the night's navy.
void bell(QPainter& p) {
    drawBell(p, brass({3, 2}, {13, 12}), QColor(0x0a, 0x0c, 0x1c), QColor(0xff, 0xf4, 0xd0, 190),
             kBrass);
}

} // namespace

bool drawMidnightBrass(const QDir& skins) {
    bool ok = true;
    ok &= save(render({100, 14}, 1, title).convertToFormat(QImage::Format_RGB32), skins,
               QStringLiteral("midnight/title.bmp"));
    ok &= save(render({100, 58}, 1, body), skins, QStringLiteral("midnight/body.png"));
    ok &= save(render({16, 16}, 1, bell), skins, QStringLiteral("midnight/bell.ico"));
    return ok;
}
