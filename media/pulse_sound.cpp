#include "media/pulse_sound.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <glib.h>
#include <pulse/glib-mainloop.h>
#include <pulse/pulseaudio.h>

namespace
{

// What the server may hold ahead of what is heard: PulseAudio renders the sink this far ahead,
// and pipewire-pulse makes it the stream's node.latency, which PipeWire rounds down to a power of
// two for its graph's cycle. 25 ms keeps PipeWire's default cycle of 1,024 frames at 48 kHz
// (21.3 ms): a shorter one would be forced on every application on the same device.
constexpr pa_usec_t cycleUsec = 25 * PA_USEC_PER_MSEC;
// How far the stream may run down before the server asks for more. Both servers keep twice this
// on the client's side of the cycle.
constexpr pa_usec_t requestUsec = 5 * PA_USEC_PER_MSEC;
// Silence after each sound, as long as the longest cycle PipeWire runs by default (2,048 frames
// at 48 kHz).
constexpr pa_usec_t tailUsec = 50 * PA_USEC_PER_MSEC;
// After a sound has played, the stream is corked once this much more has passed without another:
// an idle game holds nothing open, so the server can let the device sleep, while sounds that
// follow each other closely (a verdict, then the next number) keep it awake between them.
constexpr pa_usec_t idleUsec = 1000 * PA_USEC_PER_MSEC;
// A server's socket that has just appeared is tried this many times more, this far apart, until
// the server answers on it.
constexpr int retries = 10;
constexpr pa_usec_t retryUsec = 200 * PA_USEC_PER_MSEC;
// A sound asked for while the connection or the stream is still being made plays once it is
// ready, unless that takes longer than this: a sound so late would no longer belong to its moment.
constexpr qint64 stalePlayMs = 300;
// The game's own sounds are all of this kind; the stream is opened for it before the first
// sound, so that the first one starts as soon as the others.
constexpr pa_sample_spec assetFormat{PA_SAMPLE_S16LE, 22050, 1};

pa_sample_spec formatOf(const PcmWave &wave)
{
    return {wave.bytesPerSample == 1 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE, quint32(wave.sampleRate),
            quint8(wave.channels)};
}

// The sockets where libpulse looks for a server: those PULSE_SERVER names, or the one in the
// user's runtime folder. A server reached otherwise (over the network, or named in client.conf)
// is tried again at the next sound instead.
QStringList serverSockets()
{
    QStringList sockets;
    const QString named = qEnvironmentVariable("PULSE_SERVER");
    for (QString entry : named.split(u' ', Qt::SkipEmptyParts)) {
        if (entry.startsWith(u'{')) // a machine's id, before the address
            entry = entry.mid(entry.indexOf(u'}') + 1);
        if (entry.startsWith(QLatin1String("unix:")))
            entry = entry.mid(5);
        if (entry.startsWith(u'/'))
            sockets << entry;
    }
    if (named.isEmpty()) {
        QString folder = qEnvironmentVariable("PULSE_RUNTIME_PATH");
        if (folder.isEmpty() && qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
            folder = qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1String("/pulse");
        if (!folder.isEmpty())
            sockets << folder + QLatin1String("/native");
    }
    return sockets;
}

} // namespace

pa_buffer_attr playbackBuffer(const pa_sample_spec &format)
{
    // Both servers give the sink, or the graph's cycle, half of what the target length leaves
    // after twice the request size. Playing starts as soon as a single frame is there: a sound
    // starts the moment it arrives, and a stream that has run dry waits for the next one instead
    // of playing on ahead of it. The whole sound fits behind the buffer (maxlength is the
    // server's largest), and the server asks for no more than it is given.
    const auto frame = quint32(pa_frame_size(&format));
    auto bytes = [&](pa_usec_t usec) {
        return quint32(pa_usec_to_bytes(usec, &format)) / frame * frame;
    };
    return {quint32(-1), 2 * bytes(cycleUsec) + 2 * bytes(requestUsec), frame, bytes(requestUsec),
            quint32(-1)};
}

// The connection to the sound server. libpulse runs on the GUI thread's GLib main context, the
// one Qt's event loop runs on, so its callbacks come between the game's events and a sound is
// on its way to the server as soon as the handler that asked for it returns, without waiting for
// another thread to be scheduled.
struct PulseSoundOutput::Connection {
    pa_glib_mainloop *loop = pa_glib_mainloop_new(nullptr);
    pa_mainloop_api *api = pa_glib_mainloop_get_api(loop);
    pa_context *context = nullptr;
    pa_stream *stream = nullptr;
    pa_sample_spec format = assetFormat;
    pa_time_event *idle = nullptr; // corks the stream once its sound has played
    bool corked = true;
    QByteArray tail;                  // the silence that follows each sound, in the stream's format
    QFileSystemWatcher serverFolders; // where a missing server's socket would appear
    pa_time_event *retry = nullptr;   // tries a socket that has just appeared again
    int retriesLeft = retries;        // also for a server that is starting with the game
    QByteArray waiting;               // a sound asked for while the stream is being made
    bool settled = false;             // the first connection has its stream, or has failed
    QElapsedTimer waitingSince;
    std::function<void()> silent; // called when a sound could not be played

