#pragma once

#include "hive/Store.h"

#include <sys/types.h>

#include <string>
#include <vector>

// The store of a store_server process (tests/hive/store_server.cpp), started here and reached
// through its standard input and output: the Windows registry under Wine, for the clock's core
// built for Linux. Transactions do nothing, as in the registry. Once the server has gone (it was
// killed), every call fails with kIoFailed.
class RemoteStore final : public Hive::Store {
public:
    // argv[0] is the program to start, for instance wine, with the server after it.
    explicit RemoteStore(const std::vector<std::string>& argv);
    ~RemoteStore() override;
    RemoteStore(const RemoteStore&) = delete;
    RemoteStore& operator=(const RemoteStore&) = delete;

    pid_t pid() const { return pid_; }
    bool alive() const { return alive_; }

    Hive::Status createKey(Hive::Root root, std::string_view path, Hive::Key& key) override;
    Hive::Status openKey(Hive::Root root, std::string_view path, Hive::Key& key) override;
    Hive::Status closeKey(Hive::Key key) override;
    Hive::Status setValue(Hive::Key key, std::string_view name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) override;
    Hive::Status queryValue(Hive::Key key, std::string_view name, std::uint32_t* type,
                            std::uint8_t* data, std::uint32_t* size) override;
    Hive::Status deleteValue(Hive::Key key, std::string_view name) override;
    Hive::Status enumKey(Hive::Key key, std::uint32_t index, std::string& name) override;
    Hive::Status enumValue(Hive::Key key, std::uint32_t index, std::string& name,
                           std::uint32_t& type, std::vector<std::uint8_t>& data) override;
    Hive::Status deleteTree(Hive::Key key, std::string_view subkey) override;
    Hive::Status beginTransaction(Hive::Access) override { return Hive::kSuccess; }
    Hive::Status endTransaction(bool) override { return Hive::kSuccess; }

private:
    // Sends one call and reads its answer's words; empty once the server has gone.
    std::vector<std::string> call(const std::string& line);
    Hive::Status status(const std::string& line);
    Hive::Status opened(char how, std::string_view path, Hive::Key& key);

    pid_t pid_ = -1;
    int toServer_ = -1;
    int fromServer_ = -1;
    std::string pending_;
    bool alive_ = false;
};
