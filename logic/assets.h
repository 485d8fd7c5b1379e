#pragma once
// The catalogue of the files the game reads from the img folder beside the executable, asked by
// meaning. Every file name is written here and nowhere else in the game. A path is the
// application folder followed directly by a relative literal such as "\img\7.wav", whose
// backslashes become the platform's separator.

#include "logic/verdict.h"

#include <QString>

class AssetCatalogue
{
public:
    explicit AssetCatalogue(QString applicationFolder);

    // The spoken number, 1 to 30: "\img\<n>.wav".
    QString numberSound(int number) const;
    // The sound after a verdict: the no-sound for a wrong answer, and for a right one the bigger
    // cheer from 25 up, the other cheer below.
    QString verdictSound(Verdict verdict, double expectedValue) const;
    // The disappointed sound after a wrong answer: "\img\no.wav".
    QString noSound() const;
    // The picture of a count from 1 to 10, "\img\terra<n>.bmp"; empty for a count without one.
    QString countPicture(int count) const;
    // The animated cursor shown over the window: "\img\cat-d.ani".
    QString cursor() const;

private:
    QString path(const QString &relative) const;
    QString folder;
};
