#include "media/ani_cursor.h"
#include "tools/ani_writer.h"

#include <QBuffer>
#include <QTest>

namespace
{

const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);

// Little-endian 32-bit words, or 16-bit ones with width 2.
QByteArray le(std::initializer_list<quint32> values, int width = 4)
{
    QByteArray out;
    for (quint32 value : values)
        for (int i = 0; i < width; ++i)
            out += char(value >> (8 * i));
    return out;
}

QByteArray chunk(const char *id, const QByteArray &body, bool pad = true)
{
    return QByteArray(id, 4) + le({quint32(body.size())}) + body +
           QByteArray(pad ? body.size() % 2 : 0, '\0');
}

// A cursor showing each image once, for a jiffy, each in a cursor file with its hotspot at 0,0.
QByteArray aniFile(const QList<QByteArray> &images)
{
    QByteArray frames = "fram";
    for (const QByteArray &image : images)
        frames +=
            chunk("icon", le({0, 2, 1, 0, 0, 0, 0}, 2) + le({quint32(image.size()), 22}) + image);
    const quint32 count = quint32(images.size());
    return chunk("RIFF", "ACON" + chunk("anih", le({36, count, count, 0, 0, 0, 0, 1, 1})) +
                             chunk("LIST", frames));
}

// An icon bitmap from hex rows, colours then mask (a set bit is clear), each bottom row first.
QByteArray dib(int width, int height, int bits, const QList<QRgb> &palette, const char *rows)
{
    QByteArray out =
        le({40, quint32(width), quint32(height * 2)}) + le({1, quint32(bits)}, 2) +
        le({0, 0, 0, 0, bits <= 8 && palette.size() == 1 << bits ? 0 : quint32(palette.size()), 0});
    for (QRgb c : palette)
        out += le({c & 0xffffff});
    return out + QByteArray::fromHex(rows);
}

QByteArray png(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(qRgba(10, 20, 30, 40));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

// Solid on top, clear and half transparent below: flipped rows and lost alpha show up.
QImage patternImage(QRgb colour)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    for (int i = 512; i < 1024; ++i)
        image.setPixel(i % 32, i / 32, i % 32 < 16 ? 0 : (colour & 0xffffff) | 0x80000000);
    return image;
}

// What a parse gave, in one line: the error, or the frame count, each step as frame:jiffies, and
// the first frame's size, hotspot and pixels row by row, a run of one colour as colour*count.
QString summary(const AniResult &result)
{
    if (!result.cursor)
        return aniErrorText(result.error);
    QString text = QStringLiteral("%1 frames, steps").arg(result.cursor->frames.size());
    for (const AniStep &step : result.cursor->steps)
        text += QStringLiteral(" %1:%2").arg(step.frame).arg(step.jiffies);
    const auto &[image, at] = result.cursor->frames.front();
    text += QString::asprintf(", %dx%d at %d,%d:", image.width(), image.height(), at.x(), at.y());
    QList<QRgb> pixels;
    for (int i = 0; i < image.width() * image.height(); ++i)
        pixels << image.pixel(i % image.width(), i / image.width());
    for (qsizetype i = 0, run = 1; i < pixels.size(); i += run, run = 1) {
        while (i + run < pixels.size() && pixels[i + run] == pixels[i])
            ++run;
        text += QString::asprintf(run > 1 ? " %08x*%d" : " %08x", pixels[i], int(run));
    }
    return text;
}

} // namespace

class TstAniCursor : public QObject
{
    Q_OBJECT

private slots:
    void writerRoundTrip();
    void parse_data();
    void parse();
};

void TstAniCursor::writerRoundTrip()
{
    // Step i shows frame i modulo the frame count, for its own delay.
    const std::vector<QImage> images = {patternImage(red), patternImage(blue)};
    const QByteArray file = writeAniCursor(images, {3, 20}, {1, 30, 7});
    const AniResult result = parseAniCursor(file);
    const QString start = QStringLiteral(
        "2 frames, steps 0:1 1:30 0:7, 32x32 at 3,20: ffff0000*512 00000000*16 80ff0000*16 ");
    QCOMPARE(summary(result).left(start.size()), start);
    QCOMPARE(result.cursor->frames.back().image, patternImage(blue));
    // The frame list comes last, so every cut loses part of a frame.
    for (qsizetype length = 0; length < file.size(); ++length) {
        const AniResult cut = parseAniCursor(file.first(length));
        QVERIFY2(!cut.cursor && cut.error != AniError::None, qPrintable(QString::number(length)));
    }
}

