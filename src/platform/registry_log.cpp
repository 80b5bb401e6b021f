#include "platform/RegistryLog.h"

Q_LOGGING_CATEGORY(lcRegistry, "vindrel.registry")
