#include "KeyName.h"

#include <QStringList>

namespace RegTool {

namespace {

const QString kRootName = QStringLiteral("HKEY_CURRENT_USER");

} // namespace

std::optional<QString> keyPath(const QString& name) {
    const qsizetype cut = name.indexOf(u'\\');
    const QString root = name.left(cut);
    if (root.compare(kRootName, Qt::CaseInsensitive) != 0 &&
        root.compare(QLatin1String("HKCU"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    QString path = cut < 0 ? QString() : name.mid(cut + 1);
    if (path.endsWith(u'\\'))
        path.chop(1);
    if (!path.isEmpty() && path.split(u'\\').contains(QString()))
        return std::nullopt;
    return path;
}

QString fullKeyName(const QString& path) {
    return path.isEmpty() ? kRootName : kRootName + u'\\' + path;
}

} // namespace RegTool
