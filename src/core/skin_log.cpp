#include "core/SkinLog.h"

Q_LOGGING_CATEGORY(lcSkin, "vindrel.skin")

QString loggedName(const QString& name) {
    constexpr qsizetype kShown = 256;
    if (name.size() <= kShown)
        return name;
    return name.left(kShown) + QStringLiteral("... (%1 characters)").arg(name.size());
}
