#include "TestStore.h"

TestStore::TestStore() : TestStore(makeBackend()) {}

TestStore::TestStore(std::unique_ptr<Hive::Store> backend)
    : ForwardingStore(*backend), backend_(std::move(backend)) {}

TestStore::~TestStore() = default;

Hive::Status TestStore::counted(Hive::Status status) {
    if (status == Hive::kSuccess)
        ++openHandles_;
    return status;
}

Hive::Status TestStore::createKey(Hive::Root root, std::string_view path, Hive::Key& key) {
    return counted(ForwardingStore::createKey(root, path, key));
}

Hive::Status TestStore::openKey(Hive::Root root, std::string_view path, Hive::Key& key) {
    return counted(ForwardingStore::openKey(root, path, key));
}

Hive::Status TestStore::closeKey(Hive::Key key) {
    const Hive::Status status = ForwardingStore::closeKey(key);
    if (status == Hive::kSuccess && openHandles_ > 0)
        --openHandles_;
    return status;
}
