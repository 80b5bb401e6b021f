#include "core/SkinText.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace VD_Core {
namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';

// Windows-1252 where it differs from Latin-1; its five unassigned bytes keep their C1 code
// points, as the system's own conversion does.
constexpr std::array<char16_t, 32> kCp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : byte);
    }
    return text;
}

struct SplitLines {
    QList<QByteArrayView> lines;
    int ended = 0; // lines closed by a line end
};

// The first lineCount lines. A line end at the very end of the data starts no further line.
SplitLines splitLines(QByteArrayView bytes, int lineCount) {
    SplitLines split;
    qsizetype start = 0;
    while (split.lines.size() < lineCount && start < bytes.size()) {
        const qsizetype end = bytes.indexOf(kCR, start);
        if (end < 0) {
            split.lines << bytes.sliced(start);
            break;
        }
        split.lines << bytes.sliced(start, end - start);
        ++split.ended;
        start = end + 1;
        if (start < bytes.size() && bytes[start] == kLF)
            ++start;
    }
    return split;
}

// Keys are ASCII; only ASCII letters fold, as the format's own lower-casing does.
bool beginsWithKey(QStringView line, QLatin1StringView key) {
    if (line.size() < key.size())
        return false;
    for (qsizetype i = 0; i < key.size(); ++i) {
        char16_t c = line[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != key[i].unicode())
            return false;
    }
    return true;
}

QLatin1StringView keyText(SkinKey key) {
    using namespace Qt::Literals::StringLiterals;
    static constexpr std::array kKeys{"name="_L1,     "author="_L1,  "imgtitle="_L1, "imgbody="_L1,
                                      "imgalarm="_L1, "sndhour="_L1, "sndalarm="_L1};
    return kKeys[static_cast<size_t>(key) - static_cast<size_t>(SkinKey::Name)];
}

} // namespace

QString skinTextFromBytes(QByteArrayView bytes) {
    // Stateless: a sequence cut off at the end of the line is an error, not pending input.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                    QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromWindows1252(bytes) : text;
}

std::optional<SkinText> SkinText::read(const Platform::FileSystem& fileSystem, const QString& path,
                                       int lineCount) {
    const std::optional<Platform::FileHead> head =
        fileSystem.readRegularFile(path, kMaxSkinTextBytes);
    if (!head)
        return std::nullopt;
    return parse(head->bytes, head->whole, lineCount);
}

std::optional<SkinText> SkinText::parse(QByteArrayView bytes, bool whole, int lineCount) {
    lineCount = std::clamp(lineCount, 0, kLineCount);
    const SplitLines split = splitLines(bytes, lineCount);
    // A line still open where the bytes were cut off may go on far beyond the limit.
    if (!whole && split.ended < lineCount)
        return std::nullopt;
    SkinText text;
    for (QByteArrayView line : split.lines)
        text.lines_ << skinTextFromBytes(line);
    return text;
}

bool SkinText::isSkin() const {
    return !lines_.isEmpty() && lines_.front() == kSkinHeader;
}

std::optional<QString> SkinText::value(SkinKey key) const {
    const auto index = static_cast<qsizetype>(key) - 1;
    if (index >= lines_.size())
        return std::nullopt;
    const QString& line = lines_[index];
    const QLatin1StringView text = keyText(key);
    if (!beginsWithKey(line, text))
        return std::nullopt;
    return line.sliced(text.size());
}

} // namespace VD_Core
