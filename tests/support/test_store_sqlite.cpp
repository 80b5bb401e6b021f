#include "TestStore.h"

#include "hive/SqliteHive.h"

std::unique_ptr<Hive::Store> TestStore::makeBackend() {
    return Hive::SqliteHive::inMemory();
}

const char* TestStore::whyNoRollback() {
    return nullptr;
}

const char* TestStore::wineVersion() {
    return nullptr;
}

const char* TestStore::whyNoWriteOrder() {
    return nullptr;
}
