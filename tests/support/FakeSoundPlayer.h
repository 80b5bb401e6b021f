#pragma once

#include "platform/SoundPlayer.h"

// Records what the program asked to play and to preload.
class FakeSoundPlayer final : public Platform::SoundPlayer {
public:
    QStringList played;
    QStringList preloaded;

    void play(const QString& path) override { played << path; }
    void preload(const QStringList& paths) override { preloaded = paths; }
};
