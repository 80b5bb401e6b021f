#pragma once

#include <QString>

// Marks (Process.h) of processes other than the test's own, as an earlier start of the clock
// may have left them.
namespace ProcessMarks {

// A process running now beside the test: another copy of the clock applying its skin.
QString ofARunningProcess();
// The running process of ofARunningProcess() as another run would mark it: a process that got
// the same id later, or (where marks hold the boot) the same in another boot.
QString ofAnotherRun();
QString ofAnotherBoot();
// A process that has ended but whose id is still held: a zombie not yet reaped, or on Windows
// one whose handle is still open.
QString ofAnEndedProcess();
// The id of the running process alone, as earlier versions marked it.
QString bareIdOfARunningProcess();

} // namespace ProcessMarks
