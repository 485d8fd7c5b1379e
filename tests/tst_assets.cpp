// Reads every file the game plays or shows, as the game reads it, and checks that it is of the
// right kind and keeps the promises the game and the child rely on.

#include "logic/ani_cursor.h"
#include "logic/wave.h"

#include <QFile>
#include <QImageReader>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <functional>
#include <numeric>

namespace
{

using Fields = QList<qint64>;
const QString root = QStringLiteral(VORLANDI_SOURCE_DIR "/");

QByteArray readAll(const QString &relative)
{
    QFile file(root + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A little-endian field that reads as zero past the end, so a damaged file fails, not crashes.
template <typename T> qint64 le(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<T>(bytes.mid(at, sizeof(T)).leftJustified(sizeof(T), '\0').data());
}

// A sound file's samples as the game reads them: mono 16-bit PCM, or none.
std::vector<qint16> samplesOf(const QString &file)
{
    const auto wave = readPcmWave(readAll(file));
    if (!wave || wave->channels != 1 || wave->bytesPerSample != 2)
        return {};
    std::vector<qint16> samples(std::size_t(wave->samples.size() / 2));
    qFromLittleEndian<qint16>(wave->samples.constData(), qsizetype(samples.size()), samples.data());
    return samples;
}

// Connected areas of sea blue (ocean and globe outline), each as big as a globe.
int countGlobes(QImage image)
{
    // Paints each sea pixel it reaches red, so that it counts once.
    const std::function<int(int, int)> fill = [&](int x, int y) {
        if (!image.valid(x, y) || qBlue(image.pixel(x, y)) - qRed(image.pixel(x, y)) <= 60)
            return 0;
        image.setPixel(x, y, qRgb(255, 0, 0));
        return 1 + fill(x + 1, y) + fill(x - 1, y) + fill(x, y + 1) + fill(x, y - 1);
    };
    int globes = 0;
    for (int i = 0; i < image.width() * image.height(); ++i)
        globes += fill(i % image.width(), i / image.width()) > 200 ? 1 : 0;
    return globes;
}

} // namespace

class TestAssets : public QObject
{
    Q_OBJECT

private slots:
    void sounds_data();
    void sounds();
    void pictures_data();
    void pictures();
    void catCursor();
};

void TestAssets::sounds_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("maxSeconds");
    QTest::addColumn<bool>("number");
    for (int n = 1; n <= 30; ++n)
        QTest::addRow("number %d", n) << QStringLiteral("img/%1.wav").arg(n) << 1.5 << true;
    QTest::newRow("cheer brava") << "img/brava.wav" << 2.0 << false;
    QTest::newRow("cheer brava1") << "img/brava1.wav" << 2.0 << false;
    QTest::newRow("wrong answer") << "img/no.wav" << 1.5 << false;
}

void TestAssets::sounds()
{
    QFETCH(QString, file);
    QFETCH(double, maxSeconds);
    QFETCH(bool, number);
    // Mono 16-bit PCM at 22,050 Hz, which the sound output plays without a codec or a resampler.
    const std::vector<qint16> samples = samplesOf(file);
    QCOMPARE(readPcmWave(readAll(file)).value_or(PcmWave{}).sampleRate, 22050);
    const int rate = 22050;
    QVERIFY(samples.size() > 0.2 * rate && samples.size() < maxSeconds * rate);
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    QVERIFY2(*high < 32000 && *low > -32000, "clipped");
    const auto decibels = [](const std::vector<qint16> &s) {
        return 10 * std::log10(std::inner_product(s.begin(), s.end(), s.begin(), 0.0) /
                               double(s.size()) / (32768.0 * 32768.0));
    };
    QVERIFY2(decibels(samples) > -26, "nearly silent");
    // No number sounds louder than another.
    QVERIFY(!number || std::abs(decibels(samples) - decibels(samplesOf("img/1.wav"))) < 0.75);
    // The sound starts with the click: no dead air (below -40 dBFS) at either end.
    const auto loud = [](qint16 s) { return std::abs(int(s)) > 328; };
    const auto edge = std::size_t(0.05 * rate);
    QVERIFY(std::any_of(samples.begin(), samples.begin() + edge, loud) &&
            std::any_of(samples.end() - edge, samples.end(), loud));
}

void TestAssets::pictures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index"); // of the image within the file
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("depth"); // bits per pixel as stored, where the test reads them
    for (int n = 1; n <= 10; ++n)
        QTest::addRow("terra%d", n)
            << QString("img/terra%1.bmp").arg(n) << 0 << QSize(434, 162) << 24;
    const std::tuple<const char *, int, QSize, int> resources[] = {
        {"puppy.jpg", 0, {80, 53}, 0},       {"bird.gif", 0, {98, 83}, 0},
        {"icons/48.png", 0, {48, 48}, 0},    {"icons/64.png", 0, {64, 64}, 0},
        {"icons/128.png", 0, {128, 128}, 0}, {"icons/256.png", 0, {256, 256}, 0},
        {"vorlandi.ico", 0, {32, 32}, 4},    {"vorlandi.ico", 1, {32, 32}, 8},
        {"next.ico", 0, {32, 32}, 4},        {"next.ico", 1, {16, 16}, 4},
        {"exit.ico", 0, {32, 32}, 4},        {"exit.ico", 1, {16, 16}, 4},
        {"puppy@2x.jpg", 0, {160, 106}, 0},  {"bird@2x.gif", 0, {196, 166}, 0},
        {"vorlandi@2x.ico", 0, {64, 64}, 4}, {"next@2x.ico", 0, {64, 64}, 4},
        {"exit@2x.ico", 0, {64, 64}, 4}};
    for (const auto &[name, index, size, depth] : resources)
        QTest::addRow("%s, image %d", name, index)
            << "app/resources/" + QString(name) << index << size << depth;
}

