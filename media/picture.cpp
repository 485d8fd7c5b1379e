#include "media/picture.h"

#include <QFile>
#include <QImageReader>
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

constexpr qreal designDotsPerMeter = 3780; // 96 dpi

} // namespace

QPixmap pictureForScreen(QImage image, qreal density, qreal screenRatio)
{
    const QSize design = (QSizeF(image.size()) / density).toSize();
    const QSize wanted = (QSizeF(design) * screenRatio).toSize();
    if (image.size() != wanted)
        image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(screenRatio);
    return pixmap;
}

std::optional<QPixmap> LoadPicture(const QString &path, qreal screenRatio)
{
    if (path.isEmpty())
        return QPixmap();
    QFile file(path);
    // The header is enough to tell a bitmap cut short; the picture itself is read by Qt.
    if (!file.open(QIODevice::ReadOnly) || bitmapCutShort(file))
        return std::nullopt;
    const QImage image = QImageReader(path).read();
    if (image.isNull())
        return std::nullopt;
    // Files that say nothing, or 72 dpi, are drawn one pixel a pixel, as they always were.
    const qreal density = std::max<qreal>(1, image.dotsPerMeterX() / designDotsPerMeter);
    return pictureForScreen(image, density, screenRatio);
}

QString doubleDensityPath(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

QPixmap builtInPicture(const QString &path, qreal screenRatio)
{
    const QString dense = doubleDensityPath(path);
    if (screenRatio > 1 && QFile::exists(dense))
        return pictureForScreen(QImageReader(dense).read(), 2, screenRatio);
    return pictureForScreen(QImageReader(path).read(), 1, screenRatio);
}

QPixmap builtInIconPixmap(const QString &path, QSize size, qreal screenRatio)
{
    const QSize wanted = (QSizeF(size) * screenRatio).toSize();
    QImage best;
    for (const QString &file : {path, doubleDensityPath(path)}) {
        QImageReader reader(file);
        do {
            const QImage image = reader.read();
            if (image.isNull())
                break;
            const bool bigEnough = image.width() >= wanted.width();
            const bool bestBigEnough = !best.isNull() && best.width() >= wanted.width();
            // The smallest of those large enough; while none is, the largest.
            if (best.isNull() || (bigEnough && (!bestBigEnough || image.width() < best.width())) ||
                (!bigEnough && !bestBigEnough && image.width() > best.width()))
                best = image;
        } while (reader.jumpToNextImage());
    }
    if (best.isNull())
        return QPixmap();
    return pictureForScreen(best, qreal(best.width()) / size.width(), screenRatio);
}
