#include "core/PictureFormat.h"

#include "core/PictureContainers.h"
#include "core/SkinPicture.h"

#include <QtEndian>

#include <array>

namespace VD_Core {
namespace {

// What may follow the two letters that begin a PBM, PGM or PPM header.
bool endsPortableMagic(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '#';
}

// Qt's name for the format the bytes begin like; "" for none the clock reads. Qt's own
// detection would also hand them to any other decoder installed on the machine, which no walk
// here has looked at.
QByteArray formatOf(QByteArrayView bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (bytes.startsWith("\xff\xd8\xff"))
        return "jpeg";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return "gif";
    if (bytes.startsWith("BM"))
        return "bmp";
    if (bytes.startsWith(QByteArrayView("\0\0\1\0", 4)))
        return "ico";
    if (bytes.startsWith(QByteArrayView("\0\0\2\0", 4)))
        return "cur";
    if (bytes.startsWith("/* XPM */"))
        return "xpm";
    if (bytes.startsWith("#define"))
        return "xbm";
    if (bytes.size() >= 3 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '6' &&
        endsPortableMagic(bytes[2]))
        return std::array{"pbm", "pgm", "ppm"}[(bytes[1] - '1') % 3]; // P1 to P3, then raw P4 to P6
    return {};
}

// A GIF's screen, on which its frames are drawn, is the size of the picture Qt makes.
std::optional<QSize> gifScreen(QByteArrayView gif) {
    if (gif.size() < 10)
        return std::nullopt;
    return QSize(qFromLittleEndian<quint16>(gif.data() + 6),
                 qFromLittleEndian<quint16>(gif.data() + 8));
}

// How many colours an XPM's first string declares: "width height colours chars-per-pixel".
std::optional<qint64> xpmColours(QByteArrayView xpm) {
    const qsizetype open = xpm.indexOf('"');
    const qsizetype close = open < 0 ? -1 : xpm.indexOf('"', open + 1);
    if (close < 0)
        return std::nullopt;
    const QList<QByteArray> values =
        xpm.sliced(open + 1, close - open - 1).toByteArray().simplified().split(' ');
    bool number = false;
    const qint64 colours = values.value(2).toLongLong(&number);
    return number ? std::optional(colours) : std::nullopt;
}

} // namespace

QString sizeClaimRefusal(QSize size) {
    return QStringLiteral("it claims %1 x %2 pixels").arg(size.width()).arg(size.height());
}

std::optional<PreparedPicture> preparePicture(const QByteArray& bytes, QString* why) {
    const QByteArray format = formatOf(bytes);
    if (format.isEmpty())
        return refusePicture(why, QStringLiteral("no picture in a format the clock reads"));
    if (format == "png")
        return PreparedPicture{format, pngImageChunks(bytes)};
    if (format == "jpeg") {
        std::optional<QByteArray> kept = jpegImageSegments(bytes, why);
        if (!kept)
            return std::nullopt;
        return PreparedPicture{format, *kept};
    }
    if (format == "gif") {
        const std::optional<QSize> screen = gifScreen(bytes);
        if (screen && !pictureSizeAllowed(*screen))
            return refusePicture(why, sizeClaimRefusal(*screen));
    }
    if (format == "xpm") {
        const std::optional<qint64> colours = xpmColours(bytes);
        if (colours && *colours > kMaxXpmColours)
            return refusePicture(why, QStringLiteral("it lists %1 colours, more than %2")
                                          .arg(*colours)
                                          .arg(kMaxXpmColours));
    }
    if (format == "ico" || format == "cur") {
        const std::optional<IconEntry> entry = firstIconEntry(bytes, why);
        if (!entry)
            return std::nullopt;
        if (entry->png)
            return PreparedPicture{"png", pngImageChunks(entry->bytes)};
    }
    return PreparedPicture{format, bytes};
}

} // namespace VD_Core
