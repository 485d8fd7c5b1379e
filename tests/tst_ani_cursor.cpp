#include "media/ani_cursor.h"
#include "media/animated_cursor.h"
#include "tools/ani_writer.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTest>
#include <QtEndian>

namespace
{

QByteArray le16(quint32 value)
{
    QByteArray out(2, '\0');
    qToLittleEndian<quint16>(static_cast<quint16>(value), out.data());
    return out;
}

QByteArray le32(quint32 value)
{
    QByteArray out(4, '\0');
    qToLittleEndian<quint32>(value, out.data());
    return out;
}

QByteArray dwords(std::initializer_list<quint32> values)
{
    QByteArray out;
    for (quint32 value : values)
        out += le32(value);
    return out;
}

QByteArray chunk(const char *id, const QByteArray &body, bool pad = true)
{
    QByteArray out = QByteArray(id, 4) + le32(quint32(body.size())) + body;
    if (pad && body.size() % 2 != 0)
        out += '\0';
    return out;
}

QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(chunks.size() + 4)) + "ACON" + chunks;
}

QByteArray anih(quint32 frames, quint32 steps, quint32 rate, quint32 flags = 1)
{
    return chunk("anih", dwords({36, frames, steps, 0, 0, 0, 0, rate, flags}));
}

QByteArray frameList(const QList<QByteArray> &icons, const QByteArray &extra = {})
{
    QByteArray body = "fram" + extra;
    for (const QByteArray &icon : icons)
        body += chunk("icon", icon);
    return chunk("LIST", body);
}

// values are palette indices up to 8 bits and 0xAARRGGBB colours above; a mask value of 1
// marks a clear pixel. Both run top row first; the bytes are written bottom row first.
QByteArray dib(int width, int height, int bits, const QList<QRgb> &palette,
               const QList<quint32> &values, const QList<int> &mask)
{
    const bool fullPalette = bits <= 8 && palette.size() == (1 << bits);
    QByteArray out = dwords({40, quint32(width), quint32(height * 2)}) + le16(1) + le16(bits) +
                     dwords({0, 0, 0, 0, fullPalette ? 0 : quint32(palette.size()), 0});
    for (QRgb c : palette)
        out += le32(c & 0x00ffffff);
    const int stride = (width * bits + 31) / 32 * 4;
    const int maskStride = (width + 31) / 32 * 4;
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const quint32 v = values[y * width + x];
            if (bits >= 24) {
                row.replace(x * bits / 8, bits / 8, le32(v).first(bits / 8));
            } else {
                const int bit = x * bits;
                row[bit / 8] = char(row[bit / 8] | (v << (8 - bits - bit % 8)));
            }
        }
        out += row;
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < width; ++x)
            row[x / 8] = char(row[x / 8] | (mask[y * width + x] << (7 - x % 8)));
        out += row;
    }
    return out;
}

QByteArray solidDib(int size, int bits, QRgb colour)
{
    const qsizetype pixels = qsizetype(size) * size;
    if (bits <= 8)
        return dib(size, size, bits, {colour}, QList<quint32>(pixels, 0), QList<int>(pixels, 0));
    return dib(size, size, bits, {}, QList<quint32>(pixels, colour), QList<int>(pixels, 0));
}

struct IconImage {
    QByteArray data;
    int size;
    quint16 first; // planes in an icon, hotspot x in a cursor
    quint16 second;
};

