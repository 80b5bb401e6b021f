#include "RegFile.h"

#include "KeyName.h"
#include "RegFileText.h"

#include <QStringList>
#include <QtEndian>

#include <utility>

namespace RegTool {

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kHeader4 = QStringLiteral("REGEDIT4");

// Reads a quoted string at `at` (on its opening quote), moving `at` past it. As regedit does,
// \\ stands for a backslash and \" for a quote; any other backslash is kept as it is.
std::optional<QString> unquote(QStringView line, qsizetype& at) {
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

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return u >= u'A' && u <= u'F' ? u - u'A' + 10 : -1;
}

// The bytes of a list such as "01,ab, 2", spaces and tabs passed over; nothing when an item is
// not one or two hex digits. Read in place: lists are most of a large file.
std::optional<QByteArray> hexBytes(QStringView list) {
    QByteArray bytes;
    bytes.reserve(list.size() / 3 + 1);
    int digits = 0;
    int byte = 0;
    bool empty = true;
    for (const QChar c : list) {
        if (c == u' ' || c == u'\t')
            continue;
        empty = false;
        const int digit = hexDigit(c);
        if (c == u',' && digits > 0) {
            bytes += static_cast<char>(byte);
            digits = 0;
            byte = 0;
        } else if (digit >= 0 && digits < 2) {
            byte = byte * 16 + digit;
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (empty)
        return bytes;
    if (digits == 0)
        return std::nullopt;
    bytes += static_cast<char>(byte);
    return bytes;
}

// At most the first 60 characters of a text the file gave, for an error message.
QString excerpt(QStringView text) {
    constexpr qsizetype kShown = 60;
    return text.size() <= kShown ? text.toString()
                                 : text.first(kShown).toString() + QLatin1String("...");
}

bool isStringType(quint32 type) {
    return type == Hive::kRegSz || type == Hive::kRegExpandSz || type == Hive::kRegMultiSz;
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

// "text" as the store holds it, with its NUL; nothing when it is not one quoted string.
std::optional<QByteArray> quotedText(QStringView data) {
    qsizetype at = 0;
    const std::optional<QString> text = unquote(data, at);
    if (!text || at != data.size())
        return std::nullopt;
    return QByteArray::fromStdString(codePage(*text)) + QByteArray(1, '\0');
}

// The 4 little-endian bytes of up to 8 hex digits.
std::optional<QByteArray> dwordBytes(QStringView digits) {
    bool ok = false;
    const uint number = digits.toUInt(&ok, 16);
    if (!ok || digits.size() > 8)
        return std::nullopt;
    QByteArray bytes(4, '\0');
    qToLittleEndian(static_cast<quint32>(number), bytes.data());
    return bytes;
}

// The bytes of hex: or hex(type): data, setting the type.
std::optional<QByteArray> hexData(QStringView data, quint32& type, bool regedit4, QString& why) {
    type = Hive::kRegBinary;
    qsizetype listStart = 4;
    if (data.startsWith(QLatin1String("hex("))) {
        const qsizetype close = data.indexOf(QLatin1String("):"));
        bool ok = false;
        type = close < 0 ? 0 : data.sliced(4, close - 4).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        listStart = close + 2;
    } else if (!data.startsWith(QLatin1String("hex:"))) {
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = hexBytes(data.sliced(listStart));
    return bytes ? storeBytes(type, *bytes, regedit4, why) : std::nullopt;
}

// The data after '=': "text", dword:, hex:, hex(type): or - (delete). Nothing, with `why` set,
// for data that is none of them.
std::optional<RegFileEntry> valueData(QStringView data, NamedValue value, bool regedit4,
                                      QString& why) {
    RegFileEntry entry{RegFileEntry::Kind::SetValue, {}, std::move(value)};
    if (data == QLatin1String("-")) {
        entry.kind = RegFileEntry::Kind::DeleteValue;
        return entry;
    }
    std::optional<QByteArray> bytes;
    why.clear();
    if (data.startsWith(u'"')) {
        entry.value.type = Hive::kRegSz;
        bytes = quotedText(data);
    } else if (data.startsWith(QLatin1String("dword:"))) {
        entry.value.type = Hive::kRegDword;
        bytes = dwordBytes(data.sliced(6));
    } else {
        bytes = hexData(data, entry.value.type, regedit4, why);
    }
    if (!bytes) {
        if (why.isEmpty())
            why = QStringLiteral("cannot read the data %1").arg(excerpt(data));
        return std::nullopt;
    }
    entry.value.data = std::move(*bytes);
    return entry;
}

std::optional<RegFileEntry> valueLine(QStringView line, const QString& path, bool regedit4,
                                      QString& why) {
    NamedValue value;
    qsizetype at = 1;
    std::optional<QString> name = QString();
    if (line.startsWith(u'"')) {
        at = 0;
        name = unquote(line, at);
    }
    if (!name || at >= line.size() || line[at] != u'=') {
        why = QStringLiteral("cannot read the value %1").arg(excerpt(line));
        return std::nullopt;
    }
    value.name = *name;
    std::optional<RegFileEntry> entry =
        valueData(line.sliced(at + 1).trimmed(), std::move(value), regedit4, why);
    if (entry)
        entry->path = path;
    return entry;
}

// The entry of a [key] or [-key] line; nothing, with `why` set, for a key of another root or
// one too deep to be made.
std::optional<RegFileEntry> keyLine(QStringView line, QString& why) {
    const bool deletion = line.startsWith(QLatin1String("[-"));
    const std::optional<QString> path =
        keyPath(line.sliced(deletion ? 2 : 1).chopped(1).toString());
    if (!path) {
        why = QStringLiteral("%1 is not a key of HKEY_CURRENT_USER").arg(excerpt(line));
        return std::nullopt;
    }
    if (!deletion && !isMakeable(*path, why))
        return std::nullopt;
    return RegFileEntry{
        deletion ? RegFileEntry::Kind::DeleteKey : RegFileEntry::Kind::CreateKey, *path, {}};
}

} // namespace

std::optional<QList<RegFileEntry>> parseRegFile(QString text, QString& error) {
    QList<RegFileEntry> entries;
    std::optional<QString> currentKey;
    bool headerSeen = false;
    bool regedit4 = false;
    LineReader lines(text);
    for (FileLine fileLine; lines.next(fileLine);) {
        const QStringView line = fileLine.text;
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        QString why;
        std::optional<RegFileEntry> entry;
        if (!headerSeen) {
            regedit4 = line == kHeader4;
            headerSeen = regedit4 || line == kHeader;
            why = QStringLiteral("the file does not begin with \"%1\" or \"%2\"")
                      .arg(kHeader, kHeader4);
            if (headerSeen)
                continue;
        } else if (line.startsWith(u'[') && line.endsWith(u']')) {
            entry = keyLine(line, why);
        } else if (line.startsWith(u'"') || line.startsWith(u'@')) {
            why = QStringLiteral("a value before any [key]");
            if (currentKey)
                entry = valueLine(line, *currentKey, regedit4, why);
        } else {
            why = QStringLiteral("cannot read %1").arg(excerpt(line));
        }
        if (!entry) {
            error = QStringLiteral("line %1: ").arg(fileLine.number) + why;
            return std::nullopt;
        }
        if (entry->kind == RegFileEntry::Kind::CreateKey)
            currentKey = entry->path;
        else if (entry->kind == RegFileEntry::Kind::DeleteKey)
            currentKey.reset();
        entries.append(std::move(*entry));
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
