#include "platform/FileName.h"

namespace Platform {
namespace {

constexpr char16_t kByteEscape = 0xDC00;

bool isByteEscape(QStringView name, qsizetype at) {
    const char16_t c = name[at].unicode();
    return c >= kByteEscape + 0x80 && c <= kByteEscape + 0xFF &&
           (at == 0 || !name[at - 1].isHighSurrogate());
}

// How many bytes the valid UTF-8 sequence at the start takes; 0 when none starts there.
qsizetype validSequence(QByteArrayView bytes) {
    auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;   // no overlong forms
        high = lead == 0xED ? 0x9F : high; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high; // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

} // namespace

QString fileNameFromSystem(QByteArrayView bytes) {
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString name;
    qsizetype validFrom = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = validSequence(bytes.sliced(at));
        if (length > 0) {
            at += length;
            continue;
        }
        name += QString::fromUtf8(bytes.sliced(validFrom, at - validFrom));
        name += QChar(char16_t(kByteEscape + static_cast<unsigned char>(bytes[at])));
        validFrom = ++at;
    }
    return name + QString::fromUtf8(bytes.sliced(validFrom));
}

QByteArray fileNameToSystem(QStringView name) {
    QByteArray bytes;
    qsizetype textFrom = 0;
    for (qsizetype at = 0; at < name.size(); ++at) {
        if (!isByteEscape(name, at))
            continue;
        bytes += name.sliced(textFrom, at - textFrom).toUtf8();
        bytes += static_cast<char>(name[at].unicode() - kByteEscape);
        textFrom = at + 1;
    }
    return bytes + name.sliced(textFrom).toUtf8();
}

} // namespace Platform
