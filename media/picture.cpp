#include "media/picture.h"

#include <QFile>
#include <QtEndian>
#include <cstdlib>

namespace
{

// Whether a Windows bitmap ends before the pixels its header promises. Qt draws what such a file
// holds and leaves the rest black; a number's picture with part of it missing could show the
// child the wrong count, so a short bitmap counts as unreadable. Compressed bitmaps give their
// size in the header; uncompressed ones are counted from the rows.
bool bitmapCutShort(QFile &file)
{
    char header[38] = {};
    const qint64 length = file.read(header, sizeof header);
    if (length < 30 || header[0] != 'B' || header[1] != 'M')
        return false;
    const auto u16 = [&](int at) { return qint64(qFromLittleEndian<quint16>(header + at)); };
    const auto u32 = [&](int at) { return qint64(qFromLittleEndian<quint32>(header + at)); };
    const qint64 headerSize = u32(14);
    const bool core = headerSize == 12; // the old OS/2 header with 16-bit sizes
    if (!core && length < 38)
        return true;
    const qint64 width = core ? u16(18) : std::abs(qint64(qint32(u32(18))));
    const qint64 height = core ? u16(20) : std::abs(qint64(qint32(u32(22))));
    const qint64 bits = core ? u16(24) : u16(28);
    const qint64 compression = core ? 0 : u32(30);
    const bool packed = compression == 0 || compression == 3 || compression == 6;
    const qint64 pixels = packed ? (width * bits + 31) / 32 * 4 * height : u32(34);
    return file.size() < u32(10) + pixels;
}

} // namespace

std::optional<QPixmap> LoadPicture(const QString &path)
{
    if (path.isEmpty())
        return QPixmap();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The header is enough to tell; the picture itself is read by Qt, which caches it.
    if (bitmapCutShort(file))
        return std::nullopt;
    QPixmap picture;
    if (!picture.load(path))
        return std::nullopt;
    return picture;
}
