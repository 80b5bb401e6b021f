#include "platform/Processes.h"

#include "platform/Process.h"

namespace Platform {
namespace {

class MachineProcesses final : public Processes {
public:
    QString processMark(qint64 id) const override { return Platform::processMark(id); }
    bool markedProcessRunning(const QString& mark) const override {
        return Platform::markedProcessRunning(mark);
    }
};

} // namespace

std::unique_ptr<Processes> makeProcesses() {
    return std::make_unique<MachineProcesses>();
}

} // namespace Platform
