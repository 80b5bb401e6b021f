#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Value types and data as the reg command writes and reads them on the command line.
namespace RegTool {

// "REG_SZ", "REG_DWORD"...; "0x" and the number for a type without a name.
QString typeName(quint32 type);

// The type `add` takes under this name, in any letter case: REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ, REG_DWORD (or REG_DWORD_LITTLE_ENDIAN), REG_DWORD_BIG_ENDIAN, REG_QWORD,
// REG_BINARY or REG_NONE.
std::optional<quint32> addableType(const QString& name);

// The data as query shows it: text up to its NUL, numbers as 0x hex, bytes as hex digits.
QString displayData(quint32 type, const QByteArray& data);

// The bytes `add` stores for the text given with /d (or none), as reg stores them: text with
// one NUL; REG_MULTI_SZ parts split at \0 or at the separator, ended by two NULs; a number
// (decimal, or hex after 0x) as 4 or 8 little-endian bytes, REG_DWORD_BIG_ENDIAN's too; hex
// digits as bytes, an odd one first alone; REG_NONE as UTF-16 text with its NUL. Nothing, and
// `why` set, when the text does not fit the type.
std::optional<QByteArray> dataFor(quint32 type, const std::optional<QString>& text,
                                  std::optional<QChar> separator, QString& why);

} // namespace RegTool
