// "Aurora": northern lights over a dark ridge, its title strip and bell drawn at three times the
// size of their controls, which stretch them back.

#include "Drawing.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>

namespace {

const QColor kGreen(0x3d, 0xff, 0xa8);
const QColor kTeal(0x2f, 0xd4, 0xe0);
const QColor kViolet(0x9a, 0x6c, 0xff);

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

// One curtain of light: a wavy band whose glow is built from wide faint strokes and a
// narrower brighter one, fading out at both ends.
void curtain(QPainter& p, const QPainterPath& path, const QColor& colour, qreal width,
             qreal strength) {
    const QRectF box = path.boundingRect();
    for (const auto& [scale, alpha] :
         {std::pair{1.0, 0.16}, std::pair{0.6, 0.22}, std::pair{0.28, 0.35}}) {
        QLinearGradient fade(box.left(), 0, box.right(), 0);
        fade.setColorAt(0.0, withAlpha(colour, 0));
        fade.setColorAt(0.3, withAlpha(colour, static_cast<int>(255 * alpha * strength)));
        fade.setColorAt(0.7, withAlpha(colour, static_cast<int>(255 * alpha * strength)));
        fade.setColorAt(1.0, withAlpha(colour, 0));
        p.setPen(QPen(QBrush(fade), width * scale, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
}

// Rays rising from a curtain's lower edge, brightest at the edge and fading upwards.
void rays(QPainter& p, const QPainterPath& edge, const QColor& colour, qreal height, int count,
          qreal strength) {
    for (int i = 0; i <= count; ++i) {
        const qreal t = static_cast<qreal>(i) / count;
        const QPointF foot = edge.pointAtPercent(t);
        const qreal taper = std::sin(t * 3.14159) * strength;
        const qreal length = height * (0.6 + 0.4 * std::sin(t * 37.0));
        QLinearGradient ray(foot, foot - QPointF(0, length));
        ray.setColorAt(0.0, withAlpha(colour, static_cast<int>(150 * taper)));
        ray.setColorAt(0.25, withAlpha(colour, static_cast<int>(70 * taper)));
        ray.setColorAt(1.0, withAlpha(colour, 0));
        p.setPen(QPen(QBrush(ray), 0.7, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(foot, foot - QPointF(0, length));
    }
}

QPainterPath wave(QPointF start, std::initializer_list<QPointF> controls) {
    QPainterPath path(start);
    const QList<QPointF> points(controls);
    for (qsizetype i = 0; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    return path;
}

// Night glass with a ribbon of light along its lower edge and the name in pale capitals.
void title(QPainter& p) {
    QLinearGradient night(0, 0, 0, 14);
    night.setColorAt(0.0, QColor(0x12, 0x2a, 0x3a));
    night.setColorAt(0.6, QColor(0x07, 0x14, 0x20));
    night.setColorAt(1.0, QColor(0x04, 0x0a, 0x12));
    p.fillRect(QRectF(0, 0, 100, 14), night);
    p.fillRect(QRectF(0, 0, 100, 0.35), QColor(0x6a, 0x9c, 0xb4, 160));
    drawStars(p, QRectF(0, 1, 100, 9), 22, 3, QColor(0xe8, 0xf4, 0xff, 190));

    QLinearGradient ribbon(0, 0, 100, 0);
    ribbon.setColorAt(0.0, withAlpha(kViolet, 0));
    ribbon.setColorAt(0.25, kViolet);
    ribbon.setColorAt(0.55, kTeal);
    ribbon.setColorAt(0.85, kGreen);
    ribbon.setColorAt(1.0, withAlpha(kGreen, 0));
    p.fillRect(QRectF(0, 12.9, 100, 0.6), ribbon);
    p.fillRect(QRectF(0, 13.5, 100, 0.5), QColor(0x02, 0x05, 0x08));

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(7);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.6);
    p.setFont(font);
    QLinearGradient ink(0, 3, 0, 11);
    ink.setColorAt(0.0, QColor(0xf0, 0xff, 0xfa));
    ink.setColorAt(1.0, QColor(0x9c, 0xe8, 0xd8));
    const QRectF box(0, 0, 100, 12.8);
    p.setPen(QColor(0x3d, 0xff, 0xa8, 60));
    p.drawText(box.translated(0, 0.35), Qt::AlignCenter, QStringLiteral("AURORA"));
    p.setPen(QPen(QBrush(ink), 1));
    p.drawText(box, Qt::AlignCenter, QStringLiteral("AURORA"));
}

// The sky darkening upwards, curtains of green, teal and violet, stars, and a black ridge of
// hills and firs along the bottom.
void body(QPainter& p) {
    QLinearGradient sky(0, 14, 0, 58);
    sky.setColorAt(0.0, QColor(0x03, 0x0a, 0x14));
    sky.setColorAt(0.55, QColor(0x06, 0x16, 0x24));
    sky.setColorAt(1.0, QColor(0x0e, 0x18, 0x30));
    p.fillRect(QRectF(0, 0, 100, 58), sky);
    drawStars(p, QRectF(0, 14, 100, 36), 40, 11, QColor(0xe8, 0xf4, 0xff, 170));

    const QPainterPath high =
        wave({-6, 30}, {{16, 24}, {40, 36}, {60, 26}, {80, 18}, {92, 28}, {106, 22}});
    const QPainterPath main =
        wave({-6, 42}, {{20, 30}, {38, 50}, {58, 38}, {74, 28}, {88, 42}, {106, 32}});
    const QPainterPath low =
        wave({-4, 48}, {{18, 42}, {36, 52}, {56, 46}, {76, 40}, {90, 50}, {106, 44}});
    rays(p, high, kViolet, 12, 70, 0.7);
    curtain(p, high, kViolet, 6, 0.5);
    rays(p, main, kGreen, 20, 110, 1.0);
    curtain(p, main, kGreen, 8, 0.8);
    rays(p, low, kTeal, 9, 80, 0.7);
    curtain(p, low, kTeal, 5, 0.6);

    QPainterPath ridge(QPointF(0, 58));
    ridge.lineTo(0, 52);
    ridge.cubicTo(14, 47, 24, 50, 34, 51.5);
    ridge.cubicTo(46, 53, 60, 47.5, 72, 48.5);
    ridge.cubicTo(84, 49.5, 92, 51, 100, 49);
    ridge.lineTo(100, 58);
    ridge.closeSubpath();
    for (const auto& [x, h] : {std::pair{20.0, 5.5}, std::pair{23.5, 4.0}, std::pair{66.0, 6.0},
                               std::pair{69.5, 4.5}, std::pair{94.0, 5.0}}) {
        const qreal base = 51;
        QPainterPath fir(QPointF(x, base - h));
        fir.lineTo(x + h * 0.32, base);
        fir.lineTo(x - h * 0.32, base);
        fir.closeSubpath();
        ridge = ridge.united(fir);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x01, 0x03, 0x06));
    p.drawPath(ridge);
}

// A bell of pale glass lit from within, bright enough to read at 16 pixels.
void bell(QPainter& p) {
    QRadialGradient halo(QPointF(8, 8), 8);
    halo.setColorAt(0.0, withAlpha(kTeal, 110));
    halo.setColorAt(1.0, withAlpha(kTeal, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(QPointF(8, 8), 8, 8);

    QLinearGradient glass(3, 2, 13, 13);
    glass.setColorAt(0.0, QColor(0xf2, 0xff, 0xfb));
    glass.setColorAt(0.45, QColor(0x8c, 0xf0, 0xd8));
    glass.setColorAt(1.0, QColor(0x2a, 0x9c, 0xc0));
    drawBell(p, glass, QColor(0x05, 0x24, 0x30), QColor(0xff, 0xff, 0xff, 200), kGreen);
}

} // namespace

bool drawAurora(const QDir& skins) {
    bool ok = true;
    ok &= save(render({100, 14}, 3, title), skins, QStringLiteral("aurora-title.png"));
    ok &= save(render({100, 58}, 1, body), skins, QStringLiteral("aurora-sky.png"));
    ok &= save(render({16, 16}, 3, bell), skins, QStringLiteral("aurora-bell.png"));
    return ok;
}
