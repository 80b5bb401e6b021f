// What the clock and vindrel-reg rely on from a registry store, run against every store the
// build can reach, so that the stand-in hive and the real registry are held to one standard.

#include "StoreBackend.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Hive::Key;
using Hive::Root;
using Bytes = std::vector<std::uint8_t>;

const std::string kScratch = "Software\\VindrelConformance";
// Right under the root and short, for the longest names: a path through it stays within the
// 260 characters to which Wine's ANSI calls limit a whole key path.
const std::string kShortScratch = "~V";

Bytes bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

std::string repeated(std::string_view text, size_t times) {
    std::string result;
    for (size_t i = 0; i < times; ++i)
        result += text;
    return result;
}

struct Stored {
    Hive::Status status = -1;
    std::uint32_t type = 0;
    std::uint32_t needed = 0; // the size asked for without a buffer
    Bytes data;
};

class StoreConformance : public ::testing::TestWithParam<StoreBackend> {
protected:
    std::shared_ptr<Hive::Store> store;

    void SetUp() override {
        store = GetParam().open();
        ASSERT_NE(store, nullptr);
        removeScratch();
    }

    void TearDown() override {
        for (Key key : opened_)
            store->closeKey(key);
        removeScratch();
    }

    static std::string below(const std::string& path) {
        return path.empty() ? kScratch : kScratch + "\\" + path;
    }

    Key create(const std::string& path) {
        Key key;
        EXPECT_EQ(store->createKey(Root::CurrentUser, below(path), key), Hive::kSuccess) << path;
        return remember(key);
    }

    Hive::Status open(const std::string& path, Key& key) {
        const Hive::Status status = store->openKey(Root::CurrentUser, below(path), key);
        remember(key);
        return status;
    }

    // Creates or opens a key below the short scratch key; the store's status.
    Hive::Status createShort(const std::string& name) {
        Key key;
        const Hive::Status status =
            store->createKey(Root::CurrentUser, kShortScratch + "\\" + name, key);
        remember(key);
        return status;
    }

    Hive::Status openShort(const std::string& name, Key& key) {
        const std::string path = name.empty() ? kShortScratch : kShortScratch + "\\" + name;
        const Hive::Status status = store->openKey(Root::CurrentUser, path, key);
        remember(key);
        return status;
    }

    Hive::Status set(Key key, const std::string& name, std::uint32_t type, const Bytes& data) {
        return store->setValue(key, name, type, data.data(),
                               static_cast<std::uint32_t>(data.size()));
    }

    // Writes the first `counted` bytes of text, as a writer that counts them itself does.
    Hive::Status setCounted(Key key, const std::string& name, std::uint32_t type,
                            std::string_view text, std::uint32_t counted) {
        return store->setValue(key, name, type, reinterpret_cast<const std::uint8_t*>(text.data()),
                               counted);
    }

    // Asks for the size first, then for the bytes, as the clock does.
    Stored query(Key key, const std::string& name) {
        Stored stored;
        std::uint32_t size = 0;
        stored.status = store->queryValue(key, name, &stored.type, nullptr, &size);
        if (stored.status != Hive::kSuccess)
            return stored;
        stored.needed = size;
        stored.data.resize(size);
        stored.status = store->queryValue(key, name, nullptr, stored.data.data(), &size);
        stored.data.resize(size);
        return stored;
    }

    std::vector<std::string> subkeys(Key key) {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t i = 0; store->enumKey(key, i, name) == Hive::kSuccess; ++i)
            names.push_back(name);
        return names;
    }

    std::vector<std::string> valueNames(Key key) {
        std::vector<std::string> names;
        std::string name;
        std::uint32_t type = 0;
        Bytes data;
        for (std::uint32_t i = 0; store->enumValue(key, i, name, type, data) == Hive::kSuccess; ++i)
            names.push_back(name);
        return names;
    }

    // The UTF-8 texts in the store's code page; none at all when it lacks a character of one.
    std::vector<std::string> inCodePage(std::initializer_list<std::string_view> texts) const {
        std::vector<std::string> converted;
        for (std::string_view text : texts) {
            std::optional<std::string> local = GetParam().inCodePage(text);
            if (!local)
                return {};
            converted.push_back(*local);
        }
        return converted;
    }

    // Whether the store shows the difference from Windows it is known for in this case; if so,
    // the case is reported as skipped, with what the store does instead.
    bool showsKnownDifference(bool shown) const {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        const auto& differences = GetParam().knownDifferences;
        const auto found = differences.find(name.substr(0, name.find('/')));
        if (found == differences.end())
            return false;
        if (shown)
            skipBecause(found->first + ": " + found->second);
        else
            std::cout << "[     NOTE ] " << GetParam().name
                      << " behaves as Windows here now; its known difference is gone: "
                      << found->second << "\n";
        return shown;
    }

