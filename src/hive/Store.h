#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The registry as the clock reaches it: keys by path under a root, typed values by name. The
// calls mirror the advapi32 registry functions, statuses included, so that one set of callers
// and tests serves the real registry and the stand-in hive alike. Key paths, value names and
// text data are byte strings in the system's 8-bit code page (UTF-8 where there is no other).
namespace Hive {

// The registry functions' own result codes.
using Status = std::int32_t;
inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;      // no such key or value
inline constexpr Status kAccessDenied = 5;      // the store cannot be written
inline constexpr Status kInvalidHandle = 6;     // a null, closed or unknown key handle
inline constexpr Status kInvalidParameter = 87; // e.g. a data buffer without a size
inline constexpr Status kDiskFull = 112;
inline constexpr Status kBadPathname = 161;  // a key path that starts with a backslash
inline constexpr Status kBusy = 170;         // another writer held the store too long
inline constexpr Status kMoreData = 234;     // the data buffer is too small; size tells the need
inline constexpr Status kNoMoreItems = 259;  // an enumeration index past the last item
inline constexpr Status kBadDatabase = 1009; // the store file is damaged
inline constexpr Status kIoFailed = 1016;
inline constexpr Status kKeyDeleted = 1018; // the key of an open handle was deleted

// The longest key name (one level of a path) and value name the registry takes, in UTF-16
// units. Key names are documented as 255 long at most, but the registry takes 256.
inline constexpr size_t kLongestKeyName = 256;
inline constexpr size_t kLongestValueName = 16383;

// Value types. Any other number is kept as well, with its bytes.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

enum class Root : std::uint32_t { CurrentUser = 0x80000001u };

// What a transaction scope is for: reading one consistent state, or writing.
enum class Access { Read, Write };

// An open key. The zero handle is none: every call given it answers kInvalidHandle.
struct Key {
    std::uintptr_t id = 0;
    explicit operator bool() const { return id != 0; }
};

class Store {
public:
    virtual ~Store() = default;

    // RegCreateKeyExA: opens root\path, creating it and every missing key above it. An empty
    // path opens the root itself; empty levels (a doubled or trailing backslash) are passed over.
    virtual Status createKey(Root root, std::string_view path, Key& key) = 0;
    // RegOpenKeyExA: opens root\path if it exists; kFileNotFound for a key never created.
    virtual Status openKey(Root root, std::string_view path, Key& key) = 0;
    // RegCloseKey.
    virtual Status closeKey(Key key) = 0;

    // RegSetValueExA: creates or replaces the value with this type and these bytes, as given.
    virtual Status setValue(Key key, std::string_view name, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) = 0;
    // RegQueryValueExA. type and data may be null. With no data buffer, *size is set to the
    // stored size; with one, the bytes are copied and *size set to their count, or kMoreData is
    // returned with *size set to the need when *size is too small. A data buffer needs a size.
    virtual Status queryValue(Key key, std::string_view name, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) = 0;
    // RegDeleteValueA: kFileNotFound when there is no such value.
    virtual Status deleteValue(Key key, std::string_view name) = 0;

    // RegEnumKeyExA: the name of subkey number index, in the order of their names regardless
    // of case; kNoMoreItems past the last.
    virtual Status enumKey(Key key, std::uint32_t index, std::string& name) = 0;
    // RegEnumValueA: value number index, in the order the values were created.
    virtual Status enumValue(Key key, std::uint32_t index, std::string& name, std::uint32_t& type,
                             std::vector<std::uint8_t>& data) = 0;
    // RegDeleteTreeA: removes subkey of key with everything below it.
    virtual Status deleteTree(Key key, std::string_view subkey) = 0;

    // Between a begin and its end, writes are kept all together or not at all, and reads see
    // one state of the store whatever another copy writes meanwhile; the Windows registry has
    // no such scopes and takes each call on its own. Scopes nest; only the outermost end
    // commits. Nothing can be written in a read scope. A write that fails does not end the
    // scope by itself: AtomicStore makes the whole scope fail. Use Transaction rather than
    // these two.
    virtual Status beginTransaction(Access access) = 0;
    virtual Status endTransaction(bool commit) = 0;
};

// A transaction scope: what is written in it is rolled back unless commit() is called.
class Transaction {
public:
    explicit Transaction(Store& store, Access access = Access::Write);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Ends the scope keeping its writes; the store's status for it.
    Status commit();

private:
    Store& store_;
    bool open_ = true;
};

} // namespace Hive
