#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <variant>

namespace VD_Core {

// The loosely typed value that the registry procedures take and give: empty (no value), a
// text, or a number in the width its owner holds it. Reads give empty, text or 32-bit numbers.
class RegValue {
public:
    using Data = std::variant<std::monostate, QString, quint8, qint16, qint32, float>;

    RegValue() = default;
    RegValue(const QString& text) : data_(text) {}
    RegValue(quint8 number) : data_(number) {}
    RegValue(qint16 number) : data_(number) {}
    RegValue(qint32 number) : data_(number) {}
    RegValue(float number) : data_(number) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(data_); }
    bool isText() const { return std::holds_alternative<QString>(data_); }
    // Empty, or the empty text: what a first run finds.
    bool isEmptyText() const {
        return isEmpty() || (isText() && std::get<QString>(data_).isEmpty());
    }

    // The text itself; a number as plain decimal text; empty as "".
    QString toText() const;
    // The number itself; a text that is a number (blanks around it allowed); empty as 0.
    // Nothing for a text that is not a number.
    std::optional<double> toNumber() const;

    const Data& data() const { return data_; }
    bool operator==(const RegValue&) const = default;

private:
    Data data_;
};

} // namespace VD_Core
