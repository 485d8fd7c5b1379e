#pragma once
// The sound output on Linux, through the PulseAudio protocol.

#include "media/sound.h"

#include <memory>
#include <pulse/def.h>

// The buffer the stream asks the server for, for samples of the given kind: a few tens of
// milliseconds, so that a short sound starts at once without holding the server, or every other
// application on the same sound device, to a short cycle.
pa_buffer_attr playbackBuffer(const pa_sample_spec &format);

// Plays through the PulseAudio protocol, which PulseAudio and PipeWire's pipewire-pulse both
// serve, on the GUI thread's event loop. One stream stays open; each sound goes to the server
// whole, after a flush that cuts off the one before, so nothing has to be topped up in time while
// it plays. Between sounds the stream is corked, so that the server can let the sound device
// sleep. A lost or absent server is watched for on its socket's folder, so sound comes back soon
// after the server does, or starts with a server that starts after the game, with nothing polled
// meanwhile. A missing or foreign file is silent, and still cuts off the sound playing.
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
    WaveStore waves;
    std::unique_ptr<Connection> connection;
};
