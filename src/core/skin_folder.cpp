#include "core/SkinFolder.h"

#include <QDir>

namespace VD_Core {
namespace {

QString withoutTrailingSeparators(QString folder) {
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

} // namespace

QStringView withoutTrailingDotsAndSpaces(QStringView name) {
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return name;
}

std::optional<QStringList> skinValueParts(QStringView value) {
    QStringList parts;
    for (QStringView part : value.tokenize(u'\\')) {
        for (QStringView piece : part.tokenize(u'/')) {
            if (piece.contains(QChar(u'\0')))
                return std::nullopt;
            if (piece == u"..") {
                if (parts.isEmpty())
                    return std::nullopt;
                parts.removeLast();
                continue;
            }
            const QStringView name = withoutTrailingDotsAndSpaces(piece);
            if (!name.isEmpty())
                parts << name.toString();
        }
    }
    return parts;
}

SkinFolder::SkinFolder(const QString& parentFolder)
    : root_(withoutTrailingSeparators(QDir::fromNativeSeparators(parentFolder)) +
            QLatin1String("/Skins")),
      path_(QDir::toNativeSeparators(root_ + QLatin1Char('/'))) {}

std::optional<QString> SkinFolder::fileNameOf(const QString& skinFile) const {
    const QString file = QDir::fromNativeSeparators(skinFile);
    if (!file.startsWith(root_ + QLatin1Char('/'), Qt::CaseInsensitive))
        return std::nullopt;
    const QString name = file.sliced(root_.size() + 1);
    if (name.contains(QLatin1Char('/')))
        return std::nullopt;
    return name;
}

} // namespace VD_Core
