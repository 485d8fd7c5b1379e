#include "logic/wave.h"

#include <QtEndian>

namespace
{

quint32 u32(QByteArrayView bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.sliced(at, 4).data());
}

quint16 u16(QByteArrayView bytes, qint64 at)
{
    return qFromLittleEndian<quint16>(bytes.sliced(at, 2).data());
}

} // namespace

std::optional<PcmWave> readPcmWave(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<PcmWave> wave;
    // Chunk offsets and sizes are 64-bit so that no 32-bit size taken from the file can wrap.
    qint64 at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 size = u32(bytes, at + 4);
        const qint64 body = at + 8;
        if (size > bytes.size() - body)
            return std::nullopt;
        if (id == "fmt ") {
            if (size < 16 || wave)
                return std::nullopt;
            const quint16 tag = u16(bytes, body);
            const quint16 channels = u16(bytes, body + 2);
            const quint32 rate = u32(bytes, body + 4);
            const quint16 bits = u16(bytes, body + 14);
            if (tag != 1 || (channels != 1 && channels != 2) || rate < 4000 || rate > 192000 ||
                (bits != 8 && bits != 16))
                return std::nullopt;
            wave = PcmWave{int(rate), channels, bits / 8, {}};
        } else if (id == "data") {
            // The data must come after the format and hold whole frames: a sound output given
            // half a frame may wait forever for the rest.
            const qint64 frame = wave ? wave->channels * wave->bytesPerSample : 0;
            if (!wave || size == 0 || size % frame != 0)
                return std::nullopt;
            wave->samples = bytes.mid(body, size);
            return wave;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

QByteArray pcmWaveFile(const PcmWave &wave)
{
    QByteArray file;
    auto put = [&file](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file += char(value >> (8 * i));
    };
    const auto frame = quint32(wave.channels * wave.bytesPerSample);
    const auto size = quint32(wave.samples.size());
    file += "RIFF";
    put(36 + size + (size & 1), 4);
    file += "WAVEfmt ";
    put(16, 4);
    put(1, 2); // PCM
    put(quint32(wave.channels), 2);
    put(quint32(wave.sampleRate), 4);
    put(quint32(wave.sampleRate) * frame, 4);
    put(frame, 2);
    put(quint32(wave.bytesPerSample) * 8, 2);
    file += "data";
    put(size, 4);
    file += wave.samples;
    if (size & 1)
        file += '\0';
    return file;
}
