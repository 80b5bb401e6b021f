#include "RegFile.h"
#include "RegFileText.h"

#include "platform/RegularFile.h"

#include <QFileInfo>
#include <QStringDecoder>

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

LineReader::LineReader(const QString& text) : text_(text) {}

bool LineReader::next(FileLine& line) {
    if (at_ > text_.size())
        return false;
    qsizetype end = at_;
    while (end < text_.size() && text_[end] != u'\n' && text_[end] != u'\r')
        ++end;
    line.text = text_.sliced(at_, end - at_);
    line.number = ++number_;
    at_ = end + (text_.sliced(end).startsWith(QLatin1String("\r\n")) ? 2 : 1);
    return true;
}

QStringView skipBlanks(QStringView text) {
    qsizetype at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t'))
        ++at;
    return text.sliced(at);
}

bool endsTheLine(QStringView rest) {
    const QStringView left = skipBlanks(rest);
    return left.isEmpty() || left.startsWith(u';');
}

} // namespace RegTool
