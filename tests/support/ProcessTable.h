#pragma once

#include "platform/Processes.h"

#include <QHash>

// The machine's processes, but for the marks a test declares running or ended: those are
// answered from its own table, whatever the machine runs.
class ProcessTable final : public Platform::Processes {
public:
    QHash<QString, bool> declared; // by mark: whether its process runs

    QString processMark(qint64 id) const override { return machine_->processMark(id); }
    bool markedProcessRunning(const QString& mark) const override {
        const auto found = declared.constFind(mark);
        return found != declared.constEnd() ? *found : machine_->markedProcessRunning(mark);
    }

private:
    std::unique_ptr<Platform::Processes> machine_ = Platform::makeProcesses();
};
