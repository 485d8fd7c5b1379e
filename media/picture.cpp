#include "media/picture.h"

#include "logic/bitmap_header.h"

#include <QFile>
#include <QImageReader>

namespace
{

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
    if (!file.open(QIODevice::ReadOnly) ||
        bitmapCutShort(file.peek(bitmapHeaderLength), file.size()))
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
