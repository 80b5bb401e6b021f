// Saves the settings over and over, as the storage fault tests need:
//
//   save_loop STORE FIRST_STEP LAST_STEP BASE [PAUSE_MS]
//
// opens the store as the clock does, runs the first-run defaults and loads what is stored, then
// runs the save steps FIRST_STEP to LAST_STEP, pausing PAUSE_MS milliseconds after each. It writes
// "ready" before it opens the store and "step N T" after each step is committed (T: the monotonic
// clock in microseconds). Anything the store or the settings procedures report ends it with
// status 3.

#include "SaveSteps.h"

#include "hive/HiveFile.h"
#include <FakeClockWindow.h>
#include <TestServices.h>

#include <QCoreApplication>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

void say(const std::string& line) {
    const std::string text = line + '\n';
    // Unbuffered: a line written before a kill is never lost.
    if (::write(STDOUT_FILENO, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        std::_Exit(5);
}

void reportStep(int step) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    say("step " + std::to_string(step) + ' ' +
        std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

void failOnWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    std::fprintf(stderr, "save_loop: %s\n", qPrintable(message));
    std::_Exit(3);
}

} // namespace

int main(int argc, char** argv) {
    // The core's pictures need an application object, even null ones.
    QCoreApplication app(argc, argv);
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: save_loop STORE FIRST_STEP LAST_STEP BASE [PAUSE_MS]\n");
        return 2;
    }
    const int first = std::atoi(argv[2]);
    const int last = std::atoi(argv[3]);
    const int base = std::atoi(argv[4]);
    const std::chrono::milliseconds pause(argc == 6 ? std::atoi(argv[5]) : 0);
    say("ready");
    qInstallMessageHandler(failOnWarning);

    Hive::StoreOpening opening = Hive::openHiveFile(argv[1]);
    for (const std::string& note : opening.notes)
        std::fprintf(stderr, "save_loop: %s\n", note.c_str());
    if (!opening.persistent || !opening.notes.empty())
        return 3;
    TestServices fakes;
    FakeClockWindow window;
    VD_Core::Core core(fakes.services(), *opening.store);
    core.attachWindow(&window);
    SaveSteps::apply(core, window, SaveSteps::kFirstRun, base);
    if (first <= 0)
        reportStep(SaveSteps::kFirstRun);
    core.LoadSettings();
    for (int step = std::max(first, 0); step <= last; ++step) {
        SaveSteps::apply(core, window, step, base);
        reportStep(step);
        std::this_thread::sleep_for(pause);
    }
    return 0;
}
