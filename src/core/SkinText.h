#pragma once

#include "platform/FileSystem.h"

#include <QByteArrayView>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>

#include <optional>

namespace VD_Core {

// The first line of every skin file, compared in full with letter case significant.
inline constexpr QLatin1StringView kSkinHeader{"Brambleton's Vindrel Skin v1_[A1]"};

// The most bytes a skin file's first eight lines may take together with their line ends. They
// hold a header, a name, an author and five file names, a few hundred bytes in practice.
inline constexpr qint64 kMaxSkinTextBytes = qint64{16} * 1024;

// Text as skins are written: UTF-8 when it is valid UTF-8, Windows-1252 otherwise. A byte-order
// mark stays part of it.
QString skinTextFromBytes(QByteArrayView bytes);

// The key lines, each numbered by the only line that may carry it.
enum class SkinKey {
    Name = 2,
    Author = 3,
    ImgTitle = 4,
    ImgBody = 5,
    ImgAlarm = 6,
    SndHour = 7,
    SndAlarm = 8
};

// The first lines of a skin file, read positionally. A line ends at a carriage return, and a line
// feed right after it belongs to the same end; a lone line feed is ordinary text. Nothing is
// trimmed: a byte-order mark stays part of line 1. Each line is decoded on its own, as UTF-8
// when it is valid UTF-8 and as Windows-1252 otherwise.
class SkinText {
public:
    static constexpr int kLineCount = 8;

    // Reads the file's first lineCount lines (at most kLineCount; the chooser needs three) and
    // never more. Nothing when the path names no regular file, it cannot be opened, or those
    // lines do not end within kMaxSkinTextBytes.
    static std::optional<SkinText> read(const Platform::FileSystem& fileSystem, const QString& path,
                                        int lineCount = kLineCount);

    // The same from bytes already read; `whole` tells that they are the entire file rather
    // than a part cut off at kMaxSkinTextBytes.
    static std::optional<SkinText> parse(QByteArrayView bytes, bool whole,
                                         int lineCount = kLineCount);

    // Line 1 is exactly the header.
    bool isSkin() const;

    // How many lines the file has, up to the number asked for.
    int lineCount() const { return static_cast<int>(lines_.size()); }

    // The rest of the key's own line when that line exists and begins with the key, compared
    // without regard to letter case; the value is verbatim and may be empty.
    std::optional<QString> value(SkinKey key) const;

    const QStringList& lines() const { return lines_; }

private:
    QStringList lines_;
};

} // namespace VD_Core
