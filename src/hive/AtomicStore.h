#pragma once

#include "hive/ForwardingStore.h"

#include <string>
#include <unordered_map>

namespace Hive {

// Passes every call on to another store and makes its write scopes all or nothing whatever
// fails inside them. The first failure in an outermost write scope (a write that cannot be
// done, a key or value that cannot be reached for a reason other than its absence, a begin
// that cannot begin) is kept: every later write of the scope is refused with it, without
// reaching the store, and the scope's end rolls the store back and answers it, commit or not.
// Reads still pass. Outside a write scope every call passes as it is.
class AtomicStore final : public ForwardingStore {
public:
    explicit AtomicStore(Store& store) : ForwardingStore(store) {}

    // Whether the current outermost write scope has failed.
    bool failing() const { return failure_ != kSuccess; }
    // Whether a scope is open.
    bool inScope() const { return depth_ > 0; }
    // What ended the last failed write scope: the call, the key path or value name, and the
    // store's status.
    const std::string& lastFailure() const { return lastFailure_; }

    Status createKey(Root root, std::string_view path, Key& key) override;
    Status openKey(Root root, std::string_view path, Key& key) override;
    Status closeKey(Key key) override;
    Status setValue(Key key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                    std::uint32_t size) override;
    Status queryValue(Key key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                      std::uint32_t* size) override;
    Status deleteValue(Key key, std::string_view name) override;
    Status enumKey(Key key, std::uint32_t index, std::string& name) override;
    Status enumValue(Key key, std::uint32_t index, std::string& name, std::uint32_t& type,
                     std::vector<std::uint8_t>& data) override;
    Status deleteTree(Key key, std::string_view subkey) override;
    Status beginTransaction(Access access) override;
    Status endTransaction(bool commit) override;

private:
    // The status of a call, after keeping it as the scope's failure unless it is one of the
    // answers that are no failure (`alsoFine`, kSuccess).
    Status checked(Status status, const char* call, std::string_view what,
                   Status alsoFine = kSuccess, Status alsoFine2 = kSuccess);
    std::string pathOf(Key key, std::string_view name) const;
    bool guarding() const { return depth_ > 0 && access_ == Access::Write; }

    int depth_ = 0;
    Access access_ = Access::Write; // of the outermost scope
    Status failure_ = kSuccess;
    std::string failedCall_;
    std::string lastFailure_;
    std::unordered_map<std::uintptr_t, std::string> paths_; // of the keys opened through here
};

} // namespace Hive
