#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace Platform {

// A sound decoded to interleaved signed 16-bit samples, ready for the audio device.
struct DecodedSound {
    int sampleRate = 0;
    int channels = 0;
    QByteArray samples;
};

// Largest sound file read from disk; longer files are refused rather than read whole.
inline constexpr qint64 kMaxSoundFileBytes = qint64{32} * 1024 * 1024;
// Largest decoded sound kept in memory (about three minutes of 44.1 kHz stereo).
inline constexpr qint64 kMaxDecodedSoundBytes = qint64{32} * 1024 * 1024;

// Decodes a whole waveform file held in memory (any encoding libsndfile reads: 8 to 32-bit PCM,
// float, mu-law, A-law, ADPCM...). Returns nothing for data that is no playable sound.
std::optional<DecodedSound> decodeSound(const QByteArray& fileBytes);

// Reads and decodes the file at the path; only regular files within the size limit are read.
std::optional<DecodedSound> decodeSoundFile(const QString& path);

} // namespace Platform
