#include "core/PictureContainers.h"

#include <QtEndian>

#include <algorithm>

namespace VD_Core {
namespace {

constexpr qsizetype kSignature = 8;
constexpr qsizetype kChunkFrame = 12; // length, type and checksum

bool ancillary(QByteArrayView type) {
    return (type[0] & 0x20) != 0; // a lower-case first letter
}

} // namespace

QByteArray pngImageChunks(QByteArrayView png) {
    QByteArray kept = png.first(std::min(png.size(), kSignature)).toByteArray();
    bool transparency = false;
    for (qsizetype at = kSignature; at < png.size();) {
        if (png.size() - at < kChunkFrame) {
            kept += png.sliced(at); // cut off: the decoder says so
            break;
        }
        const quint32 length = qFromBigEndian<quint32>(png.data() + at);
        const QByteArrayView type = png.sliced(at + 4, 4);
        const qsizetype end = length > quint32(png.size() - at - kChunkFrame)
                                  ? png.size()
                                  : at + kChunkFrame + qsizetype(length);
        const bool firstTransparency = type == "tRNS" && !transparency;
        if (!ancillary(type) || firstTransparency)
            kept += png.sliced(at, end - at);
        transparency = transparency || firstTransparency;
        if (type == "IEND")
            break;
        at = end;
    }
    return kept;
}

} // namespace VD_Core