private:
    static void skipBecause(const std::string& difference) {
        GTEST_SKIP() << "Known difference from Windows: " << difference;
    }

    Key remember(Key key) {
        if (key)
            opened_.push_back(key);
        return key;
    }

    void removeScratch() {
        Key root;
        ASSERT_EQ(store->openKey(Root::CurrentUser, "", root), Hive::kSuccess);
        store->deleteTree(root, kScratch);
        store->deleteTree(root, kShortScratch);
        store->closeKey(root);
    }

    std::vector<Key> opened_;
};

TEST_P(StoreConformance, AKeyNeverCreatedCannotBeOpened) {
    create("Present");
    for (const char* path : {"Missing", "Missing\\Deeper", "Present\\Missing"}) {
        Key key;
        EXPECT_EQ(open(path, key), Hive::kFileNotFound) << path;
        EXPECT_FALSE(key) << path;
    }
}

TEST_P(StoreConformance, CreateKeyMakesEveryMissingParent) {
    create("One\\Two\\Three");
    for (const char* path : {"One", "One\\Two", "One\\Two\\Three"}) {
        Key key;
        EXPECT_EQ(open(path, key), Hive::kSuccess) << path;
    }
}

// Levels are what lies between backslashes; empty ones are passed over.
TEST_P(StoreConformance, KeyPathsPassOverEmptyLevels) {
    const std::pair<const char*, const char*> paths[] = {
        {"Doubled\\\\Inner", "Doubled\\Inner"},
        {"Trailing\\", "Trailing"},
        {"Trailing\\Twice\\\\", "Trailing\\Twice"},
    };
    for (const auto& [written, read] : paths) {
        create(written);
        Key key;
        EXPECT_EQ(open(read, key), Hive::kSuccess) << written;
    }
    Key key;
    ASSERT_EQ(open("Doubled", key), Hive::kSuccess);
    EXPECT_EQ(subkeys(key), std::vector<std::string>{"Inner"});
    EXPECT_EQ(store->createKey(Root::CurrentUser, "\\" + below("Leading"), key),
              Hive::kBadPathname);
}

TEST_P(StoreConformance, CreatingAnExistingKeyOpensItWithItsValues) {
    set(create("Kept"), "Name", Hive::kRegSz, bytes(std::string_view("Wake\0", 5)));
    EXPECT_EQ(query(create("Kept"), "Name").data, bytes(std::string_view("Wake\0", 5)));
}

TEST_P(StoreConformance, KeyPathsMatchWithoutCaseAndKeepTheirOwn) {
    create("MixedCase\\Inner");
    Key key;
    EXPECT_EQ(open("MIXEDCASE\\inner", key), Hive::kSuccess);
    create("mixedcase");
    Key scratch;
    ASSERT_EQ(open("", scratch), Hive::kSuccess);
    EXPECT_EQ(subkeys(scratch), std::vector<std::string>{"MixedCase"});
}

