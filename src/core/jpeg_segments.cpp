#include "core/PictureContainers.h"

#include "core/PictureFormat.h"

#include <QtEndian>

#include <algorithm>

namespace VD_Core {
namespace {

constexpr quint8 kStartOfScan = 0xDA;
constexpr quint8 kEndOfImage = 0xD9;
constexpr quint8 kComment = 0xFE;
constexpr quint8 kJfif = 0xE0;
constexpr quint8 kAdobe = 0xEE;

quint8 byteAt(QByteArrayView bytes, qsizetype at) {
    return static_cast<quint8>(bytes[at]);
}

// Markers without a length: the restarts, a second start of image, and the temporary marker.
bool standalone(quint8 marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

bool application(quint8 marker) {
    return marker >= 0xE0 && marker <= 0xEF;
}

// Where the next marker after `from` begins: its 0xFF, after any fill bytes. Bytes between
// segments are garbage the decoder skips as well.
qsizetype nextMarker(QByteArrayView jpeg, qsizetype from) {
    const qsizetype at = jpeg.indexOf('\xff', from);
    if (at < 0)
        return jpeg.size();
    qsizetype marker = at + 1;
    while (marker < jpeg.size() && byteAt(jpeg, marker) == 0xFF)
        ++marker;
    return marker - 1;
}

// Where the coded data of a scan, starting at `from`, ends: at the first marker that is neither
// a stuffed 0xFF nor a restart.
qsizetype endOfScanData(QByteArrayView jpeg, qsizetype from) {
    for (qsizetype at = from; (at = nextMarker(jpeg, at)) + 1 < jpeg.size(); at += 2) {
        const quint8 marker = byteAt(jpeg, at + 1);
        if (marker != 0x00 && !(marker >= 0xD0 && marker <= 0xD7))
            return at;
    }
    return jpeg.size();
}

class Segments {
public:
    // Whether the segment of this marker goes to the decoder.
    bool keep(quint8 marker) {
        if (marker == kComment)
            return false;
        if (!application(marker))
            return true;
        bool& seen = marker == kJfif ? jfif_ : adobe_;
        const bool first = (marker == kJfif || marker == kAdobe) && !seen;
        seen = seen || first;
        return first;
    }

private:
    bool jfif_ = false;
    bool adobe_ = false;
};

} // namespace

std::optional<QByteArray> jpegImageSegments(QByteArrayView jpeg, QString* why) {
    QByteArray kept = jpeg.first(std::min<qsizetype>(jpeg.size(), 2)).toByteArray();
    Segments segments;
    int scans = 0;
    for (qsizetype at = nextMarker(jpeg, 2); at + 1 < jpeg.size(); at = nextMarker(jpeg, at)) {
        const quint8 marker = byteAt(jpeg, at + 1);
        if (marker == kEndOfImage) {
            kept += jpeg.sliced(at, 2);
            break;
        }
        if (standalone(marker))
            kept += jpeg.sliced(at, 2);
        if (standalone(marker) || marker == 0x00) { // a stuffed byte out of a scan is garbage
            at += 2;
            continue;
        }
        if (jpeg.size() - at < 4) {
            kept += jpeg.sliced(at); // cut off: the decoder says so
            break;
        }
        const qsizetype end = std::min(
            jpeg.size(), at + 2 + qsizetype(qFromBigEndian<quint16>(jpeg.data() + at + 2)));
        if (marker == kStartOfScan && ++scans > kMaxJpegScans)
            return refusePicture(why,
                                 QStringLiteral("it has more than %1 scans").arg(kMaxJpegScans));
        if (segments.keep(marker))
            kept += jpeg.sliced(at, end - at);
        at = std::max(end, at + 2);
        if (marker == kStartOfScan) {
            const qsizetype data = endOfScanData(jpeg, at);
            kept += jpeg.sliced(at, data - at);
            at = data;
        }
    }
    return kept;
}

} // namespace VD_Core
