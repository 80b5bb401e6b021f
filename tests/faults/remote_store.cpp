#include "RemoteStore.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <sstream>

extern char** environ;

namespace {

std::string hex(const void* bytes, size_t size) {
    static const char digits[] = "0123456789abcdef";
    const auto* data = static_cast<const std::uint8_t*>(bytes);
    std::string text = size == 0 ? "-" : "";
    for (size_t i = 0; i < size; ++i)
        text += {digits[data[i] >> 4], digits[data[i] & 15]};
    return text;
}

std::string hex(std::string_view text) {
    return hex(text.data(), text.size());
}

std::vector<std::uint8_t> fromHex(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

} // namespace

RemoteStore::RemoteStore(const std::vector<std::string>& argv) {
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<char*> arguments;
    for (const std::string& argument : argv)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    alive_ = posix_spawnp(&pid_, arguments[0], &actions, nullptr, arguments.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    toServer_ = in[1];
    fromServer_ = out[0];
    // A server killed mid-call must not take this process with it.
    ::signal(SIGPIPE, SIG_IGN);
}

RemoteStore::~RemoteStore() {
    ::close(toServer_);
    ::close(fromServer_);
    if (pid_ > 0) {
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
}

std::vector<std::string> RemoteStore::call(const std::string& line) {
    const std::string sent = line + '\n';
    if (!alive_ || ::write(toServer_, sent.data(), sent.size()) != ssize_t(sent.size())) {
        alive_ = false;
        return {};
    }
    size_t end = 0;
    while ((end = pending_.find('\n')) == std::string::npos) {
        char buffer[4096];
        const ssize_t got = ::read(fromServer_, buffer, sizeof buffer);
        if (got <= 0) {
            alive_ = false;
            return {};
        }
        pending_.append(buffer, static_cast<size_t>(got));
    }
    std::istringstream answer(pending_.substr(0, end));
    pending_.erase(0, end + 1);
    std::vector<std::string> words;
    for (std::string word; answer >> word;)
        words.push_back(word);
    return words;
}

Hive::Status RemoteStore::status(const std::string& line) {
    const std::vector<std::string> words = call(line);
    return words.empty() ? Hive::kIoFailed : std::stoi(words[0]);
}

Hive::Status RemoteStore::opened(char how, std::string_view path, Hive::Key& key) {
    key = {};
    const std::vector<std::string> words = call(std::string(1, how) + ' ' + hex(path));
    if (words.size() < 2)
        return Hive::kIoFailed;
    key.id = std::stoull(words[1]);
    return std::stoi(words[0]);
}

Hive::Status RemoteStore::createKey(Hive::Root, std::string_view path, Hive::Key& key) {
    return opened('C', path, key);
}

Hive::Status RemoteStore::openKey(Hive::Root, std::string_view path, Hive::Key& key) {
    return opened('O', path, key);
}

Hive::Status RemoteStore::closeKey(Hive::Key key) {
    return status("X " + std::to_string(key.id));
}

Hive::Status RemoteStore::setValue(Hive::Key key, std::string_view name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
    return status("S " + std::to_string(key.id) + ' ' + hex(name) + ' ' + std::to_string(type) +
                  ' ' + hex(data, size));
}

Hive::Status RemoteStore::queryValue(Hive::Key key, std::string_view name, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) {
    const std::vector<std::string> words = call("Q " + std::to_string(key.id) + ' ' + hex(name));
    if (words.size() < 3)
        return Hive::kIoFailed;
    const Hive::Status found = std::stoi(words[0]);
    if (found != Hive::kSuccess)
        return found;
    const std::vector<std::uint8_t> bytes = fromHex(words[2]);
    if (type != nullptr)
        *type = static_cast<std::uint32_t>(std::stoul(words[1]));
    const auto stored = static_cast<std::uint32_t>(bytes.size());
    const bool fits = data == nullptr || *size >= stored;
    if (data != nullptr && fits && stored > 0)
        std::memcpy(data, bytes.data(), stored);
    if (size != nullptr)
        *size = stored;
    return fits ? Hive::kSuccess : Hive::kMoreData;
}

Hive::Status RemoteStore::deleteValue(Hive::Key key, std::string_view name) {
    return status("D " + std::to_string(key.id) + ' ' + hex(name));
}

Hive::Status RemoteStore::enumKey(Hive::Key, std::uint32_t, std::string&) {
    return Hive::kInvalidParameter;
}

Hive::Status RemoteStore::enumValue(Hive::Key, std::uint32_t, std::string&, std::uint32_t&,
                                    std::vector<std::uint8_t>&) {
    return Hive::kInvalidParameter;
}

Hive::Status RemoteStore::deleteTree(Hive::Key key, std::string_view subkey) {
    return status("T " + std::to_string(key.id) + ' ' + hex(subkey));
}
