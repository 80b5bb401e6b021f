#pragma once

#include "core/SkinFolder.h"

#include "platform/FileSystem.h"

#include <QString>

#include <vector>

namespace VD_Core {

// A skin file as the skin list shows it.
struct SkinListing {
    QString path;   // the Skins folder's path followed by the file name
    QString name;   // the value of its "name=" line
    QString author; // the value of its "author=" line; "" when the line is missing
};

// The skins of the folder: every regular, visible "*.vds" file whose first line is the header
// and whose second line carries "name=", in the order of their file names, each named by the
// text its name shows (shownFileName). Files that cannot be read, that end before their second
// line, or that are links out of the folder, are left out. Only the first three lines of each
// file are read.
std::vector<SkinListing> listSkins(const Platform::FileSystem& fileSystem,
                                   const SkinFolder& folder);

// The skins of each folder in turn, those of a folder that is one listed before (the same
// folder on disk, by another path or a link) left out.
std::vector<SkinListing> listSkins(const Platform::FileSystem& fileSystem,
                                   const std::vector<SkinFolder>& folders);

} // namespace VD_Core
