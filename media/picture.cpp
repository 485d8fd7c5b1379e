#include "media/picture.h"

std::optional<QPixmap> LoadPicture(const QString &path)
{
    if (path.isEmpty())
        return QPixmap();
    QPixmap picture;
    if (!picture.load(path))
        return std::nullopt;
    return picture;
}
