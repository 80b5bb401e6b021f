#pragma once

#include "hive/Store.h"

namespace Hive {

// Passes every call on to another store: a store that changes or watches a few calls derives
// from it and overrides those alone.
class ForwardingStore : public Store {
public:
    explicit ForwardingStore(Store& next) : next_(next) {}

    Status createKey(Root root, std::string_view path, Key& key) override {
        return next_.createKey(root, path, key);
    }
    Status openKey(Root root, std::string_view path, Key& key) override {
        return next_.openKey(root, path, key);
    }
    Status closeKey(Key key) override { return next_.closeKey(key); }
    Status setValue(Key key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                    std::uint32_t size) override {
        return next_.setValue(key, name, type, data, size);
    }
    Status queryValue(Key key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                      std::uint32_t* size) override {
        return next_.queryValue(key, name, type, data, size);
    }
    Status deleteValue(Key key, std::string_view name) override {
        return next_.deleteValue(key, name);
    }
    Status enumKey(Key key, std::uint32_t index, std::string& name) override {
        return next_.enumKey(key, index, name);
    }
    Status enumValue(Key key, std::uint32_t index, std::string& name, std::uint32_t& type,
                     std::vector<std::uint8_t>& data) override {
        return next_.enumValue(key, index, name, type, data);
    }
    Status deleteTree(Key key, std::string_view subkey) override {
        return next_.deleteTree(key, subkey);
    }
    Status beginTransaction(Access access) override { return next_.beginTransaction(access); }
    Status endTransaction(bool commit) override { return next_.endTransaction(commit); }

protected:
    Store& next() const { return next_; }

private:
    Store& next_;
};

} // namespace Hive
