#include <SoundDecoder.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <cmath>
#include <vector>

using namespace Platform;

namespace {

constexpr int kRate = 8000;
constexpr int kFrames = 800;

// Writes a 100 ms 440 Hz tone in the given WAV encoding.
QString writeTone(const QTemporaryDir& dir, const char* name, int format, int channels) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<double> samples(static_cast<size_t>(kFrames * channels));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.5 * std::sin(2 * M_PI * 440.0 * static_cast<double>(i / channels) / kRate);
    sf_writef_double(file, samples.data(), kFrames);
    sf_close(file);
    return path;
}

struct EncodingCase {
    const char* name;
    int format;
    int channels;
};

class DecodeEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(DecodeEncodingTest, DecodesToSixteenBitSamples) {
    QTemporaryDir dir;
    const auto& c = GetParam();
    const auto sound = decodeSoundFile(writeTone(dir, c.name, c.format, c.channels));
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(sound->sampleRate, kRate);
    EXPECT_EQ(sound->channels, c.channels);
    // IMA ADPCM pads its last block, so allow a few frames more than were written.
    EXPECT_GE(sound->samples.size(), kFrames * c.channels * 2);
    EXPECT_LE(sound->samples.size(), (kFrames + 1024) * c.channels * 2);
    const auto* s = reinterpret_cast<const short*>(sound->samples.constData());
    short peak = 0;
    for (qsizetype i = 0; i < sound->samples.size() / 2; ++i)
        peak = std::max<short>(peak, static_cast<short>(std::abs(s[i])));
    EXPECT_NEAR(peak, 16384, 1500) << "the tone is at half scale";
}

INSTANTIATE_TEST_SUITE_P(
    Wav, DecodeEncodingTest,
    ::testing::Values(EncodingCase{"u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1},
                      EncodingCase{"s16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2},
                      EncodingCase{"s24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1},
                      EncodingCase{"s32.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 1},
                      EncodingCase{"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1},
                      EncodingCase{"ulaw.wav", SF_FORMAT_WAV | SF_FORMAT_ULAW, 1},
                      EncodingCase{"alaw.wav", SF_FORMAT_WAV | SF_FORMAT_ALAW, 1},
                      EncodingCase{"adpcm.wav", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 1}),
    [](const auto& info) {
        std::string n = info.param.name;
        return n.substr(0, n.find('.'));
    });

TEST(DecodeSound, GarbageIsNoSound) {
    EXPECT_FALSE(decodeSound(QByteArray("RIFF\x10\0\0\0WAVEjunk", 16)).has_value());
    EXPECT_FALSE(decodeSound(QByteArray()).has_value());
    EXPECT_FALSE(decodeSound(QByteArray(4096, 'x')).has_value());
}

TEST(DecodeSound, TruncatedFileDecodesWhatIsThere) {
    QTemporaryDir dir;
    QFile file(writeTone(dir, "t.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray half = file.readAll().left(44 + kFrames);
    const auto sound = decodeSound(half);
    ASSERT_TRUE(sound.has_value());
    EXPECT_LE(sound->samples.size(), kFrames);
}

TEST(DecodeSoundFile, RefusesWhatIsNotARegularFile) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.wav"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(decodeSoundFile(fifo).has_value());
    EXPECT_FALSE(decodeSoundFile(dir.path()).has_value());
    EXPECT_FALSE(decodeSoundFile(dir.filePath(QStringLiteral("missing.wav"))).has_value());
    EXPECT_FALSE(decodeSoundFile(QString()).has_value());
}

TEST(DecodeSoundFile, RefusesAFileOverTheSizeLimit) {
    QTemporaryDir dir;
    QFile file(writeTone(dir, "big.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1));
    ASSERT_TRUE(file.resize(kMaxSoundFileBytes + 1)); // sparse: costs no disk
    EXPECT_FALSE(decodeSoundFile(file.fileName()).has_value());
}

} // namespace
