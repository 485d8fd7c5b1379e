// The readers of files anyone can drop into img/: every malformed cursor and wave file is
// rejected for its own reason, what loads is exactly what the file holds, and a bitmap shorter
// than its header promises is told apart.
#include "logic/ani_cursor.h"
#include "logic/bitmap_header.h"
#include "logic/wave.h"
#include "riff_bytes.h"
#include "tools/ani_writer.h"

#include <QBuffer>
#include <QTest>

namespace
{

const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);

// A cursor of the given icon chunks, each shown once for a jiffy, with these header flags.
QByteArray aniOf(const QList<QByteArray> &icons, quint32 flags = 1)
{
    QByteArray frames = "fram";
    for (const QByteArray &icon : icons)
        frames += chunk("icon", icon);
    const quint32 count = quint32(icons.size());
    return chunk("RIFF", "ACON" + chunk("anih", le({36, count, count, 0, 0, 0, 0, 1, flags})) +
                             chunk("LIST", frames));
}

// A cursor file of one image, its hotspot at 0,0.
QByteArray cur(const QByteArray &image)
{
    return le({0, 2, 1, 0, 0, 0, 0}, 2) + le({quint32(image.size()), 22}) + image;
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
    const auto *pixels = reinterpret_cast<const QRgb *>(image.constBits());
    for (qsizetype i = 0, run = 1, size = image.width() * image.height(); i < size;
         i += run, run = 1) {
        while (i + run < size && pixels[i + run] == pixels[i])
            ++run;
        text += QString::asprintf(run > 1 ? " %08x*%d" : " %08x", pixels[i], int(run));
    }
    return text;
}

// A bitmap file of the given header size (40, or 12 for the old OS/2 header) and pixel bytes.
QByteArray bmp(quint32 headerSize, quint32 width, quint32 height, quint32 bits,
               const QByteArray &pixels, quint32 compression = 0)
{
    const QByteArray info = headerSize == 12
                                ? le({12}) + le({width, height, 1, bits}, 2)
                                : le({40, width, height}) + le({1, bits}, 2) +
                                      le({compression, quint32(pixels.size()), 0, 0, 0, 0});
    const quint32 offset = 14 + quint32(info.size());
    return "BM" + le({offset + quint32(pixels.size()), 0, offset}) + info + pixels;
}

} // namespace

class TestReaders : public QObject
{
    Q_OBJECT

private slots:
    void everyCursorCutIsRejected();
    void cursor_data();
    void cursor();
    void waveFile_data();
    void waveFile();
    void bitmapLength_data();
    void bitmapLength();
};

void TestReaders::everyCursorCutIsRejected()
{
    // The frame list comes last, so every cut loses part of a frame.
    const QByteArray file = writeAniCursor({patternImage(red), patternImage(blue)}, {3, 20}, {});
    for (qsizetype length = 0; length < file.size(); ++length) {
        const AniResult cut = parseAniCursor(file.first(length));
        QVERIFY2(!cut.cursor && cut.error != AniError::None, qPrintable(QString::number(length)));
    }
}

