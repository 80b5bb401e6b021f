#include "ValueText.h"

#include "core/RegistryAccess.h"

#include "hive/Store.h"

#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cctype>

namespace RegTool {

namespace {

constexpr quint32 kRegDwordBigEndian = 5;

constexpr std::array<const char*, 12> kTypeNames = {"REG_NONE",
                                                    "REG_SZ",
                                                    "REG_EXPAND_SZ",
                                                    "REG_BINARY",
                                                    "REG_DWORD",
                                                    "REG_DWORD_BIG_ENDIAN",
                                                    "REG_LINK",
                                                    "REG_MULTI_SZ",
                                                    "REG_RESOURCE_LIST",
                                                    "REG_FULL_RESOURCE_DESCRIPTOR",
                                                    "REG_RESOURCE_REQUIREMENTS_LIST",
                                                    "REG_QWORD"};

QString textUpToNul(const QByteArray& data) {
    const qsizetype end = data.indexOf('\0');
    return Registry::fromCodePage(data.left(end < 0 ? data.size() : end).toStdString());
}

QString multiText(const QByteArray& data) {
    QStringList parts;
    for (const QByteArray& part : data.split('\0'))
        parts << Registry::fromCodePage(part.toStdString());
    while (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    return parts.join(QLatin1String("\\0"));
}

// The number of a REG_DWORD's or REG_QWORD's /d: decimal, or hex after 0x; a REG_QWORD may be
// given negative in decimal, as reg takes it, down to the least 64-bit number. Nothing for text
// that is not a number of `bytes` bytes.
std::optional<quint64> number(const QString& text, qsizetype bytes) {
    const bool hex = text.size() > 1 && text[1].toLower() == u'x';
    const bool negative = !hex && bytes == 8 && text.startsWith(u'-');
    const QString digits = hex ? text.mid(2) : negative ? text.mid(1) : text;
    const bool plain = std::all_of(digits.begin(), digits.end(), [hex](QChar c) {
        return c.unicode() < 0x80 && (hex ? std::isxdigit(c.unicode()) : std::isdigit(c.unicode()));
    });
    if (!plain || (hex && (digits.isEmpty() || text[0] != u'0')))
        return std::nullopt;
    // No /d is 0, but a minus alone is no number.
    bool ok = digits.isEmpty() && !negative;
    const quint64 value = digits.isEmpty() ? 0 : digits.toULongLong(&ok, hex ? 16 : 10);
    constexpr quint64 kLeastMagnitude = quint64{1} << 63;
    if (!ok || (bytes == 4 && value > 0xFFFFFFFFull) || (negative && value > kLeastMagnitude))
        return std::nullopt;
    return negative ? 0 - value : value;
}

std::optional<QByteArray> numberBytes(const QString& text, qsizetype bytes, QString& why) {
    const std::optional<quint64> value = number(text, bytes);
    if (!value) {
        why = QStringLiteral("the data must be a number of %1 bits (decimal, or hexadecimal "
                             "after 0x).")
                  .arg(bytes * 8);
        return std::nullopt;
    }
    QByteArray data(8, '\0');
    qToLittleEndian(*value, data.data());
    return data.left(bytes);
}

// Hex digits two to a byte; an odd count makes the first digit a byte alone.
std::optional<QByteArray> binaryBytes(const QString& text, QString& why) {
    const bool digitsOnly = std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x80 && std::isxdigit(c.unicode());
    });
    if (!digitsOnly) {
        why = QStringLiteral("REG_BINARY data must be hexadecimal digits.");
        return std::nullopt;
    }
    const QByteArray digits = text.toLatin1();
    return QByteArray::fromHex(text.size() % 2 != 0 ? '0' + digits : digits);
}

// The parts of the text, split at the separator or, without one, at \0, each ended by a NUL,
// with a NUL after the last. An empty part anywhere but alone at the end is refused, as reg
// refuses it: it would end the list early.
std::optional<QByteArray> multiTextBytes(const QString& text, std::optional<QChar> separator,
                                         QString& why) {
    QString parts;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (!separator && c == u'\\' && text.mid(i + 1, 1) == QLatin1String("0")) {
            c = QChar(0);
            ++i;
        } else if (separator && c == *separator) {
            c = QChar(0);
        }
        if (!parts.isEmpty() && parts.back().isNull() && (c.isNull() || parts.size() == 1)) {
            why = QStringLiteral("REG_MULTI_SZ data cannot hold an empty string.");
            return std::nullopt;
        }
        parts += c;
    }
    parts += QChar(0);
    if (parts.size() >= 2 && !parts[parts.size() - 2].isNull())
        parts += QChar(0);
    return QByteArray::fromStdString(Registry::codePage(parts));
}

// UTF-16 text with its NUL: what reg stores for REG_NONE, which the store keeps as it is.
QByteArray utf16Bytes(const QString& text) {
    QByteArray bytes((text.size() + 1) * 2, '\0');
    qToLittleEndian<quint16>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

} // namespace

QString typeName(quint32 type) {
    if (type < kTypeNames.size())
        return QString::fromLatin1(kTypeNames[type]);
    return QStringLiteral("0x%1").arg(type, 0, 16);
}

std::optional<quint32> addableType(const QString& name) {
    if (name.compare(QLatin1String("REG_DWORD_LITTLE_ENDIAN"), Qt::CaseInsensitive) == 0)
        return Hive::kRegDword;
    for (quint32 type : {Hive::kRegSz, Hive::kRegExpandSz, Hive::kRegMultiSz, Hive::kRegDword,
                         kRegDwordBigEndian, Hive::kRegQword, Hive::kRegBinary, Hive::kRegNone}) {
        if (name.compare(typeName(type), Qt::CaseInsensitive) == 0)
            return type;
    }
    return std::nullopt;
}

QString displayData(quint32 type, const QByteArray& data) {
    if (type == Hive::kRegSz || type == Hive::kRegExpandSz)
        return textUpToNul(data);
    if (type == Hive::kRegMultiSz)
        return multiText(data);
    if ((type == Hive::kRegDword || type == kRegDwordBigEndian) && data.size() == 4)
        return QStringLiteral("0x%1").arg(qFromLittleEndian<quint32>(data.constData()), 0, 16);
    if (type == Hive::kRegQword && data.size() == 8)
        return QStringLiteral("0x%1").arg(qFromLittleEndian<quint64>(data.constData()), 0, 16);
    return QString::fromLatin1(data.toHex().toUpper());
}

std::optional<QByteArray> dataFor(quint32 type, const std::optional<QString>& text,
                                  std::optional<QChar> separator, QString& why) {
    const QString given = text.value_or(QString());
    switch (type) {
    case Hive::kRegDword:
    case kRegDwordBigEndian:
        // As on Windows, REG_DWORD_BIG_ENDIAN is stored little-endian all the same.
        if (!text) {
            why = QStringLiteral("%1 takes its number with /d.").arg(typeName(type));
            return std::nullopt;
        }
        return numberBytes(given, 4, why);
    case Hive::kRegQword:
        return numberBytes(given, 8, why);
    case Hive::kRegBinary:
        return binaryBytes(given, why);
    case Hive::kRegMultiSz:
        return multiTextBytes(given, separator, why);
    case Hive::kRegNone:
        return utf16Bytes(given);
    default:
        return QByteArray::fromStdString(Registry::codePage(given)) + QByteArray(1, '\0');
    }
}

} // namespace RegTool
