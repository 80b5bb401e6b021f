#pragma once

#include <QString>

#include <optional>

// How many seconds the waveform file plays for, as the system's player reads it; nothing when it
// cannot be read as one.
std::optional<double> soundSeconds(const QString& path);
