#pragma once

#include "platform/LocalTime.h"

#include <QByteArray>
#include <QSocketNotifier>
#include <QString>

#include <memory>

namespace Platform {

// Has localDateTime (LocalTime.h) follow a change of the system's time zone setting while the
// program runs, where the setting is a file (not on Windows). Costs nothing until the setting
// changes: it is woken only by a change of the zone file, never polls.
class ZoneWatch final : public ZoneFollowing {
public:
    // Watches the file that holds the zone setting, and the folder in which it is replaced.
    explicit ZoneWatch(const QString& zoneFile = defaultZoneFile());
    ~ZoneWatch() override;
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
