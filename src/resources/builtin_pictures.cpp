#include "BuiltinPictures.h"

#include <QGuiApplication>

namespace Builtin {
namespace {

QPixmap picture(const QString& name) {
    const bool sharp = qApp != nullptr && qApp->devicePixelRatio() > 1.25;
    if (sharp) {
        QPixmap doubled(QStringLiteral(":/pictures/%1@2x.png").arg(name));
        if (!doubled.isNull()) {
            doubled.setDevicePixelRatio(2.0);
            return doubled;
        }
    }
    return QPixmap(QStringLiteral(":/pictures/%1.png").arg(name));
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
    return QCursor(QPixmap(QStringLiteral(":/pictures/hand.png")), 12, 8);
}

QIcon windowIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/pictures/icon16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/pictures/icon32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/pictures/icon64.png"), QSize(64, 64));
    return icon;
}

} // namespace Builtin
