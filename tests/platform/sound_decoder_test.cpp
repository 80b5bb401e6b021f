#include "platform/SoundDecoder.h"
#include <LogCapture.h>

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

// The bytes of a file libsndfile writes: a tone of `frames` frames.
QByteArray encoded(int format, int channels, int rate, int frames) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sound"));
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    if (file == nullptr)
        return {};
    constexpr int kChunk = 65536;
    const std::vector<float> chunk(static_cast<size_t>(kChunk * channels), 0.25f);
    for (int done = 0; done < frames; done += kChunk)
        sf_writef_float(file, chunk.data(), std::min(kChunk, frames - done));
    sf_close(file);
    QFile written(path);
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

QByteArray pcm16(int channels, int rate, int frames) {
    return encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_16, channels, rate, frames);
}

struct SoundCase {
    const char* name;
    QByteArray (*bytes)();
    const char* refusal; // a part of the reason given; "" for a sound decoded
};

void PrintTo(const SoundCase& c, std::ostream* out) {
    *out << c.name;
}

class SoundLimitTest : public ::testing::TestWithParam<SoundCase> {};

// What the audio output cannot play, or costs more than a sound may, is refused with its reason
// before it reaches the output; the rest decodes.
TEST_P(SoundLimitTest, DecodesOrRefusesWithTheReason) {
    const QByteArray bytes = GetParam().bytes();
    ASSERT_FALSE(bytes.isEmpty()) << "libsndfile wrote nothing";
    QString why;
    const auto sound = decodeSound(bytes, &why);
    const QString refusal = QString::fromLatin1(GetParam().refusal);
    EXPECT_EQ(sound.has_value(), refusal.isEmpty()) << why.toStdString();
    EXPECT_TRUE(why.contains(refusal)) << why.toStdString();
    if (sound) {
        EXPECT_LE(sound->samples.size(), kMaxDecodedSoundBytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, SoundLimitTest,
    ::testing::Values(
        SoundCase{"OneHertz", [] { return pcm16(1, 1, 100); }, "sample rate is 1 Hz"},
        SoundCase{"FortyNineHertzStereo", [] { return pcm16(2, 49, 100); }, "sample rate"},
        SoundCase{"BelowTheLowestRate", [] { return pcm16(1, kMinSampleRate - 1, 800); },
                  "sample rate"},
        SoundCase{"TheLowestRate", [] { return pcm16(1, kMinSampleRate, 800); }, ""},
        SoundCase{"TheHighestRate", [] { return pcm16(2, kMaxSampleRate, 800); }, ""},
        SoundCase{"AboveTheHighestRate", [] { return pcm16(1, kMaxSampleRate + 1, 800); },
                  "sample rate"},
        SoundCase{"EightChannels", [] { return pcm16(8, 8000, 800); }, ""},
        SoundCase{"NineChannels", [] { return pcm16(9, 8000, 800); }, "9 channels"},
        SoundCase{"NoFrames", [] { return pcm16(1, 8000, 0); }, "no samples"},
        SoundCase{"OneFrameMoreThanTheLimit",
                  [] {
                      return encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 8000,
                                     int(kMaxDecodedSoundBytes / 2) + 1);
                  },
                  "more than"},
        SoundCase{"GsmInAWave",
                  [] { return encoded(SF_FORMAT_WAV | SF_FORMAT_GSM610, 1, 8000, 8000); }, ""},
        SoundCase{"G721InAWave",
                  [] { return encoded(SF_FORMAT_WAV | SF_FORMAT_G721_32, 1, 8000, 8000); },
                  "encoding"},
        SoundCase{"OggVorbis",
                  [] { return encoded(SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 44100, 4410); },
                  "no waveform"},
        SoundCase{"Flac", [] { return encoded(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 8000, 800); },
                  "no waveform"},
        SoundCase{"AiffOfTheSameSamples",
                  [] { return encoded(SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 1, 8000, 800); },
                  "no waveform"}),
    [](const auto& info) { return std::string(info.param.name); });

// The budget is checked as the samples are decoded, not only against what the header claims.
TEST(DecodeSound, DecodingPastItsBudgetIsRefused) {
    const QByteArray second = encoded(SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 2, 44100, 44100);
    QString why;
    EXPECT_FALSE(decodeSound(second, &why, std::chrono::microseconds(0)).has_value());
    EXPECT_EQ(why, QStringLiteral("it takes more than 0 ms to decode"));
    EXPECT_TRUE(decodeSound(second).has_value());
}

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
    const LogCapture log("vindrel.sound");
    EXPECT_FALSE(decodeSoundFile(fifo).has_value());
    EXPECT_FALSE(decodeSoundFile(dir.path()).has_value());
    EXPECT_FALSE(decodeSoundFile(dir.filePath(QStringLiteral("missing.wav"))).has_value());
    EXPECT_FALSE(decodeSoundFile(QString()).has_value());
    // Said as what it is: nothing there to read, not a size.
    ASSERT_EQ(log.messages().size(), 4);
    for (const QString& message : log.messages())
        EXPECT_TRUE(message.startsWith(QStringLiteral("no sound file can be read there")))
            << message.toStdString();
}

TEST(DecodeSoundFile, RefusesAFileOverTheSizeLimit) {
    QTemporaryDir dir;
    QFile file(writeTone(dir, "big.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1));
    ASSERT_TRUE(file.resize(kMaxSoundFileBytes + 1)); // sparse: costs no disk
    const LogCapture log("vindrel.sound");
    EXPECT_FALSE(decodeSoundFile(file.fileName()).has_value());
    ASSERT_EQ(log.messages().size(), 1);
    EXPECT_TRUE(log.messages()[0].startsWith(QStringLiteral("sound refused, larger than")));
}

} // namespace
