#include "platform/FileName.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

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

// What the file's size says when it is looked at is no bound: a file still being written has
// grown by the read, and the kernel's own files say 0 whatever they hold.
TEST_F(RegularFileTest, ReadsOnPastTheSizeTheFileGaveToItsEnd) {
    const auto head = readRegularFile(QStringLiteral("/proc/self/status"), 1 << 20);
    ASSERT_TRUE(head.has_value());
    EXPECT_TRUE(head->bytes.startsWith("Name:")) << head->bytes.left(16).toStdString();
    EXPECT_TRUE(head->bytes.contains("\nPid:"));
    EXPECT_TRUE(head->whole);
    const auto cut = readRegularFile(QStringLiteral("/proc/self/status"), 3);
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->bytes, QByteArray("Nam"));
    EXPECT_FALSE(cut->whole);
}

// A read that fails is no end of the file: nothing comes back rather than a part called whole.
// The kernel's view of a process's memory fails at its unmapped first page.
TEST_F(RegularFileTest, AReadThatFailsGivesNothing) {
    EXPECT_FALSE(readRegularFile(QStringLiteral("/proc/self/mem"), 16).has_value());
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

TEST_F(RegularFileTest, NeverOpensAFifoEvenToLookAtIt) {
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(fifo).constData(), IN_OPEN), 0);
    EXPECT_FALSE(readRegularFile(fifo, 8).has_value());
    alignas(inotify_event) char event[sizeof(inotify_event) + 256];
    EXPECT_LT(::read(watch, event, sizeof event), 0) << "the FIFO was opened";
    ::close(watch);
}

struct NameCase {
    const char* name;
    QByteArray onDisk;
    QString text; // the name's text; null when it is no valid UTF-8
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.name;
}

class FileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNameTest, EveryNameOnDiskComesBackToItsBytes) {
    const QString name = fileNameFromSystem(GetParam().onDisk);
    EXPECT_EQ(fileNameToSystem(name), GetParam().onDisk);
    if (!GetParam().text.isNull()) {
        EXPECT_EQ(name, GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameTest,
    ::testing::Values(
        NameCase{"Ascii", "title.bmp", QStringLiteral("title.bmp")},
        NameCase{"Utf8", "caf\xc3\xa9", QStringLiteral("caf\u00e9")},
        // U+10080: its second half is one of the code points that keep a byte.
        NameCase{"BeyondTheFirstPlane", "\xf0\x90\x82\x80", QString::fromUcs4(U"\U00010080")},
        NameCase{"Windows1252", "caf\xe9", {}},
        NameCase{"LoneContinuation",
                 "a\x80"
                 "b",
                 {}},
        NameCase{"Overlong", "\xc0\xaf", {}}, NameCase{"EncodedSurrogate", "\xed\xa0\x80", {}},
        NameCase{"CutOff", "\xe2\x82", {}}, NameCase{"BeyondUnicode", "\xf4\x90\x80\x80", {}},
        NameCase{"ValidAfterInvalid", "\xff\xc3\xa9", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegularFileTest, ReadsAFileWhoseNameIsNoValidUtf8) {
    const QByteArray path = QFile::encodeName(dir.path()) + "/caf\xe9";
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::write(fd, "abc", 3), 3);
    ::close(fd);
    const auto head = readRegularFile(fileNameFromSystem(path), 8);
    EXPECT_EQ(head ? head->bytes : QByteArray(), QByteArray("abc"));
    ::unlink(path.constData());
}

} // namespace