QByteArray iconFile(int type, const QList<IconImage> &images)
{
    QByteArray out = le16(0) + le16(type) + le16(quint32(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (const IconImage &image : images) {
        out += le16(quint32(image.size % 256) * 0x101) + le16(0);
        out += le16(image.first) + le16(image.second) + le32(quint32(image.data.size())) +
               le32(offset);
        offset += quint32(image.data.size());
    }
    for (const IconImage &image : images)
        out += image.data;
    return out;
}

QByteArray smallCur(QRgb colour, QPoint hotspot = {0, 0})
{
    return iconFile(2, {{solidDib(2, 32, colour), 2, quint16(hotspot.x()), quint16(hotspot.y())}});
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return out;
}

QByteArray withU32(QByteArray bytes, qsizetype offset, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + offset);
    return bytes;
}

const QRgb red = qRgb(255, 0, 0);
const QRgb green = qRgb(0, 255, 0);
const QRgb blue = qRgb(0, 0, 255);

// Whatever the input, a result is either an error without a cursor or a cursor the animator
// can play without further checks.
void verifyConsistent(const AniResult &result)
{
    QCOMPARE(result.cursor.has_value(), result.error == AniError::None);
    if (!result.cursor)
        return;
    const AniCursor &cursor = *result.cursor;
    QVERIFY(!cursor.frames.empty());
    QVERIFY(!cursor.steps.empty());
    for (const AniStep &step : cursor.steps) {
        QVERIFY(step.frame >= 0 && step.frame < int(cursor.frames.size()));
        QVERIFY(step.jiffies >= 1);
    }
    for (const AniFrame &frame : cursor.frames) {
        QVERIFY(frame.image.width() <= 256 && frame.image.height() <= 256);
        QVERIFY(frame.image.rect().contains(frame.hotspot));
    }
}

QImage patternImage(QRgb colour)
{
    // Top half solid, bottom left clear, bottom right half transparent: catches flipped rows
    // and lost alpha.
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    for (int y = 16; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            image.setPixel(x, y, x < 16 ? 0u : (colour & 0x00ffffff) | 0x80000000);
    }
    return image;
}

AniCursor twoFrameCursor()
{
    QImage first(8, 8, QImage::Format_ARGB32);
    first.fill(red);
    QImage second(8, 8, QImage::Format_ARGB32);
    second.fill(blue);
    return {{{first, {1, 2}}, {second, {5, 6}}}, {{1, 3}, {0, 3}}};
}

} // namespace

class TstAniCursor : public QObject
{
    Q_OBJECT

private slots:
    void writerRoundTrip_data();
    void writerRoundTrip();
    void wellFormed_data();
    void wellFormed();
    void bitmapDepths_data();
    void bitmapDepths();
    void malformed_data();
    void malformed();
    void everyPrefixOfAGoodFileFails();
    void damagedBytesNeverBreakTheResult_data();
    void damagedBytesNeverBreakTheResult();
    void animatorShowsFirstStepAndAdvances();
    void animatorStopHoldsTheStep();
    void animatorOutlivesItsWidget();
};

void TstAniCursor::writerRoundTrip_data()
{
    QTest::addColumn<QList<QRgb>>("colours");
    QTest::addColumn<QPoint>("hotspot");
    QTest::addColumn<QList<int>>("jiffies");
    QTest::addColumn<QPoint>("expectedHotspot");
    QTest::addColumn<QList<int>>("expectedFrames");

    QTest::newRow("single frame") << QList<QRgb>{red} << QPoint(3, 4) << QList<int>{10}
                                  << QPoint(3, 4) << QList<int>{0};
    QTest::newRow("frames in order with their rates")
        << QList<QRgb>{red, green, blue} << QPoint(31, 0) << QList<int>{1, 30, 7} << QPoint(31, 0)
        << QList<int>{0, 1, 2};
    QTest::newRow("more steps than frames wrap around")
        << QList<QRgb>{red, blue} << QPoint(0, 31) << QList<int>{5, 6, 7} << QPoint(0, 31)
        << QList<int>{0, 1, 0};
    QTest::newRow("hotspot kept inside the frame")
        << QList<QRgb>{green} << QPoint(50, -3) << QList<int>{2} << QPoint(31, 0) << QList<int>{0};
}

