#pragma once

#include "core/RegistryAccess.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <optional>

// Registry files in the regedit text format: "Windows Registry Editor Version 5.00", then
// [key] sections of "name"=data lines, raw bytes written as hex: or hex(type): lists.
namespace RegTool {

// Writes the file for the key at path and everything below it, read in one snapshot, to `out`
// as it is read: regedit's own UTF-16LE with a byte order mark and CR LF line ends, or, with
// utf8, plain UTF-8 with LF line ends. False when there is no key (`error` left empty), or when
// a name or a depth could not come back from the file as it is (`error` says which); part of
// the file may have been written then.
bool exportKey(Hive::Store& store, const QString& path, QIODevice& out, bool utf8, QString& error);

// One change a registry file asks for.
struct RegFileEntry {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    QString path;               // below HKEY_CURRENT_USER
    Registry::NamedValue value; // the value to set, or the name of the one to delete
};

// The largest file import reads: hundreds of times what the clock's settings take.
inline constexpr qint64 kMaxRegFileMiB = 16;
inline constexpr qint64 kMaxRegFileBytes = kMaxRegFileMiB * 1024 * 1024;

// The text of the file at path (as decodeRegFile gives it) when it is a regular file of at most
// kMaxRegFileBytes; a folder, FIFO or device is never opened. Nothing, with `error` set, when it
// cannot be read.
std::optional<QString> readRegFile(const QString& path, QString& error);

// The text of a file: UTF-16 or UTF-8 after its byte order mark; without one, UTF-8 when the
// bytes are valid UTF-8, otherwise Windows-1252, which regedit reads such a file in.
QString decodeRegFile(const QByteArray& bytes);

// Takes the changes a file asks for, one at a time as its lines are read; the values after a
// CreateKey, up to the next key line, are that key's.
class RegFileSink {
public:
    virtual ~RegFileSink() = default;
    virtual void take(const RegFileEntry& entry) = 0;
};

// The lines of a file that were passed over: the first kNamed, each "line N: why", and how many
// in all, so that a file of nothing else costs no more than its text.
struct SkippedLines {
    static constexpr qsizetype kNamed = 100;
    QStringList named;
    qsizetype count = 0;
};

// Gives the sink the changes a file's text asks for ("Windows Registry Editor Version 5.00", or
// "REGEDIT4", whose text types are given in 8-bit Windows-1252 rather than UTF-16), read as
// regedit reads them: a line that cannot be read is passed over and the rest still counts.
// Nothing, and `error` set, for a text whose first line is not a registry file's header, which
// gives the sink nothing.
std::optional<SkippedLines> parseRegFile(const QString& text, RegFileSink& sink, QString& error);

// Makes each change in the store as it is taken, holding a key open for the values after it so
// that none of them walks its path again. Once a change fails, later ones are not tried.
class RegFileWriter final : public RegFileSink {
public:
    explicit RegFileWriter(Hive::Store& store) : store_(store) {}
    void take(const RegFileEntry& entry) override;
    // kSuccess, or the status of the change that failed.
    Hive::Status status() const { return status_; }

private:
    Hive::Store& store_;
    std::optional<Registry::OpenedKey> key_; // of the last CreateKey, until another key line
    Hive::Status status_ = Hive::kSuccess;
};

} // namespace RegTool
