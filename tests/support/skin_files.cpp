#include "SkinFiles.h"

#include "core/SkinText.h"
#include "platform/FileName.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

SkinFiles::SkinFiles(const QString& programFolder)
    : folder_(programFolder + QStringLiteral("/Skins")) {}

QString SkinFiles::write(const QString& relative, const QByteArray& bytes) const {
    const QString path = folder_ + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QString SkinFiles::writeSkin(const QString& relative, const QStringList& lines,
                             const QByteArray& lineEnd) const {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + lineEnd;
    return write(relative, bytes);
}

QString SkinFiles::writePicture(const QString& relative, QSize size, QColor colour) const {
    const QString path = write(relative, {});
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    image.save(path);
    return path;
}

QByteArray bitmapClaiming(quint32 width, quint32 height) {
    QByteArray bytes(54 + 12, '\0');
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, bytes.data() + at); };
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, bytes.data() + at); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<quint32>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    put16(26, 1);
    put16(28, 24);
    return bytes;
}

QByteArray pngClaiming65535() {
    return QByteArray("\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44"
                      "\x52\x00\x00\xff\xff\x00\x00\xff\xff\x08\x06\x00\x00\x00\xb6"
                      "\x05\xd9\x50",
                      33);
}

QByteArray iconListing(int count, QColor colour, quint32 pastTheEnd) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray single;
    QBuffer buffer(&single);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "ico").write(image);
    // The file: a 6-byte header with the count, 16 bytes per entry, then the picture.
    constexpr int kHeader = 6;
    constexpr int kEntry = 16;
    const QByteArray picture = single.mid(kHeader + kEntry);
    QByteArray bytes = single.left(kHeader);
    qToLittleEndian<quint16>(static_cast<quint16>(count), bytes.data() + 4);
    const auto at = static_cast<quint32>(kHeader + kEntry * count);
    const quint32 offset =
        pastTheEnd == 0 ? at : at + static_cast<quint32>(picture.size()) + pastTheEnd;
    for (int i = 0; i < count; ++i) {
        QByteArray entry = single.mid(kHeader, kEntry);
        qToLittleEndian<quint32>(offset, entry.data() + 12);
        bytes += entry;
    }
    return bytes + picture;
}

QStringList skinLines(const QString& title, const QString& body, const QString& alarm,
                      const QString& hour, const QString& alarmSound) {
    return {QString(VD_Core::kSkinHeader),     QStringLiteral("name=Test"),
            QStringLiteral("author=Tester"),   QStringLiteral("imgtitle=") + title,
            QStringLiteral("imgbody=") + body, QStringLiteral("imgalarm=") + alarm,
            QStringLiteral("sndhour=") + hour, QStringLiteral("sndalarm=") + alarmSound};
}
