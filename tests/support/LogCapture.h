#pragma once

#include <QStringList>

// Collects what one logging category says while the capture lives; other messages go on to
// the handler that was there before.
class LogCapture {
public:
    explicit LogCapture(const char* category);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const QStringList& messages() const { return messages_; }

private:
    QStringList messages_;
};
