#pragma once

#include "RegistryAccess.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Registry files in the regedit text format: "Windows Registry Editor Version 5.00", then
// [key] sections of "name"=data lines, raw bytes written as hex: or hex(type): lists.
namespace RegTool {

// The file text for the key at path and everything below it; nothing when there is no key.
std::optional<QString> exportKey(Hive::Store& store, const QString& path);

// One change a registry file asks for.
struct RegFileEntry {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    QString path;     // below HKEY_CURRENT_USER
    NamedValue value; // the value to set, or the name of the one to delete
};

// The text of a file: UTF-16 after its byte order mark, otherwise UTF-8.
QString decodeRegFile(const QByteArray& bytes);

// The changes a file's text asks for; nothing, and `error` naming the line, for a text that is
// not a registry file of the current user's keys.
std::optional<QList<RegFileEntry>> parseRegFile(const QString& text, QString& error);

// Makes the changes in one transaction; kSuccess, or the first status that failed.
Hive::Status applyRegFile(Hive::Store& store, const QList<RegFileEntry>& entries);

} // namespace RegTool