void TstAniCursor::writerRoundTrip()
{
    QFETCH(QList<QRgb>, colours);
    QFETCH(QPoint, hotspot);
    QFETCH(QList<int>, jiffies);
    QFETCH(QPoint, expectedHotspot);
    QFETCH(QList<int>, expectedFrames);

    std::vector<QImage> images;
    for (QRgb colour : colours)
        images.push_back(patternImage(colour));
    const std::vector<int> rates(jiffies.begin(), jiffies.end());
    const QByteArray file = writeAniCursor(images, hotspot, rates);
    QCOMPARE(writeAniCursor(images, hotspot, rates), file);

    const AniResult result = parseAniCursor(file);
    QCOMPARE(result.error, AniError::None);
    QVERIFY(result.cursor);
    QCOMPARE(result.cursor->frames.size(), size_t(colours.size()));
    QCOMPARE(result.cursor->steps.size(), size_t(jiffies.size()));
    for (size_t i = 0; i < result.cursor->steps.size(); ++i) {
        QCOMPARE(result.cursor->steps[i].frame, expectedFrames[qsizetype(i)]);
        QCOMPARE(result.cursor->steps[i].jiffies, jiffies[qsizetype(i)]);
    }
    for (size_t i = 0; i < result.cursor->frames.size(); ++i) {
        const AniFrame &frame = result.cursor->frames[i];
        const QRgb colour = colours[qsizetype(i)];
        QCOMPARE(frame.image.size(), QSize(32, 32));
        QCOMPARE(frame.hotspot, expectedHotspot);
        QCOMPARE(frame.image.pixel(5, 5), colour);
        QCOMPARE(qAlpha(frame.image.pixel(5, 25)), 0);
        QCOMPARE(frame.image.pixel(25, 25), (colour & 0x00ffffff) | 0x80000000);
    }
}

void TstAniCursor::wellFormed_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("frameCount");
    QTest::addColumn<QList<int>>("stepFrames");
    QTest::addColumn<QList<int>>("stepJiffies");
    QTest::addColumn<QPoint>("hotspot");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRgb>("pixel");

    const QByteArray twoCurs = frameList({smallCur(red, {1, 0}), smallCur(blue)});
    QTest::newRow("rate and seq") << riff(anih(2, 3, 6, 3) + chunk("rate", dwords({4, 5, 6})) +
                                          chunk("seq ", dwords({1, 0, 1})) + twoCurs)
                                  << 2 << QList<int>{1, 0, 1} << QList<int>{4, 5, 6} << QPoint(1, 0)
                                  << QSize(2, 2) << red;
    QTest::newRow("no rate or seq")
        << riff(anih(3, 3, 7) + frameList({smallCur(green), smallCur(red), smallCur(blue)})) << 3
        << QList<int>{0, 1, 2} << QList<int>{7, 7, 7} << QPoint(0, 0) << QSize(2, 2) << green;
    QTest::newRow("header counting no steps")
        << riff(anih(2, 0, 5) + twoCurs) << 2 << QList<int>{0, 1} << QList<int>{5, 5}
        << QPoint(1, 0) << QSize(2, 2) << red;
    QTest::newRow("zero delays become one jiffy")
        << riff(anih(2, 2, 0) + chunk("rate", dwords({0, 2})) + twoCurs) << 2 << QList<int>{0, 1}
        << QList<int>{1, 2} << QPoint(1, 0) << QSize(2, 2) << red;
    QTest::newRow("icon frame uses its centre")
        << riff(anih(1, 1, 3) + frameList({iconFile(1, {{solidDib(4, 8, green), 4, 1, 8}})})) << 1
        << QList<int>{0} << QList<int>{3} << QPoint(2, 2) << QSize(4, 4) << green;
    QTest::newRow("hotspot outside the image is clamped")
        << riff(anih(1, 1, 3) + frameList({smallCur(red, {40, 3})})) << 1 << QList<int>{0}
        << QList<int>{3} << QPoint(1, 1) << QSize(2, 2) << red;
    QTest::newRow("odd chunk with its pad byte")
        << riff(chunk("junk", "abc") + anih(2, 2, 4) + twoCurs) << 2 << QList<int>{0, 1}
        << QList<int>{4, 4} << QPoint(1, 0) << QSize(2, 2) << red;
    QTest::newRow("odd chunk missing its pad byte")
        << riff(chunk("junk", "abc", false) + anih(2, 2, 4) + twoCurs) << 2 << QList<int>{0, 1}
        << QList<int>{4, 4} << QPoint(1, 0) << QSize(2, 2) << red;
    QTest::newRow("info list and unknown chunks skipped")
        << riff(chunk("LIST", "INFO" + chunk("INAM", "cat\0", false)) + anih(1, 1, 9) +
                frameList({smallCur(blue)}, chunk("foo ", "xyz")) + chunk("tail", "1"))
        << 1 << QList<int>{0} << QList<int>{9} << QPoint(0, 0) << QSize(2, 2) << blue;
    QTest::newRow("header after the frames")
        << riff(twoCurs + anih(2, 2, 8)) << 2 << QList<int>{0, 1} << QList<int>{8, 8}
        << QPoint(1, 0) << QSize(2, 2) << red;
    QTest::newRow("RIFF size overstated")
        << withU32(riff(anih(2, 2, 8) + twoCurs), 4, 0xfffffff0) << 2 << QList<int>{0, 1}
        << QList<int>{8, 8} << QPoint(1, 0) << QSize(2, 2) << red;
    QTest::newRow("bytes after the RIFF ignored")
        << riff(anih(2, 2, 8) + twoCurs) + "RIFFgarbage" << 2 << QList<int>{0, 1}
        << QList<int>{8, 8} << QPoint(1, 0) << QSize(2, 2) << red;
    QTest::newRow("image nearest 32 pixels, then deepest")
        << riff(anih(1, 1, 2) + frameList({iconFile(1, {{solidDib(16, 32, red), 16, 1, 32},
                                                        {solidDib(32, 8, green), 32, 1, 8},
                                                        {solidDib(32, 32, blue), 32, 1, 32},
                                                        {solidDib(48, 32, red), 48, 1, 32}})}))
        << 1 << QList<int>{0} << QList<int>{2} << QPoint(16, 16) << QSize(32, 32) << blue;
    QImage png(3, 5, QImage::Format_ARGB32);
    png.fill(qRgba(10, 20, 30, 40));
    QTest::newRow("png image") << riff(anih(1, 1, 2) +
                                       frameList({iconFile(2, {{pngBytes(png), 3, 2, 4}})}))
                               << 1 << QList<int>{0} << QList<int>{2} << QPoint(2, 4) << QSize(3, 5)
                               << qRgba(10, 20, 30, 40);
}

