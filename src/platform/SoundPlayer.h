#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace Platform {

// Plays waveform files in the background, as the desktop's asynchronous sound call does.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Starts playing the file and returns at once; a sound still playing is replaced.
    // An empty path, or a file that cannot be played, plays the built-in default sound.
    virtual void play(const QString& path) = 0;

    // Decodes these files ahead of time so that a later play of them starts at once.
    // Earlier preloaded files that are not named again are dropped.
    virtual void preload(const QStringList& paths) = 0;
};

std::unique_ptr<SoundPlayer> makeSoundPlayer();

} // namespace Platform
