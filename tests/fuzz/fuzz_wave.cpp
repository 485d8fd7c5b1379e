// libFuzzer target: the wave reader must keep its promises for any bytes.
#include "logic/wave.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const char *data, size_t size)
{
    const std::optional<PcmWave> wave = readPcmWave(QByteArray(data, qsizetype(size)));
    if (!wave)
        return 0;
    const qsizetype frame = qsizetype(wave->channels) * wave->bytesPerSample;
    if ((wave->channels != 1 && wave->channels != 2) ||
        (wave->bytesPerSample != 1 && wave->bytesPerSample != 2) || wave->sampleRate < 4000 ||
        wave->sampleRate > 192000 || wave->samples.isEmpty() || wave->samples.size() % frame != 0 ||
        wave->samples.size() > qsizetype(size))
        std::abort();
    // Every sample byte must be readable memory the wave owns.
    unsigned sum = 0;
    for (const char byte : wave->samples)
        sum += static_cast<unsigned char>(byte);
    return sum == ~0u ? 1 : 0;
}
