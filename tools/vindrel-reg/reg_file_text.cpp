#include "RegFile.h"
#include "RegFileText.h"

#include <RegularFile.h>

#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace RegTool {

QString fromWindows1252(const QByteArray& bytes) {
    // Qt reaches Windows-1252 through ICU; Latin-1 differs only in 0x80 to 0x9F.
    QStringDecoder decode("windows-1252");
    return decode.isValid() ? decode(bytes) : QString::fromLatin1(bytes);
}

QString decodeRegFile(const QByteArray& bytes) {
    if (const std::optional<QStringConverter::Encoding> encoding =
            QStringConverter::encodingForData(bytes)) {
        QStringDecoder decode(*encoding);
        return decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    text = QString(); // not held beside the second reading
    return fromWindows1252(bytes);
}

std::optional<QString> readRegFile(const QString& path, QString& error) {
    const std::optional<Platform::FileHead> file =
        Platform::readRegularFile(path, kMaxRegFileBytes);
    if (!file) {
        // Looked at without opening it, as the read did.
        const QFileInfo info(path);
        const QString why = !info.exists() ? QStringLiteral("there is no such file")
                            : !info.isFile()
                                ? QStringLiteral("it is a folder, pipe or device, not a file")
                                : QStringLiteral("it cannot be read");
        error = QStringLiteral("Cannot open %1: %2.").arg(path, why);
        return std::nullopt;
    }
    if (!file->whole) {
        error = QStringLiteral("%1 is larger than the %2 MiB an import reads. Nothing was "
                               "imported.")
                    .arg(path)
                    .arg(kMaxRegFileMiB);
        return std::nullopt;
    }
    return decodeRegFile(file->bytes);
}

LineReader::LineReader(QString& text) : text_(text.data()), size_(text.size()) {}

bool LineReader::next(FileLine& line) {
    if (at_ > size_)
        return false;
    line.number = number_ + 1;
    const QStringView first = physicalLine();
    QChar* const start = const_cast<QChar*>(first.data());
    qsizetype length = first.size();
    const auto continues = [&] {
        const QStringView joined(start, length);
        return joined.endsWith(QLatin1String(",\\")) || joined.endsWith(QLatin1String(":\\"));
    };
    // A joined line is never longer than the lines it is made of, so it fits where they were.
    while (continues()) {
        --length;
        if (at_ > size_)
            break;
        const QStringView next = physicalLine();
        std::copy(next.begin(), next.end(), start + length);
        length += next.size();
    }
    line.text = QStringView(start, length);
    return true;
}

QStringView LineReader::physicalLine() {
    const QStringView text(text_, size_);
    qsizetype end = at_;
    while (end < size_ && text[end] != u'\n' && text[end] != u'\r')
        ++end;
    const QStringView line = text.sliced(at_, end - at_).trimmed();
    at_ = end + (text.sliced(end).startsWith(QLatin1String("\r\n")) ? 2 : 1);
    ++number_;
    return line;
}

} // namespace RegTool
