#pragma once

#include "media/sound.h"

#include <QFileInfo>
#include <QStringList>

// Records what the game asked to play, in order, as file names.
class RecordingSound : public SoundOutput
{
public:
    void play(const QString &path) override
    {
        paths << path;
        played << QFileInfo(path).fileName();
    }
    QStringList paths;
    QStringList played;
};
