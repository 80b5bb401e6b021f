// The settings store's side of the differential test: prints the dump (KeyDump.h) of a key of
// the store in a file, with everything below it, and of the values at the root.
// Usage: store_dump STORE_FILE KEY_PATH.
#include "KeyDump.h"

#include "hive/SqliteHive.h"

#include <filesystem>
#include <iostream>

namespace {

bool isText(std::uint32_t type) {
    return type == Hive::kRegSz || type == Hive::kRegExpandSz || type == Hive::kRegMultiSz;
}

// The key's values, and with `below` every key under it, each named by its path below `top`.
void dumpKey(Hive::Store& store, const std::string& top, const std::string& path, bool below,
             std::vector<KeyDump::Key>& keys) {
    const std::string full = path.empty() ? top : top + "\\" + path;
    Hive::Key key;
    if (store.openKey(Hive::Root::CurrentUser, full, key) != Hive::kSuccess)
        return;
    KeyDump::Key dumped{path, {}};
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    for (std::uint32_t i = 0; store.enumValue(key, i, name, type, data) == Hive::kSuccess; ++i)
        dumped.values.push_back({name, type, isText(type) ? KeyDump::utf16FromUtf8(data) : data});
    keys.push_back(dumped);
    std::vector<std::string> subkeys;
    for (std::uint32_t i = 0; below && store.enumKey(key, i, name) == Hive::kSuccess; ++i)
        subkeys.push_back(name);
    store.closeKey(key);
    for (const std::string& subkey : subkeys) {
        std::string child = path;
        child.append(path.empty() ? "" : "\\").append(subkey);
        dumpKey(store, top, child, true, keys);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: store_dump STORE_FILE KEY_PATH\n";
        return 2;
    }
    // No file yet: a store with nothing in it but its root.
    if (!std::filesystem::exists(argv[1])) {
        std::cout << "root:\n" << KeyDump::format({KeyDump::Key{}}) << "key:\n";
        return 0;
    }
    Hive::OpenError error;
    const std::unique_ptr<Hive::SqliteHive> store = Hive::SqliteHive::openReadOnly(argv[1], error);
    if (!store) {
        std::cerr << "store_dump: cannot open " << argv[1] << "\n";
        return 2;
    }
    std::vector<KeyDump::Key> root;
    dumpKey(*store, "", "", false, root);
    std::vector<KeyDump::Key> keys;
    dumpKey(*store, argv[2], "", true, keys);
    std::cout << "root:\n" << KeyDump::format(root) << "key:\n" << KeyDump::format(keys);
    return 0;
}