void TstAniCursor::parse_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    const auto good = [](const char *name, const QByteArray &file, const char *expected) {
        QTest::newRow(name) << file << QString::fromLatin1(expected);
    };
    // A cursor of one bitmap frame, expected to show these pixels.
    const auto bitmap = [](const char *name, int width, int height, int bits,
                           const QList<QRgb> &palette, const char *rows, const char *pixels) {
        QTest::newRow(name) << aniFile({dib(width, height, bits, palette, rows)})
                            << QString::asprintf("1 frames, steps 0:1, %dx%d at 0,0: %s", width,
                                                 height, pixels);
    };
    const auto bad = [](const char *name, const QByteArray &file, AniError error) {
        QTest::newRow(name) << file << aniErrorText(error);
    };
    using E = AniError;
    // Two red frames, their hotspot at 4,20, shown for 3 and for 9 jiffies.
    QImage dot(1, 1, QImage::Format_ARGB32);
    dot.fill(red);
    const QByteArray base = writeAniCursor({dot, dot}, {4, 20}, {3, 9});
    const auto edited = [&](qsizetype at, qsizetype length, const QByteArray &bytes) {
        return QByteArray(base).replace(at, length, bytes);
    };
    const auto patched = [&](const char *tag, int offset, quint32 value) {
        return edited(base.indexOf(tag) + 8 + offset, 4, le({value}));
    };
    const char *written = "2 frames, steps 0:3 1:9, 32x32 at 4,20: ffff0000*1024";

    good("odd chunk padded", chunk("RIFF", "ACON" + chunk("junk", "abc") + base.mid(12)), written);
    good("odd chunk unpadded", chunk("RIFF", "ACON" + chunk("junk", "abc", false) + base.mid(12)),
         written);
    good("unknown chunks in place of rate and seq",
         QByteArray(base).replace("rate", "xate").replace("seq ", "xeq "),
         "2 frames, steps 0:3 1:3, 32x32 at 4,20: ffff0000*1024");
    good("icon frame uses its centre", patched("icon", 2, 0x10001),
         "2 frames, steps 0:3 1:9, 32x32 at 16,16: ffff0000*1024");
    good("png frame", aniFile({png(3, 5)}), "1 frames, steps 0:1, 3x5 at 0,0: 280a141e*15");
    bitmap("1-bit row across a byte", 9, 1, 1, {black, white}, "98800000 00800000",
           "ffffffff ff000000*2 ffffffff*2 ff000000*3 00000000");
    bitmap("4-bit odd width, short palette", 3, 2, 4, {red, white, blue},
           "0020000021000000 0000000040000000", "ff0000ff 00000000 ffff0000*3 ff0000ff");
    bitmap("8-bit rows bottom up, index past the palette black", 2, 2, 8, {red, white},
           "0200000000010000 0000000000000000", "ffff0000 ffffffff ff000000 ffff0000");
    bitmap("24-bit padded rows with mask", 3, 2, 24, {},
           "563412214365efcdab0000000000ff00ff00ff0000000000 8000000000000000",
           "ffff0000 ff00ff00 ff0000ff 00000000 ff654321 ffabcdef");
    bitmap("32-bit without alpha uses mask", 2, 1, 32, {}, "0000ff0000ff0000 40000000",
           "ffff0000 00000000");
    bitmap("32-bit without a mask keeps alpha", 2, 1, 32, {}, "0000ff40ff0000c0",
           "40ff0000 c00000ff");

    bad("not RIFF ACON", edited(8, 4, "WAVE"), E::NotRiffAcon);
    bad("RIFF size cutting the frames", edited(4, 4, le({100})), E::Truncated);
    bad("no header", edited(12, 4, "xnih"), E::MissingHeader);
    bad("short header", edited(12, 44, chunk("anih", le({36, 2, 2}))), E::BadHeader);
    bad("zero frames", patched("anih", 4, 0), E::MissingFrames);
    bad("header claims more frames", patched("anih", 4, 3), E::FrameCountMismatch);
    bad("header claims fewer frames", patched("anih", 4, 1), E::FrameCountMismatch);
    bad("frame count over the cap", patched("anih", 4, 100000), E::TooLarge);
    bad("step count over the cap", patched("anih", 8, 100000), E::TooLarge);
    bad("seq index out of range", patched("seq ", 4, 2), E::BadSequence);
    bad("rate shorter than the steps", edited(base.indexOf("rate"), 16, chunk("rate", le({3}))),
        E::BadSequence);
    bad("bitmap width 65535", patched("icon", 26, 65535), E::TooLarge);
    bad("png wider than 256", aniFile({png(300, 2)}), E::TooLarge);
    bad("pixels over the cap", aniFile(QList<QByteArray>(300, png(256, 256))), E::TooLarge);
    bad("bitmap header size past the data", patched("icon", 22, 100000), E::BadFrame);
    bad("bitmap wider than its pixels", patched("icon", 26, 40), E::BadFrame);
    bad("compressed bitmap", patched("icon", 38, 1), E::BadFrame);
    bad("16-bit bitmap", patched("icon", 34, 0x100001), E::BadFrame);
    bad("bitmap short of its mask", aniFile({dib(1, 1, 8, {red}, "00000000 00")}), E::BadFrame);
}

void TstAniCursor::parse()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    QCOMPARE(summary(parseAniCursor(file)), expected);
    // With any byte set to 0, 0x7f or 0xff the result is an error or a cursor the animator can play
    // as it is. PNG frames are left to libpng, which complains on stderr about every damaged one.
    const bool sweep = file.size() < 10000 && !file.contains("\x89PNG");
    for (qsizetype i = 0; sweep && i < file.size() * 3; ++i) {
        QByteArray damaged = file;
        damaged[i / 3] = "\0\x7f\xff"[i % 3];
        const AniResult r = parseAniCursor(damaged);
        bool ok = r.cursor ? r.error == AniError::None && !r.cursor->steps.empty()
                           : r.error != AniError::None;
        for (const AniStep &s : r.cursor ? r.cursor->steps : std::vector<AniStep>())
            ok = ok && s.frame >= 0 && s.frame < int(r.cursor->frames.size()) && s.jiffies >= 1;
        for (const AniFrame &f : r.cursor ? r.cursor->frames : std::vector<AniFrame>())
            ok = ok && f.image.width() <= 256 && f.image.height() <= 256 &&
                 f.image.rect().contains(f.hotspot);
        if (!ok)
            QFAIL(qPrintable(QStringLiteral("byte %1 set to %2").arg(i / 3).arg(int(file[i / 3]))));
    }
}

QTEST_MAIN(TstAniCursor)
#include "tst_ani_cursor.moc"
