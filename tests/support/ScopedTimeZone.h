#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <ctime>

// Sets the process's time zone (TZ) for one test and restores the previous one afterwards.
class ScopedTimeZone {
public:
    // Why a test cannot set the zone on this system; null where it can.
    static const char* whyNotSettable() {
#ifdef Q_OS_WIN
        return "a Windows process keeps the system's time zone, which TZ does not move";
#else
        return nullptr;
#endif
    }

    explicit ScopedTimeZone(const char* zone)
        : had_(qEnvironmentVariableIsSet("TZ")), previous_(qgetenv("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone() {
        if (had_)
            qputenv("TZ", previous_);
        else
            qunsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    bool had_;
    QByteArray previous_;
};
