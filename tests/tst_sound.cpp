// Listens to what the sound output plays: a private PulseAudio server with a null sink, whose
// monitor parec records while the real output plays generated tones, the game's own files and
// a whole game. A play counts as heard only where its samples are found in the recording.
#include "app/main_window.h"
#include "app/runtime.h"
#include "media/sound.h"
#include "riff_bytes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int rate = 22050; // every asset's rate; the recording is taken at the same rate
// A play is heard where the recording around its expected moment correlates with its file above
// this. Measured here: a whole play scores 0.92 to 0.99 after the server's resampling; a sound
// mixed with the tail of the one before scores about 0.8, a spoken number cut short 0.1 to 0.4,
// a play that is late by more than the search window or missing about 0.
constexpr double heardThreshold = 0.9;
const QString sourceDir = QStringLiteral(VORLANDI_SOURCE_DIR);

// The samples, smoothed over five: the comparison then rests on what lies below about 4 kHz,
// where the server's resampling keeps a sound as it was, and not on the hiss of an "s", which a
// shift of half a sample changes beyond recognition.
std::vector<float> samplesOf(const QByteArray &pcm)
{
    std::vector<qint16> raw(pcm.size() / 2);
    memcpy(raw.data(), pcm.constData(), raw.size() * 2);
    std::vector<float> out(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        float sum = 0;
        for (size_t j = i < 2 ? 0 : i - 2; j <= std::min(i + 2, raw.size() - 1); ++j)
            sum += raw[j];
        out[i] = sum / 5;
    }
    return out;
}

std::vector<float> fileSamples(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const auto wave = readPcmWave(file.readAll());
    return wave ? samplesOf(wave->samples) : std::vector<float>{};
}

// A mono 16-bit sweep from one frequency to another with soft ends, as a wave file. Unlike a
// steady tone, a sweep matches itself at one offset only, so the recording shows when it began.
void writeSweep(const QString &path, double seconds, double from, double to)
{
    const auto count = static_cast<quint32>(seconds * rate);
    const quint32 ramp = rate / 200;
    QByteArray samples;
    for (quint32 i = 0; i < count; ++i) {
        const double edge = std::min({1.0, double(i) / ramp, double(count - i) / ramp});
        const double t = double(i) / rate;
        const double value =
            12000 * edge * std::sin(2 * M_PI * (from + (to - from) * t / seconds / 2) * t);
        samples += le({quint32(qint16(value))}, 2);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(wave(1, 16, samples)) > 0);
}

// Normalised cross-correlation of the first part of a sound with the recording at offset.
double correlation(const std::vector<float> &recording, const std::vector<float> &sound,
                   qint64 offset, qint64 length)
{
    if (offset < 0 || offset + length > qint64(recording.size()))
        return 0;
    double xy = 0, xx = 0, yy = 0;
    for (qint64 i = 0; i < length; ++i) {
        const double x = recording[offset + i], y = sound[i];
        xy += x * y;
        xx += x * x;
        yy += y * y;
    }
    return xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0;
}

struct Match {
    qint64 offset = -1;
    double score = 0;
};

// The best place for a sound in [from, to) of the recording, judged on its first length samples.
Match find(const std::vector<float> &recording, const std::vector<float> &sound, qint64 from,
           qint64 to, qint64 length)
{
    length = std::min<qint64>(length, sound.size());
    Match best;
    for (qint64 at = std::max<qint64>(from, 0); at < to; ++at) {
        const double score = correlation(recording, sound, at, length);
        if (score > best.score)
            best = {at, score};
    }
    return best;
}

