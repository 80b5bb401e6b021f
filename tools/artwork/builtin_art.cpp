// The program's built-in pictures: the title strip, the alarm indicator and the window icon.

#include "AboutArt.h"
#include "Drawing.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// A graphite strip with a soft top highlight, the name in spaced capitals and a grip on the
// right that invites dragging.
void titleStrip(QPainter& p) {
    QLinearGradient body(0, 0, 0, 14);
    body.setColorAt(0.0, QColor(0x3a, 0x40, 0x4a));
    body.setColorAt(0.55, QColor(0x22, 0x26, 0x2d));
    body.setColorAt(1.0, QColor(0x14, 0x16, 0x1a));
    p.fillRect(QRectF(0, 0, 100, 14), body);
    p.fillRect(QRectF(0, 0, 100, 0.6), QColor(0x6c, 0x76, 0x86));
    p.fillRect(QRectF(0, 13.4, 100, 0.6), QColor(0x05, 0x06, 0x08));

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(8);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.4);
    p.setFont(font);
    p.setPen(QColor(0x0a, 0x0c, 0x0f));
    p.drawText(QRectF(5.5, 0.5, 70, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("VINDREL"));
    p.setPen(QColor(0xb8, 0xd4, 0xf0));
    p.drawText(QRectF(5, 0, 70, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VINDREL"));

    p.setPen(Qt::NoPen);
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 2; ++row) {
            const QPointF centre(81.5 + column * 4, 5 + row * 4);
            p.setBrush(QColor(0x08, 0x09, 0x0b));
            p.drawEllipse(centre + QPointF(0.5, 0.5), 0.9, 0.9);
            p.setBrush(QColor(0x8a, 0x96, 0xa8));
            p.drawEllipse(centre, 0.9, 0.9);
        }
    }
}

// A small amber bell with its clapper: the sign that alarms are on.
void alarmBell(QPainter& p) {
    const QPainterPath bell = bellPath();

    QLinearGradient gold(3, 2, 13, 12);
    gold.setColorAt(0.0, QColor(0xff, 0xe8, 0x8a));
    gold.setColorAt(0.5, QColor(0xf5, 0xb3, 0x1e));
    gold.setColorAt(1.0, QColor(0xb8, 0x6a, 0x08));
    p.setPen(QPen(QColor(0x3a, 0x22, 0x02), 0.9));
    p.setBrush(gold);
    p.drawPath(bell);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xf6, 0xd0, 200));
    p.drawEllipse(QRectF(5.2, 3.6, 1.8, 3.6));
    p.setPen(QPen(QColor(0x3a, 0x22, 0x02), 0.9));
    p.setBrush(QColor(0xf0, 0xa0, 0x10));
    p.drawEllipse(QPointF(8, 13.6), 1.5, 1.5);
    p.drawLine(QPointF(8, 0.4), QPointF(8, 1.6));
}

// A dark round face with a steel bezel and hands at ten past ten.
void clockIcon(QPainter& p) {
    const QPointF centre(16, 16);
    QRadialGradient bezel(centre, 16, QPointF(11, 9));
    bezel.setColorAt(0.0, QColor(0xd8, 0xe0, 0xea));
    bezel.setColorAt(1.0, QColor(0x4a, 0x52, 0x5e));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawEllipse(centre, 15.5, 15.5);
    QRadialGradient dial(centre, 13, QPointF(13, 11));
    dial.setColorAt(0.0, QColor(0x2a, 0x30, 0x3a));
    dial.setColorAt(1.0, QColor(0x05, 0x06, 0x08));
    p.setBrush(dial);
    p.drawEllipse(centre, 12.8, 12.8);

    p.setPen(QPen(QColor(0x9a, 0xb8, 0xd8), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; i += 3) {
        p.save();
        p.translate(centre);
        p.rotate(i * 30);
        p.drawLine(QPointF(0, -11), QPointF(0, -9));
        p.restore();
    }
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(-6.2, -3.6));
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(6.8, -7.2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf5, 0xb3, 0x1e));
    p.drawEllipse(centre, 1.8, 1.8);
}

// The icon's 32 x 32 design drawn onto any square size.
Drawing iconAt(int size) {
    return [size](QPainter& p) {
        p.scale(size / 32.0, size / 32.0);
        clockIcon(p);
    };
}

} // namespace

QPainterPath bellPath() {
    QPainterPath bell;
    bell.moveTo(8, 1.6);
    bell.cubicTo(11.6, 1.6, 12.6, 4.6, 12.6, 7.6);
    bell.lineTo(12.6, 10.2);
    bell.lineTo(14.4, 12.4);
    bell.lineTo(1.6, 12.4);
    bell.lineTo(3.4, 10.2);
    bell.lineTo(3.4, 7.6);
    bell.cubicTo(3.4, 4.6, 4.4, 1.6, 8, 1.6);
    bell.closeSubpath();
    return bell;
}

void drawBell(QPainter& p, const QBrush& metal, const QColor& outline, const QColor& shine,
              const QBrush& clapper) {
    p.setPen(QPen(outline, 0.85));
    p.setBrush(metal);
    p.drawPath(bellPath());
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(QRectF(5.15, 3.75, 1.7, 3.5));
    p.setPen(QPen(outline, 0.75));
    p.setBrush(clapper);
    p.drawEllipse(QPointF(8, 13.7), 1.4, 1.4);
}

bool drawBuiltins(const QDir& dir) {
    bool ok = true;
    ok &= save(render({100, 14}, 1, titleStrip), dir, QStringLiteral("title.png"));
    ok &= save(render({100, 14}, 2, titleStrip), dir, QStringLiteral("title@2x.png"));
    ok &= save(render({16, 16}, 1, alarmBell), dir, QStringLiteral("alarm.png"));
    ok &= save(render({16, 16}, 2, alarmBell), dir, QStringLiteral("alarm@2x.png"));
    for (int size : {16, 32, 64})
        ok &= save(render({size, size}, 1, iconAt(size)), dir,
                   QStringLiteral("icon%1.png").arg(size));
    QList<QImage> windowsIcon;
    for (int size : {16, 24, 32, 48, 64, 256})
        windowsIcon.append(render({size, size}, 1, iconAt(size)));
    ok &= saveIconFile(windowsIcon, dir, QStringLiteral("vindrel.ico"));
    ok &= save(render({120, 64}, 1, aboutLogo), dir, QStringLiteral("logo.png"));
    ok &= save(render({120, 64}, 2, aboutLogo), dir, QStringLiteral("logo@2x.png"));
    ok &= save(render({54, 53}, 1, closeButton), dir, QStringLiteral("close.png"));
    ok &= save(render({54, 53}, 2, closeButton), dir, QStringLiteral("close@2x.png"));
    ok &= save(render({32, 32}, 1, pointingHand), dir, QStringLiteral("hand.png"));
    return ok;
}
