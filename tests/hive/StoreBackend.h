#pragma once

#include "hive/Store.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// A store the conformance suite runs against.
struct StoreBackend {
    std::string name;
    // A store to test; dropping it cleans up after it.
    std::function<std::shared_ptr<Hive::Store>()> open;
    // Names and texts in the suite are UTF-8; this gives them in the store's code page, or
    // nothing for a text the code page cannot hold.
    std::function<std::optional<std::string>(std::string_view utf8)> inCodePage;
    // Cases in which the store is known to part from the registry of Windows, by case name,
    // with what it does instead. Such a case is reported as skipped, not failed, while the
    // store still does so.
    std::map<std::string, std::string> knownDifferences;
};

// Failures name the store rather than dump its bytes.
inline void PrintTo(const StoreBackend& backend, std::ostream* out) {
    *out << backend.name;
}

// The stores this build can test: the SQLite hive here, the registry itself on Windows.
std::vector<StoreBackend> storeBackends();
