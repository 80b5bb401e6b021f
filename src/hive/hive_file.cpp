#include "hive/HiveFile.h"

#include "hive/SqliteHive.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace Hive {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSideFiles[] = {"-wal", "-shm"};
constexpr const char* kDamagedMark = ".damaged-";

std::string utcStamp() {
    const std::time_t now = std::time(nullptr);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", std::gmtime(&now));
    return text;
}

fs::path withSuffix(const fs::path& path, const std::string& suffix) {
    fs::path result = path;
    result += suffix;
    return result;
}

// A copy's name ends in "<stamp>" or "<stamp>-<n>": ordered by time, then by the counter that
// tells copies of the same second apart.
std::pair<std::string, int> age(const fs::path& copy, size_t prefixLength) {
    constexpr size_t kStampLength = 15; // YYYYMMDD-HHMMSS
    const std::string rest = copy.filename().string().substr(prefixLength);
    const int counter =
        rest.size() > kStampLength + 1 ? std::atoi(rest.c_str() + kStampLength + 1) : 0;
    return {rest.substr(0, kStampLength), counter};
}

std::string copyPrefix(const fs::path& file) {
    return file.filename().string() + kDamagedMark;
}

// The damaged copies kept beside the file, oldest first.
std::vector<fs::path> damagedCopies(const fs::path& file) {
    const std::string prefix = copyPrefix(file);
    std::vector<fs::path> copies;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(file.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        const bool sideFile = name.ends_with(kSideFiles[0]) || name.ends_with(kSideFiles[1]);
        if (name.starts_with(prefix) && !sideFile)
            copies.push_back(entry.path());
    }
    std::sort(copies.begin(), copies.end(), [&](const fs::path& a, const fs::path& b) {
        return age(a, prefix.size()) < age(b, prefix.size());
    });
    return copies;
}

// A name after every copy made so far, also within the same second.
fs::path freeAsideName(const fs::path& file) {
    const std::string stamp = utcStamp();
    const fs::path base = withSuffix(file, kDamagedMark + stamp);
    int last = -1;
    for (const fs::path& copy : damagedCopies(file)) {
        const auto [copyStamp, counter] = age(copy, copyPrefix(file).size());
        if (copyStamp == stamp)
            last = std::max(last, counter);
    }
    return last < 0 ? base : withSuffix(base, "-" + std::to_string(std::max(last, 1) + 1));
}

// Renames the file and its log aside; the new name, or empty with `why` set.
fs::path moveAside(const fs::path& file, std::string& why) {
    fs::path aside = freeAsideName(file);
    std::error_code error;
    fs::rename(file, aside, error);
    if (error) {
        why = error.message();
        return {};
    }
    // A log left beside a fresh database would be replayed into it.
    for (const char* side : kSideFiles) {
        if (fs::exists(withSuffix(file, side), error))
            fs::rename(withSuffix(file, side), withSuffix(aside, side), error);
    }
    return aside;
}

void removeOldCopies(const fs::path& file) {
    const std::vector<fs::path> copies = damagedCopies(file);
    std::error_code error;
    for (size_t i = 0; i + kDamagedCopiesKept < copies.size(); ++i) {
        fs::remove(copies[i], error);
        for (const char* side : kSideFiles)
            fs::remove(withSuffix(copies[i], side), error);
    }
}

StoreOpening inMemory(std::vector<std::string> notes) {
    notes.push_back("settings are kept in memory for this run only");
    return {SqliteHive::inMemory(), false, true, std::move(notes)};
}

// The stored settings still count where they cannot be written: alarms kept in a file on a
// full disk must ring. Nothing is moved or made beside the file, even a damaged one.
StoreOpening readAlone(const std::string& path, const OpenError& writing) {
    OpenError reading;
    if (std::unique_ptr<SqliteHive> hive = SqliteHive::openReadOnly(path, reading))
        return {std::move(hive),
                true,
                false,
                {path + " cannot be written (" + writing.message +
                 "): the settings are read from it, and saving them fails for this run"}};
    return inMemory({"cannot open " + path + " (" + writing.message + "), nor read it (" +
                     reading.message + "); it is left as it is"});
}

StoreOpening startAfresh(const fs::path& file, const OpenError& damage) {
    std::string why;
    const fs::path aside = moveAside(file, why);
    if (aside.empty())
        return inMemory({file.string() + " is damaged (" + damage.message +
                         ") and could not be renamed aside: " + why});
    removeOldCopies(file);
    std::vector<std::string> notes{file.string() + " was damaged (" + damage.message +
                                   "); it is kept as " + aside.string() +
                                   " and a fresh store was started"};
    OpenError error;
    if (std::unique_ptr<SqliteHive> hive = SqliteHive::open(file.string(), error))
        return {std::move(hive), true, true, std::move(notes)};
    notes.push_back("cannot create " + file.string() + ": " + error.message);
    return inMemory(std::move(notes));
}

} // namespace

StoreOpening openHiveFile(const std::string& path) {
    const fs::path file(path);
    std::error_code error;
    if (file.has_parent_path())
        fs::create_directories(file.parent_path(), error);
    if (error)
        return inMemory({"cannot create the folder of " + path + ": " + error.message()});
    // Opening a pipe or a device could block or read forever.
    const fs::file_status status = fs::status(file, error);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return inMemory({path + " is not a plain file; it is left as it is"});
    OpenError failure;
    if (std::unique_ptr<SqliteHive> hive = SqliteHive::open(path, failure))
        return {std::move(hive), true, true, {}};
    if (failure.damaged())
        return startAfresh(file, failure);
    if (failure.mayBeReadable())
        return readAlone(path, failure);
    return inMemory({"cannot open " + path + " (" + failure.message + "); it is left as it is"});
}

} // namespace Hive
