#include "logic/assets.h"

QString assetPath(const QString &applicationFolder, const QString &relative)
{
    // Joined as they are: the literal brings its own leading separator.
    return applicationFolder + QString(relative).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString numberSound(int number)
{
    return QStringLiteral("\\img\\%1.wav").arg(number);
}

QString numberPicture(int number)
{
    return QStringLiteral("\\img\\terra%1.bmp").arg(number);
}
