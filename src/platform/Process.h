#pragma once

#include <QString>
#include <QtGlobal>

// How each system tells one run of a process from another: what the machine's Processes
// (Processes.h) is made of.
namespace Platform {

// A text naming one run of a process, which no other process shares: not a later one given the
// same id, nor one after a restart of the computer. Empty when there is no such process.
QString processMark(qint64 id);

// Whether the process a mark names is running now; a process that has ended but is not yet
// reaped, and a mark not made by processMark, are not running.
bool markedProcessRunning(const QString& mark);

} // namespace Platform
