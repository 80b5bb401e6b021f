// Windows' side of the differential test: prints the dump (KeyDump.h) of a key of
// HKEY_CURRENT_USER, read with the registry's wide functions, with everything below it, and of
// the values at the root; with --delete it then deletes the key, for the next case.
// Usage: key_dump KEY_PATH [--delete]
#include "KeyDump.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

namespace {

std::string utf8(const wchar_t* text, DWORD length) {
    if (length == 0)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

std::wstring wide(const std::string& text) {
    std::wstring chars(text.size(), L'\0');
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         chars.data(), static_cast<int>(chars.size()));
    chars.resize(static_cast<std::size_t>(size));
    return chars;
}

// The key's values, and with `below` every key under it, each named by its path below the
// dumped key.
void dumpKey(HKEY key, const std::string& path, bool below, std::vector<KeyDump::Key>& keys) {
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, largestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values,
                         &longestName, &largestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    KeyDump::Key dumped{path, {}};
    std::vector<wchar_t> name(longestName + 1);
    std::vector<std::uint8_t> data(largestData + 1);
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) ==
            ERROR_SUCCESS)
            dumped.values.push_back(
                {utf8(name.data(), nameLength), type, {data.begin(), data.begin() + size}});
    }
    keys.push_back(dumped);
    std::vector<wchar_t> subkey(longestSubkey + 1);
    for (DWORD i = 0; below && i < subkeys; ++i) {
        DWORD length = static_cast<DWORD>(subkey.size());
        HKEY child = nullptr;
        if (RegEnumKeyExW(key, i, subkey.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS ||
            RegOpenKeyExW(key, subkey.data(), 0, KEY_READ, &child) != ERROR_SUCCESS)
            continue;
        const std::string name8 = utf8(subkey.data(), length);
        dumpKey(child, path.empty() ? name8 : path + "\\" + name8, true, keys);
        RegCloseKey(child);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || (argc == 3 && std::strcmp(argv[2], "--delete") != 0) || argc > 3) {
        std::fprintf(stderr, "usage: key_dump KEY_PATH [--delete]\n");
        return 2;
    }
    // The dump is compared byte for byte: no CR added before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<KeyDump::Key> root;
    dumpKey(HKEY_CURRENT_USER, "", false, root);
    const std::wstring path = wide(argv[1]);
    std::vector<KeyDump::Key> keys;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        dumpKey(key, "", true, keys);
        RegCloseKey(key);
    }
    const std::string text = "root:\n" + KeyDump::format(root) + "key:\n" + KeyDump::format(keys);
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (argc == 3)
        RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    return 0;
}
