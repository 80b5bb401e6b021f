#pragma once

#include "hive/ForwardingStore.h"

// Passes every call on to another store and fails on request, as a full disk or a crash would:
// write number failAt (counting from 1: created keys, set and deleted values, deleted trees),
// or every write from that one on, or the commit of the outermost transaction, which is then
// rolled back. Without transactions it begins and ends none in the store beneath, so every
// write stands alone as in the Windows registry.
class FaultyStore : public Hive::ForwardingStore {
public:
    enum class Fault {
        None,
        OneWrite, // write failAt fails, the others go through
        Crash,    // write failAt and every one after it fail, as if the writer had died
        Commit,   // the outermost commit fails and keeps nothing
    };

    explicit FaultyStore(Hive::Store& store, bool transactions = true)
        : ForwardingStore(store), transactions_(transactions) {}

    Fault fault = Fault::None;
    int failAt = 0;
    Hive::Status failure = Hive::kDiskFull;
    int writes = 0; // the writes asked for so far, failed ones too

    Hive::Status createKey(Hive::Root root, std::string_view path, Hive::Key& key) override;
    Hive::Status setValue(Hive::Key key, std::string_view name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) override;
    Hive::Status deleteValue(Hive::Key key, std::string_view name) override;
    Hive::Status deleteTree(Hive::Key key, std::string_view subkey) override;
    Hive::Status beginTransaction(Hive::Access access) override;
    Hive::Status endTransaction(bool commit) override;

private:
    // Counts a write; whether it is to fail.
    bool failsNow();

    bool transactions_;
    int depth_ = 0;
};
