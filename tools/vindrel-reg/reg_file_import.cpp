#include "RegFile.h"

#include "KeyName.h"

#include <QStringDecoder>
#include <QStringList>
#include <QtEndian>

#include <utility>

namespace RegTool {

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kHeader4 = QStringLiteral("REGEDIT4");

// One line of the file after continuations are joined, with the number of the file's line it
// starts on.
struct FileLine {
    QString text;
    int number = 0;
};

// Reads a quoted string at `at` (on its opening quote), moving `at` past it. As regedit does,
// \\ stands for a backslash and \" for a quote; any other backslash is kept as it is.
std::optional<QString> unquote(const QString& line, qsizetype& at) {
    QString text;
    for (++at; at < line.size(); ++at) {
        const QChar c = line[at];
        if (c == u'"') {
            ++at;
            return text;
        }
        const bool escape =
            c == u'\\' && at + 1 < line.size() && (line[at + 1] == u'\\' || line[at + 1] == u'"');
        if (escape)
            ++at;
        text += line[at];
    }
    return std::nullopt;
}

std::optional<QByteArray> hexBytes(const QString& list) {
    QByteArray bytes;
    const QString compact = QString(list).remove(u' ').remove(u'\t');
    if (compact.isEmpty())
        return bytes;
    for (const QString& pair : compact.split(u',')) {
        bool ok = false;
        const uint byte = pair.toUInt(&ok, 16);
        if (!ok || pair.size() > 2)
            return std::nullopt;
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

bool isStringType(quint32 type) {
    return type == Hive::kRegSz || type == Hive::kRegExpandSz || type == Hive::kRegMultiSz;
}

QString fromWindows1252(const QByteArray& bytes) {
    // Qt reaches Windows-1252 through ICU; Latin-1 differs only in 0x80 to 0x9F.
    QStringDecoder decode("windows-1252");
    return decode.isValid() ? decode(bytes) : QString::fromLatin1(bytes);
}

// Text types come in UTF-16, or in REGEDIT4 files in 8-bit Windows-1252; the store takes its
// code page. Nothing, with `why` set, for UTF-16 of an odd number of bytes.
std::optional<QByteArray> storeBytes(quint32 type, const QByteArray& bytes, bool regedit4,
                                     QString& why) {
    if (!isStringType(type))
        return bytes;
    if (regedit4)
        return QByteArray::fromStdString(codePage(fromWindows1252(bytes)));
    if (bytes.size() % 2 != 0) {
        why = QStringLiteral("its hex(%1) data is %2 bytes, an odd number, which is no UTF-16 text")
                  .arg(type, 0, 16)
                  .arg(bytes.size());
        return std::nullopt;
    }
    QString text(bytes.size() / 2, Qt::Uninitialized);
    qFromLittleEndian<quint16>(bytes.constData(), text.size(), text.data());
    return QByteArray::fromStdString(codePage(text));
}

// The data after '=': "text", dword:, hex:, hex(type): or - (delete). Nothing, with `why` set,
// for data that is none of them.
std::optional<RegFileEntry> valueData(const QString& data, NamedValue value, bool regedit4,
                                      QString& why) {
    RegFileEntry entry{RegFileEntry::Kind::SetValue, {}, std::move(value)};
    why = QStringLiteral("cannot read the data %1").arg(data);
    if (data == QLatin1String("-")) {
        entry.kind = RegFileEntry::Kind::DeleteValue;
        return entry;
    }
    if (data.startsWith(u'"')) {
        qsizetype at = 0;
        const std::optional<QString> text = unquote(data, at);
        if (!text || at != data.size())
            return std::nullopt;
        entry.value.type = Hive::kRegSz;
        entry.value.data = QByteArray::fromStdString(codePage(*text)) + QByteArray(1, '\0');
        return entry;
    }
    if (data.startsWith(QLatin1String("dword:"))) {
        bool ok = false;
        const uint number = data.mid(6).toUInt(&ok, 16);
        if (!ok || data.size() > 6 + 8)
            return std::nullopt;
        entry.value.type = Hive::kRegDword;
        entry.value.data = QByteArray(4, '\0');
        qToLittleEndian(static_cast<quint32>(number), entry.value.data.data());
        return entry;
    }
    entry.value.type = Hive::kRegBinary;
    qsizetype listStart = 4;
    if (data.startsWith(QLatin1String("hex("))) {
        const qsizetype close = data.indexOf(QLatin1String("):"));
        bool ok = false;
        entry.value.type = data.mid(4, close - 4).toUInt(&ok, 16);
        if (close < 0 || !ok)
            return std::nullopt;
        listStart = close + 2;
    } else if (!data.startsWith(QLatin1String("hex:"))) {
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = hexBytes(data.mid(listStart));
    if (!bytes)
        return std::nullopt;
    const std::optional<QByteArray> stored = storeBytes(entry.value.type, *bytes, regedit4, why);
    if (!stored)
        return std::nullopt;
    entry.value.data = *stored;
    return entry;
}

std::optional<RegFileEntry> valueLine(const QString& line, const QString& path, bool regedit4,
                                      QString& why) {
    NamedValue value;
    qsizetype at = 1;
    why = QStringLiteral("cannot read the value %1").arg(line);
    if (line.startsWith(u'"')) {
        at = 0;
        const std::optional<QString> name = unquote(line, at);
        if (!name)
            return std::nullopt;
        value.name = *name;
    }
    if (at >= line.size() || line[at] != u'=')
        return std::nullopt;
    std::optional<RegFileEntry> entry = valueData(line.mid(at + 1).trimmed(), value, regedit4, why);
    if (entry)
        entry->path = path;
    return entry;
}

// The file's lines, ended by CR LF, LF or a CR alone; a line ending in a backslash after a
// comma or colon goes on in the next one.
QList<FileLine> joinedLines(const QString& text) {
    QList<FileLine> lines;
    bool continues = false;
    int number = 0;
    for (qsizetype at = 0; at <= text.size();) {
        qsizetype end = at;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        const QString line = text.mid(at, end - at).trimmed();
        at = end + (text.mid(end, 2) == QLatin1String("\r\n") ? 2 : 1);
        ++number;
        if (continues)
            lines.last().text += line;
        else
            lines.append({line, number});
        QString& last = lines.last().text;
        continues = last.endsWith(QLatin1String(",\\")) || last.endsWith(QLatin1String(":\\"));
        if (continues)
            last.chop(1);
    }
    return lines;
}

} // namespace

QString decodeRegFile(const QByteArray& bytes) {
    if (const std::optional<QStringConverter::Encoding> encoding =
            QStringConverter::encodingForData(bytes)) {
        QStringDecoder decode(*encoding);
        return decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? fromWindows1252(bytes) : text;
}

std::optional<QList<RegFileEntry>> parseRegFile(const QString& text, QString& error) {
    QList<RegFileEntry> entries;
    std::optional<QString> currentKey;
    bool headerSeen = false;
    bool regedit4 = false;
    for (const FileLine& fileLine : joinedLines(text)) {
        const QString& line = fileLine.text;
        const QString where = QStringLiteral("line %1: ").arg(fileLine.number);
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (!headerSeen) {
            regedit4 = line == kHeader4;
            headerSeen = regedit4 || line == kHeader;
            if (!headerSeen) {
                error = where + QStringLiteral("the file does not begin with \"%1\" or \"%2\"")
                                    .arg(kHeader, kHeader4);
                return std::nullopt;
            }
        } else if (line.startsWith(u'[') && line.endsWith(u']')) {
            const bool deletion = line.startsWith(QLatin1String("[-"));
            currentKey = keyPath(line.mid(deletion ? 2 : 1).chopped(1));
            if (!currentKey) {
                error = where + QStringLiteral("%1 is not a key of HKEY_CURRENT_USER").arg(line);
                return std::nullopt;
            }
            entries.append(
                {deletion ? RegFileEntry::Kind::DeleteKey : RegFileEntry::Kind::CreateKey,
                 *currentKey,
                 {}});
            if (deletion)
                currentKey.reset();
        } else if (line.startsWith(u'"') || line.startsWith(u'@')) {
            QString why = QStringLiteral("a value before any [key]");
            const std::optional<RegFileEntry> entry =
                currentKey ? valueLine(line, *currentKey, regedit4, why) : std::nullopt;
            if (!entry) {
                error = where + why;
                return std::nullopt;
            }
            entries.append(*entry);
        } else {
            error = where + QStringLiteral("cannot read %1").arg(line);
            return std::nullopt;
        }
    }
    if (!headerSeen) {
        error = QStringLiteral("the file is empty");
        return std::nullopt;
    }
    return entries;
}

Hive::Status applyRegFile(Hive::Store& store, const QList<RegFileEntry>& entries) {
    Hive::Transaction scope(store);
    for (const RegFileEntry& entry : entries) {
        Hive::Status status = Hive::kSuccess;
        if (entry.kind == RegFileEntry::Kind::DeleteKey) {
            const OpenedKey root(store, QString(), false);
            status = store.deleteTree(root.key(), codePage(entry.path));
            if (status == Hive::kFileNotFound)
                status = Hive::kSuccess;
        } else if (entry.kind == RegFileEntry::Kind::DeleteValue) {
            const OpenedKey key(store, entry.path, false);
            if (key.status() == Hive::kSuccess)
                store.deleteValue(key.key(), codePage(entry.value.name));
        } else {
            const OpenedKey key(store, entry.path, true);
            status = key.status();
            if (status == Hive::kSuccess && entry.kind == RegFileEntry::Kind::SetValue)
                status = key.set(entry.value);
        }
        if (status != Hive::kSuccess)
            return status;
    }
    return scope.commit();
}

} // namespace RegTool
