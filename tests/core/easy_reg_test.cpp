#include "core/EasyReg.h"
#include <HiveContents.h>
#include <TestStore.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace VD_Core;

namespace {

constexpr Hive::Root kRoot = Hive::Root::CurrentUser;
const QString kKey = QStringLiteral("Software\\Brambleton\\Vindrel");

QByteArray bytes(const char* data, int size) {
    return {data, size};
}

class EasyRegTest : public ::testing::Test {
protected:
    std::unique_ptr<TestStore> hive = std::make_unique<TestStore>();
    EasyReg reg{*hive};

    void TearDown() override { EXPECT_EQ(hive->openHandles(), 0u) << "a key was left open"; }

    QList<StoredValue> stored() const { return storedValues(*hive, kKey); }
};

struct ReadCase {
    const char* name;
    quint32 type;
    QByteArray data;
    RegValue expected;
    const char* wineDiffers = nullptr; // what Wine's registry does instead, if it differs
};

// Text as the registry holds it: in the system's 8-bit code page, with its NUL.
QByteArray storedText(const QString& text) {
    return text.toLocal8Bit() + '\0';
}

class GetValueTest : public EasyRegTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(GetValueTest, ReadsTextAndNumbersAndNothingElse) {
    if (GetParam().wineDiffers != nullptr && TestStore::wineVersion() != nullptr)
        GTEST_SKIP() << "Wine " << TestStore::wineVersion() << " " << GetParam().wineDiffers;
    storeRaw(*hive, kKey, QStringLiteral("V"), GetParam().type, GetParam().data);
    EXPECT_EQ(reg.GetValue(kRoot, kKey, QStringLiteral("v")), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, GetValueTest,
    ::testing::Values(
        ReadCase{"Text", Hive::kRegSz, bytes("1200\0", 5), RegValue(QStringLiteral("1200"))},
        ReadCase{"EmptyText", Hive::kRegSz, bytes("\0", 1), RegValue(QString())},
        ReadCase{"TextWithoutNulIsOneShort", Hive::kRegSz, bytes("abc", 3),
                 RegValue(QStringLiteral("ab")), "counts a NUL after a text written without one"},
        ReadCase{"NonAsciiText", Hive::kRegSz, storedText(QStringLiteral("Gr\u00F6\u00DFe")),
                 RegValue(QStringLiteral("Gr\u00F6\u00DFe"))},
        ReadCase{"TextOfSizeZero", Hive::kRegSz, QByteArray(), RegValue()},
        ReadCase{"Dword", Hive::kRegDword, bytes("\xB0\x04\0\0", 4), RegValue(qint32(1200))},
        ReadCase{"NegativeDword", Hive::kRegDword, bytes("\xFF\xFF\xFF\xFF", 4),
                 RegValue(qint32(-1))},
        ReadCase{"ShortDword", Hive::kRegDword, bytes("\x07", 1), RegValue(qint32(7))},
        ReadCase{"Binary", Hive::kRegBinary, bytes("1\0", 2), RegValue()},
        ReadCase{"ExpandText", Hive::kRegExpandSz, bytes("%TEMP%\0", 7), RegValue()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EasyRegTest, MissingKeysAndValuesReadAsEmpty) {
    EXPECT_TRUE(reg.GetValue(kRoot, kKey, QStringLiteral("X")).isEmpty());
    reg.CreateNewKey(kKey, kRoot);
    EXPECT_TRUE(reg.GetValue(kRoot, kKey, QStringLiteral("X")).isEmpty());
}

TEST_F(EasyRegTest, SavingIntoAMissingKeyWritesNothingUntilTheKeyIsCreated) {
    reg.SaveValue(kRoot, kKey, QStringLiteral("X"), QStringLiteral("0"), Hive::kRegSz);
    Hive::Key key;
    EXPECT_EQ(hive->openKey(kRoot, "Software\\Brambleton", key), Hive::kFileNotFound);
    reg.CreateNewKey(kKey + QStringLiteral("\\Alarms"), kRoot);
    reg.SaveValue(kRoot, kKey, QStringLiteral("X"), QStringLiteral("0"), Hive::kRegSz);
    EXPECT_EQ(stored(), QList<StoredValue>{textValue(QStringLiteral("X"), QStringLiteral("0"))});
}

struct WriteCase {
    const char* name;
    RegValue value;
    quint32 type;
    QByteArray data; // empty: nothing is written
};

class SaveValueTest : public EasyRegTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(SaveValueTest, StoresTextWithItsNulAndNumbersAsFourBytes) {
    reg.CreateNewKey(kKey, kRoot);
    reg.SaveValue(kRoot, kKey, QStringLiteral("V"), GetParam().value, GetParam().type);
    QList<StoredValue> expected;
    if (!GetParam().data.isEmpty())
        expected.append({QStringLiteral("V"), GetParam().type, GetParam().data});
    EXPECT_EQ(stored(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SaveValueTest,
    ::testing::Values(
        WriteCase{"Text", RegValue(QStringLiteral("Wake")), Hive::kRegSz, bytes("Wake\0", 5)},
        WriteCase{"EmptyTextIsOneByte", RegValue(QString()), Hive::kRegSz, bytes("\0", 1)},
        WriteCase{"EmptyValueIsTheEmptyText", RegValue(), Hive::kRegSz, bytes("\0", 1)},
        WriteCase{"SizeInBytes", RegValue(QStringLiteral("\u00E9t\u00E9")), Hive::kRegSz,
                  storedText(QStringLiteral("\u00E9t\u00E9"))},
        WriteCase{"ByteAsText", RegValue(quint8(15)), Hive::kRegSz, bytes("15\0", 3)},
        WriteCase{"NegativeAsText", RegValue(qint32(-300)), Hive::kRegSz, bytes("-300\0", 5)},
        WriteCase{"FloatAsText", RegValue(1440.0f), Hive::kRegSz, bytes("1440\0", 5)},
        WriteCase{"Dword", RegValue(qint32(1200)), Hive::kRegDword, bytes("\xB0\x04\0\0", 4)},
        WriteCase{"TextAsDword", RegValue(QStringLiteral("7")), Hive::kRegDword,
                  bytes("\x07\0\0\0", 4)},
        WriteCase{"NoNumberAsDwordWritesNothing", RegValue(QStringLiteral("abc")), Hive::kRegDword,
                  QByteArray()},
        WriteCase{"OtherTypesWriteNothing", RegValue(QStringLiteral("x")), Hive::kRegBinary,
                  QByteArray()},
        WriteCase{"ExpandTextWritesNothing", RegValue(QStringLiteral("x")), Hive::kRegExpandSz,
                  QByteArray()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EasyRegTest, DeletingRemovesAValueAndMissingOnesAreNoError) {
    reg.CreateNewKey(kKey, kRoot);
    reg.SaveValue(kRoot, kKey, QStringLiteral("X"), QStringLiteral("0"), Hive::kRegSz);
    reg.DeleteValue(kRoot, kKey, QStringLiteral("X"));
    reg.DeleteValue(kRoot, kKey, QStringLiteral("X"));
    reg.DeleteValue(kRoot, kKey + QStringLiteral("\\Missing"), QStringLiteral("X"));
    EXPECT_TRUE(stored().isEmpty());
}

TEST_F(EasyRegTest, QueryLeavesTheValueAsItWasForAnotherType) {
    storeRaw(*hive, kKey, QStringLiteral("Bin"), Hive::kRegBinary, bytes("\1", 1));
    storeRaw(*hive, kKey, QStringLiteral("Empty"), Hive::kRegSz, QByteArray());
    Hive::Key key;
    hive->openKey(kRoot, kKey.toStdString(), key);
    RegValue value(QStringLiteral("before"));
    EXPECT_EQ(reg.QueryKeyValue(key, QStringLiteral("Bin"), value), -1);
    EXPECT_EQ(reg.QueryKeyValue(key, QStringLiteral("Empty"), value), Hive::kSuccess);
    EXPECT_EQ(reg.QueryKeyValue(key, QStringLiteral("Missing"), value), Hive::kFileNotFound);
    EXPECT_EQ(value, RegValue(QStringLiteral("before")));
    hive->closeKey(key);
}

class ChangingStore : public Hive::Store {
public:
    MOCK_METHOD(Hive::Status, createKey, (Hive::Root, std::string_view, Hive::Key&), (override));
    MOCK_METHOD(Hive::Status, openKey, (Hive::Root, std::string_view, Hive::Key&), (override));
    MOCK_METHOD(Hive::Status, closeKey, (Hive::Key), (override));
    MOCK_METHOD(Hive::Status, setValue,
                (Hive::Key, std::string_view, std::uint32_t, const std::uint8_t*, std::uint32_t),
                (override));
    MOCK_METHOD(Hive::Status, queryValue,
                (Hive::Key, std::string_view, std::uint32_t*, std::uint8_t*, std::uint32_t*),
                (override));
    MOCK_METHOD(Hive::Status, deleteValue, (Hive::Key, std::string_view), (override));
    MOCK_METHOD(Hive::Status, enumKey, (Hive::Key, std::uint32_t, std::string&), (override));
    MOCK_METHOD(Hive::Status, enumValue,
                (Hive::Key, std::uint32_t, std::string&, std::uint32_t&,
                 std::vector<std::uint8_t>&),
                (override));
    MOCK_METHOD(Hive::Status, deleteTree, (Hive::Key, std::string_view), (override));
    MOCK_METHOD(Hive::Status, beginTransaction, (Hive::Access), (override));
    MOCK_METHOD(Hive::Status, endTransaction, (bool), (override));
};

TEST(EasyRegQuery, ATextThatGrewBetweenTheTwoReadsReadsAsEmpty) {
    ChangingStore store;
    using ::testing::_;
    EXPECT_CALL(store, queryValue(_, _, _, nullptr, _))
        .WillOnce([](Hive::Key, std::string_view, std::uint32_t* type, std::uint8_t*,
                     std::uint32_t* size) {
            *type = Hive::kRegSz;
            *size = 4;
            return Hive::kSuccess;
        });
    EXPECT_CALL(store, queryValue(_, _, nullptr, ::testing::NotNull(), _))
        .WillOnce(
            [](Hive::Key, std::string_view, std::uint32_t*, std::uint8_t*, std::uint32_t* size) {
                *size = 9;
                return Hive::kMoreData;
            });
    RegValue value(QStringLiteral("before"));
    EXPECT_EQ(EasyReg(store).QueryKeyValue(Hive::Key{1}, QStringLiteral("Name"), value),
              Hive::kMoreData);
    EXPECT_TRUE(value.isEmpty());
}

} // namespace
