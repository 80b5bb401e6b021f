// The desktop's services as Windows provides them, run under Wine (or Windows) with the
// Windows platform plugin: scripts/test-windows runs it on a display.

#include "platform/FolderLookup.h"
#include "platform/Process.h"
#include "platform/SystemClock.h"
#include "platform/TopMost.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

#include <windows.h>

namespace {

struct MarkCase {
    const char* name;
    QString (*mark)(); // made from this process's own mark
    bool running;
};

QString ownMark() {
    return Platform::processMark(GetCurrentProcessId());
}

class ProcessMarkTest : public ::testing::TestWithParam<MarkCase> {};

TEST_P(ProcessMarkTest, NamesOneRunOfOneProcess) {
    ASSERT_FALSE(ownMark().isEmpty());
    EXPECT_EQ(Platform::markedProcessRunning(GetParam().mark()), GetParam().running)
        << qPrintable(GetParam().mark());
}

INSTANTIATE_TEST_SUITE_P(
    Marks, ProcessMarkTest,
    ::testing::Values(
        MarkCase{"ThisProcess", ownMark, true},
        MarkCase{"AnotherCreationTime",
                 [] { return ownMark().section(QLatin1Char('/'), 0, 0) + QStringLiteral("/1"); },
                 false},
        MarkCase{"ABareId", [] { return ownMark().section(QLatin1Char('/'), 0, 0); }, false},
        MarkCase{"NotAMark", [] { return QStringLiteral("clock"); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProcessMarkTest, AProcessThatEndedIsNotRunning) {
    wchar_t command[] = L"cmd.exe /c exit 0";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE,
                               CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                               &child));
    const QString mark = Platform::processMark(child.dwProcessId);
    EXPECT_TRUE(Platform::markedProcessRunning(mark));
    TerminateProcess(child.hProcess, 0);
    WaitForSingleObject(child.hProcess, INFINITE);
    // Still open here, so its id cannot be given to another process yet.
    EXPECT_FALSE(Platform::markedProcessRunning(mark));
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
}

bool topmost(QWindow& window) {
    const auto hwnd = reinterpret_cast<HWND>(window.winId());
    return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(TopMostTest, TurnsTheWindowsOwnFlagOnAndOff) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("windows")) << "run on a display";
    QWindow window;
    window.setGeometry(40, 40, 80, 40);
    window.show();
    EXPECT_TRUE(Platform::setTopmost(&window, true));
    EXPECT_TRUE(topmost(window));
    EXPECT_TRUE(Platform::setTopmost(&window, false));
    EXPECT_FALSE(topmost(window));
}

TEST(TopMostTest, WithoutAWindowTheCallFails) {
    EXPECT_FALSE(Platform::setTopmost(nullptr, true));
}

TEST(SystemClockTest, TheTickCountIsTheSystemsOwn) {
    const auto clock = Platform::makeSystemClock();
    const DWORD before = GetTickCount();
    const quint32 read = clock->tickCount();
    const DWORD after = GetTickCount();
    EXPECT_LE(read - before, after - before); // in order, across a wrap too
}

TEST(SystemClockTest, TheLocalTimeIsTheSystemsOwn) {
    const auto clock = Platform::makeSystemClock();
    SYSTEMTIME before;
    GetLocalTime(&before);
    const QDateTime now = clock->now();
    SYSTEMTIME after;
    GetLocalTime(&after);
    const QDate first(before.wYear, before.wMonth, before.wDay);
    const QDate last(after.wYear, after.wMonth, after.wDay);
    EXPECT_TRUE(now.date() == first || now.date() == last) << qPrintable(now.toString());
    const int minutes = now.time().hour() * 60 + now.time().minute();
    const int from = before.wHour * 60 + before.wMinute;
    const int to = after.wHour * 60 + after.wMinute;
    EXPECT_TRUE(minutes == from || minutes == to) << qPrintable(now.toString());
}

class FileSystemTest : public ::testing::Test {
protected:
    QTemporaryDir folder;

    QString make(const QString& name) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }
};

TEST_F(FileSystemTest, TellsWhatAPathNames) {
    EXPECT_EQ(Platform::entryKind(make(QStringLiteral("face.bmp"))), Platform::EntryKind::Other);
    EXPECT_EQ(Platform::entryKind(folder.path()), Platform::EntryKind::Other);
    EXPECT_EQ(Platform::entryKind(folder.filePath(QStringLiteral("none"))),
              Platform::EntryKind::Missing);
}

TEST_F(FileSystemTest, ListsEveryNameWithoutTheDots) {
    const QStringList names = {QStringLiteral("Zeit.vds"), QStringLiteral("Åland.bmp"),
                               QStringLiteral("時計.wav")};
    for (const QString& name : names)
        make(name);
    QDir(folder.path()).mkdir(QStringLiteral("Sub"));
    QStringList listed = Platform::folderEntries(folder.path());
    listed.sort();
    QStringList expected = names + QStringList{QStringLiteral("Sub")};
    expected.sort();
    EXPECT_EQ(listed, expected);
    EXPECT_TRUE(Platform::folderEntries(folder.filePath(QStringLiteral("none"))).isEmpty());
}

TEST_F(FileSystemTest, ACanonicalPathHasNoDotsAndTheProgramsSlashes) {
    make(QStringLiteral("face.bmp"));
    QDir(folder.path()).mkdir(QStringLiteral("Sub"));
    const QString winding =
        QDir::toNativeSeparators(folder.path() + QStringLiteral("/Sub/../face.bmp"));
    const QString canonical = Platform::canonicalPath(winding);
    EXPECT_EQ(canonical.compare(QDir(folder.path()).canonicalPath() + QStringLiteral("/face.bmp"),
                                Qt::CaseInsensitive),
              0)
        << qPrintable(canonical);
    EXPECT_TRUE(Platform::canonicalPath(folder.filePath(QStringLiteral("none/x"))).isEmpty());
}

} // namespace
