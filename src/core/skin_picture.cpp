#include "SkinPicture.h"

#include "SkinLog.h"

#include <RegularFile.h>

#include <QBuffer>
#include <QImageReader>

namespace VD_Core {
namespace {

// Enough for the largest picture at 64 bits a pixel, the widest format a decoder produces.
constexpr int kAllocationLimitMiB = kMaxPictureSide * kMaxPictureSide * 8 / (1024 * 1024);

bool withinLimit(QSize size) {
    return size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide;
}

std::nullopt_t refuse(QString* why, const QString& reason) {
    if (why != nullptr)
        *why = reason;
    return std::nullopt;
}

QString sizeText(QSize size) {
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

} // namespace

std::optional<QImage> decodePicture(const QByteArray& bytes, QString* why) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(kAllocationLimitMiB);
    const QSize claimed = reader.size();
    if (claimed.isValid() && !withinLimit(claimed))
        return refuse(why, QStringLiteral("it claims %1 pixels").arg(sizeText(claimed)));
    QImage image = reader.read();
    if (image.isNull())
        return refuse(why, QStringLiteral("no picture: %1").arg(reader.errorString()));
    if (!withinLimit(image.size()))
        return refuse(why, QStringLiteral("it has %1 pixels").arg(sizeText(image.size())));
    return image;
}

std::optional<QPixmap> loadPicture(const QString& path) {
    const std::optional<Platform::FileHead> file =
        Platform::readRegularFile(path, kMaxPictureFileBytes);
    if (!file) {
        qCWarning(lcSkin) << "picture refused, missing or not a regular file:" << path;
        return std::nullopt;
    }
    if (!file->whole) {
        qCWarning(lcSkin) << "picture refused, larger than" << kMaxPictureFileBytes
                          << "bytes:" << path;
        return std::nullopt;
    }
    QString why;
    const std::optional<QImage> image = decodePicture(file->bytes, &why);
    if (!image) {
        qCWarning(lcSkin).noquote() << QStringLiteral("picture refused, %1:").arg(why) << path;
        return std::nullopt;
    }
    return QPixmap::fromImage(*image);
}

} // namespace VD_Core
