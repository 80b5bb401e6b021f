#include "SkinFiles.h"

#include "core/SkinFolder.h"

#include <QFile>
#include <QStringList>

#include <windows.h>

// Names on Windows are text: a name's bytes are read in the code page a skin made there was
// named in.
QString SkinFiles::writeNamedByBytes(const QByteArray& name, const QByteArray& bytes) const {
    std::wstring wide(name.size(), L'\0');
    const int length = MultiByteToWideChar(1252, 0, name.constData(), int(name.size()), wide.data(),
                                           int(wide.size()));
    wide.resize(length);
    return write(QString::fromStdWString(wide), bytes);
}

SkinFiles::~SkinFiles() = default;

// Windows has no FIFOs: nothing to make, and nothing of the kind for a test to meet.
bool SkinFiles::makeFifo(const QString&) const {
    return true;
}

const char* SkinFiles::whyNoSymbolicLinks() {
    return "QFile::link makes a shortcut on Windows, and a symbolic link needs a privilege there";
}

const char* SkinFiles::whyNoNamesDifferingInCase() {
    return "Windows compares file names without regard to letter case";
}

QString SkinFiles::asCompared(const QString& path) {
    QStringList names = path.split(QLatin1Char('\\'));
    for (QString& name : names)
        name = VD_Core::withoutTrailingDotsAndSpaces(name).toString().toCaseFolded();
    return names.join(QLatin1Char('\\'));
}
