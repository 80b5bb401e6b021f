#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

namespace VD_Core {

// A picture's bytes made ready for Qt's decoder: the format told from its first bytes, and what
// of them the decoder is given once its container has been walked (PictureContainers.h).
struct PreparedPicture {
    QByteArray format; // Qt's name for it: "png", "jpeg", "gif", "bmp", "ico", ...
    QByteArray bytes;
};

// Nothing, and the reason in `why`, for bytes that begin like no format the clock reads (BMP,
// ICO, CUR, PNG, GIF, JPEG, PBM, PGM, PPM, XBM, XPM, whatever else Qt may read), or whose
// container is refused. An icon or cursor whose first picture is a PNG becomes that PNG.
std::optional<PreparedPicture> preparePicture(const QByteArray& bytes, QString* why);

// The reason for refusing a picture that claims a size beyond the limits.
QString sizeClaimRefusal(QSize size);

// Gives the reason to `why` when there is one to give; for returning from a refusal.
inline std::nullopt_t refusePicture(QString* why, const QString& reason) {
    if (why != nullptr)
        *why = reason;
    return std::nullopt;
}

} // namespace VD_Core
