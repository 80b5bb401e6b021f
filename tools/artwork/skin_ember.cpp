// "Ember": a glowing coal strip and a flame on the plain black face, no body picture.

#include "Drawing.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <tuple>

namespace {

// Charcoal lit from below, rising sparks on the right and the name in hot capitals.
void title(QPainter& p) {
    QLinearGradient coal(0, 0, 0, 14);
    coal.setColorAt(0.0, QColor(0x1c, 0x0d, 0x08));
    coal.setColorAt(0.6, QColor(0x3a, 0x12, 0x06));
    coal.setColorAt(1.0, QColor(0x7a, 0x22, 0x04));
    p.fillRect(QRectF(0, 0, 100, 14), coal);
    QRadialGradient heat(QPointF(30, 16), 40, QPointF(30, 16));
    heat.setColorAt(0.0, QColor(0xff, 0x7a, 0x1a, 120));
    heat.setColorAt(1.0, QColor(0xff, 0x7a, 0x1a, 0));
    p.fillRect(QRectF(0, 0, 100, 14), heat);
    p.fillRect(QRectF(0, 0, 100, 0.5), QColor(0x6a, 0x3a, 0x28));
    QLinearGradient rim(0, 0, 100, 0);
    rim.setColorAt(0.0, QColor(0xff, 0x5a, 0x10));
    rim.setColorAt(0.5, QColor(0xff, 0xc0, 0x40));
    rim.setColorAt(1.0, QColor(0xff, 0x5a, 0x10));
    p.fillRect(QRectF(0, 13.2, 100, 0.8), rim);

    // A few sparks rising to the right, the highest the smallest and faintest.
    p.setPen(Qt::NoPen);
    for (const auto& [x, y, r] :
         {std::tuple{82.0, 10.0, 1.3}, std::tuple{86.5, 6.5, 1.1}, std::tuple{91.0, 9.0, 1.0},
          std::tuple{90.0, 3.5, 0.8}, std::tuple{95.0, 5.5, 0.7}}) {
        const QPointF at(x, y);
        QRadialGradient spark(at, r * 2);
        spark.setColorAt(0.0, QColor(0xff, 0xf0, 0xb0));
        spark.setColorAt(0.35, QColor(0xff, 0xa0, 0x30, 200));
        spark.setColorAt(1.0, QColor(0xff, 0x50, 0x10, 0));
        p.setBrush(spark);
        p.drawEllipse(at, r * 2, r * 2);
    }

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(8);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.8);
    p.setFont(font);
    const QRectF box(6, 0, 70, 13.2);
    p.setPen(QColor(0x12, 0x04, 0x00));
    p.drawText(box.translated(0.5, 0.6), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("EMBER"));
    QLinearGradient ink(0, 3, 0, 11);
    ink.setColorAt(0.0, QColor(0xff, 0xfa, 0xea));
    ink.setColorAt(1.0, QColor(0xff, 0xb8, 0x5c));
    p.setPen(QPen(QBrush(ink), 1));
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("EMBER"));
}

// A flame: an outer tongue from deep orange to yellow and a white-hot core.
void flame(QPainter& p) {
    QPainterPath outer(QPointF(8, 0.8));
    outer.cubicTo(9.5, 4.2, 13.6, 6.4, 13.2, 10.2);
    outer.cubicTo(12.9, 13.4, 10.6, 15.2, 8, 15.2);
    outer.cubicTo(5.4, 15.2, 3.1, 13.4, 2.8, 10.4);
    outer.cubicTo(2.5, 7.6, 4.6, 6.4, 5.2, 3.8);
    outer.cubicTo(6.2, 5.2, 6.4, 6.6, 6.2, 7.8);
    outer.cubicTo(7.8, 5.8, 8.4, 3.6, 8, 0.8);
    QLinearGradient fire(0, 1, 0, 15);
    fire.setColorAt(0.0, QColor(0xff, 0x3c, 0x08));
    fire.setColorAt(0.5, QColor(0xff, 0x8a, 0x10));
    fire.setColorAt(1.0, QColor(0xff, 0xd0, 0x30));
    p.setPen(QPen(QColor(0x40, 0x08, 0x00), 0.8));
    p.setBrush(fire);
    p.drawPath(outer);

    QPainterPath core(QPointF(8.2, 7.2));
    core.cubicTo(9.2, 9.0, 10.8, 10.2, 10.4, 12.2);
    core.cubicTo(10.1, 13.7, 9.1, 14.2, 8, 14.2);
    core.cubicTo(6.8, 14.2, 5.8, 13.5, 5.7, 12.1);
    core.cubicTo(5.6, 10.6, 7.4, 9.6, 8.2, 7.2);
    QRadialGradient hot(QPointF(8, 12.4), 3.4);
    hot.setColorAt(0.0, QColor(0xff, 0xff, 0xf0));
    hot.setColorAt(1.0, QColor(0xff, 0xe0, 0x70));
    p.setPen(Qt::NoPen);
    p.setBrush(hot);
    p.drawPath(core);
}

} // namespace

bool drawEmber(const QDir& skins) {
    bool ok = true;
    ok &= save(render({100, 14}, 1, title).convertToFormat(QImage::Format_RGB32), skins,
               QStringLiteral("ember-title.bmp"));
    ok &= save(render({16, 16}, 1, flame), skins, QStringLiteral("ember-flame.ico"));
    return ok;
}
