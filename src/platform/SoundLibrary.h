#pragma once

#include "platform/SoundDecoder.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include <functional>
#include <memory>

namespace Platform {

using SharedSound = std::shared_ptr<const DecodedSound>;

// Decodes sound files on a thread of its own, one at a time, so that neither the clock's start
// nor a tick waits for a decoder; keeps each file's sound, or its refusal, until the file
// changes, so that a file that gives no sound is not decoded again at every play.
class SoundLibrary : public QObject {
    Q_OBJECT
public:
    // Called on the library's thread: nothing when the file gives no sound.
    using Decoder = std::function<std::optional<DecodedSound>(const QString& path)>;

    explicit SoundLibrary(Decoder decoder);
    // Waits for the decoding under way, which its budget bounds.
    ~SoundLibrary() override;

    // Starts decoding the files not known as they are now; forgets every other file.
    void preload(const QStringList& paths);

    // Asks for the sound to play for the file: `chosen` follows, at once when the file is known
    // as it is now, once it is decoded otherwise. A later request replaces one still waiting.
    void request(const QString& path);

signals:
    // The sound for the latest request; none when the file gives none or the path is empty.
    void chosen(const QString& path, Platform::SharedSound sound);

private:
    // What tells one state of a file from another.
    struct Stamp {
        qint64 size = -1;
        QDateTime modified;
        QDateTime changed;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp stamp;
        SharedSound sound;
        bool decoding = false;
    };

    static Stamp stampOf(const QString& path);
    // The entry of the file as it is now: decoding starts when it is unknown or has changed.
    Entry& entryFor(const QString& path);
    void decoded(const QString& path, const Stamp& stamp, SharedSound sound);

    Decoder decoder_;
    QHash<QString, Entry> entries_;
    std::optional<QString> waiting_; // the request whose file is still being decoded
    QThreadPool pool_;
};

} // namespace Platform
