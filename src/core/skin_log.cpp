#include "SkinLog.h"

Q_LOGGING_CATEGORY(lcSkin, "vindrel.skin")