void TestReaders::cursor_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    const auto good = [](const char *name, const QByteArray &file, const char *expected) {
        QTest::newRow(name) << file << QString::fromLatin1(expected);
    };
    // A cursor of one bitmap frame, expected to show these pixels.
    const auto bitmap = [](const char *name, int w, int h, int bits, const QList<QRgb> &colours,
                           const char *rows, const char *pixels) {
        QTest::newRow(name) << aniOf({cur(dib(w, h, bits, colours, rows))})
                            << QString::asprintf("1 frames, steps 0:1, %dx%d at 0,0: %s", w, h,
                                                 pixels);
    };
    const auto bad = [](const char *name, const QByteArray &file, AniError error) {
        QTest::newRow(name) << file << aniErrorText(error);
    };
    using E = AniError;
    // A red and a blue frame, their hotspot at 4,20, shown for 3 and for 9 jiffies, each solid on
    // top and clear, then half transparent, below.
    const QByteArray base =
        writeAniCursor({patternImage(red), patternImage(blue)}, {4, 20}, {3, 9});
    const auto edited = [&](qsizetype at, qsizetype length, const QByteArray &bytes) {
        return QByteArray(base).replace(at, length, bytes);
    };
    const auto patched = [&](const char *tag, int offset, quint32 value) {
        return edited(base.indexOf(tag) + 8 + offset, 4, le({value}));
    };
    const char *written =
        "2 frames, steps 0:3 1:9, 32x32 at 4,20: ffff0000*512 00000000*16 80ff0000*16 00000000*16";
    // Where the bodies of the rate chunk and of the first icon chunk start.
    const qsizetype rate = base.indexOf("rate") + 8, icon = base.indexOf("icon") + 8;
    const QByteArray noSeq = QByteArray(base).replace("seq ", "xeq ");
    const auto riff = [](const QByteArray &chunks) { return chunk("RIFF", "ACON" + chunks); };

    // Files that load, some only as their writers meant them.
    good("RIFF size 0, as old writers leave it", edited(4, 4, le({0})), written);
    good("RIFF size past the end", edited(4, 4, le({quint32(base.size())})), written);
    good("RIFF size 0xffffffff", edited(4, 4, le({0xffffffff})), written);
    good("37-byte header, padded", riff(chunk("anih", base.mid(20, 37)) + base.mid(56)), written);
    good("header size field 40", patched("anih", 0, 40), written);
    good("second header ignored", riff(base.mid(12) + chunk("anih", le({36, 5, 7}))), written);
    good("odd chunk padded", riff(chunk("junk", "abc") + base.mid(12)), written);
    good("odd chunk unpadded", riff(chunk("junk", "abc", false) + base.mid(12)), written);
    good("no rate, no seq", QByteArray(noSeq).replace("rate", "xate"), "2 frames, steps 0:3 1:3,");
    good("5 steps, no seq", QByteArray(noSeq).replace(28, 4, le({5})), "2 frames, steps 0:3 1:9,");
    good("rate 0 and max", edited(rate, 8, le({0, 0xffffffff})), "2 frames, steps 0:1 1:216000,");
    good("ico centre", patched("icon", 2, 0x10001), "2 frames, steps 0:3 1:9, 32x32 at 16,16:");
    good("png frame", aniOf({cur(png(3, 5))}), "1 frames, steps 0:1, 3x5 at 0,0: 280a141e*15");
    bitmap("1-bit row across a byte", 9, 1, 1, {black, white}, "98800000 00800000",
           "ffffffff ff000000*2 ffffffff*2 ff000000*3 00000000");
    bitmap("4-bit odd width, short palette", 3, 2, 4, {red, white, blue},
           "0020000021000000 0000000040000000", "ff0000ff 00000000 ffff0000*3 ff0000ff");
    bitmap("8-bit rows bottom up, index past the palette black", 2, 2, 8, {red, white},
           "0200000000010000 0000000000000000", "ffff0000 ffffffff ff000000 ffff0000");
    bitmap("24-bit padded rows with mask", 3, 2, 24, {},
           "563412214365efcdab0000000000ff00ff00ff0000000000 8000000000000000",
           "ffff0000 ff00ff00 ff0000ff 00000000 ff654321 ffabcdef");
    bitmap("32-bit, no alpha", 2, 1, 32, {}, "0000ff0000ff0000 40000000", "ffff0000 00000000");
    bitmap("32-bit alpha, no mask", 2, 1, 32, {}, "0000ff40ff0000c0", "40ff0000 c00000ff");

    // Files that are rejected, each for its own reason.
    bad("empty", {}, E::NotRiffAcon);
    bad("11 bytes", base.first(11), E::Truncated);
    bad("not RIFF ACON", edited(8, 4, "WAVE"), E::NotRiffAcon);
    bad("RIFF size cutting the frames", edited(4, 4, le({100})), E::Truncated);
    bad("no header", edited(12, 4, "xnih"), E::MissingHeader);
    bad("header size 0", riff(chunk("anih", {}) + base.mid(56)), E::BadHeader);
    bad("header size 35", riff(chunk("anih", base.mid(20, 35)) + base.mid(56)), E::BadHeader);
    bad("header size 0xffffffff", edited(16, 4, le({0xffffffff})), E::Truncated);
    bad("zero frames", patched("anih", 4, 0), E::MissingFrames);
    bad("header claims more frames", patched("anih", 4, 3), E::FrameCountMismatch);
    bad("header claims fewer frames", patched("anih", 4, 1), E::FrameCountMismatch);
    bad("frame count 0xffffffff", patched("anih", 4, 0xffffffff), E::TooLarge);
    bad("step count 2^31", patched("anih", 8, 0x80000000), E::TooLarge);
    bad("more steps than seq entries", patched("anih", 8, 3), E::BadSequence);
    bad("seq index out of range", patched("seq ", 4, 2), E::BadSequence);
    bad("rate too short", edited(rate - 8, 16, chunk("rate", le({3}))), E::BadSequence);
    bad("seq too short", edited(rate + 8, 16, chunk("seq ", le({0}))), E::BadSequence);
    bad("nested list", riff(base.mid(12, icon - 32) + chunk("LIST", "fram" + base.mid(icon - 20))),
        E::MissingFrames);
    bad("icon chunk of size 0", aniOf({{}}), E::BadFrame);
    bad("icon chunk past its list", patched("icon", -4, 100000), E::Truncated);
    bad("raw bitmap frames", aniOf({dib(1, 1, 8, {red}, "00000000 00000000")}, 0), E::BadFrame);
    bad("icon count 0", edited(icon + 4, 2, le({0}, 2)), E::BadFrame);
    bad("icon count 65535", edited(icon + 4, 2, le({65535}, 2)), E::BadFrame);
    bad("icon offset past its chunk", patched("icon", 18, 5000), E::BadFrame);
    bad("bitmap 65535x65535", edited(icon + 26, 8, le({65535, 131070})), E::TooLarge);
    bad("bitmap height 0", patched("icon", 30, 0), E::BadFrame);
    bad("png wider than 256", aniOf({cur(png(300, 2))}), E::TooLarge);
    bad("pixels over the cap", aniOf(QList<QByteArray>(300, cur(png(256, 256)))), E::TooLarge);
    bad("bitmap header size past the data", patched("icon", 22, 100000), E::BadFrame);
    bad("bitmap wider than its pixels", patched("icon", 26, 40), E::BadFrame);
    bad("compressed bitmap", patched("icon", 38, 1), E::BadFrame);
    bad("3-bit bitmap", patched("icon", 34, 0x30001), E::BadFrame);
    bad("bitmap short of its mask", aniOf({cur(dib(1, 1, 8, {red}, "00000000 00"))}), E::BadFrame);
}

