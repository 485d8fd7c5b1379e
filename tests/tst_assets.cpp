// Reads every file the game plays or shows, as the game reads it, and checks that it is of the
// right kind and keeps the promises the game and the child rely on.

#include "media/ani_cursor.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <optional>

namespace
{

QString sourcePath(const QString &relative)
{
    return QStringLiteral(VORLANDI_SOURCE_DIR "/") + relative;
}

QByteArray readAll(const QString &relative)
{
    QFile file(sourcePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 u16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 u32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

struct Wave {
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<qint16> samples;

    double seconds() const { return double(samples.size()) / rate; }
};

// Walks the RIFF chunks as a player does, skipping the ones it does not know.
std::optional<Wave> parseWave(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    Wave wave;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = u32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (body + size > bytes.size())
            return std::nullopt;
        if (id == "fmt " && size >= 16) {
            wave.format = int(u16(bytes, body));
            wave.channels = int(u16(bytes, body + 2));
            wave.rate = int(u32(bytes, body + 4));
            wave.bits = int(u16(bytes, body + 14));
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            for (qsizetype i = 0; i + 1 < size; i += 2)
                wave.samples.push_back(qFromLittleEndian<qint16>(bytes.constData() + body + i));
            return wave;
        }
        at = body + size + (size % 2);
    }
    return std::nullopt;
}

double rms(const std::vector<qint16> &samples)
{
    double sum = 0;
    for (qint16 s : samples)
        sum += double(s) * s;
    return std::sqrt(sum / double(samples.size())) / 32768.0;
}

// Seconds before the first and after the last sample louder than -40 dBFS.
std::pair<double, double> quietEnds(const Wave &wave)
{
    const int threshold = 328;
    const auto loud = [threshold](qint16 s) { return std::abs(int(s)) > threshold; };
    const auto first = std::find_if(wave.samples.begin(), wave.samples.end(), loud);
    const auto last = std::find_if(wave.samples.rbegin(), wave.samples.rend(), loud);
    return {double(first - wave.samples.begin()) / wave.rate,
            double(last - wave.samples.rbegin()) / wave.rate};
}

// Connected areas of sea blue (ocean and globe outline), each as big as a globe.
int countGlobes(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    auto isSea = [&](int x, int y) {
        const QRgb p = image.pixel(x, y);
        return qBlue(p) - qRed(p) > 60;
    };
    std::vector<bool> seen(std::size_t(w * h), false);
    int globes = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (seen[std::size_t(y * w + x)] || !isSea(x, y))
                continue;
            int area = 0;
            std::vector<QPoint> stack = {{x, y}};
            seen[std::size_t(y * w + x)] = true;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                ++area;
                for (const QPoint step :
                     {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint q = p + step;
                    if (q.x() < 0 || q.y() < 0 || q.x() >= w || q.y() >= h)
                        continue;
                    const std::size_t index = std::size_t(q.y() * w + q.x());
                    if (!seen[index] && isSea(q.x(), q.y())) {
                        seen[index] = true;
                        stack.push_back(q);
                    }
                }
            }
            if (area > 200)
                ++globes;
        }
    }
    return globes;
}

int luminance(QRgb p)
{
    return (qRed(p) * 299 + qGreen(p) * 587 + qBlue(p) * 114) / 1000;
}

QRgb over(QRgb p, QRgb background)
{
    const int a = qAlpha(p);
    auto mix = [a](int fg, int bg) { return (fg * a + bg * (255 - a)) / 255; };
    return qRgb(mix(qRed(p), qRed(background)), mix(qGreen(p), qGreen(background)),
                mix(qBlue(p), qBlue(background)));
}

// Share of the silhouette's edge pixels that have, within reach pixels, an opaque pixel standing
// out from the background by a clear step of brightness.
double edgeContrast(const QImage &frame, QRgb background, int reach)
{
    const int w = frame.width();
    const int h = frame.height();
    auto opaque = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && qAlpha(frame.pixel(x, y)) >= 128;
    };
    int edges = 0;
    int visible = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!opaque(x, y) ||
                (opaque(x - 1, y) && opaque(x + 1, y) && opaque(x, y - 1) && opaque(x, y + 1)))
                continue;
            ++edges;
            bool stands = false;
            for (int dy = -reach; dy <= reach && !stands; ++dy) {
                for (int dx = -reach; dx <= reach && !stands; ++dx) {
                    if (opaque(x + dx, y + dy)) {
                        const QRgb seen = over(frame.pixel(x + dx, y + dy), background);
                        stands = std::abs(luminance(seen) - luminance(background)) >= 100;
                    }
                }
            }
            visible += stands ? 1 : 0;
        }
    }
    return edges == 0 ? 0.0 : double(visible) / edges;
}

} // namespace

