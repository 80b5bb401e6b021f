#include "RegFile.h"

#include "KeyName.h"

#include <QStringEncoder>
#include <QtEndian>

namespace RegTool {

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
// Lists of bytes are wrapped as regedit wraps them, once a line reaches this width: 25 bytes
// to a continued line.
constexpr int kLineWidth = 77;

QString quoted(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
    return u'"' + escaped + u'"';
}

bool isStringType(quint32 type) {
    return type == Hive::kRegSz || type == Hive::kRegExpandSz || type == Hive::kRegMultiSz;
}

// A REG_SZ that regedit writes as a quoted string: its text up to a NUL at its end, if any, on
// one line. A text without its NUL or with no bytes comes back with one, as on Windows; one
// with a NUL inside or a line break, which a quoted string would lose, goes as hex(1).
bool plainText(const Registry::NamedValue& value) {
    const QByteArray& data = value.data;
    const qsizetype nuls = data.count('\0');
    if (value.type != Hive::kRegSz || nuls > 1 || (nuls == 1 && !data.endsWith('\0')) ||
        data.contains('\n') || data.contains('\r'))
        return false;
    const QByteArray text = nuls == 1 ? data.chopped(1) : data;
    return QByteArray::fromStdString(
               Registry::codePage(Registry::fromCodePage(text.toStdString()))) == text;
}

// Text types are stored as the registry holds them, in UTF-16.
QByteArray fileBytes(const Registry::NamedValue& value) {
    if (!isStringType(value.type))
        return value.data;
    const QString text = Registry::fromCodePage(value.data.toStdString());
    QByteArray bytes(text.size() * 2, '\0');
    qToLittleEndian<quint16>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

// A name that a file carries and gives back as it is: on one line, without NULs, and
// unchanged by the way through the code page.
bool fileSafe(const QString& name, const std::string& stored) {
    return !name.contains(u'\n') && !name.contains(u'\r') && !name.contains(QChar(0)) &&
           Registry::codePage(name) == stored;
}

// The file's text as it is made, encoded and written out a piece at a time.
class FileText {
public:
    FileText(QIODevice& out, bool utf8)
        : out_(out), utf8_(utf8),
          encode_(utf8 ? QStringConverter::Utf8 : QStringConverter::Utf16LE,
                  utf8 ? QStringConverter::Flag::Default : QStringConverter::Flag::WriteBom) {}
    ~FileText() { flush(); }
    FileText(const FileText&) = delete;
    FileText& operator=(const FileText&) = delete;

    FileText& operator<<(QStringView text) {
        if (buffer_.size() + text.size() > kPiece)
            flush();
        buffer_ += text;
        return *this;
    }

    FileText& operator<<(QChar c) { return *this << QStringView(&c, 1); }

private:
    static constexpr qsizetype kPiece = qsizetype{64} * 1024;

    void flush() {
        if (!utf8_)
            buffer_.replace(u'\n', QLatin1String("\r\n"));
        out_.write(encode_(buffer_));
        buffer_.clear();
    }

    QIODevice& out_;
    bool utf8_;
    QStringEncoder encode_;
    QString buffer_;
};

// Writes the bytes after `start` as regedit does, wrapping the list once a line reaches
// kLineWidth.
void writeHexList(FileText& out, const QString& start, const QByteArray& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out << start;
    qsizetype width = start.size();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out << QLatin1Char(kDigits[byte >> 4]) << QLatin1Char(kDigits[byte & 0xF]);
        width += 2;
        if (i + 1 == bytes.size())
            break;
        out << u',';
        if (++width >= kLineWidth) {
            out << QStringView(u"\\\n  ");
            width = 2;
        }
    }
}

void writeValue(FileText& out, const Registry::NamedValue& value) {
    const QString name = (value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name)) + u'=';
    if (plainText(value))
        out << name << quoted(Registry::fromCodePage(value.data.split('\0').first().toStdString()));
    else if (value.type == Hive::kRegDword && value.data.size() == 4)
        out << name
            << QStringLiteral("dword:%1")
                   .arg(qFromLittleEndian<quint32>(value.data.constData()), 8, 16,
                        QLatin1Char('0'));
    else
        writeHexList(out,
                     name + (value.type == Hive::kRegBinary
                                 ? QStringLiteral("hex:")
                                 : QStringLiteral("hex(%1):").arg(value.type, 0, 16)),
                     fileBytes(value));
    out << u'\n';
}

// Where the export is: the key being written, grown and cut back a level at a time so that
// each key's name costs no more than the line that names it.
struct ExportWalk {
    Hive::Store& store;
    FileText& out;
    QString path;
    qsizetype depth = 0;
    qsizetype top = 0; // the exported key's own depth
    QString error;
};

bool exportTree(ExportWalk& walk);

// Writes the subkey `stored` of the walk's key and everything below it.
bool exportSubkey(ExportWalk& walk, const std::string& stored) {
    const QString subkey = Registry::fromCodePage(stored);
    // A ']' in it is no harm: a key's line ends at its last ']', as regedit reads it.
    if (!fileSafe(subkey, stored)) {
        walk.error = QStringLiteral("The key name \"%1\" under %2 cannot be written into a "
                                    "registry file; nothing was exported.")
                         .arg(subkey, fullKeyName(walk.path));
        return false;
    }
    const qsizetype length = walk.path.size();
    walk.path += (walk.path.isEmpty() ? QString() : QStringLiteral("\\")) + subkey;
    ++walk.depth;
    const bool written = exportTree(walk);
    --walk.depth;
    walk.path.truncate(length);
    return written;
}

// Writes the walk's key and everything below it; false, with the walk's error set, at a name
// or a depth that cannot go into a file.
bool exportTree(ExportWalk& walk) {
    const Registry::OpenedKey key(walk.store, walk.path, false);
    if (key.status() != Hive::kSuccess)
        return true;
    if (walk.depth > kDeepestKey) {
        walk.error = QStringLiteral("Keys under %1 go deeper than the %2 levels the registry "
                                    "holds, which an import would refuse; nothing was exported.")
                         .arg(fullKeyName(walk.path.section(u'\\', 0, walk.top)))
                         .arg(kDeepestKey);
        return false;
    }
    walk.out << u'[' << fullKeyName(walk.path) << QStringView(u"]\n");
    for (const Registry::NamedValue& value : key.values()) {
        if (!fileSafe(value.name, value.storedName)) {
            walk.error = QStringLiteral("The value name \"%1\" under %2 holds a line break, a NUL "
                                        "or bytes that are not text, which a registry file "
                                        "cannot give back; nothing was exported.")
                             .arg(value.name, fullKeyName(walk.path));
            return false;
        }
        writeValue(walk.out, value);
    }
    walk.out << u'\n';
    for (const std::string& stored : key.storedSubkeys()) {
        if (!exportSubkey(walk, stored))
            return false;
    }
    return true;
}

} // namespace

bool exportKey(Hive::Store& store, const QString& path, QIODevice& out, bool utf8, QString& error) {
    // One snapshot: a save by the clock meanwhile is exported whole or not at all.
    Hive::Transaction snapshot(store, Hive::Access::Read);
    if (Registry::OpenedKey(store, path, false).status() != Hive::kSuccess)
        return false;
    FileText text(out, utf8);
    text << kHeader << QStringView(u"\n\n");
    ExportWalk walk{store, text, path, keyDepth(path), keyDepth(path), {}};
    const bool written = exportTree(walk);
    error = walk.error;
    return written;
}

} // namespace RegTool
