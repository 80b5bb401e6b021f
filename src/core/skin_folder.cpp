#include "SkinFolder.h"

#include <QDir>
#include <QFileInfo>

namespace VD_Core {
namespace {

bool present(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The entry of the folder whose name equals `name` ignoring letter case; the first by name
// when several do.
std::optional<QString> entryIgnoringCase(const QString& folder, const QString& name) {
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return std::nullopt;
}

QString withoutTrailingSeparators(QString folder) {
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

bool inside(const QString& canonical, const QString& canonicalRoot) {
    return !canonical.isEmpty() &&
           (canonical == canonicalRoot || canonical.startsWith(canonicalRoot + QLatin1Char('/')));
}

} // namespace

std::optional<QStringList> skinValueParts(QStringView value) {
    QStringList parts;
    for (QStringView part : value.tokenize(u'\\')) {
        for (QStringView piece : part.tokenize(u'/')) {
            if (piece.contains(QChar(u'\0')))
                return std::nullopt;
            if (piece.isEmpty() || piece == u".")
                continue;
            if (piece == u"..") {
                if (parts.isEmpty())
                    return std::nullopt;
                parts.removeLast();
                continue;
            }
            parts << piece.toString();
        }
    }
    return parts;
}

SkinFolder::SkinFolder(const QString& programFolder)
    : root_(withoutTrailingSeparators(QDir::fromNativeSeparators(programFolder)) +
            QLatin1String("/Skins")),
      path_(QDir::toNativeSeparators(root_ + QLatin1Char('/'))) {}

std::optional<QString> SkinFolder::resolve(QStringView value) const {
    const std::optional<QStringList> parts = skinValueParts(value);
    if (!parts)
        return std::nullopt;
    const QString canonicalRoot = QFileInfo(root_).canonicalFilePath();
    QString path = root_;
    QString deepestPresent = present(root_) ? root_ : QString();
    bool searching = !deepestPresent.isEmpty();
    for (const QString& part : *parts) {
        const QString exact = path + QLatin1Char('/') + part;
        if (searching && !present(exact)) {
            // A folder reached through a link out is not even listed.
            if (!inside(QFileInfo(path).canonicalFilePath(), canonicalRoot))
                return std::nullopt;
            if (const auto entry = entryIgnoringCase(path, part)) {
                path += QLatin1Char('/') + *entry;
                deepestPresent = path;
                continue;
            }
            searching = false;
        }
        path = exact;
        if (searching)
            deepestPresent = path;
    }
    // Symbolic links are followed only while they stay within the folder.
    if (!deepestPresent.isEmpty() &&
        !inside(QFileInfo(deepestPresent).canonicalFilePath(), canonicalRoot))
        return std::nullopt;
    return QDir::toNativeSeparators(path);
}

} // namespace VD_Core
