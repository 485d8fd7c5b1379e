#include "media/sound.h"

#include "app/runtime.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>

namespace
{

QtMessageHandler nextHandler = nullptr;

// Qt's PulseAudio backend reports a missing or lost sound server again at every reconnection
// attempt and for every stream it loses. The sound output says it once in its own words, so
// these lines are kept off the terminal.
void quietAudioBackend(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    for (const char *prefix : {"PulseAudioService:", "Stream error:", "QAudioSink:",
                               "pa_stream_connect_playback", "Got a buffer overflow"}) {
        if (message.startsWith(QLatin1String(prefix)) ||
            message.startsWith(QLatin1Char('"') + QLatin1String(prefix)))
            return;
    }
    nextHandler(type, context, message);
}

} // namespace

QtSoundOutput::QtSoundOutput()
{
    static const bool installed = [] {
        nextHandler = qInstallMessageHandler(quietAudioBackend);
        return true;
    }();
    Q_UNUSED(installed);
    // The stream's buffer holds at least a few tens of milliseconds: topping it up this often
    // keeps it from running dry.
    feeder.setInterval(10);
    QObject::connect(&feeder, &QTimer::timeout, [this] { feed(); });
}

QtSoundOutput::~QtSoundOutput()
{
    stop();
}

const PcmWave *QtSoundOutput::wave(const QString &path)
{
    auto found = waves.find(path);
    if (found == waves.end()) {
        QFile file(path);
        std::optional<PcmWave> read;
        if (file.open(QIODevice::ReadOnly))
            read = readPcmWave(file.readAll());
        found = waves.emplace(path, std::move(read)).first;
    }
    return found->second ? &*found->second : nullptr;
}

void QtSoundOutput::feed()
{
    if (!sink || !output)
        return;
    const qint64 frame = sink->format().bytesPerFrame();
    const qint64 room = std::min<qint64>(sink->bytesFree(), pending.size() - written);
    if (room > 0)
        written += output->write(pending.constData() + written, room / frame * frame);
    if (written >= pending.size())
        feeder.stop();
}

void QtSoundOutput::stop()
{
    feeder.stop();
    output = nullptr;
    pending.clear();
    if (sink) {
        // Flushing drops what the server still holds of the sound, so it ends now rather than
        // after the server's buffer has played out.
        sink->reset();
        sink->stop();
    }
    sink.reset();
}

void QtSoundOutput::play(const QString &path)
{
    stop();
    const PcmWave *pcm = wave(path);
    if (!pcm)
        return; // a missing or foreign file is silent
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(pcm->sampleRate);
    format.setChannelCount(pcm->channels);
    format.setSampleFormat(pcm->bytesPerSample == 1 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    if (!device.isNull()) {
        sink = std::make_unique<QAudioSink>(device, format);
        // The server grants about half the buffer asked for; ask for room for the whole sound.
        sink->setBufferSize(2 * pcm->samples.size() + format.bytesForDuration(200000));
        output = sink->start();
    }
    if (!output) {
        // No device, or the sound server is gone: this sound is silent, and the next one tries
        // again with a new sink once the audio system has reconnected.
        stop();
        if (!warned)
            runtime::warn(QStringLiteral("no sound output; the game plays on in silence"));
        warned = true;
        return;
    }
    pending = pcm->samples;
    written = 0;
    // The stream starts once its buffer is full, so the first write fills it: a sound shorter
    // than the buffer is padded with silence, and a longer one is topped up as it plays.
    const qint64 room = sink->bytesFree();
    if (pending.size() < room)
        pending.append(QByteArray(room - pending.size(), pcm->bytesPerSample == 1 ? '\x80' : 0));
    feed();
    if (written < pending.size())
        feeder.start();
}
