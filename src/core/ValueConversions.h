#pragma once

#include "core/RegValue.h"

#include <optional>

// How stored values become the numbers the clock holds. Each gives nothing for a value it
// cannot convert; the caller decides what that loads as.
namespace VD_Core {

// The whole number nearest to `number`, halves to the even one, if it lies in low to high.
std::optional<qint64> roundWithin(double number, qint64 low, qint64 high);

// Switches and the alarm count: empty is 0; a number, or a text that is one, rounded, 0 to 255.
std::optional<quint8> toByte(const RegValue& value);

// An alarm's hour, minute, day and month: the number the value's text begins with (0 when it
// begins with none), rounded, 0 to 255.
std::optional<quint8> toLeadingByte(const RegValue& value);

// A window position in twips: empty is 0; a number, or a text that is one, within a float.
std::optional<float> toSingle(const RegValue& value);

// A 32-bit number for REG_DWORD: empty is 0; a number or numeric text, rounded.
std::optional<qint32> toInt32(const RegValue& value);

// The number at the start of a text, after blanks: sign, digits, a fraction and an exponent,
// whatever follows; 0 when the text begins with no number.
double leadingNumber(const QString& text);

} // namespace VD_Core
