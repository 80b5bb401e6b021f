#include "StoreBackend.h"

#include "hive/UserStore.h"

#include <windows.h>

namespace {

// The version of Wine the program runs under; null on Windows itself.
const char* wineVersion() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    const FARPROC query = ntdll != nullptr ? GetProcAddress(ntdll, "wine_get_version") : nullptr;
    if (query == nullptr)
        return nullptr;
    // Through the generic function pointer type, which converts to any other.
    return reinterpret_cast<const char* (*)()>(reinterpret_cast<void (*)()>(query))();
}

// UTF-8 in the system's 8-bit code page, through UTF-16; nothing when a character is missing
// from the code page.
std::optional<std::string> inAnsiCodePage(std::string_view utf8) {
    if (utf8.empty() || GetACP() == CP_UTF8)
        return std::string(utf8);
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    const int wideSize = static_cast<int>(wide.size());
    // No best fit: a letter the code page lacks must not stand in as another one.
    const auto toAnsi = [&](char* out, int room, BOOL* missing) {
        return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, out, room,
                                   nullptr, missing);
    };
    std::string ansi(toAnsi(nullptr, 0, nullptr), '\0');
    BOOL missing = FALSE;
    toAnsi(ansi.data(), static_cast<int>(ansi.size()), &missing);
    if (missing)
        return std::nullopt;
    return ansi;
}

// Where Wine is known to do otherwise than Windows, and what it does.
std::map<std::string, std::string> wineDifferences(const std::string& wine) {
    return {
        {"ATextCountedWithoutItsNulStaysShort",
         wine + " counts a NUL that follows a text written without one: \"abc\" written as 3 "
                "bytes reads back as 4 bytes, NUL included, where Windows keeps the 3 bytes"},
        {"ValuesListInTheOrderTheyWereMade",
         wine + " lists a key's values in the order of their names, where Windows lists them "
                "in the order they were made"},
    };
}

} // namespace

std::vector<StoreBackend> storeBackends() {
    const auto registry = [] {
        return std::shared_ptr<Hive::Store>(Hive::openUserStore({}).store);
    };
    const char* wine = wineVersion();
    if (wine == nullptr)
        return {{"Registry", registry, inAnsiCodePage, {}}};
    return {
        {"WineRegistry", registry, inAnsiCodePage, wineDifferences("Wine " + std::string(wine))}};
}
