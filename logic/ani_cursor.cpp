#include "logic/ani_cursor.h"

#include <QByteArrayView>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>

namespace
{

constexpr qint64 maxDimension = 256;
constexpr qint64 maxFrames = 1024;
constexpr qint64 maxSteps = 1024;
// The frame cap alone would let a small file of well-compressed PNG frames decode to hundreds of
// megabytes; this bounds the pixels of the whole cursor.
constexpr qint64 maxTotalPixels = 1024 * 128 * 128;
constexpr qint64 maxJiffies = 60 * 60 * 60; // an hour keeps the delay in milliseconds an int

// Every read goes through fits() first, with 64-bit arithmetic so that no 32-bit size or offset
// taken from the file can wrap around.
bool fits(QByteArrayView data, qint64 offset, qint64 length)
{
    return offset >= 0 && length >= 0 && offset <= data.size() && length <= data.size() - offset;
}

quint8 u8(QByteArrayView data, qint64 offset)
{
    return static_cast<quint8>(data[offset]);
}

quint16 u16(QByteArrayView data, qint64 offset)
{
    return qFromLittleEndian<quint16>(data.data() + offset);
}

quint32 u32(QByteArrayView data, qint64 offset)
{
    return qFromLittleEndian<quint32>(data.data() + offset);
}

qint32 i32(QByteArrayView data, qint64 offset)
{
    return qFromLittleEndian<qint32>(data.data() + offset);
}

bool hasTag(QByteArrayView data, qint64 offset, const char *tag)
{
    return fits(data, offset, 4) && data.sliced(offset, 4) == QByteArrayView(tag, 4);
}

struct Chunk {
    QByteArrayView id;
    QByteArrayView body;
};

// A printable four-character id and a size that fits what is left.
bool chunkStartsAt(QByteArrayView area, qint64 offset)
{
    if (!fits(area, offset, 8) || !fits(area, offset + 8, u32(area, offset + 4)))
        return false;
    return std::all_of(area.begin() + offset, area.begin() + offset + 4,
                       [](char c) { return c >= 0x20 && c <= 0x7e; });
}

// Splits a run of RIFF chunks; nullopt when a chunk claims more bytes than remain. Fewer than
// eight bytes left over (a final pad byte, trailing junk) are ignored.
std::optional<std::vector<Chunk>> splitChunks(QByteArrayView area)
{
    std::vector<Chunk> chunks;
    qint64 pos = 0;
    while (fits(area, pos, 8)) {
        const qint64 size = u32(area, pos + 4);
        const qint64 body = pos + 8;
        if (!fits(area, body, size))
            return std::nullopt;
        chunks.push_back({area.sliced(pos, 4), area.sliced(body, size)});
        pos = body + size;
        // Some writers forget the pad byte after an odd-sized chunk. Skipping the pad is right
        // unless the next chunk plainly starts here and would not start one byte later.
        if (size % 2 != 0 && fits(area, pos, 1) &&
            !(chunkStartsAt(area, pos) && !chunkStartsAt(area, pos + 1)))
            ++pos;
    }
    return chunks;
}

bool isPng(QByteArrayView data)
{
    return data.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", 8));
}

AniError decodePng(QByteArrayView data, QImage &out)
{
    if (!fits(data, 0, 24) || !hasTag(data, 12, "IHDR"))
        return AniError::BadFrame;
    const quint32 width = qFromBigEndian<quint32>(data.data() + 16);
    const quint32 height = qFromBigEndian<quint32>(data.data() + 20);
    if (width > maxDimension || height > maxDimension)
        return AniError::TooLarge;
    const QImage image = QImage::fromData(data, "PNG");
    if (image.isNull() || image.width() != qint64(width) || image.height() != qint64(height))
        return AniError::BadFrame;
    out = image.convertToFormat(QImage::Format_ARGB32);
    return AniError::None;
}

// Decodes an icon bitmap: a BITMAPINFOHEADER whose height counts both bitmaps, the colour
// bitmap bottom row first, then the 1-bit mask in which a set bit marks a transparent pixel.
AniError decodeDib(QByteArrayView dib, QImage &out)
{
    if (!fits(dib, 0, 40))
        return AniError::BadFrame;
    const qint64 headerSize = u32(dib, 0);
    const qint64 width = i32(dib, 4);
    const qint64 height = i32(dib, 8) / 2;
    const int bits = u16(dib, 14);
    const quint32 compression = u32(dib, 16);
    const qint64 colorsUsed = u32(dib, 32);
    if (width > maxDimension || height > maxDimension)
        return AniError::TooLarge;
    if (headerSize < 40 || !fits(dib, 0, headerSize) || width <= 0 || height <= 0 ||
        compression != 0)
        return AniError::BadFrame;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return AniError::BadFrame;

    // Deep bitmaps may still carry an optional colour table, which is skipped.
    const qint64 maxColors = bits <= 8 ? (qint64(1) << bits) : 256;
    const qint64 colors = (bits <= 8 && colorsUsed == 0) ? maxColors : colorsUsed;
    if (colors > maxColors)
        return AniError::BadFrame;
    const qint64 paletteOffset = headerSize;
    const qint64 pixelOffset = paletteOffset + colors * 4;
    const qint64 pixelStride = (width * bits + 31) / 32 * 4;
    const qint64 maskOffset = pixelOffset + pixelStride * height;
    const qint64 maskStride = (width + 31) / 32 * 4;
    if (!fits(dib, pixelOffset, pixelStride * height))
        return AniError::BadFrame;
    // Only an image with its own alpha can do without the mask.
    const bool hasMask = fits(dib, maskOffset, maskStride * height);
    if (!hasMask && bits != 32)
        return AniError::BadFrame;

    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        return AniError::BadFrame;
    bool anyAlpha = false;
    for (qint64 y = 0; y < height; ++y) {
        const qint64 row = pixelOffset + (height - 1 - y) * pixelStride;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x) {
            if (bits == 32) {
                const qint64 p = row + x * 4;
                line[x] = qRgba(u8(dib, p + 2), u8(dib, p + 1), u8(dib, p), u8(dib, p + 3));
                anyAlpha = anyAlpha || u8(dib, p + 3) != 0;
            } else if (bits == 24) {
                const qint64 p = row + x * 3;
                line[x] = qRgb(u8(dib, p + 2), u8(dib, p + 1), u8(dib, p));
            } else {
                const qint64 bitPos = x * bits;
                const int shift = 8 - bits - int(bitPos % 8);
                const qint64 index = (u8(dib, row + bitPos / 8) >> shift) & ((1 << bits) - 1);
                const qint64 p = paletteOffset + index * 4;
                line[x] = index < colors ? qRgb(u8(dib, p + 2), u8(dib, p + 1), u8(dib, p))
                                         : qRgb(0, 0, 0);
            }
        }
    }

