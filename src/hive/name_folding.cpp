#include "hive/NameFolding.h"

#include <cstdint>
#include <locale>
#include <stdexcept>

namespace Hive {

namespace {

using Facet = std::ctype<wchar_t>;

// Upper-casing beyond ASCII comes from the C.UTF-8 locale; without it only ASCII folds.
const Facet* unicodeCase() {
    static const Facet* facet = []() -> const Facet* {
        try {
            static const std::locale utf8("C.UTF-8");
            return &std::use_facet<Facet>(utf8);
        } catch (const std::runtime_error&) {
            return nullptr;
        }
    }();
    return facet;
}

// Decodes one UTF-8 sequence at `at`; its length, or 0 for a byte that starts none.
size_t decode(std::string_view s, size_t at, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(s[at]);
    const size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || at + length > s.size())
        return 0;
    cp = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[at + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

void encode(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The registry upper-cases one UTF-16 unit at a time, so characters beyond it stay as they are.
char32_t upper(char32_t cp, const Facet* facet) {
    if (cp >= 'a' && cp <= 'z')
        return cp - ('a' - 'A');
    if (cp < 0x80 || cp > 0xFFFF || facet == nullptr)
        return cp;
    const wchar_t up = facet->toupper(static_cast<wchar_t>(cp));
    // A mapping that leaves the one-unit range would not be the registry's.
    return up > 0 && up <= 0xFFFF ? static_cast<char32_t>(up) : cp;
}

// The character at `at`: its byte count, or 0 for a byte that starts no UTF-8 character.
size_t step(std::string_view name, size_t at, char32_t& cp) {
    cp = static_cast<unsigned char>(name[at]);
    return cp < 0x80 ? 1 : decode(name, at, cp);
}

} // namespace

std::string foldCase(std::string_view name) {
    const Facet* facet = unicodeCase();
    std::string folded;
    folded.reserve(name.size());
    for (size_t at = 0; at < name.size();) {
        char32_t cp = 0;
        const size_t length = step(name, at, cp);
        if (length == 0) {
            folded += name[at++]; // not UTF-8: kept
            continue;
        }
        encode(upper(cp, facet), folded);
        at += length;
    }
    return folded;
}

size_t nameLength(std::string_view name) {
    size_t units = 0;
    for (size_t at = 0; at < name.size();) {
        char32_t cp = 0;
        const size_t length = step(name, at, cp);
        units += length != 0 && cp > 0xFFFF ? 2 : 1;
        at += length != 0 ? length : 1;
    }
    return units;
}

} // namespace Hive
