// Serves the user's store to another process, one call a line, so that a program built where
// the store is not (the clock's core, on Linux) can drive the Windows registry under Wine:
//
//   C PATH            createKey          -> STATUS KEY
//   O PATH            openKey            -> STATUS KEY
//   X KEY             closeKey           -> STATUS
//   S KEY NAME TYPE DATA  setValue       -> STATUS
//   Q KEY NAME        queryValue         -> STATUS TYPE DATA
//   D KEY NAME        deleteValue        -> STATUS
//   T KEY SUBKEY      deleteTree         -> STATUS
//
// PATH, NAME, SUBKEY and DATA are hex digits ("-" for none), KEY and TYPE decimal. It ends at
// the end of its input. Each answer is written before the next line is read.

#include "hive/UserStore.h"

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string fromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string toHex(const std::uint8_t* data, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string hex = size == 0 ? "-" : "";
    for (size_t i = 0; i < size; ++i)
        hex += {digits[data[i] >> 4], digits[data[i] & 15]};
    return hex;
}

std::string answer(Hive::Store& store, std::istringstream& words) {
    char call = 0;
    std::string first;
    words >> call >> first;
    const Hive::Key key{static_cast<std::uintptr_t>(std::strtoull(first.c_str(), nullptr, 10))};
    std::string name;
    words >> name;
    name = fromHex(name);
    switch (call) {
    case 'C':
    case 'O': {
        Hive::Key opened;
        const std::string path = fromHex(first);
        const Hive::Status status = call == 'C'
                                        ? store.createKey(Hive::Root::CurrentUser, path, opened)
                                        : store.openKey(Hive::Root::CurrentUser, path, opened);
        return std::to_string(status) + ' ' + std::to_string(opened.id);
    }
    case 'X':
        return std::to_string(store.closeKey(key));
    case 'S': {
        std::uint32_t type = 0;
        std::string data;
        words >> type >> data;
        data = fromHex(data);
        return std::to_string(store.setValue(key, name, type,
                                             reinterpret_cast<const std::uint8_t*>(data.data()),
                                             static_cast<std::uint32_t>(data.size())));
    }
    case 'Q': {
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        Hive::Status status = store.queryValue(key, name, &type, nullptr, &size);
        std::vector<std::uint8_t> data(size + 1);
        if (status == Hive::kSuccess)
            status = store.queryValue(key, name, &type, data.data(), &size);
        return std::to_string(status) + ' ' + std::to_string(type) + ' ' +
               toHex(data.data(), status == Hive::kSuccess ? size : 0);
    }
    case 'D':
        return std::to_string(store.deleteValue(key, name));
    case 'T':
        return std::to_string(store.deleteTree(key, name));
    default:
        return std::to_string(Hive::kInvalidParameter);
    }
}

} // namespace

int main() {
    const Hive::StoreOpening opening = Hive::openUserStore({});
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream words(line);
        std::cout << answer(*opening.store, words) << '\n' << std::flush;
    }
    return 0;
}