double rms(const std::vector<float> &recording, qint64 from, qint64 to)
{
    from = std::clamp<qint64>(from, 0, recording.size());
    to = std::clamp<qint64>(to, from, recording.size());
    double sum = 0;
    for (qint64 i = from; i < to; ++i)
        sum += double(recording[i]) * recording[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0;
}

// The private sound server and the recorder on its null sink's monitor.
class SoundServer
{
public:
    SoundServer()
    {
        qputenv("HOME", dir.path().toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
        qputenv("PULSE_SERVER", "unix:" + socket().toLocal8Bit());
    }
    ~SoundServer()
    {
        stopRecording();
        stop();
    }

    QString socket() const { return dir.filePath(QStringLiteral("native")); }

    bool start()
    {
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.setStandardOutputFile(QProcess::nullDevice());
        server.start(QStringLiteral("pulseaudio"),
                     {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                      "--log-level=error", "-L", "module-null-sink sink_name=silence", "-L",
                      "module-native-protocol-unix auth-anonymous=1 socket=" + socket()});
        for (int i = 0; i < 100 && !QFile::exists(socket()); ++i)
            QThread::msleep(50);
        return QFile::exists(socket());
    }

    // Ends the server at once, as a crash would.
    void stop()
    {
        if (server.state() == QProcess::NotRunning)
            return;
        server.kill();
        server.waitForFinished();
        QFile::remove(socket());
    }

    bool startRecording()
    {
        recorded.clear();
        clock.start();
        arrivals.clear();
        recorder.start(QStringLiteral("parec"),
                       {"--device=silence.monitor", "--format=s16le", "--channels=1",
                        "--rate=" + QString::number(rate), "--latency-msec=10", "--raw"});
        QObject::connect(&recorder, &QProcess::readyReadStandardOutput, [this] {
            recorded += recorder.readAllStandardOutput();
            const double now = clock.nsecsElapsed() / 1e6;
            arrivals.push_back(now - recorded.size() / 2 * 1000.0 / rate);
        });
        // The recording has begun once the first bytes arrive.
        QElapsedTimer wait;
        wait.start();
        while (recorded.isEmpty() && wait.elapsed() < 5000)
            QTest::qWait(5);
        firstBytesMs = clock.nsecsElapsed() / 1e6;
        return !recorded.isEmpty();
    }

    std::vector<float> stopRecording()
    {
        if (recorder.state() == QProcess::NotRunning)
            return {};
        QTest::qWait(200); // let the last sound reach the recording
        recorded += recorder.readAllStandardOutput();
        recorder.disconnect();
        recorder.kill();
        recorder.waitForFinished();
        return samplesOf(recorded);
    }

    QElapsedTimer clock; // started with the recording
    double firstBytesMs = 0;

    // The recording's first sample on the clock: each chunk places it at its arrival less the
    // samples before it. The server renders ahead and chunks arrive late, by a few milliseconds
    // either way, so the median of all chunks is taken; onsets reckoned from it are good to
    // about 10 ms.
    double recordingStartMs()
    {
        std::sort(arrivals.begin(), arrivals.end());
        return arrivals.empty() ? 0 : arrivals[arrivals.size() / 2];
    }

private:
    QTemporaryDir dir;
    QProcess server;
    QProcess recorder;
    QByteArray recorded;
    std::vector<double> arrivals;
};

SoundServer *server = nullptr;

// Plays a list of sounds at given moments and says, from the recording, which were heard.
struct Session {
    struct Play {
        QString path;
        double startMs; // when the game asked for the sound
        double atMs;    // when that call returned, the sound handed to the server
    };
    std::vector<Play> plays;
    const QElapsedTimer &clock = server->clock;

    void start() { QVERIFY(server->startRecording()); }
    double now() const { return clock.nsecsElapsed() / 1e6; }

    void play(SoundOutput &output, const QString &path)
    {
        const double start = now();
        output.play(path);
        plays.push_back({path, start, now()});
    }
    // Finds the first play near the recording's start, and each later one near where the
    // one before it and the time between them put it, so that the recording's clock may drift.
    // Returns the failures as text, one per play not heard, and prints the plays heard of each
    // file and the onsets: from each play's start to its first sample in the recording.
    QStringList unheard(const std::vector<float> &recording)
    {
        QStringList failures;
        std::map<QString, std::pair<int, int>> perFile; // heard, made
        std::vector<double> onsets;
        matches.clear();
        std::map<QString, std::vector<float>> sounds;
        qint64 previous = -1;
        for (size_t i = 0; i < plays.size(); ++i) {
            auto &sound = sounds[plays[i].path];
            if (sound.empty())
                sound = fileSamples(plays[i].path);
            // Judged on its first 300 ms, or as much as plays before the next sound cuts it off.
            const qint64 length =
                i + 1 < plays.size()
                    ? std::min(rate * 3 / 10,
                               int((plays[i + 1].atMs - plays[i].atMs - 20) * rate / 1000))
                    : rate * 3 / 10;
            const qint64 expected =
                i == 0 ? qint64((plays[0].atMs - server->firstBytesMs) * rate / 1000)
                       : previous + qint64((plays[i].atMs - plays[i - 1].atMs) * rate / 1000);
            // The first play is searched for over a wider window: nothing places it but the clock.
            const Match match = find(recording, sound, expected - (i ? rate / 30 : rate / 20),
                                     expected + (i ? rate * 3 / 50 : rate / 10), length);
            const bool heard = match.score >= heardThreshold;
            const QString name = QFileInfo(plays[i].path).fileName();
            previous = heard || i == 0 ? match.offset : expected;
            matches.push_back(match);
            perFile[name].first += heard;
            ++perFile[name].second;
            if (heard)
                onsets.push_back(server->recordingStartMs() + match.offset * 1000.0 / rate -
                                 plays[i].startMs);
            else
                failures << QStringLiteral("play %1 of %2 at %3 ms: score %4")
                                .arg(i + 1)
                                .arg(name)
                                .arg(plays[i].atMs)
                                .arg(match.score, 0, 'f', 2);
        }
        std::sort(onsets.begin(), onsets.end());
        QStringList counts;
        for (const auto &[name, count] : perFile)
            counts << QStringLiteral("%1 %2/%3").arg(name).arg(count.first).arg(count.second);
        qInfo("heard %s; onset median %.1f ms, worst %.1f ms", qPrintable(counts.join(", ")),
              onsets.empty() ? 0 : onsets[onsets.size() / 2], onsets.empty() ? 0 : onsets.back());
        return failures;
    }
    std::vector<Match> matches; // of the last check, one per play
};

} // namespace

class TestSound : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyPlayIsHeard();
    void newSoundCutsOffAndMissingFileIsSilent();
    void soundComesBackAfterTheServerRestarts();
    void gameSpeaksEveryNumberAndVerdict();

private:
    static void startGame(QProcess &game);
    static void tell(QProcess &game, const QString &line);
    QTemporaryDir folder;
    QString tone(int n) const { return folder.filePath(QStringLiteral("tone%1.wav").arg(n)); }
};

