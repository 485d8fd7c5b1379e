#pragma once
// Sound output: one sound at a time, in the background, silent when a file is missing or there
// is no sound output. The game talks to the interface so tests can see what was played.

#include "logic/wave.h"

#include <QLoggingCategory>
#include <QString>
#include <map>
#include <memory>
#include <optional>

// What the sound output has to say: that there is no sound output (a warning, so it reaches
// the terminal by default), and its connections and streams (debug, off unless asked for with
// QT_LOGGING_RULES="vorlandi.sound.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcSound)

class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    // Starts the waveform file at path, cutting off the sound still playing; returns at once.
    virtual void play(const QString &path) = 0;
};

// The platform's own output: the PulseAudio protocol on Linux, winmm on Windows.
std::unique_ptr<SoundOutput> systemSoundOutput();

// What every platform's output keeps: each file read and checked once, with its samples in
// memory, and whether it has said that there is no sound output.
class WaveStore
{
public:
    // The file's checked samples; nullptr for a missing, unreadable or foreign file.
    const PcmWave *wave(const QString &path);
    // Said once: the output keeps trying, and the game plays on whether or not it gets there.
    void warnNoOutput();

private:
    std::map<QString, std::optional<PcmWave>> waves;
    bool warned = false;
};
