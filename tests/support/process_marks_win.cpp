#include "ProcessMarks.h"

#include "platform/Process.h"

#include <QStringList>

#include <windows.h>

namespace ProcessMarks {
namespace {

// A child started suspended, never let run, and held until the test program ends; `ended`
// is terminated at once, its handle kept so that its id is not given to another process.
struct Child {
    PROCESS_INFORMATION info{};

    explicit Child(bool ended) {
        wchar_t command[] = L"cmd.exe /c exit 0";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        CreateProcessW(nullptr, command, nullptr, nullptr, FALSE,
                       CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
        if (ended) {
            TerminateProcess(info.hProcess, 0);
            WaitForSingleObject(info.hProcess, INFINITE);
        }
    }
    ~Child() {
        TerminateProcess(info.hProcess, 0);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
};

const Child& running() {
    static const Child child(false);
    return child;
}

} // namespace

QString ofARunningProcess() {
    return Platform::processMark(running().info.dwProcessId);
}

// Marks on Windows hold the id and the creation time.
QString ofAnotherRun() {
    QStringList parts = ofARunningProcess().split(QLatin1Char('/'));
    parts[1] += QLatin1Char('1');
    return parts.join(QLatin1Char('/'));
}

// Windows marks hold no boot: a process of another boot is one of another run.
QString ofAnotherBoot() {
    return ofAnotherRun();
}

QString ofAnEndedProcess() {
    static const Child ended(true);
    return Platform::processMark(ended.info.dwProcessId);
}

QString bareIdOfARunningProcess() {
    return QString::number(running().info.dwProcessId);
}

} // namespace ProcessMarks
