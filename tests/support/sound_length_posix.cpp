#include "SoundLength.h"

#include "platform/SoundDecoder.h"

std::optional<double> soundSeconds(const QString& path) {
    const auto decoded = Platform::decodeSoundFile(path);
    if (!decoded)
        return std::nullopt;
    return decoded->samples.size() / 2.0 / decoded->channels / decoded->sampleRate;
}
