#include "gif_writer.h"

#include "palette.h"

#include <gif_lib.h>
#include <memory>

namespace
{

int appendToBuffer(GifFileType *gif, const GifByteType *bytes, int length)
{
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(bytes), length);
    return length;
}

struct MapDeleter {
    void operator()(ColorMapObject *map) const { GifFreeMapObject(map); }
};

} // namespace

std::optional<QByteArray> writeAnimatedGif(const std::vector<QImage> &frames, int delayCentiseconds,
                                           int loopCount)
{
    if (frames.empty())
        return std::nullopt;
    const int width = frames.front().width();
    const int height = frames.front().height();

    std::vector<QImage> images;
    for (const QImage &frame : frames) {
        if (frame.size() != QSize(width, height))
            return std::nullopt;
        images.push_back(frame.convertToFormat(QImage::Format_ARGB32));
    }

    // Entry 0 is the transparent background; white, for viewers that ignore transparency.
    QList<QRgb> palette = {qRgb(255, 255, 255)};
    palette.append(medianCutPalette(images, 255));
    while (palette.size() < 256)
        palette.append(qRgb(0, 0, 0));

    std::unique_ptr<ColorMapObject, MapDeleter> colourMap(GifMakeMapObject(256, nullptr));
    if (!colourMap)
        return std::nullopt;
    for (int i = 0; i < 256; ++i) {
        colourMap->Colors[i].Red = static_cast<GifByteType>(qRed(palette[i]));
        colourMap->Colors[i].Green = static_cast<GifByteType>(qGreen(palette[i]));
        colourMap->Colors[i].Blue = static_cast<GifByteType>(qBlue(palette[i]));
    }

    QByteArray out;
    int error = 0;
    GifFileType *gif = EGifOpen(&out, appendToBuffer, &error);
    if (!gif)
        return std::nullopt;
    EGifSetGifVersion(gif, true);

    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, colourMap.get()) == GIF_OK;

    const GifByteType netscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    const GifByteType loops[] = {1, static_cast<GifByteType>(loopCount & 0xff),
                                 static_cast<GifByteType>((loopCount >> 8) & 0xff)};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK;
    ok = ok && EGifPutExtensionBlock(gif, sizeof netscape, netscape) == GIF_OK;
    ok = ok && EGifPutExtensionBlock(gif, sizeof loops, loops) == GIF_OK;
    ok = ok && EGifPutExtensionTrailer(gif) == GIF_OK;

    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_BACKGROUND;
    control.UserInputFlag = false;
    control.DelayTime = delayCentiseconds;
    control.TransparentColor = 0;
    GifByteType controlBytes[4];
    EGifGCBToExtension(&control, controlBytes);

    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    for (const QImage &image : images) {
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, controlBytes) == GIF_OK;
        ok = ok && EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const QRgb pixel = image.pixel(x, y);
                line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(
                    isOpaque(pixel) ? nearestIndex(palette, pixel, 1) : 0);
            }
            ok = EGifPutLine(gif, line.data(), width) == GIF_OK;
        }
    }

    if (EGifCloseFile(gif, &error) != GIF_OK)
        ok = false;
    if (!ok)
        return std::nullopt;
    return out;
}
