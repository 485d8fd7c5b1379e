#pragma once

#include <QByteArray>
#include <QImage>
#include <vector>

struct IcoImage {
    QImage image;     // at most 256x256; alpha below 128 is transparent
    int bitsPerPixel; // 4 (16 colours) or 8 (256 colours)
};

// Writes a Windows icon file with one palette bitmap and AND mask per image, in the given order.
// 4-bit images use the 16 VGA colours (vgaPalette()), so art drawn in those colours comes out
// exactly; 8-bit images use a median-cut palette of the image. Same input, same bytes.
QByteArray writeIco(const std::vector<IcoImage> &images);
