#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Walks through the containers of the formats whose decoders would otherwise do work out of all
// proportion to the bytes, before anything is decoded: only what the pixels need is handed on.
namespace VD_Core {

// The most scans a JPEG may have. Each costs a pass over every block of the picture, however few
// its bytes; encoders write about ten.
inline constexpr int kMaxJpegScans = 100;

// The most colours an XPM may list. Each costs a parse and an entry in a table; icons, which
// XPM is made for, have a few hundred at most.
inline constexpr int kMaxXpmColours = 65536;

// The PNG with its critical chunks and its first transparency chunk only: ancillary chunks (text,
// compressed or not, colour profiles, EXIF, anything unknown) are dropped unread. The pixels
// are the same, as Qt applies none of those to them.
QByteArray pngImageChunks(QByteArrayView png);

// The JPEG without comments and without application segments but its first JFIF and Adobe ones
// (which say how its colours are coded): EXIF, XMP and colour profiles are dropped unread.
// Nothing, with the reason in `why`, when it has more than kMaxJpegScans scans.
std::optional<QByteArray> jpegImageSegments(QByteArrayView jpeg, QString* why);

// The first picture of an icon or cursor, the one Qt's reader decodes.
struct IconEntry {
    bool png = false;     // a PNG, rather than bitmap data
    QByteArrayView bytes; // its bytes within the icon
};

// Nothing, with the reason in `why`, when the first picture begins beyond the file's end or is
// bitmap data claiming no pixels or more than kMaxPictureSide a side.
std::optional<IconEntry> firstIconEntry(QByteArrayView icon, QString* why);

} // namespace VD_Core