void TestSound::initTestCase()
{
    for (int n = 0; n < 4; ++n)
        writeSweep(tone(n), 0.06, 150 + 100 * n, 1400 - 100 * n);
    writeSweep(folder.filePath("long.wav"), 1.0, 150, 1200);
    writeSweep(folder.filePath("short.wav"), 0.25, 1300, 300);
}

void TestSound::everyPlayIsHeard()
{
    QtSoundOutput output;
    Session session;
    session.start();
    // The same short file 200 times in a row, a few others between, then three of the game's
    // own files nine times each.
    for (int i = 0; i < 200; ++i) {
        session.play(output, tone(i % 25 == 24 ? 1 : 0));
        QTest::qWait(120);
    }
    for (const QString name : {"no.wav", "brava1.wav", "7.wav"}) {
        for (int i = 0; i < 9; ++i) {
            session.play(output, sourceDir + "/img/" + name);
            QTest::qWait(350);
        }
    }
    const QStringList failures = session.unheard(server->stopRecording());
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
}

void TestSound::newSoundCutsOffAndMissingFileIsSilent()
{
    QtSoundOutput output;
    Session session;
    session.start();
    session.play(output, folder.filePath("long.wav"));
    QTest::qWait(300);
    session.play(output, folder.filePath("short.wav"));
    QTest::qWait(500);
    session.play(output, folder.filePath("long.wav"));
    QTest::qWait(300);
    output.play(folder.filePath("absent.wav"));
    const qint64 missingAt = session.now();
    QTest::qWait(400);
    const auto recording = server->stopRecording();
    const QStringList failures = session.unheard(recording);
    const auto &matches = session.matches;
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
    // The long tone stops where the short one starts: from 10 ms after that onset, all that is
    // left to hear is the short tone, then silence.
    const qint64 cut = matches[1].offset;
    const qint64 shortEnd = cut + qint64(fileSamples(folder.filePath("short.wav")).size());
    const double loud = rms(recording, matches[0].offset, cut);
    QVERIFY2(rms(recording, shortEnd + rate / 100, shortEnd + rate / 5) < loud / 100,
             "the first sound went on after the second started");
    // A missing file stops the sound that was playing, and nothing else is heard.
    const qint64 missing = matches[0].offset + (missingAt - session.plays[0].atMs) * rate / 1000;
    QVERIFY(rms(recording, matches[2].offset, missing - rate / 50) > loud / 2);
    QVERIFY2(rms(recording, missing + rate / 20, missing + rate / 4) < loud / 100,
             "a missing file did not stop the sound or was not silent");
}