    Connection()
    {
        QObject::connect(&serverFolders, &QFileSystemWatcher::directoryChanged,
                         [this] { serverMayBeBack(); });
        connect();
    }

    ~Connection()
    {
        closeStream();
        closeContext();
        if (retry)
            api->time_free(retry);
        pa_glib_mainloop_free(loop);
    }

    bool ready() const { return context && pa_context_get_state(context) == PA_CONTEXT_READY; }
    bool streamReady() const { return stream && pa_stream_get_state(stream) == PA_STREAM_READY; }

    void connect()
    {
        pa_proplist *properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Vorlandi");
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "org.vorlandi.Vorlandi");
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "org.vorlandi.Vorlandi");
        context = pa_context_new_with_proplist(api, nullptr, properties);
        pa_proplist_free(properties);
        pa_context_set_state_callback(context, &Connection::contextChanged, this);
        // Starting a sound server is the session's business, not the game's. A connection that
        // fails at once has already been dropped by the state callback.
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 && context)
            lost();
    }

    static void contextChanged(pa_context *context, void *self)
    {
        auto *connection = static_cast<Connection *>(self);
        switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY:
            qCDebug(lcSound, "connected to %s", pa_context_get_server(context));
            connection->stopWatching();
            connection->openStream();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            connection->lost();
            break;
        default:
            break;
        }
    }

    // The server is gone or was never there: drop what belonged to it, and watch the folders of
    // its sockets for one to appear.
    void lost()
    {
        qCDebug(lcSound, "no sound server: %s", pa_strerror(pa_context_errno(context)));
        settled = true;
        closeStream();
        closeContext();
        giveUpWaiting();
        watchForServer();
        // A server makes its socket a moment before it answers on it (pipewire-pulse does, as
        // it starts), so a socket that has just appeared is tried again a few times.
        if (retriesLeft > 0 && socketThere()) {
            --retriesLeft;
            runAfter(retry, retryUsec, &Connection::retryNow);
        }
    }

    // Sets event to call back once usec have passed, from now, making it the first time.
    void runAfter(pa_time_event *&event, pa_usec_t usec, pa_time_event_cb_t callback)
    {
        timeval at;
        pa_timeval_add(pa_gettimeofday(&at), usec);
        if (event)
            api->time_restart(event, &at);
        else
            event = api->time_new(api, &at, callback, this);
    }

    static void retryNow(pa_mainloop_api *api, pa_time_event *event, const timeval *, void *self)
    {
        api->time_restart(event, nullptr);
        if (auto *connection = static_cast<Connection *>(self); !connection->context)
            connection->connect();
    }

    static bool socketThere()
    {
        const QStringList sockets = serverSockets();
        return std::any_of(sockets.begin(), sockets.end(),
                           [](const QString &socket) { return QFileInfo::exists(socket); });
    }

    // Watches the folder of each socket a server would make, or the folder above it while that
    // does not exist yet (the runtime folder before the server's own is made).
    void watchForServer()
    {
        QStringList folders;
        for (const QString &socket : serverSockets()) {
            const QFileInfo folder(QFileInfo(socket).absolutePath());
            folders << (folder.isDir() ? folder.filePath() : folder.absolutePath());
        }
        folders.removeDuplicates();
        if (serverFolders.directories() != folders) {
            stopWatching();
            if (!folders.isEmpty())
                serverFolders.addPaths(folders);
        }
    }

    void stopWatching()
    {
        if (!serverFolders.directories().isEmpty())
            serverFolders.removePaths(serverFolders.directories());
    }

    // Something changed where a server's socket would be: connect if a socket is there now.
    void serverMayBeBack()
    {
        if (context)
            return;
        if (socketThere()) {
            retriesLeft = retries;
            connect();
        } else {
            watchForServer();
        }
    }

    void closeContext()
    {
        if (!context)
            return;
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }

    void openStream()
    {
        closeStream();
        const pa_buffer_attr attributes = playbackBuffer(format);
        stream = pa_stream_new(context, "Vorlandi", &format, nullptr);
        if (!stream)
            return giveUpWaiting();
        pa_stream_set_state_callback(stream, &Connection::streamChanged, this);
        // Corked until its first sound: a stream that plays nothing keeps the device awake.
        corked = true;
        tail = QByteArray(qsizetype(pa_usec_to_bytes(tailUsec, &format)),
                          format.format == PA_SAMPLE_U8 ? char(0x80) : char(0));
        const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_START_CORKED);
        if (pa_stream_connect_playback(stream, nullptr, &attributes, flags, nullptr, nullptr) < 0)
            streamFailed();
    }

    static void streamChanged(pa_stream *stream, void *self)
    {
        auto *connection = static_cast<Connection *>(self);
        switch (pa_stream_get_state(stream)) {
        case PA_STREAM_READY: {
            const pa_buffer_attr *granted = pa_stream_get_buffer_attr(stream);
            qCDebug(lcSound, "stream open: tlength %u, minreq %u, prebuf %u", granted->tlength,
                    granted->minreq, granted->prebuf);
            connection->settled = true;
            if (!connection->waiting.isEmpty() && connection->waitingSince.elapsed() <= stalePlayMs)
                connection->write(connection->waiting);
            connection->waiting.clear();
            break;
        }
        case PA_STREAM_FAILED:
            connection->streamFailed();
            break;
        default:
            break;
        }
    }

    void streamFailed()
    {
        qCDebug(lcSound, "stream failed: %s", pa_strerror(pa_context_errno(context)));
        settled = true;
        closeStream();
        giveUpWaiting();
    }

    void closeStream()
    {
        if (!stream)
            return;
        if (idle) {
            api->time_free(idle);
            idle = nullptr;
        }
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        stream = nullptr;
    }

    void giveUpWaiting()
    {
        if (waiting.isEmpty())
            return;
        waiting.clear();
        silent();
    }

    // Drops what the stream still holds of the sound playing, so that it ends now.
    void flush()
    {
        waiting.clear();
        if (streamReady())
            if (pa_operation *operation = pa_stream_flush(stream, nullptr, nullptr))
                pa_operation_unref(operation);
    }

    // Sends a sound to the server whole, waking the stream if it was corked, and corks it again
    // once the sound and idleUsec have passed without another.
    void write(const QByteArray &samples)
    {
        if (corked)
            cork(false);
        pa_stream_write(stream, samples.constData(), size_t(samples.size()), nullptr, 0,
                        PA_SEEK_RELATIVE);
        // Played out to its end: pipewire-pulse holds back what is left of a stream's data once
        // that is less than a cycle, until more comes, and the next sound would flush it away
        // unheard. What it holds back is now silence.
        pa_stream_write(stream, tail.constData(), size_t(tail.size()), nullptr, 0,
                        PA_SEEK_RELATIVE);
        runAfter(idle, pa_bytes_to_usec(quint64(samples.size() + tail.size()), &format) + idleUsec,
                 &Connection::idleNow);
    }

    void cork(bool on)
    {
        corked = on;
        if (pa_operation *operation = pa_stream_cork(stream, on, nullptr, nullptr))
            pa_operation_unref(operation);
    }

    static void idleNow(pa_mainloop_api *api, pa_time_event *event, const timeval *, void *self)
    {
        api->time_restart(event, nullptr);
        auto *connection = static_cast<Connection *>(self);
        if (connection->streamReady())
            connection->cork(true);
    }

    // Cuts off the sound playing and starts samples of the given kind, now or as soon as the
    // connection being made is ready; false if there is no server to play them.
    bool play(const QByteArray &samples, const pa_sample_spec &kind)
    {
        flush();
        if (!context)
            connect(); // a server the socket watch cannot see may be there now
        if (!context)
            return false;
        if (ready() && (!stream || !pa_sample_spec_equal(&kind, &format))) {
            format = kind;
            openStream();
            if (!stream)
                return false;
        }
        if (streamReady() && pa_sample_spec_equal(&kind, &format)) {
            write(samples);
        } else {
            format = kind;
            waiting = samples;
            waitingSince.start();
        }
        return true;
    }
};

