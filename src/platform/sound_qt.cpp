#include "SoundPlayer.h"

#include "PlatformLog.h"
#include "SoundDecoder.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QMediaDevices>
#include <QTimer>

namespace Platform {
namespace {

using SharedSound = std::shared_ptr<const DecodedSound>;

// How long after the skin's sounds are decoded the audio system is brought up: late enough to
// stay off the clock's start-up, early enough that the first alarm of a run starts at once.
constexpr int kAudioWarmUpDelayMs = 3000;

SharedSound loadDefaultSound() {
    QFile file(QStringLiteral(":/sounds/default.wav"));
    if (file.open(QIODevice::ReadOnly)) {
        if (auto sound = decodeSound(file.readAll()))
            return std::make_shared<const DecodedSound>(std::move(*sound));
    }
    qCWarning(lcSound) << "the built-in default sound is missing";
    return nullptr;
}

// Decodes with libsndfile and plays through Qt's audio output: the decoded samples of the
// preloaded files are kept, so a play of them starts without touching the disk. The output is
// opened for each sound and closed when it ends, so that nothing wakes while the clock idles.
class AudioPlayer final : public SoundPlayer {
public:
    void play(const QString& path) override {
        qCInfo(lcSound).noquote() << "play" << (path.isEmpty() ? QStringLiteral("\"\"") : path);
        SharedSound sound = find(path);
        if (!sound) {
            sound = defaultSound();
            if (!path.isEmpty())
                qCInfo(lcSound) << "playing the default sound instead of" << path;
        }
        if (sound)
            start(std::move(sound));
    }

    void preload(const QStringList& paths) override {
        QHash<QString, SharedSound> kept;
        for (const QString& path : paths) {
            if (path.isEmpty() || kept.contains(path))
                continue;
            SharedSound sound = cache_.value(path);
            if (!sound) {
                if (auto decoded = decodeSoundFile(path))
                    sound = std::make_shared<const DecodedSound>(std::move(*decoded));
            }
            if (sound)
                kept.insert(path, sound);
        }
        cache_ = std::move(kept);
        if (!cache_.isEmpty())
            warmUpLater();
    }

private:
    SharedSound find(const QString& path) const {
        if (path.isEmpty())
            return nullptr;
        if (SharedSound cached = cache_.value(path))
            return cached;
        auto decoded = decodeSoundFile(path);
        return decoded ? std::make_shared<const DecodedSound>(std::move(*decoded)) : nullptr;
    }

    SharedSound defaultSound() {
        if (!defaultSound_)
            defaultSound_ = loadDefaultSound();
        return defaultSound_;
    }

    // Connecting to the sound system takes milliseconds the first time; done once, a little
    // after start-up, rather than inside the tick that starts the first sound.
    void warmUpLater() {
        if (warmUpPlanned_)
            return;
        warmUpPlanned_ = true;
        QTimer::singleShot(kAudioWarmUpDelayMs, &lifetime_,
                           [] { QMediaDevices::defaultAudioOutput(); });
    }

    void start(SharedSound sound) {
        stop();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) {
            qCInfo(lcSound) << "no audio output device: nothing is heard";
            return;
        }
        QAudioFormat format;
        format.setSampleRate(sound->sampleRate);
        format.setChannelCount(sound->channels);
        format.setSampleFormat(QAudioFormat::Int16);

        playing_ = std::move(sound);
        buffer_.setData(playing_->samples);
        buffer_.open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, format);
        // Let the device go once the sound has played out (or failed), from the event loop since
        // the sink is still reporting; a new sound destroys the sink first, cancelling this.
        QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(),
                         [this](QAudio::State state) {
                             if (state == QAudio::IdleState || state == QAudio::StoppedState)
                                 QTimer::singleShot(0, sink_.get(), [this] { stop(); });
                         });
        sink_->start(&buffer_);
        if (sink_->error() != QAudio::NoError)
            qCWarning(lcSound) << "the audio device refused the sound, error" << sink_->error();
    }

    void stop() {
        if (sink_)
            sink_->stop();
        sink_.reset();
        buffer_.close();
        playing_.reset();
    }

    QHash<QString, SharedSound> cache_;
    SharedSound defaultSound_;
    SharedSound playing_;
    QBuffer buffer_;
    std::unique_ptr<QAudioSink> sink_;
    QObject lifetime_; // ends the timers of this player with it
    bool warmUpPlanned_ = false;
};

} // namespace

std::unique_ptr<SoundPlayer> makeSoundPlayer() {
    return std::make_unique<AudioPlayer>();
}

} // namespace Platform