void TstAniCursor::wellFormed()
{
    QFETCH(QByteArray, file);
    QFETCH(int, frameCount);
    QFETCH(QList<int>, stepFrames);
    QFETCH(QList<int>, stepJiffies);
    QFETCH(QPoint, hotspot);
    QFETCH(QSize, size);
    QFETCH(QRgb, pixel);

    const AniResult result = parseAniCursor(file);
    QCOMPARE(result.error, AniError::None);
    QVERIFY(result.cursor);
    QCOMPARE(int(result.cursor->frames.size()), frameCount);
    QList<int> frames;
    QList<int> jiffies;
    for (const AniStep &step : result.cursor->steps) {
        frames << step.frame;
        jiffies << step.jiffies;
    }
    QCOMPARE(frames, stepFrames);
    QCOMPARE(jiffies, stepJiffies);
    const AniFrame &first = result.cursor->frames.front();
    QCOMPARE(first.hotspot, hotspot);
    QCOMPARE(first.image.size(), size);
    QCOMPARE(first.image.pixel(0, 0), pixel);
}

void TstAniCursor::bitmapDepths_data()
{
    QTest::addColumn<QByteArray>("bitmap");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<QRgb>>("pixels");

    const QRgb white = qRgb(255, 255, 255);
    const QRgb black = qRgb(0, 0, 0);
    QTest::newRow("1-bit row across a byte")
        << dib(9, 1, 1, {black, white}, {1, 0, 0, 1, 1, 0, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 1})
        << QSize(9, 1) << QList<QRgb>{white, black, black, white, white, black, black, black, 0};
    QTest::newRow("4-bit odd width, short palette")
        << dib(3, 2, 4, {red, green, blue}, {2, 1, 0, 0, 0, 2}, {0, 1, 0, 0, 0, 0}) << QSize(3, 2)
        << QList<QRgb>{blue, 0, red, red, red, blue};
    QTest::newRow("8-bit rows bottom up")
        << dib(2, 2, 8, {red, green, blue}, {0, 1, 2, 2}, {0, 0, 0, 0}) << QSize(2, 2)
        << QList<QRgb>{red, green, blue, blue};
    QTest::newRow("8-bit index past the palette is black")
        << dib(2, 1, 8, {red}, {0, 5}, {0, 0}) << QSize(2, 1) << QList<QRgb>{red, black};
    QTest::newRow("24-bit padded rows with mask")
        << dib(3, 2, 24, {}, {red, green, blue, 0x123456, 0x654321, 0xabcdef}, {0, 0, 0, 1, 0, 0})
        << QSize(3, 2) << QList<QRgb>{red, green, blue, 0, 0xff654321, 0xffabcdef};
    QTest::newRow("32-bit alpha wins over mask")
        << dib(2, 1, 32, {}, {0x80ff0000, 0x00000000}, {1, 0}) << QSize(2, 1)
        << QList<QRgb>{0x80ff0000, 0x00000000};
    QTest::newRow("32-bit without alpha uses mask")
        << dib(2, 1, 32, {}, {0x00ff0000, 0x0000ff00}, {0, 1}) << QSize(2, 1)
        << QList<QRgb>{0xffff0000, 0};
    QTest::newRow("32-bit without a mask keeps alpha")
        << dib(2, 1, 32, {}, {0x40ff0000, 0xc00000ff}, {0, 0}).chopped(4) << QSize(2, 1)
        << QList<QRgb>{0x40ff0000, 0xc00000ff};
}

