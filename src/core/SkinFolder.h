#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace VD_Core {

// The parts of a skin value read as a path inside the Skins folder: "\" and "/" both separate
// folders, empty parts and "." are dropped, ".." takes back the part before it. Nothing when
// ".." would climb above the folder, or a part holds a character no file name can hold.
std::optional<QStringList> skinValueParts(QStringView value);

// The folder "Skins" in the program's own folder, and the files that skin values name in it.
class SkinFolder {
public:
    explicit SkinFolder(const QString& programFolder);

    // The program folder followed by "Skins" and a separator, in the system's own separators
    // ("/opt/vindrel/Skins/", "C:\Vindrel\Skins\"): a skin file's full path is this followed by
    // its file name.
    const QString& path() const { return path_; }

    // The full path of the file a skin value names. A part missing with its exact letter case is
    // looked up ignoring letter case, so skins made where names are not case-sensitive keep
    // working; when nothing matches, the path is the value as written, naming no file. Nothing
    // when the value leads outside the folder, by ".." or by a symbolic link.
    std::optional<QString> resolve(QStringView value) const;

private:
    QString root_; // the folder without a trailing separator, with "/" separators
    QString path_;
};

} // namespace VD_Core
