#include "RegFile.h"

#include "KeyName.h"

#include <QStringDecoder>
#include <QStringList>
#include <QtEndian>

#include <utility>

namespace RegTool {

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");

// Reads a quoted string at `at` (on its opening quote), undoing \\ and \"; moves `at` past it.
std::optional<QString> unquote(const QString& line, qsizetype& at) {
    QString text;
    for (++at; at < line.size(); ++at) {
        const QChar c = line[at];
        if (c == u'"') {
            ++at;
            return text;
        }
        if (c == u'\\' && at + 1 < line.size())
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

// Text types come in UTF-16 as the registry holds them; the store takes the 8-bit code page.
QByteArray storeBytes(quint32 type, const QByteArray& bytes) {
    if (!isStringType(type))
        return bytes;
    QString text(bytes.size() / 2, Qt::Uninitialized);
    qFromLittleEndian<quint16>(bytes.constData(), text.size(), text.data());
    return QByteArray::fromStdString(codePage(text));
}

// The data after '=': "text", dword:, hex:, hex(type): or - (delete).
std::optional<RegFileEntry> valueData(const QString& data, NamedValue value) {
    RegFileEntry entry{RegFileEntry::Kind::SetValue, {}, std::move(value)};
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
    entry.value.data = storeBytes(entry.value.type, *bytes);
    return entry;
}

std::optional<RegFileEntry> valueLine(const QString& line, const QString& path) {
    NamedValue value;
    qsizetype at = 1;
    if (line.startsWith(u'"')) {
        at = 0;
        const std::optional<QString> name = unquote(line, at);
        if (!name)
            return std::nullopt;
        value.name = *name;
    }
    if (at >= line.size() || line[at] != u'=')
        return std::nullopt;
    std::optional<RegFileEntry> entry = valueData(line.mid(at + 1).trimmed(), value);
    if (entry)
        entry->path = path;
    return entry;
}

// Lines ending in a backslash after a comma or colon go on in the next line.
QStringList joinedLines(const QString& text) {
    QStringList lines;
    bool continues = false;
    for (const QString& raw : QString(text).remove(u'\r').split(u'\n')) {
        QString line = raw.trimmed();
        if (continues)
            lines.last() += line;
        else
            lines << line;
        continues = lines.last().endsWith(QLatin1String(",\\")) ||
                    lines.last().endsWith(QLatin1String(":\\"));
        if (continues)
            lines.last().chop(1);
    }
    return lines;
}

} // namespace

QString decodeRegFile(const QByteArray& bytes) {
    const std::optional<QStringConverter::Encoding> encoding =
        QStringConverter::encodingForData(bytes);
    QStringDecoder decode(encoding.value_or(QStringConverter::Utf8));
    return decode(bytes);
}

std::optional<QList<RegFileEntry>> parseRegFile(const QString& text, QString& error) {
    const QStringList lines = joinedLines(text);
    QList<RegFileEntry> entries;
    std::optional<QString> currentKey;
    bool headerSeen = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (!headerSeen) {
            headerSeen = line == kHeader;
            if (!headerSeen) {
                error = where + QStringLiteral("the file does not begin with \"%1\"").arg(kHeader);
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
            const std::optional<RegFileEntry> entry =
                currentKey ? valueLine(line, *currentKey) : std::nullopt;
            if (!entry) {
                error = where + (currentKey ? QStringLiteral("cannot read the value %1").arg(line)
                                            : QStringLiteral("a value before any [key]"));
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
