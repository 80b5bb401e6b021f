#include "ValueText.h"

#include "RegistryAccess.h"

#include <Store.h>

#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cctype>

namespace RegTool {

namespace {

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
    return fromCodePage(data.left(end < 0 ? data.size() : end).toStdString());
}

QString multiText(const QByteArray& data) {
    QStringList parts;
    for (const QByteArray& part : data.split('\0'))
        parts << fromCodePage(part.toStdString());
    while (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    return parts.join(QLatin1String("\\0"));
}

} // namespace

QString typeName(quint32 type) {
    if (type < kTypeNames.size())
        return QString::fromLatin1(kTypeNames[type]);
    return QStringLiteral("0x%1").arg(type, 0, 16);
}

std::optional<quint32> addableType(const QString& name) {
    for (quint32 type : {Hive::kRegSz, Hive::kRegExpandSz, Hive::kRegDword, Hive::kRegBinary}) {
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
    if (type == Hive::kRegDword && data.size() == 4)
        return QStringLiteral("0x%1").arg(qFromLittleEndian<quint32>(data.constData()), 0, 16);
    if (type == Hive::kRegQword && data.size() == 8)
        return QStringLiteral("0x%1").arg(qFromLittleEndian<quint64>(data.constData()), 0, 16);
    return QString::fromLatin1(data.toHex().toUpper());
}

std::optional<QByteArray> dataFor(quint32 type, const QString& text, QString& why) {
    if (type == Hive::kRegDword) {
        bool ok = false;
        const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
        const qulonglong number = hex ? text.mid(2).toULongLong(&ok, 16) : text.toULongLong(&ok);
        if (!ok || number > 0xFFFFFFFFull) {
            why = QStringLiteral("REG_DWORD data must be a number from 0 to 4294967295 "
                                 "(decimal, or hexadecimal after 0x).");
            return std::nullopt;
        }
        QByteArray bytes(4, '\0');
        qToLittleEndian(static_cast<quint32>(number), bytes.data());
        return bytes;
    }
    if (type == Hive::kRegBinary) {
        const bool digitsOnly = std::all_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() < 0x80 && std::isxdigit(c.unicode());
        });
        if (!digitsOnly || text.size() % 2 != 0) {
            why = QStringLiteral("REG_BINARY data must be pairs of hexadecimal digits.");
            return std::nullopt;
        }
        return QByteArray::fromHex(text.toLatin1());
    }
    return QByteArray::fromStdString(codePage(text)) + QByteArray(1, '\0');
}

} // namespace RegTool
