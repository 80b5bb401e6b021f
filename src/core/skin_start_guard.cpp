// Applying the stored skin at start-up without a crash loop: a skin that ends the clock while it
// is applied would otherwise end it again at every start, before the user can choose another.

#include "core/SkinLog.h"
#include "core/StoredSettings.h"
#include "core/VD_Core.h"

#include <QCoreApplication>

namespace VD_Core {
namespace {

constexpr Hive::Root kRoot = kSettingsRoot;
// Names the process of the clock applying the stored skin at start-up, while it does. Found at
// a later start, it tells that start ended meanwhile; otherwise it is never there.
const QString kApplyingSkin = QStringLiteral("ApplyingSkin");

// A mark left by another copy of the clock that is applying the skin at this moment is no sign
// of a start that ended; a mark of this very process cannot be one of its own.
bool leftByAStartThatEnded(const QString& mark, const QString& ownMark,
                           const Platform::Processes& processes) {
    return mark == ownMark || !processes.markedProcessRunning(mark);
}

} // namespace

void Core::LoadSkinAtStart() {
    const QString ownMark = services_.processes.processMark(QCoreApplication::applicationPid());
    const QString mark = registry_.GetValue(kRoot, kSettingsKey, kApplyingSkin).toText();
    const bool stale = !mark.isEmpty() && leftByAStartThatEnded(mark, ownMark, services_.processes);
    if (ClockSettings.UsedSkinPath.isEmpty()) {
        if (stale)
            forgetMark("A mark of a start that ended");
        LoadSkin();
        return;
    }
    if (stale) {
        qCWarning(lcSkin).noquote()
            << QStringLiteral("the last start ended while it applied the skin %1: starting with "
                              "the built-in look; choosing the skin in the Options dialog "
                              "applies it again")
                   .arg(loggedName(ClockSettings.UsedSkinPath));
        ClockSettings.UsedSkinPath.clear();
        Hive::Transaction scope(registry_.store());
        registry_.SaveValue(kRoot, kSettingsKey,
                            QLatin1String(storedSettingOf(&Settings::UsedSkinPath).name),
                            ClockSettings.UsedSkinPath, Hive::kRegSz);
        registry_.DeleteValue(kRoot, kSettingsKey, kApplyingSkin);
        commitOrLog(scope, "The skin given up at start-up");
        LoadSkin();
        return;
    }
    {
        Hive::Transaction scope(registry_.store());
        registry_.SaveValue(kRoot, kSettingsKey, kApplyingSkin, ownMark, Hive::kRegSz);
        commitOrLog(scope, "The mark of a skin being applied");
    }
    LoadSkin();
    forgetMark("The end of applying the skin");
}

void Core::forgetMark(const char* what) {
    Hive::Transaction scope(registry_.store());
    registry_.DeleteValue(kRoot, kSettingsKey, kApplyingSkin);
    commitOrLog(scope, what);
}

} // namespace VD_Core
