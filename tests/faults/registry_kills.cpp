// Saves and removes alarms in a loop with the clock's own core against the Windows registry
// under Wine, whose registry calls have no transactions, and kills the process that makes the
// calls at random moments, many times:
//
//   registry_kills KILLS SERVER...
//
// SERVER is the command that starts tests/hive/store_server.exe (for instance wine and the
// program). After each kill a clock starting afresh loads the registry, and must find every
// alarm that the interrupted change kept, whole, and none from neither the list before the
// change nor the list after it; then it goes on from there. Exit status 0 when every kill left
// such a state, 1 otherwise, 2 for wrong arguments.

#include "RemoteStore.h"
#include <CorePeer.h>

#include "core/VD_Core.h"
#include <FakeClockWindow.h>
#include <TestServices.h>

#include <QCoreApplication>
#include <QList>
#include <QLoggingCategory>
#include <QStringList>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <thread>

namespace {

using VD_Core::AlarmEntry;
using VD_Core::Alarms;
using VD_Core::Core;

struct Services : TestServices {
    FakeClockWindow window;
};

QList<AlarmEntry> alarmsOf(const Core& core) {
    QList<AlarmEntry> alarms;
    for (int n = 1; n <= core.alarms().AlarmCount; ++n)
        alarms << core.alarms()[n];
    return alarms;
}

// The alarms a clock starting now loads from the registry. A server that went away while it
// answered (Wine now and then drops a client that is starting) says nothing about the registry,
// so the load is made again; none when no server answered every call.
std::optional<QList<AlarmEntry>> loadAfresh(Services& services,
                                            const std::vector<std::string>& server) {
    constexpr int kTries = 5;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        RemoteStore store(server);
        Core core(services.services(), store);
        core.LoadSettings();
        if (store.alive())
            return alarmsOf(core);
    }
    return std::nullopt;
}

// What is wrong with `loaded` after a change from `before` to `after` was cut short; empty
// when nothing is.
QString fault(const QList<AlarmEntry>& before, const QList<AlarmEntry>& after,
              const QList<AlarmEntry>& loaded) {
    for (const AlarmEntry& alarm : before) {
        if (after.contains(alarm) && !loaded.contains(alarm))
            return QStringLiteral("the kept alarm \"%1\" is lost or not whole").arg(alarm.Name);
    }
    for (const AlarmEntry& alarm : loaded) {
        const auto named = [&](const AlarmEntry& a) { return a.Name == alarm.Name; };
        if (std::none_of(before.begin(), before.end(), named) &&
            std::none_of(after.begin(), after.end(), named))
            return QStringLiteral("an alarm named \"%1\" belongs to neither list").arg(alarm.Name);
    }
    return {};
}

// "alarm 3 3:03 3/3, alarm 4 4:04 4/4": a list as the report shows it.
QString shown(const QList<AlarmEntry>& alarms) {
    QStringList entries;
    for (const AlarmEntry& alarm : alarms)
        entries << QStringLiteral("%1 %2:%3 %4/%5")
                       .arg(alarm.Name)
                       .arg(alarm.Hour)
                       .arg(alarm.Mins, 2, 10, QLatin1Char('0'))
                       .arg(alarm.Day)
                       .arg(alarm.Month);
    return entries.join(QStringLiteral(", "));
}

// Makes one change at random and saves it; `after` becomes the list it saves.
void change(Core& core, std::mt19937& random, int serial, QList<AlarmEntry>& after) {
    const int count = core.alarms().AlarmCount;
    const int pick = std::uniform_int_distribution<int>(1, std::max(count, 1))(random);
    const int what = std::uniform_int_distribution<int>(0, 2)(random);
    const AlarmEntry made{QStringLiteral("alarm %1").arg(serial), quint8(serial % 24),
                          quint8(serial % 60), quint8(serial % 8), quint8(serial % 13)};
    if (count < 3 || (what == 0 && count < Alarms::kCapacity)) {
        VD_Core::CorePeer::alarms(core).append(made);
    } else if (what == 1) {
        VD_Core::CorePeer::alarms(core)[pick] = made;
    } else {
        after = alarmsOf(core);
        after.removeAt(pick - 1);
        core.RemoveAlarm(pick);
        return;
    }
    after = alarmsOf(core);
    core.SaveSettings();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: registry_kills KILLS SERVER...\n");
        return 2;
    }
    // Every kill makes the interrupted change fail, as it should; that is no news.
    QLoggingCategory::setFilterRules(QStringLiteral("vindrel.registry.warning=false"));
    const int kills = std::atoi(argv[1]);
    const std::vector<std::string> server(argv + 2, argv + argc);
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    Services services;
    {
        RemoteStore store(server);
        Hive::Key root;
        store.openKey(Hive::Root::CurrentUser, "", root);
        store.deleteTree(root, "Software\\Brambleton");
        Core core(services.services(), store);
        core.EnsureSettings();
    }
    std::optional<QList<AlarmEntry>> loaded = loadAfresh(services, server);
    if (!loaded) {
        std::fprintf(stderr, "registry_kills: the store server does not answer\n");
        return 1;
    }
    QList<AlarmEntry> stored = *loaded;
    int serial = 0;
    int changes = 0;
    for (int kill = 0; kill < kills; ++kill) {
        QList<AlarmEntry> before = stored;
        QList<AlarmEntry> after = stored;
        {
            RemoteStore store(server);
            Core core(services.services(), store);
            core.attachWindow(&services.window);
            core.LoadSettings();
            const auto delay =
                std::chrono::microseconds(std::uniform_int_distribution<int>(0, 60000)(random));
            std::thread killer([&] {
                std::this_thread::sleep_for(delay);
                ::kill(store.pid(), SIGKILL);
            });
            while (store.alive()) {
                before = alarmsOf(core);
                change(core, random, ++serial, after);
                changes += store.alive();
            }
            killer.join();
        }
        loaded = loadAfresh(services, server);
        if (!loaded) {
            std::fprintf(stderr, "registry_kills: after kill %d the store server does not answer\n",
                         kill + 1);
            return 1;
        }
        stored = *loaded;
        const QString wrong = fault(before, after, stored);
        if (!wrong.isEmpty()) {
            std::fprintf(stderr,
                         "registry_kills: after kill %d (seed %u): %s\n  before: %s\n  after: "
                         "%s\n  loaded: %s\n",
                         kill + 1, seed, qPrintable(wrong), qPrintable(shown(before)),
                         qPrintable(shown(after)), qPrintable(shown(stored)));
            return 1;
        }
    }
    std::printf("registry_kills: %d kills, %d whole changes between them; after every kill the "
                "registry kept every alarm it had to (seed %u)\n",
                kills, changes, seed);
    return 0;
}
