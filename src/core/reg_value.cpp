#include "core/RegValue.h"

#include <QLocale>

namespace VD_Core {

namespace {

struct TextOf {
    QString operator()(std::monostate) const { return {}; }
    QString operator()(const QString& text) const { return text; }
    QString operator()(float number) const {
        return QString::number(static_cast<double>(number), 'g', QLocale::FloatingPointShortest);
    }
    template <typename Integer> QString operator()(Integer number) const {
        return QString::number(number);
    }
};

struct NumberOf {
    std::optional<double> operator()(std::monostate) const { return 0.0; }
    std::optional<double> operator()(const QString& text) const {
        bool ok = false;
        const double number = text.trimmed().toDouble(&ok);
        return ok ? std::optional<double>(number) : std::nullopt;
    }
    template <typename Number> std::optional<double> operator()(Number number) const {
        return static_cast<double>(number);
    }
};

} // namespace

QString RegValue::toText() const {
    return std::visit(TextOf{}, data_);
}

std::optional<double> RegValue::toNumber() const {
    return std::visit(NumberOf{}, data_);
}

} // namespace VD_Core
