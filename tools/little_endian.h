#pragma once
// Appending little-endian integers, as the RIFF, ICO and BMP formats store them.

#include <QByteArray>
#include <QtEndian>

inline void appendU16(QByteArray &out, quint32 value)
{
    char bytes[2];
    qToLittleEndian<quint16>(static_cast<quint16>(value), bytes);
    out.append(bytes, 2);
}

inline void appendU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian<quint32>(value, bytes);
    out.append(bytes, 4);
}
