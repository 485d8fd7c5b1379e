#pragma once
// The picture loader: a picture file read into a pixmap, or the empty picture for an empty path.

#include <QPixmap>
#include <QString>
#include <optional>

// The empty path gives the empty (null) pixmap; a file that cannot be read gives nullopt.
std::optional<QPixmap> LoadPicture(const QString &path);
