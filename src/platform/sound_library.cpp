#include "platform/SoundLibrary.h"

#include <QFileInfo>

namespace Platform {

SoundLibrary::SoundLibrary(Decoder decoder) : decoder_(std::move(decoder)) {
    // One at a time: at most one file and its sound in the making are held at once.
    pool_.setMaxThreadCount(1);
    pool_.setThreadPriority(QThread::LowPriority);
}

SoundLibrary::~SoundLibrary() {
    pool_.clear();
    pool_.waitForDone();
}

void SoundLibrary::preload(const QStringList& paths) {
    QHash<QString, Entry> kept;
    for (const QString& path : paths) {
        if (!path.isEmpty() && !kept.contains(path))
            kept.insert(path, entryFor(path));
    }
    entries_ = std::move(kept);
}

void SoundLibrary::request(const QString& path) {
    waiting_.reset();
    if (path.isEmpty()) {
        emit chosen(path, nullptr);
        return;
    }
    const Entry& entry = entryFor(path);
    if (entry.decoding)
        waiting_ = path;
    else
        emit chosen(path, entry.sound);
}

SoundLibrary::Stamp SoundLibrary::stampOf(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists())
        return {};
    return {file.size(), file.lastModified(), file.metadataChangeTime()};
}

SoundLibrary::Entry& SoundLibrary::entryFor(const QString& path) {
    const Stamp stamp = stampOf(path);
    const auto known = entries_.find(path);
    if (known != entries_.end() && known->stamp == stamp)
        return *known;
    Entry& entry = entries_.insert(path, Entry{stamp, nullptr, true}).value();
    pool_.start([this, path, stamp, decoder = decoder_] {
        std::optional<DecodedSound> sound = decoder(path);
        SharedSound shared =
            sound ? std::make_shared<const DecodedSound>(std::move(*sound)) : nullptr;
        // Back on the library's own thread; dropped if the library is gone by then.
        QMetaObject::invokeMethod(
            this, [this, path, stamp, shared] { decoded(path, stamp, shared); },
            Qt::QueuedConnection);
    });
    return entry;
}

void SoundLibrary::decoded(const QString& path, const Stamp& stamp, SharedSound sound) {
    const auto found = entries_.find(path);
    if (found == entries_.end() || found->stamp != stamp || !found->decoding)
        return; // forgotten meanwhile, or decoding again since the file changed
    found->sound = std::move(sound);
    found->decoding = false;
    if (waiting_ == path) {
        waiting_.reset();
        emit chosen(path, found->sound);
    }
}

} // namespace Platform