void TstAniCursor::bitmapDepths()
{
    QFETCH(QByteArray, bitmap);
    QFETCH(QSize, size);
    QFETCH(QList<QRgb>, pixels);

    const QByteArray file =
        riff(anih(1, 1, 1) + frameList({iconFile(2, {{bitmap, size.width(), 0, 0}})}));
    const AniResult result = parseAniCursor(file);
    QCOMPARE(result.error, AniError::None);
    const QImage &image = result.cursor->frames.front().image;
    QCOMPARE(image.size(), size);
    QList<QRgb> decoded;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            decoded << image.pixel(x, y);
    }
    QCOMPARE(decoded, pixels);
}

void TstAniCursor::malformed_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<AniError>("error");

    const QByteArray cur = smallCur(red);
    const QByteArray good = riff(anih(2, 2, 8) + frameList({cur, cur}));
    const auto oneFrame = [](const QByteArray &bitmap, int size = 2) {
        return riff(anih(1, 1, 1) + frameList({iconFile(2, {{bitmap, size, 0, 0}})}));
    };
    const QByteArray bitmap = solidDib(2, 8, red);
    const qsizetype colours = bitmap.size() - 8 - 4 * 2; // where the pixels start

    QTest::newRow("empty") << QByteArray() << AniError::NotRiffAcon;
    QTest::newRow("not RIFF") << QByteArray("GIF89a\0\0\0\0\0\0\0\0", 14) << AniError::NotRiffAcon;
    QTest::newRow("RIFF of another kind")
        << QByteArray("RIFF\4\0\0\0WAVE", 12) << AniError::NotRiffAcon;
    QTest::newRow("only the RIFF tag") << QByteArray("RIFF") << AniError::Truncated;
    QTest::newRow("RIFF size below its form type") << withU32(good, 4, 2) << AniError::Truncated;
    QTest::newRow("RIFF size cutting the frames")
        << withU32(good, 4, quint32(good.size() - 20)) << AniError::Truncated;
    QTest::newRow("frame chunk overrunning its list")
        << riff(anih(1, 1, 1) + chunk("LIST", "fram" + chunk("icon", cur).chopped(4)))
        << AniError::Truncated;
    QTest::newRow("no header") << riff(frameList({cur})) << AniError::MissingHeader;
    QTest::newRow("short header") << riff(chunk("anih", dwords({36, 1, 1})) + frameList({cur}))
                                  << AniError::BadHeader;
    QTest::newRow("zero frames") << riff(anih(0, 0, 1) + frameList({})) << AniError::MissingFrames;
    QTest::newRow("no frame list") << riff(anih(1, 1, 1)) << AniError::MissingFrames;
    QTest::newRow("header claims more frames")
        << riff(anih(5, 5, 1) + frameList({cur, cur})) << AniError::FrameCountMismatch;
    QTest::newRow("header claims fewer frames")
        << riff(anih(1, 1, 1) + frameList({cur, cur})) << AniError::FrameCountMismatch;
    QTest::newRow("frame count over the cap")
        << riff(anih(100000, 1, 1) + frameList({cur})) << AniError::TooLarge;
    QTest::newRow("step count over the cap")
        << riff(anih(1, 0xffffffff, 1, 3) + frameList({cur})) << AniError::TooLarge;
    QTest::newRow("seq index out of range")
        << riff(anih(2, 3, 1, 3) + chunk("seq ", dwords({0, 1, 2})) + frameList({cur, cur}))
        << AniError::BadSequence;
    QTest::newRow("seq shorter than the steps")
        << riff(anih(2, 3, 1, 3) + chunk("seq ", dwords({0, 1})) + frameList({cur, cur}))
        << AniError::BadSequence;
    QTest::newRow("rate shorter than the steps")
        << riff(anih(2, 2, 1) + chunk("rate", dwords({4})) + frameList({cur, cur}))
        << AniError::BadSequence;
    QTest::newRow("frame that is not an icon")
        << riff(anih(1, 1, 1) + frameList({"not an icon at all"})) << AniError::BadFrame;
    QTest::newRow("icon with no images")
        << riff(anih(1, 1, 1) + frameList({iconFile(2, {})})) << AniError::BadFrame;
    QTest::newRow("icon directory overrunning the frame")
        << riff(anih(1, 1, 1) + frameList({withU32(cur, 2, 0x00090002)})) << AniError::BadFrame;
    QTest::newRow("image offset past the frame")
        << riff(anih(1, 1, 1) + frameList({withU32(cur, 18, 100000)})) << AniError::BadFrame;
    QTest::newRow("bitmap width 65535")
        << oneFrame(withU32(bitmap, 4, 65535)) << AniError::TooLarge;
    QTest::newRow("bitmap height 65535")
        << oneFrame(withU32(bitmap, 8, 131070)) << AniError::TooLarge;
    QTest::newRow("bitmap width negative")
        << oneFrame(withU32(bitmap, 4, 0xfffffffe)) << AniError::BadFrame;
    QTest::newRow("bitmap header size past the data")
        << oneFrame(withU32(bitmap, 0, 4000)) << AniError::BadFrame;
    QTest::newRow("bitmap wider than its pixels")
        << oneFrame(withU32(bitmap, 4, 40)) << AniError::BadFrame;
    QTest::newRow("bitmap short of its mask") << oneFrame(bitmap.chopped(1)) << AniError::BadFrame;
    QTest::newRow("bitmap without its pixels")
        << oneFrame(bitmap.first(colours)) << AniError::BadFrame;
    QTest::newRow("bitmap cut in its colours")
        << oneFrame(bitmap.first(colours - 2)) << AniError::BadFrame;
    QTest::newRow("more colours than the depth allows")
        << oneFrame(withU32(bitmap, 32, 257)) << AniError::BadFrame;
    QTest::newRow("compressed bitmap") << oneFrame(withU32(bitmap, 16, 1)) << AniError::BadFrame;
    QByteArray sixteenBits = solidDib(2, 24, red);
    sixteenBits[14] = 16;
    QTest::newRow("16-bit bitmap") << oneFrame(sixteenBits) << AniError::BadFrame;
    QImage huge(300, 2, QImage::Format_ARGB32);
    huge.fill(red);
    QTest::newRow("png wider than 256") << oneFrame(pngBytes(huge)) << AniError::TooLarge;
    QImage small(3, 5, QImage::Format_ARGB32);
    small.fill(red);
    QTest::newRow("png cut short") << oneFrame(pngBytes(small).first(40)) << AniError::BadFrame;
    const QByteArray big = iconFile(2, {{solidDib(256, 1, red), 0, 0, 0}});
    QTest::newRow("too many pixels in all")
        << riff(anih(300, 300, 1) + frameList(QList<QByteArray>(300, big))) << AniError::TooLarge;
}