class TestAssets : public QObject
{
    Q_OBJECT

private slots:
    void sounds_data();
    void sounds();
    void numbersShareLoudness();
    void numberPictures_data();
    void numberPictures();
    void catCursor();
    void birdCartoon();
    void puppyPhotograph();
    void icons_data();
    void icons();
    void desktopIcons();
};

void TestAssets::sounds_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("maxSeconds");
    for (int n = 1; n <= 30; ++n)
        QTest::addRow("number %d", n) << QStringLiteral("img/%1.wav").arg(n) << 1.5;
    QTest::newRow("cheer brava") << QStringLiteral("img/brava.wav") << 2.0;
    QTest::newRow("cheer brava1") << QStringLiteral("img/brava1.wav") << 2.0;
    QTest::newRow("wrong answer") << QStringLiteral("img/no.wav") << 1.5;
}

void TestAssets::sounds()
{
    QFETCH(QString, file);
    QFETCH(double, maxSeconds);

    const std::optional<Wave> wave = parseWave(readAll(file));
    QVERIFY2(wave, qPrintable(file));
    QCOMPARE(wave->format, 1); // PCM, which the sound player plays without a codec
    QCOMPARE(wave->channels, 1);
    QCOMPARE(wave->bits, 16);
    QVERIFY(wave->rate == 22050 || wave->rate == 16000);

    QVERIFY(wave->seconds() > 0.2);
    QVERIFY2(wave->seconds() < maxSeconds, qPrintable(QString::number(wave->seconds())));

    const auto [minSample, maxSample] =
        std::minmax_element(wave->samples.begin(), wave->samples.end());
    QVERIFY2(*maxSample < 32000 && *minSample > -32000, "clipped");
    QVERIFY2(rms(wave->samples) > 0.05, "nearly silent");

    // The sound starts with the click: no dead air at either end.
    const auto [lead, tail] = quietEnds(*wave);
    QVERIFY2(lead < 0.05, qPrintable(QString::number(lead)));
    QVERIFY2(tail < 0.05, qPrintable(QString::number(tail)));
}

void TestAssets::numbersShareLoudness()
{
    std::vector<double> levels;
    for (int n = 1; n <= 30; ++n) {
        const std::optional<Wave> wave = parseWave(readAll(QStringLiteral("img/%1.wav").arg(n)));
        QVERIFY(wave);
        levels.push_back(20 * std::log10(rms(wave->samples)));
    }
    const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
    QVERIFY2(*loudest - *quietest < 1.5,
             qPrintable(QStringLiteral("%1 dB to %2 dB").arg(*quietest).arg(*loudest)));
}

void TestAssets::numberPictures_data()
{
    QTest::addColumn<int>("number");
    for (int n = 1; n <= 10; ++n)
        QTest::addRow("terra%d", n) << n;
}

void TestAssets::numberPictures()
{
    QFETCH(int, number);
    const QString file = QStringLiteral("img/terra%1.bmp").arg(number);
    const QByteArray bytes = readAll(file);
    QVERIFY(bytes.startsWith("BM"));
    QCOMPARE(u16(bytes, 28), 24u); // bits per pixel
    QCOMPARE(u32(bytes, 30), 0u);  // uncompressed

    QImageReader reader(sourcePath(file));
    QCOMPARE(reader.format(), QByteArray("bmp"));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(217, 81));
    QCOMPARE(countGlobes(image), number);
}

