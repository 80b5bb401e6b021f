#pragma once

#include "core/SkinFolder.h"

#include "platform/FileSystem.h"

#include <QHash>
#include <QString>

#include <optional>

namespace VD_Core {

// A name on disk as Windows would show it, so as a skin's values name it: the name when it is
// valid UTF-8, its bytes read as Windows-1252 otherwise (a skin unpacked from a Windows archive).
QString shownFileName(const QString& name);

// Finds the files a skin names in the folder it lies in, as Windows finds them: a name missing
// with its exact letter case is looked up ignoring letter case and the dots and spaces at the
// end of names, and names on disk that are no valid UTF-8 by the text they show. Symbolic links
// are followed only while they stay in the folder. One lookup serves one skin load: it lists
// each folder at most once, however many names and parts lead there and however deep.
class SkinLookup {
public:
    SkinLookup(const Platform::FileSystem& fileSystem, const SkinFolder& folder);

    // The full path of the file a skin value names (skinValueParts), in the program's form of
    // file names (FileName.h) and the system's separators. When a part matches nothing, it and
    // the rest are kept as written, naming no file. Nothing when the value leads outside the
    // folder, by ".." or by a symbolic link, or names through a link that leads nowhere.
    std::optional<QString> resolve(QStringView value);

    // The same for one name in the folder itself, such as a skin file's, however it is spelt.
    std::optional<QString> resolveName(QStringView name);

    // How many folders it has listed.
    int listings() const { return listings_; }

private:
    struct Entry {
        QString name;
        bool link = false;
    };

    std::optional<QString> resolveParts(const QStringList& parts);
    std::optional<Entry> entryNamed(const QString& folder, const QString& part);
    const QHash<QString, QString>& entriesOf(const QString& folder);
    std::optional<QString> stepInto(const QString& folder, const Entry& entry);

    const Platform::FileSystem& fileSystem_;
    QString root_;
    QString canonicalRoot_; // "" when the folder is missing
    // By the canonical path of each folder listed: its names by their folded key.
    QHash<QString, QHash<QString, QString>> entries_;
    int listings_ = 0;
};

} // namespace VD_Core
