#include "SoundLength.h"

#include <windows.h>

// After windows.h, whose types it uses.
#include <mmsystem.h>

namespace {

// The chunk of the given id within `parent` (or at the top when null), descended into.
bool descend(HMMIO file, MMCKINFO& chunk, const MMCKINFO* parent, FOURCC id, UINT flag) {
    if (flag == MMIO_FINDRIFF)
        chunk.fccType = id;
    else
        chunk.ckid = id;
    return mmioDescend(file, &chunk, parent, flag) == MMSYSERR_NOERROR;
}

} // namespace

// Read with the multimedia library's own file calls, as the system's player reads it.
std::optional<double> soundSeconds(const QString& path) {
    std::wstring name = path.toStdWString();
    HMMIO file = mmioOpenW(name.data(), nullptr, MMIO_READ | MMIO_ALLOCBUF);
    if (file == nullptr)
        return std::nullopt;
    std::optional<double> seconds;
    MMCKINFO riff{};
    MMCKINFO format{};
    WAVEFORMATEX wave{};
    if (descend(file, riff, nullptr, mmioFOURCC('W', 'A', 'V', 'E'), MMIO_FINDRIFF) &&
        descend(file, format, &riff, mmioFOURCC('f', 'm', 't', ' '), MMIO_FINDCHUNK) &&
        mmioRead(file, reinterpret_cast<HPSTR>(&wave), sizeof(PCMWAVEFORMAT)) > 0 &&
        mmioAscend(file, &format, 0) == MMSYSERR_NOERROR) {
        MMCKINFO data{};
        if (descend(file, data, &riff, mmioFOURCC('d', 'a', 't', 'a'), MMIO_FINDCHUNK) &&
            wave.nAvgBytesPerSec > 0)
            seconds = double(data.cksize) / wave.nAvgBytesPerSec;
    }
    mmioClose(file, 0);
    return seconds;
}
