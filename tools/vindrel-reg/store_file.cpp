#include "StoreFile.h"

#include <QDir>
#include <QFileInfo>

namespace RegTool {

namespace {

// Where a file saved at the path lands, whether or not one is there yet: the path with its
// folder's links resolved, or the target of a link that points nowhere yet.
QString landingPlace(const QString& path) {
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QFileInfo place(info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath());
    return place.absoluteDir().canonicalPath() + u'/' + place.fileName();
}

} // namespace

bool replacesStoreFile(const QString& path, const QString& storeFile) {
    if (storeFile.isEmpty())
        return false;
    const QString target = landingPlace(path);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        if (target == landingPlace(storeFile + QLatin1String(suffix)))
            return true;
    }
    return false;
}

} // namespace RegTool
