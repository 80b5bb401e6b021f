#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Value types and data as the reg command writes and reads them on the command line.
namespace RegTool {

// "REG_SZ", "REG_DWORD"...; "0x" and the number for a type without a name.
QString typeName(quint32 type);

// The type `add` takes under this name (REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_BINARY).
std::optional<quint32> addableType(const QString& name);

// The data as query shows it: text up to its NUL, numbers as 0x hex, bytes as hex digits.
QString displayData(quint32 type, const QByteArray& data);

// The bytes `add` stores for the text given with /d: text with one NUL, a number (decimal or
// 0x hex, 0 to 4294967295) as 4 little-endian bytes, pairs of hex digits as bytes. Nothing,
// and `why` set, when the text does not fit the type.
std::optional<QByteArray> dataFor(quint32 type, const QString& text, QString& why);

} // namespace RegTool
