#pragma once

#include <Store.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A store the conformance suite runs against.
struct StoreBackend {
    std::string name;
    // A store to test; dropping it cleans up after it.
    std::function<std::shared_ptr<Hive::Store>()> open;
    // Key paths, names and text in the suite are UTF-8; a store under another code page
    // cannot take its non-ASCII cases.
    bool utf8CodePage = true;
};

// The stores this build can test: the SQLite hive here, the registry itself on Windows.
std::vector<StoreBackend> storeBackends();
