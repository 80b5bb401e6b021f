#include "RegistryLog.h"

Q_LOGGING_CATEGORY(lcRegistry, "vindrel.registry")
