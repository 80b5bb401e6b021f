#include "core/ValueConversions.h"

#include <gtest/gtest.h>

#include <limits>

using namespace VD_Core;

namespace {

struct ByteCase {
    RegValue value;
    std::optional<quint8> asByte;
    std::optional<quint8> asLeadingByte;
};

class ByteConversions : public ::testing::TestWithParam<ByteCase> {};

TEST_P(ByteConversions, RoundHalvesToEvenAndRefuseWhatLiesOutside0To255) {
    EXPECT_EQ(toByte(GetParam().value), GetParam().asByte);
    EXPECT_EQ(toLeadingByte(GetParam().value), GetParam().asLeadingByte);
}

const std::optional<quint8> kFails;

INSTANTIATE_TEST_SUITE_P(
    Values, ByteConversions,
    ::testing::Values(ByteCase{RegValue(), 0, 0}, ByteCase{RegValue(QStringLiteral("7")), 7, 7},
                      ByteCase{RegValue(QStringLiteral("07")), 7, 7},
                      ByteCase{RegValue(QStringLiteral(" 12 ")), 12, 12},
                      ByteCase{RegValue(QStringLiteral("abc")), kFails, 0},
                      ByteCase{RegValue(QString()), kFails, 0},
                      ByteCase{RegValue(QStringLiteral("7 o'clock")), kFails, 7},
                      ByteCase{RegValue(QStringLiteral("300")), kFails, kFails},
                      ByteCase{RegValue(QStringLiteral("-1")), kFails, kFails},
                      ByteCase{RegValue(QStringLiteral("-0.4")), 0, 0},
                      ByteCase{RegValue(QStringLiteral("2.5")), 2, 2},
                      ByteCase{RegValue(QStringLiteral("3.5")), 4, 4},
                      ByteCase{RegValue(QStringLiteral("255.4")), 255, 255},
                      ByteCase{RegValue(QStringLiteral("1e1x")), kFails, 10},
                      ByteCase{RegValue(QStringLiteral(".5e1")), 5, 5},
                      ByteCase{RegValue(QStringLiteral("99999999999")), kFails, kFails},
                      ByteCase{RegValue(QStringLiteral("1e999")), kFails, kFails},
                      ByteCase{RegValue(QStringLiteral("nan")), kFails, 0},
                      ByteCase{RegValue(qint32(20)), 20, 20},
                      ByteCase{RegValue(qint32(256)), kFails, kFails}));

TEST(LeadingNumber, ReadsSignDigitsFractionAndExponentAfterBlanks) {
    EXPECT_EQ(leadingNumber(QStringLiteral("  -12.5e1abc")), -125);
    EXPECT_EQ(leadingNumber(QStringLiteral("+3")), 3);
    EXPECT_EQ(leadingNumber(QStringLiteral("4e")), 4);
    EXPECT_EQ(leadingNumber(QStringLiteral("-")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral(".")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("\u0663")), 0); // digits of other scripts are text
}

TEST(SingleConversion, TakesAnyNumberWithinAFloat) {
    EXPECT_EQ(toSingle(RegValue(QStringLiteral("-300"))), -300.0f);
    EXPECT_EQ(toSingle(RegValue(QStringLiteral("1200.5"))), 1200.5f);
    EXPECT_EQ(toSingle(RegValue()), 0.0f);
    EXPECT_EQ(toSingle(RegValue(QStringLiteral("1e39"))), std::nullopt);
    EXPECT_EQ(toSingle(RegValue(QStringLiteral("abc"))), std::nullopt);
}

TEST(Int32Conversion, RefusesWhatDoesNotFit) {
    EXPECT_EQ(toInt32(RegValue(QStringLiteral("-2147483648"))), std::numeric_limits<qint32>::min());
    EXPECT_EQ(toInt32(RegValue(QStringLiteral("2147483648"))), std::nullopt);
    EXPECT_EQ(toInt32(RegValue(2.5f)), 2);
}

} // namespace
