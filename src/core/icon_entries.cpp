#include "core/PictureContainers.h"

#include "core/PictureFormat.h"
#include "core/SkinPicture.h"

#include <QtEndian>

#include <algorithm>
#include <climits>

namespace VD_Core {
namespace {

constexpr qsizetype kDirectory = 6;
constexpr qsizetype kEntry = 16;
constexpr qsizetype kBitmapHeader = 40;
constexpr QByteArrayView kPngSignature("\x89PNG\r\n\x1a\n", 8);

quint32 littleEndian32(QByteArrayView bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

} // namespace

std::optional<IconEntry> firstIconEntry(QByteArrayView icon, QString* why) {
    if (icon.size() < kDirectory + kEntry || qFromLittleEndian<quint16>(icon.data() + 4) == 0)
        return refusePicture(why, QStringLiteral("it lists no picture"));
    const QByteArrayView entry = icon.sliced(kDirectory, kEntry);
    const quint32 offset = littleEndian32(entry, 12);
    if (offset >= quint32(icon.size()))
        return refusePicture(why, QStringLiteral("its first picture begins beyond its end"));
    // A size running past the end is cut at it, as Qt's reader reads no further either.
    const QByteArrayView bytes = icon.sliced(offset).first(
        std::min<qsizetype>(littleEndian32(entry, 8), icon.size() - offset));
    if (bytes.startsWith(kPngSignature))
        return IconEntry{true, bytes};
    if (bytes.size() < kBitmapHeader)
        return refusePicture(why, QStringLiteral("its first picture is cut off"));
    // Qt's reader takes a side of 0 in the directory (256 and more) from the bitmap's header,
    // whose height counts the mask too.
    const quint32 width = quint8(entry[0]) != 0 ? quint8(entry[0]) : littleEndian32(bytes, 4);
    const quint32 height = quint8(entry[1]) != 0 ? quint8(entry[1]) : littleEndian32(bytes, 8) / 2;
    if (width == 0 || height == 0 || width > quint32(kMaxPictureSide) ||
        height > quint32(kMaxPictureSide))
        return refusePicture(why, sizeClaimRefusal(QSize(int(std::min<quint32>(width, INT_MAX)),
                                                         int(std::min<quint32>(height, INT_MAX)))));
    return IconEntry{false, bytes};
}

} // namespace VD_Core
