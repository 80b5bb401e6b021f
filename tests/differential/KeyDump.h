#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One registry key's contents in a form that does not depend on where they were read: what
// the differential test compares between the settings store and Windows' registry.
namespace KeyDump {

struct Value {
    std::string name; // UTF-8
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data; // as the registry's wide functions give it
};

struct Key {
    std::string path; // UTF-8, below the dumped key; empty for the key itself
    std::vector<Value> values;
};

// The keys as text: "[path]" for each, then a line for each value, its name, its type in hex
// and its bytes in hex. Keys and values are sorted by name, since Wine lists values sorted
// where Windows keeps the order they were made in. Bytes of names outside printable ASCII are
// written %XX.
std::string format(std::vector<Key> keys);

// UTF-16LE of UTF-8 text, as the registry holds the text types that the store keeps in its
// 8-bit code page (UTF-8 here); a byte that is not UTF-8 becomes U+FFFD.
std::vector<std::uint8_t> utf16FromUtf8(const std::vector<std::uint8_t>& text);

} // namespace KeyDump
