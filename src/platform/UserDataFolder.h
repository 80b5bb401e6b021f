#pragma once

#include <QString>

namespace Platform {

// The folder of the program's data that belongs to this user and that the user may add to,
// in the program's form of file names (FileName.h): "$XDG_DATA_HOME/vindrel", where a relative
// XDG_DATA_HOME counts as unset, and "$HOME/.local/share/vindrel" without it. "" where there
// is none: on Windows, whose skins lie beside the program alone. It may not exist.
QString userDataFolder();

} // namespace Platform
