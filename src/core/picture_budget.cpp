#include "core/PictureBudget.h"

namespace VD_Core {
namespace {

// Reading the thread's clock costs a system call: it is read once per so many bytes or reads.
// Once its container has been walked (PictureContainers.h), no decoder here does more than about
// 10 ms of work on that much input but a JPEG, whose 100 scans may all lie in one read; those
// cost at most about 80 ms, and a whole JPEG of 2048 x 2048 pixels never comes near the cut-off.
constexpr qint64 kBytesPerCheck = 4096;
constexpr int kReadsPerCheck = 32;

} // namespace

BudgetedPictureData::BudgetedPictureData(const QByteArray& bytes, const Platform::CpuClock& cpu,
                                         std::chrono::microseconds deadline)
    : cpu_(cpu), deadline_(deadline) {
    setData(bytes);
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool BudgetedPictureData::spent() {
    spent_ = spent_ || cpu_.threadTime() > deadline_;
    return spent_;
}

qint64 BudgetedPictureData::readData(char* data, qint64 maxSize) {
    bytesUnchecked_ += maxSize;
    if (++readsUnchecked_ >= kReadsPerCheck || bytesUnchecked_ >= kBytesPerCheck) {
        readsUnchecked_ = 0;
        bytesUnchecked_ = 0;
        spent();
    }
    return spent_ ? -1 : QBuffer::readData(data, maxSize);
}

} // namespace VD_Core
