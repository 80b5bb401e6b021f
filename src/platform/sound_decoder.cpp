#include "platform/SoundDecoder.h"

#include "platform/PlatformLog.h"
#include "platform/RegularFile.h"
#include "platform/ThreadCpuTime.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace Platform {
namespace {

// libsndfile reads through these callbacks from a byte array instead of a file.
struct MemoryStream {
    const QByteArray& bytes;
    sf_count_t position = 0;
};

sf_count_t streamLength(void* user) {
    return static_cast<MemoryStream*>(user)->bytes.size();
}

sf_count_t streamSeek(sf_count_t offset, int whence, void* user) {
    auto* s = static_cast<MemoryStream*>(user);
    const sf_count_t base = whence == SEEK_SET   ? 0
                            : whence == SEEK_CUR ? s->position
                                                 : s->bytes.size();
    s->position = std::clamp<sf_count_t>(base + offset, 0, s->bytes.size());
    return s->position;
}

sf_count_t streamRead(void* out, sf_count_t count, void* user) {
    auto* s = static_cast<MemoryStream*>(user);
    const sf_count_t n = std::clamp<sf_count_t>(s->bytes.size() - s->position, 0, count);
    std::memcpy(out, s->bytes.constData() + s->position, static_cast<size_t>(n));
    s->position += n;
    return n;
}

sf_count_t streamWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t streamTell(void* user) {
    return static_cast<MemoryStream*>(user)->position;
}

bool isWave(const QByteArray& bytes) {
    return bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE";
}

// The encodings of a RIFF WAVE file that the desktop's own player plays too.
bool playableEncoding(int format) {
    const int container = format & SF_FORMAT_TYPEMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX)
        return false;
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
    case SF_FORMAT_IMA_ADPCM:
    case SF_FORMAT_MS_ADPCM:
    case SF_FORMAT_GSM610:
        return true;
    default:
        return false;
    }
}

// Why the header's sound cannot be played, or an empty text.
QString refusalOf(const SF_INFO& info) {
    if (!playableEncoding(info.format))
        return QStringLiteral("its encoding 0x%1 is not one a waveform player knows")
            .arg(info.format, 0, 16);
    if (info.channels < 1 || info.channels > kMaxChannels)
        return QStringLiteral("it has %1 channels").arg(info.channels);
    if (info.samplerate < kMinSampleRate || info.samplerate > kMaxSampleRate)
        return QStringLiteral("its sample rate is %1 Hz").arg(info.samplerate);
    // Divided rather than multiplied: a header may claim any count.
    if (info.frames > kMaxDecodedSoundBytes / 2 / info.channels)
        return QStringLiteral("it claims more than %1 bytes decoded").arg(kMaxDecodedSoundBytes);
    return {};
}

// Reads every frame as floats in -1..1 (libsndfile normalises each encoding to that range,
// float files included) and converts them to 16-bit samples, within the size limit and the
// processor time budget. Returns the reason it stopped early, or an empty text.
QString readSamples(SNDFILE* file, int channels, QByteArray& out,
                    std::chrono::microseconds budget) {
    constexpr sf_count_t kChunkFrames = 4096;
    const std::chrono::microseconds deadline = threadCpuTime() + budget;
    std::vector<float> chunk(static_cast<size_t>(kChunkFrames * channels));
    qsizetype written = 0;
    sf_count_t frames = 0;
    while ((frames = sf_readf_float(file, chunk.data(), kChunkFrames)) > 0) {
        const qsizetype n = static_cast<qsizetype>(frames) * channels;
        if (out.size() + 2 * n > kMaxDecodedSoundBytes)
            return QStringLiteral("it decodes to more than %1 bytes").arg(kMaxDecodedSoundBytes);
        out.resize(out.size() + 2 * n);
        auto* target = reinterpret_cast<qint16*>(out.data()) + written;
        for (qsizetype i = 0; i < n; ++i)
            target[i] = static_cast<qint16>(
                std::lround(std::clamp(chunk[static_cast<size_t>(i)], -1.0f, 1.0f) * 32767.0f));
        written += n;
        if (threadCpuTime() > deadline)
            return QStringLiteral("it takes more than %1 ms to decode").arg(budget.count() / 1000);
    }
    return {};
}

std::optional<DecodedSound> refuse(QString* why, const QString& reason) {
    if (why != nullptr)
        *why = reason;
    return std::nullopt;
}

} // namespace

std::optional<DecodedSound> decodeSound(const QByteArray& fileBytes, QString* why,
                                        std::chrono::microseconds budget) {
    // Only a waveform file reaches libsndfile, which would otherwise try every format it knows.
    if (!isWave(fileBytes))
        return refuse(why, QStringLiteral("it is no waveform (RIFF WAVE) file"));
    MemoryStream stream{fileBytes};
    SF_VIRTUAL_IO io{streamLength, streamSeek, streamRead, streamWrite, streamTell};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &stream);
    if (file == nullptr)
        return refuse(why, QStringLiteral("it cannot be read as a waveform file"));
    QString reason = refusalOf(info);
    DecodedSound sound{info.samplerate, info.channels, {}};
    if (reason.isEmpty()) {
        // Reserved as claimed, within the limit; a shorter sound gives the rest back below.
        sound.samples.reserve(static_cast<qsizetype>(info.frames) * info.channels * 2);
        reason = readSamples(file, info.channels, sound.samples, budget);
    }
    sf_close(file);
    if (reason.isEmpty() && sound.samples.isEmpty())
        reason = QStringLiteral("it holds no samples");
    if (!reason.isEmpty())
        return refuse(why, reason);
    sound.samples.squeeze();
    return sound;
}

std::optional<DecodedSound> decodeSoundFile(const QString& path) {
    const std::optional<FileHead> file = readRegularFile(path, kMaxSoundFileBytes);
    if (!file) {
        qCWarning(lcSound) << "no sound file can be read there (missing, not a file, or "
                              "unreadable):"
                           << path;
        return std::nullopt;
    }
    if (!file->whole) {
        qCWarning(lcSound) << "sound refused, larger than" << kMaxSoundFileBytes
                           << "bytes:" << path;
        return std::nullopt;
    }
    QString why;
    auto sound = decodeSound(file->bytes, &why);
    if (!sound)
        qCWarning(lcSound).noquote() << QStringLiteral("sound refused, %1: %2").arg(why, path);
    return sound;
}

} // namespace Platform
