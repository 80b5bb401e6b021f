#include "platform/SoundPlayer.h"

#include <windows.h>

// After windows.h, whose types it uses.
#include <mmsystem.h>

namespace Platform {
namespace {

// The system's own asynchronous player: it reads the file when asked, so there is nothing to
// preload, and an empty or unplayable path plays the system's default sound.
class SystemSoundPlayer final : public SoundPlayer {
public:
    void play(const QString& path) override {
        const QByteArray ansi = path.toLocal8Bit();
        sndPlaySoundA(ansi.constData(), SND_ASYNC);
    }
    void preload(const QStringList&) override {}
};

} // namespace

std::unique_ptr<SoundPlayer> makeSoundPlayer() {
    return std::make_unique<SystemSoundPlayer>();
}

} // namespace Platform
