#pragma once

#include <QLoggingCategory>
#include <QString>

// Why a skin, or a file it names, was refused or not applied.
Q_DECLARE_LOGGING_CATEGORY(lcSkin)

// A path or file name as the log shows it: at most its first 256 characters, then how many it
// has, so that a stored path or a skin's line never floods the log.
QString loggedName(const QString& name);
