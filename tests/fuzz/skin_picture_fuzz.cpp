// Feeds arbitrary bytes to the picture decoder that skin loading uses, then turns what it
// accepts into a pixmap as the clock window would, checking the size limit and the processor
// time budget it promises.
//
// Qt's decoders are not built with coverage instrumentation, so the fuzzer cannot see which of
// their paths an input takes. What they do is made visible instead: each outcome (the format
// detected, the reason for a refusal, the kind and rough size of the picture decoded) sets one
// of libFuzzer's extra counters, so inputs that make a decoder behave differently are kept.

#include "core/PictureBudget.h"
#include "core/SkinPicture.h"
#include "platform/CpuClock.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QHash>
#include <QImageReader>
#include <QPixmap>

#include <bit>
#include <cstdlib>

using namespace VD_Core;

namespace {

__attribute__((used, section("__libfuzzer_extra_counters"))) std::uint8_t outcomes[1 << 14];

void require(bool condition) {
    if (!condition)
        std::abort();
}

void mark(QByteArrayView what, QByteArrayView detail) {
    const size_t hash = qHash(detail, qHash(what, 0));
    outcomes[hash % sizeof outcomes] = 1;
}

// The reason without its numbers, so that every claimed size does not count as new.
QByteArray reasonKind(const QString& why) {
    QByteArray kind = why.toUtf8();
    kind.removeIf([](char c) { return c >= '0' && c <= '9'; });
    return kind;
}

QByteArray detectedFormat(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&buffer);
}

QByteArray pictureKind(const QImage& image) {
    return QByteArray::number(image.format()) + ' ' + QByteArray::number(image.colorCount()) + ' ' +
           QByteArray::number(std::bit_width(static_cast<unsigned>(image.width()))) + 'x' +
           QByteArray::number(std::bit_width(static_cast<unsigned>(image.height())));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Pixmaps need a GUI application; no display is needed to make them.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "skin_picture_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray format = detectedFormat(bytes);
    QString why;
    static const std::unique_ptr<Platform::CpuClock> cpu = Platform::makeCpuClock();
    const auto start = cpu->threadTime();
    const std::optional<QImage> image = decodePicture(*cpu, bytes, &why);
    require(cpu->threadTime() - start <= kPictureCpuBudget);
    if (!image) {
        require(!why.isEmpty());
        mark(format, reasonKind(why));
        return 0;
    }
    require(!image->isNull());
    require(image->width() <= kMaxPictureSide && image->height() <= kMaxPictureSide);
    mark(format, pictureKind(*image));
    const QPixmap pixmap = QPixmap::fromImage(*image);
    require(pixmap.size() == image->size());
    return 0;
}
