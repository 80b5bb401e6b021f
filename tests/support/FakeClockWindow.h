#pragma once

#include "core/ClockWindow.h"

#include <QString>
#include <QStringList>

// A clock window without a display: remembers what the core did to it.
class FakeClockWindow final : public VD_Core::ClockWindow {
public:
    QStringList topmostCalls; // "on" or "off", in order
    bool acceptTopmost = true;
    double left = 0;
    double top = 0;
    QPixmap title;
    QPixmap alarm;
    QPixmap background;
    bool alarmVisible = false;

    bool applyTopmost(bool on) override {
        topmostCalls << QString::fromLatin1(on ? "on" : "off");
        return acceptTopmost;
    }
    double leftTwips() const override { return left; }
    double topTwips() const override { return top; }
    void moveToTwips(double l, double t) override {
        left = l;
        top = t;
    }
    QPixmap titlePicture() const override { return title; }
    void setTitlePicture(const QPixmap& p) override { title = p; }
    QPixmap alarmPicture() const override { return alarm; }
    void setAlarmPicture(const QPixmap& p) override { alarm = p; }
    void setBackgroundPicture(const QPixmap& p) override { background = p; }
    void setAlarmIndicatorVisible(bool v) override { alarmVisible = v; }
};
