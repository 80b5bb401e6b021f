#pragma once

#include <Shell.h>
#include <SoundPlayer.h>
#include <SystemClock.h>

// Services that cost nothing, so that a benchmark measures the core alone.
class StillClock final : public Platform::SystemClock {
public:
    QDateTime now() const override { return {}; }
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
