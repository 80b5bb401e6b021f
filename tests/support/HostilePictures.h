#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Pictures made to make a decoder work far beyond their size in bytes: every way a decoder can
// amplify its input, for the hostile-skin tests and the picture fuzz target's seeds. Each is a
// well-formed file of its format apart from what it floods.
namespace Hostile {

// A picture encoded by Qt's writer for the format ("png", "jpeg", "bmp", ...).
QByteArray encoded(const QImage& image, const char* format, bool progressive = false);

// A zlib stream of `bytes` letters: a few kilobytes for megabytes.
QByteArray deflatedLetters(qsizetype bytes);

// One PNG chunk of the type, with its length and checksum.
QByteArray pngChunk(const char* type, const QByteArray& data);

// A 16 x 16 PNG with `count` copies of the chunk between its header and its image data.
QByteArray pngRepeating(const QByteArray& chunk, int count);

// PNG metadata chunks whose data inflates to `inflated` bytes: compressed text (zTXt), an
// international text compressed (iTXt, here XMP), and a colour profile (iCCP).
QByteArray pngCompressedText(qsizetype inflated);
QByteArray pngCompressedXmp(qsizetype inflated);
QByteArray pngColourProfile(qsizetype inflated);

// A 16 x 16 JPEG with `count` copies of the segment (marker and payload) after its start.
QByteArray jpegRepeating(quint8 marker, const QByteArray& payload, int count);

// A progressive grey JPEG of side x side pixels followed by `scans` scans that carry no data:
// each costs the decoder a pass over every block of the picture.
QByteArray jpegEmptyScans(int side, int scans);

// A 16 x 16 JPEG whose colour profile is split over `segments` APP2 segments of 65 KB.
QByteArray jpegColourProfile(int segments);

// An EXIF segment of `entries` directory entries, and an XMP one of `bytes` bytes.
QByteArray jpegExif(int entries);
QByteArray jpegXmp(qsizetype bytes);

// A GIF of `frames` frames on a screen of the size, each frame one pixel with a local colour
// table of 256 entries.
QByteArray gifFrames(int frames, QSize screen);

// A one-pixel GIF whose image data is `bytes` of codes that each stand for the longest string
// the decoder's table holds.
QByteArray gifLongCodes(qsizetype bytes);

// An XPM of side x side pixels with a colour table of `colours` entries.
QByteArray xpmColours(int colours, int side);

// A bitmap whose colour table claims `colours` entries.
QByteArray bitmapColourTable(quint32 colours);

// An icon (or a cursor) whose one entry holds the bytes, PNG or bitmap data.
QByteArray iconHolding(const QByteArray& entry, bool cursor = false);

// Bitmap data for an icon entry claiming width x height pixels, with rows for only a few.
QByteArray iconBitmapClaiming(quint32 width, quint32 height);

} // namespace Hostile
