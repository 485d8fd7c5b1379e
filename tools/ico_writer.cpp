#include "ico_writer.h"

#include "little_endian.h"

#include "palette.h"


namespace
{

int rowStride(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

QByteArray iconBitmap(const IcoImage &entry)
{
    const QImage image = entry.image.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int bits = entry.bitsPerPixel;
    const int paletteSize = 1 << bits;

    QList<QRgb> palette;
    int firstColour = 0;
    if (bits == 4) {
        palette = vgaPalette();
    } else {
        // Entry 0 is black: masked pixels carry it, so the XOR step leaves the screen alone.
        palette = {qRgb(0, 0, 0)};
        palette.append(medianCutPalette({image}, paletteSize - 1));
        firstColour = 1;
    }
    while (palette.size() < paletteSize)
        palette.append(qRgb(0, 0, 0));

    const int xorStride = rowStride(width, bits);
    const int andStride = rowStride(width, 1);

    QByteArray dib;
    appendU32(dib, 40); // BITMAPINFOHEADER
    appendU32(dib, static_cast<quint32>(width));
    appendU32(dib, static_cast<quint32>(height * 2)); // the mask rows count in the height
    appendU16(dib, 1);
    appendU16(dib, static_cast<quint32>(bits));
    appendU32(dib, 0); // BI_RGB
    appendU32(dib, static_cast<quint32>((xorStride + andStride) * height));
    appendU32(dib, 0);
    appendU32(dib, 0);
    appendU32(dib, 0); // every entry of the table is present
    appendU32(dib, 0);
    for (QRgb colour : palette) {
        dib.append(static_cast<char>(qBlue(colour)));
        dib.append(static_cast<char>(qGreen(colour)));
        dib.append(static_cast<char>(qRed(colour)));
        dib.append('\0');
    }

    // Both bitmaps are stored bottom row first.
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(xorStride, '\0');
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int index = isOpaque(pixel) ? nearestIndex(palette, pixel, firstColour) : 0;
            if (bits == 4)
                row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
            else
                row[x] = static_cast<char>(index);
        }
        dib.append(row);
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(andStride, '\0');
        for (int x = 0; x < width; ++x) {
            if (!isOpaque(image.pixel(x, y)))
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        dib.append(row);
    }
    return dib;
}

} // namespace

QByteArray writeIco(const std::vector<IcoImage> &images)
{
    std::vector<QByteArray> bitmaps;
    for (const IcoImage &entry : images)
        bitmaps.push_back(iconBitmap(entry));

    QByteArray file;
    appendU16(file, 0);
    appendU16(file, 1); // icon
    appendU16(file, static_cast<quint32>(images.size()));
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const QImage &image = images[i].image;
        const int bits = images[i].bitsPerPixel;
        file.append(static_cast<char>(image.width() % 256)); // 0 stands for 256
        file.append(static_cast<char>(image.height() % 256));
        file.append(static_cast<char>(bits < 8 ? 1 << bits : 0)); // 0: 256 colours or more
        file.append('\0');
        appendU16(file, 1);
        appendU16(file, static_cast<quint32>(bits));
        appendU32(file, static_cast<quint32>(bitmaps[i].size()));
        appendU32(file, offset);
        offset += static_cast<quint32>(bitmaps[i].size());
    }
    for (const QByteArray &bitmap : bitmaps)
        file.append(bitmap);
    return file;
}
