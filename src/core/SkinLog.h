#pragma once

#include <QLoggingCategory>

// Why a skin, or a file it names, was refused or not applied.
Q_DECLARE_LOGGING_CATEGORY(lcSkin)
