#pragma once

#include "platform/Shell.h"

#include <QStringList>

// Records the targets the program asked the desktop to open.
class FakeShell final : public Platform::Shell {
public:
    QStringList opened;

    void open(const QString& target) override { opened << target; }
};
