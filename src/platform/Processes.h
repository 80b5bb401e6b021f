#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

namespace Platform {

// The computer's processes, each run of one told from every other: a mark left in the settings
// tells whether the process that left it still runs.
class Processes {
public:
    virtual ~Processes() = default;

    // A text naming one run of the process with this id, which no other process shares: not a
    // later one given the same id, nor one after a restart of the computer (its boot, id and
    // start time on Linux, its id and creation time on Windows). "" when there is no such
    // process or it cannot be looked at.
    virtual QString processMark(qint64 id) const = 0;

    // Whether the process the mark names runs now. One that has ended but is not yet reaped (on
    // Windows, one whose handle is still open somewhere), a mark not made by processMark and a
    // process that cannot be looked at are not running.
    virtual bool markedProcessRunning(const QString& mark) const = 0;
};

// The machine's own.
std::unique_ptr<Processes> makeProcesses();

} // namespace Platform
