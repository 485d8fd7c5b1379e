#pragma once
// Sound output: one sound at a time, in the background, silent when a file is missing or no
// sound server is there. The game talks to the interface so tests can see what was played.

#include "logic/wave.h"

#include <QLoggingCategory>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <pulse/def.h>

// What the sound output has to say: that there is no sound output (a warning, so it reaches
// the terminal by default), and its connections and streams (debug, off unless asked for with
// QT_LOGGING_RULES="vorlandi.sound.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcSound)

// The buffer the stream asks the server for, for samples of the given kind: a few tens of
// milliseconds, so that a short sound starts at once without holding the server, or every other
// application on the same sound device, to a short cycle.
pa_buffer_attr playbackBuffer(const pa_sample_spec &format);

class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    // Starts the waveform file at path, cutting off the sound still playing; returns at once.
    virtual void play(const QString &path) = 0;
};

// Plays through the PulseAudio protocol, which PulseAudio and PipeWire's pipewire-pulse both
// serve, on the GUI thread's event loop. One stream stays open; each sound goes to the server
// whole, after a flush that cuts off the one before, so nothing has to be topped up in time while
// it plays. Between sounds the stream is corked, so that the server can let the sound device
// sleep. A lost or absent server is watched for on its socket's folder, so sound comes back soon
// after the server does, or starts with a server that starts after the game, with nothing polled
// meanwhile. Each file is read and checked once and its samples kept in memory.
class PulseSoundOutput : public SoundOutput
{
public:
    PulseSoundOutput();
    ~PulseSoundOutput() override;
    void play(const QString &path) override;
    // Stops the sound still playing.
    void stop();

    struct Connection; // the server side

private:
    const PcmWave *wave(const QString &path);
    void warnOnce();

    std::map<QString, std::optional<PcmWave>> waves;
    std::unique_ptr<Connection> connection;
    bool warned = false;
};
