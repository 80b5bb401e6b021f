#include "KeyDump.h"

#include <algorithm>
#include <cstdio>

namespace KeyDump {

namespace {

std::string escaped(const std::string& name) {
    std::string text;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '%') {
            text += c;
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            text += code;
        }
    }
    return text;
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char digits[3];
    for (const std::uint8_t byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
    }
    return text;
}

void appendUtf16(std::vector<std::uint8_t>& out, std::uint32_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
}

void appendCodePoint(std::vector<std::uint8_t>& out, std::uint32_t point) {
    if (point < 0x10000) {
        appendUtf16(out, point);
        return;
    }
    point -= 0x10000;
    appendUtf16(out, 0xD800 + (point >> 10));
    appendUtf16(out, 0xDC00 + (point & 0x3FF));
}

// The length of the UTF-8 sequence a lead byte starts and the bits it carries; 0 for a byte
// that starts none.
int sequenceLength(std::uint8_t lead, std::uint32_t& bits) {
    if (lead < 0x80) {
        bits = lead;
        return 1;
    }
    const int length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    bits = length == 0 ? 0 : lead & (0x7F >> length);
    return lead >= 0xF5 ? 0 : length;
}

} // namespace

std::string format(std::vector<Key> keys) {
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) { return a.path < b.path; });
    std::string text;
    for (Key& key : keys) {
        text += "[" + escaped(key.path) + "]\n";
        std::sort(key.values.begin(), key.values.end(),
                  [](const Value& a, const Value& b) { return a.name < b.name; });
        for (const Value& value : key.values) {
            char type[12];
            std::snprintf(type, sizeof type, "%x", static_cast<unsigned>(value.type));
            text += "\"" + escaped(value.name) + "\" " + type + " " + hex(value.data) + "\n";
        }
    }
    return text;
}

std::vector<std::uint8_t> utf16FromUtf8(const std::vector<std::uint8_t>& text) {
    std::vector<std::uint8_t> out;
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t point = 0;
        const int length = sequenceLength(text[at], point);
        bool whole = length > 0 && at + static_cast<std::size_t>(length) <= text.size();
        for (int i = 1; whole && i < length; ++i) {
            whole = (text[at + i] & 0xC0) == 0x80;
            point = (point << 6) | (text[at + i] & 0x3F);
        }
        appendCodePoint(out, whole ? point : 0xFFFD);
        at += whole ? static_cast<std::size_t>(length) : 1;
    }
    return out;
}

} // namespace KeyDump
