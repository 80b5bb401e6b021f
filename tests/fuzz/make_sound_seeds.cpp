// Writes the sound fuzz target's seeds into the folder given: a short tone in every encoding the
// decoder takes and in a few it refuses, at a few rates and channel counts.

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void writeTone(const std::string& path, int format, int channels, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return;
    constexpr int kFrames = 600;
    std::vector<float> samples(static_cast<size_t>(kFrames * channels));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.5f * std::sin(static_cast<float>(i / static_cast<size_t>(channels)) * 0.3f);
    sf_writef_float(file, samples.data(), kFrames);
    sf_close(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sound_seeds FOLDER\n");
        return 2;
    }
    const int encodings[] = {SF_FORMAT_PCM_U8,   SF_FORMAT_PCM_16, SF_FORMAT_PCM_24,
                             SF_FORMAT_PCM_32,   SF_FORMAT_FLOAT,  SF_FORMAT_DOUBLE,
                             SF_FORMAT_ULAW,     SF_FORMAT_ALAW,   SF_FORMAT_IMA_ADPCM,
                             SF_FORMAT_MS_ADPCM, SF_FORMAT_GSM610, SF_FORMAT_G721_32};
    int n = 0;
    for (const int encoding : encodings) {
        for (const int channels : {1, 2}) {
            for (const int container : {SF_FORMAT_WAV, SF_FORMAT_WAVEX})
                writeTone(std::string(argv[1]) + "/" + std::to_string(n++) + ".wav",
                          container | encoding, channels,
                          encoding == SF_FORMAT_GSM610 ? 8000 : 22050);
        }
    }
    writeTone(std::string(argv[1]) + "/low-rate.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 40);
    writeTone(std::string(argv[1]) + "/many.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 9, 8000);
    return 0;
}
