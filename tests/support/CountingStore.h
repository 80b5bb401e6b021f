#pragma once

#include <Store.h>

// Passes every call on to another store and counts how writes are grouped: how many
// outermost transactions were committed, and how many writes happened outside any.
class CountingStore : public Hive::Store {
public:
    explicit CountingStore(Hive::Store& store) : store_(store) {}

    int commits = 0;
    int loneWrites = 0;

    Hive::Status createKey(Hive::Root root, std::string_view path, Hive::Key& key) override {
        countWrite();
        return store_.createKey(root, path, key);
    }
    Hive::Status openKey(Hive::Root root, std::string_view path, Hive::Key& key) override {
        return store_.openKey(root, path, key);
    }
    Hive::Status closeKey(Hive::Key key) override { return store_.closeKey(key); }
    Hive::Status setValue(Hive::Key key, std::string_view name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) override {
        countWrite();
        return store_.setValue(key, name, type, data, size);
    }
    Hive::Status queryValue(Hive::Key key, std::string_view name, std::uint32_t* type,
                            std::uint8_t* data, std::uint32_t* size) override {
        return store_.queryValue(key, name, type, data, size);
    }
    Hive::Status deleteValue(Hive::Key key, std::string_view name) override {
        countWrite();
        return store_.deleteValue(key, name);
    }
    Hive::Status enumKey(Hive::Key key, std::uint32_t index, std::string& name) override {
        return store_.enumKey(key, index, name);
    }
    Hive::Status enumValue(Hive::Key key, std::uint32_t index, std::string& name,
                           std::uint32_t& type, std::vector<std::uint8_t>& data) override {
        return store_.enumValue(key, index, name, type, data);
    }
    Hive::Status deleteTree(Hive::Key key, std::string_view subkey) override {
        countWrite();
        return store_.deleteTree(key, subkey);
    }
    Hive::Status beginTransaction(Hive::Access access) override {
        ++depth_;
        return store_.beginTransaction(access);
    }
    Hive::Status endTransaction(bool commit) override {
        if (--depth_ == 0 && commit)
            ++commits;
        return store_.endTransaction(commit);
    }

private:
    void countWrite() {
        if (depth_ == 0)
            ++loneWrites;
    }

    Hive::Store& store_;
    int depth_ = 0;
};
