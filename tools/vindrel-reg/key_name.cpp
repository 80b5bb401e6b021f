#include "KeyName.h"

#include <QStringList>

namespace RegTool {

namespace {

const QString kRootName = QStringLiteral("HKEY_CURRENT_USER");

// The registry's functions take names as C strings, which a NUL would end early: the name
// made would not be the one asked for, and no file could name it.
bool holdsNul(const QString& name, const char* what, QString& why) {
    if (!name.contains(QChar(0)))
        return false;
    why = QStringLiteral("the %1 holds a NUL, which no registry name can").arg(QLatin1String(what));
    return true;
}

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

qsizetype keyDepth(const QString& path) {
    return path.isEmpty() ? 0 : path.count(u'\\') + 1;
}

bool isMakeable(const QString& path, QString& why) {
    if (holdsNul(path, "key name", why))
        return false;
    const qsizetype depth = keyDepth(path);
    if (depth <= kDeepestKey)
        return true;
    why = QStringLiteral("the key is %1 levels deep, and the registry holds keys at most %2 levels "
                         "deep")
              .arg(depth)
              .arg(kDeepestKey);
    return false;
}

bool isValueName(const QString& name, QString& why) {
    return !holdsNul(name, "value name", why);
}

} // namespace RegTool
