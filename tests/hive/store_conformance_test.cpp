// What the clock and vindrel-reg rely on from a registry store, run against every store the
// build can reach, so that the stand-in hive and the real registry are held to one standard.

#include "StoreBackend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Hive::Key;
using Hive::Root;
using Bytes = std::vector<std::uint8_t>;

const std::string kScratch = "Software\\VindrelConformance";

Bytes bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

struct Stored {
    Hive::Status status = -1;
    std::uint32_t type = 0;
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

    Hive::Status set(Key key, const std::string& name, std::uint32_t type, const Bytes& data) {
        return store->setValue(key, name, type, data.data(),
                               static_cast<std::uint32_t>(data.size()));
    }

    // Asks for the size first, then for the bytes, as the clock does.
    Stored query(Key key, const std::string& name) {
        Stored stored;
        std::uint32_t size = 0;
        stored.status = store->queryValue(key, name, &stored.type, nullptr, &size);
        if (stored.status != Hive::kSuccess)
            return stored;
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

private:
    Key remember(Key key) {
        if (key)
            opened_.push_back(key);
        return key;
    }

    void removeScratch() {
        Key root;
        ASSERT_EQ(store->openKey(Root::CurrentUser, "", root), Hive::kSuccess);
        store->deleteTree(root, kScratch);
        store->closeKey(root);
    }

    std::vector<Key> opened_;
};

TEST_P(StoreConformance, AKeyNeverCreatedCannotBeOpened) {
    Key key;
    EXPECT_EQ(open("Missing", key), Hive::kFileNotFound);
    EXPECT_FALSE(key);
}

TEST_P(StoreConformance, CreateKeyMakesEveryMissingParent) {
    create("One\\Two\\Three");
    for (const char* path : {"One", "One\\Two", "One\\Two\\Three"}) {
        Key key;
        EXPECT_EQ(open(path, key), Hive::kSuccess) << path;
    }
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

TEST_P(StoreConformance, NonAsciiNamesMatchWithoutCase) {
    if (!GetParam().utf8CodePage)
        GTEST_SKIP() << "the store's code page is not UTF-8";
    const Key key = create("\xC3\x84rger");                       // Ärger
    set(key, "\xC3\xA9t\xC3\xA9", Hive::kRegDword, {1, 0, 0, 0}); // été
    Key again;
    EXPECT_EQ(open("\xC3\xA4RGER", again), Hive::kSuccess);                      // äRGER
    EXPECT_EQ(query(again, "\xC3\x89T\xC3\x89").status, Hive::kSuccess);         // ÉTÉ
    EXPECT_EQ(valueNames(again), std::vector<std::string>{"\xC3\xA9t\xC3\xA9"}); // été
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

TEST_P(StoreConformance, TextSizeCountsItsTerminator) {
    const Key key = create("Text");
    set(key, "Name", Hive::kRegSz, bytes(std::string_view("abc\0", 4)));
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(store->queryValue(key, "Name", &type, nullptr, &size), Hive::kSuccess);
    EXPECT_EQ(type, Hive::kRegSz);
    EXPECT_EQ(size, 4u);
}

TEST_P(StoreConformance, TheEmptyTextIsOneZeroByte) {
    const Key key = create("Text");
    set(key, "UsedSkinPath", Hive::kRegSz, {0});
    const Stored stored = query(key, "UsedSkinPath");
    EXPECT_EQ(stored.type, Hive::kRegSz);
    EXPECT_EQ(stored.data, Bytes{0});
}

TEST_P(StoreConformance, TextWrittenWithoutTerminatorKeepsItsSize) {
    const Key key = create("Text");
    set(key, "Bare", Hive::kRegSz, bytes("abc"));
    EXPECT_EQ(query(key, "Bare").data, bytes("abc"));
}

TEST_P(StoreConformance, ABufferTooSmallGetsMoreDataAndTheNeed) {
    const Key key = create("Text");
    set(key, "Name", Hive::kRegSz, bytes(std::string_view("Meeting\0", 8)));
    Bytes buffer(3);
    std::uint32_t size = 3;
    EXPECT_EQ(store->queryValue(key, "Name", nullptr, buffer.data(), &size), Hive::kMoreData);
    EXPECT_EQ(size, 8u);
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
        {Hive::kRegExpandSz, bytes(std::string_view("%TEMP%\0", 7))},
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

TEST_P(StoreConformance, DeletingAValue) {
    const Key key = create("Deleting");
    set(key, "Gone", Hive::kRegSz, {0});
    EXPECT_EQ(store->deleteValue(key, "GONE"), Hive::kSuccess);
    EXPECT_EQ(query(key, "Gone").status, Hive::kFileNotFound);
    EXPECT_EQ(store->deleteValue(key, "Gone"), Hive::kFileNotFound);
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

TEST_P(StoreConformance, ValuesListInTheOrderTheyWereMade) {
    const Key key = create("List");
    for (const char* name : {"X", "Y", "HourSignal", "AlarmCount"})
        set(key, name, Hive::kRegSz, {0});
    set(key, "Y", Hive::kRegSz, bytes(std::string_view("9\0", 2)));
    EXPECT_EQ(valueNames(key), (std::vector<std::string>{"X", "Y", "HourSignal", "AlarmCount"}));
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