// The game in a child process, its sound server killed mid-sound and started again: the game
// says once that it plays on in silence, a later sound is heard, and Exit still ends the
// program cleanly.
void TestSound::soundComesBackAfterTheServerRestarts()
{
    QProcess game;
    startGame(game);
    auto play = [&](const QString &path) { tell(game, path); };
    play(folder.filePath("long.wav"));
    QTest::qWait(300);
    server->stop(); // mid-sound
    play(tone(3));  // nowhere to play: silent, and the game goes on
    QTest::qWait(500);
    QVERIFY(server->start());
    QElapsedTimer back;
    back.start();
    // Sound comes back once the audio system has reconnected; it tries every few seconds.
    qint64 heardAfter = -1;
    while (heardAfter < 0 && back.elapsed() < 10000) {
        Session session;
        session.start();
        const double start = session.now();
        play(tone(3));
        session.plays.push_back({tone(3), start, start});
        QTest::qWait(250);
        if (session.unheard(server->stopRecording()).isEmpty())
            heardAfter = back.elapsed() - 250;
    }
    QVERIFY2(heardAfter >= 0, "no sound in the 10 s after the server came back");
    qInfo("sound back %lld ms after the server", heardAfter);
    play(QStringLiteral("exit"));
    QVERIFY(game.state() == QProcess::NotRunning || game.waitForFinished(10000));
    const QString errors = QString::fromLocal8Bit(game.readAllStandardError());
    QVERIFY2(game.exitStatus() == QProcess::NormalExit && game.exitCode() == 0,
             qPrintable(QStringLiteral("%1 %2: %3")
                            .arg(game.exitStatus() == QProcess::NormalExit ? "exit" : "crash")
                            .arg(game.exitCode())
                            .arg(errors)));
    QCOMPARE(errors.count(QStringLiteral("sound")), 1);
    QVERIFY2(!errors.contains(QStringLiteral("Pulse")), qPrintable(errors));
}

void TestSound::startGame(QProcess &game)
{
    game.setProgram(QCoreApplication::applicationFilePath());
    game.setArguments({"--game"});
    game.start();
    QVERIFY(game.waitForStarted());
    QVERIFY(game.waitForReadyRead(10000)); // the window is up
}

void TestSound::tell(QProcess &game, const QString &line)
{
    game.write(line.toLocal8Bit() + "\n");
    game.waitForBytesWritten();
    QTest::qWait(50);
}

void TestSound::gameSpeaksEveryNumberAndVerdict()
{
    Tavola tavola(nullptr, sourceDir);
    tavola.setEndProgram([] {});
    Session session;
    session.start();
    double before = session.now();
    tavola.Show(); // the first exercise speaks its number
    const Controls &c = tavola.controls();
    auto heardNext = [&](const QString &name) {
        session.plays.push_back({sourceDir + "/img/" + name, before, session.now()});
    };
    heardNext(c.Text1->text() + ".wav");
    for (int exercise = 0; exercise < 40; ++exercise) {
        QTest::qWait(250);
        const QString number = c.Text1->text();
        const bool right = exercise % 2 == 0;
        QTest::keyClicks(c.Text3, right ? number : number + "0");
        before = session.now();
        QTest::keyClick(c.Text3, Qt::Key_Return);
        heardNext(!right ? "no.wav" : number.toInt() >= 25 ? "brava.wav" : "brava1.wav");
        QTest::qWait(250);
        before = session.now();
        QTest::keyClick(c.cmdNext, Qt::Key_Return);
        heardNext(c.Text1->text() + ".wav");
    }
    QTest::qWait(250);
    const QStringList failures = session.unheard(server->stopRecording());
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
}

// The game as main() runs it, playing the files named on its standard input until a line says
// "exit", which presses the Exit button.
int runGame(int argc, char *argv[])
{
    QApplication app(argc, argv);
    runtime::setUpApplication();
    Tavola tavola;
    tavola.Show();
    QSocketNotifier input(0, QSocketNotifier::Read);
    QByteArray received;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char chunk[4096];
        const auto got = ::read(0, chunk, sizeof chunk);
        received.append(chunk, got > 0 ? got : 0);
        for (qsizetype end; (end = received.indexOf('\n')) >= 0; received.remove(0, end + 1)) {
            const QString line = QString::fromLocal8Bit(received.left(end));
            if (line == QLatin1String("exit"))
                tavola.controls().cmdExit->click();
            else
                tavola.playWave(line);
        }
    });
    fputs("ready\n", stdout);
    fflush(stdout);
    return QApplication::exec();
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], "--game") == 0)
        runtime::endProcess(runGame(argc, argv)); // as main() ends
    for (const char *program : {"pulseaudio", "parec"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()) {
            // Under CI every test must run, so a missing program fails there.
            const bool ci = qEnvironmentVariableIsSet("CI");
            std::printf("%s: %s is not installed\n", ci ? "FAIL" : "SKIPPED", program);
            return ci ? 1 : 77;
        }
    }
    SoundServer sound;
    server = &sound;
    if (!sound.start()) {
        qWarning("pulseaudio did not start");
        return 1;
    }
    QApplication app(argc, argv);
    runtime::setUpApplication();
    TestSound test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sound.moc"
