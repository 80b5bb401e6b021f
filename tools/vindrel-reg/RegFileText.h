#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The text of a registry file as import reads it: its bytes decoded, then its lines one at a
// time.
namespace RegTool {

// Windows-1252 text: the ANSI code page in which regedit reads a file without a byte order
// mark that is not UTF-8, and the text of REGEDIT4 files' hex(type) data.
QString fromWindows1252(const QByteArray& bytes);

// One line of the file as it stands, with its number.
struct FileLine {
    QStringView text;
    int number = 0;
};

// The lines of a text, ended by CR LF, LF or a CR alone, each as it is written: regedit joins
// only the lines of a hex list, and only where the list says so. The text must outlive the
// reader.
class LineReader {
public:
    explicit LineReader(const QString& text);

    // The next line; false past the last.
    bool next(FileLine& line);

private:
    QStringView text_;
    qsizetype at_ = 0;
    int number_ = 0;
};

// The text after its leading spaces and tabs, which regedit passes over wherever a line or an
// item may start.
QStringView skipBlanks(QStringView text);

// Whether nothing but spaces and tabs, then perhaps a ';' comment, is left: how every line's
// data must end.
bool endsTheLine(QStringView rest);

} // namespace RegTool
