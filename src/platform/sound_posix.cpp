#include "platform/SoundPlayer.h"

#include "platform/PlatformLog.h"
#include "platform/SoundDecoder.h"
#include "platform/SoundLibrary.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QFile>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>

namespace Platform {
namespace {

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

// Decodes with libsndfile, off the clock's thread, and plays through Qt's audio output: the
// decoded samples of the preloaded files are kept, so a play of them starts without touching
// the disk. The output is opened for each sound and closed when it ends, so that nothing wakes
// while the clock idles.
class AudioPlayer final : public SoundPlayer {
public:
    AudioPlayer() : library_(decodeSoundFile) {
        QObject::connect(&library_, &SoundLibrary::chosen, &lifetime_,
                         [this](const QString& path, SharedSound sound) {
                             startOrDefault(path, std::move(sound));
                         });
    }

    void play(const QString& path) override {
        qCInfo(lcSound).noquote() << "play" << (path.isEmpty() ? QStringLiteral("\"\"") : path);
        library_.request(path);
    }

    void preload(const QStringList& paths) override {
        library_.preload(paths);
        if (std::any_of(paths.begin(), paths.end(), [](const QString& p) { return !p.isEmpty(); }))
            warmUpLater();
    }

private:
    void startOrDefault(const QString& path, SharedSound sound) {
        if (!sound) {
            sound = defaultSound();
            if (!path.isEmpty())
                qCInfo(lcSound) << "playing the default sound instead of" << path;
        }
        if (sound)
            start(std::move(sound));
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
        if (!device.isFormatSupported(format)) {
            qCWarning(lcSound) << "the audio device cannot play" << sound->sampleRate << "Hz with"
                               << sound->channels << "channels";
            if (sound == defaultSound_ || !(sound = defaultSound()))
                return;
            format.setSampleRate(sound->sampleRate);
            format.setChannelCount(sound->channels);
        }

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

    SoundLibrary library_;
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
