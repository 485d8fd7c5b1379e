#include "logic/bitmap_header.h"

#include <QtEndian>
#include <cstdlib>

bool bitmapCutShort(QByteArrayView header, qint64 fileSize)
{
    const qsizetype length = header.size();
    if (length < 30 || header[0] != 'B' || header[1] != 'M')
        return false;
    const char *bytes = header.data();
    const auto u16 = [&](int at) { return qint64(qFromLittleEndian<quint16>(bytes + at)); };
    const auto u32 = [&](int at) { return qint64(qFromLittleEndian<quint32>(bytes + at)); };
    const qint64 headerSize = u32(14);
    const bool core = headerSize == 12; // the old OS/2 header with 16-bit sizes
    if (!core && length < bitmapHeaderLength)
        return true;
    const qint64 width = core ? u16(18) : std::abs(qint64(qint32(u32(18))));
    const qint64 height = core ? u16(20) : std::abs(qint64(qint32(u32(22))));
    const qint64 bits = core ? u16(24) : u16(28);
    // Compressed bitmaps give their size in the header; uncompressed ones are counted from the
    // rows, each padded to whole 32-bit words.
    const qint64 compression = core ? 0 : u32(30);
    const bool packed = compression == 0 || compression == 3 || compression == 6;
    const qint64 pixels = packed ? (width * bits + 31) / 32 * 4 * height : u32(34);
    return fileSize < u32(10) + pixels;
}
