#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

namespace Platform {

// A sound decoded to interleaved signed 16-bit samples, ready for the audio device.
struct DecodedSound {
    int sampleRate = 0;
    int channels = 0;
    QByteArray samples;
};

// Largest sound file read from disk; longer files are refused rather than read whole.
inline constexpr qint64 kMaxSoundFileBytes = qint64{16} * 1024 * 1024;
// Largest decoded sound kept in memory (about 95 seconds of 44.1 kHz stereo).
inline constexpr qint64 kMaxDecodedSoundBytes = qint64{16} * 1024 * 1024;
// The sample rates and channel counts every audio output takes.
inline constexpr int kMinSampleRate = 8000;
inline constexpr int kMaxSampleRate = 192000;
inline constexpr int kMaxChannels = 8;
// The most processor time decoding one sound may take, whatever its bytes say. Within the limits
// above the slowest encoding, GSM 6.10, takes about 400 ms; most take a tenth of that.
inline constexpr std::chrono::milliseconds kSoundCpuBudget{1000};

// Decodes a whole waveform file held in memory: a RIFF WAVE file in one of the encodings the
// desktop's own player knows (8 to 32-bit PCM, float, mu-law, A-law, IMA and Microsoft ADPCM,
// GSM 6.10), at a rate and channel count within the limits above, decoded within the processor
// time and memory budgets. Returns nothing otherwise, with the reason in `why` when given.
std::optional<DecodedSound> decodeSound(const QByteArray& fileBytes, QString* why = nullptr,
                                        std::chrono::microseconds budget = kSoundCpuBudget);

// Reads and decodes the file at the path; only regular files within the size limit are read.
// A refusal is logged with its reason.
std::optional<DecodedSound> decodeSoundFile(const QString& path);

} // namespace Platform
