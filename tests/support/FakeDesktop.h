#pragma once

#include "platform/Desktop.h"

#include <QList>

#include <utility>

// Records the stacking the program asked of the desktop; keeps every page mapped.
class FakeDesktop final : public Platform::Desktop {
public:
    QList<std::pair<QWindow*, bool>> topmost; // each window and whether on top, in order

    bool setTopmost(QWindow* window, bool on) override {
        topmost.append({window, on});
        return window != nullptr;
    }
    qint64 releaseUnusedFilePages() override { return 0; }
};
