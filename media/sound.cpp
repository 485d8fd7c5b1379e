#include "media/sound.h"

#include <QFile>

Q_LOGGING_CATEGORY(lcSound, "vorlandi.sound", QtInfoMsg)

const PcmWave *WaveStore::wave(const QString &path)
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

void WaveStore::warnNoOutput()
{
    if (!warned)
        qCWarning(lcSound, "no sound output; the game plays on in silence");
    warned = true;
}
