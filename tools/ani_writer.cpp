#include "ani_writer.h"

#include "little_endian.h"

#include <algorithm>

namespace
{

constexpr int frameSize = 32;

void appendChunk(QByteArray &out, const char *id, const QByteArray &body)
{
    out.append(id, 4);
    appendU32(out, static_cast<quint32>(body.size()));
    out.append(body);
    if (body.size() % 2 != 0)
        out.append('\0');
}

// One cursor image: a 32-bit BGRA bitmap followed by its 1-bit mask, taken from alpha.
QByteArray cursorBitmap(const QImage &image)
{
    const int width = image.width(), height = image.height();
    const int maskStride = ((width + 31) / 32) * 4;
    QByteArray dib;
    appendU32(dib, 40); // BITMAPINFOHEADER
    appendU32(dib, static_cast<quint32>(width));
    appendU32(dib, static_cast<quint32>(height * 2)); // icon bitmaps count the mask rows too
    appendU16(dib, 1);
    appendU16(dib, 32);
    appendU32(dib, 0); // BI_RGB
    appendU32(dib, static_cast<quint32>(width * height * 4 + maskStride * height));
    appendU32(dib, 0);
    appendU32(dib, 0);
    appendU32(dib, 0);
    appendU32(dib, 0);

    // Both bitmaps are stored bottom row first.
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            dib.append(static_cast<char>(qBlue(pixel)));
            dib.append(static_cast<char>(qGreen(pixel)));
            dib.append(static_cast<char>(qRed(pixel)));
            dib.append(static_cast<char>(qAlpha(pixel)));
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < width; ++x) {
            if (qAlpha(image.pixel(x, y)) == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        dib.append(row);
    }
    return dib;
}

// A cursor file holding each image, the hotspot scaled from 32x32 to the image's size.
QByteArray curFile(const std::vector<QImage> &sources, QPoint hotspot)
{
    std::vector<QByteArray> bitmaps;
    QByteArray cur;
    appendU16(cur, 0);
    appendU16(cur, 2); // cursor, so each entry carries a hotspot
    appendU16(cur, static_cast<quint32>(sources.size()));
    quint32 offset = 6 + 16 * static_cast<quint32>(sources.size());
    for (const QImage &source : sources) {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        const int size = image.width();
        bitmaps.push_back(cursorBitmap(image));
        cur.append(static_cast<char>(size % 256));
        cur.append(static_cast<char>(image.height() % 256));
        cur.append('\0');
        cur.append('\0');
        appendU16(cur,
                  static_cast<quint32>(std::clamp(hotspot.x() * size / frameSize, 0, size - 1)));
        appendU16(cur, static_cast<quint32>(std::clamp(hotspot.y() * image.height() / frameSize, 0,
                                                       image.height() - 1)));
        appendU32(cur, static_cast<quint32>(bitmaps.back().size()));
        appendU32(cur, offset);
        offset += static_cast<quint32>(bitmaps.back().size());
    }
    for (const QByteArray &bitmap : bitmaps)
        cur.append(bitmap);
    return cur;
}

} // namespace

QByteArray writeAniCursor(const std::vector<QImage> &frames, QPoint hotspot,
                          const std::vector<int> &jiffiesPerStep)
{
    std::vector<std::vector<QImage>> sized;
    for (const QImage &frame : frames) {
        sized.push_back({frame.size() == QSize(frameSize, frameSize)
                             ? frame
                             : frame.scaled(frameSize, frameSize, Qt::IgnoreAspectRatio,
                                            Qt::SmoothTransformation)});
    }
    return writeAniCursor(sized, hotspot, jiffiesPerStep);
}

QByteArray writeAniCursor(const std::vector<std::vector<QImage>> &frames, QPoint hotspot,
                          const std::vector<int> &requestedJiffies)
{
    const std::vector<int> jiffiesPerStep =
        requestedJiffies.empty() ? std::vector<int>(frames.size(), 10) : requestedJiffies;
    const auto frameCount = static_cast<quint32>(frames.size());
    const auto stepCount = static_cast<quint32>(jiffiesPerStep.size());
    const quint32 defaultRate =
        jiffiesPerStep.empty() ? 10 : static_cast<quint32>(std::max(jiffiesPerStep.front(), 1));

    QByteArray header;
    appendU32(header, 36);
    appendU32(header, frameCount);
    appendU32(header, stepCount);
    for (int unused = 0; unused < 4; ++unused)
        appendU32(header, 0); // size and depth fields only describe raw, non-icon frames
    appendU32(header, defaultRate);
    appendU32(header, 0x1 | 0x2); // frames are icon data; a 'seq ' chunk is present

    QByteArray rate;
    QByteArray sequence;
    for (quint32 step = 0; step < stepCount; ++step) {
        appendU32(rate, static_cast<quint32>(std::max(jiffiesPerStep[step], 1)));
        appendU32(sequence, frameCount == 0 ? 0 : step % frameCount);
    }

    QByteArray frameList("fram");
    for (const std::vector<QImage> &frame : frames)
        appendChunk(frameList, "icon", curFile(frame, hotspot));

    QByteArray body("ACON");
    appendChunk(body, "anih", header);
    appendChunk(body, "rate", rate);
    appendChunk(body, "seq ", sequence);
    appendChunk(body, "LIST", frameList);

    QByteArray file("RIFF");
    appendU32(file, static_cast<quint32>(body.size()));
    file.append(body);
    return file;
}
