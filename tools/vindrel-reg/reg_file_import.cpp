#include "RegFile.h"

#include "KeyName.h"
#include "RegFileData.h"
#include "RegFileText.h"

#include <QtEndian>

#include <utility>

namespace RegTool {

namespace {

const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kHeader4 = QStringLiteral("REGEDIT4");

// At most the first 60 characters of a text the file gave, for a message.
QString excerpt(QStringView text) {
    constexpr qsizetype kShown = 60;
    return text.size() <= kShown ? text.toString()
                                 : text.first(kShown).toString() + QLatin1String("...");
}

bool isStringType(quint32 type) {
    return type == Hive::kRegSz || type == Hive::kRegExpandSz || type == Hive::kRegMultiSz;
}

// Text types given as hex come in UTF-16, or in REGEDIT4 files in 8-bit Windows-1252; regedit
// ends them with a NUL where the file left it out, and the store takes its code page. Nothing,
// with `why` set, for UTF-16 of an odd number of bytes or with half a character, which the code
// page has no form for.
std::optional<QByteArray> storeBytes(quint32 type, QByteArray bytes, bool regedit4, QString& why) {
    if (!isStringType(type) || bytes.isEmpty())
        return bytes;
    if (regedit4) {
        if (!bytes.endsWith('\0'))
            bytes += '\0';
        return QByteArray::fromStdString(Registry::codePage(fromWindows1252(bytes)));
    }
    if (bytes.size() % 2 != 0) {
        why = QStringLiteral("its hex(%1) data is %2 bytes, an odd number, which is no UTF-16 text")
                  .arg(type, 0, 16)
                  .arg(bytes.size());
        return std::nullopt;
    }
    if (!bytes.endsWith(QByteArray(2, '\0')))
        bytes += QByteArray(2, '\0');
    QString text(bytes.size() / 2, Qt::Uninitialized);
    qFromLittleEndian<quint16>(bytes.constData(), text.size(), text.data());
    if (!text.isValidUtf16()) {
        why = QStringLiteral("its hex(%1) data holds half a UTF-16 character, which is no text")
                  .arg(type, 0, 16);
        return std::nullopt;
    }
    return QByteArray::fromStdString(Registry::codePage(text));
}

// Reads a file's lines into the changes they ask for, line by line as regedit does: a line it
// cannot read is passed over, with a note, and the rest of the file still counts.
class FileReader {
public:
    FileReader(bool regedit4, RegFileSink& sink) : regedit4_(regedit4), sink_(sink) {}

    void read(const FileLine& line) {
        line_ = line.number;
        if (list_)
            goOnWithList(line.text);
        else
            startLine(skipBlanks(line.text));
    }

    // The file's end, which also ends a list that was to go on.
    SkippedLines finish() {
        if (list_)
            setListValue();
        return std::move(skipped_);
    }

private:
    void skip(const QString& why) {
        if (++skipped_.count <= SkippedLines::kNamed)
            skipped_.named << QStringLiteral("line %1: %2").arg(line_).arg(why);
    }

    void startLine(QStringView text) {
        if (text.isEmpty() || text.startsWith(u';') || text.startsWith(u'#'))
            return;
        if (text.startsWith(u'['))
            keyLine(text.sliced(1));
        else if (text.startsWith(u'@'))
            valueLine(QString(), text.sliced(1));
        else if (text.startsWith(u'"'))
            quotedValueLine(text);
        else
            skip(QStringLiteral("cannot read %1").arg(excerpt(text)));
    }

    // "[path]" or "[-path]"; what follows the last ']' does not count.
    void keyLine(QStringView text) {
        const qsizetype close = text.lastIndexOf(u']');
        if (text.isEmpty() || text[0] == u' ' || text[0] == u'\t' || close < 0) {
            skip(QStringLiteral("cannot read the key [%1").arg(excerpt(text)));
            return;
        }
        key_.reset();
        const QStringView name = text.first(close);
        const bool deletion = name.startsWith(u'-');
        const std::optional<QString> path = keyPath(name.sliced(deletion ? 1 : 0).toString());
        QString why;
        if (!path || (deletion && path->isEmpty()))
            skip(QStringLiteral("%1 is not a key of HKEY_CURRENT_USER").arg(excerpt(name)));
        else if (deletion ? !isKeyName(*path, why) : !isMakeable(*path, why))
            skip(why);
        else if (deletion)
            sink_.take({RegFileEntry::Kind::DeleteKey, *path, {}});
        else {
            key_ = *path;
            sink_.take({RegFileEntry::Kind::CreateKey, *path, {}});
        }
    }

    void quotedValueLine(QStringView text) {
        qsizetype at = 0;
        const std::optional<QString> name = readQuoted(text, at);
        QString why;
        if (!name)
            skip(QStringLiteral("cannot read the value name in %1").arg(excerpt(text)));
        else if (!isValueName(*name, why))
            skip(why);
        else
            valueLine(*name, text.sliced(at));
    }

