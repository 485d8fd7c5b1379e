#pragma once
// Asset paths: the application folder followed directly by a relative literal such as
// "\img\7.wav". The backslashes of the literal become the platform's separator.

#include <QString>

QString assetPath(const QString &applicationFolder, const QString &relative);

// The relative literals of the files the game reads.
QString numberSound(int number);   // "\img\<n>.wav"
QString numberPicture(int number); // "\img\terra<n>.bmp"