// Each row names the error, or the start of what the cursor holds.
void TestReaders::cursor()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    QCOMPARE(summary(parseAniCursor(file)).left(expected.size()), expected);
}

// Each row gives the bytes of samples read, or -1 where the file is rejected.
void TestReaders::waveFile_data()
{
    const QByteArray good = wave(1, 16, QByteArray(400, '\1'));
    auto patched = [&](int at, const QByteArray &bytes) {
        return QByteArray(good).replace(at, bytes.size(), bytes);
    };
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("samples"); // bytes of samples read, or -1 for no wave
    QTest::newRow("16-bit mono") << good << 400;
    QTest::newRow("16-bit stereo") << wave(2, 16, QByteArray(8, 0)) << 8;
    QTest::newRow("8-bit mono") << wave(1, 8, QByteArray(3, 0)) << 3;
    QTest::newRow("one byte of 16-bit sound") << wave(1, 16, "x") << -1;
    QTest::newRow("three bytes of 16-bit sound") << wave(1, 16, "xyz") << -1;
    QTest::newRow("half a stereo frame") << wave(2, 16, "xy") << -1;
    QTest::newRow("no samples") << wave(1, 16, {}) << -1;
    QTest::newRow("compressed") << wave(1, 16, "xy", 2) << -1;
    QTest::newRow("six channels") << wave(6, 16, QByteArray(12, 0)) << -1;
    QTest::newRow("24-bit") << wave(1, 24, QByteArray(3, 0)) << -1;
    QTest::newRow("empty") << QByteArray() << -1;
    QTest::newRow("header only") << good.left(12) << -1;
    QTest::newRow("cut in the samples") << good.left(good.size() - 10) << -1;
    QTest::newRow("not RIFF") << patched(0, "RIFX") << -1;
    QTest::newRow("not WAVE") << patched(8, "AVI ") << -1;
    QTest::newRow("rate too low") << patched(24, le({16})) << -1;
    QTest::newRow("chunk size past the end") << patched(16, le({0xffffffff})) << -1;
    QTest::newRow("data before format")
        << "RIFF" + good.mid(4, 8) + good.mid(36) + good.mid(12, 24) << -1;
    QTest::newRow("unknown chunk first")
        << "RIFF" + good.mid(4, 8) + chunk("LIST", "abc") + good.mid(12) << 400;
}

void TestReaders::waveFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, samples);
    const auto read = readPcmWave(bytes);
    QCOMPARE(read ? int(read->samples.size()) : -1, samples);
    // What Windows' player is given: the samples read, under a header of their own format.
    if (read)
        QCOMPARE(pcmWaveFile(*read), wave(read->channels, read->bytesPerSample * 8, read->samples));
}

void TestReaders::bitmapLength_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("cutShort");
    // 3 by 2 pixels of 24 bits: rows of 9 bytes padded to 12.
    const QByteArray whole = bmp(40, 3, 2, 24, QByteArray(24, '\1'));
    const QByteArray os2 = bmp(12, 3, 2, 24, QByteArray(24, '\1'));
    const QByteArray rle = bmp(40, 3, 2, 8, QByteArray(10, '\1'), 1);
    QTest::newRow("whole") << whole << false;
    QTest::newRow("a byte short") << whole.chopped(1) << true;
    QTest::newRow("rows top down, whole") << bmp(40, 3, quint32(-2), 24, whole.mid(54)) << false;
    QTest::newRow("OS/2 header, whole") << os2 << false;
    QTest::newRow("OS/2 header, a byte short") << os2.chopped(1) << true;
    QTest::newRow("compressed, its size whole") << rle << false;
    QTest::newRow("compressed, a byte short") << rle.chopped(1) << true;
    QTest::newRow("cut inside the header") << whole.first(30) << true;
    QTest::newRow("not a bitmap") << "GIF89a" + QByteArray(40, '\0') << false;
}

void TestReaders::bitmapLength()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, cutShort);
    const QByteArrayView header =
        QByteArrayView(file).first(std::min(file.size(), bitmapHeaderLength));
    QCOMPARE(bitmapCutShort(header, file.size()), cutShort);
}

QTEST_MAIN(TestReaders)
#include "tst_readers.moc"