// Names that differ only in the case of letters beyond ASCII.
const std::pair<std::string_view, std::string_view> kSameNamesInOtherCase[] = {
    {"\xC3\x84rger", "\xC3\xA4RGER"},           // Ärger, äRGER
    {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"}, // été, ÉTÉ
    {"\xC3\xBF", "\xC5\xB8"},                   // ÿ, Ÿ: one byte apart in the code page
};

TEST_P(StoreConformance, NonAsciiNamesMatchWithoutCase) {
    const Key key = create("Letters");
    for (const auto& [written, asked] : kSameNamesInOtherCase) {
        const std::vector<std::string> names = inCodePage({written, asked});
        if (names.empty())
            GTEST_SKIP() << "the store's code page lacks these letters";
        SCOPED_TRACE(names[0]);
        create("Letters\\" + names[0]);
        Key again;
        EXPECT_EQ(open("Letters\\" + names[1], again), Hive::kSuccess);
        ASSERT_EQ(set(key, names[0], Hive::kRegDword, {1, 0, 0, 0}), Hive::kSuccess);
        EXPECT_EQ(query(key, names[1]).status, Hive::kSuccess);
    }
    Key again;
    ASSERT_EQ(open("Letters", again), Hive::kSuccess);
    EXPECT_EQ(valueNames(again).size(), std::size(kSameNamesInOtherCase));
}

TEST_P(StoreConformance, SharpSIsNoDoubleS) {
    const std::vector<std::string> names = inCodePage({"Stra\xC3\x9F"
                                                       "e",
                                                       "STRA\xC3\x9F"
                                                       "E"});
    if (names.empty())
        GTEST_SKIP() << "the store's code page lacks the sharp s";
    create(names[0]);
    Key key;
    EXPECT_EQ(open("STRASSE", key), Hive::kFileNotFound);
    EXPECT_EQ(open(names[1], key), Hive::kSuccess);
}

TEST_P(StoreConformance, ValueNamesMatchWithoutCaseAndKeepTheFirstSpelling) {
    const Key key = create("Values");
    set(key, "AlarmCount", Hive::kRegSz, bytes(std::string_view("2\0", 2)));
    set(key, "ALARMCOUNT", Hive::kRegSz, bytes(std::string_view("3\0", 2)));
    EXPECT_EQ(query(key, "alarmcount").data, bytes(std::string_view("3\0", 2)));
    EXPECT_EQ(valueNames(key), std::vector<std::string>{"AlarmCount"});
}

TEST_P(StoreConformance, AMissingValueIsNotFound) {
    EXPECT_EQ(query(create("Empty"), "X").status, Hive::kFileNotFound);
}

// A text as its writer counted it: the first `counted` bytes of `buffer`.
struct WrittenText {
    const char* name;
    std::string_view buffer;
    std::uint32_t counted;
};

const WrittenText kWrittenTexts[] = {
    {"WithItsNul", {"abc\0", 4}, 4},    {"EmptyAsOneNul", {"\0", 1}, 1}, {"EmptyAsNoBytes", "", 0},
    {"WithoutANul", "abcd", 3}, // the byte after the count is no NUL
    {"NulsInside", {"ab\0cd\0", 6}, 6},
};

// Texts come back as written, byte for byte: the reader decides what a missing NUL means.
TEST_P(StoreConformance, TextsKeepTheBytesAndSizeWritten) {
    const Key key = create("Text");
    for (const std::uint32_t type : {Hive::kRegSz, Hive::kRegExpandSz}) {
        for (const WrittenText& text : kWrittenTexts) {
            SCOPED_TRACE(std::string(text.name) + " of type " + std::to_string(type));
            ASSERT_EQ(setCounted(key, text.name, type, text.buffer, text.counted), Hive::kSuccess);
            const Stored stored = query(key, text.name);
            EXPECT_EQ(stored.type, type);
            EXPECT_EQ(stored.needed, text.counted);
            EXPECT_EQ(stored.data, bytes(text.buffer.substr(0, text.counted)));
        }
    }
}

// A text written without its NUL, although one follows in memory, keeps the size it was
// given: the clock, dropping the last byte as the NUL, reads it one character short.
TEST_P(StoreConformance, ATextCountedWithoutItsNulStaysShort) {
    const Key key = create("Text");
    const std::string_view abc("abc\0", 4);
    ASSERT_EQ(setCounted(key, "Name", Hive::kRegSz, abc, 3), Hive::kSuccess);
    const Stored stored = query(key, "Name");
    if (showsKnownDifference(stored.data == bytes(abc)))
        return;
    EXPECT_EQ(stored.needed, 3u);
    EXPECT_EQ(stored.data, bytes("abc"));
}

TEST_P(StoreConformance, NonAsciiTextKeepsItsBytes) {
    const std::vector<std::string> texts = inCodePage({"Gr\xC3\xBC\xC3\x9F"
                                                       "e aus K\xC3\xB6ln"});
    if (texts.empty())
        GTEST_SKIP() << "the store's code page lacks these letters";
    const Key key = create("Text");
    Bytes written = bytes(texts[0]);
    written.push_back(0);
    ASSERT_EQ(set(key, "Greeting", Hive::kRegSz, written), Hive::kSuccess);
    const Stored stored = query(key, "Greeting");
    EXPECT_EQ(stored.needed, written.size());
    EXPECT_EQ(stored.data, written);
}

TEST_P(StoreConformance, ABufferTooSmallGetsMoreDataAndTheNeed) {
    const Key key = create("Sizes");
    const std::pair<std::uint32_t, Bytes> values[] = {
        {Hive::kRegSz, bytes(std::string_view("Meeting\0", 8))},
        {Hive::kRegDword, {7, 0, 0, 0}},
        {Hive::kRegBinary, {1, 2, 3}},
    };
    for (const auto& [type, data] : values) {
        const std::string name = "Type" + std::to_string(type);
        ASSERT_EQ(set(key, name, type, data), Hive::kSuccess);
        const auto need = static_cast<std::uint32_t>(data.size());
        for (const std::uint32_t room : {0u, need - 1}) {
            SCOPED_TRACE(name + " into " + std::to_string(room) + " bytes");
            Bytes buffer(need);
            std::uint32_t size = room;
            EXPECT_EQ(store->queryValue(key, name, nullptr, buffer.data(), &size), Hive::kMoreData);
            EXPECT_EQ(size, need);
        }
    }
}

TEST_P(StoreConformance, ADataBufferWithoutASizeIsRefused) {
    const Key key = create("Text");
    set(key, "Name", Hive::kRegSz, {0});
    std::uint8_t buffer[4];
    EXPECT_EQ(store->queryValue(key, "Name", nullptr, buffer, nullptr), Hive::kInvalidParameter);
}

TEST_P(StoreConformance, EveryTypeKeepsItsBytes) {
    const Key key = create("Types");
    const std::vector<std::pair<std::uint32_t, Bytes>> values = {
        {Hive::kRegDword, {0xB0, 0x04, 0, 0}},
        {Hive::kRegBinary, {0x00, 0xFF, 0x10}},
        {Hive::kRegBinary, {}},
        {Hive::kRegQword, {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string name = "v" + std::to_string(i);
        ASSERT_EQ(set(key, name, values[i].first, values[i].second), Hive::kSuccess);
        const Stored stored = query(key, name);
        EXPECT_EQ(stored.type, values[i].first) << name;
        EXPECT_EQ(stored.data, values[i].second) << name;
    }
}

TEST_P(StoreConformance, RewritingAValueReplacesItsType) {
    const Key key = create("Types");
    set(key, "X", Hive::kRegDword, {1, 0, 0, 0});
    set(key, "X", Hive::kRegSz, bytes(std::string_view("1\0", 2)));
    EXPECT_EQ(query(key, "X").type, Hive::kRegSz);
}

TEST_P(StoreConformance, DeletingAValueLeavesTheOthers) {
    const Key key = create("Deleting");
    set(key, "Gone", Hive::kRegSz, {0});
    set(key, "Kept", Hive::kRegSz, {0});
    EXPECT_EQ(store->deleteValue(key, "GONE"), Hive::kSuccess);
    EXPECT_EQ(query(key, "Gone").status, Hive::kFileNotFound);
    EXPECT_EQ(valueNames(key), std::vector<std::string>{"Kept"});
    EXPECT_EQ(store->deleteValue(key, "Gone"), Hive::kFileNotFound);
    EXPECT_EQ(store->deleteValue(key, "Never"), Hive::kFileNotFound);
}

// Windows documents 255 characters as the longest key name, but takes 256.
TEST_P(StoreConformance, KeyNamesTakeUpTo256Characters) {
    for (const size_t length : {255u, 256u}) {
        const std::string name(length, 'k');
        EXPECT_EQ(createShort(name), Hive::kSuccess) << length;
        Key key;
        EXPECT_EQ(openShort(name, key), Hive::kSuccess) << length;
    }
    const std::string tooLong(257, 'k');
    EXPECT_EQ(createShort(tooLong), Hive::kInvalidParameter);
    Key key;
    EXPECT_EQ(openShort(tooLong, key), Hive::kInvalidParameter);
    ASSERT_EQ(openShort("", key), Hive::kSuccess);
    EXPECT_EQ(subkeys(key),
              (std::vector<std::string>{std::string(255, 'k'), std::string(256, 'k')}));
}

TEST_P(StoreConformance, ValueNamesTakeUpTo16383Characters) {
    const Key key = create("Long");
    const std::string longest(16383, 'v');
    const std::string tooLong(16384, 'v');
    EXPECT_EQ(set(key, longest, Hive::kRegDword, {1, 0, 0, 0}), Hive::kSuccess);
    EXPECT_EQ(query(key, longest).status, Hive::kSuccess);
    EXPECT_EQ(set(key, tooLong, Hive::kRegDword, {1, 0, 0, 0}), Hive::kInvalidParameter);
    EXPECT_EQ(query(key, tooLong).status, Hive::kFileNotFound);
    EXPECT_EQ(store->deleteValue(key, tooLong), Hive::kFileNotFound);
    EXPECT_EQ(valueNames(key), std::vector<std::string>{longest});
}

// The registry counts the characters of a name, not the bytes of its code page.
TEST_P(StoreConformance, NameLengthsCountCharacters) {
    const std::string_view a = "\xC3\xA4"; // ä
    const std::vector<std::string> names =
        inCodePage({repeated(a, 256), repeated(a, 257), repeated(a, 16383), repeated(a, 16384)});
    if (names.empty())
        GTEST_SKIP() << "the store's code page lacks the letter";
    EXPECT_EQ(createShort(names[0]), Hive::kSuccess);
    EXPECT_EQ(createShort(names[1]), Hive::kInvalidParameter);
    const Key key = create("Counted");
    EXPECT_EQ(set(key, names[2], Hive::kRegDword, {1, 0, 0, 0}), Hive::kSuccess);
    EXPECT_EQ(set(key, names[3], Hive::kRegDword, {1, 0, 0, 0}), Hive::kInvalidParameter);
}

TEST_P(StoreConformance, ClosedAndNullHandlesAreRefused) {
    Key key;
    ASSERT_EQ(store->createKey(Root::CurrentUser, below("Closed"), key), Hive::kSuccess);
    EXPECT_EQ(store->closeKey(key), Hive::kSuccess);
    EXPECT_EQ(set(key, "X", Hive::kRegSz, {0}), Hive::kInvalidHandle);
    EXPECT_EQ(set(Key{}, "X", Hive::kRegSz, {0}), Hive::kInvalidHandle);
    EXPECT_EQ(query(Key{}, "X").status, Hive::kInvalidHandle);
}

TEST_P(StoreConformance, SubkeysListInNameOrderRegardlessOfCase) {
    const Key key = create("List");
    for (const char* name : {"beta", "Alpha", "gamma", "Delta"})
        create(std::string("List\\") + name);
    EXPECT_EQ(subkeys(key), (std::vector<std::string>{"Alpha", "beta", "Delta", "gamma"}));
    std::string name;
    EXPECT_EQ(store->enumKey(key, 4, name), Hive::kNoMoreItems);
}

// Windows lists values as they were made; vindrel-reg prints and exports them so.
TEST_P(StoreConformance, ValuesListInTheOrderTheyWereMade) {
    const Key key = create("List");
    for (const char* name : {"X", "Y", "HourSignal", "AlarmCount"})
        set(key, name, Hive::kRegSz, {0});
    set(key, "Y", Hive::kRegSz, bytes(std::string_view("9\0", 2)));
    const std::vector<std::string> listed = valueNames(key);
    if (showsKnownDifference(listed ==
                             std::vector<std::string>{"AlarmCount", "HourSignal", "X", "Y"}))
        return;
    EXPECT_EQ(listed, (std::vector<std::string>{"X", "Y", "HourSignal", "AlarmCount"}));
    std::string name;
    std::uint32_t type = 0;
    Bytes data;
    ASSERT_EQ(store->enumValue(key, 1, name, type, data), Hive::kSuccess);
    EXPECT_EQ(data, bytes(std::string_view("9\0", 2)));
    EXPECT_EQ(store->enumValue(key, 4, name, type, data), Hive::kNoMoreItems);
}

TEST_P(StoreConformance, DeletingATreeRemovesEverythingBelow) {
    set(create("Tree\\Branch\\Leaf"), "X", Hive::kRegSz, {0});
    const Key tree = create("Tree");
    EXPECT_EQ(store->deleteTree(tree, "BRANCH"), Hive::kSuccess);
    Key key;
    EXPECT_EQ(open("Tree\\Branch", key), Hive::kFileNotFound);
    EXPECT_EQ(open("Tree", key), Hive::kSuccess);
    EXPECT_EQ(store->deleteTree(tree, "Branch"), Hive::kFileNotFound);
}

TEST_P(StoreConformance, CommittedTransactionsKeepTheirWrites) {
    const Key key = create("Saved");
    {
        Hive::Transaction outer(*store);
        set(key, "X", Hive::kRegSz, bytes(std::string_view("1200\0", 5)));
        {
            Hive::Transaction inner(*store);
            set(key, "Y", Hive::kRegSz, bytes(std::string_view("900\0", 4)));
            EXPECT_EQ(inner.commit(), Hive::kSuccess);
        }
        EXPECT_EQ(outer.commit(), Hive::kSuccess);
    }
    EXPECT_EQ(query(key, "X").data, bytes(std::string_view("1200\0", 5)));
    EXPECT_EQ(query(key, "Y").data, bytes(std::string_view("900\0", 4)));
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreConformance, ::testing::ValuesIn(storeBackends()),
                         [](const auto& info) { return info.param.name; });

} // namespace
