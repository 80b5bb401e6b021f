#pragma once

#include <QAccessible>

// From the first call on, a screen reader asking about a widget of class W is answered by a new
// Interface(W*). Qt makes an interface only when a reader asks, so this costs nothing else.
template <class W, class Interface> void installAccessibleInterface() {
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* widget = qobject_cast<W*>(object);
            return widget != nullptr ? new Interface(widget) : nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}
