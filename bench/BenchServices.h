#pragma once

#include <Shell.h>
#include <SoundPlayer.h>
#include <SystemClock.h>

// Services for the benchmarks: a clock they set, a player that costs nothing so that a
// benchmark measures the core alone, and one that counts what it passes on to the real player.

// A clock that stands where the benchmark puts it.
class StillClock final : public Platform::SystemClock {
public:
    QDateTime current;

    QDateTime now() const override { return current; }
    qint64 epochMilliseconds() const override { return current.toMSecsSinceEpoch(); }
    quint32 tickCount() const override { return 0; }
    int standardBiasMinutes() const override { return 0; }
};

class SilentPlayer final : public Platform::SoundPlayer {
public:
    void play(const QString&) override {}
    void preload(const QStringList&) override {}
};

class NoShell final : public Platform::Shell {
public:
    void open(const QString&) override {}
};

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