PulseSoundOutput::PulseSoundOutput() : connection(std::make_unique<Connection>())
{
    connection->silent = [this] { waves.warnNoOutput(); };
    // The window speaks its first number as it shows. Waiting here the few milliseconds a server
    // takes to answer and open the stream lets that sound start as soon as any other; a server
    // that does not answer within a second is waited for no longer. The loop runs with a wake-up
    // every 20 ms, so that the wait ends on time even if the server says nothing.
    QElapsedTimer waited;
    waited.start();
    const guint tick = g_timeout_add(
        20, [](gpointer) { return gboolean(G_SOURCE_CONTINUE); }, nullptr);
    while (!connection->settled && waited.elapsed() < 1000)
        g_main_context_iteration(nullptr, TRUE);
    g_source_remove(tick);
}

PulseSoundOutput::~PulseSoundOutput() = default;

void PulseSoundOutput::stop()
{
    connection->flush();
}

void PulseSoundOutput::play(const QString &path)
{
    const PcmWave *pcm = waves.wave(path);
    if (!pcm)
        return stop(); // a missing or foreign file is silent, and still cuts off the sound playing
    if (!connection->play(pcm->samples, formatOf(*pcm)))
        waves.warnNoOutput();
}

std::unique_ptr<SoundOutput> systemSoundOutput()
{
    return std::make_unique<PulseSoundOutput>();
}
