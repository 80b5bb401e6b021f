#include "platform/FileName.h"
#include "platform/UserDataFolder.h"

#include <QtGlobal>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Sets an environment variable (or unsets it, given nothing) for the life of the guard.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<QByteArray>& value)
        : name_(name),
          saved_(qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name))
                                                 : std::nullopt) {
        set(value);
    }
    ~ScopedVariable() { set(saved_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const std::optional<QByteArray>& value) const {
        if (value)
            qputenv(name_, *value);
        else
            qunsetenv(name_);
    }

    const char* name_;
    std::optional<QByteArray> saved_;
};

struct FolderCase {
    const char* name;
    std::optional<QByteArray> dataHome;
    QByteArray home;
    QByteArray expected; // the bytes of the folder on disk
};

class UserDataFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(UserDataFolderTest, FollowsTheXdgBaseDirectoryRules) {
    const ScopedVariable dataHome("XDG_DATA_HOME", GetParam().dataHome);
    const ScopedVariable home("HOME", GetParam().home);
    EXPECT_EQ(Platform::fileNameToSystem(Platform::userDataFolder()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, UserDataFolderTest,
    ::testing::Values(
        FolderCase{"DataHomeSet", QByteArray("/data"), "/home/u", "/data/vindrel"},
        FolderCase{"DataHomeUnset", std::nullopt, "/home/u", "/home/u/.local/share/vindrel"},
        FolderCase{"DataHomeEmpty", QByteArray(""), "/home/u", "/home/u/.local/share/vindrel"},
        // A relative one would follow the folder the clock was started in.
        FolderCase{"DataHomeRelative", QByteArray("data"), "/home/u",
                   "/home/u/.local/share/vindrel"},
        FolderCase{"HomeNotUtf8", std::nullopt, "/home/caf\xe9",
                   "/home/caf\xe9/.local/share/vindrel"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
