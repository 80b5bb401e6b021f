#pragma once

#include <QValidator>

// Lets a field hold nothing or a whole number from 0 to `last`: any keystroke that would leave
// that range is refused as it is typed.
class NumberFieldValidator : public QValidator {
    Q_OBJECT
public:
    NumberFieldValidator(int last, QObject* parent);

    State validate(QString& input, int& position) const override;

private:
    int last_;
};
