#include "logic/assets.h"

AssetCatalogue::AssetCatalogue(QString applicationFolder) : folder(std::move(applicationFolder)) {}

QString AssetCatalogue::path(const QString &relative) const
{
    // Joined as they are: the literal brings its own leading separator.
    return folder + QString(relative).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString AssetCatalogue::numberSound(int number) const
{
    return path(QStringLiteral("\\img\\%1.wav").arg(number));
}

QString AssetCatalogue::verdictSound(Verdict verdict, double expectedValue) const
{
    if (verdict == Verdict::Wrong)
        return noSound();
    // 24 cheers like the numbers below it rather than going silent.
    return path(expectedValue > 24 ? QStringLiteral("\\img\\brava.wav")
                                   : QStringLiteral("\\img\\brava1.wav"));
}

QString AssetCatalogue::noSound() const
{
    return path(QStringLiteral("\\img\\no.wav"));
}

QString AssetCatalogue::countPicture(int count) const
{
    if (count < 1 || count > 10)
        return QString();
    return path(QStringLiteral("\\img\\terra%1.bmp").arg(count));
}

QString AssetCatalogue::cursor() const
{
    return path(QStringLiteral("\\img\\cat-d.ani"));
}
