#include "platform/LocalTime.h"
#include "platform/ZoneWatch.h"
#include <ScopedTimeZone.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Platform;

namespace {

struct Instant {
    const char* zone;
    const char* utc; // ISO 8601, milliseconds included
};

class LocalTimeTest : public ::testing::TestWithParam<Instant> {};

// The conversion the clock ticks with gives the wall clock Qt's own conversion gives, on both
// sides of daylight saving's jumps, in zones half an hour off and across a year's end.
TEST_P(LocalTimeTest, AgreesWithQtsConversion) {
    ScopedTimeZone zone(GetParam().zone);
    const QDateTime utc =
        QDateTime::fromString(QString::fromLatin1(GetParam().utc), Qt::ISODateWithMs);
    ASSERT_TRUE(utc.isValid());
    const qint64 ms = utc.toMSecsSinceEpoch();
    const QDateTime expected = QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime);
    const QDateTime local = localDateTime(ms);
    EXPECT_EQ(local.date(), expected.date());
    EXPECT_EQ(local.time(), expected.time());
    EXPECT_EQ(local.offsetFromUtc(), expected.offsetFromUtc());
    EXPECT_EQ(local.toMSecsSinceEpoch(), ms);
}

INSTANTIATE_TEST_SUITE_P(Zones, LocalTimeTest,
                         ::testing::Values(Instant{"Europe/Berlin", "2024-10-27T00:59:59.999Z"},
                                           Instant{"Europe/Berlin", "2024-10-27T01:00:00.000Z"},
                                           Instant{"America/New_York", "2024-03-10T06:59:59.500Z"},
                                           Instant{"America/New_York", "2024-03-10T07:00:00.001Z"},
                                           Instant{"Australia/Lord_Howe",
                                                   "2024-04-06T15:00:00.250Z"},
                                           Instant{"Asia/Kolkata", "2024-12-31T18:29:59.999Z"},
                                           Instant{"Asia/Kolkata", "2024-12-31T18:30:00.000Z"},
                                           Instant{"UTC", "2038-01-19T03:14:08.000Z"}));

// The zone setting changes while the clock runs: the time follows once the zone file changes.
TEST(ZoneWatchTest, TheTimeFollowsAChangeOfTheZoneFile) {
    ScopedTimeZone berlin("Europe/Berlin");
    QTemporaryDir folder;
    const QString zoneFile = folder.filePath(QStringLiteral("localtime"));
    QFile(zoneFile).open(QIODevice::WriteOnly);
    const ZoneWatch watch(zoneFile);
    const qint64 noon = QDateTime(QDate(2024, 7, 1), QTime(12, 0), Qt::UTC).toMSecsSinceEpoch();
    EXPECT_EQ(localDateTime(noon).time(), QTime(14, 0));

    // As when another zone is set: the setting first, then the file replaced.
    qputenv("TZ", "America/New_York");
    EXPECT_EQ(localDateTime(noon).time(), QTime(14, 0)) << "not looked up on every conversion";
    const QString replacement = folder.filePath(QStringLiteral("localtime.new"));
    QFile(replacement).open(QIODevice::WriteOnly);
    ASSERT_EQ(std::rename(QFile::encodeName(replacement), QFile::encodeName(zoneFile)), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return localDateTime(noon).time() == QTime(8, 0); }, 5000));
}

} // namespace
