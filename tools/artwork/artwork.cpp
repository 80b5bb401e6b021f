// Draws the program's built-in pictures and the sample skins' pictures as vector art and writes
// them into the two folders given as arguments.

#include "Drawing.h"

#include <QGuiApplication>
#include <QRandomGenerator>

#include <cstdio>

QImage render(QSize designSize, qreal scale, const Drawing& draw) {
    return renderTo(designSize * scale, designSize, draw);
}

QImage renderTo(QSize size, QSizeF designSize, const Drawing& draw) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size.width() / designSize.width(), size.height() / designSize.height());
    draw(painter);
    return image;
}

bool save(const QImage& image, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    dir.mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

void drawStars(QPainter& p, const QRectF& area, int count, quint32 seed, const QColor& colour) {
    QRandomGenerator random(seed);
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(area.left() + random.generateDouble() * area.width(),
                         area.top() + random.generateDouble() * area.height());
        const double brightness = 0.25 + 0.75 * random.generateDouble();
        QColor c = colour;
        c.setAlphaF(static_cast<float>(colour.alphaF() * brightness));
        p.setBrush(c);
        p.drawEllipse(at, 0.22 + 0.3 * brightness, 0.22 + 0.3 * brightness);
    }
    p.restore();
}

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vindrel-artwork BUILT-IN-FOLDER SKINS-FOLDER\n");
        return 2;
    }
    const QDir builtins(QString::fromLocal8Bit(argv[1]));
    const QDir skins(QString::fromLocal8Bit(argv[2]));
    bool ok = drawBuiltins(builtins);
    ok &= drawMidnightBrass(skins);
    ok &= drawAurora(skins);
    ok &= drawEmber(skins);
    return ok ? 0 : 1;
}
