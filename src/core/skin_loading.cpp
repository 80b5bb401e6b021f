#include "core/SkinLog.h"
#include "core/SkinLookup.h"
#include "core/SkinPicture.h"
#include "core/SkinText.h"
#include "core/VD_Core.h"

namespace VD_Core {
namespace {

// What a picture line asks of its target: nothing when the line does not carry its key or the
// picture cannot be used, `forEmpty` for an empty value, the loaded picture otherwise.
std::optional<QPixmap> skinPicture(const SkinText& skin, SkinKey key, const QPixmap& forEmpty,
                                   SkinLookup& lookup, const Platform::Services& services) {
    const std::optional<QString> value = skin.value(key);
    if (!value)
        return std::nullopt;
    if (value->isEmpty())
        return forEmpty;
    const std::optional<QString> path = lookup.resolve(*value);
    if (!path) {
        qCWarning(lcSkin) << "picture refused, it leads outside the Skins folder:"
                          << loggedName(*value);
        return std::nullopt;
    }
    return loadPicture(services.fileSystem, services.cpu, *path);
}

// A sound line gives the Skins folder path followed by its value, even an empty one, and ""
// when it does not carry its key. Whether the file plays is found out when it is played.
QString skinSound(const SkinText& skin, SkinKey key, const SkinFolder& folder, SkinLookup& lookup) {
    const std::optional<QString> value = skin.value(key);
    if (!value)
        return {};
    if (value->isEmpty())
        return folder.path();
    const std::optional<QString> path = lookup.resolve(*value);
    if (!path) {
        // Kept empty rather than pointing outside: it plays what a missing file plays.
        qCWarning(lcSkin) << "sound refused, it leads outside the Skins folder:"
                          << loggedName(*value);
        return {};
    }
    return *path;
}

// The Skins folder the skin file lies directly in, the first of them; nothing, and why in the
// log, for a file elsewhere.
const SkinFolder* folderOf(const QString& file, const std::vector<SkinFolder>& folders) {
    for (const SkinFolder& folder : folders) {
        if (folder.fileNameOf(file))
            return &folder;
    }
    qCWarning(lcSkin) << "skin not applied, it does not lie in a Skins folder:" << loggedName(file);
    return nullptr;
}

// The skin file on disk, found in its folder as its values are; nothing, and why in the log,
// for a link out of the folder.
std::optional<QString> skinFileOnDisk(const QString& file, const SkinFolder& folder,
                                      SkinLookup& lookup) {
    std::optional<QString> path = lookup.resolveName(*folder.fileNameOf(file));
    if (!path)
        qCWarning(lcSkin) << "skin not applied, it leads outside the Skins folder:"
                          << loggedName(file);
    return path;
}

} // namespace

void Core::LoadSkin() {
    const QString& file = ClockSettings.UsedSkinPath;
    if (file.isEmpty()) {
        ResetSkin();
        return;
    }
    const SkinFolder* folder = folderOf(file, skinFolders_);
    if (folder == nullptr)
        return;
    // One lookup for the file and every name in it: each folder is listed once at most. The
    // names are those of the folder the skin lies in.
    SkinLookup lookup(services_.fileSystem, *folder);
    const std::optional<QString> path = skinFileOnDisk(file, *folder, lookup);
    if (!path)
        return;
    const std::optional<SkinText> skin = SkinText::read(services_.fileSystem, *path);
    if (!skin) {
        qCWarning(lcSkin) << "skin not applied, no regular file within" << kMaxSkinTextBytes
                          << "bytes for its first lines:" << loggedName(file);
        return;
    }
    if (!skin->isSkin()) {
        qCWarning(lcSkin) << "skin not applied, its first line is not the header:"
                          << loggedName(file);
        return;
    }
    if (skin->lineCount() < static_cast<int>(SkinKey::ImgTitle)) {
        qCWarning(lcSkin) << "skin not applied, it ends before its first picture line:"
                          << loggedName(file);
        return;
    }
    qCInfo(lcSkin) << "applying" << loggedName(file);
    const auto picture = [&](SkinKey key, const QPixmap& forEmpty) {
        return skinPicture(*skin, key, forEmpty, lookup, services_);
    };
    if (window_ != nullptr) {
        if (auto title = picture(SkinKey::ImgTitle, SkinState.DefaultTitlePicture))
            window_->setTitlePicture(*title);
        if (auto body = picture(SkinKey::ImgBody, QPixmap()))
            window_->setBackgroundPicture(*body);
        if (auto alarm = picture(SkinKey::ImgAlarm, SkinState.DefaultAlarmPicture))
            window_->setAlarmPicture(*alarm);
    }
    SkinState.HourSoundPath = skinSound(*skin, SkinKey::SndHour, *folder, lookup);
    SkinState.AlarmSoundPath = skinSound(*skin, SkinKey::SndAlarm, *folder, lookup);
    services_.sound.preload({SkinState.HourSoundPath, SkinState.AlarmSoundPath});
}

void Core::ResetSkin() {
    if (window_ != nullptr) {
        window_->setTitlePicture(SkinState.DefaultTitlePicture);
        window_->setAlarmPicture(SkinState.DefaultAlarmPicture);
        window_->setBackgroundPicture(QPixmap());
    }
    SkinState.HourSoundPath.clear();
    SkinState.AlarmSoundPath.clear();
    services_.sound.preload({});
}

} // namespace VD_Core
