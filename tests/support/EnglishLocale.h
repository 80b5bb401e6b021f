#pragma once

#include <QLocale>

// The locale the tests' expected texts are written for.
inline const QLocale kEnglish(QLocale::English, QLocale::UnitedKingdom);
