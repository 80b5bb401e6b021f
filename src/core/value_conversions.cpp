#include "core/ValueConversions.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace VD_Core {

namespace {

int skipDigits(const QString& text, int at) {
    while (at < text.size() && text[at].isDigit() && text[at].unicode() < 0x80)
        ++at;
    return at;
}

int skipSign(const QString& text, int at) {
    return at < text.size() && (text[at] == u'+' || text[at] == u'-') ? at + 1 : at;
}

// The end of the longest number starting at `at`, or `at` itself when there is none.
int numberEnd(const QString& text, int at) {
    const int digits = skipSign(text, at);
    int end = skipDigits(text, digits);
    if (end < text.size() && text[end] == u'.')
        end = skipDigits(text, end + 1);
    if (end == digits || (end == digits + 1 && text[digits] == u'.'))
        return at;
    if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
        const int exponent = skipSign(text, end + 1);
        const int exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent)
            end = exponentEnd;
    }
    return end;
}

} // namespace

std::optional<qint64> roundWithin(double number, qint64 low, qint64 high) {
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(number);
    if (!(rounded >= static_cast<double>(low) && rounded <= static_cast<double>(high)))
        return std::nullopt;
    return static_cast<qint64>(rounded);
}

std::optional<quint8> toByte(const RegValue& value) {
    const std::optional<double> number = value.toNumber();
    if (!number)
        return std::nullopt;
    const std::optional<qint64> rounded = roundWithin(*number, 0, 255);
    return rounded ? std::optional<quint8>(static_cast<quint8>(*rounded)) : std::nullopt;
}

std::optional<quint8> toLeadingByte(const RegValue& value) {
    const std::optional<qint64> rounded = roundWithin(leadingNumber(value.toText()), 0, 255);
    return rounded ? std::optional<quint8>(static_cast<quint8>(*rounded)) : std::nullopt;
}

std::optional<float> toSingle(const RegValue& value) {
    const std::optional<double> number = value.toNumber();
    if (!number || !(std::fabs(*number) <= FLT_MAX))
        return std::nullopt;
    return static_cast<float>(*number);
}

std::optional<qint32> toInt32(const RegValue& value) {
    const std::optional<double> number = value.toNumber();
    if (!number)
        return std::nullopt;
    const std::optional<qint64> rounded = roundWithin(*number, std::numeric_limits<qint32>::min(),
                                                      std::numeric_limits<qint32>::max());
    return rounded ? std::optional<qint32>(static_cast<qint32>(*rounded)) : std::nullopt;
}

double leadingNumber(const QString& text) {
    int start = 0;
    while (start < text.size() && (text[start] == u' ' || text[start] == u'\t'))
        ++start;
    const int end = numberEnd(text, start);
    if (end == start)
        return 0;
    bool ok = false;
    const double number = text.mid(start, end - start).toDouble(&ok);
    // Too large for a double reads as infinity, which no range accepts.
    return ok ? number : std::numeric_limits<double>::infinity();
}

} // namespace VD_Core