    // A 32-bit image whose alpha is all zero comes from before alpha cursors: the mask alone
    // decides what shows. Pixels that would invert the screen cannot be drawn and stay clear.
    const bool alphaFromMask = bits != 32 || !anyAlpha;
    for (qint64 y = 0; alphaFromMask && y < height; ++y) {
        const qint64 row = maskOffset + (height - 1 - y) * maskStride;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x) {
            const bool clear = hasMask && (u8(dib, row + x / 8) & (0x80 >> (x % 8))) != 0;
            line[x] = clear ? 0 : (line[x] | 0xff000000);
        }
    }
    out = image;
    return AniError::None;
}

int imageDepth(QByteArrayView file, qint64 offset)
{
    if (fits(file, offset, 8) && isPng(file.sliced(offset)))
        return 32;
    return fits(file, offset, 16) ? u16(file, offset + 14) : 0;
}

// Reads one frame: a whole ICO or CUR file. Of several images the one nearest the cursor size
// wins, then the deepest, then the first. A CUR entry carries the hotspot; an icon has
// none, so its centre is used, as the system does when an icon serves as a cursor.
AniError decodeIconFile(QByteArrayView file, AniFrame &frame, int cursorSize)
{
    if (!fits(file, 0, 6) || u16(file, 0) != 0)
        return AniError::BadFrame;
    const int type = u16(file, 2);
    const qint64 count = u16(file, 4);
    if ((type != 1 && type != 2) || count == 0 || !fits(file, 6, count * 16))
        return AniError::BadFrame;

    qint64 entry = -1;
    int bestDistance = 0;
    int bestDepth = 0;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 e = 6 + i * 16;
        const int size = std::max(u8(file, e) == 0 ? 256 : u8(file, e),
                                  u8(file, e + 1) == 0 ? 256 : u8(file, e + 1));
        const int distance = std::abs(size - cursorSize);
        const int depth = imageDepth(file, u32(file, e + 12));
        if (entry < 0 || distance < bestDistance ||
            (distance == bestDistance && depth > bestDepth)) {
            entry = e;
            bestDistance = distance;
            bestDepth = depth;
        }
    }

    const qint64 offset = u32(file, entry + 12);
    if (!fits(file, offset, 0))
        return AniError::BadFrame;
    // Writers get the stored length wrong often enough; the image's own header says what it needs.
    const qint64 length = std::min<qint64>(u32(file, entry + 8), file.size() - offset);
    const QByteArrayView data = file.sliced(offset, length);
    const AniError error =
        isPng(data) ? decodePng(data, frame.image) : decodeDib(data, frame.image);
    if (error != AniError::None)
        return error;

    const QPoint hotspot = type == 2 ? QPoint(u16(file, entry + 4), u16(file, entry + 6))
                                     : QPoint(frame.image.width() / 2, frame.image.height() / 2);
    frame.hotspot = QPoint(std::min(hotspot.x(), frame.image.width() - 1),
                           std::min(hotspot.y(), frame.image.height() - 1));
    return AniError::None;
}

AniResult failure(AniError error)
{
    return {std::nullopt, error};
}

} // namespace

