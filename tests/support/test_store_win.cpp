#include "TestStore.h"

#include "hive/UserStore.h"

#include <windows.h>

std::unique_ptr<Hive::Store> TestStore::makeBackend() {
    std::unique_ptr<Hive::Store> registry = Hive::openUserStore({}).store;
    Hive::Key user;
    if (registry->openKey(Hive::Root::CurrentUser, "Software", user) == Hive::kSuccess) {
        registry->deleteTree(user, "Brambleton");
        registry->closeKey(user);
    }
    return registry;
}

const char* TestStore::whyNoRollback() {
    return "the registry has no transactions: a write that failed leaves those before it";
}

const char* TestStore::wineVersion() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    const FARPROC query = ntdll != nullptr ? GetProcAddress(ntdll, "wine_get_version") : nullptr;
    if (query == nullptr)
        return nullptr;
    // Through the generic function pointer type, which converts to any other.
    return reinterpret_cast<const char* (*)()>(reinterpret_cast<void (*)()>(query))();
}

const char* TestStore::whyNoWriteOrder() {
    return wineVersion() != nullptr
               ? "Wine's registry lists a key's values by name, Windows' in the order written"
               : nullptr;
}
