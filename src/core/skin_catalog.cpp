#include "SkinCatalog.h"

#include "SkinText.h"

#include <QDir>

namespace VD_Core {

std::vector<SkinListing> listSkins(const SkinFolder& folder) {
    std::vector<SkinListing> skins;
    const QStringList files =
        QDir(folder.path())
            .entryList({QStringLiteral("*.vds")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        const QString path = folder.path() + file;
        const std::optional<SkinText> text = SkinText::read(path, 3);
        if (!text || !text->isSkin())
            continue;
        const std::optional<QString> name = text->value(SkinKey::Name);
        if (!name)
            continue;
        skins.push_back({path, *name, text->value(SkinKey::Author).value_or(QString())});
    }
    return skins;
}

} // namespace VD_Core
