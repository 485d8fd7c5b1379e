#pragma once
// Sound output: one sound at a time, in the background, silent when a file is missing or no
// audio device exists. The game talks to the interface so tests can see what was played.

#include "logic/wave.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <map>
#include <memory>
#include <optional>

class QAudioSink;

class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    // Starts the waveform file at path, cutting off the sound still playing; returns at once.
    virtual void play(const QString &path) = 0;
};

// Plays through Qt Multimedia. Each file is read and checked once and its samples kept in
// memory; each sound gets an audio sink of its own, made when it starts and released when the
// next one starts, so nothing that a failed or restarted sound server left behind is reused.
class QtSoundOutput : public SoundOutput
{
public:
    QtSoundOutput();
    ~QtSoundOutput() override;
    void play(const QString &path) override;
    // Stops the sound still playing and releases the audio sink.
    void stop();

private:
    const PcmWave *wave(const QString &path);
    void feed();

    std::map<QString, std::optional<PcmWave>> waves;
    std::unique_ptr<QAudioSink> sink;
    QIODevice *output = nullptr; // the sink's own input, valid while the sink is started
    QByteArray pending;          // the playing sound's samples, of which written have gone out
    qint64 written = 0;
    QTimer feeder;
    bool warned = false;
};
