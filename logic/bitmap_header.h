#pragma once
// The reader of a Windows bitmap's headers, for what Qt's own bitmap reader lets pass: a file
// that ends before the pixels its header promises.

#include <QByteArrayView>

// How many of a file's first bytes bitmapCutShort reads: the file header and the first fields of
// the info header, up to the pixel data's size.
constexpr qsizetype bitmapHeaderLength = 38;

// Whether a Windows bitmap ends before the pixels its header promises. Qt draws what such a file
// holds and leaves the rest black; a number's picture with part of it missing could show the
// child the wrong count, so the caller treats a short bitmap as unreadable. header holds the
// file's first bytes (bitmapHeaderLength of them, or the whole file if it is shorter) and
// fileSize the whole file's length. A file that is not a bitmap is never cut short.
bool bitmapCutShort(QByteArrayView header, qint64 fileSize);
