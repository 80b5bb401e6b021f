#include "resources/BuiltinPictures.h"

#include <QGuiApplication>
#include <QImageReader>

namespace Builtin {
namespace {

// A picture of the program's own, read as the PNG it is: told nothing, Qt asks every image
// plugin whether it knows the file first, which loads them all and the libraries they need.
QPixmap png(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QPixmap picture(const QString& name) {
    const bool sharp = qApp != nullptr && qApp->devicePixelRatio() > 1.25;
    if (sharp) {
        QPixmap doubled = png(QStringLiteral(":/pictures/%1@2x.png").arg(name));
        if (!doubled.isNull()) {
            doubled.setDevicePixelRatio(2.0);
            return doubled;
        }
    }
    return png(QStringLiteral(":/pictures/%1.png").arg(name));
}

} // namespace

QPixmap titlePicture() {
    return picture(QStringLiteral("title"));
}

QPixmap alarmPicture() {
    return picture(QStringLiteral("alarm"));
}

QPixmap aboutLogo() {
    return picture(QStringLiteral("logo"));
}

QPixmap closePicture() {
    return picture(QStringLiteral("close"));
}

QCursor pointingHand() {
    return QCursor(png(QStringLiteral(":/pictures/hand.png")), 12, 8);
}

QIcon windowIcon() {
    QIcon icon;
    for (const int side : {16, 32, 64})
        icon.addPixmap(png(QStringLiteral(":/pictures/icon%1.png").arg(side)));
    return icon;
}

} // namespace Builtin
