#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace VD_Core {

// The name without the dots and spaces at its end, which Windows ignores.
QStringView withoutTrailingDotsAndSpaces(QStringView name);

// The parts of a skin value read as a path inside the Skins folder, as Windows reads a path:
// "\" and "/" both separate folders, empty parts and "." are dropped, ".." takes back the part
// before it, and the dots and spaces at the end of a name are no part of it (a name of nothing
// else is dropped like "."). Nothing when ".." would climb above the folder, or a part holds a
// character no file name can hold.
std::optional<QStringList> skinValueParts(QStringView value);

// The folder "Skins" in the program's own folder, or in a user's folder of the program's data.
// The files skin values name in it are found by a SkinLookup.
class SkinFolder {
public:
    explicit SkinFolder(const QString& parentFolder);

    // The parent folder followed by "Skins" and a separator, in the system's own separators
    // ("/usr/lib/vindrel/Skins/", "C:\Vindrel\Skins\"): a skin file's full path is this
    // followed by its file name.
    const QString& path() const { return path_; }

    // The folder without a trailing separator, with "/" separators.
    const QString& root() const { return root_; }

    // The file name in a skin file's full path that lies directly in this folder, the folder
    // compared without regard to letter case as Windows compares it; nothing for one elsewhere.
    std::optional<QString> fileNameOf(const QString& skinFile) const;

private:
    QString root_;
    QString path_;
};

} // namespace VD_Core
