#include "media/sound.h"

#include <QFile>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>

namespace
{

quint32 u32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 u16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

} // namespace

bool isPlayableWave(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return false;
    bool format = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 size = u32(bytes, at + 4);
        const qint64 body = at + 8;
        if (body + size > bytes.size())
            return false;
        if (id == "fmt ") {
            if (size < 16)
                return false;
            const quint16 tag = u16(bytes, body);
            const quint16 channels = u16(bytes, body + 2);
            const quint32 rate = u32(bytes, body + 4);
            const quint16 bits = u16(bytes, body + 14);
            format = tag == 1 && (channels == 1 || channels == 2) && rate >= 4000 &&
                     rate <= 192000 && (bits == 8 || bits == 16);
            if (!format)
                return false;
        } else if (id == "data") {
            return format && size > 0;
        }
        at = body + size + (size & 1);
    }
    return false;
}

QtSoundOutput::QtSoundOutput() = default;
QtSoundOutput::~QtSoundOutput() = default;

void QtSoundOutput::play(const QString &path)
{
    if (playing)
        playing->stop();
    playing = nullptr;
    auto &effect = effects[path];
    if (!effect) {
        QFile file(path);
        // A missing or foreign file stays silent without troubling the sound system.
        if (!file.open(QIODevice::ReadOnly) || !isPlayableWave(file.readAll())) {
            effects.erase(path);
            return;
        }
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(path));
    }
    if (effect->status() == QSoundEffect::Error)
        return;
    // While the file is still loading, play() is remembered and honoured once it is ready.
    effect->play();
    playing = effect.get();
}

QString QtSoundOutput::nowPlaying() const
{
    if (playing && playing->status() == QSoundEffect::Ready && playing->isPlaying())
        return playing->source().toLocalFile();
    return QString();
}
