#include "platform/Desktop.h"

#include "platform/TopMost.h"
#include "platform/WorkingSet.h"

namespace Platform {
namespace {

class MachineDesktop final : public Desktop {
public:
    bool setTopmost(QWindow* window, bool on) override { return Platform::setTopmost(window, on); }
    qint64 releaseUnusedFilePages() override { return Platform::releaseUnusedFilePages(); }
};

} // namespace

std::unique_ptr<Desktop> makeDesktop() {
    return std::make_unique<MachineDesktop>();
}

} // namespace Platform
