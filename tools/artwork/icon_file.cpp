// The Windows icon file: a directory of images, each stored as a PNG, which every Windows since
// Vista reads and which keeps the largest size small.

#include "Drawing.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <cstdio>

namespace {

void putLittle16(QByteArray& out, quint16 value) {
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

void putLittle32(QByteArray& out, quint32 value) {
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

QByteArray pngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

bool saveIconFile(const QList<QImage>& images, const QDir& dir, const QString& name) {
    constexpr quint32 kHeaderBytes = 6;
    constexpr quint32 kEntryBytes = 16;
    QByteArray out;
    putLittle16(out, 0); // reserved
    putLittle16(out, 1); // an icon, not a cursor
    putLittle16(out, static_cast<quint16>(images.size()));
    QByteArray data;
    quint32 offset = kHeaderBytes + kEntryBytes * static_cast<quint32>(images.size());
    for (const QImage& image : images) {
        const QByteArray png = pngOf(image);
        // A side of 256 is written as 0, the field being one byte.
        out.append(static_cast<char>(image.width() & 0xff));
        out.append(static_cast<char>(image.height() & 0xff));
        out.append('\0');     // no palette
        out.append('\0');     // reserved
        putLittle16(out, 1);  // colour planes
        putLittle16(out, 32); // bits per pixel
        putLittle32(out, static_cast<quint32>(png.size()));
        putLittle32(out, offset);
        offset += static_cast<quint32>(png.size());
        data += png;
    }
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(out + data) != out.size() + data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    std::printf("%s\n", qPrintable(file.fileName()));
    return true;
}
