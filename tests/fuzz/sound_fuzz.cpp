// Feeds arbitrary bytes to the sound decoder that the clock's player uses, checking what it
// promises: a sound it accepts has a rate, channel count and length the audio output takes, and
// decoding ends within its processor time budget (give or take one chunk of samples).
//
// libsndfile is not built with coverage instrumentation, so each outcome (the reason for a
// refusal, the kind and rough length of the sound decoded) sets one of libFuzzer's extra
// counters instead, so that inputs that make the decoder behave differently are kept.

#include "platform/SoundDecoder.h"
#include "platform/ThreadCpuTime.h"

#include <QHash>

#include <bit>
#include <cstdlib>

using namespace Platform;

namespace {

__attribute__((used, section("__libfuzzer_extra_counters"))) std::uint8_t outcomes[1 << 14];

// What decoding one chunk of samples past the deadline may add to the budget.
constexpr std::chrono::milliseconds kOneChunk{100};

void require(bool condition) {
    if (!condition)
        std::abort();
}

void mark(QByteArrayView what) {
    outcomes[qHash(what, 0) % sizeof outcomes] = 1;
}

// The reason without its numbers, so that every claimed rate does not count as new.
QByteArray reasonKind(const QString& why) {
    QByteArray kind = why.toUtf8();
    kind.removeIf([](char c) { return c >= '0' && c <= '9'; });
    return kind;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString why;
    const auto start = threadCpuTime();
    const std::optional<DecodedSound> sound = decodeSound(bytes, &why);
    require(threadCpuTime() - start <= kSoundCpuBudget + kOneChunk);
    if (!sound) {
        require(!why.isEmpty());
        mark(reasonKind(why));
        return 0;
    }
    require(sound->sampleRate >= kMinSampleRate && sound->sampleRate <= kMaxSampleRate);
    require(sound->channels >= 1 && sound->channels <= kMaxChannels);
    require(!sound->samples.isEmpty() && sound->samples.size() <= kMaxDecodedSoundBytes);
    require(sound->samples.size() % (2 * sound->channels) == 0);
    mark(QByteArray::number(sound->channels) + ' ' +
         QByteArray::number(std::bit_width(static_cast<unsigned>(sound->samples.size()))));
    return 0;
}
