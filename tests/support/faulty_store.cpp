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
    return next().createKey(root, path, key);
}

Hive::Status FaultyStore::setValue(Hive::Key key, std::string_view name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
    return failsNow() ? failure : next().setValue(key, name, type, data, size);
}

Hive::Status FaultyStore::deleteValue(Hive::Key key, std::string_view name) {
    return failsNow() ? failure : next().deleteValue(key, name);
}

Hive::Status FaultyStore::deleteTree(Hive::Key key, std::string_view subkey) {
    return failsNow() ? failure : next().deleteTree(key, subkey);
}

Hive::Status FaultyStore::beginTransaction(Hive::Access access) {
    ++depth_;
    return transactions_ ? next().beginTransaction(access) : Hive::kSuccess;
}

Hive::Status FaultyStore::endTransaction(bool commit) {
    const bool outermost = --depth_ == 0;
    if (outermost && commit && fault == Fault::Commit) {
        if (transactions_)
            next().endTransaction(false);
        return failure;
    }
    return transactions_ ? next().endTransaction(commit) : Hive::kSuccess;
}
