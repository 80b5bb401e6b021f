// Writes the picture fuzz target's seeds into the folder given as the argument: a small
// picture in every format Qt writes, a GIF (which Qt only reads), an icon of three entries, and
// small pictures of each kind made to make a decoder amplify its input, for the fuzzer to grow.

#include <HostilePictures.h>
#include <SkinFiles.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

#include <cstdio>

namespace {

QImage sample(QImage::Format format) {
    QImage image(5, 3, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(x * 50, y * 100, 200, x == 0 ? 0 : 255));
    return image.convertToFormat(format);
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

// A 1 x 1 GIF89a: header, screen descriptor with a two-colour table, image descriptor and
// the LZW data of one pixel.
QByteArray gif() {
    return QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00"
                      "\xff\x00\x00\x00\x00\xff"
                      ",\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                      "\x02\x02\x44\x01\x00;",
                      35);
}

// Each kind of amplification, small enough for the fuzzer's length limit.
template <typename Save> void saveAmplifying(Save save) {
    using namespace Hostile;
    const QByteArray text = pngChunk("tEXt", QByteArray("k\0v", 3));
    save("png-compressed-text.png", pngRepeating(pngCompressedText(1'000'000), 8));
    save("png-compressed-xmp.png", pngRepeating(pngCompressedXmp(1'000'000), 4));
    save("png-colour-profile.png", pngRepeating(pngColourProfile(1'000'000), 1));
    save("png-chunk-flood.png", pngRepeating(text, 800));
    save("png-image-data-flood.png", pngRepeating(pngChunk("IDAT", {}), 800));
    save("jpeg-empty-scans.jpg", jpegEmptyScans(512, 300));
    save("jpeg-comments.jpg", jpegRepeating(0xFE, {}, 2000));
    save("jpeg-colour-profile.jpg",
         jpegRepeating(0xE2, QByteArray("ICC_PROFILE\0\1\1", 14) + QByteArray(1000, 'p'), 10));
    save("jpeg-exif.jpg", jpegRepeating(0xE1, jpegExif(100), 8));
    save("jpeg-xmp.jpg", jpegRepeating(0xE1, jpegXmp(1000), 6));
    save("gif-frames.gif", gifFrames(15, {64, 64}));
    save("gif-long-codes.gif", gifLongCodes(12000));
    save("xpm-colours.xpm", xpmColours(500, 4));
    save("bmp-colour-table.bmp", bitmapColourTable(0xFFFFFFFFu));
    save("ico-compressed-text.ico", iconHolding(pngRepeating(pngCompressedText(1'000'000), 8)));
    save("cur-chunk-flood.cur", iconHolding(pngRepeating(text, 500), true));
    save("ico-bitmap-claim.ico", iconHolding(iconBitmapClaiming(3000, 3000)));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_picture_seeds FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(folder.path());
    auto save = [&](const char* name, const QByteArray& bytes) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    };
    const QImage colour = sample(QImage::Format_ARGB32);
    for (const char* format : {"bmp", "png", "jpg", "ppm", "xpm", "ico", "cur"})
        save((QByteArray("seed.") + format).constData(), encoded(colour, format));
    save("seed-indexed.bmp", encoded(sample(QImage::Format_Indexed8), "bmp"));
    save("seed-grey.pgm", encoded(sample(QImage::Format_Grayscale8), "pgm"));
    save("seed-mono.pbm", encoded(sample(QImage::Format_Mono), "pbm"));
    save("seed-mono.xbm", encoded(sample(QImage::Format_Mono), "xbm"));
    save("seed.gif", gif());
    save("seed-three.ico", iconListing(3, Qt::darkCyan));
    saveAmplifying(save);
    return 0;
}
