#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `act` on the modal dialog of type T once it is shown, while the code that opened it
// waits. A dialog still open a few seconds later is closed, so a failing test cannot hang.
template <class T> void whenModalOpens(std::function<void(T&)> act) {
    QTimer::singleShot(0, [act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(*dialog);
    });
    QTimer::singleShot(5000, [] {
        if (QWidget* left = QApplication::activeModalWidget())
            left->close();
    });
}
