#pragma once

#include "hive/ForwardingStore.h"

#include <cstddef>
#include <memory>

// The store the tests' clocks keep their settings in: where the settings are a SQLite file, a
// registry in memory of its own; on Windows the current user's registry itself, with the
// program's key removed first, so that each test starts from a first run. Counts the keys it
// leaves open.
class TestStore : public Hive::ForwardingStore {
public:
    TestStore();
    ~TestStore() override;

    Hive::Status createKey(Hive::Root root, std::string_view path, Hive::Key& key) override;
    Hive::Status openKey(Hive::Root root, std::string_view path, Hive::Key& key) override;
    Hive::Status closeKey(Hive::Key key) override;

    std::size_t openHandles() const { return openHandles_; }

    // Why this store cannot roll a transaction back (the registry has none); null where it can.
    static const char* whyNoRollback();
    // The version of Wine whose registry this is; null for any other store.
    static const char* wineVersion();
    // Why this store does not list a key's values in the order they were written; null where
    // it does.
    static const char* whyNoWriteOrder();

private:
    explicit TestStore(std::unique_ptr<Hive::Store> backend);
    // One file for each kind of settings store.
    static std::unique_ptr<Hive::Store> makeBackend();
    Hive::Status counted(Hive::Status status);

    std::unique_ptr<Hive::Store> backend_;
    std::size_t openHandles_ = 0;
};
