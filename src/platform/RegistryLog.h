#pragma once

#include <QLoggingCategory>

// What the settings store and the settings procedures could not do.
Q_DECLARE_LOGGING_CATEGORY(lcRegistry)
