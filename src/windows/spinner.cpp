#include "windows/Spinner.h"

#include "windows/AccessibleFactory.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include <algorithm>

namespace {

// What a screen reader finds: a spin button whose value is the number shown. Made only when a
// reader asks.
class SpinnerAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SpinnerAccessible(Spinner* spinner)
        : QAccessibleWidget(spinner, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return QString::number(spinner()->number());
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return spinner()->number(); }
    void setCurrentValue(const QVariant& value) override { spinner()->setNumber(value.toInt()); }
    QVariant maximumValue() const override { return spinner()->highestNumber(); }
    QVariant minimumValue() const override { return spinner()->lowestNumber(); }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override {
        return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == increaseAction())
            spinner()->setNumber(spinner()->number() + 1);
        else if (action == decreaseAction())
            spinner()->setNumber(spinner()->number() - 1);
        else
            QAccessibleWidget::doAction(action);
    }

private:
    Spinner* spinner() const { return static_cast<Spinner*>(widget()); }
};

} // namespace

Spinner::Spinner(int last, Mapping numberAt, Mapping positionOf, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent), numberAt_(numberAt), positionOf_(positionOf) {
    installAccessibleInterface<Spinner, SpinnerAccessible>();
    setRange(0, last);
    setSingleStep(1);
    setPageStep(1);
    setValue(last);
}

int Spinner::lowestNumber() const {
    return std::min(numberAt_(minimum()), numberAt_(maximum()));
}

int Spinner::highestNumber() const {
    return std::max(numberAt_(minimum()), numberAt_(maximum()));
}
