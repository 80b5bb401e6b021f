#pragma once

#include <QString>

#include <ostream>

// GoogleTest shows a QString it cannot print as a row of 2-byte objects cut after 32: every
// test program shows it as its text instead (CMake includes this header first in each).
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
