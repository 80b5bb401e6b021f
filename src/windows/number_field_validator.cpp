#include "windows/NumberFieldValidator.h"

#include "core/AlarmEditing.h"

NumberFieldValidator::NumberFieldValidator(int last, QObject* parent)
    : QValidator(parent), last_(last) {}

QValidator::State NumberFieldValidator::validate(QString& input, int&) const {
    if (input.isEmpty())
        return Intermediate;
    return VD_Core::AlarmEditing::fieldValue(input, last_) ? Acceptable : Invalid;
}
