#include "core/SkinPicture.h"

#include "core/PictureBudget.h"
#include "core/PictureFormat.h"
#include "core/SkinLog.h"

#include <QImageReader>

namespace VD_Core {
namespace {

// Enough for the largest picture at 64 bits a pixel, the widest format a decoder produces.
constexpr int kAllocationLimitMiB = kMaxPictureSide * kMaxPictureSide * 8 / (1024 * 1024);

QString sizeText(QSize size) {
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

} // namespace

bool pictureSizeAllowed(QSize size) {
    return size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide;
}

std::optional<QImage> decodePicture(const Platform::CpuClock& cpu, const QByteArray& bytes,
                                    QString* why) {
    const std::chrono::microseconds deadline = cpu.threadTime() + kPictureCutOff;
    const std::optional<PreparedPicture> picture = preparePicture(bytes, why);
    if (!picture)
        return std::nullopt;
    BudgetedPictureData data(picture->bytes, cpu, deadline);
    QImageReader reader(&data, picture->format);
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(kAllocationLimitMiB);
    const QSize claimed = reader.size();
    if (claimed.isValid() && !pictureSizeAllowed(claimed))
        return refusePicture(why, sizeClaimRefusal(claimed));
    QImage image = reader.read();
    // Also when the decoder finished without reading again: what took longer is refused.
    if (data.spent())
        return refusePicture(
            why,
            QStringLiteral("it takes more than %1 ms to decode").arg(kPictureCpuBudget.count()));
    if (image.isNull())
        return refusePicture(why, QStringLiteral("no picture: %1").arg(reader.errorString()));
    if (!pictureSizeAllowed(image.size()))
        return refusePicture(why, QStringLiteral("it has %1 pixels").arg(sizeText(image.size())));
    return image;
}

std::optional<QPixmap> loadPicture(const Platform::FileSystem& fileSystem,
                                   const Platform::CpuClock& cpu, const QString& path) {
    const std::optional<Platform::FileHead> file =
        fileSystem.readRegularFile(path, kMaxPictureFileBytes);
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
    const std::optional<QImage> image = decodePicture(cpu, file->bytes, &why);
    if (!image) {
        qCWarning(lcSkin).noquote() << QStringLiteral("picture refused, %1:").arg(why) << path;
        return std::nullopt;
    }
    return QPixmap::fromImage(*image);
}

} // namespace VD_Core
