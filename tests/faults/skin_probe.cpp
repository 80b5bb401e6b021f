// Applies one skin as the clock does at start, within a memory cap, and prints what it did:
//
//   skin_probe PROGRAM_FOLDER SKIN_FILE CAP_MIB
//
// The window starts with a built-in title of colour #102030, a built-in alarm picture of
// #405060, no background and both sound paths "unchanged". After loading it prints one line
// each: "title", "background", "alarm" with the colour of the picture's first pixel (or
// "none"), "hour-sound" and "alarm-sound" with the paths, and "growth-kib" with how much the
// peak memory grew while loading. Loading may take at most CAP_MIB more address space; in a
// build with AddressSanitizer, whose shadow memory rules out such a cap, only the growth is
// measured.

#include <FakeClock.h>
#include <FakeClockWindow.h>
#include <FakeSoundPlayer.h>
#include <SqliteHive.h>
#include <VD_Core.h>

#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

QPixmap filled(QSize size, const char* colour) {
    QPixmap pixmap(size);
    pixmap.fill(QColor(QString::fromLatin1(colour)));
    return pixmap;
}

QString colourOf(const QPixmap& picture) {
    return picture.isNull() ? QStringLiteral("none") : picture.toImage().pixelColor(0, 0).name();
}

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The address space now in use, from the kernel's own account of it.
rlim_t addressSpaceInUse() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmSize:"))
            return line.mid(7).trimmed().split(' ').value(0).toULongLong() * 1024;
    }
    return 0;
}

void capAddressSpace(rlim_t moreBytes) {
#if defined(__SANITIZE_ADDRESS__)
    (void)moreBytes;
#else
    const rlim_t cap = addressSpaceInUse() + moreBytes;
    const rlimit limit{cap, cap};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        std::perror("skin_probe: setrlimit");
#endif
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: skin_probe PROGRAM_FOLDER SKIN_FILE CAP_MIB\n");
        return 2;
    }
    FakeClock clock;
    FakeSoundPlayer sound;
    FakeClockWindow window;
    const auto hive = Hive::SqliteHive::inMemory();
    VD_Core::Core core(clock, sound, *hive, QString::fromLocal8Bit(argv[1]));
    core.SkinState.DefaultTitlePicture = filled({100, 14}, "#102030");
    core.SkinState.DefaultAlarmPicture = filled({16, 16}, "#405060");
    core.SkinState.HourSoundPath = core.SkinState.AlarmSoundPath = QStringLiteral("unchanged");
    window.title = core.SkinState.DefaultTitlePicture;
    window.alarm = core.SkinState.DefaultAlarmPicture;
    core.attachWindow(&window);

    // Warm up what any skin needs once, so that only this skin's own cost is measured.
    (void)filled({1, 1}, "#000000").toImage();
    capAddressSpace(static_cast<rlim_t>(std::atoll(argv[3])) * 1024 * 1024);
    const long before = peakKiB();
    core.ClockSettings.UsedSkinPath = QString::fromLocal8Bit(argv[2]);
    core.LoadSkin();
    const long growth = peakKiB() - before;

    std::printf("title %s\nbackground %s\nalarm %s\nhour-sound %s\nalarm-sound %s\n"
                "growth-kib %ld\n",
                qPrintable(colourOf(window.title)), qPrintable(colourOf(window.background)),
                qPrintable(colourOf(window.alarm)), qPrintable(core.SkinState.HourSoundPath),
                qPrintable(core.SkinState.AlarmSoundPath), growth);
    return 0;
}
