#pragma once

#include "hive/ForwardingStore.h"

// Passes every call on to another store and counts how writes are grouped: how many
// outermost transactions were committed, and how many writes happened outside any.
class CountingStore : public Hive::ForwardingStore {
public:
    explicit CountingStore(Hive::Store& store) : ForwardingStore(store) {}

    int commits = 0;
    int loneWrites = 0;

    Hive::Status createKey(Hive::Root root, std::string_view path, Hive::Key& key) override {
        countWrite();
        return next().createKey(root, path, key);
    }
    Hive::Status setValue(Hive::Key key, std::string_view name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) override {
        countWrite();
        return next().setValue(key, name, type, data, size);
    }
    Hive::Status deleteValue(Hive::Key key, std::string_view name) override {
        countWrite();
        return next().deleteValue(key, name);
    }
    Hive::Status deleteTree(Hive::Key key, std::string_view subkey) override {
        countWrite();
        return next().deleteTree(key, subkey);
    }
    Hive::Status beginTransaction(Hive::Access access) override {
        ++depth_;
        return next().beginTransaction(access);
    }
    Hive::Status endTransaction(bool commit) override {
        if (--depth_ == 0 && commit)
            ++commits;
        return next().endTransaction(commit);
    }

private:
    void countWrite() {
        if (depth_ == 0)
            ++loneWrites;
    }

    int depth_ = 0;
};
