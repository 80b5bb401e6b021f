// The store on Windows: the current user's registry itself, through advapi32.

#include "hive/UserStore.h"

#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601 // RegDeleteTreeA
#endif
#include <windows.h>

namespace Hive {

namespace {

// The six key rights the clock asks for, for reading as well.
constexpr REGSAM kAccess = 0x3F;

HKEY rootKey(Root root) {
    return root == Root::CurrentUser ? HKEY_CURRENT_USER : nullptr;
}

HKEY handleOf(Key key) {
    return reinterpret_cast<HKEY>(key.id);
}

Key keyOf(HKEY handle) {
    return Key{reinterpret_cast<std::uintptr_t>(handle)};
}

class RegistryStore final : public Store {
public:
    Status createKey(Root root, std::string_view path, Key& key) override {
        key = {};
        HKEY opened = nullptr;
        DWORD disposition = 0;
        const LONG status =
            RegCreateKeyExA(rootKey(root), std::string(path).c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, kAccess, nullptr, &opened, &disposition);
        if (status == ERROR_SUCCESS)
            key = keyOf(opened);
        return status;
    }

    Status openKey(Root root, std::string_view path, Key& key) override {
        key = {};
        HKEY opened = nullptr;
        const LONG status =
            RegOpenKeyExA(rootKey(root), std::string(path).c_str(), 0, kAccess, &opened);
        if (status == ERROR_SUCCESS)
            key = keyOf(opened);
        return status;
    }

    Status closeKey(Key key) override {
        return key ? RegCloseKey(handleOf(key)) : ERROR_INVALID_HANDLE;
    }

    Status setValue(Key key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                    std::uint32_t size) override {
        return RegSetValueExA(handleOf(key), std::string(name).c_str(), 0, type, data, size);
    }

    Status queryValue(Key key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                      std::uint32_t* size) override {
        DWORD storedType = 0;
        DWORD byteCount = size != nullptr ? *size : 0;
        const LONG status = RegQueryValueExA(handleOf(key), std::string(name).c_str(), nullptr,
                                             type != nullptr ? &storedType : nullptr, data,
                                             size != nullptr ? &byteCount : nullptr);
        if (type != nullptr)
            *type = storedType;
        if (size != nullptr)
            *size = byteCount;
        return status;
    }

    Status deleteValue(Key key, std::string_view name) override {
        return RegDeleteValueA(handleOf(key), std::string(name).c_str());
    }

    Status enumKey(Key key, std::uint32_t index, std::string& name) override {
        char buffer[1024];
        DWORD length = sizeof buffer;
        const LONG status = RegEnumKeyExA(handleOf(key), index, buffer, &length, nullptr, nullptr,
                                          nullptr, nullptr);
        if (status == ERROR_SUCCESS)
            name.assign(buffer, length);
        return status;
    }

    Status enumValue(Key key, std::uint32_t index, std::string& name, std::uint32_t& type,
                     std::vector<std::uint8_t>& data) override {
        DWORD longestName = 0;
        DWORD largestData = 0;
        LONG status =
            RegQueryInfoKeyA(handleOf(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, &longestName, &largestData, nullptr, nullptr);
        // The value may grow between the two calls: ask again with the larger need.
        for (int attempt = 0; status == ERROR_SUCCESS || status == ERROR_MORE_DATA; ++attempt) {
            std::string nameBuffer(longestName + 1, '\0');
            data.resize(largestData + 1);
            DWORD nameLength = longestName + 1;
            DWORD dataSize = largestData + 1;
            DWORD storedType = 0;
            status = RegEnumValueA(handleOf(key), index, nameBuffer.data(), &nameLength, nullptr,
                                   &storedType, data.data(), &dataSize);
            if (status == ERROR_SUCCESS) {
                name.assign(nameBuffer.data(), nameLength);
                type = storedType;
                data.resize(dataSize);
                return status;
            }
            if (status != ERROR_MORE_DATA || attempt == 3)
                break;
            longestName = longestName * 2 + 256;
            largestData = dataSize > largestData ? dataSize : largestData * 2 + 256;
        }
        return status;
    }

    Status deleteTree(Key key, std::string_view subkey) override {
        if (subkey.empty())
            return ERROR_INVALID_PARAMETER;
        return RegDeleteTreeA(handleOf(key), std::string(subkey).c_str());
    }

    // Each registry call stands alone: there is nothing to group.
    Status beginTransaction(Access) override { return ERROR_SUCCESS; }
    Status endTransaction(bool) override { return ERROR_SUCCESS; }
};

} // namespace

StoreOpening openUserStore(const std::string&) {
    return {std::make_unique<RegistryStore>(), true, true, {}};
}

} // namespace Hive
