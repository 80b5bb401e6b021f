#include "RegFile.h"

#include "KeyName.h"

#include <QtEndian>

namespace RegTool {

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
// Lists of bytes are wrapped as regedit wraps them, before a line passes this width.
constexpr int kLineWidth = 77;

QString quoted(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
    return u'"' + escaped + u'"';
}

bool isStringType(quint32 type) {
    return type == Hive::kRegSz || type == Hive::kRegExpandSz || type == Hive::kRegMultiSz;
}

// A REG_SZ that a quoted string gives back byte for byte: one NUL at its end, one line.
bool plainText(const NamedValue& value) {
    const QByteArray& data = value.data;
    if (value.type != Hive::kRegSz || !data.endsWith('\0') || data.count('\0') != 1 ||
        data.contains('\n') || data.contains('\r'))
        return false;
    const QByteArray text = data.chopped(1);
    return QByteArray::fromStdString(codePage(fromCodePage(text.toStdString()))) == text;
}

// Text types are stored as the registry holds them, in UTF-16.
QByteArray fileBytes(const NamedValue& value) {
    if (!isStringType(value.type))
        return value.data;
    const QString text = fromCodePage(value.data.toStdString());
    QByteArray bytes(text.size() * 2, '\0');
    qToLittleEndian<quint16>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

QString hexList(const QString& start, const QByteArray& bytes) {
    QString text = start;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        text += QString::fromLatin1(bytes.mid(i, 1).toHex());
        if (i + 1 == bytes.size())
            break;
        text += u',';
        if (text.size() - lineStart > kLineWidth) {
            text += QLatin1String("\\\n  ");
            lineStart = text.size() - 2;
        }
    }
    return text;
}

// A name that a file carries and gives back as it is: on one line, without NULs, and
// unchanged by the way through the code page.
bool fileSafe(const QString& name, const std::string& stored) {
    return !name.contains(u'\n') && !name.contains(u'\r') && !name.contains(QChar(0)) &&
           codePage(name) == stored;
}

QString valueLine(const NamedValue& value) {
    const QString name = (value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name)) + u'=';
    if (plainText(value))
        return name + quoted(fromCodePage(value.data.chopped(1).toStdString()));
    if (value.type == Hive::kRegDword && value.data.size() == 4)
        return name + QStringLiteral("dword:%1")
                          .arg(qFromLittleEndian<quint32>(value.data.constData()), 8, 16,
                               QLatin1Char('0'));
    const QString kind = value.type == Hive::kRegBinary
                             ? QStringLiteral("hex:")
                             : QStringLiteral("hex(%1):").arg(value.type, 0, 16);
    return hexList(name + kind, fileBytes(value));
}

// Appends the key and everything below it to text; false, with `error` set, at a name that
// cannot go into a file.
bool exportTree(Hive::Store& store, const QString& path, QString& text, QString& error) {
    const OpenedKey key(store, path, false);
    if (key.status() != Hive::kSuccess)
        return true;
    text += u'[' + fullKeyName(path) + QLatin1String("]\n");
    for (const NamedValue& value : key.values()) {
        if (!fileSafe(value.name, value.storedName)) {
            error = QStringLiteral("The value name \"%1\" under %2 holds a line break, a NUL or "
                                   "bytes that are not text, which a registry file cannot give "
                                   "back; nothing was exported.")
                        .arg(value.name, fullKeyName(path));
            return false;
        }
        text += valueLine(value) + u'\n';
    }
    text += u'\n';
    for (const std::string& stored : key.storedSubkeys()) {
        const QString subkey = fromCodePage(stored);
        const QString below = path.isEmpty() ? subkey : path + u'\\' + subkey;
        if (!fileSafe(subkey, stored) || subkey.contains(u']')) {
            error = QStringLiteral("The key name \"%1\" under %2 cannot be written into a "
                                   "registry file; nothing was exported.")
                        .arg(subkey, fullKeyName(path));
            return false;
        }
        if (!exportTree(store, below, text, error))
            return false;
    }
    return true;
}

} // namespace

std::optional<QString> exportKey(Hive::Store& store, const QString& path, QString& error) {
    // One snapshot: a save by the clock meanwhile is exported whole or not at all.
    Hive::Transaction snapshot(store, Hive::Access::Read);
    if (OpenedKey(store, path, false).status() != Hive::kSuccess)
        return std::nullopt;
    QString text = kHeader + QLatin1String("\n\n");
    if (!exportTree(store, path, text, error))
        return std::nullopt;
    return text;
}

QByteArray encodeRegFile(const QString& text, bool utf8) {
    if (utf8)
        return text.toUtf8();
    const QString windowsText = QString(text).replace(u'\n', QLatin1String("\r\n"));
    QByteArray bytes("\xFF\xFE", 2);
    bytes.resize(2 + windowsText.size() * 2);
    qToLittleEndian<quint16>(windowsText.utf16(), windowsText.size(), bytes.data() + 2);
    return bytes;
}

} // namespace RegTool
