#include "platform/PlatformLog.h"

Q_LOGGING_CATEGORY(lcSound, "vindrel.sound")
Q_LOGGING_CATEGORY(lcPlatform, "vindrel.platform")
