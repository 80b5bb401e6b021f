#include "platform/Shell.h"

#include <windows.h>

// After windows.h, whose types it uses.
#include <shellapi.h>

namespace Platform {
namespace {

class WindowsShell final : public Shell {
public:
    void open(const QString& target) override {
        const QByteArray ansi = target.toLocal8Bit();
        ShellExecuteA(nullptr, nullptr, ansi.constData(), nullptr, nullptr, SW_SHOWNORMAL);
    }
};

} // namespace

std::unique_ptr<Shell> makeShell() {
    return std::make_unique<WindowsShell>();
}

} // namespace Platform
