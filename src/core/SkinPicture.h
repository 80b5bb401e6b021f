#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <optional>

namespace VD_Core {

// The largest picture file a skin may name.
inline constexpr qint64 kMaxPictureFileBytes = qint64{8} * 1024 * 1024;
// The widest and tallest picture a skin may use. The clock is 100 x 58 pixels; this leaves room
// for pictures drawn for screens scaled far beyond that.
inline constexpr int kMaxPictureSide = 2048;

// Decodes a picture in any format Qt reads (BMP, ICO, PNG, GIF, JPEG...). Nothing for data that
// is no picture, and for a picture wider or taller than kMaxPictureSide, which is refused before
// it is decoded when its header tells the size. The reason for a refusal goes to `why`.
std::optional<QImage> decodePicture(const QByteArray& bytes, QString* why = nullptr);

// Reads and decodes the picture file at the path: a regular file of at most
// kMaxPictureFileBytes. Refusals are logged under vindrel.skin.
std::optional<QPixmap> loadPicture(const QString& path);

} // namespace VD_Core
