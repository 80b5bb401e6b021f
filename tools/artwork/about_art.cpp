#include "AboutArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// A small round clock face, the program's emblem, centred on `c` with radius `r`.
void emblem(QPainter& p, QPointF c, qreal r) {
    QRadialGradient bezel(c, r, c - QPointF(r * 0.3, r * 0.4));
    bezel.setColorAt(0.0, QColor(0xd8, 0xe0, 0xea));
    bezel.setColorAt(1.0, QColor(0x4a, 0x52, 0x5e));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawEllipse(c, r, r);
    QRadialGradient dial(c, r * 0.85, c - QPointF(r * 0.2, r * 0.3));
    dial.setColorAt(0.0, QColor(0x2a, 0x30, 0x3a));
    dial.setColorAt(1.0, QColor(0x05, 0x06, 0x08));
    p.setBrush(dial);
    p.drawEllipse(c, r * 0.82, r * 0.82);
    p.setPen(QPen(QColor(0x9a, 0xb8, 0xd8), r * 0.09, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 30);
        p.drawLine(QPointF(0, -r * 0.72), QPointF(0, -r * (i % 3 == 0 ? 0.56 : 0.64)));
        p.restore();
    }
    p.setPen(QPen(Qt::white, r * 0.14, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(-r * 0.38, -r * 0.22));
    p.setPen(QPen(Qt::white, r * 0.09, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(r * 0.42, -r * 0.45));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf5, 0xb3, 0x1e));
    p.drawEllipse(c, r * 0.1, r * 0.1);
}

} // namespace

// The emblem beside the name, in steel-blue capitals on the black face of the About box.
void aboutLogo(QPainter& p) {
    p.fillRect(QRectF(0, 0, 120, 64), Qt::black);
    emblem(p, QPointF(24, 30), 20);

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(17);
    name.setBold(true);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    p.setFont(name);
    QLinearGradient steel(0, 14, 0, 36);
    steel.setColorAt(0.0, QColor(0xe8, 0xf2, 0xff));
    steel.setColorAt(1.0, QColor(0x7c, 0xa4, 0xd0));
    p.setPen(QPen(QBrush(steel), 1));
    p.drawText(QRectF(48, 12, 72, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vindrel"));

    QFont tag(QStringLiteral("DejaVu Sans"));
    tag.setPixelSize(8);
    tag.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    p.setFont(tag);
    p.setPen(QColor(0xf5, 0xb3, 0x1e));
    p.drawText(QRectF(49, 36, 72, 12), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("DESK CLOCK"));
}

// A round graphite button with a light cross, on black.
void closeButton(QPainter& p) {
    p.fillRect(QRectF(0, 0, 54, 53), Qt::black);
    const QPointF c(29, 24);
    QRadialGradient body(c, 18, c - QPointF(6, 8));
    body.setColorAt(0.0, QColor(0x5a, 0x62, 0x70));
    body.setColorAt(1.0, QColor(0x1a, 0x1d, 0x22));
    p.setPen(QPen(QColor(0x8a, 0x96, 0xa8), 1.5));
    p.setBrush(body);
    p.drawEllipse(c, 17, 17);
    p.setPen(QPen(QColor(0xf0, 0xf4, 0xfa), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-6.5, -6.5), c + QPointF(6.5, 6.5));
    p.drawLine(c + QPointF(6.5, -6.5), c + QPointF(-6.5, 6.5));
}

// A white hand with its index finger raised, outlined in black.
void pointingHand(QPainter& p) {
    QPainterPath hand;
    hand.moveTo(10, 9);
    hand.cubicTo(10, 6.5, 14, 6.5, 14, 9);
    hand.lineTo(14, 15);
    hand.cubicTo(14, 13.2, 17.6, 13.2, 17.6, 15.4);
    hand.cubicTo(17.6, 13.6, 21.2, 13.6, 21.2, 16);
    hand.cubicTo(21.2, 14.4, 24.6, 14.4, 24.6, 16.8);
    hand.lineTo(24.6, 22);
    hand.cubicTo(24.6, 26, 22.6, 28.4, 21.6, 30);
    hand.lineTo(12.4, 30);
    hand.cubicTo(11, 27.6, 8.6, 25.4, 6.6, 22.4);
    hand.cubicTo(5.2, 20.4, 7.4, 18.6, 9.2, 20.2);
    hand.lineTo(10, 21);
    hand.closeSubpath();
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(Qt::black, 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 15), QPointF(14, 20));
    p.drawLine(QPointF(17.6, 15.4), QPointF(17.6, 20));
    p.drawLine(QPointF(21.2, 16), QPointF(21.2, 20.4));
}
