#pragma once
// Sound output: one sound at a time, in the background, silent when a file is missing or no
// audio device exists. The game talks to the interface so tests can see what was played.

#include <QObject>
#include <QString>
#include <map>
#include <memory>

class QSoundEffect;

// Whether bytes hold a complete uncompressed PCM wave file (RIFF "WAVE" with a "fmt " chunk of
// format 1, 1 or 2 channels, 8 or 16 bits, and a "data" chunk that is all there). Qt's sample
// loader waits forever on a truncated or foreign file, and a sample stuck loading blocks every
// other effect's destruction, so only such files are handed to it.
bool isPlayableWave(const QByteArray &bytes);

class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    // Starts the waveform file at path, cutting off the sound still playing; returns at once.
    virtual void play(const QString &path) = 0;
};

class QtSoundOutput : public SoundOutput
{
public:
    QtSoundOutput();
    ~QtSoundOutput() override;
    void play(const QString &path) override;
    // The file whose sound is coming out now, or an empty string in silence.
    QString nowPlaying() const;

private:
    // One effect per file, kept once loaded, so a sound heard again starts without reloading.
    std::map<QString, std::unique_ptr<QSoundEffect>> effects;
    QSoundEffect *playing = nullptr;
};
