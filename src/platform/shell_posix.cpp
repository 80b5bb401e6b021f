#include "platform/Shell.h"

#include "platform/PlatformLog.h"

#include <QDesktopServices>
#include <QUrl>

namespace Platform {
namespace {

class DesktopShell final : public Shell {
public:
    void open(const QString& target) override {
        // Tolerant parsing encodes what a URL may not hold, such as the spaces of a subject.
        if (!QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode)))
            qCWarning(lcPlatform) << "the desktop could not open" << target;
    }
};

} // namespace

std::unique_ptr<Shell> makeShell() {
    return std::make_unique<DesktopShell>();
}

} // namespace Platform
