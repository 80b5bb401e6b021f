#pragma once

#include <QString>

// The makers' own texts, shown in the About box and beside the built-in look.
namespace VD_Core::Maker {

inline const QString kCreditLine = QStringLiteral("Made by the Vindrel team");
inline const QString kMail = QStringLiteral("vindrel@example.org");
inline const QString kWeb = QStringLiteral("https://example.org/vindrel");
inline const QString kNotice = QStringLiteral("Free software: share it and make it better.");

// What the mail link hands the desktop: the address with its subject, spaces left as they are.
inline QString mailTarget() {
    return QStringLiteral("mailto:") + kMail + QStringLiteral("?subject=Program About Mail");
}

} // namespace VD_Core::Maker