AniResult parseAniCursor(const QByteArray &bytes, int cursorSize)
{
    const QByteArrayView input(bytes);
    const QByteArrayView magic("RIFF");
    if (input.isEmpty() || !magic.startsWith(input.first(std::min<qsizetype>(input.size(), 4))))
        return failure(AniError::NotRiffAcon);
    if (input.size() < 12)
        return failure(AniError::Truncated);
    if (!hasTag(input, 8, "ACON"))
        return failure(AniError::NotRiffAcon);

    // A RIFF size that overstates the file is forgiven, and 0, which some old writers leave in
    // place of the size, means the whole file; any other size that understates the file hides
    // the chunks beyond it.
    const qint64 riffSize = u32(input, 4);
    const qint64 riffEnd = riffSize == 0 ? input.size() : std::min(8 + riffSize, input.size());
    if (riffEnd < 12)
        return failure(AniError::Truncated);
    const auto chunks = splitChunks(input.sliced(12, riffEnd - 12));
    if (!chunks)
        return failure(AniError::Truncated);

    // The header's flags are not trusted: frames are recognised by their own headers, and a
    // 'seq ' chunk is used whenever there is one. The first of each chunk kind counts.
    std::optional<QByteArrayView> header;
    std::optional<QByteArrayView> rate;
    std::optional<QByteArrayView> sequence;
    std::optional<std::vector<QByteArrayView>> icons;
    for (const Chunk &chunk : *chunks) {
        if (chunk.id == "anih" && !header) {
            header = chunk.body;
        } else if (chunk.id == "rate" && !rate) {
            rate = chunk.body;
        } else if (chunk.id == "seq " && !sequence) {
            sequence = chunk.body;
        } else if (chunk.id == "LIST" && !icons && hasTag(chunk.body, 0, "fram")) {
            const auto frameChunks = splitChunks(chunk.body.sliced(4));
            if (!frameChunks)
                return failure(AniError::Truncated);
            icons.emplace();
            for (const Chunk &frameChunk : *frameChunks) {
                if (frameChunk.id == "icon")
                    icons->push_back(frameChunk.body);
            }
        }
    }

    if (!header)
        return failure(AniError::MissingHeader);
    if (header->size() < 36)
        return failure(AniError::BadHeader);
    const qint64 frameCount = u32(*header, 4);
    const qint64 declaredSteps = u32(*header, 8);
    const qint64 displayRate = u32(*header, 28);
    if (frameCount > maxFrames || declaredSteps > maxSteps)
        return failure(AniError::TooLarge);
    if (frameCount == 0 || !icons || icons->empty())
        return failure(AniError::MissingFrames);
    if (qint64(icons->size()) != frameCount)
        return failure(AniError::FrameCountMismatch);

    // Without 'seq ' the frames play once each in order; a header that counts no steps means
    // the same.
    const qint64 stepCount = (sequence && declaredSteps > 0) ? declaredSteps : frameCount;
    if ((rate && rate->size() / 4 < stepCount) || (sequence && sequence->size() / 4 < stepCount))
        return failure(AniError::BadSequence);
    AniCursor cursor;
    for (qint64 i = 0; i < stepCount; ++i) {
        const qint64 frame = sequence ? u32(*sequence, i * 4) : i;
        if (frame >= frameCount)
            return failure(AniError::BadSequence);
        const qint64 jiffies = rate ? u32(*rate, i * 4) : displayRate;
        cursor.steps.push_back({int(frame), int(std::clamp<qint64>(jiffies, 1, maxJiffies))});
    }

    qint64 totalPixels = 0;
    for (const QByteArrayView icon : *icons) {
        AniFrame frame;
        const AniError error = decodeIconFile(icon, frame, cursorSize);
        if (error != AniError::None)
            return failure(error);
        totalPixels += qint64(frame.image.width()) * frame.image.height();
        if (totalPixels > maxTotalPixels)
            return failure(AniError::TooLarge);
        cursor.frames.push_back(std::move(frame));
    }
    return {std::move(cursor), AniError::None};
}

QString aniErrorText(AniError error)
{
    switch (error) {
    case AniError::None:
        return QStringLiteral("no error");
    case AniError::NotRiffAcon:
        return QStringLiteral("not an animated cursor (RIFF ACON) file");
    case AniError::Truncated:
        return QStringLiteral("the file is cut short");
    case AniError::MissingHeader:
        return QStringLiteral("the 'anih' header is missing");
    case AniError::BadHeader:
        return QStringLiteral("the 'anih' header is malformed");
    case AniError::MissingFrames:
        return QStringLiteral("the file has no frames");
    case AniError::FrameCountMismatch:
        return QStringLiteral("the frame list does not match the header's frame count");
    case AniError::BadFrame:
        return QStringLiteral("a frame is not a readable icon or cursor image");
    case AniError::TooLarge:
        return QStringLiteral("the cursor is too large");
    case AniError::BadSequence:
        return QStringLiteral("the 'rate' or 'seq ' chunk does not match the header");
    }
    return QStringLiteral("unknown error");
}
