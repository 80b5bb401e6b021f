#pragma once

#include "platform/CpuClock.h"
#include "platform/FileSystem.h"

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

// Whether a picture of this size may be used: at most kMaxPictureSide each way.
bool pictureSizeAllowed(QSize size);

// Decodes a picture in one of the formats the clock reads (PictureFormat.h) within
// kPictureCpuBudget of this thread's processor time (cpu) and Qt's allocation limit for the picture
// itself, its container walked first so that no decoder works on more than its pixels need.
// Nothing for data that is no such picture, for one still being decoded at kPictureCutOff, and
// for one wider or taller than kMaxPictureSide, refused before it is decoded when its header
// tells the size. The reason for a refusal goes to `why`.
std::optional<QImage> decodePicture(const Platform::CpuClock& cpu, const QByteArray& bytes,
                                    QString* why = nullptr);

// Reads and decodes the picture file at the path: a regular file of at most
// kMaxPictureFileBytes. Refusals are logged under vindrel.skin.
std::optional<QPixmap> loadPicture(const Platform::FileSystem& fileSystem,
                                   const Platform::CpuClock& cpu, const QString& path);

} // namespace VD_Core
