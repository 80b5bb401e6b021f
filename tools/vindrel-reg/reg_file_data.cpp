#include "RegFileData.h"

#include "RegFileText.h"

#include <QtEndian>

namespace RegTool {

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return u >= u'A' && u <= u'F' ? u - u'A' + 10 : -1;
}

// The hex digits at the start of the text: how many, and their value, which stops growing
// past 32 bits so that a long run cannot overflow it.
struct HexRun {
    qsizetype length = 0;
    quint64 value = 0;
};

HexRun hexRun(QStringView text) {
    HexRun run;
    for (; run.length < text.size() && hexDigit(text[run.length]) >= 0; ++run.length) {
        if (run.value <= 0xFFFFFFFFull)
            run.value = run.value * 16 + static_cast<quint64>(hexDigit(text[run.length]));
    }
    return run;
}

} // namespace

std::optional<QString> readQuoted(QStringView text, qsizetype& at) {
    QString read;
    for (++at; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c == u'"') {
            ++at;
            return read;
        }
        if (c == u'\\' && at + 1 < text.size()) {
            const QChar next = text[at + 1];
            if (next == u'0')
                return std::nullopt;
            if (next == u'\\' || next == u'"')
                ++at;
        }
        read += text[at];
    }
    return std::nullopt;
}

std::optional<QByteArray> dwordData(QStringView text) {
    const QStringView digits = skipBlanks(text);
    const HexRun run = hexRun(digits);
    if (run.length == 0 || run.length > 8 || !endsTheLine(digits.sliced(run.length)))
        return std::nullopt;
    QByteArray bytes(4, '\0');
    qToLittleEndian(static_cast<quint32>(run.value), bytes.data());
    return bytes;
}

std::optional<quint32> hexType(QStringView& text) {
    const HexRun run = hexRun(text);
    const QStringView after = text.sliced(run.length);
    if (run.length == 0 || run.value > 0xFFFFFFFFull || !after.startsWith(QLatin1String("):")))
        return std::nullopt;
    text = after.sliced(2);
    return static_cast<quint32>(run.value);
}

HexList::Read HexList::read(QStringView line) {
    QStringView rest = line;
    while (!rest.isEmpty()) {
        rest = skipBlanks(rest);
        const HexRun run = hexRun(rest);
        if (run.length == 0) {
            // No item here: the list goes on after a backslash, or ends at a comment.
            if (rest.startsWith(u'\\'))
                return endsTheLine(rest.sliced(1)) ? Read::GoesOn : Read::Refused;
            return rest.startsWith(u';') ? Read::Ended : Read::Refused;
        }
        if (run.value > 0xFF)
            return Read::Refused;
        bytes += static_cast<char>(run.value);
        rest = rest.sliced(run.length);
        if (!rest.startsWith(u','))
            return endsTheLine(rest) ? Read::Ended : Read::Refused;
        rest = rest.sliced(1);
    }
    return Read::Ended;
}

bool HexList::carriesItems(QStringView line, bool& refused) {
    const QStringView text = skipBlanks(line);
    refused = !text.isEmpty() && !text.startsWith(u';') && hexDigit(text[0]) < 0;
    return !text.isEmpty() && hexDigit(text[0]) >= 0;
}

} // namespace RegTool
