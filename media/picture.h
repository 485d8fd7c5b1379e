#pragma once
// The picture loader: a picture file read into a pixmap, or the empty picture for an empty path.
// Pictures are drawn from pixels at the screen's density: a file with more pixels than its size
// on the design (a bitmap at 192 dpi, a built-in picture's "@2x" version) is scaled smoothly to
// the screen's pixels rather than a small one being blown up.

#include <QImage>
#include <QPixmap>
#include <QString>
#include <optional>

// The empty path gives the empty (null) pixmap; a file that cannot be read gives nullopt. The
// file's resolution says its size on the design: 96 dpi or less is one pixel a pixel, 192 dpi
// half as big. screenRatio is the screen's device pixels per design pixel.
std::optional<QPixmap> LoadPicture(const QString &path, qreal screenRatio = 1);

// A built-in picture (a Qt resource path) for a screen of that ratio: from its "@2x" version
// beside it when the screen is denser than the design, else from the file itself.
QPixmap builtInPicture(const QString &path, qreal screenRatio);

// A built-in icon (a Qt resource path to an icon file) of that size on the design for a screen of
// that ratio: of the images in the file and in its "@2x" version, the smallest that has at least
// the screen's pixels (else the largest), scaled smoothly down to them.
QPixmap builtInIconPixmap(const QString &path, QSize size, qreal screenRatio);

// image holds density pixels per design pixel; the pixmap has the screen's pixels for the same
// design size, with the screen's pixel ratio.
QPixmap pictureForScreen(QImage image, qreal density, qreal screenRatio);

// The "@2x" version's path: "name@2x.ext" for "name.ext".
QString doubleDensityPath(const QString &path);
