#include "SkinFiles.h"

#include "platform/FileName.h"

#include <QDir>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SkinFiles::~SkinFiles() {
    for (const QByteArray& path : namedByBytes_)
        ::unlink(path.constData());
}

QString SkinFiles::writeNamedByBytes(const QByteArray& name, const QByteArray& bytes) const {
    QDir().mkpath(folder_);
    const QByteArray path = Platform::fileNameToSystem(folder_) + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        namedByBytes_ << path;
        if (::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
            std::perror("writeNamedByBytes");
        ::close(fd);
    }
    return Platform::fileNameFromSystem(path);
}

bool SkinFiles::makeFifo(const QString& relative) const {
    return ::mkfifo(Platform::fileNameToSystem(folder_ + QLatin1Char('/') + relative).constData(),
                    0600) == 0;
}

const char* SkinFiles::whyNoSymbolicLinks() {
    return nullptr;
}

const char* SkinFiles::whyNoNamesDifferingInCase() {
    return nullptr;
}

QString SkinFiles::asCompared(const QString& path) {
    return path;
}
