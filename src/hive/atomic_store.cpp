#include "hive/AtomicStore.h"

namespace Hive {

Status AtomicStore::checked(Status status, const char* call, std::string_view what, Status alsoFine,
                            Status alsoFine2) {
    const bool fine = status == kSuccess || status == alsoFine || status == alsoFine2;
    if (!fine && guarding() && failure_ == kSuccess) {
        failure_ = status;
        failedCall_ = std::string(call) + " " + std::string(what);
    }
    return status;
}

std::string AtomicStore::pathOf(Key key, std::string_view name) const {
    const auto found = paths_.find(key.id);
    const std::string path = found != paths_.end() ? found->second : std::string("?");
    return path + "\\" + std::string(name);
}

Status AtomicStore::createKey(Root root, std::string_view path, Key& key) {
    if (guarding() && failing()) {
        key = {};
        return failure_;
    }
    const Status status = checked(next().createKey(root, path, key), "creating", path);
    if (key)
        paths_[key.id] = std::string(path);
    return status;
}

Status AtomicStore::openKey(Root root, std::string_view path, Key& key) {
    const Status status = checked(next().openKey(root, path, key), "opening", path, kFileNotFound);
    if (key)
        paths_[key.id] = std::string(path);
    return status;
}

Status AtomicStore::closeKey(Key key) {
    paths_.erase(key.id);
    return next().closeKey(key);
}

Status AtomicStore::setValue(Key key, std::string_view name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) {
    if (guarding() && failing())
        return failure_;
    return checked(next().setValue(key, name, type, data, size), "writing", pathOf(key, name));
}

Status AtomicStore::queryValue(Key key, std::string_view name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) {
    return checked(next().queryValue(key, name, type, data, size), "reading", pathOf(key, name),
                   kFileNotFound, kMoreData);
}

Status AtomicStore::deleteValue(Key key, std::string_view name) {
    if (guarding() && failing())
        return failure_;
    return checked(next().deleteValue(key, name), "deleting", pathOf(key, name), kFileNotFound);
}

Status AtomicStore::enumKey(Key key, std::uint32_t index, std::string& name) {
    return checked(next().enumKey(key, index, name), "listing the keys of", pathOf(key, ""),
                   kNoMoreItems);
}

Status AtomicStore::enumValue(Key key, std::uint32_t index, std::string& name, std::uint32_t& type,
                              std::vector<std::uint8_t>& data) {
    return checked(next().enumValue(key, index, name, type, data), "listing the values of",
                   pathOf(key, ""), kNoMoreItems);
}

Status AtomicStore::deleteTree(Key key, std::string_view subkey) {
    if (guarding() && failing())
        return failure_;
    return checked(next().deleteTree(key, subkey), "deleting the key", pathOf(key, subkey),
                   kFileNotFound);
}

Status AtomicStore::beginTransaction(Access access) {
    if (depth_++ == 0) {
        access_ = access;
        failure_ = kSuccess;
    }
    return checked(next().beginTransaction(access), "beginning", "a transaction");
}

Status AtomicStore::endTransaction(bool commit) {
    if (depth_ == 0)
        return next().endTransaction(commit);
    if (depth_ > 1) {
        --depth_;
        const Status status = next().endTransaction(commit && !failing());
        return failing() ? failure_ : status;
    }
    // A scope that failed is rolled back even when asked to commit.
    Status status = failure_;
    if (failing())
        next().endTransaction(false);
    else
        status = checked(next().endTransaction(commit), "committing", "the transaction");
    if (failing())
        lastFailure_ = failedCall_ + ": the store answered " + std::to_string(failure_);
    depth_ = 0;
    failure_ = kSuccess;
    return status;
}

} // namespace Hive
