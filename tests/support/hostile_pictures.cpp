#include "HostilePictures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>

#include <array>

namespace Hostile {
namespace {

quint32 crc32(QByteArrayView bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (char byte : bytes)
        c = table[(c ^ static_cast<quint8>(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// The value's bytes, most significant first or last.
template <typename Number> QByteArray bigEndian(Number value) {
    QByteArray bytes(sizeof value, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

template <typename Number> QByteArray littleEndian(Number value) {
    QByteArray bytes(sizeof value, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QImage small() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QByteArray jpegSegment(quint8 marker, const QByteArray& payload) {
    return QByteArray("\xff") + char(marker) + bigEndian<quint16>(quint16(payload.size() + 2)) +
           payload;
}

// GIF image data: LZW codes packed from the lowest bit up, in sub-blocks of 255 bytes.
class GifCodes {
public:
    void put(quint32 code, int width) {
        bits_ |= quint64(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_ += char(bits_ & 0xFF);
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    qsizetype size() const { return bytes_.size(); }
    QByteArray subBlocks() {
        if (count_ > 0)
            put(0, 8 - count_);
        QByteArray out;
        for (qsizetype at = 0; at < bytes_.size(); at += 255) {
            const QByteArray block = bytes_.mid(at, 255);
            out += char(block.size()) + block;
        }
        return out + '\0';
    }

private:
    QByteArray bytes_;
    quint64 bits_ = 0;
    int count_ = 0;
};

QByteArray gifHeader(QSize screen, bool globalTable) {
    return QByteArray("GIF89a") + littleEndian<quint16>(quint16(screen.width())) +
           littleEndian<quint16>(quint16(screen.height())) +
           (globalTable ? "\x80" : QByteArray(1, '\0')) + QByteArray(2, '\0') +
           (globalTable ? QByteArray(6, '\0') : QByteArray());
}

QByteArray gifOnePixelFrame(QByteArray colourTableFlag, int colours) {
    return QByteArray(",") + QByteArray(4, '\0') + littleEndian<quint16>(1) +
           littleEndian<quint16>(1) + colourTableFlag + QByteArray(colours * 3, '\xff');
}

} // namespace

QByteArray encoded(const QImage& image, const char* format, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

QByteArray deflatedLetters(qsizetype bytes) {
    // qCompress puts the length before the zlib stream.
    return qCompress(QByteArray(bytes, 'a'), 9).mid(4);
}

QByteArray pngChunk(const char* type, const QByteArray& data) {
    const QByteArray body = QByteArray(type, 4) + data;
    return bigEndian<quint32>(quint32(data.size())) + body + bigEndian<quint32>(crc32(body));
}

QByteArray pngRepeating(const QByteArray& chunk, int count) {
    constexpr int kSignatureAndHeader = 8 + 25;
    const QByteArray png = encoded(small(), "png");
    return png.left(kSignatureAndHeader) + chunk.repeated(count) + png.mid(kSignatureAndHeader);
}

QByteArray pngCompressedText(qsizetype inflated) {
    return pngChunk("zTXt", QByteArray("Comment\0\0", 9) + deflatedLetters(inflated));
}

QByteArray pngCompressedXmp(qsizetype inflated) {
    return pngChunk("iTXt",
                    QByteArray("XML:com.adobe.xmp\0\1\0\0\0", 22) + deflatedLetters(inflated));
}

QByteArray pngColourProfile(qsizetype inflated) {
    return pngChunk("iCCP", QByteArray("icc\0\0", 5) + deflatedLetters(inflated));
}

QByteArray jpegRepeating(quint8 marker, const QByteArray& payload, int count) {
    const QByteArray jpeg = encoded(small(), "jpeg");
    return jpeg.left(2) + jpegSegment(marker, payload).repeated(count) + jpeg.mid(2);
}

QByteArray jpegEmptyScans(int side, int scans) {
    QImage grey(side, side, QImage::Format_Grayscale8);
    grey.fill(128);
    QByteArray jpeg = encoded(grey, "jpeg", true);
    jpeg.chop(2); // its end marker
    // An AC table of one code, so that every scan below names a table that exists.
    jpeg += jpegSegment(0xC4, QByteArray("\x10\x01", 2) + QByteArray(15, '\0') + '\0');
    // One component, coefficients 1 to 63, and no data before the next marker.
    const QByteArray scan("\xff\xda\x00\x08\x01\x01\x00\x01\x3f\x00", 10);
    return jpeg + scan.repeated(scans) + "\xff\xd9";
}

QByteArray jpegColourProfile(int segments) {
    constexpr int kChunk = 65519 - 14;
    QByteArray segmentsBytes;
    for (int n = 1; n <= segments; ++n)
        segmentsBytes += jpegSegment(0xE2, QByteArray("ICC_PROFILE\0", 12) + char(n) +
                                               char(segments) + QByteArray(kChunk, '\x11'));
    const QByteArray jpeg = encoded(small(), "jpeg");
    return jpeg.left(2) + segmentsBytes + jpeg.mid(2);
}

QByteArray jpegExif(int entries) {
    QByteArray ifd = bigEndian<quint16>(quint16(entries));
    // Orientation, a short, again and again.
    const QByteArray entry = QByteArray("\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00", 12);
    ifd += entry.repeated(entries) + QByteArray(4, '\0');
    return QByteArray("Exif\0\0MM\0\x2a\0\0\0\x08", 14) + ifd;
}

QByteArray jpegXmp(qsizetype bytes) {
    return QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + QByteArray(bytes, 'x');
}

QByteArray gifFrames(int frames, QSize screen) {
    // Each frame: clear, pixel 0, end, at 9 bits a code.
    const QByteArray data("\x08\x04\x00\x01\x04\x04\x00", 7);
    const QByteArray frame = gifOnePixelFrame("\x87", 256) + data;
    return gifHeader(screen, false) + frame.repeated(frames) + ';';
}

QByteArray gifLongCodes(qsizetype bytes) {
    // Two-bit pixels: clear is 4, end 5, and the first new string 6. Each code names the string
    // the decoder is about to make, one pixel longer than the last, until the table is full.
    constexpr quint32 kClear = 4;
    constexpr quint32 kEnd = 5;
    GifCodes codes;
    while (codes.size() < bytes) {
        int width = 3;
        codes.put(kClear, width);
        codes.put(0, width);
        for (quint32 next = 6; next < 4095; ++next) {
            codes.put(next, width);
            if (next + 1 == (1u << width) && width < 12)
                ++width;
        }
    }
    codes.put(kEnd, 12);
    const QByteArray frame = gifOnePixelFrame(QByteArray(1, '\0'), 0);
    return gifHeader({1, 1}, true) + frame + '\x02' + codes.subBlocks() + ';';
}

QByteArray xpmColours(int colours, int side) {
    constexpr int kCharsPerPixel = 4;
    const QByteArray alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-";
    auto key = [&](int n) {
        QByteArray k;
        for (int i = 0; i < kCharsPerPixel; ++i, n /= 64)
            k += alphabet[n % 64];
        return k;
    };
    QByteArray xpm = "/* XPM */\nstatic char *x[] = {\n\"" + QByteArray::number(side) + ' ' +
                     QByteArray::number(side) + ' ' + QByteArray::number(colours) + ' ' +
                     QByteArray::number(kCharsPerPixel) + "\",\n";
    for (int n = 0; n < colours; ++n)
        xpm += '"' + key(n) + " c #" + QByteArray::number(0x100000 + n % 0xEFFFFF, 16) + "\",\n";
    const QByteArray row = '"' + key(0).repeated(side) + "\",\n";
    return xpm + row.repeated(side) + "};\n";
}

QByteArray bitmapColourTable(quint32 colours) {
    QImage indexed = small().convertToFormat(QImage::Format_Indexed8);
    QByteArray bmp = encoded(indexed, "bmp");
    qToLittleEndian(colours, bmp.data() + 46);
    return bmp;
}

QByteArray iconHolding(const QByteArray& entry, bool cursor) {
    constexpr quint32 kEntryAt = 6 + 16;
    return littleEndian<quint16>(0) + littleEndian<quint16>(cursor ? 2 : 1) +
           littleEndian<quint16>(1) + QByteArray(4, '\0') + littleEndian<quint16>(1) +
           littleEndian<quint16>(32) + littleEndian<quint32>(quint32(entry.size())) +
           littleEndian<quint32>(kEntryAt) + entry;
}

QByteArray iconBitmapClaiming(quint32 width, quint32 height) {
    return littleEndian<quint32>(40) + littleEndian<quint32>(width) +
           littleEndian<quint32>(height * 2) + littleEndian<quint16>(1) +
           littleEndian<quint16>(32) + QByteArray(24, '\0') + QByteArray(4096, '\x7f');
}

} // namespace Hostile
