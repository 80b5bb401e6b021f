#include "platform/SoundLibrary.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

using namespace Platform;

namespace {

constexpr int kPatienceMs = 30000; // a ceiling for what must happen, however busy the machine

// A decoder that counts its calls, refuses files named "refused", and holds a file named "slow"
// until it is let go.
class ScriptedDecoder {
public:
    std::optional<DecodedSound> decode(const QString& path) {
        std::unique_lock lock(mutex_);
        ++calls_[path];
        if (path.endsWith(QLatin1String("slow")))
            letGo_.wait(lock, [this] { return slowGoes_; });
        if (path.endsWith(QLatin1String("refused")))
            return std::nullopt;
        return DecodedSound{8000, 1, QByteArray(16, '\1')};
    }
    int calls(const QString& path) {
        std::lock_guard lock(mutex_);
        return calls_.value(path);
    }
    void letSlowGo() {
        std::lock_guard lock(mutex_);
        slowGoes_ = true;
        letGo_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable letGo_;
    QHash<QString, int> calls_;
    bool slowGoes_ = false;
};

class SoundLibraryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedDecoder decoder;
    // Declared after the decoder, so that it is gone (its thread waited for) before it.
    std::unique_ptr<SoundLibrary> library;
    std::unique_ptr<QSignalSpy> chosen;

    void SetUp() override {
        library = std::make_unique<SoundLibrary>(
            [this](const QString& path) { return decoder.decode(path); });
        chosen = std::make_unique<QSignalSpy>(library.get(), &SoundLibrary::chosen);
    }
    void TearDown() override {
        decoder.letSlowGo();
        chosen.reset();
        library.reset();
    }

    QString file(const char* name, const QByteArray& bytes = "RIFF") const {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    // The path and whether a sound came, of the last `chosen`.
    std::pair<QString, bool> lastChosen() const {
        const QList<QVariant> args = chosen->last();
        return {args[0].toString(), args[1].value<SharedSound>() != nullptr};
    }

    bool decodedOnce(const QString& path) {
        return QTest::qWaitFor([&] { return decoder.calls(path) == 1; }, kPatienceMs);
    }
};

TEST_F(SoundLibraryTest, PreloadingReturnsBeforeAFileIsDecodedAndAPlayWaitsForIt) {
    const QString slow = file("slow");
    library->preload({slow});
    library->request(slow);
    EXPECT_EQ(chosen->count(), 0) << "chosen before the file was decoded";
    decoder.letSlowGo();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chosen->count() == 1; }, kPatienceMs));
    EXPECT_EQ(lastChosen(), std::make_pair(slow, true));
}

TEST_F(SoundLibraryTest, ARefusalIsRememberedUntilTheFileChanges) {
    const QString refused = file("refused");
    library->preload({refused});
    library->request(refused);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chosen->count() == 1; }, kPatienceMs));
    library->request(refused);
    ASSERT_EQ(chosen->count(), 2) << "a refusal known is answered at once";
    EXPECT_EQ(lastChosen(), std::make_pair(refused, false)) << "the default plays";
    EXPECT_EQ(decoder.calls(refused), 1);

    file("refused", "RIFF and more");
    library->request(refused);
    EXPECT_TRUE(QTest::qWaitFor([&] { return decoder.calls(refused) == 2; }, kPatienceMs));
}

TEST_F(SoundLibraryTest, ALaterRequestReplacesOneStillWaiting) {
    const QString known = file("known");
    const QString slow = file("slow");
    library->preload({known, slow});
    ASSERT_TRUE(decodedOnce(known));
    library->request(slow);
    library->request(known);
    ASSERT_EQ(chosen->count(), 1);
    EXPECT_EQ(lastChosen(), std::make_pair(known, true));
    decoder.letSlowGo();
    // Answered once, whether its decoding has ended by now or not; the first request for it,
    // replaced, never.
    library->request(slow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chosen->count() >= 2; }, kPatienceMs));
    QCoreApplication::processEvents();
    EXPECT_EQ(chosen->count(), 2);
    EXPECT_EQ(lastChosen(), std::make_pair(slow, true));
}

TEST_F(SoundLibraryTest, FilesNotPreloadedAgainAreForgotten) {
    const QString a = file("a");
    library->preload({a, a, QString()});
    ASSERT_TRUE(decodedOnce(a));
    library->preload({file("b")});
    library->preload({a});
    EXPECT_TRUE(QTest::qWaitFor([&] { return decoder.calls(a) == 2; }, kPatienceMs));
}

TEST_F(SoundLibraryTest, AnEmptyPathChoosesTheDefaultAtOnce) {
    library->request(QString());
    ASSERT_EQ(chosen->count(), 1);
    EXPECT_EQ(lastChosen(), std::make_pair(QString(), false));
}

} // namespace
