#include "KeyName.h"

#include "hive/Store.h"

#include <QStringList>

namespace RegTool {

namespace {

const QString kRootName = QStringLiteral("HKEY_CURRENT_USER");

// Whether the registry holds the name: its functions take names as C strings, which a NUL
// would end early (the name made would not be the one asked for, and no file could name it),
// in the store's code page, which has no form for half a UTF-16 character, and of at most
// `longest` UTF-16 units.
bool isRegistryName(QStringView name, const char* what, size_t longest, QString& why) {
    if (name.contains(QChar(0)))
        why = QStringLiteral("the %1 holds a NUL, which no registry name can")
                  .arg(QLatin1String(what));
    else if (!name.isValidUtf16())
        why = QStringLiteral("the %1 holds half a UTF-16 character, which is no text")
                  .arg(QLatin1String(what));
    else if (static_cast<size_t>(name.size()) > longest)
        why = QStringLiteral("the %1 is %2 characters long, and the registry holds names of at "
                             "most %3")
                  .arg(QLatin1String(what))
                  .arg(name.size())
                  .arg(longest);
    else
        return true;
    return false;
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

bool isKeyName(const QString& path, QString& why) {
    for (const QStringView level : QStringView(path).tokenize(u'\\')) {
        if (!isRegistryName(level, "key name", Hive::kLongestKeyName, why))
            return false;
    }
    return true;
}

bool isMakeable(const QString& path, QString& why) {
    if (!isKeyName(path, why))
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
    return isRegistryName(name, "value name", Hive::kLongestValueName, why);
}

} // namespace RegTool
