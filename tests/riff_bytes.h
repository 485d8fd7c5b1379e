#pragma once
// Building RIFF files byte by byte, for tests that need files no writer of ours makes.

#include <QByteArray>
#include <initializer_list>

// Little-endian 32-bit words, or 16-bit ones with width 2.
inline QByteArray le(std::initializer_list<quint32> values, int width = 4)
{
    QByteArray out;
    for (quint32 value : values)
        for (int i = 0; i < width; ++i)
            out += char(value >> (8 * i));
    return out;
}

// A chunk: its id, its size and its body, padded to an even length unless told otherwise.
inline QByteArray chunk(const char *id, const QByteArray &body, bool pad = true)
{
    return QByteArray(id, 4) + le({quint32(body.size())}) + body +
           QByteArray(pad ? body.size() % 2 : 0, '\0');
}

// A PCM wave file at 22,050 Hz: a "fmt " chunk and a "data" chunk of the given bytes.
inline QByteArray wave(quint32 channels, quint32 bits, const QByteArray &data, quint32 tag = 1)
{
    const quint32 rate = 22050, frame = channels * bits / 8;
    const QByteArray format =
        le({tag, channels}, 2) + le({rate, rate * frame}) + le({frame, bits}, 2);
    return chunk("RIFF", "WAVE" + chunk("fmt ", format) + chunk("data", data));
}
