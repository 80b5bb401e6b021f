#pragma once

#include "platform/CpuClock.h"

#include <QBuffer>

#include <chrono>

namespace VD_Core {

// The most processor time one picture may take to be decoded or refused, whatever its bytes
// say.
inline constexpr std::chrono::milliseconds kPictureCpuBudget{250};

// When a decoder still at work is stopped, at its next read: early enough that what it does
// until then stays within the budget (picture_budget.cpp).
inline constexpr std::chrono::milliseconds kPictureCutOff{200};

// A picture's bytes as its decoder reads them, checking the processor time this thread has used
// (cpu) against a deadline as it reads: once the deadline has passed, every further read fails,
// so the decoder comes to the end of its data at once and its picture is refused.
class BudgetedPictureData : public QBuffer {
public:
    // Opened for reading, read by read.
    BudgetedPictureData(const QByteArray& bytes, const Platform::CpuClock& cpu,
                        std::chrono::microseconds deadline);

    // A read was refused, or the deadline has passed since.
    bool spent();

protected:
    qint64 readData(char* data, qint64 maxSize) override;

private:
    const Platform::CpuClock& cpu_;
    std::chrono::microseconds deadline_;
    bool spent_ = false;
    int readsUnchecked_ = 0;
    qint64 bytesUnchecked_ = 0;
};

} // namespace VD_Core
