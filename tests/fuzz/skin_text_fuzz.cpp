// Feeds arbitrary bytes to the skin file reader as the loader and the chooser read them, and
// every value it finds to the Skins folder's name resolution, checking what each promises.

#include "core/SkinFolder.h"
#include "core/SkinLookup.h"
#include "core/SkinText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace VD_Core;

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

// A program folder whose Skins folder holds a few names and links that lead in and out.
struct Folder {
    QTemporaryDir program;
    QString skins = program.path() + QStringLiteral("/Skins");
    SkinFolder folder{program.path()};
    std::unique_ptr<Platform::FileSystem> fileSystem = Platform::makeFileSystem();

    Folder() {
        QDir().mkpath(skins + QStringLiteral("/Sub/Deep"));
        QDir().mkpath(program.path() + QStringLiteral("/Skins2"));
        for (const char* name : {"/Title.bmp", "/Sub/Body.PNG", "/Sub/Deep/chime.wav"})
            QFile(skins + QString::fromLatin1(name)).open(QIODevice::WriteOnly);
        QFile::link(QStringLiteral(".."), skins + QStringLiteral("/up"));
        QFile::link(QStringLiteral("../Skins2"), skins + QStringLiteral("/sibling"));
        QFile::link(QStringLiteral("Sub"), skins + QStringLiteral("/alias"));
    }
};

const Folder& folder() {
    static const Folder instance;
    return instance;
}

void checkParts(const QString& value) {
    const std::optional<QStringList> parts = skinValueParts(value);
    if (!parts)
        return;
    for (const QString& part : *parts) {
        require(!part.isEmpty() && part != QLatin1String(".") && part != QLatin1String(".."));
        require(!part.contains(QLatin1Char('\\')) && !part.contains(QLatin1Char('/')));
    }
}

void checkResolved(const QString& value) {
    const Folder& f = folder();
    const std::optional<QString> path = SkinLookup(*f.fileSystem, f.folder).resolve(value);
    if (!path)
        return;
    require(path->startsWith(f.folder.path()) || *path + QLatin1Char('/') == f.folder.path());
    const QString canonical = QFileInfo(*path).canonicalFilePath();
    const QString root = QFileInfo(f.skins).canonicalFilePath();
    require(canonical.isEmpty() || canonical == root ||
            canonical.startsWith(root + QLatin1Char('/')));
}

void checkText(const SkinText& text, int lineCount) {
    require(text.lineCount() <= lineCount);
    require(text.isSkin() == (text.lineCount() > 0 && text.lines().front() == kSkinHeader));
    for (const QString& line : text.lines())
        require(!line.contains(QLatin1Char('\r')));
    for (int n = static_cast<int>(SkinKey::Name); n <= static_cast<int>(SkinKey::SndAlarm); ++n) {
        const auto key = static_cast<SkinKey>(n);
        const std::optional<QString> value = text.value(key);
        if (!value)
            continue;
        require(n <= text.lineCount() && text.lines()[n - 1].endsWith(*value));
        checkParts(*value);
        if (n >= static_cast<int>(SkinKey::ImgTitle))
            checkResolved(*value);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    for (int lineCount : {3, SkinText::kLineCount}) {
        for (bool whole : {true, false}) {
            const std::optional<SkinText> text = SkinText::parse(bytes, whole, lineCount);
            require(text.has_value() || !whole);
            if (text)
                checkText(*text, lineCount);
        }
    }
    return 0;
}
