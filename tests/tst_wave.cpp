// The wave reader accepts only what the sound output can play to its end.
#include "media/wave.h"

#include <QTest>
#include <QtEndian>

namespace
{

// A PCM wave file: a "fmt " chunk and a "data" chunk of the given bytes.
QByteArray wave(quint16 channels, quint16 bits, const QByteArray &data, quint16 tag = 1)
{
    auto le16 = [](quint16 v) {
        v = qToLittleEndian(v);
        return QByteArray(reinterpret_cast<const char *>(&v), 2);
    };
    auto le32 = [](quint32 v) {
        v = qToLittleEndian(v);
        return QByteArray(reinterpret_cast<const char *>(&v), 4);
    };
    const quint32 rate = 22050;
    QByteArray body = "WAVEfmt " + le32(16) + le16(tag) + le16(channels) + le32(rate) +
                      le32(rate * channels * bits / 8) + le16(channels * bits / 8) + le16(bits) +
                      "data" + le32(data.size()) + data;
    return "RIFF" + le32(body.size()) + body;
}

} // namespace

class TestWave : public QObject
{
    Q_OBJECT
private slots:
    void read_data();
    void read();
};

void TestWave::read_data()
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
    QTest::newRow("rate too low") << patched(24, QByteArray("\x10\0\0\0", 4)) << -1;
    QTest::newRow("chunk size past the end")
        << patched(16, QByteArray("\xff\xff\xff\xff", 4)) << -1;
    QTest::newRow("data before format")
        << "RIFF" + good.mid(4, 8) + good.mid(36) + good.mid(12, 24) << -1;
    QTest::newRow("unknown chunk first")
        << "RIFF" + good.mid(4, 8) + "LIST" + QByteArray("\3\0\0\0abc\0", 8) + good.mid(12) << 400;
}

void TestWave::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, samples);
    const auto read = readPcmWave(bytes);
    QCOMPARE(read ? int(read->samples.size()) : -1, samples);
}

QTEST_APPLESS_MAIN(TestWave)
#include "tst_wave.moc"
