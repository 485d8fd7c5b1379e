// Real playback through Qt Multimedia: run with a sound server (see run-with-pulseaudio.sh)
// and, with NO_AUDIO_SERVER set, without one.
#include "media/sound.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace
{

// A mono 16-bit PCM tone.
void writeTone(const QString &path, double seconds, double frequency)
{
    constexpr int rate = 22050;
    const auto samples = static_cast<quint32>(seconds * rate);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    for (quint32 i = 0; i < samples; ++i)
        out << qint16(8000 * std::sin(2 * M_PI * frequency * i / rate));
}

} // namespace

class TestSound : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void newSoundCutsOffThePlayingOne();
    void missingAndBrokenFilesAreSilent();
    void waveCheck_data();
    void waveCheck();

private:
    QTemporaryDir folder;
    bool withServer = qEnvironmentVariableIsEmpty("NO_AUDIO_SERVER");
};

void TestSound::initTestCase()
{
    writeTone(folder.filePath("long.wav"), 3.0, 440);
    writeTone(folder.filePath("short.wav"), 1.0, 660);
    QFile broken(folder.filePath("broken.wav"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("RIFF\x10\0\0\0WAVEjunk", 16);
}

void TestSound::newSoundCutsOffThePlayingOne()
{
    QtSoundOutput sound;
    const QString first = folder.filePath("long.wav");
    const QString second = folder.filePath("short.wav");
    QElapsedTimer clock;
    clock.start();
    sound.play(first);
    QVERIFY2(clock.elapsed() < 1000, "play() must not wait for the sound");
    if (!withServer) {
        // No audio device: silence, and nothing blocks, now or when the effects go away.
        QTest::qWait(300);
        sound.play(second);
        QVERIFY(clock.elapsed() < 2000);
        return;
    }
    QTRY_COMPARE(sound.nowPlaying(), first);
    sound.play(second);
    QTRY_COMPARE(sound.nowPlaying(), second);
    // The second sound is heard to its end and then there is silence.
    QTRY_COMPARE_WITH_TIMEOUT(sound.nowPlaying(), QString(), 5000);
    // A sound heard before plays again from its start.
    sound.play(first);
    QTRY_COMPARE(sound.nowPlaying(), first);
}

void TestSound::missingAndBrokenFilesAreSilent()
{
    QtSoundOutput sound;
    sound.play(folder.filePath("long.wav"));
    if (withServer)
        QTRY_COMPARE(sound.nowPlaying(), folder.filePath("long.wav"));
    // A missing file still cuts off the sound that was playing, and is silent itself.
    sound.play(folder.filePath("absent.wav"));
    QVERIFY(sound.nowPlaying().isEmpty());
    sound.play(folder.filePath("broken.wav"));
    QTest::qWait(300);
    QVERIFY(sound.nowPlaying().isEmpty());
    // A good sound still plays after a broken one, and the output goes away cleanly.
    sound.play(folder.filePath("short.wav"));
    if (withServer)
        QTRY_COMPARE(sound.nowPlaying(), folder.filePath("short.wav"));
}

void TestSound::waveCheck_data()
{
    QFile file(folder.filePath("short.wav"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    auto patched = [&](int at, QByteArray bytes) {
        return QByteArray(good).replace(at, bytes.size(), bytes);
    };
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("playable");
    QTest::newRow("a 16-bit mono tone") << good << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("header only") << good.left(12) << false;
    QTest::newRow("cut in the samples") << good.left(good.size() - 10) << false;
    QTest::newRow("not RIFF") << patched(0, "RIFX") << false;
    QTest::newRow("not WAVE") << patched(8, "AVI ") << false;
    QTest::newRow("compressed format") << patched(20, QByteArray("\x02\x00", 2)) << false;
    QTest::newRow("six channels") << patched(22, QByteArray("\x06\x00", 2)) << false;
    QTest::newRow("24-bit samples") << patched(34, QByteArray("\x18\x00", 2)) << false;
    QTest::newRow("chunk size past the end")
        << patched(16, QByteArray("\xff\xff\xff\x7f", 4)) << false;
    QTest::newRow("no data chunk") << patched(36, "junk") << false;
    QTest::newRow("the broken file") << QByteArray("RIFF\x10\0\0\0WAVEjunk", 16) << false;
}

void TestSound::waveCheck()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, playable);
    QCOMPARE(isPlayableWave(bytes), playable);
}

QTEST_GUILESS_MAIN(TestSound)
#include "tst_sound.moc"
