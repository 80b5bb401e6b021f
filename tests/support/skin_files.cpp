#include "SkinFiles.h"

#include <SkinText.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

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

QStringList skinLines(const QString& title, const QString& body, const QString& alarm,
                      const QString& hour, const QString& alarmSound) {
    return {QString(VD_Core::kSkinHeader),     QStringLiteral("name=Test"),
            QStringLiteral("author=Tester"),   QStringLiteral("imgtitle=") + title,
            QStringLiteral("imgbody=") + body, QStringLiteral("imgalarm=") + alarm,
            QStringLiteral("sndhour=") + hour, QStringLiteral("sndalarm=") + alarmSound};
}
