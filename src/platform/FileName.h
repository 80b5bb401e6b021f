#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace Platform {

// File names as the program holds them: text that can name every file the system can store,
// and turns back into the system's own bytes without loss. A name that is valid UTF-8 is its
// text; each byte of one that is not is kept as a code point from U+DC80 to U+DCFF, half a
// surrogate pair on its own, which no valid text holds.
QString fileNameFromSystem(QByteArrayView bytes);
QByteArray fileNameToSystem(QStringView name);

} // namespace Platform
