#pragma once

#include <TestServices.h>

// The benchmarks run on the tests' fakes, so that a benchmark measures the core alone; the
// sound benchmarks count what they pass on to the real player.
class CountingPlayer final : public Platform::SoundPlayer {
public:
    explicit CountingPlayer(Platform::SoundPlayer& player) : player_(player) {}

    int plays = 0;

    void play(const QString& path) override {
        ++plays;
        player_.play(path);
    }
    void preload(const QStringList& paths) override { player_.preload(paths); }

private:
    Platform::SoundPlayer& player_;
};
