#pragma once

#include "core/RegValue.h"

#include "hive/Store.h"

#include <QString>

namespace VD_Core {

// The most bytes of a value the clock reads: far above anything it writes (a skin's path, an
// alarm's name), far below what would cost it memory or time. Names are the clock's own.
inline constexpr std::uint32_t kLargestValue = 64 * 1024;

// The program's one door to the registry. Failures never reach the caller: a write that
// cannot be done does nothing, and a read that cannot be done gives the empty value. Text
// crosses in the system's 8-bit code page.
class EasyReg {
public:
    explicit EasyReg(Hive::Store& store) : store_(store) {}

    // Makes root\path exist, with every missing key above it.
    void CreateNewKey(const QString& path, Hive::Root root) const;
    // Writes the value as REG_SZ (1) or REG_DWORD (4) into root\path if that key exists; a
    // missing key or any other type writes nothing.
    void SaveValue(Hive::Root root, const QString& path, const QString& name, const RegValue& value,
                   quint32 type) const;
    // Removes the value if it is there.
    void DeleteValue(Hive::Root root, const QString& path, const QString& name) const;
    // A REG_SZ as its text without the last stored byte (its NUL), a REG_DWORD as a 32-bit
    // number; empty for anything else, when the key or value is missing, or when the value is
    // larger than kLargestValue bytes (which is logged).
    RegValue GetValue(Hive::Root root, const QString& path, const QString& name) const;

    // On an open key. REG_SZ: the value as text with one NUL, its size in bytes. REG_DWORD: the
    // value as 4 little-endian bytes (kInvalidParameter when it is no number). Other types:
    // nothing written, status 0. Returns the registry's status.
    Hive::Status SetKeyValue(Hive::Key key, const QString& name, quint32 type,
                             const RegValue& value) const;
    // On an open key: sets `value` from a REG_SZ or REG_DWORD as GetValue describes and returns
    // the registry's status; -1 for another type, -2 for a value larger than kLargestValue
    // bytes, whose name and size are logged in one line. `value` is left as it was on any
    // failure, except a text whose second read failed, which becomes empty.
    Hive::Status QueryKeyValue(Hive::Key key, const QString& name, RegValue& value) const;

    Hive::Store& store() const { return store_; }

private:
    Hive::Status queryText(Hive::Key key, const std::string& name, std::uint32_t size,
                           RegValue& value) const;
    Hive::Status queryNumber(Hive::Key key, const std::string& name, std::uint32_t size,
                             RegValue& value) const;

    Hive::Store& store_;
};

} // namespace VD_Core