void TstAniCursor::malformed()
{
    QFETCH(QByteArray, file);
    QFETCH(AniError, error);

    const AniResult result = parseAniCursor(file);
    QCOMPARE(result.error, error);
    QVERIFY(!result.cursor);
    QVERIFY(!aniErrorText(result.error).isEmpty());
}

void TstAniCursor::everyPrefixOfAGoodFileFails()
{
    // The frame list comes last, so every cut loses part of a frame.
    const QByteArray file = writeAniCursor({patternImage(red), patternImage(blue)}, {4, 4}, {3, 9});
    QVERIFY(parseAniCursor(file).cursor);
    for (qsizetype length = 0; length < file.size(); ++length) {
        const AniResult result = parseAniCursor(file.first(length));
        QVERIFY2(result.error != AniError::None, qPrintable(QString::number(length)));
        QVERIFY(!result.cursor);
    }
}

void TstAniCursor::damagedBytesNeverBreakTheResult_data()
{
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("written file") << writeAniCursor({patternImage(green)}, {1, 1}, {2, 5});
    QTest::newRow("mixed depths") << riff(
        chunk("junk", "abc", false) + anih(3, 4, 2, 3) + chunk("rate", dwords({1, 2, 3, 4})) +
        chunk("seq ", dwords({2, 1, 0, 1})) +
        frameList({iconFile(1, {{solidDib(3, 1, red), 3, 1, 1}, {solidDib(2, 4, blue), 2, 1, 4}}),
                   iconFile(2, {{solidDib(3, 24, green), 3, 1, 2}}),
                   iconFile(2, {{solidDib(2, 32, red), 2, 0, 1}})}));
}