    // The rest of a value's line after its name: "=" and the data.
    void valueLine(const QString& name, QStringView rest) {
        const QStringView afterName = skipBlanks(rest);
        if (!afterName.startsWith(u'=')) {
            skip(QStringLiteral("no '=' after the value name in %1").arg(excerpt(rest)));
            return;
        }
        QStringView data = skipBlanks(afterName.sliced(1));
        while (data.endsWith(u' ') || data.endsWith(u'\t'))
            data.chop(1);
        value_ = Registry::NamedValue{name, Hive::kRegBinary, {}, {}};
        if (data.startsWith(u'-')) {
            if (endsTheLine(data.sliced(1)))
                addValueEntry(RegFileEntry::Kind::DeleteValue);
            else
                skip(QStringLiteral("cannot read the data %1").arg(excerpt(data)));
        } else if (data.startsWith(u'"')) {
            stringData(data);
        } else if (data.startsWith(QLatin1String("dword:"))) {
            const std::optional<QByteArray> bytes = dwordData(data.sliced(6));
            setValue(Hive::kRegDword, bytes, data);
        } else if (data.startsWith(QLatin1String("hex:"))) {
            startList(Hive::kRegBinary, data.sliced(4));
        } else if (data.startsWith(QLatin1String("hex("))) {
            QStringView list = data.sliced(4);
            const std::optional<quint32> type = hexType(list);
            if (type)
                startList(*type, list);
            else
                skip(QStringLiteral("cannot read the type of %1").arg(excerpt(data)));
        } else {
            skip(QStringLiteral("cannot read the data %1").arg(excerpt(data)));
        }
    }

    void stringData(QStringView data) {
        qsizetype at = 0;
        const std::optional<QString> text = readQuoted(data, at);
        std::optional<QByteArray> bytes;
        if (text && text->isValidUtf16() && endsTheLine(data.sliced(at)))
            bytes = QByteArray::fromStdString(Registry::codePage(*text)) + QByteArray(1, '\0');
        setValue(Hive::kRegSz, bytes, data);
    }

    void setValue(quint32 type, const std::optional<QByteArray>& bytes, QStringView data) {
        if (!bytes) {
            skip(QStringLiteral("cannot read the data %1").arg(excerpt(data)));
            return;
        }
        value_.type = type;
        value_.data = *bytes;
        addValueEntry(RegFileEntry::Kind::SetValue);
    }

    void addValueEntry(RegFileEntry::Kind kind) {
        if (!key_)
            skip(QStringLiteral("the value \"%1\" is under no key that could be opened")
                     .arg(excerpt(value_.name)));
        else
            sink_.take({kind, *key_, std::move(value_)});
    }

    void startList(quint32 type, QStringView items) {
        value_.type = type;
        list_.emplace();
        // An empty list is a value of no bytes, not even a text's NUL.
        if (items.isEmpty()) {
            list_.reset();
            addValueEntry(RegFileEntry::Kind::SetValue);
            return;
        }
        readList(items);
    }

    void readList(QStringView items) {
        switch (list_->read(items)) {
        case HexList::Read::Ended:
            setListValue();
            break;
        case HexList::Read::GoesOn:
            break;
        case HexList::Read::Refused:
            list_.reset();
            skip(QStringLiteral("cannot read the hex list of \"%1\" at %2")
                     .arg(excerpt(value_.name), excerpt(skipBlanks(items))));
            break;
        }
    }

    // A line after "\": the list's next items, a blank or ';' line passed over, or anything
    // else, which ends the list unread and is itself not read.
    void goOnWithList(QStringView line) {
        bool refused = false;
        if (HexList::carriesItems(line, refused)) {
            readList(line);
        } else if (refused) {
            list_.reset();
            skip(QStringLiteral("the hex list of \"%1\" breaks off at %2")
                     .arg(excerpt(value_.name), excerpt(skipBlanks(line))));
        }
    }

    void setListValue() {
        QString why;
        std::optional<QByteArray> bytes =
            storeBytes(value_.type, std::move(list_->bytes), regedit4_, why);
        list_.reset();
        if (!bytes) {
            skip(why);
            return;
        }
        value_.data = std::move(*bytes);
        addValueEntry(RegFileEntry::Kind::SetValue);
    }

    bool regedit4_;
    int line_ = 0;
    std::optional<QString> key_;  // the key the values go to; none before the first or after
                                  // one that cannot be opened
    Registry::NamedValue value_;  // the value being read
    std::optional<HexList> list_; // its hex list, while it goes on from line to line
    RegFileSink& sink_;
    SkippedLines skipped_;
};

} // namespace

std::optional<SkippedLines> parseRegFile(const QString& text, RegFileSink& sink, QString& error) {
    LineReader lines(text);
    FileLine line;
    lines.next(line);
    // Only the first line can be the header; regedit passes over blanks before it.
    const QStringView header = skipBlanks(line.text);
    if (header != kHeader && !header.startsWith(QLatin1String("REGEDIT"))) {
        error = text.isEmpty() ? QStringLiteral("the file is empty")
                               : QStringLiteral("line 1: the file does not begin with \"%1\" or "
                                                "\"%2\"")
                                     .arg(kHeader, kHeader4);
        return std::nullopt;
    }
    // Other headers that begin so ("REGEDIT", "REGEDIT 4") are taken, and nothing below them.
    if (header != kHeader && header != kHeader4) {
        SkippedLines nothing;
        nothing.named << QStringLiteral("line 1: \"%1\" is not a header whose files are read; "
                                        "nothing in the file was read")
                             .arg(excerpt(header));
        nothing.count = 1;
        return nothing;
    }
    FileReader reader(header == kHeader4, sink);
    while (lines.next(line))
        reader.read(line);
    return reader.finish();
}

} // namespace RegTool
