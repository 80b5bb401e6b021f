// The clock over a long run, on an accelerated fake clock: a million half-second ticks (about
// six days), ten thousand skin switches and ten thousand alarm edit-and-save cycles by default.
// After a tenth of each phase has warmed the caches up, and again at its end, it samples the
// heap in use and the open file descriptors; it fails when either grew.
//
//   long_run [--ticks N] [--switches N] [--saves N]
//
// It runs the real clock window (offscreen), the real sound player and a real settings file.

#include "platform/SettingsStore.h"
#include "platform/SoundPlayer.h"
#include "windows/frmVINDREL.h"
#include <TestServices.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QThread>

#include <malloc.h>

#include <cstdio>

namespace {

// Growth of the heap that counts as flat: a few allocations still warming up, not a leak of
// a few bytes a cycle over thousands of cycles.
constexpr qint64 kHeapMargin = 256 * 1024;

struct Sample {
    qint64 heapBytes = 0;
    qsizetype descriptors = 0;
};

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's own allocator, which malloc statistics do not see (its header is not
// shipped with every compiler).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

qint64 heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<qint64>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<qint64>(info.uordblks + info.hblkhd);
#endif
}

Sample sample() {
    // Whatever the event loop still holds is handled first: it is not growth.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    const qsizetype descriptors =
        QDir(QStringLiteral("/proc/self/fd"))
            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
            .size();
    return {heapInUse(), descriptors};
}

// Runs step(0) to step(count - 1) and reports the growth after the warm-up; true when flat.
template <typename Step> bool phase(const char* name, long count, Step step) {
    QElapsedTimer timer;
    timer.start();
    const long warmUp = std::max(1L, count / 10);
    for (long i = 0; i < warmUp; ++i)
        step(i);
    const Sample before = sample();
    for (long i = warmUp; i < count; ++i)
        step(i);
    // A sound still being decoded in the background holds its file and its buffers for a
    // moment, longer on a busy machine: what is only in use is waited for, a leak never goes.
    Sample after = sample();
    const auto grew = [&] {
        return after.heapBytes - before.heapBytes > kHeapMargin ||
               after.descriptors > before.descriptors;
    };
    const QDeadlineTimer ceiling(std::chrono::seconds(30));
    while (grew() && !ceiling.hasExpired()) {
        QThread::msleep(20);
        after = sample();
    }
    const qint64 growth = after.heapBytes - before.heapBytes;
    const bool flat = !grew();
    std::printf("%-9s %8ld in %6.1f s: heap %7.1f KiB -> %7.1f KiB (%+.1f KiB), "
                "descriptors %lld -> %lld%s\n",
                name, count, timer.elapsed() / 1000.0, before.heapBytes / 1024.0,
                after.heapBytes / 1024.0, growth / 1024.0,
                static_cast<long long>(before.descriptors),
                static_cast<long long>(after.descriptors), flat ? "" : "  GREW");
    std::fflush(stdout);
    return flat;
}

// The clock as it runs for a user: its window, its sounds, its settings file and alarms.
class LongRun {
public:
    LongRun()
        : sound_(Platform::makeSoundPlayer()),
          store_(Platform::openSettingsStore(folder_.filePath(QStringLiteral("hkcu.sqlite3")))),
          core_(fakes_.services(*sound_), *store_, QStringLiteral(VINDREL_PROGRAM_FOLDER)),
          window_(core_) {
        // The ticks are driven below, each half a second of fake time.
        window_.Quartz->stop();
        window_.show();
        core_.SetHourSignal(true);
        core_.SetAlarmsEnabled(true);
        for (int n = 1; n <= 5; ++n)
            core_.StoreAlarm(
                {QStringLiteral("Alarm %1").arg(n), quint8(n * 4), quint8(n * 7), 0, 0},
                std::nullopt);
        switchSkin(1);
    }

    void tick(long i) {
        fakes_.clock.current = start_.addMSecs(i * 500);
        // The count starts an hour before its wrap at 2^32 ms.
        fakes_.clock.ticks = 0u - 3600000u + static_cast<quint32>(i * 500);
        window_.Quartz_Timer();
        if (i % 100 == 0)
            QCoreApplication::processEvents();
    }

    void switchSkin(long i) {
        static const char* const kSkins[] = {"", "midnight-brass.vds", "aurora.vds", "ember.vds"};
        const char* skin = kSkins[i % 4];
        core_.UseSkin(*skin == '\0' ? QString() : core_.skinFolder().path() + QLatin1String(skin));
        QCoreApplication::processEvents();
    }

    // The alarm editor's "&Ok" on one alarm; every tenth cycle removes the first alarm and
    // adds a new one, as the alarm list's "&Delete" and "&New" do.
    void editAndSave(long i) {
        const VD_Core::AlarmEntry entry{QStringLiteral("Alarm %1").arg(i), quint8(i % 24),
                                        quint8(i % 60), quint8(i % 8), quint8(i % 13)};
        if (i % 10 == 9) {
            core_.RemoveAlarm(1);
            core_.StoreAlarm(entry, std::nullopt);
            return;
        }
        core_.StoreAlarm(entry, static_cast<int>(i % core_.alarms().AlarmCount) + 1);
    }

private:
    QTemporaryDir folder_;
    TestServices fakes_; // the sound aside
    std::unique_ptr<Platform::SoundPlayer> sound_;
    std::unique_ptr<Hive::Store> store_;
    VD_Core::Core core_;
    frmVINDREL window_;
    const QDateTime start_{QDate(2024, 3, 29), QTime(22, 0)};
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Each skin applied and each sound played is logged: thousands of lines saying nothing new.
    QLoggingCategory::setFilterRules(QStringLiteral("vindrel.*.info=false"));
    QCommandLineParser parser;
    const QCommandLineOption ticks(QStringLiteral("ticks"), QStringLiteral("Ticks."),
                                   QStringLiteral("N"), QStringLiteral("1000000"));
    const QCommandLineOption switches(QStringLiteral("switches"), QStringLiteral("Skin switches."),
                                      QStringLiteral("N"), QStringLiteral("10000"));
    const QCommandLineOption saves(QStringLiteral("saves"),
                                   QStringLiteral("Alarm edit-and-save cycles."),
                                   QStringLiteral("N"), QStringLiteral("10000"));
    parser.addOptions({ticks, switches, saves});
    parser.process(app);

    LongRun run;
    bool flat = phase("ticks", parser.value(ticks).toLong(), [&](long i) { run.tick(i); });
    flat &= phase("switches", parser.value(switches).toLong(), [&](long i) { run.switchSkin(i); });
    flat &= phase("saves", parser.value(saves).toLong(), [&](long i) { run.editAndSave(i); });
    return flat ? 0 : 1;
}
