#pragma once

#include <QDateTime>
#include <QSocketNotifier>
#include <QString>

#include <memory>

namespace Platform {

// The date and time on the wall clock of the system's time zone at an instant, in milliseconds
// since 1970 UTC. The zone's rules are looked up once, and again only when a ZoneWatch sees the
// zone setting change: not on every conversion.
QDateTime localDateTime(qint64 epochMilliseconds);

// Has the conversions above follow a change of the system's time zone setting while the
// program runs. Costs nothing until the setting changes: it is woken only by a change of the
// zone file, never polls.
class ZoneWatch {
public:
    // Watches the file that holds the zone setting, and the folder in which it is replaced.
    explicit ZoneWatch(const QString& zoneFile = defaultZoneFile());
    ~ZoneWatch();
    ZoneWatch(const ZoneWatch&) = delete;
    ZoneWatch& operator=(const ZoneWatch&) = delete;

    static QString defaultZoneFile();

private:
    void readChanges();
    void watchFile();

    QByteArray zoneFile_;
    QByteArray zoneName_; // the file's name within its folder
    int fd_ = -1;
    int fileWatch_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace Platform