void TestAssets::pictures()
{
    QFETCH(QString, file);
    QFETCH(int, index);
    QFETCH(QSize, size);
    QFETCH(int, depth);
    QImageReader reader(root + file);
    const QByteArray format = reader.format();
    QCOMPARE(format, file.endsWith(u".jpg") ? "jpeg" : file.section(u'.', -1).toLatin1());
    QVERIFY(index == 0 || reader.jumpToImage(index));
    const QImage image = reader.read();
    QCOMPARE(image.size(), size);
    // All but the number pictures and the photograph leave their corners to the background.
    QCOMPARE(image.hasAlphaChannel() && qAlpha(image.pixel(0, 0)) == 0,
             format != "bmp" && format != "jpeg");
    const QByteArray bytes = readAll(file);
    if (format == "bmp") {
        // Uncompressed, which every reader takes; terra<n> shows n globes.
        QCOMPARE((Fields{le<quint16>(bytes, 28), le<quint32>(bytes, 30)}), (Fields{depth, 0}));
        QCOMPARE(countGlobes(image), QStringView(file).sliced(9).chopped(4).toInt());
    } else if (format == "ico") {
        // An icon, not a cursor, whose directory entry and uncompressed bitmap agree on the depth.
        const qint64 entry = 6 + 16 * index, dib = le<quint32>(bytes, entry + 12);
        QCOMPARE((Fields{le<quint16>(bytes, 2), le<quint8>(bytes, entry + 2),
                         le<quint16>(bytes, entry + 6), le<quint16>(bytes, dib + 14),
                         le<quint32>(bytes, dib + 16)}),
                 (Fields{1, (1 << depth) % 256, depth, depth, 0}));
    } else if (format == "gif") {
        QCOMPARE(reader.loopCount(), 1000);
        for (int frame = 1; frame <= 4; ++frame)
            QVERIFY(reader.nextImageDelay() == 80 && reader.read().isNull() == (frame == 4));
        // GIF89a with a global table of 256 colours. Each frame has its own control block (restore
        // to background, transparent colour 0) and covers the picture with the global colours.
        QVERIFY(bytes.startsWith("GIF89a") && (le<quint8>(bytes, 10) & 0x87) == 0x87);
        const QByteArray frame = QByteArray::fromHex("2c00000000") + bytes.mid(6, 4) + '\0';
        QCOMPARE(bytes.count(QByteArray::fromHex("21f9040908000000")), 4);
        QCOMPARE(bytes.count(frame), 4);
        // The loop count comes before the first frame, and the trailer ends the file.
        QVERIFY(bytes.indexOf("NETSCAPE2.0") < bytes.indexOf(frame) && bytes.endsWith(";"));
    }
}

void TestAssets::catCursor()
{
    const QByteArray bytes = readAll(QStringLiteral("img/cat-d.ani"));
    const AniResult result = parseAniCursor(bytes);
    QVERIFY2(result.cursor, qPrintable(aniErrorText(result.error)));
    const AniCursor &cursor = *result.cursor;
    QVERIFY(cursor.frames.size() >= 4 && cursor.steps.size() >= cursor.frames.size());
    for (const AniStep &step : cursor.steps)
        QVERIFY(step.jiffies >= 2 && step.jiffies <= 30);
    for (const AniFrame &frame : cursor.frames) {
        QCOMPARE(frame.image.size(), QSize(32, 32));
        // The pointer clicks at the tip of the cat's ear, in the top-left corner.
        QCOMPARE(frame.hotspot, QPoint(2, 2));
        QVERIFY(qAlpha(frame.image.pixel(2, 2)) > 0 && qAlpha(frame.image.pixel(0, 31)) == 0);
    }
    QVERIFY2(cursor.frames.back().image != cursor.frames.front().image, "the cursor does not move");
    // Each frame also holds the cat drawn for screens at scales 1.5 and 2.
    for (const int size : {48, 64}) {
        const AniFrame frame = parseAniCursor(bytes, size).cursor->frames.back();
        QCOMPARE(frame.image.size(), QSize(size, size));
        QCOMPARE(frame.hotspot, QPoint(2, 2) * size / 32);
    }
}

QTEST_MAIN(TestAssets)
#include "tst_assets.moc"
