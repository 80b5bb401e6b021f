#include "platform/LocalTime.h"

#include "platform/PlatformLog.h"
#include "platform/ZoneWatch.h"

#include <QFile>
#include <QFileInfo>

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>

namespace Platform {
namespace {

// What replaces or removes the zone file in its folder (setting another zone replaces the link),
// and what changes the file itself (an update of the zone data).
constexpr uint32_t kFolderEvents = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM;
constexpr uint32_t kFileEvents = IN_CLOSE_WRITE | IN_MOVE_SELF | IN_DELETE_SELF | IN_ATTRIB;

} // namespace

QDateTime localDateTime(qint64 epochMilliseconds) {
    // localtime_r reads the zone once; QDateTime's own conversion calls tzset first, which
    // looks at the zone file on disk every time.
    const auto seconds = static_cast<time_t>(epochMilliseconds / 1000);
    const auto millisecond = static_cast<int>(epochMilliseconds % 1000);
    tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return QDateTime::fromMSecsSinceEpoch(epochMilliseconds, Qt::LocalTime);
    const QDate date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    // A leap second (60) is shown as the last second of its minute.
    const QTime time(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), millisecond);
    return {date, time, Qt::OffsetFromUTC, static_cast<int>(local.tm_gmtoff)};
}

QString ZoneWatch::defaultZoneFile() {
    return QStringLiteral("/etc/localtime");
}

ZoneWatch::ZoneWatch(const QString& zoneFile)
    : zoneFile_(QFile::encodeName(zoneFile)),
      zoneName_(QFile::encodeName(QFileInfo(zoneFile).fileName())) {
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    const QByteArray folder = QFile::encodeName(QFileInfo(zoneFile).absolutePath());
    if (fd_ < 0 || inotify_add_watch(fd_, folder.constData(), kFolderEvents | IN_ONLYDIR) < 0) {
        const int error = errno;
        qCInfo(lcPlatform) << "a change of the time zone is not followed: cannot watch" << zoneFile
                           << std::strerror(error);
        return;
    }
    watchFile();
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { readChanges(); });
}

ZoneWatch::~ZoneWatch() {
    notifier_.reset();
    if (fd_ >= 0)
        close(fd_);
}

void ZoneWatch::watchFile() {
    // Follows a link to the zone data, so that an update of that file is seen too.
    fileWatch_ = inotify_add_watch(fd_, zoneFile_.constData(), kFileEvents);
}

void ZoneWatch::readChanges() {
    alignas(inotify_event) char buffer[4096];
    bool changed = false;
    ssize_t length = 0;
    while ((length = read(fd_, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= length;) {
            inotify_event event{};
            std::memcpy(&event, buffer + at, sizeof event);
            const auto size = static_cast<ssize_t>(sizeof event + event.len);
            if (at + size > length)
                break;
            // The name is padded with NULs to its length.
            const char* name = buffer + at + sizeof event;
            const auto nameLength = static_cast<qsizetype>(qstrnlen(name, event.len));
            if (event.wd == fileWatch_ || zoneName_ == QByteArray(name, nameLength))
                changed = true;
            at += size;
        }
    }
    if (!changed)
        return;
    // tzset reads the zone again when the file is another one than at its last look.
    tzset();
    qCInfo(lcPlatform) << "the time zone setting changed";
    // A file replaced by another is no longer the one watched.
    inotify_rm_watch(fd_, fileWatch_);
    watchFile();
}

std::unique_ptr<ZoneFollowing> followZoneSetting() {
    return std::make_unique<ZoneWatch>();
}

} // namespace Platform
