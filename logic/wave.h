#pragma once
// Reading uncompressed PCM wave files: the only kind of sound file the game plays.

#include <QByteArray>
#include <optional>

struct PcmWave {
    int sampleRate = 0;
    int channels = 0;       // 1 or 2
    int bytesPerSample = 0; // 1 (unsigned 8-bit) or 2 (signed 16-bit little-endian)
    QByteArray samples; // whole frames only: a multiple of channels * bytesPerSample, never empty
};

// Reads a RIFF "WAVE" file with a PCM "fmt " chunk (1 or 2 channels, 8 or 16 bits, 4 to 192 kHz)
// and a "data" chunk that is all there and holds at least one whole frame. Anything else, cut
// short or foreign, gives no wave. Never reads outside the input.
std::optional<PcmWave> readPcmWave(const QByteArray &bytes);

// The wave as a canonical file: a 44-byte header of "RIFF", "WAVE", a 16-byte PCM "fmt " chunk
// and the "data" chunk, then its samples. What a system player that takes only files is given.
QByteArray pcmWaveFile(const PcmWave &wave);
