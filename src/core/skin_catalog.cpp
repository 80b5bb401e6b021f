#include "core/SkinCatalog.h"

#include "core/SkinLog.h"
#include "core/SkinLookup.h"
#include "core/SkinText.h"

#include <QSet>

#include <algorithm>

namespace VD_Core {
namespace {

struct SkinFileName {
    QString onDisk;
    QString shown; // shownFileName
};

// The visible "*.vds" names of the folder, in the order of the names they show regardless of
// letter case.
std::vector<SkinFileName> skinFileNames(const Platform::FileSystem& fileSystem,
                                        const SkinFolder& folder) {
    std::vector<SkinFileName> names;
    for (const QString& name : fileSystem.folderEntries(folder.root())) {
        SkinFileName file{name, shownFileName(name)};
        if (!name.startsWith(QLatin1Char('.')) &&
            file.shown.endsWith(QLatin1String(".vds"), Qt::CaseInsensitive))
            names.push_back(std::move(file));
    }
    std::sort(names.begin(), names.end(), [](const SkinFileName& a, const SkinFileName& b) {
        const int order = a.shown.compare(b.shown, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.onDisk < b.onDisk;
    });
    return names;
}

// Why a skin file's first lines keep it off the list, so that a user writing one can tell;
// nothing when they do not.
const char* whyNotListed(const std::optional<SkinText>& text) {
    if (!text)
        return "it cannot be read";
    if (!text->isSkin())
        return "its first line is not the skin header (lines end in CR LF or CR)";
    if (!text->value(SkinKey::Name))
        return "its second line is not \"name=\"";
    return nullptr;
}

} // namespace

std::vector<SkinListing> listSkins(const Platform::FileSystem& fileSystem,
                                   const SkinFolder& folder) {
    SkinLookup lookup(fileSystem, folder);
    std::vector<SkinListing> skins;
    for (const SkinFileName& file : skinFileNames(fileSystem, folder)) {
        const std::optional<QString> path = lookup.resolveName(file.onDisk);
        if (!path) {
            qCWarning(lcSkin) << "skin file not listed, it leads outside the Skins folder:"
                              << loggedName(file.shown);
            continue;
        }
        const std::optional<SkinText> text = SkinText::read(fileSystem, *path, 3);
        if (const char* why = whyNotListed(text)) {
            qCWarning(lcSkin).nospace()
                << "skin file not listed, " << why << ": " << loggedName(file.shown);
            continue;
        }
        // Named by the text it shows, which survives the trip through the registry and which
        // the skin loading finds it by again.
        skins.push_back({folder.path() + file.shown, *text->value(SkinKey::Name),
                         text->value(SkinKey::Author).value_or(QString())});
    }
    return skins;
}

std::vector<SkinListing> listSkins(const Platform::FileSystem& fileSystem,
                                   const std::vector<SkinFolder>& folders) {
    std::vector<SkinListing> skins;
    QSet<QString> listed;
    for (const SkinFolder& folder : folders) {
        const QString onDisk = fileSystem.canonicalPath(folder.root());
        if (onDisk.isEmpty() || listed.contains(onDisk))
            continue;
        listed.insert(onDisk);
        std::vector<SkinListing> own = listSkins(fileSystem, folder);
        skins.insert(skins.end(), std::make_move_iterator(own.begin()),
                     std::make_move_iterator(own.end()));
    }
    return skins;
}

} // namespace VD_Core
