#include <RegularFile.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Platform;

namespace {

class RegularFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString write(const char* name, const QByteArray& bytes) {
        QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
};

TEST_F(RegularFileTest, ReadsAWholeFileWithinTheLimit) {
    const auto head = readRegularFile(write("f", "abcd"), 4);
    ASSERT_TRUE(head.has_value());
    EXPECT_EQ(head->bytes, QByteArray("abcd"));
    EXPECT_TRUE(head->whole);
}

TEST_F(RegularFileTest, StopsAtTheLimitAndTellsTheFileGoesOn) {
    const auto head = readRegularFile(write("f", "abcde"), 4);
    ASSERT_TRUE(head.has_value());
    EXPECT_EQ(head->bytes, QByteArray("abcd"));
    EXPECT_FALSE(head->whole);
}

TEST_F(RegularFileTest, AnEmptyFileIsWhole) {
    const auto head = readRegularFile(write("f", ""), 4);
    ASSERT_TRUE(head.has_value());
    EXPECT_TRUE(head->bytes.isEmpty());
    EXPECT_TRUE(head->whole);
}

TEST_F(RegularFileTest, FollowsALinkToARegularFile) {
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(write("f", "abc"), link));
    EXPECT_TRUE(readRegularFile(link, 8).has_value());
}

TEST_F(RegularFileTest, NeverReadsWhatIsNoRegularFile) {
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("zero"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& path : {fifo, zero, folder, dir.filePath(QStringLiteral("missing")),
                                QString(), QStringLiteral("a\0b")})
        EXPECT_FALSE(readRegularFile(path, 8).has_value()) << path.toStdString();
}

} // namespace
