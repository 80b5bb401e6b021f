#include "StoreBackend.h"

#include "hive/SqliteHive.h"

#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;

std::shared_ptr<Hive::Store> hiveInTemporaryFile() {
    const fs::path folder = fs::temp_directory_path() /
                            ("vindrel-conformance-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    Hive::OpenError error;
    std::unique_ptr<Hive::SqliteHive> hive =
        Hive::SqliteHive::open((folder / "hkcu.sqlite3").string(), error);
    return {hive.release(), [folder](Hive::Store* store) {
                delete store;
                std::error_code ignored;
                fs::remove_all(folder, ignored);
            }};
}

// The hive keeps names and texts in UTF-8.
std::optional<std::string> asUtf8(std::string_view utf8) {
    return std::string(utf8);
}

} // namespace

std::vector<StoreBackend> storeBackends() {
    return {
        {"SqliteInMemory",
         [] { return std::shared_ptr<Hive::Store>(Hive::SqliteHive::inMemory()); },
         asUtf8,
         {}},
        {"SqliteFile", hiveInTemporaryFile, asUtf8, {}},
    };
}