void TestAssets::catCursor()
{
    const QByteArray bytes = readAll(QStringLiteral("img/cat-d.ani"));
    const AniResult result = parseAniCursor(bytes);
    QVERIFY2(result.cursor, qPrintable(aniErrorText(result.error)));
    const AniCursor &cursor = *result.cursor;

    // The per-step rates come from their own chunk, not from the header's one rate.
    bool hasRateChunk = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        hasRateChunk |= bytes.mid(at, 4) == "rate";
        const qsizetype size = u32(bytes, at + 4);
        at += 8 + size + (size % 2);
    }
    QVERIFY(hasRateChunk);

    QVERIFY(cursor.frames.size() >= 4);
    QVERIFY(cursor.steps.size() >= cursor.frames.size());
    for (const AniStep &step : cursor.steps)
        QVERIFY(step.jiffies >= 2 && step.jiffies <= 30);

    const QImage first = cursor.frames.front().image;
    bool framesDiffer = false;
    for (const AniFrame &frame : cursor.frames) {
        QCOMPARE(frame.image.size(), QSize(32, 32));
        // The pointer clicks at the tip of the cat's ear, in the top-left corner.
        QCOMPARE(frame.hotspot, QPoint(2, 2));
        QVERIFY(qAlpha(frame.image.pixel(frame.hotspot)) > 0);
        QVERIFY(qAlpha(frame.image.pixel(0, 31)) == 0);
        // Crisp on any desktop: the outermost pixels show on a dark one, and an outline right
        // inside them on a light one.
        QVERIFY(edgeContrast(frame.image, qRgb(0, 0, 0), 0) > 0.97);
        QVERIFY(edgeContrast(frame.image, qRgb(255, 255, 255), 2) > 0.97);
        framesDiffer |= frame.image != first;
    }
    QVERIFY2(framesDiffer, "the cursor does not move");
}

void TestAssets::birdCartoon()
{
    const QByteArray gif = readAll(QStringLiteral("app/resources/bird.gif"));
    QVERIFY(gif.size() > 13 + 768);
    QCOMPARE(gif.left(6), QByteArray("GIF89a"));
    QCOMPARE(u16(gif, 6), 98u);
    QCOMPARE(u16(gif, 8), 83u);
    const auto screenFlags = quint8(gif[10]);
    QVERIFY(screenFlags & 0x80);          // global colour table present
    QCOMPARE(screenFlags & 0x07, 7);      // of 2^(7+1) = 256 entries
    QCOMPARE(quint8(gif[11]), quint8(0)); // background colour index

    int frames = 0;
    int controls = 0;
    bool looping = false;
    qsizetype at = 13 + 3 * 256;
    auto subBlocks = [&](qsizetype from) {
        QList<QByteArray> blocks;
        while (from < gif.size() && quint8(gif[from]) != 0) {
            blocks.append(gif.mid(from + 1, quint8(gif[from])));
            from += 1 + quint8(gif[from]);
        }
        return std::pair(blocks, from + 1);
    };
    while (at < gif.size() && quint8(gif[at]) != 0x3b) {
        const auto introducer = quint8(gif[at]);
        if (introducer == 0x21) {
            const auto label = quint8(gif[at + 1]);
            const auto [blocks, next] = subBlocks(at + 2);
            if (label == 0xff) {
                QCOMPARE(frames, 0); // the loop count comes before the first frame
                QCOMPARE(blocks.value(0), QByteArray("NETSCAPE2.0"));
                QCOMPARE(blocks.value(1), QByteArray::fromHex("01e803")); // loop 1000
                looping = true;
            } else if (label == 0xf9) {
                const QByteArray control = blocks.value(0);
                QCOMPARE(control.size(), 4);
                QCOMPARE((quint8(control[0]) >> 2) & 0x07, 2); // restore to background
                QVERIFY(quint8(control[0]) & 0x01);            // has a transparent colour
                QCOMPARE(u16(control, 1), 8u);                 // 8 hundredths of a second
                QCOMPARE(quint8(control[3]), quint8(0));       // transparent index
                ++controls;
            }
            at = next;
        } else if (introducer == 0x2c) {
            QCOMPARE(controls, frames + 1); // each frame has its own control block
            QCOMPARE(u16(gif, at + 1), 0u);
            QCOMPARE(u16(gif, at + 3), 0u);
            QCOMPARE(u16(gif, at + 5), 98u);
            QCOMPARE(u16(gif, at + 7), 83u);
            QCOMPARE(quint8(gif[at + 9]) & 0xc0, 0); // no local table, not interlaced
            at = subBlocks(at + 11).second;
            ++frames;
        } else {
            QFAIL(qPrintable(QStringLiteral("unexpected block 0x%1").arg(introducer, 0, 16)));
        }
    }
    QVERIFY(at < gif.size()); // ends with the trailer
    QVERIFY(looping);
    QCOMPARE(frames, 4);

    // The window shows the first frame as a still picture.
    QImageReader reader(sourcePath(QStringLiteral("app/resources/bird.gif")));
    const QImage still = reader.read();
    QVERIFY2(!still.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(still.size(), QSize(98, 83));
    QVERIFY(still.hasAlphaChannel());
    QCOMPARE(qAlpha(still.pixel(0, 0)), 0);
}

void TestAssets::puppyPhotograph()
{
    QImageReader reader(sourcePath(QStringLiteral("app/resources/puppy.jpg")));
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(80, 53));
}

