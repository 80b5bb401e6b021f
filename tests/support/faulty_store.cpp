#include "FaultyStore.h"

bool FaultyStore::failsNow() {
    ++writes;
    if (fault == Fault::OneWrite)
        return writes == failAt;
    return fault == Fault::Crash && writes >= failAt;
}

Hive::Status FaultyStore::createKey(Hive::Root root, std::string_view path, Hive::Key& key) {
    if (failsNow()) {
        key = {};
        return failure;
    }
    return store_.createKey(root, path, key);
}

Hive::Status FaultyStore::openKey(Hive::Root root, std::string_view path, Hive::Key& key) {
    return store_.openKey(root, path, key);
}

Hive::Status FaultyStore::closeKey(Hive::Key key) {
    return store_.closeKey(key);
}

Hive::Status FaultyStore::setValue(Hive::Key key, std::string_view name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
    return failsNow() ? failure : store_.setValue(key, name, type, data, size);
}

Hive::Status FaultyStore::queryValue(Hive::Key key, std::string_view name, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) {
    return store_.queryValue(key, name, type, data, size);
}

Hive::Status FaultyStore::deleteValue(Hive::Key key, std::string_view name) {
    return failsNow() ? failure : store_.deleteValue(key, name);
}

Hive::Status FaultyStore::enumKey(Hive::Key key, std::uint32_t index, std::string& name) {
    return store_.enumKey(key, index, name);
}

Hive::Status FaultyStore::enumValue(Hive::Key key, std::uint32_t index, std::string& name,
                                    std::uint32_t& type, std::vector<std::uint8_t>& data) {
    return store_.enumValue(key, index, name, type, data);
}

Hive::Status FaultyStore::deleteTree(Hive::Key key, std::string_view subkey) {
    return failsNow() ? failure : store_.deleteTree(key, subkey);
}

Hive::Status FaultyStore::beginTransaction(Hive::Access access) {
    ++depth_;
    return transactions_ ? store_.beginTransaction(access) : Hive::kSuccess;
}

Hive::Status FaultyStore::endTransaction(bool commit) {
    const bool outermost = --depth_ == 0;
    if (outermost && commit && fault == Fault::Commit) {
        if (transactions_)
            store_.endTransaction(false);
        return failure;
    }
    return transactions_ ? store_.endTransaction(commit) : Hive::kSuccess;
}
