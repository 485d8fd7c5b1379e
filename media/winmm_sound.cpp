#include "media/sound.h"

#include <map>
#include <windows.h>

namespace
{

// Plays through winmm's PlaySound, from memory: each file is read and checked once, and what
// winmm is given is a canonical file of the checked samples, so no file in img/ reaches the
// system's parser as it is. PlaySound cuts off the sound still playing by itself. A missing or
// foreign file plays nothing and leaves the sound playing alone.
class WinmmSoundOutput : public SoundOutput
{
public:
    ~WinmmSoundOutput() override
    {
        // The files winmm may still be reading go with this object.
        PlaySoundW(nullptr, nullptr, 0);
    }

    void play(const QString &path) override
    {
        auto found = files.find(path);
        if (found == files.end()) {
            const PcmWave *pcm = waves.wave(path);
            found = files.emplace(path, pcm ? pcmWaveFile(*pcm) : QByteArray()).first;
        }
        if (found->second.isEmpty())
            return;
        // Each file stays in the map, unmoved, for as long as winmm may read it.
        if (!PlaySoundW(reinterpret_cast<LPCWSTR>(found->second.constData()), nullptr,
                        SND_ASYNC | SND_NODEFAULT | SND_MEMORY))
            waves.warnNoOutput();
    }

private:
    WaveStore waves;
    std::map<QString, QByteArray> files;
};

} // namespace

std::unique_ptr<SoundOutput> systemSoundOutput()
{
    return std::make_unique<WinmmSoundOutput>();
}