void TestAssets::icons_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<QList<int>>("depths");
    QTest::newRow("window icon") << QStringLiteral("app/resources/vorlandi.ico")
                                 << QList<QSize>{{32, 32}, {32, 32}} << QList<int>{4, 8};
    QTest::newRow("next button") << QStringLiteral("app/resources/next.ico")
                                 << QList<QSize>{{32, 32}, {16, 16}} << QList<int>{4, 4};
    QTest::newRow("exit button") << QStringLiteral("app/resources/exit.ico")
                                 << QList<QSize>{{32, 32}, {16, 16}} << QList<int>{4, 4};
}

void TestAssets::icons()
{
    QFETCH(QString, file);
    QFETCH(QList<QSize>, sizes);
    QFETCH(QList<int>, depths);

    const QByteArray ico = readAll(file);
    QVERIFY(ico.size() > 6);
    QCOMPARE(u16(ico, 0), 0u);
    QCOMPARE(u16(ico, 2), 1u); // icon, not cursor
    QCOMPARE(qsizetype(u16(ico, 4)), sizes.size());

    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const qsizetype entry = 6 + 16 * i;
        const int colours = 1 << depths[i];
        QCOMPARE(int(quint8(ico[entry])), sizes[i].width());
        QCOMPARE(int(quint8(ico[entry + 1])), sizes[i].height());
        QCOMPARE(int(quint8(ico[entry + 2])), colours == 256 ? 0 : colours);
        QCOMPARE(int(u16(ico, entry + 6)), depths[i]);

        const qsizetype dib = u32(ico, entry + 12);
        QVERIFY(dib + 40 <= ico.size());
        QCOMPARE(u32(ico, dib), 40u);
        QCOMPARE(int(u32(ico, dib + 4)), sizes[i].width());
        QCOMPARE(int(u32(ico, dib + 8)), 2 * sizes[i].height()); // colours and mask
        QCOMPARE(int(u16(ico, dib + 14)), depths[i]);
        QCOMPARE(u32(ico, dib + 16), 0u); // uncompressed
        const int xorStride = (sizes[i].width() * depths[i] + 31) / 32 * 4;
        const int andStride = (sizes[i].width() + 31) / 32 * 4;
        QCOMPARE(qsizetype(u32(ico, entry + 8)),
                 qsizetype(40 + 4 * colours + (xorStride + andStride) * sizes[i].height()));
    }

    QImageReader reader(sourcePath(file));
    QCOMPARE(reader.imageCount(), int(sizes.size()));
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        QVERIFY(reader.jumpToImage(int(i)));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), sizes[i]);
        // Round icons and the slate leave their corners to the background.
        QCOMPARE(qAlpha(image.convertToFormat(QImage::Format_ARGB32).pixel(0, 0)), 0);
    }
}

void TestAssets::desktopIcons()
{
    for (int size : {48, 64, 128, 256}) {
        const QImage image(sourcePath(QStringLiteral("app/resources/icons/%1.png").arg(size)));
        QVERIFY2(!image.isNull(), qPrintable(QString::number(size)));
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY(image.hasAlphaChannel());
    }
}

QTEST_MAIN(TestAssets)
#include "tst_assets.moc"
