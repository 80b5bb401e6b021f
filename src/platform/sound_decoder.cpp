#include "SoundDecoder.h"

#include "PlatformLog.h"
#include "RegularFile.h"

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

// Reads every frame as floats in -1..1 (libsndfile normalises each encoding to that range,
// float files included) and converts them to 16-bit samples. Returns the samples written.
qsizetype readSamples(SNDFILE* file, int channels, QByteArray& out) {
    constexpr sf_count_t kChunkFrames = 4096;
    std::vector<float> chunk(static_cast<size_t>(kChunkFrames * channels));
    auto* target = reinterpret_cast<qint16*>(out.data());
    const qsizetype capacity = out.size() / 2;
    qsizetype written = 0;
    sf_count_t frames = 0;
    while ((frames = sf_readf_float(file, chunk.data(), kChunkFrames)) > 0) {
        const qsizetype n = std::min<qsizetype>(frames * channels, capacity - written);
        for (qsizetype i = 0; i < n; ++i)
            target[written + i] = static_cast<qint16>(
                std::lround(std::clamp(chunk[static_cast<size_t>(i)], -1.0f, 1.0f) * 32767.0f));
        written += n;
        if (written == capacity)
            break;
    }
    return written;
}

} // namespace

std::optional<DecodedSound> decodeSound(const QByteArray& fileBytes) {
    MemoryStream stream{fileBytes};
    SF_VIRTUAL_IO io{streamLength, streamSeek, streamRead, streamWrite, streamTell};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &stream);
    if (file == nullptr)
        return std::nullopt;

    std::optional<DecodedSound> result;
    const qint64 bytes = static_cast<qint64>(info.frames) * info.channels * 2;
    if (info.channels > 0 && info.channels <= 8 && info.samplerate > 0 && info.frames > 0 &&
        bytes <= kMaxDecodedSoundBytes) {
        DecodedSound sound{info.samplerate, info.channels, QByteArray(bytes, Qt::Uninitialized)};
        const qsizetype samples = readSamples(file, info.channels, sound.samples);
        if (samples > 0) {
            sound.samples.truncate(samples * 2);
            result = std::move(sound);
        }
    }
    sf_close(file);
    return result;
}

std::optional<DecodedSound> decodeSoundFile(const QString& path) {
    const std::optional<FileHead> file = readRegularFile(path, kMaxSoundFileBytes);
    if (!file || !file->whole) {
        qCWarning(lcSound) << "not a readable sound file within" << kMaxSoundFileBytes
                           << "bytes:" << path;
        return std::nullopt;
    }
    auto sound = decodeSound(file->bytes);
    if (!sound)
        qCWarning(lcSound) << "cannot decode" << path;
    return sound;
}

} // namespace Platform