void TstAniCursor::damagedBytesNeverBreakTheResult()
{
    QFETCH(QByteArray, file);

    for (qsizetype at = 0; at < file.size(); ++at) {
        for (char value : {'\0', '\x7f', '\xff'}) {
            QByteArray damaged = file;
            damaged[at] = value;
            verifyConsistent(parseAniCursor(damaged));
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("byte %1 set to %2").arg(at).arg(int(value))));
        }
    }
}

void TstAniCursor::animatorShowsFirstStepAndAdvances()
{
    QWidget widget;
    AnimatedCursor animator(twoFrameCursor(), &widget);
    QElapsedTimer clock;
    clock.start();
    animator.start();
    QCOMPARE(animator.currentStep(), 0);
    QCOMPARE(widget.cursor().pixmap().toImage().pixel(0, 0), blue);
    QCOMPARE(widget.cursor().hotSpot(), QPoint(5, 6));

    QTRY_COMPARE_WITH_TIMEOUT(animator.currentStep(), 1, 2000);
    QVERIFY(clock.elapsed() >= 3 * 1000 / 60);
    QCOMPARE(widget.cursor().pixmap().toImage().pixel(0, 0), red);
    QCOMPARE(widget.cursor().hotSpot(), QPoint(1, 2));
    QCOMPARE(animator.currentCursor().hotSpot(), QPoint(1, 2));
    QTRY_COMPARE_WITH_TIMEOUT(animator.currentStep(), 0, 2000);
}

void TstAniCursor::animatorStopHoldsTheStep()
{
    QWidget widget;
    AnimatedCursor animator(twoFrameCursor(), &widget);
    animator.start();
    animator.stop();
    QTest::qWait(200);
    QCOMPARE(animator.currentStep(), 0);
    QCOMPARE(widget.cursor().hotSpot(), QPoint(5, 6));
}

void TstAniCursor::animatorOutlivesItsWidget()
{
    auto *widget = new QWidget;
    AnimatedCursor animator(twoFrameCursor(), widget);
    animator.start();
    delete widget;
    QTRY_COMPARE_WITH_TIMEOUT(animator.currentStep(), 1, 2000);
    QCOMPARE(animator.currentCursor().hotSpot(), QPoint(1, 2));
}

QTEST_MAIN(TstAniCursor)
#include "tst_ani_cursor.moc"
