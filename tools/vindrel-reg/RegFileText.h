#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The text of a registry file as import reads it: its bytes decoded, then its lines one at a
// time, so that the text of a large file is not held twice.
namespace RegTool {

// Windows-1252 text: the ANSI code page in which regedit reads a file without a byte order
// mark that is not UTF-8, and the text of REGEDIT4 files' hex(type) data.
QString fromWindows1252(const QByteArray& bytes);

// One line of the file after continuations are joined, with the number of the file's line it
// starts on.
struct FileLine {
    QStringView text;
    int number = 0;
};

// The lines of a text, ended by CR LF, LF or a CR alone, each trimmed; a line ending in a
// backslash after a comma or colon goes on in the next one. Lines are joined within the text
// itself, which they use up: a hex list of many lines is most of a large file, and is not
// copied. Each line is valid until the next is read, and the text must outlive the reader.
class LineReader {
public:
    explicit LineReader(QString& text);

    // The next line, continuations joined; false past the last.
    bool next(FileLine& line);

private:
    QStringView physicalLine();

    QChar* text_;
    qsizetype size_;
    qsizetype at_ = 0;
    int number_ = 0;
};

} // namespace RegTool
