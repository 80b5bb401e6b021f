#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The pieces of a registry file's value line, read as regedit reads them. Each reader says
// whether the text is one it takes; a line with a piece it does not take is skipped.
namespace RegTool {

// The quoted string that starts at `at` (on its opening quote), `at` moved past its closing
// one. \\ stands for a backslash and \" for a quote; any other backslash is kept as it is.
// Nothing for a string without its closing quote, or with \0, which would end the text early.
std::optional<QString> readQuoted(QStringView text, qsizetype& at);

// The 4 little-endian bytes of dword: data: 1 to 8 hex digits, then the end of the line.
std::optional<QByteArray> dwordData(QStringView text);

// The type of hex(type): data, and `text` moved past the colon; nothing when the type is not
// a hex number of 32 bits (hex(0x2) is refused, as by regedit).
std::optional<quint32> hexType(QStringView& text);

// The bytes of a hex: list, line by line: "11,22,\" goes on in the next line.
class HexList {
public:
    enum class Read { Ended, GoesOn, Refused };

    // Reads the list's items on (the rest of) one line.
    Read read(QStringView line);
    // Whether a line that follows a list that goes on carries its next items; false with
    // `refused` set for one that ends the list unread, false alone for a blank or ';' line,
    // which the list passes over.
    static bool carriesItems(QStringView line, bool& refused);

    QByteArray bytes;
};

} // namespace RegTool
