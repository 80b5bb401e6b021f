#pragma once

#include <QDir>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QSize>
#include <QString>

#include <functional>

// Vector drawings made for a design-size canvas, rendered at any scale and saved to files.
using Drawing = std::function<void(QPainter&)>;

// Renders a drawing made for a design-size canvas at `scale` times that size, on transparency.
QImage render(QSize designSize, qreal scale, const Drawing& draw);

// Renders a drawing made for `designSize` onto a canvas of exactly `size` pixels.
QImage renderTo(QSize size, QSizeF designSize, const Drawing& draw);

// Saves in the format the file name's suffix names and prints the path; false on failure.
bool save(const QImage& image, const QDir& dir, const QString& name);

// Saves the images, one per size, as a Windows icon file; false on failure.
bool saveIconFile(const QList<QImage>& images, const QDir& dir, const QString& name);

// The outline of a hand bell on a 16 x 16 canvas, mouth down, without its clapper.
QPainterPath bellPath();

// A bell of the given metal with a shine on its shoulder and its clapper below.
void drawBell(QPainter& p, const QBrush& metal, const QColor& outline, const QColor& shine,
              const QBrush& clapper);

// Small stars of random size and brightness over an area, the same ones for the same seed.
void drawStars(QPainter& p, const QRectF& area, int count, quint32 seed, const QColor& colour);

// The built-in pictures: title strip, alarm bell and window icons.
bool drawBuiltins(const QDir& dir);

// The sample skins' pictures, each skin's files where its .vds file names them.
bool drawMidnightBrass(const QDir& skins);
bool drawAurora(const QDir& skins);
bool drawEmber(const QDir& skins);
