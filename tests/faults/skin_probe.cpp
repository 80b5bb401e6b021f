// Applies one skin as the clock does at start, lists the Skins folder as the skin chooser does,
// or starts as the clock does over a settings file, within a memory cap, and prints what it did:
//
//   skin_probe PROGRAM_FOLDER CAP_MIB SKIN_FILE
//   skin_probe PROGRAM_FOLDER CAP_MIB --list
//   skin_probe PROGRAM_FOLDER CAP_MIB --start STORE_FILE [killed-applying|killed-after]
//
// Applying: the window starts with a built-in title of colour #102030, a built-in alarm
// picture of #405060, no background and both sound paths "unchanged". Afterwards it prints one
// line each: "title", "background", "alarm" with the colour of the picture's first pixel (or
// "none"), "hour-sound" and "alarm-sound" with the paths. Listing: one line "skin FILE NAME"
// for each skin listed. Starting: the clock's start-up steps over the settings file, then the
// same lines as applying; it kills itself while the skin is applied, or once start-up is done,
// when told to. Then "cpu-ms" with the processor time the work took, and "growth-kib" with the
// most memory it held at once beyond what was held before. The work may take at most CAP_MIB
// more address space; in a build with AddressSanitizer, whose shadow memory rules out such a
// cap, only the growth is measured.

#include "core/SkinCatalog.h"
#include "core/VD_Core.h"
#include "hive/SqliteHive.h"
#include <CorePeer.h>
#include <FakeClockWindow.h>
#include <TestServices.h>

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

QPixmap filled(QSize size, const char* colour) {
    QPixmap pixmap(size);
    pixmap.fill(QColor(QString::fromLatin1(colour)));
    return pixmap;
}

QString colourOf(const QPixmap& picture) {
    return picture.isNull() ? QStringLiteral("none") : picture.toImage().pixelColor(0, 0).name();
}

// A figure from the kernel's account of this process, in kilobytes: "VmRSS:", "VmHWM:", ...
long statusKiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// The memory held now, with the peak brought down to it, so that the next peak is the work's.
long residentKiBFromNowOn() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        std::fprintf(stderr, "skin_probe: the peak memory cannot be reset\n");
    return statusKiB("VmRSS:");
}

long cpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

// A fault while the skin is applied: its sounds are the last of it.
class KilledWhilePreloading final : public Platform::SoundPlayer {
public:
    void play(const QString&) override {}
    void preload(const QStringList&) override { std::raise(SIGKILL); }
};

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer reserves terabytes for its shadow memory: no cap on address space fits it.
void capAddressSpace(rlim_t) {}
#else
void capAddressSpace(rlim_t moreBytes) {
    const rlim_t cap = rlim_t(statusKiB("VmSize:")) * 1024 + moreBytes;
    const rlimit limit{cap, cap};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        std::perror("skin_probe: setrlimit");
}
#endif

void printApplied(const FakeClockWindow& window, const VD_Core::Skin& skin) {
    std::printf("title %s\nbackground %s\nalarm %s\nhour-sound %s\nalarm-sound %s\n",
                qPrintable(colourOf(window.title)), qPrintable(colourOf(window.background)),
                qPrintable(colourOf(window.alarm)), qPrintable(skin.HourSoundPath),
                qPrintable(skin.AlarmSoundPath));
}

void printListed(const std::vector<VD_Core::SkinListing>& skins) {
    for (const VD_Core::SkinListing& skin : skins)
        std::printf("skin %s %s\n", qPrintable(QFileInfo(skin.path).fileName()),
                    qPrintable(skin.name));
}

// The store: the settings file to start over, or one in memory.
std::unique_ptr<Hive::SqliteHive> openStore(int argc, char** argv) {
    if (argc < 5 || std::strcmp(argv[3], "--start") != 0)
        return Hive::SqliteHive::inMemory();
    Hive::OpenError error;
    return Hive::SqliteHive::open(argv[4], error);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 4 || argc > 6) {
        std::fprintf(stderr, "usage: skin_probe PROGRAM_FOLDER CAP_MIB SKIN_FILE|--list|"
                             "--start STORE_FILE [killed-applying|killed-after]\n"
                             "(with SKIN_PROBE_USERS_FOLDER set, PROGRAM_FOLDER stands for the "
                             "user's folder of the program's data)\n");
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[3]);
    const QString fault = argc == 6 ? QString::fromLocal8Bit(argv[5]) : QString();
    TestServices fakes;
    KilledWhilePreloading killingSound;
    Platform::SoundPlayer& sound = fault == QLatin1String("killed-applying")
                                       ? static_cast<Platform::SoundPlayer&>(killingSound)
                                       : fakes.sound;
    FakeClockWindow window;
    const auto hive = openStore(argc, argv);
    if (!hive) {
        std::fprintf(stderr, "skin_probe: the store cannot be opened\n");
        return 2;
    }
    // Given a user's folder, the Skins folder in it is the user's own, beside a program without.
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool users = qEnvironmentVariableIsSet("SKIN_PROBE_USERS_FOLDER");
    VD_Core::Core core(fakes.services(sound), *hive,
                       users ? folder + QStringLiteral("/no-program") : folder,
                       users ? folder : QString());
    VD_Core::CorePeer::skin(core).DefaultTitlePicture = filled({100, 14}, "#102030");
    VD_Core::CorePeer::skin(core).DefaultAlarmPicture = filled({16, 16}, "#405060");
    VD_Core::CorePeer::skin(core).HourSoundPath = QStringLiteral("unchanged");
    VD_Core::CorePeer::skin(core).AlarmSoundPath = QStringLiteral("unchanged");
    window.title = core.skin().DefaultTitlePicture;
    window.alarm = core.skin().DefaultAlarmPicture;
    core.attachWindow(&window);

    // Warm up what any skin needs once, so that only this skin's own cost is measured.
    (void)filled({1, 1}, "#000000").toImage();
    capAddressSpace(static_cast<rlim_t>(std::atoll(argv[2])) * 1024 * 1024);
    const long before = residentKiBFromNowOn();
    const long cpuBefore = cpuMs();
    if (mode == QLatin1String("--list")) {
        printListed(core.skinList());
    } else if (mode == QLatin1String("--start")) {
        core.EnsureSettings();
        core.LoadSettings();
        core.LoadSkinAtStart();
        if (fault == QLatin1String("killed-after"))
            std::raise(SIGKILL);
        printApplied(window, core.skin());
    } else {
        VD_Core::CorePeer::settings(core).UsedSkinPath = mode;
        core.LoadSkin();
        printApplied(window, core.skin());
    }
    std::printf("cpu-ms %ld\ngrowth-kib %ld\n", cpuMs() - cpuBefore, statusKiB("VmHWM:") - before);
    return 0;
}
